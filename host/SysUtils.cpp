#include "host/SysUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <set>
#include <sstream>

namespace host {

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(uint64_t value, int digits) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), hex[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), '0');
  return out;
}

bool TryStrToInt(std::string_view s, int& value) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  int64_t result = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    result = result * base + digit;
    // Hexadecimal covers the full 32 bits (colours use the top bit); decimal keeps to int.
    if (result > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{2147483648})) return false;
  }
  if (negative) result = -result;
  if (base == 16 && result > 0x7FFFFFFF) result -= int64_t{0x100000000};
  if (result > 2147483647 || result < -2147483648LL) return false;
  value = static_cast<int>(result);
  return true;
}

int StrToInt(std::string_view s) {
  int value;
  if (!TryStrToInt(s, value))
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view s, int defaultValue) {
  int value;
  return TryStrToInt(s, value) ? value : defaultValue;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca -= 32;
    if (cb >= 'a' && cb <= 'z') cb -= 32;
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool IsPathDelimiter(char c) {
  return c == '/' || c == '\\';
}

static size_t LastDelimiter(std::string_view fileName) {
  for (size_t i = fileName.size(); i > 0; --i)
    if (IsPathDelimiter(fileName[i - 1])) return i - 1;
  return std::string_view::npos;
}

std::string ExtractFilePath(std::string_view fileName) {
  size_t p = LastDelimiter(fileName);
  return p == std::string_view::npos ? std::string() : std::string(fileName.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view fileName) {
  size_t p = LastDelimiter(fileName);
  return std::string(p == std::string_view::npos ? fileName : fileName.substr(p + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
  std::string name = ExtractFileName(fileName);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
  std::string ext = ExtractFileExt(fileName);
  std::string base(fileName.substr(0, fileName.size() - ext.size()));
  return base + std::string(extension);
}

std::string NativePath(std::string_view fileName) {
  std::string out(fileName);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return ::stat(NativePath(fileName).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& dirName) {
  struct stat st {};
  return ::stat(NativePath(dirName).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static std::string ErrnoText() {
  return std::strerror(errno);
}

std::string ReadFileBytes(const std::string& fileName) {
  std::string path = NativePath(fileName);
  if (DirectoryExists(path))
    throw EInOutError("Cannot open file \"" + fileName + "\": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file \"" + fileName + "\": " + ErrnoText());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw EInOutError("Cannot read file \"" + fileName + "\": " + ErrnoText());
  return buffer.str();
}

namespace {

// A file whose write permission bits are all off: the user protected it, so the kit never
// replaces it (renaming over it would succeed, and would succeed for root in any case).
bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0);
}

// The file a write really replaces: a symbolic link is followed to its target (which need not
// exist yet), so that the link stays a link.
std::string ResolveLinks(const std::string& fileName) {
  std::string path = NativePath(fileName);
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;
    target.resize(static_cast<size_t>(n));
    path = target.front() == '/' ? target : ExtractFilePath(path) + target;
  }
  throw EInOutError("Cannot write file \"" + fileName + "\": too many symbolic links");
}

// Our own files beside a target: ".NAME.mebrox-tmp-PID-XXXXXX" for new contents and
// ".NAME.mebrox-bak-PID-XXXXXX" for a second name of the old file while several files are
// written together.
constexpr std::string_view OwnTag = ".mebrox-";
// What the tag, the kind, the longest pid and the unique part add to the shortened name.
constexpr size_t OwnSuffixRoom = 1 + OwnTag.size() + 4 + 10 + 1 + 6;

std::string DirectoryOf(const std::string& path) {
  std::string dir = ExtractFilePath(path);
  return dir.empty() ? std::string("./") : dir;
}

// The start of our own names beside path. The target's name is cut (never inside a UTF-8
// character) so that every name stays within the file system's limit.
std::string OwnPrefix(const std::string& path) {
  std::string dir = DirectoryOf(path);
  long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  size_t room = (nameMax > 0 ? static_cast<size_t>(nameMax) : NAME_MAX) - OwnSuffixRoom;
  std::string name = ExtractFileName(path);
  if (name.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return "." + name + std::string(OwnTag);
}

std::string OwnTemplate(const std::string& path, std::string_view kind) {
  return ExtractFilePath(path) + OwnPrefix(path) + std::string(kind) + "-" +
         std::to_string(::getpid()) + "-XXXXXX";
}

// "tmp-PID-XXXXXX" or "bak-PID-XXXXXX", what follows our tag in our own names.
bool ParseOwnSuffix(std::string_view rest, long& pid) {
  if (rest.size() < 4 + 1 + 1 + 6 || (rest.substr(0, 4) != "tmp-" && rest.substr(0, 4) != "bak-"))
    return false;
  std::string_view pidText = rest.substr(4, rest.size() - 4 - 7);
  if (rest[rest.size() - 7] != '-' || pidText.empty() || pidText.size() > 10 ||
      pidText.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  pid = std::stol(std::string(pidText));
  return true;
}

bool ProcessIsGone(long pid) {
  if (pid <= 0) return false;
  // No process number is that high: asking about it would ask about another one.
  if (pid > std::numeric_limits<pid_t>::max()) return true;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes what writes to path by processes that have died left behind: their temporary files,
// and their second names of a file that still is the target. A second name of an old file
// whose target was already replaced is the only copy of it, so it stays.
// Removes what writes by processes that have died left in dir: their temporary files, and
// their second names of a file that still is the target. Only names starting with prefix are
// looked at; target gives the file a second name belongs to (empty: none can be told).
void ClearStale(const std::string& dir, const std::string& prefix,
                const std::function<std::string(std::string_view name)>& target) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> stale;
  while (dirent* entry = ::readdir(d)) {
    std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) != prefix || !IsOwnPassingFile(name)) continue;
    std::string_view rest = name.substr(name.rfind(OwnTag) + OwnTag.size());
    long pid = 0;
    if (!ParseOwnSuffix(rest, pid) || pid == ::getpid() || !ProcessIsGone(pid)) continue;
    std::string own = dir + std::string(name);
    struct stat st {};
    if (::lstat(own.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    // A second name of an old file whose target was already replaced is the only copy of it.
    if (rest[0] == 'b') {
      std::string of = target(name);
      struct stat t {};
      if (of.empty() || ::stat(of.c_str(), &t) != 0 || t.st_dev != st.st_dev ||
          t.st_ino != st.st_ino)
        continue;
    }
    stale.push_back(own);
  }
  ::closedir(d);
  for (const std::string& own : stale) ::unlink(own.c_str());
}

void ClearStaleFiles(const std::string& path) {
  ClearStale(DirectoryOf(path), OwnPrefix(path), [&](std::string_view) { return path; });
}

// Writes bytes to a new temporary file beside path (the resolved target of fileName) and
// returns its name; the temporary file is gone again when this fails.
std::string WriteTempBeside(const std::string& fileName, const std::string& path,
                            std::string_view bytes, int newMode = -1) {
  if (IsReadOnlyFile(path))
    throw EInOutError("Cannot write file \"" + fileName + "\": it is read-only");
  std::string temp = OwnTemplate(path, "tmp");
  int fd = ::mkstemp(temp.data());
  if (fd < 0) throw EInOutError("Cannot create file \"" + fileName + "\": " + ErrnoText());
  auto fail = [&](const std::string& why) {
    ::unlink(temp.c_str());
    return EInOutError("Cannot write file \"" + fileName + "\": " + why);
  };
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::string why = ErrnoText();
      ::close(fd);
      throw fail(why);
    }
    written += static_cast<size_t>(n);
  }
  // Keep the owner and permissions of the file being replaced (the owner only where we may);
  // a new file gets the usual ones.
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &st) == 0) {
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
      // Refused unless we are root or in the file's group; the writer then owns the new file.
      bool ownerKept = ::fchown(fd, st.st_uid, st.st_gid) == 0;
      static_cast<void>(ownerKept);
    }
    mode = st.st_mode & 07777;
  } else if (newMode >= 0) {
    mode = static_cast<mode_t>(newMode) & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);
  // The handle is closed whether or not the disk took the data.
  int synced = FileSync(fd);
  std::string why = synced != 0 ? ErrnoText() : std::string();
  if (::close(fd) != 0 && why.empty()) why = ErrnoText();
  if (!why.empty()) throw fail(why);
  return temp;
}

}  // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  std::string path = ResolveLinks(fileName);
  ClearStaleFiles(path);
  std::string temp = WriteTempBeside(fileName, path, bytes);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    throw EInOutError("Cannot write file \"" + fileName + "\": " + why);
  }
}

