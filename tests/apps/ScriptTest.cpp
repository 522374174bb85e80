#include "apps/headless/Script.h"

#include <gtest/gtest.h>

#include "host/Dialogs.h"

namespace {

using namespace mebrox;

// A command as one line of text, so that whole scripts compare at once.
std::string Describe(const TScriptCommand& c) {
  const char* verbs[] = {"move", "down", "up", "click", "answer", "screenshot", "wait"};
  std::string s = std::to_string(c.Line) + ": " + verbs[c.Verb] + " " + c.Form;
  if (!c.Control.empty()) s += "." + c.Control;
  switch (c.Verb) {
    case svAnswer:
      return s + host::ModalResultName(c.Answer);
    case svScreenshot:
      return s + " [" + c.FileName + "]";
    case svWait:
      return s + std::to_string(c.Milliseconds);
    default:
      return s + " " + std::to_string(c.X) + " " + std::to_string(c.Y) +
             (c.Button == host::mbRight ? " right" : "");
  }
}

TEST(Script, ReadsEveryCommand) {
  std::string text =
      "# a walk through the frames\r\n"
      "move Form1.PaintBox1 10 20\r\n"
      "\n"
      "DOWN Form1.Panel1 -3 4 right   # off the left edge\n"
      "up Form1 5 6\n"
      "click Form2.Label1 1 2 left\n"
      "answer Yes\n"
      "screenshot Form1 \"shots/first #1.png\"\n"
      "wait 1500";
  std::vector<std::string> described;
  for (const TScriptCommand& c : ParseScript(text, "walk.txt")) described.push_back(Describe(c));
  EXPECT_EQ(described, (std::vector<std::string>{
                           "2: move Form1.PaintBox1 10 20", "4: down Form1.Panel1 -3 4 right",
                           "5: up Form1 5 6", "6: click Form2.Label1 1 2", "7: answer yes",
                           "8: screenshot Form1 [shots/first #1.png]", "9: wait 1500"}));
}

TEST(Script, ErrorsNameTheFileAndLine) {
  struct TCase {
    const char* Line;
    const char* Fragment;
  };
  const TCase cases[] = {
      {"jump Form1 1 2", "Unknown command 'jump'"},
      {"click Form1.PaintBox1 1", "Use: click"},
      {"click Form1.PaintBox1 1 x", "Y must be a whole number"},
      {"move Form1.PaintBox1 99999999999 1", "X must be a whole number"},
      {"click Form1. 1 2", "Control name"},
      {"click .PaintBox1 1 2", "Form name"},
      {"click Form1.Panel1.PaintBox2 1 2", "Control name"},
      {"down Form1.PaintBox1 1 2 middle", "'right' expected"},
      {"answer maybe", "yes, no, ok or cancel"},
      {"answer", "Use: answer"},
      {"screenshot Form1 shot.bmp", "must end in .png"},
      {"screenshot Form1 \"open.png", "Closing '\"' missing"},
      {"screenshot Form1", "Use: screenshot"},
      {"wait -5", "Milliseconds"},
      {"wait 10ms", "Milliseconds"},
      {"wait 99999999999", "Milliseconds"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Line);
    try {
      ParseScript(std::string("wait 1\n") + c.Line + "\nwait 2\n", "walk.txt");
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.FileName(), "walk.txt");
      EXPECT_EQ(e.Line(), 2);
      EXPECT_NE(std::string(e.what()).find(c.Fragment), std::string::npos) << e.what();
    }
  }
}

TEST(Script, PointsAtHotWordsByName) {
  std::vector<TScriptCommand> c = ParseScript(
      "click Form1.HyperTxt1 \"second frame\"\n"
      "MOVE Form1.HyperTxt1 \"chime\" right\n"
      "click Form1.HyperTxt1 \"42\"\n"
      "click Form1.HyperTxt1 42 7\n",
      "walk.txt");
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].Verb, svClick);
  EXPECT_EQ(c[0].Control, "HyperTxt1");
  EXPECT_EQ(c[0].HotWord, "second frame");
  EXPECT_EQ(c[1].Verb, svMove);
  EXPECT_EQ(c[1].HotWord, "chime");
  EXPECT_EQ(c[1].Button, host::mbRight);
  EXPECT_EQ(c[2].HotWord, "42");  // quoted: a word, not a point
  EXPECT_EQ(c[3].HotWord, "");
  EXPECT_EQ(c[3].X, 42);

  struct TCase {
    const char* Line;
    const char* Fragment;
  };
  const TCase wrong[] = {
      {"click Form1 \"chime\"", "FORM.CONTROL expected"},
      {"click Form1.HyperTxt1 \"  \"", "Hot word expected"},
      {"click Form1.HyperTxt1 \"chime\" middle", "'right' expected"},
      {"click Form1.HyperTxt1 \"chime\" 5 6", "click FORM.HYPERTXT \"WORD\" [right]"},
  };
  for (const TCase& w : wrong) {
    SCOPED_TRACE(w.Line);
    try {
      ParseScript(w.Line, "walk.txt");
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.Line(), 1);
      EXPECT_NE(std::string(e.what()).find(w.Fragment), std::string::npos) << e.what();
    }
  }
}

