#include "gui/search/searchcommands.h"

#include "core/app/prompter.h"
#include "core/data/projectmodel.h"
#include "core/search/searchrun.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/search/findreplacedlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

using C = ECommand;

namespace {

STextSearchOptions OptionsOf(const SFindFields& fields)
{
    return {.bMatchCase = fields.bMatchCase, .bWholeWord = fields.bWholeWord, .bForward = true};
}

// The busy cursor for as long as a run blocks the window.
class CBusy
{
public:
    CBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CBusy() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

CSearchCommands::CSearchCommands(const SServices& services, QPoint ptDialog, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pDialog(new CFindReplaceDlg([this] { return !m_services.project.CurProject().isEmpty(); }, pWindow))
{
    m_pDialog->move(ptDialog);
    const auto projectLoaded = [this] { return !m_services.project.CurProject().isEmpty(); };
    CCommands& commands = m_services.commands;
    commands.Bind(C::Find, [this] { Open(SFindFields::kFind, SFindFields::kDocument); });
    commands.Bind(C::Replace, [this] { Open(SFindFields::kReplace, SFindFields::kDocument); });
    commands.Bind(
        C::FindInFiles, [this] { Open(SFindFields::kFind, SFindFields::kProject); }, projectLoaded);
    commands.Bind(
        C::ReplaceInFiles, [this] { Open(SFindFields::kReplace, SFindFields::kProject); }, projectLoaded);
    connect(m_pDialog, &CFindReplaceDlg::FindNextRequested, this, &CSearchCommands::FindNext);
    connect(m_pDialog, &CFindReplaceDlg::ReplaceRequested, this, &CSearchCommands::ReplaceOne);
    connect(m_pDialog, &CFindReplaceDlg::AllRequested, this, &CSearchCommands::RunAll);
    connect(m_pDialog, &CFindReplaceDlg::ResultChosen, this, &CSearchCommands::GoTo);
}

QPoint CSearchCommands::DialogPos() const
{
    return m_pDialog->pos();
}

CScriptView* CSearchCommands::ActiveView() const
{
    const CChildFrame* pFrame = m_services.activeFrame();
    return pFrame ? pFrame->View() : nullptr;
}

void CSearchCommands::Open(int nAction, int nScope)
{
    m_pDialog->SetMode(nAction, nScope);
    m_pDialog->show();
    m_pDialog->raise();
    m_pDialog->activateWindow();
    if (const CScriptView* pView = ActiveView())
        m_pDialog->OfferFindText(pView->GetSelectedText());
    m_pDialog->FocusFind();
}

void CSearchCommands::AddMatchLines(const QString& sVerb, const QString& sText, const QString& sPath, int nStart,
                                    int nEnd)
{
    const SearchRun::SLineCol at = SearchRun::LineColOf(sText, nStart);
    const int nLineStart = nStart - at.nCol;
    qsizetype nLineEnd = sText.indexOf(u'\n', nStart);
    if (nLineEnd < 0)
        nLineEnd = sText.size();
    m_pDialog->Results().AddMatch(QStringLiteral("Text %1: Line %2, Char %3, %4")
                                      .arg(sVerb)
                                      .arg(at.nLine + 1)
                                      .arg(at.nCol + 1)
                                      .arg(QFileInfo(sPath).fileName()),
                                  SearchRun::LineText(QStringView(sText).mid(nLineStart, nLineEnd - nLineStart)),
                                  {sPath, nStart, nEnd});
}

void CSearchCommands::FindNext()
{
    const SFindFields fields = m_pDialog->Fields();
    CSearchResults& results = m_pDialog->Results();
    results.Clear();
    CScriptView* pView = ActiveView();
    if (fields.sFind.isEmpty() || !pView) {
        m_pDialog->ShowResults();
        return;
    }
    CScriptDoc& doc = static_cast<CScriptDoc&>(pView->Document());
    doc.SettleText();
    const QString sText = doc.PlainText();
    const auto [nStart, nEnd] = pView->Selection();
    const bool bSelection = fields.nScope == SFindFields::kSelection;
    const auto find = [&](int nFrom, int nTo) {
        const STextMatch match = TextSearch::FindNext(sText, fields.sFind, nFrom, OptionsOf(fields));
        return match.IsFound() && match.End() <= nTo ? match : STextMatch();
    };
    STextMatch match = bSelection ? find(nStart, nEnd) : find(nEnd, int(sText.size()));
    if (!match.IsFound() && !bSelection)
        match = find(0, nEnd);
    if (!match.IsFound()) {
        results.AddHeader(QStringLiteral("No match was found."));
        m_pDialog->ShowResults();
        m_pDialog->SetResultsShown(true);
        return;
    }
    results.AddHeader(QStringLiteral("Search for next: \"%1\"").arg(fields.sFind));
    AddMatchLines(QStringLiteral("found"), sText, doc.GetPathName(), match.nStart, match.End());
    m_pDialog->ShowResults();
    pView->SetSelection(match.nStart, match.End());
    KeepClearOf(pView);
}

void CSearchCommands::ReplaceOne()
{
    const SFindFields fields = m_pDialog->Fields();
    CScriptView* pView = ActiveView();
    if (fields.sFind.isEmpty() || !pView) {
        m_pDialog->Results().Clear();
        m_pDialog->ShowResults();
        return;
    }
    const Qt::CaseSensitivity eCase = fields.bMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (pView->GetSelectedText().compare(fields.sFind, eCase) != 0) {
        FindNext();
        return;
    }
    CSearchResults& results = m_pDialog->Results();
    results.Clear();
    const int nStart = pView->Selection().first;
    pView->InsertText(fields.sReplace, true);
    const int nEnd = nStart + int(fields.sReplace.size());
    pView->SetSelection(nStart, nEnd);
    CScriptDoc& doc = static_cast<CScriptDoc&>(pView->Document());
    results.AddHeader(QStringLiteral("Replace text: \"%1\"    With text: \"%2\"").arg(fields.sFind, fields.sReplace));
    AddMatchLines(QStringLiteral("replaced"), doc.PlainText(), doc.GetPathName(), nStart, nEnd);
    m_pDialog->ShowResults();
}

bool CSearchCommands::SearchDocument(CScriptDoc& doc, int nFrom, int nTo, const SSearchSpec& spec)
{
    doc.SettleText();
    const QString sText = doc.PlainText();
    CSearchResults& results = m_pDialog->Results();
    const int nFirstLine = results.LineCount();
    QString sNewText;
    const int nMatches = SearchRun::SearchText(sText, nFrom, nTo, doc.GetPathName(), spec, results,
                                               spec.bReplace ? &sNewText : nullptr);
    if (nMatches == 0 || !spec.bReplace)
        return nMatches > 0;
    // One edit a changed line, all of them one step of the history.
    QList<SEdit> edits;
    for (const SearchRun::SChangedStretch& stretch : SearchRun::ChangedStretches(sText, results, nFirstLine, spec))
        edits.append({stretch.nOldFrom, stretch.nOldTo - stretch.nOldFrom,
                      sNewText.mid(stretch.nNewFrom, stretch.nNewTo - stretch.nNewFrom)});
    doc.ApplyEdits(std::move(edits), EEditHistory::Step);
    return true;
}

void CSearchCommands::SearchProject(const SSearchSpec& spec, int& nSearched, int& nMatched)
{
    CSearchResults& results = m_pDialog->Results();
    QStringList notWritten;
    for (const CProjectFile& file : m_services.project.m_ProjectFiles) {
        if (!file.InUse())
            continue;
        // A file open in a window of its own is searched there: its disk
        // copy may be behind, and rewriting it would fork the two.
        CScriptDoc* pOpen = m_services.documents.FindDocument(file.sPath);
        if (file.bOpen || pOpen) {
            auto* pDoc = file.bOpen ? qobject_cast<CScriptDoc*>(file.pDoc) : pOpen;
            if (!pDoc || !pDoc->Frame())
                continue;
            ++nSearched;
            nMatched += SearchDocument(*pDoc, 0, pDoc->Length(), spec) ? 1 : 0;
            continue;
        }
        ++nSearched;
        const SearchRun::SClosedFile closed = SearchRun::SearchClosedFile(file.sPath, spec, results);
        const QString sName = QFileInfo(file.sPath).fileName();
        switch (closed.eResult) {
        case SearchRun::EClosed::NoMatch:
            break;
        case SearchRun::EClosed::Matched:
            ++nMatched;
            // A file whose encoding had to change says so where its lines are.
            if (!closed.sNote.isEmpty())
                results.AddHeader(QStringLiteral("File changed: %1 (%2)").arg(sName, closed.sNote));
            break;
        case SearchRun::EClosed::NotSearched:
            results.AddHeader(QStringLiteral("File not searched: %1 (%2)").arg(sName, closed.sError));
            break;
        case SearchRun::EClosed::NotWritten:
            ++nMatched;
            results.AddHeader(QStringLiteral("File not changed: %1 (%2)").arg(sName, closed.sError));
            notWritten.append(file.sPath + QStringLiteral("\n    ") + closed.sError);
            break;
        }
    }
    if (!notWritten.isEmpty())
        m_services.prompter.ShowMessage(
            QStringLiteral("These project files could not be written and keep their text:\n\n%1")
                .arg(notWritten.join(u'\n')),
            QStringLiteral("Replace Warning"), IPrompter::EIcon::Warning);
}

void CSearchCommands::RunAll()
{
    const CBusy busy;
    const SFindFields fields = m_pDialog->Fields();
    CSearchResults& results = m_pDialog->Results();
    results.Clear();
    m_pDialog->SetResultsShown(true);
    const SSearchSpec spec{fields.sFind, fields.sReplace, fields.nAction == SFindFields::kReplace, OptionsOf(fields)};
    if (spec.sFind.isEmpty() || (spec.bReplace && spec.sReplace.isEmpty())) {
        m_pDialog->ShowResults();
        return;
    }
    int nSearched = 0;
    int nMatched = 0;
    switch (fields.nScope) {
    case SFindFields::kSelection:
    case SFindFields::kDocument:
        if (CScriptView* pView = ActiveView()) {
            auto& doc = static_cast<CScriptDoc&>(pView->Document());
            const auto [nStart, nEnd] = pView->Selection();
            const bool bSelection = fields.nScope == SFindFields::kSelection;
            SearchDocument(doc, bSelection ? nStart : 0, bSelection ? nEnd : doc.Length(), spec);
        }
        break;
    case SFindFields::kOpenDocuments:
        for (CScriptDoc* pDoc : m_services.documents.AllDocuments()) {
            if (!pDoc->Frame())
                continue;
            ++nSearched;
            nMatched += SearchDocument(*pDoc, 0, pDoc->Length(), spec) ? 1 : 0;
        }
        break;
    case SFindFields::kProject:
        if (spec.bReplace
            && m_services.prompter.Ask(QStringLiteral("WARNING: Replacing text in closed documents can NOT be "
                                                      "undone.\nPress OK to continue..."),
                                       QStringLiteral("Replace Warning"), IPrompter::EButtons::OkCancel,
                                       IPrompter::EIcon::Warning)
                != IPrompter::EAnswer::Ok) {
            m_pDialog->ShowResults();
            return;
        }
        SearchProject(spec, nSearched, nMatched);
        break;
    }
    SearchRun::AddTotals(results, spec, nSearched, nMatched);
    m_pDialog->ShowResults();
}

void CSearchCommands::GoTo(const SResultRecord& record)
{
    CScriptDoc* pDoc = nullptr;
    if (m_services.project.IsProjectFile(record.sPath)) {
        m_services.project.OpenProjectFileByPath(record.sPath);
        pDoc = m_services.documents.FindDocument(record.sPath);
    } else if (!record.sPath.isEmpty()) {
        pDoc = m_services.documents.OpenDocumentFile(record.sPath);
    }
    if (!pDoc || !pDoc->Frame())
        return;
    CScriptView* pView = pDoc->Frame()->View();
    pView->SetSelection(record.nStart, record.nEnd);
    KeepClearOf(pView);
}

void CSearchCommands::KeepClearOf(CScriptView* pView)
{
    pView->ensureCursorVisible();
    if (!m_pDialog->isVisible())
        return;
    const QRect rcCaret(pView->viewport()->mapToGlobal(pView->cursorRect().topLeft()), pView->cursorRect().size());
    QRect rcDialog = m_pDialog->frameGeometry();
    if (!rcDialog.intersects(rcCaret))
        return;
    // Below the selection when there is room on the screen, else above it.
    const QScreen* pScreen = m_pDialog->screen();
    const int nBottom = pScreen ? pScreen->availableGeometry().bottom() : rcCaret.bottom() + rcDialog.height() + 40;
    if (rcCaret.bottom() + 20 + rcDialog.height() <= nBottom)
        rcDialog.moveTop(rcCaret.bottom() + 20);
    else
        rcDialog.moveBottom(rcCaret.top() - 20);
    m_pDialog->move(rcDialog.topLeft());
}
