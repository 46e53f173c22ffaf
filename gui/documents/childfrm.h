#pragma once

#include <QMdiSubWindow>

class CMainFrame;
class CScriptDoc;
class CScriptView;

// The window of one document, holding its one view.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit CChildFrame(CScriptDoc& doc);

    CScriptDoc& Document() const { return m_doc; }
    CScriptView* View() const { return m_pView; }
    // Closes without the save-modified check.
    void CloseWithoutAsking();
    void UpdateTitle();
    CMainFrame* MainFrame() const;

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    CScriptDoc& m_doc;
    CScriptView* m_pView;
    bool m_bForceClose = false;
    bool m_bClosed = false;
};
