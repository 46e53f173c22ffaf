#pragma once

#include "core/wizards/briefingpage.h"

#include <QDialog>

#include <array>
#include <functional>

class CPagePreview;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Briefing Wizard": the form of a briefing page, for one side or for
// three, with the page it makes shown beside it as the user types. What
// becomes of the page is its owner's: "Create/Save Briefing" hands it over
// and closes.
class CBriefingDlg : public QDialog
{
    Q_OBJECT
public:
    using Save = std::function<void(const Briefing::SOutput& output)>;

    // form: what the dialog opens with, empty or read back from a page.
    CBriefingDlg(const Briefing::SContext& context, const Briefing::SForm& form, Save save, QWidget* pParent);

    // The form as the controls and the per-side store hold it now.
    Briefing::SForm Form();
    CPagePreview* Preview() const { return m_pPreview; }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    QWidget* CreatePlanAndNotes();
    QGroupBox* CreateObjectives();
    QGroupBox* CreateEndings();
    QWidget* CreateSideControls();
    void SetTabOrder();
    void ConnectChanges();

    // Controls to form and back.
    void ReadForm();
    void ShowForm();
    void RefreshCaptions();
    void EnableRadios(bool bEnable);
    void UpdatePreview();

    void OnMultiSided(bool bChecked);
    void OnSide(int nSide);
    void OnInsertHyperlink();
    void OnCreateSave();
    void OnReset();

    // The boxes a map link can go into.
    bool IsLinkBox(const QObject* pObject) const;
    void LinkBoxEntered();
    void LinkBoxLeft(QWidget* pBox);

    Briefing::SContext m_context;
    Briefing::SForm m_form;
    Save m_save;
    bool m_bShowing = false;

    // Where the next map link goes, with the selection it replaces: a
    // one-line box forgets its selection when the focus leaves it.
    QWidget* m_pLinkTarget = nullptr;
    int m_nLinkStart = -1;
    int m_nLinkEnd = -1;

    QGroupBox* m_pPlanGroup;
    QGroupBox* m_pNotesGroup;
    QGroupBox* m_pObjectivesGroup;
    QGroupBox* m_pEndingsGroup;
    QPlainTextEdit* m_pPlan;
    QPlainTextEdit* m_pNotes;
    std::array<QLineEdit*, Briefing::kObjectives> m_objectives{};
    std::array<QCheckBox*, Briefing::kObjectives> m_hide{};
    std::array<QCheckBox*, Briefing::kObjectives> m_done{};
    std::array<QLineEdit*, Briefing::kEndings> m_endingTitles{};
    std::array<QLineEdit*, Briefing::kEndings> m_endingTexts{};
    QLineEdit* m_pMarkerName;
    QPushButton* m_pInsertHyperlink;
    QCheckBox* m_pMultiSided;
    QButtonGroup* m_pSides;
    std::array<QRadioButton*, Briefing::kSides> m_radios{};
    CPagePreview* m_pPreview;
};
