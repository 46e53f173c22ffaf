#include "gui/links/aboutdlg.h"

#include "core/app/meminfo.h"
#include "gui/controls/logoimage.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QGroupBox* Group(const QString& sTitle, QWidget* pContent, QWidget* pParent)
{
    auto* pGroup = new QGroupBox(sTitle, pParent);
    auto* pLayout = new QVBoxLayout(pGroup);
    pLayout->addWidget(pContent);
    return pGroup;
}

QLabel* Text(const QString& sText, QWidget* pParent)
{
    auto* pLabel = new QLabel(sText, pParent);
    pLabel->setWordWrap(true);
    return pLabel;
}

}  // namespace

CAboutDlg::CAboutDlg(const QString& sVersion, QWidget* pParent) : QDialog(pParent), m_pMemory(new QLabel(this))
{
    setWindowTitle(QStringLiteral("About Velk Edit"));

    auto* pInfo = new QWidget(this);
    auto* pInfoLayout = new QHBoxLayout(pInfo);
    auto* pIcon = new QLabel(pInfo);
    pIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* pTexts = new QVBoxLayout;
    pTexts->addWidget(
        Text(QStringLiteral("Velk Edit\nA Tamrinsoft mission tool for Velk Vanguard and Qonmar Front"), pInfo));
    auto* pVersion = new QLabel(sVersion, pInfo);
    QFont versionFont(QStringLiteral("Tahoma"));
    versionFont.setStyleHint(QFont::SansSerif);
    versionFont.setPointSize(9);
    versionFont.setBold(true);
    pVersion->setFont(versionFont);
    pTexts->addWidget(pVersion);
    pTexts->addWidget(Text(QStringLiteral("Built with Qt %1\nand %2")
                               .arg(QLatin1String(QT_VERSION_STR), QStringLiteral("GCC " __VERSION__)),
                           pInfo));
    auto* pLogo = new QLabel(pInfo);
    pLogo->setPixmap(QPixmap::fromImage(LoadLogoImage()).scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pInfoLayout->addWidget(pIcon, 0, Qt::AlignTop);
    pInfoLayout->addLayout(pTexts, 1);
    pInfoLayout->addWidget(pLogo, 0, Qt::AlignTop);

    qint64 nTotal = 0;
    qint64 nAvail = 0;
    m_pMemory->setText(MemInfo::Read(&nTotal, &nAvail) ? MemInfo::MemoryText(nTotal, nAvail)
                                                       : QStringLiteral("Memory figures are not available."));

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(Group(QStringLiteral("Application Information"), pInfo, this));
    pLayout->addWidget(
        Group(QStringLiteral("Application Description"),
              Text(QStringLiteral("This application is a script editing tool for the games Velk Vanguard "
                                  "and Qonmar Front. It will help you create scripts, briefings, "
                                  "overviews, special units, custom crates, and description files."),
                   this),
              this));
    pLayout->addWidget(Group(QStringLiteral("Editable Document Types"),
                             Text(QStringLiteral("Script Files (*.sqs)\nDescription Files (*.ext)\nString Table Files "
                                                 "(*.csv)\nFunction Files (*.sqf)\nBriefing/Overview Files "
                                                 "(*.html)\nText Files (*.txt)"),
                                  this),
                             this));
    pLayout->addWidget(Group(QStringLiteral("System Info"), m_pMemory, this));
    pLayout->addWidget(pButtons);
}

QString CAboutDlg::MemoryText() const
{
    return m_pMemory->text();
}
