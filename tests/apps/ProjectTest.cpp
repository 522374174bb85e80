#include "apps/run/Project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/ExtCtrls.h"
#include "tests/TestSupport.h"

namespace {

using namespace mebrox;
namespace fs = std::filesystem;

const std::string BasicProject = MEBROX_TEST_DATA "/projects/Basic/Basic.dpr";

TEST(ProjectFile, ReadsUnitsAndCreationsInProjectOrder) {
  std::string text =
      "PROGRAM Demo; // the demo\n"
      "(* a block\n"
      "   comment *)\n"
      "Uses\n"
      "  Forms,\n"
      "  Unit3 in 'sub\\Unit3.pas' {Form3: TForm3},\n"
      "  Unit1 IN 'Unit1.pas' {Form1},\n"
      "  Helpers in 'Helpers.pas' { shared helpers },\n"
      "\n"
      "  Unit2 in 'Unit2.pas' {Form2};\n"
      "{$R *.RES}\n"
      "BEGIN\n"
      "  application.initialize;\n"
      "  Application.Title := 'It''s a demo';\n"
      "  Application.CreateForm(TForm1, Form1); { the main frame }\n"
      "  Application.CreateForm(TForm3, Form3);\n"
      "  Application.CreateForm(TForm2, Form2)\n"
      "  ;Application.Run;\n"
      "End.\n"
      "text after the end is not read";
  TProjectFile p = ParseProjectText(text, "Demo.dpr");
  EXPECT_EQ(p.ProgramName, "Demo");
  EXPECT_EQ(p.Title, "It's a demo");

  std::vector<std::string> names, forms;
  std::vector<int> lines;
  for (const TProjectUnit& u : p.Units) {
    names.push_back(u.Name);
    forms.push_back(u.FormName);
    lines.push_back(u.Line);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Forms", "Unit3", "Unit1", "Helpers", "Unit2"}));
  EXPECT_EQ(forms, (std::vector<std::string>{"", "Form3", "Form1", "", "Form2"}));
  EXPECT_EQ(lines, (std::vector<int>{5, 6, 7, 8, 10}));
  EXPECT_EQ(FormFileOf(p.Units[1]), "sub/Unit3.dfm");
  EXPECT_EQ(p.FindFormUnit("FORM1"), &p.Units[2]);

  ASSERT_EQ(p.Creations.size(), 3u);
  EXPECT_EQ(p.Creations[0].ClassName, "TForm1");
  EXPECT_EQ(p.Creations[0].FormName, "Form1");
  EXPECT_EQ(p.Creations[0].Line, 15);
  EXPECT_EQ(p.Creations[1].ClassName, "TForm3");
  EXPECT_EQ(p.Creations[2].ClassName, "TForm2");
}

TEST(ProjectFile, ErrorsNameTheFileAndLine) {
  const std::string head = "program P;\nuses\n  U in 'U.pas' {F};\nbegin\n";
  struct TCase {
    std::string Text;
    int Line;
    const char* Fragment;
  };
  const TCase cases[] = {
      {"", 1, "empty"},
      {"\n\nunit U;", 3, "'program' expected"},
      {"program P\nuses U;", 2, "';' expected"},
      {"program P;\nuses\n  U in 'U.pas' {F}\nbegin\nend.", 4, "',' or ';' expected"},
      {"program P;\n(* never\nclosed\nbegin", 2, "'(*' is not closed"},
      {"program P;\n{ never closed\nbegin", 2, "'{' is not closed"},
      {"program P;\nuses U in 'U.pas\n;", 2, "String is not closed"},
      {"program P;\nuses U in 'U.pas' {F}, u in 'V.pas';", 2, "named twice"},
      {head + "  Application.CreateForm(TG, G);\nend.", 5, "declares form G"},
      {head + "  Application.CreateForm(TF, F);\n  Halt;\nend.", 6, "Only Application calls"},
      {head + "  Application.CreateForm(TF, F)\n  Application.Run;\nend.", 6, "';' expected"},
      {head + "  Application.CreateForm(TF, F);\n  Application.CreatForm(TF, F);\nend.", 6,
       "Unknown statement Application.CreatForm"},
      {head + "  Application.CreateForm(TF, F);\n  Application.CreateForm(TF, F);\nend.", 6,
       "created twice"},
      {head + "  Application.CreateForm(TF F);\nend.", 5, "',' expected"},
      {head + "  Application.Run;\nend.", 4, "creates no form"},
      {head + "  Application.CreateForm(TF, F);\n", 6, "'end.' expected"},
      {head + "  Application.CreateForm(TF, F);\nend", 6, "'.' expected"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    try {
      ParseProjectText(c.Text, "P.dpr");
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.FileName(), "P.dpr");
      EXPECT_EQ(e.Line(), c.Line) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.Fragment), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(ReadProjectFile(MEBROX_TEST_DATA "/projects/Nothing.dpr"), host::EInOutError);
}

// Loading makes forms the application owns and changes the current directory: both are put
// back after every test.
class ProjectLoad : public testing::Test {
 protected:
  void TearDown() override {
    UnloadProject();
    host::Application->ResetTerminated();
    fs::current_path(FOldDir);
  }

  // Expects loading to fail with a parser error at file (ending so) and line, leaving no form.
  void ExpectLoadError(const std::string& project, const std::string& fileEnd, int line,
                       const std::string& fragment) {
    int formsBefore = host::Screen->FormCount();
    try {
      LoadProject(ReadProjectFile(project));
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_TRUE(e.FileName().ends_with(fileEnd)) << e.what();
      EXPECT_EQ(e.Line(), line) << e.what();
      EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
    }
    EXPECT_EQ(host::Screen->FormCount(), formsBefore);
    EXPECT_EQ(host::Application->ComponentCount(), 0);
    EXPECT_EQ(host::Application->MainForm(), nullptr);
  }

  fs::path FOldDir = fs::current_path();
};

TEST_F(ProjectLoad, CreatesTheFormsInProjectOrder) {
  std::vector<host::TForm*> forms = LoadProject(ReadProjectFile(BasicProject));
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[0]->ClassName(), "TForm1");
  EXPECT_EQ(forms[0]->Name(), "Form1");
  EXPECT_EQ(forms[0]->Caption(), "Basic");
  EXPECT_EQ(forms[1]->ClassName(), "TForm2");
  EXPECT_EQ(host::Application->MainForm(), forms[0]);
  EXPECT_FALSE(forms[0]->Visible());
  EXPECT_EQ(host::Application->Title(), "Basic frames");

  fs::path project = fs::path(BasicProject).lexically_normal();
  EXPECT_EQ(host::Application->ExeName(), project.string());
  EXPECT_TRUE(fs::equivalent(fs::current_path(), project.parent_path()));

  auto* inner = dynamic_cast<host::TPaintBox*>(forms[0]->FindComponent("PaintBox2"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), forms[0]->FindComponent("Panel1"));
}

TEST_F(ProjectLoad, FailuresNameTheFileAndLine) {
  ExpectLoadError(MEBROX_TEST_DATA "/projects/BrokenForm/BrokenForm.dpr", "BrokenForm/Unit1.dfm", 6,
                  "Top");

  testing_support::TempDir dir;
  const std::string dpr =
      "program Two;\n"
      "uses\n"
      "  Unit1 in 'Unit1.pas' {Form1},\n"
      "  Unit2 in 'frames\\Unit2.pas' {Form2};\n"
      "begin\n"
      "  Application.CreateForm(TForm1, Form1);\n"
      "  Application.CreateForm(TForm2, Form2);\n"
      "end.\n";
  testing_support::WriteFile(dir.File("Two.dpr"), dpr);
  testing_support::WriteFile(dir.File("Unit1.dfm"), "object Form1: TForm1\nend\n");
  ExpectLoadError(dir.File("Two.dpr"), "Two.dpr", 4, "frames/Unit2.dfm");

  // A form file whose root is another class than the project creates.
  fs::create_directory(dir.File("frames"));
  testing_support::WriteFile(dir.File("frames/unit2.DFM"), "\nobject Form2: TFormX\nend\n");
  ExpectLoadError(dir.File("Two.dpr"), "frames/unit2.DFM", 2, "creates a TForm2");

  // Names that differ only in case are found, as on the system these projects come from.
  testing_support::WriteFile(dir.File("frames/unit2.DFM"), "object Form2: TForm2\nend\n");
  std::vector<host::TForm*> forms = LoadProject(ReadProjectFile(dir.File("Two.dpr")));
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[1]->ClassName(), "TForm2");
}

}  // namespace

