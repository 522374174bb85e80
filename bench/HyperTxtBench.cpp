// Laying out and painting a page of hypertext, and hit-testing its word table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "host/Forms.h"
#include "host/MetricCanvas.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtPainterSurface.h"
#include "runtime/HyperTxt.h"

using namespace host;
using namespace mebrox;

namespace {

// Two digits always, so that no hot word lies inside another.
std::string Topic(int i) {
  return "topic" + std::to_string(i / 10) + std::to_string(i % 10);
}

// 100 lines of prose with 50 hot words spread over them, each used twice.
struct PageFixture {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  THyperTxt* Text = new THyperTxt(Form.get());

  PageFixture() {
    Text->SetParent(Form.get());
    Text->SetBounds(0, 0, 640, 4000);
    Text->Font().SetName("Times New Roman");
    Text->Font().SetSize(12);
    Text->WordFont().SetSize(12);
    Text->WordFont().SetStyle({fsBold, fsUnderline});
    TStringList lines;
    for (int i = 0; i < 100; ++i)
      lines.Add("Line " + std::to_string(i) + " tells of " + Topic(i % 50) +
                " and wanders on through words that wrap when the page is narrow enough.");
    Text->SetLines(lines);
    for (int i = 0; i < 50; ++i) Text->Words().NewWord(Topic(i), "1", "Form2");
  }
};

void BM_LayoutOnMetricSurface(benchmark::State& state) {
  PageFixture page;
  TMetricSurface surface;
  for (auto _ : state) {
    surface.ClearOps();
    page.Text->PaintOn(surface);
  }
  state.counters["hotwords"] = page.Text->WordCount();
}
BENCHMARK(BM_LayoutOnMetricSurface)->Unit(benchmark::kMicrosecond);

void BM_PaintOnQtImage(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(640, 4000);
  for (auto _ : state) page.Text->PaintOn(canvas.Painter());
  state.counters["hotwords"] = page.Text->WordCount();
}
BENCHMARK(BM_PaintOnQtImage)->Unit(benchmark::kMicrosecond);

void BM_HitTest(benchmark::State& state) {
  PageFixture page;
  TMetricSurface surface;
  page.Text->PaintOn(surface);
  int y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(page.Text->HitTest(50, y));
    y = (y + 7) % 4000;
  }
}
BENCHMARK(BM_HitTest);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  qt::InstallQtBackend(/*scriptedDialogs=*/true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
