#pragma once

#include <QString>

// The wizards' pages are written line by line, every line ended CR LF, as
// the games' own pages are.
namespace PageLines {

inline const QString kCrLf = QStringLiteral("\r\n");
// The marker that closes every value a page carries.
inline const QString kEnd = QStringLiteral("<!-- [END] -->");

class CLines
{
public:
    CLines& operator<<(const QString& sLine)
    {
        m_sText += sLine;
        m_sText += kCrLf;
        return *this;
    }
    // A value between its start marker and the end marker.
    void Value(const QString& sMarker, const QString& sValue) { *this << sMarker << sValue << kEnd; }
    QString Text() const { return m_sText; }

private:
    QString m_sText;
};

}  // namespace PageLines
