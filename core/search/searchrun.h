#pragma once

#include "core/search/textsearch.h"

#include <QString>

class CSearchResults;

// What one Find All or Replace All looks for and what it puts in its place.
struct SSearchSpec
{
    QString sFind;
    QString sReplace;
    bool bReplace = false;
    STextSearchOptions options;

    QString ActionWord() const;
};

// The parts of a Find All or Replace All run that need no window: the
// matches of one text listed as result lines, and closed files searched and
// rewritten on disk.
namespace SearchRun {

// A listed line text is cut after this many characters: the position tables
// of real missions hold lines of 70 KB, listed once per match.
inline constexpr int kMaxLineText = 400;

// Lists every match in sText from nFrom up to nTo, each search going on
// after the previous match, so a replacement holding the searched text is
// never searched again. In replace mode *psNewText is the whole text with
// the matches replaced, and the listed offsets and lines are those of the
// new text. Returns the number of matches.
int SearchText(const QString& sText, int nFrom, int nTo, const QString& sPath, const SSearchSpec& spec,
               CSearchResults& results, QString* psNewText = nullptr);

// A Replace All of one text as stretches to change: the matches in order,
// those not parted by a line break joined into one stretch. A text
// component keeps its lines as they are for such edits, where one edit over
// the whole run would take every line apart and build it anew.
struct SChangedStretch
{
    int nOldFrom = 0;
    int nOldTo = 0;
    int nNewFrom = 0;
    int nNewTo = 0;
};
// The matches are those SearchText listed in replace mode from line
// nFirstLine of results on.
QList<SChangedStretch> ChangedStretches(QStringView sOld, const CSearchResults& results, int nFirstLine,
                                        const SSearchSpec& spec);

// "      " and the line's text without its leading blanks and tabs.
QString LineText(QStringView line);
// The zero-based line and column of an offset.
struct SLineCol
{
    int nLine = 0;
    int nCol = 0;
};
SLineCol LineColOf(QStringView text, int nOffset);

enum class EClosed { NoMatch, Matched, NotSearched, NotWritten };
struct SClosedFile
{
    EClosed eResult = EClosed::NoMatch;
    QString sError;  // why it was not searched or not written
    // Written, but not quite as it was: what the user should hear of (its
    // encoding changed so as to lose no character, or its bytes now read
    // as other text). Empty when the file kept its form.
    QString sNote;
};
// A project file that is not open: read through the editor's file layer, its
// encoding, line breaks and final line break kept, and in replace mode
// written back atomically when something matched. Its matches are listed
// only once they are on disk.
SClosedFile SearchClosedFile(const QString& sPath, const SSearchSpec& spec, CSearchResults& results);

// The two header lines at the top of a run's list; the file counts only when
// files were counted.
void AddTotals(CSearchResults& results, const SSearchSpec& spec, int nFilesSearched, int nFilesMatched);

}  // namespace SearchRun
