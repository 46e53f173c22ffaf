#pragma once

// Expected files of the wizards' output. VELK_REGENERATE_GOLDEN=1 writes
// what the wizards make now in their place, for review with git diff before
// the change is committed.

#include "core/data/atomicfile.h"
#include "core/data/codepage.h"

#include <QFile>
#include <QString>

namespace VelkTest {

inline bool RegeneratingGolden()
{
    return qEnvironmentVariableIntValue("VELK_REGENERATE_GOLDEN") == 1;
}

// The bytes a document holding the text saves to: Windows-1252, or UTF-8
// when the code page cannot hold every character.
inline QByteArray SavedBytes(const QString& sText)
{
    bool bSwitched = false;
    return CodePage::EncodeForSaving(sText, ETextEncoding::Cp1252, &bSwitched);
}

// Empty when the file holds the bytes (or, regenerating, now does); else
// where they first differ, with the line around it. No bytes stand for no
// file: a case whose output is nothing has none.
inline QString AgainstGolden(const QString& sPath, const QByteArray& actual)
{
    if (RegeneratingGolden()) {
        if (actual.isEmpty())
            return QFile::exists(sPath) && !QFile::remove(sPath) ? QStringLiteral("cannot remove ") + sPath : QString();
        QString sError;
        return AtomicFile::Write(sPath, actual, &sError) ? QString() : sPath + QStringLiteral(": ") + sError;
    }
    QFile file(sPath);
    if (!file.exists())
        return actual.isEmpty() ? QString() : QStringLiteral("missing ") + sPath;
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + sPath;
    const QByteArray expected = file.readAll();
    if (expected == actual)
        return QString();
    qsizetype nAt = 0;
    while (nAt < expected.size() && nAt < actual.size() && expected[nAt] == actual[nAt])
        ++nAt;
    const qsizetype nLineStart = actual.lastIndexOf('\n', nAt - 1) + 1;
    const int nLine = int(actual.left(nAt).count('\n')) + 1;
    return QStringLiteral("%1, line %2, byte %3: got \"%4\", expected \"%5\"")
        .arg(sPath)
        .arg(nLine)
        .arg(nAt)
        .arg(QString::fromLatin1(actual.mid(nLineStart, nAt - nLineStart + 40).toPercentEncoding(" <>\"!-=/[]#:;.")),
             QString::fromLatin1(expected.mid(nLineStart, nAt - nLineStart + 40).toPercentEncoding(" <>\"!-=/[]#:;.")));
}

}  // namespace VelkTest
