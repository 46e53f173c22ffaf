#include "gui/documents/printcommands.h"

#include "gui/controls/commands.h"
#include "gui/editor/scriptview.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CPrintCommands::CPrintCommands(CCommands& commands, ActiveView activeView, QWidget* pWindow)
    : QObject(pWindow)
    , m_activeView(std::move(activeView))
    , m_pWindow(pWindow)
    , m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    const auto view = [this] { return m_activeView() != nullptr; };
    commands.Bind(
        ECommand::Print, [this] { OnFilePrint(); }, view);
    commands.Bind(
        ECommand::PrintPreview, [this] { OnFilePrintPreview(); }, view);
    commands.Bind(ECommand::PrintSetup, [this] { OnFilePrintSetup(); });
}

CPrintCommands::~CPrintCommands() = default;

void CPrintCommands::OnFilePrint()
{
    CScriptView* pView = m_activeView();
    if (!pView)
        return;
    QPrintDialog dialog(m_pPrinter.get(), m_pWindow);
    if (dialog.exec() == QDialog::Accepted)
        pView->PrintTo(m_pPrinter.get());
}

void CPrintCommands::OnFilePrintPreview()
{
    CScriptView* pView = m_activeView();
    if (!pView)
        return;
    QPrintPreviewDialog dialog(m_pPrinter.get(), m_pWindow);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, pView, &CScriptView::PrintTo);
    dialog.exec();
}

void CPrintCommands::OnFilePrintSetup()
{
    QPageSetupDialog dialog(m_pPrinter.get(), m_pWindow);
    dialog.exec();
}
