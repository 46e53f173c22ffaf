#pragma once

#include "core/app/settings.h"

#include <QMainWindow>

class CScriptEditApp;
class QMdiArea;

// The main window: hosts the document windows and keeps the window and editor
// settings from its construction until it closes.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CScriptEditApp& app);

    CFrameSettings& Settings() { return m_settings; }
    const CFrameSettings& Settings() const { return m_settings; }
    QMdiArea* MdiArea() const { return m_pMdiArea; }

    // The window's rectangle as it is stored: left, top, width, height.
    QRect StoredPlacement() const;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void ApplyPlacement();
    CCloseState CloseState() const;

    CScriptEditApp& m_app;
    CFrameSettings m_settings;
    QMdiArea* m_pMdiArea;
};
