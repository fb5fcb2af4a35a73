// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSize>

class QToolBar;

namespace lumetta {

// Keeps every command of a tool bar on the bar instead of behind its overflow button: when the
// buttons with their captions are wider than the bar, they show their icons alone (the captions
// stay as tool tips), and the bar is never made narrower than that.
class ToolBarFitter : public QObject
{
    Q_OBJECT
public:
    // BUTTON_MINIMUM is the minimum size of each button while it shows its caption.
    ToolBarFitter(QToolBar *bar, const QSize &buttonMinimum);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Fit();
    void SetCompact(bool compact);

    QToolBar *bar_;
    QSize buttonMinimum_;
    Qt::ToolButtonStyle style_;
    int captionedWidth_ = 0;
    int compactWidth_ = 0;
    bool compact_ = false;
};

}  // namespace lumetta
