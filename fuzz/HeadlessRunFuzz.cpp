// Runs arbitrary bytes as an event script against the tour, as `mebrox-run --headless` does:
// the script parsed, the project loaded into a running application, the script's lines carried
// out, the project unloaded again. The tour's files are copied once to the scratch folder, with
// two short waves of our own; its program is left out, so that no process is started. A script
// may fail at a line; nothing else may come out, and every event's error must be the kit's own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "apps/headless/HeadlessRun.h"
#include "apps/headless/Script.h"
#include "apps/run/Project.h"
#include "fuzz/FuzzSupport.h"
#include "host/media/WaveWriter.h"

namespace fs = std::filesystem;
using namespace host;
using namespace mebrox;

namespace {

std::string MakeProject() {
  std::string dir = fuzz_support::Scratch().File("tour");
  fs::create_directories(dir);
  for (const fs::directory_entry& entry : fs::directory_iterator(MEBROX_TOUR_SOURCE)) {
    std::string ext = entry.path().extension().string();
    if (ext == ".dpr" || ext == ".pas" || ext == ".dfm" || ext == ".txt" || ext == ".wls")
      fs::copy_file(entry.path(), fs::path(dir) / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
  }
  TPcmSound sound;
  sound.SampleRate = 8000;
  sound.Channels = 1;
  sound.Samples.assign(800, 1000);
  for (const char* name : {"chime.wav", "melody.wav"})
    fuzz_support::WriteFile(dir + "/" + name, EncodeWave(sound));
  fs::create_directories(fuzz_support::Scratch().File("out"));
  return dir + "/Tour.dpr";
}

// Pictures and answers to file dialogs stay in the scratch folder, whatever the script names.
void KeepFilesInScratch(std::vector<TScriptCommand>& script) {
  for (TScriptCommand& command : script) {
    if (command.Verb == svScreenshot) command.FileName = "shot.png";
    for (std::string& file : command.Files)
      if (file.find_first_of("/\\") != std::string::npos || file.find("..") != std::string::npos)
        file = "chosen.txt";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return -1;
  fuzz_support::StartGui();
  static const std::string project = [] {
    RegisterProjectClasses();
    return MakeProject();
  }();

  std::vector<TScriptCommand> script;
  try {
    script = ParseScript(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt");
  } catch (const EParserError&) {
    return 0;
  }
  if (script.size() > 64) return -1;
  KeepFilesInScratch(script);
  // Every run starts afresh: no bookmark of the last one to offer.
  fs::remove(fs::path(project).replace_extension(".RUN"));

  std::ostringstream trace;
  {
    THeadlessOptions options;
    options.StartDir = fuzz_support::Scratch().File("out");
    THeadlessRun run(trace, options);
    try {
      LoadProject(ReadProjectFile(project));
      run.Start();
      run.Execute(script, "fuzz.txt");
    } catch (const EParserError&) {
      // A line that names what is not there, or that a person could not do.
    }
    UnloadProject();
  }
  // To see what an input does: MEBROX_FUZZ_TRACE=1 headless_run_fuzz INPUT
  static const bool show = std::getenv("MEBROX_FUZZ_TRACE") != nullptr;
  if (show) std::fprintf(stderr, "%s", trace.str().c_str());
  Application->ResetTerminated();
  return 0;
}
