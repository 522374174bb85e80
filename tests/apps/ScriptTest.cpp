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

}  // namespace
