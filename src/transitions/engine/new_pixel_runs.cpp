// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/new_pixel_runs.h"

#include <algorithm>

namespace lumetta {

namespace {

// Runs of one band closer than this are presented as one rectangle: fewer, slightly larger
// rectangles cost less to put on the screen than many thin ones.
constexpr int kMergeGap = 32;

bool SameLayout(const QImage &a, const QImage &b)
{
    return a.format() == b.format() && a.colorTable() == b.colorTable();
}

}  // namespace

bool NewPixelRuns::Begin(const PassData &data, bool keepRegion)
{
    QImage *work = data.bitmap;
    const QImage *dst = data.dstBmp;
    copier_ = {};
    onCanvas_ = false;
    if (!work || !dst || work->depth() < 8 || !SameLayout(*work, *dst))
        return false;
    width_ = std::min({data.width, work->width(), dst->width()});
    height_ = std::min({data.height, work->height(), dst->height()});
    if (width_ <= 0 || height_ <= 0)
        return false;
    QImage *canvas = data.canvas;
    onCanvas_ = canvas && canvas != work && SameLayout(*canvas, *work) && canvas->width() >= width_
                && canvas->height() >= height_;
    QImage *target = onCanvas_ ? canvas : work;
    copier_ = PixelRunCopier(dst->constBits(), dst->bytesPerLine(), target->bits(), target->bytesPerLine(), width_,
                             height_, work->depth() / 8);
    // A canvas of another layout gets the frame through a copy of the region from the work bitmap.
    keepRegion_ = keepRegion || !onCanvas_;
    bands_.assign(std::size_t((height_ + kBandRows - 1) / kBandRows), {});
    touched_.clear();
    return true;
}

void NewPixelRuns::Note(int y, int x0, int x1)
{
    std::vector<Interval> &band = bands_[std::size_t(y / kBandRows)];
    if (band.empty())
        touched_.push_back(y / kBandRows);
    else if (band.back().x0 <= x1 && x0 <= band.back().x1) {
        // Runs of neighbouring rows usually overlap: extend the last interval.
        band.back().x0 = std::min(band.back().x0, x0);
        band.back().x1 = std::max(band.back().x1, x1);
        return;
    }
    band.push_back({x0, x1});
}

QRegion NewPixelRuns::TakeRegion()
{
    if (touched_.empty())
        return {};
    std::sort(touched_.begin(), touched_.end());
    rects_.clear();
    for (int b : touched_) {
        std::vector<Interval> &band = bands_[std::size_t(b)];
        std::sort(band.begin(), band.end(), [](const Interval &l, const Interval &r) { return l.x0 < r.x0; });
        const int top = b * kBandRows;
        const int rows = std::min(kBandRows, height_ - top);
        Interval current = band.front();
        for (std::size_t i = 1; i <= band.size(); ++i) {
            if (i < band.size() && band[i].x0 <= current.x1 + kMergeGap) {
                current.x1 = std::max(current.x1, band[i].x1);
                continue;
            }
            rects_.push_back(QRect(current.x0, top, current.x1 - current.x0, rows));
            if (i < band.size())
                current = band[i];
        }
        band.clear();
    }
    touched_.clear();
    // Bands are sorted, equally high rectangles of one band apart from each other: the form
    // QRegion keeps, so it takes them as they are.
    QRegion region;
    region.setRects(rects_.data(), int(rects_.size()));
    return region;
}

}  // namespace lumetta
