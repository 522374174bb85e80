#include "runtime/Words.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/TestSupport.h"

namespace {

using mebrox::TLinesLists;
using mebrox::TWords;
using mebrox::TWordsLists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Spaces(size_t n) {
  return std::string(n, ' ');
}

TEST(WordsTest, EntriesHaveFixedColumns) {
  TWords words;
  EXPECT_EQ(words.NewWord("cat", "1", "Menu"), 0);
  EXPECT_EQ(words.Get(0), "cat" + Spaces(125) + "1 " + "Menu" + Spaces(86));
  EXPECT_EQ(words.GetWord(0), "cat");
  EXPECT_EQ(words.GetWordActType(0), "1");
  EXPECT_EQ(words.GetWordAct(0), "Menu");

  std::string description(90, 'd');
  EXPECT_EQ(words.NewWord(" dog ", "0", description + "   "), 1);
  EXPECT_EQ(words.Get(1).size(), 220u);
  EXPECT_EQ(words.GetWord(1), " dog");
  EXPECT_EQ(words.GetWordAct(1), description);

  EXPECT_EQ(words.GetWord(2), "");
  EXPECT_EQ(words.GetWordActType(-1), "");
  EXPECT_EQ(words.GetWordAct(5), "");
}

TEST(WordsTest, KeySelectsAnEntryWhenTheIndexIsOutOfRange) {
  TWords words;
  words.NewWord("cat", "1", "Menu");
  words.NewWord("dog", "2", "Wave1");
  std::string dogEntry = words.Get(1);
  EXPECT_EQ(words.GetWordActType(-1, dogEntry), "2");
  EXPECT_EQ(words.GetWordAct(7, host::UpperCase(dogEntry)), "Wave1");
  EXPECT_EQ(words.GetWordAct(0, dogEntry), "Menu");
  EXPECT_THROW(words.GetWordAct(-1, "dog"), host::EListError);
}

TEST(WordsTest, ChangeAndRemoveWords) {
  TWords words;
  words.NewWord("cat", "1", "Menu");
  words.NewWord(" dog", "1", "Intro");

  words.ChangeWord(1, "", "2  ", "Wave1  ");
  EXPECT_EQ(words.Get(1), " dog" + Spaces(124) + "2 " + "Wave1" + Spaces(85));
  words.ChangeWord(0, "lion   ", "3", "run.exe");
  EXPECT_EQ(words.GetWord(0), "lion");
  EXPECT_EQ(words.GetWordAct(0), "run.exe");

  EXPECT_THROW(words.ChangeWord(2, "x", "1", "y"), host::EListError);
  EXPECT_THROW(words.RemoveWord(-1), host::EListError);
  words.RemoveWord(0);
  ASSERT_EQ(words.Count(), 1);
  EXPECT_EQ(words.GetWord(0), " dog");
}

TEST(WordsTest, ChangesFireOnListChangeNotOnChange) {
  TWords words;
  EXPECT_EQ(words.ClassName(), "TWords");
  EXPECT_EQ(TWordsLists().ClassName(), "TWordsLists");
  EXPECT_EQ(TLinesLists().ClassName(), "TLinesLists");
  int listChanges = 0;
  int changes = 0;
  words.OnListChange = [&](host::TObject* sender) {
    EXPECT_EQ(sender, &words);
    ++listChanges;
  };
  words.OnChange = [&](host::TObject*) { ++changes; };

  words.NewWord("a", "1", "x");
  words.ChangeWord(0, "b", "1", "x");
  words.RemoveWord(0);
  EXPECT_EQ(listChanges, 3);

  words.BeginUpdate();
  words.NewWord("a", "1", "x");
  words.NewWord("b", "1", "x");
  words.EndUpdate();
  EXPECT_EQ(listChanges, 4);

  // Assign: the clear, each string added, and once more at the end.
  host::TStringList source{"one", "two", "three"};
  listChanges = 0;
  words.Assign(source);
  EXPECT_EQ(listChanges, 5);
  EXPECT_EQ(words.Items(), source.Items());
  EXPECT_EQ(changes, 0);

  words.Assign(words);
  EXPECT_EQ(words.Items(), source.Items());
}

TEST(WordsTest, LoaderJoinsDataLinesAndKeepsTheFileFormatsQuirks) {
  TempDir dir;
  std::string file = dir.File("quirks.wls");
  WriteFile(file,
            "cat\r\n0\r\nHello\r\n\r\nWorld\r\n~\r\n"
            " dog\r\n3 \r\nC:\\APP\r\n\\RUN.EXE\r\n~\r\n"
            "bird\n5\n2\n~\n"
            "last\r\n1\r\nFirst\r\nLost\r\n");
  TWords words;
  words.NewWord("old", "1", "gone");
  words.LoadListFromFile(file);

  ASSERT_EQ(words.Count(), 4);
  EXPECT_EQ(words.GetWord(0), "cat");
  EXPECT_EQ(words.GetWordAct(0), "Hello\r\n\r\nWorld");
  EXPECT_EQ(words.GetWord(1), " dog");
  EXPECT_EQ(words.GetWordActType(1), "3");
  EXPECT_EQ(words.GetWordAct(1), "C:\\APP\\RUN.EXE");
  EXPECT_EQ(words.GetWord(2), "bird");
  EXPECT_EQ(words.GetWordAct(2), "2");
  // A last record that the end of the file cuts off keeps every line it has.
  EXPECT_EQ(words.GetWordAct(3), "FirstLost");

  WriteFile(file, "note\r\n0\r\nOne\r\n\r\nTwo");
  words.LoadListFromFile(file);
  ASSERT_EQ(words.Count(), 1);
  EXPECT_EQ(words.GetWordAct(0), "One\r\n\r\nTwo");

  WriteFile(file, "cut\r\n4\r\n");
  words.LoadListFromFile(file);
  ASSERT_EQ(words.Count(), 1);
  EXPECT_EQ(words.GetWordActType(0), "4");
  EXPECT_EQ(words.GetWordAct(0), "");

  WriteFile(file, "");
  words.LoadListFromFile(file);
  EXPECT_EQ(words.Count(), 0);
}

TEST(WordsTest, LoaderNamesFileAndLineOfABadCode) {
  TempDir dir;
  std::string file = dir.File("bad.wls");
  auto failsAt = [&](const std::string& text, int line, const std::string& mention) {
    WriteFile(file, text);
    TWords words;
    try {
      words.LoadListFromFile(file);
      ADD_FAILURE() << "no error for " << text;
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.FileName(), file);
      EXPECT_EQ(e.Line(), line) << e.Message();
      EXPECT_NE(e.Message().find(mention), std::string::npos) << e.Message();
    }
    return words.Count();
  };
  // Entries read before the bad record stay.
  EXPECT_EQ(failsAt("a\r\n1\r\nx\r\n~\r\nc\r\nq1\r\nData\r\n~\r\n", 6, "q1"), 1);
  // A bad code is refused even in a record without data lines.
  EXPECT_EQ(failsAt("a\r\n1\r\n~\r\nb\r\nzz\r\n~\r\n", 5, "zz"), 1);
  // What the entry's columns cannot hold would garble it.
  EXPECT_EQ(failsAt("a\r\n100\r\nx\r\n~\r\n", 2, "longer than 2"), 0);
  EXPECT_EQ(failsAt(std::string(129, 'w') + "\r\n1\r\nx\r\n~\r\n", 1, "longer than 128"), 0);
  EXPECT_EQ(failsAt("a\rb\r\n1\r\nx\r\n~\r\n", 1, "carriage return"), 0);
  // Data is refused at the line that takes it past its 90 characters, a description's line
  // breaks counted; trailing spaces are padding.
  const std::string line40(40, 'd');
  EXPECT_EQ(failsAt("a\r\n3\r\n" + std::string(91, 'p') + "\r\n~\r\n", 3, "90 characters"), 0);
  EXPECT_EQ(failsAt("a\r\n0\r\nx\r\n~\r\nb\r\n0\r\n" + line40 + "\r\n" + line40 + "\r\n" + line40 +
                        "\r\n~\r\n",
                    9, "\"b\""),
            1);
  EXPECT_EQ(failsAt("a\r\n3\r\n" + line40 + "\r\n" + line40 + "\r\n" + line40 + "\r\n~\r\n", 5,
                    "longer than the 90"),
            0);
  WriteFile(file, "a\r\n0\r\n" + std::string(90, 'd') + "    \r\n~\r\n");
  TWords padded;
  padded.LoadListFromFile(file);
  EXPECT_EQ(padded.GetWordAct(0), std::string(90, 'd'));
}

