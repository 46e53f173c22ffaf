#include "gui/wizards/briefingdlg.h"

#include "gui/wizards/pagepreview.h"
#include "gui/wizards/wizardtext.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

using namespace Briefing;

namespace {

QPushButton* Button(const QString& sText, const char* pszName, QWidget* pParent)
{
    auto* pButton = new QPushButton(sText, pParent);
    pButton->setObjectName(QLatin1String(pszName));
    // Enter in a box must not save the briefing or insert a link.
    pButton->setAutoDefault(false);
    return pButton;
}

QPlainTextEdit* TextBox(const char* pszName, QWidget* pParent)
{
    auto* pBox = new QPlainTextEdit(pParent);
    pBox->setObjectName(QLatin1String(pszName));
    // Enter breaks the line; Tab goes on to the next control.
    pBox->setTabChangesFocus(true);
    return pBox;
}

QLineEdit* LineBox(const QString& sName, QWidget* pParent)
{
    auto* pBox = new QLineEdit(pParent);
    pBox->setObjectName(sName);
    return pBox;
}

}  // namespace

CBriefingDlg::CBriefingDlg(const SContext& context, const SForm& form, Save save, QWidget* pParent)
    : QDialog(pParent)
    , m_context(context)
    , m_form(form)
    , m_save(std::move(save))
    , m_pPlanGroup(new QGroupBox(this))
    , m_pNotesGroup(new QGroupBox(this))
    , m_pObjectivesGroup(new QGroupBox(this))
    , m_pEndingsGroup(new QGroupBox(this))
    , m_pPlan(TextBox("plan", m_pPlanGroup))
    , m_pNotes(TextBox("notes", m_pNotesGroup))
    , m_pMarkerName(LineBox(QStringLiteral("markerName"), this))
    , m_pInsertHyperlink(Button(QStringLiteral("&Insert Hyperlink"), "insertHyperlink", this))
    , m_pMultiSided(new QCheckBox(QStringLiteral("Create for &Multiple Sides"), this))
    , m_pSides(new QButtonGroup(this))
    , m_pPreview(new CPagePreview(this))
{
    setWindowTitle(QStringLiteral("Briefing Wizard"));
    setSizeGripEnabled(true);
    m_pMultiSided->setObjectName(QStringLiteral("multiSided"));
    m_pPreview->setObjectName(QStringLiteral("preview"));

    auto* pForm = new QWidget(this);
    auto* pFormLayout = new QGridLayout(pForm);
    pFormLayout->setContentsMargins(0, 0, 0, 0);
    pFormLayout->addWidget(CreatePlanAndNotes(), 0, 0);
    pFormLayout->addWidget(CreateSideControls(), 0, 1, 2, 1);
    pFormLayout->addWidget(CreateObjectives(), 1, 0);
    pFormLayout->addWidget(CreateEndings(), 2, 0, 1, 2);
    pFormLayout->setColumnStretch(0, 1);
    pFormLayout->setRowStretch(0, 1);

    auto* pPreviewGroup = new QGroupBox(QStringLiteral("Preview"), this);
    auto* pPreviewLayout = new QVBoxLayout(pPreviewGroup);
    pPreviewLayout->addWidget(m_pPreview);

    auto* pSplitter = new QSplitter(Qt::Horizontal, this);
    pSplitter->addWidget(pForm);
    pSplitter->addWidget(pPreviewGroup);
    pSplitter->setStretchFactor(0, 3);
    pSplitter->setStretchFactor(1, 2);
    pSplitter->setChildrenCollapsible(false);
    pSplitter->setSizes({800, 460});
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pSplitter);
    resize(1280, 760);

    SetTabOrder();
    // Read back from a page for several sides, the sides are live at once.
    EnableRadios(m_form.bMultiSided);
    m_pInsertHyperlink->setEnabled(false);
    RefreshCaptions();
    ConnectChanges();
    UpdatePreview();
}

