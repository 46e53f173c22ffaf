// A long line keeps its colours beside its layout and is drawn only where
// the window shows it. The window must look exactly as it does when the
// line's own layout draws the whole line, wherever it is scrolled to and
// whatever is selected; and the colours must be the colourer's as the line
// grows long and short again.
#include "tests/support/editorfixture.h"

#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include <climits>

using namespace VelkTest;

namespace {

// A page of notes: one long paragraph the view wraps at word boundaries,
// and a line of Hebrew and Latin words mixed.
QByteArray LongNotes()
{
    QByteArray paragraph = "Notes:";
    // One run of Hebrew longer than the window: it reads from its right end.
    QByteArray mixed = "mixed: " + QByteArray("\xd7\x90\xd7\x91\xd7\x92 ").repeated(150);
    for (int i = 0; i < 300; ++i) {
        paragraph += " the convoy waits at checkpoint " + QByteArray::number(i) + ", then\tmoves;";
        mixed += " \xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d " + QByteArray::number(i) + " word";
    }
    return "short\n" + paragraph + "\nshort\n" + mixed + "\nend\n";
}

// Lines 1, 3 and 5 are long. The first has tabs only at its start and
// letters beyond Latin-1; the second has tabs all along, which the part
// drawn must measure from the start of the line; the third carries pairs of
// surrogates, whose glyphs come from a fallback face; line 7 mixes
// right-to-left words in; line 9 puts several accents on its letters, each
// a character of no width.
QByteArray LongLinesScript()
{
    QByteArray positions = "\t\t_roads = [";
    QByteArray tabbed = "_grid = [";
    QByteArray faces = "_faces = [";
    QByteArray marks = "_marks = [";
    for (int i = 0; i < 400; ++i) {
        positions += "[" + QByteArray::number(1000 + i * 7) + ".5,\"st\xc3\xa9p \xc5\xbe\",0],";
        tabbed += "\t" + QByteArray::number(i) + ", \"x\",";
        faces += "\"\xf0\x9f\x98\x80" + QByteArray::number(i) + "\",";
        marks += "\"e\xcc\x81\xcc\x81\xcc\x81o\xcc\x88\",";
    }
    return "hint \"short\";\n" + positions + "]; // the end\n_a = 1;\n" + tabbed + "];\nsleep 1;\n" + faces
        + "];\nexit;\n" + LongNotes().split('\n').at(3) + "\nexit;\n" + marks + "];\n";
}

// Restores the usual threshold however a test ends.
struct SThresholdKept
{
    int nOld = LongLines::Threshold();
    ~SThresholdKept() { LongLines::SetThreshold(nOld); }
};

QImage Shown(CScriptView* pView, int nThreshold)
{
    LongLines::SetThreshold(nThreshold);
    pView->ColourAll();
    // The first paint colours the lines and may lay them out anew.
    pView->viewport()->grab();
    return pView->viewport()->grab().toImage();
}

int DifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return INT_MAX;
    int nDifferent = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            nDifferent += a.pixel(x, y) != b.pixel(x, y);
    return nDifferent;
}

// Pressed and let go, with the event loop's queued calls made after each,
// and whatever fnBetween does between the two.
void TypeKey(CScriptView* pView, QChar c, const std::function<void()>& fnBetween)
{
    for (const QTest::KeyAction action : {QTest::Press, QTest::Release}) {
        if (action == QTest::Release)
            fnBetween();
        if (c.unicode() < 0x80)
            QTest::keyEvent(action, pView, c.toLatin1());
        else
            QTest::sendKeyEvent(action, pView, Qt::Key_unknown, QString(c), {});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
}

}  // namespace

class TestLongLines : public QObject
{
    Q_OBJECT

private slots:
    void drawnAsTheWholeLineWouldBe_data();
    void drawnAsTheWholeLineWouldBe();
    void coloursFollowTheLineAsItGrowsAndShrinks();
    void typedPartKeepsItsColoursWhileCompletionsShow();
    void aLineIsLeftOutOnlyWhereItShowsNothing();
    void typedAtItsEndTheLineIsMeasuredAsIfLaidOutAtEachKey();
    void waitingToBeLaidOutItShowsAsItWillOnceLaidOut_data();
    void waitingToBeLaidOutItShowsAsItWillOnceLaidOut();
    void aPauseInTheTypingLaysTheLineOut();
    void theCaretBlinksOnAWaitingLineWithoutLayingItOut();
};

