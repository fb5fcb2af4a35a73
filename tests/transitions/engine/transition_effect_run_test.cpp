// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel_window.h"
#include "test_effects.h"

#include "transitions/effects/blend_transition.h"
#include "transitions/effects/circle_transition.h"
#include "transitions/effects/flicker_free_transition.h"
#include "transitions/effects/wipe_transition.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <tuple>

using namespace lumetta;

using namespace lumetta::test;

namespace {

class ExecuteTest : public PanelWindowTest<ColorPanel>
{
protected:
    ExecuteTest() : PanelWindowTest({200, 150}, {20, 30, 120, 80}) {}
    void SetUp() override
    {
        edit_ = new QLineEdit(&top_);
        edit_->setGeometry(20, 120, 120, 20);
        PanelWindowTest::SetUp();
        edit_->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override { EXPECT_FALSE(AnyEffectPrepared()); }

    std::vector<std::string> events_;
    void Record(TTransitionEffect &effect)
    {
        effect.onBeforeTransition = [this](QObject *) { events_.push_back("Before"); };
        effect.onStartTransition = [this](QObject *) { events_.push_back("Start"); };
        effect.onEndTransition = [this](QObject *) { events_.push_back("End"); };
        effect.onAfterTransition = [this](QObject *) { events_.push_back("After"); };
    }
    int RenderWindows() const { return int(top_.findChildren<RenderWindow *>().size()); }

    QLineEdit *edit_ = nullptr;
};

TEST_F(ExecuteTest, OnePassEventOrderAndNewPictureAtTheEnd)
{
    TRecordingTransition effect;
    Record(effect);
    effect.SetFrames(4);
    bool coveredWhileDrawing = false;
    QRgb oldInCanvas = 0;
    QSize deviceSize;
    effect.onDraw = [&](PassData &data, int frame) {
        deviceSize = QSize(data.width, data.height);
        RenderWindow *window = effect.RenderWindow();
        coveredWhileDrawing = window && window->isVisible() && window->geometry() == panel_->rect();
        if (frame == 1)
            oldInCanvas = data.srcBmp->pixel(data.width - 1, 0);
    };
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    EXPECT_TRUE(AnyEffectPrepared());
    EXPECT_EQ(RenderWindows(), 1);
    panel_->color = Qt::red;
    panel_->update();
    effect.Execute();
    events_.insert(events_.end(), effect.log.begin(), effect.log.end());
    EXPECT_EQ((std::vector<std::string>{"Before", "Start", "End", "After", "Initialize", "Finalize"}), events_);
    EXPECT_EQ(effect.calls.size(), 3u);
    EXPECT_TRUE(coveredWhileDrawing);
    EXPECT_EQ(deviceSize, panel_->size() * panel_->devicePixelRatioF());
    EXPECT_EQ(oldInCanvas, QColor(Qt::blue).rgb());
    EXPECT_FALSE(effect.Prepared());
    EXPECT_EQ(RenderWindows(), 0);
    EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
    EXPECT_TRUE(panel_->children().isEmpty());
    EXPECT_EQ(panel_->geometry(), QRect(20, 30, 120, 80));
}

// A windowed pass is paced to the screen it is shown on and its time runs from the start of
// Execute; a headless one has neither.
TEST_F(ExecuteTest, PassesKnowTheScreenRefreshAndWhenExecuteStarted)
{
    TRecordingTransition effect;
    effect.SetFrames(3);
    double before = 0;
    effect.onBeforeTransition = [&](QObject *) { before = Stopwatch::Now(); };
    const double called = Stopwatch::Now();
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    const qreal rate = top_.screen()->refreshRate();
    ASSERT_GE(rate, 1);
    EXPECT_DOUBLE_EQ(effect.lastData.frameInterval, 1000.0 / rate);
    EXPECT_GE(effect.lastData.startedAt, called);
    EXPECT_LE(effect.lastData.startedAt, before);

    TRecordingTransition headless;
    QImage canvas;
    headless.ExecuteOnImages(QImage(4, 4, QImage::Format_RGB32), QImage(4, 4, QImage::Format_RGB32), canvas);
    EXPECT_EQ(headless.lastData.frameInterval, 0);
    EXPECT_LT(headless.lastData.startedAt, 0);
}

// On an 8-bit screen a one-pass run copies the old picture at Execute, from the render window
// that still shows it; two passes copy it at Prepare.
TEST_F(ExecuteTest, EightBitScreenCopiesTheOldPictureFromTheRenderWindow)
{
    SetScreenBitsPerPixel(8);
    for (auto passes : {TTransitionEffect::teOnePass, TTransitionEffect::teTwoPasses}) {
        TRecordingTransition effect;
        effect.SetPassSetting(passes);
        effect.Pass2Options()->SetUseSolidColor(false);
        PixelFormat format = pfDevice;
        QRgb left = 0, right = 0;
        effect.onDraw = [&](PassData &data, int frame) {
            format = data.pixelFormat;
            if (frame == 5 && !effect.InSecondPass()) {
                // The window shows frame 4: the left 4/10 new, the rest old.
                const QImage shown = top_.grab().toImage();
                const qreal ratio = top_.devicePixelRatioF();
                left = shown.pixel(qRound((panel_->x() + 1) * ratio), qRound((panel_->y() + 1) * ratio));
                right =
                    shown.pixel(qRound((panel_->x() + panel_->width() - 2) * ratio), qRound((panel_->y() + 1) * ratio));
            }
        };
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->color = Qt::red;
        panel_->update();
        effect.Execute();
        ASSERT_FALSE(effect.sourceCorner.empty());
        EXPECT_EQ(effect.sourceCorner.front(), qRgb(0, 0, 255));
        EXPECT_EQ(format, pf8bit);
        // Pass 1 of two goes to the control rendered at Execute, which is the new picture too.
        EXPECT_EQ(left, qRgb(255, 0, 0));
        EXPECT_EQ(right, qRgb(0, 0, 255));
        EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
        panel_->color = Qt::blue;
        panel_->update();
    }
    SetScreenBitsPerPixel(0);
}

// A sibling over the panel makes it obscured: the old picture is then rendered from the panel
// itself unless a screen copy is forced.
TEST_F(ExecuteTest, ObscuredControlIsRenderedUnlessScreenCopyIsForced)
{
    auto *cover = new ColorPanel(&top_);
    cover->color = Qt::green;
    cover->setGeometry(10, 20, 30, 30);
    cover->show();
    QApplication::processEvents();
    for (bool forceCopy : {false, true}) {
        TRecordingTransition effect;
        effect.forceScreenCopy = forceCopy;
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        effect.Execute();
        ASSERT_FALSE(effect.sourceCorner.empty());
        EXPECT_EQ(effect.sourceCorner.front(), forceCopy ? QColor(Qt::green).rgb() : QColor(Qt::blue).rgb());
    }
}

// A window kept above ours over the area obscures it too.
TEST_F(ExecuteTest, WindowAboveObscuresTheArea)
{
    ColorPanel above(nullptr);
    above.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    above.color = Qt::yellow;
    above.setGeometry(QRect(panel_->mapToGlobal(QPoint(0, 0)), QSize(30, 30)));
    above.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&above));
    QApplication::processEvents();
    TRecordingTransition effect;
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    ASSERT_FALSE(effect.sourceCorner.empty());
    EXPECT_EQ(effect.sourceCorner.front(), QColor(Qt::blue).rgb());
}

