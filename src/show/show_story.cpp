// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/show_story.h"

#include <algorithm>
#include <cmath>

namespace lumetta {

namespace {

const SlideDetails kNoDetails;

}  // namespace

const SlideDetails &ShowStory::Slide(int slide) const
{
    return slide >= 0 && slide < slides_.size() ? slides_[slide] : kNoDetails;
}

void ShowStory::SetSlide(int slide, const SlideDetails &details)
{
    if (slide < 0)
        return;
    if (slide >= slides_.size()) {
        if (details.IsEmpty())
            return;
        slides_.resize(slide + 1);
    }
    slides_[slide] = details;
    Trim();
}

void ShowStory::Insert(int row, int count)
{
    if (row < 0 || row >= slides_.size() || count <= 0)
        return;
    slides_.insert(row, count, SlideDetails());
}

void ShowStory::Remove(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        if (*it >= 0 && *it < slides_.size())
            slides_.removeAt(*it);
    Trim();
}

void ShowStory::Reorder(const QList<int> &order)
{
    if (slides_.isEmpty())
        return;
    QList<SlideDetails> reordered(order.size());
    for (int i = 0; i < order.size(); ++i)
        reordered[i] = Slide(order[i]);
    slides_ = reordered;
    Trim();
}

void ShowStory::Trim()
{
    while (!slides_.isEmpty() && slides_.last().IsEmpty())
        slides_.removeLast();
}

std::int64_t ShowStory::DurationMs(int slide, std::int64_t intervalMs) const
{
    const std::optional<int> own = Slide(slide).durationMs;
    return own ? *own : intervalMs;
}

std::optional<SlideMotion> ShowStory::DrawMotion(int slide) const
{
    if (const std::optional<SlideMotion> &own = Slide(slide).motion)
        return own;
    if (gentleMotion_)
        return SlideMotion::DrawGentle();
    return std::nullopt;
}

QList<std::int64_t> ShowStory::Durations(int count, std::int64_t intervalMs, std::optional<std::int64_t> musicMs) const
{
    QList<std::int64_t> durations(std::max(count, 0));
    std::int64_t total = 0;
    for (int i = 0; i < durations.size(); ++i)
        total += durations[i] = DurationMs(i, intervalMs);
    if (!fitToMusic_ || !musicMs || *musicMs <= 0 || total <= 0)
        return durations;
    // Each slide ends where its share of the music ends, so rounding never adds up.
    const double scale = double(*musicMs) / double(total);
    std::int64_t sum = 0;
    std::int64_t previousEnd = 0;
    for (std::int64_t &duration : durations) {
        sum += duration;
        const std::int64_t end = std::max<std::int64_t>(previousEnd + 1, std::llround(double(sum) * scale));
        duration = end - previousEnd;
        previousEnd = end;
    }
    return durations;
}

bool ShowStory::operator==(const ShowStory &other) const
{
    return slides_ == other.slides_ && fitToMusic_ == other.fitToMusic_ && gentleMotion_ == other.gentleMotion_
           && unknown_ == other.unknown_;
}

}  // namespace lumetta
