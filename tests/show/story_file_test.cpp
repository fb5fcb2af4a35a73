// SPDX-License-Identifier: GPL-3.0-or-later
#include "show/story_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

const QStringList kPictures = {"/p/a.jpg", "/p/b.jpg", "/p/a.jpg", "/p/c.png"};

SlideDetails Captioned(const QString &text)
{
    SlideDetails details;
    details.caption.text = text;
    return details;
}

ShowStory FullStory()
{
    ShowStory story;
    SlideDetails first = Captioned(QStringLiteral("Day one\nArrival"));
    first.caption.font = QStringLiteral("DejaVu Serif");
    first.caption.size = 72;
    first.caption.colour = QColor(250, 200, 10);
    first.caption.position = StoryCaption::Position::Top;
    first.caption.edge = StoryCaption::Edge::Shadow;
    first.durationMs = 7500;
    first.transition.kind = SlideTransition::Kind::None;
    story.SetSlide(0, first);
    SlideDetails third;
    third.transition = SlideTransition::Named(QStringLiteral("WipeLeft"));
    story.SetSlide(2, third);
    story.SetFitToMusic(true);
    return story;
}

TEST(StoryFileTest, NamedAfterTheProjectFile)
{
    EXPECT_EQ(StoryFile::PathFor("/home/u/holiday.zut"), QStringLiteral("/home/u/holiday.zut.story"));
}

TEST(StoryFileTest, NoDetailsWriteNoFile)
{
    EXPECT_TRUE(StoryFile::Bytes(ShowStory(), kPictures).isEmpty());
    ShowStory story;
    story.SetSlide(1, SlideDetails());
    EXPECT_TRUE(StoryFile::Bytes(story, kPictures).isEmpty());
}

TEST(StoryFileTest, EveryDetailReadsBackAndWritesTheSameBytes)
{
    const QByteArray bytes = StoryFile::Bytes(FullStory(), kPictures);
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    EXPECT_TRUE(reading.problems.isEmpty()) << reading.problems.join('\n').toStdString();
    EXPECT_EQ(reading.story, FullStory());
    EXPECT_EQ(StoryFile::Bytes(reading.story, kPictures), bytes);
}

TEST(StoryFileTest, WrittenAsDocumented)
{
    const QJsonObject top = QJsonDocument::fromJson(StoryFile::Bytes(FullStory(), kPictures)).object();
    EXPECT_EQ(top.value("version").toInt(), 1);
    EXPECT_EQ(top.value("fitToMusic").toBool(), true);
    const QJsonArray slides = top.value("slides").toArray();
    ASSERT_EQ(slides.size(), 2);
    const QJsonObject first = slides[0].toObject();
    EXPECT_EQ(first.value("slide").toInt(), 1);
    EXPECT_EQ(first.value("picture").toString(), "/p/a.jpg");
    EXPECT_EQ(first.value("durationMs").toInt(), 7500);
    EXPECT_EQ(first.value("transition").toString(), "none");
    const QJsonObject caption = first.value("caption").toObject();
    EXPECT_EQ(caption.value("text").toString(), "Day one\nArrival");
    EXPECT_EQ(caption.value("font").toString(), "DejaVu Serif");
    EXPECT_EQ(caption.value("size").toInt(), 72);
    EXPECT_EQ(caption.value("colour").toString(), "#fac80a");
    EXPECT_EQ(caption.value("position").toString(), "top");
    EXPECT_EQ(caption.value("edge").toString(), "shadow");
    const QJsonObject third = slides[1].toObject();
    EXPECT_EQ(third.value("slide").toInt(), 3);
    EXPECT_EQ(third.value("picture").toString(), "/p/a.jpg");
    EXPECT_EQ(third.value("transition").toString(), "WipeLeft");
    EXPECT_FALSE(third.contains("caption"));
    EXPECT_FALSE(third.contains("durationMs"));
}

