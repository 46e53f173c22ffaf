#pragma once

#include <QFont>
#include <QFrame>

namespace Options {
struct SForm;
}

// The General page's preview: a few lines of script in the chosen face, size
// and colours, drawn the way the editor would colour them.
class CSampleBox : public QFrame
{
    Q_OBJECT
public:
    CSampleBox(const Options::SForm& form, QWidget* pParent = nullptr);

    // After the form changed: takes its face, size and weight and repaints.
    void Refresh();
    const QFont& SampleFont() const { return m_font; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    const Options::SForm& m_form;
    QFont m_font;
};
