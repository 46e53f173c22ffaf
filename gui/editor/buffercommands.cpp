#include "gui/editor/buffercommands.h"

#include "core/editor/linecommands.h"
#include "gui/editor/editbuffer.h"

namespace BufferCommands {

namespace {

QList<LineCommands::SLineEdit> LineEdits(ELineCommand eCommand, const QStringList& lines, int nFirst, EFileType eType)
{
    switch (eCommand) {
    case ELineCommand::CommentOut:
        return LineCommands::CommentOut(lines, nFirst, LineCommands::CommentPrefix(eType));
    case ELineCommand::Uncomment:
        return LineCommands::Uncomment(lines, nFirst);
    case ELineCommand::Indent:
        return LineCommands::Indent(lines, nFirst);
    case ELineCommand::Outdent:
        return LineCommands::Outdent(lines, nFirst);
    }
    return {};
}

}  // namespace

void RunLineCommand(CEditBuffer& buffer, ELineCommand eCommand)
{
    const bool bComments = eCommand == ELineCommand::CommentOut || eCommand == ELineCommand::Uncomment;
    if (bComments && !LineCommands::HasLineComments(buffer.FileType()))
        return;
    const auto [nSelStart, nSelEnd] = buffer.Selection();
    const int nFirst = buffer.LineOf(nSelStart);
    const int nLast = buffer.LineOf(nSelEnd);
    QStringList lines;
    for (int i = nFirst; i <= nLast; ++i)
        lines.append(buffer.LineText(i));
    const QList<LineCommands::SLineEdit> lineEdits = LineEdits(eCommand, lines, nFirst, buffer.FileType());
    if (lineEdits.isEmpty())
        return;
    const int nStart = buffer.LineStart(nFirst);
    QList<int> lineStarts{nStart};
    for (int i = 1; i < lines.size(); ++i)
        lineStarts.append(lineStarts.last() + int(lines[i - 1].size()) + 1);
    QList<SEdit> edits;
    int nGrowth = 0;
    for (const LineCommands::SLineEdit& edit : lineEdits) {
        edits.append({lineStarts[edit.nLine - nFirst] + edit.nColumn, edit.nRemove, edit.sInsert});
        nGrowth += int(edit.sInsert.size()) - edit.nRemove;
    }
    // The lines stay selected whole, however long they grew.
    const int nEnd = lineStarts.last() + int(lines.last().size()) + nGrowth;
    buffer.ApplyEdits(edits, EEditHistory::Step, QPair<int, int>(nStart, nEnd));
}

void ChangeCase(CEditBuffer& buffer, bool bUpper)
{
    auto [nStart, nEnd] = buffer.Selection();
    const bool bWasEmpty = nStart == nEnd;
    if (bWasEmpty)
        nEnd = std::min(nStart + 1, buffer.Length());
    const QString sChanged = LineCommands::ChangeCase(buffer.Shadow().Mid(nStart, nEnd - nStart), bUpper);
    // Without a selection the caret steps over the changed character.
    const QPair<int, int> selAfter = bWasEmpty ? QPair<int, int>(nEnd, nEnd) : QPair<int, int>(nStart, nEnd);
    if (buffer.ApplyEdits({{nStart, nEnd - nStart, sChanged}}, EEditHistory::Step, selAfter))
        return;
    // Nothing to change is still a step, with the caret moved on.
    buffer.Select(selAfter.first, selAfter.second);
    buffer.PushUndo();
}

void InsertAutoIndent(CEditBuffer& buffer, bool bWhiteSpace, bool bAutoTabs)
{
    const int nCaret = buffer.Selection().first;
    const int nLine = buffer.LineOf(nCaret);
    if (nLine == 0)
        return;
    const QString sIndent = LineCommands::AutoIndent(buffer.LineText(nLine - 1).toLower(), bWhiteSpace, bAutoTabs);
    if (!sIndent.isEmpty())
        buffer.ApplyEdits({{nCaret, 0, sIndent}}, EEditHistory::Later);
}

void OutdentClosingBrace(CEditBuffer& buffer)
{
    const int nCaret = buffer.Selection().first;
    const int nLine = buffer.LineOf(nCaret);
    const QString sLine = buffer.LineText(nLine);
    const int nLineStart = buffer.LineStart(nLine);
    const int nCol = std::max(nCaret - nLineStart - 1, 0);
    if (nCol <= 0 || nCol >= sLine.size() || sLine[nCol] != QLatin1Char('}') || sLine[nCol - 1] != QLatin1Char('\t'))
        return;
    buffer.ApplyEdits({{nLineStart + nCol - 1, 1, QString()}}, EEditHistory::Later);
}

}  // namespace BufferCommands
