#include "core/app/memorysettingsstore.h"
#include "core/app/settings.h"
#include "core/data/codepage.h"
#include "core/data/projectmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString H = CProjectModel::kHeader;

// Calls naming an item the tree does not hold go to stale: a real tree
// widget would misdraw or crash on them.
class FakeTree : public IProjectTree
{
public:
    struct Item
    {
        QString sText;
        int nImage;
    };
    QList<HTreeItem> order;
    QMap<HTreeItem, Item> items;
    QString sRootText;
    int nRootImage = -1, nExpandSelect = 0;
    QList<HTreeItem> shown;
    QStringList stale;

    void ClearTree() override
    {
        order.clear();
        items.clear();
        sRootText.clear();
        nRootImage = -1;
    }
    void SetRoot(const QString& sText, int nImage) override
    {
        sRootText = sText;
        nRootImage = nImage;
    }
    void AddItem(HTreeItem h, const QString& sText, int nImage) override
    {
        if (h == kNoTreeItem || h == kRootTreeItem || items.contains(h))
            stale << QStringLiteral("add %1").arg(h);
        order << h;
        items[h] = {sText, nImage};
    }
    void RemoveItem(HTreeItem h) override
    {
        if (!items.remove(h))
            stale << QStringLiteral("remove %1").arg(h);
        order.removeAll(h);
    }
    void SetItemImage(HTreeItem h, int nImage) override
    {
        if (!items.contains(h))
            stale << QStringLiteral("image %1").arg(h);
        else
            items[h].nImage = nImage;
    }
    void SetItemText(HTreeItem h, const QString& sText) override
    {
        if (!items.contains(h))
            stale << QStringLiteral("text %1").arg(h);
        else
            items[h].sText = sText;
    }
    void SetRootText(const QString& sText) override { sRootText = sText; }
    void ExpandAndSelectRoot() override { ++nExpandSelect; }
    void ExpandRootAndShow(HTreeItem h) override { shown << h; }
    int Image(HTreeItem h) const { return items.contains(h) ? items[h].nImage : -1; }
};

// Closing a document reports back to the model, as document windows do.
class FakeDocuments : public IProjectDocuments
{
public:
    explicit FakeDocuments(CProjectModel& model) : m_model(model) { }

    QSet<QString> failing;
    QStringList log;

    QObject* Make(const QString& sPath)
    {
        auto* pDoc = new QObject(&m_owner);
        m_paths[pDoc] = sPath;
        m_open.insert(pDoc);
        return pDoc;
    }
    void SetModified(QObject* pDoc) { m_modified.insert(pDoc); }
    bool IsOpen(QObject* pDoc) const { return m_open.contains(pDoc); }

    QObject* OpenDocument(const QString& sPath) override
    {
        log << QStringLiteral("open ") + QFileInfo(sPath).fileName();
        if (failing.contains(sPath))
            return nullptr;
        for (QObject* pDoc : std::as_const(m_open))
            if (m_paths.value(pDoc) == sPath)
                return pDoc;
        return Make(sPath);
    }
    bool IsModified(QObject* pDoc) const override { return m_modified.contains(pDoc); }
    void SaveModifiedCheck(QObject* pDoc) override { log << QStringLiteral("ask ") + Name(pDoc); }
    void CloseDocument(QObject* pDoc) override
    {
        log << QStringLiteral("close ") + Name(pDoc);
        m_open.remove(pDoc);
        m_model.ProjectDocClosed(pDoc);
    }
    QString DocumentPath(QObject* pDoc) const override { return m_paths.value(pDoc); }

private:
    QString Name(QObject* pDoc) const { return QFileInfo(m_paths.value(pDoc)).fileName(); }

    CProjectModel& m_model;
    QObject m_owner;
    QHash<QObject*, QString> m_paths;
    QSet<QObject*> m_open, m_modified;
};

CSettings& SettingsWithShowExt(CMemorySettingsStore& store, int nShowExt, CSettings& settings)
{
    store.WriteInt(kSettingsSection, QStringLiteral("ShowExt"), nShowExt);
    settings.Read(store, QSize(1024, 768));
    return settings;
}

// Rows name files by token: "@x" is a file x in the temporary folder that
// exists, "~x" one that does not; a leading "*" is kept in front.
struct Env
{
    QTemporaryDir dir;
    CMemorySettingsStore store;
    CSettings settings;
    CProjectModel model;
    FakeTree tree;
    FakeDocuments docs;

    explicit Env(int nShowExt = 0) : model(SettingsWithShowExt(store, nShowExt, settings)), docs(model)
    {
        model.SetTree(&tree);
        model.SetDocuments(&docs);
    }

