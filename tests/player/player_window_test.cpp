// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/arith.h"
#include "player/hot_key_help.h"
#include "player/pause_mark.h"
#include "player/picture_widget.h"
#include "player/play_file.h"
#include "player/player_window.h"
#include "player/screen_numbers.h"
#include "player/screen_saver_inhibitor.h"
#include "player/slide_composition.h"
#include "show/project_file.h"
#include "show/show_project.h"
#include "support/picture_files.h"
#include "support/wav_files.h"
#include "transitions/engine/stopwatch.h"
#include "transitions/transitions.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 15000;

QString WritePicture(const QString &path, QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(path.endsWith(QLatin1String(".jpg")) ? testpictures::MakeJpeg(image) : testpictures::MakeBmp(image));
    return path;
}

// The bounding rectangle of the pixels of COLOUR in what the slide area shows, in device pixels.
QRect PaintedRect(QWidget *area, QRgb colour)
{
    const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect painted;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) == colour)
                painted |= QRect(x, y, 1, 1);
    return painted;
}

QSize DeviceSize(const QWidget *widget)
{
    return (QSizeF(widget->size()) * widget->devicePixelRatioF()).toSize();
}

bool SameColour(QRgb a, QRgb b, int tolerance = 0)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class PlayerWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        for (int i = 0; i < 3; ++i)
            project_.Pictures() << WritePicture(dir_.filePath(QStringLiteral("p%1.bmp").arg(i)), {160, 120},
                                                kColours[i]);
        ShowSettings &settings = project_.Settings();
        settings.Put(ShowSettings::AdvanceLine, QStringLiteral("100"));  // never due while a test runs
        settings.Put(ShowSettings::LoopingLine, QStringLiteral("No"));
        settings.Put(ShowSettings::CaptionLine, QStringLiteral("clSilver"));
        project_.EffectSelection() = {QStringLiteral("13")};
        for (int i = 0; i < show_.Effects()->Count(); ++i) {
            TTransitionEffect *effect = show_.Effects()->Items(i);
            effect->SetMilliseconds(std::min(effect->Milliseconds(), 40));
            effect->onBeforeTransition = [this, i](QObject *) { executed_.push_back(i); };
        }
    }

    void TearDown() override
    {
        if (show_.isVisible())
            show_.close();
    }

    void Start()
    {
        ASSERT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::Started) << show_.ErrorText().toStdString();
        show_.show();
        show_.SetUpShow();
    }

    // The colour of the slide now in Image1.
    QRgb Slide() const { return show_.Slide()->Picture().pixel(0, 0); }
    QString Caption() const { return show_.CaptionBar()->text(); }
    bool RenderWindowLeft() const
    {
        for (const RenderWindow *window : show_.SlideArea()->findChildren<RenderWindow *>())
            if (window->isVisible())
                return true;
        return AnyEffectPrepared();
    }

    static constexpr QRgb kColours[3] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    QTemporaryDir dir_;
    ShowProject project_;
    PlayerWindow show_;
    std::vector<int> executed_;
};

}  // namespace

TEST_F(PlayerWindowTest, ThreePictureShowEndsAfterTheThirdWithoutLooping)
{
    Start();
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    EXPECT_TRUE(show_.CaptionBar()->isVisible());
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_EQ(Caption(), QStringLiteral("2. p1.bmp"));
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_TRUE(show_.isVisible());
    show_.OnSlideTimer();
    EXPECT_FALSE(show_.isVisible());
    EXPECT_FALSE(show_.SlideTimer()->isActive());
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_EQ(executed_, std::vector<int>({13, 13, 13}));
    EXPECT_FALSE(RenderWindowLeft());
}

TEST_F(PlayerWindowTest, LoopingShowReturnsToTheFirstPictureWithATransition)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    Start();
    for (int i = 0; i < 3; ++i)
        show_.OnSlideTimer();
    EXPECT_TRUE(show_.isVisible());
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    EXPECT_EQ(executed_.size(), 4u);
    QTest::keyClick(&show_, Qt::Key_Escape);
    EXPECT_FALSE(show_.isVisible());
}

TEST_F(PlayerWindowTest, ALongCaptionDoesNotWidenTheWindowBeyondTheScreen)
{
    // The longest name a file system allows: far wider than the screen at the caption's font.
    const QString name = QString(236, u'x') + QStringLiteral(".bmp");
    project_.Pictures() = {WritePicture(dir_.filePath(name), {64, 48}, QColor(10, 20, 30))};
    Start();
    QCoreApplication::processEvents();
    ASSERT_EQ(Caption(), QStringLiteral("1. ") + name);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_GT(show_.CaptionBar()->fontMetrics().horizontalAdvance(Caption()), screen.width());
    EXPECT_EQ(show_.width(), screen.width());
    EXPECT_EQ(show_.SlideArea()->width(), screen.width());
    EXPECT_EQ(show_.CaptionBar()->width(), screen.width());
}

TEST_F(PlayerWindowTest, CaptionOfTheTenthPictureIsItsNumberAndFileName)
{
    for (int i = 3; i < 9; ++i)
        project_.Pictures() << project_.Pictures().at(0);
    project_.Pictures() << WritePicture(dir_.filePath(QStringLiteral("sub/deeper/a.jpg")), {64, 48},
                                        QColor(200, 100, 50));
    Start();
    show_.Sequencer().SetNextSlide(9);
    show_.OnSlideTimer();
    EXPECT_EQ(Caption(), QStringLiteral("10. a.jpg"));
    EXPECT_TRUE(SameColour(Slide(), qRgb(200, 100, 50), 4));
}

TEST_F(PlayerWindowTest, EffectSelectionDecidesTheTransition)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    const struct
    {
        QStringList selection;
        QString effects;
        std::vector<int> executed;
    } cases[] = {
        {{QStringLiteral("5")}, QStringLiteral("Random"), {5, 5, 5, 5}},
        {{QStringLiteral("5")}, QStringLiteral("No effect"), {}},
        {{}, QStringLiteral("Random"), {}},  // an empty selection plays without effects
    };
    for (const auto &c : cases) {
        executed_.clear();
        project_.EffectSelection() = c.selection;
        project_.Settings().Put(ShowSettings::EffectsLine, c.effects);
        Start();
        std::vector<QRgb> slides{Slide()};
        for (int i = 0; i < 3; ++i) {
            show_.OnSlideTimer();
            slides.push_back(Slide());
            EXPECT_FALSE(RenderWindowLeft());
        }
        EXPECT_EQ(executed_, c.executed) << c.effects.toStdString();
        EXPECT_EQ(slides, std::vector<QRgb>({kColours[0], kColours[1], kColours[2], kColours[0]}));
        show_.close();
    }
}

