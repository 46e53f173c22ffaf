#include "gui/options/proppage3.h"

#include "core/options/optionsform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CPropPage3::CPropPage3(Options::SForm& form, QWidget* pParent) : QWidget(pParent), m_form(form)
{
    auto* pGroup = new QGroupBox(QStringLiteral("Associate these file types with this application"), this);
    auto* pGrid = new QGridLayout(pGroup);
    const auto checks = Options::FileTypeChecks();
    for (size_t i = 0; i < m_checks.size(); ++i) {
        m_checks[i] = new QCheckBox(QLatin1String(checks[i].pszText), pGroup);
        connect(m_checks[i], &QCheckBox::toggled, this, [this, i](bool bOn) { m_form.fileTypes[i] = bOn; });
        pGrid->addWidget(m_checks[i], int(i), 0);
        pGrid->addWidget(new QLabel(QLatin1String(checks[i].pszNote), pGroup), int(i), 1);
    }
    pGrid->setColumnStretch(1, 1);

    const auto addText = [this](QVBoxLayout* pLayout, const char* pszText) {
        auto* pLabel = new QLabel(QLatin1String(pszText), this);
        pLabel->setWordWrap(true);
        pLayout->addWidget(pLabel);
    };
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pGroup);
    addText(pLayout,
            "Check = Associate the file type with this application\n"
            "Uncheck = Restore the file type to it's original condition");
    addText(pLayout,
            "What will file association do?\nBasically, it will allow you to double click a script on "
            "your desktop and open it with this application. Also displays icons for associated file types.");
    addText(pLayout, "NOTE: You may have to reset your computer for some changes to take effect.");
    pLayout->addStretch(1);
    auto* pRestore = new QPushButton(QStringLiteral("Restore Defaults"), this);
    connect(pRestore, &QPushButton::clicked, this, [this] {
        Options::RestoreFileTypeDefaults(m_form);
        ShowForm();
    });
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(pRestore);
    pLayout->addLayout(pButtons);
    ShowForm();
}

void CPropPage3::ShowForm()
{
    for (size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i]->setChecked(m_form.fileTypes[i]);
}
