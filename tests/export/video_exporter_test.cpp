// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_exporter.h"

#include "common/random.h"
#include "export/show_files.h"
#include "export/slide_renderer.h"
#include "export/video_clock.h"
#include "export/video_file_reader.h"
#include "player/effect_catalogue.h"
#include "player/player_window.h"
#include "show/show_project.h"
#include "support/picture_files.h"
#include "transitions/engine/headless_run.h"
#include "transitions/transitions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetta;
using testvideo::ReadVideoFile;

namespace {

// 1700 ms; a masked effect seeds the generator from the clock, which the export's seed sets.
constexpr int kClockwise = 6;

QString NoisePicture(const QString &name, QSize size, quint32 seed)
{
    return testpictures::WriteTemp(
        name, testpictures::MakeBmp(testpictures::NoisePicture(size.width(), size.height(), seed)));
}

struct Result
{
    VideoExporter::Outcome outcome = VideoExporter::Outcome::Failed;
    QString error;
    QStringList warnings;
};

Result Export(const ShowProject &project, const ExportSettings &settings, const QString &target,
              std::function<void(VideoExporter &, std::int64_t, std::int64_t)> progress = {})
{
    Result result;
    VideoExporter exporter(project, settings, target);
    exporter.SetWarningHandler([&](const QString &message) { result.warnings << message; });
    if (progress)
        exporter.SetProgressHandler(
            [&](std::int64_t done, std::int64_t expected) { progress(exporter, done, expected); });
    if (const std::optional<QString> problem = exporter.Prepare()) {
        result.error = *problem;
        return result;
    }
    result.outcome = exporter.Run();
    result.error = exporter.ErrorText();
    return result;
}

ExportSettings Tiny(ExportQuality quality = ExportQuality::Lossless)
{
    ExportSettings settings;
    settings.size = {64, 48};
    settings.fps = 10;
    settings.seed = 1;
    settings.quality = quality;
    return settings;
}

// Stereo frames whose left sample counts up and right counts down.
std::vector<std::int16_t> Ramp(int frames)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(std::int16_t(i % 30000));
        samples.push_back(std::int16_t(-(i % 30000)));
    }
    return samples;
}

// What the engine shows at frame `frame` of a headless pass of the catalogue's effect, drawing
// the frames a paced loop shows at the video frames from `firstVideoFrame` on (every frame when
// the pass start is negative).
QImage EngineFrame(int effectNumber, const QImage &from, const QImage &to, int frame, int *frameCount,
                   std::int64_t firstVideoFrame = 0, std::int64_t passStartMs = -1)
{
    TTransitionList effects;
    LoadEffectCatalogue(effects, false);
    QImage shown;
    const VideoClock clock(10);
    FrameStepping stepping;
    if (passStartMs >= 0) {
        stepping.nextFrame = [&](int, int frames, int prev) {
            for (std::int64_t j = firstVideoFrame;; ++j) {
                const int paced = clock.PacedFrameAt(j, passStartMs, frames, 1700);
                if (paced > prev || paced >= frames)
                    return paced;
            }
        };
    }
    stepping.frameShown = [&](int, int drawn, const QImage &canvas) {
        if (drawn == frame)
            shown = canvas.copy();
    };
    const HeadlessRun run = RunHeadless(*effects.Items(effectNumber), from, to, stepping);
    *frameCount = run.frameCount;
    return frame >= run.frameCount ? run.final : shown;
}

class VideoExporterTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Target(const QString &name) const { return dir_.filePath(name); }
    QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(VideoExporterTest, ALosslessVideoHoldsTheShowFrameForFrame)
{
    const QStringList pictures = {NoisePicture(QStringLiteral("n0.bmp"), {40, 30}, 1),
                                  NoisePicture(QStringLiteral("n1.bmp"), {30, 40}, 2),
                                  NoisePicture(QStringLiteral("n2.bmp"), {64, 48}, 3)};
    ShowProject project = testshows::MakeShow(pictures, 2, QStringLiteral("$00203040"), {QString::number(kClockwise)});
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    const std::vector<std::int16_t> ramp = Ramp(48000 * 3);
    project.Playlist() = {testshows::WriteStereoWav(QStringLiteral("ramp.wav"), ramp)};

    const QString target = Target(QStringLiteral("show.mkv"));
    const Result result = Export(project, Tiny(), target);
    ASSERT_EQ(result.outcome, VideoExporter::Outcome::Done) << result.error.toStdString();
    EXPECT_EQ(Files(), QStringList{QStringLiteral("show.mkv")});

    const testvideo::VideoFile video = ReadVideoFile(target);
    EXPECT_EQ(video.videoCodec, QStringLiteral("ffv1"));
    EXPECT_EQ(video.audioCodec, QStringLiteral("flac"));
    EXPECT_EQ(QSize(video.width, video.height), QSize(64, 48));
    EXPECT_DOUBLE_EQ(video.fps, 10.0);
    // Three slides of two seconds, not looping; made for editing, so every frame is stored.
    ASSERT_EQ(video.frames.size(), 60u);
    EXPECT_EQ(video.storedFrames, 60);
    EXPECT_NEAR(video.durationSeconds, 6.0, 0.05);

    const SlideRenderer renderer(project.Settings(), {64, 48});
    const QImage slides[3] = {renderer.ComposeSlide(pictures[0]), renderer.ComposeSlide(pictures[1]),
                              renderer.ComposeSlide(pictures[2])};
    // The middle of each slide, after its 1.7-second transition.
    EXPECT_EQ(video.frames[18], slides[0]);
    EXPECT_EQ(video.frames[39], slides[1]);
    EXPECT_EQ(video.frames[59], slides[2]);

    // The middle of the second transition (2.0 s to 3.7 s): frame 28 lies 800 ms into the pass.
    const VideoClock clock(10);
    int frameCount = 0;
    // The export seeded with 1 reads the clock as 1 + the step's start in milliseconds.
    SetClockSeedSource([] { return 1u + 2000u; });
    EngineFrame(kClockwise, slides[0], slides[1], 1, &frameCount);
    ASSERT_GT(frameCount, 2);
    const int shown = clock.PacedFrameAt(28, 2000, frameCount, 1700);
    const QImage expected = EngineFrame(kClockwise, slides[0], slides[1], shown, &frameCount, 20, 2000);
    EXPECT_EQ(video.frames[28], expected);
    EXPECT_NE(video.frames[28], slides[0]);
    EXPECT_NE(video.frames[28], slides[1]);
    SetClockSeedSource({});
    // The first frame, a gallery's picture of the video, is the first slide, not the background.
    EXPECT_EQ(video.frames[0], slides[0]);

    EXPECT_EQ(video.sampleRate, 48000);
    EXPECT_EQ(video.channels, 2);
    ASSERT_EQ(video.samples.size(), std::size_t(6 * 48000 * 2));
    for (std::size_t i = 0; i < 48000 * 2; ++i)
        ASSERT_EQ(video.samples[i], ramp[i]) << "sample " << i;
    // The track lasts three seconds; then silence.
    EXPECT_EQ(video.samples[std::size_t(4 * 48000 * 2)], 0);
}

