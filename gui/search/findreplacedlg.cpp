#include "gui/search/findreplacedlg.h"

#include "gui/search/resultsmodel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The selection is taken as the phrase to find only when it is one.
constexpr int kMaxOfferedLength = 64;

const QString kHideResults = QStringLiteral("Hide Res&ults");
const QString kShowResults = QStringLiteral("Show Res&ults");

}  // namespace

CFindReplaceDlg::CFindReplaceDlg(ProjectLoaded projectLoaded, QWidget* pParent)
    : QDialog(pParent)
    , m_projectLoaded(std::move(projectLoaded))
    , m_pModel(new CResultsModel(m_results, this))
    , m_pFind(new QLineEdit(this))
    , m_pReplace(new QLineEdit(this))
    , m_pReplaceLabel(new QLabel(QStringLiteral("Replace wit&h:"), this))
    , m_pWholeWord(new QCheckBox(QStringLiteral("Match &whole word"), this))
    , m_pMatchCase(new QCheckBox(QStringLiteral("Match &case"), this))
    , m_pFindNext(new QPushButton(QStringLiteral("Find &Next"), this))
    , m_pReplaceOne(new QPushButton(QStringLiteral("R&eplace"), this))
    , m_pAll(new QPushButton(QStringLiteral("Find &All"), this))
    , m_pHideResults(new QPushButton(kHideResults, this))
    , m_pList(new QListView(this))
{
    setWindowTitle(QStringLiteral("Find Text"));
    setModal(false);
    auto* pFindLabel = new QLabel(QStringLiteral("F&ind what:"), this);
    pFindLabel->setBuddy(m_pFind);
    m_pReplaceLabel->setBuddy(m_pReplace);
    auto* pFields = new QGridLayout;
    pFields->addWidget(pFindLabel, 0, 0);
    pFields->addWidget(m_pFind, 0, 1);
    pFields->addWidget(m_pReplaceLabel, 1, 0);
    pFields->addWidget(m_pReplace, 1, 1);

    const auto radioGroup = [this](const char* pszTitle, std::initializer_list<const char*> texts, auto& buttons) {
        auto* pGroup = new QGroupBox(QLatin1String(pszTitle), this);
        auto* pLayout = new QVBoxLayout(pGroup);
        size_t i = 0;
        for (const char* pszText : texts) {
            buttons[i] = new QRadioButton(QLatin1String(pszText), pGroup);
            connect(buttons[i], &QRadioButton::clicked, this, &CFindReplaceDlg::UpdateControls);
            pLayout->addWidget(buttons[i++]);
        }
        return pGroup;
    };
    auto* pOptions = new QGridLayout;
    pOptions->addWidget(radioGroup("Action", {"&Find", "&Replace"}, m_actions), 0, 0);
    pOptions->addWidget(
        radioGroup("Search",
                   {"Selected &Block Only", "Current &Document", "All &Open Documents", "All &Project Documents"},
                   m_scopes),
        0, 1, 2, 1);
    auto* pChecks = new QVBoxLayout;
    pChecks->addWidget(m_pWholeWord);
    pChecks->addWidget(m_pMatchCase);
    pChecks->addStretch(1);
    pOptions->addLayout(pChecks, 1, 0);

    auto* pButtons = new QVBoxLayout;
    for (QPushButton* pButton : {m_pFindNext, m_pReplaceOne, m_pAll, m_pHideResults})
        pButtons->addWidget(pButton);
    pButtons->addStretch(1);
    auto* pClose = new QPushButton(QStringLiteral("Clo&se"), this);
    pButtons->addWidget(pClose);
    m_pFindNext->setDefault(true);
    connect(m_pFindNext, &QPushButton::clicked, this, &CFindReplaceDlg::FindNextRequested);
    connect(m_pReplaceOne, &QPushButton::clicked, this, &CFindReplaceDlg::ReplaceRequested);
    connect(m_pAll, &QPushButton::clicked, this, &CFindReplaceDlg::AllRequested);
    connect(m_pHideResults, &QPushButton::clicked, this, [this] { SetResultsShown(m_bResultsHidden); });
    connect(pClose, &QPushButton::clicked, this, &QDialog::hide);

    m_pList->setModel(m_pModel);
    m_pList->setUniformItemSizes(true);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setMinimumHeight(120);
    connect(m_pList, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { OnResultActivated(index.row()); });

    auto* pTop = new QHBoxLayout;
    auto* pLeft = new QVBoxLayout;
    pLeft->addLayout(pFields);
    pLeft->addLayout(pOptions);
    pTop->addLayout(pLeft, 1);
    pTop->addLayout(pButtons);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pList, 1);
    SetMode(SFindFields::kFind, SFindFields::kDocument);
}

