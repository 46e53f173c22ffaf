#include "gui/wizards/overviewdlg.h"

#include "core/app/prompter.h"
#include "gui/wizards/pagepreview.h"
#include "gui/wizards/wizardtext.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

QPushButton* Button(const QString& sText, const char* pszName, QWidget* pParent)
{
    auto* pButton = new QPushButton(sText, pParent);
    pButton->setObjectName(QLatin1String(pszName));
    // Enter in the title must not save the overview.
    pButton->setAutoDefault(false);
    return pButton;
}

}  // namespace

COverviewDlg::COverviewDlg(const SContext& context, const Overview::SForm& form, IPrompter& prompter, Save save,
                           QWidget* pParent)
    : QDialog(pParent)
    , m_context(context)
    , m_prompter(prompter)
    , m_save(std::move(save))
    , m_pTitle(new QLineEdit(this))
    , m_pOverview(new QPlainTextEdit(this))
    , m_pPicture(new QLineEdit(this))
    , m_pPreview(new CPagePreview(this))
{
    setWindowTitle(QStringLiteral("Overview Wizard"));
    setSizeGripEnabled(true);
    m_pTitle->setObjectName(QStringLiteral("missionTitle"));
    m_pOverview->setObjectName(QStringLiteral("missionOverview"));
    m_pOverview->setTabChangesFocus(true);
    m_pPicture->setObjectName(QStringLiteral("pictureFile"));
    m_pPreview->setObjectName(QStringLiteral("preview"));

    auto* pForm = new QWidget(this);
    auto* pFields = new QGridLayout(pForm);
    pFields->setContentsMargins(0, 0, 0, 0);
    const auto label = [&](const QString& sText, QWidget* pBuddy) {
        auto* pLabel = new QLabel(sText, pForm);
        pLabel->setBuddy(pBuddy);
        return pLabel;
    };
    auto* pBrowse = Button(QStringLiteral("&Browse..."), "browse", pForm);
    pFields->addWidget(label(QStringLiteral("Mission &Title"), m_pTitle), 0, 0, 1, 2);
    pFields->addWidget(m_pTitle, 1, 0, 1, 2);
    pFields->addWidget(label(QStringLiteral("Mission &Overview"), m_pOverview), 2, 0, 1, 2);
    pFields->addWidget(m_pOverview, 3, 0, 1, 2);
    pFields->addWidget(label(QStringLiteral("&Picture File (*.JPG 256 x 128)"), m_pPicture), 4, 0, 1, 2);
    pFields->addWidget(m_pPicture, 5, 0);
    pFields->addWidget(pBrowse, 5, 1);
    pFields->setRowStretch(3, 1);

    auto* pCreate = Button(QStringLiteral("&Create/Save Overview"), "createSave", pForm);
    auto* pCancel = Button(QStringLiteral("Cancel"), "cancel", pForm);
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(pCreate);
    pButtons->addWidget(pCancel);
    pFields->addLayout(pButtons, 6, 0, 1, 2);

    auto* pPreviewGroup = new QGroupBox(QStringLiteral("Preview"), this);
    auto* pPreviewLayout = new QVBoxLayout(pPreviewGroup);
    pPreviewLayout->addWidget(m_pPreview);

    auto* pSplitter = new QSplitter(Qt::Horizontal, this);
    pSplitter->addWidget(pForm);
    pSplitter->addWidget(pPreviewGroup);
    pSplitter->setChildrenCollapsible(false);
    pSplitter->setSizes({480, 480});
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pSplitter);
    resize(960, 520);

    // The fields as they read, the buttons, then the preview.
    const QList<QWidget*> order{m_pTitle, m_pOverview, m_pPicture, pBrowse, pCreate, pCancel, m_pPreview};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(pBrowse, &QPushButton::clicked, this, &COverviewDlg::OnBrowse);
    connect(pCreate, &QPushButton::clicked, this, &COverviewDlg::OnCreateSave);
    connect(pCancel, &QPushButton::clicked, this, &COverviewDlg::reject);
    m_pPreview->SetPictureFolder(m_context.sPictureFolder);
    ShowForm(form);
    connect(m_pTitle, &QLineEdit::textChanged, this, &COverviewDlg::UpdatePreview);
    connect(m_pOverview, &QPlainTextEdit::textChanged, this, &COverviewDlg::UpdatePreview);
    connect(m_pPicture, &QLineEdit::textChanged, this, &COverviewDlg::UpdatePreview);
    UpdatePreview();
}

Overview::SForm COverviewDlg::Form() const
{
    return {m_pTitle->text(), WizardText::FromBox(m_pOverview), m_pPicture->text()};
}

void COverviewDlg::ShowForm(const Overview::SForm& form)
{
    m_pTitle->setText(form.sMissionTitle);
    WizardText::ToBox(m_pOverview, form.sMissionOverview);
    m_pPicture->setText(form.sPictureFile);
}

void COverviewDlg::UpdatePreview()
{
    m_pPreview->ShowPage(Overview::Page(Form(), m_context.bVelk, m_context.sVersion));
}

void COverviewDlg::OnBrowse()
{
    const QString sPath = m_prompter.GetOpenFileName(
        QStringLiteral("Find JPEG"), QStringLiteral("JPEG Picture Files (*.jpeg, *.jpg)|*.jpeg;*.jpg||"));
    if (sPath.isEmpty())
        return;
    Overview::SForm form = Form();
    // The page names the picture alone: it lies beside the page in the
    // mission folder. The preview still finds it where it was chosen.
    form.sPictureFile = QFileInfo(sPath).fileName();
    m_pPreview->SetPictureFolder(QFileInfo(sPath).absolutePath());
    ShowForm(form);
}

void COverviewDlg::OnCreateSave()
{
    const QString sPage = Overview::Page(Form(), m_context.bVelk, m_context.sVersion);
    if (m_save)
        m_save(sPage);
    accept();
}
