#pragma once

// Transition engine: effects, effect lists, the run of one transition over a widget.
//
// Using an effect (any Qt program):
//     if (effect->Prepare(panel, panel->rect())) { change the panel; effect->Execute(); }
//     effect->UnPrepare();
// Execute may throw EAbort (a pass without frames: show no message) or ETransitionError; the
// engine has cleaned up (render window gone, effect unprepared, OnAfterTransition fired) by then.
//
// Writing an effect: most effects derive from TTimedTransitionEffect (teTimed.h) and implement
// Initialize / DrawFrame / Finalize; a few override RunTransition directly. Everything an effect
// draws with is in the pass record TTETransitionData:
//   SrcBmp  old picture of the pass (the intermediate picture in pass 2 of a two-pass run)
//   DstBmp  new picture of the pass (the intermediate picture in pass 1 of a two-pass run)
//   Bitmap  work bitmap when NeedWorkBitmap() is true (may be SrcBmp itself, see WorkOnSrcBitmap)
//   Canvas  the image the render window shows; GetCanvas() is Bitmap when set, else Canvas
//   Width, Height  size of the area in device pixels; bitmaps may be wider (GetBitmapsWidth)
//   PixelFormat, HighColor  format of all the bitmaps above; HighColor = screen deeper than 8 bits
// All bitmaps are QImages in device pixels of format ImageFormatOf(PixelFormat) (teBitmap.h).
// Effects never paint the screen: Flush (called by the frame loop) copies what a frame changed
// from the work bitmap onto the canvas and shows it.
//
// Direction and Reversed are declared here and published by the effects that use them:
//     Q_PROPERTY(TTransitionEffect::TTEEffectDirection Direction READ Direction WRITE SetDirection)
//     Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
// and a constructor sets AllowedDirections (e.g. AllowedDirections.set(tedRight)).
// Register every effect class in teRegister.cpp (one line per class).

#include "transitions/teBitmap.h"
#include "transitions/teChrono.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <bitset>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class TTransitionEffect;
class TTransitionList;
class TTERenderWindow;

// A failure of the engine, with the message to show.
class ETransitionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The silent abort: ends an operation without a message.
class EAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TTEAbortQueryEvent = std::function<void(QObject *Sender, TTransitionEffect *Transition, bool &Abort)>;

// Options of the second pass of a two-pass run.
class TTEPass2OptionsType : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool DistributedTime READ DistributedTime WRITE SetDistributedTime)
    Q_PROPERTY(bool Reversed READ Reversed WRITE SetReversed)
    Q_PROPERTY(bool UseSolidColor READ UseSolidColor WRITE SetUseSolidColor)
    Q_PROPERTY(int SolidColor READ SolidColor WRITE SetSolidColor)

public:
    explicit TTEPass2OptionsType(QObject *parent = nullptr);

    // Copies the four values from another TTEPass2OptionsType; other sources throw ETransitionError.
    void Assign(const QObject *Source);

    bool DistributedTime() const { return m_distributedTime; }
    void SetDistributedTime(bool value) { m_distributedTime = value; }
    bool Reversed() const { return m_reversed; }
    void SetReversed(bool value) { m_reversed = value; }
    bool UseSolidColor() const { return m_useSolidColor; }
    void SetUseSolidColor(bool value) { m_useSolidColor = value; }
    TColor SolidColor() const { return m_solidColor; }
    void SetSolidColor(TColor value) { m_solidColor = value; }

private:
    bool m_distributedTime = false;
    bool m_reversed = false;
    bool m_useSolidColor = true;
    TColor m_solidColor = clControlColor;
};

// What a tool or benchmark asks of a headless run: fixed frame steps and a look at each frame.
struct TTEStepping
{
    // Frames S, 2S, 3S, ... below the frame count are drawn, each with step S.
    int Step = 1;
    // Called when a frame pass starts (pass 1 or 2) with the count from Initialize.
    std::function<void(int Pass, int FrameCount)> PassStarted;
    // Called after each drawn frame was flushed, with what the area shows.
    std::function<void(int Pass, int Frame, const QImage &Shown)> FrameShown;
};

