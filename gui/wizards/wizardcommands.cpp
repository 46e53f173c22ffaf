#include "gui/wizards/wizardcommands.h"

#include "core/app/prompter.h"
#include "core/app/settings.h"
#include "core/data/dictionary.h"
#include "core/wizards/briefingpage.h"
#include "core/wizards/overviewpage.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/wizards/briefingdlg.h"
#include "gui/wizards/overviewdlg.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kFileError = QStringLiteral("FILE ERROR");

}  // namespace

CWizardCommands::CWizardCommands(CCommands& commands, const SServices& services, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pWindow(pWindow)
{
    SetRunner({});
    commands.Bind(ECommand::BriefingWizard, [this] { OnBriefingWizard(); });
    commands.Bind(
        ECommand::EditBriefing, [this] { OnEditBriefing(); }, [this] { return CanEditBriefing(); });
    commands.Bind(ECommand::OverviewWizard, [this] { OnOverviewWizard(); });
    commands.Bind(
        ECommand::EditOverview, [this] { OnEditOverview(); }, [this] { return CanEditOverview(); });
}

void CWizardCommands::SetRunner(Runner runner)
{
    if (runner)
        m_runner = std::move(runner);
    else
        m_runner = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

CScriptDoc* CWizardCommands::ActiveDocument() const
{
    CChildFrame* pFrame = m_services.activeFrame ? m_services.activeFrame() : nullptr;
    return pFrame && pFrame->View() ? &pFrame->Document() : nullptr;
}

bool CWizardCommands::CanEdit(const QString& sTitlePrefix, const QString& sMarker) const
{
    // The title first: only documents named for the page pay for the search.
    const CScriptDoc* pDoc = ActiveDocument();
    if (!pDoc || !pDoc->GetTitle().toLower().startsWith(sTitlePrefix))
        return false;
    return !pDoc->TextDocument()->find(sMarker, 0, QTextDocument::FindCaseSensitively).isNull();
}

bool CWizardCommands::CanEditBriefing() const
{
    return CanEdit(QStringLiteral("briefing"), Briefing::kWizardMarker);
}

bool CWizardCommands::CanEditOverview() const
{
    return CanEdit(QStringLiteral("overview"), Overview::kWizardMarker);
}

QString CWizardCommands::PageText(CScriptDoc& doc)
{
    doc.SettleText();
    return doc.PlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

void CWizardCommands::OnBriefingWizard()
{
    RunBriefing(nullptr);
}

void CWizardCommands::OnEditBriefing()
{
    if (CScriptDoc* pDoc = ActiveDocument())
        RunBriefing(pDoc);
}

void CWizardCommands::OnOverviewWizard()
{
    RunOverview(nullptr);
}

void CWizardCommands::OnEditOverview()
{
    if (CScriptDoc* pDoc = ActiveDocument())
        RunOverview(pDoc);
}

bool CWizardCommands::PutPage(CScriptDoc* pEdited, const QString& sPage, const QString& sTitle)
{
    if (pEdited) {
        pEdited->SettleText();
        pEdited->ReplaceAll(sPage);
        return true;
    }
    return m_services.documents.CreateDocFromText(EDocKind::Briefing, sPage, sTitle) != nullptr;
}

void CWizardCommands::RunBriefing(CScriptDoc* pEdited)
{
    const Briefing::SContext context{m_services.settings.m_bVelk != 0, m_services.sVersion,
                                     m_services.dictionary.m_sHeaderInit};
    Briefing::SForm form;
    // The wizard opens all the same, empty, and saving still replaces the
    // page it was opened on.
    if (pEdited && !Briefing::LoadBriefing(PageText(*pEdited), context.bVelk, &form))
        m_services.prompter.ShowMessage(Briefing::ReadBackError(), kFileError, IPrompter::EIcon::Error);
    IPrompter& prompter = m_services.prompter;
    const QPointer<CScriptDoc> pTarget(pEdited);
    const auto save = [&](const Briefing::SOutput& output) {
        if (!output.sInit.isEmpty()
            && !m_services.documents.CreateDocFromText(EDocKind::Script, output.sInit, QStringLiteral("Init")))
            prompter.ShowMessage(QStringLiteral("Error creating init file."), kFileError, IPrompter::EIcon::Error);
        // Should the page's own document have gone meanwhile, the page
        // becomes a new one rather than being lost.
        if (pTarget && PutPage(pTarget, output.sPage, QString()))
            prompter.ShowMessage(QStringLiteral("The briefing was changed successfully."),
                                 QStringLiteral("Briefing Changed"), IPrompter::EIcon::Information);
        else if (PutPage(nullptr, output.sPage, QStringLiteral("Briefing")))
            prompter.ShowMessage(QStringLiteral("Briefing was created successfully."),
                                 QStringLiteral("Briefing Created"), IPrompter::EIcon::Information);
        else
            prompter.ShowMessage(QStringLiteral("Error creating briefing file."), kFileError, IPrompter::EIcon::Error);
    };
    CBriefingDlg dialog(context, form, save, m_pWindow);
    m_runner(dialog);
}

void CWizardCommands::RunOverview(CScriptDoc* pEdited)
{
    COverviewDlg::SContext context{m_services.settings.m_bVelk != 0, m_services.sVersion, QString()};
    Overview::SForm form;
    if (pEdited) {
        if (!pEdited->GetPathName().isEmpty())
            context.sPictureFolder = QFileInfo(pEdited->GetPathName()).absolutePath();
        // What was read before a missing marker stays in the fields.
        if (!Overview::LoadOverview(PageText(*pEdited), &form))
            m_services.prompter.ShowMessage(Overview::ReadBackError(), kFileError, IPrompter::EIcon::Error);
    }
    IPrompter& prompter = m_services.prompter;
    const QPointer<CScriptDoc> pTarget(pEdited);
    const auto save = [&](const QString& sPage) {
        if (pTarget && PutPage(pTarget, sPage, QString()))
            prompter.ShowMessage(QStringLiteral("The overview was changed successfully."),
                                 QStringLiteral("Overview Changed"), IPrompter::EIcon::Information);
        else if (PutPage(nullptr, sPage, QStringLiteral("Overview")))
            prompter.ShowMessage(QStringLiteral("Overview was created successfully."),
                                 QStringLiteral("Overview Created"), IPrompter::EIcon::Information);
        else
            prompter.ShowMessage(QStringLiteral("Error creating overview file!"), kFileError, IPrompter::EIcon::Error);
    };
    COverviewDlg dialog(context, form, prompter, save, m_pWindow);
    m_runner(dialog);
}
