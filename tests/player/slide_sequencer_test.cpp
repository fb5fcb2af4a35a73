// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/random.h"
#include "player/slide_sequencer.h"
#include "show/show_project.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace lumetta;

namespace {

// Records what the step asks of the window, in order.
class FakeHost : public SlideHost
{
public:
    QStringList log;
    bool timer = false;
    QSet<QString> unreadable;
    // Runs inside LetWindowUpdate, as a tick or a key arriving while a step runs would.
    std::function<void()> duringUpdate;
    std::function<void()> duringExecute;
    // Input the window system holds until the sequencer lets it in.
    std::function<void()> waitingInput;

    void HidePointer() override {}
    void SetCaption(const QString &text) override { log << QStringLiteral("caption ") + text; }
    void LetWindowUpdate() override
    {
        if (auto call = std::exchange(duringUpdate, nullptr))
            call();
    }
    void LetInputIn() override
    {
        ++inputLetIn;
        if (auto call = std::exchange(waitingInput, nullptr))
            call();
    }
    bool PrepareEffect(int effect) override
    {
        log << QStringLiteral("prepare %1").arg(effect);
        return true;
    }
    std::optional<QString> LoadPicture(const QString &path) override
    {
        ++loads;
        if (unreadable.contains(path))
            return QStringLiteral("Cannot load picture ") + path;
        return std::nullopt;
    }
    void ShowPicture(int, const QString &path) override { log << QStringLiteral("show ") + path; }
    void SlideShown(int index, bool timed) override { shownSlides.push_back({index, timed}); }
    void ExecuteEffect(int effect) override
    {
        log << QStringLiteral("execute %1").arg(effect);
        if (auto call = std::exchange(duringExecute, nullptr))
            call();
    }
    void UnPrepareEffect(int effect) override { log << QStringLiteral("unprepare %1").arg(effect); }
    void Notify(const QString &message) override { log << QStringLiteral("notify ") + message; }
    void CloseShow() override
    {
        log << QStringLiteral("close");
        if (sequencer)
            sequencer->End();
    }
    void FailShow(const QString &message) override
    {
        log << QStringLiteral("fail ") + message;
        if (sequencer)
            sequencer->End();
    }
    bool SlideTimerEnabled() const override { return timer; }
    void SetSlideTimerEnabled(bool enabled) override { timer = enabled; }
    // Shown and closed again, as a modal window returns.
    void ShowHotKeyHelp() override
    {
        log << QStringLiteral("help");
        if (sequencer)
            sequencer->HelpClosed();
    }
    void ShowPaused(bool shown) override { paused = shown; }
    bool paused = false;

    SlideSequencer *sequencer = nullptr;
    std::vector<std::pair<int, bool>> shownSlides;
    int loads = 0;
    int inputLetIn = 0;

    QStringList Shown() const
    {
        return log.filter(QRegularExpression(QStringLiteral("^show ")))
            .replaceInStrings(QStringLiteral("show "), QString());
    }
};

class SlideSequencerTest : public ::testing::Test
{
protected:
    SlideSequencerTest() : sequencer_(host_)
    {
        host_.sequencer = &sequencer_;
        project_.Pictures() = {QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg"), QStringLiteral("/p/c.jpg")};
        project_.EffectSelection() = {QStringLiteral("7")};
        project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("No"));
        sequencer_.SetProject(&project_);
        host_.timer = true;  // the slide timer that ticks
    }

    FakeHost host_;
    SlideSequencer sequencer_;
    ShowProject project_;
};

}  // namespace

