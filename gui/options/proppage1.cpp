#include "gui/options/proppage1.h"

#include "core/options/optionsform.h"
#include "gui/controls/colorcombo.h"
#include "gui/controls/fontcombo.h"
#include "gui/options/samplebox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel* Label(const QString& sText, QWidget* pBuddy, QWidget* pParent)
{
    auto* pLabel = new QLabel(sText, pParent);
    pLabel->setBuddy(pBuddy);
    return pLabel;
}

bool HasFormatFlag(int nItem)
{
    return nItem >= 0 && Options::ColourItems()[size_t(nItem)].pbFormat != nullptr;
}

}  // namespace

CPropPage1::CPropPage1(Options::SForm& form, QWidget* pParent)
    : QWidget(pParent)
    , m_form(form)
    , m_pVelk(new QRadioButton(QStringLiteral("&Velk Vanguard (VELK)"), this))
    , m_pQon(new QRadioButton(QStringLiteral("&Qonmar Front (QON)"), this))
    , m_pFont(new CFontCombo(this, 15))
    , m_pStandIn(new QLabel(this))
    , m_pSize(new QComboBox(this))
    , m_pBold(new QCheckBox(QStringLiteral("&Bold Fonts"), this))
    , m_pSample(new CSampleBox(form, this))
    , m_pItems(new QListWidget(this))
    , m_pColour(new CColorCombo(this))
    , m_pFormat(new QCheckBox(QStringLiteral("&Format Item"), this))
{
    m_arInstalled = m_pFont->Faces();
    auto* pGames = new QButtonGroup(this);
    pGames->addButton(m_pVelk, 0);
    pGames->addButton(m_pQon, 1);
    for (int nSize = Options::kMinFontSize; nSize <= Options::kMaxFontSize; ++nSize)
        m_pSize->addItem(QString::number(nSize));
    for (const Options::SColourItem& item : Options::ColourItems())
        m_pItems->addItem(QLatin1String(item.pszText));
    m_pItems->setSelectionMode(QAbstractItemView::SingleSelection);
    // Seven rows, no scrolling: the list is as tall as its items.
    m_pItems->setFixedHeight(m_pItems->sizeHintForRow(0) * m_pItems->count() + 2 * m_pItems->frameWidth() + 2);
    m_pStandIn->setWordWrap(true);
    // The note comes and goes as faces are chosen; it keeps its line so the
    // page does not jump.
    m_pStandIn->setMinimumHeight(m_pStandIn->fontMetrics().height());

    auto* pLeft = new QGridLayout;
    pLeft->addWidget(new QLabel(QStringLiteral("Use this editor for:"), this), 0, 0, 1, 2);
    auto* pGameBox = new QVBoxLayout;
    pGameBox->setContentsMargins(12, 0, 0, 0);
    pGameBox->addWidget(m_pVelk);
    pGameBox->addWidget(m_pQon);
    pLeft->addLayout(pGameBox, 1, 0, 1, 2);
    pLeft->setRowMinimumHeight(2, 8);
    pLeft->addWidget(Label(QStringLiteral("Doucuments Font"), m_pFont, this), 3, 0);
    pLeft->addWidget(Label(QStringLiteral("Font Size"), m_pSize, this), 3, 1);
    pLeft->addWidget(m_pFont, 4, 0);
    pLeft->addWidget(m_pSize, 4, 1);
    pLeft->addWidget(new QLabel(QStringLiteral("* fixed-width fonts"), this), 5, 0);
    pLeft->addWidget(m_pBold, 5, 1);
    pLeft->addWidget(m_pStandIn, 6, 0, 1, 2);
    pLeft->addWidget(m_pSample, 7, 0, 1, 2);
    pLeft->setColumnStretch(0, 1);
    pLeft->setRowStretch(7, 1);

    auto* pRestore = new QPushButton(QStringLiteral("Restore Defaults"), this);
    auto* pRight = new QVBoxLayout;
    pRight->addWidget(Label(QStringLiteral("Scripting Items"), m_pItems, this));
    pRight->addWidget(m_pItems);
    pRight->addSpacing(8);
    pRight->addWidget(Label(QStringLiteral("Item Color"), m_pColour, this));
    pRight->addWidget(m_pColour);
    pRight->addWidget(m_pFormat);
    pRight->addStretch(1);
    pRight->addWidget(pRestore);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->addLayout(pLeft, 1);
    pLayout->addSpacing(12);
    pLayout->addLayout(pRight, 0);

    connect(pGames, &QButtonGroup::idToggled, this, [this](int nId, bool bOn) {
        if (bOn)
            m_form.nGame = nId;
    });
    connect(m_pFont, &CFontCombo::SelectionChanged, this, [this] {
        m_form.sFont = m_pFont->SelectedFace();
        ShowFont();
        SampleChanged();
    });
    connect(m_pSize, &QComboBox::activated, this, [this](int nIndex) {
        m_form.nFontSize = Options::kMinFontSize + nIndex;
        SampleChanged();
    });
    connect(m_pBold, &QCheckBox::clicked, this, [this](bool bOn) {
        m_form.bBold = bOn;
        SampleChanged();
    });
    connect(m_pItems, &QListWidget::currentRowChanged, this, &CPropPage1::SelectItem);
    connect(m_pColour, &CColorCombo::SelectionChanged, this, &CPropPage1::OnItemColour);
    connect(m_pFormat, &QCheckBox::clicked, this, &CPropPage1::OnFormatItem);
    connect(pRestore, &QPushButton::clicked, this, &CPropPage1::OnRestoreDefaults);

    ShowForm();
    m_pItems->setCurrentRow(0);
}

