#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// One hive of a Wine prefix's registry as Wine saves it (system.reg holds
// HKEY_LOCAL_MACHINE): "[Key\\Sub\\Key] stamp" sections of "name"=value lines,
// names and strings written with Wine's backslash escapes. Key and value
// names compare without regard to case, as the registry does.
class CWineRegistry
{
public:
    enum class EResult { Found, NoKey, NoValue, NotAString, TooLong };
    struct SLookup
    {
        EResult eResult = EResult::NoKey;
        QString sValue;  // set only when found
    };

    // An install folder longer than a Windows path may be is no folder the
    // game could have been installed to.
    static constexpr qsizetype kMaxValueLength = 260;

    explicit CWineRegistry(const QByteArray& text);

    // The plain string value sName of the key sKey (its parts separated by
    // single backslashes); other value types answer NotAString.
    SLookup ReadString(const QString& sKey, const QString& sName) const;

    // Wine's escapes undone in a quoted run that starts after its opening
    // character and ends at the unescaped cClose; *pnEnd gets the index just
    // past cClose, or -1 when the run is not closed.
    static QString Unescape(QStringView text, qsizetype nFrom, QChar cClose, qsizetype* pnEnd);

private:
    QString m_sText;
};
