#include "gui/options/propsheet.h"

#include "gui/options/proppage1.h"
#include "gui/options/proppage2.h"
#include "gui/options/proppage3.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CPropSheet::CPropSheet(const Options::SForm& form, QWidget* pParent)
    : QDialog(pParent)
    , m_form(form)
    , m_pTabs(new QTabWidget(this))
    , m_pGeneral(new CPropPage1(m_form, m_pTabs))
    , m_pSettings(new CPropPage2(m_form, m_pTabs))
    , m_pFileTypes(new CPropPage3(m_form, m_pTabs))
    , m_pButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Options"));
    m_pTabs->addTab(m_pGeneral, QStringLiteral("General"));
    m_pTabs->addTab(m_pSettings, QStringLiteral("Settings"));
    m_pTabs->addTab(m_pFileTypes, QStringLiteral("File Types"));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(m_pButtons);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