TEST(EffectChoice, EntryIsRoundedHalfToEven)
{
    struct Case
    {
        double r;
        int n;
        std::optional<int> entry;
    } const cases[] = {
        {0.0, 5, 0},
        {0.124, 5, 0},
        {0.125, 5, 0},  // 0.5 goes to the even 0
        {0.126, 5, 1},
        {0.375, 5, 2},  // 1.5 goes to 2
        {0.625, 5, 2},  // 2.5 goes to 2
        {0.999, 5, 4},
        {0.7, 1, 0},
        {0.5, 2, 0},  // 0.5 of one step
        {0.3, 0, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EffectEntryFor(c.r, c.n), c.entry) << c.r << " of " << c.n;
}

TEST(EffectChoice, DrawsOnceFromTheSharedGeneratorAtEveryChoice)
{
    // Seed 1 advances to 134775814 (r = 0.031); 0xA6B05733 advances to 2^31 (r = 0.5 exactly).
    const struct
    {
        std::uint32_t seed;
        QStringList selection;
        std::optional<int> effect;
    } cases[] = {
        {1, {"3", "9", "20"}, 3},
        {0xA6B05733u, {"3", "9", "20"}, 9},
        {0xA6B05733u, {"3", "9", "20", "4"}, 20},  // 1.5 goes to the even entry 2
        {0xA6B05733u, {"3", "9"}, 3},  // 0.5 goes to entry 0
        {1, {}, std::nullopt},
        {1, {"21"}, std::nullopt},
        {1, {"x"}, std::nullopt},
        {1, {"-1"}, std::nullopt},
        {1, {"12"}, 12},
    };
    for (const auto &c : cases) {
        SetRandSeed(c.seed);
        const std::uint32_t next = c.seed * 134775813u + 1u;
        const std::optional<int> chosen = ChooseEffect(c.selection);
        EXPECT_EQ(RandSeed(), next);
        EXPECT_EQ(chosen, c.effect) << c.seed << " " << c.selection.join(QLatin1Char(',')).toStdString();
    }
}

TEST(EffectChoice, CaptionIsNumberAndFileName)
{
    EXPECT_EQ(SlideCaption(2, QStringLiteral("/photos/beach.jpg")), QStringLiteral("3. beach.jpg"));
    EXPECT_EQ(SlideCaption(9, QStringLiteral("/a/b/c/a.jpg")), QStringLiteral("10. a.jpg"));
}

// What a step after a slide may show next: the next picture (the first again at the end of a
// looping show) and the previous one for going back.
TEST(PicturesNextTo, NextAndPreviousWithinTheList)
{
    const QStringList pictures{"a", "b", "c", "d"};
    struct Case
    {
        int index;
        bool looping;
        QStringList next;
    };
    const Case cases[] = {
        {0, false, {"b"}},     {0, true, {"b"}}, {2, false, {"d", "b"}}, {3, false, {"c"}},
        {3, true, {"a", "c"}}, {-1, true, {}},   {4, true, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PicturesNextTo(pictures, c.index, c.looping), c.next) << c.index << " " << c.looping;
    EXPECT_EQ(PicturesNextTo({"only"}, 0, true), QStringList{"only"});
    EXPECT_TRUE(PicturesNextTo({}, 0, true).isEmpty());
}

TEST_F(SlideSequencerTest, StepPreparesLoadsExecutesAndAlwaysUnprepares)
{
    sequencer_.Start();
    EXPECT_EQ(host_.log, QStringList({"prepare 7", "show /p/a.jpg", "caption 1. a.jpg", "execute 7", "unprepare 7"}));
    EXPECT_EQ(sequencer_.NextSlide(), 1);

    host_.log.clear();
    project_.Settings().Put(ShowSettings::EffectsLine, QStringLiteral("No effect"));
    sequencer_.Tick();
    EXPECT_EQ(host_.log, QStringList({"prepare 7", "show /p/b.jpg", "caption 2. b.jpg", "unprepare 7"}));

    host_.log.clear();
    project_.EffectSelection().clear();
    project_.Settings().Put(ShowSettings::EffectsLine, QStringLiteral("Random"));
    sequencer_.Tick();
    EXPECT_EQ(host_.log, QStringList({"show /p/c.jpg", "caption 3. c.jpg"}));
}

TEST_F(SlideSequencerTest, RequestsDuringAStepRunAfterItInOrderBeforeTheMergedTick)
{
    sequencer_.Start();
    host_.log.clear();
    host_.duringUpdate = [&] {
        sequencer_.Tick();
        sequencer_.Tick();
        EXPECT_TRUE(sequencer_.Busy());
    };
    host_.duringExecute = [&] {
        sequencer_.KeyDown(Qt::Key_Left);
        sequencer_.Tick();
    };
    sequencer_.Tick();
    // b, then Left (back to a), then the ticks of the step, merged into one (b again).
    EXPECT_EQ(host_.Shown(), QStringList({"/p/b.jpg", "/p/a.jpg", "/p/b.jpg"}));
    EXPECT_EQ(host_.log.filter(QStringLiteral("caption")),
              QStringList({"caption 2. b.jpg", "caption 1. a.jpg", "caption 2. b.jpg"}));
    EXPECT_FALSE(sequencer_.Busy());
}

// Whatever the interval, a tick lets waiting input in first: keys pause or end the show
// before the timer's step, and a tick due again at once cannot hold them back.
TEST_F(SlideSequencerTest, WaitingInputGoesBeforeEveryTick)
{
    struct Case
    {
        const char *name;
        int key;
        QStringList shown;
        bool running;
        bool timer;
    };
    for (const Case &c : {Case{"Escape ends the show", Qt::Key_Escape, {}, false, false},
                          Case{"Ctrl pauses: the due tick goes", Qt::Key_Control, {}, true, false},
                          Case{"Right steps, then the tick", Qt::Key_Right, {"/p/b.jpg", "/p/c.jpg"}, true, true}}) {
        SCOPED_TRACE(c.name);
        host_.timer = true;
        sequencer_.Start();
        host_.log.clear();
        host_.waitingInput = [&] { sequencer_.KeyDown(c.key); };
        sequencer_.Tick();
        EXPECT_EQ(host_.Shown(), c.shown);
        EXPECT_EQ(sequencer_.Running(), c.running);
        EXPECT_EQ(host_.timer, c.timer);
        EXPECT_FALSE(sequencer_.Busy());
        sequencer_.End();
    }
}

TEST_F(SlideSequencerTest, UnreadablePictureIsReportedOnceAndSkipped)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    host_.unreadable = {QStringLiteral("/p/b.jpg")};
    sequencer_.Start();
    sequencer_.Tick();
    EXPECT_EQ(host_.log.mid(5), QStringList({"notify Cannot load picture /p/b.jpg", "prepare 7", "show /p/c.jpg",
                                             "caption 3. c.jpg", "execute 7", "unprepare 7"}));
    sequencer_.Tick();
    sequencer_.Tick();
    EXPECT_EQ(host_.Shown(), QStringList({"/p/a.jpg", "/p/c.jpg", "/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(host_.log.filter(QStringLiteral("notify")).size(), 1);

    // Going back skips backwards, and forwards again from the first picture.
    sequencer_.KeyDown(Qt::Key_Left);
    EXPECT_EQ(host_.Shown().last(), QStringLiteral("/p/a.jpg"));
    host_.unreadable << QStringLiteral("/p/a.jpg");
    sequencer_.SetNextSlide(1);
    sequencer_.KeyDown(Qt::Key_Left);
    EXPECT_EQ(host_.Shown().last(), QStringLiteral("/p/c.jpg"));
}

TEST_F(SlideSequencerTest, AShowWithoutOneReadablePictureEndsNamingTheProblem)
{
    for (const char *looping : {"Loop", "No"}) {
        SCOPED_TRACE(looping);
        project_.Settings().Put(ShowSettings::LoopingLine, QLatin1String(looping));
        host_.log.clear();
        host_.unreadable = {QStringLiteral("/p/a.jpg"), QStringLiteral("/p/b.jpg"), QStringLiteral("/p/c.jpg")};
        sequencer_.Start();
        EXPECT_TRUE(host_.Shown().isEmpty());
        // One notice for the three, and no screen frozen for a picture that never showed.
        EXPECT_EQ(host_.log.filter(QStringLiteral("notify")),
                  QStringList({"notify Cannot load picture /p/a.jpg\nCannot load picture /p/b.jpg\nCannot load "
                               "picture /p/c.jpg"}));
        EXPECT_EQ(host_.log.count(QStringLiteral("prepare 7")), 0);
        // No caption named a picture that never showed; the show ends with the reason.
        EXPECT_TRUE(host_.log.filter(QStringLiteral("caption")).isEmpty());
        EXPECT_EQ(host_.log.filter(QStringLiteral("fail ")),
                  QStringList({"fail None of the show's 3 pictures can be shown. The first: Cannot load picture "
                               "/p/a.jpg"}));
        EXPECT_FALSE(sequencer_.Running());
    }
    // A single picture is named as such.
    project_.Pictures() = {QStringLiteral("/p/a.jpg")};
    host_.log.clear();
    sequencer_.Start();
    EXPECT_EQ(host_.log.filter(QStringLiteral("fail ")),
              QStringList({"fail The show's only picture cannot be shown. Cannot load picture /p/a.jpg"}));
}

TEST_F(SlideSequencerTest, ACaptionNamesOnlyAPictureThatShows)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    host_.unreadable = {QStringLiteral("/p/b.jpg")};
    sequencer_.Start();
    sequencer_.Tick();
    EXPECT_EQ(host_.log.filter(QStringLiteral("caption")), QStringList({"caption 1. a.jpg", "caption 3. c.jpg"}));
    EXPECT_TRUE(sequencer_.Running());
}

// Requests that arrive while a step runs (here: during its transition), merged into what the
// next step does; "next" is Right, "back" is Left.
TEST_F(SlideSequencerTest, RequestsWhileAStepRunsAreMerged)
{
    struct Case
    {
        const char *name;
        std::function<void(SlideSequencer &)> input;
        QStringList shownAfter;  // after the step that started it, which shows b
        bool running;
    };
    // The keys are copied: an initializer list's array ends with the full expression.
    const auto keys = [](std::initializer_list<int> keys, bool autoRepeat = false) {
        return [list = std::vector<int>(keys), autoRepeat](SlideSequencer &s) {
            for (int key : list)
                s.KeyDown(key, autoRepeat);
        };
    };
    const Case cases[] = {
        {"three Rights: one step of three", keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}), {"/p/e.jpg"}, true},
        {"Right and Left cancel out", keys({Qt::Key_Right, Qt::Key_Left}), {}, true},
        {"two Lefts: one step back of two", keys({Qt::Key_Left, Qt::Key_Left}), {"/p/a.jpg"}, true},
        {"auto-repeat counts once",
         keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}, true),
         {"/p/c.jpg"},
         true},
        {"a wheel burst counts once",
         [](SlideSequencer &s) {
             for (int notch = 0; notch < 6; ++notch)
                 s.Wheel(true);
         },
         {"/p/c.jpg"},
         true},
        {"a wheel burst both ways cancels out",
         [](SlideSequencer &s) {
             s.Wheel(true);
             s.Wheel(false);
             s.Wheel(true);
         },
         {},
         true},
        {"clicks count each", [](SlideSequencer &s) { s.Click(), s.Click(); }, {"/p/d.jpg"}, true},
        {"Escape after Rights ends at once", keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Escape}), {}, false},
        {"Escape before Rights ends at once", keys({Qt::Key_Escape, Qt::Key_Right}), {}, false},
        {"Home then Right: the second slide", keys({Qt::Key_Right, Qt::Key_Home, Qt::Key_Right}), {"/p/b.jpg"}, true},
        {"End then Left: the last but one", keys({Qt::Key_End, Qt::Key_Left}), {"/p/d.jpg"}, true},
        {"past the end of a looping show: around",
         keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}),
         {"/p/b.jpg"},
         true},
    };
    project_.Pictures() = {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg", "/p/e.jpg"};
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host_.timer = false;
        sequencer_.Start();  // a
        host_.log.clear();
        host_.duringExecute = [&] {
            c.input(sequencer_);
            EXPECT_EQ(sequencer_.EscapeWaiting(), !c.running);
        };
        sequencer_.KeyDown(Qt::Key_Right);  // b, with the input during its transition
        const QStringList shown = host_.Shown();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(shown.first(), QStringLiteral("/p/b.jpg"));
        EXPECT_EQ(shown.mid(1), c.shownAfter);
        EXPECT_EQ(sequencer_.Running(), c.running);
        EXPECT_FALSE(sequencer_.Busy());
        sequencer_.End();
    }
}

