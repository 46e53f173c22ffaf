#pragma once

#include <QByteArray>
#include <QString>

// The desktop file the program writes for one of its file types when it is
// made that type's handler and the desktop knows no file of that id (a
// portable copy, never installed). It carries a mark of its own, so that the
// program only ever rewrites or removes the files it wrote itself.
namespace DesktopEntry {

// The whole file: starts sExecutable with the file that was opened.
QByteArray Text(const QString& sExecutable, const QString& sMimeType, const QString& sComment);
// Written by Text, possibly for another executable or type.
bool IsOwn(const QByteArray& bytes);
// The value of the Exec key: the program quoted and escaped as desktop files
// want it, then the field code of the file to open.
QString ExecValue(const QString& sExecutable);

}  // namespace DesktopEntry
