#include "gui/wizards/pagepreview.h"

#include <QScrollBar>

CPagePreview::CPagePreview(QWidget* pParent) : QTextBrowser(pParent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setAccessibleName(QStringLiteral("Preview"));
}

void CPagePreview::ShowPage(const QString& sPage)
{
    if (sPage == m_sPage)
        return;
    m_sPage = sPage;
    const int nScroll = verticalScrollBar()->value();
    setHtml(sPage);
    verticalScrollBar()->setValue(nScroll);
}

void CPagePreview::SetPictureFolder(const QString& sFolder)
{
    if (sFolder.isEmpty() || searchPaths().contains(sFolder))
        return;
    setSearchPaths({sFolder});
    // The pictures are looked up again only when the page is laid out anew.
    const QString sPage = m_sPage;
    m_sPage.clear();
    ShowPage(sPage);
}
