#include "core/links/wineregistry.h"

#include <QList>

namespace {

int HexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

QChar ControlEscape(QChar c)
{
    switch (c.unicode()) {
    case u'a':
        return QChar(0x07);
    case u'b':
        return QChar(0x08);
    case u'e':
        return QChar(0x1b);
    case u'f':
        return QChar(0x0c);
    case u'n':
        return QChar(0x0a);
    case u'r':
        return QChar(0x0d);
    case u't':
        return QChar(0x09);
    case u'v':
        return QChar(0x0b);
    default:
        return QChar();
    }
}

// The key named by a section header line, or nothing for any other line.
bool SectionName(QStringView line, QString* psKey)
{
    if (!line.startsWith(u'['))
        return false;
    qsizetype nEnd = -1;
    *psKey = CWineRegistry::Unescape(line, 1, u']', &nEnd);
    return nEnd >= 0;
}

}  // namespace

CWineRegistry::CWineRegistry(const QByteArray& text) : m_sText(QString::fromUtf8(text))
{
}

QString CWineRegistry::Unescape(QStringView text, qsizetype nFrom, QChar cClose, qsizetype* pnEnd)
{
    QString sOut;
    qsizetype i = nFrom;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == cClose) {
            *pnEnd = i + 1;
            return sOut;
        }
        ++i;
        if (c != u'\\' || i >= text.size()) {
            sOut += c;
            continue;
        }
        const QChar cEscaped = text[i++];
        if (cEscaped == u'x') {
            // Up to four hex digits name one UTF-16 unit.
            int nCode = 0;
            int nDigits = 0;
            for (; nDigits < 4 && i < text.size() && HexValue(text[i]) >= 0; ++nDigits, ++i)
                nCode = nCode * 16 + HexValue(text[i]);
            sOut += nDigits ? QChar(char16_t(nCode)) : QChar(u'x');
        } else if (cEscaped >= u'0' && cEscaped <= u'7') {
            int nCode = cEscaped.unicode() - u'0';
            for (int nDigits = 1; nDigits < 3 && i < text.size() && text[i] >= u'0' && text[i] <= u'7'; ++nDigits, ++i)
                nCode = nCode * 8 + (text[i].unicode() - u'0');
            sOut += QChar(char16_t(nCode));
        } else if (const QChar cControl = ControlEscape(cEscaped); !cControl.isNull()) {
            sOut += cControl;
        } else {
            // Backslash, quote and brackets stand for themselves.
            sOut += cEscaped;
        }
    }
    *pnEnd = -1;
    return sOut;
}

CWineRegistry::SLookup CWineRegistry::ReadString(const QString& sKey, const QString& sName) const
{
    bool bInKey = false;
    bool bKeyFound = false;
    for (QStringView line : QStringView(m_sText).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        QString sSection;
        if (SectionName(line, &sSection)) {
            bInKey = sSection.compare(sKey, Qt::CaseInsensitive) == 0;
            bKeyFound = bKeyFound || bInKey;
            continue;
        }
        if (!bInKey)
            continue;
        QString sValueName;
        qsizetype nAfterName = -1;
        if (line.startsWith(u'@')) {
            nAfterName = 1;
        } else if (line.startsWith(u'"')) {
            sValueName = Unescape(line, 1, u'"', &nAfterName);
        }
        // "@" is the key's unnamed default value.
        if (nAfterName < 0 || sValueName.compare(sName, Qt::CaseInsensitive) != 0)
            continue;
        if (nAfterName >= line.size() || line[nAfterName] != u'=')
            continue;
        const qsizetype nData = nAfterName + 1;
        if (nData >= line.size() || line[nData] != u'"')
            return {EResult::NotAString, {}};
        qsizetype nEnd = -1;
        QString sValue = Unescape(line, nData + 1, u'"', &nEnd);
        if (nEnd < 0)
            return {EResult::NotAString, {}};
        // A string written with its terminating NUL reads without it.
        if (sValue.endsWith(QChar(0)))
            sValue.chop(1);
        if (sValue.size() > kMaxValueLength)
            return {EResult::TooLong, {}};
        return {EResult::Found, sValue};
    }
    return {bKeyFound ? EResult::NoValue : EResult::NoKey, {}};
}
