// Tab stops every four widths of a space of the editor font: in the view,
// whichever way the font reaches it, and in the copy that goes to the
// printer, where a line's number must not shift its indentation.
#include "core/data/dictionary.h"
#include "core/editor/editoroptions.h"
#include "gui/editor/editbuffer.h"
#include "gui/editor/editorcontext.h"
#include "gui/editor/scriptview.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <memory>

namespace {

// Lines whose "x" stands after one tab, two tabs, and a letter and a tab.
const QString kIndented = QStringLiteral("\tx\n\t\tx\na\tx");
struct SStop
{
    int nLine;
    int nColumn;  // of the "x"
    int nStops;   // tab stops from the line's start to it
};
constexpr SStop kStops[] = {{0, 1, 1}, {1, 2, 2}, {2, 2, 1}};

QFont FixedFont(int nPointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(nPointSize);
    return font;
}

QFont ProportionalFont(int nPointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(nPointSize);
    return font;
}

qreal FourSpaces(const QFont& font)
{
    return 4 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
}

// Where a line's text stands at a column, in the layout's units.
qreal XAt(const QTextDocument& doc, int nLine, int nColumn)
{
    const QTextBlock block = doc.findBlockByNumber(nLine);
    doc.documentLayout()->blockBoundingRect(block);  // lays the block out
    return block.layout()->lineForTextPosition(nColumn).cursorToX(nColumn);
}

// What differs, or empty: the "x" of every line must stand the right number
// of stops after where the line's text starts, nStart characters in.
QString CheckStops(const QTextDocument& doc, int nFirstLine, int nStart, qreal rTab)
{
    for (const SStop& stop : kStops) {
        const int nLine = nFirstLine + stop.nLine;
        const qreal rX = XAt(doc, nLine, nStart + stop.nColumn) - XAt(doc, nLine, nStart);
        if (qAbs(rX - stop.nStops * rTab) > 0.05)
            return QStringLiteral("line %1: x at %2, expected %3").arg(nLine + 1).arg(rX).arg(stop.nStops * rTab);
    }
    return {};
}

// A view on a buffer of its own, as a host builds one.
class CTabView
{
public:
    CTabView(const QString& sText, const QFont& font, bool bLineNumbers)
    {
        SEditorOptions options;
        options.bLineNumbers = bLineNumbers;
        m_context.SetOptions(options);
        m_context.SetFont(font);
        m_buffer.SetFileType(kFileSQF);
        m_buffer.Load(sText);
        m_pView = std::make_unique<CScriptView>(m_buffer, m_context);
        m_pView->resize(400, 300);
        m_pView->OnInitialUpdate();
    }

    CScriptView* View() const { return m_pView.get(); }
    CEditorContext& Context() { return m_context; }

private:
    CDictionary m_dictionary;
    CEditorContext m_context{m_dictionary};
    CEditBuffer m_buffer;
    std::unique_ptr<CScriptView> m_pView;
};

}  // namespace

class TestTabStops : public QObject
{
    Q_OBJECT

private slots:
    void viewTabsFollowTheFont_data();
    void viewTabsFollowTheFont();
    void printedTabsCountFromTheText_data();
    void printedTabsCountFromTheText();
};

void TestTabStops::viewTabsFollowTheFont_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QFont>("later");
    QTest::newRow("fixed, then larger") << FixedFont(10) << FixedFont(20);
    QTest::newRow("proportional, then fixed") << ProportionalFont(12) << FixedFont(9);
    QTest::newRow("fixed, then proportional") << FixedFont(11) << ProportionalFont(16);
}

void TestTabStops::viewTabsFollowTheFont()
{
    QFETCH(QFont, font);
    QFETCH(QFont, later);
    CTabView tabView(kIndented, font, false);
    CScriptView* pView = tabView.View();
    // The font given when the view first shows.
    QString sDiff = CheckStops(*pView->document(), 0, 0, FourSpaces(pView->font()));
    QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
    // A font chosen later, while the view is open.
    tabView.Context().SetFont(later);
    sDiff = CheckStops(*pView->document(), 0, 0, FourSpaces(pView->font()));
    QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
    // Options applied afterwards keep the stops of that font.
    tabView.Context().SetOptions(SEditorOptions());
    sDiff = CheckStops(*pView->document(), 0, 0, FourSpaces(pView->font()));
    QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
}

void TestTabStops::printedTabsCountFromTheText_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<bool>("lineNumbers");
    QTest::addColumn<int>("linesBefore");  // so that the number gets five digits
    QTest::addColumn<int>("numberLength");
    QTest::newRow("fixed, no numbers") << FixedFont(10) << false << 0 << 0;
    QTest::newRow("proportional, no numbers") << ProportionalFont(12) << false << 0 << 0;
    QTest::newRow("fixed, numbered") << FixedFont(10) << true << 0 << 5;
    QTest::newRow("proportional, numbered") << ProportionalFont(12) << true << 0 << 5;
    QTest::newRow("fixed, five-digit numbers") << FixedFont(10) << true << 9999 << 6;
}

void TestTabStops::printedTabsCountFromTheText()
{
    QFETCH(QFont, font);
    QFETCH(bool, lineNumbers);
    QFETCH(int, linesBefore);
    QFETCH(int, numberLength);
    CTabView tabView(QStringLiteral("\n").repeated(linesBefore) + kIndented, font, lineNumbers);
    std::unique_ptr<QTextDocument> pCopy(tabView.View()->CreatePrintDocument(nullptr));
    const qreal rTab = FourSpaces(tabView.View()->font());
    const QTextBlock first = pCopy->findBlockByNumber(linesBefore);
    QCOMPARE(first.text().size(), numberLength + 2);
    QString sDiff = CheckStops(*pCopy, linesBefore, numberLength, rTab);
    QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
    // Printing lays out a clone of the copy: the stops go with it.
    std::unique_ptr<QTextDocument> pClone(pCopy->clone());
    sDiff = CheckStops(*pClone, linesBefore, numberLength, rTab);
    QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
}

QTEST_MAIN(TestTabStops)

#include "tst_tabstops.moc"
