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

TPathState LookAt(const fs::path& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  TPathState state{status.type(), {}};
  if (status.type() == fs::file_type::none) state.Why = ec ? ec.message() : "unknown error";
  return state;
}

std::vector<TFrameFile> PlanFrames(const TProjectFile& project,
                                   std::vector<EParserError>* problems) {
  fs::path folder = fs::absolute(project.FileName).lexically_normal().parent_path();
  fs::path shownFolder = fs::path(project.FileName).parent_path();
  std::vector<TFrameFile> plan;
  for (const TFormCreation& creation : project.Creations) {
    try {
      const TProjectUnit* unit = project.FindFormUnit(creation.FormName);
      if (!unit)
        throw EParserError(project.FileName, creation.Line,
                           "No unit of the uses clause declares form " + creation.FormName);
      std::string relative = FormFileOf(*unit);
      TFrameFile frame{&creation, unit, (folder / relative).lexically_normal().string(), {}};
      std::string located = host::LocateFile(frame.Path);
      if (located.empty()) {
        TPathState state = LookAt(frame.Path);
        throw EParserError(
            project.FileName, unit->Line,
            "Form file " + (shownFolder / relative).lexically_normal().string() + " of unit " +
                unit->Name +
                (state.Usable() ? " not found" : " cannot be looked up (" + state.Why + ")"));
      }
      frame.Path = located;
      frame.DisplayName =
          (shownFolder / fs::path(located).lexically_relative(folder)).lexically_normal().string();
      plan.push_back(std::move(frame));
    } catch (const EParserError& e) {
      if (!problems) throw;
      problems->push_back(e);
    }
  }
  return plan;
}

void EnterProject(const TProjectFile& project) {
  fs::path projectPath = fs::absolute(project.FileName).lexically_normal();
  host::Application->SetExeName(projectPath.string());
  host::Application->SetTitle(project.Title.empty() ? project.ProgramName : project.Title);
  fs::current_path(projectPath.parent_path());
}

host::TForm* LoadFrame(const TFrameFile& frame, const TProjectFile& project) {
  auto* form = new host::TForm(host::Application);
  try {
    host::Application->AddForm(form);
    form->SetClassName(frame.Creation->ClassName);
    std::string text = host::ReadFileBytes(frame.Path);
    try {
      host::ReadComponentText(text, *form, frame.DisplayName);
    } catch (const EParserError&) {
      throw;
    } catch (const std::exception& e) {
      // A component's Loaded failed once the whole form was read.
      throw host::Exception(frame.DisplayName + ": " + e.what());
    }
    // Frames find each other by class name, so the form file and the project must agree.
    if (form->ClassName() != frame.Creation->ClassName)
      throw EParserError(frame.DisplayName, host::FormHeaderLine(text),
                         "The form file holds a " + form->ClassName() + ", but " +
                             project.FileName + " creates a " + frame.Creation->ClassName);
    host::HandleEvents([form] { form->DoCreate(); });
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

std::vector<host::TForm*> LoadProject(const TProjectFile& project) {
  std::vector<TFrameFile> plan = PlanFrames(project);
  EnterProject(project);
  std::vector<host::TForm*> forms;
  try {
    for (const TFrameFile& frame : plan) forms.push_back(LoadFrame(frame, project));
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
