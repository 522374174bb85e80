#include "apps/run/Project.h"

#include <cctype>
#include <filesystem>

#include "host/FormFile.h"
#include "host/HostClasses.h"
#include "host/SysUtils.h"
#include "runtime/RuntimeClasses.h"

namespace mebrox {

namespace fs = std::filesystem;
using host::EParserError;
using host::SameText;

namespace {

struct TPlannedForm {
  const TFormCreation* Creation;
  fs::path Path;            // absolute
  std::string DisplayName;  // as the user would name it from where the project was named
};

}  // namespace

std::vector<host::TForm*> LoadProject(const TProjectFile& project) {
  fs::path projectPath = fs::absolute(project.FileName).lexically_normal();
  fs::path folder = projectPath.parent_path();
  fs::path shownFolder = fs::path(project.FileName).parent_path();

  std::vector<TPlannedForm> plan;
  for (const TFormCreation& creation : project.Creations) {
    const TProjectUnit* unit = project.FindFormUnit(creation.FormName);
    if (!unit)
      throw EParserError(project.FileName, creation.Line,
                         "No unit of the uses clause declares form " + creation.FormName);
    std::string relative = FormFileOf(*unit);
    TPlannedForm p{&creation, (folder / relative).lexically_normal(), std::string()};
    std::string located = host::LocateFile(p.Path.string());
    if (!located.empty()) p.Path = located;
    if (located.empty())
      throw EParserError(project.FileName, unit->Line,
                         "Form file " + (shownFolder / relative).lexically_normal().string() +
                             " of unit " + unit->Name + " not found");
    p.DisplayName = (shownFolder / p.Path.lexically_relative(folder)).lexically_normal().string();
    plan.push_back(std::move(p));
  }

  host::Application->SetExeName(projectPath.string());
  host::Application->SetTitle(project.Title.empty() ? project.ProgramName : project.Title);
  fs::current_path(folder);

  std::vector<host::TForm*> forms;
  try {
    for (const TPlannedForm& p : plan) {
      auto* form = new host::TForm(host::Application);
      forms.push_back(form);
      host::Application->AddForm(form);
      form->SetClassName(p.Creation->ClassName);
      std::string text = host::ReadFileBytes(p.Path.string());
      try {
        host::ReadComponentText(text, *form, p.DisplayName);
      } catch (const EParserError&) {
        throw;
      } catch (const std::exception& e) {
        // A component's Loaded failed once the whole form was read.
        throw host::Exception(p.DisplayName + ": " + e.what());
      }
      // Frames find each other by class name, so the form file and the project must agree.
      if (form->ClassName() != p.Creation->ClassName)
        throw EParserError(p.DisplayName, host::FormHeaderLine(text),
                           "The form file holds a " + form->ClassName() + ", but " +
                               project.FileName + " creates a " + p.Creation->ClassName);
      host::HandleEvents([form] { form->DoCreate(); });
    }
  } catch (...) {
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) delete *it;
    throw;
  }
  return forms;
}

void UnloadProject() {
  while (host::Application->ComponentCount() > 0)
    delete host::Application->Components(host::Application->ComponentCount() - 1);
}

void RegisterProjectClasses() {
  host::RegisterHostClasses();
  RegisterRuntimeClasses();
}

}  // namespace mebrox