void TestLongLines::drawnAsTheWholeLineWouldBe_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("scrolled");  // share of the horizontal range; -1: where the caret is
    QTest::addColumn<int>("line");         // where the selection lies
    QTest::addColumn<int>("from");         // selection within that line
    QTest::addColumn<int>("to");           // -1: through the line's break
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("start, nothing selected") << QStringLiteral("roads.sqf") << 0.0 << 1 << 5 << 5 << false;
    QTest::newRow("middle, part selected") << QStringLiteral("roads.sqf") << 0.5 << 1 << 2000 << 9000 << false;
    QTest::newRow("end, selected through the break") << QStringLiteral("roads.sqf") << 1.0 << 1 << 100 << -1 << false;
    QTest::newRow("end of the line, its last part selected")
        << QStringLiteral("roads.sqf") << 0.4 << 1 << 15000 << -1 << false;
    QTest::newRow("tabs all along, middle") << QStringLiteral("roads.sqf") << 0.3 << 3 << 1500 << 2500 << false;
    QTest::newRow("tabs all along, selected from line to line")
        << QStringLiteral("roads.sqf") << 0.2 << 3 << 10 << -1 << false;
    QTest::newRow("typing over, caret in the middle")
        << QStringLiteral("roads.sqf") << 0.5 << 1 << 8000 << 8000 << true;
    QTest::newRow("caret after a space") << QStringLiteral("roads.sqf") << -1.0 << 1 << 6026 << 6026 << false;
    QTest::newRow("surrogates, selected from line to line")
        << QStringLiteral("roads.sqf") << 0.35 << 5 << 700 << -1 << false;
    QTest::newRow("surrogates, part selected") << QStringLiteral("roads.sqf") << 0.1 << 5 << 301 << 1203 << true;
    QTest::newRow("surrogates, caret among them") << QStringLiteral("roads.sqf") << 0.0 << 5 << 15 << 15 << false;
    QTest::newRow("accents, part selected") << QStringLiteral("roads.sqf") << 0.1 << 9 << 2001 << 2999 << false;
    QTest::newRow("accents, caret among them") << QStringLiteral("roads.sqf") << 0.15 << 9 << 3002 << 3002 << false;
    QTest::newRow("right to left among left to right") << QStringLiteral("roads.sqf") << 0.0 << 7 << 40 << 300 << false;
    QTest::newRow("wrapped, part selected") << QStringLiteral("notes.txt") << 0.0 << 1 << 400 << 3000 << false;
    QTest::newRow("wrapped, selected through the break")
        << QStringLiteral("notes.txt") << 0.0 << 1 << 1000 << -1 << false;
    QTest::newRow("wrapped right to left") << QStringLiteral("notes.txt") << 0.0 << 3 << 10 << 500 << false;
}

void TestLongLines::drawnAsTheWholeLineWouldBe()
{
    QFETCH(QString, name);
    QFETCH(double, scrolled);
    QFETCH(int, line);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, overwrite);
    SThresholdKept kept;
    SOpenedFile e;
    QVERIFY(e.Open(name.endsWith(".txt") ? LongNotes() : LongLinesScript(), name));
    CScriptView* pView = e.pView;
    pView->window()->resize(700, 400);
    pView->window()->show();
    QApplication::setActiveWindow(pView->window());
    pView->setFocus();
    QCoreApplication::processEvents();

    const QTextBlock block = pView->document()->findBlockByNumber(line);
    QVERIFY(block.length() > 2000);
    const int nEnd = to < 0 ? block.next().position() + 3 : block.position() + to;
    pView->SetSelection(block.position() + from, nEnd);
    pView->ensureCursorVisible();
    pView->setOverwriteMode(overwrite);
    QScrollBar* pBar = pView->horizontalScrollBar();
    if (scrolled >= 0)
        pBar->setValue(int(scrolled * pBar->maximum()));
    QVERIFY(scrolled == 0.0 || pBar->value() > 0);

    const QImage whole = Shown(pView, INT_MAX);
    const QImage part = Shown(pView, 200);
    QVERIFY(!LongLines::IsLong(pView->document()->findBlockByNumber(0)));
    // Wrapped lines are drawn a visual line at a time as they are.
    QCOMPARE(LongLines::IsLong(block), !name.endsWith(QLatin1String(".txt")));
    QCOMPARE(DifferentPixels(whole, part), 0);
}

