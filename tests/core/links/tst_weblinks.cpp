#include "core/app/appinfo.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/settings.h"
#include "core/links/weblinks.h"
#include "core/workspace/commandtree.h"

#include <QtTest>

class TestWebLinks : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void versionQuery_data();
    void versionQuery();
    void shippedSites();
    void sitesFromTheSettingsFile_data();
    void sitesFromTheSettingsFile();
};

void TestWebLinks::cleanup()
{
    AppInfo::UseSites({});
}

void TestWebLinks::versionQuery_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("query");
    QTest::newRow("the program's own") << AppInfo::kVersion << "version=1.3.4000";
    QTest::newRow("every blank, every capital") << "Version 2.0 Beta RC"
                                                << "version=2.0=beta=rc";
}

void TestWebLinks::versionQuery()
{
    QFETCH(QString, version);
    QFETCH(QString, query);
    QCOMPARE(WebLinks::VersionQuery(version), query);
}

void TestWebLinks::shippedSites()
{
    const QString sUpdate = WebLinks::UpdateAddress(AppInfo::kVersion);
    QVERIFY2(sUpdate.endsWith(QStringLiteral("/update.php?version=1.3.4000")), qPrintable(sUpdate));
    QCOMPARE(QUrl(sUpdate).host(), QUrl(AppInfo::kMakerSite).host());
    const QString sReport = WebLinks::ErrorReportAddress(AppInfo::kVersion);
    QVERIFY2(sReport.endsWith(QStringLiteral("/report.php?version=1.3.4000")), qPrintable(sReport));
    QCOMPARE(QUrl(sReport).host(), QUrl(AppInfo::kMakerSite).host());
    QCOMPARE(WebLinks::CommandReferenceAddress(), AppInfo::kCommandReferencePage);
    QVERIFY(QUrl(sUpdate, QUrl::StrictMode).isValid());
}

void TestWebLinks::sitesFromTheSettingsFile_data()
{
    QTest::addColumn<QString>("reference");  // CommandReferenceUrl; empty: not in the file
    QTest::addColumn<QString>("maker");      // MakerSiteUrl
    QTest::addColumn<QString>("referencePage");
    QTest::addColumn<QString>("update");
    QTest::addColumn<int>("ignored");

    const QString sShippedUpdate = AppInfo::kMakerSite + QStringLiteral("update.php?version=1.3.4000");
    QTest::newRow("none") << QString() << QString() << AppInfo::kCommandReferencePage << sShippedUpdate << 0;
    QTest::newRow("both") << "https://mirror.example.org/ref/index.php"
                          << "https://mirror.example.org/velk/"
                          << "https://mirror.example.org/ref/index.php"
                          << "https://mirror.example.org/velk/update.php?version=1.3.4000" << 0;
    QTest::newRow("maker's folder without its slash")
        << QString() << "http://10.0.0.5/velk" << AppInfo::kCommandReferencePage
        << "http://10.0.0.5/velk/update.php?version=1.3.4000" << 0;
    QTest::newRow("a local copy of the reference")
        << "file:///srv/comref/index.php" << QString() << "file:///srv/comref/index.php" << sShippedUpdate << 0;
    QTest::newRow("blanks around the value") << "  https://r.example.org/index.php  " << QString()
                                             << "https://r.example.org/index.php" << sShippedUpdate << 0;
    QTest::newRow("not an address") << "cmdref"
                                    << "mirror.example.org" << AppInfo::kCommandReferencePage << sShippedUpdate << 2;
    QTest::newRow("a query of its own would be lost") << "https://r.example.org/index.php?lang=de" << QString()
                                                      << AppInfo::kCommandReferencePage << sShippedUpdate << 1;
    QTest::newRow("no web address") << "javascript:alert(1)"
                                    << "ftp://mirror.example.org/velk/" << AppInfo::kCommandReferencePage
                                    << sShippedUpdate << 2;
}

void TestWebLinks::sitesFromTheSettingsFile()
{
    QFETCH(QString, reference);
    QFETCH(QString, maker);
    QFETCH(QString, referencePage);
    QFETCH(QString, update);
    QFETCH(int, ignored);
    CMemorySettingsStore store;
    if (!reference.isEmpty())
        store.WriteString(kSettingsSection, AppInfo::kCommandReferenceUrlName, reference);
    if (!maker.isEmpty())
        store.WriteString(kSettingsSection, AppInfo::kMakerSiteUrlName, maker);

    const AppInfo::SSiteOverrides sites = AppInfo::ReadSiteOverrides(store);
    QCOMPARE(sites.ignored.size(), ignored);
    AppInfo::UseSites(sites);
    QCOMPARE(WebLinks::CommandReferenceAddress(), referencePage);
    QCOMPARE(WebLinks::UpdateAddress(AppInfo::kVersion), update);
    // The command bar's help follows the same page.
    QCOMPARE(CommandTree::HelpAddress(QStringLiteral("setDamage")),
             referencePage + QStringLiteral("?action=list&game=All&letter=s"));
}

QTEST_GUILESS_MAIN(TestWebLinks)
#include "tst_weblinks.moc"
