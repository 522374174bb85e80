#include "apps/studio/StudioRun.h"

#include "experts/Package.h"
#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/StdCtrls.h"
#include "ide/DesignCore.h"

namespace mebrox {

using host::TComponent;
using host::TForm;

void RegisterStudioPalette(ide::TDesignCore& core) {
  RegisterPackage(core);
  ide::TDesignRegistry& registry = core.Registry();
  registry.RegisterComponents(
      "Standard", {&host::TLabel::StaticClassInfo(), &host::TImage::StaticClassInfo(),
                   &host::TPanel::StaticClassInfo(), &host::TShape::StaticClassInfo(),
                   &host::TSpeedButton::StaticClassInfo(), &host::TBevel::StaticClassInfo()});
  // An image takes a picture file dropped on it, the last of several.
  registry.RegisterFileDropper(
      host::TImage::StaticClassInfo(),
      [](ide::IDesigner&, TComponent& c, const std::vector<std::string>& files) {
        if (!files.empty()) static_cast<host::TImage&>(c).Picture().LoadFromFile(files.back());
      });
}

TStudioRun::TStudioRun(std::ostream& trace, THeadlessOptions options)
    : THeadlessRun(trace, [&] {
        options.ModalFormsStayOpen = true;
        return options;
      }()) {}

void TStudioRun::ShowForms() {
  if (!FSession) return;
  for (const ide::TDesignModule& module : FSession->Modules())
    if (module.Form) host::HandleEvents([&] { module.Form->Show(); });
  host::Application->ProcessMessages();
}

ide::TDesignSession& TStudioRun::Session(const TScriptCommand& command) const {
  if (!FSession) Fail(command, "No project is open");
  return *FSession;
}

TForm& TStudioRun::DesignForm(const TScriptCommand& command) const {
  TForm* form = Session(command).FindForm(command.Form);
  if (!form) Fail(command, "The project has no form named " + command.Form);
  CheckNotBehindDialog(command, *form);
  return *form;
}

TComponent& TStudioRun::DesignComponent(const TScriptCommand& command) const {
  TForm& form = DesignForm(command);
  if (command.Control.empty()) return form;
  TComponent* component = form.FindComponent(command.Control);
  if (!component)
    Fail(command, "Form " + form.Name() + " has no component named " + command.Control);
  return *component;
}

void TStudioRun::ExecuteOne(const TScriptCommand& command) {
  THeadlessRun::ExecuteOne(command);
  KeepRecovery();
}

void TStudioRun::KeepRecovery() {
  // Each line is a finished step; what it left unsaved is kept before the next one, on the
  // script's own time, so that a kill after it finds exactly that.
  if (FSession) AsEvent([&] { FSession->KeepRecovery(false); });
}

}  // namespace mebrox
