#include "host/ShellApi.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/TestSupport.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Writes every argument and the working directory next to the script, then a closing "END".
const char* RecorderScript =
    "#!/bin/sh\n"
    "{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo END; } > "
    "\"${0%/*}/out.txt\"\n";

void WriteExecutable(const std::string& path, const std::string& text) {
  WriteFile(path, text);
  ::chmod(path.c_str(), 0755);
}

// The started program runs on its own; wait (boundedly) until it has written its last line.
std::string WaitForOutput(const std::string& path) {
  for (int i = 0; i < 3000; ++i) {
    std::string text = ReadFile(path);
    if (text.ends_with("END\n")) return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadFile(path);
}

std::string Canonical(const std::string& path) {
  return std::filesystem::canonical(path).string();
}

class ScopedPath {
 public:
  explicit ScopedPath(const std::string& value)
      : FOld(std::getenv("PATH") ? std::getenv("PATH") : "") {
    ::setenv("PATH", value.c_str(), 1);
  }
  ~ScopedPath() { ::setenv("PATH", FOld.c_str(), 1); }

 private:
  std::string FOld;
};

bool HasChildren() {
  return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

TEST(ShellExecuteTest, StartsProgramDirectlyWithWordsInWorkingDirectory) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::create_directories(dir.File("work/victim"));
  WriteExecutable(dir.File("bin/rec.sh"), RecorderScript);

  // Stored paths may use backslashes; a relative name is looked up in the working directory.
  int result = host::ShellExecute("..\\bin\\rec.sh", "one \"two  words\" \"; rm -rf victim\" $HOME",
                                  dir.File("work"), host::SW_SHOW);

  EXPECT_GT(result, 32);
  EXPECT_EQ(WaitForOutput(dir.File("bin/out.txt")),
            Canonical(dir.File("work")) + "\none\ntwo  words\n; rm -rf victim\n$HOME\nEND\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("work/victim")));
  EXPECT_FALSE(HasChildren());
}

TEST(ShellExecuteTest, LooksInDirectoryBeforePath) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::create_directories(dir.File("work"));
  std::filesystem::create_directories(dir.File("empty"));
  WriteExecutable(dir.File("bin/tool.sh"), RecorderScript);
  WriteExecutable(dir.File("work/tool.sh"), RecorderScript);
  ScopedPath path(dir.File("bin"));

  EXPECT_GT(host::ShellExecute("tool.sh", "first", dir.File("work"), host::SW_SHOW), 32);
  EXPECT_EQ(WaitForOutput(dir.File("work/out.txt")),
            Canonical(dir.File("work")) + "\nfirst\nEND\n");

  EXPECT_GT(host::ShellExecute("tool.sh", "second", dir.File("empty"), host::SW_SHOW), 32);
  EXPECT_EQ(WaitForOutput(dir.File("bin/out.txt")),
            Canonical(dir.File("empty")) + "\nsecond\nEND\n");
}

TEST(ShellExecuteTest, ReportsTheOldErrorCodes) {
  TempDir dir;
  WriteExecutable(dir.File("rec.sh"), RecorderScript);
  WriteExecutable(dir.File("broken.sh"), "#!/nonexistent/interpreter\n");
  WriteFile(dir.File("secret.txt"), "x");

  EXPECT_EQ(host::ShellExecute(dir.File("missing.sh"), "", "", host::SW_SHOW),
            host::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(host::ShellExecute("mebrox-no-such-program", "", "", host::SW_SHOW),
            host::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(host::ShellExecute("", "", "", host::SW_SHOW), host::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(host::ShellExecute(dir.File("nofolder/rec.sh"), "", "", host::SW_SHOW),
            host::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(host::ShellExecute(dir.File("rec.sh"), "", dir.File("nofolder"), host::SW_SHOW),
            host::ERROR_PATH_NOT_FOUND);
  // The exec itself fails in the started process; the failure still comes back as a code.
  EXPECT_EQ(host::ShellExecute(dir.File("broken.sh"), "", "", host::SW_SHOW),
            host::ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
  // A program still open for writing cannot run; even root gets "access denied" here.
  int writer = ::open(dir.File("rec.sh").c_str(), O_WRONLY | O_CLOEXEC);
  EXPECT_EQ(host::ShellExecute(dir.File("rec.sh"), "", "", host::SW_SHOW),
            host::SE_ERR_ACCESSDENIED);
  ::close(writer);
  if (::geteuid() != 0) {
    ::chmod(dir.File("secret.txt").c_str(), 0);
    EXPECT_EQ(host::ShellExecute(dir.File("secret.txt"), "", "", host::SW_SHOW),
              host::SE_ERR_ACCESSDENIED);
  }
  EXPECT_FALSE(HasChildren());
}

TEST(ShellExecuteTest, OpensOtherFilesWithXdgOpenWhenPresent) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::create_directories(dir.File("docs"));
  WriteFile(dir.File("docs/readme.txt"), "hello");
  ScopedPath path(dir.File("bin"));

  EXPECT_EQ(host::ShellExecute("readme.txt", "ignored", dir.File("docs"), host::SW_SHOW),
            host::SE_ERR_NOASSOC);

  WriteExecutable(dir.File("bin/xdg-open"), RecorderScript);
  EXPECT_GT(host::ShellExecute("readme.txt", "ignored", dir.File("docs"), host::SW_SHOW), 32);
  std::string docs = Canonical(dir.File("docs"));
  EXPECT_EQ(WaitForOutput(dir.File("bin/out.txt")), docs + "\n" + docs + "/readme.txt\nEND\n");
}

TEST(ShellExecuteTest, ObserverSeesEveryCall) {
  std::vector<host::TShellExecuteRecord> seen;
  host::ShellExecuteObserver() = [&](const host::TShellExecuteRecord& r) { seen.push_back(r); };
  host::ShellExecute("nothing-here", "-x \"a b\"", "/no/such/dir", host::SW_SHOWNORMAL);
  host::ShellExecuteObserver() = nullptr;

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].File, "nothing-here");
  EXPECT_EQ(seen[0].Params, "-x \"a b\"");
  EXPECT_EQ(seen[0].Directory, "/no/such/dir");
  EXPECT_EQ(seen[0].ShowCmd, host::SW_SHOWNORMAL);
  EXPECT_EQ(seen[0].Result, host::ERROR_PATH_NOT_FOUND);
}

TEST(ShellExecuteTest, SplitsParametersIntoWords) {
  using Words = std::vector<std::string>;
  EXPECT_EQ(host::SplitShellParams(""), Words{});
  EXPECT_EQ(host::SplitShellParams("  a \t b  "), (Words{"a", "b"}));
  EXPECT_EQ(host::SplitShellParams("x\"y z\"w \"\" last"), (Words{"xy zw", "", "last"}));
  EXPECT_EQ(host::SplitShellParams("\"open to the end"), Words{"open to the end"});
}

}  // namespace
