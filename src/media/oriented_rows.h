// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <vector>

namespace lumetta {

// Puts the rows of a picture into its upright image while they are decoded, so turning it costs
// no second pass over memory: flips only choose the target row (and reverse it while it is still
// in the cache), quarter turns collect a strip of rows and transpose it into the target's columns.
// Works on 32-bit pixels. Holds nothing that needs destroying, so a decoder may jump over it.
class OrientedRows
{
public:
    static constexpr int kStripRows = 16;

    // `target` is the upright image for a stored picture of `stored` size, allocated by the
    // caller with OrientedSize(stored, orientation) and a 32-bit format; `strip` is working
    // memory that outlives this object.
    OrientedRows(QImage &target, QSize stored, int orientation, std::vector<quint32> &strip);

    // Where stored row `line` goes; rows are written in order.
    uchar *Row(int line);
    // How many rows from `line` on may be asked for before the next call to written().
    int RowsAvailable(int line) const;
    // Stored rows below `end` are complete.
    void Written(int end);

private:
    void FlushStrip(int end);

    QImage &target_;
    QSize stored_;
    int orientation_;
    int done_ = 0;
    std::vector<quint32> &strip_;
};

}  // namespace lumetta
