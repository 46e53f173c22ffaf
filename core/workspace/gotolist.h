#pragma once

#include "core/data/filetype.h"

#include <QStringList>

// The landmarks of a document that the go-to list offers.
namespace GotoList {

// Goto labels and function directives ("#...") of scripts and functions,
// section headers ("[...]") of data files, "class ..." of description files;
// nothing for the other kinds.
QStringList Entries(const QString& sText, EFileType eType);
// The landmark-starting lines, each without its leading tabs and blanks.
QStringList LineEntries(const QString& sText, QChar cLead);
// Each "class" (inside longer words too) with what follows it up to the
// second blank, line breaks, braces and tabs counting as blanks.
QStringList ClassEntries(const QString& sText);

}  // namespace GotoList
