#include "apps/run/ProjectCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "apps/run/Project.h"
#include "host/MetricCanvas.h"
#include "host/SysUtils.h"
#include "host/media/SndfileDecoder.h"
#include "runtime/Action.h"
#include "runtime/Bookmark.h"
#include "runtime/FileReferences.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/Strtool.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

namespace mebrox {

namespace fs = std::filesystem;
using host::SameText;

std::string TFinding::Text() const {
  std::string text = File + "(" + std::to_string(Line) + "): ";
  if (!Subject.empty()) text += Subject + ": ";
  if (Severity == TSeverity::Warning) text += "warning: ";
  return text + Problem;
}

int TProjectReport::Errors() const {
  return static_cast<int>(std::count_if(Findings.begin(), Findings.end(), [](const TFinding& f) {
    return f.Severity == TSeverity::Error;
  }));
}

int TProjectReport::Warnings() const {
  return static_cast<int>(Findings.size()) - Errors();
}

// ---- Loading

std::unique_ptr<TLoadedProject> TLoadedProject::Load(const std::string& projectFile) {
  std::unique_ptr<TLoadedProject> loaded(new TLoadedProject);
  loaded->FProject = host::ReadProjectFile(projectFile);
  const host::TProjectFile& project = loaded->FProject;
  loaded->FFolder = fs::absolute(projectFile).lexically_normal().parent_path().string();
  loaded->FShownFolder = fs::path(projectFile).parent_path().string();

  std::vector<host::EParserError> missing;
  std::vector<TFrameFile> plan = PlanFrames(project, &missing);
  for (const host::EParserError& e : missing) {
    std::string message = e.what();
    std::string place = e.FileName() + "(" + std::to_string(e.Line()) + "): ";
    if (message.starts_with(place)) message.erase(0, place.size());
    loaded->FLoadFailures.push_back({TSeverity::Error, e.FileName(), e.Line(), "", message});
  }
  EnterProject(project);

  for (const host::TFormCreation& creation : project.Creations) {
    TFrameInfo info;
    info.Name = creation.FormName;
    info.ClassName = creation.ClassName;
    info.File = project.FileName;
    auto frame = std::find_if(plan.begin(), plan.end(),
                              [&](const TFrameFile& f) { return f.Creation == &creation; });
    if (frame != plan.end()) {
      info.File = frame->DisplayName;
      try {
        info.Lines = host::TFormLines::Scan(host::ReadFileBytes(frame->Path));
        info.Form = LoadFrame(*frame, project);
      } catch (const host::EParserError& e) {
        std::string message = e.what();
        std::string place = e.FileName() + "(" + std::to_string(e.Line()) + "): ";
        if (message.starts_with(place)) message.erase(0, place.size());
        loaded->FLoadFailures.push_back({TSeverity::Error, e.FileName(), e.Line(), "", message});
      } catch (const std::exception& e) {
        std::string message = e.what();
        if (message.starts_with(info.File + ": ")) message.erase(0, info.File.size() + 2);
        loaded->FLoadFailures.push_back(
            {TSeverity::Error, info.File, info.Lines.Header(), info.Name, message});
      }
    }
    loaded->FFrames.push_back(std::move(info));
  }
  return loaded;
}

TLoadedProject::~TLoadedProject() {
  for (auto it = FFrames.rbegin(); it != FFrames.rend(); ++it) delete it->Form;
}

std::string TLoadedProject::Shown(const std::string& absolutePath) const {
  const std::string relative = host::PathWithin(absolutePath, FFolder);
  if (relative.empty()) return absolutePath;
  return (fs::path(FShownFolder) / relative).lexically_normal().string();
}

const TFrameInfo* TLoadedProject::FindFrame(const std::string& name) const {
  for (const TFrameInfo& frame : FFrames)
    if (frame.Name == name) return &frame;
  return nullptr;
}

// ---- Names

namespace {

// Edit distance ignoring case, a swap of neighbours counting as one edit.
size_t Distance(const std::string& a, const std::string& b) {
  std::string x = host::LowerCase(a), y = host::LowerCase(b);
  std::vector<std::vector<size_t>> d(x.size() + 1, std::vector<size_t>(y.size() + 1));
  for (size_t i = 0; i <= x.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= y.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= x.size(); ++i)
    for (size_t j = 1; j <= y.size(); ++j) {
      size_t cost = x[i - 1] == y[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[x.size()][y.size()];
}

std::string JoinAlternatives(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
    text += names[i];
  }
  return text;
}

}  // namespace

std::string NearestName(const std::string& name, const std::vector<std::string>& candidates) {
  for (const std::string& c : candidates)
    if (SameText(c, name)) return c;
  size_t limit = std::clamp<size_t>((name.size() + 2) / 3, 1, 3);
  size_t best = limit + 1;
  std::vector<std::string> nearest;
  for (const std::string& c : candidates) {
    size_t d = Distance(name, c);
    if (d < best) {
      best = d;
      nearest.clear();
    }
    if (d == best && nearest.size() < 3) nearest.push_back(c);
  }
  return JoinAlternatives(nearest);
}

// ---- The check

namespace {

std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}

// The hot words a hot text shows on a page, as its word-position table holds them: a copy of the
// control lays the page out on a measuring surface, wide enough that no word is broken.
std::vector<std::string> SlotWords(const std::vector<std::string>& page, THyperTxt& text) {
  THyperTxt probe(nullptr);
  probe.SetBounds(0, 0, 1 << 20, 1 << 20);
  probe.SetTabWidth(text.TabWidth());
  probe.SetWords(text.Words());
  host::TStringList lines;
  for (const std::string& line : page) lines.Add(line);
  probe.SetLines(lines);
  host::TMetricSurface surface;
  probe.PaintOn(surface);
  int last = probe.SlotCount() - 1;
  std::vector<std::string> slots;
  for (int i = 0; i <= last; ++i) slots.push_back(probe.WordPos(i).Word);
  return slots;
}

// A record of a word-list file and where it stands, read as the loader reads it.
struct TWordRecord {
  int WordLine = 0;
  int CodeLine = 0;
};

std::vector<TWordRecord> ReadWordRecords(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    size_t next = end + 1;
    if (end > pos && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(pos, end - pos));
    pos = next;
  }
  size_t at = 0;
  auto read = [&]() { return at < lines.size() ? lines[at++] : (++at, std::string()); };
  std::vector<TWordRecord> records;
  while (at < lines.size()) {
    TWordRecord r;
    read();
    r.WordLine = static_cast<int>(at);
    read();
    r.CodeLine = static_cast<int>(at);
    std::string line;
    while (line != "~" && at < lines.size()) line = read();
    records.push_back(r);
  }
  return records;
}

bool IsProgramFile(const std::string& path) {
  std::string head;
  try {
    head = host::ReadFileBytes(path).substr(0, 4);
  } catch (const std::exception&) {
    return false;
  }
  return head.starts_with("#!") || head == "\177ELF";
}

bool IsExecutable(const fs::path& path) {
  std::error_code ec;
  fs::perms p = fs::status(path, ec).permissions();
  return !ec && fs::is_regular_file(path, ec) &&
         (p & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec)) !=
             fs::perms::none;
}

