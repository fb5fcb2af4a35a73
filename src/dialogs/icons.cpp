#include "dialogs/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace lumetta {

namespace {

// Everything is drawn on a 32 x 32 grid and scaled to the size asked for.
constexpr double kGrid = 32.0;

const QColor kOutline(40, 52, 70);
const QColor kGreen(46, 160, 67);
const QColor kRed(210, 55, 50);
const QColor kBlue(45, 110, 200);
const QColor kFolder(240, 190, 70);
const QColor kFolderDark(200, 145, 35);

QPen Outline(double width = 1.4)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush Shaded(const QColor &color, QRectF rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, color.lighter(130));
    gradient.setColorAt(1, color.darker(110));
    return gradient;
}

void Disc(QPainter &p, const QRectF &rect, const QColor &color)
{
    p.setPen(QPen(color.darker(150), 1.2));
    p.setBrush(Shaded(color, rect));
    p.drawEllipse(rect);
}

void Plus(QPainter &p, QPointF centre, double half, double width, const QColor &color = Qt::white)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre - QPointF(half, 0), centre + QPointF(half, 0));
    p.drawLine(centre - QPointF(0, half), centre + QPointF(0, half));
}

void Page(QPainter &p, const QRectF &r)
{
    const double fold = r.width() * 0.35;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(215, 222, 232));
    p.drawPath(corner);
}

void Folder(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kFolderDark.darker(130), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath back;
    back.moveTo(r.left(), r.top() + 3);
    back.lineTo(r.left() + r.width() * 0.35, r.top() + 3);
    back.lineTo(r.left() + r.width() * 0.45, r.top());
    back.lineTo(r.right(), r.top());
    back.lineTo(r.bottomRight());
    back.lineTo(r.bottomLeft());
    back.closeSubpath();
    p.setBrush(kFolderDark);
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(r.left() + 3, r.top() + 7);
    front.lineTo(r.right() + 2, r.top() + 7);
    front.lineTo(r.right(), r.bottom());
    front.lineTo(r.left(), r.bottom());
    front.closeSubpath();
    p.setBrush(Shaded(kFolder, r));
    p.drawPath(front);
}

void Picture(QPainter &p, const QRectF &r)
{
    p.setPen(Outline());
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(r, 1.5, 1.5);
    const QRectF inner = r.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient sky(inner.topLeft(), inner.bottomLeft());
    sky.setColorAt(0, QColor(120, 185, 240));
    sky.setColorAt(1, QColor(200, 230, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(inner);
    p.setBrush(QColor(255, 205, 60));
    p.drawEllipse(QPointF(inner.right() - inner.width() * 0.25, inner.top() + inner.height() * 0.3),
                  inner.width() * 0.11, inner.width() * 0.11);
    QPainterPath hills;
    hills.moveTo(inner.bottomLeft());
    hills.lineTo(inner.left() + inner.width() * 0.35, inner.top() + inner.height() * 0.4);
    hills.lineTo(inner.left() + inner.width() * 0.6, inner.top() + inner.height() * 0.75);
    hills.lineTo(inner.left() + inner.width() * 0.75, inner.top() + inner.height() * 0.55);
    hills.lineTo(inner.bottomRight());
    hills.closeSubpath();
    p.setBrush(QColor(60, 150, 70));
    p.drawPath(hills);
}

void Floppy(QPainter &p, const QRectF &r)
{
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - 4, r.top());
    body.lineTo(r.right(), r.top() + 4);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    p.setPen(QPen(kBlue.darker(170), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Shaded(kBlue, r));
    p.drawPath(body);
    const double w = r.width();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 245));
    p.drawRect(QRectF(r.left() + w * 0.22, r.top() + 1, w * 0.5, r.height() * 0.32));
    p.setBrush(kBlue.darker(150));
    p.drawRect(QRectF(r.left() + w * 0.52, r.top() + 2.5, w * 0.12, r.height() * 0.22));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(r.left() + w * 0.16, r.top() + r.height() * 0.5, w * 0.68, r.height() * 0.44), 1, 1);
    p.setPen(QPen(QColor(170, 180, 195), 1));
    for (int i = 1; i <= 2; ++i) {
        const double y = r.top() + r.height() * (0.5 + 0.14 * i);
        p.drawLine(QPointF(r.left() + w * 0.24, y), QPointF(r.right() - w * 0.24, y));
    }
}

void Pencil(QPainter &p, QPointF tip, double length)
{
    p.save();
    p.translate(tip);
    p.rotate(-45);
    p.setPen(QPen(kOutline, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath point;
    point.moveTo(0, 0);
    point.lineTo(4, -2.2);
    point.lineTo(4, 2.2);
    point.closeSubpath();
    p.setBrush(QColor(240, 210, 160));
    p.drawPath(point);
    p.setBrush(QColor(250, 180, 40));
    p.drawRect(QRectF(4, -2.2, length - 7, 4.4));
    p.setBrush(QColor(230, 110, 120));
    p.drawRect(QRectF(length - 3, -2.2, 3, 4.4));
    p.restore();
}

void Arrow(QPainter &p, QPointF from, QPointF to, const QColor &color, double width)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = width * 2.2;
    QPainterPath tip;
    tip.moveTo(to + QPointF(std::cos(angle + 2.5) * head, std::sin(angle + 2.5) * head));
    tip.lineTo(to);
    tip.lineTo(to + QPointF(std::cos(angle - 2.5) * head, std::sin(angle - 2.5) * head));
    p.drawPath(tip);
}

void Triangle(QPainter &p, bool up)
{
    QPainterPath path;
    if (up) {
        path.moveTo(16, 7);
        path.lineTo(27, 23);
        path.lineTo(5, 23);
    } else {
        path.moveTo(16, 25);
        path.lineTo(27, 9);
        path.lineTo(5, 9);
    }
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Shaded(QColor(70, 90, 120), QRectF(5, 7, 22, 18)));
    p.drawPath(path);
}