TEST_F(PlayerWindowTest, LeftAndBackspaceGoBackButNotBeforeTheFirst)
{
    Start();
    show_.OnSlideTimer();
    show_.OnSlideTimer();
    QTest::keyClick(&show_, Qt::Key_Left);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_EQ(Caption(), QStringLiteral("2. p1.bmp"));
    QTest::keyClick(&show_, Qt::Key_Right);
    EXPECT_EQ(Slide(), kColours[2]);
    QTest::keyClick(&show_, Qt::Key_Backspace);
    QTest::keyClick(&show_, Qt::Key_Backspace);
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::keyClick(&show_, Qt::Key_Left);
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    QTest::keyClick(&show_, Qt::Key_Return);
    EXPECT_EQ(Slide(), kColours[1]);
}

TEST_F(PlayerWindowTest, ManualShowAdvancesOnKeysAndPictureClicksOnly)
{
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    Start();
    EXPECT_FALSE(show_.SlideTimer()->isActive());
    QTest::mouseClick(show_.Background(), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(show_.CaptionBar(), Qt::LeftButton);
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::mouseClick(show_.Slide(), Qt::LeftButton);
    EXPECT_EQ(Slide(), kColours[1]);
    QTest::keyClick(&show_, Qt::Key_Enter);
    EXPECT_EQ(Slide(), kColours[2]);
    // Ctrl starts automatic advance with the timer's last interval (500 ms when no show set one).
    QTest::keyClick(&show_, Qt::Key_Control);
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_TRUE(show_.SlideTimer()->isActive());
    EXPECT_EQ(show_.SlideTimer()->interval(), 500);
}

TEST_F(PlayerWindowTest, CtrlPausesAndResumesAnAutomaticShow)
{
    Start();
    EXPECT_TRUE(show_.SlideTimer()->isActive());
    // The slide's time counts from the start of its step.
    EXPECT_EQ(show_.SlideDurations(), QList<std::int64_t>({100000, 100000, 100000}));
    EXPECT_GT(show_.SlideTimer()->interval(), 0);
    EXPECT_LE(show_.SlideTimer()->interval(), 100000);
    QTest::keyClick(&show_, Qt::Key_Control);
    EXPECT_FALSE(show_.SlideTimer()->isActive());
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::keyClick(&show_, Qt::Key_Control);
    EXPECT_TRUE(show_.SlideTimer()->isActive());
    EXPECT_EQ(show_.SlideTimer()->interval(), 100000);
    EXPECT_EQ(Slide(), kColours[1]);
}

TEST_F(PlayerWindowTest, ScreenSaverIsHeldOffWhileTheShowPlays)
{
    EXPECT_FALSE(show_.ScreenSaver()->Inhibiting());
    Start();
    EXPECT_TRUE(show_.ScreenSaver()->Inhibiting());
    QTest::keyClick(&show_, Qt::Key_Escape);
    EXPECT_FALSE(show_.ScreenSaver()->Inhibiting());
    project_.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    project_.Settings().Put(ShowSettings::BackgroundLine, dir_.filePath(QStringLiteral("missing.bmp")));
    EXPECT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::Failed);
    EXPECT_FALSE(show_.ScreenSaver()->Inhibiting());
}

// Run with two screens (tests/player/two_screens.json): numbers as the command lines take them.
TEST(ScreenNumbers, PrimaryFirstThenTheOthers)
{
    EXPECT_EQ(ScreenByNumber(0), QGuiApplication::primaryScreen());
    const int count = int(QGuiApplication::screens().size());
    EXPECT_EQ(ScreenByNumber(count), nullptr);
    EXPECT_EQ(ScreenByNumber(-1), nullptr);
    if (count > 1)
        EXPECT_NE(ScreenByNumber(1), ScreenByNumber(0));
    EXPECT_EQ(ParseScreenNumber(QStringLiteral(" 2 ")), 2);
    EXPECT_EQ(ParseScreenNumber(QStringLiteral("two")), std::nullopt);
}

// Run with two screens of different names and of one name (separate X screens are all "screen").
TEST(ScreenNumbers, EveryScreenHasAChoiceNameOfItsOwn)
{
    QStringList names;
    for (QScreen *screen : QGuiApplication::screens()) {
        const QString name = ScreenChoiceName(screen);
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names << name;
        EXPECT_EQ(ScreenByName(name), screen) << name.toStdString();
        const bool shared = QGuiApplication::screens().size() > 1
                            && QGuiApplication::screens().first()->name() == QGuiApplication::screens().last()->name();
        EXPECT_EQ(name.contains(QStringLiteral(" #")), shared) << name.toStdString();
    }
    EXPECT_EQ(ScreenByName(QString()), nullptr);
    EXPECT_EQ(ScreenByName(QStringLiteral("Projector-7")), nullptr);
}

// Run with two screens (tests/player/two_screens.json): the show fills the chosen one.
TEST_F(PlayerWindowTest, ShowFillsTheChosenScreen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        GTEST_SKIP() << "needs two screens";
    for (QScreen *screen : {screens.at(1), screens.at(0)}) {
        SCOPED_TRACE(screen->name().toStdString());
        show_.SetScreen(screen);
        Start();
        EXPECT_EQ(show_.screen(), screen);
        EXPECT_EQ(show_.geometry(), screen->geometry());
        EXPECT_EQ(show_.Background()->Picture().size().isEmpty() ? PlayerWindow::ScreenSize(screen)
                                                                 : show_.Background()->Picture().size(),
                  PlayerWindow::ScreenSize(screen));
        // The slide is laid out for that screen.
        const ShowSettings &settings = project_.Settings();
        EXPECT_EQ(
            show_.Slide()->Picture().size(),
            LayOutSlide(QSize(160, 120), screen->size(), settings.PicturePercent(), settings.Shadow()).picture.size());
        show_.close();
    }
}