std::optional<fs::path> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return std::nullopt;
  std::string rest = path;
  size_t start = 0;
  for (;;) {
    size_t colon = rest.find(':', start);
    std::string dir = rest.substr(start, colon == std::string::npos ? colon : colon - start);
    if (!dir.empty() && IsExecutable(fs::path(dir) / name)) return fs::path(dir) / name;
    if (colon == std::string::npos) return std::nullopt;
    start = colon + 1;
  }
}

// Where an entry of a hot text's word list comes from: its form file or a word-list file.
struct TEntryPlace {
  std::string File;
  int Line = 0;
  std::string Subject;
};

// A component that others must find: a bookmark picture, an acBookMark action, a wave player.
struct TComponentUse {
  std::string Frame;
  std::string Component;
  std::string File;
  int Line = 0;
  std::string Subject;
};

class TChecker {
 public:
  explicit TChecker(const TLoadedProject& project) : FProject(project) {
    for (const TFrameInfo& frame : project.Frames()) FFrameNames.push_back(frame.Name);
  }

  TProjectReport Run() {
    for (const TFinding& f : FProject.LoadFailures()) Add(f);
    for (const TFrameInfo& frame : FProject.Frames())
      if (frame.Form) CheckFrame(frame);
    CheckBookmarks();
    CheckWavesPlayed();
    CheckReachable();
    std::stable_sort(FReport.Findings.begin(), FReport.Findings.end(),
                     [this](const TFinding& a, const TFinding& b) {
                       if (a.Severity != b.Severity) return a.Severity < b.Severity;
                       if (a.File != b.File) return FFileRank[a.File] < FFileRank[b.File];
                       return a.Line < b.Line;
                     });
    return std::move(FReport);
  }

 private:
  void Add(TFinding finding) {
    FFileRank.emplace(finding.File, FFileRank.size());
    FReport.Findings.push_back(std::move(finding));
  }
  void Error(const std::string& file, int line, const std::string& subject,
             const std::string& problem) {
    Add({TSeverity::Error, file, line, subject, problem});
  }
  void Warning(const std::string& file, int line, const std::string& subject,
               const std::string& problem) {
    Add({TSeverity::Warning, file, line, subject, problem});
  }

  // A file the project names, as the run finds it: beside the project unless a path says
  // otherwise.
  fs::path Resolve(const std::string& name, const fs::path& base = {}) const {
    fs::path path(host::NativePath(name));
    if (path.is_absolute()) return path.lexically_normal();
    return ((base.empty() ? fs::path(FProject.Folder()) : base) / path).lexically_normal();
  }
  std::string Shown(const fs::path& path) const { return FProject.Shown(path.string()); }
  // A path the system would not look up, and why: what the run does with it fails.
  std::string Unusable(const fs::path& path, const TPathState& state) const {
    return Shown(path) + " cannot be looked up (" + state.Why + ")";
  }

  // The frame an action's frame name finds: the one whose class is "T" + name, exactly.
  const TFrameInfo* FindFrame(const std::string& name) const {
    for (const TFrameInfo& frame : FProject.Frames())
      if (frame.ClassName == "T" + name) return &frame;
    return nullptr;
  }

  // Why a frame name finds no frame, with the name that was probably meant.
  std::string MissingFrame(const std::string& name) const {
    std::string problem = "there is no frame " + name;
    const host::TProjectUnit* unit = FProject.Project().FindFormUnit(name);
    bool created = std::any_of(FFrameNames.begin(), FFrameNames.end(),
                               [&](const std::string& frame) { return SameText(frame, name); });
    if (unit && !created)
      return problem + ": unit " + unit->Name + " declares it, but " + FProject.Project().FileName +
             " does not create it";
    std::string hint = NearestName(name, FFrameNames);
    if (!hint.empty()) problem += "; did you mean " + hint + "?";
    return problem;
  }