QString CPropPage1::StandInNote() const
{
    return m_pStandIn->text();
}

void CPropPage1::ShowForm()
{
    (m_form.nGame == 0 ? m_pVelk : m_pQon)->setChecked(true);
    ShowFont();
    m_pSize->setCurrentIndex(m_form.nFontSize - Options::kMinFontSize);
    m_pBold->setChecked(m_form.bBold);
    SelectItem(m_pItems->currentRow());
    m_pSample->Refresh();
}

void CPropPage1::ShowFont()
{
    // A family the settings name but this desktop lacks is still the user's
    // choice: it is listed, selected, and the note says what draws it.
    if (!m_pFont->SelectFont(m_form.sFont) && !m_form.sFont.isEmpty()) {
        const QString sInUse = FontList::FaceInUse(m_form.sFont, m_arInstalled);
        const int nInUse = FontList::IndexOf(m_arInstalled, sInUse);
        SFontFace chosen{m_form.sFont, false, false};
        if (nInUse >= 0) {
            chosen.bFixed = m_arInstalled[nInUse].bFixed;
            chosen.bScalable = m_arInstalled[nInUse].bScalable;
        }
        m_pFont->Fill(QList<SFontFace>(m_arInstalled) << chosen);
        m_pFont->SelectFont(m_form.sFont);
    }
    m_pStandIn->setText(Options::StandInNote(m_form.sFont, FontList::FaceInUse(m_form.sFont, m_arInstalled)));
}

void CPropPage1::SelectItem(int nItem)
{
    if (nItem < 0)
        return;
    m_pColour->SelectColour(m_form.colours[size_t(nItem)]);
    // Text and background are always drawn in their colours; only the kinds
    // of word can fall back to the text colour.
    const bool bHasFlag = HasFormatFlag(nItem);
    m_pFormat->setChecked(!bHasFlag || m_form.formats[size_t(nItem)]);
    m_pFormat->setEnabled(bHasFlag);
}

void CPropPage1::OnItemColour()
{
    const int nItem = m_pItems->currentRow();
    if (nItem < 0)
        return;
    m_form.colours[size_t(nItem)] = m_pColour->SelectedColour();
    SampleChanged();
}

void CPropPage1::OnFormatItem(bool bChecked)
{
    const int nItem = m_pItems->currentRow();
    if (!HasFormatFlag(nItem))
        return;
    m_form.formats[size_t(nItem)] = bChecked;
    SampleChanged();
}

void CPropPage1::OnRestoreDefaults()
{
    Options::RestoreGeneralDefaults(m_form);
    m_pItems->setCurrentRow(0);
    ShowForm();
}

void CPropPage1::SampleChanged()
{
    m_pSample->Refresh();
}