TEST(StoryFileTest, KeysOfANewerLumettaAreKeptEverywhere)
{
    const QByteArray bytes = R"({"version": 1, "sparkle": {"seed": 7},
        "slides": [{"slide": 2, "picture": "/p/b.jpg", "sound": {"from": [0, 0, 1, 1]},
                    "caption": {"text": "Hi", "weight": "bold"},
                    "motion": {"start": {"x": 0, "y": 0, "width": 1, "height": 1}, "speed": "slow"}},
                   {"slide": 4, "picture": "/p/c.png", "sound": "zoom"}]})";
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    EXPECT_TRUE(reading.problems.isEmpty()) << reading.problems.join('\n').toStdString();
    EXPECT_EQ(reading.story.Unknown().value("sparkle").toObject().value("seed").toInt(), 7);
    EXPECT_EQ(reading.story.Slide(1).caption.text, "Hi");
    EXPECT_EQ(reading.story.Slide(1).caption.unknown.value("weight").toString(), "bold");
    EXPECT_TRUE(reading.story.Slide(1).unknown.contains("sound"));
    EXPECT_EQ(reading.story.Slide(1).motionUnknown.value("speed").toString(), "slow");
    // A slide with nothing but a newer program's detail keeps it.
    EXPECT_TRUE(reading.story.HasDetails(3));
    const QByteArray written = StoryFile::Bytes(reading.story, kPictures);
    const QJsonObject top = QJsonDocument::fromJson(written).object();
    EXPECT_EQ(top.value("sparkle").toObject().value("seed").toInt(), 7);
    const QJsonArray slides = top.value("slides").toArray();
    ASSERT_EQ(slides.size(), 2);
    EXPECT_EQ(slides[0].toObject().value("sound").toObject().value("from").toArray().size(), 4);
    EXPECT_EQ(slides[0].toObject().value("caption").toObject().value("weight").toString(), "bold");
    EXPECT_EQ(slides[0].toObject().value("motion").toObject().value("speed").toString(), "slow");
    EXPECT_EQ(slides[1].toObject().value("sound").toString(), "zoom");
    EXPECT_EQ(StoryFile::Bytes(StoryFile::Parse(written, kPictures).story, kPictures), written);
}

TEST(StoryFileTest, MotionAndGentleMotionAreWrittenAsDocumentedAndReadBack)
{
    ShowStory story;
    SlideDetails moving;
    moving.motion = SlideMotion{{0, 0, 1, 1}, {0.125, 0.25, 0.5, 0.5}, SlideMotion::Easing::EaseInOut};
    story.SetSlide(1, moving);
    story.SetGentleMotion(true);
    const QByteArray bytes = StoryFile::Bytes(story, kPictures);
    const QJsonObject top = QJsonDocument::fromJson(bytes).object();
    EXPECT_EQ(top.value("gentleMotion").toBool(), true);
    const QJsonObject motion = top.value("slides").toArray().at(0).toObject().value("motion").toObject();
    EXPECT_EQ(motion.value("easing").toString(), "easeInOut");
    EXPECT_EQ(motion.value("start").toObject(), (QJsonObject{{"x", 0}, {"y", 0}, {"width", 1}, {"height", 1}}));
    EXPECT_EQ(motion.value("end").toObject(),
              (QJsonObject{{"x", 0.125}, {"y", 0.25}, {"width", 0.5}, {"height", 0.5}}));
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    EXPECT_TRUE(reading.problems.isEmpty()) << reading.problems.join('\n').toStdString();
    EXPECT_EQ(reading.story, story);
    EXPECT_EQ(StoryFile::Bytes(reading.story, kPictures), bytes);
    // Gentle motion alone is a detail worth a file.
    ShowStory gentle;
    gentle.SetGentleMotion(true);
    EXPECT_FALSE(StoryFile::Bytes(gentle, kPictures).isEmpty());
}

TEST(StoryFileTest, BadMotionsAreToldAndMadeSound)
{
    const auto entry = [](const char *motion) {
        return QByteArray(R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "motion": )") + motion
               + "}]}";
    };
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *problem;  // empty: none
        std::optional<SlideMotion> expected;
    } cases[] = {
        {"sound", entry(R"({"start": {"x": 0.5, "y": 0, "width": 0.5, "height": 0.5}, "easing": "linear"})"), "",
         SlideMotion{{0.5, 0, 0.5, 0.5}, {}, SlideMotion::Easing::Linear}},
        {"sides left out are the whole picture's", entry(R"({"end": {"width": 0.5, "height": 0.5}})"), "",
         SlideMotion{{}, {0, 0, 0.5, 0.5}, SlideMotion::Easing::Linear}},
        {"past the edge", entry(R"({"end": {"x": 0.8, "y": -2, "width": 0.5, "height": 0.5}})"),
         "slide 1: the motion's \"end\" is not a part of the picture", SlideMotion{{}, {0.5, 0, 0.5, 0.5}}},
        {"larger than the picture", entry(R"({"start": {"x": 0, "y": 0, "width": 4, "height": 1}})"),
         "the motion's \"start\" is not a part", SlideMotion()},
        {"no size", entry(R"({"start": {"width": 0, "height": 0}})"), "the motion's \"start\" is not a part",
         SlideMotion{{0, 0, SlideMotion::kSmallestFraction, SlideMotion::kSmallestFraction}, {}}},
        {"side as text", entry(R"({"start": {"x": "left"}})"), "the motion's \"start\" is not a part", SlideMotion()},
        {"rectangle as a list", entry(R"({"end": [0, 0, 1, 1]})"), "the motion's \"end\" is not a part",
         SlideMotion()},
        {"unknown easing", entry(R"({"easing": "bounce"})"), "the motion's \"easing\" is not", SlideMotion()},
        {"motion as text", entry(R"("zoom")"), "slide 1: \"motion\" is not an object", std::nullopt},
        {"gentle motion as text", R"({"version": 1, "gentleMotion": "yes"})",
         "\"gentleMotion\" is neither true nor false", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const StoryFile::Reading reading = StoryFile::Parse(c.bytes, kPictures);
        if (*c.problem) {
            ASSERT_EQ(reading.problems.size(), 1);
            EXPECT_TRUE(reading.problems.first().contains(QLatin1String(c.problem)))
                << reading.problems.first().toStdString();
        } else {
            EXPECT_TRUE(reading.problems.isEmpty()) << reading.problems.join('\n').toStdString();
        }
        EXPECT_EQ(reading.story.Slide(0).motion, c.expected);
        EXPECT_FALSE(reading.story.GentleMotion());
    }
}

