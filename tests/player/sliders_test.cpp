#include "app/project_file.h"
#include "app/show_project.h"
#include "common/arith.h"
#include "dialogs/OnHelps.h"
#include "media/picture_files.h"
#include "media/wav_files.h"
#include "player/Sliders.h"
#include "player/play_file.h"
#include "player/pro_image.h"
#include "transitions/TransEff.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

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
    file.write(path.endsWith(QLatin1String(".jpg")) ? testpictures::makeJpeg(image) : testpictures::makeBmp(image));
    return path;
}

// A widget's rectangle in device pixels: exact at a scale of 1, within a pixel at other scales,
// where widgets lie on whole logical pixels.
void ExpectDeviceRect(const QWidget *widget, const QRect &expected)
{
    const qreal ratio = widget->devicePixelRatioF();
    const QRect logical = widget->geometry();
    const int tolerance = ratio == 1.0 ? 0 : 1;
    EXPECT_NEAR(logical.x() * ratio, expected.x(), tolerance) << widget->objectName().toStdString();
    EXPECT_NEAR(logical.y() * ratio, expected.y(), tolerance);
    EXPECT_NEAR(logical.width() * ratio, expected.width(), tolerance);
    EXPECT_NEAR(logical.height() * ratio, expected.height(), tolerance);
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
        ASSERT_TRUE(dir.isValid());
        for (int i = 0; i < 3; ++i)
            project.Pictures() << WritePicture(dir.filePath(QStringLiteral("p%1.bmp").arg(i)), {160, 120}, kColours[i]);
        ShowSettings &settings = project.Settings();
        settings.Put(ShowSettings::kAdvance, QStringLiteral("100"));  // never due while a test runs
        settings.Put(ShowSettings::kLooping, QStringLiteral("No"));
        settings.Put(ShowSettings::kCaption, QStringLiteral("clSilver"));
        project.EffectSelection() = {QStringLiteral("13")};
        for (int i = 0; i < show.Trans->Count(); ++i) {
            TTransitionEffect *effect = show.Trans->Items(i);
            effect->SetMilliseconds(std::min(effect->Milliseconds(), 40));
            effect->OnBeforeTransition = [this, i](QObject *) { executed.push_back(i); };
        }
    }

    void TearDown() override
    {
        if (show.isVisible())
            show.close();
    }

    void Start()
    {
        ASSERT_EQ(show.StartShow(project), TSShow::StartResult::Started) << show.ErrorText().toStdString();
        show.show();
        show.FormActivate();
    }

    // The colour of the slide now in Image1.
    QRgb Slide() const { return show.Image1->Picture().pixel(0, 0); }
    QString Caption() const { return show.Panel1->text(); }
    bool RenderWindowLeft() const
    {
        for (const RenderWindow *window : show.Pano->findChildren<RenderWindow *>())
            if (window->isVisible())
                return true;
        return AnyEffectPrepared();
    }

    const QRgb kColours[3] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    QTemporaryDir dir;
    ShowProject project;
    TSShow show;
    std::vector<int> executed;
};

}  // namespace

TEST_F(PlayerWindowTest, ThreePictureShowEndsAfterTheThirdWithoutLooping)
{
    Start();
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    EXPECT_TRUE(show.Panel1->isVisible());
    show.Timer1Timer();
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_EQ(Caption(), QStringLiteral("2. p1.bmp"));
    show.Timer1Timer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_TRUE(show.isVisible());
    show.Timer1Timer();
    EXPECT_FALSE(show.isVisible());
    EXPECT_FALSE(show.Timer1->isActive());
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_EQ(executed, std::vector<int>({13, 13, 13}));
    EXPECT_FALSE(RenderWindowLeft());
}

TEST_F(PlayerWindowTest, LoopingShowReturnsToTheFirstPictureWithATransition)
{
    project.Settings().Put(ShowSettings::kLooping, QStringLiteral("Loop"));
    Start();
    for (int i = 0; i < 3; ++i)
        show.Timer1Timer();
    EXPECT_TRUE(show.isVisible());
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    EXPECT_EQ(executed.size(), 4u);
    QTest::keyClick(&show, Qt::Key_Escape);
    EXPECT_FALSE(show.isVisible());
}

