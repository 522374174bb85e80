#include "apps/studio/StudioRun.h"

#include <unistd.h>

#include <iostream>

#include "experts/Package.h"
#include "host/Buttons.h"
#include "host/ExtCtrls.h"
#include "host/StdCtrls.h"
#include "ide/NewProject.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"

namespace mebrox {

using host::TComponent;
using host::TForm;

void RegisterStudioPalette() {
  RegisterPackage();
  ide::RegisterComponents(
      "Standard", {&host::TLabel::StaticClassInfo(), &host::TImage::StaticClassInfo(),
                   &host::TPanel::StaticClassInfo(), &host::TShape::StaticClassInfo(),
                   &host::TSpeedButton::StaticClassInfo(), &host::TBevel::StaticClassInfo()});
  // An image takes a picture file dropped on it, the last of several.
  ide::RegisterFileDropper(host::TImage::StaticClassInfo(),
                           [](TComponent& c, const std::vector<std::string>& files) {
                             if (!files.empty())
                               static_cast<host::TImage&>(c).Picture().LoadFromFile(files.back());
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
      Save(command);
      break;
    case svSaveAs:
      Session(command);
      SaveAs(command);
      break;
    case svKill:
      // As a power cut would: nothing is saved, nothing is freed, nothing more is said.
      std::cout.flush();
      ::_exit(137);
    case svNewFrame:
      Session(command);
      AsEvent([&] {
        host::TForm* form = ide::AddEmptyFrame(*FSession);
        if (!form) Fail(command, "The project has no free unit name for a new frame");
      });
      break;
    case svPick:
    case svNudge:
    case svResize:
    case svUndo:
    case svRedo:
    case svCopy:
    case svCut:
    case svPaste:
    case svDelete:
    case svFront:
    case svBack:
      Designer(command);
      break;
    default:
      THeadlessRun::ExecuteOne(command);
      KeepRecovery();
      return;
  }
  host::Application->ProcessMessages();
  KeepRecovery();
}

void TStudioRun::KeepRecovery() {
  // Each line is a finished step; what it left unsaved is kept before the next one, on the
  // script's own time, so that a kill after it finds exactly that.
  if (FSession) AsEvent([&] { FSession->KeepRecovery(false); });
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

}  // namespace

void TStudioRun::Drop(const TScriptCommand& command) {
  TForm& form = DesignForm(command);
  const host::TClassInfo* cls = FindOnPalette(command.ClassName);
  if (!cls) Fail(command, command.ClassName + " is on no palette page");
  TComponent* component = nullptr;
  AsEvent([&] {
    component = Session(command).FormDesignerOf(form).Drop(*cls, {command.X, command.Y});
  });
  if (component)
    Trace("dropped " + form.Name() + "." + component->Name() + " " + component->ClassName());
}

void TStudioRun::Designer(const TScriptCommand& command) {
  TForm& form = DesignForm(command);
  ide::TDesignSession& session = Session(command);
  ide::TFormDesigner& designer = session.FormDesignerOf(form);
  switch (command.Verb) {
    case svPick:
      designer.Select(&DesignComponent(command), command.Checked);
      break;
    case svNudge:
      AsEvent([&] { designer.MoveSelection(command.X, command.Y); });
      break;
    case svResize:
      AsEvent([&] { designer.ResizeSelection(command.X, command.Y); });
      break;
    case svUndo:
      if (!session.Undo(form)) Fail(command, "Form " + form.Name() + " has nothing to undo");
      break;
    case svRedo:
      if (!session.Redo(form)) Fail(command, "Form " + form.Name() + " has nothing to redo");
      break;
    case svCopy:
    case svCut:
      if (designer.Selection().empty()) Fail(command, "Nothing is selected on " + form.Name());
      FClipboard = designer.CopySelection();
      if (command.Verb == svCut) AsEvent([&] { designer.DeleteSelection(); });
      break;
    case svPaste:
      if (FClipboard.empty()) Fail(command, "The clipboard is empty");
      AsEvent([&] {
        for (TComponent* c : designer.Paste(FClipboard))
          Trace("pasted " + form.Name() + "." + c->Name() + " " + c->ClassName());
      });
      break;
    case svDelete:
      AsEvent([&] { designer.DeleteSelection(); });
      break;
    case svFront:
      AsEvent([&] { designer.BringToFront(); });
      break;
    case svBack:
      AsEvent([&] { designer.SendToBack(); });
      break;
    default:
      break;
  }
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

void TStudioRun::Save(const TScriptCommand& command) {
  bool saved = false;
  AsEvent([&] {
    for (const std::string& file : FSession->Save()) Trace("saved " + file);
    saved = true;
  });
  // The error was shown as the studio shows it; a run whose work was not saved did not succeed.
  if (!saved) FailRun(command, "the project could not be saved");
}

void TStudioRun::SaveAs(const TScriptCommand& command) {
  bool saved = false;
  AsEvent([&] {
    for (const std::string& file : FSession->SaveAs(ResolvePath(command.FileName)))
      Trace("saved " + file);
    saved = true;
  });
  if (!saved) FailRun(command, "the project could not be saved as " + command.FileName);
}

}  // namespace mebrox
