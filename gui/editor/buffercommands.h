#pragma once

class CEditBuffer;

// The line and case commands and the automatic indentation, applied to a
// buffer at its selection through the one edit path.
namespace BufferCommands {

enum class ELineCommand { CommentOut, Uncomment, Indent, Outdent };

// The whole lines of the selection change as one step and stay selected.
void RunLineCommand(CEditBuffer& buffer, ELineCommand eCommand);
// The selection, or the character after the caret, in upper or lower case.
void ChangeCase(CEditBuffer& buffer, bool bUpper);
// After Enter: the new line takes up the indentation the line above asks for.
void InsertAutoIndent(CEditBuffer& buffer, bool bWhiteSpace, bool bAutoTabs);
// After a typed "}": one tab less in front of it.
void OutdentClosingBrace(CEditBuffer& buffer);

}  // namespace BufferCommands
