#include "transitions/TransEff.h"

#include "transitions/control_rendering.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>

#include <cmath>
#include <cstdio>

namespace {

bool g_anyEffectPrepared = false;

struct RegisteredClass
{
    const QMetaObject *metaObject;
    EffectFactory factory;
};

std::vector<RegisteredClass> &classRegistry()
{
    static std::vector<RegisteredClass> registry;
    return registry;
}

// Offset of the client area within the whole window: only top-level windows have a frame.
QPoint clientOffset(const QWidget *widget)
{
    if (!widget->isWindow())
        return {};
    return widget->geometry().topLeft() - widget->frameGeometry().topLeft();
}

bool isPageControl(const QWidget *widget)
{
    return qobject_cast<const QStackedWidget *>(widget) || qobject_cast<const QTabWidget *>(widget);
}

QWidget *parentOf(const QWidget *widget) { return widget->isWindow() ? nullptr : widget->parentWidget(); }

// A copy of image with width widened (or cut) to width; new columns are black.
QImage widened(const QImage &image, int width)
{
    if (image.width() == width)
        return image;
    QImage out = NewBitmap(width, image.height(), PixelFormatOfImage(image), image.colorTable());
    CopyRect(out, image, image.rect());
    return out;
}

QSize deviceSizeOf(const QRect &logical, qreal ratio)
{
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

// What the screen shows in screenRect (logical global coordinates) as a deviceSize image: the
// window system's grab on X11, else the top-level window rendered off-screen.
QImage screenCopy(QWidget *control, const QRect &screenRect, QSize deviceSize, PixelFormat format)
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
    CopyRect(out, ConvertToPixelFormat(shot, format == pfDevice ? ScreenPixelFormat() : format), QRect(QPoint(), deviceSize));
    return out;
}

QImage solidImage(QWidget *control, QSize deviceSize, PixelFormat format, ColorRef color)
{
    const QRgb rgb = color == clControlColor && control ? control->palette().color(control->backgroundRole()).rgb()
                                                        : RgbOfColor(color);
    QImage image = NewBitmap(deviceSize.width(), deviceSize.height(), format);
    FillRect(image, image.rect(), rgb);
    return image;
}

bool isWindowAbove(const QWidget *window, const QWidget *ours)
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

bool isObscured(QWidget *control, const QRect &screenRect)
{
    QRegion screens;
    for (QScreen *screen : QGuiApplication::screens())
        screens += screen->geometry();
    if (!QRegion(screenRect).subtracted(screens).isEmpty())
        return true;
    for (QWidget *w = control; w; w = parentOf(w)) {
        if (w == control && !QRect(w->mapToGlobal(QPoint()), w->size()).contains(screenRect))
            return true;
        if (QWidget *parent = parentOf(w)) {
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
        if (top->frameGeometry().intersects(screenRect) && isWindowAbove(top, ours))
            return true;
    }
    return false;
}

}  // namespace

// Swallows user input while an abortable run polls for it, recording Escape and left clicks on
// the render window.
class InputGuard : public QObject
{
public:
    explicit InputGuard(QObject *renderWindow) : renderWindow_(renderWindow) { qApp->installEventFilter(this); }
    ~InputGuard() override { qApp->removeEventFilter(this); }

    bool escapePressed = false;
    bool clicked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                escapePressed = true;
            return true;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && watched && watched == renderWindow_)
                clicked = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
        }
    }

private:
    QObject *renderWindow_;
};

// Where the pictures of a run come from: a live control or the images of a headless run.
struct TTransitionEffect::RunSources
{
    std::function<QImage()> render;      // the control as it paints itself now, widened
    std::function<QImage()> screenCopy;  // what the area shows now, widened
    std::function<QImage()> solid;       // the intermediate colour, widened
};

// ---------------------------------------------------------------------------------------------

SecondPassOptions::SecondPassOptions(QObject *parent) : QObject(parent) {}

void SecondPassOptions::Assign(const QObject *Source)
{
    const auto *other = qobject_cast<const SecondPassOptions *>(Source);
    if (!other)
        throw TransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                   .arg(Source ? Source->metaObject()->className() : "nil",
                                        metaObject()->className())
                                   .toStdString());
    distributedTime_ = other->distributedTime_;
    reversed_ = other->reversed_;
    useSolidColor_ = other->useSolidColor_;
    solidColor_ = other->solidColor_;
}

// ---------------------------------------------------------------------------------------------

