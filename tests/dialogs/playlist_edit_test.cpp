// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/playlist_edit.h"
#include "support/qstring_print.h"

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

TEST(PlaylistEdit, MovesAndRemovesByHighlightedRow)
{
    enum Op { Up, Down, Remove };
    struct Case
    {
        QStringList before;
        Op op;
        int row;
        QStringList after;
        int highlighted;
    };
    const Case cases[] = {
        {{"a", "b", "c"}, Up, 2, {"a", "c", "b"}, 1},
        {{"a", "b", "c"}, Up, 0, {"a", "b", "c"}, 0},
        {{"a"}, Up, 0, {"a"}, 0},
        {{"a", "b", "c"}, Down, 0, {"b", "a", "c"}, 1},
        {{"a", "b", "c"}, Down, 2, {"a", "b", "c"}, 2},
        {{"a", "b"}, Down, -1, {"a", "b"}, -1},
        {{"a", "b"}, Up, -1, {"a", "b"}, -1},
        {{"a", "b", "c"}, Remove, 1, {"a", "c"}, 1},
        {{"a", "b", "c"}, Remove, 2, {"a", "b"}, 1},
        {{"a"}, Remove, 0, {}, -1},
        {{"a", "b"}, Remove, -1, {"a", "b"}, -1},
    };
    for (const Case &c : cases) {
        QStringList list = c.before;
        const int row = c.op == Up     ? PlaylistMoveUp(list, c.row)
                        : c.op == Down ? PlaylistMoveDown(list, c.row)
                                       : PlaylistRemove(list, c.row);
        EXPECT_EQ(list, c.after) << c.op << " at " << c.row;
        EXPECT_EQ(row, c.highlighted) << c.op << " at " << c.row;
    }
}

}  // namespace
