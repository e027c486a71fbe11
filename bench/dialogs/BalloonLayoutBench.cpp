#include "dialogs/BalloonLayout.h"

#include <benchmark/benchmark.h>

namespace {
// Everything a balloon computes each time it is placed: the placement, the shape, the three
// outline bands and the comparison with the previous shape. The widest balloon is half a
// 1920-pixel screen.
void BM_PlaceAndShapeBalloon(benchmark::State& state)
{
    const BalloonRect desktop{0, 0, 1920, 1080};
    const BalloonSize window = BalloonLayout::MeasureWindow(
        {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))});
    const BalloonRegion previous;
    for (auto _ : state) {
        const BalloonPlacement placement = BalloonLayout::PlaceWindow(window, {700, 300}, desktop);
        const BalloonRegion shape = BalloonLayout::Shape(placement);
        benchmark::DoNotOptimize(shape.Frame(1, 1));
        benchmark::DoNotOptimize(shape.Offset(1, 1).Frame(2, 2));
        benchmark::DoNotOptimize(shape.Offset(-1, -1).Frame(2, 2));
        benchmark::DoNotOptimize(shape == previous);
    }
}
BENCHMARK(BM_PlaceAndShapeBalloon)
    ->Args({300, 104})
    ->Args({960, 400})
    ->Unit(benchmark::kMicrosecond);
} // namespace
