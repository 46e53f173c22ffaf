#pragma once

#include <QString>
#include <QStringList>

// Moves the quoted texts of the message commands of a script into string
// table entries, leaving references to them behind.
namespace Localize {

// The message commands, in the order their texts are taken.
const QStringList& CommandWords();
// "STR_07", "STR_42", "STR_123".
QString Identifier(int nNumber);
// The first number whose identifier the table's text does not hold.
int FirstFreeNumber(const QString& sTable);

struct SLocalized
{
    QString sText;        // the script with every text replaced by its reference
    QString sTableLines;  // one "STR_xx,\"text\"\r\n" line per text, in the order taken
    int nNext = 0;        // the number the next text gets
    int nCount = 0;       // how many texts were taken
    // sText differs from the script only from nFirstChange up to nOldEnd of
    // the script (and the same distance before the end of sText).
    int nFirstChange = 0;
    int nOldEnd = 0;
};
// Every text standing after a command word (as a whole word, in any case,
// its opening quote at most four characters after the word) is replaced,
// numbered from nFirst. One pass over the text per command word.
SLocalized LocalizeText(const QString& sText, int nFirst);

}  // namespace Localize
