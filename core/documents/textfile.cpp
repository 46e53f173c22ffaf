#include "core/documents/textfile.h"

#include "core/data/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace TextFile {

namespace {

constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

const QString kNotText = QStringLiteral("The file holds binary data (NUL bytes) and is not a text file.");

QStringView FormOf(EBreak eBreak)
{
    switch (eBreak) {
    case EBreak::Lf:
        return u"\n";
    case EBreak::Cr:
        return u"\r";
    case EBreak::LineSeparator:
        return u"\u2028";
    case EBreak::ParagraphSeparator:
        return u"\u2029";
    case EBreak::CrLf:
        break;
    }
    return u"\r\n";
}

// The text as the editor holds it; what stood in the file for each line
// break and stand-in goes to *pFormat.
QString Split(const QString& sRaw, SFormat* pFormat)
{
    QString sText;
    sText.reserve(sRaw.size());
    pFormat->arBreaks.clear();
    pFormat->sStandIns.clear();
    qsizetype anPlain[3] = {};  // CR LF, LF, CR
    for (qsizetype i = 0; i < sRaw.size(); ++i) {
        const char16_t c = sRaw.at(i).unicode();
        EBreak eBreak;
        if (c == u'\r' && i + 1 < sRaw.size() && sRaw.at(i + 1) == u'\n') {
            eBreak = EBreak::CrLf;
            ++i;
        } else if (c == u'\r') {
            eBreak = EBreak::Cr;
        } else if (c == u'\n') {
            eBreak = EBreak::Lf;
        } else if (c == QChar::LineSeparator) {
            eBreak = EBreak::LineSeparator;
        } else if (c == QChar::ParagraphSeparator) {
            eBreak = EBreak::ParagraphSeparator;
        } else {
            if (c == kFrameStart || c == kFrameEnd || c == kStandIn) {
                pFormat->sStandIns.append(QChar(c));
                sText.append(QChar(kStandIn));
            } else {
                sText.append(QChar(c));
            }
            continue;
        }
        if (eBreak <= EBreak::Cr)
            ++anPlain[int(eBreak)];
        pFormat->arBreaks.append(char(eBreak));
        sText.append(u'\n');
    }
    // Ties go to CR LF, the line end the games expect.
    pFormat->eNewBreak = EBreak::CrLf;
    for (const EBreak eBreak : {EBreak::Lf, EBreak::Cr})
        if (anPlain[int(eBreak)] > anPlain[int(pFormat->eNewBreak)])
            pFormat->eNewBreak = eBreak;
    return sText;
}

// The file's text again: each "\n" and stand-in of sText in the form given.
QString Join(const QString& sText, QByteArray* parBreaks, const QString& sStandIns)
{
    QString sRaw;
    sRaw.reserve(sText.size() + parBreaks->count(char(EBreak::CrLf)));
    qsizetype nBreak = 0;
    qsizetype nStandIn = 0;
    for (const QChar c : sText) {
        if (c == u'\n') {
            char& cBreak = (*parBreaks)[nBreak++];
            // A lone CR and a lone LF side by side (the line between them
            // deleted) would read back as one CR LF.
            if (EBreak(cBreak) == EBreak::Lf && sRaw.endsWith(u'\r'))
                cBreak = char(EBreak::CrLf);
            sRaw.append(FormOf(EBreak(cBreak)));
        } else if (c == kStandIn) {
            sRaw.append(sStandIns.at(nStandIn++));
        } else {
            sRaw.append(c);
        }
    }
    return sRaw;
}

// What goes in place of the occurrences of cMark in the new text, taken
// from the old one. Within the text both share at the start and at the end
// every occurrence keeps its form; so does every one between when the
// edits there kept their number (replacing words, changing case); others
// get the default form.
template <typename TForms, typename TForm>
TForms Reconcile(QStringView old, QStringView now, qsizetype nPrefix, qsizetype nSuffix, QChar cMark,
                 const TForms& oldForms, TForm defaultForm)
{
    const qsizetype nOld = old.count(cMark);
    if (nOld != oldForms.size())
        return TForms(now.count(cMark), defaultForm);
    const qsizetype nBefore = old.first(nPrefix).count(cMark);
    const qsizetype nOldMiddle = old.sliced(nPrefix, old.size() - nPrefix - nSuffix).count(cMark);
    const qsizetype nNewMiddle = now.sliced(nPrefix, now.size() - nPrefix - nSuffix).count(cMark);
    TForms forms = oldForms.first(nBefore);
    if (nNewMiddle == nOldMiddle)
        forms += oldForms.sliced(nBefore, nOldMiddle);
    else
        forms += TForms(nNewMiddle, defaultForm);
    forms += oldForms.sliced(nBefore + nOldMiddle);
    return forms;
}

}  // namespace