TEST_F(SlideSequencerTest, ManyStepsPastTheEndOfAShowThatDoesNotLoopEndIt)
{
    sequencer_.Start();  // a
    host_.log.clear();
    host_.duringExecute = [&] {
        for (int i = 0; i < 3; ++i)
            sequencer_.KeyDown(Qt::Key_Right);
    };
    sequencer_.KeyDown(Qt::Key_Right);  // b, then three more: past c
    EXPECT_EQ(host_.Shown(), QStringList({"/p/b.jpg"}));
    EXPECT_EQ(host_.log.last(), QStringLiteral("close"));
    EXPECT_FALSE(sequencer_.Running());
}

// F1 during a step shows the help right after it, before the steps asked with it; Ctrl twice
// changes nothing, Ctrl once pauses.
TEST_F(SlideSequencerTest, HelpAndPauseGoBeforeTheMergedSteps)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    sequencer_.Start();
    host_.log.clear();
    host_.duringExecute = [&] {
        sequencer_.KeyDown(Qt::Key_Right);
        sequencer_.KeyDown(Qt::Key_F1);
        sequencer_.KeyDown(Qt::Key_Control);
        sequencer_.KeyDown(Qt::Key_Control, true);  // held: no second toggle
    };
    sequencer_.Tick();  // b
    const QStringList expected{"help", "caption 3. c.jpg"};
    QStringList seen = host_.log.filter(QRegularExpression(QStringLiteral("^(help|caption 3)")));
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(host_.paused);
    EXPECT_FALSE(host_.timer);
}

