#include "ide/Recovery.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host/Dialogs.h"
#include "host/SysUtils.h"
#include "ide/DesignSession.h"

namespace ide {

namespace fs = std::filesystem;

uint64_t Fingerprint(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::optional<uint64_t> FingerprintOfFile(const std::string& path) {
  if (!host::FileExists(path)) return std::nullopt;
  return Fingerprint(host::ReadFileBytes(path));
}

std::string RecoveryDirectory() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state) return (fs::path(state) / "mebrox").string();
  const char* home = std::getenv("HOME");
  return (fs::path(home && *home ? home : "/tmp") / ".local" / "state" / "mebrox").string();
}

std::string RecoveryFileFor(const std::string& projectPath) {
  std::string path = fs::absolute(projectPath).lexically_normal().string();
  return (fs::path(RecoveryDirectory()) / (fs::path(path).stem().string() + "-" +
                                           host::IntToHex(Fingerprint(path), 16) + ".recovery"))
      .string();
}

namespace {

bool ParseNumber(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoll(text);
  return true;
}

bool ParseHex(const std::string& text, uint64_t& value) {
  if (text.size() != 16 || text.find_first_not_of("0123456789ABCDEF") != std::string::npos)
    return false;
  value = std::stoull(text, nullptr, 16);
  return true;
}

// A recovery file is lines of the form "TAG A B ...", each number the length of a payload that
// follows the line, each payload ended by a line feed; the last line, "end HASH", holds the
// fingerprint of everything before it, so that a file cut short or changed is told apart.
constexpr std::string_view Header = "mebrox recovery 1\n";

class TRecordWriter {
 public:
  void Record(const std::string& tag, std::initializer_list<std::string_view> payloads) {
    FText += tag;
    for (std::string_view p : payloads) FText += " " + std::to_string(p.size());
    FText += '\n';
    for (std::string_view p : payloads) {
      FText.append(p);
      FText += '\n';
    }
  }
  std::string Finish() {
    FText += "end " + host::IntToHex(Fingerprint(FText), 16) + "\n";
    return std::move(FText);
  }
  std::string FText{Header};
};

class TRecordReader {
 public:
  TRecordReader(std::string_view text, const std::string& fileName)
      : FText(text), FFileName(fileName) {}

  [[noreturn]] void Damaged(const std::string& why) const {
    throw host::EInOutError("The recovery file \"" + FFileName + "\" is damaged: " + why);
  }

  // The next record's tag and payloads; false at the end line, which is checked.
  bool Next(std::string& tag, std::vector<std::string>& payloads) {
    size_t eol = FText.find('\n', FPos);
    if (eol == std::string_view::npos) Damaged("it is cut short");
    std::string_view line = FText.substr(FPos, eol - FPos);
    std::vector<std::string> words;
    for (size_t i = 0; i <= line.size();) {
      size_t space = line.find(' ', i);
      if (space == std::string_view::npos) space = line.size();
      words.emplace_back(line.substr(i, space - i));
      i = space + 1;
    }
    tag = words.front();
    if (tag == "end") {
      if (words.size() != 2 || words[1] != host::IntToHex(Fingerprint(FText.substr(0, FPos)), 16))
        Damaged("its contents do not match their fingerprint");
      if (eol + 1 != FText.size()) Damaged("there is text after its end");
      return false;
    }
    FPos = eol + 1;
    payloads.clear();
    for (size_t i = 1; i < words.size(); ++i) {
      int64_t size = 0;
      if (!ParseNumber(words[i], size) || static_cast<uint64_t>(size) + 1 > FText.size() - FPos)
        Damaged("a record is cut short");
      payloads.emplace_back(FText.substr(FPos, static_cast<size_t>(size)));
      FPos += static_cast<size_t>(size);
      if (FText[FPos] != '\n') Damaged("a record is cut short");
      ++FPos;
    }
    return true;
  }

 private:
  std::string_view FText;
  const std::string& FFileName;
  size_t FPos = Header.size();
};

}  // namespace

