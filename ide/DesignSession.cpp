#include "ide/DesignSession.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>

#include "host/FormFile.h"
#include "host/SysUtils.h"
#include "ide/Registry.h"
#include "ide/UnitSource.h"

namespace ide {

namespace fs = std::filesystem;
using host::EParserError;
using host::SameText;

namespace {

// Where a save of the project keeps the list of its renames while it puts files in place.
std::string JournalOf(const fs::path& project) {
  return (project.parent_path() / ("." + project.filename().string() + ".mebrox-journal")).string();
}

std::unique_ptr<host::TForm> ReadDesignForm(const std::string& text,
                                            const std::string& sourceName) {
  auto form = std::make_unique<host::TForm>(nullptr);
  // Components dropped or read into a designed form are designed too, from their constructors on.
  form->SetDesigning(true);
  host::ReadComponentText(text, *form, sourceName);
  return form;
}

// Notes the folders below root that a file at target goes into and that do not exist yet.
void NoteNewFolders(const fs::path& target, const fs::path& root,
                    std::vector<fs::path>& newFolders) {
  std::error_code ec;
  for (fs::path sub = target.parent_path(); sub != root && !fs::exists(sub, ec);
       sub = sub.parent_path())
    if (std::find(newFolders.begin(), newFolders.end(), sub) == newFolders.end())
      newFolders.push_back(sub);
}

// Makes the new folders and writes the files together; when that fails, the folders made go
// again.
void WriteIntoNewFolders(const std::vector<host::TFileWrite>& files,
                         std::vector<fs::path> newFolders, const std::string& journal) {
  // Deepest last, so that they are made parents first and taken away children first.
  std::sort(newFolders.begin(), newFolders.end());
  std::error_code ec;
  try {
    for (const fs::path& sub : newFolders) fs::create_directory(sub);
    host::WriteFilesTogether(files, journal);
  } catch (...) {
    for (auto sub = newFolders.rbegin(); sub != newFolders.rend(); ++sub) fs::remove(*sub, ec);
    throw;
  }
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace

TDesignSession::TDesignSession(TDesignCore& core, const std::string& projectFile,
                               const TRecovery* recovered)
    : FCore(core) {
  FProjectPath = fs::absolute(projectFile).lexically_normal().string();
  FFolder = fs::path(FProjectPath).parent_path().string();
  // A save cut short among its renames is finished before anything is read, so that the project
  // opens whole: as it was before that save, or as the save meant to leave it.
  std::string finished = host::FinishInterruptedWrite(JournalPath());
  host::ClearStaleWriteFiles(FFolder);
  if (recovered)
    for (const auto& [path, bytes] : recovered->Files)
      FRecovered[fs::path(path).lexically_normal().string()] = bytes;
  FSavedProjectText = ReadDiskFile(FProjectPath);
  FProjectText = Recovered(FProjectPath).value_or(FSavedProjectText);
  FProject = host::ParseProjectText(FProjectText, projectFile);
  FProject.FileName = projectFile;
  try {
    for (const host::TProjectUnit& unit : FProject.Units)
      if (!unit.FileName.empty()) OpenModule(unit);
  } catch (...) {
    FOpenForms.clear();
    throw;
  }
  FRecovered.clear();
  if (!finished.empty()) host::FileNotice(finished);
}

std::optional<std::string> TDesignSession::Recovered(const std::string& path) const {
  auto found = FRecovered.find(fs::path(Relative(path)).lexically_normal().string());
  if (found == FRecovered.end()) return std::nullopt;
  return found->second;
}

std::string TDesignSession::ReadDiskFile(const std::string& path) {
  std::string bytes = host::ReadFileBytes(path);
  KeepDiskPrint(path, bytes);
  return bytes;
}

void TDesignSession::KeepDiskPrint(const std::string& path, const std::string& bytes) {
  FDiskPrints[Relative(path)] = Fingerprint(bytes);
}

std::string TDesignSession::LocateUnitFile(const std::string& relative) {
  std::string path = (fs::path(FFolder) / relative).lexically_normal().string();
  std::string found = host::LocateFile(path);
  if (found.empty() && Recovered(path)) {
    // A unit the session had made and not saved yet.
    FDiskPrints[Relative(path)] = std::nullopt;
    return path;
  }
  return found;
}

TDesignSession::~TDesignSession() {
  FCore.Forget(this);
  // Designers first: they hold on to their forms.
  for (TOpenForm& open : FOpenForms) open.Designer.reset();
  FOpenForms.clear();
}

std::string TDesignSession::Relative(const std::string& path) const {
  return fs::path(path).lexically_relative(FFolder).string();
}

std::string TDesignSession::JournalPath() const {
  return JournalOf(FProjectPath);
}

void TDesignSession::ReplaceProjectText(std::string text) {
  host::TProjectFile project = host::ParseProjectText(text, FProject.FileName);
  project.FileName = FProject.FileName;
  FProjectText = std::move(text);
  FProject = std::move(project);
}

host::TForm& TDesignSession::AddForm(std::unique_ptr<host::TForm> form, std::string savedText) {
  host::TForm& ref = *form;
  std::string current = host::WriteComponentText(ref);
  FOpenForms.push_back({std::move(form), std::move(savedText), nullptr, current, {}});
  auto designer =
      std::make_unique<TFormDesigner>(ref, FCore, this, [this, &ref] { MarkModified(ref); });
  TFormDesigner& d = *designer;
  designer->OnDblClick = [&d](host::TComponent& target) {
    CreateComponentEditor(target, d)->Edit();
  };
  designer->OnRenamingForm = [this, &ref](const std::string& name) { CheckFrameName(ref, name); };
  FOpenForms.back().Designer = std::move(designer);
  return ref;
}

TDesignSession::TOpenForm* TDesignSession::FindOpen(const host::TForm& form) {
  for (TOpenForm& open : FOpenForms)
    if (open.Form.get() == &form) return &open;
  return nullptr;
}

const TDesignSession::TOpenForm* TDesignSession::FindOpen(const host::TForm& form) const {
  for (const TOpenForm& open : FOpenForms)
    if (open.Form.get() == &form) return &open;
  return nullptr;
}

void TDesignSession::OpenModule(const host::TProjectUnit& unit) {
  const std::string& dpr = FProject.FileName;
  TDesignModule module;
  module.UnitName = unit.Name;
  module.FormName = unit.FormName;
  std::string source = host::SourceFileOf(unit);
  module.SourcePath = LocateUnitFile(source);
  if (module.SourcePath.empty())
    throw EParserError(dpr, unit.Line, "Source " + source + " of unit " + unit.Name + " not found");
  module.New = !host::FileExists(module.SourcePath);
  if (!module.New) module.SavedSource = ReadDiskFile(module.SourcePath);
  module.Source = Recovered(module.SourcePath).value_or(module.SavedSource);
  if (unit.FormName.empty()) {
    FModules.push_back(std::move(module));
    return;
  }

  std::string formFile = host::FormFileOf(unit);
  module.FormPath = LocateUnitFile(formFile);
  if (module.FormPath.empty())
    throw EParserError(dpr, unit.Line,
                       "Form file " + formFile + " of unit " + unit.Name + " not found");
  std::string expected = "T" + unit.FormName;
  for (const host::TFormCreation& c : FProject.Creations)
    if (SameText(c.FormName, unit.FormName)) expected = c.ClassName;

  std::string declared;
  int line = 0;
  if (!FindFormClassDeclaration(module.Source, declared, line))
    throw EParserError(Relative(module.SourcePath), 1,
                       "The unit declares no form class (" + expected + " = class(TForm)), but " +
                           dpr + " gives it the form " + unit.FormName);
  if (!SameText(declared, expected))
    throw EParserError(
        Relative(module.SourcePath), line,
        "The unit declares " + declared + ", but " + dpr + " makes its form a " + expected);

  bool onDisk = host::FileExists(module.FormPath);
  std::string disk = onDisk ? ReadDiskFile(module.FormPath) : std::string();
  std::optional<std::string> recovered = Recovered(module.FormPath);
  std::string text = recovered.value_or(disk);
  std::string shown = Relative(module.FormPath);
  std::unique_ptr<host::TForm> form = ReadDesignForm(text, shown);
  if (!SameText(form->Name(), unit.FormName))
    throw EParserError(
        shown, host::FormHeaderLine(text),
        "The form file holds " + form->Name() + ", but " + dpr + " names form " + unit.FormName);
  if (form->ClassName() != expected)
    throw EParserError(
        shown, host::FormHeaderLine(text),
        "The form file holds a " + form->ClassName() + ", but " + dpr + " creates a " + expected);
  // What the writer makes of the form as read counts as unchanged: a file written by hand or
  // by another tool is rewritten only when the designer changes its form. A recovered form
  // counts as changed from its file.
  std::string normalized;
  if (!recovered)
    normalized = host::WriteComponentText(*form);
  else if (onDisk)
    normalized = host::WriteComponentText(*ReadDesignForm(disk, shown));
  module.Form = &AddForm(std::move(form), std::move(normalized));
  FModules.push_back(std::move(module));
}

std::string TDesignSession::GetProjectName() {
  return FProjectPath;
}

int TDesignSession::GetUnitCount() {
  return static_cast<int>(FModules.size());
}

std::string TDesignSession::GetUnitName(int index) {
  if (index < 0 || index >= GetUnitCount()) return std::string();
  return FModules[static_cast<size_t>(index)].SourcePath;
}

bool TDesignSession::GetUnitSource(const std::string& fileName, std::string& source) {
  fs::path wanted = fs::path(fileName).lexically_normal();
  for (const TDesignModule& m : FModules) {
    bool unsaved = m.New || m.Source != m.SavedSource;
    if (!unsaved || fs::path(m.SourcePath).lexically_normal() != wanted) continue;
    source = m.Source;
    return true;
  }
  return false;
}

int TDesignSession::GetFormCount() {
  int count = 0;
  for (const TDesignModule& m : FModules) count += m.Form != nullptr;
  return count;
}

bool TDesignSession::GetNewModuleName(std::string& unitIdent, std::string& fileName) {
  for (int n = 1; n < 100000; ++n) {
    std::string name = "Unit" + std::to_string(n);
    bool taken = FProject.FindUnit(name) != nullptr;
    for (const TDesignModule& m : FModules) taken = taken || SameText(m.UnitName, name);
    std::string path = (fs::path(FFolder) / (name + ".pas")).string();
    taken = taken || !host::LocateFile(path).empty() ||
            !host::LocateFile(host::ChangeFileExt(path, ".dfm")).empty();
    if (taken) continue;
    unitIdent = name;
    fileName = path;
    return true;
  }
  return false;
}

bool TDesignSession::CreateModule(const std::string& fileName, TIMemoryStream& source,
                                  TIMemoryStream& formStream, TCreateModuleFlags flags) {
  fs::path path =
      fs::path(fileName).is_absolute() ? fs::path(fileName) : fs::path(FFolder) / fileName;
  std::string unitName = path.stem().string();
  if (FProject.FindUnit(unitName)) return false;
  // Files already on disk would be written over at the next save.
  if (!host::LocateFile(path.string()).empty() ||
      !host::LocateFile(host::ChangeFileExt(path.string(), ".dfm")).empty())
    return false;
  for (const TDesignModule& m : FModules)
    if (SameText(m.UnitName, unitName)) return false;

  std::unique_ptr<host::TForm> form =
      ReadDesignForm(formStream.Bytes(), host::ChangeFileExt(path.filename().string(), ".dfm"));
  if (!host::TComponent::IsValidIdent(form->Name()) || FindForm(form->Name())) return false;
  TDesignModule module;
  module.UnitName = unitName;
  module.FormName = form->Name();
  module.SourcePath = path.lexically_normal().string();
  module.FormPath = host::ChangeFileExt(module.SourcePath, ".dfm");
  module.Source = source.Bytes();
  module.New = true;

  std::string relative = path.lexically_normal().lexically_relative(FFolder).string();
  std::string projectBefore = FProjectText;
  if (flags.Contains(cmAddToProject))
    ReplaceProjectText(host::AddUnitToProjectText(
        FProjectText, FProject, {unitName, relative, form->Name(), 0}, form->ClassName()));
  host::TForm& added = AddForm(std::move(form), std::string());
  module.Form = &added;
  FModules.push_back(std::move(module));
  if (flags.Contains(cmAddToProject))
    RecordProjectStep({"New Frame " + added.Name(),
                       0,
                       0,
                       true,
                       FModules.size() - 1,
                       {},
                       projectBefore,
                       FProjectText});
  if (flags.Contains(cmMarkModified) || flags.Contains(cmAddToProject)) MarkModified(added);
  if (flags.Contains(cmShowForm)) {
    added.Show();
    if (OnFormOpened) OnFormOpened(added);
  }
  return true;
}

host::TForm* TDesignSession::FindForm(std::string_view name) const {
  for (const TOpenForm& open : FOpenForms)
    if (SameText(open.Form->Name(), name)) return open.Form.get();
  return nullptr;
}

IDesigner& TDesignSession::DesignerOf(host::TForm& form) {
  return FormDesignerOf(form);
}

TFormDesigner& TDesignSession::FormDesignerOf(host::TForm& form) {
  TOpenForm* open = FindOpen(form);
  if (!open) throw host::EInvalidOperation(form.Name() + " is not a form of this project");
  return *open->Designer;
}

void TDesignSession::RecordStep(TOpenForm& open, std::string name, std::string mergeKey) {
  std::string text = host::WriteComponentText(*open.Form);
  if (text == open.LastText) return;
  open.History.Record(std::move(name), std::move(mergeKey), open.LastText, text, FGroup);
  open.LastText = std::move(text);
}

void TDesignSession::MarkModified(host::TForm& form) {
  std::string name = "Change", mergeKey;
  TOpenForm* open = FindOpen(form);
  if (open) open->Designer->TakeStepName(name, mergeKey);
  FollowFrameRenames();
  if (open) RecordStep(*open, std::move(name), std::move(mergeKey));
  ++FChanges;
  if (OnModified) OnModified(form);
}

const TDesignModule* TDesignSession::ModuleOf(const host::TForm& form) const {
  for (const TDesignModule& module : FModules)
    if (module.Form == &form) return &module;
  return nullptr;
}

bool TDesignSession::Modified() const {
  if (FProjectText != FSavedProjectText) return true;
  for (const TDesignModule& module : FModules)
    if (ModuleModified(module)) return true;
  return false;
}

bool TDesignSession::Modified(const host::TForm& form) const {
  const TDesignModule* module = ModuleOf(form);
  return module && ModuleModified(*module);
}

bool TDesignSession::ModuleModified(const TDesignModule& module) const {
  if (module.New || module.Source != module.SavedSource) return true;
  if (!module.Form) return false;
  const TOpenForm* open = FindOpen(*module.Form);
  return open->LastText != open->SavedText;
}

void TDesignSession::CheckFrameName(const host::TForm& form, const std::string& newName) const {
  for (const TDesignModule& m : FModules) {
    if (m.Form == &form) continue;
    if (SameText(m.FormName, newName) || (m.Form && SameText(m.Form->Name(), newName)))
      throw host::EComponentError("The project has a frame named " + newName + " already");
    if (SameText(m.UnitName, newName))
      throw host::EComponentError("The project has a unit named " + newName + " already");
  }
  if (SameText(FProject.ProgramName, newName))
    throw host::EComponentError("The project itself is named " + newName);
}

void TDesignSession::FollowFrameRenames() {
  for (TDesignModule& module : FModules)
    if (module.Form && module.Form->Name() != module.FormName)
      RenameFrame(module, module.FormName, module.Form->Name());
}

void TDesignSession::RenameFrame(TDesignModule& module, std::string oldName, std::string newName) {
  host::TForm& form = *module.Form;
  std::string oldClass = "T" + oldName, newClass = "T" + newName;
  const std::vector<std::pair<std::string, std::string>> renames = {{oldClass, newClass},
                                                                    {oldName, newName}};
  // Everything is found out before anything changes: should the project text not read back, or
  // a hot word not hold the new name, the frame keeps its old name and nothing else changes.
  std::string projectText = host::RenamePascalIdentifiers(FProjectText, renames);
  std::vector<TOpenForm*> referring;
  try {
    host::ParseProjectText(projectText, FProject.FileName);
    for (TOpenForm& open : FOpenForms) {
      bool refers = false;
      for (host::TComponent* c : open.Form->ComponentList())
        refers = FCore.Registry().RenameFrameReferences(*c, oldName, newName, false) || refers;
      if (refers) referring.push_back(&open);
    }
  } catch (const std::exception& e) {
    form.SetName(oldName);
    throw host::EComponentError("The frame " + oldName + " cannot be renamed " + newName + ": " +
                                e.what());
  }
  ReplaceProjectText(projectText);
  module.Source = host::RenamePascalIdentifiers(module.Source, renames);
  module.FormName = newName;
  if (SameText(form.ClassName(), oldClass)) form.SetClassName(newClass);
  // Actions and hot words that go to the frame go to it under its new name; the frames that hold
  // them change with it, each a step of its own.
  for (TOpenForm* open : referring) {
    for (host::TComponent* c : open->Form->ComponentList())
      FCore.Registry().RenameFrameReferences(*c, oldName, newName, true);
    if (open->Form.get() == &form) continue;
    open->Form->Invalidate();
    RecordStep(*open, "Follow " + oldName + " renamed " + newName, "");
    if (OnModified) OnModified(*open->Form);
  }
}

void TDesignSession::Reload(TOpenForm& open, const std::string& text) {
  host::TForm& form = *open.Form;
  const std::string source = form.Name() + ".dfm";
  // In place when only properties differ, so that every component stays the one the designer
  // and the inspector hold; exactly as the text says, or else rebuilt from it.
  try {
    if (host::ApplyComponentTextInPlace(form, open.LastText, text, source) &&
        host::WriteComponentText(form) == text) {
      form.Invalidate();
      return;
    }
  } catch (const host::Exception&) {
  }
  open.Designer->FormReloaded();
  while (form.ComponentCount() > 0) delete form.Components(form.ComponentCount() - 1);
  host::ResetStoredProperties(form);
  host::ReadComponentText(text, form, source);
  form.Invalidate();
}

bool TDesignSession::Undo(host::TForm& form) {
  return TakeFormStep(form, true);
}

bool TDesignSession::Redo(host::TForm& form) {
  return TakeFormStep(form, false);
}

bool TDesignSession::TakeFormStep(host::TForm& form, bool undo) {
  TOpenForm* open = FindOpen(form);
  if (!open || !(undo ? open->History.CanUndo() : open->History.CanRedo())) return false;
  std::string text = undo ? open->History.Undo(open->LastText) : open->History.Redo(open->LastText);
  Reload(*open, text);
  open->LastText = std::move(text);
  FollowFrameRenames();
  ++FChanges;
  if (OnModified) OnModified(form);
  return true;
}

// ---- frames added and removed

void TDesignSession::RecordProjectStep(TProjectStep step) {
  step.Sequence = NextStepSequence();
  step.Group = FGroup;
  FProjectDone.push_back(std::move(step));
  FProjectUndone.clear();
}

TDesignSession::TKeptFrame TDesignSession::TakeOut(size_t index) {
  TDesignModule module = FModules[index];
  TKeptFrame kept;
  if (module.Form) {
    host::TForm& form = *module.Form;
    if (OnFormClosing) OnFormClosing(form);
    TOpenForm* open = FindOpen(form);
    kept.Text = open->LastText;
    kept.SavedText = open->SavedText;
    kept.History = std::move(open->History);
    open->Designer.reset();
    std::erase_if(FOpenForms, [&](const TOpenForm& o) { return o.Form.get() == &form; });
    module.Form = nullptr;
  }
  kept.Module = std::move(module);
  FModules.erase(FModules.begin() + static_cast<std::ptrdiff_t>(index));
  return kept;
}

void TDesignSession::PutBack(size_t index, TKeptFrame frame) {
  TDesignModule module = std::move(frame.Module);
  host::TForm* form = nullptr;
  if (!module.FormPath.empty()) {
    std::unique_ptr<host::TForm> read = ReadDesignForm(frame.Text, Relative(module.FormPath));
    form = &AddForm(std::move(read), frame.SavedText);
    FindOpen(*form)->History = std::move(frame.History);
  }
  module.Form = form;
  FModules.insert(FModules.begin() + static_cast<std::ptrdiff_t>(index), std::move(module));
  if (form) {
    form->Show();
    if (OnFormOpened) OnFormOpened(*form);
  }
}

std::vector<std::string> TDesignSession::LinksTo(const host::TForm& form) const {
  std::vector<std::string> links;
  for (const TOpenForm& open : FOpenForms) {
    if (open.Form.get() == &form) continue;
    for (host::TComponent* c : open.Form->ComponentList()) {
      bool linked = false;
      try {
        // A trial rename to its own name finds what goes to the frame, changing nothing.
        linked = FCore.Registry().RenameFrameReferences(*c, form.Name(), form.Name(), false);
      } catch (const std::exception&) {
        // Refused because a word list file names the frame: a link all the same.
        linked = true;
      }
      if (linked) links.push_back(open.Form->Name() + "." + c->Name());
    }
  }
  return links;
}

std::vector<std::string> TDesignSession::RemoveFrame(host::TForm& form) {
  size_t index = 0;
  while (index < FModules.size() && FModules[index].Form != &form) ++index;
  if (index == FModules.size())
    throw host::EComponentError(form.Name() + " is not a frame of this project");
  if (GetFormCount() < 2)
    throw host::EComponentError("The project keeps at least one frame: " + form.Name() +
                                " is its only one");
  std::vector<std::string> links = LinksTo(form);
  std::string before = FProjectText;
  std::string after =
      host::RemoveUnitFromProjectText(FProjectText, FProject, FModules[index].UnitName);
  std::string name = "Remove Frame " + form.Name();
  TKeptFrame kept = TakeOut(index);
  ReplaceProjectText(after);
  RecordProjectStep({name, 0, 0, false, index, std::move(kept), before, after});
  ++FChanges;
  if (OnProjectChanged) OnProjectChanged();
  return links;
}

host::TForm& TDesignSession::AddExistingFrame(const std::string& unitFile,
                                              std::vector<std::string>* copied) {
  const std::string chosen = fs::absolute(host::NativePath(unitFile)).lexically_normal().string();
  std::string sourcePath = host::LocateFile(host::ChangeFileExt(chosen, ".pas"));
  if (sourcePath.empty())
    throw host::EInOutError("There is no unit " + host::ChangeFileExt(chosen, ".pas") + " to add");
  std::string formPath = host::LocateFile(host::ChangeFileExt(sourcePath, ".dfm"));
  if (formPath.empty())
    throw host::EComponentError("The unit " + sourcePath +
                                " has no form file beside it: only a frame, a unit with its form, "
                                "joins the project");
  const std::string source = host::ReadFileBytes(sourcePath);
  const std::string formText = host::ReadFileBytes(formPath);
  std::unique_ptr<host::TForm> form = ReadDesignForm(formText, formPath);
  std::string declared;
  int line = 0;
  if (!FindFormClassDeclaration(source, declared, line))
    throw EParserError(
        sourcePath, 1,
        "The unit declares no form class (" + form->ClassName() + " = class(TForm))");
  if (!SameText(declared, form->ClassName()))
    throw EParserError(
        sourcePath, line,
        "The unit declares " + declared + ", but its form file holds a " + form->ClassName());
  const std::string unitName = fs::path(sourcePath).stem().string();
  bool unitTaken = FProject.FindUnit(unitName) != nullptr;
  for (const TDesignModule& m : FModules) unitTaken = unitTaken || SameText(m.UnitName, unitName);
  if (unitTaken) throw host::EComponentError("The project has a unit " + unitName + " already");
  if (FindForm(form->Name()))
    throw host::EComponentError("The project has a frame " + form->Name() + " already");

  std::vector<std::string> copiedIn;
  if (host::PathWithin(sourcePath, FFolder).empty()) {
    copiedIn = CopyFrameIn(sourcePath, formPath, source, formText, *form);
    // Read again where it now lies, so that what it names bare is found beside it.
    form = ReadDesignForm(formText, formPath);
  }
  TDesignModule module;
  module.UnitName = unitName;
  module.FormName = form->Name();
  module.SourcePath = sourcePath;
  module.FormPath = formPath;
  module.SavedSource = module.Source = source;
  KeepDiskPrint(sourcePath, source);
  KeepDiskPrint(formPath, formText);
  // As when the project opens: what the writer makes of the form counts as its file.
  std::string normalized = host::WriteComponentText(*form);

  const std::string before = FProjectText;
  ReplaceProjectText(host::AddUnitToProjectText(FProjectText, FProject,
                                                {unitName, Relative(sourcePath), form->Name(), 0},
                                                form->ClassName()));
  host::TForm& added = AddForm(std::move(form), std::move(normalized));
  module.Form = &added;
  FModules.push_back(std::move(module));
  RecordProjectStep(
      {"Add Frame " + added.Name(), 0, 0, true, FModules.size() - 1, {}, before, FProjectText});
  MarkModified(added);
  if (copied) *copied = std::move(copiedIn);
  added.Show();
  if (OnFormOpened) OnFormOpened(added);
  if (OnProjectChanged) OnProjectChanged();
  return added;
}

std::vector<std::string> TDesignSession::CopyFrameIn(std::string& sourcePath, std::string& formPath,
                                                     const std::string& source,
                                                     const std::string& formText,
                                                     host::TForm& form) {
  const fs::path from = fs::path(sourcePath).parent_path();
  std::vector<host::TFileWrite> files;
  std::vector<std::string> clashes;
  // The unit and its form go beside the project under their own names: the project file names
  // them so.
  for (auto [path, bytes] : {std::pair{&sourcePath, &source}, std::pair{&formPath, &formText}}) {
    const fs::path target = fs::path(FFolder) / fs::path(*path).filename();
    if (!host::LocateFile(target.string()).empty()) clashes.push_back(Relative(target.string()));
    files.push_back({target.string(), *bytes, -1});
    *path = target.string();
  }
  // What its components name from their own folder ("chime.wav", "media/chime.wav") is looked
  // for from this one once the frame is here: the same names, copied along. A file of the same
  // bytes here already is that file.
  std::set<std::string> named;
  std::vector<fs::path> newFolders;
  std::error_code ec;
  for (host::TComponent* c : form.ComponentList())
    for (const std::string& name : FCore.Registry().FilesNamedBy(*c)) {
      const fs::path relative = fs::path(host::NativePath(name)).lexically_normal();
      if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") continue;
      const fs::path source = from / relative;
      if (!named.insert(relative.string()).second || !fs::is_regular_file(source, ec)) continue;
      const fs::path target = fs::path(FFolder) / relative;
      std::string bytes = host::ReadFileBytes(source.string());
      if (fs::exists(target, ec)) {
        if (!fs::is_regular_file(target, ec) || host::ReadFileBytes(target.string()) != bytes)
          clashes.push_back(relative.string());
        continue;
      }
      NoteNewFolders(target, FFolder, newFolders);
      files.push_back({target.string(), std::move(bytes), -1});
    }
  if (!clashes.empty())
    throw host::EInOutError(
        "The project folder holds other files of these names already, which the frame would "
        "write over: " +
        JoinNames(clashes) + ". Add the frame from there, or rename them first.");
  WriteIntoNewFolders(files, std::move(newFolders), JournalPath());
  std::vector<std::string> copied;
  for (const host::TFileWrite& file : files) copied.push_back(Relative(file.Name));
  return copied;
}

bool TDesignSession::CanUndoProject() const {
  // A project step comes back only over the project file as it left it: a later rename of a frame
  // changes that file too, and is taken back first.
  return !FProjectDone.empty() && FProjectText == FProjectDone.back().ProjectAfter;
}

bool TDesignSession::CanRedoProject() const {
  return !FProjectUndone.empty() && FProjectText == FProjectUndone.back().ProjectBefore;
}

bool TDesignSession::UndoProject() {
  return TakeProjectStep(true);
}

bool TDesignSession::RedoProject() {
  return TakeProjectStep(false);
}

bool TDesignSession::TakeProjectStep(bool undo) {
  if (!(undo ? CanUndoProject() : CanRedoProject())) return false;
  std::vector<TProjectStep>& from = undo ? FProjectDone : FProjectUndone;
  std::vector<TProjectStep>& to = undo ? FProjectUndone : FProjectDone;
  TProjectStep step = std::move(from.back());
  from.pop_back();
  // A frame added goes out again when undone, a frame removed when redone; else it comes back.
  if (step.Added == undo) {
    step.Frame = TakeOut(step.Index);
  } else {
    PutBack(step.Index, std::move(step.Frame));
    step.Frame = {};
  }
  ReplaceProjectText(undo ? step.ProjectBefore : step.ProjectAfter);
  to.push_back(std::move(step));
  ++FChanges;
  if (OnProjectChanged) OnProjectChanged();
  return true;
}

bool TDesignSession::ProjectUndoComesFirst(const host::TForm* form) const {
  return CanUndoProject() && (!form || FProjectDone.back().Sequence > UndoSequence(*form));
}

bool TDesignSession::ProjectRedoComesFirst(const host::TForm* form) const {
  const uint64_t formStep = form ? RedoSequence(*form) : 0;
  return CanRedoProject() && (formStep == 0 || FProjectUndone.back().Sequence < formStep);
}

void TDesignSession::BeginStepGroup(const std::string& name) {
  if (FGroupDepth++ > 0) return;
  FGroup = NextStepSequence();
  FGroupNames[FGroup] = name;
}

void TDesignSession::EndStepGroup() {
  if (FGroupDepth > 0 && --FGroupDepth == 0) FGroup = 0;
}

bool TDesignSession::LatestOfGroup(uint64_t group, bool done, TOpenForm*& form) const {
  // Undo goes from the latest step of the group back, redo from the earliest on.
  uint64_t best = 0;
  bool found = false;
  auto consider = [&](uint64_t sequence, uint64_t stepGroup, TOpenForm* where) {
    if (sequence == 0 || stepGroup != group) return;
    if (!found || (done ? sequence > best : sequence < best)) {
      best = sequence;
      form = where;
      found = true;
    }
  };
  if (done && CanUndoProject())
    consider(FProjectDone.back().Sequence, FProjectDone.back().Group, nullptr);
  if (!done && CanRedoProject())
    consider(FProjectUndone.back().Sequence, FProjectUndone.back().Group, nullptr);
  for (const TOpenForm& open : FOpenForms) {
    const TDesignHistory& h = open.History;
    consider(done ? h.UndoSequence() : h.RedoSequence(), done ? h.UndoGroup() : h.RedoGroup(),
             const_cast<TOpenForm*>(&open));
  }
  return found;
}

void TDesignSession::TakeGroup(uint64_t group, bool undo) {
  for (TOpenForm* open = nullptr; group != 0 && LatestOfGroup(group, undo, open);) {
    if (open)
      undo ? Undo(*open->Form) : Redo(*open->Form);
    else
      undo ? UndoProject() : RedoProject();
  }
}

std::optional<TDesignSession::TNextStep> TDesignSession::NextStep(const host::TForm* form,
                                                                  bool undo) const {
  if (undo ? ProjectUndoComesFirst(form) : ProjectRedoComesFirst(form)) {
    const TProjectStep& step = undo ? FProjectDone.back() : FProjectUndone.back();
    return TNextStep{true, step.Group, step.Name};
  }
  const TOpenForm* open = form ? FindOpen(*form) : nullptr;
  if (!open || !(undo ? open->History.CanUndo() : open->History.CanRedo())) return std::nullopt;
  return TNextStep{false, undo ? open->History.UndoGroup() : open->History.RedoGroup(),
                   undo ? open->History.UndoName() : open->History.RedoName()};
}

bool TDesignSession::TakeLatest(host::TForm* form, bool undo) {
  std::optional<TNextStep> step = NextStep(form, undo);
  if (!step) return false;
  bool done =
      step->Project ? (undo ? UndoProject() : RedoProject()) : (undo ? Undo(*form) : Redo(*form));
  if (done) TakeGroup(step->Group, undo);
  return done;
}

std::string TDesignSession::LatestName(const host::TForm* form, bool undo) const {
  std::optional<TNextStep> step = NextStep(form, undo);
  if (!step) return std::string();
  auto named = FGroupNames.find(step->Group);
  return named == FGroupNames.end() ? step->Name : named->second;
}

bool TDesignSession::UndoLatest(host::TForm* form) {
  return TakeLatest(form, true);
}

bool TDesignSession::RedoLatest(host::TForm* form) {
  return TakeLatest(form, false);
}

std::string TDesignSession::UndoLatestName(const host::TForm* form) const {
  return LatestName(form, true);
}

std::string TDesignSession::RedoLatestName(const host::TForm* form) const {
  return LatestName(form, false);
}

uint64_t TDesignSession::UndoSequence(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open ? open->History.UndoSequence() : 0;
}

uint64_t TDesignSession::RedoSequence(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open ? open->History.RedoSequence() : 0;
}

bool TDesignSession::CanUndo(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open && open->History.CanUndo();
}

bool TDesignSession::CanRedo(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open && open->History.CanRedo();
}

size_t TDesignSession::UndoSteps(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open ? open->History.Steps() : 0;
}

std::string TDesignSession::UndoName(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open ? open->History.UndoName() : std::string();
}

std::string TDesignSession::RedoName(const host::TForm& form) const {
  const TOpenForm* open = FindOpen(form);
  return open ? open->History.RedoName() : std::string();
}

size_t TDesignSession::HistorySize() const {
  size_t size = 0;
  for (const TOpenForm& open : FOpenForms) size += open.History.Size();
  return size;
}

bool TDesignSession::SourceInStep(const TDesignModule& module, std::string& source) const {
  std::vector<TFormField> fields;
  // In the order the form file holds them, so that reading the form back changes nothing.
  for (const host::TComponent* c : host::ComponentsInFileOrder(*module.Form))
    if (!c->Name().empty() && c->Owner() == module.Form)
      fields.push_back({c->Name(), c->ClassName()});
  source = module.Source;
  if (SetFormFields(source, fields)) return true;
  source = module.Source;
  return false;
}

std::vector<host::TFileWrite> TDesignSession::PendingWrites(
    bool fresh, std::vector<std::string>* unread) const {
  std::vector<host::TFileWrite> files;
  for (const TDesignModule& module : FModules) {
    const TOpenForm* open = module.Form ? FindOpen(*module.Form) : nullptr;
    std::string text;
    if (open) text = fresh ? host::WriteComponentText(*module.Form) : open->LastText;
    bool formChanged = open && text != open->SavedText;
    // A changed form's unit declares its components as they now are.
    std::string source = module.Source;
    if (formChanged && !SourceInStep(module, source) && unread)
      unread->push_back(module.SourcePath);
    if (module.New || source != module.SavedSource) files.push_back({module.SourcePath, source});
    if (formChanged) files.push_back({module.FormPath, std::move(text)});
  }
  if (FProjectText != FSavedProjectText) files.push_back({FProjectPath, FProjectText});
  return files;
}

void TDesignSession::RecordUnrecordedChanges() {
  // A change nobody reported (a frame's window moved by the window system) is a step of its own
  // before a save, so that the history and the saved texts agree.
  for (TOpenForm& open : FOpenForms) RecordStep(open, "Change", "");
}

std::vector<std::string> TDesignSession::Save() {
  RecordUnrecordedChanges();
  std::vector<std::string> unread;
  std::vector<host::TFileWrite> files = PendingWrites(true, &unread);
  host::WriteFilesTogether(files, JournalPath());

  std::vector<std::string> written;
  for (const host::TFileWrite& file : files) {
    written.push_back(Relative(file.Name));
    FDiskPrints[Relative(file.Name)] = Fingerprint(file.Bytes);
    for (TDesignModule& module : FModules) {
      if (module.Form && module.FormPath == file.Name)
        FindOpen(*module.Form)->SavedText = file.Bytes;
      if (module.SourcePath == file.Name) module.Source = file.Bytes;
    }
  }
  for (const std::string& unit : unread)
    host::FileNotice(Relative(unit) +
                     ": its form's components are declared in a way the studio does not read "
                     "(one `Name: Class;` a line, right after the class line), so the unit was "
                     "left as it was.");
  for (TDesignModule& module : FModules) {
    module.New = false;
    module.SavedSource = module.Source;
  }
  FSavedProjectText = FProjectText;
  for (TOpenForm& open : FOpenForms) open.History.MarkClean();
  DiscardRecovery();
  return written;
}

TRecovery TDesignSession::RecoveryState() const {
  TRecovery recovery;
  recovery.ProjectPath = FProjectPath;
  recovery.Written = static_cast<int64_t>(std::time(nullptr));
  for (host::TFileWrite& file : PendingWrites(false))
    recovery.Files.emplace_back(Relative(file.Name), std::move(file.Bytes));
  recovery.Base.assign(FDiskPrints.begin(), FDiskPrints.end());
  for (const TDesignModule& module : FModules) {
    if (!module.Form) continue;
    const TOpenForm* open = FindOpen(*module.Form);
    if (open->LastText != open->SavedText)
      recovery.Frames.push_back(module.Form->Name() + (open->SavedText.empty() ? " (new)" : ""));
  }
  return recovery;
}

void TDesignSession::KeepRecovery(bool inBackground) {
  if (FChanges == FKeptChanges) return;
  FKeptChanges = FChanges;
  TRecovery recovery = RecoveryState();
  if (recovery.Files.empty()) {
    FRecoveryWriter.Remove(RecoveryFileFor(FProjectPath));
    return;
  }
  FRecoveryWriter.Write(RecoveryFileFor(FProjectPath), std::move(recovery), inBackground);
}

void TDesignSession::DiscardRecovery() {
  FRecoveryWriter.Remove(RecoveryFileFor(FProjectPath));
  FKeptChanges = FChanges;
}

namespace {

// The permissions a copy of the file keeps (a program stays a program); -1 when it has none.
int ModeOf(const std::string& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return -1;
  return static_cast<int>(status.permissions() & fs::perms::mask);
}

}  // namespace

std::vector<std::string> TDesignSession::SaveAs(const std::string& projectFile) {
  fs::path target = fs::absolute(projectFile).lexically_normal();
  if (target.string() == FProjectPath) return Save();
  std::string name = target.stem().string();
  if (!host::TComponent::IsValidIdent(name))
    throw host::EConvertError("\"" + name + "\" cannot name a project: use letters, digits and _");
  fs::path folder = target.parent_path();
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw host::EInOutError("The folder " + folder.string() + " does not exist");
  if (!host::LocateFile(target.string()).empty())
    throw host::EInOutError("The file " + target.string() + " exists already");
  const bool moving = folder.string() != FFolder;
  RecordUnrecordedChanges();

  std::string projectText = host::RenameProgramText(FProjectText, FProject.ProgramName, name);
  std::vector<host::TFileWrite> files = {{target.string(), projectText, ModeOf(FProjectPath)}};
  std::vector<std::string> written = {target.filename().string()};
  // Names the new folder holds already: never written over, and never some written and some
  // not, so they are all told at once.
  std::vector<std::string> clashes;
  struct TMoved {
    TDesignModule* Module;
    std::string SourcePath, FormPath, FormText;
  };
  std::vector<TMoved> moved;
  std::vector<std::string> ownFiles = {FProjectPath};
  auto moveTo = [&](const std::string& path) {
    std::string relative = Relative(path);
    if (relative.starts_with(".."))
      throw host::EInOutError("The file " + path +
                              " lies outside the project folder and cannot move with it");
    return (folder / relative).lexically_normal().string();
  };
  auto add = [&](const std::string& path, std::string bytes, int mode) {
    std::string shown = fs::path(path).lexically_relative(folder).string();
    if (moving && !host::LocateFile(path).empty()) {
      clashes.push_back(shown);
      return;
    }
    written.push_back(shown);
    files.push_back({path, std::move(bytes), mode});
  };
  for (TDesignModule& module : FModules) {
    ownFiles.push_back(module.SourcePath);
    TMoved m{&module, moving ? moveTo(module.SourcePath) : module.SourcePath, {}, {}};
    if (module.New || moving || module.Source != module.SavedSource)
      add(m.SourcePath, module.Source, ModeOf(module.SourcePath));
    if (module.Form) {
      ownFiles.push_back(module.FormPath);
      m.FormPath = moving ? moveTo(module.FormPath) : module.FormPath;
      m.FormText = host::WriteComponentText(*module.Form);
      if (moving || m.FormText != FindOpen(*module.Form)->SavedText)
        add(m.FormPath, m.FormText, ModeOf(module.FormPath));
    }
    moved.push_back(std::move(m));
  }
  // Subfolders of the new folder that files go into, made before anything is written.
  std::vector<fs::path> newFolders;
  if (moving) {
    std::set<std::string> carried;
    auto carry = [&](const fs::path& source) {
      std::string path = source.lexically_normal().string();
      for (const std::string& file : ownFiles)
        if (SameText(file, path)) return;
      if (!carried.insert(path).second) return;
      fs::path inside = source.lexically_normal().lexically_relative(FFolder);
      add((folder / inside).string(), host::ReadFileBytes(path), ModeOf(path));
    };
    // Whatever lies beside the project goes along: what the frames name bare is found there.
    // The kit's own passing files (a save's temporary files and journal) are no part of it.
    for (const fs::directory_entry& entry : fs::directory_iterator(FFolder, ec))
      if (entry.is_regular_file(ec) && !host::IsOwnPassingFile(entry.path().filename().string()))
        carry(entry.path());
    // And every file a frame names in a subfolder ("media/chime.wav"); one outside the folder
    // stays where it is, named as before (the check warns of it).
    for (const TOpenForm& open : FOpenForms)
      for (host::TComponent* c : open.Form->ComponentList())
        for (const std::string& named : FCore.Registry().FilesNamedBy(*c)) {
          fs::path name(host::NativePath(named));
          fs::path source =
              (name.is_absolute() ? name : fs::path(FFolder) / name).lexically_normal();
          const std::string inside = host::PathWithin(source.string(), FFolder);
          if (inside.empty() || !fs::is_regular_file(source, ec)) continue;
          NoteNewFolders(folder / inside, folder, newFolders);
          carry(source);
        }
  }
  if (!clashes.empty())
    throw host::EInOutError("The folder " + folder.string() +
                            " holds files of these names already, which the project would write "
                            "over: " +
                            JoinNames(clashes) +
                            ". Choose an empty folder, or move those files away first.");
  WriteIntoNewFolders(files, std::move(newFolders), JournalOf(target));

  for (TMoved& m : moved) {
    m.Module->SourcePath = m.SourcePath;
    m.Module->New = false;
    m.Module->SavedSource = m.Module->Source;
    if (m.Module->Form) {
      m.Module->FormPath = m.FormPath;
      FindOpen(*m.Module->Form)->SavedText = std::move(m.FormText);
    }
  }
  DiscardRecovery();
  FProjectPath = target.string();
  FFolder = folder.string();
  // The renamed program moves every offset the next new unit is placed by.
  FProject = host::ParseProjectText(projectText, FProjectPath);
  FProject.FileName = FProjectPath;
  FProjectText = FSavedProjectText = std::move(projectText);
  for (TOpenForm& open : FOpenForms) open.History.MarkClean();
  FDiskPrints.clear();
  FDiskPrints[Relative(FProjectPath)] = FingerprintOfFile(FProjectPath);
  for (const TDesignModule& module : FModules) {
    FDiskPrints[Relative(module.SourcePath)] = FingerprintOfFile(module.SourcePath);
    if (module.Form) FDiskPrints[Relative(module.FormPath)] = FingerprintOfFile(module.FormPath);
  }
  return written;
}

}  // namespace ide
