#pragma once

#include "core/editor/editoroptions.h"

class CScriptHighlighter;
class QFont;
class QObject;
class QTextDocument;

// A coloured copy of a text for the printer, with "%.4d " line numbers when
// they are on. The text itself, its flag and its history stay untouched.
QTextDocument* CreatePrintCopy(const QTextDocument& source, const QFont& font, const SEditorOptions& options,
                               const CScriptHighlighter& highlighter, QObject* pParent);
