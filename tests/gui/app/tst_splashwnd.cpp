#include "gui/app/splashwnd.h"

#include <QtTest>

class TestSplashWnd : public QObject
{
    Q_OBJECT

private slots:
    void progressWidth_data();
    void progressWidth();
    void paintsBarStatusAndPanel();
    void stepKeepsTextWhenNoneGiven();
    void createsCentredOnTopWithoutTaskbarEntry();
};

void TestSplashWnd::progressWidth_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("width");
    QTest::newRow("nothing yet") << 0 << 0;
    QTest::newRow("first step") << 1 << 41;
    QTest::newRow("dictionary step") << 4 << 164;
    QTest::newRow("project step") << 7 << 287;
    QTest::newRow("nine is not yet full") << 9 << 369;
    QTest::newRow("ten fills the bar") << 10 << 370;
    QTest::newRow("beyond ten fills the bar") << 25 << 370;
}

void TestSplashWnd::progressWidth()
{
    QFETCH(int, step);
    QFETCH(int, width);
    CSplashWnd splash;
    splash.SetStep(step);
    QCOMPARE(CSplashWnd::ProgressWidth(splash.Step()), width);
}

void TestSplashWnd::paintsBarStatusAndPanel()
{
    CSplashWnd splash;
    QVERIFY(splash.Create());
    splash.SetStep(4, QStringLiteral("Initializing Dictionary..."));
    const QImage image = splash.Render();
    QCOMPARE(image.size(), QSize(400, 300));
    const int nBarRow = 300 - 40 + 12;
    // Green up to 15 + 164, red after it, white frame at the bar's edges.
    QCOMPARE(QColor(image.pixel(20, nBarRow)), QColor(0, 255, 0));
    QCOMPARE(QColor(image.pixel(15 + 163, nBarRow)), QColor(0, 255, 0));
    QCOMPARE(QColor(image.pixel(15 + 164, nBarRow)), QColor(255, 0, 0));
    QCOMPARE(QColor(image.pixel(380, nBarRow)), QColor(255, 0, 0));
    QCOMPARE(QColor(image.pixel(15, nBarRow)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(384, nBarRow)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(200, 260)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(200, 284)), QColor(Qt::white));
    // Black around the bar, the grey panel above it.
    QCOMPARE(QColor(image.pixel(5, nBarRow)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(3, 3)), QColor(128, 128, 128));
    QCOMPARE(QColor(image.pixel(396, 223)), QColor(128, 128, 128));
    QCOMPARE(QColor(image.pixel(396, 226)), QColor(Qt::black));

    // The status text is white and lies in the band above the bar.
    int nWhite = 0;
    for (int y = 230; y < 260; ++y)
        for (int x = 15; x < 385; ++x)
            nWhite += QColor(image.pixel(x, y)).lightness() > 200 ? 1 : 0;
    QVERIFY2(nWhite > 50, "no status text drawn");
    // The title is drawn white somewhere in the panel's upper part.
    int nTitle = 0;
    for (int y = 30; y < 100; ++y)
        for (int x = 2; x < 398; ++x)
            nTitle += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
    QVERIFY2(nTitle > 100, "no title drawn");
    // The logo sits at (15, 200) with its white made transparent, so the grey
    // panel shows through around the emblem.
    QCOMPARE(QColor(image.pixel(15, 200)), QColor(128, 128, 128));
    QVERIFY(QColor(image.pixel(15 + 14, 200 + 10)).red() > 150);
}

void TestSplashWnd::stepKeepsTextWhenNoneGiven()
{
    CSplashWnd splash;
    QCOMPARE(splash.StatusText(), QStringLiteral("Loading..."));
    splash.SetStep(1, QStringLiteral("Loading Data..."));
    splash.SetStep(2);
    QCOMPARE(splash.StatusText(), QStringLiteral("Loading Data..."));
    QCOMPARE(splash.Step(), 2);
}

void TestSplashWnd::createsCentredOnTopWithoutTaskbarEntry()
{
    CSplashWnd splash;
    QVERIFY(splash.Create());
    QVERIFY(splash.isVisible());
    QCOMPARE(splash.size(), QSize(400, 300));
    const QRect rcScreen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(splash.pos(), QPoint((rcScreen.width() - 400) / 2, (rcScreen.height() - 300) / 2));
    QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY((splash.windowFlags() & Qt::Tool) == Qt::Tool);
}

QTEST_MAIN(TestSplashWnd)
#include "tst_splashwnd.moc"
