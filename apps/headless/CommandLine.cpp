#include "apps/headless/CommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>

#include "host/SysUtils.h"

namespace mebrox {

bool ParseCommandLine(int argc, char** argv, TCommandLine& line, std::string& error,
                      TCommandLineRules rules) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::optional<std::string>& slot) {
      if (slot) {
        error = arg + " given twice";
        return false;
      }
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      slot = argv[++i];
      return true;
    };
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (!line.Project.empty()) {
        error = "only one project file, please";
        return false;
      }
      line.Project = arg;
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      line.Help = true;
    } else if (arg == "--new" && rules.AllowNew) {
      line.New = true;
    } else if (arg == "--check" && rules.AllowProjectTools) {
      line.Check = true;
    } else if (arg == "--map" && rules.AllowProjectTools) {
      line.Map = true;
    } else if (arg == "--map-format" && rules.AllowProjectTools) {
      if (!value(line.MapFormat)) return false;
      if (!IsMapFormat(*line.MapFormat)) {
        error = "--map-format takes dot, svg or png, not " + *line.MapFormat;
        return false;
      }
    } else if (arg == "--map-output" && rules.AllowProjectTools) {
      if (!value(line.MapOutput)) return false;
    } else if (arg == "--headless") {
      line.Headless = true;
    } else if (arg == "--script") {
      if (!value(line.Script)) return false;
    } else if (arg == "--screenshots") {
      if (!value(line.ScreenshotDir)) return false;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (line.Help) return true;
  if ((line.MapFormat || line.MapOutput) && !line.Map) {
    error = "--map-format and --map-output need --map";
    return false;
  }
  if (line.Check + line.Map + line.Headless > 1) {
    error = "--check, --map and --headless go one at a time";
    return false;
  }
  if ((line.Script || line.ScreenshotDir) && !line.Headless) {
    error = "--script and --screenshots need --headless";
    return false;
  }
  if (line.Project.empty() && !(rules.WindowedWithoutProject && !line.Headless && !line.New)) {
    error = "no project file given";
    return false;
  }
  return true;
}

bool IsMapFormat(const std::string& format) {
  return format == "dot" || format == "svg" || format == "png";
}

int ProgramMain(int argc, char** argv, const std::string& program, const char* usage,
                const std::function<int(const TCommandLine&)>& run, TCommandLineRules rules) {
  TCommandLine line;
  std::string error;
  if (!ParseCommandLine(argc, argv, line, error, rules)) {
    std::cerr << program << ": " << error << "\n\n" << usage;
    return ExitUsage;
  }
  if (line.Help) {
    std::cout << usage;
    return ExitOk;
  }
  return run(line);
}

std::vector<TScriptCommand> ReadScript(const TCommandLine& line, TScriptDialect dialect,
                                       std::string& scriptName) {
  std::string text;
  if (line.Script) {
    scriptName = *line.Script;
    text = host::ReadFileBytes(scriptName);
  } else {
    scriptName = "<stdin>";
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  return ParseScript(text, scriptName, dialect);
}

void PrepareHeadlessProcess() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) return;
  std::string dir =
      (std::filesystem::temp_directory_path() / ("mebrox-runtime-" + std::to_string(::getuid())))
          .string();
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
      (st.st_mode & 077) == 0)
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

}  // namespace mebrox
