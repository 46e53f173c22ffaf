// What a document is shows in three places: the type its view colours by,
// the type pane of the status bar and the image of its script tab. They must
// tell the same story, for files from disk of every kind (one without an
// extension included) and after a Save As changes the kind.
#include "core/data/filetype.h"
#include "core/documents/doctypes.h"
#include "core/frame/statuspanes.h"
#include "gui/controls/imagelist.h"
#include "gui/documents/doctemplate.h"
#include "gui/frame/scripttabs.h"
#include "tests/support/editorfixture.h"

#include <QTabBar>

using namespace VelkTest;

Q_DECLARE_METATYPE(EDocKind)

namespace {

QImage ImageOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The image of the active document's tab.
QImage ActiveTabImage(CStart& start)
{
    const QTabBar* pTabs = start.App().MainFrame()->ScriptTabsBar()->TabBar();
    return ImageOf(pTabs->tabIcon(pTabs->currentIndex()));
}

const QString kSaveAs = QStringLiteral("Save &As...");

}  // namespace

class TestFileTypeAgreement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileFromDiskShowsOneKind_data();
    void fileFromDiskShowsOneKind();
    void saveAsUnderAnotherKindChangesAllThree_data();
    void saveAsUnderAnotherKindChangesAllThree();
};

void TestFileTypeAgreement::initTestCase()
{
    // The check below compares images: the kinds must look different.
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(ImageOf(ImageListIcon(4)) != ImageOf(ImageListIcon(12)));
    QVERIFY(ImageOf(ImageListIcon(4)) != ImageOf(ImageListIcon(6)));
    QVERIFY(ImageOf(ImageListIcon(8)) != ImageOf(ImageListIcon(12)));
}

void TestFileTypeAgreement::fileFromDiskShowsOneKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<int>("image");
    QTest::newRow("script") << "init.sqs" << EDocKind::Script << "SQS" << 4;
    QTest::newRow("page with the short extension") << "brief.htm" << EDocKind::Script << "HTML" << 8;
    QTest::newRow("unknown extension") << "notes.log" << EDocKind::Script << "TXT" << 12;
    QTest::newRow("no extension") << "README" << EDocKind::Text << "TXT" << 12;
}

void TestFileTypeAgreement::fileFromDiskShowsOneKind()
{
    QFETCH(QString, name);
    QFETCH(EDocKind, kind);
    QFETCH(QString, pane);
    QFETCH(int, image);
    QTemporaryDir dir;
    // A header would change a file that was only opened.
    CMemorySettingsStore seed = Seed({{"AddHeader", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    const QByteArray content("; a line\r\n/* and another\r\n");
    CScriptDoc* pDoc = Open(start, dir, name, content);
    QVERIFY(pDoc);
    CMainFrame* pFrame = start.App().MainFrame();
    QCOMPARE(pDoc->Template().Type().eKind, kind);
    QTRY_COMPARE(pFrame->PaneText(5), pane);
    QCOMPARE(StatusPanes::TypeText(View(pDoc)->FileType()), pane);
    QCOMPARE(ActiveTabImage(start), ImageOf(ImageListIcon(image)));
    QCOMPARE(ReadFile(pDoc->GetPathName()), content);
    QCOMPARE(pDoc->PlainText(), QString::fromLatin1(content).remove(u'\r'));
    QVERIFY(!pDoc->IsModified());
    start.CloseAndKeepStore();
}

void TestFileTypeAgreement::saveAsUnderAnotherKindChangesAllThree_data()
{
    QTest::addColumn<int>("showExt");
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<int>("image");
    QTest::newRow("text saved as a function") << 1 << EDocKind::Text << "ambush.sqf"
                                              << "SQF" << 4;
    QTest::newRow("script saved as a page") << 1 << EDocKind::Script << "brief.html"
                                            << "HTML" << 8;
    // With extensions hidden the title stays "Text": only the type changes.
    QTest::newRow("same title, new type") << 0 << EDocKind::Text << "Text.ext"
                                          << "EXT" << 6;
}

void TestFileTypeAgreement::saveAsUnderAnotherKindChangesAllThree()
{
    QFETCH(int, showExt);
    QFETCH(EDocKind, kind);
    QFETCH(QString, saveAs);
    QFETCH(QString, pane);
    QFETCH(int, image);
    QTemporaryDir dir;
    CMemorySettingsStore seed = Seed({{"ShowExt", showExt}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    start.App().Documents().NewDocument(kind);
    CScriptDoc* pDoc = pFrame->ActiveDocument();
    QVERIFY(pDoc);
    const EFileType eBefore = ViewFileType(QString(), DocType(kind));
    QTRY_COMPARE(pFrame->PaneText(5), StatusPanes::TypeText(eBefore));
    QCOMPARE(ActiveTabImage(start), ImageOf(ImageListIcon(FileTypeImage(eBefore, false))));
    start.Prompter().m_saveNames = {dir.filePath(saveAs)};
    pFrame->Action(kSaveAs)->trigger();
    QCOMPARE(pDoc->GetPathName(), dir.filePath(saveAs));
    QTRY_COMPARE(pFrame->PaneText(5), pane);
    QCOMPARE(ActiveTabImage(start), ImageOf(ImageListIcon(image)));
    start.CloseAndKeepStore();
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestFileTypeAgreement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filetypeagreement.moc"
