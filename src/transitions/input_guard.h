#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QMouseEvent;

// Swallows user input while an abortable run polls for it, recording Escape and left presses in
// the render window's area.
class InputGuard : public QObject
{
public:
    explicit InputGuard(QWidget *renderWindow);
    ~InputGuard() override;

    bool escapePressed = false;
    bool clicked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool PressesRenderWindow(QObject *watched, const QMouseEvent &press) const;

    QPointer<QWidget> renderWindow_;
};
