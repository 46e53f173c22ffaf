#include "core/editor/bookmarks.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/gutter.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorfixture.h"

#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QtTest>

using namespace VelkTest;

namespace {

const QColor kDarkRed(128, 0, 0);

QByteArray NumberedLines(int nLines)
{
    QByteArrayList lines;
    for (int i = 1; i <= nLines; ++i)
        lines.append("hint \"line " + QByteArray::number(i) + "\"");
    return lines.join("\r\n");
}

// The rows of a line in gutter coordinates: the gutter and the text area
// share their top edge.
QRect LineRect(const CScriptView* pView, int nLine)
{
    const QRect rc = pView->cursorRect(QTextCursor(pView->document()->findBlockByNumber(nLine)));
    return QRect(0, rc.top(), CScriptView::kGutterWidth, rc.height());
}

QImage GutterImage(CScriptView* pView)
{
    pView->Gutter()->repaint();
    return pView->Gutter()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What one line of the strip looks like when drawn by hand: background,
// bookmark rectangle, zero-padded number.
QImage ExpectedRow(const CScriptView* pView, const QSize& size, const QRect& rcLine, int nNumber, bool bMarked)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(pView->Gutter()->StripColour());
    QPainter painter(&image);
    if (bMarked)
        painter.fillRect(QRect(QPoint(0, rcLine.top() + 1), QPoint(CScriptView::kGutterWidth - 1, rcLine.bottom() - 1)),
                         kDarkRed);
    painter.setFont(pView->Gutter()->NumberFont());
    painter.setPen(bMarked ? Qt::white : Qt::black);
    painter.drawText(QRect(1, rcLine.top(), CScriptView::kGutterWidth - 1, rcLine.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::asprintf("%.4d", nNumber));
    return image;
}

// Pixels of the strip (x 0 to 21) over the line's rows that differ.
int DifferingPixels(const QImage& actual, const QImage& expected, const QRect& rcLine)
{
    int n = 0;
    for (int y = rcLine.top(); y <= rcLine.bottom(); ++y)
        for (int x = 0; x < CScriptView::kGutterWidth; ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                ++n;
    return n;
}

int PixelsOf(const QImage& image, const QRect& rc, const QColor& colour)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            if (image.pixel(x, y) == colour.rgb())
                ++n;
    return n;
}

bool WroteBookmarks(const CMemorySettingsStore& store)
{
    for (const QString& sEntry : store.WriteLog())
        if (sEntry.startsWith(kBookmarksSection + u'/'))
            return true;
    return false;
}

// Closes the document and waits until its view, which stores the
// bookmarks on its way out, is gone.
bool CloseDocument(CScriptDoc* pDoc)
{
    QPointer<CScriptView> pView = View(pDoc);
    pDoc->OnCloseDocument();
    return QTest::qWaitFor([&] { return pView.isNull(); });
}

}  // namespace

class TestGutter : public QObject
{
    Q_OBJECT

private slots:
    void numbersAndBookmarkArePainted();
    void withoutLineNumbersABookmarkIsACircle();
    void pressInTheStripTogglesTheLineUnderThePointer();
    void thirtyThirdBookmarkIsRefused();
    void bookmarksFollowInsertedAndDeletedLines();
    void toggleGoesWithTheNextEdit();
    void closingStoresTheSlotsInSlotOrder_data();
    void closingStoresTheSlotsInSlotOrder();
    void storedValueLoadsLeniently();
    void removingTheLastBookmarkDeletesTheStoredValue();
    void documentWithoutBookmarksStoresNothing();
    void untitledDocumentsKeepNoBookmarks();
    void printingNumbersACopyOnly_data();
    void printingNumbersACopyOnly();
    void numbersBeyondFourDigitsWidenTheStrip();
};

void TestGutter::numbersAndBookmarkArePainted()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    const QString sPath = WriteScript(dir, "a.sqs", "hint \"a\"\r\nsleep 1\r\nexit");
    seed.WriteString(kBookmarksSection, sPath, QStringLiteral("1,"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QVERIFY(pView->Options().bLineNumbers);
    QCOMPARE(Marks(pView), MarksOf({1}));
    const QImage image = GutterImage(pView);
    QVERIFY(image.width() > CScriptView::kGutterWidth);

    const int nBelow = LineRect(pView, 2).bottom() + 4;
    QVERIFY(nBelow < image.height());
    for (int x = 0; x < CScriptView::kGutterWidth; ++x)
        QCOMPARE(image.pixel(x, nBelow), pView->Gutter()->StripColour().rgb());
    for (int y : {0, nBelow, image.height() - 1})
        QCOMPARE(image.pixel(CScriptView::kGutterWidth, y), pView->Gutter()->EdgeColour().rgb());

    for (int nLine = 0; nLine < 3; ++nLine) {
        const QRect rcLine = LineRect(pView, nLine);
        const bool bMarked = nLine == 1;
        QCOMPARE(PixelsOf(image, rcLine, kDarkRed) > rcLine.height() * 10, bMarked);
        const QImage expected = ExpectedRow(pView, image.size(), rcLine, nLine + 1, bMarked);
        QVERIFY2(DifferingPixels(image, expected, rcLine) == 0, qPrintable(QStringLiteral("line %1").arg(nLine + 1)));
    }
    // A number that was not zero-padded would not match its padded drawing.
    const QRect rcFirst = LineRect(pView, 0);
    QImage unpadded(image.size(), QImage::Format_RGB32);
    unpadded.fill(pView->Gutter()->StripColour());
    QPainter painter(&unpadded);
    painter.setFont(pView->Gutter()->NumberFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(1, rcFirst.top(), CScriptView::kGutterWidth - 1, rcFirst.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("1"));
    QVERIFY(DifferingPixels(image, unpadded, rcFirst) > 0);
}

void TestGutter::numbersBeyondFourDigitsWidenTheStrip()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "long.sqs", NumberedLines(12001)));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const int nStrip = pView->Gutter()->StripWidth();
    QVERIFY(nStrip > CScriptView::kGutterWidth);
    QVERIFY(QFontMetrics(pView->Gutter()->NumberFont()).horizontalAdvance(QStringLiteral("12000")) <= nStrip - 2);
    QCOMPARE(pView->viewport()->geometry().left() - pView->contentsRect().left(), pView->Gutter()->Width());

