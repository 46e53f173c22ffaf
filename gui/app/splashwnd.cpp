#include "gui/app/splashwnd.h"

#include "core/app/appinfo.h"
#include "gui/controls/logoimage.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

const QStringList kCreditLines
    = {QStringLiteral("A Tamrinsoft mission tool"), QStringLiteral("for Velk Vanguard and Qonmar Front")};

}  // namespace

CSplashWnd::CSplashWnd()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
    , m_sStatus(QStringLiteral("Loading..."))
    , m_imgLogo(LoadLogoImage())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kWidth, kHeight);
}

bool CSplashWnd::Create()
{
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    if (!pScreen)
        return false;
    const QRect rcScreen = pScreen->geometry();
    move(rcScreen.left() + (rcScreen.width() - kWidth) / 2, rcScreen.top() + (rcScreen.height() - kHeight) / 2);
    m_fontTitle = MakeFont(QStringLiteral("Copperplate Gothic Bold"), 36, QFont::Serif);
    m_fontText = MakeFont(QStringLiteral("Tahoma"), 12, QFont::SansSerif);
    show();
    return true;
}

QFont CSplashWnd::MakeFont(const QString& sFamily, int nPoints, QFont::StyleHint eFallback)
{
    QFont font(sFamily);
    font.setStyleHint(eFallback, QFont::PreferAntialias);
    font.setWeight(QFont::Bold);
    // Sized in pixels from the screen's resolution, as the picture is laid out in pixels.
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    const qreal dDpi = pScreen ? pScreen->logicalDotsPerInchY() : 96.0;
    font.setPixelSize(qMax(1, int(nPoints * dDpi / 72.0)));
    if (!QFontInfo(font).exactMatch())
        font.setFamily(QString());  // let the style hint pick a similar bold face
    return font;
}

void CSplashWnd::SetStep(int nStep, const QString& sText)
{
    if (!sText.isNull())
        m_sStatus = sText;
    m_nStep = qMin(nStep, kMaxStep);
    repaint();
}

int CSplashWnd::ProgressWidth(int nStep)
{
    constexpr int kBarWidth = 370;
    return nStep >= kMaxStep ? kBarWidth : (kBarWidth / 9) * nStep;
}

void CSplashWnd::DrawShadowed(QPainter& painter, QRect rc, int nFlags, const QString& sText, QPoint ptOffset,
                              const QColor& crFront) const
{
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(rc, nFlags, sText);
    painter.setPen(crFront);
    painter.drawText(rc.translated(ptOffset), nFlags, sText);
}

QImage CSplashWnd::Render() const
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::black);

    const QRect rcBar(15, kHeight - 40, 370, 25);
    painter.fillRect(rcBar, QColor(255, 0, 0));
    painter.fillRect(QRect(rcBar.topLeft(), QSize(ProgressWidth(m_nStep), rcBar.height())), QColor(0, 255, 0));
    painter.setPen(Qt::white);
    painter.drawRect(rcBar.adjusted(0, 0, -1, -1));

    const QRect rcStatus(rcBar.left(), rcBar.top() - 30, rcBar.width(), 30);
    painter.setFont(m_fontText);
    painter.drawText(rcStatus, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_sStatus);

    const QRect rcPanel = image.rect().adjusted(2, 2, -2, -75);
    painter.fillRect(rcPanel, QColor(128, 128, 128));

    QRect rcTitle = rcPanel.adjusted(6, 33, 0, 0);
    painter.setFont(m_fontTitle);
    DrawShadowed(painter, rcTitle, Qt::AlignHCenter | Qt::AlignTop, AppInfo::kTitle, QPoint(-6, -3), Qt::white);

    rcTitle.translate(-6, -3);
    const QRect rcCredits = rcTitle.adjusted(4, 62, 0, 0);
    painter.setFont(m_fontText);
    DrawShadowed(painter, rcCredits, Qt::AlignHCenter | Qt::AlignTop, kCreditLines.join(QLatin1Char('\n')),
                 QPoint(-4, -2), QColor(0, 255, 255));

    painter.drawImage(QPoint(15, 200), m_imgLogo);
    return image;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}
