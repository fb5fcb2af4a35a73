#pragma once

#include <QObject>

// Swallows user input while an abortable run polls for it, recording Escape and left clicks on
// the render window.
class InputGuard : public QObject
{
public:
    explicit InputGuard(QObject *renderWindow);
    ~InputGuard() override;

    bool escapePressed = false;
    bool clicked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QObject *renderWindow_;
};
