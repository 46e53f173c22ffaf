#pragma once

// Scripts shaped like the ones mission authors really open: tab indentation,
// thousands of distinct local variables used with a skew (a few often, most
// now and then), // and /* */ remarks, strings, numbers, command words from
// the shipped dictionary, and a few position tables of 70-150 KB on one line.
// The same shape always comes out the same.

#include "core/data/filetype.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace RealScript {

struct SShape
{
    qsizetype nChars = 5'000'000;
    EFileType eType = kFileSQF;
    int nVariables = 15'000;  // distinct local variables
    int nLongLines = 4;       // position tables of 70-150 KB
    quint32 nSeed = 1;
};

// The distinct local variables a script of the shape draws from, as typed
// (mixed case, as authors write them).
inline QStringList VariableNames(int nCount)
{
    static const char* kStems[]
        = {"unit",  "targetPos", "grp",   "veh",    "wp",        "marker", "pos",      "dir",    "crew",
           "i",     "trig",      "side",  "leader", "ammo",      "house",  "spawnPos", "heli",   "pilot",
           "cargo", "dist",      "enemy", "convoy", "waveCount", "obj",    "list",     "bldPos", "timeOut"};
    QStringList names;
    names.reserve(nCount);
    const int nStems = int(std::size(kStems));
    for (int i = 0; i < nCount; ++i) {
        const QString sStem = QLatin1String(kStems[i % nStems]);
        const int nRound = i / nStems;
        names.append(nRound == 0 ? QLatin1Char('_') + sStem : QStringLiteral("_%1%2").arg(sStem).arg(nRound));
    }
    return names;
}

class CGenerator
{
public:
    CGenerator(const SShape& shape, QStringList commands)
        : m_shape(shape)
        , m_random(shape.nSeed)
        , m_vars(VariableNames(std::max(shape.nVariables, 1)))
        , m_commands(std::move(commands))
    {
        if (m_commands.isEmpty())
            m_commands = {QStringLiteral("setPos"), QStringLiteral("getPos"), QStringLiteral("alive")};
    }

    // Lines joined by "\n", as the editor holds a text.
    QString Make()
    {
        QString sText;
        sText.reserve(m_shape.nChars + 200'000);
        // The long lines sit at even steps through the text.
        const qsizetype nLongEvery = m_shape.nLongLines > 0 ? m_shape.nChars / (m_shape.nLongLines + 1) : 0;
        qsizetype nNextLong = nLongEvery > 0 ? nLongEvery : m_shape.nChars + 1;
        int nLongMade = 0;
        while (sText.size() < m_shape.nChars) {
            if (sText.size() >= nNextLong && nLongMade < m_shape.nLongLines) {
                sText += PositionTable(70'000 + int(m_random.bounded(80'000)));
                ++nLongMade;
                nNextLong += nLongEvery;
            } else {
                sText += m_shape.eType == kFileSQS ? ScriptLine() : FunctionLine();
            }
            sText += QLatin1Char('\n');
        }
        return sText;
    }