TEST(WordsTest, AByteOrderMarkIsNoPartOfTheFirstWord) {
  TempDir dir;
  std::string file = dir.File("bom.wls");
  WriteFile(file,
            "\xEF\xBB\xBF"
            "cat\r\n1\r\nMenu\r\n~\r\n");
  TWords words;
  words.LoadListFromFile(file);
  ASSERT_EQ(words.Count(), 1);
  EXPECT_EQ(words.GetWord(0), "cat");
}

TEST(WordsTest, EntriesRefuseWhatTheirColumnsCannotHold) {
  TWords words;
  words.NewWord("cat", "1", "Menu");
  const std::string before = words.Get(0);
  EXPECT_THROW(words.NewWord(std::string(129, 'w'), "1", "Menu"), host::EListError);
  EXPECT_THROW(words.NewWord("dog", "100", "Menu"), host::EListError);
  EXPECT_THROW(words.NewWord("two\r\nlines", "1", "Menu"), host::EListError);
  EXPECT_THROW(words.NewWord("dog", "1\n", "Menu"), host::EListError);
  EXPECT_THROW(words.ChangeWord(0, std::string(200, 'w'), "1", "Menu"), host::EListError);
  EXPECT_THROW(words.ChangeWord(0, "", "123", "Menu"), host::EListError);
  // Data past its 90 characters would be read back cut.
  EXPECT_THROW(words.NewWord("dog", "0", std::string(91, 'd')), host::EListError);
  EXPECT_THROW(words.ChangeWord(0, "", "0", std::string(89, 'd') + "\r\nx"), host::EListError);
  EXPECT_EQ(words.Count(), 1);
  EXPECT_EQ(words.Get(0), before);
  // Trailing spaces are padding: a word that fits without them is taken.
  EXPECT_EQ(words.NewWord(std::string(128, 'w') + "  ", "2 ", "Wave1"), 1);
  EXPECT_EQ(words.GetWordActType(1), "2");
  EXPECT_EQ(words.GetWordAct(1), "Wave1");
}