  // A control on the frame whose edges lie beyond the frame's: that part never shows.
  void CheckInsideFrame(const TFrameInfo& frame, const host::TControl& control) {
    const host::TRect over = host::Overhang(control);
    std::vector<std::string> edges;
    auto edge = [&](int by, const char* name) {
      if (by > 0)
        edges.push_back(std::string(name) + " edge by " + std::to_string(by) +
                        (by == 1 ? " pixel" : " pixels"));
    };
    edge(over.Left, "left");
    edge(over.Top, "top");
    edge(over.Right, "right");
    edge(over.Bottom, "bottom");
    if (edges.empty()) return;
    std::string problem = "runs past the frame's ";
    for (size_t i = 0; i < edges.size(); ++i)
      problem += (i == 0 ? "" : i + 1 == edges.size() ? " and its " : ", its ") + edges[i];
    problem += " (the frame is " + std::to_string(frame.Form->ClientWidth()) + " x " +
               std::to_string(frame.Form->ClientHeight()) + "): that part never shows";
    auto* image = dynamic_cast<const THyperImage*>(&control);
    if (image && image->AllowShadow() && !image->Stretch() && !image->Picture().Empty())
      problem += "; the hot image takes the size of its picture and shadow";
    Warning(frame.File, frame.Lines.Component(control.Name()), control.Name(), problem);
  }

  // A file named outside the project folder stays behind when the project is copied or
  // installed elsewhere.
  void CheckStaysInFolder(const TFrameInfo& frame, host::TComponent& c) {
    for (const TFileReference& reference : FileReferencesOf(c)) {
      if (!LeavesFolder(reference, FProject.Folder())) continue;
      // "WavePlay1.WaveName" and "HyperTxt1.Words \"Run\"" are the component's own; a word
      // list's program is told with the list that names it.
      const std::string& name = c.Name();
      const bool own = reference.Subject.starts_with(name + ".");
      const std::string property =
          own ? reference.Subject.substr(name.size() + 1)
                    .substr(0, reference.Subject.substr(name.size() + 1).find(' '))
              : std::string();
      const int line = own && frame.Lines.Has(name, property) ? frame.Lines.Property(name, property)
                                                              : frame.Lines.Component(name);
      const std::string subject =
          own ? reference.Subject : name + ".WordsLists " + reference.Subject;
      Warning(frame.File, line, subject,
              Shown(Resolve(reference.Path)) +
                  " lies outside the project folder: a copy of the project (Save Project As, "
                  "another machine) goes without it");
    }
  }

  void CheckFrame(const TFrameInfo& frame) {
    for (host::TComponent* c : frame.Form->ComponentList()) {
      CheckStaysInFolder(frame, *c);
      if (auto* control = dynamic_cast<host::TControl*>(c);
          control && control->Parent() == frame.Form)
        CheckInsideFrame(frame, *control);
      if (auto* text = dynamic_cast<THyperTxt*>(c)) {
        CheckHyperTxt(frame, *text);
      } else if (auto* image = dynamic_cast<THyperImage*>(c)) {
        CheckAction(frame, *c, image->Action());
        if (image->Picture().Empty())
          Warning(frame.File, frame.Lines.Property(c->Name(), "Picture.Data"),
                  c->Name() + ".Picture", "the hot image has no picture: only its shadow shows");
      } else if (auto* area = dynamic_cast<THyperArea*>(c)) {
        CheckAction(frame, *c, area->Action());
      } else if (auto* wave = dynamic_cast<TWavePlay*>(c)) {
        CheckWaveFile(frame, *wave);
      } else if (auto* label = dynamic_cast<TfxLabel*>(c)) {
        CheckEffect(frame, *label);
      } else if (auto* bookmark = dynamic_cast<TBookMark*>(c)) {
        int line = frame.Lines.Component(c->Name());
        FBookmarks.push_back({frame.Name, c->Name(), frame.File, line, c->Name()});
        if (bookmark->Picture().Empty())
          Warning(frame.File, frame.Lines.Property(c->Name(), "Picture.Data"),
                  c->Name() + ".Picture",
                  "the bookmark has no picture: it shows nothing when a mark exists");
      }
    }
  }

  // ---- Actions of hot images and hot areas

  void CheckAction(const TFrameInfo& frame, const host::TComponent& c, const TAction& action) {
    const std::string& name = c.Name();
    auto line = [&](const char* property) {
      return frame.Lines.Has(name, property) ? frame.Lines.Property(name, property)
                                             : frame.Lines.Property(name, "Action.ActionType");
    };
    auto subject = [&](const char* property) { return name + "." + property; };
    switch (action.ActionType()) {
      case acFrame:
        if (action.Frame().empty()) {
          Error(frame.File, line("Action.Frame"), subject("Action.Frame"),
                "no frame named: the click goes nowhere");
          return;
        }
        CheckFrameTarget(frame, action.Frame(), name, frame.File, line("Action.Frame"),
                         subject("Action.Frame"));
        return;
      case acExecute:
        CheckProgram(frame, action.FileToRun(), action.WorkDir(), name, frame.File,
                     line("Action.FileToRun"), subject("Action.FileToRun"), line("Action.WorkDir"),
                     subject("Action.WorkDir"));
        return;
      case acWavePlay:
        CheckWaveTarget(frame, action.WaveComp(), name, frame.File, line("Action.WaveComp"),
                        subject("Action.WaveComp"));
        return;
      case acDesc:
        if (action.Desc().empty())
          Warning(frame.File, line("Action.Desc"), subject("Action.Desc"),
                  "the description is empty: the note shows no text");
        return;
      case acBookMark:
        FReport.Links.push_back({lkBookmark, frame.Name, "", name, "", false});
        FBookmarkActions.push_back({frame.Name, name, frame.File, line("Action.ActionType"),
                                    subject("Action.ActionType")});
        return;
      case acClose:
        FReport.Links.push_back({lkBack, frame.Name, "", name, "", false});
        return;
      case acNone:
        Warning(frame.File, line("Action.ActionType"), subject("Action.ActionType"),
                "the action is acNone: a click does nothing");
        return;
    }
  }

