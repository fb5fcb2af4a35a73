#include "transitions/TransEff.h"

#include "transitions/teRender.h"

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
    TTransitionEffectFactory factory;
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
QImage screenCopy(QWidget *control, const QRect &screenRect, QSize deviceSize, TPixelFormat format)
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

QImage solidImage(QWidget *control, QSize deviceSize, TPixelFormat format, TColor color)
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
                    || qobject_cast<TTERenderWindow *>(sibling))
                    continue;
                if (QRect(parent->mapToGlobal(sibling->pos()), sibling->size()).intersects(screenRect))
                    return true;
            }
        }
    }
    const QWidget *ours = control->window();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == ours || !top->isVisible() || top->isMinimized() || qobject_cast<TTERenderWindow *>(top))
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
    explicit InputGuard(QObject *renderWindow) : m_renderWindow(renderWindow) { qApp->installEventFilter(this); }
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
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && watched && watched == m_renderWindow)
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
    QObject *m_renderWindow;
};

// Where the pictures of a run come from: a live control or the images of a headless run.
struct TTransitionEffect::RunSources
{
    std::function<QImage()> render;      // the control as it paints itself now, widened
    std::function<QImage()> screenCopy;  // what the area shows now, widened
    std::function<QImage()> solid;       // the intermediate colour, widened
};

// ---------------------------------------------------------------------------------------------

TTEPass2OptionsType::TTEPass2OptionsType(QObject *parent) : QObject(parent) {}

void TTEPass2OptionsType::Assign(const QObject *Source)
{
    const auto *other = qobject_cast<const TTEPass2OptionsType *>(Source);
    if (!other)
        throw ETransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                   .arg(Source ? Source->metaObject()->className() : "nil",
                                        metaObject()->className())
                                   .toStdString());
    m_distributedTime = other->m_distributedTime;
    m_reversed = other->m_reversed;
    m_useSolidColor = other->m_useSolidColor;
    m_solidColor = other->m_solidColor;
}

// ---------------------------------------------------------------------------------------------