private:
    // Most uses go to a few variables, and every variable turns up.
    const QString& Var()
    {
        const int n = int(m_vars.size());
        const quint32 r = m_random.bounded(8u);
        const int i = r < 5 ? int(m_random.bounded(std::min(n, 40))) : int(m_random.bounded(n));
        return m_vars[i];
    }
    QString Fresh()
    {
        // Walks through every variable once so all of them are met.
        return m_vars[m_nFresh++ % m_vars.size()];
    }
    const QString& Command() { return m_commands[int(m_random.bounded(int(m_commands.size())))]; }
    QString Number() { return QString::number(m_random.bounded(100'000) / 10.0, 'f', 1); }
    QString Indent() const { return QString(m_nDepth, QLatin1Char('\t')); }
    QString Position() { return QStringLiteral("[%1,%2,%3]").arg(Number(), Number()).arg(m_random.bounded(20)); }

    QString PositionTable(int nChars)
    {
        QString sLine = QStringLiteral("%1 = [").arg(Fresh());
        while (sLine.size() < nChars)
            sLine += Position() + QLatin1Char(',');
        sLine += Position() + QStringLiteral("];");
        return sLine;
    }

    QString FunctionLine()
    {
        if (m_nCommentLeft > 0) {
            --m_nCommentLeft;
            return m_nCommentLeft == 0 ? QStringLiteral("*/")
                                       : QStringLiteral("\t%1 sets %2 on %3").arg(Command(), Var(), Number());
        }
        const QString sIndent = Indent();
        switch (m_random.bounded(14)) {
        case 0:
            return sIndent + QStringLiteral("// %1 the %2 before %3").arg(Command(), Var(), Command());
        case 1:
            m_nCommentLeft = 2 + int(m_random.bounded(4));
            return QStringLiteral("/* %1: %2 and %3").arg(Fresh(), Command(), Number());
        case 2:
            if (m_nDepth < 6) {
                ++m_nDepth;
                return sIndent
                    + QStringLiteral("if (alive %1 && {%2 distance %3 < %4}) then {")
                          .arg(Var(), Var(), Var(), Number());
            }
            [[fallthrough]];
        case 3:
            if (m_nDepth > 0) {
                --m_nDepth;
                return Indent() + QStringLiteral("};");
            }
            [[fallthrough]];
        case 4:
            return sIndent + QStringLiteral("%1 = _this select %2;").arg(Fresh()).arg(m_random.bounded(6));
        case 5:
            return sIndent + QStringLiteral("%1 setPos %2; // %3").arg(Var(), Position(), Command());
        case 6:
            return sIndent
                + QStringLiteral("hint format [\"%1 of %2: %3\", %4, %5];")
                      .arg(Command(), Var(), Number(), Var(), Var());
        case 7:
            return sIndent + QStringLiteral("{ _x %1 %2 } forEach units %3;").arg(Command(), Number(), Var());
        case 8:
            return sIndent + QStringLiteral("private [\"%1\", \"%2\", \"%3\"];").arg(Fresh(), Var(), Var());
        case 9:
            return sIndent + QStringLiteral("%1 = \"%2\" createVehicle (getPos %3);").arg(Var(), Command(), Var());
        case 10:
            return sIndent + QStringLiteral("%1 = %2 + %3 * (%4 - %5);").arg(Var(), Var(), Number(), Var(), Number());
        case 11:
            return sIndent
                + QStringLiteral("waitUntil {sleep %1; !(alive %2) || (_time > %3)};").arg(Number(), Var(), Number());
        case 12:
            return QString();
        default:
            return sIndent + QStringLiteral("%1 %2 %3;").arg(Var(), Command(), Var());
        }
    }

    QString ScriptLine()
    {
        switch (m_random.bounded(12)) {
        case 0:
            return QStringLiteral("; %1 the %2, then %3").arg(Command(), Var(), Command());
        case 1:
            return QStringLiteral("#loop%1").arg(m_random.bounded(50));
        case 2:
            return QStringLiteral("?!(alive %1) : goto \"loop%2\"").arg(Var()).arg(m_random.bounded(50));
        case 3:
            return QStringLiteral("~%1").arg(Number());
        case 4:
            return QStringLiteral("%1 = _this select %2").arg(Fresh()).arg(m_random.bounded(6));
        case 5:
            return QStringLiteral("\t%1 setPos %2").arg(Var(), Position());
        case 6:
            return QStringLiteral("\thint format [\"%1 has %%1\", %2]").arg(Command(), Var());
        case 7:
            return QStringLiteral("\t%1 = %2 + %3").arg(Var(), Var(), Number());
        case 8:
            return QStringLiteral("\"%1 %2\" forEach units %3").arg(Command(), Number(), Var());
        case 9:
            return QString();
        default:
            return QStringLiteral("\t%1 %2 %3").arg(Var(), Command(), Var());
        }
    }

    SShape m_shape;
    QRandomGenerator m_random;
    QStringList m_vars;
    QStringList m_commands;
    int m_nDepth = 0;
    int m_nCommentLeft = 0;
    int m_nFresh = 0;
};

inline QString Make(const SShape& shape, const QStringList& commands)
{
    return CGenerator(shape, commands).Make();
}

// The file's bytes as an author's editor saved them: CR LF, one byte a character.
inline QByteArray FileBytes(const QString& sText)
{
    QByteArray bytes = sText.toLatin1();
    bytes.replace("\n", "\r\n");
    return bytes;
}

}  // namespace RealScript