TEST_F(VideoExporterTest, TheMusicFadesOutOverTheLastSecond)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    ShowProject project = testshows::MakeShow({picture, picture}, 1, QStringLiteral("clBlack"), {});
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("RepeatMusic"));
    project.Playlist() = {
        testshows::WriteStereoWav(QStringLiteral("level.wav"), std::vector<std::int16_t>(48000, 10000))};
    const QString target = Target(QStringLiteral("fade.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);

    const testvideo::VideoFile video = ReadVideoFile(target);
    ASSERT_EQ(video.samples.size(), std::size_t(2 * 48000 * 2));
    // The half-second track repeats; the last second fades from full level to nothing.
    EXPECT_EQ(video.samples[2 * 30000], 10000);
    EXPECT_EQ(video.samples[2 * 47999], 10000);
    EXPECT_EQ(video.samples[2 * 72000], 5000);
    EXPECT_EQ(video.samples[2 * 72000 + 1], 5000);
    EXPECT_LE(std::abs(video.samples[2 * 95999]), 1);
}

TEST_F(VideoExporterTest, AShowWithoutMusicHasNoAudioStream)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    ShowProject project = testshows::MakeShow({picture}, 1, QStringLiteral("clBlack"), {});
    project.Playlist() = {QStringLiteral("/not/played.wav")};  // "No music" keeps the list silent
    const QString target = Target(QStringLiteral("silent.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile video = ReadVideoFile(target);
    EXPECT_EQ(video.audioCodec, QString());
    EXPECT_EQ(video.frames.size(), 10u);
}

TEST_F(VideoExporterTest, EachContainerHasItsCodecs)
{
    const struct
    {
        const char *name;
        const char *video;
        const char *audio;
    } cases[] = {{"v.mp4", "h264", "aac"}, {"v.webm", "vp9", "opus"}, {"v.mkv", "h264", "flac"}};
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {32, 24}, Qt::red);
    ShowProject project = testshows::MakeShow({picture, picture}, 1, QStringLiteral("$00800000"), {});
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project.Playlist() = {testshows::WriteStereoWav(QStringLiteral("ramp.wav"), Ramp(4800))};
    const SlideRenderer renderer(project.Settings(), {64, 48});
    const QImage slide = renderer.ComposeSlide(picture);
    for (const auto &c : cases) {
        const QString target = Target(QString::fromLatin1(c.name));
        const Result result = Export(project, Tiny(ExportQuality::Draft), target);
        ASSERT_EQ(result.outcome, VideoExporter::Outcome::Done) << c.name << ": " << result.error.toStdString();
        const testvideo::VideoFile video = ReadVideoFile(target);
        EXPECT_EQ(video.videoCodec, QLatin1String(c.video)) << c.name;
        EXPECT_EQ(video.audioCodec, QLatin1String(c.audio)) << c.name;
        EXPECT_EQ(video.frames.size(), 20u) << c.name;
        // Each still slide is stored as its first and last frame, at the steady rate's times.
        EXPECT_EQ(video.storedFrames, 4) << c.name;
        EXPECT_EQ(video.rateNum, 10 * video.rateDen) << c.name;
        EXPECT_NEAR(video.durationSeconds, 2.0, 0.1) << c.name;
        ASSERT_FALSE(video.frames.empty());
        // Lossy, but the colours stay where they were.
        EXPECT_LE(testvideo::LargestDifference(video.frames[10].copy(4, 4, 12, 12), slide.copy(4, 4, 12, 12)), 12)
            << c.name;
        EXPECT_LE(testvideo::LargestDifference(video.frames[10].copy(24, 20, 16, 8), slide.copy(24, 20, 16, 8)), 12)
            << c.name;
    }
}

TEST_F(VideoExporterTest, TheContainerTellsHowToReadTheColoursAndMp4sIndexComesFirst)
{
    const struct
    {
        const char *name;
        ExportQuality quality;
        const char *pixelFormat;
        const char *profile;
        testvideo::ColourTags colour;
    } cases[] = {
        {"tags.mp4", ExportQuality::Good, "yuv420p", "High", {"bt709", "bt709", "bt709", "tv"}},
        {"tags.webm", ExportQuality::Good, "yuv420p", "Profile 0", {"bt709", "bt709", "bt709", "tv"}},
        {"tags.mkv", ExportQuality::Good, "yuv420p", "High", {"bt709", "bt709", "bt709", "tv"}},
        {"lossless.mkv", ExportQuality::Lossless, "bgr0", "", {"gbr", "bt709", "iec61966-2-1", "pc"}},
    };
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("tags.bmp"), {32, 24}, Qt::green);
    const ShowProject project = testshows::MakeShow({picture}, 1, QStringLiteral("clBlack"), {});
    for (const auto &c : cases) {
        const QString target = Target(QString::fromLatin1(c.name));
        ASSERT_EQ(Export(project, Tiny(c.quality), target).outcome, VideoExporter::Outcome::Done) << c.name;
        const testvideo::VideoFile video = ReadVideoFile(target);
        EXPECT_EQ(video.pixelFormat, QLatin1String(c.pixelFormat)) << c.name;
        EXPECT_EQ(video.profile, QLatin1String(c.profile)) << c.name;
        EXPECT_EQ(video.containerColour.space, c.colour.space) << c.name;
        EXPECT_EQ(video.containerColour.primaries, c.colour.primaries) << c.name;
        EXPECT_EQ(video.containerColour.transfer, c.colour.transfer) << c.name;
        EXPECT_EQ(video.containerColour.range, c.colour.range) << c.name;
    }
    // The index before the data, so a browser plays the video while it downloads.
    const std::vector<QString> boxes = testvideo::TopLevelBoxes(Target(QStringLiteral("tags.mp4")));
    const auto moov = std::find(boxes.begin(), boxes.end(), QStringLiteral("moov"));
    const auto mdat = std::find(boxes.begin(), boxes.end(), QStringLiteral("mdat"));
    ASSERT_NE(moov, boxes.end());
    ASSERT_NE(mdat, boxes.end());
    EXPECT_LT(moov, mdat);
    EXPECT_EQ(boxes.front(), QStringLiteral("ftyp"));
}

