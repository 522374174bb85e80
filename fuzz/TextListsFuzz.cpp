// Drives the kit's text lists with arbitrary bytes: a string list set from text, written and
// read back; a word list built entry by entry and looked up; and the lists of text and word-list
// files a hot text switches between, their files made from the input. A list written and read
// back holds what it held; only the lists' own errors may come out.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/Strings.h"
#include "runtime/Strtool.h"
#include "runtime/Words.h"

using namespace host;
using namespace mebrox;
using fuzz_support::TInput;

namespace {

void StringLists(std::string_view text, TInput& in) {
  TStringList list;
  list.SetText(text);
  TStringList again;
  again.SetText(list.Text());
  if (!again.Equals(list)) std::abort();

  std::string file = fuzz_support::Scratch().File("lines.txt");
  list.SaveToFile(file);
  TStringList loaded;
  loaded.LoadFromFile(file);
  // The lines hold no line ends of their own, so the file gives them back as they were.
  if (!loaded.Equals(list)) std::abort();

  // Edits at positions the input picks, some out of range.
  for (int i = 0; i < 8 && !in.Empty(); ++i) {
    int at = in.Int(-1, list.Count() + 1);
    try {
      switch (in.Byte() % 4) {
        case 0:
          list.Insert(at, std::string(in.Piece('\n')));
          break;
        case 1:
          list.Delete(at);
          break;
        case 2:
          list.Put(at, std::string(in.Piece('\n')));
          break;
        case 3:
          list.IndexOf(in.Piece('\n'));
          break;
      }
    } catch (const EListError&) {
      if (at >= 0 && at < list.Count()) std::abort();
    }
  }
}

void WordLists(const TStringList& lines) {
  TWords words;
  for (int i = 0; i < lines.Count() && i < 64; ++i) {
    std::string line = lines[i];
    TInput entry(reinterpret_cast<const uint8_t*>(line.data()), line.size());
    std::string word(entry.Piece('\t'));
    std::string code(entry.Piece('\t'));
    try {
      int index = words.NewWord(word, code, std::string(entry.Rest()));
      if (index != words.Count() - 1) std::abort();
    } catch (const EListError&) {
    }
  }
  for (int i = -1; i <= words.Count(); ++i) {
    std::string word = words.GetWord(i);
    try {
      words.GetWordActType(i, word);
      words.GetWordAct(i, word);
    } catch (const EListError&) {
    }
  }
  std::string file = fuzz_support::Scratch().File("words.wls");
  try {
    words.SaveListToFile(file);
    TWords loaded;
    loaded.LoadListFromFile(file);
    if (loaded.Count() != words.Count()) std::abort();
    // What is saved reads back as it was.
    for (int i = 0; i < words.Count(); ++i) {
      if (loaded.GetWord(i) != words.GetWord(i) ||
          loaded.GetWordActType(i) != words.GetWordActType(i) ||
          loaded.GetWordAct(i) != words.GetWordAct(i)) {
        std::fprintf(stderr, "entry %d read back as \"%s\" \"%s\", was \"%s\" \"%s\"\n", i,
                     loaded.GetWord(i).c_str(), loaded.GetWordAct(i).c_str(),
                     words.GetWord(i).c_str(), words.GetWordAct(i).c_str());
        std::abort();
      }
    }
  } catch (const EInOutError&) {
    // A list that would not read back the same is refused.
  }
}

// The input's text as the first file of a lines list and a words list; the second entry names a
// file that is not there.
void FileLists(std::string_view text) {
  std::string lines = fuzz_support::Scratch().File("page.txt");
  std::string list = fuzz_support::Scratch().File("page.wls");
  fuzz_support::WriteFile(lines, text);
  fuzz_support::WriteFile(list, text);
  TLinesLists linesLists;
  linesLists.Add(lines);
  linesLists.Add(fuzz_support::Scratch().File("missing.txt"));
  TWordsLists wordsLists;
  wordsLists.Add(list);
  wordsLists.Add(fuzz_support::Scratch().File("missing.wls"));
  for (int index : {0, 1, 0}) {
    try {
      linesLists.SetListIndex(index);
    } catch (const EInOutError&) {
      if (index == 0) std::abort();
    }
    try {
      wordsLists.SetListIndex(index);
    } catch (const EInOutError&) {
    } catch (const EParserError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return -1;
  static bool scratch = (fuzz_support::Scratch(), true);
  (void)scratch;
  TInput in(data, size);
  std::string_view text = in.Piece('\0');
  StringLists(text, in);
  TStringList lines;
  lines.SetText(text);
  WordLists(lines);
  FileLists(text);
  return 0;
}
