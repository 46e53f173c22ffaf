#include "gui/controls/fontcombo.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int nFixedRole = Qt::UserRole;
constexpr int nScalableRole = Qt::UserRole + 1;
constexpr int nGlyphSize = 12;
constexpr int nGlyphLeft = 4;
constexpr int nTextLeft = 20;

int ItemHeight(const QFontMetrics& metrics)
{
    return qMax(metrics.height(), nGlyphSize) + 4;
}

// Two offset letters T, the back one grey: tells an outline font, which
// scales to any size cleanly, from a bitmap one, which does not.
QPixmap PaintGlyph()
{
    QPixmap pmGlyph(nGlyphSize, nGlyphSize);
    pmGlyph.fill(Qt::transparent);
    QPainter painter(&pmGlyph);
    const auto letterT = [&painter](int nLeft, int nTop, const QColor& crColour) {
        painter.fillRect(nLeft, nTop, 8, 2, crColour);
        painter.fillRect(nLeft + 3, nTop, 2, 8, crColour);
    };
    letterT(0, 0, QColor(128, 128, 128));
    letterT(4, 4, QColor(0, 0, 128));
    return pmGlyph;
}

// One row as both the list and the closed box show it.
void PaintFontItem(QPainter* pPainter, const QRect& rcItem, const QPalette& palette, const SFontFace& face,
                   const QPixmap& pmGlyph, bool bSelected)
{
    pPainter->save();
    pPainter->fillRect(rcItem, bSelected ? palette.highlight() : palette.base());
    if (face.bScalable) {
        const QPoint ptGlyph(rcItem.left() + nGlyphLeft, rcItem.top() + (rcItem.height() - nGlyphSize) / 2);
        pPainter->drawPixmap(ptGlyph, pmGlyph);
    }
    pPainter->setPen(bSelected ? palette.highlightedText().color() : palette.text().color());
    const QRect rcText(rcItem.left() + nTextLeft, rcItem.top(), qMax(0, rcItem.width() - nTextLeft), rcItem.height());
    pPainter->drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FontList::DisplayText(face));
    pPainter->restore();
}

SFontFace FaceOf(const QModelIndex& index)
{
    return {index.data(Qt::DisplayRole).toString(), index.data(nFixedRole).toBool(),
            index.data(nScalableRole).toBool()};
}

class CFontItemDelegate : public QStyledItemDelegate
{
public:
    CFontItemDelegate(const QPixmap& pmGlyph, QObject* pParent) : QStyledItemDelegate(pParent), m_pmGlyph(pmGlyph) { }

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool bSelected = option.state & QStyle::State_Selected;
        PaintFontItem(pPainter, option.rect, option.palette, FaceOf(index), m_pmGlyph, bSelected);
        if (option.state & QStyle::State_HasFocus && option.widget) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = bSelected ? option.palette.highlight().color() : option.palette.base().color();
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, pPainter, option.widget);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(option.font);
        const int nWidth = nTextLeft + metrics.horizontalAdvance(FontList::DisplayText(FaceOf(index))) + 4;
        return QSize(nWidth, ItemHeight(metrics));
    }

private:
    QPixmap m_pmGlyph;
};

}  // namespace

CFontCombo::CFontCombo(QWidget* pParent, int nVisibleItems) : QComboBox(pParent), m_pmGlyph(PaintGlyph())
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new CFontItemDelegate(m_pmGlyph, this));
    // Some styles open the list over the box at full height and ignore the
    // row count; this list keeps its own height.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(qMax(1, nVisibleItems));
    Fill(InstalledFaces());
    connect(this, &QComboBox::activated, this, [this] { emit SelectionChanged(); });
}

QList<SFontFace> CFontCombo::InstalledFaces()
{
    QList<SFontFace> faces;
    const QStringList families = QFontDatabase::families();
    faces.reserve(families.size());
    for (const QString& sFamily : families)
        faces.append({sFamily, QFontDatabase::isFixedPitch(sFamily), QFontDatabase::isScalable(sFamily)});
    return faces;
}

void CFontCombo::Fill(const QList<SFontFace>& faces)
{
    m_arFaces = FontList::Build(faces);
    const QSignalBlocker blocker(this);
    clear();
    for (qsizetype i = 0; i < m_arFaces.size(); ++i) {
        const SFontFace& face = m_arFaces[i];
        addItem(face.sFamily);
        setItemData(int(i), face.bFixed, nFixedRole);
        setItemData(int(i), face.bScalable, nScalableRole);
        if (face.bFixed)
            setItemData(int(i), tr("fixed-width"), Qt::AccessibleDescriptionRole);
    }
    setCurrentIndex(m_arFaces.isEmpty() ? -1 : 0);
    updateGeometry();
}

bool CFontCombo::SelectFont(const QString& sFace)
{
    const int nIndex = FontList::IndexOf(m_arFaces, sFace);
    if (nIndex < 0)
        return false;
    setCurrentIndex(nIndex);
    return true;
}

QString CFontCombo::SelectedFace() const
{
    const int nIndex = currentIndex();
    return nIndex >= 0 && nIndex < m_arFaces.size() ? m_arFaces[nIndex].sFamily : QString();
}

QString CFontCombo::FaceUsedFor(const QString& sFace) const
{
    return FontList::FaceInUse(sFace, m_arFaces);
}

// The box lays out its text alone; the glyph and the mark need room too.
QSize CFontCombo::sizeHint() const
{
    return QComboBox::sizeHint() + QSize(nTextLeft + fontMetrics().horizontalAdvance(FontList::kFixedMark), 0);
}

QSize CFontCombo::minimumSizeHint() const
{
    return QComboBox::minimumSizeHint() + QSize(nTextLeft, 0);
}

void CFontCombo::paintEvent(QPaintEvent* pEvent)
{
    Q_UNUSED(pEvent);
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int nIndex = currentIndex();
    if (nIndex < 0 || nIndex >= m_arFaces.size())
        return;
    const QRect rcField = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // Reads as selected while it has the focus, as the colour picker does.
    PaintFontItem(&painter, rcField, palette(), m_arFaces[nIndex], m_pmGlyph, hasFocus());
}
