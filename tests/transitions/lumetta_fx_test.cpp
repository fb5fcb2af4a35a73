// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace lumetta {

namespace {

struct Result
{
    int code;
    QString out, err;
};

Result RunFx(const QStringList &args, const QString &screenBits = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    if (!screenBits.isNull())
        environment.insert("LUMETTA_SCREEN_BPP", screenBits);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMETTA_FX), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class FxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QImage a(21, 13, QImage::Format_RGB32);
        a.fill(qRgb(200, 10, 10));
        QImage b(21, 13, QImage::Format_RGB32);
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                b.setPixel(x, y, qRgb(x * 12, y * 19, 255 - x * 5));
        ASSERT_TRUE(a.save(Path("A.png")));
        ASSERT_TRUE(b.save(Path("B.png")));
        newPicture_ = b;
        ASSERT_TRUE(a.scaled(5, 5).save(Path("small.png")));
    }
    QString Path(const char *name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    QImage newPicture_;
};

TEST_F(FxTest, FlickerFreeRenderEndsWithTheNewPicture)
{
    const Result result = RunFx({"render", "--class", "TFlickerFreeTransition", "--from", Path("A.png"), "--to",
                                 Path("B.png"), "--out", Path("D")});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "frames 0\n");
    const QImage final(Path("D/final.png"));
    ASSERT_EQ(final.size(), newPicture_.size());
    for (int y = 0; y < final.height(); ++y)
        for (int x = 0; x < final.width(); ++x)
            ASSERT_EQ(final.pixel(x, y), newPicture_.pixel(x, y)) << x << "," << y;
}

// The screen's bits per pixel from the environment choose the pixel format of the pictures.
TEST_F(FxTest, ScreenBitsFromTheEnvironment)
{
    const QStringList args{"render",      "--class",     "TFlickerFreeTransition",
                           "--from",      Path("A.png"), "--to",
                           Path("B.png"), "--out",       Path("P")};
    Result result = RunFx(args, "8");
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QImage final(Path("P/final.png"));
    // Every pixel is a colour of the fixed palette: channels on the 0, 51, ... cube or a grey.
    for (int y = 0; y < final.height(); ++y)
        for (int x = 0; x < final.width(); ++x) {
            const QRgb rgb = final.pixel(x, y);
            const bool cube = qRed(rgb) % 51 == 0 && qGreen(rgb) % 51 == 0 && qBlue(rgb) % 51 == 0;
            ASSERT_TRUE(cube || (qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb))) << x << "," << y;
        }
    EXPECT_EQ(final.pixel(0, 0), qRgb(0, 0, 255));

    result = RunFx(args, "12");
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.err.contains("LUMETTA_SCREEN_BPP=12 is not one of 8, 15, 16, 24, 32"))
        << result.err.toStdString();
    EXPECT_EQ(QImage(Path("P/final.png")).pixel(3, 2), newPicture_.pixel(3, 2));
}

TEST_F(FxTest, RejectsBadInput)
{
    struct Case
    {
        QStringList args;
        const char *message;
    };
    const QString a = Path("A.png"), b = Path("B.png"), out = Path("E");
    // A pipe given as a picture is refused at once (opening it would wait for a writer).
    const QString pipe = Path("pipe.png");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QByteArray pipeRefusal = ("cannot read picture " + pipe + ": it is a pipe, not a regular file").toUtf8();
    const Case cases[] = {
        {{"render", "--class", "TNoSuch", "--from", a, "--to", b, "--out", out}, "unknown effect class TNoSuch"},
        {{"render", "--class", "TFlickerFreeTransition", "--set", "Speed=3", "--from", a, "--to", b, "--out", out},
         "has no property Speed"},
        {{"render", "--class", "TFlickerFreeTransition", "--set", "Enabled=2", "--from", a, "--to", b, "--out", out},
         "Invalid value 2 for property Enabled"},
        {{"render", "--class", "TFlickerFreeTransition", "--from", Path("none.png"), "--to", b, "--out", out},
         "cannot read picture"},
        {{"render", "--class", "TFlickerFreeTransition", "--from", pipe, "--to", b, "--out", out},
         pipeRefusal.constData()},
        {{"render", "--class", "TFlickerFreeTransition", "--from", a, "--to", "/dev/zero", "--out", out},
         "cannot read picture /dev/zero: it is a device, not a regular file"},
        {{"render", "--class", "TFlickerFreeTransition", "--from", Path("small.png"), "--to", b, "--out", out},
         "the pictures differ in size"},
        {{"render", "--class", "TFlickerFreeTransition", "--bpp", "12", "--from", a, "--to", b, "--out", out},
         "--bpp must be 8, 15, 16, 24 or 32"},
        {{"bench", "--class", "TFlickerFreeTransition", "--size", "0x5"}, "--size needs a positive"},
        {{"bench", "--class", "TBlendTransition", "--size", "100000x100000"},
         "--size 100000x100000 is too large: at most 16384 pixels a side and 33177600 pixels in all"},
        {{"bench", "--class", "TBlendTransition", "--size", "16384x16384"}, "--size 16384x16384 is too large"},
        {{"bench", "--class", "TWipeTransition", "--set", "BandWidth=2147483647"},
         "Invalid value 2147483647 for property BandWidth: it must lie between 0 and 16384"},
        {{"bench", "--class", "TWipeTransition", "--set", "Milliseconds=clRed"},
         "Invalid value clRed for property Milliseconds"},
        {{"bench", "--class", "TCircleTransition", "--set", "Style=70000"}, "Invalid value 70000 for property Style"},
        {{"bench", "--class", "TWipeTransition", "--set", "BandWidth"}, "An assignment needs PROPERTY=VALUE"},
    };
    for (const Case &c : cases) {
        const Result result = RunFx(c.args);
        EXPECT_NE(result.code, 0) << c.message;
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
    }
}

