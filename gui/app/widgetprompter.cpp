#include "gui/app/widgetprompter.h"

#include "core/app/filefilter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(IPrompter::EIcon eIcon)
{
    switch (eIcon) {
    case IPrompter::EIcon::Information:
        return QMessageBox::Information;
    case IPrompter::EIcon::Warning:
        return QMessageBox::Warning;
    case IPrompter::EIcon::Error:
        return QMessageBox::Critical;
    case IPrompter::EIcon::Question:
        return QMessageBox::Question;
    case IPrompter::EIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(IPrompter::EButtons eButtons)
{
    switch (eButtons) {
    case IPrompter::EButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case IPrompter::EButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case IPrompter::EButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case IPrompter::EButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

IPrompter::EAnswer CWidgetPrompter::Ask(const QString& sText, const QString& sCaption, EButtons eButtons, EIcon eIcon)
{
    QMessageBox box(BoxIcon(eIcon), sCaption, sText, BoxButtons(eButtons), m_owner ? m_owner() : nullptr);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return EAnswer::Yes;
    case QMessageBox::No:
        return EAnswer::No;
    case QMessageBox::Ok:
        return EAnswer::Ok;
    default:
        return EAnswer::Cancel;
    }
}

QString CWidgetPrompter::GetOpenFileName(const QString& sTitle, const QString& sFilter)
{
    return QFileDialog::getOpenFileName(m_owner ? m_owner() : nullptr, sTitle, QString(), DialogFilter(sFilter));
}
