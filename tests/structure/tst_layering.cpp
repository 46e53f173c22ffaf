#include "includelayering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each entry is "path" for a file with no includes, or "path|line" to append
// one line to that file; core/ and gui/ always exist, as in the real tree.
void PlantTree(const QString& sRootDir, const QStringList& entries)
{
    QDir root(sRootDir);
    QVERIFY(root.mkpath(QStringLiteral("core")));
    QVERIFY(root.mkpath(QStringLiteral("gui")));
    for (const QString& sEntry : entries) {
        const QString sPath = sEntry.section(u'|', 0, 0);
        QVERIFY(root.mkpath(QFileInfo(sPath).path()));
        QFile file(root.filePath(sPath));
        QVERIFY(file.open(QIODevice::Append));
        if (sEntry.contains(u'|'))
            file.write(sEntry.section(u'|', 1).toUtf8() + '\n');
    }
}

QString Include(const QString& sFile, const QString& sTarget)
{
    return sFile + QStringLiteral("|#include \"") + sTarget + u'"';
}

}  // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void plantedTree_data();
    void plantedTree();
    void missingLayersAreReported();
    void sourceTreeKeepsItsLayers();
};

void TestLayering::plantedTree_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("editor reaching up to frame")
        << QStringList{Include("gui/editor/scriptview.cpp", "gui/frame/mainfrm.h")}
        << QStringList{"gui/editor/scriptview.cpp includes gui/frame/mainfrm.h: editor may not include frame"};
    QTest::newRow("feature folder reaching up to frame")
        << QStringList{Include("gui/search/findctl.cpp", "gui/frame/mainfrm.h")}
        << QStringList{"gui/search/findctl.cpp includes gui/frame/mainfrm.h: search may not include frame"};
    QTest::newRow("frame reaching up to app")
        << QStringList{Include("gui/frame/mainfrm.cpp", "gui/app/scripteditapp.h")}
        << QStringList{"gui/frame/mainfrm.cpp includes gui/app/scripteditapp.h: frame may not include app"};
    QTest::newRow("documents reaching up to a feature folder")
        << QStringList{Include("gui/documents/scriptdoc.cpp", "gui/options/editoroptions.h")}
        << QStringList{"gui/documents/scriptdoc.cpp includes gui/options/editoroptions.h: documents may not include "
                       "options"};
    QTest::newRow("controls reaching up to editor")
        << QStringList{Include("gui/controls/menutreectrl.h", "gui/editor/scriptview.h")}
        << QStringList{"gui/controls/menutreectrl.h includes gui/editor/scriptview.h: controls may not include "
                       "editor"};
    QTest::newRow("relative include climbing out of its folder")
        << QStringList{"gui/frame/mainfrm.h", Include("gui/editor/gutter.cpp", "../frame/mainfrm.h")}
        << QStringList{"gui/editor/gutter.cpp includes gui/frame/mainfrm.h: editor may not include frame"};
    QTest::newRow("every step downward is allowed")
        << QStringList{Include("gui/app/scripteditapp.cpp", "gui/frame/mainfrm.h"),
                       Include("gui/app/scripteditapp.cpp", "gui/controls/commands.h"),
                       Include("gui/frame/mainfrm.cpp", "gui/search/findctl.h"),
                       Include("gui/search/findctl.cpp", "gui/documents/scriptdoc.h"),
                       Include("gui/documents/scriptdoc.cpp", "gui/editor/scriptview.h"),
                       Include("gui/editor/scriptview.cpp", "gui/controls/menutreectrl.h"),
                       Include("gui/editor/scriptview.cpp", "core/editor/colourer.h"),
                       Include("gui/editor/scriptview.cpp", "scriptview.h"),
                       Include("gui/editor/scriptview.cpp", "QPlainTextEdit"),
                       Include("core/data/dictionary.cpp", "core/data/sortstringarray.h")}
        << QStringList{};
    QTest::newRow("commented-out include is not read")
        << QStringList{"gui/editor/scriptview.cpp|// #include \"gui/frame/mainfrm.h\""} << QStringList{};
    QTest::newRow("feature folders in one direction")
        << QStringList{Include("gui/search/findctl.cpp", "gui/options/editoroptions.h"),
                       Include("gui/options/optionsdlg.cpp", "gui/wizards/wizard.h"),
                       Include("gui/search/findctl.cpp", "gui/wizards/wizard.h")}
        << QStringList{};
    QTest::newRow("two feature folders including each other")
        << QStringList{Include("gui/search/findctl.cpp", "gui/options/editoroptions.h"),
                       Include("gui/options/optionsdlg.cpp", "gui/search/findctl.h")}
        << QStringList{"folders include each other in a cycle options -> search -> options: gui/options/optionsdlg.cpp "
                       "includes gui/search/findctl.h; gui/search/findctl.cpp includes gui/options/editoroptions.h"};
    QTest::newRow("three feature folders in a ring")
        << QStringList{Include("gui/launch/launcher.cpp", "gui/search/findctl.h"),
                       Include("gui/search/findctl.cpp", "gui/wizards/wizard.h"),
                       Include("gui/wizards/wizard.cpp", "gui/launch/launcher.h")}
        << QStringList{"folders include each other in a cycle launch -> search -> wizards -> launch: "
                       "gui/launch/launcher.cpp includes gui/search/findctl.h; gui/search/findctl.cpp includes "
                       "gui/wizards/wizard.h; gui/wizards/wizard.cpp includes gui/launch/launcher.h"};
    QTest::newRow("upward include and cycle both reported")
        << QStringList{Include("gui/editor/scriptview.cpp", "gui/frame/mainfrm.h"),
                       Include("gui/search/findctl.cpp", "gui/options/editoroptions.h"),
                       Include("gui/options/optionsdlg.cpp", "gui/search/findctl.h")}
        << QStringList{"gui/editor/scriptview.cpp includes gui/frame/mainfrm.h: editor may not include frame",
                       "folders include each other in a cycle options -> search -> options: gui/options/optionsdlg.cpp "
                       "includes gui/search/findctl.h; gui/search/findctl.cpp includes gui/options/editoroptions.h"};
    QTest::newRow("core including gui")
        << QStringList{Include("core/editor/colourer.cpp", "gui/editor/scriptview.h")}
        << QStringList{"core/editor/colourer.cpp includes gui/editor/scriptview.h: core may not include gui"};
    // core/app/ is core's own folder; "app/..." from the root is main()'s.
    QTest::newRow("core including main's folder")
        << QStringList{Include("core/app/settings.cpp", "core/app/settingsstore.h"),
                       Include("core/app/settings.cpp", "app/main.h")}
        << QStringList{"core/app/settings.cpp includes app/main.h: core may not include app"};
    QTest::newRow("gui including main's folder")
        << QStringList{Include("gui/app/scripteditapp.cpp", "app/main.h")}
        << QStringList{"gui/app/scripteditapp.cpp includes app/main.h: gui may not include app"};
}

void TestLayering::plantedTree()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    PlantTree(dir.path(), tree);
    QCOMPARE(IncludeLayering::FindViolations(dir.path()), expected);
}

// A wrong source path must fail loudly rather than find nothing to complain about.
void TestLayering::missingLayersAreReported()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList violations = IncludeLayering::FindViolations(dir.path());
    QCOMPARE(violations.size(), 2);
    QVERIFY(violations[0].endsWith(QLatin1String("has no core/ folder to check")));
    QVERIFY(violations[1].endsWith(QLatin1String("has no gui/ folder to check")));
}

void TestLayering::sourceTreeKeepsItsLayers()
{
    const QStringList violations = IncludeLayering::FindViolations(QStringLiteral(VELK_SOURCE_DIR));
    for (const QString& sViolation : violations)
        qWarning().noquote() << sViolation;
    QVERIFY2(violations.isEmpty(),
             qPrintable(QStringLiteral("%1 include(s) break the layering").arg(violations.size())));
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
