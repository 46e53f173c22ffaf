#pragma once

#include "core/search/searchresults.h"

#include <QObject>
#include <QPoint>

#include <functional>

class CChildFrame;
class CCommands;
class CDocManager;
class CFindReplaceDlg;
class CProjectModel;
class CScriptDoc;
class CScriptView;
class IPrompter;
struct SFindFields;
struct SSearchSpec;

// Find, Replace and their runs over the selection, the document, every open
// document and every file of the project.
class CSearchCommands : public QObject
{
    Q_OBJECT
public:
    struct SServices
    {
        CCommands& commands;
        CDocManager& documents;
        CProjectModel& project;
        IPrompter& prompter;
        std::function<CChildFrame*()> activeFrame;
    };

    // The dialog starts hidden at the stored corner.
    CSearchCommands(const SServices& services, QPoint ptDialog, QWidget* pWindow);

    CFindReplaceDlg& Dialog() const { return *m_pDialog; }
    QPoint DialogPos() const;

    void Open(int nAction, int nScope);
    void FindNext();
    void ReplaceOne();
    void RunAll();
    void GoTo(const SResultRecord& record);

private:
    CScriptView* ActiveView() const;
    // Lists the matches of one open document; in replace mode they are
    // replaced in one edit, one undo step. True when it matched.
    bool SearchDocument(CScriptDoc& doc, int nFrom, int nTo, const SSearchSpec& spec);
    void SearchProject(const SSearchSpec& spec, int& nSearched, int& nMatched);
    void AddMatchLines(const QString& sVerb, const QString& sText, const QString& sPath, int nStart, int nEnd);
    void KeepClearOf(CScriptView* pView);

    SServices m_services;
    CFindReplaceDlg* m_pDialog;
};
