// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The effect base: settings, the prepare/execute cycle of one transition over a widget
// (transition_effect_run.cpp) and the headless run on images.
//
// Using an effect (any Qt program):
//     if (effect->Prepare(panel, panel->rect())) { change the panel; effect->Execute(); }
//     effect->UnPrepare();
// Execute may throw TransitionAborted (a pass without frames: show no message) or
// TransitionError; the engine has cleaned up (render window gone, effect unprepared,
// OnAfterTransition fired) by then.
//
// Writing an effect: most effects derive from TTimedTransitionEffect (timed_transition_effect.h)
// and implement Initialize / DrawFrame / Finalize; a few override RunTransition directly. Everything an effect
// draws with is in the pass record PassData:
//   SrcBmp  old picture of the pass (the intermediate picture in pass 2 of a two-pass run)
//   DstBmp  new picture of the pass (the intermediate picture in pass 1 of a two-pass run)
//   Bitmap  work bitmap when NeedWorkBitmap() is true (may be SrcBmp itself, see WorkOnSrcBitmap)
//   Canvas  the image the render window shows; GetCanvas() is Bitmap when set, else Canvas
//   Width, Height  size of the area in device pixels; bitmaps may be wider (GetBitmapsWidth)
//   PixelFormat, HighColor  format of all the bitmaps above; HighColor = screen deeper than 8 bits
// All bitmaps are QImages in device pixels of format ImageFormatOf(PixelFormat) (bitmap.h).
// Effects never paint the screen: Flush (called by the frame loop) copies what a frame changed
// from the work bitmap onto the canvas and shows it.
//
// Direction and Reversed are declared here and published by the effects that use them:
//     Q_PROPERTY(lumetta::TTransitionEffect::EffectDirection Direction READ Direction WRITE SetDirection)
//     Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
// and a constructor sets AllowedDirections (e.g. AllowedDirections.set(tedRight)).
// A numeric property gets a range: its setter clamps to it and PropertyRange reports it, so
// descriptions and tools refuse values outside it.
// Register every effect class in transition_registry.cpp (one line per class).

#include "transitions/core/frames/travel_direction.h"
#include "transitions/engine/bitmap.h"
#include "transitions/engine/frame_stepping.h"
#include "transitions/engine/pass_data.h"
#include "transitions/engine/render_window.h"
#include "transitions/engine/second_pass_options.h"
#include "transitions/engine/stopwatch.h"
#include "transitions/engine/value_range.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <bitset>
#include <functional>
#include <memory>
#include <optional>

namespace lumetta {

class InputGuard;
class TTransitionEffect;
class TTransitionList;

using EffectEvent = std::function<void(QObject *sender)>;
using AbortQuery = std::function<void(QObject *sender, TTransitionEffect *transition, bool &abort)>;

class TTransitionEffect : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool AbortOnClick READ AbortOnClick WRITE SetAbortOnClick)
    Q_PROPERTY(bool AbortOnEscape READ AbortOnEscape WRITE SetAbortOnEscape)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool FlickerFreeWhenDisabled READ FlickerFreeWhenDisabled WRITE SetFlickerFreeWhenDisabled)
    Q_PROPERTY(SecondPassOptions *Pass2Options READ Pass2Options)
    Q_PROPERTY(PassSettingType PassSetting READ PassSetting WRITE SetPassSetting)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)

