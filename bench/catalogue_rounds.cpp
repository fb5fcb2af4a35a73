// SPDX-License-Identifier: GPL-3.0-or-later
// Unpaced headless passes of every catalogue entry, all in one process and interleaved round by
// round (so a busy moment of the shared machine hits every entry alike), beside a memcpy of one
// frame between 64-byte aligned buffers. Prints one line per measurement for bench/report.sh:
//   memcpy ROUND MS
//   pass ROUND ENTRY FRAMES MS
// Usage: catalogue_rounds [--size WxH] [--rounds R] [--entries N,N,...] [--bpp BITS]
#include "player/effect_catalogue.h"
#include "transitions/engine/headless_run.h"
#include "transitions/engine/noise_picture.h"
#include "transitions/transitions.h"

#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace lumetta;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct AlignedBuffer
{
    explicit AlignedBuffer(std::size_t bytes)
        : size((bytes + 63) / 64 * 64),
          data(static_cast<unsigned char *>(std::aligned_alloc(64, size)))
    {
        std::memset(data, 1, size);
    }
    ~AlignedBuffer() { std::free(data); }
    std::size_t size;
    unsigned char *data;
};

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSize size(1920, 1080);
    int rounds = 5;
    int bits = 32;
    std::vector<int> entries;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString &name = args[i];
        const QString &value = args[i + 1];
        if (name == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            if (parts.size() == 2)
                size = QSize(parts[0].toInt(), parts[1].toInt());
        } else if (name == QLatin1String("--rounds")) {
            rounds = value.toInt();
        } else if (name == QLatin1String("--bpp")) {
            bits = value.toInt();
        } else if (name == QLatin1String("--entries")) {
            for (const QString &part : value.split(QLatin1Char(',')))
                entries.push_back(part.toInt());
        }
    }
    if (size.isEmpty() || rounds < 1 || !SetScreenBitsPerPixel(bits)) {
        std::fputs("usage: catalogue_rounds [--size WxH] [--rounds R] [--entries N,N,...] [--bpp BITS]\n", stderr);
        return 2;
    }
    InitTransitionEngine();
    TTransitionList catalogue;
    lumetta::LoadEffectCatalogue(catalogue, false);
    if (entries.empty())
        for (int i = 0; i < catalogue.Count(); ++i)
            entries.push_back(i);

    const QImage from = NoisePicture(size, 1);
    const QImage to = NoisePicture(size, 2);
    const std::size_t frameBytes = std::size_t(from.sizeInBytes());
    AlignedBuffer source(frameBytes), target(frameBytes);

    for (int round = 1; round <= rounds; ++round) {
        // The median of a few copies: one copy alone is at the mercy of the shared machine.
        std::vector<double> copies;
        for (int i = 0; i < 5; ++i) {
            const Clock::time_point copyStart = Clock::now();
            std::memcpy(target.data, source.data, frameBytes);
            copies.push_back(MillisecondsSince(copyStart));
            source.data[std::size_t(round + i) % frameBytes] = target.data[(std::size_t(round + i) * 7) % frameBytes];
        }
        std::nth_element(copies.begin(), copies.begin() + 2, copies.end());
        std::printf("memcpy %d %.4f\n", round, copies[2]);
        for (int entry : entries) {
            TTransitionEffect *effect = catalogue.Items(entry);
            effect->SetMilliseconds(0);
            const Clock::time_point start = Clock::now();
            const HeadlessRun run = RunHeadless(*effect, from, to);
            std::printf("pass %d %d %d %.3f\n", round, entry, std::max(run.frameCount, 0), MillisecondsSince(start));
            std::fflush(stdout);
        }
    }
    return 0;
}
