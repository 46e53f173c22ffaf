#include "core/editor/textshadow.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Everything the shadow tells about itself must agree with the text it holds.
void VerifyMatches(const CTextShadow& shadow, const QString& sModel)
{
    QCOMPARE(shadow.Text(), sModel);
    QCOMPARE(shadow.Length(), int(sModel.size()));
    const QStringList lines = sModel.split(u'\n');
    QCOMPARE(shadow.LineCount(), int(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(shadow.Line(i), lines[i]);
}

}  // namespace

class TestTextShadow : public QObject
{
    Q_OBJECT

private slots:
    void resetKeepsEveryLine_data();
    void resetKeepsEveryLine();
    void replaceTellsWhatWasRemoved_data();
    void replaceTellsWhatWasRemoved();
    void midIsClipped();
    void randomEditsMatchAPlainString();
};

void TestTextShadow::resetKeepsEveryLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line") << QStringLiteral("hint x");
    QTest::newRow("trailing break gives an empty last line") << QStringLiteral("a\n");
    QTest::newRow("only breaks") << QStringLiteral("\n\n");
    QTest::newRow("empty lines between") << QStringLiteral("a\n\nb\n");
}

void TestTextShadow::resetKeepsEveryLine()
{
    QFETCH(QString, text);
    CTextShadow shadow;
    VerifyMatches(shadow, QString());
    shadow.Reset(text);
    VerifyMatches(shadow, text);
}

void TestTextShadow::replaceTellsWhatWasRemoved_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("reportedPos");
    QTest::addColumn<QString>("reportedRemoved");

    QTest::newRow("typing inside a line") << "hint" << 2 << 0 << "x"
                                          << "hixnt" << 2 << "";
    QTest::newRow("typing at the very start") << "a\nb" << 0 << 0 << "x"
                                              << "xa\nb" << 0 << "";
    QTest::newRow("typing at the very end") << "a\nb" << 3 << 0 << "x"
                                            << "a\nbx" << 3 << "";
    QTest::newRow("typing at a line end belongs to that line") << "a\nb" << 1 << 0 << "x"
                                                               << "ax\nb" << 1 << "";
    QTest::newRow("enter splits a line") << "ab" << 1 << 0 << "\n"
                                         << "a\nb" << 1 << "";
    QTest::newRow("backspace joins two lines") << "a\nb" << 1 << 1 << ""
                                               << "ab" << 1 << "\n";
    QTest::newRow("removal over two line breaks") << "ab\ncd\nef" << 1 << 6 << ""
                                                  << "af" << 1 << "b\ncd\ne";
    QTest::newRow("removal of whole lines") << "a\nb\nc\n"
                                            << 2 << 4 << ""
                                            << "a\n"
                                            << 2 << "b\nc\n";
    QTest::newRow("replacing across lines by more lines") << "ab\ncd" << 1 << 3 << "1\n2\n3"
                                                          << "a1\n2\n3d" << 1 << "b\nc";
    QTest::newRow("paste of many lines") << "xy" << 1 << 0 << "1\n2\n3\n4\n5\n6"
                                         << "x1\n2\n3\n4\n5\n6y" << 1 << "";
    QTest::newRow("negative position starts at 0") << "abc" << -5 << 1 << ""
                                                   << "bc" << 0 << "a";
    QTest::newRow("position past the end goes to the end") << "abc" << 9 << 2 << "x"
                                                           << "abcx" << 3 << "";
    QTest::newRow("removal past the end is clipped") << "ab\ncd" << 3 << 50 << ""
                                                     << "ab\n"
                                                     << 3 << "cd";
    QTest::newRow("negative removal removes nothing") << "abc" << 1 << -3 << "x"
                                                      << "axbc" << 1 << "";
    QTest::newRow("everything replaced") << "a\nb\nc" << 0 << 5 << "z"
                                         << "z" << 0 << "a\nb\nc";
}

void TestTextShadow::replaceTellsWhatWasRemoved()
{
    QFETCH(QString, before);
    QFETCH(int, pos);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QString, after);
    QFETCH(int, reportedPos);
    QFETCH(QString, reportedRemoved);
    CTextShadow shadow;
    shadow.Reset(before);
    const STextChange change = shadow.Replace(pos, removed, inserted);
    VerifyMatches(shadow, after);
    QCOMPARE(change, (STextChange{reportedPos, reportedRemoved, inserted}));
}

void TestTextShadow::midIsClipped()
{
    CTextShadow shadow;
    shadow.Reset(QStringLiteral("ab\ncd\n"));
    QCOMPARE(shadow.Mid(1, 3), QStringLiteral("b\nc"));
    QCOMPARE(shadow.Mid(-2, 2), QStringLiteral("ab"));
    QCOMPARE(shadow.Mid(4, 100), QStringLiteral("d\n"));
    QCOMPARE(shadow.Mid(6, 1), QString());
    QCOMPARE(shadow.Mid(2, -1), QString());
}

void TestTextShadow::randomEditsMatchAPlainString()
{
    // Mid calls between the edits move the shadow's remembered line, so later
    // edits start their search from all sorts of places.
    QRandomGenerator random(8191);
    const QString sLetters = QStringLiteral("ab\n\n");
    auto randomText = [&](int nMax) {
        QString s;
        const int n = random.bounded(nMax + 1);
        for (int i = 0; i < n; ++i)
            s += sLetters[random.bounded(int(sLetters.size()))];
        return s;
    };
    CTextShadow shadow;
    QString sModel = randomText(30);
    shadow.Reset(sModel);
    for (int nStep = 0; nStep < 5000; ++nStep) {
        const int nLength = int(sModel.size());
        const int nPos = random.bounded(-3, nLength + 4);
        const int nRemoved = random.bounded(-2, 12);
        const QString sInserted = random.bounded(20) == 0 ? randomText(40) : randomText(4);
        const int nClippedPos = std::clamp(nPos, 0, nLength);
        const int nClippedRemoved = std::clamp(nRemoved, 0, nLength - nClippedPos);
        const QString sExpectedRemoved = sModel.mid(nClippedPos, nClippedRemoved);

        const STextChange change = shadow.Replace(nPos, nRemoved, sInserted);
        sModel.replace(nClippedPos, nClippedRemoved, sInserted);
        QCOMPARE(change, (STextChange{nClippedPos, sExpectedRemoved, sInserted}));
        VerifyMatches(shadow, sModel);
        if (QTest::currentTestFailed())
            return;

        const int nMidPos = random.bounded(int(sModel.size()) + 1);
        const int nMidLength = random.bounded(8);
        QCOMPARE(shadow.Mid(nMidPos, nMidLength), sModel.mid(nMidPos, nMidLength));
        // Keep the text from growing without bound or staying empty.
        if (sModel.size() > 400 || sModel.isEmpty()) {
            sModel = randomText(30);
            shadow.Reset(sModel);
        }
    }
}

QTEST_GUILESS_MAIN(TestTextShadow)

#include "tst_textshadow.moc"
