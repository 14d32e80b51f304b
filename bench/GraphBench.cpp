// Drawing one page of a long series: the initial series alone (5% missing in
// runs), and the initial and reconstructed series together, at 1280 x 800.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "BenchSeries.h"
#include "graphs/Graph.h"

namespace {

// Fonts and painting need a QGuiApplication; the offscreen platform keeps the
// benchmark headless.
void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "vorel_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

void RenderPage(benchmark::State& state, int curveCount) {
  EnsureGuiApplication();
  const int n = static_cast<int>(state.range(0));
  const vorel::MaskedSeries series = vorel::bench::MakeGappySeries(n);
  vorel::MaskedSeries reconstructed = series;
  reconstructed.SetAllValid(true);
  std::vector<vorel::MaskedSeries> curves{series};
  if (curveCount == 2) curves.push_back(reconstructed);

  vorel::Graph graph;
  vorel::GraphTexts texts;
  texts.titles = {"Initial and Reconstructed series"};
  texts.subtitles = {"File: bench.txt;  Series: x"};
  texts.firstCaptions = {"L=1000"};
  texts.secondCaptions = {"Methods:   CM - SVD,   Reconstruction - PC"};
  texts.legends = {"Initial series", "Reconstructed series"};
  for (auto _ : state) {
    graph.Setup(1280, 800, 1, curveCount, 1);
    graph.SetTexts(texts);
    graph.SetCurves(curves);
    QImage image = graph.Render();
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_RenderInitialSeriesPage(benchmark::State& state) { RenderPage(state, 1); }
void BM_RenderInitialAndReconstructedPage(benchmark::State& state) { RenderPage(state, 2); }

BENCHMARK(BM_RenderInitialSeriesPage)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderInitialAndReconstructedPage)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
