// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/player_window.h"

#include "media/picture_error.h"
#include "media/playlist_length.h"
#include "player/caption_bar_painter.h"
#include "player/caption_layer.h"
#include "player/effect_catalogue.h"
#include "player/hot_key_help.h"
#include "player/pause_mark.h"
#include "player/picture_widget.h"
#include "player/screen_saver_inhibitor.h"
#include "player/slide_composition.h"
#include "show/show_project.h"
#include "transitions/core/pixels/frame_memory.h"
#include "transitions/engine/stopwatch.h"
#include "transitions/transitions.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace lumetta {

namespace {

constexpr int kNoticeMs = 5000;
// Lines a notice keeps, the latest ones.
constexpr int kNoticeLines = 8;
constexpr int kMusicFadeMs = 1000;
constexpr int kWheelNotch = 120;

void SetBackgroundColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

// The smallest rectangle of whole logical pixels that holds a rectangle of device pixels.
QRect CoveringLogical(const QRect &device, qreal ratio)
{
    const int left = int(std::floor(device.x() / ratio));
    const int top = int(std::floor(device.y() / ratio));
    const int right = int(std::ceil((device.x() + device.width()) / ratio));
    const int bottom = int(std::ceil((device.y() + device.height()) / ratio));
    return QRect(left, top, right - left, bottom - top);
}

// Places WIDGET over the device rectangle PLACE, with its picture drawn 1:1 at that rectangle.
void PlaceOnDevicePixels(PictureWidget *widget, const QRect &place, qreal ratio)
{
    const QRect logical = CoveringLogical(place, ratio);
    widget->setGeometry(logical);
    widget->SetDevicePosition(place.topLeft() - QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)));
}

