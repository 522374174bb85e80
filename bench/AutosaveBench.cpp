// Keeping unsaved work for recovery on a frame that holds a 1 MB picture: what the designer's
// window thread spends on it (taking the texts and handing them to the writer's thread), what
// the write itself takes (to the disk, flushed), and for scale what a change already costs
// (recording it for undo) and what one paint of the frame takes.
//   autosave_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include <unistd.h>

#include "host/Graphics.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/DesignSession.h"
#include "ide/NewProject.h"
#include "runtime/HyperImg.h"
#include "runtime/RuntimeClasses.h"

namespace fs = std::filesystem;

namespace {

// A photograph-like picture: noise does not compress, so 600 x 450 pixels make about 1 MB.
std::string NoisePicture() {
  host::TRawImage image;
  image.Width = 600;
  image.Height = 450;
  std::mt19937 random(7);
  for (int i = 0; i < image.Width * image.Height; ++i)
    image.Pixels.push_back(0xFF000000u | (random() & 0xFFFFFF));
  return host::ImageCodec()->EncodePng(image);
}

// A saved project of one frame with a hot image showing the picture, open for design.
struct TPictureProject {
  TPictureProject() {
    Folder = fs::temp_directory_path() / ("mebrox-autosave-bench-" + std::to_string(::getpid()));
    fs::create_directories(Folder);
    ::setenv("XDG_STATE_HOME", (Folder / "state").c_str(), 1);
    ide::CreateNewProject((Folder / "Bench.dpr").string());
    Session = std::make_unique<ide::TDesignSession>(Core, (Folder / "Bench.dpr").string());
    Form = Session->FindForm("Form1");
    ide::TFormDesigner& designer = Session->FormDesignerOf(*Form);
    auto* image = static_cast<mebrox::THyperImage*>(
        designer.Drop(mebrox::THyperImage::StaticClassInfo(), {8, 8}));
    Picture = NoisePicture();
    image->Picture().SetData(Picture);
    designer.Modified();
    Session->Save();
    designer.Select(image);
  }
  ~TPictureProject() {
    Session.reset();
    std::error_code ec;
    fs::remove_all(Folder, ec);
  }
  // One change the designer makes: the picture moved by a pixel, and back.
  void Change() {
    Session->FormDesignerOf(*Form).MoveSelection(Step, 0);
    Step = -Step;
  }

  ide::TDesignCore Core;
  fs::path Folder;
  std::unique_ptr<ide::TDesignSession> Session;
  host::TForm* Form = nullptr;
  std::string Picture;
  int Step = 1;
};

// Made when first wanted, freed before the application goes.
std::unique_ptr<TPictureProject>& ProjectSlot() {
  static std::unique_ptr<TPictureProject> project;
  return project;
}

TPictureProject& Project() {
  if (!ProjectSlot()) ProjectSlot() = std::make_unique<TPictureProject>();
  return *ProjectSlot();
}

void BM_ChangeRecordedForUndo(benchmark::State& state) {
  TPictureProject& p = Project();
  for (auto _ : state) p.Change();
  state.counters["picture_kb"] = static_cast<double>(p.Picture.size()) / 1024;
}
BENCHMARK(BM_ChangeRecordedForUndo)->Unit(benchmark::kMillisecond);

// The window thread's share: taking the texts and handing them to the writer.
void BM_AutosaveOnTheWindowThread(benchmark::State& state) {
  TPictureProject& p = Project();
  for (auto _ : state) {
    state.PauseTiming();
    p.Session->WaitForRecovery();
    p.Change();
    state.ResumeTiming();
    p.Session->KeepRecovery(true);
  }
  p.Session->WaitForRecovery();
}
BENCHMARK(BM_AutosaveOnTheWindowThread)->Unit(benchmark::kMillisecond);

// The whole of it, written and flushed to the disk, as the writer's thread does it.
void BM_AutosaveWrittenToDisk(benchmark::State& state) {
  TPictureProject& p = Project();
  for (auto _ : state) {
    state.PauseTiming();
    p.Change();
    state.ResumeTiming();
    p.Session->KeepRecovery(false);
  }
}
BENCHMARK(BM_AutosaveWrittenToDisk)->Unit(benchmark::kMillisecond);

// For scale: one paint of the frame with its picture.
void BM_PaintOfTheFrame(benchmark::State& state) {
  TPictureProject& p = Project();
  for (auto _ : state) benchmark::DoNotOptimize(host::CaptureForm(*p.Form));
}
BENCHMARK(BM_PaintOfTheFrame)->Unit(benchmark::kMillisecond);

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
  ProjectSlot().reset();
  return 0;
}
