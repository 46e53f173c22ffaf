#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A desktop's mimeapps.list, edited in place: the lines we do not change stay
// exactly as they were, byte for byte, comments and other groups included,
// whatever encoding or line ends they were written with.
class CMimeAppsList
{
public:
    static inline const QString kDefaults = QStringLiteral("Default Applications");

    // A missing file reads as empty; false only when it exists but cannot be read.
    bool Load(const QString& sPath);
    // Written whole or not at all; *psError says why not.
    bool Save(const QString& sPath, QString* psError = nullptr) const;
    // The same without the disk: the list from a file's bytes, and the bytes Save writes.
    void Parse(const QByteArray& bytes);
    QByteArray Bytes() const;

    QString Value(const QString& sGroup, const QString& sKey) const;
    void SetValue(const QString& sGroup, const QString& sKey, const QString& sValue);
    void RemoveValue(const QString& sGroup, const QString& sKey);

private:
    // Index of the group's header line, or -1; *pnEnd gets the line after its last entry.
    int FindGroup(const QString& sGroup, int* pnEnd) const;
    int FindKey(const QString& sGroup, const QString& sKey) const;
    void InsertLine(int nIndex, const QString& sLine);
    // Drops the key's lines after the line nKept of its group.
    void RemoveDuplicates(const QString& sGroup, const QString& sKey, int nKept);

    // Each line as read, its line feed included (the last may have none).
    QList<QByteArray> m_lines;
};
