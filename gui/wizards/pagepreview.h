#pragma once

#include <QTextBrowser>

// The page a wizard is about to make, shown as a browser would show it. It
// only looks: links lead nowhere and nothing typed here reaches the page.
class CPagePreview : public QTextBrowser
{
    Q_OBJECT
public:
    explicit CPagePreview(QWidget* pParent = nullptr);

    // The page again, at the place the reader had scrolled to.
    void ShowPage(const QString& sPage);
    // Where the page's pictures are looked for.
    void SetPictureFolder(const QString& sFolder);
    const QString& Page() const { return m_sPage; }

private:
    QString m_sPage;
};
