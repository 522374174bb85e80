#include <gtest/gtest.h>

#include <random>

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

// A press on one of several selected components begins moving them all; a press let go where
// it was is a click, and selects that one alone.
TEST(FormDesignerTest, AClickOnOneOfSeveralSelectedSelectsItAloneADragMovesThemAll) {
  TStudioFixture studio({Form1Text});
  host::TForm& form = studio.Form("Form1");
  ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
  auto* label = dynamic_cast<host::TControl*>(form.FindComponent("Label1"));
  auto* panel = dynamic_cast<host::TControl*>(form.FindComponent("Panel1"));
  const std::vector<host::TComponent*> both{label, panel};
  designer.Select(label);
  designer.Select(panel, true);

  studio.Run("down Form1 20 20\nmove Form1 36 28\nup Form1 36 28\n");
  EXPECT_EQ(designer.Selection(), both);
  EXPECT_EQ(label->Left(), 32);
  EXPECT_EQ(panel->Left(), 216);

  studio.Run("click Form1 260 100\n");
  EXPECT_EQ(designer.Selection(), (std::vector<host::TComponent*>{panel}));
  EXPECT_EQ(panel->Left(), 216);
  // Delete then takes only that one.
  designer.Select(label, true);
  studio.Run("click Form1 36 28\n");
  EXPECT_TRUE(designer.HandleKey(host::VK_DELETE, {}));
  EXPECT_EQ(form.FindComponent("Label1"), nullptr);
  EXPECT_NE(form.FindComponent("Panel1"), nullptr);
}

}  // namespace