TEST_F(FxTest, HelpVersionAndWrongCommandLines)
{
    const Result help = RunFx({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("usage: lumetta-fx list")) << help.out.toStdString();
    const Result version = RunFx({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith("lumetta-fx (Lumetta XP) 3.51\nCopyright (C) 2024 the Lumetta developers\n"
                                       "License GPL-3.0-or-later"))
        << version.out.toStdString();
    const struct
    {
        QStringList args;
        const char *message;
    } cases[] = {
        {{}, "no command given"},
        {{"--bogus", "list"}, "Unknown option 'bogus'"},
        {{"list", "--out", "x"}, "list takes no options"},
        {{"paint"}, "unknown command paint"},
        {{"list", "render"}, "one command at a time"},
        {{"bench", "--class", "TBlendTransition", "--out", "x"}, "unknown option --out"},
        {{"render", "--from"}, "Missing value after '--from'"},
    };
    for (const auto &c : cases) {
        const Result result = RunFx(c.args);
        EXPECT_EQ(result.code, 2) << c.message;
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("usage: lumetta-fx")) << c.message;
    }
}

TEST_F(FxTest, LaterValuesWinAndSetsApplyInOrder)
{
    const Result result =
        RunFx({"render", "--class", "TFlickerFreeTransition", "--from", Path("none.png"), "--from", Path("A.png"),
               "--to", Path("B.png"), "--set", "Enabled=false", "--set", "Enabled=true", "--out", Path("G")});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "frames 0\n");
}

TEST_F(FxTest, BenchPrintsOneLine)
{
    const Result result = RunFx({"bench", "--class", "TFlickerFreeTransition", "--size", "64x32", "--repeat", "2"});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(QRegularExpression("^frames 0 pass_ms [0-9.]+ frame_ms [0-9.]+ memcpy_ms [0-9.]+\n$")
                    .match(result.out)
                    .hasMatch())
        << result.out.toStdString();
}

}  // namespace

TEST_F(FxTest, ListPrintsTheCatalogueAndRenderTakesItsEntries)
{
    const Result list = RunFx({"list"});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    const QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[1], "1\tPuzzle\tTBlockTransition\tPuzzle\t1500");
    EXPECT_EQ(lines[21], "21\tTransition1\tTFlickerFreeTransition\tFlicker free cut\t0");
    // Entry 4 is a 7 x 7 grid whatever the picture's size.
    const Result render =
        RunFx({"render", "--effect", "4", "--from", Path("A.png"), "--to", Path("B.png"), "--out", Path("E")});
    ASSERT_EQ(render.code, 0) << render.err.toStdString();
    EXPECT_TRUE(render.out.startsWith("frames 49\n")) << render.out.toStdString();
    const Result missing =
        RunFx({"render", "--effect", "22", "--from", Path("A.png"), "--to", Path("B.png"), "--out", Path("F")});
    EXPECT_EQ(missing.code, 1);
}

}  // namespace lumetta
