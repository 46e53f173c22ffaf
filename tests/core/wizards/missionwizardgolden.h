#pragma once

// Golden files of the mission wizards: a form, written as "key = value"
// lines, and beside it the exact text the wizard makes of it. Set
// VELK_REGENERATE_GOLDEN=1 to rewrite the texts from the current code;
// review the diff before committing it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QtTest>

namespace GoldenTest {

inline QString Folder(const char* pszName)
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/golden/") + QLatin1String(pszName);
}

inline bool Regenerating()
{
    return qEnvironmentVariableIntValue("VELK_REGENERATE_GOLDEN") != 0;
}

struct SEntry
{
    QString sKey;
    QString sValue;
};

// Blank lines and lines starting with "#" are notes; a value keeps its
// inner blanks, only the blanks around it go.
inline QList<SEntry> ReadForm(const QString& sPath)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<SEntry> entries;
    for (const QString& sLine : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString sTrimmed = sLine.trimmed();
        if (sTrimmed.isEmpty() || sTrimmed.startsWith(u'#'))
            continue;
        const qsizetype nEquals = sTrimmed.indexOf(u'=');
        if (nEquals < 0)
            entries.append({sTrimmed, QString()});
        else
            entries.append({sTrimmed.left(nEquals).trimmed(), sTrimmed.mid(nEquals + 1).trimmed()});
    }
    return entries;
}

// "Name 5": the name and the count after its last blank.
inline std::pair<QString, int> NameAndCount(const QString& sValue)
{
    const qsizetype nBlank = sValue.lastIndexOf(u' ');
    return {sValue.left(nBlank), sValue.mid(nBlank + 1).toInt()};
}

// One data row per form in the folder.
inline void AddFormRows(const char* pszFolder)
{
    QTest::addColumn<QString>("sForm");
    const QDir folder(Folder(pszFolder));
    const QStringList forms = folder.entryList({QStringLiteral("*.form")}, QDir::Files, QDir::Name);
    QVERIFY2(!forms.isEmpty(), qPrintable(QStringLiteral("no forms in ") + folder.path()));
    for (const QString& sForm : forms)
        QTest::newRow(qPrintable(QFileInfo(sForm).completeBaseName())) << folder.filePath(sForm);
}

// Empty when the golden file holds exactly sText; else where they part,
// with the lines around it shown with their line ends.
inline QString Compare(const QString& sGoldenPath, const QString& sText)
{
    const QByteArray actual = sText.toLatin1();
    if (Regenerating()) {
        QSaveFile golden(sGoldenPath);
        if (!golden.open(QIODevice::WriteOnly) || golden.write(actual) != actual.size() || !golden.commit())
            return QStringLiteral("cannot write ") + sGoldenPath;
        return {};
    }
    QFile golden(sGoldenPath);
    if (!golden.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + sGoldenPath;
    const QByteArray expected = golden.readAll();
    if (expected == actual)
        return {};
    qsizetype n = 0;
    while (n < expected.size() && n < actual.size() && expected[n] == actual[n])
        ++n;
    const auto shown = [n](const QByteArray& bytes) {
        QByteArray part = bytes.mid(std::max<qsizetype>(0, n - 40), 80);
        return QString::fromLatin1(part.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t"));
    };
    return QStringLiteral("%1 differs at byte %2:\n   got: %3\n  want: %4")
        .arg(sGoldenPath)
        .arg(n)
        .arg(shown(actual), shown(expected));
}

// The golden text of a form: same name, other extension.
inline QString GoldenPath(const QString& sForm, const char* pszExtension)
{
    const QFileInfo info(sForm);
    return info.dir().filePath(info.completeBaseName() + QLatin1String(pszExtension));
}

}  // namespace GoldenTest