TEST(SkippedPicturesNotice, NamesTheFirstThreeAndCountsTheRest)
{
    const auto errors = [](int n) {
        QStringList list;
        for (int i = 1; i <= n; ++i)
            list << QStringLiteral("e%1").arg(i);
        return list;
    };
    const struct
    {
        int errors;
        QString notice;
    } cases[] = {
        {1, "e1"},
        {3, "e1\ne2\ne3"},
        {4, "e1\ne2\ne3\n1 more picture cannot be shown"},
        {1000, "e1\ne2\ne3\n997 more pictures cannot be shown"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SkippedPicturesNotice(errors(c.errors)), c.notice) << c.errors;
}

// A long run of missing pictures: each is tried once, none freezes the screen, one notice tells
// of them all, and the input is let in as the run goes.
TEST_F(SlideSequencerTest, ALongRunOfUnreadablePicturesCostsOneTryEachAndOneNotice)
{
    QStringList pictures;
    for (int i = 0; i < 1000; ++i) {
        pictures << QStringLiteral("/p/missing-%1.jpg").arg(i);
        host_.unreadable << pictures.last();
    }
    project_.Pictures() = pictures + QStringList{QStringLiteral("/p/a.jpg")};
    sequencer_.Start();
    EXPECT_EQ(host_.loads, 1001);
    EXPECT_EQ(host_.log.count(QStringLiteral("prepare 7")), 1);
    EXPECT_EQ(host_.Shown(), QStringList({"/p/a.jpg"}));
    const QStringList notices = host_.log.filter(QRegularExpression(QStringLiteral("^notify")));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices.first().count(u'\n'), 3);
    EXPECT_TRUE(notices.first().endsWith(QStringLiteral("\n997 more pictures cannot be shown")));
    // One look at the input for every 16 pictures tried.
    EXPECT_GE(host_.inputLetIn, 1000 / 16);
}