TEST_F(VideoExporterTest, AManualShowHoldsEachSlideForTheGivenSeconds)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    ShowProject project = testshows::MakeShow({picture, picture}, 1, QStringLiteral("clBlack"), {});
    project.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    ExportSettings settings = Tiny();
    settings.slideSeconds = 1.5;
    const QString target = Target(QStringLiteral("manual.mkv"));
    ASSERT_EQ(Export(project, settings, target).outcome, VideoExporter::Outcome::Done);
    EXPECT_EQ(ReadVideoFile(target).frames.size(), 30u);
}

TEST_F(VideoExporterTest, ATransitionLongerThanTheIntervalDelaysTheNextSlide)
{
    const QStringList pictures = {NoisePicture(QStringLiteral("n0.bmp"), {40, 30}, 1),
                                  NoisePicture(QStringLiteral("n1.bmp"), {40, 30}, 2),
                                  NoisePicture(QStringLiteral("n2.bmp"), {40, 30}, 3)};
    const ShowProject project =
        testshows::MakeShow(pictures, 1, QStringLiteral("clBlack"), {QString::number(kClockwise)});
    const QString target = Target(QStringLiteral("long.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);
    // The first slide at once, then steps at 1 and 2.7 s, each 1.7 s long; the show closes when
    // the last has ended.
    const testvideo::VideoFile video = ReadVideoFile(target);
    ASSERT_EQ(video.frames.size(), 44u);
    const SlideRenderer renderer(project.Settings(), {64, 48});
    const QImage slides[3] = {renderer.ComposeSlide(pictures[0]), renderer.ComposeSlide(pictures[1]),
                              renderer.ComposeSlide(pictures[2])};
    EXPECT_EQ(video.frames[0], slides[0]);
    EXPECT_EQ(video.frames[9], slides[0]);
    int frameCount = 0;
    SetClockSeedSource([] { return 1u + 1000u; });
    EXPECT_EQ(video.frames[10], EngineFrame(kClockwise, slides[0], slides[1], 1, &frameCount, 10, 1000));
    SetClockSeedSource([] { return 1u + 2700u; });
    EXPECT_EQ(video.frames[27], EngineFrame(kClockwise, slides[1], slides[2], 1, &frameCount, 27, 2700));
    SetClockSeedSource({});
    EXPECT_NE(video.frames[9], video.frames[10]);
}

TEST_F(VideoExporterTest, AnUnreadablePictureIsSkippedWithAWarning)
{
    const QString red = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    const QString blue = testshows::WriteSolidBmp(QStringLiteral("blue.bmp"), {20, 10}, Qt::blue);
    const ShowProject project =
        testshows::MakeShow({red, dir_.filePath(QStringLiteral("gone.jpg")), blue}, 1, QStringLiteral("clBlack"), {});
    const QString target = Target(QStringLiteral("skip.mkv"));
    const Result result = Export(project, Tiny(), target);
    ASSERT_EQ(result.outcome, VideoExporter::Outcome::Done);
    ASSERT_EQ(result.warnings.size(), 1);
    EXPECT_TRUE(result.warnings[0].contains(QStringLiteral("gone.jpg")));
    const testvideo::VideoFile video = ReadVideoFile(target);
    ASSERT_EQ(video.frames.size(), 20u);
    EXPECT_EQ(video.frames[15].pixel(32, 24), qRgb(0, 0, 255));
}

TEST_F(VideoExporterTest, AShowWithoutReadablePicturesFailsAndWritesNothing)
{
    const ShowProject project =
        testshows::MakeShow({dir_.filePath(QStringLiteral("gone.jpg"))}, 1, QStringLiteral("clBlack"), {});
    const Result result = Export(project, Tiny(), Target(QStringLiteral("none.mkv")));
    EXPECT_EQ(result.outcome, VideoExporter::Outcome::Failed);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(VideoExporterTest, TheSameSeedMakesTheSameVideo)
{
    const QStringList pictures = {NoisePicture(QStringLiteral("n0.bmp"), {40, 30}, 1),
                                  NoisePicture(QStringLiteral("n1.bmp"), {40, 30}, 2),
                                  NoisePicture(QStringLiteral("n2.bmp"), {40, 30}, 3)};
    const ShowProject project =
        testshows::MakeShow(pictures, 2, QStringLiteral("clBlack"), ShowProject::StandardEffects());
    ExportSettings settings = Tiny();
    settings.seed = 1234;
    ASSERT_EQ(Export(project, settings, Target(QStringLiteral("a.mkv"))).outcome, VideoExporter::Outcome::Done);
    ASSERT_EQ(Export(project, settings, Target(QStringLiteral("b.mkv"))).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile a = ReadVideoFile(Target(QStringLiteral("a.mkv")));
    const testvideo::VideoFile b = ReadVideoFile(Target(QStringLiteral("b.mkv")));
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i)
        ASSERT_EQ(a.frames[i], b.frames[i]) << "frame " << i;
}

TEST_F(VideoExporterTest, RefusesTargetsItCannotWrite)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    const ShowProject project = testshows::MakeShow({picture}, 1, QStringLiteral("clBlack"), {});
    const QString cases[] = {Target(QStringLiteral("show.avi")), Target(QStringLiteral("missing/show.mkv")),
                             QStringLiteral("/proc/lumetta-export-test.mkv"), dir_.path() + QStringLiteral("/")};
    for (const QString &target : cases) {
        const Result result = Export(project, Tiny(), target);
        EXPECT_EQ(result.outcome, VideoExporter::Outcome::Failed) << target.toStdString();
        EXPECT_TRUE(result.error.contains(QFileInfo(target).fileName())) << result.error.toStdString();
    }
    const Result lossy = Export(project, Tiny(), Target(QStringLiteral("lossless.mp4")));
    EXPECT_TRUE(lossy.error.contains(QStringLiteral(".mkv"))) << lossy.error.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(VideoExporterTest, ACancelledExportLeavesTheOldFileAndNothingElse)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("red.bmp"), {20, 10}, Qt::red);
    const ShowProject project = testshows::MakeShow({picture, picture, picture, picture}, 2, QStringLiteral("clBlack"),
                                                    {QString::number(kClockwise)});
    const QString target = Target(QStringLiteral("old.mkv"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old video");
    }
    std::int64_t cancelledAt = -1;
    const Result result =
        Export(project, Tiny(), target, [&](VideoExporter &exporter, std::int64_t done, std::int64_t expected) {
            if (cancelledAt < 0 && done * 2 >= expected) {
                cancelledAt = done;
                exporter.Cancel();
            }
        });
    EXPECT_EQ(result.outcome, VideoExporter::Outcome::Cancelled);
    EXPECT_GE(cancelledAt, 40);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("old.mkv")});
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the old video"));
}

