// What the fuzz targets share: a scratch folder in memory, files written without a disk sync,
// and the Qt application the GUI targets need.
#pragma once

#include <stdlib.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/HostClasses.h"
#include "host/Mci.h"
#include "host/MetricCanvas.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtPainterSurface.h"

namespace fuzz_support {

// A folder for the files an input becomes, on tmpfs when there is one: tens of thousands of
// inputs a minute must not wait for a disk. Removed when the fuzzer ends normally.
class TScratchDir {
 public:
  TScratchDir() {
    std::error_code ec;
    std::string base = std::filesystem::is_directory("/dev/shm", ec)
                           ? "/dev/shm"
                           : std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/mebrox-fuzz-XXXXXX";
    FPath = ::mkdtemp(pattern.data()) ? pattern : std::string();
    if (FPath.empty()) std::abort();
    // The kit's atomic writes sync every file; here nothing must outlive a power cut.
    host::FileSync = [](int) { return 0; };
  }
  ~TScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

inline TScratchDir& Scratch() {
  static TScratchDir dir;
  return dir;
}

// Writes bytes as they are, in place: the input is the file, no atomic replacement needed.
inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The application the GUI targets run in: offscreen, scripted dialogs, no sound, the settings
// folder in the scratch folder. Made once; later calls do nothing. It is never freed: the kit's
// application and screen objects, which hold Qt objects, outlive every static of the fuzzer.
inline void StartGui() {
  static QApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::setenv("MEBROX_WINDIR", Scratch().Path().c_str(), 1);
    static int argc = 1;
    static char name[] = "mebrox-fuzz";
    static char* argv[] = {name, nullptr};
    auto* a = new QApplication(argc, argv);
    host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
    host::RegisterHostClasses();
    host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
    // An event's error reaches the application's handler, which shows it. Only the kit's own
    // exceptions are meant to get there: anything else (a bad index, a bad allocation) is a
    // fault the handler would hide, so it ends the run as a finding.
    host::Application->OnException = [](host::TObject*, const std::exception& error) {
      if (!dynamic_cast<const host::Exception*>(&error)) {
        std::fprintf(stderr, "event raised %s: %s\n", typeid(error).name(), error.what());
        std::abort();
      }
    };
    return a;
  }();
  (void)app;
}

// Fresh scripted dialogs for each input: they keep every text they were shown.
inline host::TScriptedDialogs& ResetDialogs() {
  auto dialogs = std::make_unique<host::TScriptedDialogs>();
  host::TScriptedDialogs& result = *dialogs;
  host::SetDialogService(std::move(dialogs));
  return result;
}

// Paints the control as its window or its parent would, on a Qt image of a fixed size and on
// the metric surface.
inline void Paint(host::TControl& control, int width, int height) {
  host::qt::QtImageCanvas canvas(width, height);
  host::TMetricSurface metric;
  if (auto* graphic = dynamic_cast<host::TGraphicControl*>(&control)) {
    graphic->PaintOn(canvas.Painter());
    graphic->PaintOn(metric);
  } else if (auto* window = dynamic_cast<host::TWinControl*>(&control)) {
    window->DispatchPaint(canvas.Painter(), {0, 0, width, height});
    window->DispatchPaint(metric, {0, 0, width, height});
  }
}

// The input's bytes taken front to back as small numbers and pieces, each read giving 0 or empty
// once the bytes are used up.
class TInput {
 public:
  TInput(const uint8_t* data, size_t size) : FData(reinterpret_cast<const char*>(data), size) {}
  uint8_t Byte() { return FData.empty() ? 0 : Take(1)[0]; }
  int Int(int low, int high) { return low + Byte() % (high - low + 1); }
  // Up to the next separator byte (dropped), or the rest.
  std::string_view Piece(char separator) {
    size_t end = FData.find(separator);
    std::string_view piece = FData.substr(0, end);
    FData.remove_prefix(end == std::string_view::npos ? FData.size() : end + 1);
    return piece;
  }
  std::string_view Rest() { return Take(FData.size()); }
  bool Empty() const { return FData.empty(); }

 private:
  std::string_view Take(size_t n) {
    std::string_view part = FData.substr(0, n);
    FData.remove_prefix(part.size());
    return part;
  }
  std::string_view FData;
};

}  // namespace fuzz_support
