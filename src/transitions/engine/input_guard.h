// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QMouseEvent;

namespace lumetta {

// Swallows user input while an abortable run polls for it, recording Escape and left presses in
// the render window's area.
class InputGuard : public QObject
{
public:
    explicit InputGuard(QWidget *renderWindow);
    ~InputGuard() override;

    bool escapePressed = false;
    bool clicked = false;

    // Ends the guard with its run. A mouse button pressed during the run is still held: its
    // release is swallowed too, so the widget under the pointer never sees half a click, and
    // the guard goes once all are released (or a new press shows a release was lost).
    void Dismiss();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool PressesRenderWindow(QObject *watched, const QMouseEvent &press) const;
    bool FilterAfterRun(QEvent *event);
    void Leave();

    QPointer<QWidget> renderWindow_;
    Qt::MouseButtons held_;
    bool dismissed_ = false;
};

}  // namespace lumetta