TEST_F(PlayerWindowTest, PauseIsMarkedInACornerUntilTheShowResumes)
{
    Start();
    EXPECT_FALSE(show_.PauseSign()->isVisible());
    QTest::keyClick(&show_, Qt::Key_Control);
    ASSERT_TRUE(show_.PauseSign()->isVisible());
    const QRect mark = show_.PauseSign()->geometry();
    EXPECT_TRUE(show_.rect().contains(mark));
    EXPECT_GT(mark.left(), show_.width() / 2);
    EXPECT_GT(mark.top(), show_.height() / 2);
    EXPECT_LE(mark.width() * mark.height() * 50, show_.width() * show_.height());  // at most 2 % of the screen
    // A click on the picture still reaches the show through the mark's corner.
    EXPECT_TRUE(show_.PauseSign()->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::keyClick(&show_, Qt::Key_Control);
    EXPECT_FALSE(show_.PauseSign()->isVisible());

    // Paused, then the help comes and goes: the show resumes and the mark goes with the pause.
    QTest::keyClick(&show_, Qt::Key_Control);
    QTimer::singleShot(0, show_.Help(), [&] { show_.Help()->close(); });
    QTest::keyClick(&show_, Qt::Key_F1);
    EXPECT_TRUE(show_.SlideTimer()->isActive());
    EXPECT_FALSE(show_.PauseSign()->isVisible());
    QTest::keyClick(&show_, Qt::Key_Control);
    EXPECT_TRUE(show_.PauseSign()->isVisible());
    QTest::keyClick(&show_, Qt::Key_Escape);
    EXPECT_FALSE(show_.PauseSign()->isVisible());
}

TEST_F(PlayerWindowTest, SpacePagesHomeEndAndTheWheelMove)
{
    const auto wheel = [&](int degreesTimesEight) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, degreesTimesEight), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&show_, &event);
    };
    const struct
    {
        const char *what;
        std::function<void()> act;
        int slide;
    } steps[] = {
        {"Space", [&] { QTest::keyClick(&show_, Qt::Key_Space); }, 1},
        {"Page Down", [&] { QTest::keyClick(&show_, Qt::Key_PageDown); }, 2},
        {"Page Up", [&] { QTest::keyClick(&show_, Qt::Key_PageUp); }, 1},
        {"End", [&] { QTest::keyClick(&show_, Qt::Key_End); }, 2},
        {"Home", [&] { QTest::keyClick(&show_, Qt::Key_Home); }, 0},
        {"wheel down a notch", [&] { wheel(-120); }, 1},
        {"two half notches down",
         [&] {
             wheel(-60);
             wheel(-60);
         },
         2},
        {"wheel up a notch", [&] { wheel(120); }, 1},
        {"half a notch moves nothing", [&] { wheel(60); }, 1},
    };
    Start();
    ASSERT_EQ(Slide(), kColours[0]);
    for (const auto &step : steps) {
        step.act();
        EXPECT_EQ(Slide(), kColours[step.slide]) << step.what;
    }
}

TEST_F(PlayerWindowTest, HelpWindowPausesAndResumesOnlyAutomaticShows)
{
    const struct
    {
        const char *advance;
        bool pauseFirst;
        bool closeWithEscape;
        bool timerAfter;
    } cases[] = {
        {"100", false, false, true},
        {"100", true, false, true},  // a paused show resumes too
        {"Manual", false, true, false},
        {"Manual", false, false, false},
    };
    for (const auto &c : cases) {
        project_.Settings().Put(ShowSettings::AdvanceLine, QString::fromLatin1(c.advance));
        Start();
        if (c.pauseFirst)
            QTest::keyClick(&show_, Qt::Key_Control);
        bool helpShown = false;
        bool timerDuringHelp = true;
        QTimer::singleShot(0, show_.Help(), [&] {
            helpShown = show_.Help()->isVisible();
            timerDuringHelp = show_.SlideTimer()->isActive();
            if (c.closeWithEscape)
                QTest::keyClick(show_.Help(), Qt::Key_Escape);
            else
                show_.Help()->OkButton()->click();
        });
        QTest::keyClick(&show_, Qt::Key_F1);
        EXPECT_TRUE(helpShown);
        EXPECT_FALSE(timerDuringHelp);
        EXPECT_FALSE(show_.Help()->isVisible());
        EXPECT_EQ(show_.SlideTimer()->isActive(), c.timerAfter) << c.advance << c.pauseFirst;
        EXPECT_EQ(Slide(), kColours[0]);
        show_.close();
    }
}

TEST_F(PlayerWindowTest, KeysAndTicksDuringAStepAreActedOnAfterIt)
{
    Start();
    bool visibleAfterTransition = false;
    show_.Effects()->Items(13)->onStartTransition = [&](QObject *) { QTest::keyClick(&show_, Qt::Key_Escape); };
    show_.Effects()->Items(13)->onAfterTransition = [&](QObject *) { visibleAfterTransition = show_.isVisible(); };
    show_.OnSlideTimer();
    EXPECT_TRUE(visibleAfterTransition);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_FALSE(show_.isVisible());
    EXPECT_FALSE(RenderWindowLeft());

    // A tick falling due while the caption bar is repainted runs after the step, whose
    // caption and picture therefore stay together.
    show_.Effects()->Items(13)->onStartTransition = nullptr;
    show_.Effects()->Items(13)->onAfterTransition = nullptr;
    Start();
    std::vector<QString> captionsAtTransition;
    show_.Effects()->Items(13)->onStartTransition = [&](QObject *) { captionsAtTransition.push_back(Caption()); };
    struct TickOnPaint : QObject
    {
        PlayerWindow &show;
        bool ticked = false;
        explicit TickOnPaint(PlayerWindow &window) : show(window) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !std::exchange(ticked, true))
                show.OnSlideTimer();
            return false;
        }
    } tickOnPaint(show_);
    show_.CaptionBar()->installEventFilter(&tickOnPaint);
    show_.OnSlideTimer();
    show_.CaptionBar()->removeEventFilter(&tickOnPaint);
    EXPECT_TRUE(tickOnPaint.ticked);
    EXPECT_EQ(captionsAtTransition, std::vector<QString>({QStringLiteral("2. p1.bmp"), QStringLiteral("3. p2.bmp")}));
    EXPECT_EQ(Slide(), kColours[2]);
}

// Keys reach the window through the window system's queue, as real ones do: held back while a
// step lets only the window system's own events through, so they arrive after the step.
void QueueKey(QWidget *window, int key)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(window->windowHandle(),
                                                                                             type, key, Qt::NoModifier);
}