// Part of the area off the screen cannot be copied from it: the old picture is rendered.
TEST_F(ExecuteTest, AreaOffTheScreenIsRendered)
{
    top_.move(top_.screen()->geometry().bottomRight() - QPoint(60, 60));
    QApplication::processEvents();
    TRecordingTransition effect;
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    ASSERT_FALSE(effect.sourceFarCorner.empty());
    EXPECT_EQ(effect.sourceFarCorner.front(), QColor(Qt::blue).rgb());
}

TEST_F(ExecuteTest, WideBitmapsKeepTheAreaSize)
{
    for (auto passes : {TTransitionEffect::teOnePass, TTransitionEffect::teTwoPasses}) {
        TWideTransition effect;
        effect.SetPassSetting(passes);
        std::vector<int> widths;
        effect.onDraw = [&](PassData &data, int frame) {
            if (frame == 1)
                widths = {data.width, data.bitmap->width(), data.srcBmp->width(), data.dstBmp->width(),
                          data.canvas->width()};
        };
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->color = Qt::red;
        effect.Execute();
        const int width = qRound(panel_->width() * panel_->devicePixelRatioF());
        const int wide = effect.GetBitmapsWidth(width);
        EXPECT_EQ((std::vector<int>{width, wide, wide, wide, width}), widths);
        EXPECT_EQ(Shown({119, 79}), QColor(Qt::red).rgb());
        panel_->color = Qt::blue;
    }
}

