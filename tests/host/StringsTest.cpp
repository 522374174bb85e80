#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "host/Strings.h"
#include "host/SysUtils.h"
#include "tests/TestSupport.h"

using namespace host;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {
class CountingList : public TStringList {
 public:
  int ChangedCount = 0;

 protected:
  void Changed() override {
    ++ChangedCount;
    TStringList::Changed();
  }
};
}  // namespace

TEST(StringsTest, IndexOfIgnoresCaseAndIndexesAreChecked) {
  TStringList list{"Alpha", "beta"};
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("Beta"), 1);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  EXPECT_THROW(list.Get(2), EListError);
  EXPECT_THROW(list.Put(-1, "x"), EListError);
  EXPECT_THROW(list.Delete(2), EListError);
  EXPECT_NO_THROW(list.Insert(2, "end"));
  EXPECT_EQ(list.Get(2), "end");
}

TEST(StringsTest, ChangedRunsAfterEachModificationAndOnceForAnUpdateBracket) {
  CountingList list;
  int onChange = 0;
  list.OnChange = [&](TObject*) { ++onChange; };
  list.Add("a");
  list.Put(0, "b");
  list.Delete(0);
  EXPECT_EQ(list.ChangedCount, 3);
  list.Clear();  // nothing to clear: no change
  EXPECT_EQ(list.ChangedCount, 3);

  list.BeginUpdate();
  list.Add("x");
  list.BeginUpdate();
  list.Add("y");
  list.EndUpdate();
  EXPECT_EQ(list.ChangedCount, 3);
  list.EndUpdate();
  EXPECT_EQ(list.ChangedCount, 4);
  EXPECT_EQ(onChange, 4);

  TStringList other{"1", "2", "3"};
  list.Assign(other);
  EXPECT_EQ(list.ChangedCount, 5);
  EXPECT_TRUE(list.Equals(other));
}

TEST(StringsTest, TextJoinsWithCrLfAndSplitsOnAnyLineEnd) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\r\n\r\nsix");
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Get(4), "");
  EXPECT_EQ(list.Get(5), "six");
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringsTest, FilesAreWrittenWithCrLfAndReadWithEitherLineEnd) {
  TempDir dir;
  WriteFile(dir.File("lf.txt"), "first\nsecond\n");
  TStringList list;
  list.LoadFromFile(dir.File("lf.txt"));
  ASSERT_EQ(list.Count(), 2);
  list.Add("third");
  list.SaveToFile(dir.File("out.txt"));
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "first\r\nsecond\r\nthird\r\n");
  EXPECT_THROW(list.LoadFromFile(dir.File("missing.txt")), EInOutError);
  EXPECT_EQ(list.Count(), 3);  // a failed load keeps the contents
}

TEST(StringsTest, FailedSaveLeavesTheOldFileIntact) {
  TempDir dir;
  TStringList list{"new"};
  // A directory in the way of the target: the write fails, what was there stays, and no
  // temporary file is left behind.
  std::string blocked = dir.File("sub");
  ::mkdir(blocked.c_str(), 0700);
  WriteFile(blocked + "/inside.txt", "old");
  EXPECT_THROW(list.SaveToFile(blocked), EInOutError);
  EXPECT_EQ(ReadFile(blocked + "/inside.txt"), "old");
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.exists();
  EXPECT_EQ(entries, 1);
}

