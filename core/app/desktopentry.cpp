#include "core/app/desktopentry.h"

#include <QList>

namespace {

const QByteArray kMark = "X-VelkEdit-Written-By-Program=true";

// Characters that make the launcher split or interpret an unquoted argument.
bool IsReserved(QChar c)
{
    return QStringLiteral(" \t\n\"'\\><~|&;$*?#()`").contains(c);
}

// A literal argument of the Exec key, before the key's string escapes.
QString QuoteArgument(const QString& sArgument)
{
    QString sOut;
    bool bQuote = sArgument.isEmpty();
    for (const QChar c : sArgument) {
        bQuote = bQuote || IsReserved(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            sOut += u'\\';
        sOut += c;
        // Field codes start with "%"; a literal one is doubled.
        if (c == u'%')
            sOut += u'%';
    }
    // Unquoted, no character needed a backslash: every one of them is reserved.
    return bQuote ? u'"' + sOut + u'"' : sOut;
}

// The escapes every string value of a desktop file is read with.
QString EscapeValue(const QString& sValue)
{
    QString sOut;
    for (const QChar c : sValue) {
        switch (c.unicode()) {
        case u'\\':
            sOut += QStringLiteral("\\\\");
            break;
        case u'\n':
            sOut += QStringLiteral("\\n");
            break;
        case u'\t':
            sOut += QStringLiteral("\\t");
            break;
        case u'\r':
            sOut += QStringLiteral("\\r");
            break;
        default:
            sOut += c;
        }
    }
    return sOut;
}

}  // namespace

namespace DesktopEntry {

QString ExecValue(const QString& sExecutable)
{
    return EscapeValue(QuoteArgument(sExecutable)) + QStringLiteral(" %f");
}

QByteArray Text(const QString& sExecutable, const QString& sMimeType, const QString& sComment)
{
    // Hidden from the menus: six entries of one program would only clutter
    // them, and the type's handler need not be listed to be used.
    const QString sText = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Velk Edit\n"
                                         "GenericName=Mission Editor\n"
                                         "Comment=%1\n"
                                         "Exec=%2\n"
                                         "Icon=velkedit\n"
                                         "Terminal=false\n"
                                         "NoDisplay=true\n"
                                         "MimeType=%3;\n"
                                         "Categories=Development;TextEditor;\n")
                              .arg(EscapeValue(sComment), ExecValue(sExecutable), sMimeType);
    return sText.toUtf8() + kMark + '\n';
}

bool IsOwn(const QByteArray& bytes)
{
    for (const QByteArray& line : bytes.split('\n'))
        if (line.trimmed() == kMark)
            return true;
    return false;
}

}  // namespace DesktopEntry
