#include "media/oriented_rows.h"

#include "media/orientation.h"

#include <algorithm>

namespace lumetta {

OrientedRows::OrientedRows(QImage &target, QSize stored, int orientation, std::vector<quint32> &strip)
    : target_(target), stored_(stored), orientation_(validOrientation(orientation)), strip_(strip)
{
    strip_.clear();
    if (orientationSwapsSides(orientation_))
        strip_.resize(std::size_t(stored.width()) * kStripRows);
}

uchar *OrientedRows::row(int line)
{
    if (!strip_.empty())
        return reinterpret_cast<uchar *>(strip_.data() + std::size_t(line % kStripRows) * stored_.width());
    const bool upsideDown = orientation_ == 3 || orientation_ == 4;
    return target_.scanLine(upsideDown ? stored_.height() - 1 - line : line);
}

int OrientedRows::rowsAvailable(int line) const
{
    return strip_.empty() ? stored_.height() - line : kStripRows - line % kStripRows;
}

void OrientedRows::written(int end)
{
    if (!strip_.empty()) {
        if (end % kStripRows == 0 || end == stored_.height())
            flushStrip(end);
        return;
    }
    if (orientation_ == 2 || orientation_ == 3) {
        for (int line = done_; line < end; ++line) {
            auto *pixels = reinterpret_cast<quint32 *>(row(line));
            std::reverse(pixels, pixels + stored_.width());
        }
    }
    done_ = end;
}

void OrientedRows::flushStrip(int end)
{
    // Stored row y becomes target column y (orientations 5, 8) or height - 1 - y (6, 7); stored
    // column x becomes target row x (5, 6) or width - 1 - x (7, 8).
    const int width = stored_.width();
    const int count = end - done_;
    const bool columnsForward = orientation_ == 5 || orientation_ == 8;
    const bool rowsForward = orientation_ == 5 || orientation_ == 6;
    const int firstColumn = columnsForward ? done_ : stored_.height() - 1 - done_;
    const int step = columnsForward ? 1 : -1;
    const quint32 *source[kStripRows];
    for (int i = 0; i < count; ++i)
        source[i] = strip_.data() + std::size_t((done_ + i) % kStripRows) * width;
    for (int x = 0; x < width; ++x) {
        auto *out = reinterpret_cast<quint32 *>(target_.scanLine(rowsForward ? x : width - 1 - x)) + firstColumn;
        for (int i = 0; i < count; ++i)
            out[i * step] = source[i][x];
    }
    done_ = end;
}

}  // namespace lumetta
