#include <gtest/gtest.h>

#include <memory>

#include "design/Actdef.h"
#include "design/Wrddef.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/StdCtrls.h"
#include "ide/ToolIntf.h"
#include "runtime/WavePly.h"
#include "tests/TestSupport.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> Items(const std::unique_ptr<host::TStringList>& list) {
  return list->Items();
}

// A project's units as the IDE lists them; it answers an index past the last with no name.
class TFakeToolServices : public ide::TIToolServices {
 public:
  std::string GetProjectName() override { return "Demo.dpr"; }
  int GetUnitCount() override { return static_cast<int>(Units.size()); }
  std::string GetUnitName(int index) override {
    Asked.push_back(index);
    return index >= 0 && index < GetUnitCount() ? Units[static_cast<size_t>(index)] : "";
  }
  int GetFormCount() override { return 0; }
  bool GetNewModuleName(std::string&, std::string&) override { return false; }
  bool CreateModule(const std::string&, ide::TIMemoryStream&, ide::TIMemoryStream&,
                    ide::TCreateModuleFlags) override {
    return false;
  }

  std::vector<std::string> Units;
  std::vector<int> Asked;
};

// A wave player by inheritance only: its class name is its own.
class TLoudWave : public mebrox::TWavePlay {
 public:
  using TWavePlay::TWavePlay;
  std::string ClassName() const override { return "TLoudWave"; }
};

// ---- Actdef::GetFormName

class FormNameTest : public testing::Test {
 protected:
  std::string FormNameOf(const std::string& text) {
    WriteFile(Dir.File("Unit1.pas"), text);
    return mebrox::Actdef::GetFormName(Dir.File("Unit1.pas"));
  }
  TempDir Dir;
};

TEST_F(FormNameTest, FirstLineHoldingTheFormAncestorGivesTheName) {
  const std::pair<const char*, const char*> cases[] = {
      // CR LF lines, the declaration indented by spaces.
      {"unit Unit1;\r\n\r\ninterface\r\n\r\ntype\r\n  TForm1 = class(TForm)\r\n    "
       "Label1: TLabel;\r\n  end;\r\n",
       "Form1"},
      {"type\n  TMainForm = class(TForm)\n  end;\n", "MainForm"},
      // A comment above the declaration is taken as it stands.
      {"{TSplash = class(TForm) was here}\n  TIntro = class(TForm)\n", "TSplash"},
      {"  TAbout = class(TForm)\n  TOther = class(TForm)\n", "About"},
      // A form derived from another form is no "(TForm)" line.
      {"type\n  TForm2 = class(TForm1)\n  end;\n", ""},
      // Without spaces the whole line is the token; its CR is not part of it.
      {"TForm1=class(TForm)\r\nend.\r\n", "Form1=class(TForm)"},
      // Only spaces are trimmed: the tab is the character dropped.
      {"\tTForm1 = class(TForm)\n", "TForm1"},
      {"  x := Create(tform);\n", ""},
      {"TDialog = class(TForm)", "Dialog"},
      {"", ""},
  };
  for (auto [text, name] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FormNameOf(text), name);
  }
}

TEST_F(FormNameTest, AFileThatCannotBeReadRaisesNamingIt) {
  std::string missing = Dir.File("Gone.pas");
  try {
    mebrox::Actdef::GetFormName(missing);
    ADD_FAILURE() << "no error";
  } catch (const host::EInOutError& e) {
    EXPECT_NE(e.Message().find(missing), std::string::npos) << e.Message();
  }
  EXPECT_THROW(mebrox::Actdef::GetFormName(Dir.Path()), host::EInOutError);
}

// ---- Actdef::GetFormNames

class ProjectFormNamesTest : public testing::Test {
 protected:
  std::string Unit(const std::string& name, const std::string& text) {
    WriteFile(Dir.File(name), text);
    return Dir.File(name);
  }
  TempDir Dir;
  TFakeToolServices Tools;
};

TEST_F(ProjectFormNamesTest, EveryPasUnitGivesOneEntryInUnitOrder) {
  Tools.Units = {
      Unit("Demo.dpr", "  Unit1 in 'Unit1.pas' {TFake = class(TForm)},\n"),
      Unit("Unit1.pas", "type\n  TForm1 = class(TForm)\n"),
      Unit("Unit2.PAS", "type\n  TForm2 = class(TForm1)\n"),
      Unit("Notes.txt", "TNotes = class(TForm)\n"),
      Unit("Unit3.Pas", "type\n  TIntro = class(TForm)\n"),
      Dir.File("Unit4"),
  };
  EXPECT_EQ(Items(mebrox::Actdef::GetFormNames(&Tools)),
            (std::vector<std::string>{"Form1", "", "Intro"}));
  std::vector<int> everyIndex;
  for (int i = 0; i <= static_cast<int>(Tools.Units.size()); ++i) everyIndex.push_back(i);
  EXPECT_EQ(Tools.Asked, everyIndex);
}

