#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ide {

// The first `TName = class(TForm)` of a unit's source: its class name and line (from 1); false
// when the unit declares none.
bool FindFormClassDeclaration(const std::string& source, std::string& className, int& line);

// A component field of a form class: `Image1: TImage;`.
struct TFormField {
  std::string Name;
  std::string ClassName;
  friend bool operator==(const TFormField&, const TFormField&) = default;
};

// The unit's source with the field list that opens its form class (the `Name: Class;` lines
// right after `TName = class(TForm)`) made the given fields, in that order, indented like the
// fields it had and ended like the unit's own lines; nothing else in the file changes. False,
// with source untouched, when the unit declares no such class or its fields are not one
// `Name: Class;` per line.
bool SetFormFields(std::string& source, const std::vector<TFormField>& fields);

}  // namespace ide
