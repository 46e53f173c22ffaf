#include "core/wizards/overviewpage.h"
#include "tests/core/wizards/goldenfile.h"
#include "tests/core/wizards/wizardforms.h"

#include <QDir>
#include <QtTest>

using namespace VelkTest;
using namespace Overview;

namespace {

const QString kVersion = QStringLiteral("Version 1.3.4000");

QString GoldenDir()
{
    return QFINDTESTDATA("golden/overview");
}

const char* const kCases[] = {"velk", "qonmar", "velk-empty", "qonmar-empty", "code-page", "beyond-code-page"};

struct SCase
{
    SForm form;
    bool bVelk = true;
};

SCase ReadCase(const QString& sName)
{
    bool bRead = false;
    const SFormFile file = ReadFormFile(QDir(GoldenDir()).filePath(sName + QStringLiteral(".form")), &bRead);
    [&] { QVERIFY2(bRead, qPrintable(sName)); }();
    QStringList unknown;
    SCase testCase{OverviewForm(file, &unknown), file.bVelk};
    [&] { QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join(u','))); }();
    return testCase;
}

void AddCaseRows()
{
    QTest::addColumn<QString>("name");
    for (const char* pszCase : kCases)
        QTest::newRow(pszCase) << QString::fromLatin1(pszCase);
}

}  // namespace

class TestOverviewWizard : public QObject
{
    Q_OBJECT

private slots:
    void pagesMatchTheGoldenFiles_data() { AddCaseRows(); }
    void pagesMatchTheGoldenFiles();
    void everyGoldenFileHasItsCase();
    void pagesReadBackUnderEitherGame_data() { AddCaseRows(); }
    void pagesReadBackUnderEitherGame();
    void readBack_data();
    void readBack();
};

void TestOverviewWizard::pagesMatchTheGoldenFiles()
{
    QFETCH(QString, name);
    const SCase testCase = ReadCase(name);
    if (QTest::currentTestFailed())
        return;
    const QString sPage = Page(testCase.form, testCase.bVelk, kVersion);
    const QString sError = AgainstGolden(QDir(GoldenDir()).filePath(name + QStringLiteral(".html")), SavedBytes(sPage));
    QVERIFY2(sError.isEmpty(), qPrintable(sError));
    const QByteArray bytes = SavedBytes(sPage);
    QCOMPARE(CodePage::Decode(bytes, CodePage::DetectEncoding(bytes)), sPage);
}

void TestOverviewWizard::everyGoldenFileHasItsCase()
{
    QStringList names;
    for (const char* pszCase : kCases)
        names.append(QString::fromLatin1(pszCase));
    const QStringList files = QDir(GoldenDir()).entryList(QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString& sFile : files)
        QVERIFY2(names.contains(QFileInfo(sFile).completeBaseName()), qPrintable(sFile));
}

void TestOverviewWizard::pagesReadBackUnderEitherGame()
{
    QFETCH(QString, name);
    const SCase testCase = ReadCase(name);
    // The reader never asks which game: the layout order does not matter.
    SForm loaded;
    QVERIFY(LoadOverview(Page(testCase.form, testCase.bVelk, kVersion), &loaded));
    QCOMPARE(loaded, testCase.form);
}

void TestOverviewWizard::readBack_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("picture");

    QTest::newRow("text on two lines keeps its break")
        << QStringLiteral("<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n<!-- [TEXT] -->\r\nline one\r\nline two\r\n"
                          "<!-- [END] -->\r\n<img src=\"p.jpg\">")
        << true << "T"
        << "line one\r\nline two"
        << "p.jpg";
    QTest::newRow("blank lines of the text are kept")
        << QStringLiteral("<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n<!-- [TEXT] -->\r\n\r\nmiddle\r\n\r\n\r\n"
                          "<!-- [END] -->\r\n<img src=\"p.jpg\">")
        << true << "T"
        << "\r\nmiddle\r\n\r\n"
        << "p.jpg";
    QTest::newRow("marker lines re-wrapped by hand")
        << QStringLiteral("<!-- [TI\r\nTLE] -->\r\nMy\r\n Title<!-- [E\r\nND] -->\r\n<!-- [TEXT]\r\n -->"
                          "\r\nbody\r\n<!--\r\n [END] -->\r\n<img\r\n src=\"pic\r\n.jpg\">")
        << true << "My Title"
        << "body"
        << "pic.jpg";
    QTest::newRow("value on the marker's line")
        << QStringLiteral("<!-- [TITLE] -->T<!-- [END] --><!-- [TEXT] -->X<!-- [END] --><img src=\"\">") << true << "T"
        << "X"
        << "";
    QTest::newRow("lines ended by LF alone")
        << QStringLiteral("<!-- [TITLE] -->\nT\n<!-- [END] -->\n<!-- [TEXT] -->\na\nb\n<!-- [END] -->\n"
                          "<img src=\"p.jpg\">")
        << true << "T"
        << "a\r\nb"
        << "p.jpg";
    QTest::newRow("no title marker: nothing read")
        << QStringLiteral("<!-- [TEXT] -->\r\nX\r\n<!-- [END] -->\r\n<img src=\"p.jpg\">") << false << ""
        << ""
        << "";
    QTest::newRow("text without its end: the title stays")
        << QStringLiteral("<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n<!-- [TEXT] -->\r\nX\r\n<img src=\"p.jpg\">")
        << false << "T"
        << ""
        << "";
    QTest::newRow("no picture: title and text stay")
        << QStringLiteral("<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n<!-- [TEXT] -->\r\nX\r\n<!-- [END] -->") << false
        << "T"
        << "X"
        << "";
    QTest::newRow("picture without its closing quote")
        << QStringLiteral("<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n<!-- [TEXT] -->\r\nX\r\n<!-- [END] -->"
                          "<img src=\"p.jpg")
        << false << "T"
        << "X"
        << "";
}

void TestOverviewWizard::readBack()
{
    QFETCH(QString, page);
    QFETCH(bool, loaded);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, picture);
    SForm form;
    QCOMPARE(LoadOverview(page, &form), loaded);
    QCOMPARE(form.sMissionTitle, title);
    QCOMPARE(form.sMissionOverview, text);
    QCOMPARE(form.sPictureFile, picture);
}

QTEST_GUILESS_MAIN(TestOverviewWizard)

#include "tst_overviewwizard.moc"
