// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/slide_motion.h"

#include <QWidget>

namespace lumetta {

// The two rectangles of a slide's motion drawn over its picture in the preview: where the motion
// starts (solid) and where it ends (dashed). The chosen one is dragged by the mouse (inside it to
// move it, its bottom-right corner to size it) or moved with the arrow keys (Shift: ten times as
// far), sized with + and -, and Space chooses the other.
class MotionOverlay : public QWidget
{
    Q_OBJECT

public:
    enum class Part { Start, End };

    explicit MotionOverlay(QWidget *parent = nullptr);

    void SetMotion(const SlideMotion &motion);
    const SlideMotion &Motion() const { return motion_; }
    Part Chosen() const { return chosen_; }
    void Choose(Part part);
    // Where RECT lies on the widget.
    QRectF Placed(const SlideMotion::Rect &rect) const;

signals:
    // The user moved or sized a rectangle; one drag, or one run of keys, is one GESTURE.
    void Edited(const SlideMotion &motion, int gesture);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    enum class Drag { None, Move, Size };

    SlideMotion::Rect &ChosenRect();
    void Change(const SlideMotion::Rect &rect);

    SlideMotion motion_;
    Part chosen_ = Part::Start;
    Drag drag_ = Drag::None;
    QPointF grabbedAt_;
    SlideMotion::Rect grabbed_;
    int gesture_ = 0;
    // Keys pressed one after another make one gesture until the mouse or another field takes over.
    bool keying_ = false;
};

}  // namespace lumetta
