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

  // Appends the padded entry (nothing trimmed, nothing cut) and returns its index.
  int NewWord(const std::string& word, const std::string& actType, const std::string& act);
  // Replaces entry index; an empty word keeps the entry's current word.
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

  // Reads a word-list file (.WLS); a code that is not a number fails with EParserError naming
  // the file and line, keeping the entries read before it.
  virtual void LoadListFromFile(const std::string& fileName);
  // Writes a word-list file with CR LF lines; the old file stays intact if the write fails.
  virtual void SaveListToFile(const std::string& fileName) const;

  // Fired instead of OnChange after every modification, with the list as sender.
  host::TNotifyEvent OnListChange;

 protected:
  void Changed() override;

 private:
  // The entry GetWordActType and GetWordAct read; false when they answer empty.
  bool SelectEntry(int index, const std::string& key, std::string& entry) const;
};

// Word-list file names; the one chosen with SetListIndex is loaded into CurrentList.
class TWordsLists : public host::TStringList {
  HOST_PUBLISHED_CLASS
 public:
  host::TNotifyEvent OnListChange;

  TWords& CurrentList() { return FCurrentList; }
  const TWords& CurrentList() const { return FCurrentList; }
  // The entry last loaded; 0 before anything is.
  int ListIndex() const { return FListIndex; }
  // Loads the file of entry index; an index out of range does nothing. A failed load raises
  // its file error and leaves ListIndex as it was.
  void SetListIndex(int index);

 protected:
  void Changed() override;

 private:
  TWords FCurrentList;
  int FListIndex = 0;
};

// Text file names; the one chosen with SetListIndex is loaded, a string per line, into
// CurrentList.
class TLinesLists : public host::TStringList {
  HOST_PUBLISHED_CLASS
 public:
  host::TNotifyEvent OnListChange;

  host::TStringList& CurrentList() { return FCurrentList; }
  const host::TStringList& CurrentList() const { return FCurrentList; }
  int ListIndex() const { return FListIndex; }
  void SetListIndex(int index);

 protected:
  void Changed() override;

 private:
  host::TStringList FCurrentList;
  int FListIndex = 0;
};

}  // namespace mebrox