// The per-pass record handed to the frame routines; it references the bitmaps, owns none.
class TTETransitionData
{
public:
    QImage *Bitmap = nullptr;
    QImage *SrcBmp = nullptr;
    QImage *DstBmp = nullptr;
    QImage *Canvas = nullptr;
    int Width = 0;
    int Height = 0;
    TPixelFormat PixelFormat = pf32bit;
    bool HighColor = true;

    // The work bitmap when there is one, else the canvas.
    QImage *GetCanvas() const { return Bitmap ? Bitmap : Canvas; }

    // Engine side: the window that shows Canvas (null when headless) and the tool's stepping.
    TTERenderWindow *RenderWindow = nullptr;
    const TTEStepping *Stepping = nullptr;
};

// The window laid over the area during a run. It paints only its canvas, a device-pixel image,
// so the screen keeps showing whatever the canvas holds while the control changes underneath.
class TTERenderWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TTERenderWindow(QWidget *parent = nullptr);

    QImage &CanvasImage() { return m_canvas; }
    void SetCanvasImage(const QImage &image) { m_canvas = image; }
    // Repaints a device-pixel rectangle of the canvas on the screen now.
    void Present(const QRect &deviceRect);
    // Repaints a device-pixel region of the canvas on the screen now.
    void Present(const QRegion &deviceRegion);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_canvas;
};

class TTransitionEffect : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool AbortOnClick READ AbortOnClick WRITE SetAbortOnClick)
    Q_PROPERTY(bool AbortOnEscape READ AbortOnEscape WRITE SetAbortOnEscape)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool FlickerFreeWhenDisabled READ FlickerFreeWhenDisabled WRITE SetFlickerFreeWhenDisabled)
    Q_PROPERTY(TTEPass2OptionsType *Pass2Options READ Pass2Options)
    Q_PROPERTY(TTEPassSettingType PassSetting READ PassSetting WRITE SetPassSetting)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)

