#include "gui/app/widgetprompter.h"

#include "core/app/filefilter.h"
#include "gui/app/namedlg.h"
#include "gui/documents/savemodifieddlg.h"

#include <QFileDialog>
#include <QFileInfo>
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

}  // namespace

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

QString CWidgetPrompter::GetSaveFileName(const QString& sProposed, const QString& sFilter, const QString& sDefaultExt)
{
    QFileDialog dialog(m_owner ? m_owner() : nullptr, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(DialogFilter(sFilter));
    if (sDefaultExt.size() > 1)
        dialog.setDefaultSuffix(sDefaultExt.mid(1));
    dialog.selectFile(sProposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

IPrompter::EAnswer CWidgetPrompter::SaveModified(const QStringList& names, QList<bool>* pSelected)
{
    CSaveModifiedDlg dialog(names, m_owner ? m_owner() : nullptr);
    switch (dialog.exec()) {
    case CSaveModifiedDlg::Yes:
        *pSelected = dialog.Selection();
        return EAnswer::Yes;
    case CSaveModifiedDlg::No:
        return EAnswer::No;
    default:
        return EAnswer::Cancel;
    }
}

QString CWidgetPrompter::GetName(const QString& sCaption, const QString& sInitial)
{
    CNameDlg dialog(sInitial, sCaption, m_owner ? m_owner() : nullptr);
    return dialog.exec() == QDialog::Accepted ? dialog.Name() : QString();
}

QStringList CWidgetPrompter::GetOpenFileNames(const QString& sTitle, const QString& sFilter)
{
    return QFileDialog::getOpenFileNames(m_owner ? m_owner() : nullptr, sTitle, QString(), DialogFilter(sFilter));
}
