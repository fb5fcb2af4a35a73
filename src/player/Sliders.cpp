#include "player/Sliders.h"

#include "app/show_project.h"
#include "dialogs/EffectCatalogue.h"
#include "dialogs/OnHelps.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "player/pro_image.h"
#include "player/slide_composition.h"
#include "transitions/TransEff.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <new>

namespace lumetta {

namespace {

constexpr int kCaptionBarHeight = 26;
constexpr int kCaptionFontPixels = 16;
constexpr int kNoticeMs = 5000;

void SetBackgroundColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

QRect ToLogical(const QRect &device, qreal ratio)
{
    return QRect(qRound(device.x() / ratio), qRound(device.y() / ratio), qRound(device.width() / ratio),
                 qRound(device.height() / ratio));
}

QRect PrimaryScreenGeometry()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TSShow::TSShow(QWidget *parent)
    : QDialog(parent), sequencer_(*this)
{
    setObjectName(QStringLiteral("SShow"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setModal(true);
    setFocusPolicy(Qt::StrongFocus);

    Pano = new QWidget(this);
    Pano->setObjectName(QStringLiteral("Pano"));
    Pano->setAutoFillBackground(true);
    SetBackgroundColor(Pano, Qt::black);

    ProImage1 = new TProImage(Pano);
    ProImage1->setObjectName(QStringLiteral("ProImage1"));
    ProImage1->SetTiled(true);
    auto *panoLayout = new QGridLayout(Pano);
    panoLayout->setContentsMargins(0, 0, 0, 0);
    panoLayout->addWidget(ProImage1, 0, 0);

    Shape1 = new QWidget(Pano);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAutoFillBackground(true);
    SetBackgroundColor(Shape1, QColor::fromRgb(kShadowColor));
    Shape1->hide();

    Image1 = new TProImage(Pano);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetCenter(true);
    Image1->SetStretch(true);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kCaptionBarHeight);
    // A caption wider than the screen is cut off rather than widening the full-screen window.
    Panel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setAutoFillBackground(true);
    QFont captionFont = Panel1->font();
    captionFont.setPixelSize(kCaptionFontPixels);
    Panel1->setFont(captionFont);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Pano, 1);
    layout->addWidget(Panel1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TSShow::Timer1Timer);

    LenTimer = new QTimer(this);
    LenTimer->setObjectName(QStringLiteral("LenTimer"));
    LenTimer->setInterval(100);
    connect(LenTimer, &QTimer::timeout, this, &TSShow::LenTimerTimer);

    Trans = new TTransitionList(this);
    Trans->setObjectName(QStringLiteral("Trans"));
    LoadEffectCatalogue(*Trans, false);

    OnHelper = new TOnHelper(this);
    connect(OnHelper, &TOnHelper::FormClose, this, [this] { sequencer_.HelpClosed(); });

    Notice = new QLabel(this);
    Notice->setObjectName(QStringLiteral("Notice"));
    Notice->setAutoFillBackground(true);
    Notice->setMargin(8);
    SetBackgroundColor(Notice, QColor(255, 255, 225));
    Notice->hide();
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    connect(noticeTimer_, &QTimer::timeout, Notice, &QWidget::hide);
}

TSShow::~TSShow() = default;

QSize TSShow::ScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return (QSizeF(PrimaryScreenGeometry().size()) * ratio).toSize();
}

TSShow::StartResult TSShow::PlayNow(ShowProject &project)
{
    const StartResult result = StartShow(project);
    if (result == StartResult::Started)
        exec();
    return result;
}

TSShow::StartResult TSShow::StartShow(ShowProject &project)
{
    error_.clear();
    Shape1->hide();
    if (project.Pictures().isEmpty())
        return StartResult::NoPictures;
    project_ = &project;
    sequencer_.SetProject(&project);
    const ShowSettings &settings = project.Settings();

    if (!MediaPlayer1.Start(project.Playlist(), settings.MusicOn())) {
        error_ = MediaPlayer1.ErrorString();
        return StartResult::Failed;
    }
    if (MediaPlayer1.Active())
        LenTimer->start();

    try {
        const BackgroundSetup background = BuildBackground(settings, ScreenSize());
        switch (background.kind) {
        case BackgroundSetup::Kind::Unchanged:
            break;
        case BackgroundSetup::Kind::Plain:
            ProImage1->SetPicture(QImage());
            SetBackgroundColor(Pano, background.colour);
            break;
        case BackgroundSetup::Kind::Gradient:
        case BackgroundSetup::Kind::Picture:
            ProImage1->SetPicture(background.picture);
            break;
        }
    } catch (const PictureError &error) {
        // No music without a show.
        error_ = error.message();
        LenTimer->stop();
        MediaPlayer1.Stop();
        return StartResult::Failed;
    }

    if (const std::optional<int> seconds = settings.AdvanceSeconds()) {
        Timer1->setInterval(*seconds * 1000);
        Timer1->start();
    } else {
        Timer1->stop();
    }

    setCursor(Qt::BlankCursor);
    setGeometry(PrimaryScreenGeometry());
    setWindowState(Qt::WindowFullScreen);
    return StartResult::Started;
}

void TSShow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (project_ && !sequencer_.Running() && !setUpPending_) {
        // Set-up runs from the event loop once the window is on the screen.
        setUpPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (setUpPending_)
                    FormActivate();
            },
            Qt::QueuedConnection);
    }
}