TEST_F(ProjectFormNamesTest, AnUnreadableUnitRaises) {
  Tools.Units = {Unit("Unit1.pas", "TForm1 = class(TForm)\n"), Dir.File("Unit2.pas")};
  EXPECT_THROW(mebrox::Actdef::GetFormNames(&Tools), host::EInOutError);
}

TEST_F(ProjectFormNamesTest, NoUnitsOrNoIdeGiveAnEmptyList) {
  EXPECT_TRUE(Items(mebrox::Actdef::GetFormNames(&Tools)).empty());
  EXPECT_EQ(Tools.Asked, std::vector<int>{0});
  Tools.Units = {Unit("Unit1.pas", "TForm1 = class(TForm)\n")};
  EXPECT_TRUE(Items(mebrox::Actdef::GetFormNames(nullptr)).empty());
}

// ---- wave players

class WaveComponentsTest : public testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<host::TForm>(nullptr);
    auto* wave1 = new mebrox::TWavePlay(Form.get());
    wave1->SetName("WavePlay1");
    Panel = new host::TPanel(Form.get());
    Panel->SetName("Panel1");
    Panel->SetParent(Form.get());
    Label = new host::TLabel(Form.get());
    Label->SetName("Label1");
    Label->SetParent(Panel);
    (new TLoudWave(Form.get()))->SetName("LoudWave1");
    (new mebrox::TWavePlay(Form.get()))->SetName("WavePlay2");
  }
  std::unique_ptr<host::TForm> Form;
  host::TPanel* Panel = nullptr;
  host::TLabel* Label = nullptr;
};

TEST_F(WaveComponentsTest, ActdefListsThePlayersOfTheFormHoldingTheControl) {
  const std::vector<std::string> players = {"WavePlay1", "WavePlay2"};
  EXPECT_EQ(Items(mebrox::Actdef::GetWaveComponents(Label)), players);
  EXPECT_EQ(Items(mebrox::Actdef::GetWaveComponents(Panel)), players);

  host::TForm bare(nullptr);
  host::TLabel lonely(&bare);
  lonely.SetParent(&bare);
  EXPECT_TRUE(Items(mebrox::Actdef::GetWaveComponents(&lonely)).empty());
  host::TLabel orphan(nullptr);
  EXPECT_TRUE(Items(mebrox::Actdef::GetWaveComponents(&orphan)).empty());
}

TEST_F(WaveComponentsTest, WrddefListsThePlayersOfTheOwnerForm) {
  EXPECT_EQ(Items(mebrox::Wrddef::GetWaveComponents(Label)),
            (std::vector<std::string>{"WavePlay1", "WavePlay2"}));

  host::TComponent notAForm(nullptr);
  host::TLabel ownedByComponent(&notAForm);
  EXPECT_THROW(mebrox::Wrddef::GetWaveComponents(&ownedByComponent), host::EInvalidCast);
  EXPECT_THROW(mebrox::Wrddef::GetWaveComponents(Form.get()), host::EInvalidCast);
}

// ---- Wrddef::GetFormNames

TEST(OpenFormNamesTest, FormsWhoseClassBeginsWithTFormInScreenOrder) {
  std::vector<std::string> expected = Items(mebrox::Wrddef::GetFormNames());
  std::vector<std::unique_ptr<host::TForm>> forms;
  auto open = [&](const std::string& name, const std::string& className) {
    forms.push_back(std::make_unique<host::TForm>(nullptr));
    forms.back()->SetName(name);
    if (!className.empty()) forms.back()->SetClassName(className);
  };
  open("Form1", "TForm1");
  open("MainForm", "TMainForm");
  open("FormIntro", "TFormIntro");
  open("Short", "TFor");
  open("Plain", "");
  open("Lower", "Tform2");
  expected.insert(expected.end(), {"Form1", "FormIntro", "Plain"});
  EXPECT_EQ(forms[4]->ClassName(), "TForm");
  EXPECT_EQ(Items(mebrox::Wrddef::GetFormNames()), expected);
}

}  // namespace
