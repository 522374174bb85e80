#pragma once

#include <string>

#include "host/Classes.h"
#include "host/Strings.h"

namespace mebrox {

// The hot words of a hypertext control. Each entry is one fixed-column string: the word in
// columns 1-128, the word action code in 129-130, the action data in 131-220, each padded with
// spaces. Word action codes: 0 Show Description, 1 Goto Frame, 2 Play Wave, 3 Execute Program,
// 4 Close Window, 5 Switch Lines.
class TWords : public host::TStringList {
  HOST_PUBLISHED_CLASS
 public:
  static constexpr int WordWidth = 128;
  static constexpr int ActTypeWidth = 2;
  static constexpr int ActWidth = 90;

  // Appends the padded entry (nothing cut) and returns its index. A word longer than its 128
  // characters, a code longer than its 2 or data longer than its 90 (trailing spaces aside),
  // or a word or code holding a line break, fails with EListError: the entry could not hold it.
  int NewWord(const std::string& word, const std::string& actType, const std::string& act);
  // Replaces entry index; an empty word keeps the entry's current word. Refuses as NewWord.
  void ChangeWord(int index, const std::string& word, const std::string& actType,
                  const std::string& act);
  void RemoveWord(int index);
  // Columns 1-128 without trailing spaces; empty for an index out of range.
  std::string GetWord(int index) const;
  // An index out of range selects the entry whose whole text is key (a list error when none
  // is); with an empty key the result is empty.
  std::string GetWordActType(int index, const std::string& key = {}) const;
  std::string GetWordAct(int index, const std::string& key = {}) const;

  // Clears, appends every string of source, then tells OnListChange once more.
  void Assign(const host::TStrings& source);
  using host::TStringList::Assign;

  // Reads a word-list file (.WLS), a UTF-8 byte order mark allowed. A description's data lines
  // are joined by CR LF, other data lines with nothing between them. A code that is not a
  // number, or a word, code or data its column cannot hold, fails with EParserError naming the
  // file and line, keeping the entries read before it.
  virtual void LoadListFromFile(const std::string& fileName);
  // Writes a word-list file with CR LF lines; the old file stays intact if the write fails.
  // A list that would not read back as the same entries (a code that is not a number, data
  // without a code, a data line that is only "~", a line break in data other than a
  // description's) fails with EInOutError and writes nothing.
  virtual void SaveListToFile(const std::string& fileName) const;

  // Fired instead of OnChange after every modification, with the list as sender.
  host::TNotifyEvent OnListChange;

 protected:
  void Changed() override;

 private:
  // The entry GetWordActType and GetWordAct read; false when they answer empty.
  bool SelectEntry(int index, const std::string& key, std::string& entry) const;
  // Replaces the entries with those of a word-list file's text; fileName names it in errors.
  void ReadList(std::string text, const std::string& fileName);
};

// A list of file names, one of which is loaded into CurrentList by SetListIndex. TList is the
// kind of list the files hold; loading a file is TList's LoadFrom.
template <class TList>
class TFileLists : public host::TStringList {
 public:
  host::TNotifyEvent OnListChange;
  TList& CurrentList() { return FCurrentList; }
  const TList& CurrentList() const { return FCurrentList; }
  // The entry last loaded; 0 before anything is.
  int ListIndex() const { return FListIndex; }
  // Loads the file of entry index; an index out of range does nothing. A failed load raises
  // its file error and leaves ListIndex as it was.
  void SetListIndex(int index) {
    if (index < 0 || index >= Count()) return;
    LoadFrom(FCurrentList, Get(index));
    FListIndex = index;
    Changed();
  }

 protected:
  void Changed() override {
    if (OnListChange) OnListChange(this);
  }

 private:
  static void LoadFrom(TWords& list, const std::string& fileName) {
    list.LoadListFromFile(fileName);
  }
  static void LoadFrom(host::TStringList& list, const std::string& fileName) {
    list.LoadFromFile(fileName);
  }

  TList FCurrentList;
  int FListIndex = 0;
};

// Word-list file names (.WLS); the chosen one is loaded into a TWords.
class TWordsLists : public TFileLists<TWords> {
  HOST_PUBLISHED_CLASS
};

// Text file names; the chosen one is loaded, a string per line, into a plain string list.
class TLinesLists : public TFileLists<host::TStringList> {
  HOST_PUBLISHED_CLASS
};

}  // namespace mebrox