public:
    enum TTEEffectDirection {
        tedNone, tedRight, tedLeft, tedDown, tedUp, tedDownRight, tedDownLeft, tedUpRight, tedUpLeft, tedIn, tedOut
    };
    Q_ENUM(TTEEffectDirection)
    enum TTEPassSettingType { teOnePass, teTwoPasses, tePaletteDependent };
    Q_ENUM(TTEPassSettingType)

    // Owner frees the effect (QObject parent); Name is the objectName.
    explicit TTransitionEffect(QObject *Owner = nullptr);
    ~TTransitionEffect() override;

    // Copies the settings of another effect (not the events); other sources throw ETransitionError.
    virtual void Assign(const QObject *Source);

    // Virtual operations, in slot order.
    virtual TTEEffectDirection ReversedDirection() const;
    // Draws one whole pass from Data's old picture to its new picture.
    virtual void RunTransition(TTETransitionData &Data) = 0;
    // Width of snapshots and work bitmaps for a visible width.
    virtual int GetBitmapsWidth(int Width) const;
    virtual TPixelFormat GetPixelFormat() const;
    virtual bool NeedDstImage() const;
    virtual bool NeedSrcImage() const;
    virtual bool AllowSrcRendering() const;
    virtual bool NeedWorkBitmap() const;
    virtual bool WorkOnSrcBitmap() const;
    virtual QString GetDescription() const;
    virtual QString GetEditorName() const;
    virtual bool FirstPassAnimated() const;

    // Published properties.
    bool AbortOnClick() const { return m_abortOnClick; }
    void SetAbortOnClick(bool value) { m_abortOnClick = value; }
    bool AbortOnEscape() const { return m_abortOnEscape; }
    void SetAbortOnEscape(bool value) { m_abortOnEscape = value; }
    bool Enabled() const { return m_enabled; }
    // Storing False releases any prepared state.
    void SetEnabled(bool value);
    bool FlickerFreeWhenDisabled() const { return m_flickerFreeWhenDisabled; }
    void SetFlickerFreeWhenDisabled(bool value) { m_flickerFreeWhenDisabled = value; }
    TTEPass2OptionsType *Pass2Options() const { return m_pass2Options; }
    TTEPassSettingType PassSetting() const { return m_passSetting; }
    void SetPassSetting(TTEPassSettingType value) { m_passSetting = value; }
    QString Version() const { return QStringLiteral("Version 2.6"); }
    void SetVersion(const QString &) {}

    // Declared here, published by subclasses.
    TTEEffectDirection Direction() const { return m_direction; }
    // Stores value only when it is in AllowedDirections.
    void SetDirection(TTEEffectDirection value);
    bool Reversed() const { return m_reversed; }
    void SetReversed(bool value) { m_reversed = value; }
    int Milliseconds() const { return m_milliseconds; }
    void SetMilliseconds(int value) { m_milliseconds = value; }

    // Public settings.
    std::bitset<16> AllowedDirections;
    bool ClientCoordinates = true;
    bool ForceRendering = false;
    bool ForceScreenCopy = false;

    TNotifyEvent OnBeforeTransition;
    TNotifyEvent OnStartTransition;
    TNotifyEvent OnEndTransition;
    TNotifyEvent OnAfterTransition;
    TTEAbortQueryEvent OnAbortQuery;

    bool Disabled() const { return !m_enabled; }
    bool CanExecute() const { return m_flickerFreeWhenDisabled || !Disabled(); }
    // 1 or 2; tePaletteDependent gives 2 on an 8-bit screen.
    int GetPassCount() const;
    bool GetReversedToUse() const;
    TTEEffectDirection GetDirectionToUse() const;

    TTransitionList *TransitionList() const { return m_transitionList; }
    // Moves the effect from its list (if any) to List (if not null).
    void SetTransitionList(TTransitionList *List);

    // Covers the area Rect of Control (client coordinates, logical pixels) with the render window
    // holding the old picture. Call before changing the control. True when now prepared.
    bool Prepare(QWidget *Control, const QRect &Rect);
    bool Prepared() const { return m_prepared; }
    // Runs the transition when prepared; always leaves the effect unprepared.
    void Execute();
    // Releases the snapshots and the render window; harmless when not prepared.
    void UnPrepare();
    // Polls the abort conditions (at most every 300 ms); frame routines call it per frame.
    void CheckAbort();

    // Runs the transition without a window: From and To are converted to GetPixelFormat();
    // Canvas receives what the area shows, ending with To. Events and failures as for Execute.
    // ControlColor stands in for the control's colour of a solid intermediate picture.
    void ExecuteOnImages(const QImage &From, const QImage &To, QImage &Canvas,
                         const TTEStepping *Stepping = nullptr, TColor ControlColor = 0xF0F0F0);

    // Copies what the current frame changed from the work bitmap onto the canvas and shows it.
    void Flush();

    // Run-time state of a pass, used by the frame routines.
    bool Aborted = false;
    bool Offscreen = true;
    // Frame rectangles in canvas (device pixel) coordinates; Flush uses and clears both. An
    // UpdateRect left as QRect() makes Flush copy the whole work bitmap; UnchangedRect, when not
    // empty, is left out of the copy and of the repaint.
    QRect UpdateRect;
    QRect UnchangedRect;
    // The work bitmap of the running pass, null outside RunTransition.
    QImage *WorkBitmap = nullptr;

    bool Executing() const { return m_executing; }
    bool InSecondPass() const { return m_inSecondPass; }
    TTERenderWindow *RenderWindow() const { return m_renderWindow; }

protected:
    // Shows Data.DstBmp on the canvas: the last step of every pass.
    void ShowFinalPicture(TTETransitionData &Data);
    // True when a frame drawn straight on Data.Canvas shows exactly as one drawn on the work
    // bitmap and flushed (same format, colours and size), saving Flush's copy. An effect that
    // draws there sets Offscreen false for its pass.
    static bool CanDrawOnCanvas(const TTETransitionData &Data);

