#pragma once

#include "core/controls/fontlist.h"

#include <QWidget>

namespace Options {
struct SForm;
}
class CColorCombo;
class CFontCombo;
class CSampleBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;

// "General": the game served, the editor's font and the colours of each kind
// of word, with a sample that shows the choice at once.
class CPropPage1 : public QWidget
{
    Q_OBJECT
public:
    CPropPage1(Options::SForm& form, QWidget* pParent = nullptr);

    CSampleBox* SampleBox() const { return m_pSample; }
    // Which face draws the chosen one, when the chosen one is not installed.
    QString StandInNote() const;

private:
    void ShowForm();
    void ShowFont();
    void SelectItem(int nItem);
    void OnItemColour();
    void OnFormatItem(bool bChecked);
    void OnRestoreDefaults();
    void SampleChanged();

    Options::SForm& m_form;
    QList<SFontFace> m_arInstalled;
    QRadioButton* m_pVelk;
    QRadioButton* m_pQon;
    CFontCombo* m_pFont;
    QLabel* m_pStandIn;
    QComboBox* m_pSize;
    QCheckBox* m_pBold;
    CSampleBox* m_pSample;
    QListWidget* m_pItems;
    CColorCombo* m_pColour;
    QCheckBox* m_pFormat;
};
