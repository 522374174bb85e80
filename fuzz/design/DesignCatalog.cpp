// mebrox-design-catalog: what the studio offers a designer, as JSON for the design-script fuzzer:
// the palette's classes with the verbs of their component editors, every property path the
// object inspector shows for each of them and for a frame (with its kind, its editor's
// attributes and the values it lists), and the experts' menu entries. It asks the studio's own
// registries and editors, so that the fuzzer follows the kit as it grows.

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/headless/CommandLine.h"
#include "apps/studio/StudioRun.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/ComponentEditor.h"
#include "ide/DesignSession.h"
#include "ide/NewProject.h"
#include "ide/Registry.h"
#include "ide/ToolIntf.h"
#include "runtime/RuntimeClasses.h"

namespace {

namespace fs = std::filesystem;

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Json(items[i]);
  return out + "]";
}

const char* KindName(host::TPropKind kind) {
  switch (kind) {
    case host::TPropKind::Integer:
      return "Integer";
    case host::TPropKind::Boolean:
      return "Boolean";
    case host::TPropKind::Enumeration:
      return "Enumeration";
    case host::TPropKind::Set:
      return "Set";
    case host::TPropKind::Color:
      return "Color";
    case host::TPropKind::String:
      return "String";
    case host::TPropKind::Strings:
      return "Strings";
    case host::TPropKind::Binary:
      return "Binary";
    case host::TPropKind::Class:
      return "Class";
    case host::TPropKind::Component:
      return "Component";
  }
  return "?";
}

// One property path with what its editor says of it; its parts follow under a longer path.
void ListProperty(ide::TPropertyEditor& editor, const std::string& path, int depth,
                  std::vector<std::string>& out) {
  ide::TPropertyAttributes attributes = editor.GetAttributes();
  std::vector<std::string> values;
  if (attributes.Contains(ide::paValueList))
    editor.GetValues([&](const std::string& value) { values.push_back(value); });
  std::vector<std::string> flags;
  if (attributes.Contains(ide::paDialog)) flags.push_back("dialog");
  if (attributes.Contains(ide::paReadOnly)) flags.push_back("readonly");
  if (attributes.Contains(ide::paSubProperties)) flags.push_back("parts");
  std::string value;
  try {
    value = editor.GetValue();
  } catch (const std::exception&) {
  }
  out.push_back("{\"path\": " + Json(path) + ", \"kind\": " +
                Json(KindName(editor.GetPropInfo().Kind)) + ", \"flags\": " + JsonList(flags) +
                ", \"values\": " + JsonList(values) + ", \"value\": " + Json(value) + "}");
  if (depth >= 3 || !attributes.Contains(ide::paSubProperties)) return;
  editor.GetProperties([&](std::unique_ptr<ide::TPropertyEditor> part) {
    ListProperty(*part, path + "." + part->GetName(), depth + 1, out);
  });
}

std::string Properties(ide::IDesigner& designer, host::TComponent& component) {
  std::vector<std::string> lines;
  for (const host::TPropInfo* prop : component.ClassInfo().Properties()) {
    std::unique_ptr<ide::TPropertyEditor> editor =
        ide::CreatePropertyEditor(designer, {&component}, *prop);
    if (editor) ListProperty(*editor, prop->Name, 1, lines);
  }
  std::string out = "[";
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? ",\n      " : "\n      ") + lines[i];
  return out + "]";
}

int Catalog(ide::TDesignCore& core) {
  fs::path dir = fs::temp_directory_path() / ("mebrox-catalog-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string project = (dir / "Catalog.dpr").string();
  int result = 0;
  try {
    ide::CreateNewProject(project);
    ide::TDesignSession session(core, project);
    core.SetToolServices(&session);
    host::TForm& form = *session.Modules().front().Form;
    ide::IDesigner& designer = session.DesignerOf(form);
    const ide::TDesignRegistry& registry = core.Registry();

    std::cout << "{\n  \"classes\": [";
    bool first = true;
    for (const std::string& page : registry.PalettePages())
      for (const host::TClassInfo* cls : registry.PaletteClasses(page)) {
        host::TComponent* component = session.FormDesignerOf(form).Drop(*cls, {8, 8});
        std::unique_ptr<ide::TComponentEditor> editor =
            ide::CreateComponentEditor(*component, designer);
        std::vector<std::string> verbs;
        for (int i = 0; i < editor->GetVerbCount(); ++i) verbs.push_back(editor->GetVerb(i));
        std::cout << (first ? "\n" : ",\n") << "    {\"name\": " << Json(cls->Name())
                  << ", \"page\": " << Json(page) << ", \"windowed\": "
                  << (dynamic_cast<host::TWinControl*>(component) ? "true" : "false")
                  << ", \"verbs\": " << JsonList(verbs)
                  << ",\n     \"properties\": " << Properties(designer, *component) << "}";
        first = false;
      }
    std::cout << "],\n  \"form\": " << Properties(designer, form) << ",\n  \"experts\": ";
    std::vector<std::string> experts;
    for (ide::TIExpert* expert : registry.Experts()) experts.push_back(expert->GetMenuText());
    std::cout << JsonList(experts) << "\n}\n";
  } catch (const std::exception& e) {
    std::cerr << "mebrox-design-catalog: " << e.what() << '\n';
    result = 1;
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return result;
}

}  // namespace

int main() {
  mebrox::PrepareHeadlessProcess();
  mebrox::TQtArguments qtArgs("mebrox-design-catalog");
  QApplication app(qtArgs.Argc, qtArgs.Argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  ide::TDesignCore core;
  mebrox::RegisterStudioPalette(core);
  return Catalog(core);
}
