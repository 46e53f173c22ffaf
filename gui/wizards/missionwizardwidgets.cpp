#include "gui/wizards/missionwizardwidgets.h"

#include "core/app/prompter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

namespace MissionWizardWidgets {

QSpinBox* CountBox(int nValue, QWidget* pParent)
{
    auto* pBox = new QSpinBox(pParent);
    pBox->setRange(0, kCountLimit);
    pBox->setValue(nValue);
    return pBox;
}

QSpinBox* ArrowCountBox(int nMaximum, QWidget* pParent)
{
    QSpinBox* pBox = CountBox(0, pParent);
    pBox->setMaximum(nMaximum);
    // The box's own field: read-only there, the box still steps.
    if (auto* pField = pBox->findChild<QLineEdit*>())
        pField->setReadOnly(true);
    return pBox;
}

QLabel* Label(const QString& sText, QWidget* pBuddy, QWidget* pParent)
{
    auto* pLabel = new QLabel(sText, pParent);
    pLabel->setBuddy(pBuddy);
    return pLabel;
}

void Fill(QComboBox* pList, const QStringList& items)
{
    pList->clear();
    pList->addItems(items);
    pList->setCurrentIndex(0);
}

QStringList Items(const QComboBox* pList)
{
    QStringList items;
    for (int i = 0; i < pList->count(); ++i)
        items.append(pList->itemText(i));
    return items;
}

void SelectAllSoon(QLineEdit* pEdit)
{
    // A mouse click places the caret after the focus arrives; selecting
    // right away would be undone by it.
    QTimer::singleShot(0, pEdit, [pEdit] { pEdit->selectAll(); });
}

bool CreateAnother(IPrompter& prompter)
{
    return prompter.Ask(QStringLiteral("Script was created successfully.\n\nWould you like to create another?"),
                        QStringLiteral("Script Created"), IPrompter::EButtons::YesNo, IPrompter::EIcon::Question)
        == IPrompter::EAnswer::Yes;
}

}  // namespace MissionWizardWidgets
