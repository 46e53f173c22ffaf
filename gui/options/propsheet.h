#pragma once

#include "core/options/optionsform.h"

#include <QDialog>

class CPropPage1;
class CPropPage2;
class CPropPage3;
class QDialogButtonBox;
class QTabWidget;

// "Options": the three pages over one copy of the settings, which OK hands
// back and Cancel forgets. There is no Apply: nothing takes effect until OK.
class CPropSheet : public QDialog
{
    Q_OBJECT
public:
    explicit CPropSheet(const Options::SForm& form, QWidget* pParent = nullptr);

    // What the pages hold now; after OK, what the user chose.
    const Options::SForm& Form() const { return m_form; }

    QTabWidget* Tabs() const { return m_pTabs; }
    CPropPage1* General() const { return m_pGeneral; }
    CPropPage2* SettingsPage() const { return m_pSettings; }
    CPropPage3* FileTypes() const { return m_pFileTypes; }
    QDialogButtonBox* Buttons() const { return m_pButtons; }

private:
    Options::SForm m_form;
    QTabWidget* m_pTabs;
    CPropPage1* m_pGeneral;
    CPropPage2* m_pSettings;
    CPropPage3* m_pFileTypes;
    QDialogButtonBox* m_pButtons;
};