TEST(StoryFileTest, EntriesFollowTheirPictureWhenTheListChangedWithoutThem)
{
    // Written for a list in which b.jpg was slide 2 and c.png slide 4; the same picture twice
    // keeps each entry on its own copy.
    const QByteArray bytes = R"({"version": 1, "slides": [
        {"slide": 1, "picture": "/p/a.jpg", "caption": {"text": "first a"}},
        {"slide": 3, "picture": "/p/a.jpg", "caption": {"text": "second a"}},
        {"slide": 2, "picture": "/p/b.jpg", "durationMs": 4000},
        {"slide": 4, "picture": "/p/c.png", "transition": "Puzzle"}]})";
    const QStringList edited = {"/p/c.png", "/p/a.jpg", "/p/a.jpg", "/p/b.jpg"};
    const StoryFile::Reading reading = StoryFile::Parse(bytes, edited);
    EXPECT_EQ(reading.story.Slide(0).transition, SlideTransition::Named("Puzzle"));
    EXPECT_EQ(reading.story.Slide(1).caption.text, "first a");
    EXPECT_EQ(reading.story.Slide(2).caption.text, "second a");
    EXPECT_EQ(reading.story.Slide(3).durationMs, 4000);
    // Those found at another place are named; the one at its place is not.
    EXPECT_EQ(reading.problems.size(), 3) << reading.problems.join('\n').toStdString();
    EXPECT_TRUE(reading.problems.join('\n').contains("slide 4: /p/c.png now stands at slide 1"));
}

// A story file of N entries, each for a picture the project does not hold.
QByteArray ManyEntries(int n)
{
    QByteArray bytes = R"({"version": 1, "slides": [)";
    for (int i = 0; i < n; ++i)
        bytes += (i ? "," : "") + QByteArray(R"({"slide": )") + QByteArray::number(i + 1) + R"(, "picture": "/gone/)"
                 + QByteArray::number(i) + R"(.jpg", "durationMs": 3000})";
    return bytes + "]}";
}

TEST(StoryFileTest, DamagedFilesKeepWhatCanBeReadAndSayWhatIsWrong)
{
    const QByteArray good = StoryFile::Bytes(FullStory(), kPictures);
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *problem;  // in the first problem
        int slidesKept;  // slides with details after the read
    } cases[] = {
        {"empty file", "", "not readable JSON", 0},
        {"truncated", good.left(good.size() / 2), "not readable JSON", 0},
        {"not an object", "[1, 2]", "holds no JSON object", 0},
        {"unknown version", R"({"version": 2, "slides": []})", "format version 2 is not one this Lumetta reads", 0},
        {"version as text", R"({"version": "1"})", "format version \"1\"", 0},
        {"no version", R"({"slides": [{"slide": 1, "picture": "/p/a.jpg", "durationMs": 5}]})",
         "names no format version", 1},
        {"slides not a list", R"({"version": 1, "slides": {"slide": 1}})", "\"slides\" is not a list", 0},
        {"entry not an object",
         R"({"version": 1, "slides": [7, {"slide": 2, "picture": "/p/b.jpg", "durationMs": 5}]})",
         "entry 1 is not an object", 1},
        {"slide number as text", R"({"version": 1, "slides": [{"slide": "1", "picture": "/p/a.jpg"}]})",
         "entry 1 has no slide number", 0},
        {"fractional slide", R"({"version": 1, "slides": [{"slide": 1.5, "picture": "/p/a.jpg"}]})",
         "entry 1 has no slide number", 0},
        {"picture as number", R"({"version": 1, "slides": [{"slide": 1, "picture": 3}]})", "entry 1 names no picture",
         0},
        {"duration as text",
         R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "durationMs": "5s", "transition": "none"}]})",
         "slide 1: \"durationMs\" is not a whole number", 1},
        {"duration zero", R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "durationMs": 0}]})",
         "\"durationMs\" is not a whole number", 0},
        {"transition as number", R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "transition": 5}]})",
         "\"transition\" is not the name of a transition", 0},
        {"caption as text", R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "caption": "Hi"}]})",
         "\"caption\" is not an object", 0},
        {"caption fields wrong",
         R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "caption": {"text": "Hi", "size": 2,
            "colour": "red", "position": "left", "edge": 1, "font": []}}]})",
         "slide 1: the caption's \"font\" is not a font name", 1},
        {"fit as text", R"({"version": 1, "fitToMusic": "yes"})", "\"fitToMusic\" is neither true nor false", 0},
        {"entries for missing pictures", ManyEntries(3), "slide 1: /gone/0.jpg is not in the project", 0},
        {"10^5 entries", ManyEntries(100000), "slide 1: /gone/0.jpg is not in the project", 0},
        {"deep nesting", QByteArray(100000, '[') + QByteArray(100000, ']'), "not readable JSON", 0},
        {"deep nesting in an entry",
         R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "x": )" + QByteArray(5000, '[')
             + QByteArray(5000, ']') + "}]}",
         "not readable JSON", 0},
        {"larger than the limit", QByteArray(StoryFile::kMaximumBytes + 1, ' '), "larger than 64 MiB", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const StoryFile::Reading reading = StoryFile::Parse(c.bytes, kPictures);
        ASSERT_FALSE(reading.problems.isEmpty());
        EXPECT_TRUE(reading.problems.first().contains(QLatin1String(c.problem)))
            << reading.problems.first().toStdString();
        int kept = 0;
        for (int i = 0; i < kPictures.size(); ++i)
            kept += reading.story.HasDetails(i) ? 1 : 0;
        EXPECT_EQ(kept, c.slidesKept);
    }
}

