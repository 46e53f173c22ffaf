#pragma once

#include <QDialog>

class QListWidget;

// Asks which of the modified documents to save.
class CSaveModifiedDlg : public QDialog
{
    Q_OBJECT
public:
    enum EResult { Cancel = 0, Yes = 1, No = 2 };

    CSaveModifiedDlg(const QStringList& names, QWidget* pParent = nullptr);

    // Which entries are selected, in list order.
    QList<bool> Selection() const;
    QListWidget* List() const { return m_pList; }

private:
    QListWidget* m_pList;
};