TEST_F(ExecuteTest, TwoPassesFireStartAndEndOnce)
{
    for (bool animatedFirst : {true, false}) {
        events_.clear();
        std::unique_ptr<TRecordingTransition> effect(animatedFirst ? new TRecordingTransition
                                                                   : new TStillFirstPassTransition);
        Record(*effect);
        effect->onStartTransition = [&](QObject *) { events_.push_back("Start"); };
        effect->SetPassSetting(TTransitionEffect::teTwoPasses);
        effect->Pass2Options()->SetSolidColor(0x0000FF);  // red, blue in the lowest byte
        effect->onDraw = [&](PassData &, int frame) {
            if (frame == 1)
                events_.push_back(effect->InSecondPass() ? "draw2" : "draw1");
        };
        ASSERT_TRUE(effect->Prepare(panel_, panel_->rect()));
        panel_->color = Qt::green;
        effect->Execute();
        const std::vector<std::string> expected =
            animatedFirst ? std::vector<std::string>{"Before", "Start", "draw1", "draw2", "End", "After"}
                          : std::vector<std::string>{"Before", "Start", "draw2", "End", "After"};
        EXPECT_EQ(expected, events_);
        // Pass 2 starts from the solid intermediate picture.
        ASSERT_FALSE(effect->sourceCorner.empty());
        EXPECT_EQ(effect->sourceCorner.back(), qRgb(255, 0, 0));
        EXPECT_EQ(Shown({1, 1}), QColor(Qt::green).rgb());
        panel_->color = Qt::blue;
    }
}

TEST_F(ExecuteTest, FailureCleansUpAndFiresAfter)
{
    TRecordingTransition effect;
    Record(effect);
    effect.failAtFrame = 2;
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    panel_->color = Qt::red;
    EXPECT_THROW(effect.Execute(), std::runtime_error);
    EXPECT_EQ((std::vector<std::string>{"Before", "Start", "After"}), events_);
    EXPECT_FALSE(effect.Prepared());
    EXPECT_FALSE(effect.Executing());
    EXPECT_FALSE(AnyEffectPrepared());
    EXPECT_EQ(RenderWindows(), 0);
    EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
}

TEST_F(ExecuteTest, ExecuteWithoutPrepareFiresOnlyTheOuterEvents)
{
    TRecordingTransition effect;
    Record(effect);
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "After"}), events_);
    EXPECT_TRUE(effect.log.empty());
}

TEST_F(ExecuteTest, PrepareTwiceAndTwoEffects)
{
    TRecordingTransition first, second;
    ASSERT_TRUE(first.Prepare(panel_, panel_->rect()));
    ASSERT_TRUE(first.Prepare(panel_, panel_->rect()));  // unprepares, then prepares again
    EXPECT_EQ(RenderWindows(), 1);
    EXPECT_FALSE(second.Prepare(panel_, panel_->rect()));
    EXPECT_EQ(RenderWindows(), 1);
    first.UnPrepare();
    EXPECT_FALSE(AnyEffectPrepared());
    EXPECT_EQ(RenderWindows(), 0);
    ASSERT_TRUE(second.Prepare(panel_, panel_->rect()));
    EXPECT_TRUE(AnyEffectPrepared());
    second.SetEnabled(true);  // unchanged: stays prepared
    EXPECT_TRUE(second.Prepared());
    second.SetEnabled(false);
    EXPECT_FALSE(second.Prepared());
    EXPECT_EQ(RenderWindows(), 0);
}

TEST_F(ExecuteTest, DestroyingAPreparedEffectReleasesIt)
{
    auto *effect = new TRecordingTransition;
    ASSERT_TRUE(effect->Prepare(panel_, panel_->rect()));
    delete effect;
    EXPECT_FALSE(AnyEffectPrepared());
    EXPECT_EQ(RenderWindows(), 0);
}

