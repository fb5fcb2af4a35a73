// SPDX-License-Identifier: GPL-3.0-or-later
// lumetta-fx: runs the transition library's effects headless (render, bench) and lists the catalogue.

#include "common/licence.h"
#include "common/random.h"
#include "common/regular_file.h"
#include "common/replacement_file.h"
#include "player/effect_catalogue.h"
#include "transitions/engine/form_reader.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace lumetta {
namespace {

struct UsageError
{
    QString message;
};

void Print(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

struct Options
{
    QString from, to, className, out;
    int effectNumber = -1;
    QStringList sets;
    int bits = 0;
    int step = 1;
    bool seeded = false;
    std::uint32_t seed = 0;
    bool allFrames = false;
    QSet<int> frames;
    QSize size{1920, 1080};
    int repeat = 5;
};

int ToInt(const QString &text, const QString &option)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("%1 needs a number, not \"%2\"").arg(option, text)};
    return value;
}

// A command line the tool cannot read: the usage is printed and the exit status is 2.
struct WrongCommandLine
{
    QString message;
};

// Every option of every command; each command takes the ones it names.
void AddOptions(QCommandLineParser &parser)
{
    const struct
    {
        const char *name;
        const char *value;
        const char *description;
    } options[] = {
        {"from", "OLD", "render: the old picture"},
        {"to", "NEW", "render: the new picture"},
        {"effect", "NUMBER", "the catalogue entry to run (see list)"},
        {"class", "CLASS", "the effect class to run"},
        {"set", "PROP=VALUE", "a property of the effect; may be repeated"},
        {"bpp", "BITS", "the screen's bits per pixel: 8, 15, 16, 24 or 32"},
        {"step", "S", "render: draw every S-th frame"},
        {"seed", "N", "render: the clock seed"},
        {"frames", "all|F,F,...", "render: the frames to write"},
        {"out", "DIR", "render: the folder for the frames"},
        {"size", "WxH", "bench: the pictures' size"},
        {"repeat", "R", "bench: how many passes to time"},
    };
    for (const auto &option : options)
        parser.addOption(QCommandLineOption(QLatin1String(option.name), QLatin1String(option.description),
                                            QLatin1String(option.value)));
}

// A bench holds several frames of the size at once; larger ones would not fit in memory.
constexpr int kMaxBenchSide = 16384;
constexpr qint64 kMaxBenchPixels = qint64(7680) * 4320;

void CheckBenchSize(QSize size)
{
    if (size.width() > kMaxBenchSide || size.height() > kMaxBenchSide
        || qint64(size.width()) * size.height() > kMaxBenchPixels)
        throw UsageError{QStringLiteral("--size %1x%2 is too large: at most %3 pixels a side and %4 pixels in all")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(kMaxBenchSide)
                             .arg(kMaxBenchPixels)};
}

Options ParseOptions(const QCommandLineParser &parser, const QStringList &allowed)
{
    Options options;
    for (const QString &given : parser.optionNames()) {
        const QString name = QStringLiteral("--") + given;
        if (!allowed.contains(name))
            throw WrongCommandLine{QStringLiteral("unknown option %1").arg(name)};
    }
    // Each option's values in the order given; a later value of a one-value option wins.
    QList<std::pair<QString, QString>> values;
    for (const QString &name : allowed)
        for (const QString &value : parser.values(name.mid(2)))
            values.append({name, value});
    for (const auto &[name, value] : values) {
        if (name == QLatin1String("--from")) {
            options.from = value;
        } else if (name == QLatin1String("--to")) {
            options.to = value;
        } else if (name == QLatin1String("--class")) {
            options.className = value;
        } else if (name == QLatin1String("--effect")) {
            options.effectNumber = ToInt(value, name);
        } else if (name == QLatin1String("--set")) {
            options.sets.append(value);
        } else if (name == QLatin1String("--bpp")) {
            options.bits = ToInt(value, name);
            if (!SetScreenBitsPerPixel(options.bits) || options.bits == 0)
                throw UsageError{QStringLiteral("--bpp must be 8, 15, 16, 24 or 32")};
        } else if (name == QLatin1String("--step")) {
            options.step = ToInt(value, name);
            if (options.step < 1)
                throw UsageError{QStringLiteral("--step must be at least 1")};
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            options.seed = value.toUInt(&ok);
            if (!ok)
                throw UsageError{QStringLiteral("--seed needs a number from 0 to 4294967295")};
            options.seeded = true;
        } else if (name == QLatin1String("--frames")) {
            if (value == QLatin1String("all")) {
                options.allFrames = true;
            } else {
                for (const QString &part : value.split(QLatin1Char(',')))
                    options.frames.insert(ToInt(part, name));
            }
        } else if (name == QLatin1String("--out")) {
            options.out = value;
        } else if (name == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            if (parts.size() != 2)
                throw UsageError{QStringLiteral("--size needs WIDTHxHEIGHT")};
            options.size = QSize(ToInt(parts[0], name), ToInt(parts[1], name));
            if (options.size.width() < 1 || options.size.height() < 1)
                throw UsageError{QStringLiteral("--size needs a positive width and height")};
            CheckBenchSize(options.size);
        } else if (name == QLatin1String("--repeat")) {
            options.repeat = ToInt(value, name);
            if (options.repeat < 1)
                throw UsageError{QStringLiteral("--repeat must be at least 1")};
        }
    }
    if ((options.effectNumber >= 0) == !options.className.isEmpty())
        throw UsageError{QStringLiteral("give either --effect NUMBER or --class CLASS")};
    return options;
}