public:
    enum EffectDirection {
        tedNone,
        tedRight,
        tedLeft,
        tedDown,
        tedUp,
        tedDownRight,
        tedDownLeft,
        tedUpRight,
        tedUpLeft,
        tedIn,
        tedOut
    };
    Q_ENUM(EffectDirection)
    enum PassSettingType { teOnePass, teTwoPasses, tePaletteDependent };
    Q_ENUM(PassSettingType)

    // Owner frees the effect (QObject parent); Name is the objectName.
    explicit TTransitionEffect(QObject *owner = nullptr);
    ~TTransitionEffect() override;

    // Copies the settings of another effect (not the events); other sources throw TransitionError.
    virtual void Assign(const QObject *source);

    // Virtual operations, in slot order.
    virtual EffectDirection ReversedDirection() const;
    // Draws one whole pass from Data's old picture to its new picture.
    virtual void RunTransition(PassData &data) = 0;
    // Width of snapshots and work bitmaps for a visible width.
    virtual int GetBitmapsWidth(int width) const;
    virtual PixelFormat GetPixelFormat() const;
    virtual bool NeedDstImage() const;
    virtual bool NeedSrcImage() const;
    virtual bool AllowSrcRendering() const;
    virtual bool NeedWorkBitmap() const;
    virtual bool WorkOnSrcBitmap() const;
    virtual QString GetDescription() const;
    virtual QString GetEditorName() const;
    virtual bool FirstPassAnimated() const;

    // Published properties.
    bool AbortOnClick() const { return abortOnClick_; }
    void SetAbortOnClick(bool value) { abortOnClick_ = value; }
    bool AbortOnEscape() const { return abortOnEscape_; }
    void SetAbortOnEscape(bool value) { abortOnEscape_ = value; }
    bool Enabled() const { return enabled_; }
    // Storing False releases any prepared state.
    void SetEnabled(bool value);
    bool FlickerFreeWhenDisabled() const { return flickerFreeWhenDisabled_; }
    void SetFlickerFreeWhenDisabled(bool value) { flickerFreeWhenDisabled_ = value; }
    SecondPassOptions *Pass2Options() const { return pass2Options_; }
    PassSettingType PassSetting() const { return passSetting_; }
    void SetPassSetting(PassSettingType value) { passSetting_ = value; }
    QString Version() const { return QStringLiteral("Version 2.6"); }
    void SetVersion(const QString &) {}

    // Declared here, published by subclasses.
    EffectDirection Direction() const { return direction_; }
    // Stores value only when it is in AllowedDirections.
    void SetDirection(EffectDirection value);
    bool Reversed() const { return reversed_; }
    void SetReversed(bool value) { reversed_ = value; }
    int Milliseconds() const { return milliseconds_; }
    // Clamped to MillisecondsRange: 0 draws every frame unpaced.
    void SetMilliseconds(int value);
    static constexpr ValueRange kMillisecondsRange{0, 60000};

    // The range of a numeric published property (its exact name), which descriptions and tools
    // keep to and its setter clamps to; nullopt for a property without one. Effects add theirs.
    virtual std::optional<ValueRange> PropertyRange(const QString &property) const;

    // Public settings.
    std::bitset<16> allowedDirections;
    bool clientCoordinates = true;
    bool forceRendering = false;
    bool forceScreenCopy = false;

    EffectEvent onBeforeTransition;
    EffectEvent onStartTransition;
    EffectEvent onEndTransition;
    EffectEvent onAfterTransition;
    AbortQuery onAbortQuery;

    bool Disabled() const { return !enabled_; }
    bool CanExecute() const { return flickerFreeWhenDisabled_ || !Disabled(); }
    // 1 or 2; tePaletteDependent gives 2 on an 8-bit screen.
    int GetPassCount() const;
    bool GetReversedToUse() const;
    EffectDirection GetDirectionToUse() const;
    // GetDirectionToUse as the core's frames take it; tedNone travels right.
    TravelDirection GetTravelDirection() const;

    TTransitionList *TransitionList() const { return transitionList_; }
    // Moves the effect from its list (if any) to List (if not null).
    void SetTransitionList(TTransitionList *list);

    // Covers the area Rect of Control (client coordinates, logical pixels) with the render window
    // holding the old picture. Call before changing the control. True when now prepared; False
    // also while the effect runs.
    bool Prepare(QWidget *control, const QRect &rect);
    bool Prepared() const { return prepared_; }
    // Runs the transition when prepared; always leaves the effect unprepared. A call made while
    // the effect runs (from a timer or an event handler during an abortable run) does nothing.
    // Deleting the control or the effect during the run ends it at its next abort check.
    void Execute();
    // Releases the snapshots and the render window; harmless when not prepared. While the
    // effect runs, the run ends at its next frame instead and releases them itself.
    void UnPrepare();
    // Polls the abort conditions (at most every 300 ms); frame routines call it per frame.
    void CheckAbort();

    // Runs the transition without a window: From and To are converted to GetPixelFormat();
    // Canvas receives what the area shows, ending with To. Events and failures as for Execute.
    // ControlColor stands in for the control's colour of a solid intermediate picture.
    void ExecuteOnImages(const QImage &from, const QImage &to, QImage &canvas, const FrameStepping *stepping = nullptr,
                         ColorRef controlColor = 0xF0F0F0);

    // Copies what the current frame changed from the work bitmap onto the canvas and shows it.
    void Flush();

    // Run-time state of a pass, used by the frame routines.
    bool aborted = false;
    bool offscreen = true;
    // Frame rectangles in canvas (device pixel) coordinates; Flush uses and clears both. An
    // UpdateRect left as QRect() makes Flush copy the whole work bitmap; UnchangedRect, when not
    // empty, is left out of the copy and of the repaint.
    QRect updateRect;
    QRect unchangedRect;
    // Finer than the two rectangles, when an effect knows it: exactly the part of the canvas the
    // frame changed, which Flush then copies and presents instead; cleared by Flush.
    std::optional<QRegion> frameRegion;
    // Set by an effect that wrote the frame's changes onto the canvas as well as into the work
    // bitmap: Flush then only presents them; cleared by Flush.
    bool frameOnCanvas = false;
    // The work bitmap of the running pass, null outside RunTransition.
    QImage *workBitmap = nullptr;

    bool Executing() const { return executing_; }
    bool InSecondPass() const { return inSecondPass_; }
    lumetta::RenderWindow *RenderWindow() const { return renderWindow_; }