TTERenderWindow::TTERenderWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teRenderWindow"));
    setWindowTitle(QStringLiteral("teRenderWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setVisible(false);
}

void TTERenderWindow::Present(const QRect &deviceRect)
{
    Present(QRegion(deviceRect));
}

void TTERenderWindow::Present(const QRegion &deviceRegion)
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

void TTERenderWindow::paintEvent(QPaintEvent *event)
{
    // Only the asked-for parts of the canvas are drawn: a frame usually changes a strip or two.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const bool direct = m_canvas.format() == QImage::Format_RGB32 || m_canvas.format() == QImage::Format_RGB16;
    for (const QRect &r : event->region()) {
        const QRectF area = r;
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
        if (direct) {
            painter.drawImage(area, m_canvas, source);
            continue;
        }
        // Other formats are converted for painting: convert the part shown, not the whole canvas.
        const QRect part = source.toAlignedRect();
        painter.drawImage(QRectF(part.x() / ratio, part.y() / ratio, part.width() / ratio, part.height() / ratio),
                          m_canvas.copy(part));
    }
}

// ---------------------------------------------------------------------------------------------

TTransitionEffect::TTransitionEffect(QObject *Owner) : QObject(Owner), m_pass2Options(new TTEPass2OptionsType(this))
{
    InitTransitionEngine();
    AllowedDirections.set(tedNone);
}

TTransitionEffect::~TTransitionEffect()
{
    if (m_transitionList)
        m_transitionList->RemoveTransition(this);
    delete m_inputGuard;
    UnPrepare();
}

void TTransitionEffect::Assign(const QObject *Source)
{
    const auto *other = qobject_cast<const TTransitionEffect *>(Source);
    if (!other)
        throw ETransitionError(QStringLiteral("Cannot assign a %1 to a %2")
                                   .arg(Source ? Source->metaObject()->className() : "nil",
                                        metaObject()->className())
                                   .toStdString());
    m_milliseconds = other->m_milliseconds;
    m_pass2Options->Assign(other->m_pass2Options);
    m_passSetting = other->m_passSetting;
    ForceRendering = other->ForceRendering;
    ForceScreenCopy = other->ForceScreenCopy;
    ClientCoordinates = other->ClientCoordinates;
    SetEnabled(other->m_enabled);
    m_flickerFreeWhenDisabled = other->m_flickerFreeWhenDisabled;
    SetDirection(other->m_direction);
    m_reversed = other->m_reversed;
    m_abortOnClick = other->m_abortOnClick;
    m_abortOnEscape = other->m_abortOnEscape;
}

TTransitionEffect::TTEEffectDirection TTransitionEffect::ReversedDirection() const
{
    switch (m_direction) {
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
    return m_direction;
}

int TTransitionEffect::GetBitmapsWidth(int Width) const { return Width; }
TPixelFormat TTransitionEffect::GetPixelFormat() const { return ScreenPixelFormat(); }
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
    if (value == m_enabled)
        return;
    m_enabled = value;
    if (!value)
        UnPrepare();
}

void TTransitionEffect::SetDirection(TTEEffectDirection value)
{
    if (int(value) >= 0 && int(value) < 16 && AllowedDirections.test(size_t(value)))
        m_direction = value;
}

int TTransitionEffect::GetPassCount() const
{
    switch (m_passSetting) {
    case teOnePass: return 1;
    case teTwoPasses: return 2;
    case tePaletteDependent: return ScreenBitsPerPixel() == 8 ? 2 : 1;
    }
    return 1;
}

bool TTransitionEffect::GetReversedToUse() const
{
    const bool invert = m_pass2Options->Reversed() && GetPassCount() == 2 && FirstPassAnimated() && !m_inSecondPass;
    return invert ? !m_reversed : m_reversed;
}

TTransitionEffect::TTEEffectDirection TTransitionEffect::GetDirectionToUse() const
{
    return GetReversedToUse() ? ReversedDirection() : m_direction;
}

void TTransitionEffect::SetTransitionList(TTransitionList *List)
{
    if (List == m_transitionList)
        return;
    if (m_transitionList)
        m_transitionList->RemoveTransition(this);
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
    m_clientFlag = ClientCoordinates;

    auto climb = [&] {
        QWidget *parent = parentOf(Control);
        if (!parent)
            return;
        Rect.translate(Control->pos() + (m_clientFlag ? QPoint() : clientOffset(Control)));
        Control = parent;
        m_clientFlag = true;
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
    if (!m_clientFlag) {
        const QRect client(offset, Control->size());
        if (client.contains(Rect)) {
            m_clientFlag = true;
            Rect.translate(-offset);
        }
    }
    m_screenRect = QRect(Control->mapToGlobal(Rect.topLeft() - (m_clientFlag ? QPoint() : offset)), Rect.size());

    // Pending paints finish before the picture is frozen.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    QWidget *host = m_clientFlag ? Control : parentOf(Control);
    const QRect windowRect = host ? QRect(host->mapFromGlobal(m_screenRect.topLeft()), m_screenRect.size()) : m_screenRect;
    m_control = Control;
    m_controlRect = QRect(Control->mapFromGlobal(m_screenRect.topLeft()) + (m_clientFlag ? QPoint() : offset),
                          m_screenRect.size());
    m_deviceSize = deviceSizeOf(m_screenRect, Control->devicePixelRatioF());

    try {
        // One copy of the screen serves the canvas and, when Prepare copies it, the old picture.
        const QSize shotSize(GetBitmapsWidth(m_deviceSize.width()), m_deviceSize.height());
        m_screenShot = screenCopy(Control, m_screenRect, shotSize, GetPixelFormat());
        if (host) {
            m_renderWindow = new TTERenderWindow(host);
            if (host == parentOf(Control)) {
                const QObjectList &siblings = host->children();
                QWidget *above = nullptr;
                for (qsizetype i = siblings.indexOf(Control) + 1; i < siblings.size() && !above; ++i)
                    if (auto *w = qobject_cast<QWidget *>(siblings.at(i)); w && !w->isWindow() && w != m_renderWindow)
                        above = w;
                if (above)
                    m_renderWindow->stackUnder(above);
                else
                    m_renderWindow->raise();
            } else {
                m_renderWindow->raise();
            }
        } else {
            m_renderWindow = new TTERenderWindow(nullptr);
            m_renderWindow->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        }
        m_renderWindow->SetCanvasImage(m_screenShot.width() == m_deviceSize.width()
                                           ? m_screenShot
                                           : m_screenShot.copy(QRect(QPoint(), m_deviceSize)));
        m_renderWindow->setGeometry(windowRect);
        m_renderWindow->show();
        if (!host)
            m_renderWindow->raise();
    } catch (...) {
        m_screenShot = QImage();
        RemoveRenderWindow();
        throw;
    }
    return true;
}

bool TTransitionEffect::Prepare(QWidget *Control, const QRect &Rect)
{
    if (m_prepared)
        UnPrepare();
    if (!PrepareWindow(Control, Rect))
        return false;
    m_prepared = true;
    g_anyEffectPrepared = true;
    if (Disabled() || !NeedSrcImage()) {
        m_screenShot = QImage();
        return m_prepared;
    }
    try {
        const QSize size(GetBitmapsWidth(m_deviceSize.width()), m_deviceSize.height());
        const bool copy = ForceScreenCopy
                          || (!ForceRendering && (!AllowSrcRendering() || !isObscured(m_control, m_screenRect)));
        if (copy) {
            // On an 8-bit screen a one-pass run copies the old picture at Execute.
            if (GetPixelFormat() != pf8bit || GetPassCount() == 2)
                m_srcImage = std::make_unique<QImage>(m_screenShot);
        } else {
            const qreal ratio = m_control->devicePixelRatioF();
            const QRect rect(m_controlRect.topLeft(), QSize(int(std::ceil(size.width() / ratio)), m_controlRect.height()));
            QImage rendered = RenderControl(m_control, rect, m_clientFlag, ImageFormatOf(GetPixelFormat()), SystemPalette());
            m_srcImage = std::make_unique<QImage>(widened(rendered.copy(0, 0, rendered.width(), m_deviceSize.height()), size.width()));
        }
    } catch (...) {
        m_screenShot = QImage();
        UnPrepare();
        throw;
    }
    m_screenShot = QImage();
    return m_prepared;
}

void TTransitionEffect::UnPrepare()
{
    if (m_prepared) {
        m_srcImage.reset();
        m_midImage.reset();
        m_dstImage.reset();
        m_prepared = false;
        g_anyEffectPrepared = false;
    }
    RemoveRenderWindow();
}

void TTransitionEffect::RemoveRenderWindow()
{
    delete m_renderWindow.data();
    m_renderWindow = nullptr;
    m_control = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Execute

void TTransitionEffect::FireEvent(const TNotifyEvent &event)
{
    if (event)
        event(this);
}

void TTransitionEffect::CheckAbort()
{
    if (Aborted || (!m_abortOnClick && !m_abortOnEscape && !OnAbortQuery) || m_abortChrono.Elapsed() <= 300)
        return;
    if (m_inputGuard) {
        QCoreApplication::processEvents();
        if (m_abortOnClick && m_inputGuard->clicked)
            Aborted = true;
        if (!Aborted && m_abortOnEscape && m_inputGuard->escapePressed)
            Aborted = true;
    }
    if (!Aborted && OnAbortQuery)
        OnAbortQuery(this, this, Aborted);
    m_abortChrono.Reset();
    m_abortChrono.Start();
}

TTETransitionData TTransitionEffect::MakePassData(QImage *work, QImage *src, QImage *dst) const
{
    TTETransitionData data;
    data.Bitmap = work;
    data.SrcBmp = src;
    data.DstBmp = dst;
    data.Canvas = m_canvas;
    data.Width = m_deviceSize.width();
    data.Height = m_deviceSize.height();
    const TPixelFormat format = GetPixelFormat();
    data.PixelFormat = format == pfDevice ? ScreenPixelFormat() : format;
    data.HighColor = ScreenBitsPerPixel() > 8;
    data.RenderWindow = m_renderWindow;
    data.Stepping = m_stepping;
    return data;
}

QImage *TTransitionEffect::WorkSetup(RunSources &sources, std::unique_ptr<QImage> &ownedWork)
{
    if (!m_srcImage && NeedSrcImage())
        m_srcImage = std::make_unique<QImage>(sources.screenCopy());
    if (!NeedWorkBitmap())
        return nullptr;
    if (NeedSrcImage() && WorkOnSrcBitmap())
        return m_srcImage.get();
    ownedWork = std::make_unique<QImage>(
        NewBitmap(GetBitmapsWidth(m_deviceSize.width()), m_deviceSize.height(), GetPixelFormat()));
    return ownedWork.get();
}

void TTransitionEffect::RunPass(TTETransitionData &Data)
{
    // The abort stopwatch restarts with every pass, also after one that failed.
    struct Scope
    {
        TTransitionEffect *effect;
        ~Scope()
        {
            effect->m_passData = nullptr;
            effect->m_abortChrono.Reset();
        }
    } scope{this};
    m_passData = &Data;
    m_abortChrono.Start();
    RunTransition(Data);
}

void TTransitionEffect::ShowFinalPicture(TTETransitionData &Data)
{
    if (!Data.DstBmp || !Data.Canvas)
        return;
    CopyRect(*Data.Canvas, *Data.DstBmp, QRect(0, 0, Data.Width, Data.Height));
    if (Data.RenderWindow)
        Data.RenderWindow->Present(Data.Canvas->rect());
}

bool TTransitionEffect::CanDrawOnCanvas(const TTETransitionData &Data)
{
    const QImage *canvas = Data.Canvas, *work = Data.Bitmap;
    return canvas && work && canvas != work && canvas->format() == work->format() &&
           canvas->size() == work->size() && canvas->bytesPerLine() == work->bytesPerLine() &&
           canvas->colorTable() == work->colorTable();
}

void TTransitionEffect::Flush()
{
    TTETransitionData *data = m_passData;
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
        m_dstImage = std::make_unique<QImage>(sources.render());
    std::unique_ptr<QImage> ownedWork;
    QImage *work = WorkSetup(sources, ownedWork);
    TTETransitionData data = MakePassData(work, m_srcImage.get(), m_dstImage.get());
    FireEvent(OnStartTransition);
    RunPass(data);
    FireEvent(OnEndTransition);
}

void TTransitionEffect::RunTwoPasses(RunSources &sources)
{
    const int savedMilliseconds = m_milliseconds;
    const bool distributed = m_pass2Options->DistributedTime();
    // Milliseconds reads its own value again after the run, also after a failure.
    struct Restore
    {
        TTransitionEffect *effect;
        int value;
        bool active;
        ~Restore()
        {
            if (active)
                effect->m_milliseconds = value;
        }
    } restore{this, savedMilliseconds, distributed};
    if (distributed)
        m_milliseconds = savedMilliseconds / 2;

    std::unique_ptr<QImage> ownedWork;
    QImage *work = WorkSetup(sources, ownedWork);
    bool started = false;
    {
        TTETransitionData data = MakePassData(work, m_srcImage.get(), m_midImage.get());
        if (FirstPassAnimated()) {
            FireEvent(OnStartTransition);
            started = true;
            RunPass(data);
        }
        QImage *target = data.GetCanvas();
        CopyRect(*target, *m_midImage, m_midImage->rect());
        if (target != m_canvas && m_canvas)
            CopyRect(*m_canvas, *m_midImage, m_midImage->rect());
        if (m_renderWindow)
            m_renderWindow->Present(m_canvas->rect());
    }
    if (work == m_srcImage.get())
        work = nullptr;
    m_srcImage.reset();
    m_inSecondPass = true;

    if (NeedDstImage())
        m_dstImage = std::make_unique<QImage>(sources.render());
    if (!ownedWork)
        work = m_midImage.get();
    TTETransitionData data = MakePassData(work, m_midImage.get(), m_dstImage.get());
    if (!started)
        FireEvent(OnStartTransition);
    RunPass(data);
    FireEvent(OnEndTransition);
}

void TTransitionEffect::RunPasses(RunSources &sources)
{
    if (Disabled()) {
        m_dstImage = std::make_unique<QImage>(sources.render());
        CopyRect(*m_canvas, *m_dstImage, QRect(QPoint(), m_deviceSize));
        if (m_renderWindow)
            m_renderWindow->Present(m_canvas->rect());
        return;
    }
    if (GetPassCount() == 2 && !m_midImage)
        m_midImage = std::make_unique<QImage>(m_pass2Options->UseSolidColor() ? sources.solid() : sources.render());
    if (m_midImage)
        RunTwoPasses(sources);
    else
        RunOnePass(sources);
}

void TTransitionEffect::FinishRun()
{
    if (m_inputGuard) {
        // Input that arrived during the run is consumed with it.
        QCoreApplication::processEvents();
        delete m_inputGuard;
        m_inputGuard = nullptr;
    }
    m_executing = false;
    m_inSecondPass = false;
    WorkBitmap = nullptr;
    m_canvas = nullptr;
    m_stepping = nullptr;
}

void TTransitionEffect::Execute()
{
    FireEvent(OnBeforeTransition);
    try {
        if (CanExecute()) {
            if (!m_prepared) {
                RemoveRenderWindow();
            } else {
                Aborted = false;
                m_executing = true;
                m_inSecondPass = false;
                UpdateRect = QRect();
                if (IsAbortable())
                    m_inputGuard = new InputGuard(m_renderWindow);
                if (m_renderWindow && (!m_renderWindow->parentWidget() || m_renderWindow->isVisible())) {
                    QWidget *control = m_control;
                    const QSize bitmapSize(GetBitmapsWidth(m_deviceSize.width()), m_deviceSize.height());
                    const qreal ratio = control->devicePixelRatioF();
                    const QRect renderRect(m_controlRect.topLeft(),
                                           QSize(int(std::ceil(bitmapSize.width() / ratio)), m_controlRect.height()));
                    const TPixelFormat format = GetPixelFormat();
                    RunSources sources;
                    sources.render = [=, this] {
                        QImage image = RenderControl(control, renderRect, m_clientFlag, ImageFormatOf(format), SystemPalette());
                        return widened(image.copy(0, 0, image.width(), bitmapSize.height()), bitmapSize.width());
                    };
                    sources.screenCopy = [=, this] { return screenCopy(control, m_screenRect, bitmapSize, format); };
                    sources.solid = [=, this] { return solidImage(control, bitmapSize, format, m_pass2Options->SolidColor()); };
                    m_canvas = &m_renderWindow->CanvasImage();
                    RunPasses(sources);
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
                    m_renderWindow->hide();
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
                                        const TTEStepping *Stepping, TColor ControlColor)
{
    FireEvent(OnBeforeTransition);
    const TPixelFormat format = GetPixelFormat();
    const TPixelFormat canvasFormat = format == pfDevice ? ScreenPixelFormat() : format;
    try {
        if (!CanExecute()) {
            // Nothing to animate: the area shows the new picture at once.
            Canvas = ConvertToPixelFormat(To, canvasFormat);
        } else {
            if (From.size() != To.size())
                throw ETransitionError("The two pictures differ in size");
            m_deviceSize = From.size();
            const int bitmapsWidth = GetBitmapsWidth(m_deviceSize.width());
            Canvas = ConvertToPixelFormat(From, canvasFormat);
            m_canvas = &Canvas;
            m_stepping = Stepping;
            Aborted = false;
            m_executing = true;
            m_inSecondPass = false;
            UpdateRect = QRect();
            if (!Disabled() && NeedSrcImage())
                m_srcImage = std::make_unique<QImage>(widened(Canvas, bitmapsWidth));
            RunSources sources;
            sources.render = [&] { return widened(ConvertToPixelFormat(To, PixelFormatOfImage(Canvas)), bitmapsWidth); };
            sources.screenCopy = [&] { return widened(Canvas, bitmapsWidth); };
            const TColor solidColor =
                m_pass2Options->SolidColor() == clControlColor ? ControlColor : m_pass2Options->SolidColor();
            sources.solid = [&] {
                return solidImage(nullptr, QSize(bitmapsWidth, m_deviceSize.height()), format, solidColor);
            };
            RunPasses(sources);
            FinishRun();
            m_srcImage.reset();
            m_midImage.reset();
            m_dstImage.reset();
        }
    } catch (...) {
        FinishRun();
        m_srcImage.reset();
        m_midImage.reset();
        m_dstImage.reset();
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
TPixelFormat TFlickerFreeTransition::GetPixelFormat() const { return pfDevice; }

void TFlickerFreeTransition::RunTransition(TTETransitionData &Data)
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
    while (!m_items.empty())
        delete m_items.back();
}

void TTransitionList::AddTransition(TTransitionEffect *Effect)
{
    if (!Effect || Effect->m_transitionList == this)
        return;
    if (Effect->m_transitionList)
        Effect->m_transitionList->RemoveTransition(Effect);
    m_items.push_back(Effect);
    Effect->m_transitionList = this;
}

void TTransitionList::RemoveTransition(TTransitionEffect *Effect)
{
    const auto it = std::find(m_items.begin(), m_items.end(), Effect);
    if (it == m_items.end())
        return;
    m_items.erase(it);
    Effect->m_transitionList = nullptr;
}

TTransitionEffect *TTransitionList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ETransitionError(QStringLiteral("List index out of bounds (%1)").arg(Index).toStdString());
    return m_items[size_t(Index)];
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

void RegisterTransitionClass(const QMetaObject &MetaObject, TTransitionEffectFactory Factory)
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
