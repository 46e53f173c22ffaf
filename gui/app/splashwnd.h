#pragma once

#include <QFont>
#include <QImage>
#include <QWidget>

// The window that shows start-up progress while the data files load.
class CSplashWnd : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;
    static constexpr int kMaxStep = 10;

    CSplashWnd();

    // Centres the window on the primary screen, shows it and makes the fonts.
    bool Create();
    // Stores the text when one is given and repaints at once.
    void SetStep(int nStep, const QString& sText = QString());

    int Step() const { return m_nStep; }
    const QString& StatusText() const { return m_sStatus; }
    static int ProgressWidth(int nStep);
    // The whole picture, as it is copied onto the window.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    static QFont MakeFont(const QString& sFamily, int nPoints, QFont::StyleHint eFallback);
    void DrawShadowed(QPainter& painter, QRect rc, int nFlags, const QString& sText, QPoint ptOffset,
                      const QColor& crFront) const;

    QString m_sStatus;
    int m_nStep = 0;
    QFont m_fontTitle;
    QFont m_fontText;
    QImage m_imgLogo;
};
