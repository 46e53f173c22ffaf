#pragma once

#include <QList>
#include <QString>

// Where a listed match lies: in which file, from where to where (offsets in
// the editor's text, every line break one character).
struct SResultRecord
{
    QString sPath;
    int nStart = 0;
    int nEnd = 0;

    bool operator==(const SResultRecord&) const = default;
};

// The lines of the find dialog's results list. Matches come as two lines
// sharing one record, the location and the text of the line; headers carry
// no record. Held as plain lines so a list of half a million costs little.
class CSearchResults
{
public:
    void Clear();
    int LineCount() const { return int(m_lines.size()); }
    const QString& Line(int nLine) const { return m_lines[nLine].sText; }
    // Null for a header line.
    const SResultRecord* Record(int nLine) const;

    void InsertHeader(int nAt, const QString& sText);
    void AddHeader(const QString& sText) { InsertHeader(LineCount(), sText); }
    void AddMatch(const QString& sLocation, const QString& sLineText, const SResultRecord& record);
    // The number of matches listed: every two lines with a record.
    int MatchCount() const { return int(m_records.size()); }
    // The longest lines by their number of characters, longest first: what
    // a list measures to size its scroll range without measuring every line.
    QList<int> LongestLines(int nCount) const;

private:
    struct SLine
    {
        QString sText;
        int nRecord = -1;
    };
    QList<SLine> m_lines;
    QList<SResultRecord> m_records;
};
