#include "runtime/RunState.h"

#include <filesystem>

#include "host/IniFiles.h"
#include "runtime/Action.h"

namespace mebrox {

namespace {

const char* const InMemoryOnly = "; this run's history is kept in memory only.";

class TRunStateStore {
 public:
  // The history as it stands: the file, read afresh on every access so that each sees what
  // other runs left, or the copy in memory once the file has failed.
  host::TMemIniFile& Open();
  // Writes the history back; where the file cannot take it, memory holds it from now on.
  void Save();

 private:
  void SetAside();
  void KeepInMemory(const std::string& notice);

  std::string FFileName;
  host::TMemIniFile FState;
  bool FInMemory = false;
};

TRunStateStore& Store() {
  static TRunStateStore store;
  return store;
}

// The first of "NAME.bad", "NAME.bad2" ... that is free, so that no earlier damaged copy is lost.
std::string FreeBadName(const std::string& path) {
  auto taken = [](const std::string& name) {
    std::error_code ec;
    return std::filesystem::symlink_status(name, ec).type() !=
           std::filesystem::file_type::not_found;
  };
  std::string name = path + ".bad";
  for (int n = 2; taken(name); ++n) name = path + ".bad" + std::to_string(n);
  return name;
}

host::TMemIniFile& TRunStateStore::Open() {
  std::string fileName = RunStateFileName();
  if (fileName != FFileName) {
    FFileName = fileName;
    FInMemory = false;
  }
  if (FInMemory) return FState;
  try {
    FState = host::TMemIniFile(fileName);
  } catch (const host::EInOutError& e) {
    FState = host::TMemIniFile();
    KeepInMemory("Cannot read the run-state file: " + e.Message() + InMemoryOnly);
    return FState;
  }
  if (!FState.Problem().empty()) SetAside();
  return FState;
}

// A file that did not parse is never written over: it moves aside, and what could be read of
// it (a bookmark, the openers) goes on in a fresh file.
void TRunStateStore::SetAside() {
  std::string problem = FState.Problem();
  std::string path = FState.FileName();
  std::string bad = FreeBadName(path);
  FState.DropProblemLines();
  std::error_code ec;
  std::filesystem::rename(path, bad, ec);
  if (ec)
    return KeepInMemory(problem + ". The run-state file cannot be set aside (" + ec.message() +
                        ")" + InMemoryOnly);
  try {
    FState.UpdateFile();
  } catch (const host::EInOutError& e) {
    return KeepInMemory(problem + ". The run-state file was set aside as \"" + bad +
                        "\", but a fresh one cannot be written (" + e.Message() + ")" +
                        InMemoryOnly);
  }
  host::FileNotice(problem + ". The run-state file was set aside as \"" + bad +
                   "\" and started afresh with the lines that could be read.");
}

void TRunStateStore::Save() {
  if (FInMemory) return;
  try {
    FState.UpdateFile();
  } catch (const host::EInOutError& e) {
    KeepInMemory(e.Message() + ". The run-state file cannot be saved" + InMemoryOnly);
  }
}

void TRunStateStore::KeepInMemory(const std::string& notice) {
  FInMemory = true;
  host::FileNotice(notice);
}

}  // namespace

std::string ReadRunState(std::string_view section, std::string_view key) {
  return Store().Open().ReadString(section, key, "");
}

void WriteRunState(std::string_view section, std::string_view key, std::string_view value) {
  TRunStateStore& store = Store();
  store.Open().WriteString(section, key, value);
  store.Save();
}

void EraseRunStateSection(std::string_view section) {
  TRunStateStore& store = Store();
  if (store.Open().EraseSection(section)) store.Save();
}

}  // namespace mebrox
