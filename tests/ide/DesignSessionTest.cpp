#include "ide/DesignSession.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "apps/run/Project.h"
#include "design/Actdef.h"
#include "design/Himaged.h"
#include "design/Mebroxr32.h"
#include "host/FormFile.h"
#include "host/StdCtrls.h"
#include "ide/DefaultEditors.h"
#include "ide/PropertyPath.h"
#include "runtime/HyperImg.h"
#include "runtime/RuntimeClasses.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

// A copy of the Basic project to design and save.
class DesignSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy(MEBROX_TEST_DATA "/projects/Basic", Folder(), fs::copy_options::recursive);
  }

  std::string Folder() const { return FDir.Path() + "/Basic"; }
  std::string File(const std::string& name) const { return Folder() + "/" + name; }

  ide::TDesignCore Core;
  testing_support::TempDir FDir;
};

const char* const Unit3Source =
    "unit Unit3;\n\ninterface\n\nuses Forms;\n\ntype\n  TForm3 = class(TForm)\n    Label1: "
    "TLabel;\n"
    "  end;\n\n"
    "var\n  Form3: TForm3;\n\nimplementation\n\n{$R *.DFM}\n\nend.\n";
const char* const Unit3Form =
    "object Form3: TForm3\n  Width = 200\n  Height = 100\n  Caption = 'Third'\n"
    "  object Label1: TLabel\n    Caption = 'Third frame'\n  end\nend\n";

TEST_F(DesignSessionTest, AnsweringForTheProjectOnDisk) {
  ide::TDesignSession session(Core, File("Basic.dpr"));
  EXPECT_EQ(session.GetProjectName(), File("Basic.dpr"));
  ASSERT_EQ(session.GetUnitCount(), 2);
  EXPECT_EQ(session.GetUnitName(0), File("Unit1.pas"));
  EXPECT_EQ(session.GetUnitName(2), "");
  EXPECT_EQ(session.GetFormCount(), 2);
  host::TForm* form = session.FindForm("form2");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->ClassName(), "TForm2");
  EXPECT_TRUE(form->IsDesigning());
  EXPECT_TRUE(form->FindComponent("Label1")->IsDesigning());
  // The frames the Action wizard offers come from the units through these services.
  EXPECT_EQ(mebrox::Actdef::GetFormNames(&session)->Items(),
            (std::vector<std::string>{"Form1", "Form2"}));

  std::string unit, file;
  ASSERT_TRUE(session.GetNewModuleName(unit, file));
  EXPECT_EQ(unit, "Unit3");
  EXPECT_EQ(file, File("Unit3.pas"));
  // A file of that name beside the project, in any case, is taken too.
  WriteFile(File("unit3.DFM"), "");
  ASSERT_TRUE(session.GetNewModuleName(unit, file));
  EXPECT_EQ(unit, "Unit4");

  // Opened and saved untouched, nothing is written, not even files the writer would lay out
  // differently.
  EXPECT_FALSE(session.Modified());
  EXPECT_TRUE(session.Save().empty());
}

