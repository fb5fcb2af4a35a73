// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

namespace lumetta {

// Which pictures of the list are selected, and which one has the focus (-1: none).
struct PictureSelection
{
    QList<int> rows;
    int current = -1;

    bool operator==(const PictureSelection &other) const = default;
};

}  // namespace lumetta
