#pragma once

#include <QString>

class QPlainTextEdit;

// The wizards' forms keep line breaks as CR LF, as their pages store them;
// a text box has its own.
namespace WizardText {

// The box's text exactly as typed: no-break spaces stay what they are.
QString FromBox(const QPlainTextEdit* pBox);
void ToBox(QPlainTextEdit* pBox, const QString& sText);
// A text cursor's selection, with its paragraph marks as line breaks.
QString FromSelection(const QString& sSelected);

}  // namespace WizardText