void TestLongLines::coloursFollowTheLineAsItGrowsAndShrinks()
{
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    SOpenedFile e;
    QVERIFY(e.Open("_a = [1, \"two\", player]; // short\n/* open\nstill */ hint \"x\";\n", "grow.sqf"));
    CScriptView* pView = e.pView;
    const CDictionary& dict = e.start.App().Dictionary();
    const int nEnd = LineStart(pView, 1) - 1;
    const auto layoutFormats = [&] { return pView->document()->firstBlock().layout()->formats(); };
    QCOMPARE(AllClasses(pView), ExpectedClasses(dict, Text(pView), kFileSQF));
    QVERIFY(!layoutFormats().isEmpty());

    // Typed past the threshold: the colours move beside the layout.
    pView->SetSelection(nEnd, nEnd);
    QTest::keyClicks(pView, " /* a remark that runs on");
    QVERIFY(LongLines::IsLong(pView->document()->firstBlock()));
    QCOMPARE(AllClasses(pView), ExpectedClasses(dict, Text(pView), kFileSQF));
    QVERIFY(layoutFormats().isEmpty());

    // Short again: back into the layout, nothing kept beside it.
    for (int i = 0; i < 24; ++i)
        QTest::keyClick(pView, Qt::Key_Backspace);
    QVERIFY(!LongLines::IsLong(pView->document()->firstBlock()));
    QCOMPARE(AllClasses(pView), ExpectedClasses(dict, Text(pView), kFileSQF));
    QVERIFY(!layoutFormats().isEmpty());
    QVERIFY(!pView->document()->firstBlock().userData());
}

void TestLongLines::typedPartKeepsItsColoursWhileCompletionsShow()
{
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open("_grid = [\"a /* b\", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13];", "offers.sqf"));
    CScriptView* pView = e.pView;
    const CDictionary& dict = e.start.App().Dictionary();
    pView->SetSelection(pView->Document().Length(), pView->Document().Length());
    int nShown = 0;
    for (const QChar c : QStringLiteral(" setD _gr = \"s /* q\"; _gr ")) {
        QTest::keyClick(pView, c.toLatin1());
        // What the colours say of the line, the shown completion cut out,
        // against the colours of the typed text alone.
        const auto [nFrom, nTo] = pView->Selection();
        QString sClasses = Classes(pView, 0);
        QString sTyped = Text(pView);
        sClasses.remove(nFrom, nTo - nFrom);
        sTyped.remove(nFrom, nTo - nFrom);
        nShown += pView->IsSuggestionShown();
        QCOMPARE(sClasses, ExpectedLineClasses(dict, sTyped, kFileSQF));
    }
    QVERIFY(nShown >= 4);
    // A character typed over another: the same length, other colours.
    pView->SetSelection(9, 10);
    QTest::keyClick(pView, 'q');
    QCOMPARE(Classes(pView, 0), ExpectedLineClasses(dict, Text(pView), kFileSQF));
}

void TestLongLines::aLineIsLeftOutOnlyWhereItShowsNothing()
{
    SOpenedFile e;
    QVERIFY(e.Open("exit; // WW@@__ \"j\"\nexit;", "short.sqf"));
    e.pView->ColourAll();
    const QTextBlock block = e.pView->document()->firstBlock();
    const qreal rWidth = block.layout()->lineAt(0).naturalTextWidth();
    QVERIFY(rWidth > 0);
    const QRectF rcClip(0, 0, 40, 30);
    QImage blank(40, 30, QImage::Format_RGB32);
    blank.fill(Qt::white);
    // The line slides in from the left, a pixel at a time, under a window
    // forty pixels wide: while any of its ink falls inside, it is drawn.
    int nLeftOut = 0;
    for (qreal x = -rWidth - 60; x < 5; x += 1) {
        QImage image = blank;
        QPainter painter(&image);
        painter.setPen(Qt::black);
        block.layout()->draw(&painter, QPointF(x, 0), {}, rcClip);
        painter.end();
        const bool bLeftOut = LongLines::EndsLeftOf(block, QPointF(x, 0), rcClip);
        QVERIFY2(!bLeftOut || image == blank, qPrintable(QString::number(x)));
        nLeftOut += bLeftOut;
    }
    QVERIFY(nLeftOut > 40);
}

