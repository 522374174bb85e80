#include "ide/PropertyPath.h"

#include "host/SysUtils.h"
#include "ide/Registry.h"

namespace ide {

std::unique_ptr<TPropertyEditor> FindPropertyEditor(IDesigner& designer,
                                                    host::TComponent& component,
                                                    const std::string& path) {
  auto unknown = [&] {
    std::string owner = component.Name().empty() ? component.ClassName() : component.Name();
    return host::EConvertError(owner + " has no property " + path);
  };
  size_t dot = path.find('.');
  const host::TPropInfo* prop = component.ClassInfo().FindProperty(path.substr(0, dot));
  if (!prop) throw unknown();
  std::unique_ptr<TPropertyEditor> editor = CreatePropertyEditor(designer, {&component}, *prop);
  while (dot != std::string::npos) {
    size_t start = dot + 1;
    dot = path.find('.', start);
    std::string name = path.substr(start, dot == std::string::npos ? dot : dot - start);
    std::unique_ptr<TPropertyEditor> found;
    editor->GetProperties([&](std::unique_ptr<TPropertyEditor> sub) {
      if (!found && host::SameText(sub->GetName(), name)) found = std::move(sub);
    });
    if (!found) throw unknown();
    editor = std::move(found);
  }
  return editor;
}

std::string GetPropertyText(IDesigner& designer, host::TComponent& component,
                            const std::string& path) {
  return FindPropertyEditor(designer, component, path)->GetValue();
}

void SetPropertyText(IDesigner& designer, host::TComponent& component, const std::string& path,
                     const std::string& value) {
  FindPropertyEditor(designer, component, path)->SetValue(value);
}

}  // namespace ide
