#include "gui/frame/statusbarpanes.h"

#include "core/frame/statuspanes.h"
#include "gui/editor/scriptview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>

CStatusBarPanes::CStatusBarPanes(QStatusBar& bar, LockReader readLocks) : m_bar(bar), m_readLocks(std::move(readLocks))
{
    bar.showMessage(QStringLiteral("Ready"));
    // Each pane as wide as its sizing text.
    for (const char* pszSizing : {" ", "Ln: 1000-1000", "Ch: 100-1000", " HTML", " VELK", "CAP", "NUM"}) {
        auto* pPane = new QLabel(&bar);
        pPane->setAlignment(Qt::AlignCenter);
        pPane->setMinimumWidth(pPane->fontMetrics().horizontalAdvance(QLatin1String(pszSizing)) + 8);
        bar.addPermanentWidget(pPane);
        m_panes.append(pPane);
    }
    QObject::connect(&bar, &QStatusBar::messageChanged, &bar, [pBar = &bar](const QString& sMessage) {
        if (sMessage.isEmpty())
            pBar->showMessage(QStringLiteral("Ready"));
    });
    QCoreApplication::instance()->installEventFilter(this);
    UpdateLocks();
}

void CStatusBarPanes::UpdateLocks()
{
    const SLockKeys locks = m_readLocks().value_or(SLockKeys());
    m_panes[5]->setText(locks.bCaps ? QStringLiteral("CAP") : QString());
    m_panes[6]->setText(locks.bNum ? QStringLiteral("NUM") : QString());
}

bool CStatusBarPanes::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type eType = pEvent->type();
    if (eType == QEvent::KeyRelease) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_CapsLock || nKey == Qt::Key_NumLock)
            UpdateLocks();
    } else if (eType == QEvent::ApplicationStateChange) {
        UpdateLocks();
    }
    return QObject::eventFilter(pWatched, pEvent);
}

QString CStatusBarPanes::PaneText(int nPane) const
{
    return nPane >= 2 && nPane - 2 < m_panes.size() ? m_panes[nPane - 2]->text() : m_bar.currentMessage();
}

void CStatusBarPanes::Update(const CScriptView* pView, bool bVelk)
{
    QString sLine;
    QString sColumn;
    QString sType;
    if (pView) {
        const auto [nStart, nEnd] = pView->Selection();
        const QTextBlock first = pView->document()->findBlock(nStart);
        const QTextBlock last = pView->document()->findBlock(nEnd);
        sLine = StatusPanes::LineText(first.blockNumber(), last.blockNumber());
        sColumn = StatusPanes::ColumnText(first.blockNumber(), nStart - first.position(), last.blockNumber(),
                                          nEnd - last.position());
        sType = StatusPanes::TypeText(pView->FileType());
    }
    m_panes[1]->setText(sLine);
    m_panes[2]->setText(sColumn);
    m_panes[3]->setText(sType);
    m_panes[4]->setText(StatusPanes::GameText(bVelk));
}
