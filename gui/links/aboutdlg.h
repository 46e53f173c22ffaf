#pragma once

#include <QDialog>

class QLabel;

// "About Velk Edit": what the program is, its version and the machine's memory.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    CAboutDlg(const QString& sVersion, QWidget* pParent = nullptr);

    QString MemoryText() const;

private:
    QLabel* m_pMemory;
};
