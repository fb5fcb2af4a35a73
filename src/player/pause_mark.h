// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace lumetta {

// The small sign in a corner of a paused show: two bars on a dark, half-transparent square.
// It takes no input, so clicks reach the slide under it.
class PauseMark : public QWidget
{
    Q_OBJECT

public:
    explicit PauseMark(QWidget *parent = nullptr);

    // Moves the mark into the bottom-right corner of its parent.
    void PlaceInCorner();

protected:
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace lumetta
