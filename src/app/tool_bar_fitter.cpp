// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tool_bar_fitter.h"

#include <QEvent>
#include <QToolBar>
#include <QToolButton>

namespace lumetta {

ToolBarFitter::ToolBarFitter(QToolBar *bar, const QSize &buttonMinimum)
    : QObject(bar),
      bar_(bar),
      buttonMinimum_(buttonMinimum),
      style_(bar->toolButtonStyle())
{
    bar_->installEventFilter(this);
    // Measured once as icons alone: the width below which the bar would hide commands.
    SetCompact(true);
    compactWidth_ = bar_->sizeHint().width();
    SetCompact(false);
}

bool ToolBarFitter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        Fit();
    return QObject::eventFilter(watched, event);
}

void ToolBarFitter::Fit()
{
    if (!compact_)
        captionedWidth_ = bar_->sizeHint().width();
    SetCompact(bar_->width() < captionedWidth_);
}

void ToolBarFitter::SetCompact(bool compact)
{
    compact_ = compact;
    const Qt::ToolButtonStyle style = compact ? Qt::ToolButtonIconOnly : style_;
    bar_->setToolButtonStyle(style);
    // Buttons put on the bar as widgets do not follow the bar's style by themselves.
    for (QAction *action : bar_->actions()) {
        if (auto *button = qobject_cast<QToolButton *>(bar_->widgetForAction(action))) {
            button->setToolButtonStyle(style);
            button->setMinimumSize(compact ? QSize(0, 0) : buttonMinimum_);
        }
    }
    // A new button style resets the bar's own minimum.
    bar_->setMinimumWidth(compactWidth_);
}

}  // namespace lumetta
