#pragma once

#include "core/app/prompter.h"

#include <QDialog>

class QLineEdit;

// Asks for one name: of a project, a project file or a snippet.
class CNameDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CNameDlg(const QString& sName, const QString& sCaption = IPrompter::kNewName, QWidget* pParent = nullptr);

    // The name as typed, untrimmed: what it may hold is the caller's rule.
    QString Name() const;
    QLineEdit* Edit() const { return m_pEdit; }

private:
    QLineEdit* m_pEdit;
};
