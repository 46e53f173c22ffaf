#pragma once

#include "core/data/codepage.h"

#include <QObject>

class CChildFrame;
class CDocTemplate;
class CScriptEditApp;
class QTextDocument;

// One open file, or an untitled one, of any of the six kinds. The text lives
// in a text document that its view shows.
class CScriptDoc : public QObject
{
    Q_OBJECT
public:
    explicit CScriptDoc(CDocTemplate& docTemplate);
    ~CScriptDoc() override;

    CDocTemplate& Template() const { return m_template; }
    QTextDocument* TextDocument() const { return m_pText; }
    // The text exactly as it will be saved, line breaks as "\n". The text
    // document's own plain text turns no-break spaces into spaces.
    QString PlainText() const;
    CChildFrame* Frame() const { return m_pFrame; }
    void SetFrame(CChildFrame* pFrame) { m_pFrame = pFrame; }

    const QString& GetPathName() const { return m_sPathName; }
    void SetPathName(const QString& sPath, bool bAddToRecent = true);
    const QString& GetTitle() const { return m_sTitle; }
    // Computes the title from the path, the template and ShowExt.
    void SetTitle();
    // A title of the caller's choosing, for documents made from text.
    void SetTitle(const QString& sTitle) { StoreTitle(sTitle); }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);
    ETextEncoding Encoding() const { return m_eEncoding; }

    bool OnOpenDocument(const QString& sPath);
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
    // The window is going away: tell the project and leave the template.
    void OnFrameClosed();

signals:
    void TitleChanged();
    // The text now matches the file on disk.
    void Saved();

private:
    bool ShowExt() const;
    CScriptEditApp& App() const;
    // The frame around the framework's save: keeps "*" and a held-back
    // extension out of the proposed file name.
    bool SaveInFrame(const QString& sPathOrEmpty);
    void StoreTitle(const QString& sTitle);

    CDocTemplate& m_template;
    QTextDocument* m_pText;
    CChildFrame* m_pFrame = nullptr;
    QString m_sPathName;
    QString m_sTitle;
    bool m_bModified = false;
    ETextEncoding m_eEncoding = ETextEncoding::Cp1252;
};
