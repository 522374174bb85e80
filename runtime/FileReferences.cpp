#include "runtime/FileReferences.h"

#include <filesystem>
#include <system_error>

#include "host/SysUtils.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/WavePly.h"

namespace mebrox {

namespace fs = std::filesystem;

namespace {

// A name in a folder the run prefixes it with: the folder's own separator or one put between.
std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || fs::path(host::NativePath(name)).is_absolute()) return name;
  std::string joined = host::NativePath(folder);
  if (!joined.ends_with('/')) joined += '/';
  return joined + host::NativePath(name);
}

void AddAction(std::vector<TFileReference>& out, const host::TComponent& owner,
               const TAction& action) {
  if (action.ActionType() != acExecute || action.FileToRun().empty()) return;
  out.push_back({owner.Name() + ".Action.FileToRun", InFolder(action.WorkDir(), action.FileToRun()),
                 TFileKind::Program});
}

// The programs hot words run: code 3, the program's path as data.
void AddWordPrograms(std::vector<TFileReference>& out, const std::string& subject,
                     const TWords& words) {
  for (int i = 0; i < words.Count(); ++i)
    if (host::Trim(words.GetWordActType(i)) == "3") {
      std::string program = host::Trim(words.GetWordAct(i));
      if (!program.empty())
        out.push_back({subject + " \"" + words.GetWord(i) + "\"", program, TFileKind::Program});
    }
}

void AddHotText(std::vector<TFileReference>& out, THyperTxt& text) {
  const std::string& name = text.Name();
  for (int i = 0; i < text.LinesLists().Count(); ++i)
    out.push_back({name + ".LinesLists", text.LinesLists().Get(i), TFileKind::Text});
  for (int i = 0; i < text.WordsLists().Count(); ++i) {
    const std::string file = text.WordsLists().Get(i);
    out.push_back({name + ".WordsLists", file, TFileKind::WordList});
    TWords listed;
    try {
      listed.LoadListFromFile(file);
    } catch (const std::exception&) {
      continue;  // a list that does not read names no programs; its own check says why
    }
    AddWordPrograms(out, file, listed);
  }
  AddWordPrograms(out, name + ".Words", text.Words());
}

}  // namespace

std::vector<TFileReference> FileReferencesOf(host::TComponent& component) {
  std::vector<TFileReference> out;
  if (auto* wave = dynamic_cast<TWavePlay*>(&component)) {
    if (!wave->GetWaveName().empty())
      out.push_back({wave->Name() + ".WaveName", InFolder(wave->GetWorkDir(), wave->GetWaveName()),
                     TFileKind::Wave});
  } else if (auto* image = dynamic_cast<THyperImage*>(&component)) {
    AddAction(out, component, image->Action());
  } else if (auto* area = dynamic_cast<THyperArea*>(&component)) {
    AddAction(out, component, area->Action());
  } else if (auto* text = dynamic_cast<THyperTxt*>(&component)) {
    AddHotText(out, *text);
  }
  return out;
}

bool LeavesFolder(const TFileReference& reference, const std::string& folder) {
  fs::path name(host::NativePath(reference.Path));
  fs::path base = fs::path(folder).lexically_normal();
  fs::path resolved = (name.is_absolute() ? name : base / name).lexically_normal();
  if (reference.Kind == TFileKind::Program && !name.has_parent_path()) {
    std::error_code ec;
    if (!fs::exists(resolved, ec)) return false;
  }
  return host::PathWithin(resolved.string(), base.string()).empty();
}

}  // namespace mebrox
