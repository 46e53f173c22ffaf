#pragma once

#include <QString>
#include <QStringList>

class IPrompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

// Small pieces the description, unit and crate dialogs build alike.
namespace MissionWizardWidgets {

// Counts have no upper bound of their own; this one only keeps the box a
// sensible width.
constexpr int kCountLimit = 999999;

// A digits-only count with arrows, never below 0.
QSpinBox* CountBox(int nValue, QWidget* pParent);
// A count the arrows and the arrow keys change, never typed into.
QSpinBox* ArrowCountBox(int nMaximum, QWidget* pParent);
// A label whose mnemonic moves the focus to its control.
QLabel* Label(const QString& sText, QWidget* pBuddy, QWidget* pParent);
// Replaces the items and selects the first.
void Fill(QComboBox* pList, const QStringList& items);
QStringList Items(const QComboBox* pList);
// A name field takes a click or a tab as "replace it": its whole text is
// selected once the focus has settled there.
void SelectAllSoon(QLineEdit* pEdit);
// After a script was made: whether the user wants to make another at once.
bool CreateAnother(IPrompter& prompter);

}  // namespace MissionWizardWidgets
