// SPDX-License-Identifier: GPL-3.0-or-later
// The runs of a whole sweep at 1920 x 1080 (style 1, one hand from twelve o'clock), found by the
// reference shapes and by the row scans: unpaced (every frame a line from the centre) and in
// steps of 60 frames (wedges, as a 1700 ms pass at 60 Hz draws). Only the pixels the runs cover
// are counted; nothing is copied, so this is the geometry's share of a pass.

#include "transitions/core/frames/radial_geometry.h"
#include "transitions/core/shapes/scanned_runs.h"
#include "transitions/core/shapes/shape_runs.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace lumetta;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

template <bool Scanned>
void BM_SweepRuns(benchmark::State &state)
{
    const int step = int(state.range(0));
    RadialGeometry g = MakeRadialGeometry(kWidth, kHeight);
    g.activeCorners = RadialActiveCorners(1, 1);
    const int n = RadialFrameCount(g, 1, 1);
    std::vector<RadialWedge> wedges;
    std::vector<PolygonCrossing> crossings;
    std::vector<ScanRow> rows;
    long long pixels = 0;
    auto run = [&pixels](int, int x0, int x1) { pixels += x1 - x0; };
    for (auto _ : state) {
        for (int frame = step; frame < n; frame += step) {
            RadialWedges(g, 1, 1, frame, step, n, wedges);
            for (const RadialWedge &wedge : wedges) {
                Point v[kRadialMaxWedgeVertices];
                const int count = RadialWedgeVertices(g, wedge, v);
                if (Scanned) {
                    if (count == 2)
                        ScannedLineRuns(v[0], v[1], kHeight, run);
                    else
                        ScannedPolygonRuns(v, count, kHeight, rows, crossings, run);
                } else {
                    if (count == 2)
                        LineRuns(v[0], v[1], kHeight, run);
                    else
                        PolygonRuns(v, count, kHeight, crossings, run);
                }
            }
        }
        benchmark::DoNotOptimize(pixels);
    }
    state.counters["frames"] = double((n - 1) / step);
}

}  // namespace

BENCHMARK(BM_SweepRuns<false>)->Name("SweepRuns/reference")->Arg(1)->Arg(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepRuns<true>)->Name("SweepRuns/scanned")->Arg(1)->Arg(60)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