TEST_F(VideoExporterTest, ASlideLooksAsThePlayerWindowShowsIt)
{
    const QString picture = NoisePicture(QStringLiteral("n.bmp"), {300, 200}, 9);
    ShowProject project = testshows::MakeShow({picture}, 1, QStringLiteral("$00D5E7EA_clWhite"), {});
    ShowSettings &settings = project.Settings();
    settings.Put(ShowSettings::BackgroundLine, QStringLiteral("$00D5E7EA_clWhite"));
    settings.Put(ShowSettings::PlacementLine, QStringLiteral("Center"));
    settings.Put(ShowSettings::CaptionLine, QStringLiteral("clSilver"));
    settings.Put(ShowSettings::ShadowLine, QStringLiteral("Shadow"));
    settings.Put(ShowSettings::PictureSizeLine, QStringLiteral("80"));
    settings.Put(ShowSettings::EffectsLine, QStringLiteral("No effect"));
    settings.Put(ShowSettings::AdvanceLine, QStringLiteral("100"));

    PlayerWindow show;
    ASSERT_EQ(show.StartShow(project), PlayerWindow::StartResult::Started);
    show.show();
    show.SetUpShow();
    const QImage screen = show.grab().toImage().convertToFormat(QImage::Format_RGB32);
    show.close();
    ASSERT_EQ(screen.size(), PlayerWindow::ScreenSize());
    ASSERT_EQ(screen.width() % 2, 0);
    ASSERT_EQ(screen.height() % 2, 0);

    // One second of video is enough for the comparison.
    settings.Put(ShowSettings::AdvanceLine, QStringLiteral("1"));
    ExportSettings exportSettings = Tiny();
    exportSettings.size = screen.size();
    exportSettings.fps = 2;
    const QString target = Target(QStringLiteral("screen.mkv"));
    ASSERT_EQ(Export(project, exportSettings, target).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile video = ReadVideoFile(target);
    ASSERT_FALSE(video.frames.empty());
    EXPECT_EQ(video.frames.back(), screen);
}

namespace {

// The index of the first frame from FROM on whose centre is not the centre of FRAMES[FROM].
std::size_t NextChange(const std::vector<QImage> &frames, std::size_t from)
{
    const QPoint centre(frames[from].width() / 2, frames[from].height() / 2);
    std::size_t i = from;
    while (i < frames.size() && frames[i].pixel(centre) == frames[from].pixel(centre))
        ++i;
    return i;
}

}  // namespace

TEST_F(VideoExporterTest, EachSlideHoldsForItsOwnTimeInTheFrameTimes)
{
    const QStringList pictures = {testshows::WriteSolidBmp(QStringLiteral("r.bmp"), {64, 48}, Qt::red),
                                  testshows::WriteSolidBmp(QStringLiteral("g.bmp"), {64, 48}, Qt::green),
                                  testshows::WriteSolidBmp(QStringLiteral("b.bmp"), {64, 48}, Qt::blue)};
    ShowProject project = testshows::MakeShow(pictures, 1, QStringLiteral("clBlack"), {});
    SlideDetails details;
    details.durationMs = 2500;
    project.Story().SetSlide(1, details);
    details.durationMs = 500;
    project.Story().SetSlide(2, details);
    const QString target = Target(QStringLiteral("times.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile video = ReadVideoFile(target);
    // At 10 frames a second: 1 s of red, 2.5 s of green, 0.5 s of blue.
    ASSERT_EQ(video.frames.size(), 40u);
    EXPECT_EQ(NextChange(video.frames, 0), 10u);
    EXPECT_EQ(NextChange(video.frames, 10), 35u);
    EXPECT_EQ(NextChange(video.frames, 35), 40u);
    EXPECT_EQ(video.frames[34].pixel(32, 24), qRgb(0, 255, 0));
}

TEST_F(VideoExporterTest, DurationsFitTheMusicInTheFrameTimes)
{
    const QStringList pictures = {testshows::WriteSolidBmp(QStringLiteral("r.bmp"), {64, 48}, Qt::red),
                                  testshows::WriteSolidBmp(QStringLiteral("g.bmp"), {64, 48}, Qt::green)};
    ShowProject project = testshows::MakeShow(pictures, 1, QStringLiteral("clBlack"), {});
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project.Playlist() = {testshows::WriteStereoWav(QStringLiteral("six.wav"), Ramp(48000 * 6))};
    SlideDetails details;
    details.durationMs = 2000;
    project.Story().SetSlide(1, details);
    project.Story().SetFitToMusic(true);
    const QString target = Target(QStringLiteral("fitted.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile video = ReadVideoFile(target);
    // 1 s and 2 s stretched to the music's 6 s: 2 s and 4 s.
    ASSERT_EQ(video.frames.size(), 60u);
    EXPECT_EQ(NextChange(video.frames, 0), 20u);
}

TEST_F(VideoExporterTest, TheTransitionIntoASlideIsTheOneChosen)
{
    const QStringList pictures = {NoisePicture(QStringLiteral("n0.bmp"), {40, 30}, 1),
                                  NoisePicture(QStringLiteral("n1.bmp"), {40, 30}, 2),
                                  NoisePicture(QStringLiteral("n2.bmp"), {40, 30}, 3)};
    ShowProject project = testshows::MakeShow(pictures, 2, QStringLiteral("clBlack"), {QString::number(kClockwise)});
    SlideDetails details;
    details.transition = SlideTransition::Named(QStringLiteral("WipeLeft"));
    project.Story().SetSlide(1, details);
    details.transition.kind = SlideTransition::Kind::None;
    project.Story().SetSlide(2, details);
    const QString target = Target(QStringLiteral("chosen.mkv"));
    ASSERT_EQ(Export(project, Tiny(), target).outcome, VideoExporter::Outcome::Done);
    const testvideo::VideoFile video = ReadVideoFile(target);
    ASSERT_EQ(video.frames.size(), 60u);
    const SlideRenderer renderer(project.Settings(), {64, 48});
    const QImage slides[3] = {renderer.ComposeSlide(pictures[0]), renderer.ComposeSlide(pictures[1]),
                              renderer.ComposeSlide(pictures[2])};
    int frameCount = 0;
    // Into slide 2 the wipe to the left, whose frames the engine draws alike.
    constexpr int kWipeLeft = 12;
    EXPECT_EQ(video.frames[20], EngineFrame(kWipeLeft, slides[0], slides[1], 1, &frameCount, 20, 2000));
    EXPECT_NE(video.frames[20], EngineFrame(kClockwise, slides[0], slides[1], 1, &frameCount, 20, 2000));
    // Into slide 3 none: it is there at once.
    EXPECT_NE(video.frames[39], slides[2]);
    EXPECT_EQ(video.frames[40], slides[2]);
}

TEST_F(VideoExporterTest, CaptionsAreDrawnAtTheVideosSizeWhereThePositionSays)
{
    const QString picture = testshows::WriteSolidBmp(QStringLiteral("grey.bmp"), {64, 48}, Qt::darkGray);
    for (const QSize size : {QSize(320, 180), QSize(180, 320)}) {
        SCOPED_TRACE(size.width());
        ShowProject project = testshows::MakeShow({picture, picture}, 1, QStringLiteral("clBlack"), {});
        for (int slide : {0, 1}) {
            SlideDetails details;
            details.caption.text = QStringLiteral("Harbour");
            details.caption.colour = QColor(255, 230, 0);
            details.caption.size = 200;
            details.caption.position = slide == 0 ? StoryCaption::Position::Top : StoryCaption::Position::Bottom;
            project.Story().SetSlide(slide, details);
        }
        ExportSettings settings = Tiny();
        settings.size = size;
        const QString target = Target(QStringLiteral("caption-%1.mkv").arg(size.width()));
        ASSERT_EQ(Export(project, settings, target).outcome, VideoExporter::Outcome::Done);
        const testvideo::VideoFile video = ReadVideoFile(target);
        ASSERT_EQ(video.frames.size(), 20u);
        for (int slide : {0, 1}) {
            const QImage &frame = video.frames[std::size_t(slide * 10 + 5)];
            QRect yellow;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    if (const QRgb pixel = frame.pixel(x, y);
                        qRed(pixel) > 200 && qGreen(pixel) > 170 && qBlue(pixel) < 100)
                        yellow |= QRect(x, y, 1, 1);
            ASSERT_FALSE(yellow.isEmpty());
            EXPECT_NEAR(yellow.center().x(), size.width() / 2, 3);
            if (slide == 0)
                EXPECT_LT(yellow.bottom(), size.height() / 4);
            else
                EXPECT_GT(yellow.top(), size.height() * 3 / 4);
            // The text grows with the video: its size on the scale of the shorter side, 180 pixels.
            EXPECT_GT(yellow.height(), 200 * 180 / 1080 / 2);
            EXPECT_LT(yellow.height(), 200 * 180 / 1080);
        }
    }
}
