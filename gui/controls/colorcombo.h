#pragma once

#include "core/controls/colourlist.h"

#include <QColor>
#include <QComboBox>

#include <functional>
#include <optional>

// A drop-down list of the named colours and "Custom...", each shown as a
// swatch and its name. Choosing "Custom..." asks for a colour at once.
class CColorCombo : public QComboBox
{
    Q_OBJECT

public:
    // Asks the user for a colour, starting from crInitial; nothing when the
    // user cancels. Tests answer it themselves instead of showing a dialog.
    using ColourDialog = std::function<std::optional<QColor>(const QColor& crInitial, QWidget* pParent)>;

    static constexpr int nDropDownHeight = 140;

    // Starts on nRgb; the parent's font is the list's.
    explicit CColorCombo(QWidget* pParent = nullptr, int nRgb = CColourList::nInitialCustom);

    // A colour no named item has becomes the custom one.
    void SelectColour(int nRgb);
    void SelectColour(const QColor& crColour);
    // As the settings keep colours: red + 256 * green + 65536 * blue.
    int SelectedColour() const;
    QColor SelectedQColor() const;
    int CustomColour() const { return m_list.CustomColour(); }

    void SetColourDialog(ColourDialog dialog);

    static QColor ToQColor(int nRgb);
    static int FromQColor(const QColor& crColour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After every choice the user makes here, also when a custom colour was
    // cancelled and so nothing changed; never for SelectColour.
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void OnActivated(int nIndex);
    void SetCustomColour(int nRgb);
    void FitDropDown();

    CColourList m_list;
    ColourDialog m_colourDialog;
};
