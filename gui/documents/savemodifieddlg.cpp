#include "gui/documents/savemodifieddlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CSaveModifiedDlg::CSaveModifiedDlg(const QStringList& names, QWidget* pParent)
    : QDialog(pParent)
    , m_pList(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Save Modified Documents"));
    auto* pLabel = new QLabel(QStringLiteral("&Save changes to the following items?"), this);
    pLabel->setBuddy(m_pList);
    m_pList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_pList->addItems(names);
    m_pList->selectAll();

    auto* pYes = new QPushButton(QStringLiteral("&Yes"), this);
    auto* pNo = new QPushButton(QStringLiteral("&No"), this);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pYes->setDefault(true);
    connect(pYes, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(pNo, &QPushButton::clicked, this, [this] { done(No); });
    connect(pCancel, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(pYes);
    pButtons->addWidget(pNo);
    pButtons->addWidget(pCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pLabel);
    pLayout->addWidget(m_pList);
    pLayout->addLayout(pButtons);
    m_pList->setFocus();
}

QList<bool> CSaveModifiedDlg::Selection() const
{
    QList<bool> selection;
    for (int i = 0; i < m_pList->count(); ++i)
        selection.append(m_pList->item(i)->isSelected());
    return selection;
}