RenderWindow::RenderWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teRenderWindow"));
    setWindowTitle(QStringLiteral("teRenderWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setVisible(false);
}

void RenderWindow::Present(const QRect &deviceRect)
{
    Present(QRegion(deviceRect));
}

void RenderWindow::Present(const QRegion &deviceRegion)
{
    if (!isVisible() || deviceRegion.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        repaint(deviceRegion);
        return;
    }
    QRegion logical;
    for (const QRect &r : deviceRegion)
        logical += QRectF(r.x() / ratio, r.y() / ratio, r.width() / ratio, r.height() / ratio).toAlignedRect();
    repaint(logical);
}

void RenderWindow::paintEvent(QPaintEvent *event)
{
    // Only the asked-for parts of the canvas are drawn: a frame usually changes a strip or two.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const bool direct = canvas_.format() == QImage::Format_RGB32 || canvas_.format() == QImage::Format_RGB16;
    for (const QRect &r : event->region()) {
        const QRectF area = r;
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
        if (direct) {
            painter.drawImage(area, canvas_, source);
            continue;
        }
        // Other formats are converted for painting: convert the part shown, not the whole canvas.
        const QRect part = source.toAlignedRect();
        painter.drawImage(QRectF(part.x() / ratio, part.y() / ratio, part.width() / ratio, part.height() / ratio),
                          canvas_.copy(part));
    }
}

// ---------------------------------------------------------------------------------------------

TTransitionEffect::TTransitionEffect(QObject *Owner) : QObject(Owner), pass2Options_(new SecondPassOptions(this))
{
    InitTransitionEngine();
    AllowedDirections.set(tedNone);
}

TTransitionEffect::~TTransitionEffect()
{
    if (transitionList_)
        transitionList_->RemoveTransition(this);
    delete inputGuard_;
    UnPrepare();
}

void TTransitionEffect::Assign(const QObject *Source)
{
    const auto *other = qobject_cast<const TTransitionEffect *>(Source);
    if (!other)
        throw TransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                   .arg(Source ? Source->metaObject()->className() : "nil",
                                        metaObject()->className())
                                   .toStdString());
    milliseconds_ = other->milliseconds_;
    pass2Options_->Assign(other->pass2Options_);
    passSetting_ = other->passSetting_;
    ForceRendering = other->ForceRendering;
    ForceScreenCopy = other->ForceScreenCopy;
    ClientCoordinates = other->ClientCoordinates;
    SetEnabled(other->enabled_);
    flickerFreeWhenDisabled_ = other->flickerFreeWhenDisabled_;
    SetDirection(other->direction_);
    reversed_ = other->reversed_;
    abortOnClick_ = other->abortOnClick_;
    abortOnEscape_ = other->abortOnEscape_;
}

TTransitionEffect::EffectDirection TTransitionEffect::ReversedDirection() const
{
    switch (direction_) {
    case tedRight: return tedLeft;
    case tedLeft: return tedRight;
    case tedDown: return tedUp;
    case tedUp: return tedDown;
    case tedDownRight: return tedUpLeft;
    case tedUpLeft: return tedDownRight;
    case tedDownLeft: return tedUpRight;
    case tedUpRight: return tedDownLeft;
    case tedIn: return tedOut;
    case tedOut: return tedIn;
    case tedNone: break;
    }
    return direction_;
}

int TTransitionEffect::GetBitmapsWidth(int Width) const { return Width; }
PixelFormat TTransitionEffect::GetPixelFormat() const { return ScreenPixelFormat(); }
bool TTransitionEffect::NeedDstImage() const { return true; }
bool TTransitionEffect::NeedSrcImage() const { return true; }
bool TTransitionEffect::AllowSrcRendering() const { return true; }
bool TTransitionEffect::NeedWorkBitmap() const { return false; }
bool TTransitionEffect::WorkOnSrcBitmap() const { return false; }
QString TTransitionEffect::GetDescription() const { return QString::fromLatin1(metaObject()->className()); }
QString TTransitionEffect::GetEditorName() const { return QStringLiteral("TTransitionEffectEditor"); }
bool TTransitionEffect::FirstPassAnimated() const { return true; }

void TTransitionEffect::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    if (!value)
        UnPrepare();
}

void TTransitionEffect::SetDirection(EffectDirection value)
{
    if (int(value) >= 0 && int(value) < 16 && AllowedDirections.test(size_t(value)))
        direction_ = value;
}

