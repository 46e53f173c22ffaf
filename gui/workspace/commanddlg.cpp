#include "gui/workspace/commanddlg.h"

#include "gui/controls/menutreectrl.h"

#include <QComboBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

CCommandDlg::CCommandDlg(QWidget* pParent)
    : QWidget(pParent)
    , m_pGoto(new QComboBox(this))
    , m_pTabs(new QTabBar(this))
    , m_pStack(new QStackedWidget(this))
{
    m_pGoto->setToolTip(QStringLiteral("Go to a label, section or class"));
    // The go-to list is filled from the active document by the command bar's
    // own feature, each time it opens.
    for (const char* pszTab : {"Project", "Commands", "Snippets"})
        m_pTabs->addTab(QLatin1String(pszTab));
    // All three tabs stay in sight at the narrowest width the bar allows.
    m_pTabs->setExpanding(true);
    m_pTabs->setUsesScrollButtons(false);
    // Narrow tabs so all three fit the narrowest bar; each draws its own
    // frame, so no separator trails the last, and the selected one stands
    // out by its lighter face and a line in the highlight colour.
    m_pTabs->setDrawBase(false);
    m_pTabs->setElideMode(Qt::ElideRight);
    m_pTabs->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 2px; margin-right: 1px; border: 1px solid palette(mid);"
        " border-bottom: none; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(base); border-top: 2px solid palette(highlight); }"));
    for (CMenuTreeCtrl*& pTree : m_pTrees) {
        pTree = new CMenuTreeCtrl(m_pStack);
        m_pStack->addWidget(pTree);
    }
    // Commands keep their branches visible from the root; the others hang under theirs.
    CommandsTree()->setRootIsDecorated(true);
    connect(m_pTabs, &QTabBar::currentChanged, m_pStack, &QStackedWidget::setCurrentIndex);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(3, 3, 3, 3);
    pLayout->setSpacing(3);
    pLayout->addWidget(m_pGoto);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(m_pStack, 1);
}
