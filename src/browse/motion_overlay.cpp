// SPDX-License-Identifier: GPL-3.0-or-later
#include "browse/motion_overlay.h"

#include "browse/motion_rect_edit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumetta {

namespace {

// How near the bottom-right corner a press sizes rather than moves, in pixels.
constexpr double kCornerReach = 8;
constexpr double kKeyStep = 0.01;
constexpr double kShiftKeyStep = 0.1;
constexpr double kKeyScale = 1.05;

}  // namespace

MotionOverlay::MotionOverlay(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MotionOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Motion rectangles"));
    setToolTip(QStringLiteral("Where the motion starts (solid) and ends (dashed): drag a rectangle or its corner; "
                              "arrows move, + and - size, Space chooses the other"));
}

void MotionOverlay::SetMotion(const SlideMotion &motion)
{
    motion_ = motion;
    update();
}

void MotionOverlay::Choose(Part part)
{
    chosen_ = part;
    update();
}

QRectF MotionOverlay::Placed(const SlideMotion::Rect &rect) const
{
    return QRectF(rect.x * width(), rect.y * height(), rect.width * width(), rect.height * height());
}

SlideMotion::Rect &MotionOverlay::ChosenRect()
{
    return chosen_ == Part::Start ? motion_.start : motion_.end;
}

void MotionOverlay::Change(const SlideMotion::Rect &rect)
{
    if (rect == ChosenRect())
        return;
    ChosenRect() = rect;
    update();
    emit Edited(motion_, gesture_);
}

void MotionOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto draw = [&](Part part, const SlideMotion::Rect &rect, const QColor &colour, Qt::PenStyle style) {
        const bool chosen = part == chosen_;
        const QRectF placed = Placed(rect).adjusted(1, 1, -1, -1);
        // A dark edge under the colour, so the rectangle reads on any photo.
        painter.setPen(QPen(QColor(0, 0, 0, 160), chosen ? 4 : 3));
        painter.drawRect(placed);
        painter.setPen(QPen(colour, chosen ? 2 : 1, style));
        painter.drawRect(placed);
        if (chosen) {
            const QPointF corner = placed.bottomRight();
            painter.fillRect(QRectF(corner - QPointF(5, 5), QSizeF(6, 6)), colour);
        }
        // The name on a dark label, readable over sky and snow alike.
        const QString name = part == Part::Start ? QStringLiteral("Start") : QStringLiteral("End");
        const QRectF label = QRectF(placed.topLeft() + QPointF(3, 3), QSizeF(fontMetrics().size(0, name)))
                                 .adjusted(0, 0, 6, 2);
        painter.fillRect(label, QColor(0, 0, 0, 160));
        painter.drawText(label, Qt::AlignCenter, name);
    };
    draw(Part::Start, motion_.start, QColor(90, 230, 90), Qt::SolidLine);
    draw(Part::End, motion_.end, QColor(255, 170, 40), Qt::DashLine);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void MotionOverlay::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    // The chosen rectangle first, so one lying over the other can still be taken.
    for (const Part part : {chosen_, chosen_ == Part::Start ? Part::End : Part::Start}) {
        const QRectF placed = Placed(part == Part::Start ? motion_.start : motion_.end);
        const QPointF fromCorner = at - placed.bottomRight();
        const bool onCorner = std::abs(fromCorner.x()) <= kCornerReach && std::abs(fromCorner.y()) <= kCornerReach;
        if (onCorner || placed.contains(at)) {
            Choose(part);
            drag_ = onCorner ? Drag::Size : Drag::Move;
            grabbedAt_ = at;
            grabbed_ = ChosenRect();
            ++gesture_;
            keying_ = false;
            return;
        }
    }
}

void MotionOverlay::mouseMoveEvent(QMouseEvent *event)
{
    if (drag_ == Drag::None || width() <= 0 || height() <= 0)
        return;
    const QPointF at = event->position();
    if (drag_ == Drag::Move)
        Change(MotionRectEdit::Moved(grabbed_, (at.x() - grabbedAt_.x()) / width(),
                                     (at.y() - grabbedAt_.y()) / height()));
    else
        Change(MotionRectEdit::DraggedTo(grabbed_, at.x() / width(), at.y() / height()));
}

void MotionOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    mouseMoveEvent(event);
    drag_ = Drag::None;
}

void MotionOverlay::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? kShiftKeyStep : kKeyStep;
    const SlideMotion::Rect rect = ChosenRect();
    if (!keying_) {
        ++gesture_;
        keying_ = true;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        Change(MotionRectEdit::Moved(rect, -step, 0));
        break;
    case Qt::Key_Right:
        Change(MotionRectEdit::Moved(rect, step, 0));
        break;
    case Qt::Key_Up:
        Change(MotionRectEdit::Moved(rect, 0, -step));
        break;
    case Qt::Key_Down:
        Change(MotionRectEdit::Moved(rect, 0, step));
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        // Closer in: a smaller part of the picture.
        Change(MotionRectEdit::Scaled(rect, 1 / kKeyScale));
        break;
    case Qt::Key_Minus:
        Change(MotionRectEdit::Scaled(rect, kKeyScale));
        break;
    case Qt::Key_Space:
        Choose(chosen_ == Part::Start ? Part::End : Part::Start);
        keying_ = false;
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MotionOverlay::focusOutEvent(QFocusEvent *event)
{
    keying_ = false;
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace lumetta
