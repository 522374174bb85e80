// Publishing the tour to the web, and how soon a browser shows its first frame.
//
//   BM_ExportTour          the tour loaded as mebrox-run loads it, every hot text laid out for
//                          every text it can show, and the folder written (in process)
//   BM_FirstFrameInChromium  headless Chromium opening the published tour: the time from the
//                          start of the page's load to its first frame shown, as the page
//                          measures it (scripts/web-walk.py --timing); skipped where Chromium
//                          cannot start
//
// Both need the tour with its sounds (the build's examples/tour).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "apps/run/Project.h"
#include "apps/run/WebExport.h"
#include "host/Mci.h"
#include "host/qt/QtBackend.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path Scratch() {
  static fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("mebrox-web-bench-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

void BM_ExportTour(benchmark::State& state) {
  size_t bytes = 0;
  for (auto _ : state) {
    auto project = mebrox::TLoadedProject::Load(MEBROX_TOUR_DIR "/Tour.dpr");
    mebrox::TWebSite site = mebrox::BuildWebSite(*project);
    mebrox::WriteWebSite(site, (Scratch() / "web").string(), "web", project->Folder(), true);
    bytes = 0;
    for (const mebrox::TWebFile& f : site.Files) bytes += f.Bytes.size();
  }
  state.counters["folder_kb"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_ExportTour)->Unit(benchmark::kMillisecond);

// Runs the walker on the published tour with an empty script; the page's own measure, or a
// negative number when the browser could not start.
double FirstFrameMs() {
  fs::path script = Scratch() / "empty.txt";
  std::ofstream(script) << "# nothing: the page loads and shows its first frame\n";
  fs::path err = Scratch() / "walk.err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string python = "/usr/bin/python3", walker = MEBROX_WEB_WALK, timing = "--timing",
              folder = (Scratch() / "web").string(), scriptName = script.string();
  char* argv[] = {python.data(), walker.data(),     timing.data(),
                  folder.data(), scriptName.data(), nullptr};
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, python.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return -1;
  std::ifstream in(err);
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("first-frame-ms ")) return std::stod(line.substr(15));
  return -1;
}

void BM_FirstFrameInChromium(benchmark::State& state) {
  {
    auto project = mebrox::TLoadedProject::Load(MEBROX_TOUR_DIR "/Tour.dpr");
    mebrox::WriteWebSite(mebrox::BuildWebSite(*project), (Scratch() / "web").string(), "web",
                         project->Folder(), true);
  }
  for (auto _ : state) {
    double ms = FirstFrameMs();
    if (ms < 0) {
      state.SkipWithError("Chromium cannot start (scripts/web-walk.py failed)");
      break;
    }
    state.SetIterationTime(ms / 1000.0);
  }
}
BENCHMARK(BM_FirstFrameInChromium)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!std::getenv("MEBROX_WINDIR")) ::setenv("MEBROX_WINDIR", Scratch().c_str(), 1);
  int qtArgc = 1;
  char name[] = "web_export_bench";
  char* qtArgv[] = {name, nullptr};
  QApplication app(qtArgc, qtArgv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
  mebrox::RegisterProjectClasses();
  host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(Scratch(), ec);
  return 0;
}
