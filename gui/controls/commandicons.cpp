#include "gui/controls/commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>

namespace {

const QColor kInk(60, 64, 72);
const QColor kPaper(255, 255, 255);
const QColor kRed(196, 40, 40);
const QColor kBlue(40, 96, 196);
const QColor kGreen(40, 150, 70);
const QColor kGold(222, 168, 40);

void Document(QPainter& p, const QColor& band = kBlue)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.setPen(QPen(band, 1));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
}

void Folder(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(fill);
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6.5, 3.5);
    path.lineTo(8, 5.5);
    path.lineTo(14.5, 5.5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

void Disk(QPainter& p, double dx)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5 + dx, 1.5, 11, 12), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4 + dx, 2, 6, 4));
    p.setBrush(QColor(200, 210, 230));
    p.drawRect(QRectF(3.5 + dx, 9.5, 7, 4));
}

void Arrow(QPainter& p, bool bBack)
{
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (bBack) {
        path.moveTo(12, 13);
        path.cubicTo(14, 7, 9, 4, 4, 6);
    } else {
        path.moveTo(4, 13);
        path.cubicTo(2, 7, 7, 4, 12, 6);
    }
    p.drawPath(path);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    QPolygonF head;
    if (bBack)
        head << QPointF(2, 6.5) << QPointF(6.5, 2.5) << QPointF(6.5, 10);
    else
        head << QPointF(14, 6.5) << QPointF(9.5, 2.5) << QPointF(9.5, 10);
    p.drawPolygon(head);
}

void Letters(QPainter& p, const QString& sText, const QColor& colour, int nPixels = 9)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(nPixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, sText);
}

void Lines(QPainter& p, bool bOut)
{
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 4; ++i) {
        const double x = (i == 1 || i == 2) ? 6 : 1;
        p.drawLine(QPointF(x, 3.5 + i * 3), QPointF(15, 3.5 + i * 3));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPolygonF head;
    if (bOut)
        head << QPointF(4.5, 5.5) << QPointF(1, 8) << QPointF(4.5, 10.5);
    else
        head << QPointF(1, 5.5) << QPointF(4.5, 8) << QPointF(1, 10.5);
    p.drawPolygon(head);
}

void Wand(QPainter& p, const QColor& page)
{
    Document(p, page);
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 12), QPointF(14, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    QPolygonF star;
    star << QPointF(14, 1) << QPointF(15, 4) << QPointF(16, 5) << QPointF(13, 6) << QPointF(12, 5) << QPointF(11, 3);
    p.drawPolygon(star);
}

void Pencil(QPainter& p, const QColor& page)
{
    Document(p, page);
    p.setPen(QPen(kInk, 1));
    p.setBrush(kGold);
    QPolygonF pencil;
    pencil << QPointF(8, 13) << QPointF(9, 10) << QPointF(14.5, 4.5) << QPointF(16, 6) << QPointF(10.5, 11.5);
    p.drawPolygon(pencil);
}

// Small marks in the lower right corner that tell related commands apart.
void BadgePlus(QPainter& p)
{
    p.setPen(QPen(kGreen, 2));
    p.drawLine(QPointF(12, 9), QPointF(12, 15));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
}

void BadgeCross(QPainter& p)
{
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
}

void BadgeArrow(QPainter& p)
{
    p.setPen(QPen(kBlue, 2));
    p.drawLine(QPointF(8.5, 12), QPointF(14, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPolygonF head;
    head << QPointF(15.5, 12) << QPointF(12, 8.5) << QPointF(12, 15.5);
    p.drawPolygon(head);
}

void BadgeText(QPainter& p, const QString& sText, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(8, 8, 8, 8));
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kPaper);
    p.drawText(QRectF(8, 8, 8, 8), Qt::AlignCenter, sText);
}

void Printer(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 175, 185));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
}

void Windows(QPainter& p, int nLayout)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    const QRectF rects[3][2] = {
        {QRectF(1.5, 1.5, 9, 8), QRectF(5.5, 5.5, 9, 8)},
        {QRectF(1.5, 1.5, 13, 6), QRectF(1.5, 8.5, 13, 6)},
        {QRectF(1.5, 1.5, 6, 13), QRectF(8.5, 1.5, 6, 13)},
    };
    for (const QRectF& rc : rects[nLayout]) {
        p.setBrush(kPaper);
        p.drawRect(rc);
        p.fillRect(QRectF(rc.left() + 0.5, rc.top() + 0.5, rc.width() - 0.5, 2), kBlue);
    }
}

using Painter = std::function<void(QPainter&)>;

// A base picture with a corner mark.
Painter With(Painter base, Painter badge)
{
    return [base, badge](QPainter& p) {
        base(p);
        badge(p);
    };
}

