#pragma once

#include <QMdiSubWindow>

class CEditorContext;
class CScriptDoc;
class CScriptView;

// The window of one document, holding its one view.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    CChildFrame(CScriptDoc& doc, CEditorContext& context);
    ~CChildFrame() override;

    CScriptDoc& Document() const { return m_doc; }
    CScriptView* View() const { return m_pView; }
    // Closes without the save-modified check.
    void CloseWithoutAsking();

signals:
    // The window goes: whoever lists it lets go of it.
    void Closing(CChildFrame* pFrame);

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    CScriptDoc& m_doc;
    CScriptView* m_pView;
    bool m_bForceClose = false;
    bool m_bClosed = false;
};