CFindReplaceDlg::~CFindReplaceDlg() = default;

SFindFields CFindReplaceDlg::Fields() const
{
    SFindFields fields;
    fields.sFind = m_pFind->text();
    fields.sReplace = m_pReplace->text();
    fields.nAction = m_actions[SFindFields::kReplace]->isChecked() ? SFindFields::kReplace : SFindFields::kFind;
    for (size_t i = 0; i < m_scopes.size(); ++i)
        if (m_scopes[i]->isChecked())
            fields.nScope = int(i);
    fields.bWholeWord = m_pWholeWord->isChecked();
    fields.bMatchCase = m_pMatchCase->isChecked();
    return fields;
}

void CFindReplaceDlg::SetMode(int nAction, int nScope)
{
    m_actions[size_t(nAction == SFindFields::kReplace)]->setChecked(true);
    m_scopes[size_t(std::clamp(nScope, 0, 3))]->setChecked(true);
    UpdateControls();
}

void CFindReplaceDlg::OfferFindText(const QString& sSelected)
{
    if (sSelected.isEmpty() || sSelected.size() >= kMaxOfferedLength || sSelected.contains(u'\r')
        || sSelected.contains(u'\n') || sSelected.contains(u'\t'))
        return;
    m_pFind->setText(sSelected);
}

void CFindReplaceDlg::UpdateControls()
{
    const bool bReplace = m_actions[SFindFields::kReplace]->isChecked();
    for (QWidget* pControl : {static_cast<QWidget*>(m_pReplaceLabel), static_cast<QWidget*>(m_pReplace),
                              static_cast<QWidget*>(m_pReplaceOne)})
        pControl->setEnabled(bReplace);
    m_pAll->setText(bReplace ? QStringLiteral("Replace &All") : QStringLiteral("Find &All"));
    setWindowTitle(bReplace ? QStringLiteral("Replace Text") : QStringLiteral("Find Text"));
    const bool bProject = !m_projectLoaded || m_projectLoaded();
    m_scopes[SFindFields::kProject]->setEnabled(bProject);
    if (!bProject && m_scopes[SFindFields::kProject]->isChecked())
        m_scopes[SFindFields::kOpenDocuments]->setChecked(true);
}

void CFindReplaceDlg::FocusFind()
{
    m_pFind->setFocus();
    m_pFind->selectAll();
}

void CFindReplaceDlg::ShowResults()
{
    m_pModel->Refresh(m_pList->font());
}

void CFindReplaceDlg::SetResultsShown(bool bShown)
{
    if (bShown == !m_bResultsHidden)
        return;
    m_bResultsHidden = !bShown;
    m_pHideResults->setText(bShown ? kHideResults : kShowResults);
    if (bShown) {
        // Read before the list shows: the layout then grows the dialog itself.
        const int nHeight = height() + m_nFolded;
        m_pList->show();
        resize(width(), nHeight);
        return;
    }
    // The list and the gap above it go; the rest keeps its size, as far as
    // the controls above allow, and showing it again gives back what went.
    const int nBefore = height();
    const int nDelta = m_pList->height() + layout()->spacing();
    m_pList->hide();
    layout()->activate();
    resize(width(), nBefore - nDelta);
    m_nFolded = nBefore - height();
}

QPushButton* CFindReplaceDlg::Button(const QString& sText) const
{
    for (QPushButton* pButton : findChildren<QPushButton*>())
        if (pButton->text() == sText)
            return pButton;
    return nullptr;
}

QAbstractButton* CFindReplaceDlg::ScopeButton(int nScope) const
{
    return m_scopes[size_t(nScope)];
}

QAbstractButton* CFindReplaceDlg::ActionButton(int nAction) const
{
    return m_actions[size_t(nAction)];
}

void CFindReplaceDlg::changeEvent(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdateControls();
        FocusFind();
    }
    QDialog::changeEvent(pEvent);
}

void CFindReplaceDlg::OnResultActivated(int nLine)
{
    if (const SResultRecord* pRecord = m_results.Record(nLine))
        emit ResultChosen(*pRecord);
}
