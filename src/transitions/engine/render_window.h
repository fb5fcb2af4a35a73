// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

namespace lumetta {

// The window laid over the area during a run. It paints only its canvas, a device-pixel image,
// so the screen keeps showing whatever the canvas holds while the control changes underneath.
class RenderWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RenderWindow(QWidget *parent = nullptr);

    QImage &CanvasImage() { return canvas_; }
    void SetCanvasImage(const QImage &image) { canvas_ = image; }
    // Repaints a device-pixel rectangle of the canvas on the screen now.
    void Present(const QRect &deviceRect);
    // Repaints a device-pixel region of the canvas on the screen now.
    void Present(const QRegion &deviceRegion);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage canvas_;
};

}  // namespace lumetta