namespace {

void SyncDirectory(const std::string& path) {
  int fd = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  FileSync(fd);
  ::close(fd);
}

// Only a journalled write counts its steps: a lone file is whole-old or whole-new anyway.
void Step(int& step, bool journalled) {
  if (!journalled) return;
  if (WriteStepHook) WriteStepHook(step);
  ++step;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The journal: a first line that names it, then per file its target, its new contents'
// temporary name and the old file's second name (empty for a new file), each ended by a NUL.
// Names inside the journal's folder are kept relative to it, so that a folder moved after a
// crash still finishes.
constexpr std::string_view JournalHeader = "mebrox write journal 1\n";

struct TJournalEntry {
  std::string Target, Temp, Backup;
};

std::string JournalText(const std::string& journal, const std::vector<TJournalEntry>& entries) {
  std::string dir = DirectoryOf(journal);
  auto relative = [&](const std::string& path) {
    return path.starts_with(dir) && path.size() > dir.size() ? path.substr(dir.size()) : path;
  };
  std::string text(JournalHeader);
  for (const TJournalEntry& e : entries)
    for (const std::string* part : {&e.Target, &e.Temp, &e.Backup}) {
      text += part->empty() ? std::string() : relative(*part);
      text += '\0';
    }
  return text;
}

std::vector<TJournalEntry> ParseJournal(const std::string& journal, const std::string& text) {
  if (!text.starts_with(JournalHeader))
    throw EInOutError("The file \"" + journal + "\" is no journal of a write");
  std::string dir = DirectoryOf(journal);
  std::vector<std::string> parts;
  size_t pos = JournalHeader.size();
  while (pos < text.size()) {
    size_t end = text.find('\0', pos);
    if (end == std::string::npos) throw EInOutError("The journal \"" + journal + "\" is cut short");
    std::string part = text.substr(pos, end - pos);
    parts.push_back(part.empty() || part.front() == '/' ? part : dir + part);
    pos = end + 1;
  }
  if (parts.size() % 3 != 0) throw EInOutError("The journal \"" + journal + "\" is cut short");
  std::vector<TJournalEntry> entries;
  for (size_t i = 0; i < parts.size(); i += 3) {
    // Only our own passing files are ever renamed or removed on a journal's word.
    const std::string& temp = parts[i + 1];
    const std::string& backup = parts[i + 2];
    if (parts[i].empty() || !IsOwnPassingFile(ExtractFileName(temp)) ||
        (!backup.empty() && !IsOwnPassingFile(ExtractFileName(backup))))
      throw EInOutError("The journal \"" + journal + "\" names files that are not its own");
    entries.push_back({parts[i], temp, backup});
  }
  return entries;
}

}  // namespace

int (*FileSync)(int fd) = ::fsync;
void (*WriteStepHook)(int step) = nullptr;

std::string PathWithin(const std::string& file, const std::string& folder) {
  const std::filesystem::path relative =
      std::filesystem::path(file).lexically_normal().lexically_relative(
          std::filesystem::path(folder).lexically_normal());
  if (relative.empty() || *relative.begin() == "..") return {};
  return relative.generic_string();
}

bool IsOwnPassingFile(std::string_view name) {
  if (!name.starts_with('.')) return false;
  size_t tag = name.rfind(OwnTag);
  if (tag == std::string_view::npos || tag == 0) return false;
  std::string_view rest = name.substr(tag + OwnTag.size());
  long pid = 0;
  return rest == "journal" || ParseOwnSuffix(rest, pid);
}

void ClearStaleWriteFiles(const std::string& folder) {
  std::string dir = NativePath(folder);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  ClearStale(dir, ".", [&](std::string_view name) {
    // ".NAME.mebrox-bak-...": NAME, unless it was shortened to fit the name limit.
    std::string_view target = name.substr(1, name.rfind(OwnTag) - 1);
    return dir + std::string(target);
  });
}

std::string FinishInterruptedWrite(const std::string& journal) {
  std::string path = NativePath(journal);
  if (!Exists(path)) return {};
  std::vector<TJournalEntry> entries = ParseJournal(journal, ReadFileBytes(path));
  int finished = 0;
  std::vector<std::string> kept;
  for (const TJournalEntry& e : entries) {
    if (Exists(e.Temp)) {
      // Still the old file (or still no file): the new one takes its place. A target someone
      // changed since keeps what they gave it.
      bool untouched = e.Backup.empty() ? !Exists(e.Target) : SameFile(e.Target, e.Backup);
      if (untouched && ::rename(e.Temp.c_str(), e.Target.c_str()) == 0) {
        ++finished;
      } else {
        ::unlink(e.Temp.c_str());
        kept.push_back(ExtractFileName(e.Target));
      }
    }
    if (!e.Backup.empty()) ::unlink(e.Backup.c_str());
  }
  SyncDirectory(path);
  if (::unlink(path.c_str()) != 0)
    throw EInOutError("Cannot remove the journal \"" + journal + "\": " + ErrnoText());
  std::string message = "A save of " + IntToStr(static_cast<int64_t>(entries.size())) +
                        " files into " + DirectoryOf(path) + " was cut short";
  if (kept.empty())
    return message + "; it has been finished (" + IntToStr(finished) +
           (finished == 1 ? " file" : " files") + " put in place).";
  std::string names;
  for (const std::string& name : kept) names += (names.empty() ? "" : ", ") + name;
  return message + "; it has been finished, but " + names +
         " changed since and kept what it holds now.";
}

void WriteFilesTogether(const std::vector<TFileWrite>& files, const std::string& journal) {
  struct TStaged {
    std::string Name;    // as given, for messages
    std::string Path;    // native, links followed
    std::string Temp;    // the new contents
    std::string Backup;  // a second name of the old file; empty when there was none
    bool Replaced = false;
  };
  std::string journalPath = journal.empty() ? std::string() : NativePath(journal);
  if (!journalPath.empty()) FinishInterruptedWrite(journalPath);
  std::vector<TStaged> staged;
  bool journalWritten = false;
  auto dropAll = [&] {
    for (TStaged& s : staged) {
      if (s.Replaced) {
        // Put the old file back, or take away the new one where there was none.
        if (!s.Backup.empty())
          ::rename(s.Backup.c_str(), s.Path.c_str());
        else
          ::unlink(s.Path.c_str());
      } else {
        if (!s.Temp.empty()) ::unlink(s.Temp.c_str());
        if (!s.Backup.empty()) ::unlink(s.Backup.c_str());
      }
    }
    if (journalWritten) ::unlink(journalPath.c_str());
  };
  int step = 0;
  try {
    // Every new file is written in full before any old one is touched.
    for (const TFileWrite& file : files) {
      TStaged s{file.Name, ResolveLinks(file.Name), {}, {}, false};
      ClearStaleFiles(s.Path);
      staged.push_back(s);
      staged.back().Temp = WriteTempBeside(file.Name, staged.back().Path, file.Bytes, file.Mode);
      Step(step, !journalPath.empty());
    }
    for (TStaged& s : staged) {
      struct stat st {};
      if (::stat(s.Path.c_str(), &st) != 0) continue;
      std::string backup = OwnTemplate(s.Path, "bak");
      int fd = ::mkstemp(backup.data());
      if (fd < 0) throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      ::close(fd);
      ::unlink(backup.c_str());
      if (::link(s.Path.c_str(), backup.c_str()) != 0)
        throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      s.Backup = backup;
    }
    Step(step, !journalPath.empty());
    if (!journalPath.empty()) {
      std::vector<TJournalEntry> entries;
      for (const TStaged& s : staged) entries.push_back({s.Path, s.Temp, s.Backup});
      WriteFileAtomically(journalPath, JournalText(journalPath, entries));
      journalWritten = true;
      SyncDirectory(journalPath);
      Step(step, !journalPath.empty());
    }
    for (TStaged& s : staged) {
      if (::rename(s.Temp.c_str(), s.Path.c_str()) != 0)
        throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      s.Replaced = true;
      Step(step, !journalPath.empty());
    }
  } catch (...) {
    dropAll();
    throw;
  }
  for (TStaged& s : staged) SyncDirectory(s.Path);
  for (TStaged& s : staged)
    if (!s.Backup.empty()) {
      ::unlink(s.Backup.c_str());
      Step(step, !journalPath.empty());
    }
  if (journalWritten) ::unlink(journalPath.c_str());
}

namespace {

std::function<void(const std::string&)>& NoticeHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

}  // namespace

void SetFileNoticeHandler(std::function<void(const std::string& message)> handler) {
  NoticeHandler() = std::move(handler);
}

void FileNotice(const std::string& message) {
  static std::set<std::string> told;
  if (!told.insert(message).second) return;
  if (NoticeHandler())
    NoticeHandler()(message);
  else
    std::cerr << message << '\n';
}

}  // namespace host
