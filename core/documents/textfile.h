#pragma once

#include "core/data/codepage.h"

#include <QByteArray>
#include <QString>

// A document's file on disk: text in one of the encodings CodePage knows,
// its lines ended as the file ends them.
namespace TextFile {

enum class ELoad { Ok, CannotRead, NotText };

// How one line break stands in the file.
enum class EBreak : char { CrLf, Lf, Cr, LineSeparator, ParagraphSeparator };

// What the editor shows in place of a character its text component cannot
// hold as it is: the component takes U+FDD0 and U+FDD1 for marks of its own.
inline constexpr char16_t kStandIn = 0xFFFD;

// What it takes to write a document's text back as its file. The editor's
// text has "\n" for every kind of line break and kStandIn for every
// character it cannot hold; what the file had in their place is kept here
// and written back wherever the text around is unchanged, so that a file
// the user left alone saves to the very bytes it was read from.
struct SFormat
{
    ETextEncoding eEncoding = ETextEncoding::Cp1252;
    // The text as last read or written: what tells an edit from what the
    // user left alone. Left empty when every break is eNewBreak and there
    // are no stand-ins, as then no edit can change what the rest of the file
    // gets: a script of many megabytes need not be held twice for nothing.
    QString sText;
    // For each "\n" of sText, an EBreak.
    QByteArray arBreaks;
    // For each kStandIn of sText, the character the file holds there.
    QString sStandIns;
    // A line break the user adds is written the way most of the file's are.
    EBreak eNewBreak = EBreak::CrLf;
    // Opened again, the bytes last written would show other text.
    bool bReadsBackOther = false;
};

struct SLoaded
{
    QString sText;  // every line break "\n"
    SFormat format;
};

// A file holding NUL bytes is not text (unless it is UTF-16); it is refused
// rather than mangled, as is anything but a regular file.
ELoad Load(const QString& sPath, SLoaded* pLoaded, QString* psError);
ELoad FromBytes(const QByteArray& bytes, SLoaded* pLoaded, QString* psError);

struct SSaved
{
    bool bOk = false;
    // The text held characters the file's code page cannot store, so it
    // was written as UTF-8 instead of losing them.
    bool bSwitchedToUtf8 = false;
    // The bytes written would show other text when opened again (Windows-1252
    // bytes that are also valid UTF-8), and those written before would not:
    // the user should hear of it, once. sReadBackAs names what they would read as.
    bool bNowReadsBackOther = false;
    QString sReadBackAs;
    QString sError;
};

// Written whole or not at all, in the document's own encoding unless that
// cannot hold the text; on success *pFormat describes the file as written.
SSaved Save(const QString& sPath, const QString& sText, SFormat* pFormat);
// A text that comes from no file: every line break CR LF.
SSaved Save(const QString& sPath, const QString& sText, ETextEncoding eEncoding);
// The bytes Save writes; *pWritten describes them.
QByteArray ToBytes(const QString& sText, const SFormat& format, SFormat* pWritten, bool* pbSwitchedToUtf8);

QString NormaliseLineEnds(const QString& sText);

}  // namespace TextFile
