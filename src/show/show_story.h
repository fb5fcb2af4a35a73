// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/slide_details.h"

#include <QJsonObject>
#include <QList>

#include <cstdint>
#include <optional>

namespace lumetta {

// The details a show's slides have of their own, by position in the picture list, and the
// show-wide options that live beside the project file. Slides past the end of the list held
// here have none.
class ShowStory
{
public:
    // SLIDE's details; the default for a slide without any.
    const SlideDetails &Slide(int slide) const;
    void SetSlide(int slide, const SlideDetails &details);
    // Slides as the picture list is edited: COUNT slides without details before ROW; the slides
    // at ROWS (any order) taken out; slides put in ORDER (old positions, new order).
    void Insert(int row, int count);
    void Remove(QList<int> rows);
    void Reorder(const QList<int> &order);
    // Slides up to the last that has details.
    int SlideCount() const { return int(slides_.size()); }

    // Durations are scaled so that the show ends with its music, keeping their proportions.
    bool FitToMusic() const { return fitToMusic_; }
    void SetFitToMusic(bool fit) { fitToMusic_ = fit; }

    // Every slide without a motion of its own gets a random slow zoom in or out.
    bool GentleMotion() const { return gentleMotion_; }
    void SetGentleMotion(bool gentle) { gentleMotion_ = gentle; }
    // SLIDE's motion: its own, else with gentle motion one drawn from the shared generator now,
    // else none.
    std::optional<SlideMotion> DrawMotion(int slide) const;

    // Show-wide keys this program does not know, written back unchanged.
    QJsonObject &Unknown() { return unknown_; }
    const QJsonObject &Unknown() const { return unknown_; }

    // No details at all: no file needs to be kept.
    bool IsEmpty() const { return slides_.isEmpty() && !fitToMusic_ && !gentleMotion_ && unknown_.isEmpty(); }
    bool HasDetails(int slide) const { return !Slide(slide).IsEmpty(); }

    // How long SLIDE shows in an automatic show whose interval is INTERVAL_MS, before fitting.
    std::int64_t DurationMs(int slide, std::int64_t intervalMs) const;
    // How long each of COUNT slides shows: their own durations or INTERVAL_MS, scaled, when the
    // show fits its music of MUSIC_MS, so that they add up to it (each at least 1 ms).
    QList<std::int64_t> Durations(int count, std::int64_t intervalMs, std::optional<std::int64_t> musicMs) const;

    bool operator==(const ShowStory &other) const;

private:
    void Trim();

    QList<SlideDetails> slides_;
    bool fitToMusic_ = false;
    bool gentleMotion_ = false;
    QJsonObject unknown_;
};

}  // namespace lumetta
