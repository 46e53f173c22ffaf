#pragma once

#include "core/editor/editoroptions.h"

class CScriptHighlighter;
class QFont;
class QObject;
class QTextDocument;

// Where tab stops fall in the font, on screen and on paper alike: every four
// widths of its space, so that tab-indented scripts keep their usual shape.
qreal TabStopDistance(const QFont& font);

// A coloured copy of a text for the printer, with "%.4d " line numbers when
// they are on; tab stops count from where a line's text starts, after its
// number. The text itself, its flag and its history stay untouched.
QTextDocument* CreatePrintCopy(const QTextDocument& source, const QFont& font, const SEditorOptions& options,
                               const CScriptHighlighter& highlighter, QObject* pParent);