protected:
    // Shows Data.DstBmp on the canvas: the last step of every pass.
    void ShowFinalPicture(PassData &data);
    // True when a frame drawn straight on Data.Canvas shows exactly as one drawn on the work
    // bitmap and flushed (same format, colours and size), saving Flush's copy. An effect that
    // draws there sets Offscreen false for its pass.
    static bool CanDrawOnCanvas(const PassData &data);

private:
    friend class TTransitionList;
    struct RunSources;
    bool PrepareWindow(QWidget *control, QRect rect);
    void Release();
    void RemoveRenderWindow();
    bool RunLostItsWindow() const;
    bool IsAbortable() const { return abortOnClick_ || abortOnEscape_; }
    void RunPasses(RunSources &sources);
    void RunOnePass(RunSources &sources);
    void RunTwoPasses(RunSources &sources);
    QImage *WorkSetup(RunSources &sources, std::unique_ptr<QImage> &ownedWork);
    PassData MakePassData(QImage *work, QImage *src, QImage *dst) const;
    // False when the effect was deleted while the last input was taken.
    bool FinishRun();
    void RunPass(PassData &data);
    void RunOnWindow();
    // False when the handler deleted the effect.
    bool FireEvent(const EffectEvent &event);
    // An event inside the run: ends it when the handler deleted the effect, the control or the
    // render window.
    void FireRunEvent(const EffectEvent &event);

    bool abortOnClick_ = false;
    bool abortOnEscape_ = false;
    bool enabled_ = true;
    bool flickerFreeWhenDisabled_ = false;
    SecondPassOptions *pass2Options_;
    PassSettingType passSetting_ = teOnePass;
    EffectDirection direction_ = tedNone;
    bool reversed_ = false;
    int milliseconds_ = 0;

    TTransitionList *transitionList_ = nullptr;

    bool prepared_ = false;
    bool executing_ = false;
    bool inSecondPass_ = false;
    // The run draws into a render window (not headless), which must stay until its end.
    bool windowedRun_ = false;
    bool clientFlag_ = true;
    QPointer<QWidget> control_;
    QRect screenRect_;  // logical global coordinates
    QRect controlRect_;  // logical client coordinates of the control
    QSize deviceSize_;  // the area in device pixels
    QImage screenShot_;  // what the screen showed at Prepare, bitmap width
    std::unique_ptr<QImage> srcImage_;
    std::unique_ptr<QImage> midImage_;
    std::unique_ptr<QImage> dstImage_;
    QPointer<lumetta::RenderWindow> renderWindow_;
    QImage *canvas_ = nullptr;
    const FrameStepping *stepping_ = nullptr;
    // Where the time of the running pass began (PassData::StartedAt).
    double passStartedAt_ = -1;
    PassData *passData_ = nullptr;
    Stopwatch abortStopwatch_;
    class InputGuard *inputGuard_ = nullptr;
};

// True while any effect of the process is prepared (at most one at a time).
bool AnyEffectPrepared();

}  // namespace lumetta
