#pragma once

#include "core/data/filetype.h"

#include <QList>
#include <QString>
#include <QStringList>

// The pure rules of the editor's line commands and text services; the view
// applies what they compute.
namespace LineCommands {

// One edit inside one line: at nColumn, nRemove characters go and sInsert comes.
struct SLineEdit
{
    int nLine;
    int nColumn;
    int nRemove;
    QString sInsert;
    bool operator==(const SLineEdit&) const = default;
};

// ";" for scripts, "//" for functions and description files, none otherwise.
QString CommentPrefix(EFileType eType);
bool HasLineComments(EFileType eType);

// lines holds the text of lines nFirst.. in order.
QList<SLineEdit> CommentOut(const QStringList& lines, int nFirst, const QString& sPrefix);
QList<SLineEdit> Uncomment(const QStringList& lines, int nFirst);
QList<SLineEdit> Indent(const QStringList& lines, int nFirst);
QList<SLineEdit> Outdent(const QStringList& lines, int nFirst);

// What a new line starts with after Enter below sPrevLine.
QString AutoIndent(const QString& sPrevLine, bool bWhiteSpace, bool bAutoTabs);
// Each character changed on its own, so the text keeps its length.
QString ChangeCase(const QString& sText, bool bUpper);

// The run of word characters around nColumn, or of other characters when
// there is none; (start, end) columns, end exclusive. An empty line gives (0, 0).
QPair<int, int> WordAt(const QString& sLine, int nColumn);
bool IsBreakChar(QChar c);

}  // namespace LineCommands