// The player's copy of the effect catalogue.
std::unique_ptr<TTransitionList> ReadCatalogue()
{
    auto list = std::make_unique<TTransitionList>();
    lumetta::LoadEffectCatalogue(*list, false);
    return list;
}

// The effect the options name, configured by the catalogue entry and then the --set values.
std::unique_ptr<TTransitionEffect> MakeEffect(const Options &options)
{
    std::unique_ptr<TTransitionEffect> effect;
    if (options.effectNumber >= 0) {
        std::unique_ptr<TTransitionList> catalogue = ReadCatalogue();
        if (options.effectNumber >= catalogue->Count())
            throw UsageError{QStringLiteral("there is no effect %1 in the catalogue").arg(options.effectNumber)};
        TTransitionEffect *entry = catalogue->Items(options.effectNumber);
        catalogue->RemoveTransition(entry);
        entry->setParent(nullptr);
        effect.reset(entry);
    } else {
        effect.reset(CreateTransitionEffect(options.className));
        if (!effect)
            throw UsageError{QStringLiteral("unknown effect class %1 (known: %2)")
                                 .arg(options.className, RegisteredTransitionClasses().join(QStringLiteral(", ")))};
    }
    for (const QString &assignment : options.sets)
        SetPropertyFromAssignment(effect.get(), assignment);
    return effect;
}

QImage ReadPicture(const QString &path, const char *option)
{
    if (path.isEmpty())
        throw UsageError{QStringLiteral("%1 PICTURE is required").arg(QLatin1String(option))};
    // Only a regular file: a pipe would keep the tool waiting, a device would never end.
    lumetta::RegularFile file(path);
    if (!file.IsOpen())
        throw UsageError{QStringLiteral("cannot read picture %1: %2").arg(path, file.ErrorString())};
    QImageReader reader(&file.Device());
    const QImage image = reader.read();
    if (image.isNull())
        throw UsageError{QStringLiteral("cannot read picture %1: %2").arg(path, reader.errorString())};
    return image;
}

void Save(const QImage &image, const QString &path)
{
    // Writing opens what stands there: a pipe would hang and a device would take the picture.
    if (const std::optional<QString> problem = ReplacementFile::TargetProblem(path))
        throw UsageError{QStringLiteral("cannot write %1: %2").arg(path, *problem)};
    const QImage out = image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    if (!out.save(path, "PNG"))
        throw UsageError{QStringLiteral("cannot write %1").arg(path)};
}