TEST_F(SlideSequencerTest, EscapeDuringALongRunOfUnreadablePicturesEndsTheShowAtOnce)
{
    QStringList pictures;
    for (int i = 0; i < 1000; ++i) {
        pictures << QStringLiteral("/p/missing-%1.jpg").arg(i);
        host_.unreadable << pictures.last();
    }
    project_.Pictures() = pictures + QStringList{QStringLiteral("/p/a.jpg")};
    host_.waitingInput = [&] { sequencer_.KeyDown(Qt::Key_Escape); };
    sequencer_.Start();
    EXPECT_EQ(host_.loads, 16);
    EXPECT_TRUE(host_.Shown().isEmpty());
    EXPECT_EQ(host_.log.last(), QStringLiteral("close"));
    EXPECT_FALSE(sequencer_.Running());
}

TEST_F(SlideSequencerTest, ASlidesOwnTransitionGoesBeforeTheDrawnOne)
{
    project_.Settings().Put(ShowSettings::LoopingLine, QStringLiteral("Loop"));
    SlideDetails details;
    details.transition = SlideTransition::Named(QStringLiteral("WipeLeft"));
    project_.Story().SetSlide(1, details);
    details.transition.kind = SlideTransition::Kind::None;
    project_.Story().SetSlide(2, details);
    sequencer_.Start();
    sequencer_.Tick();
    sequencer_.Tick();
    sequencer_.Tick();
    EXPECT_EQ(host_.log.filter(QRegularExpression(QStringLiteral("^(prepare|execute|show)"))),
              QStringList({"prepare 7", "show /p/a.jpg", "execute 7", "prepare 12", "show /p/b.jpg", "execute 12",
                           "show /p/c.jpg", "prepare 7", "show /p/a.jpg", "execute 7"}));
}

