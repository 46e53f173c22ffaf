#pragma once

#include "core/data/filetype.h"

#include <QPlainTextEdit>

class CScriptDoc;

// The editor of one document.
class CScriptView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CScriptView(CScriptDoc& doc, QWidget* pParent = nullptr);

    CScriptDoc& Document() const { return m_doc; }
    // The first showing: window state, file type and, for a new document, its header.
    void OnInitialUpdate();

    EFileType m_nFileType = kFileTXT;
    bool m_bNewDoc = false;

private:
    void InsertHeader();
    void ApplyEditorFont();

    CScriptDoc& m_doc;
};
