#include "apps/headless/HeadlessRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "apps/run/Project.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/ListCtrls.h"
#include "host/Menus.h"
#include "host/ShellApi.h"
#include "host/StdCtrls.h"
#include "runtime/HyperTxt.h"
#include "tests/TestSupport.h"

namespace {

using namespace mebrox;
using host::TForm;
namespace fs = std::filesystem;

TEST(TraceString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(QuoteTraceString("say \"hi\" \\ now\r\n\ttab\x01"
                             "7 \xC3\xA9\x7F"),
            "\"say \\\"hi\\\" \\\\ now\\r\\n\\ttab\\0017 \xC3\xA9\\177\"");
  EXPECT_EQ(QuoteTraceString(""), "\"\"");
}

using testing_support::IsPng;

// A script that fails at its line of walk.txt with a message holding the fragment.
struct TScriptFailure {
  const char* Script;
  int Line;
  const char* Fragment;
};

template <class Run>
void ExpectScriptFailures(Run run, const std::vector<TScriptFailure>& cases) {
  for (const TScriptFailure& c : cases) {
    SCOPED_TRACE(c.Script);
    try {
      run(c.Script);
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.FileName(), "walk.txt");
      EXPECT_EQ(e.Line(), c.Line);
      EXPECT_NE(std::string(e.what()).find(c.Fragment), std::string::npos) << e.what();
    }
  }
}

// The Basic project loaded under a headless run whose trace the test reads. The test wires
// behaviour onto the host components with event handlers, standing in for the kit's components.
class HeadlessRunTest : public testing::Test {
 protected:
  void SetUp() override {
    THeadlessOptions options;
    options.StartDir = FStart.Path();
    options.ScreenshotDir = FStart.File("shots");
    FRun = std::make_unique<THeadlessRun>(FTrace, options);
    std::vector<TForm*> forms =
        LoadProject(ReadProjectFile(MEBROX_TEST_DATA "/projects/Basic/Basic.dpr"));
    FForm1 = forms.at(0);
    FForm2 = forms.at(1);
  }
  void TearDown() override {
    FRun.reset();
    UnloadProject();
    host::Screen->SetCursor(host::crDefault);
    host::Application->ResetTerminated();
    fs::current_path(FOldDir);
  }

  host::TControl& Control(TForm* form, const std::string& name) {
    auto* control = dynamic_cast<host::TControl*>(form->FindComponent(name));
    if (!control) throw std::runtime_error("no control " + name);
    return *control;
  }
  void Run(const std::string& script) {
    FRun->Start();
    FRun->Execute(ParseScript(script, "walk.txt"), "walk.txt");
  }

  fs::path FOldDir = fs::current_path();
  testing_support::TempDir FStart;
  std::ostringstream FTrace;
  std::unique_ptr<THeadlessRun> FRun;
  TForm* FForm1 = nullptr;
  TForm* FForm2 = nullptr;
};

TEST_F(HeadlessRunTest, AClickReachesANestedControlAndChangesFrames) {
  std::vector<host::TPoint> presses;
  host::TControl& inner = Control(FForm1, "PaintBox2");
  inner.OnMouseDown = [&](host::TObject*, host::TMouseButton, host::TShiftState shift, int x,
                          int y) {
    EXPECT_TRUE(shift.Contains(host::ssLeft));
    presses.push_back({x, y});
  };
  inner.OnClick = [&](host::TObject*) {
    if (host::MessageDlg("Go to \"Second\"?", host::mtConfirmation, {host::mbYes, host::mbNo}, 0) ==
        host::mrYes) {
      FForm2->Show();
      FForm1->Hide();
    }
  };
  Run("answer no\n"
      "click Form1.PaintBox2 5 7\n"
      "click Form1.PaintBox2 6 8   # nothing queued: the default button\n"
      "screenshot Form2 two.png\n");

  EXPECT_EQ(FTrace.str(),
            "show TForm1\n"
            "message \"Go to \\\"Second\\\"?\" -> no\n"
            "message \"Go to \\\"Second\\\"?\" -> yes\n"
            "show TForm2\n"
            "hide TForm1\n");
  EXPECT_EQ(presses, (std::vector<host::TPoint>{{5, 7}, {6, 8}}));
  EXPECT_TRUE(FRun->Failure().empty()) << FRun->Failure();
  EXPECT_TRUE(IsPng(FStart.File("shots/001-TForm1.png")));
  EXPECT_TRUE(IsPng(FStart.File("shots/002-TForm2.png")));
  // A screenshot line's relative name is taken from where the run started, not the project.
  EXPECT_TRUE(IsPng(FStart.File("two.png")));
  EXPECT_FALSE(fs::exists("two.png"));
}

