#pragma once

#include <QString>
#include <QStringList>

// Message boxes and file dialogs, behind an interface so that tests script
// the user's answers instead of blocking on a modal window.
class IPrompter
{
public:
    enum class EIcon { None, Information, Warning, Error, Question };
    enum class EButtons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class EAnswer { Ok, Cancel, Yes, No };

    virtual ~IPrompter() = default;

    virtual EAnswer Ask(const QString& sText, const QString& sCaption, EButtons eButtons, EIcon eIcon) = 0;
    // Empty when the user cancelled.
    virtual QString GetOpenFileName(const QString& sTitle, const QString& sFilter) = 0;

    void ShowMessage(const QString& sText, const QString& sCaption, EIcon eIcon = EIcon::None)
    {
        Ask(sText, sCaption, EButtons::Ok, eIcon);
    }
};