TEST_F(PlayerWindowTest, ALongCaptionDoesNotWidenTheWindowBeyondTheScreen)
{
    // The longest name a file system allows: far wider than the screen at the caption's font.
    const QString name = QString(236, u'x') + QStringLiteral(".bmp");
    project.Pictures() = {WritePicture(dir.filePath(name), {64, 48}, QColor(10, 20, 30))};
    Start();
    QCoreApplication::processEvents();
    ASSERT_EQ(Caption(), QStringLiteral("1. ") + name);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_GT(show.Panel1->fontMetrics().horizontalAdvance(Caption()), screen.width());
    EXPECT_EQ(show.width(), screen.width());
    EXPECT_EQ(show.Pano->width(), screen.width());
    EXPECT_EQ(show.Panel1->width(), screen.width());
}

TEST_F(PlayerWindowTest, CaptionOfTheTenthPictureIsItsNumberAndFileName)
{
    for (int i = 3; i < 9; ++i)
        project.Pictures() << project.Pictures().at(0);
    project.Pictures() << WritePicture(dir.filePath(QStringLiteral("sub/deeper/a.jpg")), {64, 48}, QColor(200, 100, 50));
    Start();
    show.Sequencer().SetNextSlide(9);
    show.Timer1Timer();
    EXPECT_EQ(Caption(), QStringLiteral("10. a.jpg"));
    EXPECT_TRUE(SameColour(Slide(), qRgb(200, 100, 50), 4));
}

TEST_F(PlayerWindowTest, EffectSelectionDecidesTheTransition)
{
    project.Settings().Put(ShowSettings::kLooping, QStringLiteral("Loop"));
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
        executed.clear();
        project.EffectSelection() = c.selection;
        project.Settings().Put(ShowSettings::kEffects, c.effects);
        Start();
        std::vector<QRgb> slides{Slide()};
        for (int i = 0; i < 3; ++i) {
            show.Timer1Timer();
            slides.push_back(Slide());
            EXPECT_FALSE(RenderWindowLeft());
        }
        EXPECT_EQ(executed, c.executed) << c.effects.toStdString();
        EXPECT_EQ(slides, std::vector<QRgb>({kColours[0], kColours[1], kColours[2], kColours[0]}));
        show.close();
    }
}

TEST_F(PlayerWindowTest, LeftAndBackspaceGoBackButNotBeforeTheFirst)
{
    Start();
    show.Timer1Timer();
    show.Timer1Timer();
    QTest::keyClick(&show, Qt::Key_Left);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_EQ(Caption(), QStringLiteral("2. p1.bmp"));
    QTest::keyClick(&show, Qt::Key_Right);
    EXPECT_EQ(Slide(), kColours[2]);
    QTest::keyClick(&show, Qt::Key_Backspace);
    QTest::keyClick(&show, Qt::Key_Backspace);
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::keyClick(&show, Qt::Key_Left);
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    QTest::keyClick(&show, Qt::Key_Return);
    EXPECT_EQ(Slide(), kColours[1]);
}

TEST_F(PlayerWindowTest, ManualShowAdvancesOnKeysAndPictureClicksOnly)
{
    project.Settings().Put(ShowSettings::kAdvance, QStringLiteral("Manual"));
    project.Settings().Put(ShowSettings::kLooping, QStringLiteral("Loop"));
    Start();
    EXPECT_FALSE(show.Timer1->isActive());
    QTest::mouseClick(show.ProImage1, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(show.Panel1, Qt::LeftButton);
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::mouseClick(show.Image1, Qt::LeftButton);
    EXPECT_EQ(Slide(), kColours[1]);
    QTest::keyClick(&show, Qt::Key_Enter);
    EXPECT_EQ(Slide(), kColours[2]);
    // Ctrl starts automatic advance with the timer's last interval (500 ms when no show set one).
    QTest::keyClick(&show, Qt::Key_Control);
    EXPECT_EQ(Slide(), kColours[0]);
    EXPECT_TRUE(show.Timer1->isActive());
    EXPECT_EQ(show.Timer1->interval(), 500);
}

TEST_F(PlayerWindowTest, CtrlPausesAndResumesAnAutomaticShow)
{
    Start();
    EXPECT_TRUE(show.Timer1->isActive());
    EXPECT_EQ(show.Timer1->interval(), 100000);
    QTest::keyClick(&show, Qt::Key_Control);
    EXPECT_FALSE(show.Timer1->isActive());
    EXPECT_EQ(Slide(), kColours[0]);
    QTest::keyClick(&show, Qt::Key_Control);
    EXPECT_TRUE(show.Timer1->isActive());
    EXPECT_EQ(Slide(), kColours[1]);
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
        project.Settings().Put(ShowSettings::kAdvance, QString::fromLatin1(c.advance));
        Start();
        if (c.pauseFirst)
            QTest::keyClick(&show, Qt::Key_Control);
        bool helpShown = false;
        bool timerDuringHelp = true;
        QTimer::singleShot(0, show.OnHelper, [&] {
            helpShown = show.OnHelper->isVisible();
            timerDuringHelp = show.Timer1->isActive();
            if (c.closeWithEscape)
                QTest::keyClick(show.OnHelper, Qt::Key_Escape);
            else
                show.OnHelper->Button1->click();
        });
        QTest::keyClick(&show, Qt::Key_F1);
        EXPECT_TRUE(helpShown);
        EXPECT_FALSE(timerDuringHelp);
        EXPECT_FALSE(show.OnHelper->isVisible());
        EXPECT_EQ(show.Timer1->isActive(), c.timerAfter) << c.advance << c.pauseFirst;
        EXPECT_EQ(Slide(), kColours[0]);
        show.close();
    }
}