QRect ScreenGeometry(const QScreen *screen)
{
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

PlayerWindow::PlayerWindow(QWidget *parent) : QDialog(parent), sequencer_(*this)
{
    setObjectName(QStringLiteral("SShow"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setModal(true);
    setFocusPolicy(Qt::StrongFocus);

    slideArea_ = new QWidget(this);
    slideArea_->setObjectName(QStringLiteral("Pano"));
    slideArea_->setAutoFillBackground(true);
    SetBackgroundColor(slideArea_, Qt::black);

    background_ = new PictureWidget(slideArea_);
    background_->setObjectName(QStringLiteral("ProImage1"));
    background_->SetTiled(true);
    auto *panoLayout = new QGridLayout(slideArea_);
    panoLayout->setContentsMargins(0, 0, 0, 0);
    panoLayout->addWidget(background_, 0, 0);

    shadow_ = new PictureWidget(slideArea_);
    shadow_->setObjectName(QStringLiteral("Shape1"));
    shadow_->hide();

    slide_ = new PictureWidget(slideArea_);
    slide_->setObjectName(QStringLiteral("Image1"));
    slide_->setMouseTracking(true);
    slide_->installEventFilter(this);

    caption_ = new PictureWidget(slideArea_);
    caption_->setObjectName(QStringLiteral("SlideCaption"));
    // Clicks go to the slide under it.
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->hide();

    captionBar_ = new QLabel(this);
    captionBar_->setObjectName(QStringLiteral("Panel1"));
    StyleCaptionBar(*captionBar_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(slideArea_, 1);
    layout->addWidget(captionBar_);

    slideTimer_ = new QTimer(this);
    slideTimer_->setObjectName(QStringLiteral("Timer1"));
    slideTimer_->setInterval(500);
    connect(slideTimer_, &QTimer::timeout, this, &PlayerWindow::OnSlideTimer);

    musicTimer_ = new QTimer(this);
    musicTimer_->setObjectName(QStringLiteral("LenTimer"));
    musicTimer_->setInterval(100);
    connect(musicTimer_, &QTimer::timeout, this, &PlayerWindow::OnMusicTimer);

    effects_ = new TTransitionList(this);
    effects_->setObjectName(QStringLiteral("Trans"));
    LoadEffectCatalogue(*effects_, false);
    for (int i = 0; i < effects_->Count(); ++i) {
        // Input is let in while a transition runs, so Escape cuts it short and whatever else
        // comes is merged for the step after it, instead of waiting in the window system.
        effects_->Items(i)->onAbortQuery = [this](QObject *, TTransitionEffect *, bool &abort) {
            LetInputIn();
            abort = abort || sequencer_.EscapeWaiting();
        };
    }

    help_ = new HotKeyHelp(this);
    connect(help_, &HotKeyHelp::Closed, this, [this] { sequencer_.HelpClosed(); });

    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setAutoFillBackground(true);
    notice_->setMargin(8);
    // File names come from whoever made the show; none is read as markup.
    notice_->setTextFormat(Qt::PlainText);
    SetBackgroundColor(notice_, QColor(255, 255, 225));
    notice_->hide();
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    connect(noticeTimer_, &QTimer::timeout, notice_, &QWidget::hide);

    pauseMark_ = new PauseMark(this);
    screenSaver_ = new ScreenSaverInhibitor(QDBusConnection::sessionBus(), this);

    fadeTimer_ = new QTimer(this);
    fadeTimer_->setInterval(40);
    connect(fadeTimer_, &QTimer::timeout, this, [this] {
        const qint64 elapsed = fadeClock_.elapsed();
        if (elapsed >= kMusicFadeMs) {
            fadeTimer_->stop();
            music_.Stop();
        } else {
            music_.SetVolume(1.0f - float(elapsed) / kMusicFadeMs);
        }
    });
}

PlayerWindow::~PlayerWindow()
{
    fadeTimer_->stop();
    music_.Stop();
}

QSize PlayerWindow::ScreenSize(const QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return (QSizeF(ScreenGeometry(screen).size()) * ratio).toSize();
}

void PlayerWindow::SetScreen(QScreen *screen)
{
    screen_ = screen;
}

QScreen *PlayerWindow::ShowScreen() const
{
    return screen_ ? screen_.data() : QGuiApplication::primaryScreen();
}

PlayerWindow::StartResult PlayerWindow::PlayNow(ShowProject &project)
{
    const StartResult result = StartShow(project);
    if (result != StartResult::Started)
        return result;
    exec();
    return error_.isEmpty() ? StartResult::Started : StartResult::Failed;
}

PlayerWindow::StartResult PlayerWindow::StartShow(ShowProject &project)
{
    error_.clear();
    shadow_->hide();
    if (fadeTimer_->isActive()) {
        fadeTimer_->stop();
        music_.Stop();
    }
    if (project.Pictures().isEmpty())
        return StartResult::NoPictures;
    project_ = &project;
    sequencer_.SetProject(&project);
    const ShowSettings &settings = project.Settings();
    // The first slide is decoded while the window comes up.
    prefetcher_.Want({project.Pictures().first()}, SlideRequestOfShow());

    if (!music_.Start(project.Playlist(), settings.MusicOn())) {
        error_ = music_.ErrorString();
        prefetcher_.Want({}, {});
        return StartResult::Failed;
    }
    if (music_.Active())
        musicTimer_->start();

    try {
        const BackgroundSetup background = BuildBackground(settings, ScreenSize(ShowScreen()));
        switch (background.kind) {
        case BackgroundSetup::Kind::Unchanged:
            break;
        case BackgroundSetup::Kind::Plain:
            background_->SetPicture(QImage());
            SetBackgroundColor(slideArea_, background.colour);
            break;
        case BackgroundSetup::Kind::Gradient:
        case BackgroundSetup::Kind::Picture:
            background_->SetPicture(background.picture);
            break;
        }
    } catch (const PictureError &error) {
        // No music without a show.
        error_ = error.Message();
        musicTimer_->stop();
        music_.Stop();
        prefetcher_.Want({}, {});
        return StartResult::Failed;
    }

    const std::int64_t intervalMs = std::int64_t(settings.AdvanceSeconds().value_or(0)) * 1000;
    std::optional<std::int64_t> musicMs;
    // A manual show stays manual: nothing to fit.
    if (project.Story().FitToMusic() && settings.MusicOn() && settings.AdvanceSeconds())
        musicMs = PlaylistLengthMs(project.Playlist());
    durations_ = project.Story().Durations(int(project.Pictures().size()), intervalMs, musicMs);
    if (settings.AdvanceSeconds()) {
        slideTimer_->setInterval(int(std::min<std::int64_t>(durations_.first(), INT_MAX)));
        slideTimer_->start();
    } else {
        slideTimer_->stop();
    }

    setCursor(Qt::BlankCursor);
    if (QScreen *screen = ShowScreen())
        setScreen(screen);
    setGeometry(ScreenGeometry(ShowScreen()));
    setWindowState(Qt::WindowFullScreen);
    screenSaver_->Inhibit(QStringLiteral("A slide show is playing"));
    return StartResult::Started;
}

void PlayerWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (project_ && !sequencer_.Running() && !setUpPending_) {
        // Set-up runs from the event loop once the window is on the screen.
        setUpPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (setUpPending_)
                    SetUpShow();
            },
            Qt::QueuedConnection);
    }
}

void PlayerWindow::SetUpShow()
{
    setUpPending_ = false;
    if (!project_)
        return;
    const ShowSettings &settings = project_->Settings();
    slide_->SetPicture(QImage());
    caption_->hide();
    move(ScreenGeometry(ShowScreen()).topLeft());

    const QString caption = settings.Get(ShowSettings::CaptionLine);
    if (caption == QLatin1String("No")) {
        captionBar_->hide();
    } else {
        if (const std::optional<ColorRef> color = StringToColor(caption))
            SetBackgroundColor(captionBar_, ResolveColor(*color));
        captionBar_->show();
    }

    const PicturePlacement mode =
        PlacementMode(settings, PicturePlacement{background_->Tiled(), background_->Center(), background_->Stretch()});
    background_->SetTiled(mode.tiled);
    background_->SetCenter(mode.center);
    background_->SetStretch(mode.stretch);

    stepStartedAt_ = Stopwatch::Now();
    sequencer_.Start();
}

void PlayerWindow::OnSlideTimer()
{
    stepStartedAt_ = Stopwatch::Now();
    // The step sets the next tick once its slide shows; until then the timer waits, so a step
    // longer than the interval does not pile up ticks behind it.
    if (slideTimer_->isActive() && !sequencer_.Busy())
        slideTimer_->start(INT_MAX);
    sequencer_.Tick();
}

std::optional<double> PlayerWindow::NextStepDue() const
{
    if (!slideTimer_->isActive())
        return std::nullopt;
    return nextDue_;
}

void PlayerWindow::OnMusicTimer()
{
    // Opening a track waits for it with timers running; a poll inside that wait has nothing to add.
    if (polling_ || !project_)
        return;
    polling_ = true;
    const std::optional<QString> failure = music_.Poll(project_->Playlist(), project_->Settings().RepeatMusic());
    polling_ = false;
    if (failure)
        Notify(*failure);
}

void PlayerWindow::EndShow()
{
    slideTimer_->stop();
    musicTimer_->stop();
    if (music_.Active() && !fadeTimer_->isActive()) {
        fadeClock_.start();
        fadeTimer_->start();
    }
    sequencer_.End();
    prefetcher_.Want({}, {});
    // No frame buffers of the show stay in memory.
    ReleaseKeptFrameMemory();
    setUpPending_ = false;
    noticeTimer_->stop();
    notice_->hide();
    pauseMark_->hide();
    screenSaver_->Release();
}

void PlayerWindow::WaitForMusicToFade()
{
    if (!fadeTimer_->isActive())
        return;
    QEventLoop loop;
    QTimer check;
    connect(&check, &QTimer::timeout, &loop, [this, &loop] {
        if (!fadeTimer_->isActive())
            loop.quit();
    });
    check.start(20);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void PlayerWindow::closeEvent(QCloseEvent *event)
{
    EndShow();
    QDialog::closeEvent(event);
}

void PlayerWindow::keyPressEvent(QKeyEvent *event)
{
    if (!sequencer_.KeyDown(event->key(), event->isAutoRepeat()))
        event->ignore();
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent *event)
{
    // A click on the slide while a transition's render window lies over it reaches the window.
    const QRect slide(slide_->mapTo(this, QPoint(0, 0)), slide_->size());
    if (event->button() == Qt::LeftButton && slide_->isVisible() && slide.contains(event->position().toPoint()))
        sequencer_.Click();
    QDialog::mouseReleaseEvent(event);
}

void PlayerWindow::wheelEvent(QWheelEvent *event)
{
    // Touchpads report fractions of a notch; a slide changes per whole notch.
    wheelAngle_ += event->angleDelta().y();
    while (std::abs(wheelAngle_) >= kWheelNotch) {
        const bool down = wheelAngle_ < 0;
        wheelAngle_ += down ? kWheelNotch : -kWheelNotch;
        sequencer_.Wheel(down);
    }
    event->accept();
}

void PlayerWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    pauseMark_->PlaceInCorner();
}

bool PlayerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slide_) {
        if (event->type() == QEvent::MouseMove) {
            slide_->setCursor(Qt::ArrowCursor);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && slide_->rect().contains(mouse->position().toPoint())) {
                sequencer_.Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PlayerWindow::HidePointer()
{
    slide_->setCursor(Qt::BlankCursor);
    background_->setCursor(Qt::BlankCursor);
}

void PlayerWindow::SetCaption(const QString &text)
{
    captionBar_->setText(text);
    // On the screen before the transition starts, which lets no paint through.
    captionBar_->repaint();
}

void PlayerWindow::LetWindowUpdate()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PlayerWindow::LetInputIn()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool PlayerWindow::PrepareEffect(int effect)
{
    try {
        return effects_->Items(effect)->Prepare(slideArea_, slideArea_->rect());
    } catch (const std::exception &error) {
        // The slide then simply appears without an animation.
        Notify(QString::fromLocal8Bit(error.what()));
        return false;
    }
}

SlideRequest PlayerWindow::SlideRequestOfShow() const
{
    const ShowSettings &settings = project_->Settings();
    return SlideRequest{ScreenSize(ShowScreen()), settings.PicturePercent(), settings.Shadow()};
}

std::optional<QString> PlayerWindow::LoadPicture(const QString &path)
{
    // Usually prepared while the previous slide showed; else waited for, or prepared now. A
    // picture that loads stays held for ShowPicture.
    return prefetcher_.Take(path, SlideRequestOfShow()).error;
}

void PlayerWindow::ShowPicture(int index, const QString &path)
{
    const SlideRequest request = SlideRequestOfShow();
    const PreparedSlide slide = prefetcher_.Take(path, request);
    // The first track loads beside the first transition, not before it.
    music_.Begin();
    slide_->SetPicture(slide.picture);
    PlaceSlide(slide);
    slide_->Shown();
    const qreal ratio = devicePixelRatioF();
    const CaptionLayer caption = PaintCaptionLayer(project_->Story().Slide(index).caption,
                                                   (QSizeF(slideArea_->size()) * ratio).toSize(), slide.layout.picture);
    if (caption.IsNull()) {
        caption_->hide();
    } else {
        caption_->SetPicture(caption.image);
        PlaceOnDevicePixels(caption_, QRect(caption.at, caption.image.size()), ratio);
        caption_->show();
        caption_->raise();
    }

    // The pictures a next step may show (forward, or back for Left) are prepared once this step
    // is over, while the slide shows, so they do not compete with its transition.
    neighbours_ = QStringList{path}
                  + PicturesNextTo(project_->Pictures(), sequencer_.NextSlide(), project_->Settings().Looping());
    neighboursRequest_ = request;
    WantNeighboursSoon();
}

void PlayerWindow::WantNeighboursSoon()
{
    QTimer::singleShot(0, this, [this] {
        if (sequencer_.Running() && !effectRunning_ && !neighbours_.isEmpty())
            prefetcher_.Want(std::exchange(neighbours_, {}), neighboursRequest_);
    });
}

void PlayerWindow::SlideShown(int index, bool timed)
{
    shownSlide_ = index;
    if (!timed || !slideTimer_->isActive() || index < 0 || index >= durations_.size())
        return;
    // The slide's time counts from the step's start, the transition included, as the show's
    // interval always has.
    nextDue_ = stepStartedAt_ + double(durations_[index]);
    slideTimer_->start(int(std::clamp<double>(std::ceil(nextDue_ - Stopwatch::Now()), 0, INT_MAX)));
}

void PlayerWindow::PlaceSlide(const PreparedSlide &slide)
{
    // Both lie on device pixels exactly where the layout puts them, the picture unscaled.
    const qreal ratio = devicePixelRatioF();
    PlaceOnDevicePixels(slide_, slide.layout.picture, ratio);
    if (const std::optional<QRect> &shadow = slide.layout.shadow) {
        shadow_->SetPicture(ShadowOf(slide.picture));
        PlaceOnDevicePixels(shadow_, *shadow, ratio);
        shadow_->show();
    } else {
        shadow_->hide();
    }
}

void PlayerWindow::ExecuteEffect(int effect)
{
    effectRunning_ = true;
    try {
        effects_->Items(effect)->Execute();
    } catch (const TransitionAborted &) {
        // A pass without frames: the new slide simply shows.
    } catch (const std::exception &error) {
        Notify(QString::fromLocal8Bit(error.what()));
    }
    effectRunning_ = false;
    WantNeighboursSoon();
}

void PlayerWindow::UnPrepareEffect(int effect)
{
    effects_->Items(effect)->UnPrepare();
}

void PlayerWindow::Notify(const QString &message)
{
    // A notice still on the screen keeps its latest lines, so two problems in a row are both
    // read and a long run of them never grows off the screen.
    QStringList lines = notice_->isVisible() ? notice_->text().split(QLatin1Char('\n')) : QStringList();
    lines += message.split(QLatin1Char('\n'));
    notice_->setText(lines.mid(std::max<qsizetype>(0, lines.size() - kNoticeLines)).join(QLatin1Char('\n')));
    notice_->adjustSize();
    notice_->move((width() - notice_->width()) / 2, 16);
    notice_->show();
    notice_->raise();
    noticeTimer_->start(kNoticeMs);
}

void PlayerWindow::CloseShow()
{
    close();
}

void PlayerWindow::FailShow(const QString &message)
{
    error_ = message;
    close();
}

bool PlayerWindow::SlideTimerEnabled() const
{
    return slideTimer_->isActive();
}

void PlayerWindow::SetSlideTimerEnabled(bool enabled)
{
    if (!enabled) {
        slideTimer_->stop();
    } else if (!slideTimer_->isActive()) {
        // Going on after a pause or the help: the shown slide gets its whole time again.
        if (shownSlide_ >= 0 && shownSlide_ < durations_.size() && durations_[shownSlide_] > 0)
            slideTimer_->setInterval(int(std::min<std::int64_t>(durations_[shownSlide_], INT_MAX)));
        nextDue_ = Stopwatch::Now() + slideTimer_->interval();
        slideTimer_->start();
    }
}

void PlayerWindow::ShowHotKeyHelp()
{
    help_->exec();
}

void PlayerWindow::ShowPaused(bool paused)
{
    pauseMark_->PlaceInCorner();
    pauseMark_->setVisible(paused);
    if (paused)
        pauseMark_->raise();
}

}  // namespace lumetta