int Render(const QCommandLineParser &args)
{
    const Options options = ParseOptions(
        args, {"--from", "--to", "--effect", "--class", "--set", "--bpp", "--step", "--seed", "--frames", "--out"});
    if (options.out.isEmpty())
        throw UsageError{QStringLiteral("--out DIR is required")};
    const QImage from = ReadPicture(options.from, "--from");
    const QImage to = ReadPicture(options.to, "--to");
    if (from.size() != to.size())
        throw UsageError{QStringLiteral("the pictures differ in size (%1x%2 and %3x%4)")
                             .arg(from.width())
                             .arg(from.height())
                             .arg(to.width())
                             .arg(to.height())};
    std::unique_ptr<TTransitionEffect> effect = MakeEffect(options);
    if (!QDir().mkpath(options.out))
        throw UsageError{QStringLiteral("cannot create folder %1").arg(options.out)};
    if (options.seeded)
        lumetta::SetClockSeedSource([seed = options.seed] { return seed; });

    const QDir out(options.out);
    bool counted = false;
    FrameStepping stepping;
    stepping.step = options.step;
    stepping.passStarted = [&](int, int frameCount) {
        if (!counted)
            Print(QStringLiteral("frames %1\n").arg(frameCount));
        counted = true;
    };
    stepping.frameShown = [&](int pass, int frame, const QImage &shown) {
        if (!options.allFrames && !options.frames.contains(frame))
            return;
        const QString name = QStringLiteral("%1frame-%2.png")
                                 .arg(pass == 2 ? QStringLiteral("pass2-") : QString())
                                 .arg(frame, 5, 10, QLatin1Char('0'));
        Save(shown, out.filePath(name));
    };
    // A pass without frames ends silently; the area shows the new picture.
    const HeadlessRun run = RunHeadless(*effect, from, to, stepping);
    if (!counted)
        Print(QStringLiteral("frames 0\n"));
    Save(run.final, out.filePath(QStringLiteral("final.png")));
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Bench(const QCommandLineParser &args)
{
    const Options options = ParseOptions(args, {"--effect", "--class", "--set", "--size", "--bpp", "--repeat"});
    if (!options.bits)
        SetScreenBitsPerPixel(32);
    std::unique_ptr<TTransitionEffect> effect = MakeEffect(options);
    effect->SetMilliseconds(0);

    // No two words of the pictures are equal, so no kernel can skip work.
    const QImage from = NoisePicture(options.size, 1);
    const QImage to = NoisePicture(options.size, 2);

    int frameCount = 0;
    using Clock = std::chrono::steady_clock;
    std::vector<double> passes;
    // One pass untimed first: the figures are those of a program under way, not of the first
    // pass of a process, which also pays for fresh memory.
    RunHeadless(*effect, from, to);
    for (int i = 0; i < options.repeat; ++i) {
        const auto start = Clock::now();
        HeadlessRun run = RunHeadless(*effect, from, to);
        passes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        frameCount = std::max(run.frameCount, 0);
    }

    // Between frame buffers as the engine allocates them (bitmap.h), so the copy runs at full speed.
    QImage source = AlignedCopy(ConvertToPixelFormat(from, ScreenPixelFormat()));
    QImage target = AlignedCopy(ConvertToPixelFormat(to, ScreenPixelFormat()));
    const size_t bytes = size_t(std::min(source.sizeInBytes(), target.sizeInBytes()));
    uchar *copyTo = target.bits();
    uchar *copyFrom = source.bits();
    std::vector<double> copies;
    for (int i = 0; i < std::max(5, options.repeat); ++i) {
        const auto start = Clock::now();
        std::memcpy(copyTo, copyFrom, bytes);
        copies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        copyFrom[size_t(i) % bytes] = copyTo[(size_t(i) * 7) % bytes];
    }
    const double pass = Median(passes);
    const double frame = frameCount > 1 ? pass / (frameCount - 1) : pass;
    std::printf("frames %d pass_ms %.3f frame_ms %.4f memcpy_ms %.4f\n", frameCount, pass, frame, Median(copies));
    return 0;
}

int List()
{
    for (const QString &line : lumetta::EffectCatalogueListing(*ReadCatalogue()))
        Print(line + QLatin1Char('\n'));
    return 0;
}

const char kUsage[] =
    "usage: lumetta-fx list\n"
    "       lumetta-fx render --from OLD --to NEW (--effect NUMBER | --class CLASS) [--set PROP=VALUE]...\n"
    "                         [--bpp BITS] [--step S] [--seed N] [--frames all|F,F,...] --out DIR\n"
    "       lumetta-fx bench (--effect NUMBER | --class CLASS) [--set PROP=VALUE]... [--size WxH]\n"
    "                        [--bpp BITS] [--repeat R]\n"
    "       lumetta-fx -h | --help | --help-all | -v | --version\n";

}  // namespace
}  // namespace lumetta

int main(int argc, char **argv)
{
    using namespace lumetta;
    // A headless tool: no display is needed unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    AddOptions(parser);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list, render or bench"));
    const auto refuse = [](const QString &message) {
        std::fprintf(stderr, "lumetta-fx: %s\n%s", message.toLocal8Bit().constData(), kUsage);
        return 2;
    };
    if (!parser.parse(app.arguments()))
        return refuse(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs("lumetta-fx runs the transition effects of Lumetta without a display.\n", stdout);
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs(lumetta::VersionText("lumetta-fx", LUMETTA_VERSION).c_str(), stdout);
        return 0;
    }
    const QStringList commands = parser.positionalArguments();
    if (commands.size() != 1)
        return refuse(commands.isEmpty() ? QStringLiteral("no command given")
                                         : QStringLiteral("one command at a time: %1").arg(commands.join(u' ')));
    const QString command = commands[0];
    try {
        InitTransitionEngine();
        if (command == QLatin1String("render"))
            return Render(parser);
        if (command == QLatin1String("bench"))
            return Bench(parser);
        if (command == QLatin1String("list"))
            return parser.optionNames().isEmpty() ? List() : refuse(QStringLiteral("list takes no options"));
        return refuse(QStringLiteral("unknown command %1").arg(command));
    } catch (const WrongCommandLine &error) {
        return refuse(error.message);
    } catch (const UsageError &error) {
        std::fprintf(stderr, "lumetta-fx: %s\n", error.message.toLocal8Bit().constData());
    } catch (const TransitionError &error) {
        std::fprintf(stderr, "lumetta-fx: %s\n", error.what());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "lumetta-fx: %s\n", error.what());
    }
    return 1;
}