const std::map<QString, Painter>& Painters()
{
    const Painter doc = [](QPainter& p) { Document(p); };
    const Painter snippet = [](QPainter& p) { Document(p, kGreen); };
    const Painter folder = [](QPainter& p) { Folder(p, QColor(240, 200, 90)); };
    const Painter data = [](QPainter& p) { Document(p, QColor(200, 140, 30)); };
    const Painter find = [](QPainter& p) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(210, 230, 250));
        p.drawEllipse(QRectF(1.5, 1.5, 7, 7));
        p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7.5, 7.5), QPointF(10.5, 10.5));
    };
    const Painter plus = BadgePlus;
    const Painter cross = BadgeCross;
    const Painter arrow = BadgeArrow;
    const Painter pencil = [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kGold);
        QPolygonF pen;
        pen << QPointF(8, 15) << QPointF(9, 12) << QPointF(14.5, 6.5) << QPointF(16, 8) << QPointF(10.5, 13.5);
        p.drawPolygon(pen);
    };
    static const std::map<QString, Painter> painters = {
        {QStringLiteral("close"), With(doc, cross)},
        {QStringLiteral("saveas"), With([](QPainter& p) { Disk(p, 0); }, pencil)},
        {QStringLiteral("print"), Printer},
        {QStringLiteral("preview"),
         With(doc,
              [find](QPainter& p) {
                  p.translate(6, 6);
                  p.scale(0.6, 0.6);
                  find(p);
              })},
        {QStringLiteral("printsetup"), With(Printer, pencil)},
        {QStringLiteral("exit"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(170, 120, 70));
             p.drawRect(QRectF(2.5, 1.5, 7, 13));
             BadgeArrow(p);
         }},
        {QStringLiteral("selectall"),
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 1, Qt::DotLine));
             p.setBrush(QColor(210, 225, 250));
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             Letters(p, QStringLiteral("A"), kInk, 8);
         }},
        {QStringLiteral("replace"), With(find, arrow)},
        {QStringLiteral("findinfiles"),
         With(folder,
              [find](QPainter& p) {
                  p.translate(7, 6);
                  p.scale(0.6, 0.6);
                  find(p);
              })},
        {QStringLiteral("replaceinfiles"), With(folder, arrow)},
        {QStringLiteral("insertcommand"), With(doc, arrow)},
        {QStringLiteral("commandhelp"), With(doc, [](QPainter& p) { BadgeText(p, QStringLiteral("?"), kBlue); })},
        {QStringLiteral("insertsnippet"), With(snippet, arrow)},
        {QStringLiteral("savesnippet"), With(snippet, plus)},
        {QStringLiteral("editsnippet"), With(snippet, pencil)},
        {QStringLiteral("deletesnippet"), With(snippet, cross)},
        {QStringLiteral("renamesnippet"), With(snippet, [](QPainter& p) { BadgeText(p, QStringLiteral("a"), kGold); })},
        {QStringLiteral("newproject"), With(folder, plus)},
        {QStringLiteral("closeproject"), With(folder, cross)},
        {QStringLiteral("renameproject"), With(folder, pencil)},
        {QStringLiteral("addactivefile"), With(doc, plus)},
        {QStringLiteral("addprojectfiles"), With(folder, plus)},
        {QStringLiteral("removeprojectfile"), With(doc, cross)},
        {QStringLiteral("openfile"), With(doc, arrow)},
        {QStringLiteral("renamefile"), With(doc, pencil)},
        {QStringLiteral("localize"), With(doc, [](QPainter& p) { BadgeText(p, QStringLiteral("S"), kGreen); })},
        {QStringLiteral("editdata"), With(data, pencil)},
        {QStringLiteral("help"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawEllipse(QRectF(1, 1, 14, 14));
             Letters(p, QStringLiteral("?"), kPaper, 10);
         }},
        {QStringLiteral("updates"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF down;
             down << QPointF(5, 1) << QPointF(11, 1) << QPointF(11, 7) << QPointF(14, 7) << QPointF(8, 14)
                  << QPointF(2, 7) << QPointF(5, 7);
             p.drawPolygon(down);
         }},
        {QStringLiteral("report"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kGold);
             QPolygonF warn;
             warn << QPointF(8, 1.5) << QPointF(15, 14.5) << QPointF(1, 14.5);
             p.drawPolygon(warn);
             Letters(p, QStringLiteral("!"), kInk, 9);
         }},
        {QStringLiteral("about"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kBlue);
             p.drawEllipse(QRectF(1, 1, 14, 14));
             Letters(p, QStringLiteral("i"), kPaper, 10);
         }},
        {QStringLiteral("cascade"), [](QPainter& p) { Windows(p, 0); }},
        {QStringLiteral("tilehorizontally"), [](QPainter& p) { Windows(p, 1); }},
        {QStringLiteral("tilevertically"), [](QPainter& p) { Windows(p, 2); }},
        {QStringLiteral("arrangeicons"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             for (int i = 0; i < 3; ++i)
                 p.drawRect(QRectF(0.5 + i * 5, 11.5, 4, 3));
         }},
        {QStringLiteral("new"),
         [](QPainter& p) {
             Document(p);
             p.setPen(QPen(kGold, 2));
             p.drawLine(QPointF(12, 10), QPointF(12, 16));
             p.drawLine(QPointF(9, 13), QPointF(15, 13));
         }},
        {QStringLiteral("open"), [](QPainter& p) { Folder(p, kGold); }},
        {QStringLiteral("openproject"),
         [](QPainter& p) {
             Folder(p, QColor(240, 200, 90));
             p.setPen(QPen(kRed, 1));
             p.setBrush(kRed);
             p.drawEllipse(QRectF(9, 8, 4, 4));
         }},
        {QStringLiteral("save"), [](QPainter& p) { Disk(p, 1); }},
        {QStringLiteral("saveall"),
         [](QPainter& p) {
             Disk(p, 2);
             p.setPen(QPen(kInk, 1));
             p.drawLine(QPointF(0.5, 3), QPointF(0.5, 15.5));
             p.drawLine(QPointF(0.5, 15.5), QPointF(12, 15.5));
         }},
        {QStringLiteral("cut"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.drawLine(QPointF(5, 1), QPointF(10, 10));
             p.drawLine(QPointF(11, 1), QPointF(6, 10));
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(kRed, 1.5));
             p.drawEllipse(QRectF(2, 10, 4.5, 4.5));
             p.drawEllipse(QRectF(9.5, 10, 4.5, 4.5));
         }},
        {QStringLiteral("copy"),
         [](QPainter& p) {
             p.translate(-2, -1);
             Document(p);
             p.translate(4, 2);
             Document(p);
         }},
        {QStringLiteral("paste"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(180, 130, 70));
             p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(4.5, 1.5, 4, 3));
             p.translate(3, 2);
             Document(p, kGreen);
         }},
        {QStringLiteral("undo"), [](QPainter& p) { Arrow(p, true); }},
        {QStringLiteral("redo"), [](QPainter& p) { Arrow(p, false); }},
        {QStringLiteral("find"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.setBrush(QColor(210, 230, 250));
             p.drawEllipse(QRectF(2, 2, 8, 8));
             p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
         }},
        {QStringLiteral("comment"), [](QPainter& p) { Letters(p, QStringLiteral("//"), kGreen, 11); }},
        {QStringLiteral("uncomment"),
         [](QPainter& p) {
             Letters(p, QStringLiteral("//"), QColor(150, 150, 150), 11);
             p.setPen(QPen(kRed, 1.5));
             p.drawLine(QPointF(2, 14), QPointF(14, 2));
         }},
        {QStringLiteral("upper"), [](QPainter& p) { Letters(p, QStringLiteral("AB"), kInk); }},
        {QStringLiteral("lower"), [](QPainter& p) { Letters(p, QStringLiteral("ab"), kInk, 10); }},
        {QStringLiteral("indent"), [](QPainter& p) { Lines(p, false); }},
        {QStringLiteral("outdent"), [](QPainter& p) { Lines(p, true); }},
        {QStringLiteral("briefing"), [](QPainter& p) { Wand(p, kBlue); }},
        {QStringLiteral("overview"), [](QPainter& p) { Wand(p, kGreen); }},
        {QStringLiteral("description"), [](QPainter& p) { Wand(p, kRed); }},
        {QStringLiteral("unit"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(110, 140, 80));
             p.drawEllipse(QRectF(5, 1.5, 6, 6));
             p.drawRoundedRect(QRectF(3, 8, 10, 7), 2, 2);
         }},
        {QStringLiteral("crate"),
         [](QPainter& p) {
             p.setPen(QPen(QColor(90, 60, 20), 1));
             p.setBrush(QColor(190, 140, 70));
             p.drawRect(QRectF(1.5, 4.5, 13, 10));
             p.drawLine(QPointF(1.5, 4.5), QPointF(14.5, 14.5));
             p.drawLine(QPointF(14.5, 4.5), QPointF(1.5, 14.5));
         }},
        {QStringLiteral("editbriefing"), [](QPainter& p) { Pencil(p, kBlue); }},
        {QStringLiteral("editoverview"), [](QPainter& p) { Pencil(p, kGreen); }},
        {QStringLiteral("options"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(170, 175, 185));
             for (int i = 0; i < 8; ++i) {
                 p.save();
                 p.translate(8, 8);
                 p.rotate(i * 45);
                 p.drawRect(QRectF(-1.5, -7.5, 3, 3));
                 p.restore();
             }
             p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
             p.setBrush(kPaper);
             p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
         }},
        {QStringLiteral("launch"),
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF play;
             play << QPointF(4, 2) << QPointF(14, 8) << QPointF(4, 14);
             p.drawPolygon(play);
         }},
        {QStringLiteral("manual"),
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kRed);
             p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
             p.setBrush(kPaper);
             p.drawRect(QRectF(4.5, 3.5, 7, 3));
             Letters(p, QStringLiteral("?"), kPaper, 8);
         }},
    };
    return painters;
}

}  // namespace

QIcon CommandIcon(const QString& sName)
{
    const auto it = Painters().find(sName);
    if (it == Painters().end())
        return QIcon();
    QIcon icon;
    for (int nScale : {1, 2}) {
        QPixmap pixmap(16 * nScale, 16 * nScale);
        pixmap.setDevicePixelRatio(nScale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        it->second(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