TEST_F(HeadlessRunTest, ModalFormsAreTracedPhotographedAndClosed) {
  std::vector<host::TModalResult> results;
  auto showModal = [&](const std::string& className, const std::string& caption) {
    TForm dialog(nullptr);
    dialog.SetClassName(className);
    if (!caption.empty()) {
      auto* panel = new host::TPanel(&dialog);
      panel->SetParent(&dialog);
      auto* label = new host::TLabel(&dialog);
      label->SetParent(panel);
      label->SetCaption(caption);
    }
    results.push_back(dialog.ShowModal());
  };
  Control(FForm1, "PaintBox1").OnClick = [&](host::TObject*) {
    showModal("TMsgDlg", "A cat:\n\"small\"");
  };
  Control(FForm1, "Label1").OnClick = [&](host::TObject*) { showModal("TPlainDlg", ""); };
  Run("click Form1.PaintBox1 3 3\nclick Form1.Label1 2 2\n");

  EXPECT_EQ(FTrace.str(),
            "show TForm1\n"
            "modal TMsgDlg \"A cat:\\n\\\"small\\\"\"\n"
            "modal TPlainDlg\n");
  EXPECT_EQ(results, (std::vector<host::TModalResult>{host::mrCancel, host::mrCancel}));
  EXPECT_TRUE(IsPng(FStart.File("shots/002-TMsgDlg.png")));
  EXPECT_TRUE(IsPng(FStart.File("shots/003-TPlainDlg.png")));
}

TEST_F(HeadlessRunTest, TracesWhatTheApplicationDoes) {
  int mciResult = 0, execResult = 0;
  Control(FForm1, "PaintBox1").OnClick = [&](host::TObject*) {
    host::Screen->SetCursor(11);
    std::string reply;
    mciResult = host::mciSendString("status nothing mode", reply);
    execResult = host::ShellExecute("no-such-program-for-mebrox", "a \"b c\"", "", host::SW_SHOW);
    throw host::Exception("Boom");
  };
  Run("move Form1 300 200\nclick Form1.PaintBox1 1 1\nwait 250\nwait 50\n");

  EXPECT_EQ(FTrace.str(),
            "show TForm1\n"
            "cursor 11\n"
            "mci \"status nothing mode\" -> " +
                std::to_string(mciResult) +
                "\n"
                "exec \"no-such-program-for-mebrox\" \"a \\\"b c\\\"\" \"\" -> " +
                std::to_string(execResult) +
                "\n"
                "error \"Boom.\"\n");
  EXPECT_NE(mciResult, 0);
  EXPECT_LE(execResult, 32);
  EXPECT_EQ(host::Mci().Clock().NowMs(), 300);
  EXPECT_EQ(&host::Mci().Clock(), &FRun->Clock());
}

TEST_F(HeadlessRunTest, TheScriptStopsWhenTheApplicationTerminates) {
  int later = 0;
  Control(FForm1, "PaintBox1").OnClick = [&](host::TObject*) { FForm1->Close(); };
  Control(FForm1, "PaintBox2").OnMouseDown = [&](host::TObject*, host::TMouseButton,
                                                 host::TShiftState, int, int) { ++later; };
  Run("click Form1.PaintBox1 1 1\nclick Form1.PaintBox2 1 1\n");
  EXPECT_EQ(FTrace.str(), "show TForm1\nclose TForm1\nterminate\n");
  EXPECT_EQ(later, 0);
}

TEST_F(HeadlessRunTest, TargetsThatAreNotThereFailAtTheirLine) {
  int presses = 0;
  Control(FForm1, "PaintBox1").OnMouseDown = [&](host::TObject*, host::TMouseButton button,
                                                 host::TShiftState shift, int, int) {
    EXPECT_EQ(button, host::mbRight);
    EXPECT_TRUE(shift.Contains(host::ssRight));
    ++presses;
  };
  ExpectScriptFailures(
      [this](const char* script) { Run(script); },
      {
          {"down Form1.PaintBox1 1 1 right\nclick Form9.PaintBox1 1 1\n", 2, "no form named Form9"},
          {"wait 1\nwait 1\nmove Form1.Nothing 1 1\n", 3, "no component named Nothing"},
          {"click Form2.Label1 1 1\n", 1, "Form2 is not showing"},
          {"screenshot Form3 x.png\n", 1, "no form named Form3"},
      });
  EXPECT_EQ(presses, 1);
}

