#pragma once

// A whole editor started in throw-away folders with scripted answers; shared
// by the widget tests.

#include "core/app/memoryassociationstore.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/prompter.h"
#include "core/app/recordingshell.h"
#include "core/app/settings.h"
#include "gui/app/scripteditapp.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace VelkTest {

// The shipped data files, copied so that a test may change or lose them
// without touching the originals.
inline void CopyDataFiles(const QString& sDir)
{
    for (const char* pszFile : {"commands.dat", "unit.dat", "header.dat"})
        QFile::copy(QStringLiteral(VELK_SHARE_DIR "/") + QLatin1String(pszFile),
                    QDir(sDir).filePath(QLatin1String(pszFile)));
}

// Answers every question from a script the test sets up beforehand and
// remembers what it was asked, so no test ever waits on a dialog.
class CScriptedPrompter : public IPrompter
{
public:
    struct SSaveModifiedAnswer
    {
        EAnswer eAnswer = EAnswer::Cancel;
        QList<bool> selected;  // on Yes; empty leaves every entry selected
    };

    EAnswer Ask(const QString& sText, const QString& sCaption, EButtons, EIcon) override
    {
        m_messages.append(sText);
        m_captions.append(sCaption);
        if (m_whileAsking)
            m_whileAsking();
        return m_answers.isEmpty() ? EAnswer::Ok : m_answers.takeFirst();
    }
    QString GetOpenFileName(const QString&, const QString&) override
    {
        return m_openNames.isEmpty() ? QString() : m_openNames.takeFirst();
    }
    QString GetSaveFileName(const QString& sProposed, const QString& sFilter, const QString& sDefaultExt) override
    {
        m_proposedNames.append(sProposed);
        m_saveFilters.append(sFilter);
        m_defaultExts.append(sDefaultExt);
        return m_saveNames.isEmpty() ? QString() : m_saveNames.takeFirst();
    }
    EAnswer SaveModified(const QStringList& names, QList<bool>* pSelected) override
    {
        m_saveModifiedLists.append(names);
        if (m_saveModifiedAnswers.isEmpty())
            return EAnswer::Cancel;
        const SSaveModifiedAnswer answer = m_saveModifiedAnswers.takeFirst();
        *pSelected = answer.selected.isEmpty() ? QList<bool>(names.size(), true) : answer.selected;
        return answer.eAnswer;
    }
    QString GetName(const QString& sCaption, const QString& sInitial) override
    {
        m_nameCaptions.append(sCaption);
        m_nameInitials.append(sInitial);
        return m_names.isEmpty() ? QString() : m_names.takeFirst();
    }
    QStringList GetOpenFileNames(const QString& sTitle, const QString& sFilter) override
    {
        m_openManyTitles.append(sTitle);
        m_openManyFilters.append(sFilter);
        return m_openManyNames.isEmpty() ? QStringList() : m_openManyNames.takeFirst();
    }

    QStringList m_messages;
    QStringList m_captions;
    QList<EAnswer> m_answers;
    // Runs while a question is shown, as the event loop of a real message box would.
    std::function<void()> m_whileAsking;
    QStringList m_openNames;
    QStringList m_saveNames;      // answers of the save dialog; empty: cancelled
    QStringList m_proposedNames;  // what each save dialog proposed
    QStringList m_saveFilters;
    QStringList m_defaultExts;
    QList<SSaveModifiedAnswer> m_saveModifiedAnswers;
    QList<QStringList> m_saveModifiedLists;
    QStringList m_names;                 // answers of the name prompt; empty: cancelled
    QStringList m_nameCaptions;          // the title of each name prompt
    QStringList m_nameInitials;          // what its field held at first
    QList<QStringList> m_openManyNames;  // answers of the multi-file dialog; empty: cancelled
    QStringList m_openManyTitles;
    QStringList m_openManyFilters;
};

// One start of the editor in a throw-away environment; the application object
// is made anew for every start, as a real start would.
class CStart
{
public:
    explicit CStart(QStringList args = {}, CMemorySettingsStore* pSeed = nullptr) : m_args(std::move(args))
    {
        m_args.prepend(QStringLiteral("velkedit"));
        for (QString& sArg : m_args)
            m_argv.push_back(sArg.toLocal8Bit());
        for (QByteArray& arg : m_argv)
            m_pArgv.push_back(arg.data());
        m_nArgc = int(m_pArgv.size());

        m_exeDir.setAutoRemove(true);
        CopyDataFiles(m_exeDir.path());

        CAppEnvironment env;
        auto pStore = std::make_unique<CMemorySettingsStore>();
        if (pSeed)
            *pStore = *pSeed;
        m_pStore = pStore.get();
        env.pStore = std::move(pStore);
        auto pPrompter = std::make_unique<CScriptedPrompter>();
        m_pPrompter = pPrompter.get();
        env.pPrompter = std::move(pPrompter);
        auto pShell = std::make_unique<CRecordingShell>();
        m_pShell = pShell.get();
        env.pShell = std::move(pShell);
        auto pAssociations = std::make_unique<CMemoryAssociationStore>();
        m_pAssociations = pAssociations.get();
        env.pAssociations = std::move(pAssociations);
        env.sExeDir = m_exeDir.path();
        env.sUserDataDir = m_userDir.filePath(QStringLiteral("data"));
        env.sInstanceName = InstanceName();
        m_pApp = std::make_unique<CScriptEditApp>(m_nArgc, m_pArgv.data(), std::move(env));
    }

    static QString InstanceName() { return QStringLiteral("velkedit-test-%1").arg(QCoreApplication::applicationPid()); }

    CScriptEditApp& App() { return *m_pApp; }
    CMemorySettingsStore& Store() { return *m_pStore; }
    CScriptedPrompter& Prompter() { return *m_pPrompter; }
    CMemoryAssociationStore& Associations() { return *m_pAssociations; }
    CRecordingShell& Shell() { return *m_pShell; }
    QString ExeDir() const { return m_exeDir.path(); }

    // What the store holds after the main window closed.
    CMemorySettingsStore CloseAndKeepStore()
    {
        if (m_pApp->MainFrame())
            m_pApp->MainFrame()->close();
        return *m_pStore;
    }

private:
    QStringList m_args;
    std::vector<QByteArray> m_argv;
    std::vector<char*> m_pArgv;
    int m_nArgc = 0;
    QTemporaryDir m_exeDir;
    QTemporaryDir m_userDir;
    CMemorySettingsStore* m_pStore = nullptr;
    CScriptedPrompter* m_pPrompter = nullptr;
    CMemoryAssociationStore* m_pAssociations = nullptr;
    CRecordingShell* m_pShell = nullptr;
    std::unique_ptr<CScriptEditApp> m_pApp;
};

}  // namespace VelkTest
