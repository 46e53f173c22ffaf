#pragma once

#include <QString>
#include <QStringList>

// A desktop's mimeapps.list, edited in place: the lines we do not change stay
// exactly as they were, comments and other groups included.
class CMimeAppsList
{
public:
    static inline const QString kDefaults = QStringLiteral("Default Applications");

    // A missing file reads as empty; false only when it exists but cannot be read.
    bool Load(const QString& sPath);
    // Written whole or not at all; *psError says why not.
    bool Save(const QString& sPath, QString* psError = nullptr) const;

    QString Value(const QString& sGroup, const QString& sKey) const;
    void SetValue(const QString& sGroup, const QString& sKey, const QString& sValue);
    void RemoveValue(const QString& sGroup, const QString& sKey);

private:
    // Index of the group's header line, or -1; *pnEnd gets the line after its last entry.
    int FindGroup(const QString& sGroup, int* pnEnd) const;
    int FindKey(const QString& sGroup, const QString& sKey) const;

    QStringList m_lines;
};
