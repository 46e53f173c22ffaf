#pragma once

#include <QObject>
#include <QString>

#include <functional>

class CChildFrame;
class CCommands;
class CDictionary;
class CDocManager;
class CScriptDoc;
class CSettings;
class IPrompter;
class QDialog;
class QWidget;

// The briefing and overview wizards: new pages become new documents, an
// edited page replaces the text of the document it was read from.
class CWizardCommands : public QObject
{
    Q_OBJECT
public:
    struct SServices
    {
        CDocManager& documents;
        const CSettings& settings;      // the game, read as each wizard opens
        const CDictionary& dictionary;  // the init script's header
        IPrompter& prompter;
        QString sVersion;
        std::function<CChildFrame*()> activeFrame;
    };

    // Runs a wizard's dialog; true when it closed through its create
    // button. Tests drive the dialog themselves instead of blocking.
    using Runner = std::function<bool(QDialog& dialog)>;

    CWizardCommands(CCommands& commands, const SServices& services, QWidget* pWindow);

    void SetRunner(Runner runner);

    void OnBriefingWizard();
    void OnEditBriefing();
    void OnOverviewWizard();
    void OnEditOverview();
    // A document the wizard can read back: its title starts with the
    // page's kind and its text holds the wizard's marker.
    bool CanEditBriefing() const;
    bool CanEditOverview() const;

private:
    CScriptDoc* ActiveDocument() const;
    bool CanEdit(const QString& sTitlePrefix, const QString& sMarker) const;
    // The document's text as the page's reader wants it: CR LF line ends.
    static QString PageText(CScriptDoc& doc);
    void RunBriefing(CScriptDoc* pEdited);
    void RunOverview(CScriptDoc* pEdited);
    // The page into the edited document, or a new one when there is none.
    // False when no document could take it.
    bool PutPage(CScriptDoc* pEdited, const QString& sPage, const QString& sTitle);

    SServices m_services;
    QWidget* m_pWindow;
    Runner m_runner;
};
