#include "host/ShellApi.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "host/SysUtils.h"

namespace host {

namespace {

// What the launched side sends back through the pipe when it cannot reach exec.
struct TLaunchFailure {
  enum TStage : int { lsFork, lsChdir, lsExec } Stage = lsExec;
  int Errno = 0;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> PathDirectories() {
  std::vector<std::string> dirs;
  const char* path = std::getenv("PATH");
  if (!path) return dirs;
  std::string_view rest(path);
  while (true) {
    size_t colon = rest.find(':');
    std::string_view dir = rest.substr(0, colon);
    if (!dir.empty()) dirs.emplace_back(dir);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return dirs;
}

std::optional<std::string> FindOnPath(const std::string& name) {
  for (const std::string& dir : PathDirectories()) {
    std::string candidate = dir + "/" + name;
    if (IsExecutableFile(candidate)) return AbsolutePath(candidate);
  }
  return std::nullopt;
}

// The file to open as an absolute path, or the old error code when there is none.
struct TLookup {
  std::string Path;
  int Error = 0;
};

TLookup FindFile(const std::string& file, const std::string& directory) {
  std::string name = NativePath(file);
  if (name.empty()) return {{}, ERROR_FILE_NOT_FOUND};
  std::vector<std::string> candidates;
  if (name[0] == '/') {
    candidates.push_back(name);
  } else {
    if (!directory.empty()) candidates.push_back(AbsolutePath(directory + "/" + name));
    candidates.push_back(AbsolutePath(name));
  }
  struct stat st {};
  for (const std::string& candidate : candidates)
    if (::stat(candidate.c_str(), &st) == 0) return {candidate, 0};
  bool bare = name.find('/') == std::string::npos;
  if (bare) {
    if (auto found = FindOnPath(name)) return {*found, 0};
    return {{}, ERROR_FILE_NOT_FOUND};
  }
  // A name with a folder part: tell a missing folder from a missing file in a folder.
  for (const std::string& candidate : candidates)
    if (DirectoryExists(ExtractFilePath(candidate))) return {{}, ERROR_FILE_NOT_FOUND};
  return {{}, ERROR_PATH_NOT_FOUND};
}

int FailureCode(const TLaunchFailure& failure) {
  switch (failure.Stage) {
    case TLaunchFailure::lsFork:
      return SE_ERR_OOM;
    case TLaunchFailure::lsChdir:
      return failure.Errno == EACCES ? SE_ERR_ACCESSDENIED : ERROR_PATH_NOT_FOUND;
    case TLaunchFailure::lsExec:
      break;
  }
  switch (failure.Errno) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;  // also a script whose interpreter is missing
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case ENOEXEC:
    case ELIBBAD:
      return ERROR_BAD_FORMAT;
    case ENOMEM:
    case E2BIG:
      return SE_ERR_OOM;
    default:
      return SE_ERR_ACCESSDENIED;
  }
}

// Only async-signal-safe calls from here on: the caller may have threads (Qt does).
[[noreturn]] void ReportFailure(int fd, TLaunchFailure::TStage stage, int error) {
  TLaunchFailure failure;
  failure.Stage = stage;
  failure.Errno = error;
  ssize_t ignored = ::write(fd, &failure, sizeof failure);
  (void)ignored;
  ::_exit(127);
}

void ResetSignals() {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig)
    if (sig != SIGKILL && sig != SIGSTOP) ::sigaction(sig, &action, nullptr);
}

// Starts program detached: a short-lived middle child forks the real one and exits at once, so
// the program is adopted by init and never becomes our zombie. The close-on-exec pipe stays
// silent when exec succeeds and carries the errno when anything before it fails.
int Launch(const std::string& program, const std::vector<std::string>& args,
           const std::string& directory) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const char* workDir = directory.empty() ? nullptr : directory.c_str();

  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return SE_ERR_OOM;
  pid_t middle = ::fork();
  if (middle < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return SE_ERR_OOM;
  }
  if (middle == 0) {
    ::close(fds[0]);
    pid_t child = ::fork();
    if (child < 0) ReportFailure(fds[1], TLaunchFailure::lsFork, errno);
    if (child > 0) ::_exit(0);
    ::setsid();
    ResetSignals();
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (workDir && ::chdir(workDir) != 0) ReportFailure(fds[1], TLaunchFailure::lsChdir, errno);
    ::execv(argv[0], argv.data());
    ReportFailure(fds[1], TLaunchFailure::lsExec, errno);
  }

  ::close(fds[1]);
  TLaunchFailure failure;
  size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(&failure);
  while (got < sizeof failure) {
    ssize_t n = ::read(fds[0], bytes + got, sizeof failure - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fds[0]);
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == sizeof failure ? FailureCode(failure) : ShellExecuteSucceeded;
}

int Execute(const std::string& file, const std::string& params, const std::string& directory) {
  std::string workDir = NativePath(directory);
  if (!workDir.empty() && !DirectoryExists(workDir)) return ERROR_PATH_NOT_FOUND;
  TLookup target = FindFile(file, workDir);
  if (target.Error) return target.Error;
  if (IsExecutableFile(target.Path)) return Launch(target.Path, SplitShellParams(params), workDir);
  if (::access(target.Path.c_str(), R_OK) != 0) return SE_ERR_ACCESSDENIED;
  std::optional<std::string> opener = FindOnPath("xdg-open");
  if (!opener) return SE_ERR_NOASSOC;
  return Launch(*opener, {target.Path}, workDir);
}

}  // namespace

std::vector<std::string> SplitShellParams(const std::string& params) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : params) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && IsBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

int ShellExecute(const std::string& file, const std::string& params, const std::string& directory,
                 int showCmd) {
  int result = Execute(file, params, directory);
  if (auto& observer = ShellExecuteObserver())
    observer(TShellExecuteRecord{file, params, directory, showCmd, result});
  return result;
}

std::function<void(const TShellExecuteRecord&)>& ShellExecuteObserver() {
  static std::function<void(const TShellExecuteRecord&)> observer;
  return observer;
}

}  // namespace host