// The slide timer falls due again while every step runs: keys must still get their turn.
TEST_F(PlayerWindowTest, KeysArrivingDuringStepsAreHandledWhateverTheInterval)
{
    struct Case
    {
        const char *name;
        int key;
        bool manual;  // a manual show set going by Ctrl
    };
    for (const Case &c : {Case{"Escape in an automatic show", Qt::Key_Escape, false},
                          Case{"Escape after Ctrl in a manual show", Qt::Key_Escape, true},
                          Case{"Ctrl pauses an automatic show", Qt::Key_Control, false}}) {
        SCOPED_TRACE(c.name);
        executed_.clear();
        project_.Settings().Put(ShowSettings::AdvanceLine, c.manual ? QStringLiteral("Manual") : QStringLiteral("1"));
        project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
        show_.Effects()->Items(13)->SetMilliseconds(150);
        ASSERT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::Started);
        // Shorter than a step, so the next tick is always overdue when a step ends.
        show_.SlideTimer()->setInterval(20);
        std::size_t stepsWhenSent = 0;
        bool gaveUp = false;
        QTimer ctrl;
        ctrl.setSingleShot(true);
        QObject::connect(&ctrl, &QTimer::timeout, [&] { QueueKey(&show_, Qt::Key_Control); });
        QTimer send;
        send.setSingleShot(true);
        QObject::connect(&send, &QTimer::timeout, [&] {
            stepsWhenSent = executed_.size();
            QueueKey(&show_, c.key);
        });
        QTimer pause;
        QObject::connect(&pause, &QTimer::timeout, [&] {
            // Paused: no step for well over a step's length, then the show is ended.
            if (!show_.SlideTimer()->isActive())
                show_.close();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            gaveUp = true;
            show_.close();
        });
        QTimer::singleShot(0, &show_, [&] {
            if (c.manual)
                ctrl.start(100);
            send.start(700);
            pause.start(1000);
            watchdog.start(kWaitMs);
        });
        show_.exec();
        EXPECT_FALSE(gaveUp) << "the key never arrived";
        // The step under way when the key came may finish; no later one starts.
        EXPECT_LE(executed_.size(), stepsWhenSent + 1);
    }
}

// An effect that allows it ends at a left press on the slide as the window system delivers one:
// on a real X server a real button press, else one through the window system's queue. The
// click ends the transition only: it does not step the show on as well.
TEST_F(PlayerWindowTest, LeftPressOnTheSlideEndsAnEffectThatAllowsIt)
{
    Start();
    ASSERT_EQ(Slide(), kColours[0]);
    TTransitionEffect *wipe = show_.Effects()->Items(13);
    wipe->SetAbortOnClick(true);
    wipe->SetMilliseconds(TTransitionEffect::kMillisecondsRange.maximum);
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const bool realX = QGuiApplication::platformName() == QLatin1String("xcb") && !xdotool.isEmpty();
    QProcess click;
    wipe->onStartTransition = [&](QObject *) {
        const QPoint inWindow = show_.SlideArea()->mapTo(&show_, show_.SlideArea()->rect().center());
        const QPoint global = show_.mapToGlobal(inWindow);
        if (realX) {
            click.start(xdotool, {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()),
                                  "click", "1"});
            return;
        }
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                show_.windowHandle(), inWindow, global,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
    };
    show_.OnSlideTimer();
    click.waitForFinished();
    EXPECT_TRUE(wipe->aborted);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_FALSE(RenderWindowLeft());
    QTest::qWait(100);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_EQ(executed_.size(), 2u);
}

TEST_F(PlayerWindowTest, UnreadablePictureIsReportedOnceAndSkipped)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    const QString missing = dir_.filePath(QStringLiteral("gone.jpg"));
    project_.Pictures()[1] = missing;
    Start();
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_EQ(Caption(), QStringLiteral("3. p2.bmp"));
    EXPECT_TRUE(show_.Notice()->isVisible());
    EXPECT_TRUE(show_.Notice()->text().contains(missing));
    EXPECT_FALSE(RenderWindowLeft());
    show_.Notice()->hide();
    show_.OnSlideTimer();
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_FALSE(show_.Notice()->isVisible());
    EXPECT_TRUE(show_.isVisible());
}

// The shadow of a picture with transparent parts lies only under its opaque parts: the background
// shows through the rest.
TEST_F(PlayerWindowTest, AShadowFollowsTheShapeOfATransparentPicture)
{
    QImage picture(200, 100, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixel(x, y, qRgb(255, 255, 0));
    const QString path = dir_.filePath(QStringLiteral("half.png"));
    ASSERT_TRUE(picture.save(path));
    project_.Pictures() = {path};
    project_.Settings().Put(ShowSettings::PictureSizeLine, QStringLiteral("No"));
    project_.Settings().Put(ShowSettings::ShadowLine, QStringLiteral("Shadow"));
    project_.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("Color"));
    project_.Settings().Put(ShowSettings::BackgroundLine, QStringLiteral("$00FFFFFF_$00FFFFFF"));
    Start();
    // The opaque left half, at the picture's own size in device pixels.
    const QRect opaque = PaintedRect(show_.SlideArea(), qRgb(255, 255, 0));
    ASSERT_EQ(opaque.size(), QSize(100, 100));
    EXPECT_EQ(PaintedRect(show_.SlideArea(), kShadowColor), opaque.translated(10, 10));
    const QImage shown = show_.SlideArea()->grab().toImage();
    EXPECT_EQ(shown.pixel(opaque.right() + 50, opaque.center().y()), qRgb(255, 255, 255));
    EXPECT_TRUE(show_.Shadow()->isVisible());
    show_.close();
}

TEST_F(PlayerWindowTest, TwoUnreadablePicturesInARowAreBothNamed)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    const QString first = dir_.filePath(QStringLiteral("gone-1.jpg"));
    const QString second = dir_.filePath(QStringLiteral("gone-2.jpg"));
    project_.Pictures()[1] = first;
    project_.Pictures()[2] = second;
    Start();
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[0]);
    ASSERT_TRUE(show_.Notice()->isVisible());
    EXPECT_TRUE(show_.Notice()->text().contains(first));
    EXPECT_TRUE(show_.Notice()->text().contains(second));
}

// Hundreds of missing pictures, skipped on the way round: the notice keeps a few lines and
// the show goes on with the pictures that load.
TEST_F(PlayerWindowTest, ManyUnreadablePicturesLeaveANoticeOfAFewLines)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    for (int i = 0; i < 300; ++i)
        project_.Pictures().insert(1, dir_.filePath(QStringLiteral("gone-%1.jpg").arg(i)));
    Start();
    show_.OnSlideTimer();
    EXPECT_EQ(Slide(), kColours[1]);
    const QLabel *notice = show_.Notice();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_LE(notice->text().count(u'\n') + 1, 8);
    EXPECT_TRUE(notice->text().contains(QStringLiteral("297 more pictures cannot be shown")));
}