    // Every line shows its own number: no two neighbours draw alike.
    const int nTarget = pView->document()->findBlockByNumber(11995).position();
    pView->SetSelection(nTarget, nTarget);
    pView->centerCursor();
    const QImage image = GutterImage(pView);
    QList<QImage> rows;
    for (int nLine = 11989; nLine <= 12000; ++nLine) {
        const QRect rc = LineRect(pView, nLine);
        QVERIFY(rc.top() >= 0 && rc.bottom() < image.height());
        rows.append(image.copy(QRect(0, rc.top(), nStrip, rc.height())));
    }
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY2(rows[i] != rows[i - 1], qPrintable(QStringLiteral("lines %1 and %2").arg(11989 + i).arg(11990 + i)));

    // Back under ten thousand lines, the strip is four digits wide again.
    pDoc->ReplaceAll(QStringLiteral("hint \"short\""));
    QCOMPARE(pView->Gutter()->StripWidth(), int(CScriptView::kGutterWidth));
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
}

void TestGutter::withoutLineNumbersABookmarkIsACircle()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 0}});
    const QString sPath = WriteScript(dir, "a.sqs", "hint \"a\"\r\nsleep 1\r\nexit");
    seed.WriteString(kBookmarksSection, sPath, QStringLiteral("1,"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QImage image = GutterImage(pView);
    for (int nLine : {0, 2}) {
        const QRect rcLine = LineRect(pView, nLine);
        QCOMPARE(PixelsOf(image, rcLine, pView->Gutter()->StripColour()), rcLine.width() * rcLine.height());
    }
    const QRect rcMarked = LineRect(pView, 1);
    const int yMid = rcMarked.center().y();
    QCOMPARE(image.pixel(11, yMid), kDarkRed.rgb());
    // Round: the corners of its square stay background, the edges beside it too.
    QCOMPARE(image.pixel(3, rcMarked.top() + 2), pView->Gutter()->StripColour().rgb());
    QCOMPARE(image.pixel(18, rcMarked.bottom() - 2), pView->Gutter()->StripColour().rgb());
    QCOMPARE(image.pixel(0, yMid), pView->Gutter()->StripColour().rgb());
    QCOMPARE(image.pixel(21, yMid), pView->Gutter()->StripColour().rgb());
    QCOMPARE(PixelsOf(image, rcMarked, Qt::white) + PixelsOf(image, rcMarked, Qt::black), 0);
}

void TestGutter::pressInTheStripTogglesTheLineUnderThePointer()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", "a\r\nb\r\nc"));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(0, 1);
    const int nSteps = Steps(pView);
    const int yLine2 = LineRect(pView, 1).center().y();

    QTest::mouseClick(pView->Gutter(), Qt::LeftButton, {}, QPoint(CScriptView::kGutterWidth - 1, yLine2));
    QCOMPARE(Marks(pView), MarksOf({1}));
    QVERIFY(PixelsOf(GutterImage(pView), LineRect(pView, 1), kDarkRed) > 0);
    QCOMPARE(pView->Selection(), qMakePair(0, 1));
    QCOMPARE(Steps(pView), nSteps);
    QVERIFY(!pDoc->IsModified());

    // Beside the strip, or with the other button, nothing toggles.
    QTest::mouseClick(pView->Gutter(), Qt::LeftButton, {}, QPoint(CScriptView::kGutterWidth + 2, yLine2));
    QTest::mouseClick(pView->Gutter(), Qt::RightButton, {}, QPoint(5, yLine2));
    QCOMPARE(Marks(pView), MarksOf({1}));

    QTest::mouseClick(pView->Gutter(), Qt::LeftButton, {}, QPoint(0, yLine2));
    QCOMPARE(Marks(pView), MarksOf({}));
    QCOMPARE(PixelsOf(GutterImage(pView), LineRect(pView, 1), kDarkRed), 0);
}

