// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace lumetta {

// What the user asked of a show while a slide step ran, merged into one batch: Escape and F1
// never wait behind steps, "next" and "previous" add up to one move of many slides, and a held
// key's auto-repeat or a burst of wheel notches counts as one step per direction.
class StepRequests
{
public:
    enum class Source { Key, AutoRepeat, Wheel, Click };
    enum class Jump { First, Last };

    struct Batch
    {
        bool escape = false;
        bool help = false;
        // Ctrl pressed an odd number of times: pause or resume.
        bool pauseToggled = false;
        // Home or End; the moves asked after it count from there.
        std::optional<Jump> jump;
        // Slides forward (negative: back) from the shown one or from the jump.
        int move = 0;

        bool Empty() const { return !escape && !help && !pauseToggled && !jump && move == 0; }
    };

    void AskEscape() { batch_.escape = true; }
    void AskHelp() { batch_.help = true; }
    void AskPause() { batch_.pauseToggled = !batch_.pauseToggled; }
    void AskJump(Jump jump);
    // DIRECTION is 1 for the next slide, -1 for the previous one.
    void AskStep(int direction, Source source);

    bool EscapeAsked() const { return batch_.escape; }
    bool Empty() const { return batch_.Empty(); }
    // The merged requests, which start afresh; auto-repeat and wheel may count once more.
    Batch Take();
    void Clear();

private:
    Batch batch_;
    // Directions already counted for auto-repeat and the wheel, index 0 back, 1 forward.
    bool repeatCounted_[2] = {false, false};
    bool wheelCounted_[2] = {false, false};
};

}  // namespace lumetta
