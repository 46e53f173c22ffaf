#include "gui/app/namedlg.h"
#include "gui/app/widgetprompter.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QString AccessibleName(QObject* pObject)
{
    QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
    return pInterface ? pInterface->text(QAccessible::Name) : QString();
}

// Runs once the prompter's dialog is up and modal, so the test drives the
// real dialog without waiting on it.
void WhenNameDialogShows(const std::function<void(CNameDlg&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* pDialog = qobject_cast<CNameDlg*>(QApplication::activeModalWidget());
        QVERIFY(pDialog);
        act(*pDialog);
    });
}

QPushButton* Button(CNameDlg& dialog, const QString& sText)
{
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
        if (pButton->text() == sText)
            return pButton;
    return nullptr;
}

}  // namespace

class TestNameDlg : public QObject
{
    Q_OBJECT

private slots:
    void showsCaptionLabelAndName_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("initial");
        QTest::newRow("new project") << QStringLiteral("New Name") << QString();
        QTest::newRow("rename file") << QStringLiteral("New Name") << QStringLiteral("init.sqs");
        QTest::newRow("new snippet") << QStringLiteral("New Snippet") << QString();
    }
    void showsCaptionLabelAndName()
    {
        QFETCH(QString, caption);
        QFETCH(QString, initial);
        CNameDlg dialog(initial, caption);
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.Edit()->text(), initial);
        // Typing replaces the old name rather than adding to it.
        QCOMPARE(dialog.Edit()->selectedText(), initial);

        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0]->text(), QStringLiteral("&Add the new name and press OK."));
        QCOMPARE(labels[0]->buddy(), dialog.Edit());
        QStringList buttons;
        for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
            buttons << pButton->text();
        QCOMPARE(buttons, (QStringList{"OK", "Cancel"}));
        QVERIFY(Button(dialog, "OK")->isDefault());

        // What a screen reader announces is what the eye reads.
        QCOMPARE(AccessibleName(Button(dialog, "OK")), QStringLiteral("OK"));
        QCOMPARE(AccessibleName(Button(dialog, "Cancel")), QStringLiteral("Cancel"));
        QCOMPARE(AccessibleName(dialog.Edit()), QStringLiteral("Add the new name and press OK."));
    }

    void defaultCaptionIsNewName()
    {
        CNameDlg dialog(QStringLiteral("A"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Name"));
    }

    void promptGivesTheTypedNameOrNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        // Forbidden characters come back as typed: stripping them is the command's rule.
        QTest::newRow("OK") << QStringLiteral("OK") << QStringLiteral("x:y");
        QTest::newRow("Cancel") << QStringLiteral("Cancel") << QString();
    }
    void promptGivesTheTypedNameOrNothing()
    {
        QFETCH(QString, button);
        QFETCH(QString, expected);
        CWidgetPrompter prompter(nullptr);
        QString sCaption;
        WhenNameDialogShows([&](CNameDlg& dialog) {
            sCaption = dialog.windowTitle();
            QTest::keyClicks(dialog.Edit(), QStringLiteral("x:y"));
            Button(dialog, button)->click();
        });
        QCOMPARE(prompter.GetName(QStringLiteral("New Snippet"), QStringLiteral("old")), expected);
        QCOMPARE(sCaption, QStringLiteral("New Snippet"));
    }
};

QTEST_MAIN(TestNameDlg)
#include "tst_namedlg.moc"
