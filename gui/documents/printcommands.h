#pragma once

#include <QObject>

#include <functional>
#include <memory>

class CCommands;
class CScriptView;
class QPrinter;
class QWidget;

// Printing the active view, its preview and the page set-up, with one
// printer kept for the session.
class CPrintCommands : public QObject
{
    Q_OBJECT
public:
    using ActiveView = std::function<CScriptView*()>;

    CPrintCommands(CCommands& commands, ActiveView activeView, QWidget* pWindow);
    ~CPrintCommands() override;

private:
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();

    ActiveView m_activeView;
    QWidget* m_pWindow;
    std::unique_ptr<QPrinter> m_pPrinter;
};
