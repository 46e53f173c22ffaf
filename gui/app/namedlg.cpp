#include "gui/app/namedlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CNameDlg::CNameDlg(const QString& sName, const QString& sCaption, QWidget* pParent)
    : QDialog(pParent)
    , m_pEdit(new QLineEdit(sName, this))
{
    setWindowTitle(sCaption);
    auto* pLabel = new QLabel(QStringLiteral("&Add the new name and press OK."), this);
    pLabel->setBuddy(m_pEdit);
    // The old name is usually replaced whole, so typing overwrites it.
    m_pEdit->selectAll();

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pLabel);
    pLayout->addWidget(m_pEdit);
    pLayout->addLayout(pButtons);
    m_pEdit->setFocus();
}

QString CNameDlg::Name() const
{
    return m_pEdit->text();
}