TEST_F(HeadlessRunTest, ExpectLinesPassQuietlyAndFailAtTheirLineNamingBothValues) {
  auto& label = static_cast<host::TLabel&>(Control(FForm1, "Label1"));
  label.OnClick = [&](host::TObject*) {
    label.SetCaption("Clicked, twice");
    label.Font().SetStyle({host::fsBold, host::fsItalic});
  };
  Run("expect Form1 Caption Basic\n"
      "expect Form1.Label1 Caption Welcome\n"
      "expect form1.panel1 width 150\n"
      "expect Form1.Panel1 Color CLYELLOW\n"
      "expect Form1.Label1 Visible true\n"
      "expect Form1.Label1 Align alNone\n"
      "expect Form1.Label1 Font.Style []\n"
      "expect Form1.Label1 FocusControl \"\"\n"
      "click Form1.Label1 2 2\n"
      "expect Form1.Label1 Caption \"Clicked, twice\"\n"
      "expect Form1.Label1 Font.Style [fsBold,fsItalic]\n");
  EXPECT_EQ(FTrace.str(), "show TForm1\n");

  ExpectScriptFailures(
      [this](const char* script) { Run(script); },
      {
          {"wait 1\nexpect Form1.Label1 Caption Hello\n", 2,
           "Form1.Label1.Caption is \"Clicked, twice\", not \"Hello\""},
          {"expect Form1.Label1 Caption \"clicked, twice\"\n", 1, "is \"Clicked, twice\", not"},
          {"expect Form1.Label1 Visible False\n", 1, "Form1.Label1.Visible is \"True\""},
          {"expect Form1 Color clRed\n", 1, "Form1.Color is \"clWhite\", not \"clRed\""},
          {"expect Form1.Label1 Font.Style [fsBold]\n", 1, "is \"[fsBold, fsItalic]\""},
          {"expect Form1.Label1 Font clRed\n", 1, "Form1.Label1.Font is not one value"},
          {"expect form1.label1 Colour clRed\n", 1, "Form1.Label1 has no property Colour"},
          {"expect Form1.Label1 Caption.Size 1\n", 1, "has no property Caption.Size"},
          {"expect Form1.Nothing Caption x\n", 1, "no component named Nothing"},
          {"expect Form7 Caption x\n", 1, "no form named Form7"},
      });
  for (const char* line :
       {"expect Form1.Label1 Caption", "expect Form1.Label1 1x Hello", "expect Form1. Caption x"})
    EXPECT_THROW(ParseScript(line, "walk.txt"), host::EParserError) << line;
}

// A dialog of the dialog controls, built in code, under a headless run of its own.
class DialogRunTest : public testing::Test {
 protected:
  void Open(bool modalFormsStayOpen) {
    THeadlessOptions options;
    options.StartDir = FStart.Path();
    options.ModalFormsStayOpen = modalFormsStayOpen;
    FRun = std::make_unique<THeadlessRun>(FTrace, options);
    FDlg = std::make_unique<TForm>(nullptr);
    FDlg->SetName("Dlg");
    FDlg->SetBounds(0, 0, 300, 200);
    FEdit = Add<host::TEdit>("Edit1", 8, 8);
    FList = Add<host::TListBox>("List1", 8, 40);
    FList->Items().SetText("alpha\nbeta\n");
    FCheck = Add<host::TCheckBox>("Check1", 150, 8);
    FButton = Add<host::TButton>("OKBtn", 150, 40);
    FButton->SetDefault(true);
    Add<host::TEdit>("Edit2", 150, 80)->SetEnabled(false);
    FDlg->Show();
  }
  void TearDown() override {
    FRun.reset();
    FDlg.reset();
  }
  template <class T>
  T* Add(const std::string& name, int x, int y) {
    auto* control = new T(FDlg.get());
    control->SetName(name);
    control->SetParent(FDlg.get());
    control->SetLeft(x);
    control->SetTop(y);
    return control;
  }
  void Run(const std::string& script) {
    FRun->Execute(ParseScript(script, "walk.txt"), "walk.txt");
  }

