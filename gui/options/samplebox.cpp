#include "gui/options/samplebox.h"

#include "core/options/optionsform.h"
#include "gui/controls/colorcombo.h"
#include "gui/options/editorfont.h"

#include <QPainter>

namespace {

constexpr int nTextLeft = 4;
constexpr int nTextTop = 2;
// Four lines of a mid-sized font fit without clipping; the largest sizes are
// cut off at the bottom, as a preview may be.
constexpr int nRoomForPoints = 12;
constexpr int nLines = 4;

// Sizes are points; the preview is drawn in pixels of this screen.
int PixelHeight(int nPoints, int nDpiY)
{
    return qMax(1, qRound(nPoints * nDpiY / 72.0));
}

}  // namespace

CSampleBox::CSampleBox(const Options::SForm& form, QWidget* pParent) : QFrame(pParent), m_form(form)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Refresh();
}

void CSampleBox::Refresh()
{
    m_font = QFont(EditorFont::FaceInUse(m_form.sFont));
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPixelSize(PixelHeight(m_form.nFontSize, logicalDpiY()));
    m_font.setBold(m_form.bBold);
    update();
}

QSize CSampleBox::sizeHint() const
{
    QFont font = m_font;
    font.setPixelSize(PixelHeight(nRoomForPoints, logicalDpiY()));
    const QFontMetrics metrics(font);
    const int nWidth = metrics.horizontalAdvance(QStringLiteral("if(_x == 0) then(_x = 5)"));
    return QSize(nWidth + 2 * nTextLeft + 2 * frameWidth(),
                 nLines * metrics.lineSpacing() + 2 * nTextTop + 2 * frameWidth());
}

QSize CSampleBox::minimumSizeHint() const
{
    return sizeHint();
}

void CSampleBox::paintEvent(QPaintEvent* pEvent)
{
    QFrame::paintEvent(pEvent);
    QPainter painter(this);
    const QRect rcInside = contentsRect();
    painter.setClipRect(rcInside);
    painter.fillRect(rcInside, CColorCombo::ToQColor(m_form.colours[1]));
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    int nBaseline = rcInside.top() + nTextTop + metrics.ascent();
    for (const QList<Options::SSampleRun>& line : Options::SampleLines(m_form)) {
        // Each run starts where the text before it ends, measured as one
        // string so that the letters sit exactly as in the whole line.
        QString sBefore;
        for (const Options::SSampleRun& run : line) {
            painter.setPen(CColorCombo::ToQColor(run.crColour));
            painter.drawText(rcInside.left() + nTextLeft + metrics.horizontalAdvance(sBefore), nBaseline, run.sText);
            sBefore += run.sText;
        }
        nBaseline += metrics.lineSpacing();
    }
}