// A rectangle of the whole window that reaches outside the client area has no host: the render
// window is a window of its own over the area.
TEST_F(ExecuteTest, RectOutsideTheClientAreaGetsAWindowOfItsOwn)
{
    TRecordingTransition effect;
    effect.clientCoordinates = false;
    ASSERT_TRUE(effect.Prepare(&top_, QRect(-5, 0, 50, 40)));
    ASSERT_NE(effect.RenderWindow(), nullptr);
    EXPECT_TRUE(effect.RenderWindow()->isWindow());
    EXPECT_TRUE(effect.RenderWindow()->isVisible());
    effect.Execute();
    EXPECT_FALSE(AnyEffectPrepared());
    EXPECT_EQ(effect.calls.size(), 9u);
}

TEST_F(ExecuteTest, ControlDestroyedWhilePreparedEndsTheRunQuietly)
{
    TRecordingTransition effect;
    Record(effect);
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    delete panel_;
    panel_ = nullptr;
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "After"}), events_);
    EXPECT_FALSE(effect.Prepared());
    EXPECT_FALSE(effect.Prepare(nullptr, QRect(0, 0, 5, 5)));
}

TEST_F(ExecuteTest, HiddenControlIsNotPrepared)
{
    top_.hide();
    TRecordingTransition effect;
    Record(effect);
    EXPECT_FALSE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "After"}), events_);
}

TEST_F(ExecuteTest, HiddenChildClimbsToItsVisibleParent)
{
    panel_->hide();
    TRecordingTransition effect;
    ASSERT_TRUE(effect.Prepare(panel_, QRect(0, 0, 10, 10)));
    EXPECT_EQ(effect.RenderWindow()->parentWidget(), &top_);
    EXPECT_EQ(effect.RenderWindow()->geometry(), QRect(20, 30, 10, 10));
    effect.UnPrepare();
}

TEST_F(ExecuteTest, PageOfAStackClimbsToTheStack)
{
    auto *stack = new QStackedWidget(&top_);
    stack->setGeometry(0, 0, 50, 50);
    auto *page = new QWidget;
    stack->addWidget(page);
    stack->show();
    TRecordingTransition effect;
    ASSERT_TRUE(effect.Prepare(page, QRect(1, 2, 10, 10)));
    EXPECT_EQ(effect.RenderWindow()->parentWidget(), stack);
    effect.UnPrepare();
}

TEST_F(ExecuteTest, DisabledEffects)
{
    {
        TRecordingTransition effect;
        effect.SetEnabled(false);
        EXPECT_FALSE(effect.Prepare(panel_, panel_->rect()));
    }
    TRecordingTransition effect;
    Record(effect);
    effect.SetEnabled(false);
    effect.SetFlickerFreeWhenDisabled(true);
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    panel_->color = Qt::yellow;
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "After"}), events_);
    EXPECT_TRUE(effect.log.empty());
    EXPECT_EQ(Shown({3, 3}), QColor(Qt::yellow).rgb());
    EXPECT_EQ(RenderWindows(), 0);
}

TEST_F(ExecuteTest, FlickerFreeShowsTheNewPicture)
{
    TFlickerFreeTransition effect;
    Record(effect);
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    panel_->color = Qt::magenta;
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "Start", "End", "After"}), events_);
    EXPECT_EQ(Shown({100, 70}), QColor(Qt::magenta).rgb());
}

TEST_F(ExecuteTest, DistributedTimeHalvesEachPassAndRestores)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(3);
    effect.SetMilliseconds(101);
    effect.SetPassSetting(TTransitionEffect::teTwoPasses);
    effect.Pass2Options()->SetDistributedTime(true);
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    EXPECT_EQ((std::vector<int>{50, 50}), effect.millisecondsSeen);
    EXPECT_EQ(effect.Milliseconds(), 101);

    effect.failAtFrame = 1;
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    EXPECT_THROW(effect.Execute(), std::runtime_error);
    EXPECT_EQ(effect.Milliseconds(), 101);
}