TEST_F(PlayerWindowTest, KeysAndTicksDuringAStepAreActedOnAfterIt)
{
    Start();
    bool visibleAfterTransition = false;
    show.Trans->Items(13)->OnStartTransition = [&](QObject *) { QTest::keyClick(&show, Qt::Key_Escape); };
    show.Trans->Items(13)->OnAfterTransition = [&](QObject *) { visibleAfterTransition = show.isVisible(); };
    show.Timer1Timer();
    EXPECT_TRUE(visibleAfterTransition);
    EXPECT_EQ(Slide(), kColours[1]);
    EXPECT_FALSE(show.isVisible());
    EXPECT_FALSE(RenderWindowLeft());

    // A tick falling due while the caption bar is repainted runs after the step, whose
    // caption and picture therefore stay together.
    show.Trans->Items(13)->OnStartTransition = nullptr;
    show.Trans->Items(13)->OnAfterTransition = nullptr;
    Start();
    std::vector<QString> captionsAtTransition;
    show.Trans->Items(13)->OnStartTransition = [&](QObject *) { captionsAtTransition.push_back(Caption()); };
    QTimer::singleShot(0, &show, [&] { show.Timer1Timer(); });
    show.Timer1Timer();
    EXPECT_EQ(captionsAtTransition, std::vector<QString>({QStringLiteral("2. p1.bmp"), QStringLiteral("3. p2.bmp")}));
    EXPECT_EQ(Slide(), kColours[2]);
}

TEST_F(PlayerWindowTest, UnreadablePictureIsReportedOnceAndSkipped)
{
    project.Settings().Put(ShowSettings::kLooping, QStringLiteral("Loop"));
    const QString missing = dir.filePath(QStringLiteral("gone.jpg"));
    project.Pictures()[1] = missing;
    Start();
    show.Timer1Timer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_EQ(Caption(), QStringLiteral("3. p2.bmp"));
    EXPECT_TRUE(show.Notice->isVisible());
    EXPECT_TRUE(show.Notice->text().contains(missing));
    EXPECT_FALSE(RenderWindowLeft());
    show.Notice->hide();
    show.Timer1Timer();
    show.Timer1Timer();
    EXPECT_EQ(Slide(), kColours[2]);
    EXPECT_FALSE(show.Notice->isVisible());
    EXPECT_TRUE(show.isVisible());
}

TEST_F(PlayerWindowTest, SlideIsSizedAndCentredOnTheWholeScreen)
{
    // The offscreen screen is 800 x 800 (proportion 1); ties round to even.
    ASSERT_EQ(TSShow::ScreenSize(), QSize(800, 800));
    const struct
    {
        QSize picture;
        const char *size;
        bool shadow;
        QRect expected;
    } cases[] = {
        {{1600, 1200}, "100", false, {-2, 99, 803, 602}},  // 803 / (4/3) = 602.25; -3 / 2 = -1.5
        {{400, 100}, "50", true, {198, 350, 403, 101}},    // 403 / 4 = 100.75; 198.5 and 349.5
        {{100, 300}, "50", true, {333, 198, 134, 403}},    // 403 / 3 = 134.3; 397 / 2 = 198.5
        {{300, 201}, "No", false, {250, 300, 300, 201}},   // own size; 599 / 2 = 299.5
    };
    for (const auto &c : cases) {
        project.Pictures() = {WritePicture(dir.filePath(QStringLiteral("s.bmp")), c.picture, Qt::yellow)};
        project.Settings().Put(ShowSettings::kPictureSize, QString::fromLatin1(c.size));
        project.Settings().Put(ShowSettings::kShadow, c.shadow ? QStringLiteral("Shadow") : QStringLiteral("No"));
        Start();
        ExpectDeviceRect(show.Image1, c.expected);
        EXPECT_EQ(show.Image1->Picture().size(), c.expected.size());
        EXPECT_EQ(show.Shape1->isVisible(), c.shadow);
        if (c.shadow)
            ExpectDeviceRect(show.Shape1, c.expected.translated(10, 10));
        show.close();
    }
}

