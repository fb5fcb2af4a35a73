// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/slide_sequencer.h"

#include "common/arith.h"
#include "common/random.h"
#include "player/effect_catalogue.h"
#include "show/show_project.h"

#include <QFileInfo>

#include <algorithm>

namespace lumetta {

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
    pending_.clear();
    running_ = true;
    Ask(Request::SetUp);
}

void SlideSequencer::End()
{
    running_ = false;
    pending_.clear();
}

void SlideSequencer::Tick()
{
    Ask(Request::Tick);
}

void SlideSequencer::Click()
{
    Ask(Request::Step);
}

void SlideSequencer::Wheel(bool down)
{
    Ask(down ? Request::Step : Request::Back);
}

bool SlideSequencer::KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_PageDown:
        Ask(Request::Step);
        return true;
    case Qt::Key_PageUp:
        Ask(Request::Back);
        return true;
    case Qt::Key_Home:
        Ask(Request::First);
        return true;
    case Qt::Key_End:
        Ask(Request::Last);
        return true;
    case Qt::Key_Escape:
        Ask(Request::Escape);
        return true;
    case Qt::Key_F1:
        Ask(Request::Help);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        Ask(Request::Back);
        return true;
    case Qt::Key_Control:
        Ask(Request::Ctrl);
        return true;
    default:
        return false;
    }
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

void SlideSequencer::Ask(Request request)
{
    if (!running_ || !project_)
        return;
    if (busy_) {
        if (request == Request::Tick)
            tickDue_ = true;
        else
            pending_.push_back(request);
        return;
    }
    struct Idle
    {
        SlideSequencer &sequencer;
        ~Idle()
        {
            sequencer.busy_ = false;
            sequencer.tickDue_ = false;
            sequencer.pending_.clear();
        }
    } idle{*this};
    busy_ = true;
    if (request == Request::Tick)
        tickDue_ = true;
    else
        Perform(request);
    RunPending();
}

void SlideSequencer::RunPending()
{
    while (running_) {
        if (!pending_.empty()) {
            const Request next = pending_.front();
            pending_.pop_front();
            Perform(next);
            continue;
        }
        if (!tickDue_)
            return;
        // A tick runs after the input that waited meanwhile (the event loop may hand out an
        // overdue timer first), which may pause or end the show, or add requests of its own;
        // ticks that fall due meanwhile count as one.
        host_.LetInputIn();
        if (!pending_.empty())
            continue;
        tickDue_ = false;
        // A pause made meanwhile takes the due tick away, as stopping a timer does.
        if (running_ && host_.SlideTimerEnabled())
            Perform(Request::Tick);
    }
}

void SlideSequencer::Perform(Request request)
{
    switch (request) {
    case Request::SetUp:
        host_.LetWindowUpdate();
        if (running_)
            SlideStep(1);
        break;
    case Request::Tick:
    case Request::Step:
        SlideStep(1);
        break;
    case Request::Back:
        // Going back from the first picture shows the first picture again.
        nextSlide_ = std::max(0, nextSlide_ - 2);
        SlideStep(-1);
        break;
    case Request::First:
        nextSlide_ = 0;
        SlideStep(1);
        break;
    case Request::Last:
        nextSlide_ = std::max(0, int(project_->Pictures().size()) - 1);
        // An unreadable last picture is skipped backwards, as going back skips.
        SlideStep(-1);
        break;
    case Request::Escape:
        host_.SetSlideTimerEnabled(false);
        host_.CloseShow();
        break;
    case Request::Help:
        host_.SetSlideTimerEnabled(false);
        host_.ShowHotKeyHelp();
        break;
    case Request::Ctrl:
        if (host_.SlideTimerEnabled()) {
            host_.SetSlideTimerEnabled(false);
            host_.ShowPaused(true);
        } else {
            host_.ShowPaused(false);
            SlideStep(1);
            if (running_)
                host_.SetSlideTimerEnabled(true);
        }
        break;
    }
}

void SlideSequencer::SlideStep(int direction)
{
    host_.HidePointer();
    const std::optional<int> effect = ChooseEffect(project_->EffectSelection());
    const QStringList pictures = project_->Pictures();
    const int count = int(pictures.size());
    // An unreadable picture is skipped within the same step, each picture tried at most once.
    for (int attempt = 0; attempt < std::max(count, 1); ++attempt) {
        if (nextSlide_ > count - 1) {
            nextSlide_ = 0;
            if (!project_->Settings().Looping()) {
                host_.CloseShow();
                return;
            }
        }
        if (nextSlide_ > count - 1)
            return;
        const int index = nextSlide_;
        host_.SetCaption(SlideCaption(index, pictures.at(index)));
        host_.LetWindowUpdate();
        if (!running_)
            return;

        const bool prepared = effect && host_.PrepareEffect(*effect);
        const std::optional<QString> error = host_.ShowPicture(pictures.at(index));
        if (error) {
            if (effect)
                host_.UnPrepareEffect(*effect);
            if (!reported_.contains(pictures.at(index))) {
                reported_.insert(pictures.at(index));
                host_.Notify(*error);
            }
            if (direction < 0 && index == 0)
                direction = 1;
            nextSlide_ = index + direction;
            continue;
        }
        nextSlide_ = index + 1;
        if (project_->Settings().EffectsOn() && prepared)
            host_.ExecuteEffect(*effect);
        if (effect)
            host_.UnPrepareEffect(*effect);
        return;
    }
}

}  // namespace lumetta