void TestGutter::thirtyThirdBookmarkIsRefused()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", NumberedLines(40)));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    for (int i = 1; i <= kBookmarkSlots; ++i)
        pView->ToggleBookmark(i);
    const QList<int> full = Marks(pView);
    QTest::mouseClick(pView->Gutter(), Qt::LeftButton, {}, QPoint(5, LineRect(pView, 0).center().y()));
    QCOMPARE(Marks(pView), full);
    QVERIFY(!Bookmarks::Has(pView->Document().Bookmarks(), 0));
}

void TestGutter::bookmarksFollowInsertedAndDeletedLines()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", "a\r\nb\r\nc"));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->ToggleBookmark(1);
    pView->SetSelection(1, 1);
    QTest::keyClick(pView, Qt::Key_Return);
    QCOMPARE(pView->document()->toPlainText(), QStringLiteral("a\n\nb\nc"));
    QCOMPARE(Marks(pView), MarksOf({2}));

    // "\nb\nc" goes: the deletion starts on line 2 and takes lines 3 and 4.
    pView->SetSelection(2, 6);
    QTest::keyClick(pView, Qt::Key_Delete);
    QCOMPARE(pView->document()->toPlainText(), QStringLiteral("a\n"));
    QCOMPARE(Marks(pView), MarksOf({}));

    pView->OnEditUndo();
    QCOMPARE(Marks(pView), MarksOf({2}));
    // The line a deletion starts on keeps its bookmark; those below move up.
    pView->ToggleBookmark(3);
    pView->ToggleBookmark(1);
    pView->SetSelection(2, 4);
    QTest::keyClick(pView, Qt::Key_Delete);
    QCOMPARE(pView->document()->toPlainText(), QStringLiteral("a\n\nc"));
    QCOMPARE(Marks(pView), MarksOf({-1, 2, 1}));
}

void TestGutter::toggleGoesWithTheNextEdit()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", "a\r\nb"));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const int nSteps = Steps(pView);
    pView->ToggleBookmark(1);
    QCOMPARE(Steps(pView), nSteps);
    QVERIFY(!Bookmarks::Has(pView->Document().History().UndoAt(0).nBookmarks, 1));
    pView->SetSelection(0, 0);
    QTest::keyClicks(pView, "x");
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(Bookmarks::Has(pView->Document().History().UndoAt(0).nBookmarks, 1));
}

void TestGutter::closingStoresTheSlotsInSlotOrder_data()
{
    QTest::addColumn<QList<int>>("toggles");
    QTest::addColumn<QString>("stored");
    QTest::newRow("lines 4 and 18") << QList<int>{3, 17} << QStringLiteral("3,17,");
    QTest::newRow("slot order, not line order") << QList<int>{17, 3} << QStringLiteral("17,3,");
    QTest::newRow("a freed slot is reused first") << QList<int>{5, 3, 17, 5, 9} << QStringLiteral("9,3,17,");
}

void TestGutter::closingStoresTheSlotsInSlotOrder()
{
    QFETCH(QList<int>, toggles);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", NumberedLines(20)));
    QVERIFY(pDoc);
    const QString sPath = pDoc->GetPathName();
    QVERIFY(!sPath.isEmpty());
    for (int nLine : toggles)
        View(pDoc)->ToggleBookmark(nLine);
    QVERIFY(CloseDocument(pDoc));
    QCOMPARE(start.Store().ReadString(kBookmarksSection, sPath, QStringLiteral("(none)")), stored);
}

