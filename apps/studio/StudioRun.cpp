#include "apps/studio/StudioRun.h"

#include "design/Mebroxr32.h"
#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/StdCtrls.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"

namespace mebrox {

using host::TComponent;
using host::TForm;

void RegisterStudioPalette() {
  Mebroxr32::Register();
  ide::RegisterComponents(
      "Standard", {&host::TLabel::StaticClassInfo(), &host::TImage::StaticClassInfo(),
                   &host::TPanel::StaticClassInfo(), &host::TShape::StaticClassInfo(),
                   &host::TSpeedButton::StaticClassInfo(), &host::TBevel::StaticClassInfo()});
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
  switch (command.Verb) {
    case svDrop:
      Drop(command);
      break;
    case svEdit:
      Edit(command);
      break;
    case svVerb:
      Verb(command);
      break;
    case svDblClick:
      DblClick(command);
      break;
    case svExpert:
      Expert(command);
      break;
    case svSet:
      Set(command);
      break;
    case svSave:
      Session(command);
      Save();
      break;
    default:
      THeadlessRun::ExecuteOne(command);
      return;
  }
  host::Application->ProcessMessages();
}

namespace {

// The palette entry of that class name (ignoring case), or null.
const host::TClassInfo* FindOnPalette(const std::string& className) {
  ide::TDesignRegistry& registry = ide::DesignRegistry();
  for (const std::string& page : registry.PalettePages())
    for (const host::TClassInfo* cls : registry.PaletteClasses(page))
      if (host::SameText(cls->Name(), className)) return cls;
  return nullptr;
}

// The name the designer gives a new component: its class without the T, numbered from 1.
std::string NewComponentName(const TForm& form, const std::string& className) {
  std::string base = className.size() > 1 && (className[0] == 'T' || className[0] == 't')
                         ? className.substr(1)
                         : className;
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!form.FindComponent(name) && !host::SameText(form.Name(), name)) return name;
  }
}

}  // namespace

void TStudioRun::Drop(const TScriptCommand& command) {
  TForm& form = DesignForm(command);
  const host::TClassInfo* cls = FindOnPalette(command.ClassName);
  if (!cls) Fail(command, command.ClassName + " is on no palette page");
  const host::TComponentFactory* factory = host::TClassRegistry::FindFactory(cls->Name());
  if (!factory || !*factory) Fail(command, "Class " + cls->Name() + " cannot be created");

  // A control lands in the innermost container under the point.
  host::TWinControl* parent = &form;
  host::TPoint point{command.X, command.Y};
  while (auto* inner = dynamic_cast<host::TWinControl*>(parent->ControlAtPos(point, true))) {
    if (!inner->ControlStyle().Contains(host::csAcceptsControls)) break;
    point = {point.X - inner->Left(), point.Y - inner->Top()};
    parent = inner;
  }
  TComponent* component = nullptr;
  AsEvent([&] {
    component = (*factory)(&form);
    try {
      component->SetName(NewComponentName(form, cls->Name()));
      if (auto* control = dynamic_cast<host::TControl*>(component)) {
        control->SetParent(parent);
        control->SetBounds(point.X, point.Y, control->Width(), control->Height());
      } else {
        component->SetDesignLeft(command.X);
        component->SetDesignTop(command.Y);
      }
    } catch (...) {
      delete component;
      component = nullptr;
      throw;
    }
    Session(command).MarkModified(form);
  });
  if (component)
    Trace("dropped " + form.Name() + "." + component->Name() + " " + component->ClassName());
}

void TStudioRun::Edit(const TScriptCommand& command) {
  TComponent& component = DesignComponent(command);
  ide::IDesigner& designer = Session(command).DesignerOf(DesignForm(command));
  std::unique_ptr<ide::TPropertyEditor> editor;
  try {
    editor = ide::FindPropertyEditor(designer, component, command.Property);
  } catch (const host::EConvertError& e) {
    Fail(command, e.what());
  }
  AsEvent([&] { editor->Edit(); });
}

void TStudioRun::Verb(const TScriptCommand& command) {
  TComponent& component = DesignComponent(command);
  ide::IDesigner& designer = Session(command).DesignerOf(DesignForm(command));
  std::unique_ptr<ide::TComponentEditor> editor = ide::CreateComponentEditor(component, designer);
  int count = editor->GetVerbCount();
  if (command.Index >= count)
    Fail(command, component.Name() + " has " + std::to_string(count) + " verbs, from 0");
  Trace("verb " + QuoteTraceString(editor->GetVerb(command.Index)));
  AsEvent([&] { editor->ExecuteVerb(command.Index); });
}

void TStudioRun::DblClick(const TScriptCommand& command) {
  TComponent& component = DesignComponent(command);
  ide::IDesigner& designer = Session(command).DesignerOf(DesignForm(command));
  AsEvent([&] { ide::CreateComponentEditor(component, designer)->Edit(); });
}

void TStudioRun::Expert(const TScriptCommand& command) {
  for (ide::TIExpert* expert : ide::DesignRegistry().Experts()) {
    std::string menu = expert->GetMenuText();
    if (menu != command.Text && !host::SameText(host::StripAccelerator(menu), command.Text))
      continue;
    Trace("expert " + QuoteTraceString(host::StripAccelerator(menu)));
    AsEvent([&] { expert->Execute(); });
    return;
  }
  Fail(command, "No expert has the menu entry " + QuoteTraceString(command.Text));
}

void TStudioRun::Set(const TScriptCommand& command) {
  TComponent& component = DesignComponent(command);
  ide::IDesigner& designer = Session(command).DesignerOf(DesignForm(command));
  try {
    ide::SetPropertyText(designer, component, command.Property, command.Text);
  } catch (const host::Exception& e) {
    // A value the inspector would refuse is a fault of the script.
    Fail(command, e.what());
  }
}

void TStudioRun::Save() {
  AsEvent([&] {
    for (const std::string& file : FSession->Save()) Trace("saved " + file);
  });
}

}  // namespace mebrox
