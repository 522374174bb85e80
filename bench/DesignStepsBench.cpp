// What undo costs on a frame holding a 1 MB picture: 200 design steps (moves by key, by drag,
// captions, tags, colours) and the memory the process holds after them against before, and
// 1000 key moves in a row, which are one step to take back.
//   design_steps_bench
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "host/Graphics.h"
#include "host/HostClasses.h"
#include "host/StdCtrls.h"
#include "host/qt/QtBackend.h"
#include "ide/DesignSession.h"
#include "ide/NewProject.h"
#include "ide/PropertyPath.h"
#include "runtime/HyperImg.h"
#include "runtime/RuntimeClasses.h"

namespace fs = std::filesystem;

namespace {

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576;
}

std::string NoisePicture() {
  host::TRawImage image;
  image.Width = 600;
  image.Height = 450;
  std::mt19937 random(7);
  for (int i = 0; i < image.Width * image.Height; ++i)
    image.Pixels.push_back(0xFF000000u | (random() & 0xFFFFFF));
  return host::ImageCodec()->EncodePng(image);
}

void BM_TwoHundredStepsOnAPictureFrame(benchmark::State& state) {
  for (auto _ : state) {
    fs::path folder =
        fs::temp_directory_path() / ("mebrox-steps-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    ide::CreateNewProject((folder / "Bench.dpr").string());
    double before = 0, after = 0;
    size_t historyBytes = 0;
    {
      ide::TDesignCore core;
      ide::TDesignSession session(core, (folder / "Bench.dpr").string());
      host::TForm& form = *session.FindForm("Form1");
      ide::TFormDesigner& designer = session.FormDesignerOf(form);
      auto* image = static_cast<mebrox::THyperImage*>(
          designer.Drop(mebrox::THyperImage::StaticClassInfo(), {8, 8}));
      image->Picture().SetData(NoisePicture());
      designer.Modified();
      auto* label = designer.Drop(host::TLabel::StaticClassInfo(), {8, 400});
      session.Save();
      before = ResidentMegabytes();
      size_t historyBefore = session.HistorySize();
      for (int step = 0; step < 200; ++step) {
        switch (step % 4) {
          case 0:
            designer.Select(image);
            designer.SetSelectionBounds(host::Bounds(8 + step, 8, image->Width(), image->Height()));
            break;
          case 1:
            ide::SetPropertyText(designer, *label, "Caption", "Step " + std::to_string(step));
            break;
          case 2:
            ide::SetPropertyText(designer, *image, "Tag", std::to_string(step));
            break;
          default:
            ide::SetPropertyText(designer, form, "Color", step % 8 ? "clWhite" : "clSilver");
        }
      }
      after = ResidentMegabytes();
      historyBytes = session.HistorySize() - historyBefore;

      designer.Select(label);
      for (int i = 0; i < 1000; ++i)
        designer.HandleKey(host::VK_RIGHT, host::TShiftState{host::ssCtrl});
      size_t steps = session.UndoSteps(form);
      session.Undo(form);
      state.counters["key_moves_undone_in"] = static_cast<double>(steps - session.UndoSteps(form));
    }
    state.counters["rss_0_steps_mb"] = before;
    state.counters["rss_200_steps_mb"] = after;
    state.counters["ratio"] = after / before;
    // What the 200 steps themselves hold, beside the form's 1 MB picture.
    state.counters["steps_kb"] = static_cast<double>(historyBytes) / 1024;
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
}
BENCHMARK(BM_TwoHundredStepsOnAPictureFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
