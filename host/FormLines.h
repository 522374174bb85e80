#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Where things stand in a form file: the line of each component's "object", of each property
// written for it (and its value when that is a number or a name), and of each item of its string
// lists. The reader keeps values, not places, so tools that point a user at a line (the project
// check) scan the text once more for them.
class TFormLines {
 public:
  // Scans a form file's text. A text the reader would refuse still gives what could be seen.
  static TFormLines Scan(std::string_view text);

  // The line of the first "object"; 1 for an empty text.
  int Header() const { return FHeader; }
  // The line of component name's "object" (the root's name gives the header), or the header.
  int Component(const std::string& name) const;
  // The line of a property written for the component, by its dotted name (Action.Frame); a
  // string list is named without ".Strings". Falls back to the component's line.
  int Property(const std::string& component, const std::string& property) const;
  // Whether the property is written in the file at all.
  bool Has(const std::string& component, const std::string& property) const;
  // A number or identifier as written for the property (WordsListsIndex = 7 gives "7"); empty
  // when it is not written or is a string, a list or data.
  std::string Value(const std::string& component, const std::string& property) const;
  // The line where item index of a string list starts; falls back to the property's line.
  int Item(const std::string& component, const std::string& property, int index) const;

 private:
  struct TProperty {
    int Line = 0;
    std::string Value;
    std::vector<int> Items;
  };
  struct TComponentLines {
    int Line = 0;
    std::map<std::string, TProperty> Properties;  // by lower-case name
  };
  const TProperty* FindProperty(const std::string& component, const std::string& property) const;

  int FHeader = 1;
  std::map<std::string, TComponentLines> FComponents;  // by lower-case name
};

}  // namespace host
