#include "gui/workspace/commandbardock.h"

#include "gui/workspace/commanddlg.h"

CCommandBarDock::CCommandBarDock(QWidget* pParent)
    : QDockWidget(QStringLiteral("Command Bar"), pParent)
    , m_pBar(new CCommandDlg(this))
{
    setObjectName(QStringLiteral("CommandBar"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    setWidget(m_pBar);
    m_pBar->setMinimumWidth(CCommandDlg::kMinWidth);
    m_pBar->setMaximumWidth(CCommandDlg::kMaxWidth);
}

int CCommandBarDock::StoredWidth(int nPrevious) const
{
    return CCommandDlg::AcceptsWidth(width()) ? width() : nPrevious;
}

int CCommandBarDock::StartWidth(int nStored)
{
    return CCommandDlg::AcceptsWidth(nStored) ? nStored : 230;
}
