#include "core/data/wordindex.h"

void CWordIndex::Add(EWordList eList, const CSortStringArray& arWords)
{
    for (const QString& sWord : arWords)
        m_words[FoldAscii(sWord)] |= Bit(eList);
}

bool CWordIndex::Contains(EWordList eList, const QString& sWord) const
{
    return (ListsOf(sWord) & Bit(eList)) != 0;
}
