#include "design/Wrddef.h"

#include "design/Actdef.h"
#include "host/Forms.h"

namespace mebrox::Wrddef {

std::unique_ptr<host::TStringList> GetFormNames() {
  auto names = std::make_unique<host::TStringList>();
  if (!host::Screen) return names;
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    host::TForm* form = host::Screen->Forms(i);
    if (form->ClassName().substr(0, 5) == "TForm") names->Add(form->Name());
  }
  return names;
}

std::unique_ptr<host::TStringList> GetWaveComponents(host::TComponent* component) {
  auto* form = dynamic_cast<host::TForm*>(component ? component->Owner() : nullptr);
  if (!form) throw host::EInvalidCast();
  return Actdef::GetFormWaveComponents(*form);
}

}  // namespace mebrox::Wrddef
