#include "runtime/Strtool.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "host/ShellApi.h"
#include "tests/TestSupport.h"

extern char** environ;

namespace {

using mebrox::GetTokenString;
using testing_support::ReadFile;
using testing_support::ScopedWindowsDir;
using testing_support::TempDir;

std::vector<std::string> BreakApart(const std::string& s, const std::string& separator) {
  host::TStringList list;
  mebrox::sBreakApart(s, separator, list);
  return list.Items();
}

TEST(StrtoolTest, GetTokenStringConsumesTokensInTurn) {
  std::string s = "a,b,c";
  EXPECT_EQ(GetTokenString(s, ","), "a");
  EXPECT_EQ(s, "b,c");
  EXPECT_EQ(GetTokenString(s, ","), "b");
  EXPECT_EQ(GetTokenString(s, ","), "c");
  EXPECT_EQ(s, "");
  EXPECT_EQ(GetTokenString(s, ","), "");

  std::string t = "key::=value::=rest";
  EXPECT_EQ(GetTokenString(t, "::="), "key");
  EXPECT_EQ(t, "value::=rest");
  EXPECT_EQ(GetTokenString(t, ""), "value::=rest");
  EXPECT_EQ(t, "");
}

TEST(StrtoolTest, TrimsOnlySpaces) {
  EXPECT_EQ(mebrox::LTrim("  \tx  "), "\tx  ");
  EXPECT_EQ(mebrox::RTrim("  x\t  "), "  x\t");
  EXPECT_EQ(mebrox::LTrim("    "), "");
  EXPECT_EQ(mebrox::RTrim("    "), "");
  EXPECT_EQ(mebrox::LTrim(""), "");
}

TEST(StrtoolTest, RightUpperAndPad) {
  EXPECT_EQ(mebrox::RightStr("abc", 2), "bc");
  EXPECT_EQ(mebrox::RightStr("abc", 5), "abc");
  EXPECT_EQ(mebrox::RightStr("abc", 0), "");
  EXPECT_EQ(mebrox::RightStr("abc", -1), "");

  EXPECT_EQ(mebrox::UpperStr("azAZ09 {}\xe9\xc3\xa9"), "AZAZ09 {}\xe9\xc3\xa9");

  EXPECT_EQ(mebrox::PadStr("ab", 5), "ab   ");
  std::string longText(130, 'x');
  EXPECT_EQ(mebrox::PadStr(longText, 128), longText);
  EXPECT_EQ(mebrox::PadStr("ab", -3), "ab");
}

TEST(StrtoolTest, ExpandTabsIgnoresColumns) {
  EXPECT_EQ(mebrox::ExpandTabs("a\tb", 4), "a    b");
  EXPECT_EQ(mebrox::ExpandTabs("abc\td\t", 2), "abc  d  ");
  EXPECT_EQ(mebrox::ExpandTabs("\ta\t", 0), "a");
  EXPECT_EQ(mebrox::ExpandTabs("\ta\t", -2), "a");
}

TEST(StrtoolTest, BreakApartAppendsEveryPiece) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(BreakApart("a;;b", ";"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(BreakApart("a;", ";"), (Pieces{"a", ""}));
  EXPECT_EQ(BreakApart("", ";"), Pieces{""});
  EXPECT_EQ(BreakApart("a;b", ""), Pieces{"a;b"});
  EXPECT_EQ(BreakApart("x<>y<>", "<>"), (Pieces{"x", "y", ""}));

  host::TStringList list{"kept"};
  EXPECT_EQ(&mebrox::sBreakApart("1|2", "|", list), &list);
  EXPECT_EQ(list.Items(), (Pieces{"kept", "1", "2"}));

  // A separator is found however far into the string it stands.
  std::string farAway = std::string(300000, 'a') + "|b";
  EXPECT_EQ(BreakApart(farAway, "|"), (Pieces{std::string(300000, 'a'), "b"}));
}

TEST(StrtoolTest, ReplaceStrReplacesEachOccurrenceOnce) {
  EXPECT_EQ(mebrox::ReplaceStr("aaa", "aa", "b"), "ba");
  EXPECT_EQ(mebrox::ReplaceStr("a.b.c", ".", ".."), "a..b..c");
  EXPECT_EQ(mebrox::ReplaceStr("abc", "", "x"), "abc");
  EXPECT_EQ(mebrox::ReplaceStr("abc", "z", "x"), "abc");
  EXPECT_EQ(mebrox::ReplaceStr("..", ".", ""), "");

  std::string many;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    many += "ab;";
    expected += "ab<>";
  }
  EXPECT_EQ(mebrox::ReplaceStr(many, ";", "<>"), expected);
}

TEST(StrtoolTest, RemoveINIEntryDeletesOnlyThatKey) {
  ScopedWindowsDir windir;
  host::TIniFile ini("Project.ini");
  ini.WriteString("Frames", "Form1", "Menu");
  ini.WriteString("Frames", "Form2", "Intro");
  ini.WriteString("Other", "Form1", "stays");

  mebrox::RemoveINIEntry(ini, "FRAMES", "form1");
  EXPECT_FALSE(ini.ValueExists("Frames", "Form1"));
  EXPECT_EQ(ini.ReadString("Frames", "Form2", ""), "Intro");
  EXPECT_EQ(ini.ReadString("Other", "Form1", ""), "stays");

  std::string before = ReadFile(windir.File("Project.ini"));
  mebrox::RemoveINIEntry(ini, "Frames", "NoSuchKey");
  mebrox::RemoveINIEntry(ini, "NoSuchSection", "Form2");
  EXPECT_EQ(ReadFile(windir.File("Project.ini")), before);
}

TEST(StrtoolTest, DelphiIsRunningFindsTheStudioOfThisUser) {
  TempDir dir;
  // A process whose name is mebrox-studio: the kernel names it after the file it runs.
  std::string studio = dir.File("mebrox-studio");
  std::filesystem::create_symlink("/bin/sleep", studio);
  char arg0[] = "mebrox-studio";
  char arg1[] = "1000";
  char* argv[] = {arg0, arg1, nullptr};
  pid_t pid = 0;
  // posix_spawn returns only once the exec has happened, so the new name is already visible.
  ASSERT_EQ(::posix_spawn(&pid, studio.c_str(), nullptr, nullptr, argv, environ), 0);
  EXPECT_TRUE(mebrox::DelphiIsRunning());

  ::kill(pid, SIGKILL);
  // Killed but not yet reaped, it no longer counts.
  siginfo_t info{};
  ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
  EXPECT_FALSE(mebrox::DelphiIsRunning());
  ::waitpid(pid, nullptr, 0);
  EXPECT_FALSE(mebrox::DelphiIsRunning());
}

TEST(StrtoolTest, ExecuteFilePassesEverythingToTheShell) {
  TempDir dir;
  std::vector<host::TShellExecuteRecord> seen;
  host::ShellExecuteObserver() = [&](const host::TShellExecuteRecord& r) { seen.push_back(r); };
  std::string longParam(200, 'p');
  int result = mebrox::ExecuteFile(dir.File("absent.exe"), longParam, dir.Path(), host::SW_SHOW);
  host::ShellExecuteObserver() = nullptr;

  EXPECT_EQ(result, host::ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].File, dir.File("absent.exe"));
  EXPECT_EQ(seen[0].Params, longParam);
  EXPECT_EQ(seen[0].Directory, dir.Path());
  EXPECT_EQ(seen[0].ShowCmd, host::SW_SHOW);
}

}  // namespace
