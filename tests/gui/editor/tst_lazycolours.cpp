// Lines are coloured when shown and the block-comment state is carried down
// the text later: whatever the order, every line must end up with the
// colours the colourer gives the whole text, also lines coloured before an
// edit changed the state they start in.
#include "tests/support/editorfixture.h"

#include <QtTest>

using namespace VelkTest;

namespace {

// A function file with one remark over most of its length and short ones
// after it: a change at the top reaches further than one edit carries.
QByteArray CommentedScript(int nLines, int nLongRemarkEnd)
{
    QByteArray text;
    for (int i = 0; i < nLines; ++i) {
        if (i == 0 || (i > nLongRemarkEnd && i % 7 == 0))
            text += "/* step " + QByteArray::number(i);
        else if (i == nLongRemarkEnd || (i > nLongRemarkEnd && i % 7 == 2))
            text += "   still a remark */ _unit" + QByteArray::number(i) + " setDamage 0;";
        else if (i % 5 == 4)
            text += "hint \"/* no remark in a string\"; // nor here /*";
        else
            text += "\t_pos" + QByteArray::number(i) + " = getPos player;";
        text += "\r\n";
    }
    return text;
}

QString Lines(int nCount, const QString& sLine)
{
    QString sText;
    for (int i = 0; i < nCount; ++i)
        sText += sLine + QLatin1Char('\n');
    return sText;
}

}  // namespace

class TestLazyColours : public QObject
{
    Q_OBJECT

private slots:
    void editsRecolourEveryLineTheyReach_data();
    void editsRecolourEveryLineTheyReach();
    void severalOpenScriptsAllGetTheirStatesCarried();
};

void TestLazyColours::editsRecolourEveryLineTheyReach_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("a closing typed into the long remark") << 1 << 0 << QStringLiteral("*/");
    QTest::newRow("the long remark's opening taken away") << 0 << 2 << QString();
    QTest::newRow("a remark opened after the long one") << 5601 << 0 << QStringLiteral("/*");
    QTest::newRow("a paste of many lines that closes the long remark")
        << 3 << 0 << Lines(100, QStringLiteral("*/ x /* y */"));
    QTest::newRow("a paste of many lines that opens a remark") << 5700 << 0 << Lines(90, QStringLiteral("_a = 1; /*"));
    QTest::newRow("many lines taken away") << 1 << 3000 << QString();
}

void TestLazyColours::editsRecolourEveryLineTheyReach()
{
    QFETCH(int, line);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "long.sqf", CommentedScript(6000, 5500));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const CDictionary& dict = start.App().Dictionary();
    // Every line coloured once, as scrolling through the text would.
    QCOMPARE(AllClasses(pView), ExpectedClasses(dict, Text(pView), kFileSQF));

    QVERIFY(pDoc->ApplyEdits({{LineStart(pView, line), removed, inserted}}, EEditHistory::Step));
    // Half of the lines are looked at before the slices had their turn,
    // the rest after.
    const QStringList expected = ExpectedClasses(dict, Text(pView), kFileSQF);
    for (int n = pView->document()->blockCount() - 1; n >= expected.size() / 2; n -= 97)
        QCOMPARE(Classes(pView, n), expected[n]);
    QTest::qWait(200);
    QCOMPARE(AllClasses(pView), expected);
}

// Each script takes its turn with the others: none is left uncarried.
void TestLazyColours::severalOpenScriptsAllGetTheirStatesCarried()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QList<CScriptView*> views;
    for (const char* pszName : {"a.sqf", "b.sqf", "c.sqf"}) {
        CScriptDoc* pDoc = Open(start, dir, pszName, CommentedScript(30000, 29000));
        QVERIFY(pDoc);
        views.append(View(pDoc));
    }
    const auto lastKnown = [&views] {
        return std::all_of(views.begin(), views.end(),
                           [](const CScriptView* pView) { return pView->document()->lastBlock().userState() >= 0; });
    };
    QTRY_VERIFY_WITH_TIMEOUT(lastKnown(), 60000);
    const QStringList expected = ExpectedClasses(start.App().Dictionary(), Text(views[0]), kFileSQF);
    for (CScriptView* pView : views)
        QCOMPARE(Classes(pView, 29500), expected[29500]);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestLazyColours test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lazycolours.moc"
