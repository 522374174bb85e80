#include "experts/Projview.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "host/DialogLayout.h"
#include "host/Dialogs.h"
#include "host/SysUtils.h"
#include "ide/DesignCore.h"
#include "runtime/Strtool.h"

namespace mebrox::Projview {

namespace {

enum TUnitKind { ukPlain, ukForm, ukUnreadable };

// The class name on a declaration line: its first word after leading blanks. A tab counts as a
// blank and "=" ends the word too, so that a tab-indented "TForm1=class(TForm)" still names
// TForm1: the sections file could not keep a name with a leading tab (its values lose
// surrounding blanks), and the thumbnail is found by the class name alone.
std::string DeclaredClassName(const std::string& line) {
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  size_t end = line.find_first_of(" \t=", start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// What a unit's source holds: a form (its class name from the first line holding "(TForm)"), no
// form, or nothing readable (a new form not saved yet).
TUnitKind ScanUnit(const std::string& fileName, std::string& className) {
  std::string path = host::NativePath(fileName);
  if (host::DirectoryExists(path)) return ukUnreadable;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ukUnreadable;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("(TForm)") == std::string::npos) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    className = DeclaredClassName(line);
    return ukForm;
  }
  return ukPlain;
}

// Visits the project's frame units in the IDE's order until visit returns false: the ".pas"
// units that declare a form, and those that cannot be read, which the design session only has
// for new forms. Our IDE numbers units from 0 with neither the project file nor entries of its
// own before them, and a unit without a form would shift every later frame by one, so frames are
// counted among these units rather than read at a fixed unit position.
void ForEachFrameUnit(ide::TIToolServices* services,
                      const std::function<bool(TUnitKind, const std::string&)>& visit) {
  if (!services) return;
  int count = services->GetUnitCount();
  for (int i = 0; i < count; ++i) {
    std::string fileName = services->GetUnitName(i);
    if (!host::SameText(host::ExtractFileExt(fileName), ".PAS")) continue;
    std::string className;
    TUnitKind kind = ScanUnit(fileName, className);
    if (kind != ukPlain && !visit(kind, className)) return;
  }
}

void WarnUnsavedForm() {
  // The pointer the caller showed comes back, not always the hourglass: callers outside a
  // showing would keep an hourglass for good.
  host::TCursor cursor = host::Screen->Cursor();
  host::Screen->SetCursor(host::crDefault);
  host::MessageDlg(
      "There might be a new form that is not saved.\rPlease save that form in order for it to "
      "show in the dialog.",
      host::mtWarning, {host::mbOK}, 0);
  host::Screen->SetCursor(cursor);
}

int IndexOfName(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (host::SameText(names[i], name)) return static_cast<int>(i);
  return -1;
}

}  // namespace

void GetFormName(ide::TIToolServices* services, int index, std::string& formName) {
  int position = 0;
  ForEachFrameUnit(services, [&](TUnitKind kind, const std::string& className) {
    if (position++ < index) return true;
    if (kind == ukUnreadable)
      WarnUnsavedForm();
    else if (!className.empty())
      formName = className;
    return false;
  });
}

std::unique_ptr<host::TStringList> GetFormNames(ide::TIToolServices* services) {
  auto names = std::make_unique<host::TStringList>();
  if (!services) return names;
  std::string name;
  int count = services->GetUnitCount();
  for (int i = 0; i <= count; ++i) {
    GetFormName(services, i, name);
    names->Add(name);
  }
  return names;
}

void RemoveINIEntry(host::TIniFile& iniFile, const std::string& section, const std::string& ident) {
  mebrox::RemoveINIEntry(iniFile, section, ident);
}

namespace {

// The project's frames by frame index, each once. Every index starts from an empty name: the old
// dialog kept one variable for all, so a unit that could not be read repeated the frame before
// it, filing that frame twice. Incomplete when a frame unit could not be read: then a frame the
// file names may still be in the project.
struct TProjectFrames {
  std::vector<std::string> Names;
  bool Complete = true;
};

TProjectFrames ProjectFrames(ide::TIToolServices* services) {
  TProjectFrames frames;
  int count = services ? services->GetFormCount() : 0;
  int position = 0;
  ForEachFrameUnit(services, [&](TUnitKind kind, const std::string& className) {
    if (position++ >= count) return false;
    if (kind == ukUnreadable) {
      WarnUnsavedForm();
      frames.Complete = false;
    } else if (!className.empty() && IndexOfName(frames.Names, className) < 0) {
      frames.Names.push_back(className);
    }
    return true;
  });
  return frames;
}

}  // namespace

void Register(ide::TDesignCore& core) {
  core.Registry().RegisterLibraryExpert(std::make_unique<ProjectViewExpert>(core));
}

}  // namespace mebrox::Projview

