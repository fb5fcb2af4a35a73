// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/web_show_builder.h"

#include "export/show_files.h"
#include "export/web_command.h"
#include "player/effect_catalogue.h"
#include "show/slide_details.h"
#include "support/picture_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>

using namespace lumetta;

namespace {

QString Noise(const QString &name, int width, int height, quint32 seed)
{
    return testpictures::WriteTemp(name, testpictures::MakeBmp(testpictures::NoisePicture(width, height, seed)));
}

QString Page(const WebShowBuilder &builder)
{
    return QString::fromUtf8(builder.Page());
}

// The contents of every element <TAG ...>...</TAG> whose attributes match ATTRIBUTES exactly.
QStringList Elements(const QString &page, const QString &tag, const QString &attributes)
{
    QStringList found;
    const QRegularExpression element(QStringLiteral("<%1%2>(.*?)</%1>").arg(tag, attributes),
                                     QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch &match : element.globalMatch(page))
        found << match.captured(1);
    return found;
}

QJsonObject ShowData(const QString &page)
{
    const QStringList shows = Elements(page, QStringLiteral("script"),
                                       QStringLiteral(" type=\"application/json\" id=\"show\""));
    return shows.size() == 1 ? QJsonDocument::fromJson(shows[0].toUtf8()).object() : QJsonObject();
}

QImage BlockPicture(const QString &page, const QString &id)
{
    const QRegularExpression block(QStringLiteral("<script type=\"application/octet-stream\" id=\"%1\" "
                                                  "data-type=\"[a-z/]+\">([A-Za-z0-9+/=]*)</script>")
                                       .arg(id));
    return QImage::fromData(QByteArray::fromBase64(block.match(page).captured(1).toLatin1()));
}

struct CommandRun
{
    int status;
    QString errors;
};

CommandRun Command(const QStringList &arguments)
{
    std::FILE *errors = std::tmpfile();
    std::FILE *output = std::tmpfile();
    const int status = MakeWebShow(arguments, output, errors);
    std::fclose(output);
    return {status, testshows::ReadAndClose(errors)};
}

}  // namespace

TEST(WebShowBuilder, OnePageWithEveryPartUnderAPolicyThatLetsOnlyItsOwnScriptsRun)
{
    const ShowProject project = testshows::MakeShow(
        {Noise(QStringLiteral("web-a.bmp"), 64, 48, 1), Noise(QStringLiteral("web-b.bmp"), 48, 64, 2)}, 3,
        QStringLiteral("$00281800"), {QStringLiteral("1"), QStringLiteral("5")});
    WebShowBuilder builder(project, {});
    ASSERT_EQ(builder.Build(), WebShowBuilder::Outcome::Done) << builder.Error().toStdString();
    const QString page = Page(builder);

    const QJsonObject show = ShowData(page);
    EXPECT_EQ(show[QStringLiteral("advanceMs")].toInt(), 3000);
    EXPECT_EQ(show[QStringLiteral("slides")].toArray().size(), 2);
    EXPECT_EQ(show[QStringLiteral("selection")].toArray(), QJsonArray({QStringLiteral("1"), QStringLiteral("5")}));
    EXPECT_EQ(show[QStringLiteral("effects")].toArray().size(), 22);
    EXPECT_EQ(show[QStringLiteral("background")].toObject()[QStringLiteral("top")].toString(), QStringLiteral("#001828"));
    EXPECT_EQ(BlockPicture(page, QStringLiteral("p1")).size(), QSize(48, 64));
    EXPECT_EQ(show[QStringLiteral("slides")].toArray()[1].toObject()[QStringLiteral("height")].toInt(), 64);

    // Every inline script and style is named by its hash; nothing else may run or load.
    const QString policy = QRegularExpression(QStringLiteral("http-equiv=\"Content-Security-Policy\" content=\"([^\"]*)\""))
                               .match(page)
                               .captured(1);
    EXPECT_TRUE(policy.startsWith(QStringLiteral("default-src 'none';"))) << policy.toStdString();
    const QStringList inlineParts = Elements(page, QStringLiteral("script"), QString())
                                + Elements(page, QStringLiteral("style"), QString());
    EXPECT_EQ(inlineParts.size(), 4);
    for (const QString &text : inlineParts) {
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64());
        EXPECT_TRUE(policy.contains(QStringLiteral("'sha256-%1'").arg(hash)));
    }
    // No element names another file.
    EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("<[a-z]+[^>]* (src|href)="))));
}

