// Feeds arbitrary bytes to the kit's small text formats: project files, event scripts, INI
// files and word lists. Anything may be malformed; only the formats' own errors may come out.
// The files live in the scratch folder in memory, written without disk syncs.
#include <cstdint>
#include <string>

#include "apps/headless/Script.h"
#include "apps/run/Project.h"
#include "fuzz/FuzzSupport.h"
#include "host/IniFiles.h"
#include "runtime/Words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    mebrox::ParseProjectText(text, "Fuzz.dpr");
  } catch (const host::EParserError&) {
  }
  try {
    mebrox::ParseScript(text, "fuzz.txt");
  } catch (const host::EParserError&) {
  }
  static const std::string dir = fuzz_support::Scratch().Path();
  std::string file = dir + "/fuzz.ini";
  fuzz_support::WriteFile(file, text);
  try {
    host::TIniFile ini(file);
    ini.ReadString("Status", "INIAvailable", "");
    ini.WriteString("Status", "INIAvailable", "1");
    ini.EraseSection("Marked");
  } catch (const host::EParserError&) {
  }
  fuzz_support::WriteFile(dir + "/fuzz.wls", text);
  try {
    mebrox::TWords words;
    words.LoadListFromFile(dir + "/fuzz.wls");
    try {
      words.SaveListToFile(dir + "/out.wls");
    } catch (const host::EInOutError&) {
      // A list that would not read back the same is refused.
    }
  } catch (const host::EParserError&) {
  }
  return 0;
}