std::string RecoveryText(const TRecovery& recovery) {
  TRecordWriter out;
  out.Record("project", {recovery.ProjectPath});
  out.Record("written", {std::to_string(recovery.Written)});
  for (const std::string& frame : recovery.Frames) out.Record("frame", {frame});
  for (const auto& [path, print] : recovery.Base)
    out.Record("base", {path, print ? host::IntToHex(*print, 16) : std::string("-")});
  for (const auto& [path, bytes] : recovery.Files) out.Record("file", {path, bytes});
  return out.Finish();
}

TRecovery ParseRecovery(std::string_view text, const std::string& fileName) {
  TRecordReader in(text, fileName);
  if (!text.starts_with(Header)) in.Damaged("it is no recovery file of this kit");
  TRecovery recovery;
  std::string tag;
  std::vector<std::string> p;
  while (in.Next(tag, p)) {
    auto want = [&](size_t count) {
      if (p.size() != count)
        in.Damaged("a " + tag + " record has " + std::to_string(p.size()) + " parts, not " +
                   std::to_string(count));
    };
    if (tag == "project") {
      want(1);
      recovery.ProjectPath = p[0];
    } else if (tag == "written") {
      want(1);
      if (!ParseNumber(p[0], recovery.Written)) in.Damaged("its time is no number");
    } else if (tag == "frame") {
      want(1);
      recovery.Frames.push_back(p[0]);
    } else if (tag == "base") {
      want(2);
      std::optional<uint64_t> print;
      if (p[1] != "-") {
        uint64_t value = 0;
        if (!ParseHex(p[1], value)) in.Damaged("a fingerprint is no number");
        print = value;
      }
      recovery.Base.emplace_back(p[0], print);
    } else if (tag == "file") {
      want(2);
      // Only files inside the project folder: a recovery never writes anywhere else.
      fs::path relative(p[0]);
      if (relative.empty() || relative.is_absolute() ||
          relative.lexically_normal().string().starts_with(".."))
        in.Damaged("it names a file outside the project folder");
      recovery.Files.emplace_back(p[0], p[1]);
    } else {
      in.Damaged("it holds an unknown record \"" + tag + "\"");
    }
  }
  if (recovery.ProjectPath.empty()) in.Damaged("it names no project");
  return recovery;
}

std::string ChangedSince(const TRecovery& recovery) {
  fs::path folder = fs::path(recovery.ProjectPath).parent_path();
  for (const auto& [path, print] : recovery.Base)
    if (FingerprintOfFile((folder / path).string()) != print) return path;
  return {};
}

namespace {

// Moves a recovery file that cannot be applied out of the way, keeping it for whoever wants what
// it holds, and tells where it went.
void SetAside(const std::string& fileName, const std::string& why) {
  std::string aside = fileName + ".set-aside";
  for (int n = 2; host::FileExists(aside); ++n)
    aside = fileName + ".set-aside-" + std::to_string(n);
  std::error_code ec;
  fs::rename(fileName, aside, ec);
  host::FileNotice(why + " It was not applied" +
                   (ec ? std::string(".") : "; it was set aside as \"" + aside + "\"."));
}

std::string WhenWritten(int64_t written) {
  std::time_t time = static_cast<std::time_t>(written);
  std::tm local{};
  localtime_r(&time, &local);
  char text[64];
  std::strftime(text, sizeof text, "%H:%M:%S on %e %B %Y", &local);
  std::string out = text;
  if (size_t twice = out.find("  "); twice != std::string::npos) out.erase(twice, 1);
  return out;
}

}  // namespace

