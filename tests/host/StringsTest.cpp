#include <gtest/gtest.h>

#include "host/Strings.h"
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