namespace {

TEST(ProjectFile, ANewUnitJoinsTheUsesClauseAndTheCreatedFormsLikeItsNeighbours) {
  const std::string text =
      "program Demo;\n"
      "\n"
      "uses\n"
      "  Forms,\n"
      "  Unit1 in 'Unit1.pas' {Form1};\n"
      "\n"
      "{$R *.RES}\n"
      "\n"
      "begin\n"
      "  Application.Initialize;\n"
      "  Application.CreateForm(TForm1, Form1);\n"
      "  Application.Run;\n"
      "end.\n";
  TProjectFile p = ParseProjectText(text, "Demo.dpr");
  std::string added =
      host::AddUnitToProjectText(text, p, {"Unit2", "Unit2.pas", "Form2"}, "TForm2");
  EXPECT_EQ(added,
            "program Demo;\n"
            "\n"
            "uses\n"
            "  Forms,\n"
            "  Unit1 in 'Unit1.pas' {Form1},\n"
            "  Unit2 in 'Unit2.pas' {Form2};\n"
            "\n"
            "{$R *.RES}\n"
            "\n"
            "begin\n"
            "  Application.Initialize;\n"
            "  Application.CreateForm(TForm1, Form1);\n"
            "  Application.CreateForm(TForm2, Form2);\n"
            "  Application.Run;\n"
            "end.\n");
  TProjectFile again = ParseProjectText(added, "Demo.dpr");
  ASSERT_EQ(again.Creations.size(), 2u);
  EXPECT_EQ(again.Creations[1].ClassName, "TForm2");

  // Windows line ends, a last call without its own ";", and a unit without a form.
  std::string crlf =
      "program P;\r\nuses\r\n    Unit1 in 'Unit1.pas' {Form1};\r\nbegin\r\n    "
      "Application.CreateForm(TForm1, Form1)\r\nend.\r\n";
  TProjectFile q = ParseProjectText(crlf, "P.dpr");
  std::string withForm =
      host::AddUnitToProjectText(crlf, q, {"Unit5", "Unit5.pas", "Form5"}, "TForm5");
  EXPECT_EQ(withForm,
            "program P;\r\nuses\r\n    Unit1 in 'Unit1.pas' {Form1},\r\n    Unit5 in 'Unit5.pas' "
            "{Form5};\r\nbegin\r\n    Application.CreateForm(TForm1, Form1);\r\n    "
            "Application.CreateForm(TForm5, Form5)\r\nend.\r\n");
  EXPECT_EQ(ParseProjectText(withForm, "P.dpr").Creations.size(), 2u);
  std::string plain = host::AddUnitToProjectText(crlf, q, {"Tools", "Tools.pas", ""}, "");
  EXPECT_NE(plain.find("{Form1},\r\n    Tools in 'Tools.pas';"), std::string::npos);
  EXPECT_EQ(ParseProjectText(plain, "P.dpr").Creations.size(), 1u);

  // A name the project has already is refused.
  EXPECT_THROW(host::AddUnitToProjectText(text, p, {"UNIT1", "x.pas", "Form9"}, "TForm9"),
               host::EConvertError);
  EXPECT_THROW(host::AddUnitToProjectText(text, p, {"Unit9", "Unit9.pas", "form1"}, "TForm1"),
               host::EConvertError);
}

}  // namespace