namespace mebrox {

using host::TObject;
using Projview::IndexOfName;

TProjViewDlg* ProjViewDlg = nullptr;

// ---- the expert

void ProjectViewExpert::Execute() {
  if (!ProjViewDlg) {
    // A tool window of the IDE must not become the application's main form, which it would as
    // the first form the application owns: closing it would end the IDE.
    host::TForm* mainForm = host::Application->MainForm();
    ProjViewDlg = new TProjViewDlg(host::Application, FCore);
    host::Application->SetMainForm(mainForm);
  }
  // One dialog serves the process: it shows the project of the core whose menu chose it last.
  ProjViewDlg->SetCore(FCore);
  ProjViewDlg->Show();
}

namespace {

const std::string Status = "Status";
const std::string NotFiled = "NotFiledFrames";
const char* const MoveHint =
    "Right-click a frame, or press Shift+F10 in the list, to move it to another group.";
const char* const NothingChanged = "Nothing was changed.";
const char* const NotSavedNote =
    "The groups are not saved: the project sections file could not be used. Refresh to try "
    "again.";

std::string Numbered(const std::string& word, int number) {
  return word + std::to_string(number);
}

// The number after word in key (Frame12: 12), or -1 when key is not word and a number.
int NumberOf(const std::string& key, const std::string& word) {
  int number = 0;
  if (key.size() <= word.size() || !host::SameText(key.substr(0, word.size()), word) ||
      !host::TryStrToInt(key.substr(word.size()), number))
    return -1;
  return number;
}

// The picture resized by keeping whole pixels, as the old "colour on colour" stretch did: no
// blending, so a frame's own colours stay exact.
host::TRawImage StretchImage(const host::TRawImage& image, int width, int height) {
  host::TRawImage result;
  result.Width = width;
  result.Height = height;
  result.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      result.Pixels[static_cast<size_t>(y * width + x)] =
          image.Pixel(x * image.Width / width, y * image.Height / height);
  return result;
}

// The picture of the first showing form of that class, at thumbnail size; null when no such
// form shows or it cannot be pictured.
std::shared_ptr<const host::TRawImage> GetFrameThumbnail(const std::string& name) {
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    host::TForm* form = host::Screen->Forms(i);
    if (form->ClassName() != name || !form->Showing()) continue;
    host::TRawImage image;
    try {
      image = host::CaptureForm(*form);
    } catch (const host::Exception&) {
      return nullptr;
    }
    if (image.Width <= 0 || image.Height <= 0) return nullptr;
    return std::make_shared<const host::TRawImage>(
        StretchImage(image, TProjViewDlg::ThumbnailSize, TProjViewDlg::ThumbnailSize));
  }
  return nullptr;
}

// What stands for a frame whose form is not showing: a crossed square.
const std::shared_ptr<const host::TRawImage>& NoPicture() {
  static const std::shared_ptr<const host::TRawImage> picture = [] {
    const int n = TProjViewDlg::ThumbnailSize;
    auto image = std::make_shared<host::TRawImage>();
    image->Width = n;
    image->Height = n;
    image->Pixels.assign(static_cast<size_t>(n * n), 0xFFFFFFFF);
    auto ink = [&](int x, int y) { image->Pixels[static_cast<size_t>(y * n + x)] = 0xFF000000; };
    for (int i = 0; i < n; ++i) {
      ink(i, 0);
      ink(i, n - 1);
      ink(0, i);
      ink(n - 1, i);
      ink(i, i);
      ink(n - 1 - i, i);
    }
    return image;
  }();
  return picture;
}

// Shows the hourglass while the lists are rebuilt, also when that fails.
class THourglass {
 public:
  THourglass() { host::Screen->SetCursor(host::crHourGlass); }
  ~THourglass() { host::Screen->SetCursor(host::crDefault); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};

// A caption that shows name as it is: "&" would otherwise mark an accelerator.
std::string MenuText(const std::string& name) {
  std::string text;
  for (char c : name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace

// ---- reading the sections file

// Reads the groups as the file holds them, leniently: frames that left the project drop out
// (their group is marked for rewriting), and what is damaged is left out with the first fault
// kept, as a message naming the file and line.
class TProjViewDlg::TReader {
 public:
  // complete: frames holds every frame of the project; when it does not, a frame the file names
  // that is not among frames stays where it is filed.
  TReader(const host::TMemIniFile& ini, const std::vector<std::string>& frames, bool complete)
      : FIni(ini), FFrames(frames), FComplete(complete) {
    if (std::string problem = FIni.Problem(); !problem.empty()) Fault = problem;
  }

  // False when the file is to be created afresh: it is new ("INIAvailable" missing or 0) and
  // files no frame.
  bool Initialised() {
    if (Fault) return true;
    bool present = FIni.ValueExists(Status, "INIAvailable");
    std::string text = FIni.ReadString(Status, "INIAvailable", "");
    int value = 0;
    // Taken for 0, a damaged flag would have a good file overwritten.
    if (present && !host::TryStrToInt(text, value)) {
      Note(Status, "INIAvailable", "INIAvailable is not a number: \"" + text + "\"");
      return true;
    }
    if (value != 0) return true;
    // A flag lost in an edit (misspelt, or joined to the line before by a lone CR) must not
    // have the groups written over as if the file were new.
    if (!FilesFrames()) return false;
    Note(Status, present ? "INIAvailable" : "",
         present ? "INIAvailable is 0, but the file holds groups of frames"
                 : "INIAvailable is missing, but the file holds groups of frames");
    return true;
  }

  std::vector<TGroup> Read() {
    CheckSections();
    std::vector<TGroup> groups;
    groups.push_back(ReadGroup(NotFiled));
    ForEachNumbered(Status, "Sections", "Section", [&](const std::string& key) {
      std::string name = FIni.ReadString(Status, key, "");
      if (std::string fault = GroupNameFault(name, groups); !fault.empty())
        Note(Status, key, fault);
      else
        groups.push_back(ReadGroup(name));
    });
    if (Fault) RecoverGroups(groups);
    return groups;
  }

  std::optional<std::string> Fault;
  std::vector<bool> Pruned;  // per group read: frames that left the project were left out

 private:
  TGroup ReadGroup(const std::string& name) {
    TGroup group{name, {}};
    bool pruned = false;
    ForEachNumbered(name, "NoOfFrames", "Frame", [&](const std::string& key) {
      std::string frame = FIni.ReadString(name, key, "");
      // A name with a blank, a control character or "=" in it is no class name: two lines run
      // together, or a note added by hand. Taken for a frame that left the project, it would
      // be dropped without a word.
      if (std::any_of(frame.begin(), frame.end(),
                      [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '='; })) {
        Note(name, key, key + " is no frame name: \"" + frame + "\"");
        return;
      }
      if (!frame.empty() && IndexOfName(FFiled, frame) >= 0) {
        Note(name, key, frame + " is filed a second time");
        return;
      }
      FFiled.push_back(frame);
      int index = IndexOfName(FFrames, frame);
      if (index < 0 && (frame.empty() || FComplete)) {
        pruned = true;
        return;
      }
      const std::string& projectName = index < 0 ? frame : FFrames[static_cast<size_t>(index)];
      group.Frames.push_back({projectName, GetFrameThumbnail(projectName)});
    });
    Pruned.push_back(pruned);
    return group;
  }

  // Whether the file files any frame: "Status" lists groups, or a section lists frames.
  bool FilesFrames() const {
    host::TStringList keys;
    FIni.ReadSection(Status, keys);
    for (const std::string& key : keys.Items())
      if (NumberOf(key, "Section") > 0 || (host::SameText(key, "Sections") && !IsZero(Status, key)))
        return true;
    host::TStringList sections;
    FIni.ReadSections(sections);
    for (const std::string& section : sections.Items()) {
      if (host::SameText(section, Status)) continue;
      FIni.ReadSection(section, keys);
      for (const std::string& key : keys.Items())
        if (NumberOf(key, "Frame") >= 0 ||
            (host::SameText(key, "NoOfFrames") && !IsZero(section, key)))
          return true;
    }
    return false;
  }

  bool IsZero(const std::string& section, const std::string& key) const {
    int number = 0;
    return host::TryStrToInt(FIni.ReadString(section, key, ""), number) && number == 0;
  }

  // In a damaged file the list of groups may be what was lost: a section that "Status" does not
  // list but that files frames no group holds is taken for the group it was.
  void RecoverGroups(std::vector<TGroup>& groups) {
    host::TStringList sections, keys;
    FIni.ReadSections(sections);
    for (const std::string& section : sections.Items()) {
      if (!GroupNameFault(section, groups).empty()) continue;
      FIni.ReadSection(section, keys);
      bool adds = false;
      for (const std::string& key : keys.Items()) {
        if (NumberOf(key, "Frame") < 0) continue;
        std::string frame = FIni.ReadString(section, key, "");
        adds = adds || (IndexOfName(FFiled, frame) < 0 && IndexOfName(FFrames, frame) >= 0);
      }
      if (adds) groups.push_back(ReadGroup(section));
    }
  }

  // Calls read with each numbered key word1 ... wordN of the section that exists, N being the
  // value of its count key (missing reads 0). A count that is no number, a numbered key missing
  // below it or standing past it, and a key given twice are faults.
  void ForEachNumbered(const std::string& section, const std::string& countKey,
                       const std::string& word,
                       const std::function<void(const std::string&)>& read) {
    int count = 0;
    if (FIni.ValueExists(section, countKey)) {
      std::string text = FIni.ReadString(section, countKey, "");
      if (!host::TryStrToInt(text, count) || count < 0) {
        Note(section, countKey, countKey + " is not a number of entries: \"" + text + "\"");
        count = 0;
      }
    }
    host::TStringList keys;
    FIni.ReadSection(section, keys);
    std::vector<std::string> seen;
    int highest = 0;
    for (const std::string& key : keys.Items()) {
      if (IndexOfName(seen, key) >= 0) Note(section, key, key + " appears twice", 2);
      seen.push_back(key);
      int number = NumberOf(key, word);
      if (number < 0) continue;
      if (number > count)
        Note(section, key, countKey + " is " + std::to_string(count) + ", but " + key + " follows");
      highest = std::max(highest, number);
    }
    auto missing = [&](int k) {
      Note(section, countKey,
           countKey + " is " + std::to_string(count) + ", but there is no " + Numbered(word, k));
    };
    // Past the highest key there is nothing to read, however large the count.
    for (int k = 1; k <= count; ++k) {
      if (k > highest) {
        missing(k);
        break;
      }
      if (FIni.ValueExists(section, Numbered(word, k)))
        read(Numbered(word, k));
      else
        missing(k);
    }
  }

  // Sections of one name: only the first would be read.
  void CheckSections() {
    host::TStringList sections;
    FIni.ReadSections(sections);
    std::vector<std::string> seen;
    for (int i = 0; i < sections.Count(); ++i) {
      const std::string& name = sections.Get(i);
      if (IndexOfName(seen, name) >= 0)
        Note(name, {}, "There is a second section [" + name + "]", 2);
      seen.push_back(name);
    }
  }

  void Note(const std::string& section, const std::string& ident, const std::string& text,
            int occurrence = 1) {
    // Without the section's line, the message points at the file's first.
    if (!Fault)
      Fault =
          host::EParserError(FIni.FileName(), std::max(1, LineOf(section, ident, occurrence)), text)
              .Message();
  }

  // The line of a key of the section (of its header when ident is empty), counting from 1.
  int LineOf(const std::string& section, const std::string& ident, int occurrence) const {
    std::string text = host::ReadFileBytes(FIni.FileName());
    int number = 0;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string line = host::Trim(text.substr(pos, end - pos));
      pos = end + 1;
      ++number;
      if (!line.empty() && line[0] == '[') {
        inSection = host::SameText(host::Trim(line.substr(1, line.find(']') - 1)), section);
        if (inSection && ident.empty() && --occurrence == 0) return number;
        continue;
      }
      size_t eq = line.find('=');
      if (inSection && !ident.empty() && eq != std::string::npos &&
          host::SameText(host::Trim(line.substr(0, eq)), ident) && --occurrence == 0)
        return number;
    }
    return 0;
  }

  const host::TMemIniFile& FIni;
  const std::vector<std::string>& FFrames;
  bool FComplete;
  std::vector<std::string> FFiled;
};

// ---- the dialog

TProjViewDlg::TProjViewDlg(host::TComponent* owner, ide::TDesignCore& core)
    : host::TForm(owner), FCore(&core) {
  host::TDialogLayout("ProjViewDlg")
      .Bind("Label1", Label1)
      .Bind("Edit1", Edit1)
      .Bind("bbAdd", bbAdd)
      .Bind("bbDel", bbDel)
      .Bind("ListBox2", ListBox2)
      .Bind("ListBox1", ListBox1)
      .Bind("Panel1", Panel1)
      .Bind("Thumbnail", Thumbnail)
      .Bind("Label2", Label2)
      .Bind("BitBtn1", BitBtn1)
      .Bind("BitBtn2", BitBtn2)
      .Bind("FrameMenu", FrameMenu)
      .Load(*this);
  OnShow = [this](TObject*) { Rebuild(); };
  OnClose = [this](TObject*, host::TCloseAction&) { FormClose(); };
  BitBtn1->OnClick = [this](TObject*) { Close(); };
  BitBtn2->OnClick = [this](TObject*) { Rebuild(); };
  bbAdd->OnClick = [this](TObject*) { bbAddClick(); };
  bbDel->OnClick = [this](TObject*) { bbDelClick(); };
  ListBox2->OnClick = [this](TObject*) { ListBox2Click(); };
  ListBox1->OnClick = [this](TObject*) { ListBox1Click(); };
  ListBox1->OnDrawItem = [this](TObject*, int index, const host::TRect& rect,
                                host::TOwnerDrawState state) {
    ListBox1DrawItem(index, rect, state);
  };
  ListBox1->OnKeyDown = [this](TObject*, host::TKey& key, host::TShiftState shift) {
    ListBox1KeyDown(key, shift);
  };
  FrameMenu->OnPopup = [this](TObject*) { FrameMenuPopup(); };
  OpenProjINI();
}

TProjViewDlg::~TProjViewDlg() {
  if (ProjViewDlg == this) ProjViewDlg = nullptr;
}

// ---- the file and the project

void TProjViewDlg::OpenProjINI() {
  ide::TIToolServices* services = FCore->ToolServices();
  std::string project = services ? services->GetProjectName() : std::string();
  FProjININame = project.empty() ? std::string() : host::ChangeFileExt(project, ".INI");
}

void TProjViewDlg::Rebuild() {
  THourglass hourglass;
  // The IDE's current project, on Refresh too: another project's frames, loaded against the
  // file of the project before, would all count as vanished and drop out of it.
  OpenProjINI();
  FreeLists();
  LoadProjINI();
  ShowGroups(0, 0);
  ShowSaving();
}

void TProjViewDlg::LoadProjINI() {
  FGroups.clear();
  FSaving = !FProjININame.empty();
  Projview::TProjectFrames project = Projview::ProjectFrames(FCore->ToolServices());
  std::optional<std::string> fault;
  std::vector<bool> pruned;
  bool fresh = FProjININame.empty();
  if (!fresh) {
    try {
      host::TMemIniFile ini(FProjININame);
      TReader reader(ini, project.Names, project.Complete);
      fresh = !reader.Initialised();
      if (!fresh) FGroups = reader.Read();
      fault = reader.Fault;
      pruned = reader.Pruned;
    } catch (const host::EInOutError& e) {
      // Nothing of the file can be read (a folder of that name, another user's file): what it
      // holds is unknown, so it is neither written over nor put aside.
      host::MessageDlg(e.Message() + "\nThe groups are shown but not saved.", host::mtError,
                       {host::mbOK}, 0);
      FSaving = false;
      FGroups.clear();
      pruned.clear();
    }
  }
  bool rewrite = fresh;
  if (fault) {
    rewrite = StartAfresh(*fault);
    FSaving = rewrite;
  }
  if (FGroups.empty()) FGroups.push_back({NotFiled, {}});
  bool changed = AddNewFrames(project.Names) || rewrite ||
                 std::find(pruned.begin(), pruned.end(), true) != pruned.end();
  if (changed && !Save(FGroups, {}, "The groups are shown but not saved.")) FSaving = false;
}

bool TProjViewDlg::StartAfresh(const std::string& fault) {
  std::string backup = FProjININame + ".bak";
  for (int n = 2; host::FileExists(backup); ++n) backup = FProjININame + ".bak" + std::to_string(n);
  host::TModalResult answer = host::MessageDlg(
      "The project sections file is damaged:\n" + fault +
          "\n\nStart a new file from what could be read? The damaged file is kept as " +
          host::ExtractFileName(backup) + ".\nNo: the groups are shown but not saved.",
      host::mtWarning, {host::mbYes, host::mbNo}, 0);
  if (answer != host::mrYes) return false;
  std::error_code error;
  std::filesystem::rename(host::NativePath(FProjININame), host::NativePath(backup), error);
  if (error) {
    host::MessageDlg("The damaged file cannot be kept as " + backup + ": " + error.message() +
                         "\nThe groups are shown but not saved.",
                     host::mtError, {host::mbOK}, 0);
    return false;
  }
  return true;
}

bool TProjViewDlg::AddNewFrames(const std::vector<std::string>& frames) {
  bool added = false;
  for (const std::string& frame : frames) {
    bool filed = false;
    for (const TGroup& group : FGroups)
      for (const TFrame& f : group.Frames) filed = filed || host::SameText(f.Name, frame);
    if (filed) continue;
    FGroups[0].Frames.push_back({frame, GetFrameThumbnail(frame)});
    added = true;
  }
  return added;
}

void TProjViewDlg::FreeLists() {
  FGroups.clear();
  ListBox2->Clear();
  ListBox1->Clear();
  Thumbnail->Picture().Clear();
}

void TProjViewDlg::FormClose() {
  FreeLists();
  // A name left half typed, or refused, belongs to the showing that is over.
  Edit1->Clear();
}

// ---- writing

namespace {

// Deletes the keys word + N of the section for every N above last.
void DeleteNumberedAbove(host::TMemIniFile& ini, const std::string& section,
                         const std::string& word, int last) {
  host::TStringList keys;
  ini.ReadSection(section, keys);
  for (const std::string& key : keys.Items())
    if (NumberOf(key, word) > last) ini.DeleteKey(section, key);
}

}  // namespace

bool TProjViewDlg::Save(const std::vector<TGroup>& groups, const std::vector<std::string>& gone,
                        const std::string& otherwise) {
  if (!FSaving) return true;
  try {
    // Keys are written where they stand, so that what did not change reads as it did, and
    // lines the dialog does not know are kept.
    host::TMemIniFile ini(FProjININame);
    for (const std::string& name : gone) ini.EraseSection(name);
    int count = static_cast<int>(groups.size()) - 1;
    ini.WriteString(Status, "INIAvailable", "1");
    ini.WriteString(Status, "Sections", std::to_string(count));
    ini.WriteString(Status, "Section0", NotFiled);
    for (int g = 1; g <= count; ++g)
      ini.WriteString(Status, Numbered("Section", g), groups[static_cast<size_t>(g)].Name);
    DeleteNumberedAbove(ini, Status, "Section", count);
    for (const TGroup& group : groups) {
      // A user group that never held a frame has no section of its own.
      if (&group != &groups.front() && group.Frames.empty() && !ini.SectionExists(group.Name))
        continue;
      ini.WriteString(group.Name, "NoOfFrames", std::to_string(group.Frames.size()));
      for (size_t k = 0; k < group.Frames.size(); ++k)
        ini.WriteString(group.Name, Numbered("Frame", static_cast<int>(k) + 1),
                        group.Frames[k].Name);
      DeleteNumberedAbove(ini, group.Name, "Frame", static_cast<int>(group.Frames.size()));
    }
    ini.UpdateFile();
    return true;
  } catch (const host::Exception& e) {
    host::MessageDlg(
        "The project sections file cannot be written: " + e.Message() + "\n" + otherwise,
        host::mtError, {host::mbOK}, 0);
    return false;
  }
}

// ---- groups

std::string TProjViewDlg::GroupNameFault(const std::string& name,
                                         const std::vector<TGroup>& groups) {
  if (name.empty()) return "Type the name of the new group first.";
  if (name.find_first_of("]=\r\n") != std::string::npos)
    return "A group name cannot hold \"]\", \"=\" or a line break: " + name;
  if (name != host::Trim(name)) return "A group name cannot start or end with a blank: " + name;
  if (host::SameText(name, Status) || host::SameText(name, NotFiled))
    return "The project sections file uses the name " + name + " itself; choose another.";
  for (const TGroup& group : groups)
    if (host::SameText(group.Name, name))
      return "There is a group named " + group.Name + " already.";
  return {};
}

TProjViewDlg::TGroup* TProjViewDlg::SelectedGroup() {
  int index = ListBox2->ItemIndex();
  if (index < 0 || index >= static_cast<int>(FGroups.size())) return nullptr;
  return &FGroups[static_cast<size_t>(index)];
}

int TProjViewDlg::SelectedFrame() {
  TGroup* group = SelectedGroup();
  int index = ListBox1->ItemIndex();
  return group && index >= 0 && index < static_cast<int>(group->Frames.size()) ? index : -1;
}

void TProjViewDlg::bbAddClick() {
  std::string name = host::Trim(Edit1->Text());
  if (std::string fault = GroupNameFault(name, FGroups); !fault.empty()) {
    host::MessageDlg(fault, host::mtWarning, {host::mbOK}, 0);
    return;
  }
  // A section of that name may be left from a group deleted by hand; its frames must not come
  // back with the new group.
  std::vector<TGroup> groups = FGroups;
  groups.push_back({name, {}});
  if (!Save(groups, {name}, NothingChanged)) return;
  FGroups = std::move(groups);
  ShowGroups(ListBox2->ItemIndex(), ListBox1->ItemIndex());
  Edit1->Clear();
}

void TProjViewDlg::bbDelClick() {
  int index = ListBox2->ItemIndex();
  if (index < 0) return;
  if (index == 0) {
    host::MessageDlg(NotFiled + " holds the frames of no group; it cannot be deleted.",
                     host::mtInformation, {host::mbOK}, 0);
    return;
  }
  const TGroup& group = FGroups[static_cast<size_t>(index)];
  // A group with frames goes only when asked, and its frames go to the not-filed group, so that
  // no frame is left without a group.
  if (!group.Frames.empty()) {
    if (host::MessageDlg("The group " + group.Name + " holds " +
                             std::to_string(group.Frames.size()) +
                             " frame(s). Delete it and move them to " + NotFiled + "?",
                         host::mtConfirmation, {host::mbYes, host::mbNo}, 0) != host::mrYes)
      return;
  }
  std::vector<TGroup> groups = FGroups;
  for (const TFrame& frame : group.Frames) groups[0].Frames.push_back(frame);
  groups.erase(groups.begin() + index);
  if (!Save(groups, {group.Name}, NothingChanged)) return;
  FGroups = std::move(groups);
  ShowGroups(0, 0);
}

// ---- frames

void TProjViewDlg::MoveFrameToGroup(int target) {
  TGroup* source = SelectedGroup();
  int index = SelectedFrame();
  if (index < 0 || target < 0 || target >= static_cast<int>(FGroups.size()) ||
      &FGroups[static_cast<size_t>(target)] == source)
    return;
  THourglass hourglass;
  // The file first: the lists change only once it holds the move, so that they never show what
  // it does not.
  std::vector<TGroup> groups = FGroups;
  std::vector<TFrame>& from = groups[static_cast<size_t>(ListBox2->ItemIndex())].Frames;
  TFrame frame = from[static_cast<size_t>(index)];
  frame.Picture = GetFrameThumbnail(frame.Name);
  from.erase(from.begin() + index);
  groups[static_cast<size_t>(target)].Frames.push_back(std::move(frame));
  if (!Save(groups, {}, NothingChanged)) return;
  FGroups = std::move(groups);
  FillFrameView(index);
}

void TProjViewDlg::MoveFrameBy(int delta) {
  TGroup* group = SelectedGroup();
  int index = SelectedFrame();
  if (index < 0) return;
  int to = index + delta;
  if (to < 0 || to >= static_cast<int>(group->Frames.size())) return;
  std::vector<TGroup> groups = FGroups;
  std::vector<TFrame>& frames = groups[static_cast<size_t>(ListBox2->ItemIndex())].Frames;
  std::swap(frames[static_cast<size_t>(index)], frames[static_cast<size_t>(to)]);
  if (!Save(groups, {}, NothingChanged)) return;
  FGroups = std::move(groups);
  FillFrameView(to);
}

void TProjViewDlg::ListBox2Click() {
  FillFrameView(0);
}

void TProjViewDlg::ListBox1Click() {
  ShowThumbnail();
}

void TProjViewDlg::ListBox1KeyDown(host::TKey& key, host::TShiftState shift) {
  const host::TKey VK_F10 = host::VK_F1 + 9;
  if ((key == host::VK_UP || key == host::VK_DOWN) && shift == host::TShiftState{host::ssCtrl}) {
    MoveFrameBy(key == host::VK_UP ? -1 : 1);
    key = 0;
  } else if (key == VK_F10 && shift == host::TShiftState{host::ssShift}) {
    ListBox1->ContextPopup({ListBox1->Width() / 2, 8});
    key = 0;
  }
}

void TProjViewDlg::FrameMenuPopup() {
  host::TMenuItem& items = FrameMenu->Items();
  while (items.Count() > 0) delete items.Items(items.Count() - 1);
  TGroup* group = SelectedGroup();
  int index = SelectedFrame();
  bool hasFrame = index >= 0;
  auto add = [&](const std::string& caption, bool enabled, std::function<void()> action) {
    auto* item = new host::TMenuItem(FrameMenu);
    item->SetCaption(caption);
    item->SetEnabled(enabled);
    if (action) item->OnClick = [action = std::move(action)](TObject*) { action(); };
    items.Add(item);
  };
  for (size_t g = 0; g < FGroups.size(); ++g) {
    if (&FGroups[g] == group) continue;
    int target = static_cast<int>(g);
    add("Move to " + MenuText(FGroups[g].Name), hasFrame,
        [this, target] { MoveFrameToGroup(target); });
  }
  add("-", true, nullptr);
  add("Move Up", hasFrame && index > 0, [this] { MoveFrameBy(-1); });
  add("Move Down", hasFrame && index + 1 < static_cast<int>(group->Frames.size()),
      [this] { MoveFrameBy(1); });
}

// ---- showing the lists

void TProjViewDlg::ShowGroups(int groupIndex, int frameIndex) {
  host::TStringList& items = ListBox2->Items();
  items.BeginUpdate();
  items.Clear();
  for (const TGroup& group : FGroups) items.Add(group.Name);
  items.EndUpdate();
  ListBox2->SetItemIndex(groupIndex);
  FillFrameView(frameIndex);
}

void TProjViewDlg::FillFrameView(int frameIndex) {
  host::TStringList& items = ListBox1->Items();
  items.BeginUpdate();
  items.Clear();
  if (TGroup* group = SelectedGroup())
    for (const TFrame& frame : group->Frames) items.Add(frame.Name);
  items.EndUpdate();
  ListBox1->SetItemIndex(std::min(frameIndex, items.Count() - 1));
  ShowThumbnail();
}

void TProjViewDlg::ListBox1DrawItem(int index, const host::TRect& rect,
                                    host::TOwnerDrawState state) {
  host::TCanvas& canvas = ListBox1->Canvas();
  canvas.FillRect(rect);
  TGroup* group = SelectedGroup();
  if (!group || index < 0 || index >= static_cast<int>(group->Frames.size())) return;
  const TFrame& frame = group->Frames[static_cast<size_t>(index)];
  int textLeft;
  if (frame.Picture) {
    canvas.Draw(rect.Left, rect.Top + 2, *frame.Picture);
    textLeft = rect.Left + frame.Picture->Width + 8;
  } else {
    // A frame whose form is not showing: a crossed square in the item's place.
    const int n = ItemSize;
    canvas.Pen().SetColor(state.Contains(host::odSelected) ? host::clHighlightText
                                                           : host::clWindowText);
    canvas.Brush().SetStyle(host::bsClear);
    canvas.Rectangle(rect.Left, rect.Top, rect.Left + n, rect.Top + n);
    canvas.MoveTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Left + n - 1, rect.Top + n - 1);
    canvas.MoveTo(rect.Left + n - 1, rect.Top);
    canvas.LineTo(rect.Left, rect.Top + n - 1);
    textLeft = rect.Left + n + 8;
  }
  canvas.Brush().SetStyle(host::bsClear);
  canvas.TextOut(textLeft, rect.Top + 77, frame.Name);
}

void TProjViewDlg::ShowThumbnail() {
  int index = SelectedFrame();
  if (index < 0) {
    Thumbnail->Picture().Clear();
    return;
  }
  const TFrame& frame = SelectedGroup()->Frames[static_cast<size_t>(index)];
  Thumbnail->Picture().SetImage(frame.Picture ? frame.Picture : NoPicture());
}

void TProjViewDlg::ShowSaving() {
  Label2->SetCaption(FSaving ? MoveHint : NotSavedNote);
}

}  // namespace mebrox