  void CheckFrameTarget(const TFrameInfo& frame, const std::string& target,
                        const std::string& label, const std::string& file, int line,
                        const std::string& subject, bool link = true) {
    const TFrameInfo* found = FindFrame(target);
    if (!found) Error(file, line, subject, MissingFrame(target));
    if (link)
      FReport.Links.push_back(
          {lkFrame, frame.Name, found ? found->Name : target, label, "", !found});
  }

  // A program or document started as the shell starts it: looked for in its working directory,
  // then beside the project, then (a bare name) along PATH.
  void CheckProgram(const TFrameInfo& frame, const std::string& fileName,
                    const std::string& workDir, const std::string& label, const std::string& file,
                    int line, const std::string& subject, int dirLine,
                    const std::string& dirSubject, bool link = true) {
    if (link) FReport.Links.push_back({lkProgram, frame.Name, fileName, label, "", false});
    if (fileName.empty()) {
      Error(file, line, subject, "no program or document named: nothing starts");
      return;
    }
    fs::path dir;
    if (!workDir.empty()) {
      dir = Resolve(workDir);
      TPathState state = LookAt(dir);
      if (!state.Usable()) {
        Error(file, dirLine, dirSubject,
              "the working directory " + Unusable(dir, state) + ": nothing starts");
        return;
      }
      if (!state.IsDirectory()) {
        Error(file, dirLine, dirSubject,
              "the working directory " + Shown(dir) + " does not exist: nothing starts");
        return;
      }
    }
    std::string name = host::NativePath(fileName);
    std::vector<fs::path> candidates;
    if (fs::path(name).is_absolute()) {
      candidates.push_back(name);
    } else {
      if (!dir.empty()) candidates.push_back(Resolve(name, dir));
      candidates.push_back(Resolve(name));
    }
    // As the shell does, a candidate that cannot be looked up is passed over.
    std::optional<fs::path> found;
    std::optional<std::pair<fs::path, TPathState>> unusable;
    bool isDirectory = false;
    for (const fs::path& c : candidates) {
      TPathState state = LookAt(c);
      if (!state.Usable() && !unusable) unusable.emplace(c, state);
      if (state.Exists()) {
        found = c;
        isDirectory = state.IsDirectory();
        break;
      }
    }
    if (!found && name.find('/') == std::string::npos) {
      if (FindOnPath(name)) return;
    }
    if (!found && unusable) {
      Error(file, line, subject, Unusable(unusable->first, unusable->second) + ": nothing starts");
      return;
    }
    if (!found) {
      Error(file, line, subject,
            Quote(fileName) + " not found (looked for " + Shown(candidates.front()) +
                "): nothing starts");
      return;
    }
    if (isDirectory) {
      Warning(
          file, line, subject,
          Shown(*found) + " is a folder, not a program or document: it opens in a file manager");
    } else if (!IsExecutable(*found) && IsProgramFile(found->string())) {
      Warning(file, line, subject,
              Shown(*found) + " is a program but not executable: it is opened, not run (chmod +x " +
                  Shown(*found) + ")");
    }
  }

  // A wave player a click plays: on the frame that holds the click, by its exact name.
  void CheckWaveTarget(const TFrameInfo& frame, const std::string& waveName,
                       const std::string& label, const std::string& file, int line,
                       const std::string& subject, bool link = true) {
    std::vector<std::string> players;
    const TWavePlay* found = nullptr;
    std::string otherKind;
    for (host::TComponent* c : frame.Form->ComponentList()) {
      if (c->ClassName() == "TWavePlay") {
        players.push_back(c->Name());
        if (c->Name() == waveName) found = dynamic_cast<const TWavePlay*>(c);
      } else if (c->Name() == waveName) {
        otherKind = c->ClassName();
      }
    }
    if (found) {
      FPlayed.insert({frame.Name, waveName});
      if (link)
        FReport.Links.push_back({lkWave, frame.Name, waveName, label, found->GetWaveName(), false});
      return;
    }
    if (link) FReport.Links.push_back({lkWave, frame.Name, waveName, label, "", true});
    if (waveName.empty()) {
      Error(file, line, subject, "no wave player named: nothing plays");
      return;
    }
    std::string problem;
    if (!otherKind.empty()) {
      problem = waveName + " is a " + otherKind + ", not a wave player";
    } else {
      problem = "there is no wave player " + waveName + " on " + frame.Name;
      for (const TFrameInfo& other : FProject.Frames()) {
        if (!other.Form || &other == &frame) continue;
        for (host::TComponent* c : other.Form->ComponentList())
          if (c->ClassName() == "TWavePlay" && c->Name() == waveName) {
            problem += " (" + waveName + " is on " + other.Name +
                       ", and a click plays only the wave players of its own frame)";
            Error(file, line, subject, problem);
            return;
          }
      }
    }
    std::string hint = NearestName(waveName, players);
    if (!hint.empty()) problem += "; did you mean " + hint + "?";
    Error(file, line, subject, problem);
  }

  // ---- Wave players