std::unique_ptr<TDesignSession> OpenForDesign(TDesignCore& core, const std::string& projectFile) {
  std::string project = fs::absolute(projectFile).lexically_normal().string();
  std::string fileName = RecoveryFileFor(project);
  if (!host::FileExists(fileName)) return std::make_unique<TDesignSession>(core, projectFile);
  std::string shownProject = fs::path(project).filename().string();
  TRecovery recovery;
  try {
    recovery = ParseRecovery(host::ReadFileBytes(fileName), fileName);
    if (recovery.ProjectPath != project)
      throw host::EInOutError("The recovery file \"" + fileName + "\" belongs to " +
                              recovery.ProjectPath + ", not " + project);
  } catch (const host::Exception& e) {
    SetAside(fileName, std::string(e.what()) + ".");
    return std::make_unique<TDesignSession>(core, projectFile);
  }
  if (std::string changed = ChangedSince(recovery); !changed.empty()) {
    SetAside(fileName, "Changes to " + shownProject + " that were not saved were kept at " +
                           WhenWritten(recovery.Written) + ", but " + changed +
                           " has changed on disk since.");
    return std::make_unique<TDesignSession>(core, projectFile);
  }
  std::string frames;
  for (size_t i = 0; i < recovery.Frames.size(); ++i)
    frames += (i == 0 ? "" : i + 1 == recovery.Frames.size() ? " and " : ", ") + recovery.Frames[i];
  std::string question =
      "Changes to " + shownProject + " that were not saved were kept at " +
      WhenWritten(recovery.Written) + (frames.empty() ? std::string() : " (" + frames + ")") +
      ".\rRecover them?\r\rYes recovers them, No discards them, Cancel leaves the project "
      "closed and keeps them for later.";
  switch (host::MessageDlg(question, host::mtConfirmation,
                           {host::mbYes, host::mbNo, host::mbCancel}, 0)) {
    case host::mrYes:
      return std::make_unique<TDesignSession>(core, projectFile, &recovery);
    case host::mrNo: {
      std::error_code ec;
      fs::remove(fileName, ec);
      return std::make_unique<TDesignSession>(core, projectFile);
    }
    default:
      return nullptr;
  }
}

// ---- TRecoveryWriter

TRecoveryWriter::~TRecoveryWriter() {
  {
    std::unique_lock lock(FMutex);
    FStop = true;
  }
  FWake.notify_all();
  if (FThread.joinable()) FThread.join();
}

void TRecoveryWriter::WriteFile(const std::string& fileName, const TRecovery& recovery) {
  std::error_code ec;
  fs::path folder = fs::path(fileName).parent_path();
  if (!fs::is_directory(folder, ec)) {
    fs::create_directories(folder, ec);
    // What a designer had not saved is nobody else's to read.
    fs::permissions(folder, fs::perms::owner_all, ec);
  }
  host::TFileWrite file{fileName, RecoveryText(recovery), 0600};
  host::WriteFilesTogether({file});
}

void TRecoveryWriter::Write(const std::string& fileName, TRecovery recovery, bool background) {
  if (!background) {
    Wait();
    WriteFile(fileName, recovery);
    return;
  }
  {
    std::unique_lock lock(FMutex);
    FPending.emplace(fileName, std::move(recovery));
    if (!FThread.joinable()) FThread = std::thread([this] { Run(); });
  }
  FWake.notify_all();
}

void TRecoveryWriter::Run() {
  std::unique_lock lock(FMutex);
  for (;;) {
    FWake.wait(lock, [this] { return FStop || FPending; });
    if (!FPending) return;
    auto [fileName, recovery] = std::move(*FPending);
    FPending.reset();
    FBusy = true;
    lock.unlock();
    std::string error;
    try {
      WriteFile(fileName, recovery);
    } catch (const std::exception& e) {
      error = e.what();
    }
    lock.lock();
    FBusy = false;
    FError = error;
    FIdle.notify_all();
  }
}

void TRecoveryWriter::Wait() {
  std::unique_lock lock(FMutex);
  FIdle.wait(lock, [this] { return !FBusy && !FPending; });
}

void TRecoveryWriter::Remove(const std::string& fileName) {
  {
    std::unique_lock lock(FMutex);
    FPending.reset();
    FIdle.wait(lock, [this] { return !FBusy; });
  }
  std::error_code ec;
  fs::remove(fileName, ec);
}

std::string TRecoveryWriter::LastError() {
  std::unique_lock lock(FMutex);
  return FError;
}

}  // namespace ide
