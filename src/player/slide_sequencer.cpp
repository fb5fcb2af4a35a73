// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/slide_sequencer.h"

#include "common/arith.h"
#include "common/random.h"
#include "player/effect_catalogue.h"
#include "show/show_project.h"
#include "show/slide_transition.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace lumetta {

namespace {

// Unreadable pictures tried between two looks at the user's input.
constexpr int kSkipsBetweenInput = 16;
// Errors a notice names before it counts the rest.
constexpr int kNamedSkips = 3;

}  // namespace

std::optional<int> EffectEntryFor(double r, int n)
{
    if (n <= 0)
        return std::nullopt;
    return int(RoundEven(r * (n - 1)));
}

std::optional<int> ChooseEffect(const QStringList &selection)
{
    const double r = RandomReal();
    const std::optional<int> entry = EffectEntryFor(r, int(selection.size()));
    if (!entry)
        return std::nullopt;
    bool ok = false;
    const int effect = selection.at(*entry).toInt(&ok);
    if (!ok || effect < 0 || effect >= kOfferedEffectCount)
        return std::nullopt;
    return effect;
}

std::optional<int> EffectIntoSlide(const SlideTransition &transition, std::optional<int> drawn)
{
    switch (transition.kind) {
    case SlideTransition::Kind::Random:
        break;
    case SlideTransition::Kind::None:
        return std::nullopt;
    case SlideTransition::Kind::Effect:
        if (const std::optional<int> named = EffectNumberOfStoredName(transition.effect))
            return named;
        break;
    }
    return drawn;
}

QString SlideCaption(int index, const QString &path)
{
    return QString::number(index + 1) + QLatin1String(". ") + QFileInfo(path).fileName();
}

QStringList PicturesNextTo(const QStringList &pictures, int index, bool looping)
{
    QStringList next;
    const int count = int(pictures.size());
    if (index < 0 || index >= count)
        return next;
    if (index + 1 < count)
        next << pictures.at(index + 1);
    else if (looping)
        next << pictures.first();
    if (index > 0)
        next << pictures.at(index - 1);
    return next;
}

SlideSequencer::SlideSequencer(SlideHost &host) : host_(host)
{
}

void SlideSequencer::Start()
{
    nextSlide_ = 0;
    reported_.clear();
    requests_.Clear();
    running_ = true;
    setUpDue_ = true;
    Run();
}

void SlideSequencer::End()
{
    running_ = false;
    requests_.Clear();
}

void SlideSequencer::Tick()
{
    tickDue_ = true;
    Run();
}

void SlideSequencer::Click()
{
    requests_.AskStep(1, StepRequests::Source::Click);
    Run();
}

void SlideSequencer::Wheel(bool down)
{
    requests_.AskStep(down ? 1 : -1, StepRequests::Source::Wheel);
    Run();
}

bool SlideSequencer::KeyDown(int key, bool autoRepeat)
{
    const StepRequests::Source source = autoRepeat ? StepRequests::Source::AutoRepeat : StepRequests::Source::Key;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_PageDown:
        requests_.AskStep(1, source);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        requests_.AskStep(-1, source);
        break;
    case Qt::Key_Home:
        requests_.AskJump(StepRequests::Jump::First);
        break;
    case Qt::Key_End:
        requests_.AskJump(StepRequests::Jump::Last);
        break;
    case Qt::Key_Escape:
        requests_.AskEscape();
        break;
    case Qt::Key_F1:
        requests_.AskHelp();
        break;
    case Qt::Key_Control:
        // A held Ctrl pauses once.
        if (!autoRepeat)
            requests_.AskPause();
        break;
    default:
        return false;
    }
    Run();
    return true;
}

void SlideSequencer::HelpClosed()
{
    if (running_ && !Manual()) {
        host_.SetSlideTimerEnabled(true);
        host_.ShowPaused(false);
    }
}

bool SlideSequencer::Manual() const
{
    return project_ && project_->Settings().Get(ShowSettings::AdvanceLine) == QLatin1String("Manual");
}

void SlideSequencer::Run()
{
    if (!running_ || !project_) {
        requests_.Clear();
        tickDue_ = false;
        return;
    }
    // A request that comes while a step runs waits in requests_ for the loop below.
    if (busy_)
        return;
    struct Idle
    {
        SlideSequencer &sequencer;
        ~Idle()
        {
            sequencer.busy_ = false;
            sequencer.tickDue_ = false;
            sequencer.requests_.Clear();
        }
    } idle{*this};
    busy_ = true;
    // The request that started the run goes first; before every later step, and before a tick,
    // what is waiting is let in and merged with what came during the last step.
    bool letIn = requests_.Empty();
    while (running_) {
        if (std::exchange(setUpDue_, false)) {
            host_.LetWindowUpdate();
            if (running_)
                SlideStep(1, true);
            continue;
        }
        // The event loop may hand out an overdue timer tick meanwhile; ticks that fall due
        // count as one.
        if (std::exchange(letIn, true))
            host_.LetInputIn();
        if (!running_)
            return;
        if (!requests_.Empty()) {
            Perform(requests_.Take());
            continue;
        }
        if (!std::exchange(tickDue_, false))
            return;
        // A pause made meanwhile takes the due tick away, as stopping a timer does.
        if (host_.SlideTimerEnabled())
            SlideStep(1, true);
    }
}