  void CheckWaveFile(const TFrameInfo& frame, const TWavePlay& wave) {
    const std::string& name = wave.Name();
    FWavePlayers.push_back({frame.Name, name, frame.File, frame.Lines.Component(name), name});
    if (wave.Options().Contains(wvAutoPlay)) FPlayed.insert({frame.Name, name});
    int line = frame.Lines.Property(name, "WaveName");
    if (wave.GetWaveName().empty()) {
      Warning(frame.File, line, name + ".WaveName", "no wave file named: playing it fails");
      return;
    }
    fs::path dir =
        wave.GetWorkDir().empty() ? fs::path(FProject.Folder()) : Resolve(wave.GetWorkDir());
    if (!wave.GetWorkDir().empty()) {
      TPathState state = LookAt(dir);
      if (!state.Usable()) {
        int dirLine =
            frame.Lines.Has(name, "WorkDir") ? frame.Lines.Property(name, "WorkDir") : line;
        Error(frame.File, dirLine, name + ".WorkDir",
              "the working directory " + Unusable(dir, state) + ": playing fails");
        return;
      }
    }
    fs::path path = Resolve(wave.GetWaveName(), dir);
    TPathState state = LookAt(path);
    if (!state.Usable()) {
      Error(frame.File, line, name + ".WaveName", Unusable(path, state) + ": playing fails");
      return;
    }
    if (!state.IsFile()) {
      Error(frame.File, line, name + ".WaveName",
            Shown(path) + (state.Exists() ? " is not a file" : " not found") +
                (wave.ShowError() ? "" : "; with ShowError off, playing it fails silently"));
      return;
    }
    try {
      host::DecodeSoundFile(path.string());
    } catch (const std::exception& e) {
      Error(frame.File, line, name + ".WaveName",
            Shown(path) + " is not a sound the wave player can decode");
    }
  }

  void CheckWavesPlayed() {
    for (const TComponentUse& w : FWavePlayers)
      if (!FPlayed.count({w.Frame, w.Component}))
        Warning(w.File, w.Line, w.Subject,
                "nothing plays " + w.Component + ": no action or hot word of " + w.Frame +
                    " names it, and its Options lack wvAutoPlay");
  }

  // ---- Effect labels

  void CheckEffect(const TFrameInfo& frame, const TfxLabel& label) {
    const std::string& name = label.Name();
    auto place = [&](const char* property) {
      return frame.Lines.Has(name, property) ? frame.Lines.Property(name, property)
                                             : frame.Lines.Component(name);
    };
    if (label.Caption().empty()) {
      Warning(frame.File, place("Caption"), name + ".Caption",
              "the label has no caption: neither text nor effect shows");
      return;
    }
    if (!label.Enabled()) {
      Warning(frame.File, place("Enabled"), name + ".Enabled",
              "a disabled label draws every layer in grey: no effect shows");
      return;
    }
    struct TLayer {
      int Distance;
      host::TColor Color;
    };
    int d = label.ShadowDistance();
    host::TColor s = label.ShadowColor(), l = label.LightColor();
    std::vector<TLayer> layers;
    switch (label.EffectType()) {
      case etCustom:
      case etShadow:
      case etHighShadow:
        layers = {{d, s}};
        break;
      case etDeepSink:
        layers = {{1, l}, {2, l}, {1, s}, {2, s}};
        break;
      case etRaise:
        layers = {{1, s}, {1, l}};
        break;
      case etHighRaise:
        layers = {{1, s}, {2, s}, {1, l}, {2, l}};
        break;
      case etSink:
        layers = {{d, s}, {d, l}};
        break;
    }
    if (std::none_of(layers.begin(), layers.end(),
                     [](const TLayer& t) { return t.Distance != 0; })) {
      Warning(frame.File,
              place(frame.Lines.Has(name, "ShadowDistance") ? "ShadowDistance" : "EffectType"),
              name + ".ShadowDistance",
              "ShadowDistance " + std::to_string(d) +
                  " draws the effect right under the caption: no effect shows");
      return;
    }
    host::TColor face = label.Font().Color();
    const host::TControl* behind =
        label.Transparent() ? static_cast<const host::TControl*>(label.Parent()) : &label;
    host::TColor background = behind ? behind->Color() : label.Color();
    bool visible = std::any_of(layers.begin(), layers.end(), [&](const TLayer& t) {
      return t.Distance != 0 && t.Color != face && t.Color != background;
    });
    if (!visible)
      Warning(frame.File,
              place(frame.Lines.Has(name, "ShadowColor") ? "ShadowColor" : "LightColor"),
              name + ".ShadowColor",
              "the effect is drawn in " + host::ColorToString(s) + " and " +
                  host::ColorToString(l) + ", the colours of the caption (" +
                  host::ColorToString(face) + ") and of what lies behind it (" +
                  host::ColorToString(background) + "): no effect shows");
  }

  // ---- Hot texts

  struct TTextState {
    int Source = -1;  // -1: the Lines stored with the form; else a LinesLists entry
    const std::vector<std::string>* Lines = nullptr;
  };

