#pragma once

#include <functional>
#include <string>
#include <vector>

namespace host {

// Window-show modes callers pass along; there is no window to show on this platform, so they
// only travel to the observer.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// The old shell's results: anything above 32 is success, these small codes are failures.
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int ERROR_BAD_FORMAT = 11;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int ShellExecuteSucceeded = 42;

// Opens a program or document as the old shell did, without a shell command line in between.
// An executable file is started directly with params split into words (double quotes group
// words and are removed) in the working directory (empty: the current one). Any other existing
// file goes to xdg-open when it is on PATH. A relative file name is looked up in directory, then
// in the current directory, then, for a bare name, along PATH; "\" and "/" both separate.
// Returns ShellExecuteSucceeded, or ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (directory
// missing), SE_ERR_ACCESSDENIED, SE_ERR_OOM, ERROR_BAD_FORMAT or SE_ERR_NOASSOC (no xdg-open).
// The started process is detached: it is never waited for and never left as a zombie.
int ShellExecute(const std::string& file, const std::string& params, const std::string& directory,
                 int showCmd);

// The words a parameter string stands for, as ShellExecute passes them.
std::vector<std::string> SplitShellParams(const std::string& params);

struct TShellExecuteRecord {
  std::string File;
  std::string Params;
  std::string Directory;
  int ShowCmd = 0;
  int Result = 0;
};

// Called after every ShellExecute with what was asked and what came of it, so that a headless
// run can trace program starts. Empty by default.
std::function<void(const TShellExecuteRecord&)>& ShellExecuteObserver();

}  // namespace host