TEST(WordsTest, SavingRefusesWhatWouldNotReadBackTheSame) {
  TempDir dir;
  std::string file = dir.File("list.wls");
  WriteFile(file, "old\r\n1\r\nMenu\r\n~\r\n");
  auto refused = [&](TWords& words, const std::string& mention) {
    try {
      words.SaveListToFile(file);
      ADD_FAILURE() << "saved";
    } catch (const host::EInOutError& e) {
      EXPECT_NE(e.Message().find(mention), std::string::npos) << e.Message();
    }
    EXPECT_EQ(ReadFile(file), "old\r\n1\r\nMenu\r\n~\r\n");
  };
  TWords words;
  words.NewWord("cat", "1", "Menu");
  words.NewWord("tilde", "0", "Before\r\n~\r\nAfter");
  refused(words, "word 2 (\"tilde\")");
  words.ChangeWord(1, "", "0", "~");
  refused(words, "only \"~\"");
  words.ChangeWord(1, "", "0", "~ is fine within a line\r\n~~");
  words.SaveListToFile(dir.File("fine.wls"));
  TWords back;
  back.LoadListFromFile(dir.File("fine.wls"));
  EXPECT_EQ(back.GetWordAct(1), "~ is fine within a line\r\n~~");

  TWords odd;
  odd.NewWord("code", "zz", "");
  refused(odd, "\"zz\" of word 1");
  odd.Clear();
  odd.NewWord("nocode", "", "data");
  refused(odd, "no action code");
  odd.Clear();
  // Entries that came in whole, not through NewWord.
  odd.Add("two\r\nlines");
  refused(odd, "line break");
  // Only a description keeps its line breaks, and only as CR LF.
  odd.Clear();
  odd.NewWord("path", "3", "C:\\APP\r\n\\RUN.EXE");
  refused(odd, "only a description");
  odd.Clear();
  odd.NewWord("note", "0", "one\ntwo");
  refused(odd, "line feed without a carriage return");
}