TEST_F(PlayerWindowTest, BackgroundIsBuiltFromTheSettings)
{
    ShowSettings &settings = project.Settings();
    settings.Put(ShowSettings::kBackgroundKind, QStringLiteral("Color"));
    settings.Put(ShowSettings::kBackground, QStringLiteral("$00281800_$00281800"));
    Start();
    EXPECT_TRUE(show.ProImage1->Picture().isNull());
    EXPECT_EQ(show.Pano->palette().color(QPalette::Window), QColor(0x00, 0x18, 0x28));
    show.close();

    settings.Put(ShowSettings::kBackground, QStringLiteral("$00D5E7EA_clWhite"));
    Start();
    const QImage gradient = show.ProImage1->Picture();
    ASSERT_EQ(gradient.size(), QSize(800, 800));
    EXPECT_EQ(gradient.pixel(0, 0), qRgb(0xEA, 0xE7, 0xD5));
    EXPECT_EQ(gradient.pixel(799, 799), qRgb(0xFF, 0xFF, 0xFF));
    // Band 128 starts at row 800 * 128 / 256 = 400; its colour adds 128 / 255 of each difference.
    EXPECT_EQ(gradient.pixel(5, 400), qRgb(0xEA + MulDiv(128, 0x15, 255), 0xE7 + MulDiv(128, 0x18, 255), 0xD5 + MulDiv(128, 0x2A, 255)));
    EXPECT_EQ(gradient.pixel(5, 399), gradient.pixel(5, 397));
    show.close();

    // A 300 x 200 picture tiled over the panel above the caption bar (800 x 774 at a scale of 1).
    QImage tile(300, 200, QImage::Format_RGB32);
    tile.fill(Qt::darkCyan);
    tile.setPixel(0, 0, qRgb(1, 2, 3));
    const QString tilePath = dir.filePath(QStringLiteral("tile.bmp"));
    QFile tileFile(tilePath);
    ASSERT_TRUE(tileFile.open(QIODevice::WriteOnly));
    tileFile.write(testpictures::makeBmp(tile));
    tileFile.close();
    settings.Put(ShowSettings::kBackgroundKind, QStringLiteral("BackFile"));
    settings.Put(ShowSettings::kBackground, tilePath);
    settings.Put(ShowSettings::kPlacement, QStringLiteral("Tile"));
    Start();
    const QSize pano = DeviceSize(show.Pano);
    ASSERT_EQ(pano, QSize(800, 800 - 26 * show.devicePixelRatio()));
    const QImage shown = show.ProImage1->Shown();
    for (int x : {0, 300, 600})
        for (int y : {0, 200, 400, 600})
            EXPECT_EQ(shown.pixel(x, y), qRgb(1, 2, 3)) << x << "," << y;
    EXPECT_EQ(shown.pixel(301, 201), QColor(Qt::darkCyan).rgb());
    show.close();

    settings.Put(ShowSettings::kPlacement, QStringLiteral("Center"));
    Start();
    EXPECT_FALSE(show.ProImage1->Tiled());
    EXPECT_TRUE(show.ProImage1->Center());
    EXPECT_EQ(show.ProImage1->Shown().pixel((pano.width() - 300) / 2, (pano.height() - 200) / 2), qRgb(1, 2, 3));
}

