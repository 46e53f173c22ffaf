#include "gui/wizards/wizardtext.h"

#include <QPlainTextEdit>

namespace WizardText {

namespace {

QString WithCrLf(QString sText)
{
    sText.replace(QChar::ParagraphSeparator, u'\n');
    sText.replace(QChar::LineSeparator, u'\n');
    return sText.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

}  // namespace

QString FromBox(const QPlainTextEdit* pBox)
{
    return WithCrLf(pBox->document()->toRawText());
}

void ToBox(QPlainTextEdit* pBox, const QString& sText)
{
    QString sShown = sText;
    sShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Setting the same text again would move the caret to the start.
    if (FromBox(pBox) != WithCrLf(sShown))
        pBox->setPlainText(sShown);
}

QString FromSelection(const QString& sSelected)
{
    QString sText = sSelected;
    sText.replace(QChar::ParagraphSeparator, u'\n');
    return sText.replace(QChar::LineSeparator, u'\n');
}

}  // namespace WizardText
