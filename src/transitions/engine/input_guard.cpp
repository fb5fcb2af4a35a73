// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/input_guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace lumetta {

// The application owns a guard that outlives its run waiting for a release.
InputGuard::InputGuard(QWidget *renderWindow) : QObject(qApp), renderWindow_(renderWindow)
{
    qApp->installEventFilter(this);
}

InputGuard::~InputGuard()
{
    // Also gone with the application, which no longer answers then.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

// The window system delivers a press to the top-level window first, which hands it on to the
// widget under the pointer; this filter sees it there already and swallows it, so the press
// counts when it falls where the render window shows in the same top-level window.
bool InputGuard::PressesRenderWindow(QObject *watched, const QMouseEvent &press) const
{
    QWidget *render = renderWindow_;
    if (!render || !render->isVisible() || !watched)
        return false;
    QWidget *top = render->window();
    if (watched != render && watched != top && watched != top->windowHandle()) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != top)
            return false;
    }
    const QPoint global = press.globalPosition().toPoint();
    if (!render->rect().contains(render->mapFromGlobal(global)))
        return false;
    if (top == render)
        return true;
    // Another child laid over the render window takes the press itself.
    QWidget *under = top->childAt(top->mapFromGlobal(global));
    return under == render || (under && render->isAncestorOf(under));
}

void InputGuard::Dismiss()
{
    if (!held_) {
        delete this;
        return;
    }
    dismissed_ = true;
}

void InputGuard::Leave()
{
    qApp->removeEventFilter(this);
    deleteLater();
}

bool InputGuard::FilterAfterRun(QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        Leave();
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
    if (!held_.testFlag(button))
        return false;
    held_.setFlag(button, false);
    if (!held_)
        Leave();
    return true;
}

bool InputGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (dismissed_)
        return FilterAfterRun(event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            escapePressed = true;
        return true;
    case QEvent::MouseButtonPress: {
        const auto &press = *static_cast<QMouseEvent *>(event);
        // Only the first delivery counts: the top-level window hands a press on to a widget.
        if (!held_.testFlag(press.button())) {
            held_.setFlag(press.button());
            if (press.button() == Qt::LeftButton && PressesRenderWindow(watched, press))
                clicked = true;
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        held_.setFlag(static_cast<QMouseEvent *>(event)->button(), false);
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

}  // namespace lumetta