void TestLongLines::typedAtItsEndTheLineIsMeasuredAsIfLaidOutAtEachKey()
{
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open("_roads = [" + QByteArray("[1234.5,678.25,0],").repeated(40) + "\nexit;\n", "table.sqf"));
    CScriptView* pView = e.pView;
    const QTextBlock block = pView->document()->firstBlock();
    // Changed, the line waits until it is measured.
    QTextCursor cursor(pView->document());
    cursor.setPosition(12);
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral("9"));
    cursor.endEditBlock();
    QCOMPARE(block.layout()->lineCount(), 0);
    pView->SetSelection(block.length() - 1, block.length() - 1);
    int nShown = 0;
    int nKey = 0;
    for (const QChar c : QStringLiteral(" _roads setD hint \"xy\"; _ro")) {
        const bool bShown = pView->IsSuggestionShown();
        // Scrolled away, a key that shows nothing more brings the caret back.
        if (bShown && !c.isLetter())
            pView->horizontalScrollBar()->setValue(0);
        QTest::keyPress(pView, c.toLatin1());
        // Typed at the caret or over a completion, the line is laid out when
        // first measured, once for the key and its release.
        QVERIFY2(block.layout()->lineCount() == 0, qPrintable(QString::number(nKey)));
        nShown += bShown;
        QTest::keyRelease(pView, c.toLatin1());
        QCoreApplication::processEvents();
        const QRect rcCaret = pView->cursorRect();
        QVERIFY2(pView->viewport()->rect().contains(rcCaret), qPrintable(QString::number(nKey)));
        if (++nKey % 4 != 0)
            continue;
        // The same text laid out afresh, the same characters selected.
        const QString sName = QStringLiteral("copy%1.sqf").arg(nKey);
        CScriptDoc* pCopy = Open(e.start, e.dir, sName, Text(pView).toUtf8());
        QVERIFY(pCopy);
        CScriptView* pCopyView = View(pCopy);
        const auto [nStart, nEnd] = pView->Selection();
        pCopyView->SetSelection(nStart, nEnd);
        QCoreApplication::processEvents();
        const auto contentWidth
            = [](CScriptView* p) { return p->horizontalScrollBar()->maximum() + p->viewport()->width(); };
        QCOMPARE(rcCaret.x() + pView->horizontalScrollBar()->value(),
                 pCopyView->cursorRect().x() + pCopyView->horizontalScrollBar()->value());
        QCOMPARE(contentWidth(pView), contentWidth(pCopyView));
        pCopy->OnCloseDocument();
    }
    QVERIFY(nShown >= 8);
}

void TestLongLines::waitingToBeLaidOutItShowsAsItWillOnceLaidOut_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("nWaits");    // keys after which the line at least waited
    QTest::addColumn<bool>("bCutOff");  // the line half in the window
    const QString sWords = QStringLiteral(" _roads setD hint \"xy\"; _ro");
    QTest::newRow("words and their completions") << sWords << 26 << false;
    QTest::newRow("spaces at the end") << QStringLiteral("ab   c  ") << 7 << false;
    QTest::newRow("accents and symbols") << QStringLiteral("e\u0301\u0301 o\u0308 \u263A\u2192 z") << 7 << false;
    // Measured from the start of the line, a tab is laid out with it.
    QTest::newRow("a tab") << QStringLiteral("x\ty") << 1 << false;
    // Right-to-left words reorder the line: it is laid out at each key.
    QTest::newRow("right to left") << QStringLiteral("\u05D0\u05D1 c") << 0 << false;
    // The caret is placed on a waiting line the window shows whole only:
    // cut off by its edge, the line is laid out first.
    QTest::newRow("cut off by the window's edge") << sWords << 0 << true;
}

