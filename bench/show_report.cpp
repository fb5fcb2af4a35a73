// SPDX-License-Identifier: GPL-3.0-or-later
// The player as a user meets it, for bench/report.sh; runs on a real screen (Xvfb at 1920 x 1080).
//   show_report files DIR
//       writes the start-up shows into DIR: two 24-megapixel JPEGs, a WAV file and the projects
//       silent.zut and music.zut (the same show with the WAV as its first track)
//   show_report start PROJECT
//       plays PROJECT as `lumetta --play` does and prints "start MS": the time from
//       LUMETTA_LAUNCH_NS (the launch, CLOCK_REALTIME nanoseconds) to the first Execute
//   show_report paced ROUNDS [ENTRY,...]
//       every paced catalogue entry (or the ones given) once per round on full-screen noise
//       pictures; prints "paced ROUND ENTRY PASS_MS COVERAGE CPU": Execute's start to the end of
//       its last pass, the share of 60 Hz slots meanwhile that got a new frame on the screen, and
//       the process's CPU time over that wall time
//   show_report step ROUNDS
//       slide steps between 24-megapixel JPEGs, each after the previous slide was shown for 1.2 s;
//       prints "step ROUND MS" for the step's start to its Execute
#include "jpeg_sample.h"
#include "player/effect_catalogue.h"
#include "player/player_window.h"
#include "show/show_project.h"
#include "support/wav_files.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <set>
#include <vector>

using namespace lumetta;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

bool WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

class NamedSave : public lumetta::StreamDialogs
{
public:
    explicit NamedSave(QString name) : lumetta::StreamDialogs(stderr), name_(std::move(name)) {}
    std::optional<QString> AskSaveName() override { return name_; }

private:
    QString name_;
};

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int WriteFiles(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    const QByteArray jpeg = makeSampleJpeg(6000, 4000);
    const QString first = dir.absoluteFilePath(QStringLiteral("first.jpg"));
    const QString second = dir.absoluteFilePath(QStringLiteral("second.jpg"));
    const QString music = dir.absoluteFilePath(QStringLiteral("music.wav"));
    QFile wav(testsounds::WriteWav(QStringLiteral("music.wav"), 20000));
    if (!WriteFile(first, jpeg) || !WriteFile(second, jpeg) || !wav.open(QIODevice::ReadOnly)
        || !WriteFile(music, wav.readAll()))
        return 1;
    for (const bool withMusic : {false, true}) {
        lumetta::ShowProject project;
        project.Pictures() = {first, second};
        project.EffectSelection() = {QStringLiteral("13")};
        project.Settings().Put(lumetta::ShowSettings::AdvanceLine, QStringLiteral("Manual"));
        project.Settings().Put(lumetta::ShowSettings::MusicLine,
                               withMusic ? QStringLiteral("NoRepeat") : QStringLiteral("No music"));
        if (withMusic)
            project.Playlist() = {music};
        NamedSave dialogs(dir.absoluteFilePath(withMusic ? QStringLiteral("music") : QStringLiteral("silent")));
        if (project.SaveAs(dialogs) != lumetta::ShowProject::Outcome::Done)
            return 1;
    }
    return 0;
}

int Start(const QString &path)
{
    const qint64 launch = qEnvironmentVariable("LUMETTA_LAUNCH_NS").toLongLong();
    lumetta::StreamDialogs dialogs(stderr);
    lumetta::ShowProject project;
    if (project.OpenPath(QFileInfo(path).absoluteFilePath(), dialogs) != lumetta::ShowProject::Outcome::Done)
        return 1;
    lumetta::PlayerWindow window;
    double startMs = -1;
    for (int i = 0; i < window.Effects()->Count(); ++i) {
        TTransitionEffect *effect = window.Effects()->Items(i);
        effect->onBeforeTransition = [&](QObject *) {
            if (startMs >= 0)
                return;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            startMs = (double(now.tv_sec) * 1e9 + double(now.tv_nsec) - double(launch)) / 1e6;
        };
        effect->onAfterTransition = [&](QObject *) { QTimer::singleShot(0, &window, &QWidget::close); };
    }
    if (window.PlayNow(project) != lumetta::PlayerWindow::StartResult::Started || startMs < 0) {
        std::fprintf(stderr, "show_report: the show did not start: %s\n", qPrintable(window.ErrorText()));
        return 1;
    }
    std::printf("start %.1f\n", startMs);
    return 0;
}

// Counts the paints of the engine's render windows: frames that reach the screen.
class PaintTimes : public QObject
{
public:
    std::vector<Clock::time_point> times;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            times.push_back(Clock::now());
        return false;
    }
};