  testing_support::TempDir FStart;
  std::ostringstream FTrace;
  std::unique_ptr<THeadlessRun> FRun;
  std::unique_ptr<TForm> FDlg;
  host::TEdit* FEdit = nullptr;
  host::TListBox* FList = nullptr;
  host::TCheckBox* FCheck = nullptr;
  host::TButton* FButton = nullptr;
};

TEST_F(DialogRunTest, TypingChoosingTickingAndFileDialogsWorkTheDialog) {
  Open(false);
  FButton->OnClick = [&](host::TObject*) {
    host::TOpenDialog picker(nullptr);
    picker.SetTitle("Pick");
    picker.SetDefaultExt("wav");
    std::string file = picker.Execute() ? host::ExtractFileName(picker.FileName()) : "none";
    int item = FList->ItemIndex();
    host::ShowMessage(FEdit->Text() + "|" + (item >= 0 ? FList->Items().Get(item) : "") + "|" +
                      (FCheck->Checked() ? "on" : "off") + "|" + file);
  };
  auto* menu = new host::TPopupMenu(FDlg.get());
  menu->SetName("ListMenu");
  std::vector<std::string> picked;
  for (const char* caption : {"&Save", "-", "&Load"}) {
    auto* item = new host::TMenuItem(FDlg.get());
    item->SetCaption(caption);
    item->SetParentComponent(menu);
    item->OnClick = [&picked, item](host::TObject*) {
      host::TOpenDialog picker(nullptr);
      picker.SetOptions({host::ofAllowMultiSelect});
      picker.Execute();
      picked.push_back(host::StripAccelerator(item->Caption()) + " " +
                       std::to_string(picker.Files().Count()));
    };
  }
  FList->SetPopupMenu(menu);
  // A file that must exist and does not is refused as the system's dialog would.
  host::TOpenDialog strict(nullptr);
  strict.SetOptions({host::ofFileMustExist});
  FRun->Execute(ParseScript("file \"nowhere.wls\"\n", "walk.txt"), "walk.txt");
  EXPECT_FALSE(strict.Execute());
  EXPECT_NE(FTrace.str().find("nowhere.wls\\rFile not found."), std::string::npos) << FTrace.str();
  FTrace.str("");
  Run("file one.wls two.wls\n"
      "menu Dlg.List1 \"load\"\n"
      "type Dlg.Edit1 \"abc\"\n"
      "select Dlg.Edit1 \"bc\"\n");
  EXPECT_EQ(picked, (std::vector<std::string>{"Load 2"}));
  EXPECT_EQ(FEdit->SelText(), "bc");
  EXPECT_EQ(FEdit->SelStart(), 1);
  EXPECT_EQ(FTrace.str(), "popup ListMenu -> \"Load\"\nfile open \"\" -> \"" +
                              FStart.File("one.wls") + "\" \"" + FStart.File("two.wls") + "\"\n");
  FTrace.str("");
  FEdit->SetText("");

  Run("type Dlg.Edit1 \"Hi there\"\n"
      "select Dlg.List1 \"BETA\"\n"
      "check Dlg.Check1 on\n"
      "file \"pick\"\n"
      "key Dlg.Edit1 Enter\n"
      "select Dlg.List1 0\n"
      "key Dlg Enter\n");
  EXPECT_EQ(FTrace.str(), "file open \"Pick\" -> \"" + FStart.File("pick") +
                              "\"\n"
                              "message \"Hi there|beta|on|pick.wav\" -> ok\n"
                              "file open \"Pick\" -> cancel\n"
                              "message \"Hi there|alpha|on|none\" -> ok\n");

  struct TCase {
    const char* Line;
    const char* Fragment;
  };
  const TCase cases[] = {
      {"type Dlg.Edit2 \"x\"", "Edit2 is disabled"},
      {"select Dlg.List1 \"gamma\"", "List1 has no item \"gamma\""},
      {"select Dlg.List1 2", "List1 has no item 2"},
      {"select Dlg.Check1 \"x\"", "Check1 is not a list"},
      {"select Dlg.Edit1 \"nowhere\"", "Edit1 has no text \"nowhere\""},
      {"menu Dlg.Edit1 \"Save\"", "Edit1 has no popup menu"},
      {"menu Dlg.List1 \"Print\"", "The popup menu has no entry \"Print\""},
      {"check Dlg.Edit1 on", "neither a check box nor a radio button"},
      {"type Dlg.Nothing \"x\"", "no component named Nothing"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Line);
    try {
      Run(std::string("wait 1\n") + c.Line + "\n");
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.Line(), 2);
      EXPECT_NE(std::string(e.what()).find(c.Fragment), std::string::npos) << e.what();
    }
  }
}