    QString Expand(const QString& sToken)
    {
        const bool bMarked = sToken.startsWith(u'*') && sToken.size() > 1;
        const QString sRest = bMarked ? sToken.mid(1) : sToken;
        if (!sRest.startsWith(u'@') && !sRest.startsWith(u'~'))
            return sToken;
        const QString sPath = dir.filePath(sRest.mid(1));
        if (sRest.startsWith(u'@') && !QFileInfo::exists(sPath))
            WriteBytes(sPath, {});
        return bMarked ? QStringLiteral("*") + sPath : sPath;
    }
    QStringList Expand(const QStringList& tokens)
    {
        QStringList lines;
        for (const QString& sToken : tokens)
            lines << Expand(sToken);
        return lines;
    }
    void Use(const QStringList& tokens, const QString& sCurProject)
    {
        model.m_arProjectData = Expand(tokens);
        settings.m_sCurProject = Expand(sCurProject);
        model.LoadProject();
    }
    QStringList Lines() const { return model.m_arProjectData; }
    const CProjectFile& Rec(int i) const { return model.m_ProjectFiles[size_t(i)]; }
    HTreeItem ItemOf(const QString& sToken)
    {
        const QString sPath = Expand(sToken);
        for (const CProjectFile& file : model.m_ProjectFiles)
            if (file.InUse() && file.sPath == sPath)
                return file.hItem;
        return sToken == QLatin1String("root") ? kRootTreeItem : kNoTreeItem;
    }
    // "path" or "*path" per record in use: what a save must give back.
    QStringList Records() const
    {
        QStringList records;
        for (const CProjectFile& file : model.m_ProjectFiles)
            if (file.InUse())
                records << (file.bOpen ? QStringLiteral("*") : QString()) + file.sPath;
        return records;
    }
    QStringList RecordPaths() const
    {
        QStringList paths;
        for (const CProjectFile& file : model.m_ProjectFiles)
            if (file.InUse())
                paths << file.sPath;
        return paths;
    }
    // "file open|closed [doc] image" per record in use, as the tree shows it.
    QStringList States() const
    {
        QStringList states;
        for (const CProjectFile& file : model.m_ProjectFiles) {
            if (!file.InUse())
                continue;
            QString s = QFileInfo(file.sPath).fileName() + (file.bOpen ? " open" : " closed");
            if (file.pDoc)
                s += docs.IsOpen(file.pDoc) && docs.DocumentPath(file.pDoc) == file.sPath ? " doc" : " bad-doc";
            s += QLatin1Char(' ') + QString::number(tree.Image(file.hItem));
            if (tree.items.value(file.hItem).sText != file.sName)
                s += QStringLiteral(" text:") + tree.items.value(file.hItem).sText;
            states << s;
        }
        if (tree.order.size() != states.size())
            states << QStringLiteral("tree items: %1").arg(tree.order.size());
        return states;
    }
    QByteArray ReadBytes(const QString& sPath) const
    {
        QFile file(sPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static void WriteBytes(const QString& sPath, const QByteArray& bytes)
    {
        QFile file(sPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(sPath));
    }
};

QStringList Files(int nCount)
{
    QStringList tokens;
    for (int i = 1; i <= nCount; ++i)
        tokens << QStringLiteral("@f%1.sqs").arg(i);
    return tokens;
}

}  // namespace

class TestProjectModel : public QObject
{
    Q_OBJECT

private slots:
    void findProjectBounds_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        const QStringList two{H, "A", "/m/a1.sqs", H, "B", "/m/b1.sqs", "/m/b2.sqs"};
        QTest::newRow("lower-case name finds the first of two") << two << "a" << 0 << 2;
        QTest::newRow("last project ends at the last line") << two << "B" << 3 << 6;
        QTest::newRow("project without file lines") << QStringList{H, "A", H, "B"} << "A" << 0 << 1;
        QTest::newRow("unknown name") << two << "C" << -1 << -1;
        const QStringList pathLikeName{H, "A", "B", H, "B", "/m/b1.sqs"};
        QTest::newRow("file line equal to a later name is not that name") << pathLikeName << "B" << 3 << 5;
        QTest::newRow("file line equal to a later name does not end its project") << pathLikeName << "A" << 0 << 2;
        QTest::newRow("header in other case ends a project")
            << QStringList{H, "A", "/m/a1", "[project]", "B"} << "A" << 0 << 2;
        QTest::newRow("name before any header is no project") << QStringList{"A", "/m/x", H, "B"} << "A" << -1 << -1;
        const QStringList headerName{H, H, H, "B", "/m/b1"};
        QTest::newRow("project named like the header has no file lines") << headerName << "[project]" << 0 << 0;
        QTest::newRow("project after one named like the header") << headerName << "B" << 2 << 4;
    }
    void findProjectBounds()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, name);
        QFETCH(int, first);
        QFETCH(int, last);
        Env env;
        env.model.m_arProjectData = lines;
        const auto [nFirst, nLast] = env.model.FindProject(name);
        QCOMPARE(nFirst, first);
        if (first >= 0)
            QCOMPARE(nLast, last);
    }

    void loadProjectShowsEachFile_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("showExt");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("image");
        QTest::addColumn<bool>("open");

        QTest::newRow("script closed") << "@a.sqs" << 0 << "a" << 4 << false;
        QTest::newRow("function open") << "*@b.sqf" << 0 << "b" << 5 << true;
        QTest::newRow("description closed") << "@description.ext" << 0 << "description" << 6 << false;
        QTest::newRow("html open") << "*@brief.html" << 0 << "brief" << 9 << true;
        QTest::newRow("htm closed") << "@brief.htm" << 0 << "brief" << 8 << false;
        QTest::newRow("csv open") << "*@table.csv" << 0 << "table" << 11 << true;
        QTest::newRow("dat closed") << "@table.dat" << 0 << "table" << 10 << false;
        QTest::newRow("upper-case extension") << "@INIT.SQS" << 0 << "INIT" << 4 << false;
        QTest::newRow("other extension open") << "*@notes.txt" << 0 << "notes" << 13 << true;
        QTest::newRow("no extension") << "@readme" << 0 << "readme" << 12 << false;
        QTest::newRow("only the last extension hidden") << "@a.b.sqs" << 0 << "a.b" << 4 << false;
        QTest::newRow("ShowExt keeps the extension") << "@a.b.sqs" << 1 << "a.b.sqs" << 4 << false;
        QTest::newRow("marked file gone from disk is closed") << "*~gone.sqs" << 0 << "gone" << 4 << false;
        QTest::newRow("unmarked file gone from disk is listed") << "~gone.sqf" << 1 << "gone.sqf" << 4 << false;
    }
    void loadProjectShowsEachFile()
    {
        QFETCH(QString, line);
        QFETCH(int, showExt);
        QFETCH(QString, text);
        QFETCH(int, image);
        QFETCH(bool, open);
        Env env(showExt);
        env.Use({H, "Alpha", line, H, "B", "@other.sqs"}, "Alpha");

        QCOMPARE(env.RecordPaths(), QStringList{env.Expand(line.mid(line.startsWith(u'*') ? 1 : 0))});
        const CProjectFile& file = env.Rec(0);
        QCOMPARE(file.sName, text);
        QCOMPARE(bool(file.bOpen), open);
        QVERIFY(!file.pDoc);
        QCOMPARE(env.tree.order, QList<HTreeItem>{file.hItem});
        QCOMPARE(env.tree.items[file.hItem].sText, text);
        QCOMPARE(env.tree.items[file.hItem].nImage, image);
        QCOMPARE(env.tree.sRootText, QStringLiteral("Alpha"));
        QCOMPARE(env.tree.nRootImage, 1);
        QCOMPARE(env.tree.nExpandSelect, 1);
    }

    void unknownOrEmptyCurProjectLoadsNoProject_data()
    {
        QTest::addColumn<QString>("curProject");
        QTest::newRow("name not in the list") << "Z";
        QTest::newRow("no name") << "";
    }
    void unknownOrEmptyCurProjectLoadsNoProject()
    {
        QFETCH(QString, curProject);
        Env env;
        env.Use({H, "A", "*@a.sqs", "@b.sqs", H, "B"}, "A");
        const QStringList before = env.Lines();

        env.settings.m_sCurProject = curProject;
        env.model.LoadProject();
        QVERIFY(env.model.CurProject().isEmpty());
        QCOMPARE(env.States(), QStringList{});
        QCOMPARE(env.Rec(0).hItem, kNoTreeItem);
        QCOMPARE(env.tree.sRootText, CProjectModel::kNoProject);
        QCOMPARE(env.tree.nRootImage, 0);
        QCOMPARE(env.Lines(), before);
    }

    void linesBeyondTheRecordsSurviveSave_data()
    {
        QTest::addColumn<QStringList>("fileLines");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("saved");

        QTest::newRow("lone star kept after the records")
            << QStringList{"@a.sqs", "*", "@b.sqs"} << 2 << QStringList{"@a.sqs", "@b.sqs", "*"};
        const QStringList beyond = Files(32) + QStringList{"*@x.sqs", "@y.sqs"};
        QTest::newRow("open mark beyond 32 files kept, file not opened") << beyond << 32 << beyond;
    }
    void linesBeyondTheRecordsSurviveSave()
    {
        QFETCH(QStringList, fileLines);
        QFETCH(int, records);
        QFETCH(QStringList, saved);
        Env env;
        env.Use(QStringList{H, "A"} + fileLines + QStringList{H, "B", "@b1.sqs"}, "A");
        QCOMPARE(env.model.ProjectFileCount(), records);
        QCOMPARE(env.tree.order.size(), records);
        env.model.OpenProjectFiles();
        QVERIFY(env.docs.log.isEmpty());

        env.model.SaveProject();
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A"} + saved + QStringList{H, "B", "@b1.sqs"}));
    }

    void saveProjectWritesRecordsInOrderAfterNameLine()
    {
        Env env;
        env.Use({H, "A", "*@p1.sqs", "@p2.sqf", H, "B", "@b1.sqs"}, "A");
        env.model.OpenProjectFiles();
        env.docs.CloseDocument(env.Rec(0).pDoc);
        env.model.OpenProjectFileByPath(env.Expand("@p2.sqf"));

        const QStringList expected = env.Expand(QStringList{H, "A", "@p1.sqs", "*@p2.sqf", H, "B", "@b1.sqs"});
        env.model.SaveProject();
        QCOMPARE(env.Lines(), expected);
        // Saving again (a switch followed by the close) must not insert the lines twice.
        env.model.SaveProject();
        QCOMPARE(env.Lines(), expected);
    }

    void addedFileIsFirstLineUntilSavedThenLast()
    {
        Env env;
        env.Use({H, "A", "@p1.sqs", "@p2.sqs", H, "B", "@b.sqs"}, "A");

        QCOMPARE(env.model.AddProjectFile(env.Expand("@p3.ext")), 2);
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "@p3.ext", "@p1.sqs", "@p2.sqs", H, "B", "@b.sqs"}));
        QCOMPARE(env.States(), QStringList({"p1.sqs closed 4", "p2.sqs closed 4", "p3.ext closed 6"}));
        QCOMPARE(env.Rec(2).sName, QStringLiteral("p3"));
        QCOMPARE(env.tree.shown, QList<HTreeItem>{env.Rec(2).hItem});
        QVERIFY(env.tree.stale.isEmpty());

        env.model.SaveProject();
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "@p1.sqs", "@p2.sqs", "@p3.ext", H, "B", "@b.sqs"}));
    }

    void addActiveFileAddsOpenRecordOfDocument()
    {
        Env env;
        env.Use({H, "A", "@p1.sqs"}, "A");
        QObject* pDoc = env.docs.Make(env.Expand("@brief.html"));

        QCOMPARE(env.model.AddActiveFile(pDoc), 1);
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "*@brief.html", "@p1.sqs"}));
        QCOMPARE(env.Rec(1).pDoc, pDoc);
        QCOMPARE(env.States(), QStringList({"p1.sqs closed 4", "brief.html open doc 9"}));
        QCOMPARE(env.tree.shown, QList<HTreeItem>{env.Rec(1).hItem});
        // Already open, so nothing is reopened.
        QVERIFY(env.docs.log.isEmpty());

        env.model.SaveProject();
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "@p1.sqs", "*@brief.html"}));
        env.docs.CloseDocument(pDoc);
        QCOMPARE(env.States(), QStringList({"p1.sqs closed 4", "brief.html closed 8"}));
    }

    void addRefused_data()
    {
        QTest::addColumn<bool>("active");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("curProject");
        QTest::addColumn<QString>("path");

        const QStringList one{H, "A", "@p1.sqs"};
        const QStringList full = QStringList{H, "A"} + Files(32);
        for (const bool bActive : {false, true}) {
            const char* pszHow = bActive ? "active: " : "path: ";
            const auto row
                = [&](const char* pszName) -> QTestData& { return QTest::addRow("%s%s", pszHow, pszName) << bActive; };
            row("file missing on disk") << one << "A"
                                        << "~new.sqs";
            row("no current project") << one << ""
                                      << "@new.sqs";
            row("path already in the project") << one << "A"
                                               << "@p1.sqs";
            row("path of a file marked open in the project") << QStringList{H, "A", "*@p1.sqs"} << "A"
                                                             << "@p1.sqs";
            row("all 32 records in use") << full << "A"
                                         << "@new.sqs";
        }
        QTest::newRow("active: no document") << true << one << "A"
                                             << "none";
        QTest::newRow("active: document without a path") << true << one << "A"
                                                         << "";
    }
    void addRefused()
    {
        QFETCH(bool, active);
        QFETCH(QStringList, lines);
        QFETCH(QString, curProject);
        QFETCH(QString, path);
        Env env;
        env.Use(lines, curProject);
        const QStringList before = env.Lines();
        const QStringList states = env.States();

        int nResult = 0;
        if (!active)
            nResult = env.model.AddProjectFile(env.Expand(path));
        else
            nResult
                = env.model.AddActiveFile(path == QLatin1String("none") ? nullptr : env.docs.Make(env.Expand(path)));
        QCOMPARE(nResult, -1);
        QCOMPARE(env.Lines(), before);
        QCOMPARE(env.States(), states);
        QVERIFY(env.tree.shown.isEmpty());
    }

    void openProjectFilesReopensMarkedFilesOnly()
    {
        Env env;
        env.Use({H, "A", "*@p1.sqs", "*@p2.sqs", "@p3.sqs", "*~gone.sqs"}, "A");
        env.docs.failing << env.Expand("@p2.sqs");

        env.model.OpenProjectFiles();
        QCOMPARE(env.docs.log, QStringList({"open p1.sqs", "open p2.sqs"}));
        QCOMPARE(env.States(),
                 QStringList({"p1.sqs open doc 5", "p2.sqs closed 4", "p3.sqs closed 4", "gone.sqs closed 4"}));
        QVERIFY(env.tree.stale.isEmpty());
        env.model.SaveProject();
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "*@p1.sqs", "@p2.sqs", "@p3.sqs", "~gone.sqs"}));
    }

    void closedDocumentMarksOnlyItsRecordClosed()
    {
        Env env;
        env.Use({H, "A", "*@p1.sqs", "*@p2.csv"}, "A");
        env.model.OpenProjectFiles();
        env.model.ProjectDocClosed(nullptr);
        env.docs.CloseDocument(env.docs.Make(env.Expand("@elsewhere.sqs")));
        QCOMPARE(env.States(), QStringList({"p1.sqs open doc 5", "p2.csv open doc 11"}));
        env.docs.CloseDocument(env.Rec(1).pDoc);
        QCOMPARE(env.States(), QStringList({"p1.sqs open doc 5", "p2.csv closed 10"}));
    }

    void openOneProjectFile_data()
    {
        QTest::addColumn<bool>("byPath");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("failOpen");
        QTest::addColumn<QStringList>("states");

        const QStringList opened{"p1.sqs closed 4", "p2.sqf open doc 5"};
        const QStringList untouched{"p1.sqs closed 4", "p2.sqf closed 4"};
        QTest::newRow("tree item opens its file") << false << "@p2.sqf" << false << opened;
        QTest::newRow("path opens its file") << true << "@p2.sqf" << false << opened;
        QTest::newRow("failed open by item changes nothing") << false << "@p2.sqf" << true << untouched;
        QTest::newRow("failed open by path changes nothing") << true << "@p2.sqf" << true << untouched;
        QTest::newRow("root item opens nothing") << false << "root" << false << untouched;
        QTest::newRow("path in other case opens nothing") << true << "~P2.sqf" << false << untouched;
        QTest::newRow("path outside the project opens nothing") << true << "@other.sqs" << false << untouched;
    }
    void openOneProjectFile()
    {
        QFETCH(bool, byPath);
        QFETCH(QString, target);
        QFETCH(bool, failOpen);
        QFETCH(QStringList, states);
        Env env;
        env.Use({H, "A", "@p1.sqs", "@p2.sqf"}, "A");
        if (failOpen)
            env.docs.failing << env.Expand(target);

        if (byPath)
            env.model.OpenProjectFileByPath(env.Expand(target));
        else
            env.model.OpenProjectFile(env.ItemOf(target));
        QCOMPARE(env.States(), states);
    }

    void isProjectFileComparesPathsWithCase_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("inProject");

        QTest::newRow("same path") << "@Brief.html" << true;
        QTest::newRow("path of a file marked open") << "@init.sqs" << true;
        QTest::newRow("path in other case") << "~brief.html" << false;
        QTest::newRow("line with its open mark is no path") << "*@init.sqs" << false;
        QTest::newRow("path outside the project") << "@x.sqs" << false;
        QTest::newRow("empty path matches no free record") << "" << false;
    }
    void isProjectFileComparesPathsWithCase()
    {
        QFETCH(QString, path);
        QFETCH(bool, inProject);
        Env env;
        env.Use({H, "A", "@Brief.html", "*@init.sqs"}, "A");
        QCOMPARE(env.model.IsProjectFile(env.Expand(path)), inProject);
    }

    void treeItemIndexesFollowRemoval()
    {
        Env env;
        env.Use({H, "A", "@p1.sqs", "@p2.sqs", "@p3.sqs"}, "A");
        const QList<HTreeItem> h = env.tree.order;
        QCOMPARE(h.size(), 3);
        const auto indexes = [&] {
            return QList<int>{env.model.IndexOfTreeItem(h[0]), env.model.IndexOfTreeItem(h[1]),
                              env.model.IndexOfTreeItem(h[2])};
        };
        QCOMPARE(indexes(), QList<int>({0, 1, 2}));
        QCOMPARE(env.model.IndexOfTreeItem(kRootTreeItem), -1);
        // Free records carry no item; "no item" must not find the first of them.
        QCOMPARE(env.model.IndexOfTreeItem(kNoTreeItem), -1);

        env.model.RemoveProjectFile(h[1]);
        QCOMPARE(indexes(), QList<int>({0, -1, 1}));
        QCOMPARE(env.model.ProjectFileCount(), 2);
        QCOMPARE(env.Rec(2).hItem, kNoTreeItem);
        QCOMPARE(env.model.IndexOfTreeItem(kNoTreeItem), -1);
    }

    void removeProjectFileRemovesOnlyItsOwnLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("records");

        QTest::newRow("closed file from the middle")
            << QStringList{H, "A", "@p1.sqs", "@p2.sqs", "@p3.sqs", H, "B", "@b.sqs"} << "@p2.sqs"
            << QStringList{H, "A", "@p1.sqs", "@p3.sqs", H, "B", "@b.sqs"} << QStringList{"@p1.sqs", "@p3.sqs"};
        QTest::newRow("line with open mark") << QStringList{H, "A", "@p1.sqs", "*@p2.sqs"} << "@p2.sqs"
                                             << QStringList{H, "A", "@p1.sqs"} << QStringList{"@p1.sqs"};
        QTest::newRow("same path in an earlier project stays")
            << QStringList{H, "B", "@p1.sqs", H, "A", "@p1.sqs", "@p2.sqs"} << "@p1.sqs"
            << QStringList{H, "B", "@p1.sqs", H, "A", "@p2.sqs"} << QStringList{"@p2.sqs"};
        QTest::newRow("unmarked same path in a later project stays")
            << QStringList{H, "A", "*@p1.sqs", H, "B", "@p1.sqs"} << "@p1.sqs" << QStringList{H, "A", H, "B", "@p1.sqs"}
            << QStringList{};
        QTest::newRow("root item removes nothing")
            << QStringList{H, "A", "@p1.sqs"} << "root" << QStringList{H, "A", "@p1.sqs"} << QStringList{"@p1.sqs"};
    }
    void removeProjectFileRemovesOnlyItsOwnLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, remove);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, records);
        Env env;
        env.Use(lines, "A");

        const HTreeItem hItem = env.ItemOf(remove);
        env.model.RemoveProjectFile(hItem);
        QCOMPARE(env.Lines(), env.Expand(expected));
        QCOMPARE(env.RecordPaths(), env.Expand(records));
        QCOMPARE(env.tree.order.size(), records.size());
        QVERIFY(hItem == kRootTreeItem || !env.tree.items.contains(hItem));
        QVERIFY(env.tree.stale.isEmpty());
    }

    void removingOpenModifiedFileClosesWithoutAsking()
    {
        Env env;
        env.Use({H, "A", "*@p1.sqs", "*@p2.sqs"}, "A");
        env.model.OpenProjectFiles();
        QObject* pRemoved = env.Rec(0).pDoc;
        env.docs.SetModified(pRemoved);
        env.docs.log.clear();

        env.model.RemoveProjectFile(env.Rec(0).hItem);
        QCOMPARE(env.docs.log, QStringList{"close p1.sqs"});
        QVERIFY(!env.docs.IsOpen(pRemoved));
        // The closing document reports back; that must not touch the item just deleted.
        QVERIFY2(env.tree.stale.isEmpty(), qPrintable(env.tree.stale.join(", ")));
        QCOMPARE(env.States(), QStringList{"p2.sqs open doc 5"});
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "*@p2.sqs"}));
    }

    void switchProjectAsksForModifiedFilesAndClosesAll()
    {
        Env env;
        env.Use({H, "A", "*@p1.sqs", "*@p2.sqs", "@p3.sqs", H, "B", "*@q1.ext", "@q2.ext"}, "A");
        env.model.OpenProjectFiles();
        env.model.OpenProjectFileByPath(env.Expand("@p3.sqs"));
        const QList<QObject*> oldDocs{env.Rec(0).pDoc, env.Rec(1).pDoc, env.Rec(2).pDoc};
        env.docs.SetModified(oldDocs[0]);
        env.docs.log.clear();

        env.model.SwitchProject("B");
        // The answer to the save question does not keep the file open.
        QCOMPARE(env.docs.log,
                 QStringList({"ask p1.sqs", "close p1.sqs", "close p2.sqs", "close p3.sqs", "open q1.ext"}));
        for (QObject* pDoc : oldDocs)
            QVERIFY(!env.docs.IsOpen(pDoc));
        QCOMPARE(env.model.CurProject(), QStringLiteral("B"));
        // Saved while its files were still open, so all three reopen next time.
        QCOMPARE(env.Lines(),
                 env.Expand(QStringList{H, "A", "*@p1.sqs", "*@p2.sqs", "*@p3.sqs", H, "B", "*@q1.ext", "@q2.ext"}));
        QCOMPARE(env.tree.sRootText, QStringLiteral("B"));
        QCOMPARE(env.tree.nRootImage, 1);
        QCOMPARE(env.States(), QStringList({"q1.ext open doc 7", "q2.ext closed 6"}));
        QVERIFY(env.tree.stale.isEmpty());
    }

    void renameProject_data()
    {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("curProject");

        const QStringList base{H, "A", "@a.sqs", H, "B", "@b.sqs"};
        const QStringList renamedA{H, "C", "@a.sqs", H, "B", "@b.sqs"};
        QTest::newRow("current project renames the setting and the root") << "A"
                                                                          << "C" << renamedA << "C";
        QTest::newRow("old name matched without case") << "a"
                                                       << "C" << renamedA << "C";
        QTest::newRow("other project leaves the current one")
            << "B"
            << "C" << QStringList{H, "A", "@a.sqs", H, "C", "@b.sqs"} << "A";
        QTest::newRow("name of another project in other case refused") << "B"
                                                                       << "a" << base << "A";
        QTest::newRow("name equal to a file line refused") << "B"
                                                           << "@a.sqs" << base << "A";
        QTest::newRow("name equal to the header refused") << "B"
                                                          << "[project]" << base << "A";
        QTest::newRow("case-only change of a name refused") << "A"
                                                            << "a" << base << "A";
        QTest::newRow("unknown old name") << "Z"
                                          << "C" << base << "A";
    }
    void renameProject()
    {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(QStringList, expected);
        QFETCH(QString, curProject);
        Env env;
        env.Use({H, "A", "@a.sqs", H, "B", "@b.sqs"}, "A");

        env.model.RenameProject(oldName, env.Expand(newName));
        QCOMPARE(env.Lines(), env.Expand(expected));
        QCOMPARE(env.model.CurProject(), curProject);
        QCOMPARE(env.tree.sRootText, curProject);
    }

    // New and Delete Project edit the list's lines directly; names are
    // matched as the list holds them, never as file lines.
    void newAndDeleteProject_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QStringList>("expected");

        const QStringList base{H, "A", "@a.sqs", H, "B", "@b.sqs"};
        QTest::newRow("new name appended") << "new"
                                           << "C" << true << (base + QStringList{H, "C"});
        QTest::newRow("new name of a project in other case") << "new"
                                                             << "b" << false << base;
        QTest::newRow("new name equal to a file line") << "new"
                                                       << "@a.sqs" << false << base;
        QTest::newRow("new name like the header") << "new"
                                                  << "[project]" << false << base;
        QTest::newRow("empty new name") << "new"
                                        << "" << false << base;
        QTest::newRow("delete the first project") << "delete"
                                                  << "A" << true << QStringList{H, "B", "@b.sqs"};
        QTest::newRow("delete the last project") << "delete"
                                                 << "B" << true << QStringList{H, "A", "@a.sqs"};
        QTest::newRow("delete a name that is only a file line") << "delete"
                                                                << "@b.sqs" << false << base;
        QTest::newRow("delete an unknown name") << "delete"
                                                << "Z" << false << base;
    }
    void newAndDeleteProject()
    {
        QFETCH(QString, op);
        QFETCH(QString, name);
        QFETCH(bool, changed);
        QFETCH(QStringList, expected);
        Env env;
        env.Use({H, "A", "@a.sqs", H, "B", "@b.sqs"}, "A");

        const QString sName = env.Expand(name);
        QCOMPARE(op == "new" ? env.model.AddNewProject(sName) : env.model.DeleteProject(sName), changed);
        QCOMPARE(env.Lines(), env.Expand(expected));
    }

    void projectNamesFollowHeadersInListOrder()
    {
        Env env;
        env.Use({H, "Zeta", "@a.sqs", H, "alpha", H}, "Zeta");
        QCOMPARE(env.model.ProjectNames(), QStringList({"Zeta", "alpha"}));
    }

    void movedFileKeepsItsItemAndSavesItsNewPath()
    {
        Env env(1);
        env.Use({H, "A", "*@a.sqs", "@b.sqs"}, "A");
        env.model.OpenProjectFiles();
        const QString sNewPath = env.dir.filePath("c.sqf");

        env.model.MoveProjectFile(0, sNewPath);
        QCOMPARE(env.Rec(0).sName, QStringLiteral("c.sqf"));
        QCOMPARE(env.tree.items.value(env.Rec(0).hItem).sText, QStringLiteral("c.sqf"));
        QVERIFY(env.tree.stale.isEmpty());
        QCOMPARE(env.Lines(), env.Expand({H, "A", "*~c.sqf", "@b.sqs"}));
        env.model.RemoveProjectFile(env.Rec(0).hItem);
        QCOMPARE(env.Lines(), env.Expand({H, "A", "@b.sqs"}));
    }

    void closeProjectFileClosesOnlyItsOpenDocument()
    {
        Env env;
        env.Use({H, "A", "*@a.sqs", "@b.sqs"}, "A");
        env.model.OpenProjectFiles();
        env.docs.SetModified(env.Rec(0).pDoc);

        env.model.CloseProjectFile(env.ItemOf("@b.sqs"));
        env.model.CloseProjectFile(kRootTreeItem);
        env.model.CloseProjectFile(env.ItemOf("@a.sqs"));
        QCOMPARE(env.docs.log, QStringList({"open a.sqs", "close a.sqs"}));
        QCOMPARE(env.States(), QStringList({"a.sqs closed 4", "b.sqs closed 4"}));
    }

    void projectListLoadAndSave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("saved");

        const QStringList lines{H, "A", "/m/a.sqs"};
        const QByteArray crlf("[PROJECT]\r\nA\r\n/m/a.sqs\r\n");
        QTest::newRow("CR LF lines") << crlf << lines << crlf;
        QTest::newRow("LF lines written as CR LF") << QByteArray("[PROJECT]\nA\n/m/a.sqs\n") << lines << crlf;
        QTest::newRow("empty lines dropped")
            << QByteArray("\r\n[PROJECT]\r\n\r\n\nA\r\n/m/a.sqs\r\n\r\n") << lines << crlf;
        QTest::newRow("last line without line end") << QByteArray("[PROJECT]\r\nA\r\n/m/a.sqs") << lines << crlf;
        QTest::newRow("blanks inside lines kept")
            << QByteArray("[PROJECT]\r\n my project \r\n") << QStringList{H, " my project "}
            << QByteArray("[PROJECT]\r\n my project \r\n");
        QTest::newRow("empty file") << QByteArray("") << QStringList{} << QByteArray();
        QTest::newRow("missing file created empty") << QByteArray() << QStringList{} << QByteArray();
    }
    void projectListLoadAndSave()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, saved);
        Env env;
        const QString sPath = env.dir.filePath("project.dat");
        if (!bytes.isNull())
            env.WriteBytes(sPath, bytes);
        env.model.m_arProjectData = QStringList{H, "left from before"};

        QVERIFY(env.model.LoadProjectList(sPath));
        QCOMPARE(env.Lines(), lines);
        QCOMPARE(env.ReadBytes(sPath), bytes);
        QVERIFY(env.model.SaveProjectList(sPath));
        QCOMPARE(env.ReadBytes(sPath), saved);
    }

    void nonAsciiPathsRoundTripByteExactly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("path");

        QTest::newRow("Windows-1252 file")
            << QByteArray("[PROJECT]\r\nMission \xE9t\xE9\r\nC:\\Missions\\\xC4rger\\init.sqs\r\n"
                          "[PROJECT]\r\nB\r\n*C:\\Missions\\\x80uro\x81.sqf\r\n")
            << QStringLiteral("C:\\Missions\\\u00C4rger\\init.sqs");
        QTest::newRow("UTF-8 file") << QByteArray(
            "[PROJECT]\r\nMission \xC3\xA9t\xC3\xA9\r\n/home/u/\xC3\x84rger/init.sqs\r\n"
            "[PROJECT]\r\nB\r\n*/home/u/\xE2\x82\xACuro.sqf\r\n")
                                    << QStringLiteral("/home/u/\u00C4rger/init.sqs");
        QTest::newRow("UTF-8 file with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[PROJECT]\r\nMission \xC3\xA9t\xC3\xA9\r\n/home/u/\xC3\x84rger/init.sqs\r\n")
            << QStringLiteral("/home/u/\u00C4rger/init.sqs");
    }
    void nonAsciiPathsRoundTripByteExactly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, path);
        Env env;
        const QString sPath = env.dir.filePath("project.dat");
        env.WriteBytes(sPath, bytes);

        QVERIFY(env.model.LoadProjectList(sPath));
        env.settings.m_sCurProject = QStringLiteral("Mission \u00E9t\u00E9");
        env.model.LoadProject();
        QCOMPARE(env.RecordPaths(), QStringList{path});
        env.model.SaveProject();
        QVERIFY(env.model.SaveProjectList(sPath));
        QCOMPARE(env.ReadBytes(sPath), bytes);
    }

    void newProjectNameKeepsTheListsEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // null: no list file yet
        QTest::addColumn<QByteArray>("saved");  // the new project's lines as they must be written

        const QByteArray cp1252("[PROJECT]\r\n\xDC"
                                "bung \x80\r\n");
        const QByteArray utf8("[PROJECT]\r\n\xC3\x9C"
                              "bung \xE2\x82\xAC\r\n");
        QTest::newRow("Windows-1252 list") << QByteArray("[PROJECT]\r\nMission \xE9t\xE9\r\n") << cp1252;
        QTest::newRow("UTF-8 list") << QByteArray("[PROJECT]\r\nMission \xC3\xA9t\xC3\xA9\r\n") << utf8;
        QTest::newRow("UTF-8 list with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[PROJECT]\r\nMission \xC3\xA9t\xC3\xA9\r\n") << utf8;
        QTest::newRow("plain ASCII list is the games' code page") << QByteArray("[PROJECT]\r\nA\r\n") << cp1252;
        QTest::newRow("new list is the games' code page") << QByteArray() << cp1252;
    }
    // A project named with letters beyond ASCII is written in the encoding
    // the list was read in, so the other names and paths keep theirs.
    void newProjectNameKeepsTheListsEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        Env env;
        // A list read before in another encoding must not decide a new list's.
        const QString sOther = env.dir.filePath("other.dat");
        env.WriteBytes(sOther, "\xEF\xBB\xBF[PROJECT]\r\n\xC3\xA9\r\n");
        QVERIFY(env.model.LoadProjectList(sOther));
        const QString sPath = env.dir.filePath("project.dat");
        if (!bytes.isNull())
            env.WriteBytes(sPath, bytes);

        QVERIFY(env.model.LoadProjectList(sPath));
        env.model.m_arProjectData.append(H);
        env.model.m_arProjectData.append(QStringLiteral("\u00DCbung \u20AC"));
        QVERIFY(env.model.SaveProjectList(sPath));
        QCOMPARE(env.ReadBytes(sPath), bytes + saved);
    }

    void fortyFileLinesSurviveLoadAndSave()
    {
        Env env;
        QStringList fileLines = env.Expand(Files(40));
        fileLines[0].prepend(u'*');
        fileLines[35].prepend(u'*');
        const QStringList lines = QStringList{H, "A"} + fileLines + QStringList{H, "B", env.Expand("@b.sqs")};
        const QString sPath = env.dir.filePath("project.dat");
        const QByteArray original = (lines.join("\r\n") + "\r\n").toUtf8();
        env.WriteBytes(sPath, original);

        QVERIFY(env.model.LoadProjectList(sPath));
        env.settings.m_sCurProject = "A";
        env.model.LoadProject();
        QCOMPARE(env.model.ProjectFileCount(), 32);
        env.model.OpenProjectFiles();
        QCOMPARE(env.docs.log, QStringList{"open f1.sqs"});
        env.model.SaveProject();
        QVERIFY(env.model.SaveProjectList(sPath));
        QCOMPARE(env.ReadBytes(sPath), original);
    }

    void oddProjectNamesLeaveTheListAlone_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("oddName");
        QTest::addColumn<QStringList>("oddRecords");

        QTest::newRow("project named like the header")
            << QStringList{H, "A", "*@a.sqs", H, H, "@x.sqs", H, "B", "@b.sqs"} << H << QStringList{};
        QTest::newRow("project named like a file of another project")
            << QStringList{H, "A", "@b.sqs", "*@a.sqs", H, "@b.sqs", "@c.sqs", H, "B"} << "@b.sqs"
            << QStringList{"@c.sqs"};
        QTest::newRow("project named like its own file")
            << QStringList{H, "A", "*@a.sqs", H, "@c.sqs", "@c.sqs", H, "B"} << "@c.sqs" << QStringList{"@c.sqs"};
    }
    void oddProjectNamesLeaveTheListAlone()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, oddName);
        QFETCH(QStringList, oddRecords);
        Env env;
        env.Use(lines, "A");
        env.model.OpenProjectFiles();
        const QStringList original = env.Lines();
        const QStringList ownRecords = env.RecordPaths();

        env.model.SwitchProject(env.Expand(oddName));
        QCOMPARE(env.model.CurProject(), env.Expand(oddName));
        QCOMPARE(env.RecordPaths(), env.Expand(oddRecords));
        env.model.SwitchProject("A");
        QCOMPARE(env.RecordPaths(), ownRecords);
        env.model.SaveProject();

        const QString sPath = env.dir.filePath("project.dat");
        QVERIFY(env.model.SaveProjectList(sPath));
        QVERIFY(env.model.LoadProjectList(sPath));
        QCOMPARE(env.Lines(), original);
    }

    void addedFileSurvivesSaveAndReload_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("curProject");

        QTest::newRow("ordinary project") << QStringList{H, "A", "@a.sqs", H, "B", "@b.sqs"} << "A";
        QTest::newRow("project named like a path") << QStringList{H, "@a.sqs", "@a.sqs", H, "B", "@b.sqs"} << "@a.sqs";
        QTest::newRow("project named like the header") << QStringList{H, H, H, "B", "@b.sqs"} << H;
    }
    // A file the tree shows in the project must still be in it, listed once,
    // after a save and a reload; a project that cannot hold it must refuse it.
    void addedFileSurvivesSaveAndReload()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, curProject);
        Env env;
        env.Use(lines, curProject);
        const QStringList before = env.Lines();
        const QString sNew = env.Expand("@new.sqs");

        const int nIndex = env.model.AddProjectFile(sNew);
        env.model.SaveProject();
        if (nIndex < 0) {
            QCOMPARE(env.Lines(), before);
            return;
        }
        const QStringList records = env.RecordPaths();
        QCOMPARE(env.Lines().count(sNew), 1);
        env.model.LoadProject();
        QCOMPARE(env.RecordPaths(), records);
        QCOMPARE(env.Lines().mid(env.Lines().indexOf("B") - 1), env.Expand(QStringList{H, "B", "@b.sqs"}));
    }

    void mixedListKeepsEachLinesBytesAndText_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::newRow("8-bit file removed") << "remove";
        QTest::newRow("file added") << "add";
        QTest::newRow("8-bit file closed") << "close";
        QTest::newRow("nothing changed") << "";
    }
    // A list edited by programs of different ages mixes UTF-8 lines with
    // lines in the games' code page. Each reads as what it says, whatever the
    // other lines are, and keeps its bytes while the user leaves it alone.
    void mixedListKeepsEachLinesBytesAndText()
    {
        QFETCH(QString, edit);
        Env env;
        const QString sUtf8 = env.dir.filePath(QStringLiteral("\u00E9t\u00E9\\x.sqf"));
        const QString sCp1252 = env.dir.filePath(QStringLiteral("caf\u00E9.sqs"));
        Env::WriteBytes(sCp1252, {});
        const QByteArray utf8Line = sUtf8.toUtf8();
        const QByteArray cp1252Line = env.dir.path().toUtf8() + "/caf\xE9.sqs";
        const QByteArray head = "[PROJECT]\r\nMission \xC3\xA9t\xC3\xA9\r\n";
        const QByteArray tail = "[PROJECT]\r\nB\r\n*/m/\x80uro.sqs\r\n";
        const QString sPath = env.dir.filePath(QStringLiteral("project.dat"));
        Env::WriteBytes(sPath, head + "*" + cp1252Line + "\r\n" + utf8Line + "\r\n" + tail);

        QVERIFY(env.model.LoadProjectList(sPath));
        env.settings.m_sCurProject = QStringLiteral("Mission \u00E9t\u00E9");
        env.model.LoadProject();
        env.model.OpenProjectFiles();
        QCOMPARE(env.Records(), QStringList({QStringLiteral("*") + sCp1252, sUtf8}));
        QCOMPARE(env.Lines().last(), QStringLiteral("*/m/\u20ACuro.sqs"));

        QByteArray expected = head + "*" + cp1252Line + "\r\n" + utf8Line + "\r\n";
        if (edit == QLatin1String("remove")) {
            env.model.RemoveProjectFile(env.ItemOf(sCp1252));
            expected = head + utf8Line + "\r\n";
        } else if (edit == QLatin1String("add")) {
            const QString sNew = env.dir.filePath(QStringLiteral("\u00FCber.sqs"));
            Env::WriteBytes(sNew, {});
            QVERIFY(env.model.AddProjectFile(sNew) >= 0);
            expected += env.dir.path().toUtf8() + "/\xFC" + "ber.sqs\r\n";
        } else if (edit == QLatin1String("close")) {
            env.docs.CloseDocument(env.Rec(0).pDoc);
            expected = head + cp1252Line + "\r\n" + utf8Line + "\r\n";
        }
        env.model.SaveProject();
        const QStringList records = env.Records();
        QVERIFY(env.model.SaveProjectList(sPath));
        QCOMPARE(env.ReadBytes(sPath), expected + tail);

        QVERIFY(env.model.LoadProjectList(sPath));
        env.model.LoadProject();
        QCOMPARE(env.Records(), records);
        QVERIFY(env.RecordPaths().contains(sUtf8));
    }

    void fileLinesLikeAHeaderSurviveSaveAndLoad_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("open mark before the header's text")
            << QStringList{H, "A", "*[PROJECT]", "@a.sqs", H, "B", "@b.sqs"};
        QTest::newRow("open mark before the header in other case")
            << QStringList{H, "A", "@a.sqs", "*[project]", "*@c.sqs", H, "B"};
        QTest::newRow("path that starts with the open mark") << QStringList{H, "A", "**@a.sqs", "@b.sqs", H, "B"};
        QTest::newRow("lone open mark") << QStringList{H, "A", "*", "@a.sqs"};
    }
    // A file line is saved with its open mark gone when its file is closed
    // or missing: that must not turn it into a header, or into another file.
    void fileLinesLikeAHeaderSurviveSaveAndLoad()
    {
        QFETCH(QStringList, lines);
        Env env;
        env.Use(lines, "A");
        const QStringList records = env.Records();
        const QString sPath = env.dir.filePath(QStringLiteral("project.dat"));
        for (int nRound = 0; nRound < 2; ++nRound) {
            env.model.SaveProject();
            QVERIFY(env.model.SaveProjectList(sPath));
            QVERIFY(env.model.LoadProjectList(sPath));
            env.model.LoadProject();
            QCOMPARE(env.model.CurProject(), QStringLiteral("A"));
            QCOMPARE(env.Records(), records);
        }
        QCOMPARE(env.Lines().count(H), lines.count(H));
    }

    void pathsNoFileLineCanHoldAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("line break") << "two\nlines.sqs";
        QTest::newRow("open mark first") << "*star.sqs";
        QTest::newRow("header's text") << "[Project]";
    }
    void pathsNoFileLineCanHoldAreRefused()
    {
        QFETCH(QString, name);
        Env env;
        env.Use({H, "A", "@a.sqs"}, "A");
        // Relative to the working folder, as a path may come in.
        QTemporaryDir work;
        const QString sOld = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        Env::WriteBytes(name, {});
        const int nIndex = env.model.AddProjectFile(name);
        QDir::setCurrent(sOld);
        QCOMPARE(nIndex, -1);
        QCOMPARE(env.Lines(), env.Expand(QStringList{H, "A", "@a.sqs"}));
    }

    // Lists as years of editing leave them: projects whose file lines mix
    // UTF-8 and the games' code page, odd lines among them. Whatever the user
    // then does, lines left alone keep their bytes, and what is saved loads
    // back as the same projects and records.
    void randomListsSurviveEditsSaveAndLoad()
    {
        Env env;
        QRandomGenerator random(31337);
        // Letters whose Windows-1252 bytes never form UTF-8 that reads as
        // another of these names, plus one the code page cannot hold.
        const QString sLetters = QStringLiteral("ab\u00E9\u00FC\u20AC\u00DF\u65E5 .");
        QStringList pool;
        QHash<QString, bool> inCp1252;
        for (int i = 0; i < 24; ++i) {
            QString sName;
            for (int n = 1 + random.bounded(6); n > 0; --n)
                sName += sLetters[random.bounded(int(sLetters.size()))];
            const QString sFile = env.dir.filePath(QStringLiteral("%1-%2.sqs").arg(i).arg(sName));
            Env::WriteBytes(sFile, {});
            pool << sFile;
            inCp1252[sFile] = !sFile.contains(QChar(0x65E5)) && random.bounded(2) == 0;
        }
        const QStringList names{"A", "b", "M\u00FCnchen", "\u00C9t\u00E9"};
        const QList<QByteArray> odd{"*[PROJECT]", "*[project]", "**x.sqs", "*"};
        const auto bytesOf = [&](const QString& sText) {
            return inCp1252.value(sText) ? CodePage::EncodeCp1252(sText) : sText.toUtf8();
        };

        for (int nCase = 0; nCase < 1500; ++nCase) {
            QByteArray original = random.bounded(5) == 0 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
            for (int nProject = random.bounded(4); nProject > 0; --nProject) {
                original += "[PROJECT]\r\n" + names[random.bounded(int(names.size()))].toUtf8() + "\r\n";
                for (int nFile = random.bounded(random.bounded(8) == 0 ? 40 : 6); nFile > 0; --nFile) {
                    if (random.bounded(8) == 0) {
                        original += odd[random.bounded(int(odd.size()))] + "\r\n";
                        continue;
                    }
                    original += (random.bounded(3) == 0 ? "*" : "") + bytesOf(pool[random.bounded(int(pool.size()))])
                        + "\r\n";
                }
            }
            const QString sCase = QStringLiteral("case %1: %2").arg(nCase).arg(QString::fromLatin1(original.toHex()));
            env.model.ReadProjectList(original);
            QVERIFY2(env.model.ProjectListBytes() == original, qPrintable(sCase));
            QHash<QString, QByteArray> readFrom;
            const QList<QByteArray> originalLines
                = original.startsWith("\xEF\xBB\xBF") ? original.mid(3).split('\n') : original.split('\n');
            for (int i = 0; i < env.Lines().size(); ++i)
                readFrom.insert(env.Lines()[i], originalLines[i].chopped(1));

            env.settings.m_sCurProject = names[random.bounded(int(names.size()))];
            env.model.LoadProject();
            env.model.OpenProjectFiles();
            for (int nEdit = random.bounded(6); nEdit > 0; --nEdit) {
                const int nCount = env.model.ProjectFileCount();
                switch (random.bounded(5)) {
                case 0:
                    if (nCount > 0)
                        env.model.RemoveProjectFile(env.Rec(random.bounded(nCount)).hItem);
                    break;
                case 1:
                    env.model.AddProjectFile(pool[random.bounded(int(pool.size()))]);
                    break;
                case 2:
                    if (nCount > 0)
                        env.model.OpenProjectFile(env.Rec(random.bounded(nCount)).hItem);
                    break;
                case 3:
                    if (nCount > 0 && env.Rec(random.bounded(nCount)).pDoc)
                        env.docs.CloseDocument(env.Rec(random.bounded(nCount)).pDoc);
                    break;
                default:
                    env.model.SwitchProject(names[random.bounded(int(names.size()))]);
                }
            }
            env.model.SaveProject();
            const QStringList lines = env.Lines();
            const QStringList records = env.Records();
            const QString sProject = env.model.CurProject();
            const QByteArray saved = env.model.ProjectListBytes();

            QList<QByteArray> savedLines = (saved.startsWith("\xEF\xBB\xBF") ? saved.mid(3) : saved).split('\n');
            savedLines.removeLast();
            QVERIFY2(savedLines.size() == lines.size(), qPrintable(sCase));
            for (int i = 0; i < lines.size(); ++i) {
                const QByteArray line = savedLines[i].chopped(1);
                const QString& sText = lines[i];
                if (readFrom.contains(sText))
                    QVERIFY2(line == readFrom[sText], qPrintable(sCase + QStringLiteral(" line ") + sText));
                else if (sText.startsWith(u'*') && readFrom.contains(sText.mid(1)))
                    QVERIFY2(line == "*" + readFrom[sText.mid(1)],
                             qPrintable(sCase + QStringLiteral(" line ") + sText));
                else if (readFrom.contains(QStringLiteral("*") + sText))
                    QVERIFY2(line == readFrom[QStringLiteral("*") + sText].mid(1),
                             qPrintable(sCase + QStringLiteral(" line ") + sText));
            }

            env.model.ReadProjectList(saved);
            QVERIFY2(env.Lines() == lines, qPrintable(sCase));
            env.model.LoadProject();
            QVERIFY2(env.model.CurProject() == sProject, qPrintable(sCase));
            QVERIFY2(env.Records() == records, qPrintable(sCase));
            env.model.CloseProjectFiles();
        }
    }

    void unusableProjectListPath_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("path is an existing folder") << "folder";
        QTest::newRow("folder of the path missing") << "nowhere/project.dat";
    }
    void unusableProjectListPath()
    {
        QFETCH(QString, relative);
        Env env;
        QDir root(env.dir.path());
        QVERIFY(root.mkdir("folder"));
        env.WriteBytes(root.filePath("folder/keep.txt"), "kept");
        const auto entries = [](const QDir& d) {
            return d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        };
        const QStringList before = entries(root);

        env.model.m_arProjectData = QStringList{H, "A", "/m/a.sqs"};
        QVERIFY(!env.model.SaveProjectList(root.filePath(relative)));
        QVERIFY(!env.model.LoadProjectList(root.filePath(relative)));
        // Neither a temporary file nor a half-written list may be left behind.
        QCOMPARE(entries(root), before);
        QCOMPARE(entries(QDir(root.filePath("folder"))), QStringList{"keep.txt"});
        QCOMPARE(env.ReadBytes(root.filePath("folder/keep.txt")), QByteArray("kept"));
    }
};

QTEST_GUILESS_MAIN(TestProjectModel)
#include "tst_projectmodel.moc"
