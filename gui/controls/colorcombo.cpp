#include "gui/controls/colorcombo.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int nColourRole = Qt::UserRole;
constexpr int nSwatchLeft = 2;
constexpr int nSwatchRight = 27;
constexpr int nSwatchInset = 2;
constexpr int nTextLeft = 30;

int ItemHeight(const QFontMetrics& metrics)
{
    return metrics.height() + 2 * nSwatchInset + 2;
}

// One row as both the list and the closed box show it: the swatch framed in
// black, then the name, all in the highlight colours when selected.
void PaintColourItem(QPainter* pPainter, const QRect& rcItem, const QPalette& palette, const QColor& crSwatch,
                     const QString& sName, bool bSelected)
{
    pPainter->save();
    pPainter->fillRect(rcItem, bSelected ? palette.highlight() : palette.base());
    const QRect rcSwatch(QPoint(rcItem.left() + nSwatchLeft, rcItem.top() + nSwatchInset),
                         QPoint(rcItem.left() + nSwatchRight - 1, rcItem.bottom() - nSwatchInset));
    pPainter->fillRect(rcSwatch, crSwatch);
    pPainter->setPen(Qt::black);
    pPainter->setBrush(Qt::NoBrush);
    pPainter->drawRect(rcSwatch.adjusted(0, 0, -1, -1));
    pPainter->setPen(bSelected ? palette.highlightedText().color() : palette.text().color());
    const QRect rcText(rcItem.left() + nTextLeft, rcItem.top(), qMax(0, rcItem.width() - nTextLeft), rcItem.height());
    pPainter->drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, sName);
    pPainter->restore();
}

class CColourItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool bSelected = option.state & QStyle::State_Selected;
        const QColor crSwatch = CColorCombo::ToQColor(index.data(nColourRole).toInt());
        PaintColourItem(pPainter, option.rect, option.palette, crSwatch, index.data(Qt::DisplayRole).toString(),
                        bSelected);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = bSelected ? option.palette.highlight().color() : option.palette.base().color();
            const QWidget* pWidget = option.widget;
            QStyle* pStyle = pWidget ? pWidget->style() : nullptr;
            if (pStyle)
                pStyle->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, pPainter, pWidget);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(option.font);
        const int nWidth = nTextLeft + metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 4;
        return QSize(nWidth, ItemHeight(metrics));
    }
};

std::optional<QColor> AskWithColourDialog(const QColor& crInitial, QWidget* pParent)
{
    // The custom-colour part is always open in this dialog, which is what a
    // user picking "Custom..." wants to see first.
    const QColor crChosen = QColorDialog::getColor(crInitial, pParent);
    if (!crChosen.isValid())
        return std::nullopt;
    return crChosen;
}

}  // namespace

CColorCombo::CColorCombo(QWidget* pParent, int nRgb) : QComboBox(pParent), m_colourDialog(AskWithColourDialog)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new CColourItemDelegate(this));
    // Some styles open the list over the box at full height and ignore the
    // row count; this list keeps its own height.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    for (int i = 0; i < CColourList::nCount; ++i)
        addItem(CColourList::NameAt(i), m_list.ColourAt(i));
    FitDropDown();
    SelectColour(nRgb);
    connect(this, &QComboBox::activated, this, &CColorCombo::OnActivated);
}

void CColorCombo::SelectColour(int nRgb)
{
    const int nIndex = m_list.Select(nRgb);
    if (nIndex == CColourList::nCustomIndex)
        SetCustomColour(m_list.CustomColour());
    setCurrentIndex(nIndex);
}

void CColorCombo::SelectColour(const QColor& crColour)
{
    SelectColour(FromQColor(crColour));
}

int CColorCombo::SelectedColour() const
{
    return m_list.ColourAt(currentIndex());
}

QColor CColorCombo::SelectedQColor() const
{
    const int nRgb = SelectedColour();
    return nRgb < 0 ? QColor() : ToQColor(nRgb);
}

void CColorCombo::SetColourDialog(ColourDialog dialog)
{
    m_colourDialog = dialog ? std::move(dialog) : ColourDialog(AskWithColourDialog);
}

QColor CColorCombo::ToQColor(int nRgb)
{
    return QColor(nRgb & 0xFF, (nRgb >> 8) & 0xFF, (nRgb >> 16) & 0xFF);
}

int CColorCombo::FromQColor(const QColor& crColour)
{
    const QColor crRgb = crColour.toRgb();
    return crRgb.red() + 256 * crRgb.green() + 65536 * crRgb.blue();
}

// The box lays out its text alone; the swatch needs room in front of it.
QSize CColorCombo::sizeHint() const
{
    return QComboBox::sizeHint() + QSize(nTextLeft, 0);
}

QSize CColorCombo::minimumSizeHint() const
{
    return QComboBox::minimumSizeHint() + QSize(nTextLeft, 0);
}

void CColorCombo::OnActivated(int nIndex)
{
    if (nIndex == CColourList::nCustomIndex) {
        if (const std::optional<QColor> crChosen = m_colourDialog(ToQColor(m_list.CustomColour()), this))
            SetCustomColour(FromQColor(*crChosen));
    }
    emit SelectionChanged();
}

void CColorCombo::SetCustomColour(int nRgb)
{
    m_list.SetCustomColour(nRgb);
    setItemData(CColourList::nCustomIndex, m_list.CustomColour());
    update();
}

void CColorCombo::FitDropDown()
{
    // The drop-down, closed box included, is a fixed height; the list shows
    // as many rows as fit in it.
    const int nItemHeight = ItemHeight(fontMetrics());
    setMaxVisibleItems(qMax(1, (nDropDownHeight - sizeHint().height()) / nItemHeight));
}

void CColorCombo::paintEvent(QPaintEvent* pEvent)
{
    Q_UNUSED(pEvent);
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int nIndex = currentIndex();
    if (nIndex < 0)
        return;
    const QRect rcField = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The closed box reads as selected while it has the focus, so a keyboard
    // user sees where the keys go.
    PaintColourItem(&painter, rcField, palette(), ToQColor(m_list.ColourAt(nIndex)), itemText(nIndex), hasFocus());
}

void CColorCombo::changeEvent(QEvent* pEvent)
{
    QComboBox::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange)
        FitDropDown();
}
