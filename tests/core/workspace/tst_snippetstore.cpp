#include "core/workspace/snippetstore.h"

#include "tests/support/fileaccess.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace VelkTest;

namespace {

QStringList Entries(const QString& sFolder)
{
    return QDir(sFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// The snippets folder inside a throw-away one, made or not.
struct SFolder
{
    explicit SFolder(bool bCreate = true)
    {
        sPath = dir.filePath(QStringLiteral("snippets"));
        if (bCreate)
            QDir().mkdir(sPath);
    }
    QString File(const QString& sName) const { return QDir(sPath).filePath(sName); }
    QTemporaryDir dir;
    QString sPath;
};

}  // namespace

class TestSnippetStore : public QObject
{
    Q_OBJECT

private slots:
    void savedTextReadsBackForInsertion_data();
    void savedTextReadsBackForInsertion();
    void fileReadsForInsertion_data();
    void fileReadsForInsertion();
    void typedNameBecomesTheFileName_data();
    void typedNameBecomesTheFileName();
    void saveReplacesWithoutAsking();
    void saveMakesTheMissingFolder();
    void failedSaveIsToldAndChangesNothing_data();
    void failedSaveIsToldAndChangesNothing();
    void listHoldsTextFilesOnlyIgnoringCase();
    void rename_data();
    void rename();
    void deleteIgnoresAMissingFile();
};

void TestSnippetStore::savedTextReadsBackForInsertion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("LF breaks become CR LF")
        << QStringLiteral("a\nb") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("CR breaks become CR LF")
        << QStringLiteral("a\rb") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("CR LF stays one break")
        << QStringLiteral("a\r\nb") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("final break kept in the file, not inserted")
        << QStringLiteral("a\n") << QByteArray("a\r\n") << QStringLiteral("a");
    QTest::newRow("blank lines survive") << QStringLiteral("a\n\nb") << QByteArray("a\r\n\r\nb")
                                         << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("games' code page") << QStringLiteral("Brücke ©")
                                      << QByteArray("Br\xFC"
                                                    "cke \xA9")
                                      << QStringLiteral("Brücke ©");
    QTest::newRow("beyond the code page goes UTF-8")
        << QStringLiteral("Ω Brü") << QByteArray("\xCE\xA9 Br\xC3\xBC") << QStringLiteral("Ω Brü");
    // Those Windows-1252 bytes are valid UTF-8 and would read back as "é".
    QTest::newRow("code page bytes that read as UTF-8 go UTF-8")
        << QStringLiteral("Ã©") << QByteArray("\xC3\x83\xC2\xA9") << QStringLiteral("Ã©");
}

void TestSnippetStore::savedTextReadsBackForInsertion()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, inserted);
    SFolder folder;
    const CSnippetStore store(folder.sPath);

    const CSnippetStore::SResult result = store.Save(QStringLiteral("Loop"), text);
    QCOMPARE(result.eStatus, CSnippetStore::SResult::Done);
    QCOMPARE(result.sName, QStringLiteral("Loop"));
    QCOMPARE(ReadFile(folder.File(QStringLiteral("Loop.txt"))), bytes);
    QCOMPARE(store.ReadForInsertion(QStringLiteral("Loop")), inserted);
}

void TestSnippetStore::fileReadsForInsertion_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("empty file inserts nothing") << QByteArray() << QString();
    QTest::newRow("a lone line break inserts nothing") << QByteArray("\r\n") << QString();
    QTest::newRow("final CR LF dropped") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\r\nb");
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\r\nb");
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringLiteral("a\r\nb");
    QTest::newRow("mixed breaks") << QByteArray("a\rb\nc\r\nd") << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("only the last break goes") << QByteArray("a\r\n\r\n") << QStringLiteral("a\r\n");
    QTest::newRow("Windows-1252") << QByteArray("hint \"Br\xFC"
                                                "cke\"\r\n")
                                  << QStringLiteral("hint \"Brücke\"");
    QTest::newRow("UTF-8") << QByteArray("hint \"Br\xC3\xBC"
                                         "cke\"\r\n")
                           << QStringLiteral("hint \"Brücke\"");
    QTest::newRow("binary data inserts nothing") << QByteArray("a\0b", 3) << QString();
    QTest::newRow("missing file inserts nothing") << QByteArray() << QString();
}

