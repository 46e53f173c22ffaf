// The view's bookmarks, their storage per file, and printing.
#include "gui/editor/scriptview.h"

#include "core/app/settings.h"
#include "core/app/settingsstore.h"
#include "core/editor/bookmarks.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/gutter.h"
#include "gui/editor/scripthighlighter.h"

#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void CScriptView::ToggleBookmark(int nLine)
{
    // A toggle is no step of its own: it goes with the next edit's snapshot.
    if (Bookmarks::Toggle(m_nBookmarks, nLine))
        m_pGutter->update();
}

void CScriptView::ShiftBookmarks()
{
    const int nCount = document()->blockCount();
    Bookmarks::Shift(m_nBookmarks, m_nLineCount, nCount, LineOf(Selection().first));
    m_nLineCount = nCount;
    m_pGutter->update();
}

void CScriptView::LoadBookmarks()
{
    const QString& sPath = m_doc.GetPathName();
    if (!sPath.isEmpty())
        m_nBookmarks = Bookmarks::FromStored(App().Store().ReadString(kBookmarksSection, sPath, QString()));
}

void CScriptView::SaveBookmarks() const
{
    // An untitled document keeps no bookmarks: stored under the empty name,
    // they would turn up in the next untitled document.
    const QString& sPath = m_doc.GetPathName();
    if (sPath.isEmpty())
        return;
    ISettingsStore& store = App().Store();
    const QString sStored = Bookmarks::ToStored(m_nBookmarks);
    if (!sStored.isEmpty())
        store.WriteString(kBookmarksSection, sPath, sStored);
    else if (!store.ReadString(kBookmarksSection, sPath, QString()).isEmpty())
        store.DeleteValue(kBookmarksSection, sPath);
    else
        return;
    store.Flush();
}

QTextDocument* CScriptView::CreatePrintDocument(QObject* pParent) const
{
    auto* pCopy = new QTextDocument(pParent);
    pCopy->setDefaultFont(font());
    QTextCursor cursor(pCopy);
    QTextCharFormat plain;
    plain.setForeground(ColourOf(m_crText));
    bool bOpen = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            cursor.insertBlock();
        const QString sNumber
            = m_bLineNumbers ? QStringLiteral("%1 ").arg(block.blockNumber() + 1, 4, 10, QLatin1Char('0')) : QString();
        cursor.insertText(sNumber, plain);
        const QString sText = block.text();
        const int nStart = cursor.position();
        cursor.insertText(sText, plain);
        if (!m_bFormat)
            continue;
        for (const QTextLayout::FormatRange& range : m_pHighlighter->Formats(sText, bOpen, &bOpen)) {
            QTextCursor run(pCopy);
            run.setPosition(nStart + range.start);
            run.setPosition(nStart + range.start + range.length, QTextCursor::KeepAnchor);
            run.mergeCharFormat(range.format);
        }
    }
    return pCopy;
}

void CScriptView::PrintTo(QPrinter* pPrinter) const
{
    pPrinter->setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    QTextDocument* pCopy = CreatePrintDocument(nullptr);
    pCopy->print(pPrinter);
    delete pCopy;
}