void SlideSequencer::Perform(const StepRequests::Batch &batch)
{
    if (batch.escape) {
        host_.SetSlideTimerEnabled(false);
        host_.CloseShow();
        return;
    }
    if (batch.help) {
        host_.SetSlideTimerEnabled(false);
        host_.ShowHotKeyHelp();
        if (!running_)
            return;
    }
    int move = batch.move;
    bool resumed = false;
    if (batch.pauseToggled) {
        if (host_.SlideTimerEnabled()) {
            host_.SetSlideTimerEnabled(false);
            host_.ShowPaused(true);
        } else {
            // Resuming shows the next slide at once.
            host_.ShowPaused(false);
            resumed = true;
            ++move;
        }
    }
    if (batch.jump || move != 0)
        MoveBy(batch.jump, move);
    if (resumed && running_)
        host_.SetSlideTimerEnabled(true);
}

void SlideSequencer::MoveBy(std::optional<StepRequests::Jump> jump, int move)
{
    const int count = int(project_->Pictures().size());
    // nextSlide_ is one past the shown slide.
    int target = nextSlide_ - 1 + move;
    if (jump == StepRequests::Jump::First)
        target = move;
    else if (jump == StepRequests::Jump::Last)
        target = count - 1 + move;
    // An unreadable picture is skipped in the direction of the move; the last one backwards.
    const bool backwards = jump == StepRequests::Jump::Last ? move <= 0 : move < 0;
    // Going back from the first picture shows the first picture again.
    target = std::max(0, target);
    if (target > count - 1 && count > 0 && project_->Settings().Looping())
        target %= count;
    nextSlide_ = target;
    SlideStep(backwards ? -1 : 1);
}

QString SkippedPicturesNotice(const QStringList &errors)
{
    QStringList lines = errors.mid(0, kNamedSkips);
    if (errors.size() > kNamedSkips)
        lines << (errors.size() == kNamedSkips + 1
                      ? QStringLiteral("1 more picture cannot be shown")
                      : QStringLiteral("%1 more pictures cannot be shown").arg(errors.size() - kNamedSkips));
    return lines.join(QLatin1Char('\n'));
}

void SlideSequencer::SlideStep(int direction, bool timed)
{
    host_.HidePointer();
    // Drawn at every step, also for a slide with a transition of its own, so the slides without
    // one draw as they would in a show without details.
    const std::optional<int> drawn = ChooseEffect(project_->EffectSelection());
    const QStringList pictures = project_->Pictures();
    const int count = int(pictures.size());
    QString firstError;
    // Errors not reported yet, told in one notice once the step knows how it ends.
    QStringList newErrors;
    const auto report = [&] {
        if (!newErrors.isEmpty())
            host_.Notify(SkippedPicturesNotice(std::exchange(newErrors, {})));
    };
    // An unreadable picture is skipped within the same step, each picture tried at most once.
    for (int attempt = 0; attempt < std::max(count, 1); ++attempt) {
        if (nextSlide_ > count - 1) {
            nextSlide_ = 0;
            if (!project_->Settings().Looping()) {
                report();
                host_.CloseShow();
                return;
            }
        }
        if (nextSlide_ > count - 1)
            return;
        const int index = nextSlide_;
        // A long run of unreadable pictures lets Escape in as it goes.
        if (attempt == 0)
            host_.LetWindowUpdate();
        else if (attempt % kSkipsBetweenInput == 0)
            host_.LetInputIn();
        if (!running_ || requests_.EscapeAsked())
            return;

        // Loaded before the effect freezes the screen, so a picture that will not show costs no
        // screen grab.
        if (const std::optional<QString> error = host_.LoadPicture(pictures.at(index))) {
            if (firstError.isEmpty())
                firstError = *error;
            if (!reported_.contains(pictures.at(index))) {
                reported_.insert(pictures.at(index));
                newErrors << *error;
            }
            if (direction < 0 && index == 0)
                direction = 1;
            nextSlide_ = index + direction;
            continue;
        }
        report();
        const SlideTransition &own = project_->Story().Slide(index).transition;
        const std::optional<int> effect = EffectIntoSlide(own, drawn);
        const bool prepared = effect && host_.PrepareEffect(*effect);
        host_.ShowPicture(index, pictures.at(index));
        // The caption names only a picture that shows; it changes as the transition starts.
        host_.SetCaption(SlideCaption(index, pictures.at(index)));
        nextSlide_ = index + 1;
        // A transition chosen for the slide runs also in a show without effects.
        const bool animate = project_->Settings().EffectsOn() || own.kind == SlideTransition::Kind::Effect;
        if (animate && prepared)
            host_.ExecuteEffect(*effect);
        if (effect)
            host_.UnPrepareEffect(*effect);
        host_.SlideShown(index, timed);
        return;
    }
    report();
    // Not one picture of the list could be shown: a show of nothing but its background ends.
    if (count > 0)
        host_.FailShow(count == 1 ? QStringLiteral("The show's only picture cannot be shown. %1").arg(firstError)
                                  : QStringLiteral("None of the show's %1 pictures can be shown. The first: %2")
                                        .arg(count)
                                        .arg(firstError));
}

}  // namespace lumetta