TEST_F(PlayerWindowTest, PointerIsHiddenExceptOverThePictureAfterAMove)
{
    Start();
    EXPECT_EQ(show.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(show.Image1->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(show.ProImage1->cursor().shape(), Qt::BlankCursor);
    QMouseEvent overBackground(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(show.ProImage1, &overBackground);
    EXPECT_EQ(show.ProImage1->cursor().shape(), Qt::BlankCursor);
    QMouseEvent overPicture(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(show.Image1, &overPicture);
    EXPECT_EQ(show.Image1->cursor().shape(), Qt::ArrowCursor);
    show.Timer1Timer();
    EXPECT_EQ(show.Image1->cursor().shape(), Qt::BlankCursor);
}

TEST_F(PlayerWindowTest, CaptionBarFollowsLineEight)
{
    project.Settings().Put(ShowSettings::kCaption, QStringLiteral("No"));
    Start();
    EXPECT_FALSE(show.Panel1->isVisible());
    EXPECT_EQ(DeviceSize(show.Pano), QSize(800, 800));
    EXPECT_EQ(Caption(), QStringLiteral("1. p0.bmp"));
    show.close();

    project.Settings().Put(ShowSettings::kCaption, QStringLiteral("clRed"));
    Start();
    EXPECT_TRUE(show.Panel1->isVisible());
    EXPECT_EQ(show.Panel1->height(), 26);
    EXPECT_EQ(show.Panel1->font().pixelSize(), 16);
    EXPECT_EQ(show.Panel1->palette().color(QPalette::Window), QColor(Qt::red));
}

TEST_F(PlayerWindowTest, MusicStopsWithTheShowAndTheNextShowStartsAtTheFirstTrack)
{
    const QString a = testsounds::writeWav(QStringLiteral("player-a.wav"), 3000, 440);
    const QString b = testsounds::writeWav(QStringLiteral("player-b.wav"), 3000, 660);
    project.Playlist() = {a, b};
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("NoRepeat"));
    Start();
    EXPECT_EQ(show.MediaPlayer1.Player().fileName(), a);
    EXPECT_TRUE(show.LenTimer->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return show.MediaPlayer1.Player().position() > 100; }, kWaitMs));
    QTest::keyClick(&show, Qt::Key_Escape);
    EXPECT_FALSE(show.LenTimer->isActive());
    const qint64 stoppedAt = show.MediaPlayer1.Player().position();
    QTest::qWait(300);
    EXPECT_EQ(show.MediaPlayer1.Player().position(), stoppedAt);

    // The next show opens the first track again; a show without music plays nothing.
    Start();
    EXPECT_EQ(show.MediaPlayer1.Player().fileName(), a);
    EXPECT_EQ(show.MediaPlayer1.NextTrack(), 1);
    show.close();
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("No music"));
    Start();
    EXPECT_FALSE(show.LenTimer->isActive());
    EXPECT_FALSE(show.MediaPlayer1.Active());
}

TEST_F(PlayerWindowTest, ShortTracksFollowEachOtherThenSilence)
{
    const QString a = testsounds::writeWav(QStringLiteral("short-a.wav"), 400, 440);
    const QString b = testsounds::writeWav(QStringLiteral("short-b.wav"), 400, 660);
    project.Playlist() = {a, b};
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("NoRepeat"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show.MediaPlayer1.Player().fileName() == b; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !show.MediaPlayer1.Player().isPlaying(); }, kWaitMs));
    QTest::qWait(400);
    EXPECT_EQ(show.MediaPlayer1.Player().fileName(), b);
    EXPECT_TRUE(show.isVisible());
}

TEST_F(PlayerWindowTest, RepeatedPlaylistStartsOverAfterItsLastTrack)
{
    const QStringList tracks = {testsounds::writeWav(QStringLiteral("rep-a.wav"), 300, 440),
                                testsounds::writeWav(QStringLiteral("rep-b.wav"), 300, 550),
                                testsounds::writeWav(QStringLiteral("rep-c.wav"), 300, 660)};
    project.Playlist() = tracks;
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("RepeatMusic"));
    Start();
    QStringList started{show.MediaPlayer1.Player().fileName()};
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (show.MediaPlayer1.Player().fileName() != started.last())
            started << show.MediaPlayer1.Player().fileName();
    });
    sampler.start(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() >= 4; }, kWaitMs));
    EXPECT_EQ(started.mid(0, 4), QStringList({tracks[0], tracks[1], tracks[2], tracks[0]}));
}

TEST_F(PlayerWindowTest, LaterTrackThatFailsIsNamedOnceAndSkipped)
{
    const QString a = testsounds::writeWav(QStringLiteral("later-a.wav"), 300, 440);
    const QString c = testsounds::writeWav(QStringLiteral("later-c.wav"), 3000, 550);
    const QString missing = dir.filePath(QStringLiteral("later-b.wav"));
    project.Playlist() = {a, missing, c};
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("NoRepeat"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return show.MediaPlayer1.Player().fileName() == c; }, kWaitMs));
    EXPECT_TRUE(show.Notice->isVisible());
    EXPECT_TRUE(show.Notice->text().contains(QStringLiteral("later-b.wav")));
    EXPECT_TRUE(show.isVisible());
    EXPECT_TRUE(show.LenTimer->isActive());
}

