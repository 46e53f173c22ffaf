#pragma once

#include "core/app/prompter.h"

#include <functional>

class QWidget;

// Real message boxes and file dialogs, owned by whatever window is the main one.
class CWidgetPrompter : public IPrompter
{
public:
    explicit CWidgetPrompter(std::function<QWidget*()> owner) : m_owner(std::move(owner)) { }

    EAnswer Ask(const QString& sText, const QString& sCaption, EButtons eButtons, EIcon eIcon) override;
    QString GetOpenFileName(const QString& sTitle, const QString& sFilter) override;
    QString GetSaveFileName(const QString& sProposed, const QString& sFilter, const QString& sDefaultExt) override;
    EAnswer SaveModified(const QStringList& names, QList<bool>* pSelected) override;
    QString GetName(const QString& sCaption, const QString& sInitial) override;
    QStringList GetOpenFileNames(const QString& sTitle, const QString& sFilter) override;

private:
    std::function<QWidget*()> m_owner;
};
