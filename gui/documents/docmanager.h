#pragma once

#include "core/documents/doctypes.h"

#include <QList>
#include <QObject>

class CChildFrame;
class CDictionary;
class CDocTemplate;
class CEditorContext;
class CProjectModel;
class CRecentFileList;
class CScriptDoc;
class CSettings;
class IPrompter;
class ISettingsStore;

// What documents take from their surroundings.
struct SDocServices
{
    CSettings& settings;  // ShowExt, AddHeader, the game and the author
    IPrompter& prompter;
    const CDictionary& dictionary;  // header texts
    ISettingsStore& store;          // bookmarks per file
    CProjectModel& project;
    CRecentFileList* pRecentFiles = nullptr;
};

// Where document windows go; the main window implements it.
class IDocumentWindows
{
public:
    virtual ~IDocumentWindows() = default;
    virtual CEditorContext& EditorContext() = 0;
    virtual void AddDocumentWindow(CChildFrame* pFrame) = 0;
    virtual void ActivateDocumentWindow(CChildFrame* pFrame) = 0;
};

// The six templates and every open document: opening, making new ones and
// the checks before they all close.
class CDocManager : public QObject
{
    Q_OBJECT
public:
    CDocManager(const SDocServices& services, QObject* pParent = nullptr);

    SDocServices& Services() { return m_services; }
    IDocumentWindows* Windows() const { return m_pWindows; }
    void SetWindows(IDocumentWindows* pWindows) { m_pWindows = pWindows; }

    CDocTemplate* Template(EDocKind eKind) const;
    const QList<CDocTemplate*>& Templates() const { return m_templates; }
    // Every open document, in template and then document order.
    QList<CScriptDoc*> AllDocuments() const;
    CScriptDoc* FindDocument(const QString& sPath) const;

    // An open file is only activated. Null when it cannot be opened or no
    // window can take it.
    CScriptDoc* OpenDocumentFile(const QString& sPath, bool bAddToRecent = true);
    enum class EHeader { AsSettings, None };
    CScriptDoc* NewDocument(EDocKind eKind, EHeader eHeader = EHeader::AsSettings);
    // A new untitled document holding the text, with no header and a
    // history that starts at that text; null when it cannot be made.
    CScriptDoc* CreateDocFromText(EDocKind eKind, const QString& sText, const QString& sTitle);

    // A dead entry leaves the list when it is chosen.
    void OpenRecentFile(int nIndex);

    // The save-all check on close; true when closing may go on.
    bool SaveAllModified();
    // After the check: every window goes without asking again.
    void CloseAllDocuments();
    void SaveAll();

private:
    SDocServices m_services;
    IDocumentWindows* m_pWindows = nullptr;
    QList<CDocTemplate*> m_templates;
};