// Whatever a list holds, Save, Load, Save gives the same entries and the same file.
TEST(WordsTest, SaveLoadSaveGivesTheSameEntriesAndTheSameFile) {
  const std::string full(90, 'f');
  const std::vector<std::array<std::string, 3>> cases = {
      {"one line", "0", "Hello"},
      {"lines", "0", "Line one\r\nLine two\r\nLine three"},
      {"ends in a line break", "0", "Hello\r\n"},
      {"ends in two", "0", "Hello\r\n\r\n"},
      {"blank line", "0", "Hello\r\n\r\nWorld"},
      {"starts with one", "0", "\r\nHello"},
      {"only a line break", "0", "\r\n"},
      {"empty", "0", ""},
      {"spaces within", "0", "Hello   \r\n   World"},
      {"carriage returns", "0", "a\rb\r\r\nc\r"},
      {"other codes", "0", "tab\there caf\xC3\xA9 ~~ \x01\x7F"},
      {"full", "0", full},
      {"full of lines", "0", full.substr(0, 44) + "\r\n" + full.substr(0, 44)},
      {" leading space", "1", "Form2"},
      {std::string(128, 'w'), "2", "WavePlay1"},
      {"program", "3", "/opt/my app/run.exe"},
      {"close", "4", "Close"},
      {"nothing", "4", ""},
      {"switch", "5", "1"},
      {"long path", "3", full},
  };
  TempDir dir;
  TWords words;
  for (const auto& [word, code, data] : cases) words.NewWord(word, code, data);
  words.SaveListToFile(dir.File("first.wls"));
  TWords loaded;
  loaded.LoadListFromFile(dir.File("first.wls"));
  ASSERT_EQ(loaded.Count(), static_cast<int>(cases.size()));
  for (int i = 0; i < loaded.Count(); ++i) {
    const auto& [word, code, data] = cases[static_cast<size_t>(i)];
    EXPECT_EQ(loaded.GetWord(i), word);
    EXPECT_EQ(loaded.GetWordActType(i), code) << word;
    EXPECT_EQ(loaded.GetWordAct(i), data) << word;
  }
  EXPECT_EQ(loaded.Items(), words.Items());
  loaded.SaveListToFile(dir.File("second.wls"));
  EXPECT_EQ(ReadFile(dir.File("second.wls")), ReadFile(dir.File("first.wls")));
}

TEST(WordsTest, MissingFileRaisesAndKeepsTheList) {
  TempDir dir;
  TWords words;
  words.NewWord("cat", "1", "Menu");
  std::string missing = dir.File("missing.wls");
  try {
    words.LoadListFromFile(missing);
    FAIL() << "no error";
  } catch (const host::EInOutError& e) {
    EXPECT_NE(e.Message().find(missing), std::string::npos);
  }
  EXPECT_EQ(words.GetWord(0), "cat");
  EXPECT_THROW(words.SaveListToFile(dir.File("no/such/folder.wls")), host::EInOutError);
}