TEST_F(PlayerWindowTest, SlideIsSizedAndCentredOnTheWholeScreen)
{
    // The offscreen screen is 800 x 800 (proportion 1); ties round to even.
    ASSERT_EQ(PlayerWindow::ScreenSize(), QSize(800, 800));
    const struct
    {
        QSize picture;
        const char *size;
        bool shadow;
        QRect expected;
    } cases[] = {
        {{1600, 1200}, "100", false, {-2, 99, 803, 602}},  // 803 / (4/3) = 602.25; -3 / 2 = -1.5
        {{400, 100}, "50", true, {198, 350, 403, 101}},  // 403 / 4 = 100.75; 198.5 and 349.5
        {{100, 300}, "50", true, {333, 198, 134, 403}},  // 403 / 3 = 134.3; 397 / 2 = 198.5
        {{300, 201}, "No", false, {250, 300, 300, 201}},  // own size; 599 / 2 = 299.5
    };
    for (const auto &c : cases) {
        project_.Pictures() = {WritePicture(dir_.filePath(QStringLiteral("s.bmp")), c.picture, Qt::yellow)};
        project_.Settings().Put(ShowSettings::PictureSizeLine, QString::fromLatin1(c.size));
        project_.Settings().Put(ShowSettings::ShadowLine, c.shadow ? QStringLiteral("Shadow") : QStringLiteral("No"));
        Start();
        // Exactly those device pixels, at every scale: the picture is scaled once and lies 1:1.
        const QRect area(QPoint(0, 0), DeviceSize(show_.SlideArea()));
        EXPECT_EQ(show_.Slide()->Picture().size(), c.expected.size());
        EXPECT_EQ(PaintedRect(show_.SlideArea(), qRgb(255, 255, 0)), c.expected & area);
        EXPECT_EQ(show_.Shadow()->isVisible(), c.shadow);
        if (c.shadow)
            EXPECT_EQ(PaintedRect(show_.SlideArea(), kShadowColor), c.expected.translated(10, 10) & area);
        show_.close();
    }
}

TEST_F(PlayerWindowTest, BackgroundIsBuiltFromTheSettings)
{
    ShowSettings &settings = project_.Settings();
    settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("Color"));
    settings.Put(ShowSettings::BackgroundLine, QStringLiteral("$00281800_$00281800"));
    Start();
    EXPECT_TRUE(show_.Background()->Picture().isNull());
    EXPECT_EQ(show_.SlideArea()->palette().color(QPalette::Window), QColor(0x00, 0x18, 0x28));
    show_.close();

    settings.Put(ShowSettings::BackgroundLine, QStringLiteral("$00D5E7EA_clWhite"));
    Start();
    const QImage gradient = show_.Background()->Picture();
    ASSERT_EQ(gradient.size(), QSize(800, 800));
    EXPECT_EQ(gradient.pixel(0, 0), qRgb(0xEA, 0xE7, 0xD5));
    EXPECT_EQ(gradient.pixel(799, 799), qRgb(0xFF, 0xFF, 0xFF));
    // Band 128 starts at row 800 * 128 / 256 = 400; its colour adds 128 / 255 of each difference.
    EXPECT_EQ(gradient.pixel(5, 400),
              qRgb(0xEA + MulDiv(128, 0x15, 255), 0xE7 + MulDiv(128, 0x18, 255), 0xD5 + MulDiv(128, 0x2A, 255)));
    EXPECT_EQ(gradient.pixel(5, 399), gradient.pixel(5, 397));
    show_.close();

    // A 300 x 200 picture tiled over the panel above the caption bar (800 x 774 at a scale of 1).
    QImage tile(300, 200, QImage::Format_RGB32);
    tile.fill(Qt::darkCyan);
    tile.setPixel(0, 0, qRgb(1, 2, 3));
    const QString tilePath = dir_.filePath(QStringLiteral("tile.bmp"));
    QFile tileFile(tilePath);
    ASSERT_TRUE(tileFile.open(QIODevice::WriteOnly));
    tileFile.write(testpictures::MakeBmp(tile));
    tileFile.close();
    settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    settings.Put(ShowSettings::BackgroundLine, tilePath);
    settings.Put(ShowSettings::PlacementLine, QStringLiteral("Tile"));
    Start();
    const QSize pano = DeviceSize(show_.SlideArea());
    ASSERT_EQ(pano, QSize(800, 800 - 26 * show_.devicePixelRatio()));
    const QImage shown = show_.Background()->Shown();
    for (int x : {0, 300, 600})
        for (int y : {0, 200, 400, 600})
            EXPECT_EQ(shown.pixel(x, y), qRgb(1, 2, 3)) << x << "," << y;
    EXPECT_EQ(shown.pixel(301, 201), QColor(Qt::darkCyan).rgb());
    show_.close();

    settings.Put(ShowSettings::PlacementLine, QStringLiteral("Center"));
    Start();
    EXPECT_FALSE(show_.Background()->Tiled());
    EXPECT_TRUE(show_.Background()->Center());
    EXPECT_EQ(show_.Background()->Shown().pixel((pano.width() - 300) / 2, (pano.height() - 200) / 2), qRgb(1, 2, 3));
}

TEST_F(PlayerWindowTest, PointerIsHiddenExceptOverThePictureAfterAMove)
{
    Start();
    EXPECT_EQ(show_.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(show_.Slide()->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(show_.Background()->cursor().shape(), Qt::BlankCursor);
    QMouseEvent overBackground(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(show_.Background(), &overBackground);
    EXPECT_EQ(show_.Background()->cursor().shape(), Qt::BlankCursor);
    QMouseEvent overPicture(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(show_.Slide(), &overPicture);
    EXPECT_EQ(show_.Slide()->cursor().shape(), Qt::ArrowCursor);
    show_.OnSlideTimer();
    EXPECT_EQ(show_.Slide()->cursor().shape(), Qt::BlankCursor);
}

TEST_F(PlayerWindowTest, CaptionBarFollowsLineEight)
{
    project_.Settings().Put(ShowSettings::CaptionLine, QStringLiteral("No"));
    Start();
    EXPECT_FALSE(show_.CaptionBar()->isVisible());
    EXPECT_EQ(DeviceSize(show_.SlideArea()), QSize(800, 800));
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    show_.close();

    project_.Settings().Put(ShowSettings::CaptionLine, QStringLiteral("clRed"));
    Start();
    EXPECT_TRUE(show_.CaptionBar()->isVisible());
    EXPECT_EQ(show_.CaptionBar()->height(), 26);
    EXPECT_EQ(show_.CaptionBar()->font().pixelSize(), 16);
    EXPECT_EQ(show_.CaptionBar()->palette().color(QPalette::Window), QColor(Qt::red));
}

TEST_F(PlayerWindowTest, MusicStopsWithTheShowAndTheNextShowStartsAtTheFirstTrack)
{
    const QString a = testsounds::WriteWav(QStringLiteral("player-a.wav"), 3000, 440);
    const QString b = testsounds::WriteWav(QStringLiteral("player-b.wav"), 3000, 660);
    project_.Playlist() = {a, b};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    Start();
    EXPECT_EQ(show_.Music().Player().FileName(), a);
    EXPECT_TRUE(show_.MusicTimer()->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().Position() > 100; }, kWaitMs));
    QTest::keyClick(&show_, Qt::Key_Escape);
    EXPECT_FALSE(show_.MusicTimer()->isActive());
    // The music fades out instead of cutting off: softer and softer, then stopped.
    EXPECT_TRUE(show_.Music().Active());
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().Volume() < 0.9f; }, kWaitMs));
    EXPECT_TRUE(show_.Music().Active());
    show_.WaitForMusicToFade();
    EXPECT_FALSE(show_.Music().Active());
    // Stopped, not playing on: the position never moves forward again (the music thread may still
    // report the stop's return to the start).
    const qint64 stoppedAt = show_.Music().Player().Position();
    QTest::qWait(300);
    EXPECT_LE(show_.Music().Player().Position(), stoppedAt);

    // The next show opens the first track again at full loudness; a show without music plays nothing.
    Start();
    EXPECT_EQ(show_.Music().Player().FileName(), a);
    EXPECT_EQ(show_.Music().Player().Volume(), 1.0f);
    EXPECT_EQ(show_.Music().NextTrack(), 1);
    show_.close();
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("No music"));
    Start();
    EXPECT_FALSE(show_.MusicTimer()->isActive());
    EXPECT_FALSE(show_.Music().Active());
}