void TestSnippetStore::fileReadsForInsertion()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, inserted);
    SFolder folder;
    if (QTest::currentDataTag() != QLatin1String("missing file inserts nothing"))
        WriteFile(folder.File(QStringLiteral("Made by hand.txt")), bytes);

    QCOMPARE(CSnippetStore(folder.sPath).ReadForInsertion(QStringLiteral("Made by hand")), inserted);
}

void TestSnippetStore::typedNameBecomesTheFileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");  // empty: nothing is saved

    QTest::newRow("plain") << QStringLiteral("SQS Loop") << QStringLiteral("SQS Loop");
    QTest::newRow("forbidden characters dropped")
        << QStringLiteral("a\\b/c:d*e?f|g\"h<i>j") << QStringLiteral("abcdefghij");
    QTest::newRow("only forbidden characters") << QStringLiteral("\\/:*?|\"<>") << QString();
    QTest::newRow("only dots") << QStringLiteral("..") << QString();
    QTest::newRow("only dots once stripped") << QStringLiteral("./.") << QString();
    QTest::newRow("dots inside a name") << QStringLiteral("v1.2") << QStringLiteral("v1.2");
    QTest::newRow("leading dot") << QStringLiteral(".init") << QStringLiteral(".init");
}

void TestSnippetStore::typedNameBecomesTheFileName()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    SFolder folder;
    const CSnippetStore store(folder.sPath);

    const CSnippetStore::SResult result = store.Save(typed, QStringLiteral("hint \"x\""));
    if (name.isEmpty()) {
        QCOMPARE(result.eStatus, CSnippetStore::SResult::Nothing);
        QCOMPARE(Entries(folder.sPath), QStringList());
        return;
    }
    QCOMPARE(result.eStatus, CSnippetStore::SResult::Done);
    QCOMPARE(result.sName, name);
    QCOMPARE(Entries(folder.sPath), QStringList(name + QStringLiteral(".txt")));
    QCOMPARE(store.Names(), QStringList(name));
    QCOMPARE(store.ReadForInsertion(name), QStringLiteral("hint \"x\""));
}

void TestSnippetStore::saveReplacesWithoutAsking()
{
    SFolder folder;
    const CSnippetStore store(folder.sPath);
    QCOMPARE(store.Save(QStringLiteral("Loop"), QStringLiteral("old\nlines")).eStatus, CSnippetStore::SResult::Done);
    QCOMPARE(store.Save(QStringLiteral("Loop"), QStringLiteral("new")).eStatus, CSnippetStore::SResult::Done);
    QCOMPARE(ReadFile(folder.File(QStringLiteral("Loop.txt"))), QByteArray("new"));
    QCOMPARE(Entries(folder.sPath), QStringList(QStringLiteral("Loop.txt")));
}

void TestSnippetStore::saveMakesTheMissingFolder()
{
    SFolder folder(false);
    const CSnippetStore store(folder.sPath);
    QCOMPARE(store.Names(), QStringList());
    QCOMPARE(store.Save(QStringLiteral("First"), QStringLiteral("x")).eStatus, CSnippetStore::SResult::Done);
    QCOMPARE(store.Names(), QStringList(QStringLiteral("First")));
}

void TestSnippetStore::failedSaveIsToldAndChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only folder") << QStringLiteral("readonly");
    QTest::newRow("folder's name taken by a file") << QStringLiteral("file");
    QTest::newRow("snippet's name taken by a folder") << QStringLiteral("dir");
}