namespace {

// The form as it reads back from its saved file: reopening fails as the studio's would.
std::string Reopened(TStudioFixture& studio) {
  ide::TDesignSession reopened(studio.Core(), studio.File("Test.dpr"));
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

// The project counts as changed exactly when a form differs from its file: undoing back to what
// was saved clears the mark, and a save then writes nothing.
TEST(FormDesignerTest, UndoingBackToTheSavedPointLeavesNothingToSave) {
  TStudioFixture studio({Form1Text, Form2Text});
  ide::TDesignSession& session = studio.Session();
  host::TForm& form = studio.Form("Form1");
  studio.Run("set Form1.Label1 Caption \"Saved\"\nsave\n");
  EXPECT_FALSE(session.Modified());
  studio.Run("select Form1.Label1\nnudge Form1 1 0\nset Form1 Caption \"Later\"\n");
  EXPECT_TRUE(session.Modified());
  EXPECT_EQ(session.UndoName(form), "Change Caption of Form1");
  studio.Run("undo Form1\n");
  EXPECT_EQ(session.UndoName(form), "Move Label1");
  EXPECT_EQ(session.RedoName(form), "Change Caption of Form1");
  studio.Run("undo Form1\n");
  EXPECT_FALSE(session.Modified());
  EXPECT_TRUE(session.Save().empty());
  studio.Run("redo Form1\n");
  EXPECT_TRUE(session.Modified());
}

// Key moves one after another are one step, however many; the components a property's undo
// changes back stay the same objects, and stay selected.
TEST(FormDesignerTest, KeyMovesAreOneStepAndUndoKeepsTheComponents) {
  TStudioFixture studio({Form1Text});
  host::TForm& form = studio.Form("Form1");
  ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
  host::TComponent* label = form.FindComponent("Label1");
  designer.Select(label);
  for (int i = 0; i < 1000; ++i)
    designer.HandleKey(host::VK_RIGHT, host::TShiftState{host::ssCtrl});
  EXPECT_EQ(dynamic_cast<host::TControl*>(label)->Left(), 1016);
  ASSERT_TRUE(studio.Session().Undo(form));
  EXPECT_FALSE(studio.Session().CanUndo(form));
  EXPECT_EQ(dynamic_cast<host::TControl*>(label)->Left(), 16);

  studio.Run("set Form1.Label1 Caption \"One\"\nset Form1.Label1 Font.Color clRed\n");
  ASSERT_TRUE(studio.Session().Undo(form));
  ASSERT_TRUE(studio.Session().Undo(form));
  EXPECT_EQ(form.FindComponent("Label1"), label);
  EXPECT_EQ(dynamic_cast<host::TLabel*>(label)->Caption(), "Hello");
  EXPECT_EQ(designer.Selection(), (std::vector<host::TComponent*>{label}));
  ASSERT_TRUE(studio.Session().Redo(form));
  EXPECT_EQ(dynamic_cast<host::TLabel*>(label)->Caption(), "One");
}

// Any run of steps, taken back one by one and taken again, passes through every state byte
// for byte.
TEST(FormDesignerTest, RandomStepsUndoneAndRedoneReturnToEachState) {
  TStudioFixture studio({Form1Text, Form2Text});
  host::TForm& form = studio.Form("Form1");
  std::mt19937 random(5);
  const char* classes[] = {"TLabel", "TPanel", "THyperTxt", "THyperImage", "TfxLabel", "TShape"};
  std::vector<std::string> states = {Text(studio, "Form1")};
  for (int step = 0; states.size() < 301; ++step) {
    ASSERT_LT(step, 2000);
    std::vector<std::string> names;
    for (host::TComponent* c : form.ComponentList()) names.push_back(c->Name());
    std::string pick = names.empty() ? "" : names[random() % names.size()];
    std::string line;
    switch (random() % 8) {
      case 0:
        line = std::string("drop ") + classes[random() % 6] + " Form1 " +
               std::to_string(random() % 300) + " " + std::to_string(random() % 200);
        break;
      case 1:
        line = "select Form1." + pick + "\nnudge Form1 " + std::to_string(int(random() % 21) - 10) +
               " " + std::to_string(int(random() % 21) - 10);
        break;
      case 2:
        line = "select Form1." + pick + "\nresize Form1 " + std::to_string(int(random() % 11) - 5) +
               " 3";
        break;
      case 3:
        line = "select Form1." + pick + "\ndelete Form1";
        break;
      case 4:
        line = "select Form1." + pick + "\ncopy Form1\npaste Form1";
        break;
      case 5:
        line = "select Form1." + pick + (random() % 2 ? "\nfront Form1" : "\nback Form1");
        break;
      case 6:
        line = "set Form1." + pick + " Tag " + std::to_string(random() % 100);
        break;
      default:
        line = "set Form1 Caption \"Step " + std::to_string(step) + "\"";
    }
    if (pick.empty() && line.find("select") != std::string::npos) continue;
    studio.Run(line + "\n");
    // Edits of one property one after another are one step: the state it ends in replaces the
    // last one (and one that comes back to where the step began is no step at all).
    states.resize(studio.Session().UndoSteps(form) + 1, std::string());
    states.back() = Text(studio, "Form1");
  }
  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(studio.Session().Undo(form));
    ASSERT_EQ(Text(studio, "Form1"), states[i - 1]) << "undoing step " << i;
  }
  EXPECT_FALSE(studio.Session().Modified());
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(studio.Session().Redo(form));
    ASSERT_EQ(Text(studio, "Form1"), states[i]) << "redoing step " << i;
  }
}

namespace {

const std::string ThreeBoxes =
    "object Form1: TForm1\n  Width = 600\n  Height = 400\n"
    "  object Shape1: TShape\n    Left = 20\n    Top = 30\n    Width = 100\n    Height = 40\n  "
    "end\n"
    "  object Shape2: TShape\n    Left = 200\n    Top = 55\n    Width = 60\n    Height = 20\n  "
    "end\n"
    "  object Shape3: TShape\n    Left = 400\n    Top = 90\n    Width = 30\n    Height = 70\n  "
    "end\n"
    "end\n";

}  // namespace

