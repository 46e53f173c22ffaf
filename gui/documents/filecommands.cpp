#include "gui/documents/filecommands.h"

#include "core/app/datapaths.h"
#include "core/app/filefilter.h"
#include "core/app/prompter.h"
#include "core/app/recentfilelist.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"

#include <QFileInfo>
#include <QMenu>

using C = ECommand;

CFileCommands::CFileCommands(CCommands& commands, CDocManager& documents, const CDataPaths& paths,
                             ActiveFrame activeFrame, QWidget* pWindow)
    : QObject(pWindow)
    , m_documents(documents)
    , m_activeFrame(std::move(activeFrame))
{
    const auto document = [this] { return m_activeFrame() != nullptr; };
    const auto onDocument = [this](void (CScriptDoc::*pCommand)()) {
        return [this, pCommand] {
            if (CChildFrame* pFrame = m_activeFrame())
                (pFrame->Document().*pCommand)();
        };
    };
    commands.Bind(C::FileNew, [this] { m_documents.NewDocument(EDocKind::Script); });
    const std::pair<C, EDocKind> newFiles[] = {
        {C::NewScript, EDocKind::Script},           {C::NewDescription, EDocKind::Description},
        {C::NewBriefing, EDocKind::Briefing},       {C::NewFunction, EDocKind::Function},
        {C::NewStringTable, EDocKind::StringTable}, {C::NewText, EDocKind::Text},
    };
    for (const auto& [eCommand, eKind] : newFiles)
        commands.Bind(eCommand, [this, eKind = eKind] { m_documents.NewDocument(eKind); });
    commands.Bind(C::Open, [this] { OnFileOpen(); });
    commands.Bind(C::Close, onDocument(&CScriptDoc::OnCloseWindow), document);
    commands.Bind(C::Save, onDocument(&CScriptDoc::OnFileSave), document);
    commands.Bind(C::SaveAs, onDocument(&CScriptDoc::OnFileSaveAs), document);
    commands.Bind(
        C::SaveAll, [this] { m_documents.SaveAll(); }, document);
    const std::pair<C, QString> dataFiles[] = {
        {C::EditCommandsData, paths.m_sCommandsFile},
        {C::EditUnitData, paths.m_sUnitFile},
        {C::EditHeaderData, paths.m_sHeaderFile},
    };
    for (const auto& [eCommand, sPath] : dataFiles)
        commands.Bind(eCommand, [this, sPath = sPath] { m_documents.OpenDocumentFile(sPath); });
}

void CFileCommands::OnFileOpen()
{
    const QString sPath = m_documents.Services().prompter.GetOpenFileName(QStringLiteral("Open File"), GetFileFilter());
    if (!sPath.isEmpty())
        m_documents.OpenDocumentFile(sPath);
}

void CFileCommands::FillRecentFiles(QMenu* pMenu)
{
    pMenu->clear();
    const CRecentFileList* pRecent = m_documents.Services().pRecentFiles;
    for (int i = 0; pRecent && i < 6; ++i) {
        const QString sPath = pRecent->GetAt(i);
        if (sPath.isEmpty())
            continue;
        QString sLabel = QStringLiteral("%1 ").arg(i + 1);
        if (i < 9)
            sLabel.prepend(QLatin1Char('&'));
        sLabel += QStringLiteral("...\\") + QFileInfo(sPath).fileName();
        QAction* pAction = pMenu->addAction(sLabel);
        pAction->setStatusTip(QStringLiteral("Open this recent document"));
        connect(pAction, &QAction::triggered, this, [this, i] { m_documents.OpenRecentFile(i); });
    }
    pMenu->setEnabled(!pMenu->isEmpty());
}