TEST_F(PlayerWindowTest, ShortTracksFollowEachOtherThenSilence)
{
    const QString a = testsounds::WriteWav(QStringLiteral("short-a.wav"), 400, 440);
    const QString b = testsounds::WriteWav(QStringLiteral("short-b.wav"), 400, 660);
    project_.Playlist() = {a, b};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().FileName() == b; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show_.Music().Player().IsPlaying(); }, kWaitMs));
    QTest::qWait(400);
    EXPECT_EQ(show_.Music().Player().FileName(), b);
    EXPECT_TRUE(show_.isVisible());
}

TEST_F(PlayerWindowTest, RepeatedPlaylistStartsOverAfterItsLastTrack)
{
    const QStringList tracks = {testsounds::WriteWav(QStringLiteral("rep-a.wav"), 300, 440),
                                testsounds::WriteWav(QStringLiteral("rep-b.wav"), 300, 550),
                                testsounds::WriteWav(QStringLiteral("rep-c.wav"), 300, 660)};
    project_.Playlist() = tracks;
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("RepeatMusic"));
    Start();
    QStringList started{show_.Music().Player().FileName()};
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (show_.Music().Player().FileName() != started.last())
            started << show_.Music().Player().FileName();
    });
    sampler.start(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() >= 4; }, kWaitMs));
    EXPECT_EQ(started.mid(0, 4), QStringList({tracks[0], tracks[1], tracks[2], tracks[0]}));
}

TEST_F(PlayerWindowTest, LaterTrackThatFailsIsNamedOnceAndSkipped)
{
    const QString a = testsounds::WriteWav(QStringLiteral("later-a.wav"), 300, 440);
    const QString c = testsounds::WriteWav(QStringLiteral("later-c.wav"), 3000, 550);
    const QString missing = dir_.filePath(QStringLiteral("later-b.wav"));
    project_.Playlist() = {a, missing, c};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().FileName() == c; }, kWaitMs));
    EXPECT_TRUE(show_.Notice()->isVisible());
    EXPECT_TRUE(show_.Notice()->text().contains(QStringLiteral("later-b.wav")));
    EXPECT_TRUE(show_.isVisible());
    EXPECT_TRUE(show_.MusicTimer()->isActive());
}

TEST_F(PlayerWindowTest, FailuresAtTheStartStopTheShowAndItsMusic)
{
    const QString music = testsounds::WriteWav(QStringLiteral("long.wav"), 5000);
    const QString missing = dir_.filePath(QStringLiteral("missing.wav"));

    project_.Playlist() = {missing, music};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("RepeatMusic"));
    EXPECT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::Failed);
    EXPECT_FALSE(show_.ErrorText().isEmpty());
    EXPECT_FALSE(show_.MusicTimer()->isActive());

    project_.Playlist() = {music};
    project_.Settings().Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    project_.Settings().Put(ShowSettings::BackgroundLine, dir_.filePath(QStringLiteral("nowhere.bmp")));
    EXPECT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::Failed);
    EXPECT_TRUE(show_.ErrorText().contains(QStringLiteral("nowhere.bmp")));
    EXPECT_FALSE(show_.MusicTimer()->isActive());
    EXPECT_FALSE(show_.Music().Active());
    const qint64 position = show_.Music().Player().Position();
    QTest::qWait(300);
    EXPECT_LE(show_.Music().Player().Position(), position);  // never forward again

    project_.Pictures().clear();
    EXPECT_EQ(show_.StartShow(project_), PlayerWindow::StartResult::NoPictures);
    EXPECT_FALSE(show_.isVisible());
}

TEST(HotKeyHelp, ListsTheKeysAndReportsItsClosing)
{
    HotKeyHelp help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(help.Title()->text(), QStringLiteral("Help about hot keys:"));
    const QStringList lines = help.KeyList()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 15 + HotKeyHelp::MoreKeyLines().size());
    EXPECT_EQ(lines.mid(15), HotKeyHelp::MoreKeyLines());
    const QString more = lines.mid(15).join(QLatin1Char(' '));
    for (const char *key : {"<Right>", "<Space>", "<Page Down>", "<Page Up>", "<Home>", "<End>", "wheel"})
        EXPECT_TRUE(more.contains(QLatin1String(key))) << key;
    EXPECT_EQ(lines.at(0), QStringLiteral("<F1>"));
    EXPECT_EQ(lines.at(3), QStringLiteral("<Enter> or Left mouse click"));
    EXPECT_EQ(lines.at(6), QStringLiteral("<Backspace> or <Left> button"));
    EXPECT_EQ(lines.at(10), QStringLiteral("Pause / Resume"));
    EXPECT_EQ(lines.at(13), QStringLiteral("Exit presentation"));
    EXPECT_EQ(lines.at(14), QStringLiteral(" "));
    EXPECT_TRUE(lines.at(11).isEmpty());
    EXPECT_TRUE(help.KeyList()->isReadOnly());

    // Every key in sight: nothing to scroll, whatever the scale.
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.KeyList()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(help.KeyList()->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(help.Title()->font().bold());
    help.close();

    int closings = 0;
    QObject::connect(&help, &HotKeyHelp::Closed, [&] { ++closings; });
    for (int way = 0; way < 3; ++way) {
        help.show();
        if (way == 0)
            help.OkButton()->click();
        else if (way == 1)
            QTest::keyClick(&help, Qt::Key_Escape);
        else
            help.close();
        EXPECT_FALSE(help.isVisible());
        EXPECT_EQ(closings, way + 1);
    }
}