struct Show
{
    lumetta::ShowProject project;
    lumetta::PlayerWindow window;

    Show(const QStringList &pictures, const QStringList &effects)
    {
        project.Pictures() = pictures;
        project.EffectSelection() = effects;
        project.Settings().Put(lumetta::ShowSettings::AdvanceLine, QStringLiteral("Manual"));
        project.Settings().Put(lumetta::ShowSettings::PictureSizeLine, QStringLiteral("100"));
        project.Settings().Put(lumetta::ShowSettings::CaptionLine, QStringLiteral("No"));
        project.Settings().Put(lumetta::ShowSettings::LoopingLine, QStringLiteral("Loop"));
        window.StartShow(project);
        window.show();
        window.SetUpShow();
        Settle(300);
    }
    ~Show() { window.close(); }
};

int Paced(int rounds, std::vector<int> entries)
{
    QTemporaryDir dir;
    const QSize screen = lumetta::PlayerWindow::ScreenSize();
    QStringList pictures;
    for (quint32 seed : {1u, 2u}) {
        pictures << dir.filePath(QStringLiteral("noise%1.bmp").arg(seed));
        NoisePicture(screen, seed).save(pictures.last(), "BMP");
    }
    Show show(pictures, {QStringLiteral("0")});
    TTransitionList *effects = show.window.Effects();
    if (entries.empty())
        for (int i = 0; i < lumetta::kOfferedEffectCount; ++i)
            if (effects->Items(i)->Milliseconds() > 0)
                entries.push_back(i);
    PaintTimes paints;
    Clock::time_point start, end;
    double cpuStart = 0, cpuEnd = 0;
    for (int entry : entries) {
        TTransitionEffect *effect = effects->Items(entry);
        effect->onBeforeTransition = [&](QObject *) {
            for (RenderWindow *window : show.window.SlideArea()->findChildren<RenderWindow *>())
                window->installEventFilter(&paints);
            paints.times.clear();
            cpuStart = ProcessCpuMs();
            start = Clock::now();
        };
        effect->onEndTransition = [&](QObject *) {
            end = Clock::now();
            cpuEnd = ProcessCpuMs();
        };
    }
    constexpr double kSlotMs = 1000.0 / 60.0;
    for (int round = 1; round <= rounds; ++round) {
        for (int entry : entries) {
            show.project.EffectSelection() = {QString::number(entry)};
            show.window.Sequencer().Click();
            const double passMs = Ms(end - start);
            std::set<long> covered;
            for (const Clock::time_point &t : paints.times)
                if (t <= end)
                    covered.insert(long(Ms(t - start) / kSlotMs));
            const double slotCount = std::ceil(passMs / kSlotMs);
            std::printf("paced %d %d %.1f %.3f %.3f\n", round, entry, passMs, double(covered.size()) / slotCount,
                        (cpuEnd - cpuStart) / passMs);
            std::fflush(stdout);
            Settle(200);
        }
    }
    return 0;
}

int Step(int rounds)
{
    QTemporaryDir dir;
    const QByteArray jpeg = makeSampleJpeg(6000, 4000);
    const QStringList pictures{dir.filePath(QStringLiteral("one.jpg")), dir.filePath(QStringLiteral("two.jpg"))};
    for (const QString &path : pictures)
        if (!WriteFile(path, jpeg))
            return 1;
    Show show(pictures, {QStringLiteral("13")});
    TTransitionEffect *effect = show.window.Effects()->Items(13);
    effect->SetMilliseconds(300);
    Clock::time_point executeAt;
    effect->onBeforeTransition = [&](QObject *) { executeAt = Clock::now(); };
    for (int round = 1; round <= rounds; ++round) {
        Settle(1200);
        const Clock::time_point start = Clock::now();
        show.window.Sequencer().Click();
        std::printf("step %d %.1f\n", round, Ms(executeAt - start));
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == QLatin1String("files") && args.size() == 2)
        return WriteFiles(args[1]);
    if (command == QLatin1String("start") && args.size() == 2)
        return Start(args[1]);
    if (command == QLatin1String("paced") && args.size() >= 2) {
        std::vector<int> entries;
        if (args.size() > 2)
            for (const QString &part : args[2].split(QLatin1Char(',')))
                entries.push_back(part.toInt());
        return Paced(args[1].toInt(), entries);
    }
    if (command == QLatin1String("step") && args.size() == 2)
        return Step(args[1].toInt());
    std::fputs("usage: show_report files DIR | start PROJECT | paced ROUNDS [ENTRY,...] | step ROUNDS\n", stderr);
    return 2;
}