QWidget* CBriefingDlg::CreatePlanAndNotes()
{
    auto* pRow = new QWidget(this);
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    for (auto [pGroup, pBox] : {std::pair{m_pPlanGroup, m_pPlan}, std::pair{m_pNotesGroup, m_pNotes}}) {
        auto* pGroupLayout = new QVBoxLayout(pGroup);
        pGroupLayout->addWidget(pBox);
        pBox->setAccessibleName(pBox == m_pPlan ? QStringLiteral("Plan") : QStringLiteral("Notes"));
        pBox->installEventFilter(this);
        pLayout->addWidget(pGroup);
    }
    return pRow;
}

QGroupBox* CBriefingDlg::CreateObjectives()
{
    auto* pLayout = new QGridLayout(m_pObjectivesGroup);
    auto* pHideDone = new QLabel(QStringLiteral("Hide/Done"), m_pObjectivesGroup);
    pLayout->addWidget(pHideDone, 0, 2, 1, 2, Qt::AlignCenter);
    for (int n = 0; n < kObjectives; ++n) {
        const QString sNumber = QString::number(n + 1);
        m_objectives[n] = LineBox(QStringLiteral("objective") + sNumber, m_pObjectivesGroup);
        m_objectives[n]->setAccessibleName(QStringLiteral("Objective ") + sNumber);
        m_objectives[n]->installEventFilter(this);
        auto* pLabel = new QLabel(sNumber + QStringLiteral("."), m_pObjectivesGroup);
        pLabel->setBuddy(m_objectives[n]);
        m_hide[n] = new QCheckBox(m_pObjectivesGroup);
        m_hide[n]->setObjectName(QStringLiteral("hide") + sNumber);
        m_hide[n]->setAccessibleName(QStringLiteral("Hide objective ") + sNumber);
        m_hide[n]->setToolTip(QStringLiteral("Hide"));
        m_done[n] = new QCheckBox(m_pObjectivesGroup);
        m_done[n]->setObjectName(QStringLiteral("done") + sNumber);
        m_done[n]->setAccessibleName(QStringLiteral("Objective ") + sNumber + QStringLiteral(" done"));
        m_done[n]->setToolTip(QStringLiteral("Done"));
        pLayout->addWidget(pLabel, n + 1, 0);
        pLayout->addWidget(m_objectives[n], n + 1, 1);
        pLayout->addWidget(m_hide[n], n + 1, 2);
        pLayout->addWidget(m_done[n], n + 1, 3);
    }
    pLayout->setColumnStretch(1, 1);
    return m_pObjectivesGroup;
}

QGroupBox* CBriefingDlg::CreateEndings()
{
    auto* pLayout = new QGridLayout(m_pEndingsGroup);
    for (int n = 0; n < kEndings; ++n) {
        const QString sNumber = QString::number(n + 1);
        m_endingTitles[n] = LineBox(QStringLiteral("endingTitle") + sNumber, m_pEndingsGroup);
        m_endingTitles[n]->setAccessibleName(QStringLiteral("End #") + sNumber + QStringLiteral(" title"));
        m_endingTexts[n] = LineBox(QStringLiteral("endingText") + sNumber, m_pEndingsGroup);
        m_endingTexts[n]->setAccessibleName(QStringLiteral("End #") + sNumber + QStringLiteral(" text"));
        auto* pLabel = new QLabel(n == 0 ? QStringLiteral("End #1 (title/text)") : QStringLiteral("End #") + sNumber,
                                  m_pEndingsGroup);
        pLabel->setBuddy(m_endingTitles[n]);
        pLayout->addWidget(pLabel, n, 0);
        pLayout->addWidget(m_endingTitles[n], n, 1);
        pLayout->addWidget(m_endingTexts[n], n, 2);
    }
    pLayout->setColumnStretch(1, 1);
    pLayout->setColumnStretch(2, 3);
    return m_pEndingsGroup;
}