void TestLongLines::waitingToBeLaidOutItShowsAsItWillOnceLaidOut()
{
    QFETCH(QString, typed);
    QFETCH(int, nWaits);
    QFETCH(bool, bCutOff);
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    SOpenedFile e(TypingSeed({true, false, false}));
    const QByteArray table = "_roads = [" + QByteArray("[1234.5,678.25,0],").repeated(40);
    QVERIFY(e.Open(QByteArray("sleep 1;\n").repeated(bCutOff ? 60 : 0) + table + "\nexit;\n", "table.sqf"));
    CScriptView* pView = e.pView;
    QScrollBar* pBar = pView->horizontalScrollBar();
    const QTextBlock block = pView->document()->findBlockByNumber(bCutOff ? 60 : 0);
    pView->SetSelection(block.position() + block.length() - 1, block.position() + block.length() - 1);
    pView->ensureCursorVisible();
    // The line the window's last row, shown in part, as if scrolled there
    // by the wheel between a key's press and its release.
    const int nTopLine = 60 - pView->viewport()->height() / pView->cursorRect().height();
    const auto cutOff = [&] {
        if (bCutOff)
            pView->verticalScrollBar()->setValue(nTopLine);
    };
    cutOff();
    const QRect rcCaret = pView->cursorRect();
    QVERIFY(!bCutOff
            || (rcCaret.top() < pView->viewport()->height() && rcCaret.bottom() >= pView->viewport()->height()));
    int nWaited = 0;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (i % 5 == 2)
            pBar->setValue(0);
        const int nBefore = pBar->value();
        TypeKey(pView, typed.at(i), cutOff);
        nWaited += block.layout()->lineCount() == 0;
        const QImage waiting = pView->viewport()->grab().toImage();
        const int nWaitingMax = pBar->maximum();
        const int nWaitingValue = pBar->value();
        LongLines::CDocumentLayout::Of(pView->document())->LayOut(block);
        const QString sWhere = QStringLiteral("key %1").arg(i);
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(sWhere));
        QVERIFY2(pBar->maximum() == nWaitingMax, qPrintable(sWhere));
        QVERIFY2(DifferentPixels(waiting, pView->viewport()->grab().toImage()) == 0, qPrintable(sWhere));
        // Scrolled to the caret as the plain text view itself scrolls.
        pBar->setValue(nBefore);
        pView->ensureCursorVisible();
        QVERIFY2(pBar->value() == nWaitingValue, qPrintable(sWhere));
    }
    QVERIFY2(nWaited >= nWaits, qPrintable(QString::number(nWaited)));
}

void TestLongLines::aPauseInTheTypingLaysTheLineOut()
{
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open("_roads = [" + QByteArray("[1234.5,678.25,0],").repeated(40) + "\nexit;\n", "table.sqf"));
    const QTextBlock block = e.pView->document()->firstBlock();
    e.pView->SetSelection(block.length() - 1, block.length() - 1);
    // The window shown and laid out first; a blinking caret would ask for
    // the line's layout as well.
    const int nFlashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const auto blinking = qScopeGuard([nFlashTime] { QApplication::setCursorFlashTime(nFlashTime); });
    QCoreApplication::processEvents();
    for (const QChar c : QStringLiteral("[1,2]"))
        TypeKey(e.pView, c, [] {});
    QCOMPARE(block.layout()->lineCount(), 0);
    QTRY_COMPARE(block.layout()->lineCount(), 1);
    // Laid out, the line asks for the width it had while it waited.
    const int nWaitingMax = e.pView->horizontalScrollBar()->maximum();
    QCoreApplication::processEvents();
    QCOMPARE(e.pView->horizontalScrollBar()->maximum(), nWaitingMax);
}

// Counts the paints of a widget, and where they paint.
class CPaintCounter : public QObject
{
public:
    int m_nPaints = 0;
    QRegion m_painted;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            ++m_nPaints;
            m_painted += static_cast<QPaintEvent*>(pEvent)->region();
        }
        return false;
    }
};

void TestLongLines::theCaretBlinksOnAWaitingLineWithoutLayingItOut()
{
    SThresholdKept kept;
    LongLines::SetThreshold(50);
    const int nFlashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(60);
    const auto blinking = qScopeGuard([nFlashTime] { QApplication::setCursorFlashTime(nFlashTime); });
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open("_roads = [" + QByteArray("[1234.5,678.25,0],").repeated(40) + "\nexit;\n", "table.sqf"));
    const QTextBlock block = e.pView->document()->firstBlock();
    e.pView->window()->show();
    QApplication::setActiveWindow(e.pView->window());
    e.pView->setFocus();
    e.pView->SetSelection(block.length() - 1, block.length() - 1);
    QCoreApplication::processEvents();
    for (const QChar c : QStringLiteral("[1,2]"))
        TypeKey(e.pView, c, [] {});
    // What the typing left to paint is painted first.
    QCoreApplication::processEvents();
    CPaintCounter paints;
    e.pView->viewport()->installEventFilter(&paints);
    // Well before a pause in the typing counts as one.
    QTest::qWait(200);
    QVERIFY(paints.m_nPaints >= 2);
    QCOMPARE(block.layout()->lineCount(), 0);
    // It blinks where it stands, as the laid-out line shows it.
    const QRect rcCaret = e.pView->cursorRect();
    QVERIFY(paints.m_painted.contains(rcCaret));
    QVERIFY(paints.m_painted.boundingRect().width() < e.pView->viewport()->width() / 4);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestLongLines test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_longlines.moc"