  void CheckHyperTxt(const TFrameInfo& frame, THyperTxt& text) {
    const std::string name = text.Name();
    const host::TFormLines& lines = frame.Lines;
    TWords& words = text.Words();

    // Where each entry of Words came from: the form file, or the word list loaded at start.
    std::vector<TEntryPlace> places;
    int wordCount = text.WordsLists().Count();
    int wordIndex = host::StrToIntDef(lines.Value(name, "WordsListsIndex"), 0);
    auto wordsLine = [&] {
      return lines.Has(name, "WordsListsIndex") ? lines.Property(name, "WordsListsIndex")
                                                : lines.Property(name, "WordsLists");
    };
    bool fromList = wordIndex > 0 && wordIndex < wordCount;
    if (wordIndex != 0 && !fromList) {
      Error(frame.File, wordsLine(), name + ".WordsListsIndex",
            "index " + std::to_string(wordIndex) + " never loads: WordsLists has " +
                std::to_string(wordCount) + " entries (0 to " + std::to_string(wordCount - 1) +
                "), so the Words stored with the form are used");
    } else if (wordIndex == 0 && wordCount > 0) {
      Warning(frame.File, wordsLine(), name + ".WordsListsIndex",
              "index 0 never loads " + text.WordsLists().Get(0) +
                  ": the Words stored with the form are used (an entry loads when the index "
                  "changes to it, and 0 is where it starts)");
    }
    // Words written after WordsListsIndex in the form file replace what the index loaded.
    if (fromList && words.Items() != text.WordsLists().CurrentList().Items()) {
      Warning(frame.File, lines.Property(name, "Words"), name + ".Words",
              "the Words written after WordsListsIndex replace the words it loaded from " +
                  text.WordsLists().Get(wordIndex) + ": write them before it, or leave them out");
      fromList = false;
    }
    if (fromList) {
      std::string listName = text.WordsLists().Get(wordIndex);
      fs::path path = Resolve(listName);
      std::string shown = Shown(path);
      std::vector<TWordRecord> records;
      try {
        records = ReadWordRecords(host::ReadFileBytes(path.string()));
      } catch (const std::exception&) {
        // It loaded with the form; gone since, its entries are placed at the form file.
      }
      std::string subject = frame.Name + "." + name + ".Words";
      for (int i = 0; i < words.Count(); ++i) {
        size_t at = static_cast<size_t>(i);
        places.push_back(at < records.size()
                             ? TEntryPlace{shown, records[at].WordLine, subject}
                             : TEntryPlace{frame.File, wordsLine(), name + ".WordsLists"});
      }
    } else {
      for (int i = 0; i < words.Count(); ++i)
        places.push_back({frame.File, lines.Item(name, "Words", i), name + ".Words"});
    }

    // The entries as the loader and the pointer read them.
    std::vector<std::optional<int>> codes(static_cast<size_t>(words.Count()));
    for (int i = 0; i < words.Count(); ++i) {
      const TEntryPlace& at = places[static_cast<size_t>(i)];
      std::string entry = words.Get(i);
      std::string word = words.GetWord(i);
      std::string code = words.GetWordActType(i);
      std::string what = "entry " + std::to_string(i) + " (" + Quote(LTrim(word)) + ")";
      int value = 0;
      if (code.empty()) {
        Error(at.File, at.Line, at.Subject,
              what + " has no action code" +
                  (fromList ? std::string(" on the line after its word")
                            : " in columns 129-130: pad the word with spaces to 128 characters, "
                              "then the code (2), then the data (90)") +
                  "; pointing at the word fails");
      } else if (!host::TryStrToInt(code, value)) {
        Error(at.File, at.Line, at.Subject,
              what + ": the action code " + Quote(code) +
                  " is not a number; pointing at the word fails");
      } else if (value < 0 || value > 5) {
        Warning(at.File, at.Line, at.Subject,
                what + ": action code " + code + " is none of 0 to 5: the word does nothing");
      } else {
        codes[static_cast<size_t>(i)] = value;
      }
      if (word.empty())
        Warning(at.File, at.Line, at.Subject, "entry " + std::to_string(i) + " has no word");
      if (!fromList && entry.size() > TWords::WordWidth + TWords::ActTypeWidth + TWords::ActWidth &&
          entry.find_first_not_of(' ', TWords::WordWidth + TWords::ActTypeWidth +
                                           TWords::ActWidth) != std::string::npos)
        Warning(at.File, at.Line, at.Subject,
                what + ": the data goes past column 220, and what stands there is never read");
    }

    // Every text the control can come to show: the stored Lines, and the LinesLists entries
    // that Switch Lines words reach.
    int lineCount = text.LinesLists().Count();
    int lineIndex = host::StrToIntDef(lines.Value(name, "LinesListsIndex"), 0);
    auto linesIndexLine = [&] {
      return lines.Has(name, "LinesListsIndex") ? lines.Property(name, "LinesListsIndex")
                                                : lines.Property(name, "LinesLists");
    };
    if (lineIndex != 0 && (lineIndex < 0 || lineIndex >= lineCount))
      Error(frame.File, linesIndexLine(), name + ".LinesListsIndex",
            "index " + std::to_string(lineIndex) + " never loads: LinesLists has " +
                std::to_string(lineCount) + " entries, so the Lines stored with the form show");
    std::map<int, std::vector<std::string>> files;  // the readable entries, by index
    std::map<int, std::string> unreadable;          // why the others cannot load
    auto loadEntry = [&](int k) -> const std::vector<std::string>* {
      if (files.count(k)) return &files[k];
      if (unreadable.count(k)) return nullptr;
      fs::path path = Resolve(text.LinesLists().Get(k));
      TPathState state = LookAt(path);
      if (!state.IsFile()) {
        unreadable[k] = !state.Usable()
                            ? Unusable(path, state)
                            : Shown(path) + (state.Exists() ? " is not a file" : " not found");
        return nullptr;
      }
      host::TStringList list;
      try {
        std::string bytes = host::ReadFileBytes(path.string());
        if (bytes.find('\0') != std::string::npos) {
          unreadable[k] = Shown(path) + " is not a text file";
          return nullptr;
        }
        list.LoadFromFile(path.string());
      } catch (const std::exception& e) {
        unreadable[k] = Shown(path) + " cannot be read (" + e.what() + ")";
        return nullptr;
      }
      return &(files[k] = list.Items());
    };
    std::vector<std::string> stored = text.Lines().Items();
    bool startsFromFile = lineIndex > 0 && lineIndex < lineCount;
    int startIndex = startsFromFile ? lineIndex : 0;
    // Lines written after LinesListsIndex in the form file replace what the index loaded.
    if (startsFromFile && loadEntry(lineIndex) && files[lineIndex] != stored) {
      Warning(frame.File, lines.Property(name, "Lines"), name + ".Lines",
              "the Lines written after LinesListsIndex replace the text it loaded from " +
                  text.LinesLists().Get(lineIndex) + ": write them before it, or leave them out");
      startsFromFile = false;
    }
    // The index the control holds while showing a source; the stored Lines keep the one it
    // started with.
    auto indexOf = [startIndex](int source) { return source < 0 ? startIndex : source; };

    std::vector<bool> shown(static_cast<size_t>(words.Count()));
    std::vector<bool> switches(static_cast<size_t>(words.Count()));  // a Switch Lines that acts
    std::set<int> wanted;                                            // entries a switch asks for
    std::set<std::string> unmarked;                                  // hand-made hot words
    std::vector<int> queue{startsFromFile ? lineIndex : -1};
    std::set<int> seen(queue.begin(), queue.end());
    if (startsFromFile) wanted.insert(lineIndex);
    std::vector<const std::vector<std::string>*> reached;
    for (size_t q = 0; q < queue.size(); ++q) {
      int source = queue[q];
      const std::vector<std::string>* page = source < 0 ? &stored : loadEntry(source);
      if (!page) continue;
      reached.push_back(page);
      for (const std::string& slot : SlotWords(*page, text)) {
        int entry = text.FindEntry(slot);
        if (entry < 0) {
          if (unmarked.insert(slot).second) {
            int n = 0;
            while (n < static_cast<int>(page->size()) &&
                   (*page)[static_cast<size_t>(n)].find(slot) == std::string::npos)
              ++n;
            std::string file =
                source < 0 ? frame.File : Shown(Resolve(text.LinesLists().Get(source)));
            int line = source < 0 ? lines.Item(name, "Lines", n) : n + 1;
            Warning(file, line, source < 0 ? name + ".Lines" : frame.Name + "." + name + ".Lines",
                    "the hot word " + Quote(slot) +
                        " marked by hand has no entry in Words: a click on it does nothing");
          }
          continue;
        }
        size_t e = static_cast<size_t>(entry);
        shown[e] = true;
        int target = 0;
        if (codes[e] != 5 || !host::TryStrToInt(host::Trim(words.GetWordAct(entry)), target))
          continue;
        if (target == indexOf(source) || target < 0 || target >= lineCount) continue;
        switches[e] = true;
        wanted.insert(target);
        if (seen.insert(target).second) queue.push_back(target);
      }
    }

    if (std::find(shown.begin(), shown.end(), true) != shown.end() &&
        DrawsAlike(text.WordFont(), text.Font()))
      Warning(frame.File, WordFontLine(lines, name), name + ".WordFont",
              "WordFont draws like Font (" + FontText(text.Font()) +
                  "): the hot words look exactly like the text around them; give WordFont "
                  "another colour or style");

    // The words and what they do.
    for (int i = 0; i < words.Count(); ++i) {
      size_t e = static_cast<size_t>(i);
      const TEntryPlace& at = places[e];
      std::string word = words.GetWord(i);
      std::string bare = LTrim(word);
      if (word.empty()) continue;
      int first = text.FindEntry(bare);
      if (first >= 0 && first < i) {
        Warning(at.File, at.Line, at.Subject,
                "hot word " + Quote(bare) + " is also entry " + std::to_string(first) +
                    ", and only the first one acts");
        continue;
      }
      if (!shown[e]) Warning(at.File, at.Line, at.Subject, NeverShown(word, words, reached));
      if (!codes[e]) continue;
      std::string data = words.GetWordAct(i);
      bool link = shown[e];
      switch (*codes[e]) {
        case 0:
          if (data.empty())
            Warning(at.File, at.Line, at.Subject,
                    "hot word " + Quote(bare) + " shows an empty description");
          break;
        case 1:
          if (data.empty())
            Error(at.File, at.Line, at.Subject,
                  "hot word " + Quote(bare) + " goes to a frame but names none");
          else
            CheckFrameTarget(frame, data, bare, at.File, at.Line, at.Subject, link);
          break;
        case 2:
          CheckWaveTarget(frame, data, bare, at.File, at.Line, at.Subject, link);
          break;
        case 3:
          CheckProgram(frame, data, host::ExtractFilePath(data), bare, at.File, at.Line, at.Subject,
                       at.Line, at.Subject, link);
          break;
        case 4:
          if (link) FReport.Links.push_back({lkBack, frame.Name, "", bare, "", false});
          break;
        case 5: {
          int target = 0;
          if (!host::TryStrToInt(host::Trim(data), target))
            Error(at.File, at.Line, at.Subject,
                  "hot word " + Quote(bare) + " switches lines, but " + Quote(data) +
                      " is not an index of LinesLists; clicking it fails");
          else if (target < 0 || target >= lineCount)
            Error(at.File, at.Line, at.Subject,
                  "hot word " + Quote(bare) + " switches to LinesLists entry " +
                      std::to_string(target) + ", but LinesLists has " + std::to_string(lineCount) +
                      " entries: nothing changes");
          else if (shown[e] && !switches[e])
            Warning(at.File, at.Line, at.Subject,
                    "hot word " + Quote(bare) + " switches to LinesLists entry " +
                        std::to_string(target) +
                        ", which is the index already held wherever the word shows: nothing "
                        "changes");
          break;
        }
      }
    }

    // The text files.
    for (int k = 0; k < lineCount; ++k) {
      int line = lines.Item(name, "LinesLists", k);
      std::string subject = name + ".LinesLists";
      std::string entry = "entry " + std::to_string(k) + " (" + text.LinesLists().Get(k) + ")";
      if (!wanted.count(k)) {
        if (!(k == 0 && startIndex == 0 && loadEntry(0) && files[0] == stored))
          Warning(frame.File, line, subject,
                  entry + " never loads: no Switch Lines word that shows leads to it");
        continue;
      }
      if (!loadEntry(k))
        Error(frame.File, line, subject, unreadable[k] + ": switching to it fails");
    }
    if (lineCount > 0 && startIndex == 0 && wanted.count(0) && loadEntry(0) && files[0] != stored)
      Warning(frame.File, linesIndexLine(), name + ".LinesListsIndex",
              "index 0 does not load " + text.LinesLists().Get(0) +
                  " at start: the Lines stored with the form show until a Switch Lines word "
                  "loads another entry");
  }