// Keys posted before the run wait in the queue as if typed during it.
void PostKeys(QWidget *target, const QString &text, bool withEscape)
{
    for (QChar c : text) {
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, QString(c)));
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, QString(c)));
    }
    if (withEscape)
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}

TEST_F(ExecuteTest, NonAbortableRunLeavesInputForAfterwards)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(20);
    effect.onDraw = [&](PassData &, int) { clock.Advance(100); };
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    PostKeys(edit_, "ab", true);
    effect.Execute();
    EXPECT_EQ(effect.calls.size(), 19u);
    EXPECT_EQ(edit_->text(), "");
    QApplication::processEvents();
    EXPECT_EQ(edit_->text(), "ab");
}

TEST_F(ExecuteTest, AbortOnEscapeSwallowsKeysAndEndsTheRun)
{
    for (bool withEscape : {false, true}) {
        SimulatedClock clock;
        TRecordingTransition effect;
        effect.SetAbortOnEscape(true);
        effect.SetFrames(20);
        effect.onDraw = [&](PassData &, int) { clock.Advance(100); };
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->color = Qt::red;
        PostKeys(edit_, "xy", withEscape);
        effect.Execute();
        QApplication::processEvents();
        EXPECT_EQ(edit_->text(), "");
        if (withEscape) {
            EXPECT_TRUE(effect.aborted);
            EXPECT_LT(effect.calls.size(), 19u);
        } else {
            EXPECT_EQ(effect.calls.size(), 19u);
        }
        EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
        panel_->color = Qt::blue;
    }
}

TEST_F(ExecuteTest, AbortOnClickNeedsALeftClickOnTheRenderWindow)
{
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        SimulatedClock clock;
        TRecordingTransition effect;
        effect.SetAbortOnClick(true);
        effect.SetFrames(20);
        effect.onDraw = [&](PassData &, int frame) {
            clock.Advance(100);
            if (frame == 2) {
                const QPointF at(5, 5);
                QCoreApplication::postEvent(effect.RenderWindow(),
                                            new QMouseEvent(QEvent::MouseButtonPress, at,
                                                            effect.RenderWindow()->mapToGlobal(at), button, button,
                                                            Qt::NoModifier));
            }
        };
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        effect.Execute();
        EXPECT_EQ(effect.aborted, button == Qt::LeftButton);
        EXPECT_EQ(effect.calls.size() < 19u, button == Qt::LeftButton);
    }
}

// A press as the window system delivers it: to the top-level window, at a point of it.
void PostPressToWindow(QWidget *top, QPoint inTop, Qt::MouseButton button)
{
    QCoreApplication::postEvent(
        top->windowHandle(),
        new QMouseEvent(QEvent::MouseButtonPress, inTop, top->mapToGlobal(inTop), button, button, Qt::NoModifier));
}

TEST_F(ExecuteTest, LeftPressOnTheTopLevelWindowOverTheRenderWindowAborts)
{
    struct Case
    {
        const char *name;
        QPoint inPanel;
        Qt::MouseButton button;
        bool aborts;
    };
    const Case cases[] = {
        {"left press in the area", {60, 40}, Qt::LeftButton, true},
        {"left press at its top left corner", {0, 0}, Qt::LeftButton, true},
        {"right press in the area", {60, 40}, Qt::RightButton, false},
        {"left press beside the area", {-10, 40}, Qt::LeftButton, false},
        {"left press on the line edit below", {30, 95}, Qt::LeftButton, false},
    };
    for (const Case &c : cases) {
        SimulatedClock clock;
        TRecordingTransition effect;
        effect.SetAbortOnClick(true);
        effect.SetFrames(20);
        effect.onDraw = [&](PassData &, int frame) {
            clock.Advance(100);
            if (frame == 2)
                PostPressToWindow(&top_, panel_->pos() + c.inPanel, c.button);
        };
        ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
        panel_->color = Qt::red;
        effect.Execute();
        EXPECT_EQ(effect.aborted, c.aborts) << c.name;
        EXPECT_EQ(effect.calls.size() < 19u, c.aborts) << c.name;
        EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb()) << c.name;
        // The press went with the run: the line edit never took the focus from elsewhere.
        EXPECT_EQ(RenderWindows(), 0) << c.name;
        panel_->color = Qt::blue;
    }
}

