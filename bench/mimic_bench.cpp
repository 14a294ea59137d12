// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
// Cost of one animation frame of the mimic window, and of one transparent
// overlay on its largest picture.
#include "mimic/gfxutil.h"
#include "mimic/mnemo_form.h"
#include "mimic/pictures.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_DrawMnemo(benchmark::State& state)
{
    tarvok::mimic::TMnemoForm form(QString{});
    form.show();
    for (auto _ : state)
        form.DrawMnemo();
    state.counters["frames"] = form.framesDrawn();
}
BENCHMARK(BM_DrawMnemo)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_TowerOverlay(benchmark::State& state)
{
    using namespace tarvok;
    const platform::Raster sprite = platform::Raster::fromImage(mimic::towerPicture());
    platform::Raster target = platform::Raster::colour(170, 365);
    platform::Surface canvas(target);
    for (auto _ : state)
        mimic::DrawWholeBitmapKeyed(canvas, 0, -1, sprite, platform::rgb(0, 0x80, 0x80));
}
BENCHMARK(BM_TowerOverlay)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
