#pragma once

#include "core/wizards/overviewpage.h"

#include <QDialog>

#include <functional>

class CPagePreview;
class IPrompter;
class QLineEdit;
class QPlainTextEdit;

// "Overview Wizard": the mission's title, picture and description, with the
// page they make shown beside them as the user types. "Create/Save
// Overview" hands the page to the owner and closes.
class COverviewDlg : public QDialog
{
    Q_OBJECT
public:
    using Save = std::function<void(const QString& sPage)>;

    struct SContext
    {
        bool bVelk = true;
        QString sVersion;
        // Where the picture of a page already saved lies, for the preview.
        QString sPictureFolder;
    };

    COverviewDlg(const SContext& context, const Overview::SForm& form, IPrompter& prompter, Save save,
                 QWidget* pParent);

    Overview::SForm Form() const;
    CPagePreview* Preview() const { return m_pPreview; }

private:
    void ShowForm(const Overview::SForm& form);
    void UpdatePreview();
    void OnBrowse();
    void OnCreateSave();

    SContext m_context;
    IPrompter& m_prompter;
    Save m_save;
    QLineEdit* m_pTitle;
    QPlainTextEdit* m_pOverview;
    QLineEdit* m_pPicture;
    CPagePreview* m_pPreview;
};