private:
    friend class TTransitionList;
    struct RunSources;
    bool PrepareWindow(QWidget *Control, QRect Rect);
    void RemoveRenderWindow();
    bool IsAbortable() const { return m_abortOnClick || m_abortOnEscape; }
    void RunPasses(RunSources &sources);
    void RunOnePass(RunSources &sources);
    void RunTwoPasses(RunSources &sources);
    QImage *WorkSetup(RunSources &sources, std::unique_ptr<QImage> &ownedWork);
    TTETransitionData MakePassData(QImage *work, QImage *src, QImage *dst) const;
    void FinishRun();
    void RunPass(TTETransitionData &Data);
    void FireEvent(const TNotifyEvent &event);

    bool m_abortOnClick = false;
    bool m_abortOnEscape = false;
    bool m_enabled = true;
    bool m_flickerFreeWhenDisabled = false;
    TTEPass2OptionsType *m_pass2Options;
    TTEPassSettingType m_passSetting = teOnePass;
    TTEEffectDirection m_direction = tedNone;
    bool m_reversed = false;
    int m_milliseconds = 0;

    TTransitionList *m_transitionList = nullptr;

    bool m_prepared = false;
    bool m_executing = false;
    bool m_inSecondPass = false;
    bool m_clientFlag = true;
    QPointer<QWidget> m_control;
    QRect m_screenRect;      // logical global coordinates
    QRect m_controlRect;     // logical client coordinates of the control
    QSize m_deviceSize;      // the area in device pixels
    QImage m_screenShot;     // what the screen showed at Prepare, bitmap width
    std::unique_ptr<QImage> m_srcImage;
    std::unique_ptr<QImage> m_midImage;
    std::unique_ptr<QImage> m_dstImage;
    QPointer<TTERenderWindow> m_renderWindow;
    QImage *m_canvas = nullptr;
    const TTEStepping *m_stepping = nullptr;
    TTETransitionData *m_passData = nullptr;
    TTEChrono m_abortChrono;
    class InputGuard *m_inputGuard = nullptr;
};

// The trivial effect: the new picture replaces the old one in one copy, without flicker.
class TFlickerFreeTransition : public TTransitionEffect
{
    Q_OBJECT

public:
    explicit TFlickerFreeTransition(QObject *Owner = nullptr);

    QString GetDescription() const override;
    bool NeedSrcImage() const override;
    TPixelFormat GetPixelFormat() const override;
    void RunTransition(TTETransitionData &Data) override;
};

// Container of effects; frees its members when destroyed.
class TTransitionList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)

public:
    explicit TTransitionList(QObject *Owner = nullptr);
    ~TTransitionList() override;

    // Appends Effect and makes this its list.
    void AddTransition(TTransitionEffect *Effect);
    // Removes Effect; clears its list only when it was a member.
    void RemoveTransition(TTransitionEffect *Effect);
    // Member at a zero-based index; throws ETransitionError "List index out of bounds (%d)".
    TTransitionEffect *Items(int Index) const;
    int Count() const { return int(m_items.size()); }

    QString Version() const { return QStringLiteral("Version 2.6"); }
    void SetVersion(const QString &) {}

private:
    std::vector<TTransitionEffect *> m_items;
};

// True while any effect of the process is prepared (at most one at a time).
bool AnyEffectPrepared();

// Sets up the engine once per process (screen format, class registry, control rendering);
// effects call it themselves, so programs need not.
void InitTransitionEngine();

// Class registry: creates effects by class name (form descriptions, tools).
using TTransitionEffectFactory = TTransitionEffect *(*)(QObject *Owner);
void RegisterTransitionClass(const QMetaObject &MetaObject, TTransitionEffectFactory Factory);
template <class T>
void RegisterTransitionClass()
{
    RegisterTransitionClass(T::staticMetaObject, [](QObject *owner) -> TTransitionEffect * { return new T(owner); });
}
// Registers every effect class of the library (teRegister.cpp).
void RegisterTransitionClasses();
// A new effect of a registered class (names compare without regard to case) owned by Owner, or
// null for an unknown class.
TTransitionEffect *CreateTransitionEffect(const QString &ClassName, QObject *Owner = nullptr);
// Names of the registered classes in registration order.
QStringList RegisteredTransitionClasses();