// The press that ended a run takes its release with it, even when the release comes after the
// run: the widget under the pointer never sees half a click.
TEST_F(ExecuteTest, TheReleaseOfTheAbortingPressGoesWithIt)
{
    struct Releases : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::MouseButtonRelease;
            return false;
        }
    } releases;
    panel_->installEventFilter(&releases);
    const auto postRelease = [&] {
        const QPoint at = panel_->pos() + QPoint(60, 40);
        QCoreApplication::postEvent(top_.windowHandle(),
                                    new QMouseEvent(QEvent::MouseButtonRelease, at, top_.mapToGlobal(at), Qt::LeftButton,
                                                    Qt::NoButton, Qt::NoModifier));
    };
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetAbortOnClick(true);
    effect.SetFrames(20);
    effect.onDraw = [&](PassData &, int frame) {
        clock.Advance(100);
        if (frame == 2)
            PostPressToWindow(&top_, panel_->pos() + QPoint(60, 40), Qt::LeftButton);
    };
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    ASSERT_TRUE(effect.aborted);
    postRelease();
    QApplication::processEvents();
    EXPECT_EQ(releases.count, 0);
    // The next click is the panel's again.
    PostPressToWindow(&top_, panel_->pos() + QPoint(60, 40), Qt::LeftButton);
    postRelease();
    QApplication::processEvents();
    EXPECT_EQ(releases.count, 1);
}

// A widget laid over the render window takes a press on it for itself.
TEST_F(ExecuteTest, PressOnAWidgetOverTheRenderWindowDoesNotAbort)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetAbortOnClick(true);
    effect.SetFrames(20);
    QWidget *cover = nullptr;
    effect.onDraw = [&](PassData &, int frame) {
        clock.Advance(100);
        if (frame == 2)
            PostPressToWindow(&top_, panel_->pos() + QPoint(5, 5), Qt::LeftButton);
    };
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    cover = new QWidget(&top_);
    cover->setGeometry(panel_->x(), panel_->y(), 20, 20);
    cover->show();
    effect.Execute();
    EXPECT_FALSE(effect.aborted);
    delete cover;
}

// A real X button press, made by the X server while the run draws: the path a user's click takes.
TEST_F(ExecuteTest, RealPressOnTheScreenAbortsTheRun)
{
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (QGuiApplication::platformName() != QLatin1String("xcb") || xdotool.isEmpty())
        GTEST_SKIP() << "needs an X server and xdotool";
    TWipeTransition effect;
    effect.SetAbortOnClick(true);
    effect.SetMilliseconds(TTransitionEffect::kMillisecondsRange.maximum);
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    panel_->color = Qt::red;
    const QPoint at = panel_->mapToGlobal(QPoint(60, 40));
    QProcess click;
    click.start(xdotool, {"sleep", "0.4", "mousemove", "--sync", QString::number(at.x()), QString::number(at.y()),
                          "click", "1"});
    ASSERT_TRUE(click.waitForStarted());
    effect.Execute();
    click.waitForFinished();
    EXPECT_TRUE(effect.aborted);
    EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
}

TEST_F(ExecuteTest, AbortQueryIsAskedWhileRunning)
{
    SimulatedClock clock;
    TRecordingTransition effect;
    effect.SetFrames(50);
    int asked = 0;
    effect.onAbortQuery = [&](QObject *sender, TTransitionEffect *transition, bool &abort) {
        EXPECT_EQ(sender, &effect);
        EXPECT_EQ(transition, &effect);
        abort = ++asked == 2;
    };
    effect.onDraw = [&](PassData &, int) { clock.Advance(100); };
    ASSERT_TRUE(effect.Prepare(panel_, panel_->rect()));
    effect.Execute();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(effect.aborted);
    // A poll comes once more than 300 ms passed since the last: at frames 4 and 7.
    EXPECT_EQ(effect.calls.size(), 7u);
}