void TestSnippetStore::failedSaveIsToldAndChangesNothing()
{
    QFETCH(QString, kind);
    SFolder folder(kind != QLatin1String("file"));
    if (kind == QLatin1String("file"))
        WriteFile(folder.sPath, "not a folder");
    if (kind == QLatin1String("dir"))
        QVERIFY(QDir().mkdir(folder.File(QStringLiteral("Loop.txt"))));
    if (kind == QLatin1String("readonly")) {
        WriteFile(folder.File(QStringLiteral("Old.txt")), "old");
        // Nobody must reach the folder to be refused by it.
        QVERIFY(::chmod(QFile::encodeName(folder.dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(folder.sPath).constData(), 0555) == 0);
    }
    const QStringList before = Entries(kind == QLatin1String("file") ? folder.dir.path() : folder.sPath);

    CSnippetStore::SResult result;
    {
        CAsNobody user;
        QVERIFY(kind != QLatin1String("readonly") || user.IsReady());
        result = CSnippetStore(folder.sPath).Save(QStringLiteral("Loop"), QStringLiteral("text"));
    }
    ::chmod(QFile::encodeName(folder.sPath).constData(), 0755);

    QCOMPARE(result.eStatus, CSnippetStore::SResult::Failed);
    QVERIFY2(!result.sError.isEmpty(), "the user hears why");
    QCOMPARE(Entries(kind == QLatin1String("file") ? folder.dir.path() : folder.sPath), before);
}

void TestSnippetStore::listHoldsTextFilesOnlyIgnoringCase()
{
    SFolder folder;
    for (const char* pszFile : {"beta.txt", "Alpha.txt", "gamma.txt", "notes.md", "LOUD.TXT", "a.b.txt", ".hidden.txt"})
        WriteFile(folder.File(QLatin1String(pszFile)), "x");
    QVERIFY(QDir().mkdir(folder.File(QStringLiteral("folder.txt"))));

    QCOMPARE(CSnippetStore(folder.sPath).Names(), (QStringList{".hidden", "a.b", "Alpha", "beta", "gamma"}));
}

void TestSnippetStore::rename_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("names");

    using R = CSnippetStore::SResult;
    QTest::newRow("renamed") << QStringLiteral("Wait") << int(R::Done) << QStringList{"Other", "Wait"};
    QTest::newRow("forbidden characters dropped")
        << QStringLiteral("W/a:it") << int(R::Done) << QStringList{"Other", "Wait"};
    QTest::newRow("only case changes") << QStringLiteral("LOOP") << int(R::Done) << QStringList{"LOOP", "Other"};
    QTest::newRow("same name") << QStringLiteral("Loop") << int(R::Nothing) << QStringList{"Loop", "Other"};
    QTest::newRow("same once stripped") << QStringLiteral("Lo:op") << int(R::Nothing) << QStringList{"Loop", "Other"};
    QTest::newRow("only forbidden characters")
        << QStringLiteral("::") << int(R::Nothing) << QStringList{"Loop", "Other"};
    QTest::newRow("onto an existing snippet")
        << QStringLiteral("Other") << int(R::Failed) << QStringList{"Loop", "Other"};
}

void TestSnippetStore::rename()
{
    QFETCH(QString, typed);
    QFETCH(int, status);
    QFETCH(QStringList, names);
    SFolder folder;
    WriteFile(folder.File(QStringLiteral("Loop.txt")), "loop text");
    WriteFile(folder.File(QStringLiteral("Other.txt")), "other text");
    const CSnippetStore store(folder.sPath);

    const CSnippetStore::SResult result = store.Rename(QStringLiteral("Loop"), typed);
    QCOMPARE(int(result.eStatus), status);
    QCOMPARE(store.Names(), names);
    QCOMPARE(store.ReadForInsertion(QStringLiteral("Other")), QStringLiteral("other text"));
    QCOMPARE(store.ReadForInsertion(result.sName), QStringLiteral("loop text"));
    QCOMPARE(result.sError.isEmpty(), status != int(CSnippetStore::SResult::Failed));
}

void TestSnippetStore::deleteIgnoresAMissingFile()
{
    SFolder folder;
    WriteFile(folder.File(QStringLiteral("Loop.txt")), "x");
    WriteFile(folder.File(QStringLiteral("Other.txt")), "x");
    const CSnippetStore store(folder.sPath);

    store.Delete(QStringLiteral("Loop"));
    QCOMPARE(store.Names(), QStringList(QStringLiteral("Other")));
    store.Delete(QStringLiteral("Loop"));
    QCOMPARE(store.Names(), QStringList(QStringLiteral("Other")));
}

QTEST_GUILESS_MAIN(TestSnippetStore)

#include "tst_snippetstore.moc"