TEST_F(DialogRunTest, FontDialogsTakeTheScriptsFontOrAreCancelled) {
  Open(false);
  std::vector<std::string> chosen;
  FButton->OnClick = [&](host::TObject*) {
    host::TFontDialog dialog(nullptr);
    dialog.Font().SetName("Arial");
    dialog.Font().SetSize(10);
    chosen.push_back(dialog.Execute() ? DescribeFont(dialog.Font()) : "cancelled");
  };
  Run("font \"Times New Roman\" 14 bold italic clNavy\n"
      "click Dlg.OKBtn 5 5\n"
      "click Dlg.OKBtn 5 5\n");
  EXPECT_EQ(chosen,
            (std::vector<std::string>{"\"Times New Roman\" 14 bold italic clNavy", "cancelled"}));
  EXPECT_EQ(FTrace.str(),
            "show TForm\n"
            "font \"Arial\" 10 clWindowText -> \"Times New Roman\" 14 bold italic clNavy\n"
            "font \"Arial\" 10 clWindowText -> cancel\n");
  for (const char* line : {"font Arial", "font Arial big", "font Arial 0", "font Arial 9 heavy"})
    EXPECT_THROW(ParseScript(line, "walk.txt"), host::EParserError) << line;
}

TEST_F(DialogRunTest, ColourDialogsTakeTheScriptsColourOrAreCancelled) {
  Open(false);
  std::vector<std::string> chosen;
  FButton->OnClick = [&](host::TObject*) {
    host::TColorDialog dialog(nullptr);
    dialog.SetColor(host::clBtnFace);
    chosen.push_back(dialog.Execute() ? host::ColorToString(dialog.Color()) : "cancelled");
  };
  Run("color $00336699\n"
      "click Dlg.OKBtn 5 5\n"
      "color clred\n"
      "click Dlg.OKBtn 5 5\n"
      "click Dlg.OKBtn 5 5\n");
  EXPECT_EQ(chosen, (std::vector<std::string>{"$00336699", "clRed", "cancelled"}));
  EXPECT_EQ(FTrace.str(),
            "show TForm\n"
            "color clBtnFace -> $00336699\n"
            "color clBtnFace -> clRed\n"
            "color clBtnFace -> cancel\n");
  for (const char* line : {"color", "color clNothing", "color clRed clBlue"})
    EXPECT_THROW(ParseScript(line, "walk.txt"), host::EParserError) << line;
}

TEST_F(DialogRunTest, InTheStudioAModalDialogStaysOpenForTheLinesThatWorkIt) {
  Open(true);
  std::vector<std::string> results;
  FButton->OnClick = [&](host::TObject*) {
    TForm inner(nullptr);
    inner.SetName("Inner");
    inner.SetClassName("TInnerDlg");
    inner.SetCaption("Inner dialog");
    auto* name = new host::TEdit(&inner);
    name->SetName("Name1");
    name->SetParent(&inner);
    auto* done = new host::TButton(&inner);
    done->SetName("Done");
    done->SetParent(&inner);
    done->SetTop(40);
    done->SetModalResult(host::mrOk);
    host::TModalResult result = inner.ShowModal();
    results.push_back(host::ModalResultName(result) + " " + name->Text());
  };
  Run("click Dlg.OKBtn 5 5\n"
      "type Inner.Name1 \"x\"\n"
      "click Inner.Done 5 5\n"
      "type Dlg.Edit1 \"after\"\n"
      "click Dlg.OKBtn 5 5\n");
  EXPECT_EQ(FTrace.str(),
            "show TForm\n"
            "modal TInnerDlg \"Inner dialog\"\n"
            "closed TInnerDlg -> ok\n"
            "modal TInnerDlg \"Inner dialog\"\n"
            "closed TInnerDlg -> cancel\n");
  // The script ran out with the second dialog open: it closes as cancelled.
  EXPECT_EQ(results, (std::vector<std::string>{"ok x", "cancel "}));
  EXPECT_EQ(FEdit->Text(), "after");

  // A mistake on a dialog's line ends the run there, the dialog closed.
  try {
    Run("click Dlg.OKBtn 5 5\nselect Inner.Name1 \"x\"\ntype Dlg.Edit1 \"never\"\n");
    ADD_FAILURE() << "no error";
  } catch (const host::EParserError& e) {
    EXPECT_EQ(e.Line(), 2);
  }
  EXPECT_EQ(results.back(), "cancel ");
  EXPECT_EQ(FEdit->Text(), "after");
}

