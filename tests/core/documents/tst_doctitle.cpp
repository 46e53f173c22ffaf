#include "core/documents/doctitle.h"

#include <QtTest>

class TestDocTitle : public QObject
{
    Q_OBJECT

private slots:
    void titleComesFromFileNameOrNewName_data();
    void titleComesFromFileNameOrNewName();
    void modifiedMarkIsNeverDoubled_data();
    void modifiedMarkIsNeverDoubled();
    void listedNameCarriesNoMark_data();
    void listedNameCarriesNoMark();
    void saveDialogNeverSeesMarkOrHeldBackExtension_data();
    void saveDialogNeverSeesMarkOrHeldBackExtension();
};

void TestDocTitle::titleComesFromFileNameOrNewName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("showExt");
    QTest::addColumn<QString>("title");
    QTest::newRow("untitled, extensions hidden") << QString() << false << QStringLiteral("Script");
    QTest::newRow("untitled, extensions shown") << QString() << true << QStringLiteral("Script.sqs");
    QTest::newRow("file, extensions hidden") << QStringLiteral("/op/init.sqs") << false << QStringLiteral("init");
    QTest::newRow("file, extensions shown") << QStringLiteral("/op/init.sqs") << true << QStringLiteral("init.sqs");
    QTest::newRow("folder never shows") << QStringLiteral("/op/a b/intro.sqf") << true << QStringLiteral("intro.sqf");
    QTest::newRow("only the last extension is cut")
        << QStringLiteral("/op/night.raid.sqs") << false << QStringLiteral("night.raid");
    QTest::newRow("dot in the folder is no extension")
        << QStringLiteral("/op.v2/README") << false << QStringLiteral("README");
}

void TestDocTitle::titleComesFromFileNameOrNewName()
{
    QFETCH(QString, path);
    QFETCH(bool, showExt);
    QFETCH(QString, title);
    QCOMPARE(DocTitle::Compute(path, QStringLiteral("Script.sqs"), showExt), title);
}

void TestDocTitle::modifiedMarkIsNeverDoubled_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("marked");
    QTest::newRow("mark added") << QStringLiteral("Script") << true << QStringLiteral("Script*");
    QTest::newRow("marked again stays single") << QStringLiteral("Script*") << true << QStringLiteral("Script*");
    QTest::newRow("run of marks becomes one") << QStringLiteral("Script***") << true << QStringLiteral("Script*");
    QTest::newRow("unmodified loses every mark") << QStringLiteral("Script**") << false << QStringLiteral("Script");
    QTest::newRow("star inside the name stays") << QStringLiteral("a*b") << true << QStringLiteral("a*b*");
    QTest::newRow("only trailing stars go") << QStringLiteral("a*b*") << false << QStringLiteral("a*b");
    QTest::newRow("title of stars only") << QStringLiteral("**") << false << QString();
}

void TestDocTitle::modifiedMarkIsNeverDoubled()
{
    QFETCH(QString, title);
    QFETCH(bool, modified);
    QFETCH(QString, marked);
    QCOMPARE(DocTitle::Marked(title, modified), marked);
}

void TestDocTitle::listedNameCarriesNoMark_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("listed");
    QTest::newRow("untitled with two marks") << QString() << QStringLiteral("Script**") << QStringLiteral("Script");
    QTest::newRow("untitled with extension shown")
        << QString() << QStringLiteral("Script.sqs*") << QStringLiteral("Script.sqs");
    QTest::newRow("untitled, star inside kept")
        << QString() << QStringLiteral("Op*Night*") << QStringLiteral("Op*Night");
    // The title may hide the extension; the list always names the file.
    QTest::newRow("saved file by file name")
        << QStringLiteral("/op/ambush.sqs") << QStringLiteral("ambush*") << QStringLiteral("ambush.sqs");
}

void TestDocTitle::listedNameCarriesNoMark()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(QString, listed);
    QCOMPARE(DocTitle::ListName(path, title), listed);
}

void TestDocTitle::saveDialogNeverSeesMarkOrHeldBackExtension_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("showExt");
    QTest::addColumn<bool>("hasPath");
    QTest::addColumn<QString>("pathAfter");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::addColumn<QString>("duringSave");
    QTest::addColumn<QString>("afterSave");

    const QString sAmbush = QStringLiteral("/op/ambush.sqs");
    QTest::newRow("untitled, hidden extensions, saved")
        << QStringLiteral("Script*") << false << false << sAmbush << false << QStringLiteral("Script")
        << QStringLiteral("ambush");
    QTest::newRow("untitled, shown extensions, saved")
        << QStringLiteral("Script.sqs*") << true << false << sAmbush << false << QStringLiteral("Script")
        << QStringLiteral("ambush.sqs");
    QTest::newRow("untitled, shown extensions, cancelled gets extension and mark back")
        << QStringLiteral("Script.sqs*") << true << false << QString() << true << QStringLiteral("Script")
        << QStringLiteral("Script.sqs*");
    QTest::newRow("untitled, hidden extensions, cancelled")
        << QStringLiteral("Script*") << false << false << QString() << true << QStringLiteral("Script")
        << QStringLiteral("Script*");
    QTest::newRow("run of marks never reaches the dialog")
        << QStringLiteral("Script***") << false << false << QString() << true << QStringLiteral("Script")
        << QStringLiteral("Script*");
    QTest::newRow("titled file keeps its extension in the dialog")
        << QStringLiteral("ambush.sqs*") << true << true << sAmbush << false << QStringLiteral("ambush.sqs")
        << QStringLiteral("ambush.sqs");
    QTest::newRow("failed save of a titled file stays marked")
        << QStringLiteral("ambush*") << false << true << sAmbush << true << QStringLiteral("ambush")
        << QStringLiteral("ambush*");
    QTest::newRow("save under another name takes the new name")
        << QStringLiteral("ambush.sqs*") << true << true << QStringLiteral("/op/outro.sqf") << false
        << QStringLiteral("ambush.sqs") << QStringLiteral("outro.sqf");
}

void TestDocTitle::saveDialogNeverSeesMarkOrHeldBackExtension()
{
    QFETCH(QString, title);
    QFETCH(bool, showExt);
    QFETCH(bool, hasPath);
    QFETCH(QString, pathAfter);
    QFETCH(bool, modifiedAfter);
    QFETCH(QString, duringSave);
    QFETCH(QString, afterSave);
    const DocTitle::SSaveFrame frame = DocTitle::BeforeSave(title, showExt, hasPath);
    QCOMPARE(frame.sTitle, duringSave);
    QCOMPARE(DocTitle::AfterSave(frame, pathAfter, showExt, modifiedAfter), afterSave);
}

QTEST_GUILESS_MAIN(TestDocTitle)
#include "tst_doctitle.moc"
