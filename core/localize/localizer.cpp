#include "core/localize/localizer.h"

#include "core/search/textsearch.h"

#include <algorithm>

namespace Localize {

namespace {

// The quote may stand right after the word or after up to four characters.
constexpr int kQuoteWindow = 5;

}  // namespace

const QStringList& CommandWords()
{
    static const QStringList words{QStringLiteral("hint"),      QStringLiteral("hintC"),
                                   QStringLiteral("hintCadet"), QStringLiteral("titleText"),
                                   QStringLiteral("cutText"),   QStringLiteral("groupChat"),
                                   QStringLiteral("sideChat"),  QStringLiteral("vehicleChat")};
    return words;
}

QString Identifier(int nNumber)
{
    return QStringLiteral("STR_%1").arg(nNumber, 2, 10, QLatin1Char('0'));
}

int FirstFreeNumber(const QString& sTable)
{
    int nNumber = 0;
    while (sTable.contains(Identifier(nNumber)))
        ++nNumber;
    return nNumber;
}

SLocalized LocalizeText(const QString& sText, int nFirst)
{
    SLocalized result{sText, QString(), nFirst, 0, 0, 0};
    const STextSearchOptions options{.bMatchCase = false, .bWholeWord = true, .bForward = true};
    for (const QString& sWord : CommandWords()) {
        const QString sIn = result.sText;
        QString sOut;
        int nCopied = 0;
        for (int nAt = 0;;) {
            const STextMatch match = TextSearch::FindNext(sIn, sWord, nAt, options);
            if (!match.IsFound())
                break;
            nAt = match.End();
            const int nWindowEnd = std::min(int(sIn.size()), match.End() + kQuoteWindow);
            const qsizetype nOpen = QStringView(sIn).first(nWindowEnd).indexOf(u'"', match.End());
            if (nOpen < 0)
                continue;
            const qsizetype nClose = sIn.indexOf(u'"', nOpen + 1);
            if (nClose < 0)
                continue;
            const QString sIdentifier = Identifier(result.nNext++);
            ++result.nCount;
            result.sTableLines += sIdentifier;
            result.sTableLines += u',';
            result.sTableLines += QStringView(sIn).mid(nOpen, nClose + 1 - nOpen);
            result.sTableLines += u"\r\n";
            sOut += QStringView(sIn).mid(nCopied, nOpen - nCopied);
            sOut += QStringLiteral("localize \"%1\"").arg(sIdentifier);
            nCopied = int(nClose) + 1;
            nAt = nCopied;
        }
        if (nCopied == 0)
            continue;
        sOut += QStringView(sIn).mid(nCopied);
        result.sText = std::move(sOut);
    }
    // The changed stretch, for an editor that replaces only what changed.
    const QStringView before(sText);
    const QStringView after(result.sText);
    const qsizetype nShorter = std::min(before.size(), after.size());
    qsizetype nPrefix = 0;
    while (nPrefix < nShorter && before[nPrefix] == after[nPrefix])
        ++nPrefix;
    qsizetype nSuffix = 0;
    while (nSuffix < nShorter - nPrefix && before[before.size() - 1 - nSuffix] == after[after.size() - 1 - nSuffix])
        ++nSuffix;
    result.nFirstChange = int(nPrefix);
    result.nOldEnd = int(before.size() - nSuffix);
    return result;
}

}  // namespace Localize
