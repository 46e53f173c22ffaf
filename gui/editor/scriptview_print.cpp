// Printing a coloured copy of the view's text.
#include "gui/editor/scriptview.h"

#include "gui/editor/scripthighlighter.h"

#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QTextDocument* CScriptView::CreatePrintDocument(QObject* pParent) const
{
    auto* pCopy = new QTextDocument(pParent);
    pCopy->setDefaultFont(font());
    QTextCursor cursor(pCopy);
    QTextCharFormat plain;
    plain.setForeground(ColourOf(m_options.crText));
    bool bOpen = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            cursor.insertBlock();
        const QString sNumber = m_options.bLineNumbers
            ? QStringLiteral("%1 ").arg(block.blockNumber() + 1, 4, 10, QLatin1Char('0'))
            : QString();
        cursor.insertText(sNumber, plain);
        const QString sText = block.text();
        const int nStart = cursor.position();
        cursor.insertText(sText, plain);
        if (!m_options.bFormat)
            continue;
        for (const QTextLayout::FormatRange& range : m_pHighlighter->Formats(sText, bOpen, &bOpen)) {
            QTextCursor run(pCopy);
            run.setPosition(nStart + range.start);
            run.setPosition(nStart + range.start + range.length, QTextCursor::KeepAnchor);
            run.mergeCharFormat(range.format);
        }
    }
    return pCopy;
}

void CScriptView::PrintTo(QPrinter* pPrinter) const
{
    pPrinter->setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    std::unique_ptr<QTextDocument> pCopy(CreatePrintDocument(nullptr));
    pCopy->print(pPrinter);
}
