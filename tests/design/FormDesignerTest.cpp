#include <gtest/gtest.h>

#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/StdCtrls.h"
#include "ide/FormDesigner.h"
#include "tests/design/StudioFixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::TStudioFixture;

const std::string Form1Text =
    "object Form1: TForm1\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object Panel1: TPanel\n"
    "    Left = 200\n"
    "    Top = 40\n"
    "    Width = 150\n"
    "    Height = 120\n"
    "    object Label2: TLabel\n"
    "      Left = 10\n"
    "      Top = 10\n"
    "      Caption = 'Inside'\n"
    "    end\n"
    "  end\n"
    "  object Label1: TLabel\n"
    "    Left = 16\n"
    "    Top = 16\n"
    "    Caption = 'Hello'\n"
    "    FocusControl = Panel1\n"
    "  end\n"
    "end\n";
const std::string Form2Text =
    "object Form2: TForm2\n"
    "  object Label1: TLabel\n"
    "    Caption = 'Taken'\n"
    "  end\n"
    "end\n";

std::string Text(TStudioFixture& studio, const std::string& form) {
  return host::WriteComponentText(studio.Form(form));
}

// Every kind of change, taken back, leaves the form file exactly as it was.
// A dialog stands before the frames, as a modal window does before a person: a script line that
// would change or point at a frame behind it is refused, and the component the dialog edits
// stays for the dialog to finish with.
TEST(FormDesignerTest, LinesForAFrameBehindAnOpenDialogAreRefused) {
  TStudioFixture studio(
      {"object Form1: TForm1\n  object HyperTxt1: THyperTxt\n  end\nend\n", Form2Text});
  const char* behind[] = {
      "select Form1.HyperTxt1",
      "delete Form1",
      "undo Form1",
      "drop TLabel Form1 8 8",
      "set Form1 Caption \"x\"",
      "edit Form1.HyperTxt1 Lines",
      "key Form1 Delete",
      "click Form1 5 5",
      "type Form2.Label1 \"x\"",
  };
  studio.Run("select Form1.HyperTxt1\nset Form1 Caption \"Before\"\n");
  for (const char* line : behind) {
    SCOPED_TRACE(line);
    try {
      studio.Run("edit Form1.HyperTxt1 Words\n" + std::string(line) + "\n");
      ADD_FAILURE() << "not refused";
    } catch (const host::EParserError& e) {
      EXPECT_NE(std::string(e.what()).find("behind the open dialog WordSelectDlg"),
                std::string::npos)
          << e.what();
    }
    EXPECT_NE(studio.Form("Form1").FindComponent("HyperTxt1"), nullptr);
    EXPECT_EQ(studio.Form("Form1").Caption(), "Before");
  }
  // The dialog itself, and looking at a frame, are as they were.
  studio.Run("edit Form1.HyperTxt1 Words\nscreenshot Form1 " + studio.File("shot.png") +
             "\nclick WordSelectDlg.OKBtn 5 5\nselect Form1.HyperTxt1\ndelete Form1\n");
  EXPECT_EQ(studio.Form("Form1").FindComponent("HyperTxt1"), nullptr);
}

TEST(FormDesignerTest, UndoTakesBackEachKindOfChangeExactly) {
  TStudioFixture studio({Form1Text, Form2Text});
  studio.Run("set Form1 Caption \"Saved\"\nsave\n");
  std::string saved = ReadFile(studio.File("Unit1.dfm"));
  const char* changes[] = {
      "set Form1.Label1 Caption \"Changed\"",
      "set Form1.Label1 Font.Style [fsBold]",
      "drop THyperTxt Form1 20 60",
      "drop TLabel Form1 210 50",  // into the panel
      "select Form1.Label1\nnudge Form1 5 -3",
      "select Form1.Panel1\nresize Form1 20 10",
      "select Form1.Panel1\ndelete Form1",
      "select Form1.Label1\ncopy Form1\npaste Form1",
      "select Form1.Label1\nback Form1",
      "set Form1 Color clYellow",
  };
  for (const char* change : changes) {
    SCOPED_TRACE(change);
    std::string before = Text(studio, "Form1");
    studio.Run(std::string(change) + "\n");
    ASSERT_NE(Text(studio, "Form1"), before);
    studio.Run("undo Form1\n");
    EXPECT_EQ(Text(studio, "Form1"), before);
    studio.Run("redo Form1\nundo Form1\n");
    EXPECT_EQ(Text(studio, "Form1"), before);
  }
  studio.Run("save\n");
  EXPECT_EQ(ReadFile(studio.File("Unit1.dfm")), saved);
  // Undo goes back as far as the form was opened, and no further.
  studio.Run("undo Form1\n");
  EXPECT_EQ(Text(studio, "Form1").find("Saved"), std::string::npos);
  EXPECT_THROW(studio.Run("undo Form1\n"), host::EParserError);
}

