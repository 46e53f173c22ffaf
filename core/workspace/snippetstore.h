#pragma once

#include <QString>
#include <QStringList>

// The snippets folder: one text file per snippet, named after it with ".txt".
class CSnippetStore
{
public:
    // What came of a save or a rename.
    struct SResult
    {
        enum EStatus { Done, Nothing, Failed };
        EStatus eStatus = Nothing;
        QString sName;   // the snippet's name as it now stands (Done)
        QString sError;  // the file layer's own words (Failed)
    };

    explicit CSnippetStore(QString sFolder);

    const QString& Folder() const { return m_sFolder; }
    QString PathOf(const QString& sName) const;

    // A typed name as a snippet's file name: without the characters no file
    // name may hold; empty when nothing usable is left.
    static QString CleanName(const QString& sTyped);

    // The snippets there are, ignoring case in their order; none when the
    // folder is missing.
    QStringList Names() const;
    // Replaces a snippet of that name without asking; Nothing when the name
    // leaves nothing to call it.
    SResult Save(const QString& sTypedName, const QString& sText) const;
    // The text to insert, its lines joined by CR LF and no line break after
    // the last; empty when there is nothing to insert or the file cannot be read.
    QString ReadForInsertion(const QString& sName) const;
    // Nothing when the new name is no name or the same; another snippet's
    // name fails and both files stay as they were.
    SResult Rename(const QString& sOldName, const QString& sTypedName) const;
    // A file that is gone already is fine: the list is refreshed either way.
    void Delete(const QString& sName) const;

private:
    QString m_sFolder;
};
