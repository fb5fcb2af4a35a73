// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/engine/transition_effect.h"

#include "transitions/engine/bitmap.h"
#include "transitions/engine/control_rendering.h"
#include "transitions/engine/input_guard.h"
#include "transitions/engine/render_window.h"
#include "transitions/engine/transition_error.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>

#include <cmath>
#include <cstdint>

namespace lumetta {

// The prepare/execute cycle of an effect: the render window, the snapshots and the passes.
namespace {

bool gAnyEffectPrepared = false;

// Ends a run whose effect, control or render window was deleted by code that ran during it (a
// timer, a posted call or a handler). Execute catches it; on the way there nothing touches an
// effect that is gone.
struct RunInterrupted
{
};

bool IsPageControl(const QWidget *widget)
{
    return qobject_cast<const QStackedWidget *>(widget) || qobject_cast<const QTabWidget *>(widget);
}

QWidget *ParentOf(const QWidget *widget)
{
    return widget->isWindow() ? nullptr : widget->parentWidget();
}

// Image in frame memory of its own (bitmap.h), widened (or cut) to width; new columns are black.
// An image of that width that nothing else shares and that starts on a frame-memory boundary is
// taken as it is.
QImage Widened(QImage image, int width)
{
    if (image.width() == width) {
        if (image.isDetached() && reinterpret_cast<std::uintptr_t>(image.constBits()) % 64 == 0)
            return image;
        return AlignedCopy(image);
    }
    QImage out = NewBitmap(width, image.height(), PixelFormatOfImage(image), image.colorTable());
    CopyRect(out, image, image.rect());
    return out;
}

// A rendered picture as a bitmap of size: cut to its height, widened to its width.
QImage Fitted(QImage image, QSize size)
{
    if (image.height() != size.height())
        image = image.copy(0, 0, image.width(), size.height());
    return Widened(std::move(image), size.width());
}

QSize DeviceSizeOf(const QRect &logical, qreal ratio)
{
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

// What the screen shows in screenRect (logical global coordinates) as a deviceSize image: the
// window system's grab on X11, else the top-level window rendered off-screen.
QImage ScreenCopy(QWidget *control, const QRect &screenRect, QSize deviceSize, PixelFormat format)
{
    const qreal ratio = control->devicePixelRatioF();
    const QSize logicalSize(int(std::ceil(deviceSize.width() / ratio)), int(std::ceil(deviceSize.height() / ratio)));
    QImage shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QScreen *screen = control->screen();
        const QPoint at = screenRect.topLeft() - screen->geometry().topLeft();
        shot = screen->grabWindow(0, at.x(), at.y(), logicalSize.width(), logicalSize.height()).toImage();
    }
    if (shot.isNull()) {
        QWidget *top = control->window();
        const QRect inTop(top->mapFromGlobal(screenRect.topLeft()), logicalSize);
        shot = QImage(deviceSize, QImage::Format_RGB32);
        shot.fill(Qt::black);
        shot.setDevicePixelRatio(ratio);
        top->render(&shot, QPoint(), QRegion(inTop));
    }
    shot.setDevicePixelRatio(1);
    QImage out = NewBitmap(deviceSize.width(), deviceSize.height(), format);
    CopyRect(out, ConvertToPixelFormat(shot, format == pfDevice ? ScreenPixelFormat() : format),
             QRect(QPoint(), deviceSize));
    return out;
}

QImage SolidImage(QWidget *control, QSize deviceSize, PixelFormat format, ColorRef color)
{
    const QRgb rgb = color == kClControlColor && control ? control->palette().color(control->backgroundRole()).rgb()
                                                        : RgbOfColor(color);
    QImage image = NewBitmap(deviceSize.width(), deviceSize.height(), format);
    FillRect(image, image.rect(), rgb);
    return image;
}

bool IsWindowAbove(const QWidget *window, const QWidget *ours)
{
    if (window->windowFlags() & Qt::WindowStaysOnTopHint)
        return true;
    const Qt::WindowType type = window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Tool)
        return true;
    if (window->isActiveWindow() && !ours->isActiveWindow())
        return true;
    for (const QWidget *p = window->parentWidget(); p; p = p->parentWidget())
        if (p->window() == ours)
            return true;
    return false;
}

bool IsObscured(QWidget *control, const QRect &screenRect)
{
    QRegion screens;
    for (QScreen *screen : QGuiApplication::screens())
        screens += screen->geometry();
    if (!QRegion(screenRect).subtracted(screens).isEmpty())
        return true;
    for (QWidget *w = control; w; w = ParentOf(w)) {
        if (w == control && !QRect(w->mapToGlobal(QPoint()), w->size()).contains(screenRect))
            return true;
        if (QWidget *parent = ParentOf(w)) {
            for (QObject *child : parent->children()) {
                auto *sibling = qobject_cast<QWidget *>(child);
                if (!sibling || sibling == w || sibling->isWindow() || !sibling->isVisible()
                    || qobject_cast<RenderWindow *>(sibling))
                    continue;
                if (QRect(parent->mapToGlobal(sibling->pos()), sibling->size()).intersects(screenRect))
                    return true;
            }
        }
    }
    const QWidget *ours = control->window();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == ours || !top->isVisible() || top->isMinimized() || qobject_cast<RenderWindow *>(top))
            continue;
        if (top->frameGeometry().intersects(screenRect) && IsWindowAbove(top, ours))
            return true;
    }
    return false;
}

}  // namespace

