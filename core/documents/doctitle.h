#pragma once

#include <QString>

// How a document's title is made and kept free of the modified mark.
namespace DocTitle {

// The file-name part of the path, or the new-document name when untitled;
// without its extension when extensions are not shown.
QString Compute(const QString& sPath, const QString& sNewName, bool bShowExt);
QString WithoutExtension(const QString& sName);
QString StripStars(const QString& sTitle);
// How a document is listed when asked whether to save it: its file name
// with extension, or its title without the modified mark when untitled.
QString ListName(const QString& sPath, const QString& sTitle);
// Every trailing "*" removed, then one added while modified.
QString Marked(const QString& sTitle, bool bModified);

// The title around a save: the file dialog must never see the "*", and with
// extensions shown an untitled document's extension is held back so the
// dialog proposes the bare name.
struct SSaveFrame
{
    QString sTitle;      // what to show while the dialog is up
    QString sExtension;  // held back, with its dot
};
SSaveFrame BeforeSave(const QString& sTitle, bool bShowExt, bool bHasPath);
QString AfterSave(const SSaveFrame& frame, const QString& sPathAfter, bool bShowExt, bool bModified);

}  // namespace DocTitle