// The control goes between Prepare and Execute while the render window hangs off its parent: a
// rectangle reaching outside the control is covered from the parent.
TEST_F(ExecuteTest, ControlDestroyedBeforeExecuteWithTheRenderWindowOnItsParent)
{
    TRecordingTransition effect;
    Record(effect);
    effect.clientCoordinates = false;
    ASSERT_TRUE(effect.Prepare(panel_, QRect(-5, -5, 50, 40)));
    ASSERT_EQ(effect.RenderWindow()->parentWidget(), &top_);
    delete panel_;
    panel_ = nullptr;
    effect.Execute();
    EXPECT_EQ((std::vector<std::string>{"Before", "After"}), events_);
    EXPECT_TRUE(effect.log.empty());
    EXPECT_FALSE(effect.Prepared());
    EXPECT_EQ(RenderWindows(), 0);
}

// What code that runs during a run (a timer, a posted call, an abort handler) does to the effect
// or its control.
enum class Meddling {
    UnPrepare,
    Execute,
    Prepare,
    Disable,
    DeleteEffect,
    DeleteEffectLater,
    DeleteControl,
    DeleteControlLater
};
enum class Trigger { Timer, PostedCall, AbortQuery };
enum class Kind { Wipe, Circle, Blend };

const char *NameOf(Meddling m)
{
    switch (m) {
    case Meddling::UnPrepare:
        return "UnPrepare";
    case Meddling::Execute:
        return "Execute";
    case Meddling::Prepare:
        return "Prepare";
    case Meddling::Disable:
        return "Disable";
    case Meddling::DeleteEffect:
        return "DeleteEffect";
    case Meddling::DeleteEffectLater:
        return "DeleteEffectLater";
    case Meddling::DeleteControl:
        return "DeleteControl";
    case Meddling::DeleteControlLater:
        return "DeleteControlLater";
    }
    return "";
}

const char *NameOf(Trigger t)
{
    switch (t) {
    case Trigger::Timer:
        return "Timer";
    case Trigger::PostedCall:
        return "PostedCall";
    case Trigger::AbortQuery:
        return "AbortQuery";
    }
    return "";
}

const char *NameOf(Kind k)
{
    switch (k) {
    case Kind::Wipe:
        return "Wipe";
    case Kind::Circle:
        return "Circle";
    case Kind::Blend:
        return "Blend";
    }
    return "";
}

class MeddlingTest : public PanelWindowTest<ColorPanel>,
                     public ::testing::WithParamInterface<std::tuple<Meddling, Trigger, Kind>>
{
protected:
    MeddlingTest() : PanelWindowTest({200, 150}, {20, 30, 120, 80}) {}
    void TearDown() override
    {
        EXPECT_FALSE(AnyEffectPrepared());
        delete effect_.data();
    }

    void Make(Kind kind)
    {
        switch (kind) {
        case Kind::Wipe:
            effect_ = new TWipeTransition;
            break;
        case Kind::Circle:
            effect_ = new TCircleTransition;
            break;
        case Kind::Blend:
            effect_ = new TBlendTransition;
            break;
        }
        effect_->onBeforeTransition = [this](QObject *) { events_.push_back("Before"); };
        effect_->onStartTransition = [this](QObject *) { events_.push_back("Start"); };
        effect_->onEndTransition = [this](QObject *) { events_.push_back("End"); };
        effect_->onAfterTransition = [this](QObject *) { events_.push_back("After"); };
    }

    void Meddle(Meddling meddling)
    {
        meddled_ = true;
        switch (meddling) {
        case Meddling::UnPrepare:
            effect_->UnPrepare();
            break;
        case Meddling::Execute:
            effect_->Execute();
            break;
        case Meddling::Prepare:
            preparedAgain_ = effect_->Prepare(watchedPanel_, watchedPanel_->rect());
            break;
        case Meddling::Disable:
            effect_->SetEnabled(false);
            break;
        case Meddling::DeleteEffect:
            delete effect_.data();
            break;
        case Meddling::DeleteEffectLater:
            effect_->deleteLater();
            break;
        case Meddling::DeleteControl:
            delete watchedPanel_.data();
            break;
        case Meddling::DeleteControlLater:
            watchedPanel_->deleteLater();
            break;
        }
    }

    QPointer<TTransitionEffect> effect_;
    // The fixture's panel, watched: some cases delete it.
    QPointer<ColorPanel> watchedPanel_;
    std::vector<std::string> events_;
    bool meddled_ = false;
    bool preparedAgain_ = false;
};