TEST(FormDesignerTest, CopiedComponentsPasteOntoAnotherFrameUnderFreeNames) {
  TStudioFixture studio({Form1Text, Form2Text});
  std::string trace = studio.Run(
      "select Form1.Label1\n"
      "select Form1.Panel1 add\n"
      "copy Form1\n"
      "paste Form2\n"
      "paste Form2\n");
  // Label1 is taken on Form2; the panel's label comes along with it.
  EXPECT_EQ(trace,
            "pasted Form2.Label2 TLabel\npasted Form2.Panel1 TPanel\n"
            "pasted Form2.Label4 TLabel\npasted Form2.Panel2 TPanel\n");
  host::TForm& form2 = studio.Form("Form2");
  auto* label = dynamic_cast<host::TLabel*>(form2.FindComponent("Label2"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "Hello");
  // Its reference follows the pasted panel, not a component of the old frame.
  EXPECT_EQ(label->FocusControl(), form2.FindComponent("Panel1"));
  auto* inner = dynamic_cast<host::TLabel*>(form2.FindComponent("Label3"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), form2.FindComponent("Panel1"));
  EXPECT_EQ(inner->Caption(), "Inside");
  EXPECT_THROW(studio.Run("select Form2\ncopy Form2\n"), host::EParserError);
}

TEST(FormDesignerTest, ThePointerSelectsMovesOnTheGridAndSizesByTheHandles) {
  TStudioFixture studio({Form1Text, Form2Text});
  host::TForm& form = studio.Form("Form1");
  ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
  auto* label = dynamic_cast<host::TLabel*>(form.FindComponent("Label1"));
  auto* panel = dynamic_cast<host::TPanel*>(form.FindComponent("Panel1"));
  int width = label->Width();
  // A press selects, a drag moves by whole grid steps; the controls never see the pointer.
  bool clicked = false;
  label->OnClick = [&](host::TObject*) { clicked = true; };
  studio.Run("down Form1 20 20\nmove Form1 33 41\nup Form1 33 41\n");
  EXPECT_EQ(designer.Selection(), (std::vector<host::TComponent*>{label}));
  EXPECT_EQ(label->BoundsRect(), host::Bounds(32, 40, width, label->Height()));
  EXPECT_FALSE(clicked);
  // The bottom-right handle of the panel sizes it.
  studio.Run("click Form1 300 100\n");
  host::TRect handle = ide::TFormDesigner::HandleRect(panel->BoundsRect(), 4);
  int hx = (handle.Left + handle.Right) / 2, hy = (handle.Top + handle.Bottom) / 2;
  studio.Run("down Form1 " + std::to_string(hx) + " " + std::to_string(hy) + "\nmove Form1 " +
             std::to_string(hx + 16) + " " + std::to_string(hy + 8) + "\nup Form1 " +
             std::to_string(hx + 16) + " " + std::to_string(hy + 8) + "\n");
  // The dragged edges land on the grid.
  EXPECT_EQ(panel->BoundsRect(), (host::TRect{200, 40, 368, 168}));
  // Shift adds to the selection; a band drawn on the form selects what lies inside it.
  studio.Run("click Form1 40 45\n");
  studio.Run("down Form1 5 5\nmove Form1 390 290\nup Form1 390 290\n");
  EXPECT_EQ(designer.Selection().size(), 3u);
  // Keys: Ctrl+arrow moves a pixel, Shift+arrow sizes, Delete deletes.
  designer.Select(label);
  EXPECT_TRUE(designer.HandleKey(host::VK_RIGHT, {host::ssCtrl}));
  EXPECT_TRUE(designer.HandleKey(host::VK_DOWN, {host::ssShift}));
  EXPECT_EQ(label->BoundsRect(), host::Bounds(33, 40, width, label->Height()));
  EXPECT_TRUE(studio.Session().Modified());
  EXPECT_TRUE(designer.HandleKey(host::VK_DELETE, {}));
  EXPECT_EQ(form.FindComponent("Label1"), nullptr);
  EXPECT_TRUE(designer.Selection().empty());
}

}  // namespace

