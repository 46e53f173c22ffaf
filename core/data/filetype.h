#pragma once

#include <QString>

// The kinds of file the editor tells apart, by lower-cased extension.
enum EFileType { kFileSQS = 0, kFileSQF = 1, kFileEXT = 2, kFileHTML = 3, kFileCSV = 4, kFileDAT = 5, kFileTXT = 6 };

// Image list slots shared by the project tree, the snippets tree and the script tabs.
enum EImage {
    kImageNoProject = 0,
    kImageProject = 1,
    kImageSnippetsRoot = 2,
    kImageSnippet = 3,
};

// The extension with its dot, lower-cased; empty when the file name has none.
QString LowerExtension(const QString& sPath);
EFileType FileTypeOfExtension(const QString& sExtension);
// The closed image of a kind of file; the open form is the next slot.
int FileTypeImage(EFileType eType, bool bOpen);
// The same by the file's extension.
int FileTypeImage(const QString& sPath, bool bOpen);
