#include "gui/editor/printcopy.h"

#include "gui/editor/scripthighlighter.h"
#include "gui/editor/scriptview.h"

#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QTextDocument* CreatePrintCopy(const QTextDocument& source, const QFont& font, const SEditorOptions& options,
                               const CScriptHighlighter& highlighter, QObject* pParent)
{
    auto* pCopy = new QTextDocument(pParent);
    pCopy->setDefaultFont(font);
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
        cursor.insertText(sNumber, plain);
        const QString sText = block.text();
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