namespace {

// The form as it reads back from its saved file: reopening fails as the studio's would.
std::string Reopened(TStudioFixture& studio) {
  ide::TDesignSession reopened(studio.File("Test.dpr"));
  return host::WriteComponentText(*reopened.FindForm("Form1"));
}

}  // namespace

// However far the designer moves, sizes or drops, and whatever the text and font make of a
// label, what is saved stays within what a form file holds, and the project opens again.
TEST(FormDesignerTest, MovesSizesAndDropsStayWithinWhatAFormFileHolds) {
  TStudioFixture studio({Form1Text});
  host::TForm& form = studio.Form("Form1");
  std::string trace = studio.Run("drop TLabel Form1 100000 10\ndrop TLabel Form1 10 -40000\n");
  EXPECT_NE(trace.find("Left 100000 is beyond what a screen can show"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Top -40000 is beyond what a screen can show"), std::string::npos) << trace;
  EXPECT_EQ(form.FindComponent("Label3"), nullptr);

  auto* label = dynamic_cast<host::TLabel*>(form.FindComponent("Label1"));
  auto* panel = dynamic_cast<host::TPanel*>(form.FindComponent("Panel1"));
  studio.Run("select Form1.Label1\nnudge Form1 40000 0\nnudge Form1 2147483647 -2147483647\n");
  EXPECT_EQ(label->Left(), 32767);
  EXPECT_EQ(label->Top(), -32768);
  studio.Run("select Form1.Panel1\nresize Form1 2147483647 40000\n");
  EXPECT_EQ(panel->Width(), 32767);
  EXPECT_EQ(panel->Height(), 32767);
  studio.Run("resize Form1 -2147483647 -2147483647\n");
  EXPECT_EQ(panel->Width(), 1);
  EXPECT_EQ(panel->Height(), 1);

  // The biggest font the inspector takes makes a caption wider than a screen: it stays one.
  studio.Run(
      "set Form1.Label1 Caption \"A caption far too wide\"\n"
      "set Form1.Label1 Font.Size 4096\nsave\n");
  EXPECT_EQ(label->Width(), 32767);
  EXPECT_EQ(Reopened(studio), host::WriteComponentText(form));
}

// A label dropped from the palette is named and captioned alike and sized to its caption; with
// AutoSize on it keeps that size, as reading it back would make it.
TEST(FormDesignerTest, ADroppedLabelIsCaptionedByItsNameAndSizedToIt) {
  TStudioFixture studio({Form1Text});
  host::TForm& form = studio.Form("Form1");
  studio.Run("drop TLabel Form1 20 200\ndrop TPanel Form1 20 240\n");
  auto* label = dynamic_cast<host::TLabel*>(form.FindComponent("Label3"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "Label3");
  EXPECT_EQ(dynamic_cast<host::TPanel*>(form.FindComponent("Panel2"))->Caption(), "Panel2");
  int width = label->Width();
  EXPECT_LT(width, 65);
  studio.Run("set Form1.Label3 Name Greeting\nset Form1.Greeting Width 200\n");
  EXPECT_EQ(label->Caption(), "Greeting");
  EXPECT_NE(label->Width(), 200);
  studio.Run("set Form1.Greeting Caption Hello\nset Form1.Greeting Name Welcome\n");
  EXPECT_EQ(label->Caption(), "Hello");  // a caption of the designer's own stays
  studio.Run("set Form1.Welcome AutoSize False\nset Form1.Welcome Width 200\nsave\n");
  EXPECT_EQ(label->Width(), 200);
  EXPECT_EQ(Reopened(studio), host::WriteComponentText(form));
}
