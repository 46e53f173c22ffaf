#pragma once

#include "core/search/searchresults.h"

#include <QDialog>

#include <array>
#include <functional>

class CResultsModel;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;

// What the find dialog's controls hold.
struct SFindFields
{
    enum EAction { kFind = 0, kReplace = 1 };
    enum EScope { kSelection = 0, kDocument = 1, kOpenDocuments = 2, kProject = 3 };

    QString sFind;
    QString sReplace;
    int nAction = kFind;
    int nScope = kDocument;
    bool bWholeWord = false;
    bool bMatchCase = false;
};

// The one modeless dialog of every search: its fields, the buttons that run
// a search, and the results list. The searching is its owner's; the dialog
// tells what was asked and shows what was found.
class CFindReplaceDlg : public QDialog
{
    Q_OBJECT
public:
    using ProjectLoaded = std::function<bool()>;

    CFindReplaceDlg(ProjectLoaded projectLoaded, QWidget* pParent);
    ~CFindReplaceDlg() override;

    SFindFields Fields() const;
    void SetMode(int nAction, int nScope);
    // The selected text of the active view, taken when it is a plain phrase.
    void OfferFindText(const QString& sSelected);
    // Enables what the action allows and names the buttons after it.
    void UpdateControls();
    // The find field focused with its text selected, as each opening wants.
    void FocusFind();

    CSearchResults& Results() { return m_results; }
    // The results changed: the list shows them.
    void ShowResults();
    bool ResultsShown() const { return !m_bResultsHidden; }
    void SetResultsShown(bool bShown);

    QLineEdit* FindEdit() const { return m_pFind; }
    QLineEdit* ReplaceEdit() const { return m_pReplace; }
    QListView* ResultsList() const { return m_pList; }
    QPushButton* Button(const QString& sText) const;
    QAbstractButton* ScopeButton(int nScope) const;
    QAbstractButton* ActionButton(int nAction) const;

signals:
    void FindNextRequested();
    void ReplaceRequested();
    void AllRequested();
    void ResultChosen(const SResultRecord& record);

protected:
    void changeEvent(QEvent* pEvent) override;

private:
    void OnResultActivated(int nLine);

    ProjectLoaded m_projectLoaded;
    CSearchResults m_results;
    CResultsModel* m_pModel;
    QLineEdit* m_pFind;
    QLineEdit* m_pReplace;
    QLabel* m_pReplaceLabel;
    std::array<QRadioButton*, 2> m_actions{};
    std::array<QRadioButton*, 4> m_scopes{};
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pMatchCase;
    QPushButton* m_pFindNext;
    QPushButton* m_pReplaceOne;
    QPushButton* m_pAll;
    QPushButton* m_pHideResults;
    QListView* m_pList;
    bool m_bResultsHidden = false;
    int m_nFolded = 0;
};