TEST(Script, ReadsTheDialogAndDesignVerbs) {
  std::string text =
      "type Dlg.Edit1 \"hello, world # not a comment\"\n"
      "key Dlg.Edit1 Shift+Tab\n"
      "KEY Dlg alt+o\n"
      "key Dlg.List1 F5\n"
      "select Dlg.List1 \"Two words\"\n"
      "select Dlg.List1 3\n"
      "select Dlg.List1 \"3\"\n"
      "check Dlg.Check1 OFF\n"
      "file \"sounds/ding.wav\" other.wav\n"
      "drop THyperTxt Form1 10 20\n"
      "edit Form1.HyperImage1 Action\n"
      "verb Form1.WavePlay1 2\n"
      "dblclick Form1.HyperArea1\n"
      "expert \"Default Settings Expert\"\n"
      "set Form1.HyperTxt1 Font.Color clNavy\n"
      "set Form1 Caption \"A new title\"\n"
      "save\n"
      "menu Dlg.List1 \"&Load\"\n";
  std::vector<TScriptCommand> c = ParseScript(text, "design.txt", TScriptDialect::Studio);
  ASSERT_EQ(c.size(), 18u);
  EXPECT_EQ(c[0].Verb, svType);
  EXPECT_EQ(c[0].Text, "hello, world # not a comment");
  EXPECT_EQ(c[1].Key.Key, host::VK_TAB);
  EXPECT_EQ(c[1].Key.Shift, host::TShiftState{host::ssShift});
  EXPECT_EQ(c[2].Control, "");
  EXPECT_EQ(c[2].Key.Key, 'O');
  EXPECT_EQ(c[2].Key.Shift, host::TShiftState{host::ssAlt});
  EXPECT_EQ(c[2].Key.Text, "o");
  EXPECT_EQ(c[3].Key.Key, host::VK_F1 + 4);
  EXPECT_EQ(c[4].Text, "Two words");
  EXPECT_EQ(c[5].Index, 3);
  EXPECT_EQ(c[5].Text, "");
  EXPECT_EQ(c[6].Text, "3");  // quoted: an item that reads "3"
  EXPECT_FALSE(c[7].Checked);
  EXPECT_EQ(c[8].Files, (std::vector<std::string>{"sounds/ding.wav", "other.wav"}));
  EXPECT_EQ(c[9].ClassName, "THyperTxt");
  EXPECT_EQ(c[9].Form, "Form1");
  EXPECT_EQ(c[9].Y, 20);
  EXPECT_EQ(c[10].Property, "Action");
  EXPECT_EQ(c[11].Index, 2);
  EXPECT_EQ(c[12].Verb, svDblClick);
  EXPECT_EQ(c[13].Text, "Default Settings Expert");
  EXPECT_EQ(c[14].Property, "Font.Color");
  EXPECT_EQ(c[14].Text, "clNavy");
  EXPECT_EQ(c[15].Control, "");
  EXPECT_EQ(c[16].Verb, svSave);
  EXPECT_EQ(c[17].Verb, svMenu);
  EXPECT_EQ(c[17].Control, "List1");
  EXPECT_EQ(c[17].Text, "&Load");

  // The design verbs are the studio's alone.
  EXPECT_THROW(ParseScript("save\n", "run.txt"), host::EParserError);

  const char* wrong[] = {"type Dlg \"x\"",
                         "key Dlg.Edit1 Hyper+X",
                         "key Dlg.Edit1 F13",
                         "select Dlg.List1 -2",
                         "check Dlg.Check1 maybe",
                         "file",
                         "drop THyperTxt Form1 1",
                         "edit Form1.X Font..Color",
                         "verb Form1.X -1",
                         "set Form1.X Width",
                         "save now",
                         "menu Dlg.List1",
                         "menu Dlg \"Save\""};
  for (const char* line : wrong) {
    SCOPED_TRACE(line);
    EXPECT_THROW(ParseScript(line, "design.txt", TScriptDialect::Studio), host::EParserError);
  }
}

}  // namespace