// Found by the fuzz target: a caption whose text key is spelt otherwise kept its style only until
// the first save.
TEST(StoryFileTest, ACaptionStyledBeforeItsTextIsKept)
{
    const QByteArray bytes = R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg",
        "caption": {"\u0011text": "Day", "size": 60, "colour": "#ffcc00", "position": "top", "edge": "shadow"}}]})";
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    ASSERT_TRUE(reading.problems.isEmpty());
    EXPECT_TRUE(reading.story.HasDetails(0));
    const StoryFile::Reading again = StoryFile::Parse(StoryFile::Bytes(reading.story, kPictures), kPictures);
    EXPECT_EQ(again.story, reading.story);
    EXPECT_EQ(again.story.Slide(0).caption.size, 60);
}

TEST(StoryFileTest, WrongFieldsAreLeftOutAndTheRestOfTheCaptionKept)
{
    const QByteArray bytes = R"({"version": 1, "slides": [{"slide": 1, "picture": "/p/a.jpg", "caption": {"text": "Hi",
        "size": 2, "colour": "red", "position": "left", "edge": 1, "font": []}}]})";
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    EXPECT_EQ(reading.problems.size(), 5);
    const StoryCaption &caption = reading.story.Slide(0).caption;
    EXPECT_EQ(caption.text, "Hi");
    EXPECT_EQ(caption, Captioned("Hi").caption);
}

TEST(StoryFileTest, ASecondEntryForOneSlideGoesToAnotherCopyOrIsLeftOut)
{
    const QByteArray bytes = R"({"version": 1, "slides": [
        {"slide": 2, "picture": "/p/b.jpg", "durationMs": 1000},
        {"slide": 2, "picture": "/p/b.jpg", "durationMs": 2000}]})";
    const StoryFile::Reading reading = StoryFile::Parse(bytes, kPictures);
    EXPECT_EQ(reading.story.Slide(1).durationMs, 1000);
    ASSERT_EQ(reading.problems.size(), 1);
    EXPECT_TRUE(reading.problems.first().contains("is not in the project at this place or any other free one"));
}

TEST(StoryFileTest, NoticeNamesTheFileAndCountsWhatItDoesNotName)
{
    QStringList problems;
    for (int i = 0; i < 8; ++i)
        problems << QStringLiteral("problem %1").arg(i);
    const QString notice = StoryFile::Notice("/p/show.zut.story", problems);
    EXPECT_TRUE(notice.contains("/p/show.zut.story"));
    EXPECT_TRUE(notice.contains("problem 4"));
    EXPECT_FALSE(notice.contains("problem 5"));
    EXPECT_TRUE(notice.contains("and 3 more"));
}

TEST(StoryFileTest, AMissingFileIsNoStoryAndAFolderIsAProblem)
{
    const StoryFile::Reading missing = StoryFile::Read("/nonexistent/show.zut.story", kPictures);
    EXPECT_TRUE(missing.problems.isEmpty());
    EXPECT_TRUE(missing.story.IsEmpty());
    const StoryFile::Reading folder = StoryFile::Read("/", kPictures);
    EXPECT_EQ(folder.problems.size(), 1);
}

}  // namespace
}  // namespace lumetta