void TestGutter::storedValueLoadsLeniently()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    const QString sPath = WriteScript(dir, "a.sqs", NumberedLines(12));
    seed.WriteString(kBookmarksSection, sPath, QStringLiteral("5,x,9"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    QCOMPARE(pDoc->GetPathName(), sPath);
    QCOMPARE(Marks(View(pDoc)), MarksOf({5, 0}));
}

void TestGutter::removingTheLastBookmarkDeletesTheStoredValue()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    const QString sPath = WriteScript(dir, "a.sqs", "a\r\nb");
    seed.WriteString(kBookmarksSection, sPath, QStringLiteral("1,"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    QCOMPARE(Marks(View(pDoc)), MarksOf({1}));
    View(pDoc)->ToggleBookmark(1);
    QVERIFY(CloseDocument(pDoc));
    QVERIFY(!start.Store().Contains(kBookmarksSection, sPath));
}

void TestGutter::documentWithoutBookmarksStoresNothing()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", "a\r\nb"));
    QVERIFY(pDoc);
    // Set and removed again in the same session leaves the store alone too.
    View(pDoc)->ToggleBookmark(0);
    View(pDoc)->ToggleBookmark(0);
    start.Store().ClearWriteLog();
    const QString sPath = pDoc->GetPathName();
    QVERIFY(CloseDocument(pDoc));
    QVERIFY(!WroteBookmarks(start.Store()));
    QVERIFY(!start.Store().Contains(kBookmarksSection, sPath));
}

void TestGutter::untitledDocumentsKeepNoBookmarks()
{
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", 1}});
    seed.WriteString(kBookmarksSection, QString(), QStringLiteral("0,"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptView* pView = start.App().MainFrame()->ActiveView();
    QVERIFY(pView);
    QVERIFY(static_cast<CScriptDoc&>(pView->Document()).GetPathName().isEmpty());
    QCOMPARE(Marks(pView), MarksOf({}));
    pView->ToggleBookmark(0);
    start.Store().ClearWriteLog();
    QVERIFY(CloseDocument(static_cast<CScriptDoc*>(&pView->Document())));
    QVERIFY(!WroteBookmarks(start.Store()));

    start.App().Documents().NewDocument(EDocKind::Script);
    pView = start.App().MainFrame()->ActiveView();
    QVERIFY(pView);
    QCOMPARE(Marks(pView), MarksOf({}));
}

void TestGutter::printingNumbersACopyOnly_data()
{
    QTest::addColumn<bool>("lineNumbers");
    QTest::addColumn<bool>("modified");
    QTest::newRow("numbers on") << true << false;
    QTest::newRow("numbers on, modified document") << true << true;
    QTest::newRow("numbers off") << false << false;
}

void TestGutter::printingNumbersACopyOnly()
{
    QFETCH(bool, lineNumbers);
    QFETCH(bool, modified);
    const QString sPdfToText = QStringLiteral("/usr/bin/pdftotext");
    if (!QFile::exists(sPdfToText))
        QFAIL("/usr/bin/pdftotext is missing: install poppler-utils to check printed text");
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"LineNumbers", int(lineNumbers)}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(WriteScript(dir, "a.sqs", NumberedLines(12)));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    if (modified) {
        pView->SetSelection(0, 0);
        QTest::keyClicks(pView, "x");
    }
    pView->SetSelection(3, 8);
    const QString sText = pView->document()->toPlainText();
    const int nSteps = Steps(pView);
    const UndoRecord top = pView->Document().History().UndoAt(0);

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString sPdf = dir.filePath("out.pdf");
    printer.setOutputFileName(sPdf);
    pView->PrintTo(&printer);

    QCOMPARE(pView->document()->toPlainText(), sText);
    QCOMPARE(pView->Document().Shadow().Text(), sText);
    QCOMPARE(pDoc->IsModified(), modified);
    QCOMPARE(pView->document()->isModified(), modified);
    QCOMPARE(Steps(pView), nSteps);
    QCOMPARE(pView->CanUndo(), modified);
    QCOMPARE(pView->CanRedo(), false);
    QCOMPARE(pView->Document().History().UndoAt(0).changes, top.changes);
    QCOMPARE(pView->Selection(), qMakePair(3, 8));

    QProcess process;
    process.start(sPdfToText, {QStringLiteral("-layout"), sPdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    const QStringList printed = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    const QString sFirst = modified ? QStringLiteral("x") : QString();
    for (int i = 1; i <= 12; ++i) {
        const QString sLine = (i == 1 ? sFirst : QString()) + QStringLiteral("hint \"line %1\"").arg(i);
        const QString sExpected = lineNumbers ? QString::asprintf("%.4d ", i) + sLine : sLine;
        bool bFound = false;
        for (const QString& sPrinted : printed)
            bFound = bFound || sPrinted.trimmed() == sExpected.trimmed();
        QVERIFY2(bFound, qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(sExpected, printed.join(u'\n'))));
    }
    const QRegularExpression number(QStringLiteral("^\\s*\\d{4} "));
    for (const QString& sPrinted : printed)
        QVERIFY2(lineNumbers || !number.match(sPrinted).hasMatch(), qPrintable(sPrinted));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestGutter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gutter.moc"