// Saving a project writes several files; a failure in any leaves all of them as they were.
TEST(FilesTest, FilesWrittenTogetherAllChangeOrNoneDoes) {
  TempDir dir;
  auto count = [&] {
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.exists();
    return entries;
  };
  WriteFile(dir.File("a.dfm"), "old a");
  WriteFile(dir.File("b.dfm"), "old b");
  host::WriteFilesTogether({{dir.File("a.dfm"), "new a"}, {dir.File("c.pas"), "new c"}});
  EXPECT_EQ(ReadFile(dir.File("a.dfm")), "new a");
  EXPECT_EQ(ReadFile(dir.File("c.pas")), "new c");

  // A read-only file refuses before anything changes, and the error names it.
  ::chmod(dir.File("b.dfm").c_str(), 0444);
  try {
    host::WriteFilesTogether({{dir.File("a.dfm"), "newer a"}, {dir.File("b.dfm"), "new b"}});
    FAIL() << "a read-only file was replaced";
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("b.dfm\": it is read-only"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(ReadFile(dir.File("a.dfm")), "new a");
  EXPECT_EQ(ReadFile(dir.File("b.dfm")), "old b");
  EXPECT_THROW(host::WriteFileAtomically(dir.File("b.dfm"), "x"), EInOutError);
  EXPECT_EQ(count(), 3);

  // A failure while the new files take their places puts back those already replaced, and
  // removes a new file that had no old one.
  ::mkdir(dir.File("blocked").c_str(), 0700);
  WriteFile(dir.File("blocked/inside"), "");
  EXPECT_THROW(host::WriteFilesTogether({{dir.File("a.dfm"), "newest a"},
                                         {dir.File("d.pas"), "new d"},
                                         {dir.File("blocked"), "x"}}),
               EInOutError);
  EXPECT_EQ(ReadFile(dir.File("a.dfm")), "new a");
  EXPECT_FALSE(std::filesystem::exists(dir.File("d.pas")));
  EXPECT_EQ(count(), 4);
}

namespace {

std::vector<std::string> Entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t Mode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

}  // namespace

TEST(FilesTest, ALinkIsWrittenThroughToItsTargetWhichKeepsItsPermissions) {
  TempDir dir;
  ::mkdir(dir.File("real").c_str(), 0700);
  WriteFile(dir.File("real/Demo.dfm"), "old");
  ::chmod(dir.File("real/Demo.dfm").c_str(), 0640);
  std::filesystem::create_symlink("real/Demo.dfm", dir.File("Demo.dfm"));
  WriteFile(dir.File("Unit1.pas"), "old unit");
  std::filesystem::create_symlink("Unit1.pas", dir.File("link.pas"));

  WriteFileAtomically(dir.File("Demo.dfm"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Demo.dfm")));
  EXPECT_EQ(ReadFile(dir.File("real/Demo.dfm")), "new");
  EXPECT_EQ(Mode(dir.File("real/Demo.dfm")), 0640u);

  WriteFilesTogether({{dir.File("Demo.dfm"), "newer"}, {dir.File("link.pas"), "new unit"}});
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Demo.dfm")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.pas")));
  EXPECT_EQ(ReadFile(dir.File("real/Demo.dfm")), "newer");
  EXPECT_EQ(ReadFile(dir.File("Unit1.pas")), "new unit");

  // A link to a file the user protected protects it as well.
  ::chmod(dir.File("real/Demo.dfm").c_str(), 0444);
  EXPECT_THROW(WriteFileAtomically(dir.File("Demo.dfm"), "x"), EInOutError);
  EXPECT_EQ(ReadFile(dir.File("real/Demo.dfm")), "newer");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"Demo.dfm", "Unit1.pas", "link.pas", "real"}));
}

TEST(FilesTest, LongNamesAreWrittenWithinTheNameLimit) {
  TempDir dir;
  std::string longName = dir.File(std::string(250, 'a') + ".dfm");
  // A name of two-byte characters is cut between characters, never inside one.
  std::string wide;
  while (wide.size() < 250) wide += "\xC3\xA9";
  std::string wideName = dir.File(wide);
  WriteFileAtomically(longName, "one");
  WriteFileAtomically(longName, "two");
  EXPECT_EQ(ReadFile(longName), "two");
  WriteFilesTogether({{longName, "three"}, {wideName, "four"}});
  WriteFilesTogether({{longName, "five"}, {wideName, "six"}});
  EXPECT_EQ(ReadFile(longName), "five");
  EXPECT_EQ(ReadFile(wideName), "six");
  EXPECT_EQ(Entries(dir).size(), 2u);
}

TEST(FilesTest, AWriteClearsWhatADeadWriterLeftBesideItsTarget) {
  TempDir dir;
  std::string target = dir.File("Demo.RUN");
  WriteFile(target, "old");
  // No process has this number; pid 1 always lives.
  const std::string dead = "2147483647";
  auto own = [&](const std::string& kind, const std::string& pid) {
    return ".Demo.RUN.mebrox-" + kind + "-" + pid + "-Ab12Cd";
  };
  WriteFile(dir.File(own("tmp", dead)), "half written");
  WriteFile(dir.File(own("tmp", "1")), "another writer's");
  WriteFile(dir.File(".Demo.RUN.mebrox-tmp-notes"), "the user's");
  // A second name of the target is only a name; one of an older file is its last copy.
  ::link(target.c_str(), dir.File(own("bak", dead)).c_str());
  WriteFile(dir.File(".Demo.RUN.mebrox-bak-214748364-Xy34Zw"), "older contents");

  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(Entries(dir),
            (std::vector<std::string>{".Demo.RUN.mebrox-bak-214748364-Xy34Zw", own("tmp", "1"),
                                      ".Demo.RUN.mebrox-tmp-notes", "Demo.RUN"}));
}

TEST(FilesTest, AFailingDiskLeavesNoHandleAndNoFileBehind) {
  TempDir dir;
  WriteFile(dir.File("a.dfm"), "old");
  auto openHandles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
  };
  auto handles = openHandles();
  FileSync = [](int) {
    errno = EIO;
    return -1;
  };
  EXPECT_THROW(WriteFileAtomically(dir.File("a.dfm"), "new"), EInOutError);
  EXPECT_THROW(WriteFilesTogether({{dir.File("a.dfm"), "new"}, {dir.File("b.dfm"), "b"}}),
               EInOutError);
  FileSync = ::fsync;
  EXPECT_EQ(openHandles(), handles);
  EXPECT_EQ(ReadFile(dir.File("a.dfm")), "old");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"a.dfm"}));
}