TEST_F(DesignSessionTest, ACreatedModuleJoinsTheProjectAndRunsOnceSaved) {
  std::string original = ReadFile(File("Basic.dpr"));
  {
    ide::TDesignSession session(Core, File("Basic.dpr"));
    ide::TIMemoryStream source(Unit3Source), form(Unit3Form);
    int opened = 0;
    session.OnFormOpened.Add([&](host::TForm&) { ++opened; });
    ASSERT_TRUE(session.CreateModule(File("Unit3.pas"), source, form,
                                     {ide::cmAddToProject, ide::cmShowSource, ide::cmShowForm,
                                      ide::cmUnNamed, ide::cmMarkModified}));
    EXPECT_TRUE(session.Modified());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(session.GetUnitCount(), 3);
    EXPECT_EQ(session.GetFormCount(), 3);
    EXPECT_TRUE(session.FindForm("Form3")->Visible());
    // In memory until saved.
    EXPECT_FALSE(fs::exists(File("Unit3.pas")));
    EXPECT_EQ(ReadFile(File("Basic.dpr")), original);
    // A unit the project has already is refused.
    ide::TIMemoryStream again(Unit3Source), againForm(Unit3Form);
    EXPECT_FALSE(session.CreateModule(File("Unit1.pas"), again, againForm, {ide::cmAddToProject}));

    EXPECT_EQ(session.Save(), (std::vector<std::string>{"Unit3.pas", "Unit3.dfm", "Basic.dpr"}));
    EXPECT_FALSE(session.Modified());
    EXPECT_EQ(ReadFile(File("Unit3.pas")), Unit3Source);
    std::string dpr = ReadFile(File("Basic.dpr"));
    EXPECT_NE(dpr.find("  Unit2 in 'Unit2.pas' {Form2},\n  Unit3 in 'Unit3.pas' {Form3};"),
              std::string::npos)
        << dpr;
    EXPECT_NE(dpr.find("  Application.CreateForm(TForm3, Form3);\n  Application.Run;"),
              std::string::npos)
        << dpr;
  }
  // The application runs the new frame.
  fs::path cwd = fs::current_path();
  std::vector<host::TForm*> forms = mebrox::LoadProject(mebrox::ReadProjectFile(File("Basic.dpr")));
  ASSERT_EQ(forms.size(), 3u);
  EXPECT_EQ(forms[2]->ClassName(), "TForm3");
  auto* label = dynamic_cast<host::TLabel*>(forms[2]->FindComponent("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "Third frame");
  mebrox::UnloadProject();
  fs::current_path(cwd);
}

TEST_F(DesignSessionTest, ASaveThatFailsHalfWayLeavesEveryFileAsItWas) {
  ide::TDesignSession session(Core, File("Basic.dpr"));
  host::TForm* form1 = session.FindForm("Form1");
  host::TForm* form2 = session.FindForm("Form2");
  ide::SetPropertyText(session.DesignerOf(*form1), *form1, "Caption", "First, renamed");
  ide::SetPropertyText(session.DesignerOf(*form2), *form2->FindComponent("Label1"), "Caption",
                       "Second, renamed");
  EXPECT_TRUE(session.Modified());
  std::string unit1 = ReadFile(File("Unit1.dfm")), unit2 = ReadFile(File("Unit2.dfm"));
  ::chmod(File("Unit2.dfm").c_str(), 0444);
  try {
    session.Save();
    FAIL() << "saved over a read-only form file";
  } catch (const host::EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("Unit2.dfm"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(File("Unit1.dfm")), unit1);
  EXPECT_EQ(ReadFile(File("Unit2.dfm")), unit2);
  EXPECT_TRUE(session.Modified());
  int entries = 0;
  for (auto& e : fs::directory_iterator(Folder())) entries += e.exists();
  EXPECT_EQ(entries, 5);

  ::chmod(File("Unit2.dfm").c_str(), 0644);
  EXPECT_EQ(session.Save(), (std::vector<std::string>{"Unit1.dfm", "Unit2.dfm"}));
  EXPECT_NE(ReadFile(File("Unit1.dfm")).find("Caption = 'First, renamed'"), std::string::npos);
  EXPECT_TRUE(session.Save().empty());
}

TEST_F(DesignSessionTest, AProjectWhoseFilesDisagreeNamesTheFileAndLine) {
  struct TCase {
    std::string File, Contents, Message;
  };
  const TCase cases[] = {
      {"Unit2.pas", "", "Basic.dpr(8): Source Unit2.pas of unit Unit2 not found"},
      {"Unit2.dfm", "object Form3: TForm2\nend\n",
       "Unit2.dfm(1): The form file holds Form3, but "
       "BASIC"
       " names form Form2"},
      {"Unit2.dfm", "\nobject Form2: TForm3\nend\n",
       "Unit2.dfm(2): The form file holds a TForm3, but "
       "BASIC"
       " creates a TForm2"},
      {"Unit2.pas", "unit Unit2;\ninterface\ntype\n  TForm9 = class(TForm)\n  end;\nend.\n",
       "Unit2.pas(4): The unit declares TForm9, but "
       "BASIC"
       " makes its form a TForm2"},
      {"Unit2.dfm", "object Form2: TForm2\n  Width = wide\nend\n",
       "Unit2.dfm(2): Width: integer expected"},
      {"Unit2.pas", "unit Unit2;\ninterface\nimplementation\nend.\n",
       "Unit2.pas(1): The unit declares no form class (TForm2 = class(TForm)), but "
       "BASIC"
       " gives it the form Form2"},
  };
  int screenForms = host::Screen->FormCount();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File + ": " + c.Contents);
    fs::remove_all(Folder());
    fs::copy(MEBROX_TEST_DATA "/projects/Basic", Folder(), fs::copy_options::recursive);
    if (c.Contents.empty())
      fs::remove(File(c.File));
    else
      WriteFile(File(c.File), c.Contents);
    std::string expected = c.Message;
    if (size_t at = expected.find("BASIC"); at != std::string::npos)
      expected.replace(at, 5, File("Basic.dpr"));
    try {
      ide::TDesignSession session(Core, File("Basic.dpr"));
      ADD_FAILURE() << "opened";
    } catch (const host::EParserError& e) {
      std::string what = e.what();
      EXPECT_TRUE(what.ends_with(expected)) << what;
    }
    // Nothing stays open.
    EXPECT_EQ(host::Screen->FormCount(), screenForms);
  }
}

}  // namespace

