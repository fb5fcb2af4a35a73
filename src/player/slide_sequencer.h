// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/step_requests.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

class ShowProject;
struct SlideTransition;

// The effect entry for a draw r in [0, 1) from n entries: r * (n - 1) rounded half to even,
// so the first and last entries come up half as often as the others. nullopt when n is 0.
std::optional<int> EffectEntryFor(double r, int n);

// Draws from the shared generator (at every call, as every step does) and returns the effect
// number of the chosen entry; nullopt for an empty selection or an entry that is not a number
// from 0 to 20, which play without an effect.
std::optional<int> ChooseEffect(const QStringList &selection);

// The effect into a slide whose own transition is TRANSITION: the one named (a name this catalogue
// does not know plays as random), none, or DRAWN, the one the step drew from the selection.
std::optional<int> EffectIntoSlide(const SlideTransition &transition, std::optional<int> drawn);

// "N. name": the picture's number from 1 and its file name without the folder.
QString SlideCaption(int index, const QString &path);

// The pictures the step after one that showed picture index may show: the next one (the first
// again at the end of a looping show) and, for going back, the one before; none outside the list.
QStringList PicturesNextTo(const QStringList &pictures, int index, bool looping);

// What the slide step asks of the player window.
class SlideHost
{
public:
    virtual ~SlideHost() = default;
    // Hides the mouse pointer over the slide and the background.
    virtual void HidePointer() = 0;
    virtual void SetCaption(const QString &text) = 0;
    // Lets the window system deliver what is pending, except user input.
    virtual void LetWindowUpdate() = 0;
    // Delivers the user input waiting in the window system's queue (keys and clicks reach the
    // sequencer as requests).
    virtual void LetInputIn() = 0;
    // Freezes the slide panel under the effect's render window; true when prepared.
    virtual bool PrepareEffect(int effect) = 0;
    // Loads and decodes the picture for the slide panel, which stays unchanged; the error text
    // when it cannot be shown.
    virtual std::optional<QString> LoadPicture(const QString &path) = 0;
    // Lays out the picture last loaded, slide INDEX of the list, in the slide panel.
    virtual void ShowPicture(int index, const QString &path) = 0;
    // Slide INDEX has come on the screen; TIMED when a timer tick or the show's start asked for
    // it, so the next tick falls due when the slide's time from then is up.
    virtual void SlideShown(int index, bool timed) = 0;
    virtual void ExecuteEffect(int effect) = 0;
    virtual void UnPrepareEffect(int effect) = 0;
    // Tells the user about a problem without stopping the show.
    virtual void Notify(const QString &message) = 0;
    virtual void CloseShow() = 0;
    // Ends the show because of MESSAGE, which the one who started it reports.
    virtual void FailShow(const QString &message) = 0;
    virtual bool SlideTimerEnabled() const = 0;
    // Enabling an enabled timer keeps its running interval.
    virtual void SetSlideTimerEnabled(bool enabled) = 0;
    // Shows the hot-key help modally.
    virtual void ShowHotKeyHelp() = 0;
    // Shows or hides the sign of a show paused by Ctrl.
    virtual void ShowPaused(bool paused) = 0;
};

// The notice for pictures a step skipped: the first few errors, and the rest counted in one line.
QString SkippedPicturesNotice(const QStringList &errors);

// The slide sequencer: the slide step, the hot keys, the click and the wheel. Requests that come
// while a step runs wait for it and are merged (StepRequests): Escape and F1 go first, the
// steps asked meanwhile become one step of as many slides. Before every step the input waiting
// in the window system is let in, so a burst of keys is merged whole. A timer tick never goes
// before waiting input, as on a window system where the timer message is the one of lowest
// priority: so a slide timer that is due again whenever a step ends cannot starve keys.
class SlideSequencer
{
public:
    explicit SlideSequencer(SlideHost &host);

    // The show whose lists every step reads afresh.
    void SetProject(const ShowProject *project) { project_ = project; }

    // Set-up of a show: from the first picture, then the first step at once.
    void Start();
    // The show has closed: pending requests are dropped and later ones ignored.
    void End();
    bool Running() const { return running_; }
    bool Busy() const { return busy_; }

    // The slide timer's tick; ticks that pile up during a step count as one.
    void Tick();
    // A click on the slide picture.
    void Click();
    // The mouse wheel turned by one notch: down shows the next slide, up the previous one.
    void Wheel(bool down);
    // A key of the player window (Qt key code), AUTOREPEAT when the window system repeats a held
    // key; false when it is not a hot key.
    bool KeyDown(int key, bool autoRepeat = false);
    // True when Escape waits for the running step, which may then be cut short.
    bool EscapeWaiting() const { return requests_.EscapeAsked(); }
    // The help window closed: automatic shows advance again.
    void HelpClosed();

    int NextSlide() const { return nextSlide_; }
    void SetNextSlide(int index) { nextSlide_ = index; }

private:
    void Run();
    void Perform(const StepRequests::Batch &batch);
    // Moves to the slide MOVE places from the shown one, or from the first or the last.
    void MoveBy(std::optional<StepRequests::Jump> jump, int move);
    // Shows the next slide; TIMED for a step a tick or the start asked for.
    void SlideStep(int direction, bool timed = false);
    bool Manual() const;

    SlideHost &host_;
    const ShowProject *project_ = nullptr;
    int nextSlide_ = 0;
    bool running_ = false;
    bool busy_ = false;
    bool setUpDue_ = false;
    StepRequests requests_;
    // A tick arrived; it runs once the requests and the input before it have run.
    bool tickDue_ = false;
    // Pictures already reported as unreadable in this show.
    QSet<QString> reported_;
};

}  // namespace lumetta
