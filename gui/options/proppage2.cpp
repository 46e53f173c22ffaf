#include "gui/options/proppage2.h"

#include "core/options/optionsform.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPropPage2::CPropPage2(Options::SForm& form, QWidget* pParent)
    : QWidget(pParent)
    , m_form(form)
    , m_pAuthor(new QLineEdit(this))
{
    auto* pLayout = new QVBoxLayout(this);
    const auto checks = Options::SettingsChecks();
    for (size_t i = 0; i < m_checks.size(); ++i) {
        m_checks[i] = new QCheckBox(QLatin1String(checks[i].pszText), this);
        connect(m_checks[i], &QCheckBox::toggled, this, [this, i](bool bOn) { m_form.checks[i] = bOn; });
        pLayout->addWidget(m_checks[i]);
        // The name the headers carry sits under the header switch.
        if (i == 2) {
            auto* pRow = new QHBoxLayout;
            auto* pLabel = new QLabel(QStringLiteral("Author's &Name"), this);
            pLabel->setBuddy(m_pAuthor);
            pRow->addSpacing(20);
            pRow->addWidget(pLabel);
            pRow->addWidget(m_pAuthor, 1);
            pLayout->addLayout(pRow);
        }
    }
    connect(m_pAuthor, &QLineEdit::textEdited, this, [this](const QString& sText) { m_form.sAuthor = sText; });
    pLayout->addStretch(1);
    auto* pRestore = new QPushButton(QStringLiteral("Restore Defaults"), this);
    connect(pRestore, &QPushButton::clicked, this, [this] {
        Options::RestoreSettingsDefaults(m_form);
        ShowForm();
    });
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(pRestore);
    pLayout->addLayout(pButtons);
    ShowForm();
}

void CPropPage2::ShowForm()
{
    for (size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i]->setChecked(m_form.checks[i]);
    m_pAuthor->setText(m_form.sAuthor);
}