QString NormaliseLineEnds(const QString& sText)
{
    QString sOut = sText;
    sOut.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    sOut.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return sOut;
}

ELoad FromBytes(const QByteArray& bytes, SLoaded* pLoaded, QString* psError)
{
    ETextEncoding eEncoding = CodePage::DetectUtf16(bytes);
    const bool bUtf16 = eEncoding != ETextEncoding::Cp1252;
    if (!bUtf16) {
        if (bytes.contains('\0')) {
            const bool bMarked = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
            *psError = bMarked
                ? QStringLiteral("The file starts with a UTF-16 byte-order mark but is not valid UTF-16.")
                : kNotText;
            return ELoad::NotText;
        }
        eEncoding = CodePage::DetectEncoding(bytes);
    }
    const QString sRaw = CodePage::Decode(bytes, eEncoding);
    if (bUtf16 && sRaw.contains(QChar(0))) {
        *psError = kNotText;
        return ELoad::NotText;
    }
    pLoaded->format = SFormat();
    pLoaded->format.eEncoding = eEncoding;
    pLoaded->sText = Split(sRaw, &pLoaded->format);
    pLoaded->format.sText = pLoaded->sText;
    return ELoad::Ok;
}

ELoad Load(const QString& sPath, SLoaded* pLoaded, QString* psError)
{
    const QFileInfo info(sPath);
    if (info.isDir()) {
        *psError = QStringLiteral("It is a folder, not a file.");
        return ELoad::CannotRead;
    }
    // Reading a named pipe would wait for a writer that may never come.
    if (info.exists() && !info.isFile()) {
        *psError = QStringLiteral("It is not a regular file (a named pipe, a device or a socket).");
        return ELoad::CannotRead;
    }
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    return FromBytes(bytes, pLoaded, psError);
}

QByteArray ToBytes(const QString& sText, const SFormat& format, SFormat* pWritten, bool* pbSwitchedToUtf8)
{
    const QString& sOld = format.sText;
    const qsizetype nShorter = std::min(sOld.size(), sText.size());
    const qsizetype nPrefix
        = std::mismatch(sOld.cbegin(), sOld.cbegin() + nShorter, sText.cbegin()).first - sOld.cbegin();
    const qsizetype nSuffix
        = std::mismatch(sOld.crbegin(), sOld.crbegin() + (nShorter - nPrefix), sText.crbegin()).first - sOld.crbegin();

    SFormat written;
    written.sText = sText;
    written.eNewBreak = format.eNewBreak;
    written.arBreaks = Reconcile(QStringView(sOld), QStringView(sText), nPrefix, nSuffix, QChar(u'\n'), format.arBreaks,
                                 char(format.eNewBreak));
    written.sStandIns = Reconcile(QStringView(sOld), QStringView(sText), nPrefix, nSuffix, QChar(kStandIn),
                                  format.sStandIns, QChar(kStandIn));
    bool bSwitched = false;
    const QByteArray bytes
        = CodePage::EncodeForSaving(Join(sText, &written.arBreaks, written.sStandIns), format.eEncoding, &bSwitched);
    written.eEncoding = bSwitched ? ETextEncoding::Utf8 : format.eEncoding;
    // The next open decides the encoding afresh from the bytes alone.
    SLoaded back;
    QString sIgnored;
    written.bReadsBackOther = FromBytes(bytes, &back, &sIgnored) != ELoad::Ok || back.sText != sText;
    if (pbSwitchedToUtf8)
        *pbSwitchedToUtf8 = bSwitched;
    *pWritten = std::move(written);
    return bytes;
}

SSaved Save(const QString& sPath, const QString& sText, SFormat* pFormat)
{
    SSaved result;
    SFormat written;
    const QByteArray bytes = ToBytes(sText, *pFormat, &written, &result.bSwitchedToUtf8);
    result.bOk = AtomicFile::Write(sPath, bytes, &result.sError);
    if (!result.bOk)
        return result;
    if (written.bReadsBackOther && !pFormat->bReadsBackOther) {
        result.bNowReadsBackOther = true;
        SLoaded back;
        QString sIgnored;
        result.sReadBackAs = FromBytes(bytes, &back, &sIgnored) == ELoad::Ok ? CodePage::Name(back.format.eEncoding)
                                                                             : QStringLiteral("binary data");
    }
    *pFormat = std::move(written);
    return result;
}

SSaved Save(const QString& sPath, const QString& sText, ETextEncoding eEncoding)
{
    SFormat format;
    format.eEncoding = eEncoding;
    return Save(sPath, sText, &format);
}

}  // namespace TextFile
