#pragma once

#include <QString>
#include <QList>
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
    // sProposed is the name the dialog starts with; a name typed without an
    // extension gets sDefaultExt. Empty when cancelled; a prompter that
    // cannot ask answers that way.
    virtual QString GetSaveFileName(const QString& sProposed, const QString& sFilter, const QString& sDefaultExt)
    {
        Q_UNUSED(sProposed);
        Q_UNUSED(sFilter);
        Q_UNUSED(sDefaultExt);
        return QString();
    }
    // The "Save Modified Documents" question: the names listed, all selected
    // at first; on Yes, *pSelected tells which the user left selected.
    virtual EAnswer SaveModified(const QStringList& names, QList<bool>* pSelected)
    {
        Q_UNUSED(names);
        Q_UNUSED(pSelected);
        return EAnswer::Cancel;
    }

    void ShowMessage(const QString& sText, const QString& sCaption, EIcon eIcon = EIcon::None)
    {
        Ask(sText, sCaption, EButtons::Ok, eIcon);
    }
};
