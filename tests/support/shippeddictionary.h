#pragma once

// The dictionary as the program ships it, loaded once per process, with its
// completion list built as at start-up.

#include "core/app/datapaths.h"
#include "core/data/dictionary.h"

namespace VelkTest {

inline const CDictionary& ShippedDictionary()
{
    static const CDictionary dictionary = [] {
        CDictionary d;
        d.LoadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), true);
        d.BuildAutoComplete(true);
        return d;
    }();
    return dictionary;
}

}  // namespace VelkTest