TEST(PlayCommand, ReportsWhatKeepsTheShowFromStarting)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.zut"));
    WriteTextFile(empty, BuildProjectText(ShowSettings(), {}, {}, {}));
    const QString badBackground = dir.filePath(QStringLiteral("bad.zut"));
    ShowSettings settings;
    settings.Put(ShowSettings::BackgroundKindLine, QStringLiteral("BackFile"));
    settings.Put(ShowSettings::BackgroundLine, dir.filePath(QStringLiteral("none.bmp")));
    WriteTextFile(badBackground, BuildProjectText(settings, {dir.filePath(QStringLiteral("x.bmp"))}, {}, {}));

    const struct
    {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath(QStringLiteral("absent.zut")), QStringLiteral("absent.zut")},
        {empty, QStringLiteral("no pictures")},
        {badBackground, QStringLiteral("none.bmp")},
    };
    for (const auto &c : cases) {
        std::FILE *errors = std::tmpfile();
        EXPECT_EQ(PlayProjectFile(c.path, errors), 1);
        std::rewind(errors);
        char buffer[512] = {};
        const size_t length = std::fread(buffer, 1, sizeof buffer - 1, errors);
        std::fclose(errors);
        EXPECT_TRUE(QString::fromLocal8Bit(buffer, qsizetype(length)).contains(c.message)) << buffer;
    }
}

// A looping show of pictures none of which can be read ends with the reason, not on an empty
// background for ever.
TEST(PlayCommand, AShowOfUnreadablePicturesEndsWithItsReasonAndStatusOne)
{
    QTemporaryDir dir;
    ShowSettings settings;
    settings.Put(ShowSettings::AdvanceLine, QStringLiteral("1"));
    settings.Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    const QString path = dir.filePath(QStringLiteral("broken.zut"));
    WriteTextFile(path, BuildProjectText(settings, {dir.filePath(QStringLiteral("gone.bmp")), damaged},
                                         {QStringLiteral("12")}, {}));
    QString captionSeen;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto *show = qobject_cast<PlayerWindow *>(QApplication::activeModalWidget()))
            captionSeen += show->CaptionBar()->text();
    });
    probe.start(20);
    // Without the end it would loop for ever: the guard ends the test's wait instead.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *show = QApplication::activeModalWidget())
            show->close();
    });
    guard.start(kWaitMs);
    std::FILE *errors = std::tmpfile();
    EXPECT_EQ(PlayProjectFile(path, errors), 1);
    EXPECT_TRUE(guard.isActive()) << "the show did not end by itself";
    std::rewind(errors);
    char buffer[1024] = {};
    const size_t length = std::fread(buffer, 1, sizeof buffer - 1, errors);
    std::fclose(errors);
    const QString message = QString::fromLocal8Bit(buffer, qsizetype(length));
    EXPECT_TRUE(message.contains(QStringLiteral("None of the show's 2 pictures can be shown"))) << buffer;
    EXPECT_TRUE(message.contains(QStringLiteral("gone.bmp"))) << buffer;
    EXPECT_TRUE(captionSeen.isEmpty()) << captionSeen.toStdString();
}

TEST(PlayCommand, PlaysAProjectToItsEndAndExitsWithZero)
{
    QTemporaryDir dir;
    ShowSettings settings;
    settings.Put(ShowSettings::AdvanceLine, QStringLiteral("1"));
    settings.Put(ShowSettings::LoopingLine, QStringLiteral("No"));
    const QString picture = WritePicture(dir.filePath(QStringLiteral("only.bmp")), {32, 32}, Qt::cyan);
    const QString path = dir.filePath(QStringLiteral("one.zut"));
    WriteTextFile(path, BuildProjectText(settings, {picture}, {QStringLiteral("12")}, {}));
    bool shownFullScreen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto *show = qobject_cast<PlayerWindow *>(QApplication::activeModalWidget()))
            shownFullScreen = show->isFullScreen() && show->CaptionBar()->text() == QStringLiteral("1. only.bmp");
    });
    probe.start(50);
    std::FILE *errors = std::tmpfile();
    EXPECT_EQ(PlayProjectFile(path, errors), 0);
    EXPECT_EQ(std::ftell(errors), 0);
    std::fclose(errors);
    EXPECT_TRUE(shownFullScreen);
}

// While a slide shows, the pictures the next step may show (the next one, and the previous one
// for going back) are prepared for it; the shown slide is what preparing it there gives.
TEST_F(PlayerWindowTest, NeighboursArePreparedWhileASlideShows)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    const ShowSettings &settings = project_.Settings();
    const SlideRequest request{PlayerWindow::ScreenSize(), settings.PicturePercent(), settings.Shadow()};
    const QStringList &pictures = project_.Pictures();
    Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return show_.Prefetcher().Ready(pictures[1], request); }, 10000));
    EXPECT_EQ(show_.Slide()->Picture(), PrepareSlide(pictures[0], request).picture);
    ASSERT_TRUE(show_.Sequencer().KeyDown(Qt::Key_Right));
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return show_.Prefetcher().Ready(pictures[2], request) && show_.Prefetcher().Ready(pictures[0], request);
        },
        10000));
    ASSERT_TRUE(show_.Sequencer().KeyDown(Qt::Key_Right));
    // The last picture of a looping show is followed by the first.
    EXPECT_TRUE(QTest::qWaitFor([&] { return show_.Prefetcher().Ready(pictures[0], request); }, 10000));
    show_.close();
    EXPECT_FALSE(show_.Prefetcher().Ready(pictures[0], request));
}

// The show does not wait for its first track to load; one that turns out unplayable is named once,
// like any later track, the next track plays and the show goes on.
TEST_F(PlayerWindowTest, AnUnplayableFirstTrackIsNamedAndTheShowPlaysOn)
{
    const QString bad = dir_.filePath(QStringLiteral("noise.wav"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    const QString good = testsounds::WriteWav(QStringLiteral("after-noise.wav"), 3000, 440);
    project_.Playlist() = {bad, good};
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    // The first slide's transition runs the event loop, so the bad track may be passed over
    // before Start returns: the notice naming it shows that it was tried.
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().FileName() == good; }, kWaitMs));
    EXPECT_TRUE(show_.Notice()->isVisible());
    EXPECT_TRUE(show_.Notice()->text().contains(bad)) << show_.Notice()->text().toStdString();
    EXPECT_TRUE(show_.isVisible());
    EXPECT_TRUE(show_.ErrorText().isEmpty());
    EXPECT_TRUE(show_.MusicTimer()->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return show_.Music().Player().Position() > 0; }, kWaitMs));
    // Named once: the notice does not gain the same line again.
    show_.Notice()->hide();
    QTest::qWait(400);
    EXPECT_FALSE(show_.Notice()->isVisible());
}