// Where the pictures of a run come from: a live control or the images of a headless run.
struct TTransitionEffect::RunSources
{
    std::function<QImage()> render;  // the control as it paints itself now, widened
    std::function<QImage()> screenCopy;  // what the area shows now, widened
    std::function<QImage()> solid;  // the intermediate colour, widened
};

// ---------------------------------------------------------------------------------------------
// Prepare

bool TTransitionEffect::PrepareWindow(QWidget *control, QRect area)
{
    RemoveRenderWindow();
    if (!CanExecute() || gAnyEffectPrepared || !control)
        return false;
    clientFlag_ = clientCoordinates;

    auto climb = [&] {
        QWidget *parent = ParentOf(control);
        if (!parent)
            return;
        area.translate(control->pos() + (clientFlag_ ? QPoint() : ClientOffset(control)));
        control = parent;
        clientFlag_ = true;
    };
    for (bool first = true;; first = false) {
        if (!first)
            climb();
        if (QWidget *parent = ParentOf(control); parent && IsPageControl(parent))
            climb();
        if (control->isVisible())
            break;
        if (!ParentOf(control))
            return false;
    }

    const QPoint offset = ClientOffset(control);
    if (!clientFlag_) {
        const QRect client(offset, control->size());
        if (client.contains(area)) {
            clientFlag_ = true;
            area.translate(-offset);
        }
    }
    screenRect_ = QRect(control->mapToGlobal(area.topLeft() - (clientFlag_ ? QPoint() : offset)), area.size());

    // Pending paints finish before the picture is frozen.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    QWidget *host = clientFlag_ ? control : ParentOf(control);
    const QRect windowRect = host ? QRect(host->mapFromGlobal(screenRect_.topLeft()), screenRect_.size()) : screenRect_;
    control_ = control;
    controlRect_ =
        QRect(control->mapFromGlobal(screenRect_.topLeft()) + (clientFlag_ ? QPoint() : offset), screenRect_.size());
    deviceSize_ = DeviceSizeOf(screenRect_, control->devicePixelRatioF());

    try {
        // One copy of the screen serves the canvas and, when Prepare copies it, the old picture.
        const QSize shotSize(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
        screenShot_ = ScreenCopy(control, screenRect_, shotSize, GetPixelFormat());
        if (host) {
            renderWindow_ = new lumetta::RenderWindow(host);
            if (host == ParentOf(control)) {
                const QObjectList &siblings = host->children();
                QWidget *above = nullptr;
                for (qsizetype i = siblings.indexOf(control) + 1; i < siblings.size() && !above; ++i)
                    if (auto *w = qobject_cast<QWidget *>(siblings.at(i)); w && !w->isWindow() && w != renderWindow_)
                        above = w;
                if (above)
                    renderWindow_->stackUnder(above);
                else
                    renderWindow_->raise();
            } else {
                renderWindow_->raise();
            }
        } else {
            renderWindow_ = new lumetta::RenderWindow(nullptr);
            renderWindow_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        }
        renderWindow_->SetCanvasImage(
            screenShot_.width() == deviceSize_.width() ? screenShot_ : screenShot_.copy(QRect(QPoint(), deviceSize_)));
        renderWindow_->setGeometry(windowRect);
        renderWindow_->show();
        if (!host)
            renderWindow_->raise();
    } catch (...) {
        screenShot_ = QImage();
        RemoveRenderWindow();
        throw;
    }
    return true;
}

bool TTransitionEffect::Prepare(QWidget *control, const QRect &rect)
{
    if (executing_)
        return false;
    if (prepared_)
        UnPrepare();
    if (!PrepareWindow(control, rect))
        return false;
    prepared_ = true;
    gAnyEffectPrepared = true;
    if (Disabled() || !NeedSrcImage()) {
        screenShot_ = QImage();
        return prepared_;
    }
    try {
        const QSize size(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
        const bool copy =
            forceScreenCopy || (!forceRendering && (!AllowSrcRendering() || !IsObscured(control_, screenRect_)));
        if (copy) {
            // On an 8-bit screen a one-pass run copies the old picture at Execute.
            if (GetPixelFormat() != pf8bit || GetPassCount() == 2)
                srcImage_ = std::make_unique<QImage>(screenShot_);
        } else {
            const qreal ratio = control_->devicePixelRatioF();
            const QRect rect(controlRect_.topLeft(),
                             QSize(int(std::ceil(size.width() / ratio)), controlRect_.height()));
            QImage rendered =
                RenderControl(control_, rect, clientFlag_, ImageFormatOf(GetPixelFormat()), SystemPalette());
            srcImage_ = std::make_unique<QImage>(Fitted(std::move(rendered), size));
        }
    } catch (...) {
        screenShot_ = QImage();
        UnPrepare();
        throw;
    }
    screenShot_ = QImage();
    return prepared_;
}

void TTransitionEffect::UnPrepare()
{
    if (executing_) {
        // The frames draw on the render window and the snapshots: the run lets them go at its end.
        aborted = true;
        return;
    }
    Release();
}

void TTransitionEffect::Release()
{
    if (prepared_) {
        srcImage_.reset();
        midImage_.reset();
        dstImage_.reset();
        prepared_ = false;
        gAnyEffectPrepared = false;
    }
    RemoveRenderWindow();
}

void TTransitionEffect::RemoveRenderWindow()
{
    delete renderWindow_.data();
    renderWindow_ = nullptr;
    control_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Execute

bool TTransitionEffect::FireEvent(const EffectEvent &event)
{
    if (!event)
        return true;
    // The handler is a member: held here in case it deletes the effect while it runs.
    const EffectEvent handler = event;
    const QPointer<TTransitionEffect> self(this);
    handler(this);
    return !self.isNull();
}

void TTransitionEffect::FireRunEvent(const EffectEvent &event)
{
    if (!FireEvent(event) || RunLostItsWindow())
        throw RunInterrupted();
}

bool TTransitionEffect::RunLostItsWindow() const
{
    return windowedRun_ && (!renderWindow_ || !control_);
}

void TTransitionEffect::CheckAbort()
{
    if (aborted || (!abortOnClick_ && !abortOnEscape_ && !onAbortQuery) || abortStopwatch_.Elapsed() <= 300)
        return;
    const QPointer<TTransitionEffect> self(this);
    if (inputGuard_) {
        // Timers and posted calls run here too: what they delete ends the run, and what they
        // call on this effect is refused or deferred while it runs.
        QCoreApplication::processEvents();
        if (!self || RunLostItsWindow())
            throw RunInterrupted();
        if (abortOnClick_ && inputGuard_->clicked)
            aborted = true;
        if (!aborted && abortOnEscape_ && inputGuard_->escapePressed)
            aborted = true;
    }
    if (!aborted && onAbortQuery) {
        const AbortQuery query = onAbortQuery;
        bool abort = aborted;
        query(this, this, abort);
        if (!self || RunLostItsWindow())
            throw RunInterrupted();
        aborted = aborted || abort;
    }
    abortStopwatch_.Reset();
    abortStopwatch_.Start();
}

PassData TTransitionEffect::MakePassData(QImage *work, QImage *src, QImage *dst) const
{
    PassData data;
    data.bitmap = work;
    data.srcBmp = src;
    data.dstBmp = dst;
    data.canvas = canvas_;
    data.width = deviceSize_.width();
    data.height = deviceSize_.height();
    const PixelFormat format = GetPixelFormat();
    data.pixelFormat = format == pfDevice ? ScreenPixelFormat() : format;
    data.highColor = ScreenBitsPerPixel() > 8;
    data.renderWindow = renderWindow_;
    data.stepping = stepping_;
    data.startedAt = passStartedAt_;
    if (renderWindow_ && renderWindow_->screen() && renderWindow_->screen()->refreshRate() >= 1)
        data.frameInterval = 1000.0 / renderWindow_->screen()->refreshRate();
    return data;
}

QImage *TTransitionEffect::WorkSetup(RunSources &sources, std::unique_ptr<QImage> &ownedWork)
{
    if (!srcImage_ && NeedSrcImage())
        srcImage_ = std::make_unique<QImage>(sources.screenCopy());
    if (!NeedWorkBitmap())
        return nullptr;
    if (NeedSrcImage() && WorkOnSrcBitmap())
        return srcImage_.get();
    ownedWork = std::make_unique<QImage>(
        NewBitmap(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height(), GetPixelFormat()));
    return ownedWork.get();
}

void TTransitionEffect::RunPass(PassData &data)
{
    // The abort stopwatch restarts with every pass, also after one that failed.
    struct Scope
    {
        QPointer<TTransitionEffect> effect;
        ~Scope()
        {
            if (!effect)
                return;
            effect->passData_ = nullptr;
            effect->abortStopwatch_.Reset();
        }
    } scope{this};
    passData_ = &data;
    abortStopwatch_.Start();
    RunTransition(data);
}

void TTransitionEffect::ShowFinalPicture(PassData &data)
{
    if (!data.dstBmp || !data.canvas)
        return;
    CopyRect(*data.canvas, *data.dstBmp, QRect(0, 0, data.width, data.height));
    if (data.renderWindow)
        data.renderWindow->Present(data.canvas->rect());
}

bool TTransitionEffect::CanDrawOnCanvas(const PassData &data)
{
    const QImage *canvas = data.canvas, *work = data.bitmap;
    return canvas && work && canvas != work && canvas->format() == work->format() && canvas->size() == work->size()
           && canvas->bytesPerLine() == work->bytesPerLine() && canvas->colorTable() == work->colorTable();
}

void TTransitionEffect::Flush()
{
    PassData *data = passData_;
    if (data && data->canvas) {
        QImage &canvas = *data->canvas;
        const bool copy = offscreen && workBitmap && !frameOnCanvas;
        const QRect whole = offscreen && workBitmap ? workBitmap->rect() : canvas.rect();
        // The unchanged part inside the update rectangle is neither copied nor repainted.
        QRegion changed;
        if (frameRegion) {
            changed = frameRegion->intersected(canvas.rect());
        } else {
            changed = QRegion((updateRect == QRect() ? whole : updateRect).intersected(canvas.rect()));
            if (!unchangedRect.isEmpty())
                changed -= unchangedRect;
        }
        if (copy) {
            for (const QRect &piece : changed)
                CopyRect(canvas, *workBitmap, piece);
        }
        if (data->renderWindow)
            data->renderWindow->Present(changed);
    }
    updateRect = QRect();
    unchangedRect = QRect();
    frameRegion.reset();
    frameOnCanvas = false;
}

void TTransitionEffect::RunOnePass(RunSources &sources)
{
    if (NeedDstImage())
        dstImage_ = std::make_unique<QImage>(sources.render());
    std::unique_ptr<QImage> ownedWork;
    QImage *work = WorkSetup(sources, ownedWork);
    PassData data = MakePassData(work, srcImage_.get(), dstImage_.get());
    FireRunEvent(onStartTransition);
    RunPass(data);
    FireRunEvent(onEndTransition);
}

void TTransitionEffect::RunTwoPasses(RunSources &sources)
{
    const int savedMilliseconds = milliseconds_;
    const bool distributed = pass2Options_->DistributedTime();
    // Milliseconds reads its own value again after the run, also after a failure.
    struct Restore
    {
        QPointer<TTransitionEffect> effect;
        int value;
        bool active;
        ~Restore()
        {
            if (active && effect)
                effect->milliseconds_ = value;
        }
    } restore{this, savedMilliseconds, distributed};
    if (distributed)
        milliseconds_ = savedMilliseconds / 2;

    std::unique_ptr<QImage> ownedWork;
    QImage *work = WorkSetup(sources, ownedWork);
    bool started = false;
    {
        PassData data = MakePassData(work, srcImage_.get(), midImage_.get());
        if (FirstPassAnimated()) {
            FireRunEvent(onStartTransition);
            started = true;
            RunPass(data);
        }
        QImage *target = data.GetCanvas();
        CopyRect(*target, *midImage_, midImage_->rect());
        if (target != canvas_ && canvas_)
            CopyRect(*canvas_, *midImage_, midImage_->rect());
        if (renderWindow_)
            renderWindow_->Present(canvas_->rect());
    }
    if (work == srcImage_.get())
        work = nullptr;
    srcImage_.reset();
    inSecondPass_ = true;
    // The second pass's time runs from here, its own set-up included.
    if (passStartedAt_ >= 0)
        passStartedAt_ = Stopwatch::Now();

    if (NeedDstImage())
        dstImage_ = std::make_unique<QImage>(sources.render());
    if (!ownedWork)
        work = midImage_.get();
    PassData data = MakePassData(work, midImage_.get(), dstImage_.get());
    if (!started)
        FireRunEvent(onStartTransition);
    RunPass(data);
    FireRunEvent(onEndTransition);
}

void TTransitionEffect::RunPasses(RunSources &sources)
{
    if (Disabled()) {
        dstImage_ = std::make_unique<QImage>(sources.render());
        CopyRect(*canvas_, *dstImage_, QRect(QPoint(), deviceSize_));
        if (renderWindow_)
            renderWindow_->Present(canvas_->rect());
        return;
    }
    if (GetPassCount() == 2 && !midImage_)
        midImage_ = std::make_unique<QImage>(pass2Options_->UseSolidColor() ? sources.solid() : sources.render());
    if (midImage_)
        RunTwoPasses(sources);
    else
        RunOnePass(sources);
}

bool TTransitionEffect::FinishRun()
{
    if (inputGuard_) {
        // Input that arrived during the run is consumed with it.
        const QPointer<TTransitionEffect> self(this);
        QCoreApplication::processEvents();
        if (!self)
            return false;
        inputGuard_->Dismiss();
        inputGuard_ = nullptr;
    }
    executing_ = false;
    inSecondPass_ = false;
    windowedRun_ = false;
    workBitmap = nullptr;
    canvas_ = nullptr;
    stepping_ = nullptr;
    return true;
}

void TTransitionEffect::RunOnWindow()
{
    QWidget *control = control_;
    const QSize bitmapSize(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
    const qreal ratio = control->devicePixelRatioF();
    const QRect renderRect(controlRect_.topLeft(),
                           QSize(int(std::ceil(bitmapSize.width() / ratio)), controlRect_.height()));
    const PixelFormat format = GetPixelFormat();
    RunSources sources;
    sources.render = [=, this] {
        return Fitted(RenderControl(control, renderRect, clientFlag_, ImageFormatOf(format), SystemPalette()),
                      bitmapSize);
    };
    sources.screenCopy = [=, this] { return ScreenCopy(control, screenRect_, bitmapSize, format); };
    sources.solid = [=, this] { return SolidImage(control, bitmapSize, format, pass2Options_->SolidColor()); };
    canvas_ = &renderWindow_->CanvasImage();
    // The canvas may still share the old picture's pixels: it gets frame memory of its own now,
    // as part of the run, rather than a copy at its first frame.
    if (!canvas_->isDetached() || reinterpret_cast<std::uintptr_t>(canvas_->constBits()) % 64 != 0)
        *canvas_ = AlignedCopy(*canvas_);
    windowedRun_ = true;
    RunPasses(sources);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    if (renderWindow_)
        renderWindow_->hide();
    if (control_)
        RefreshControl(control_);
}

void TTransitionEffect::Execute()
{
    // A second run of the same effect would free what the running one draws with.
    if (executing_)
        return;
    // Milliseconds is the time from here to the new picture, set-up included.
    passStartedAt_ = Stopwatch::Now();
    if (!FireEvent(onBeforeTransition))
        return;
    const QPointer<TTransitionEffect> self(this);
    try {
        if (CanExecute()) {
            if (!prepared_ || !control_) {
                // Nothing to run on: never prepared, or the control went since.
                Release();
            } else {
                aborted = false;
                executing_ = true;
                inSecondPass_ = false;
                updateRect = QRect();
                frameRegion.reset();
                frameOnCanvas = false;
                if (IsAbortable())
                    inputGuard_ = new InputGuard(renderWindow_);
                if (renderWindow_ && (!renderWindow_->parentWidget() || renderWindow_->isVisible()))
                    RunOnWindow();
                if (!FinishRun())
                    return;
                Release();
            }
        }
    } catch (const RunInterrupted &) {
        if (!self || !FinishRun())
            return;
        Release();
    } catch (...) {
        if (!self || !FinishRun())
            throw;
        Release();
        FireEvent(onAfterTransition);
        throw;
    }
    FireEvent(onAfterTransition);
}

void TTransitionEffect::ExecuteOnImages(const QImage &from, const QImage &toPicture, QImage &canvas,
                                        const FrameStepping *stepping, ColorRef controlColor)
{
    if (executing_)
        throw TransitionError("The effect is running already");
    if (!FireEvent(onBeforeTransition))
        return;
    const QPointer<TTransitionEffect> self(this);
    const PixelFormat format = GetPixelFormat();
    const PixelFormat canvasFormat = format == pfDevice ? ScreenPixelFormat() : format;
    // With the run over, the area shows the control as it paints itself: the new picture.
    const auto showNewPicture = [&] {
        if (!toPicture.isNull())
            canvas = ConvertToPixelFormat(toPicture, canvasFormat);
    };
    const auto endRun = [&] {
        if (!FinishRun())
            return false;
        srcImage_.reset();
        midImage_.reset();
        dstImage_.reset();
        return true;
    };
    try {
        if (!CanExecute()) {
            // Nothing to animate: the area shows the new picture at once.
            canvas = ConvertToPixelFormat(toPicture, canvasFormat);
        } else {
            if (from.size() != toPicture.size())
                throw TransitionError("The two pictures differ in size");
            deviceSize_ = from.size();
            passStartedAt_ = -1;
            const int bitmapsWidth = GetBitmapsWidth(deviceSize_.width());
            canvas = AlignedCopy(ConvertToPixelFormat(from, canvasFormat));
            canvas_ = &canvas;
            stepping_ = stepping;
            aborted = false;
            executing_ = true;
            inSecondPass_ = false;
            updateRect = QRect();
            frameRegion.reset();
            frameOnCanvas = false;
            if (!Disabled() && NeedSrcImage())
                srcImage_ = std::make_unique<QImage>(Widened(canvas, bitmapsWidth));
            RunSources sources;
            sources.render = [&] {
                return Widened(ConvertToPixelFormat(toPicture, PixelFormatOfImage(canvas)), bitmapsWidth);
            };
            sources.screenCopy = [&] { return Widened(canvas, bitmapsWidth); };
            const ColorRef solidColor =
                pass2Options_->SolidColor() == kClControlColor ? controlColor : pass2Options_->SolidColor();
            sources.solid = [&] {
                return SolidImage(nullptr, QSize(bitmapsWidth, deviceSize_.height()), format, solidColor);
            };
            RunPasses(sources);
            // As when the render window goes: a pass that drew its last picture into its work
            // bitmap (a cut over two passes) has not left it on the canvas.
            showNewPicture();
            if (!endRun())
                return;
        }
    } catch (const RunInterrupted &) {
        showNewPicture();
        if (!self || !endRun())
            return;
    } catch (...) {
        showNewPicture();
        if (!self || !endRun())
            throw;
        FireEvent(onAfterTransition);
        throw;
    }
    FireEvent(onAfterTransition);
}

bool AnyEffectPrepared()
{
    return gAnyEffectPrepared;
}

}  // namespace lumetta