// The selection lines up by the first control selected, or spreads evenly between the outermost
// two; each is one step, named for what it did.
TEST(FormDesignerTest, AlignmentLinesTheSelectionUpByTheFirstSelected) {
  struct TCase {
    ide::TFormDesigner::TAlign How;
    std::vector<host::TRect> Bounds;  // Shape1, Shape2, Shape3 afterwards
    std::string Step;
  };
  const TCase cases[] = {
      {ide::TFormDesigner::TAlign::Left,
       {host::Bounds(20, 30, 100, 40), host::Bounds(20, 55, 60, 20), host::Bounds(20, 90, 30, 70)},
       "Align Left Edges of 3 components"},
      {ide::TFormDesigner::TAlign::Right,
       {host::Bounds(20, 30, 100, 40), host::Bounds(60, 55, 60, 20), host::Bounds(90, 90, 30, 70)},
       "Align Right Edges of 3 components"},
      {ide::TFormDesigner::TAlign::Bottom,
       {host::Bounds(20, 30, 100, 40), host::Bounds(200, 50, 60, 20), host::Bounds(400, 0, 30, 70)},
       "Align Bottoms of 3 components"},
      {ide::TFormDesigner::TAlign::VCenter,
       {host::Bounds(20, 30, 100, 40), host::Bounds(200, 40, 60, 20),
        host::Bounds(400, 15, 30, 70)},
       "Centre Down 3 components"},
      {ide::TFormDesigner::TAlign::Width,
       {host::Bounds(20, 30, 100, 40), host::Bounds(200, 55, 100, 20),
        host::Bounds(400, 90, 100, 70)},
       "Same Width for 3 components"},
      // From 20 to 430, widths of 100, 60 and 30 leave two gaps of 110.
      {ide::TFormDesigner::TAlign::HSpace,
       {host::Bounds(20, 30, 100, 40), host::Bounds(230, 55, 60, 20),
        host::Bounds(400, 90, 30, 70)},
       "Space Across 3 components"},
  };
  for (const TCase& c : cases) {
    TStudioFixture studio({ThreeBoxes});
    host::TForm& form = studio.Form("Form1");
    ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
    std::string before = host::WriteComponentText(form);
    studio.Run("select Form1.Shape1\nselect Form1.Shape2 add\nselect Form1.Shape3 add\n");
    designer.AlignSelection(c.How);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(dynamic_cast<host::TControl*>(form.FindComponent("Shape" + std::to_string(i + 1)))
                    ->BoundsRect(),
                c.Bounds[static_cast<size_t>(i)])
          << c.Step << ": Shape" << i + 1;
    EXPECT_EQ(studio.Session().UndoName(form), c.Step);
    studio.Session().Undo(form);
    EXPECT_EQ(host::WriteComponentText(form), before) << c.Step;
  }
  // The script's line does the same; a word that names no alignment is the script's fault.
  TStudioFixture studio({ThreeBoxes});
  studio.Run("select Form1.Shape3\nselect Form1.Shape1 add\nalign Form1 top\n");
  EXPECT_EQ(dynamic_cast<host::TControl*>(studio.Form("Form1").FindComponent("Shape1"))->Top(), 90);
  EXPECT_THROW(studio.Run("align Form1 diagonal\n"), host::EParserError);
}

// A control dragged near a sibling's edge or centre keeps to it instead of the grid, and the
// guide shows where while the drag lasts.
TEST(FormDesignerTest, ADragLinesUpWithItsSiblingsAndShowsTheGuide) {
  TStudioFixture studio({ThreeBoxes});
  host::TForm& form = studio.Form("Form1");
  ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
  auto* shape2 = dynamic_cast<host::TControl*>(form.FindComponent("Shape2"));
  // Shape2's top (55) dragged to 33: within reach of Shape1's top (30), off the grid's 32.
  studio.Run("down Form1 210 60\nmove Form1 213 38\n");
  EXPECT_EQ(shape2->Top(), 30);
  ASSERT_EQ(designer.Guides().size(), 1u);
  const ide::TFormDesigner::TGuide& guide = designer.Guides().front();
  EXPECT_FALSE(guide.Vertical);
  EXPECT_EQ(guide.Position, 30);
  EXPECT_EQ(guide.From, 20);
  EXPECT_EQ(guide.To, 260);
  // Far from every line, the grid has it again; the guides go with the drag.
  studio.Run("move Form1 233 250\nup Form1 233 250\n");
  EXPECT_EQ(shape2->Left(), 224);
  EXPECT_EQ(shape2->Top(), 248);
  EXPECT_TRUE(designer.Guides().empty());
}
