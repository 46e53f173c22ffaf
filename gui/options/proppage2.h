#pragma once

#include <QWidget>

#include <array>

namespace Options {
struct SForm;
}
class QCheckBox;
class QLineEdit;

// "Settings": what the editor does for the author as they type, and the name
// the headers carry.
class CPropPage2 : public QWidget
{
    Q_OBJECT
public:
    CPropPage2(Options::SForm& form, QWidget* pParent = nullptr);

private:
    void ShowForm();

    Options::SForm& m_form;
    std::array<QCheckBox*, 9> m_checks{};
    QLineEdit* m_pAuthor;
};
