#pragma once

#include "core/documents/textfile.h"
#include "gui/editor/editbuffer.h"

class CChildFrame;
class CDocTemplate;
struct SDocServices;

// One open file, or an untitled one, of any of the six kinds: its text with
// history and bookmarks, its path, title and encoding.
class CScriptDoc : public CEditBuffer
{
    Q_OBJECT
public:
    explicit CScriptDoc(CDocTemplate& docTemplate);
    ~CScriptDoc() override;

    CDocTemplate& Template() const { return m_template; }
    CChildFrame* Frame() const { return m_pFrame; }
    void SetFrame(CChildFrame* pFrame) { m_pFrame = pFrame; }

    const QString& GetPathName() const { return m_sPathName; }
    void SetPathName(const QString& sPath, bool bAddToRecent = true);
    // The file was renamed on disk: the document follows it with its
    // unsaved text, its history and its modified mark.
    void FileMoved(const QString& sNewPath);
    const QString& GetTitle() const { return m_sTitle; }
    // Computes the title from the path, the template and ShowExt.
    void SetTitle();
    // A title of the caller's choosing, for documents made from text.
    void SetTitle(const QString& sTitle) { StoreTitle(sTitle); }
    ETextEncoding Encoding() const { return m_format.eEncoding; }

    bool OnOpenDocument(const QString& sPath);
    // Reads the file and keeps its encoding, without putting the text in yet;
    // a failure has been reported.
    bool ReadFile(const QString& sPath, QString* psText);
    bool OnSaveDocument(const QString& sPath);
    // Saves under the current path, or asks for one; true when saved.
    bool DoFileSave();
    // sPath empty: asks for a name (Save As).
    bool DoSave(const QString& sPath);
    void OnFileSave();
    void OnFileSaveAs();

    // Before the window closes: offers to save; true when closing may go on.
    bool SaveModified();
    // Closes the document and its window without asking.
    void OnCloseDocument();
    // The Close command: the window goes, after the save-modified check.
    void OnCloseWindow();
    // The window is going away: tell the project and leave the template.
    void OnFrameClosed();

    // Bookmarks are kept per file between sessions.
    void LoadBookmarks();
    void SaveBookmarks();

signals:
    void TitleChanged();
    // The text now matches the file on disk.
    void Saved();

private:
    SDocServices& Services() const;
    bool ShowExt() const;
    // The frame around the framework's save: keeps "*" and a held-back
    // extension out of the proposed file name.
    bool SaveInFrame(const QString& sPathOrEmpty);
    void StoreTitle(const QString& sTitle);

    CDocTemplate& m_template;
    CChildFrame* m_pFrame = nullptr;
    QString m_sPathName;
    QString m_sTitle;
    // Encoding and line breaks of the file, kept from open to save.
    TextFile::SFormat m_format;
};
