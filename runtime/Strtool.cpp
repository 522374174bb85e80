#include "runtime/Strtool.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <iterator>

#include "host/ShellApi.h"

namespace mebrox {

std::string GetTokenString(std::string& s, const std::string& separator) {
  size_t p = separator.empty() ? std::string::npos : s.find(separator);
  if (p == std::string::npos) {
    std::string token = std::move(s);
    s.clear();
    return token;
  }
  std::string token = s.substr(0, p);
  s.erase(0, p + separator.size());
  return token;
}

std::string LTrim(const std::string& s) {
  size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::string RTrim(const std::string& s) {
  size_t last = s.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

std::string RightStr(const std::string& s, int n) {
  if (n <= 0) return {};
  if (static_cast<size_t>(n) >= s.size()) return s;
  return s.substr(s.size() - static_cast<size_t>(n));
}

std::string UpperStr(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string PadStr(const std::string& s, int n) {
  if (n <= 0 || s.size() >= static_cast<size_t>(n)) return s;
  return s + std::string(static_cast<size_t>(n) - s.size(), ' ');
}

std::string ExpandTabs(const std::string& s, int n) {
  return ReplaceStr(s, "\t", std::string(n > 0 ? static_cast<size_t>(n) : 0, ' '));
}

host::TStrings& sBreakApart(const std::string& s, const std::string& separator,
                            host::TStrings& list) {
  // Searching on from the last match finds what searching the cut-off rest would, without
  // copying the rest of a long string once per piece.
  size_t start = 0;
  while (true) {
    size_t p = separator.empty() ? std::string::npos : s.find(separator, start);
    if (p == std::string::npos) {
      list.Add(s.substr(start));
      return list;
    }
    list.Add(s.substr(start, p - start));
    start = p + separator.size();
  }
}

std::string ReplaceStr(const std::string& s, const std::string& oldPattern,
                       const std::string& newPattern) {
  host::TStringList pieces;
  sBreakApart(s, oldPattern, pieces);
  const std::vector<std::string>& items = pieces.Items();
  if (items.size() < 2) return s;
  size_t length = (items.size() - 1) * newPattern.size();
  for (const std::string& piece : items) length += piece.size();
  std::string result;
  result.reserve(length);
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) result += newPattern;
    result += items[i];
  }
  return result;
}

void RemoveINIEntry(host::TIniFile& iniFile, const std::string& section, const std::string& ident) {
  host::WritePrivateProfileString(section.c_str(), ident.c_str(), nullptr, iniFile.FileName());
}

namespace {

// The name and run state of a process from /proc/<pid>/stat: "pid (name) state ...", where the
// name itself may hold parentheses.
bool ReadProcessStat(const std::string& pid, std::string& name, char& state) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t open = text.find('(');
  size_t close = text.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open ||
      close + 2 >= text.size())
    return false;
  name = text.substr(open + 1, close - open - 1);
  state = text[close + 2];
  return true;
}

}  // namespace

bool DelphiIsRunning() {
  DIR* proc = ::opendir("/proc");
  if (!proc) return false;
  bool running = false;
  uid_t me = ::geteuid();
  while (dirent* entry = ::readdir(proc)) {
    std::string pid = entry->d_name;
    if (pid.empty() || !std::isdigit(static_cast<unsigned char>(pid[0]))) continue;
    struct stat st {};
    if (::stat(("/proc/" + pid).c_str(), &st) != 0 || st.st_uid != me) continue;
    std::string name;
    char state = 0;
    // An exited process that is not reaped yet is no longer running.
    if (ReadProcessStat(pid, name, state) && name == "mebrox-studio" && state != 'Z' &&
        state != 'X') {
      running = true;
      break;
    }
  }
  ::closedir(proc);
  return running;
}

int ExecuteFile(const std::string& fileName, const std::string& params,
                const std::string& defaultDir, int showCmd) {
  return host::ShellExecute(fileName, params, defaultDir, showCmd);
}

}  // namespace mebrox