namespace {

int KillAtStep = -1;

// Ends the process at the chosen step, as a crash or a power cut would.
void KillHere(int step) {
  if (step == KillAtStep) ::_exit(99);
}

}  // namespace

// A save killed at any point among its steps leaves, once the journal is finished, every file
// old or every file new, and nothing of the kit's own beside them.
TEST(FilesTest, AWriteKilledAtAnyStepIsWholeOldOrWholeNewOnceItsJournalIsFinished) {
  bool completed = false;
  for (int step = 0; !completed; ++step) {
    SCOPED_TRACE("killed at step " + std::to_string(step));
    ASSERT_LT(step, 40);
    TempDir dir;
    WriteFile(dir.File("Demo.dpr"), "old dpr");
    WriteFile(dir.File("Unit1.dfm"), "old form");
    WriteFile(dir.File("Unit1.pas"), "old unit");
    std::string journal = dir.File(".Demo.dpr.mebrox-journal");
    std::vector<TFileWrite> files = {{dir.File("Demo.dpr"), "new dpr"},
                                     {dir.File("Unit1.dfm"), "new form"},
                                     {dir.File("Unit2.pas"), "new unit", 0755},
                                     {dir.File("Unit1.pas"), "newer unit"}};
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      KillAtStep = step;
      WriteStepHook = KillHere;
      try {
        WriteFilesTogether(files, journal);
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 1);
    completed = WEXITSTATUS(status) == 0;

    // Once the journal is written, the write is as good as done.
    bool journalLeft = std::filesystem::exists(journal);
    std::string told = FinishInterruptedWrite(journal);
    EXPECT_EQ(told.empty(), !journalLeft) << told;
    bool isNew = ReadFile(dir.File("Demo.dpr")) == "new dpr";
    EXPECT_EQ(isNew, completed || journalLeft);
    if (isNew) {
      EXPECT_EQ(ReadFile(dir.File("Unit1.dfm")), "new form");
      EXPECT_EQ(ReadFile(dir.File("Unit1.pas")), "newer unit");
      EXPECT_EQ(ReadFile(dir.File("Unit2.pas")), "new unit");
      EXPECT_EQ(Mode(dir.File("Unit2.pas")), 0755u);
    } else {
      EXPECT_EQ(ReadFile(dir.File("Unit1.dfm")), "old form");
      EXPECT_EQ(ReadFile(dir.File("Unit1.pas")), "old unit");
      EXPECT_FALSE(std::filesystem::exists(dir.File("Unit2.pas")));
    }
    // What a killed writer left before its journal existed goes with the next write there.
    if (!isNew) WriteFilesTogether(files, journal);
    EXPECT_EQ(Entries(dir),
              (std::vector<std::string>{"Demo.dpr", "Unit1.dfm", "Unit1.pas", "Unit2.pas"}));
  }
}

TEST(FilesTest, AJournalFinishesOnlyWhatIsStillItsOwnToFinish) {
  TempDir dir;
  WriteFile(dir.File("a.dfm"), "old a");
  WriteFile(dir.File("b.dfm"), "old b");
  std::string journal = dir.File(".P.dpr.mebrox-journal");
  KillAtStep = 3;  // two temporary files, the second names, the journal: then killed
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    WriteStepHook = KillHere;
    WriteFilesTogether({{dir.File("a.dfm"), "new a"}, {dir.File("b.dfm"), "new b"}}, journal);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 99);
  ASSERT_EQ(ReadFile(dir.File("a.dfm")), "old a");
  // Someone changed b meanwhile: their contents stay, and the message says so.
  ::unlink(dir.File("b.dfm").c_str());
  WriteFile(dir.File("b.dfm"), "the user's b");
  std::string told = FinishInterruptedWrite(journal);
  EXPECT_NE(told.find("b.dfm changed since"), std::string::npos) << told;
  EXPECT_EQ(ReadFile(dir.File("a.dfm")), "new a");
  EXPECT_EQ(ReadFile(dir.File("b.dfm")), "the user's b");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"a.dfm", "b.dfm"}));
  EXPECT_EQ(FinishInterruptedWrite(journal), "");

  // A journal that names files not its own is refused, and nothing is touched.
  WriteFile(journal, std::string("mebrox write journal 1\na.dfm\0b.dfm\0\0", 36));
  EXPECT_THROW(FinishInterruptedWrite(journal), EInOutError);
  EXPECT_EQ(ReadFile(dir.File("b.dfm")), "the user's b");
  EXPECT_TRUE(IsOwnPassingFile(".a.dfm.mebrox-tmp-12-Ab12Cd"));
  EXPECT_TRUE(IsOwnPassingFile(".P.dpr.mebrox-journal"));
  EXPECT_FALSE(IsOwnPassingFile(".Demo.RUN.mebrox-tmp-notes"));
  EXPECT_FALSE(IsOwnPassingFile("a.dfm"));
}
