#include "apps/studio/StudioVerbs.h"

#include <unistd.h>

#include <iostream>

#include "apps/headless/RunVerbs.h"
#include "apps/studio/StudioRun.h"
#include "host/SysUtils.h"
#include "ide/NewProject.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"

namespace mebrox {

namespace {

using host::TComponent;
using host::TForm;
using THandler = void (*)(TStudioRun& studio, const TScriptCommand& command);

// The studio run a design line works on; a run without the studio cannot do the line.
TStudioRun& Studio(THeadlessRun& run, const TScriptCommand& command) {
  auto* studio = dynamic_cast<TStudioRun*>(&run);
  if (!studio) run.Fail(command, "This program cannot do that");
  return *studio;
}

// The handler of a design line: done on the studio's session, then what it set going runs its
// course.
std::function<void(THeadlessRun&, const TScriptCommand&)> Design(THandler handler) {
  return [handler](THeadlessRun& run, const TScriptCommand& command) {
    handler(Studio(run, command), command);
    host::Application->ProcessMessages();
  };
}

// ---- reading

void ReadFormOnly(const TScriptWords& words, TScriptCommand& c) {
  words.Expect(2);
  c.Form = words.ReadName(1, "Form name");
}

void ReadPath(const TScriptWords& words, TScriptCommand& c) {
  words.Expect(2);
  if (words[1].empty()) words.Usage();
  c.FileName = words[1];
}

void ReadNothing(const TScriptWords& words, TScriptCommand&) {
  words.Expect(1);
}

void ReadFormOrNothing(const TScriptWords& words, TScriptCommand& c) {
  if (words.Count() > 1) ReadFormOnly(words, c);
}

void ReadOffset(const TScriptWords& words, TScriptCommand& c) {
  words.Expect(4);
  c.Form = words.ReadName(1, "Form name");
  c.X = words.ReadInt(2, "DX");
  c.Y = words.ReadInt(3, "DY");
}

// ---- handlers

// The palette entry of that class name (ignoring case), or null.
const host::TClassInfo* FindOnPalette(const ide::TDesignRegistry& registry,
                                      const std::string& className) {
  for (const std::string& page : registry.PalettePages())
    for (const host::TClassInfo* cls : registry.PaletteClasses(page))
      if (host::SameText(cls->Name(), className)) return cls;
  return nullptr;
}

void Drop(TStudioRun& studio, const TScriptCommand& command) {
  TForm& form = studio.DesignForm(command);
  const host::TClassInfo* cls =
      FindOnPalette(studio.Session(command).Core().Registry(), command.ClassName);
  if (!cls) studio.Fail(command, command.ClassName + " is on no palette page");
  TComponent* component = nullptr;
  studio.AsEvent([&] {
    component = studio.Session(command).FormDesignerOf(form).Drop(*cls, {command.X, command.Y});
  });
  if (component)
    studio.Trace("dropped " + form.Name() + "." + component->Name() + " " + component->ClassName());
}

void Edit(TStudioRun& studio, const TScriptCommand& command) {
  TComponent& component = studio.DesignComponent(command);
  ide::IDesigner& designer = studio.Session(command).DesignerOf(studio.DesignForm(command));
  std::unique_ptr<ide::TPropertyEditor> editor;
  try {
    editor = ide::FindPropertyEditor(designer, component, command.Property);
  } catch (const host::EConvertError& e) {
    studio.Fail(command, e.what());
  }
  studio.AsEvent([&] { editor->Edit(); });
}

void Verb(TStudioRun& studio, const TScriptCommand& command) {
  TComponent& component = studio.DesignComponent(command);
  ide::IDesigner& designer = studio.Session(command).DesignerOf(studio.DesignForm(command));
  std::unique_ptr<ide::TComponentEditor> editor = ide::CreateComponentEditor(component, designer);
  int count = editor->GetVerbCount();
  if (command.Index >= count)
    studio.Fail(command, component.Name() + " has " + std::to_string(count) + " verbs, from 0");
  studio.Trace("verb " + QuoteTraceString(editor->GetVerb(command.Index)));
  studio.AsEvent([&] { editor->ExecuteVerb(command.Index); });
}

void DblClick(TStudioRun& studio, const TScriptCommand& command) {
  TComponent& component = studio.DesignComponent(command);
  ide::IDesigner& designer = studio.Session(command).DesignerOf(studio.DesignForm(command));
  studio.AsEvent([&] { ide::CreateComponentEditor(component, designer)->Edit(); });
}

void Expert(TStudioRun& studio, const TScriptCommand& command) {
  for (ide::TIExpert* expert : studio.Session(command).Core().Registry().Experts()) {
    std::string menu = expert->GetMenuText();
    if (menu != command.Text && !host::SameText(host::StripAccelerator(menu), command.Text))
      continue;
    studio.Trace("expert " + QuoteTraceString(host::StripAccelerator(menu)));
    studio.AsEvent([&] { expert->Execute(); });
    return;
  }
  studio.Fail(command, "No expert has the menu entry " + QuoteTraceString(command.Text));
}

void Set(TStudioRun& studio, const TScriptCommand& command) {
  TComponent& component = studio.DesignComponent(command);
  ide::IDesigner& designer = studio.Session(command).DesignerOf(studio.DesignForm(command));
  try {
    ide::SetPropertyText(designer, component, command.Property, command.Text);
  } catch (const host::Exception& e) {
    // A value the inspector would refuse is a fault of the script.
    studio.Fail(command, e.what());
  }
}

void Save(TStudioRun& studio, const TScriptCommand& command) {
  ide::TDesignSession& session = studio.Session(command);
  bool saved = false;
  studio.AsEvent([&] {
    for (const std::string& file : session.Save()) studio.Trace("saved " + file);
    saved = true;
  });
  // The error was shown as the studio shows it; a run whose work was not saved did not succeed.
  if (!saved) studio.FailRun(command, "the project could not be saved");
}

void SaveAs(TStudioRun& studio, const TScriptCommand& command) {
  ide::TDesignSession& session = studio.Session(command);
  bool saved = false;
  studio.AsEvent([&] {
    for (const std::string& file : session.SaveAs(studio.ResolvePath(command.FileName)))
      studio.Trace("saved " + file);
    saved = true;
  });
  if (!saved) studio.FailRun(command, "the project could not be saved as " + command.FileName);
}

void NewFrame(TStudioRun& studio, const TScriptCommand& command) {
  ide::TDesignSession& session = studio.Session(command);
  studio.AsEvent([&] {
    if (!ide::AddEmptyFrame(session))
      studio.Fail(command, "The project has no free unit name for a new frame");
  });
}

// Why the project's last step (or the one last taken back) cannot be taken.
std::string NoProjectStep(bool undo) {
  return undo ? "The project has no step to undo, or a frame renamed since has to be renamed back "
                "first"
              : "The project has no step to redo, or a frame renamed since has to be renamed back "
                "first";
}

// The designer of the line's form, on which the selection lines work.
ide::TFormDesigner& Designer(TStudioRun& studio, const TScriptCommand& command) {
  return studio.Session(command).FormDesignerOf(studio.DesignForm(command));
}

void Cut(TStudioRun& studio, const TScriptCommand& command, bool remove) {
  ide::TFormDesigner& designer = Designer(studio, command);
  if (designer.Selection().empty())
    studio.Fail(command, "Nothing is selected on " + studio.DesignForm(command).Name());
  studio.Clipboard() = designer.CopySelection();
  if (remove) studio.AsEvent([&] { designer.DeleteSelection(); });
}

void Paste(TStudioRun& studio, const TScriptCommand& command) {
  ide::TFormDesigner& designer = Designer(studio, command);
  if (studio.Clipboard().empty()) studio.Fail(command, "The clipboard is empty");
  const std::string& form = studio.DesignForm(command).Name();
  studio.AsEvent([&] {
    for (TComponent* c : designer.Paste(studio.Clipboard()))
      studio.Trace("pasted " + form + "." + c->Name() + " " + c->ClassName());
  });
}

}  // namespace

const TScriptVerbTable& StudioVerbs() {
  static const TScriptVerbTable verbs = {
      {.Name = "drop",
       .Verb = svDrop,
       .Forms = {{"CLASS FORM X Y",
                  "a component from the palette onto the frame at (X, Y), named like "
                  "`HyperTxt2`"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(5);
             c.ClassName = words.ReadName(1, "Class name");
             c.Form = words.ReadName(2, "Form name");
             c.X = words.ReadInt(3, "X");
             c.Y = words.ReadInt(4, "Y");
           },
       .Run = Design(Drop)},
      {.Name = "edit",
       .Verb = svEdit,
       .Forms = {{"FORM[.COMPONENT] PROPERTY",
                  "the property's editor, as a click on its `...` button (`edit Form1.HyperTxt1 "
                  "About`)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadTarget(1, c);
             c.Property = words.ReadPath(2);
           },
       .Run = Design(Edit)},
      {.Name = "verb",
       .Verb = svVerb,
       .Forms = {{"FORM.COMPONENT N", "verb N (from 0) of the component's context menu"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadControl(1, c);
             c.Index = words.ReadInt(2, "Verb number");
             if (c.Index < 0) words.Error("Verb number must not be negative");
           },
       .Run = Design(Verb)},
      {.Name = "dblclick",
       .Verb = svDblClick,
       .Forms = {{"FORM.COMPONENT", "a double-click on the component"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(2);
             words.ReadControl(1, c);
           },
       .Run = Design(DblClick)},
      {.Name = "expert",
       .Verb = svExpert,
       .Forms = {{"\"MENU TEXT\"", "the expert of that menu entry"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(2);
             c.Text = words[1];
           },
       .Run = Design(Expert)},
      {.Name = "set",
       .Verb = svSet,
       .Forms = {{"FORM[.COMPONENT] PROPERTY VALUE",
                  "a property set as in the object inspector; sub-properties with dots "
                  "(`Font.Color`, `Action.Frame`)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(4);
             words.ReadTarget(1, c);
             c.Property = words.ReadPath(2);
             c.Text = words[3];
           },
       .Run = Design(Set)},
      {.Name = "save",
       .Verb = svSave,
       .Forms = {{"",
                  "writes what changed: changed form files, new units, the project file; a save "
                  "that fails ends the run with exit code 1"}},
       .Parse = ReadNothing,
       .Run = Design(Save)},
      {.Name = "saveas",
       .Verb = svSaveAs,
       .Forms = {{"PATH",
                  "Save Project As: the project under another name, or whole into another "
                  "folder"}},
       .Parse = ReadPath,
       .Run = Design(SaveAs)},
      {.Name = "kill",
       .Verb = svKill,
       .Forms = {{"",
                  "the studio ends at once, as a power cut would: nothing saved, the recovery "
                  "file left"}},
       .Parse = ReadNothing,
       .Run =
           [](THeadlessRun& run, const TScriptCommand& c) {
             Studio(run, c);
             // As a power cut would: nothing is saved, nothing is freed, nothing more is said.
             std::cout.flush();
             ::_exit(137);
           }},
      {.Name = "newframe",
       .Verb = svNewFrame,
       .Forms = {{"", "an empty frame joins the project (File > New Frame)"}},
       .Parse = ReadNothing,
       .Run = Design(NewFrame)},
      {.Name = "select",
       .Verb = svPick,
       .Forms = {{"FORM[.COMPONENT] [add]", "the designer's selection (with `add`: added to it)"}},
       // "select FORM.CONTROL ITEM", mebrox-run's line, picks an item of a list.
       .Takes =
           [](const TScriptWords& words) {
             return words.Count() == 2 || (words.Count() == 3 && host::SameText(words[2], "add"));
           },
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.ReadTarget(1, c);
             c.Checked = words.Count() == 3;
           },
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         designer.Select(&studio.DesignComponent(c), c.Checked);
       })},
      {.Name = "nudge",
       .Verb = svNudge,
       .Forms = {{"FORM DX DY", "the selection moved by so many pixels"}},
       .Parse = ReadOffset,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         studio.AsEvent([&] { designer.MoveSelection(c.X, c.Y); });
       })},
      {.Name = "resize",
       .Verb = svResize,
       .Forms = {{"FORM DW DH", "the selection sized by so many pixels"}},
       .Parse = ReadOffset,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         studio.AsEvent([&] { designer.ResizeSelection(c.X, c.Y); });
       })},
      {.Name = "copy",
       .Verb = svCopy,
       .Forms = {{"FORM",
                  "the selection copied to the clipboard as form-file text, which pastes into "
                  "any frame"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) { Cut(studio, c, false); })},
      {.Name = "cut",
       .Verb = svCut,
       .Forms = {{"FORM", "the selection copied to the clipboard and deleted"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) { Cut(studio, c, true); })},
      {.Name = "paste",
       .Verb = svPaste,
       .Forms = {{"FORM", "the clipboard's components added to the frame"}},
       .Parse = ReadFormOnly,
       .Run = Design(Paste)},
      {.Name = "delete",
       .Verb = svDelete,
       .Forms = {{"FORM", "the selection deleted"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         studio.AsEvent([&] { designer.DeleteSelection(); });
       })},
      {.Name = "front",
       .Verb = svFront,
       .Forms = {{"FORM", "the selection brought to the front"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         studio.AsEvent([&] { designer.BringToFront(); });
       })},
      {.Name = "back",
       .Verb = svBack,
       .Forms = {{"FORM", "the selection sent to the back"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         studio.AsEvent([&] { designer.SendToBack(); });
       })},
      {.Name = "align",
       .Forms = {{"FORM left|right|top|bottom|hcenter|vcenter|width|height|hspace|vspace",
                  "the selection lined up by its first control (edges, centres, its width or "
                  "height), or spaced evenly across or down between the outermost two"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             c.Form = words.ReadName(1, "Form name");
             ide::TFormDesigner::TAlign how;
             if (!ide::TFormDesigner::AlignByName(words[2], how))
               words.Error(
                   "left, right, top, bottom, hcenter, vcenter, width, height, hspace or "
                   "vspace expected, not '" +
                   words[2] + "'");
             c.Text = words[2];
           },
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TFormDesigner& designer = Designer(studio, c);
         ide::TFormDesigner::TAlign how;
         ide::TFormDesigner::AlignByName(c.Text, how);
         studio.AsEvent([&] { designer.AlignSelection(how); });
       })},
      {.Name = "addframe",
       .Forms = {{"PATH",
                  "the frame of that unit on disk joins the project: one removed earlier, or "
                  "another project's, copied in with its files (File > Add Existing Frame)"}},
       .Parse = ReadPath,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TDesignSession& session = studio.Session(c);
         std::string added;
         std::vector<std::string> copied;
         studio.AsEvent([&] {
           added = session.AddExistingFrame(studio.ResolvePath(c.FileName), &copied).Name();
         });
         if (added.empty()) return;
         for (const std::string& file : copied) studio.Trace("copied " + file);
         studio.Trace("added " + added);
       })},
      {.Name = "removeframe",
       .Verb = svOther,
       .Forms = {{"FORM",
                  "the frame leaves the project, its files kept on disk (File > Remove Frame)"}},
       .Parse = ReadFormOnly,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         TForm& form = studio.DesignForm(c);
         const std::string name = form.Name();
         std::vector<std::string> links;
         bool removed = false;
         studio.AsEvent([&] {
           links = studio.Session(c).RemoveFrame(form);
           removed = true;
         });
         if (!removed) return;
         studio.Trace("removed " + name);
         for (const std::string& link : links) studio.Trace("still going to " + name + ": " + link);
       })},
      {.Name = "undo",
       .Verb = svUndo,
       .Forms =
           {{"FORM", "the frame's last change taken back"},
            {"",
             "the project's last step taken back: a frame added or removed, with what was done "
             "together with it (the Action wizard's action to its new frame)"}},
       .Parse = ReadFormOrNothing,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TDesignSession& session = studio.Session(c);
         if (c.Form.empty()) {
           if (!session.UndoLatest(nullptr)) studio.Fail(c, NoProjectStep(true));
           return;
         }
         TForm& form = studio.DesignForm(c);
         if (!session.Undo(form)) studio.Fail(c, "Form " + form.Name() + " has nothing to undo");
       })},
      {.Name = "redo",
       .Verb = svRedo,
       .Forms = {{"FORM", "the change last taken back made again"},
                 {"", "the project's step last taken back made again, with what goes with it"}},
       .Parse = ReadFormOrNothing,
       .Run = Design([](TStudioRun& studio, const TScriptCommand& c) {
         ide::TDesignSession& session = studio.Session(c);
         if (c.Form.empty()) {
           if (!session.RedoLatest(nullptr)) studio.Fail(c, NoProjectStep(false));
           return;
         }
         TForm& form = studio.DesignForm(c);
         if (!session.Redo(form)) studio.Fail(c, "Form " + form.Name() + " has nothing to redo");
       })},
  };
  return verbs;
}

const TScriptDialect TScriptDialect::Studio = {[]() -> const std::vector<const TScriptVerbTable*>& {
  static const std::vector<const TScriptVerbTable*> tables = {&StudioVerbs(), &RunVerbs()};
  return tables;
}};

}  // namespace mebrox
