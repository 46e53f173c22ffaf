#pragma once

#include "core/data/filetype.h"

#include <QString>

#include <span>

class CDictionary;

// The six kinds of document, in the order their templates are registered.
enum class EDocKind { Script, Description, StringTable, Briefing, Function, Text };

struct SDocTypeInfo
{
    EDocKind eKind;
    int nResource;
    // "\nScript\nScript\nScript Files (.sqs)\n.sqs\nQONScript.Document\nQON Script File"
    const char* pszTemplateString;
    const char* pszNewFileCommand;
};

std::span<const SDocTypeInfo> DocTypes();
const SDocTypeInfo& DocType(EDocKind eKind);

// One field of a template string: window title, document name, new-file
// name, filter name, filter extension, file-type identifier, file-type name.
enum class EDocField { WindowTitle, DocName, FileNewName, FilterName, FilterExt, RegFileTypeId, RegFileTypeName };
QString TemplateField(const SDocTypeInfo& type, EDocField eField);
// The name an untitled document of the kind starts with: "Script.sqs" ...
QString NewDocumentName(const SDocTypeInfo& type);

// The template a file opens with: the one whose extension matches, the
// first one for any other extension. A file without an extension (a read-me,
// a licence, notes) is text: it opens as a text document, so that its type
// code, status pane and image all say so, and a Save As under a bare name
// makes a .txt of it, not a script.
const SDocTypeInfo& DocTypeForPath(const QString& sPath);

// The view's type code: from the path's extension, which for a file without
// one makes it text; an untitled document takes its template's extension.
EFileType ViewFileType(const QString& sPath, const SDocTypeInfo& type);

// The header text a new document of the view type gets from header.dat.
const QString& HeaderTextFor(const CDictionary& dictionary, EFileType eType);
// The header with its tokens filled in, ready to insert: game title,
// author, "[BLANK LINE]" removed, and a closing CR LF.
QString ExpandHeader(const QString& sHeader, bool bVelk, const QString& sAuthor);
QString GameTitle(bool bVelk);
