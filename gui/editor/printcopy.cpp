#include "gui/editor/printcopy.h"

#include "gui/editor/scripthighlighter.h"
#include "gui/editor/scriptview.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

constexpr int kTabColumns = 4;

// The stops of a line printed after its number: the layout counts tab stops
// from the start of the printed line, number included, so they are given
// one by one from where the text starts. Each tab reaches at most one stop
// past the text before it, which bounds how many the line can use.
QList<QTextOption::Tab> TabsAfterNumber(const QString& sNumber, const QString& sText, const QFontMetricsF& metrics,
                                        qreal rTab)
{
    const qreal rStart = metrics.horizontalAdvance(sNumber);
    QString sWithoutTabs = sText;
    sWithoutTabs.remove(u'\t');
    const qsizetype nStops
        = sText.size() - sWithoutTabs.size() + qsizetype(std::ceil(metrics.horizontalAdvance(sWithoutTabs) / rTab)) + 1;
    QList<QTextOption::Tab> tabs;
    tabs.reserve(nStops);
    for (qsizetype i = 1; i <= nStops; ++i)
        tabs.append(QTextOption::Tab(rStart + qreal(i) * rTab, QTextOption::LeftTab));
    return tabs;
}

}  // namespace

qreal TabStopDistance(const QFont& font)
{
    return kTabColumns * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
}

QTextDocument* CreatePrintCopy(const QTextDocument& source, const QFont& font, const SEditorOptions& options,
                               const CScriptHighlighter& highlighter, QObject* pParent)
{
    auto* pCopy = new QTextDocument(pParent);
    pCopy->setDefaultFont(font);
    const QFontMetricsF metrics(font);
    const qreal rTab = TabStopDistance(font);
    QTextOption textOption = pCopy->defaultTextOption();
    textOption.setTabStopDistance(rTab);
    pCopy->setDefaultTextOption(textOption);
    QTextCursor cursor(pCopy);
    QTextCharFormat plain;
    plain.setForeground(CScriptView::ColourOf(options.crText));
    bool bOpen = false;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (block != source.begin())
            cursor.insertBlock();
        const QString sNumber = options.bLineNumbers
            ? QStringLiteral("%1 ").arg(block.blockNumber() + 1, 4, 10, QLatin1Char('0'))
            : QString();
        const QString sText = block.text();
        if (options.bLineNumbers) {
            // A new block takes the one before's format: each sets its own.
            QTextBlockFormat format;
            if (sText.contains(u'\t'))
                format.setTabPositions(TabsAfterNumber(sNumber, sText, metrics, rTab));
            cursor.setBlockFormat(format);
        }
        cursor.insertText(sNumber, plain);
        const int nStart = cursor.position();
        cursor.insertText(sText, plain);
        if (!options.bFormat)
            continue;
        for (const QTextLayout::FormatRange& range : highlighter.Formats(sText, bOpen, &bOpen)) {
            QTextCursor run(pCopy);
            run.setPosition(nStart + range.start);
            run.setPosition(nStart + range.start + range.length, QTextCursor::KeepAnchor);
            run.mergeCharFormat(range.format);
        }
    }
    return pCopy;
}