TEST(WebShowBuilder, PicturesAreScaledDownToTheMaximumAndNeverUp)
{
    const ShowProject project = testshows::MakeShow(
        {Noise(QStringLiteral("web-big.bmp"), 600, 200, 3), Noise(QStringLiteral("web-small.bmp"), 40, 30, 4)}, 3,
        QStringLiteral("clBlack"), {});
    WebShowOptions options;
    options.maxSize = QSize(300, 300);
    WebShowBuilder builder(project, options);
    ASSERT_EQ(builder.Build(), WebShowBuilder::Outcome::Done);
    EXPECT_EQ(BlockPicture(Page(builder), QStringLiteral("p0")).size(), QSize(300, 100));
    // Slides are placed from the pictures' own sizes, as the player places them.
    const QJsonObject big = ShowData(Page(builder))[QStringLiteral("slides")].toArray()[0].toObject();
    EXPECT_EQ(big[QStringLiteral("width")].toInt(), 600);
    EXPECT_EQ(big[QStringLiteral("height")].toInt(), 200);
    EXPECT_EQ(BlockPicture(Page(builder), QStringLiteral("p1")).size(), QSize(40, 30));
}

TEST(WebShowBuilder, UnreadablePicturesAreNamedAndLeftOutAndNoneLeftFails)
{
    const QString broken = testpictures::WriteTemp(QStringLiteral("web-broken.jpg"), "not a picture");
    const QString missing = QDir::temp().filePath(QStringLiteral("web-missing.png"));
    const QString good = Noise(QStringLiteral("web-good.bmp"), 32, 32, 5);
    WebShowBuilder some(testshows::MakeShow({broken, good, missing}, 3, QStringLiteral("clBlack"), {}), {});
    ASSERT_EQ(some.Build(), WebShowBuilder::Outcome::Done);
    ASSERT_EQ(some.Notes().size(), 2);
    EXPECT_TRUE(some.Notes()[0].contains(broken));
    EXPECT_TRUE(some.Notes()[1].contains(missing));
    const QJsonArray slides = ShowData(Page(some))[QStringLiteral("slides")].toArray();
    ASSERT_EQ(slides.size(), 1);
    // The caption keeps the picture's place in the list.
    EXPECT_EQ(slides[0].toObject()[QStringLiteral("number")].toInt(), 2);

    WebShowBuilder none(testshows::MakeShow({broken, missing}, 3, QStringLiteral("clBlack"), {}), {});
    EXPECT_EQ(none.Build(), WebShowBuilder::Outcome::Failed);
    EXPECT_FALSE(none.Error().isEmpty());
    EXPECT_TRUE(none.Page().isEmpty());
}

TEST(WebShowBuilder, MusicBrowsersPlayGoesInAsItIsAndTheRestIsNamed)
{
    ShowProject project =
        testshows::MakeShow({Noise(QStringLiteral("web-music.bmp"), 32, 32, 6)}, 3, QStringLiteral("clBlack"), {});
    const QString wav = testshows::WriteStereoWav(QStringLiteral("web-track.wav"), std::vector<std::int16_t>(960, 7));
    const QString wma = testpictures::WriteTemp(QStringLiteral("web-track.wma"), "wma bytes");
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("RepeatMusic"));
    project.Playlist() = {wma, wav};
    WebShowBuilder builder(project, {});
    ASSERT_EQ(builder.Build(), WebShowBuilder::Outcome::Done);
    ASSERT_EQ(builder.Notes().size(), 1);
    EXPECT_TRUE(builder.Notes()[0].contains(wma));
    const QJsonObject show = ShowData(Page(builder));
    EXPECT_TRUE(show[QStringLiteral("repeatMusic")].toBool());
    ASSERT_EQ(show[QStringLiteral("music")].toArray().size(), 1);
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Page(builder).contains(
        QStringLiteral("id=\"m0\" data-type=\"audio/wav\">%1<").arg(QString::fromLatin1(file.readAll().toBase64()))));
}

