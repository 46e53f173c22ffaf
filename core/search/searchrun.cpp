#include "core/search/searchrun.h"

#include "core/documents/textfile.h"
#include "core/search/searchresults.h"

#include <QFileInfo>

#include <algorithm>

QString SSearchSpec::ActionWord() const
{
    return bReplace ? QStringLiteral("replaced") : QStringLiteral("found");
}

namespace SearchRun {

namespace {

const QString kIndent = QStringLiteral("      ");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Counts the lines of a text that is read once from the front, as a run
// meets its matches in order.
class CLineCounter
{
public:
    void Advance(QStringView text, int nTo)
    {
        for (; m_nAt < nTo; ++m_nAt) {
            if (text[m_nAt] == u'\n') {
                ++m_nLine;
                m_nLineStart = m_nAt + 1;
            }
        }
    }
    int Line() const { return m_nLine; }
    int LineStart() const { return m_nLineStart; }

private:
    int m_nAt = 0;
    int m_nLine = 0;
    int m_nLineStart = 0;
};

// "Text %s: Ln %d, Ch %d, %s", put together by hand: formatting it with
// arg() took most of the time of a run with a million matches.
QString Location(const QString& sHead, int nLine, int nCol, const QString& sName)
{
    QString sLocation;
    sLocation.reserve(sHead.size() + 28 + sName.size());
    sLocation.append(sHead);
    sLocation.append(QString::number(nLine + 1));
    sLocation.append(u", Ch ");
    sLocation.append(QString::number(nCol + 1));
    sLocation.append(u", ");
    sLocation.append(sName);
    return sLocation;
}

// LineText of the two parts joined, without joining them first: a run of a
// million matches lists a million lines.
QString ListedLine(QStringView head, QStringView tail)
{
    while (!head.isEmpty() && IsBlank(head.front()))
        head = head.sliced(1);
    head = head.first(std::min<qsizetype>(head.size(), kMaxLineText));
    tail = tail.first(std::min<qsizetype>(tail.size(), head.size() < kMaxLineText ? kMaxLineText : 0));
    if (head.isEmpty()) {
        while (!tail.isEmpty() && IsBlank(tail.front()))
            tail = tail.sliced(1);
    }
    tail = tail.first(std::min<qsizetype>(tail.size(), kMaxLineText - head.size()));
    QString sLine;
    sLine.reserve(kIndent.size() + head.size() + tail.size());
    sLine.append(kIndent).append(head).append(tail);
    return sLine;
}

}  // namespace

QString LineText(QStringView line)
{
    qsizetype nFirst = 0;
    while (nFirst < line.size() && IsBlank(line[nFirst]))
        ++nFirst;
    return kIndent + line.mid(nFirst, kMaxLineText).toString();
}

SLineCol LineColOf(QStringView text, int nOffset)
{
    nOffset = std::clamp(nOffset, 0, int(text.size()));
    const QStringView before = text.first(nOffset);
    const int nLineStart = int(before.lastIndexOf(u'\n')) + 1;
    return {int(before.count(u'\n')), nOffset - nLineStart};
}

int SearchText(const QString& sText, int nFrom, int nTo, const QString& sPath, const SSearchSpec& spec,
               CSearchResults& results, QString* psNewText)
{
    const QString sName = QFileInfo(sPath).fileName();
    const QString sHead = QStringLiteral("Text %1: Ln ").arg(spec.ActionWord());
    const bool bReplace = spec.bReplace && psNewText;
    // A run lists its matches from the top down, whichever way Find Next
    // was last told to go.
    STextSearchOptions options = spec.options;
    options.bForward = true;
    nTo = std::clamp(nTo, 0, int(sText.size()));
    QString sOut;  // replace mode: the new text, up to the last replacement
    int nCopied = 0;
    CLineCounter lines;
    int nLineEnd = -1;  // in sText: where the line of the last match ends
    int nMatches = 0;
    for (int nAt = std::max(nFrom, 0);;) {
        const STextMatch match = TextSearch::FindNext(sText, spec.sFind, nAt, options);
        if (!match.IsFound() || match.End() > nTo)
            break;
        ++nMatches;
        int nStart = match.nStart;
        int nEnd = match.End();
        if (bReplace) {
            sOut += QStringView(sText).mid(nCopied, match.nStart - nCopied);
            nStart = int(sOut.size());
            lines.Advance(sOut, nStart);
            sOut += spec.sReplace;
            nEnd = int(sOut.size());
            nCopied = match.End();
        } else {
            lines.Advance(sText, nStart);
        }
        if (nLineEnd < match.End()) {
            nLineEnd = int(sText.indexOf(u'\n', match.End()));
            if (nLineEnd < 0)
                nLineEnd = int(sText.size());
        }
        // The line as it stands now: replaced up to this match, as read after
        // it. Only as much of it is copied as the list shows.
        const QStringView current = bReplace ? QStringView(sOut) : QStringView(sText);
        const int nUpTo = bReplace ? nEnd : nLineEnd;
        const QStringView after
            = bReplace ? QStringView(sText).sliced(match.End(), nLineEnd - match.End()) : QStringView();
        results.AddMatch(Location(sHead, lines.Line(), nStart - lines.LineStart(), sName),
                         ListedLine(current.sliced(lines.LineStart(), nUpTo - lines.LineStart()), after),
                         {sPath, nStart, nEnd});
        nAt = match.End();
    }
    if (bReplace) {
        sOut += QStringView(sText).mid(nCopied);
        *psNewText = std::move(sOut);
    }
    return nMatches;
}

QList<SChangedStretch> ChangedStretches(QStringView sOld, const CSearchResults& results, int nFirstLine,
                                        const SSearchSpec& spec)
{
    const int nFind = int(spec.sFind.size());
    const int nReplace = int(spec.sReplace.size());
    QList<SChangedStretch> stretches;
    const SResultRecord* pLast = nullptr;
    qsizetype nShift = 0;  // how far the replacements before have moved the new text
    for (int nLine = nFirstLine; nLine < results.LineCount(); ++nLine) {
        // Each match is listed on two lines that share its record.
        const SResultRecord* pRecord = results.Record(nLine);
        if (!pRecord || pRecord == pLast)
            continue;
        pLast = pRecord;
        const int nNew = pRecord->nStart;
        const int nOld = int(nNew - nShift);
        nShift += nReplace - nFind;
        if (!stretches.isEmpty()) {
            SChangedStretch& last = stretches.last();
            if (!sOld.sliced(last.nOldTo, nOld - last.nOldTo).contains(u'\n')) {
                last.nOldTo = nOld + nFind;
                last.nNewTo = nNew + nReplace;
                continue;
            }
        }
        stretches.append({nOld, nOld + nFind, nNew, nNew + nReplace});
    }
    return stretches;
}

SClosedFile SearchClosedFile(const QString& sPath, const SSearchSpec& spec, CSearchResults& results)
{
    TextFile::SLoaded loaded;
    QString sError;
    if (TextFile::Load(sPath, &loaded, &sError) != TextFile::ELoad::Ok)
        return {EClosed::NotSearched, sError, QString()};
    CSearchResults found;
    QString sNewText;
    QString sNote;
    if (SearchText(loaded.sText, 0, int(loaded.sText.size()), sPath, spec, found, &sNewText) == 0)
        return {};
    if (spec.bReplace) {
        const QString sEncoding = CodePage::Name(loaded.format.eEncoding);
        const TextFile::SSaved saved = TextFile::Save(sPath, sNewText, &loaded.format);
        if (!saved.bOk)
            return {EClosed::NotWritten, saved.sError, QString()};
        if (saved.bSwitchedToUtf8)
            sNote = QStringLiteral("saved as UTF-8: the new text holds characters that %1 cannot store").arg(sEncoding);
        else if (saved.bNowReadsBackOther)
            sNote = QStringLiteral("saved in %1, but its bytes now also read as %2: it will show other text "
                                   "when opened")
                        .arg(sEncoding, saved.sReadBackAs);
    }
    for (int i = 0; i < found.LineCount(); i += 2)
        results.AddMatch(found.Line(i), found.Line(i + 1), *found.Record(i));
    return {EClosed::Matched, QString(), sNote};
}

void AddTotals(CSearchResults& results, const SSearchSpec& spec, int nFilesSearched, int nFilesMatched)
{
    QString sTotals = QStringLiteral("Total %1: %2").arg(spec.ActionWord()).arg(results.MatchCount());
    if (nFilesSearched != 0)
        sTotals += QStringLiteral("    Files searched: %1    Files matched: %2").arg(nFilesSearched).arg(nFilesMatched);
    results.InsertHeader(0, QStringLiteral("Search results for: \"%1\"").arg(spec.sFind));
    results.InsertHeader(1, sTotals);
}

}  // namespace SearchRun