TEST_P(MeddlingTest, RunSurvivesAndEndsCleanly)
{
    const auto [meddling, trigger, kind] = GetParam();
    watchedPanel_ = panel_;
    // Every reading of the clock moves it on by 101 ms: the run looks at its input from frame 3 on.
    SimulatedClock clock(101);
    Make(kind);
    QObject context;
    switch (trigger) {
    case Trigger::Timer:
        effect_->SetAbortOnEscape(true);
        QTimer::singleShot(0, &context, [&, meddling = meddling] { Meddle(meddling); });
        break;
    case Trigger::PostedCall:
        effect_->SetAbortOnEscape(true);
        QMetaObject::invokeMethod(
            &context, [&, meddling = meddling] { Meddle(meddling); }, Qt::QueuedConnection);
        break;
    case Trigger::AbortQuery:
        effect_->onAbortQuery = [&, meddling = meddling](QObject *, TTransitionEffect *, bool &) {
            if (!meddled_)
                Meddle(meddling);
        };
        break;
    }
    ASSERT_TRUE(effect_->Prepare(panel_, panel_->rect()));
    panel_->color = Qt::red;
    panel_->update();
    TTransitionEffect *running = effect_;
    running->Execute();
    EXPECT_TRUE(meddled_);
    // What was deleted later is gone by now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();

    EXPECT_TRUE(top_.findChildren<RenderWindow *>().isEmpty());
    EXPECT_FALSE(AnyEffectPrepared());
    const bool effectGone = meddling == Meddling::DeleteEffect || meddling == Meddling::DeleteEffectLater;
    const bool controlGone = meddling == Meddling::DeleteControl || meddling == Meddling::DeleteControlLater;
    EXPECT_EQ(effect_.isNull(), effectGone);
    EXPECT_EQ(watchedPanel_.isNull(), controlGone);
    // An abort handler runs without the event loop: what it deletes later goes after the run.
    const bool deletedLaterAfterTheRun =
        trigger == Trigger::AbortQuery
        && (meddling == Meddling::DeleteEffectLater || meddling == Meddling::DeleteControlLater);
    // Every event once: a second Execute inside the run is refused.
    const std::vector<std::string> whole{"Before", "Start", "End", "After"};
    if (deletedLaterAfterTheRun) {
        EXPECT_EQ(whole, events_);
    } else if (effectGone) {
        EXPECT_EQ((std::vector<std::string>{"Before", "Start"}), events_);
    } else if (controlGone) {
        EXPECT_EQ((std::vector<std::string>{"Before", "Start", "After"}), events_);
    } else {
        EXPECT_EQ(whole, events_);
    }
    if (!effectGone) {
        EXPECT_FALSE(effect_->Prepared());
        EXPECT_FALSE(effect_->Executing());
        EXPECT_EQ(effect_->aborted, meddling == Meddling::UnPrepare || meddling == Meddling::Disable);
    }
    if (!controlGone) {
        EXPECT_EQ(Shown({5, 5}), QColor(Qt::red).rgb());
    }
    EXPECT_FALSE(preparedAgain_);

    // The engine takes the next run as usual.
    if (!effectGone && !controlGone && effect_->Enabled()) {
        ASSERT_TRUE(effect_->Prepare(panel_, panel_->rect()));
        effect_->UnPrepare();
    }
}

INSTANTIATE_TEST_SUITE_P(AllCases, MeddlingTest,
                         ::testing::Combine(::testing::Values(Meddling::UnPrepare, Meddling::Execute, Meddling::Prepare,
                                                              Meddling::Disable, Meddling::DeleteEffect,
                                                              Meddling::DeleteEffectLater, Meddling::DeleteControl,
                                                              Meddling::DeleteControlLater),
                                            ::testing::Values(Trigger::Timer, Trigger::PostedCall, Trigger::AbortQuery),
                                            ::testing::Values(Kind::Wipe, Kind::Circle, Kind::Blend)),
                         [](const ::testing::TestParamInfo<MeddlingTest::ParamType> &info) {
                             return std::string(NameOf(std::get<0>(info.param))) + NameOf(std::get<1>(info.param))
                                    + NameOf(std::get<2>(info.param));
                         });

}  // namespace
