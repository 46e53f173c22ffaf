#pragma once

#include "core/data/codepage.h"

#include <QString>

// A document's file on disk: 8-bit text with CR LF line ends.
namespace TextFile {

enum class ELoad { Ok, CannotRead, NotText };

struct SLoaded
{
    QString sText;  // line ends as "\n"
    ETextEncoding eEncoding = ETextEncoding::Cp1252;
};

// A file holding NUL bytes is not text; it is refused rather than mangled.
ELoad Load(const QString& sPath, SLoaded* pLoaded, QString* psError);

struct SSaved
{
    bool bOk = false;
    // The text held characters the file's code page cannot store, so it
    // was written as UTF-8 instead of losing them.
    bool bSwitchedToUtf8 = false;
    QString sError;
};

// Written whole or not at all.
SSaved Save(const QString& sPath, const QString& sText, ETextEncoding eEncoding);

QString NormaliseLineEnds(const QString& sText);

}  // namespace TextFile
