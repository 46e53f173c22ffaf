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
    // The go-to list is filled from the active document by the command bar's own feature.
    m_pGoto->setEnabled(false);
    for (const char* pszTab : {"Project", "Commands", "Snippets"})
        m_pTabs->addTab(QLatin1String(pszTab));
    // All three tabs stay in sight at the narrowest width the bar allows.
    m_pTabs->setExpanding(true);
    m_pTabs->setUsesScrollButtons(false);
    m_pTabs->setDrawBase(false);
    m_pTabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
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