// A frame taken out of the project and brought back by Undo is the frame it was, history and
// all; the project file follows each step, and the frame's own files are never deleted.
TEST_F(DesignSessionTest, ARemovedFrameComesBackWholeAndItsFilesStay) {
  const std::string dpr = ReadFile(File("Basic.dpr")), unit2 = ReadFile(File("Unit2.dfm"));
  ide::TDesignSession session(Core, File("Basic.dpr"));
  host::TForm* form1 = session.FindForm("Form1");
  host::TForm* form2 = session.FindForm("Form2");
  ide::SetPropertyText(session.DesignerOf(*form2), *form2, "Caption", "Edited");
  int closing = 0, changed = 0;
  session.OnFormClosing.Add([&](host::TForm& form) { closing += &form == form2; });
  session.OnProjectChanged.Add([&] { ++changed; });
  const std::string designed = host::WriteComponentText(*form2);

  EXPECT_TRUE(session.RemoveFrame(*form2).empty());
  EXPECT_EQ(closing, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(session.FindForm("Form2"), nullptr);
  EXPECT_EQ(session.GetFormCount(), 1);
  // The only frame left stays, and nothing changes for asking.
  EXPECT_THROW(session.RemoveFrame(*form1), host::EComponentError);
  EXPECT_EQ(session.GetFormCount(), 1);
  // From the other frame, Undo takes back the removal: it came after that frame's own steps.
  EXPECT_EQ(session.UndoLatestName(form1), "Remove Frame Form2");
  ASSERT_TRUE(session.UndoLatest(form1));
  form2 = session.FindForm("Form2");
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->Caption(), "Edited");
  EXPECT_EQ(host::WriteComponentText(*form2), designed);
  EXPECT_EQ(session.RedoLatestName(form1), "Remove Frame Form2");
  // Its own history came back with it.
  ASSERT_TRUE(session.Undo(*form2));
  EXPECT_FALSE(session.Modified());
  ASSERT_TRUE(session.Redo(*form2));

  ASSERT_TRUE(session.RedoLatest(form1));
  session.Save();
  std::string saved = ReadFile(File("Basic.dpr"));
  EXPECT_EQ(saved.find("Unit2"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("TForm2"), std::string::npos) << saved;
  EXPECT_NE(saved.find("  Unit1 in 'Unit1.pas' {Form1};\n"), std::string::npos) << saved;
  EXPECT_EQ(ReadFile(File("Unit2.dfm")), unit2);
  // Taken back after the save, the project is as it was on disk before.
  ASSERT_TRUE(session.UndoProject());
  session.Save();
  EXPECT_EQ(ReadFile(File("Basic.dpr")), dpr);
}

// A frame renamed after another was removed changes the project file too: the removal comes
// back only once the rename is taken back, and never over a project file it no longer fits.
TEST_F(DesignSessionTest, ARemovalWaitsForALaterRenameToBeTakenBack) {
  ide::TDesignSession session(Core, File("Basic.dpr"));
  host::TForm* form1 = session.FindForm("Form1");
  session.RemoveFrame(*session.FindForm("Form2"));
  ide::SetPropertyText(session.DesignerOf(*form1), *form1, "Name", "Welcome");
  EXPECT_FALSE(session.CanUndoProject());
  EXPECT_EQ(session.UndoLatestName(form1), "Change Name of Welcome");
  EXPECT_FALSE(session.UndoProject());
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_EQ(form1->Name(), "Form1");
  EXPECT_EQ(session.UndoLatestName(form1), "Remove Frame Form2");
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_NE(session.FindForm("Form2"), nullptr);
  EXPECT_FALSE(session.Modified());
}

// A frame added is a step of the project's as well: Undo takes it out unsaved, Redo gives it back.
TEST_F(DesignSessionTest, ANewFrameIsTakenBackAndGivenAgain) {
  ide::TDesignSession session(Core, File("Basic.dpr"));
  ide::TIMemoryStream source(Unit3Source), form(Unit3Form);
  ASSERT_TRUE(session.CreateModule(File("Unit3.pas"), source, form,
                                   {ide::cmAddToProject, ide::cmShowForm, ide::cmMarkModified}));
  host::TForm* form1 = session.FindForm("Form1");
  EXPECT_EQ(session.UndoLatestName(form1), "New Frame Form3");
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_EQ(session.FindForm("Form3"), nullptr);
  EXPECT_EQ(session.GetUnitCount(), 2);
  EXPECT_FALSE(session.Modified());
  EXPECT_TRUE(session.Save().empty());
  EXPECT_FALSE(fs::exists(File("Unit3.dfm")));
  ASSERT_TRUE(session.RedoLatest(form1));
  ASSERT_NE(session.FindForm("Form3"), nullptr);
  EXPECT_EQ(session.Save(), (std::vector<std::string>{"Unit3.pas", "Unit3.dfm", "Basic.dpr"}));
}

// Changes made as one (a new frame and the action on another frame that goes to it) are undone
// and redone together, from whichever frame, under the group's name.
TEST_F(DesignSessionTest, AGroupOfStepsOnAFrameAndTheProjectIsUndoneInOne) {
  ide::TDesignSession session(Core, File("Basic.dpr"));
  host::TForm* form1 = session.FindForm("Form1");
  ide::SetPropertyText(session.DesignerOf(*form1), *form1, "Caption", "Before");
  {
    ide::TStepGroup group(&session, "Action of Label1 to a New Frame");
    ide::TIMemoryStream source(Unit3Source), form(Unit3Form);
    ASSERT_TRUE(session.CreateModule(File("Unit3.pas"), source, form,
                                     {ide::cmAddToProject, ide::cmShowForm, ide::cmMarkModified}));
    ide::SetPropertyText(session.DesignerOf(*form1), *form1->FindComponent("Label1"), "Caption",
                         "Go on");
    ide::SetPropertyText(session.DesignerOf(*form1), *form1, "Caption", "During");
  }
  for (host::TForm* from : {form1, session.FindForm("Form2")}) {
    SCOPED_TRACE(from->Name());
    EXPECT_EQ(session.UndoLatestName(from), "Action of Label1 to a New Frame");
    ASSERT_TRUE(session.UndoLatest(from));
    EXPECT_EQ(session.FindForm("Form3"), nullptr);
    EXPECT_EQ(form1->Caption(), "Before");
    EXPECT_EQ(dynamic_cast<host::TLabel*>(form1->FindComponent("Label1"))->Caption(), "Welcome");
    EXPECT_EQ(session.RedoLatestName(from), "Action of Label1 to a New Frame");
    ASSERT_TRUE(session.RedoLatest(from));
    ASSERT_NE(session.FindForm("Form3"), nullptr);
    EXPECT_EQ(form1->Caption(), "During");
  }
  // The step before the group is a step of its own.
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_EQ(form1->Caption(), "Before");
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_EQ(form1->Caption(), "Basic");
  EXPECT_FALSE(session.Modified());
}

// Projects open side by side in one process, over one core and over another: each form's
// designer answers for the project the form belongs to and with its own core's registrations,
// whichever project the core has in front of the designer.
TEST_F(DesignSessionTest, ProjectsOpenSideBySideEachKeepingToItsOwn) {
  fs::copy(Folder(), FDir.Path() + "/Second", fs::copy_options::recursive);
  fs::copy(Folder(), FDir.Path() + "/Third", fs::copy_options::recursive);
  mebrox::RegisterRuntimeClasses();
  ide::TDesignCore kit;
  mebrox::Mebroxr32::Register(kit);
  ide::TDesignSession first(Core, File("Basic.dpr"));
  auto second = std::make_unique<ide::TDesignSession>(Core, FDir.Path() + "/Second/Basic.dpr");
  ide::TDesignSession third(kit, FDir.Path() + "/Third/Basic.dpr");
  auto designerOf = [](ide::TDesignSession& session) -> ide::TFormDesigner& {
    return session.FormDesignerOf(*session.FindForm("Form1"));
  };
  EXPECT_EQ(designerOf(first).ToolServices(), &first);
  EXPECT_EQ(designerOf(*second).ToolServices(), second.get());
  EXPECT_EQ(&designerOf(*second).Core(), &Core);
  EXPECT_EQ(&designerOf(third).Core(), &kit);

  // A frame made in one project, in a group of steps, stays there.
  {
    ide::TStepGroup group(second.get(), "New Frame in the second");
    ide::TIMemoryStream source(Unit3Source), form(Unit3Form);
    ASSERT_TRUE(second->CreateModule(FDir.Path() + "/Second/Unit3.pas", source, form,
                                     {ide::cmAddToProject, ide::cmShowForm, ide::cmMarkModified}));
  }
  EXPECT_EQ(mebrox::Actdef::GetFormNames(designerOf(*second).ToolServices())->Items(),
            (std::vector<std::string>{"Form1", "Form2", "Form3"}));
  EXPECT_EQ(mebrox::Actdef::GetFormNames(designerOf(first).ToolServices())->Items(),
            (std::vector<std::string>{"Form1", "Form2"}));
  EXPECT_FALSE(first.Modified());
  EXPECT_EQ(first.UndoLatestName(first.FindForm("Form1")), "");
  EXPECT_EQ(second->UndoLatestName(second->FindForm("Form1")), "New Frame in the second");

  // Editors come from the core of the form's designer.
  const host::TClassInfo& image = mebrox::THyperImage::StaticClassInfo();
  host::TComponent* plain = designerOf(first).Drop(image, {8, 8});
  host::TComponent* kitted = designerOf(third).Drop(image, {8, 8});
  EXPECT_NE(dynamic_cast<ide::TDefaultEditor*>(
                ide::CreateComponentEditor(*plain, designerOf(first)).get()),
            nullptr);
  EXPECT_NE(dynamic_cast<mebrox::THyperImageEditor*>(
                ide::CreateComponentEditor(*kitted, designerOf(third)).get()),
            nullptr);
  EXPECT_TRUE(Core.Registry().PalettePages().empty());
  EXPECT_EQ(kit.Registry().PalettePages(), (std::vector<std::string>{"Mebrox"}));

  // The project in front of the designer is the one installed; it goes when that project
  // closes, and the other stays open as it was.
  EXPECT_EQ(Core.ToolServices(), nullptr);
  EXPECT_THROW(kit.SetToolServices(second.get()), host::EInvalidOperation);
  EXPECT_EQ(kit.ToolServices(), nullptr);
  Core.SetToolServices(second.get());
  second.reset();
  EXPECT_EQ(Core.ToolServices(), nullptr);
  Core.SetToolServices(&first);
  EXPECT_EQ(first.GetUnitCount(), 2);
  EXPECT_EQ(kit.ToolServices(), nullptr);
}

// A frame removed and saved, whose files stayed, comes back into the project as it was; its
// return is a step of the project's like any other.
TEST_F(DesignSessionTest, ARemovedFrameWhoseFilesStayedIsAddedBack) {
  const std::string dpr = ReadFile(File("Basic.dpr")), unit2 = ReadFile(File("Unit2.dfm"));
  {
    ide::TDesignSession session(Core, File("Basic.dpr"));
    session.RemoveFrame(*session.FindForm("Form2"));
    session.Save();
  }
  ide::TDesignSession session(Core, File("Basic.dpr"));
  ASSERT_EQ(session.FindForm("Form2"), nullptr);
  int opened = 0, changed = 0;
  session.OnFormOpened.Add([&](host::TForm&) { ++opened; });
  session.OnProjectChanged.Add([&] { ++changed; });
  // Either of its files names the frame.
  host::TForm& form2 = session.AddExistingFrame(File("Unit2.dfm"));
  EXPECT_EQ(form2.Name(), "Form2");
  EXPECT_TRUE(form2.IsDesigning());
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_TRUE(session.Modified());
  host::TForm* form1 = session.FindForm("Form1");
  EXPECT_EQ(session.UndoLatestName(form1), "Add Frame Form2");
  ASSERT_TRUE(session.UndoLatest(form1));
  EXPECT_EQ(session.FindForm("Form2"), nullptr);
  EXPECT_FALSE(session.Modified());
  ASSERT_TRUE(session.RedoLatest(form1));
  // The project file is as it was before the removal; the form, unchanged, is not written.
  EXPECT_EQ(session.Save(), (std::vector<std::string>{"Basic.dpr"}));
  EXPECT_EQ(ReadFile(File("Basic.dpr")), dpr);
  EXPECT_EQ(ReadFile(File("Unit2.dfm")), unit2);
}

// What cannot join the project is refused, saying why, and the project stays as it was.
TEST_F(DesignSessionTest, AFrameThatCannotJoinIsRefusedAndNothingChanges) {
  const std::string form3 = "object Form3: TForm3\nend\n";
  WriteFile(File("Lone.pas"), "unit Lone;\ninterface\nimplementation\nend.\n");
  WriteFile(File("Twin.pas"), "unit Twin;\ntype\n  TForm1 = class(TForm)\n  end;\nend.\n");
  WriteFile(File("Twin.dfm"), "object Form1: TForm1\nend\n");
  WriteFile(File("Other.pas"), "unit Other;\ntype\n\n  TOther = class(TForm)\n  end;\nend.\n");
  WriteFile(File("Other.dfm"), form3);
  WriteFile(File("Broken.pas"), Unit3Source);
  WriteFile(File("Broken.dfm"), "object Form3: TForm3\n  Width = \nend\n");
  WriteFile(File("Plain.pas"), "unit Plain;\ninterface\nimplementation\nend.\n");
  WriteFile(File("Plain.dfm"), form3);
  const struct {
    const char* File;
    const char* Error;
  } cases[] = {
      {"Unit1.pas", "The project has a unit Unit1 already"},
      {"Twin.pas", "The project has a frame Form1 already"},
      {"Lone.pas", "has no form file beside it"},
      {"Gone.pas", "There is no unit"},
      {"Other.pas", "Other.pas(4): The unit declares TOther, but its form file holds a TForm3"},
      {"Plain.pas", "Plain.pas(1): The unit declares no form class (TForm3 = class(TForm))"},
      {"Broken.pas", "Broken.dfm(3): Width: integer expected"},
  };
  ide::TDesignSession session(Core, File("Basic.dpr"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    try {
      session.AddExistingFrame(File(c.File));
      ADD_FAILURE() << "added";
    } catch (const host::Exception& e) {
      EXPECT_NE(e.Message().find(c.Error), std::string::npos) << e.Message();
    }
    EXPECT_EQ(session.GetUnitCount(), 2);
    EXPECT_FALSE(session.Modified());
    EXPECT_FALSE(session.CanUndoProject());
  }
}

// Another project's frame is copied in, with the files its components name from its folder; a
// different file of the same name here refuses it all, and nothing is copied.
TEST_F(DesignSessionTest, AnotherProjectsFrameIsCopiedInWithItsFiles) {
  mebrox::RegisterRuntimeClasses();
  ide::TDesignCore kit;
  mebrox::Mebroxr32::Register(kit);
  const std::string other = FDir.Path() + "/Other/";
  fs::create_directories(other + "media");
  WriteFile(other + "Unit5.pas", "unit Unit5;\ntype\n  TForm5 = class(TForm)\n  end;\nend.\n");
  WriteFile(other + "Unit5.dfm",
            "object Form5: TForm5\n  object WavePlay1: TWavePlay\n"
            "    WaveName = 'media/chime.wav'\n  end\n  object HyperTxt1: THyperTxt\n"
            "    LinesLists.Strings = (\n      'intro.txt'\n      'gone.txt')\n  end\nend\n");
  WriteFile(other + "media/chime.wav", "RIFF a chime");
  WriteFile(other + "intro.txt", "Welcome");
  fs::create_directories(File("media"));
  WriteFile(File("media/chime.wav"), "RIFF another chime");
  {
    ide::TDesignSession session(kit, File("Basic.dpr"));
    try {
      session.AddExistingFrame(other + "Unit5.pas");
      ADD_FAILURE() << "added over another chime";
    } catch (const host::EInOutError& e) {
      EXPECT_NE(e.Message().find("write over: media/chime.wav."), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(fs::exists(File("Unit5.pas")));
    EXPECT_FALSE(fs::exists(File("intro.txt")));
    EXPECT_EQ(session.GetUnitCount(), 2);
  }
  // The same bytes here already are that file.
  WriteFile(File("media/chime.wav"), "RIFF a chime");
  ide::TDesignSession session(kit, File("Basic.dpr"));
  std::vector<std::string> copied;
  host::TForm& form5 = session.AddExistingFrame(other + "Unit5.pas", &copied);
  EXPECT_EQ(form5.Name(), "Form5");
  EXPECT_EQ(copied, (std::vector<std::string>{"Unit5.pas", "Unit5.dfm", "intro.txt"}));
  for (const char* copied : {"Unit5.pas", "Unit5.dfm", "media/chime.wav", "intro.txt"})
    EXPECT_EQ(ReadFile(File(copied)), ReadFile(other + copied)) << copied;
  EXPECT_FALSE(fs::exists(File("gone.txt")));
  const std::string designed = host::WriteComponentText(form5);
  ASSERT_TRUE(session.UndoProject());
  EXPECT_FALSE(session.Modified());
  ASSERT_TRUE(session.RedoProject());
  EXPECT_EQ(host::WriteComponentText(*session.FindForm("Form5")), designed);
  EXPECT_EQ(session.Save(), (std::vector<std::string>{"Basic.dpr"}));
  // Copied, it reopens as a frame of this project.
  ide::TDesignSession reopened(kit, File("Basic.dpr"));
  ASSERT_NE(reopened.FindForm("Form5"), nullptr);
  EXPECT_EQ(reopened.ModuleOf(*reopened.FindForm("Form5"))->SourcePath, File("Unit5.pas"));
  EXPECT_TRUE(reopened.Save().empty());
}
