#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/Classes.h"

namespace host {

// A dialog's look as data: a form file compiled in from resources/forms, read into the dialog,
// with its parts bound to the dialog's fields by name.
//
//   TDialogLayout("AboutBoxDlg").Bind("OKButton", FOKButton).Part("Bevel1").Load(*this);
//
// The dialog declares every named part of its layout, with a field or as a plain part it never
// touches; unnamed parts (notebook pages) need no declaration. A layout naming a part the dialog
// does not declare, a declared part missing from the layout, or a part of the wrong class fails
// with EParserError naming the layout file and line; the bound fields are then null again.
class TDialogLayout {
 public:
  explicit TDialogLayout(std::string name);
  // A layout given as text rather than compiled in (tests, layouts under construction).
  TDialogLayout(std::string name, std::string text);

  template <class T>
  TDialogLayout& Bind(const std::string& name, T*& field) {
    field = nullptr;
    FParts.push_back({name, T::StaticClassInfo().Name(), [&field](TComponent* c) {
                        field = dynamic_cast<T*>(c);
                        return c == nullptr || field != nullptr;
                      }});
    return *this;
  }
  TDialogLayout& Part(const std::string& name);
  // Plain parts numbered first to last: Parts("Label", 1, 9) for Label1 ... Label9.
  TDialogLayout& Parts(const std::string& prefix, int first, int last);
  void Load(TComponent& dialog);

  // Where layout errors point: "resources/forms/NAME.dfm".
  const std::string& SourceName() const { return FSourceName; }

 private:
  struct TPart {
    std::string Name;
    std::string ClassName;
    std::function<bool(TComponent*)> Assign;  // false: the component is of the wrong class
    bool Found = false;
  };
  void Reset();

  std::string FName;
  std::string FSourceName;
  std::optional<std::string> FText;
  std::vector<TPart> FParts;
};

}  // namespace host
