#include "gui/frame/scripttabs.h"

#include "core/data/filetype.h"
#include "core/data/sortstringarray.h"
#include "gui/controls/imagelist.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"

#include <QMdiArea>
#include <QTabBar>

CScriptTabs::CScriptTabs(QMdiArea& area, IsProjectFile isProjectFile, QWidget* pParent)
    : QToolBar(QStringLiteral("Script Tabs"), pParent)
    , m_area(area)
    , m_isProjectFile(std::move(isProjectFile))
    , m_pTabs(new QTabBar(this))
{
    setObjectName(QStringLiteral("ScriptTabsBar"));
    setMovable(false);
    setFloatable(false);
    m_pTabs->setDocumentMode(true);
    m_pTabs->setExpanding(false);
    m_pTabs->setIconSize(QSize(16, 16));
    m_pTabs->setElideMode(Qt::ElideNone);
    m_pTabs->setUsesScrollButtons(true);
    // The strip spans the row, so its base line runs the whole width.
    m_pTabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // A widget on a tool bar shows and hides through its action.
    m_pTabsAction = addWidget(m_pTabs);
    m_pTabsAction->setVisible(false);
    connect(m_pTabs, &QTabBar::currentChanged, this, [this](int nIndex) {
        auto* pFrame = qobject_cast<CChildFrame*>(m_pTabs->tabData(nIndex).value<QObject*>());
        if (pFrame && m_area.activeSubWindow() != pFrame)
            m_area.setActiveSubWindow(pFrame);
    });
}

int CScriptTabs::FindTabIndex(const CChildFrame* pFrame) const
{
    for (int i = 0; i < m_pTabs->count(); ++i)
        if (m_pTabs->tabData(i).value<QObject*>() == pFrame)
            return i;
    return -1;
}

void CScriptTabs::UpdateScriptTab(CChildFrame* pFrame)
{
    const QString sTitle = pFrame->windowTitle();
    // The image shows the type the document is edited as, the one the status
    // pane names; a Save As under another extension changes both.
    const QIcon image = ImageListIcon(FileTypeImage(pFrame->Document().FileType(), false));
    int nIndex = FindTabIndex(pFrame);
    if (nIndex >= 0) {
        m_pTabs->setTabText(nIndex, sTitle);
        m_pTabs->setTabIcon(nIndex, image);
    } else {
        const QString sPath = pFrame->Document().GetPathName();
        nIndex = m_pTabs->count();
        if (m_isProjectFile(sPath)) {
            for (int i = 0; i < m_pTabs->count(); ++i) {
                if (CompareNoCase(m_pTabs->tabText(i), sTitle) > 0) {
                    nIndex = i;
                    break;
                }
            }
        }
        const QSignalBlocker block(m_pTabs);
        nIndex = m_pTabs->insertTab(nIndex, image, sTitle);
        m_pTabs->setTabData(nIndex, QVariant::fromValue<QObject*>(pFrame));
        m_pTabsAction->setVisible(true);
    }
    if (m_area.activeSubWindow() == pFrame) {
        const QSignalBlocker block(m_pTabs);
        m_pTabs->setCurrentIndex(nIndex);
    }
}

void CScriptTabs::RemoveScriptTab(CChildFrame* pFrame)
{
    const int nIndex = FindTabIndex(pFrame);
    if (nIndex >= 0) {
        const QSignalBlocker block(m_pTabs);
        m_pTabs->removeTab(nIndex);
    }
    if (m_pTabs->count() == 0)
        m_pTabsAction->setVisible(false);
}

void CScriptTabs::Follow(CChildFrame* pFrame)
{
    if (const int nIndex = FindTabIndex(pFrame); nIndex >= 0)
        m_pTabs->setCurrentIndex(nIndex);
}
