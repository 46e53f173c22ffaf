#include "core/app/namechars.h"

namespace NameChars {

QString Strip(const QString& sName)
{
    QString sStripped;
    sStripped.reserve(sName.size());
    for (const QChar c : sName)
        if (!kForbidden.contains(c))
            sStripped.append(c);
    return sStripped;
}

}  // namespace NameChars