// On a screen of another size than the primary one, the slides prepared while a slide shows are
// laid out for the screen the show plays on, and the step shows them so.
TEST_F(PlayerWindowTest, PreparedSlidesFitTheChosenScreen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        GTEST_SKIP() << "needs two screens";
    QScreen *screen = screens.at(1);
    ASSERT_NE(PlayerWindow::ScreenSize(screen), PlayerWindow::ScreenSize());
    const ShowSettings &settings = project_.Settings();
    const SlideRequest onScreen{PlayerWindow::ScreenSize(screen), settings.PicturePercent(), settings.Shadow()};
    const SlideRequest onPrimary{PlayerWindow::ScreenSize(), settings.PicturePercent(), settings.Shadow()};
    const QStringList &pictures = project_.Pictures();
    show_.SetScreen(screen);
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show_.Prefetcher().Ready(pictures[1], onScreen); }, kWaitMs));
    EXPECT_FALSE(show_.Prefetcher().Ready(pictures[1], onPrimary));
    ASSERT_TRUE(show_.Sequencer().KeyDown(Qt::Key_Right));
    EXPECT_EQ(Slide(), kColours[1]);
    const SlideLayout layout = LayOutSlide(QSize(160, 120), onScreen.screen, onScreen.percent, onScreen.shadow);
    EXPECT_EQ(show_.Slide()->Picture().size(), layout.picture.size());
    // Both screens have one device pixel per pixel.
    EXPECT_EQ(show_.Slide()->geometry(), layout.picture);
    show_.close();
}

namespace {

// The show's clock under the test's hand: it moves a hundredth of a millisecond at every reading,
// so paced transitions still end.
class ShowClock
{
public:
    ShowClock()
    {
        Stopwatch::SetTimeSource([this] { return now += 0.01; });
    }
    ~ShowClock() { Stopwatch::SetTimeSource({}); }
    double now = 1000;
};

}  // namespace

TEST_F(PlayerWindowTest, EachSlideShowsForItsOwnTimeOnTheShowsClock)
{
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("2"));
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    SlideDetails details;
    details.durationMs = 500;
    project_.Story().SetSlide(1, details);
    details.durationMs = 7250;
    project_.Story().SetSlide(2, details);
    ShowClock clock;
    const double started = clock.now;
    Start();
    const std::vector<double> durations = {2000, 500, 7250, 2000, 500};
    std::optional<double> due = show_.NextStepDue();
    ASSERT_TRUE(due);
    EXPECT_NEAR(*due - started, durations[0], 1);
    for (std::size_t i = 1; i < durations.size(); ++i) {
        // Each tick a little late, as a busy machine delivers it: the slide's time counts from it.
        clock.now = *due + 3;
        const double tick = clock.now;
        show_.OnSlideTimer();
        due = show_.NextStepDue();
        ASSERT_TRUE(due);
        EXPECT_NEAR(*due - tick, durations[i], 1) << "slide " << i;
        EXPECT_NEAR(show_.SlideTimer()->interval(), *due - clock.now, 1);
    }
}

TEST_F(PlayerWindowTest, AManualShowStaysManualWhatTheSlidesSay)
{
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    SlideDetails details;
    details.durationMs = 900;
    project_.Story().SetSlide(0, details);
    Start();
    EXPECT_FALSE(show_.SlideTimer()->isActive());
    EXPECT_FALSE(show_.NextStepDue());
    QTest::keyClick(&show_, Qt::Key_Right);
    EXPECT_FALSE(show_.SlideTimer()->isActive());
    EXPECT_EQ(Slide(), kColours[1]);
}

TEST_F(PlayerWindowTest, TheTransitionIntoASlideIsTheOneChosen)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    SlideDetails details;
    details.transition = SlideTransition::Named(QStringLiteral("WipeLeft"));
    project_.Story().SetSlide(1, details);
    details.transition.kind = SlideTransition::Kind::None;
    project_.Story().SetSlide(2, details);
    Start();
    for (int i = 0; i < 3; ++i)
        show_.OnSlideTimer();
    // Into slide 1 the show's own (13), into 2 the chosen wipe left (12), into 3 none, into 1 the show's.
    EXPECT_EQ(executed_, std::vector<int>({13, 12, 13}));
    EXPECT_EQ(Slide(), kColours[0]);
}

TEST_F(PlayerWindowTest, DurationsFitTheMusicKeepingTheirProportions)
{
    project_.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("2"));
    project_.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project_.Playlist() = {testsounds::WriteWav(QStringLiteral("fit-a.wav"), 2000),
                           testsounds::WriteWav(QStringLiteral("fit-b.wav"), 1000)};
    SlideDetails details;
    details.durationMs = 4000;
    project_.Story().SetSlide(1, details);
    project_.Story().SetFitToMusic(true);
    Start();
    const QList<std::int64_t> durations = show_.SlideDurations();
    ASSERT_EQ(durations.size(), 3);
    EXPECT_NEAR(durations[0] + durations[1] + durations[2], 3000, 30);
    EXPECT_NEAR(double(durations[1]) / double(durations[0]), 2.0, 0.01);
    EXPECT_EQ(durations[0], durations[2]);
}

// Run on a 1920x1080 and on a 1080x1920 screen too (player_tests.full_hd_screen, .portrait_screen).
TEST_F(PlayerWindowTest, CaptionsLieWhereThePositionSaysOverTheSlide)
{
    const QRgb yellow = qRgb(255, 230, 0);
    const struct
    {
        StoryCaption::Position position;
        double low;  // share of the picture's height the caption's centre lies in
        double high;
    } cases[] = {
        {StoryCaption::Position::Top, 0.0, 0.25},
        {StoryCaption::Position::Middle, 0.4, 0.6},
        {StoryCaption::Position::Bottom, 0.75, 1.0},
    };
    for (const auto &c : cases) {
        SlideDetails details;
        details.caption.text = QStringLiteral("Harbour at dawn");
        details.caption.colour = QColor(yellow);
        details.caption.position = c.position;
        project_.Story().SetSlide(0, details);
        Start();
        QCoreApplication::processEvents();
        EXPECT_TRUE(show_.Caption()->isVisible());
        const QRect text = PaintedRect(show_.SlideArea(), yellow);
        // The first picture is red all over; the caption lies on it.
        const QRect picture = PaintedRect(show_.SlideArea(), kColours[0]);
        ASSERT_FALSE(text.isEmpty());
        EXPECT_TRUE(picture.contains(text));
        const double centre = double(text.center().y() - picture.top()) / picture.height();
        EXPECT_GE(centre, c.low);
        EXPECT_LE(centre, c.high);
        EXPECT_NEAR(text.center().x(), picture.center().x(), 4);
        // The next slide has no caption of its own.
        show_.OnSlideTimer();
        QCoreApplication::processEvents();
        EXPECT_FALSE(show_.Caption()->isVisible());
        EXPECT_TRUE(PaintedRect(show_.SlideArea(), yellow).isEmpty());
        show_.close();
    }
}