TEST(WebShowBuilder, ProgressCountsEveryFileAndCancels)
{
    const ShowProject project = testshows::MakeShow(
        {Noise(QStringLiteral("web-c1.bmp"), 16, 16, 7), Noise(QStringLiteral("web-c2.bmp"), 16, 16, 8),
         Noise(QStringLiteral("web-c3.bmp"), 16, 16, 9)},
        3, QStringLiteral("clBlack"), {});
    WebShowBuilder builder(project, {});
    QList<int> seen;
    EXPECT_EQ(builder.Build([&seen](int done, int total) {
        seen << done << total;
        return done < 2;
    }),
              WebShowBuilder::Outcome::Cancelled);
    EXPECT_EQ(seen, QList<int>({1, 3, 2, 3}));
    EXPECT_TRUE(builder.Page().isEmpty());
}

TEST(WebShowCommand, WritesThePageAndRefusesWhatItMustNotReplace)
{
    QTemporaryDir dir;
    const QString picture = Noise(QStringLiteral("web-cmd.bmp"), 32, 24, 10);
    const QString project = testshows::WriteProjectFile(
        testshows::MakeShow({picture}, 3, QStringLiteral("clBlack"), {QStringLiteral("0")}), QStringLiteral("web.zut"));
    const QString target = dir.filePath(QStringLiteral("show.html"));

    CommandRun run = Command({project, target});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_TRUE(QFile::exists(target));
    run = Command({project, target});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("--force"))) << run.errors.toStdString();
    EXPECT_EQ(Command({project, target, QStringLiteral("-y")}).status, 0);

    const QString pipe = dir.filePath(QStringLiteral("pipe.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    run = Command({project, pipe, QStringLiteral("--force")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("not a regular file"))) << run.errors.toStdString();

    const QString ownPicture = dir.filePath(QStringLiteral("picture.html"));
    ASSERT_TRUE(QFile::link(picture, ownPicture));
    run = Command({project, ownPicture, QStringLiteral("--force")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("one of the show's pictures"))) << run.errors.toStdString();

    run = Command({project, dir.filePath(QStringLiteral("show.txt"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral(".html"))) << run.errors.toStdString();
    // Only the page and the two test files: nothing partial left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
              3);
}

TEST(WebShowCommand, WrongArgumentsGiveTheUsage)
{
    const QString project = testshows::WriteProjectFile(
        testshows::MakeShow({Noise(QStringLiteral("web-args.bmp"), 8, 8, 11)}, 3, QStringLiteral("clBlack"), {}),
        QStringLiteral("web-args.zut"));
    const QString target = QDir::temp().filePath(QStringLiteral("web-args.html"));
    for (const QStringList &arguments :
         {QStringList{project}, QStringList{project, target, QStringLiteral("--quality"), QStringLiteral("0")},
          QStringList{project, target, QStringLiteral("--max-size"), QStringLiteral("800")},
          QStringList{project, target, QStringLiteral("--fps"), QStringLiteral("30")}}) {
        const CommandRun run = Command(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.errors.contains(QStringLiteral("Usage: lumetta --web")));
    }
    EXPECT_EQ(Command({QStringLiteral("--help")}).status, 0);
}

TEST(WebShowBuilder, SlidesCarryTheirOwnTimeTransitionAndCaption)
{
    ShowProject project = testshows::MakeShow(
        {Noise(QStringLiteral("web-story1.bmp"), 16, 16, 12), Noise(QStringLiteral("web-story2.bmp"), 16, 16, 13),
         Noise(QStringLiteral("web-story3.bmp"), 16, 16, 14)},
        3, QStringLiteral("clBlack"), {});
    SlideDetails first;
    first.durationMs = 6000;
    first.transition = SlideTransition::Named(QStringLiteral("WipeLeft"));
    first.caption.text = QStringLiteral("Day one\nArrival");
    first.caption.position = StoryCaption::Position::Top;
    first.caption.edge = StoryCaption::Edge::Shadow;
    project.Story().SetSlide(0, first);
    SlideDetails second;
    second.transition = {SlideTransition::Kind::None, {}};
    project.Story().SetSlide(1, second);
    SlideDetails third;
    third.transition = SlideTransition::Named(QStringLiteral("NoSuchEffect"));
    project.Story().SetSlide(2, third);

    WebShowBuilder builder(project, {});
    ASSERT_EQ(builder.Build(), WebShowBuilder::Outcome::Done);
    const QJsonArray slides = ShowData(Page(builder))[QStringLiteral("slides")].toArray();
    ASSERT_EQ(slides.size(), 3);
    const QJsonObject one = slides[0].toObject();
    EXPECT_EQ(one[QStringLiteral("durationMs")].toInt(), 6000);
    EXPECT_EQ(one[QStringLiteral("transition")].toInt(), *EffectNumberOfStoredName(QStringLiteral("WipeLeft")));
    const QJsonObject caption = one[QStringLiteral("caption")].toObject();
    EXPECT_EQ(caption[QStringLiteral("text")].toString(), QStringLiteral("Day one\nArrival"));
    EXPECT_EQ(caption[QStringLiteral("position")].toString(), QStringLiteral("top"));
    EXPECT_FALSE(caption[QStringLiteral("outline")].toBool());
    EXPECT_EQ(slides[1].toObject()[QStringLiteral("transition")].toString(), QStringLiteral("none"));
    // An effect this catalogue does not know plays as one drawn from the selection.
    EXPECT_FALSE(slides[2].toObject().contains(QStringLiteral("transition")));
    EXPECT_FALSE(slides[2].toObject().contains(QStringLiteral("caption")));
}

// A show fitted to its music ends with it: the page gets the times the player would use.
TEST(WebShowBuilder, ATimeFittedToTheMusicGoesIntoThePage)
{
    ShowProject project = testshows::MakeShow(
        {Noise(QStringLiteral("web-fit1.bmp"), 16, 16, 21), Noise(QStringLiteral("web-fit2.bmp"), 16, 16, 22),
         Noise(QStringLiteral("web-fit3.bmp"), 16, 16, 23)},
        3, QStringLiteral("clBlack"), {});
    SlideDetails first;
    first.durationMs = 6000;
    project.Story().SetSlide(0, first);
    project.Story().SetFitToMusic(true);
    project.Settings().Put(ShowSettings::MusicLine, QStringLiteral("NoRepeat"));
    project.Playlist() = {testshows::WriteStereoWav(QStringLiteral("web-fit.wav"),
                                                    std::vector<std::int16_t>(std::size_t(48000) * 6 * 2))};
    const auto times = [&] {
        WebShowBuilder builder(project, {});
        EXPECT_EQ(builder.Build(), WebShowBuilder::Outcome::Done);
        QList<int> found;
        for (const QJsonValue &slide : ShowData(Page(builder))[QStringLiteral("slides")].toArray())
            found << slide.toObject()[QStringLiteral("durationMs")].toInt(-1);
        return found;
    };
    // Twelve seconds of slides into six of music, in their proportions.
    EXPECT_EQ(times(), (QList<int>{3000, 1500, 1500}));
    // A manual show stays manual; without the fit a slide keeps its own time only.
    project.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("Manual"));
    EXPECT_EQ(times(), (QList<int>{6000, -1, -1}));
    project.Settings().Put(ShowSettings::AdvanceLine, QStringLiteral("3"));
    project.Story().SetFitToMusic(false);
    EXPECT_EQ(times(), (QList<int>{6000, -1, -1}));
}
