#pragma once

#include <QWidget>

#include <array>

namespace Options {
struct SForm;
}
class QCheckBox;

// "File Types": which extensions the desktop opens with this editor.
class CPropPage3 : public QWidget
{
    Q_OBJECT
public:
    CPropPage3(Options::SForm& form, QWidget* pParent = nullptr);

private:
    void ShowForm();

    Options::SForm& m_form;
    std::array<QCheckBox*, 6> m_checks{};
};