QWidget* CBriefingDlg::CreateSideControls()
{
    auto* pColumn = new QWidget(this);
    // The help text would take all the width it could; the form needs it more.
    pColumn->setMaximumWidth(260);
    auto* pLayout = new QVBoxLayout(pColumn);
    pLayout->setContentsMargins(0, 0, 0, 0);

    auto* pLinks = new QGroupBox(QStringLiteral("Map Hyperlinks"), pColumn);
    auto* pLinksLayout = new QVBoxLayout(pLinks);
    auto* pHelp = new QLabel(QStringLiteral("Add hyperlinks to the map from the plan, notes, and objectives.\n"
                                            "1. Add the \"Marker Name\"\n"
                                            "2. Drag over the desired text\n"
                                            "3. Click \"Insert Hyperlink\""),
                             pLinks);
    pHelp->setObjectName(QStringLiteral("linkHelp"));
    pHelp->setWordWrap(true);
    auto* pMarkerLabel = new QLabel(QStringLiteral("Marker &Name"), pLinks);
    pMarkerLabel->setBuddy(m_pMarkerName);
    pLinksLayout->addWidget(pHelp);
    pLinksLayout->addWidget(pMarkerLabel);
    pLinksLayout->addWidget(m_pMarkerName);
    pLinksLayout->addWidget(m_pInsertHyperlink);
    // A mnemonic does not move the focus by itself; the link goes into the
    // box the focus leaves for the button, so the button takes it first.
    m_pInsertHyperlink->installEventFilter(this);
    pLayout->addWidget(pLinks);

    pLayout->addWidget(m_pMultiSided);
    auto* pSides = new QWidget(pColumn);
    auto* pSidesLayout = new QVBoxLayout(pSides);
    pSidesLayout->setContentsMargins(16, 0, 0, 0);
    for (int nSide = 0; nSide < kSides; ++nSide) {
        m_radios[nSide] = new QRadioButton(RadioCaption(nSide, m_context.bVelk), pSides);
        m_radios[nSide]->setObjectName(QStringLiteral("side%1").arg(nSide));
        m_pSides->addButton(m_radios[nSide], nSide);
        pSidesLayout->addWidget(m_radios[nSide]);
    }
    pLayout->addWidget(pSides);
    pLayout->addStretch(1);

    auto* pCreate = Button(QStringLiteral("&Create/Save Briefing"), "createSave", pColumn);
    auto* pReset = Button(QStringLiteral("&Reset Briefing"), "reset", pColumn);
    auto* pCancel = Button(QStringLiteral("Cancel"), "cancel", pColumn);
    for (QPushButton* pButton : {pCreate, pReset, pCancel})
        pLayout->addWidget(pButton);
    connect(pCreate, &QPushButton::clicked, this, &CBriefingDlg::OnCreateSave);
    connect(pReset, &QPushButton::clicked, this, &CBriefingDlg::OnReset);
    connect(pCancel, &QPushButton::clicked, this, &CBriefingDlg::reject);
    connect(m_pInsertHyperlink, &QPushButton::clicked, this, &CBriefingDlg::OnInsertHyperlink);
    connect(m_pMultiSided, &QCheckBox::clicked, this, &CBriefingDlg::OnMultiSided);
    connect(m_pSides, &QButtonGroup::idClicked, this, &CBriefingDlg::OnSide);
    return pColumn;
}

