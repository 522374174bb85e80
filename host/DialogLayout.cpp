#include "host/DialogLayout.h"

#include "host/FormFile.h"
#include "host/Resources.h"

namespace host {

TDialogLayout::TDialogLayout(std::string name)
    : FName(std::move(name)), FSourceName("resources/forms/" + FName + ".dfm") {}

TDialogLayout::TDialogLayout(std::string name, std::string text) : TDialogLayout(std::move(name)) {
  FText = std::move(text);
}

TDialogLayout& TDialogLayout::Part(const std::string& name) {
  FParts.push_back({name, "TComponent", [](TComponent*) { return true; }});
  return *this;
}

TDialogLayout& TDialogLayout::Parts(const std::string& prefix, int first, int last) {
  for (int n = first; n <= last; ++n) Part(prefix + std::to_string(n));
  return *this;
}

void TDialogLayout::Reset() {
  for (TPart& part : FParts) {
    part.Assign(nullptr);
    part.Found = false;
  }
}

void TDialogLayout::Load(TComponent& dialog) {
  std::optional<std::string_view> text =
      FText ? std::optional<std::string_view>(*FText) : FindResource(FName);
  if (!text) throw EComponentError("The dialog layout " + FSourceName + " is missing");
  Reset();
  try {
    ReadComponentText(*text, dialog, FSourceName, [this](TComponent& c) {
      if (c.Name().empty()) return;
      for (TPart& part : FParts) {
        if (!SameText(part.Name, c.Name())) continue;
        if (!part.Assign(&c))
          throw EComponentError(c.Name() + " is a " + c.ClassName() +
                                ", but the dialog expects a " + part.ClassName);
        part.Found = true;
        return;
      }
      throw EComponentError("The dialog has no part named " + c.Name());
    });
  } catch (...) {
    Reset();
    throw;
  }
  for (const TPart& part : FParts)
    if (!part.Found) {
      Reset();
      throw EParserError(FSourceName, 1,
                         "The layout has no " + part.Name + " (a " + part.ClassName + ")");
    }
}

}  // namespace host
