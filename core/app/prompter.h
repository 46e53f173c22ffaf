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

    // The name prompt's title unless a command gives its own.
    static inline const QString kNewName = QStringLiteral("New Name");

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

    // The name prompt, titled sCaption, its field holding sInitial. The name
    // comes back as typed: stripping the characters a file name cannot hold
    // is the caller's (NameChars::Strip). Empty when cancelled.
    virtual QString GetName(const QString& sCaption, const QString& sInitial)
    {
        Q_UNUSED(sCaption);
        Q_UNUSED(sInitial);
        return QString();
    }
    // Existing files, several at once, in the order the dialog reports them;
    // empty when cancelled.
    virtual QStringList GetOpenFileNames(const QString& sTitle, const QString& sFilter)
    {
        Q_UNUSED(sTitle);
        Q_UNUSED(sFilter);
        return QStringList();
    }

    void ShowMessage(const QString& sText, const QString& sCaption, EIcon eIcon = EIcon::None)
    {
        Ask(sText, sCaption, EButtons::Ok, eIcon);
    }
};
