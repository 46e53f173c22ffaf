// The CAP and NUM panes: what they show for each lock state, when they look
// again, and the lock state read from a real X server's keyboard.
#include "gui/frame/lockkeys.h"
#include "gui/frame/statusbarpanes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>
#include <QtTest>

#include <unistd.h>

#ifdef VELK_HAVE_X11
#include <X11/XKBlib.h>
// X names its event types as macros; Qt's enumerators of the same names must win.
#undef KeyPress
#undef KeyRelease
#endif

class TestLockKeys : public QObject
{
    Q_OBJECT

private slots:
    void panesFollowTheLockKeys_data()
    {
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("caps");
        QTest::addColumn<bool>("num");
        QTest::addColumn<QString>("capPane");
        QTest::addColumn<QString>("numPane");

        QTest::newRow("both on") << true << true << true << "CAP"
                                 << "NUM";
        QTest::newRow("caps only") << true << true << false << "CAP"
                                   << "";
        QTest::newRow("num only") << true << false << true << ""
                                  << "NUM";
        QTest::newRow("both off") << true << false << false << ""
                                  << "";
        QTest::newRow("desktop does not tell") << false << true << true << ""
                                               << "";
    }
    void panesFollowTheLockKeys()
    {
        QFETCH(bool, known);
        QFETCH(bool, caps);
        QFETCH(bool, num);
        QFETCH(QString, capPane);
        QFETCH(QString, numPane);
        std::optional<SLockKeys> state;
        QStatusBar bar;
        CStatusBarPanes panes(bar, [&state] { return state; });
        QCOMPARE(panes.PaneText(7), QString());

        if (known)
            state = SLockKeys{caps, num};
        // Another key does not make the panes look again; a lock key does.
        QKeyEvent other(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar, &other);
        QCOMPARE(panes.PaneText(7), QString());
        QKeyEvent lock(QEvent::KeyRelease, caps ? Qt::Key_CapsLock : Qt::Key_NumLock, Qt::NoModifier);
        QCoreApplication::sendEvent(&bar, &lock);
        QCOMPARE(panes.PaneText(7), capPane);
        QCOMPARE(panes.PaneText(8), numPane);
    }

    void readsTheServersLocks()
    {
#ifdef VELK_HAVE_X11
        const auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        Display* pDisplay = pX11 ? pX11->display() : nullptr;
        if (!pDisplay)
            QSKIP("no X server to ask (xvfb-run missing)");
        const auto lock = [pDisplay](unsigned nMask, bool bOn) {
            XkbLockModifiers(pDisplay, XkbUseCoreKbd, nMask, bOn ? nMask : 0);
            XSync(pDisplay, False);
        };
        lock(LockMask | Mod2Mask, false);
        QCOMPARE(ReadLockKeys(), std::optional(SLockKeys{false, false}));
        lock(LockMask, true);
        QCOMPARE(ReadLockKeys(), std::optional(SLockKeys{true, false}));
        lock(Mod2Mask, true);
        QCOMPARE(ReadLockKeys(), std::optional(SLockKeys{true, true}));
        lock(LockMask | Mod2Mask, false);
        QCOMPARE(ReadLockKeys(), std::optional(SLockKeys{false, false}));
#else
        QSKIP("built without the X keyboard extension");
#endif
    }

    void offscreenTellsNothing()
    {
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("runs on an X server");
        QVERIFY(!ReadLockKeys().has_value());
    }
};

// The lock state needs a keyboard that can be switched: the test runs itself
// again on a private X server when one can be started.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("VELK_LOCKKEYS_ON_X") && access("/usr/bin/xvfb-run", X_OK) == 0) {
        setenv("VELK_LOCKKEYS_ON_X", "1", 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        std::vector<char*> args{const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        execv("/usr/bin/xvfb-run", args.data());
    }
    if (!qEnvironmentVariableIsSet("VELK_LOCKKEYS_ON_X"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestLockKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lockkeys.moc"