void Gear(QPainter &p, QPointF centre, double radius)
{
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = (i - 0.5) * M_PI / teeth;
        const double a1 = (i + 0.5) * M_PI / teeth;
        const double r = (i % 2 == 0) ? radius : radius * 0.75;
        const QPointF p0 = centre + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF p1 = centre + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, radius * 0.32, radius * 0.32);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(60, 70, 85), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Shaded(QColor(140, 150, 165), QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius)));
    p.drawPath(gear);
}

void Draw(QPainter &p, IconId id)
{
    switch (id) {
    case IconId::App:
        Picture(p, QRectF(2, 5, 28, 22));
        Disc(p, QRectF(17, 16, 14, 14), kGreen);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(22, 19.5), QPointF(27.5, 23), QPointF(22, 26.5)}));
        break;
    case IconId::Play: {
        Disc(p, QRectF(3, 3, 26, 26), kGreen);
        p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(12.5, 9), QPointF(23, 16), QPointF(12.5, 23)}));
        break;
    }
    case IconId::NewProject:
        Page(p, QRectF(7, 3, 19, 26));
        Plus(p, QPointF(9, 9), 5, 3.2, kGreen.darker(110));
        break;
    case IconId::Open:
        Folder(p, QRectF(3, 7, 24, 20));
        break;
    case IconId::Save:
        Floppy(p, QRectF(4, 4, 24, 24));
        break;
    case IconId::SaveAs:
        Floppy(p, QRectF(2, 2, 22, 22));
        Pencil(p, QPointF(17, 29), 16);
        break;
    case IconId::Options:
        Gear(p, QPointF(16, 16), 13);
        break;
    case IconId::Help:
        Disc(p, QRectF(3, 3, 26, 26), kBlue);
        p.setPen(Qt::white);
        {
            QFont font;
            font.setBold(true);
            font.setPixelSize(20);
            p.setFont(font);
        }
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case IconId::Exit: {
        p.setPen(Outline());
        p.setBrush(Shaded(QColor(150, 100, 60), QRectF(5, 3, 15, 26)));
        p.drawRect(QRectF(5, 3, 15, 26));
        p.setBrush(QColor(250, 220, 120));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(16.5, 17), 1.4, 1.4);
        Arrow(p, QPointF(14, 16), QPointF(29, 16), kRed, 3.2);
        break;
    }
    case IconId::Add:
        Disc(p, QRectF(3, 3, 26, 26), kGreen);
        Plus(p, QPointF(16, 16), 7, 4);
        break;
    case IconId::AddAll:
        Picture(p, QRectF(8, 2, 20, 16));
        Picture(p, QRectF(4, 7, 20, 16));
        Disc(p, QRectF(15, 15, 16, 16), kGreen);
        Plus(p, QPointF(23, 23), 4.2, 2.8);
        break;
    case IconId::Remove:
        Disc(p, QRectF(3, 3, 26, 26), kRed);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 16), QPointF(23, 16));
        break;
    case IconId::Clear: {
        p.setPen(Outline());
        p.setBrush(Shaded(QColor(170, 180, 195), QRectF(7, 9, 18, 21)));
        p.drawPolygon(QPolygonF({QPointF(7, 9), QPointF(25, 9), QPointF(23, 29), QPointF(9, 29)}));
        p.drawRoundedRect(QRectF(5, 6, 22, 3.5), 1, 1);
        p.drawRect(QRectF(13, 3, 6, 3));
        p.setPen(QPen(kOutline, 1.2));
        for (double x : {12.5, 16.0, 19.5})
            p.drawLine(QPointF(x, 12), QPointF(x, 26));
        break;
    }
    case IconId::Preview:
        Picture(p, QRectF(2, 5, 28, 22));
        break;
    case IconId::FolderUp:
        Folder(p, QRectF(2, 9, 22, 19));
        Arrow(p, QPointF(24, 28), QPointF(24, 6), kGreen.darker(110), 3.4);
        break;
    case IconId::ArrowUp:
        Triangle(p, true);
        break;
    case IconId::ArrowDown:
        Triangle(p, false);
        break;
    case IconId::Music: {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue.darker(120));
        p.drawEllipse(QRectF(5, 20, 9, 7));
        p.drawEllipse(QRectF(18, 17, 9, 7));
        p.setPen(QPen(kBlue.darker(120), 2.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(13, 23), QPointF(13, 7));
        p.drawLine(QPointF(26, 20), QPointF(26, 4));
        p.setPen(QPen(kBlue.darker(120), 4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(13, 7), QPointF(26, 4));
        break;
    }
    case IconId::About:
        Disc(p, QRectF(3, 3, 26, 26), kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
        break;
    case IconId::MakeShow: {
        // A screen playing a show on its own.
        p.setPen(Outline());
        p.setBrush(QColor(90, 90, 100));
        p.drawRect(QRectF(13, 24, 6, 4));
        p.drawRoundedRect(QRectF(8, 27, 16, 3), 1, 1);
        p.setBrush(Shaded(kBlue, QRectF(2, 4, 28, 21)));
        p.drawRoundedRect(QRectF(2, 4, 28, 21), 2, 2);
        p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(13, 9), QPointF(21, 14.5), QPointF(13, 20)}));
        break;
    }
    }
}

}  // namespace

QIcon MakeIcon(IconId id)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(size / kGrid, size / kGrid);
        Draw(painter, id);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace lumetta