  // Two fonts draw alike when their face, height, style and drawn colour are the same
  // (clWindowText is black, as clBlack is).
  static bool DrawsAlike(const host::TFont& a, const host::TFont& b) {
    return SameText(a.Name(), b.Name()) && a.Height() == b.Height() && a.Style() == b.Style() &&
           host::ColorToRGB(a.Color()) == host::ColorToRGB(b.Color());
  }

  static std::string FontText(const host::TFont& font) {
    std::string text = font.Name() + " " + std::to_string(font.Size());
    for (size_t s = 0; s < host::FontStyleNames().size(); ++s)
      if (font.Style().Contains(static_cast<host::TFontStyle>(s)))
        text += " " + host::LowerCase(host::FontStyleNames()[s].substr(2));
    return text + ", " + host::ColorToString(font.Color());
  }

  // The first WordFont line written for the hot text, else its "object" line.
  static int WordFontLine(const host::TFormLines& lines, const std::string& name) {
    int line = 0;
    for (const char* part :
         {"WordFont.Color", "WordFont.Height", "WordFont.Name", "WordFont.Size", "WordFont.Style"})
      if (lines.Has(name, part) && (line == 0 || lines.Property(name, part) < line))
        line = lines.Property(name, part);
    return line ? line : lines.Component(name);
  }