void TSShow::FormActivate()
{
    setUpPending_ = false;
    if (!project_)
        return;
    const ShowSettings &settings = project_->Settings();
    Image1->SetPicture(QImage());
    move(PrimaryScreenGeometry().topLeft());

    const QString caption = settings.Get(ShowSettings::kCaption);
    if (caption == QLatin1String("No")) {
        Panel1->hide();
    } else {
        if (const std::optional<TColor> color = StringToColor(caption))
            SetBackgroundColor(Panel1, ResolveColor(*color));
        Panel1->show();
    }

    const ProImageMode mode =
        PlacementMode(settings, ProImageMode{ProImage1->Tiled(), ProImage1->Center(), ProImage1->Stretch()});
    ProImage1->SetTiled(mode.tiled);
    ProImage1->SetCenter(mode.center);
    ProImage1->SetStretch(mode.stretch);

    sequencer_.Start();
}

void TSShow::Timer1Timer()
{
    sequencer_.Tick();
}

void TSShow::LenTimerTimer()
{
    // Opening a track waits for it with timers running; a poll inside that wait has nothing to add.
    if (polling_ || !project_)
        return;
    polling_ = true;
    const std::optional<QString> failure = MediaPlayer1.Poll(project_->Playlist(), project_->Settings().RepeatMusic());
    polling_ = false;
    if (failure)
        Notify(*failure);
}

void TSShow::FormClose()
{
    Timer1->stop();
    LenTimer->stop();
    MediaPlayer1.Stop();
    sequencer_.End();
    setUpPending_ = false;
    noticeTimer_->stop();
    Notice->hide();
}

void TSShow::closeEvent(QCloseEvent *event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TSShow::keyPressEvent(QKeyEvent *event)
{
    if (!sequencer_.KeyDown(event->key()))
        event->ignore();
}

bool TSShow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1) {
        if (event->type() == QEvent::MouseMove) {
            Image1->setCursor(Qt::ArrowCursor);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && Image1->rect().contains(mouse->position().toPoint()))
                sequencer_.Click();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSShow::HidePointer()
{
    Image1->setCursor(Qt::BlankCursor);
    ProImage1->setCursor(Qt::BlankCursor);
}

void TSShow::SetCaption(const QString &text)
{
    Panel1->setText(text);
}

void TSShow::LetWindowUpdate()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool TSShow::PrepareEffect(int effect)
{
    try {
        return Trans->Items(effect)->Prepare(Pano, Pano->rect());
    } catch (const std::exception &error) {
        // The slide then simply appears without an animation.
        Notify(QString::fromLocal8Bit(error.what()));
        return false;
    }
}

std::optional<QString> TSShow::ShowPicture(const QString &path)
{
    try {
        const Picture picture = Picture::load(path);
        const ShowSettings &settings = project_->Settings();
        const SlideLayout layout = LayOutSlide(picture.size(), ScreenSize(), settings.PicturePercent(), settings.Shadow());
        // Decoded completely now and scaled once to the slide, so the transition only copies.
        Image1->SetPicture(picture.scaled(layout.picture.size()));
        PlaceSlide(layout.picture, layout.shadow);
        Image1->Shown();
    } catch (const PictureError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return PictureError(path, QStringLiteral("not enough memory")).message();
    }
    return std::nullopt;
}

void TSShow::PlaceSlide(const QRect &picture, const std::optional<QRect> &shadow)
{
    const qreal ratio = devicePixelRatioF();
    Image1->setGeometry(ToLogical(picture, ratio));
    if (shadow) {
        Shape1->setGeometry(ToLogical(*shadow, ratio));
        Shape1->show();
    } else {
        Shape1->hide();
    }
}

void TSShow::ExecuteEffect(int effect)
{
    try {
        Trans->Items(effect)->Execute();
    } catch (const TransitionAborted &) {
        // A pass without frames: the new slide simply shows.
    } catch (const std::exception &error) {
        Notify(QString::fromLocal8Bit(error.what()));
    }
}

void TSShow::UnPrepareEffect(int effect)
{
    Trans->Items(effect)->UnPrepare();
}

void TSShow::Notify(const QString &message)
{
    Notice->setText(message);
    Notice->adjustSize();
    Notice->move((width() - Notice->width()) / 2, 16);
    Notice->show();
    Notice->raise();
    noticeTimer_->start(kNoticeMs);
}

void TSShow::CloseShow()
{
    close();
}

bool TSShow::SlideTimerEnabled() const
{
    return Timer1->isActive();
}

void TSShow::SetSlideTimerEnabled(bool enabled)
{
    if (!enabled)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}

void TSShow::ShowHotKeyHelp()
{
    OnHelper->exec();
}

}  // namespace lumetta