// The tour under a headless run, for scripts that point at hot words by name.
class HotWordRunTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterProjectClasses();
    fs::copy(MEBROX_TOUR_DIR, FStart.File("tour"), fs::copy_options::recursive);
    fs::remove(FStart.File("tour/Tour.RUN"));
    THeadlessOptions options;
    options.StartDir = FStart.Path();
    FRun = std::make_unique<THeadlessRun>(FTrace, options);
    FForms = LoadProject(ReadProjectFile(FStart.File("tour/Tour.dpr")));
  }
  void TearDown() override {
    FRun.reset();
    UnloadProject();
    host::Screen->SetCursor(host::crDefault);
    host::Application->ResetTerminated();
    fs::current_path(FOldDir);
  }
  mebrox::THyperTxt& Text(int form) {
    return *dynamic_cast<mebrox::THyperTxt*>(
        FForms.at(static_cast<size_t>(form))->FindComponent("HyperTxt1"));
  }
  void Run(const std::string& script) {
    FRun->Start();
    FRun->Execute(ParseScript(script, "walk.txt"), "walk.txt");
  }

  fs::path FOldDir = fs::current_path();
  testing_support::TempDir FStart;
  std::ostringstream FTrace;
  std::unique_ptr<THeadlessRun> FRun;
  std::vector<TForm*> FForms;
};

TEST_F(HotWordRunTest, ThePointerGoesToTheMiddleOfTheWordShown) {
  Run("move Form1.HyperTxt1 \"chime\"\n"
      "click Form1.HyperTxt1 \"another text\"\n");
  // Switched to the second page, where "first text" shows; it switches back.
  EXPECT_EQ(Text(0).Lines().Get(0), "This is the second text of the same hot-text control,");
  Run("move Form1.HyperTxt1 \"first text\"\n"
      "click Form1.HyperTxt1 \"first text\"\n"
      "click Form1.HyperTxt1 \"second frame\"\n");
  EXPECT_EQ(Text(0).Lines().Get(0), "Welcome to Mebrox: hypertext applications without code.");
  EXPECT_EQ(FTrace.str(),
            "show TForm1\n"
            "cursor 12\n"  // over "chime": the wave's pointer
            "cursor 0\n"
            "cursor 15\n"  // over "first text": the pointer of switching lines
            "cursor 0\n"
            "hide TForm1\n"
            "show TForm2\n");
}

TEST_F(HotWordRunTest, AScriptByWordSurvivesAChangeOfFont) {
  // A smaller font: every hot word moves, the script still finds them.
  Text(0).Font().SetSize(11);
  Text(0).WordFont().SetSize(11);
  Run("click Form1.HyperTxt1 \"second frame\"\nclick Form2.HyperTxt1 \"third frame\"\n");
  EXPECT_EQ(FTrace.str(),
            "show TForm1\nhide TForm1\nshow TForm2\nclose TForm2\nhide TForm2\nshow TForm3\n");
}

TEST_F(HotWordRunTest, AWordDrawnBeyondTheControlIsOutOfReach) {
  // So large that the last lines fall below the control's bottom edge.
  Text(0).Font().SetSize(30);
  Text(0).WordFont().SetSize(30);
  try {
    Run("click Form1.HyperTxt1 \"second frame\"\n");
    ADD_FAILURE() << "no error";
  } catch (const host::EParserError& e) {
    EXPECT_EQ(e.Line(), 1);
    EXPECT_NE(std::string(e.what()).find("outside its bounds"), std::string::npos) << e.what();
  }
}

TEST_F(HotWordRunTest, AWordThatIsNotShownFailsAtItsLine) {
  ExpectScriptFailures(
      [this](const char* script) { Run(script); },
      {
          {"wait 1\nclick Form1.HyperTxt1 \"first text\"\n", 2,
           "HyperTxt1 shows no hot word \"first text\"; it shows \"description\", \"chime\""},
          {"move Form1.HyperTxt1 \"Chime\"\n", 1,
           "HyperTxt1 shows no hot word \"Chime\" (hot words are case-sensitive: it shows "
           "\"chime\")"},
          {"click Form1.Title1 \"Mebrox\"\n", 1, "Title1 is not a hot text"},
          {"click Form2.HyperTxt1 \"go back\"\n", 1, "Form Form2 is not showing"},
      });
}

}  // namespace