int TTransitionEffect::GetPassCount() const
{
    switch (passSetting_) {
    case teOnePass: return 1;
    case teTwoPasses: return 2;
    case tePaletteDependent: return ScreenBitsPerPixel() == 8 ? 2 : 1;
    }
    return 1;
}

bool TTransitionEffect::GetReversedToUse() const
{
    const bool invert = pass2Options_->Reversed() && GetPassCount() == 2 && FirstPassAnimated() && !inSecondPass_;
    return invert ? !reversed_ : reversed_;
}

TTransitionEffect::EffectDirection TTransitionEffect::GetDirectionToUse() const
{
    return GetReversedToUse() ? ReversedDirection() : direction_;
}

void TTransitionEffect::SetTransitionList(TTransitionList *List)
{
    if (List == transitionList_)
        return;
    if (transitionList_)
        transitionList_->RemoveTransition(this);
    if (List)
        List->AddTransition(this);
}

// ---------------------------------------------------------------------------------------------
// Prepare

bool TTransitionEffect::PrepareWindow(QWidget *Control, QRect Rect)
{
    RemoveRenderWindow();
    if (!CanExecute() || g_anyEffectPrepared || !Control)
        return false;
    clientFlag_ = ClientCoordinates;

    auto climb = [&] {
        QWidget *parent = parentOf(Control);
        if (!parent)
            return;
        Rect.translate(Control->pos() + (clientFlag_ ? QPoint() : clientOffset(Control)));
        Control = parent;
        clientFlag_ = true;
    };
    for (bool first = true;; first = false) {
        if (!first)
            climb();
        if (QWidget *parent = parentOf(Control); parent && isPageControl(parent))
            climb();
        if (Control->isVisible())
            break;
        if (!parentOf(Control))
            return false;
    }

    const QPoint offset = clientOffset(Control);
    if (!clientFlag_) {
        const QRect client(offset, Control->size());
        if (client.contains(Rect)) {
            clientFlag_ = true;
            Rect.translate(-offset);
        }
    }
    screenRect_ = QRect(Control->mapToGlobal(Rect.topLeft() - (clientFlag_ ? QPoint() : offset)), Rect.size());

    // Pending paints finish before the picture is frozen.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    QWidget *host = clientFlag_ ? Control : parentOf(Control);
    const QRect windowRect = host ? QRect(host->mapFromGlobal(screenRect_.topLeft()), screenRect_.size()) : screenRect_;
    control_ = Control;
    controlRect_ = QRect(Control->mapFromGlobal(screenRect_.topLeft()) + (clientFlag_ ? QPoint() : offset),
                          screenRect_.size());
    deviceSize_ = deviceSizeOf(screenRect_, Control->devicePixelRatioF());

    try {
        // One copy of the screen serves the canvas and, when Prepare copies it, the old picture.
        const QSize shotSize(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
        screenShot_ = screenCopy(Control, screenRect_, shotSize, GetPixelFormat());
        if (host) {
            renderWindow_ = new RenderWindow(host);
            if (host == parentOf(Control)) {
                const QObjectList &siblings = host->children();
                QWidget *above = nullptr;
                for (qsizetype i = siblings.indexOf(Control) + 1; i < siblings.size() && !above; ++i)
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
            renderWindow_ = new RenderWindow(nullptr);
            renderWindow_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        }
        renderWindow_->SetCanvasImage(screenShot_.width() == deviceSize_.width()
                                           ? screenShot_
                                           : screenShot_.copy(QRect(QPoint(), deviceSize_)));
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

bool TTransitionEffect::Prepare(QWidget *Control, const QRect &Rect)
{
    if (prepared_)
        UnPrepare();
    if (!PrepareWindow(Control, Rect))
        return false;
    prepared_ = true;
    g_anyEffectPrepared = true;
    if (Disabled() || !NeedSrcImage()) {
        screenShot_ = QImage();
        return prepared_;
    }
    try {
        const QSize size(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
        const bool copy = ForceScreenCopy
                          || (!ForceRendering && (!AllowSrcRendering() || !isObscured(control_, screenRect_)));
        if (copy) {
            // On an 8-bit screen a one-pass run copies the old picture at Execute.
            if (GetPixelFormat() != pf8bit || GetPassCount() == 2)
                srcImage_ = std::make_unique<QImage>(screenShot_);
        } else {
            const qreal ratio = control_->devicePixelRatioF();
            const QRect rect(controlRect_.topLeft(), QSize(int(std::ceil(size.width() / ratio)), controlRect_.height()));
            QImage rendered = RenderControl(control_, rect, clientFlag_, ImageFormatOf(GetPixelFormat()), SystemPalette());
            srcImage_ = std::make_unique<QImage>(widened(rendered.copy(0, 0, rendered.width(), deviceSize_.height()), size.width()));
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
    if (prepared_) {
        srcImage_.reset();
        midImage_.reset();
        dstImage_.reset();
        prepared_ = false;
        g_anyEffectPrepared = false;
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

void TTransitionEffect::FireEvent(const EffectEvent &event)
{
    if (event)
        event(this);
}

void TTransitionEffect::CheckAbort()
{
    if (Aborted || (!abortOnClick_ && !abortOnEscape_ && !OnAbortQuery) || abortChrono_.Elapsed() <= 300)
        return;
    if (inputGuard_) {
        QCoreApplication::processEvents();
        if (abortOnClick_ && inputGuard_->clicked)
            Aborted = true;
        if (!Aborted && abortOnEscape_ && inputGuard_->escapePressed)
            Aborted = true;
    }
    if (!Aborted && OnAbortQuery)
        OnAbortQuery(this, this, Aborted);
    abortChrono_.Reset();
    abortChrono_.Start();
}

PassData TTransitionEffect::MakePassData(QImage *work, QImage *src, QImage *dst) const
{
    PassData data;
    data.Bitmap = work;
    data.SrcBmp = src;
    data.DstBmp = dst;
    data.Canvas = canvas_;
    data.Width = deviceSize_.width();
    data.Height = deviceSize_.height();
    const PixelFormat format = GetPixelFormat();
    data.PixelFormat = format == pfDevice ? ScreenPixelFormat() : format;
    data.HighColor = ScreenBitsPerPixel() > 8;
    data.RenderWindow = renderWindow_;
    data.Stepping = stepping_;
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

void TTransitionEffect::RunPass(PassData &Data)
{
    // The abort stopwatch restarts with every pass, also after one that failed.
    struct Scope
    {
        TTransitionEffect *effect;
        ~Scope()
        {
            effect->passData_ = nullptr;
            effect->abortChrono_.Reset();
        }
    } scope{this};
    passData_ = &Data;
    abortChrono_.Start();
    RunTransition(Data);
}

void TTransitionEffect::ShowFinalPicture(PassData &Data)
{
    if (!Data.DstBmp || !Data.Canvas)
        return;
    CopyRect(*Data.Canvas, *Data.DstBmp, QRect(0, 0, Data.Width, Data.Height));
    if (Data.RenderWindow)
        Data.RenderWindow->Present(Data.Canvas->rect());
}

bool TTransitionEffect::CanDrawOnCanvas(const PassData &Data)
{
    const QImage *canvas = Data.Canvas, *work = Data.Bitmap;
    return canvas && work && canvas != work && canvas->format() == work->format() &&
           canvas->size() == work->size() && canvas->bytesPerLine() == work->bytesPerLine() &&
           canvas->colorTable() == work->colorTable();
}

void TTransitionEffect::Flush()
{
    PassData *data = passData_;
    if (data && data->Canvas) {
        QImage &canvas = *data->Canvas;
        const bool copy = Offscreen && WorkBitmap;
        const QRect whole = copy ? WorkBitmap->rect() : canvas.rect();
        // The unchanged part inside the update rectangle is neither copied nor repainted.
        QRegion changed((UpdateRect == QRect() ? whole : UpdateRect).intersected(canvas.rect()));
        if (!UnchangedRect.isEmpty())
            changed -= UnchangedRect;
        if (copy) {
            for (const QRect &piece : changed)
                CopyRect(canvas, *WorkBitmap, piece);
        }
        if (data->RenderWindow)
            data->RenderWindow->Present(changed);
    }
    UpdateRect = QRect();
    UnchangedRect = QRect();
}

void TTransitionEffect::RunOnePass(RunSources &sources)
{
    if (NeedDstImage())
        dstImage_ = std::make_unique<QImage>(sources.render());
    std::unique_ptr<QImage> ownedWork;
    QImage *work = WorkSetup(sources, ownedWork);
    PassData data = MakePassData(work, srcImage_.get(), dstImage_.get());
    FireEvent(OnStartTransition);
    RunPass(data);
    FireEvent(OnEndTransition);
}

void TTransitionEffect::RunTwoPasses(RunSources &sources)
{
    const int savedMilliseconds = milliseconds_;
    const bool distributed = pass2Options_->DistributedTime();
    // Milliseconds reads its own value again after the run, also after a failure.
    struct Restore
    {
        TTransitionEffect *effect;
        int value;
        bool active;
        ~Restore()
        {
            if (active)
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
            FireEvent(OnStartTransition);
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

    if (NeedDstImage())
        dstImage_ = std::make_unique<QImage>(sources.render());
    if (!ownedWork)
        work = midImage_.get();
    PassData data = MakePassData(work, midImage_.get(), dstImage_.get());
    if (!started)
        FireEvent(OnStartTransition);
    RunPass(data);
    FireEvent(OnEndTransition);
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

void TTransitionEffect::FinishRun()
{
    if (inputGuard_) {
        // Input that arrived during the run is consumed with it.
        QCoreApplication::processEvents();
        delete inputGuard_;
        inputGuard_ = nullptr;
    }
    executing_ = false;
    inSecondPass_ = false;
    WorkBitmap = nullptr;
    canvas_ = nullptr;
    stepping_ = nullptr;
}

void TTransitionEffect::Execute()
{
    FireEvent(OnBeforeTransition);
    try {
        if (CanExecute()) {
            if (!prepared_) {
                RemoveRenderWindow();
            } else {
                Aborted = false;
                executing_ = true;
                inSecondPass_ = false;
                UpdateRect = QRect();
                if (IsAbortable())
                    inputGuard_ = new InputGuard(renderWindow_);
                if (renderWindow_ && (!renderWindow_->parentWidget() || renderWindow_->isVisible())) {
                    QWidget *control = control_;
                    const QSize bitmapSize(GetBitmapsWidth(deviceSize_.width()), deviceSize_.height());
                    const qreal ratio = control->devicePixelRatioF();
                    const QRect renderRect(controlRect_.topLeft(),
                                           QSize(int(std::ceil(bitmapSize.width() / ratio)), controlRect_.height()));
                    const PixelFormat format = GetPixelFormat();
                    RunSources sources;
                    sources.render = [=, this] {
                        QImage image = RenderControl(control, renderRect, clientFlag_, ImageFormatOf(format), SystemPalette());
                        return widened(image.copy(0, 0, image.width(), bitmapSize.height()), bitmapSize.width());
                    };
                    sources.screenCopy = [=, this] { return screenCopy(control, screenRect_, bitmapSize, format); };
                    sources.solid = [=, this] { return solidImage(control, bitmapSize, format, pass2Options_->SolidColor()); };
                    canvas_ = &renderWindow_->CanvasImage();
                    RunPasses(sources);
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
                    renderWindow_->hide();
                    RefreshControl(control);
                }
                FinishRun();
                UnPrepare();
            }
        }
    } catch (...) {
        FinishRun();
        UnPrepare();
        FireEvent(OnAfterTransition);
        throw;
    }
    FireEvent(OnAfterTransition);
}

void TTransitionEffect::ExecuteOnImages(const QImage &From, const QImage &To, QImage &Canvas,
                                        const FrameStepping *Stepping, ColorRef ControlColor)
{
    FireEvent(OnBeforeTransition);
    const PixelFormat format = GetPixelFormat();
    const PixelFormat canvasFormat = format == pfDevice ? ScreenPixelFormat() : format;
    try {
        if (!CanExecute()) {
            // Nothing to animate: the area shows the new picture at once.
            Canvas = ConvertToPixelFormat(To, canvasFormat);
        } else {
            if (From.size() != To.size())
                throw TransitionError("The two pictures differ in size");
            deviceSize_ = From.size();
            const int bitmapsWidth = GetBitmapsWidth(deviceSize_.width());
            Canvas = ConvertToPixelFormat(From, canvasFormat);
            canvas_ = &Canvas;
            stepping_ = Stepping;
            Aborted = false;
            executing_ = true;
            inSecondPass_ = false;
            UpdateRect = QRect();
            if (!Disabled() && NeedSrcImage())
                srcImage_ = std::make_unique<QImage>(widened(Canvas, bitmapsWidth));
            RunSources sources;
            sources.render = [&] { return widened(ConvertToPixelFormat(To, PixelFormatOfImage(Canvas)), bitmapsWidth); };
            sources.screenCopy = [&] { return widened(Canvas, bitmapsWidth); };
            const ColorRef solidColor =
                pass2Options_->SolidColor() == clControlColor ? ControlColor : pass2Options_->SolidColor();
            sources.solid = [&] {
                return solidImage(nullptr, QSize(bitmapsWidth, deviceSize_.height()), format, solidColor);
            };
            RunPasses(sources);
            FinishRun();
            srcImage_.reset();
            midImage_.reset();
            dstImage_.reset();
        }
    } catch (...) {
        FinishRun();
        srcImage_.reset();
        midImage_.reset();
        dstImage_.reset();
        // With the run over, the area shows the control as it paints itself: the new picture.
        if (!To.isNull())
            Canvas = ConvertToPixelFormat(To, canvasFormat);
        FireEvent(OnAfterTransition);
        throw;
    }
    FireEvent(OnAfterTransition);
}

// ---------------------------------------------------------------------------------------------

TFlickerFreeTransition::TFlickerFreeTransition(QObject *Owner) : TTransitionEffect(Owner) {}

QString TFlickerFreeTransition::GetDescription() const { return QStringLiteral("Flicker free cut"); }
bool TFlickerFreeTransition::NeedSrcImage() const { return false; }
PixelFormat TFlickerFreeTransition::GetPixelFormat() const { return pfDevice; }

void TFlickerFreeTransition::RunTransition(PassData &Data)
{
    if (Data.DstBmp && Data.GetCanvas())
        CopyRect(*Data.GetCanvas(), *Data.DstBmp, QRect(0, 0, Data.Width, Data.Height));
    if (Data.RenderWindow && !Data.Bitmap)
        Data.RenderWindow->Present(QRect(0, 0, Data.Width, Data.Height));
}

// ---------------------------------------------------------------------------------------------

TTransitionList::TTransitionList(QObject *Owner) : QObject(Owner) { InitTransitionEngine(); }

TTransitionList::~TTransitionList()
{
    while (!items_.empty())
        delete items_.back();
}

void TTransitionList::AddTransition(TTransitionEffect *Effect)
{
    if (!Effect || Effect->transitionList_ == this)
        return;
    if (Effect->transitionList_)
        Effect->transitionList_->RemoveTransition(Effect);
    items_.push_back(Effect);
    Effect->transitionList_ = this;
}

void TTransitionList::RemoveTransition(TTransitionEffect *Effect)
{
    const auto it = std::find(items_.begin(), items_.end(), Effect);
    if (it == items_.end())
        return;
    items_.erase(it);
    Effect->transitionList_ = nullptr;
}

TTransitionEffect *TTransitionList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw TransitionError(QStringLiteral("List index out of bounds (%1)").arg(Index).toStdString());
    return items_[size_t(Index)];
}

// ---------------------------------------------------------------------------------------------

bool AnyEffectPrepared() { return g_anyEffectPrepared; }

void InitTransitionEngine()
{
    static bool initialised = false;
    if (initialised)
        return;
    initialised = true;
    const QByteArray bits = qgetenv("LUMETTA_SCREEN_BPP");
    if (!bits.isEmpty()) {
        bool ok = false;
        const int value = bits.toInt(&ok);
        if (!ok || value == 0 || !SetScreenBitsPerPixel(value))
            std::fprintf(stderr, "LUMETTA_SCREEN_BPP=%s is not one of 8, 15, 16, 24, 32; the screen's depth is used\n",
                         bits.constData());
    }
    g_anyEffectPrepared = false;
    RegisterTransitionClasses();
}

void RegisterTransitionClass(const QMetaObject &MetaObject, EffectFactory Factory)
{
    for (const RegisteredClass &entry : classRegistry())
        if (qstrcmp(entry.metaObject->className(), MetaObject.className()) == 0)
            return;
    classRegistry().push_back({&MetaObject, Factory});
}

TTransitionEffect *CreateTransitionEffect(const QString &ClassName, QObject *Owner)
{
    InitTransitionEngine();
    for (const RegisteredClass &entry : classRegistry())
        if (ClassName.compare(QLatin1String(entry.metaObject->className()), Qt::CaseInsensitive) == 0)
            return entry.factory(Owner);
    return nullptr;
}

QStringList RegisteredTransitionClasses()
{
    InitTransitionEngine();
    QStringList names;
    for (const RegisteredClass &entry : classRegistry())
        names.append(QString::fromLatin1(entry.metaObject->className()));
    return names;
}
