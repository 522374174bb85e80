#include "design/Actdef.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "host/Forms.h"
#include "host/SysUtils.h"
#include "ide/ToolIntf.h"
#include "runtime/Strtool.h"

namespace mebrox::Actdef {

std::string GetFormName(const std::string& fileName) {
  std::string path = host::NativePath(fileName);
  if (host::DirectoryExists(path))
    throw host::EInOutError("Cannot open file \"" + fileName + "\": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw host::EInOutError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("(TForm)") == std::string::npos) continue;
    std::string rest = LTrim(line);
    std::string token = GetTokenString(rest, " ");
    return token.substr(1);
  }
  if (in.bad())
    throw host::EInOutError("Cannot read file \"" + fileName + "\": " + std::strerror(errno));
  return {};
}

std::unique_ptr<host::TStringList> GetFormNames() {
  auto names = std::make_unique<host::TStringList>();
  if (!ide::ToolServices) return names;
  // The IDE is asked for one name past the last unit as well; whatever it answers there is
  // skipped unless it is a unit.
  int count = ide::ToolServices->GetUnitCount();
  for (int i = 0; i <= count; ++i) {
    std::string unitName = ide::ToolServices->GetUnitName(i);
    if (host::SameText(host::ExtractFileExt(unitName), ".PAS")) names->Add(GetFormName(unitName));
  }
  return names;
}

std::unique_ptr<host::TStringList> GetWaveComponents(host::TControl* control) {
  host::TForm* form = host::GetParentForm(control);
  if (!form) return std::make_unique<host::TStringList>();
  return GetFormWaveComponents(*form);
}

std::unique_ptr<host::TStringList> GetFormWaveComponents(const host::TComponent& form) {
  auto names = std::make_unique<host::TStringList>();
  for (int i = 0; i < form.ComponentCount(); ++i) {
    host::TComponent* component = form.Components(i);
    if (component->ClassName() == "TWavePlay") names->Add(component->Name());
  }
  return names;
}

}  // namespace mebrox::Actdef