  // Why a hot word never shows in any text the control can come to show.
  static std::string NeverShown(const std::string& word, const TWords& words,
                                const std::vector<const std::vector<std::string>*>& pages) {
    std::string bare = LTrim(word);
    std::string lower = host::LowerCase(word);
    std::optional<std::string> caseMatch;
    for (const std::vector<std::string>* page : pages)
      for (const std::string& line : *page) {
        if (line.find(word) != std::string::npos) {
          for (int j = 0; j < words.Count(); ++j) {
            std::string other = LTrim(words.GetWord(j));
            if (!other.empty() && other != bare && bare.find(other) != std::string::npos)
              return "hot word " + Quote(bare) + " never shows whole: the hot word " +
                     Quote(other) + " is marked inside it";
          }
          return "hot word " + Quote(bare) + " never shows whole";
        }
        size_t at = host::LowerCase(line).find(lower);
        if (!caseMatch && at != std::string::npos) caseMatch = LTrim(line.substr(at, word.size()));
      }
    std::string problem = "hot word " + Quote(bare) + " occurs nowhere in the text";
    if (caseMatch)
      problem += "; hot words are case-sensitive, and the text has " + Quote(*caseMatch);
    return problem;
  }

  // ---- Bookmarks

  void CheckBookmarks() {
    // A frame that did not load may hold what is missing: better no verdict than a wrong one.
    if (!FProject.LoadFailures().empty()) return;
    if (FBookmarks.empty())
      for (const TComponentUse& b : FBookmarkActions)
        Warning(b.File, b.Line, b.Subject,
                "no frame holds a TBookMark: the next start cannot offer to resume here");
    if (FBookmarkActions.empty())
      for (const TComponentUse& b : FBookmarks)
        Warning(b.File, b.Line, b.Subject,
                "no acBookMark action sets a mark, so this bookmark never shows");
    for (const TComponentUse& b : FBookmarks)
      for (const TComponentUse& a : FBookmarkActions)
        FReport.Links.push_back({lkResume, b.Frame, a.Frame, b.Component, "", false});
  }

  // ---- Frames nothing leads to

  void CheckReachable() {
    // A frame that did not load leads who knows where.
    if (!FProject.LoadFailures().empty() || FFrameNames.empty()) return;
    std::set<std::string> reached{FFrameNames.front()};
    std::vector<std::string> queue{FFrameNames.front()};
    for (size_t i = 0; i < queue.size(); ++i)
      for (const TLink& link : FReport.Links)
        if ((link.Kind == lkFrame || link.Kind == lkResume) && !link.Broken &&
            link.From == queue[i] && reached.insert(link.Target).second)
          queue.push_back(link.Target);
    for (const TFrameInfo& frame : FProject.Frames())
      if (!reached.count(frame.Name))
        Warning(frame.File, frame.Lines.Header(), frame.Name,
                "nothing leads to this frame from the main frame " + FFrameNames.front() +
                    ": no hot word, hot image, hot area or bookmark that shows opens it");
  }

  const TLoadedProject& FProject;
  std::vector<std::string> FFrameNames;
  TProjectReport FReport;
  std::map<std::string, size_t> FFileRank;
  std::vector<TComponentUse> FBookmarks;        // TBookMark pictures
  std::vector<TComponentUse> FBookmarkActions;  // acBookMark actions
  std::vector<TComponentUse> FWavePlayers;
  std::set<std::pair<std::string, std::string>> FPlayed;  // frame, wave player
};

}  // namespace

TProjectReport CheckProject(const TLoadedProject& project) {
  return TChecker(project).Run();
}

}  // namespace mebrox