TEST(WordsTest, SavedListsReadBack) {
  TempDir dir;
  std::string file = dir.File("saved.wls");
  TWords words;
  words.NewWord(" cat", "0", "Line one\r\nLine two");
  words.NewWord("dog", "1", "Menu");
  words.NewWord("fish", "4", "");
  words.SaveListToFile(file);
  EXPECT_EQ(ReadFile(file),
            " cat\r\n0\r\nLine one\r\nLine two\r\n~\r\n"
            "dog\r\n1\r\nMenu\r\n~\r\n"
            "fish\r\n4\r\n\r\n~\r\n");

  TWords back;
  back.LoadListFromFile(file);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetWord(0), " cat");
  EXPECT_EQ(back.GetWordAct(0), "Line one\r\nLine two");
  EXPECT_EQ(back.GetWordAct(1), "Menu");
  EXPECT_EQ(back.GetWordActType(2), "4");
  EXPECT_EQ(back.GetWordAct(2), "");
}

TEST(WordsTest, AFirstWordBeginningWithAByteOrderMarkKeepsIt) {
  TempDir dir;
  std::string file = dir.File("marked.wls");
  const std::string marked = "\xEF\xBB\xBFnothing";
  TWords words;
  words.NewWord(marked, "4", "");
  words.NewWord("\xEF\xBB\xBFsecond", "1", "Menu");
  words.SaveListToFile(file);
  TWords back;
  back.LoadListFromFile(file);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetWord(0), marked);
  EXPECT_EQ(back.GetWord(1), "\xEF\xBB\xBFsecond");
  // A list whose first word has no mark is written without one, as before.
  TWords plain;
  plain.NewWord("plain", "1", "Menu");
  plain.NewWord(marked, "4", "");
  plain.SaveListToFile(file);
  EXPECT_EQ(ReadFile(file).rfind("plain\r\n", 0), 0u);
}

TEST(WordsTest, WordsListsLoadTheChosenFile) {
  TempDir dir;
  WriteFile(dir.File("one.wls"), "cat\r\n1\r\nMenu\r\n~\r\n");
  WriteFile(dir.File("two.wls"), "dog\r\n2\r\nWave1\r\n~\r\nfox\r\n1\r\nEnd\r\n~\r\n");
  TWordsLists lists;
  EXPECT_EQ(lists.ListIndex(), 0);
  EXPECT_EQ(lists.CurrentList().Count(), 0);
  lists.Add(dir.File("one.wls"));
  lists.Add(dir.File("two.wls"));
  lists.Add(dir.File("missing.wls"));
  int fired = 0;
  lists.OnListChange = [&](host::TObject* sender) {
    EXPECT_EQ(sender, &lists);
    ++fired;
  };

  lists.SetListIndex(1);
  EXPECT_EQ(lists.ListIndex(), 1);
  ASSERT_EQ(lists.CurrentList().Count(), 2);
  EXPECT_EQ(lists.CurrentList().GetWordAct(1), "End");
  EXPECT_EQ(fired, 1);

  lists.SetListIndex(-1);
  lists.SetListIndex(3);
  EXPECT_EQ(lists.ListIndex(), 1);
  EXPECT_EQ(fired, 1);

  EXPECT_THROW(lists.SetListIndex(2), host::EInOutError);
  EXPECT_EQ(lists.ListIndex(), 1);
  EXPECT_EQ(fired, 1);

  lists.SetListIndex(0);
  EXPECT_EQ(lists.CurrentList().GetWord(0), "cat");
  lists.Delete(2);
  EXPECT_EQ(fired, 3);
}

TEST(WordsTest, LinesListsLoadTextLines) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), "first line\r\n\r\nthird\n");
  TLinesLists lists;
  int fired = 0;
  lists.OnListChange = [&](host::TObject*) { ++fired; };
  lists.Add(dir.File("missing.txt"));
  lists.Add(dir.File("a.txt"));
  EXPECT_EQ(fired, 2);

  lists.SetListIndex(1);
  EXPECT_EQ(lists.ListIndex(), 1);
  EXPECT_EQ(lists.CurrentList().Items(), (std::vector<std::string>{"first line", "", "third"}));
  EXPECT_EQ(fired, 3);

  EXPECT_THROW(lists.SetListIndex(0), host::EInOutError);
  EXPECT_EQ(lists.ListIndex(), 1);
  lists.SetListIndex(2);
  EXPECT_EQ(fired, 3);
}

}  // namespace