void CBriefingDlg::SetTabOrder()
{
    // Down the form as it reads, each objective with its two flags, then
    // the links, the sides and the buttons; the preview last.
    QList<QWidget*> order{m_pPlan, m_pNotes};
    for (int n = 0; n < kObjectives; ++n)
        order << m_objectives[n] << m_hide[n] << m_done[n];
    for (int n = 0; n < kEndings; ++n)
        order << m_endingTitles[n] << m_endingTexts[n];
    order << m_pMarkerName << m_pInsertHyperlink << m_pMultiSided;
    for (QRadioButton* pRadio : m_radios)
        order << pRadio;
    for (const char* pszName : {"createSave", "reset", "cancel"})
        order << findChild<QPushButton*>(QLatin1String(pszName));
    order << m_pPreview;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void CBriefingDlg::ConnectChanges()
{
    // Only the text makes the page: the flags go to the init script alone.
    const auto changed = [this] {
        if (!m_bShowing)
            UpdatePreview();
    };
    for (QPlainTextEdit* pBox : {m_pPlan, m_pNotes})
        connect(pBox, &QPlainTextEdit::textChanged, this, changed);
    for (QLineEdit* pBox : m_objectives)
        connect(pBox, &QLineEdit::textChanged, this, changed);
    for (int n = 0; n < kEndings; ++n) {
        connect(m_endingTitles[n], &QLineEdit::textChanged, this, changed);
        connect(m_endingTexts[n], &QLineEdit::textChanged, this, changed);
    }
}

void CBriefingDlg::ReadForm()
{
    SSide& side = m_form.current;
    side.sPlan = WizardText::FromBox(m_pPlan);
    side.sNotes = WizardText::FromBox(m_pNotes);
    for (int n = 0; n < kObjectives; ++n) {
        side.arObjective[n] = m_objectives[n]->text();
        side.arHide[n] = m_hide[n]->isChecked();
        side.arDone[n] = m_done[n]->isChecked();
    }
    for (int n = 0; n < kEndings; ++n) {
        side.arEndingTitle[n] = m_endingTitles[n]->text();
        side.arEndingText[n] = m_endingTexts[n]->text();
    }
    m_form.sMarkerName = m_pMarkerName->text();
    m_form.bMultiSided = m_pMultiSided->isChecked();
    if (m_pSides->checkedId() >= 0)
        m_form.nSideChoice = m_pSides->checkedId();
}

void CBriefingDlg::ShowForm()
{
    m_bShowing = true;
    const SSide& side = m_form.current;
    WizardText::ToBox(m_pPlan, side.sPlan);
    WizardText::ToBox(m_pNotes, side.sNotes);
    for (int n = 0; n < kObjectives; ++n) {
        m_objectives[n]->setText(side.arObjective[n]);
        m_hide[n]->setChecked(side.arHide[n]);
        m_done[n]->setChecked(side.arDone[n]);
    }
    for (int n = 0; n < kEndings; ++n) {
        m_endingTitles[n]->setText(side.arEndingTitle[n]);
        m_endingTexts[n]->setText(side.arEndingText[n]);
    }
    m_pMarkerName->setText(m_form.sMarkerName);
    m_pMultiSided->setChecked(m_form.bMultiSided);
    m_radios[qBound(0, m_form.nSideChoice, kSides - 1)]->setChecked(true);
    m_bShowing = false;
    UpdatePreview();
}

void CBriefingDlg::RefreshCaptions()
{
    ShowForm();
    m_pPlanGroup->setTitle(GroupCaption(m_form, EGroup::Plan, m_context.bVelk));
    m_pNotesGroup->setTitle(GroupCaption(m_form, EGroup::Notes, m_context.bVelk));
    m_pObjectivesGroup->setTitle(GroupCaption(m_form, EGroup::Objectives, m_context.bVelk));
    m_pEndingsGroup->setTitle(GroupCaption(m_form, EGroup::Endings, m_context.bVelk));
}

void CBriefingDlg::EnableRadios(bool bEnable)
{
    for (QRadioButton* pRadio : m_radios)
        pRadio->setEnabled(bEnable);
}

void CBriefingDlg::UpdatePreview()
{
    // The page as saving would make it now, from a copy: the form and the
    // store stay as the user left them.
    ReadForm();
    SForm form = m_form;
    m_pPreview->ShowPage(Create(form, m_context).sPage);
}

SForm CBriefingDlg::Form()
{
    ReadForm();
    return m_form;
}

void CBriefingDlg::OnMultiSided(bool bChecked)
{
    ReadForm();
    EnableRadios(bChecked);
    SetMultiSided(m_form, bChecked);
    RefreshCaptions();
}

void CBriefingDlg::OnSide(int nSide)
{
    ReadForm();
    SwitchSide(m_form, nSide);
    RefreshCaptions();
}

void CBriefingDlg::OnInsertHyperlink()
{
    ReadForm();
    if (!m_pLinkTarget || m_nLinkStart < 0 || m_nLinkStart >= m_nLinkEnd)
        return;
    QWidget* pTarget = m_pLinkTarget;
    if (auto* pBox = qobject_cast<QPlainTextEdit*>(pTarget)) {
        QTextCursor cursor = pBox->textCursor();
        cursor.setPosition(m_nLinkStart);
        cursor.setPosition(m_nLinkEnd, QTextCursor::KeepAnchor);
        cursor.insertText(MapLink(m_form.sMarkerName, WizardText::FromSelection(cursor.selectedText())));
        pBox->setTextCursor(cursor);
    } else if (auto* pLine = qobject_cast<QLineEdit*>(pTarget)) {
        pLine->setSelection(m_nLinkStart, m_nLinkEnd - m_nLinkStart);
        pLine->insert(MapLink(m_form.sMarkerName, pLine->selectedText()));
    }
    pTarget->setFocus(Qt::OtherFocusReason);
}

void CBriefingDlg::OnCreateSave()
{
    ReadForm();
    const SOutput output = Create(m_form, m_context);
    if (m_save)
        m_save(output);
    accept();
}

void CBriefingDlg::OnReset()
{
    Reset(m_form);
    RefreshCaptions();
    EnableRadios(false);
    m_pPlan->setFocus(Qt::OtherFocusReason);
}

bool CBriefingDlg::IsLinkBox(const QObject* pObject) const
{
    return pObject == m_pPlan || pObject == m_pNotes
        || std::find(m_objectives.begin(), m_objectives.end(), pObject) != m_objectives.end();
}

void CBriefingDlg::LinkBoxEntered()
{
    ReadForm();
    m_pInsertHyperlink->setEnabled(!m_form.sMarkerName.isEmpty());
}

void CBriefingDlg::LinkBoxLeft(QWidget* pBox)
{
    // The focus has gone over already: it tells whether the user is on his
    // way to insert a link or has moved on.
    if (QApplication::focusWidget() != m_pInsertHyperlink) {
        m_pLinkTarget = nullptr;
        m_pInsertHyperlink->setEnabled(false);
        return;
    }
    m_pLinkTarget = pBox;
    m_nLinkStart = m_nLinkEnd = -1;
    if (auto* pText = qobject_cast<QPlainTextEdit*>(pBox)) {
        m_nLinkStart = pText->textCursor().selectionStart();
        m_nLinkEnd = pText->textCursor().selectionEnd();
    } else if (auto* pLine = qobject_cast<QLineEdit*>(pBox); pLine && pLine->hasSelectedText()) {
        m_nLinkStart = pLine->selectionStart();
        m_nLinkEnd = pLine->selectionEnd();
    }
}

bool CBriefingDlg::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pObject == m_pInsertHyperlink && pEvent->type() == QEvent::Shortcut)
        m_pInsertHyperlink->setFocus(Qt::ShortcutFocusReason);
    else if (IsLinkBox(pObject) && pEvent->type() == QEvent::FocusIn)
        LinkBoxEntered();
    else if (IsLinkBox(pObject) && pEvent->type() == QEvent::FocusOut)
        LinkBoxLeft(static_cast<QWidget*>(pObject));
    return QDialog::eventFilter(pObject, pEvent);
}