TEST_F(SlideSequencerTest, AChosenTransitionRunsInAShowWithoutEffects)
{
    project_.Settings().Put(ShowSettings::EffectsLine, QStringLiteral("No effect"));
    SlideDetails details;
    details.transition = SlideTransition::Named(QStringLiteral("Puzzle"));
    project_.Story().SetSlide(1, details);
    sequencer_.Start();
    sequencer_.Tick();
    EXPECT_EQ(host_.log.filter(QRegularExpression(QStringLiteral("^execute"))), QStringList({"execute 1"}));
}

TEST_F(SlideSequencerTest, AnUnknownStoredNamePlaysAsRandom)
{
    const struct
    {
        SlideTransition transition;
        std::optional<int> effect;
    } cases[] = {
        {SlideTransition(), 3},
        {SlideTransition{SlideTransition::Kind::None, {}}, std::nullopt},
        {SlideTransition::Named("Out"), 20},
        {SlideTransition::Named("Transition1"), 3},
        {SlideTransition::Named("NewerEffect"), 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EffectIntoSlide(c.transition, 3), c.effect) << c.transition.effect.toStdString();
}

TEST_F(SlideSequencerTest, TicksAndTheStartShowSlidesOnTimeKeysDoNot)
{
    sequencer_.Start();
    sequencer_.Tick();
    sequencer_.KeyDown(Qt::Key_Right);
    EXPECT_EQ(host_.shownSlides, (std::vector<std::pair<int, bool>>{{0, true}, {1, true}, {2, false}}));
}