TEST_F(PlayerWindowTest, FailuresAtTheStartStopTheShowAndItsMusic)
{
    const QString music = testsounds::writeWav(QStringLiteral("long.wav"), 5000);
    const QString missing = dir.filePath(QStringLiteral("missing.wav"));

    project.Playlist() = {missing, music};
    project.Settings().Put(ShowSettings::kMusic, QStringLiteral("RepeatMusic"));
    EXPECT_EQ(show.StartShow(project), TSShow::StartResult::Failed);
    EXPECT_FALSE(show.ErrorText().isEmpty());
    EXPECT_FALSE(show.LenTimer->isActive());

    project.Playlist() = {music};
    project.Settings().Put(ShowSettings::kBackgroundKind, QStringLiteral("BackFile"));
    project.Settings().Put(ShowSettings::kBackground, dir.filePath(QStringLiteral("nowhere.bmp")));
    EXPECT_EQ(show.StartShow(project), TSShow::StartResult::Failed);
    EXPECT_TRUE(show.ErrorText().contains(QStringLiteral("nowhere.bmp")));
    EXPECT_FALSE(show.LenTimer->isActive());
    EXPECT_FALSE(show.MediaPlayer1.Active());
    const qint64 position = show.MediaPlayer1.Player().position();
    QTest::qWait(300);
    EXPECT_EQ(show.MediaPlayer1.Player().position(), position);

    project.Pictures().clear();
    EXPECT_EQ(show.StartShow(project), TSShow::StartResult::NoPictures);
    EXPECT_FALSE(show.isVisible());
}

TEST(HotKeyHelp, ListsTheKeysAndReportsItsClosing)
{
    TOnHelper help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(help.Label1->text(), QStringLiteral("Help about hot keys:"));
    const QStringList lines = help.RichEdit1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines.at(0), QStringLiteral("<F1>"));
    EXPECT_EQ(lines.at(3), QStringLiteral("<Enter> or Left mouse click"));
    EXPECT_EQ(lines.at(6), QStringLiteral("<Backspace> or <Left> button"));
    EXPECT_EQ(lines.at(10), QStringLiteral("Pause / Resume"));
    EXPECT_EQ(lines.at(13), QStringLiteral("Exit presentation"));
    EXPECT_EQ(lines.at(14), QStringLiteral(" "));
    EXPECT_TRUE(lines.at(11).isEmpty());
    EXPECT_TRUE(help.RichEdit1->isReadOnly());

    int closings = 0;
    QObject::connect(&help, &TOnHelper::FormClose, [&] { ++closings; });
    for (int way = 0; way < 3; ++way) {
        help.show();
        if (way == 0)
            help.Button1->click();
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
    settings.Put(ShowSettings::kBackgroundKind, QStringLiteral("BackFile"));
    settings.Put(ShowSettings::kBackground, dir.filePath(QStringLiteral("none.bmp")));
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

TEST(PlayCommand, PlaysAProjectToItsEndAndExitsWithZero)
{
    QTemporaryDir dir;
    ShowSettings settings;
    settings.Put(ShowSettings::kAdvance, QStringLiteral("1"));
    settings.Put(ShowSettings::kLooping, QStringLiteral("No"));
    const QString picture = WritePicture(dir.filePath(QStringLiteral("only.bmp")), {32, 32}, Qt::cyan);
    const QString path = dir.filePath(QStringLiteral("one.zut"));
    WriteTextFile(path, BuildProjectText(settings, {picture}, {QStringLiteral("12")}, {}));
    bool shownFullScreen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto *show = qobject_cast<TSShow *>(QApplication::activeModalWidget()))
            shownFullScreen = show->isFullScreen() && show->Panel1->text() == QStringLiteral("1. only.bmp");
    });
    probe.start(50);
    std::FILE *errors = std::tmpfile();
    EXPECT_EQ(PlayProjectFile(path, errors), 0);
    EXPECT_EQ(std::ftell(errors), 0);
    std::fclose(errors);
    EXPECT_TRUE(shownFullScreen);
}
