#include "runtime/FileReferences.h"

#include <gtest/gtest.h>

#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/WavePly.h"
#include "tests/TestSupport.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace mebrox;

namespace {

std::vector<std::string> Described(host::TComponent& component) {
  std::vector<std::string> out;
  for (const TFileReference& r : FileReferencesOf(component))
    out.push_back(r.Subject + " -> " + r.Path + " " + std::to_string(static_cast<int>(r.Kind)));
  return out;
}

}  // namespace

// What each kind of component names, as the run would look for it: a copy of the project and
// the check both go by this list.
TEST(FileReferencesTest, EachComponentNamesTheFilesItsRunOpensOrStarts) {
  testing_support::TempDir dir;
  testing_support::Frames app(1);
  const std::string lists = dir.File("a.wls");
  testing_support::WriteFile(lists, "Run\r\n3\r\n/opt/tool\r\n~\r\nGo\r\n1\r\nForm2\r\n~\r\n");

  TWavePlay wave(&app[1]);
  wave.SetName("WavePlay1");
  EXPECT_TRUE(Described(wave).empty());
  wave.SetWaveName("media/chime.wav");
  wave.SetWorkDir("/srv/sounds");
  EXPECT_EQ(Described(wave),
            (std::vector<std::string>{"WavePlay1.WaveName -> /srv/sounds/media/chime.wav 0"}));

  THyperArea area(&app[1]);
  area.SetName("HyperArea1");
  area.Action().SetActionType(acExecute);
  area.Action().SetFileToRun("run.sh");
  EXPECT_EQ(Described(area), (std::vector<std::string>{"HyperArea1.Action.FileToRun -> run.sh 3"}));
  area.Action().SetActionType(acFrame);
  EXPECT_TRUE(Described(area).empty());

  THyperTxt text(&app[1]);
  text.SetName("HyperTxt1");
  text.SetLinesLists(host::TStringList{"texts/one.txt"});
  text.SetWordsLists(host::TStringList{lists, dir.File("missing.wls")});
  text.Words().Clear();
  text.Words().NewWord("Start", "3", "bin/start.sh");
  EXPECT_EQ(Described(text), (std::vector<std::string>{
                                 "HyperTxt1.LinesLists -> texts/one.txt 1",
                                 "HyperTxt1.WordsLists -> " + lists + " 2",
                                 lists + " \"Run\" -> /opt/tool 3",
                                 "HyperTxt1.WordsLists -> " + dir.File("missing.wls") + " 2",
                                 "HyperTxt1.Words \"Start\" -> bin/start.sh 3",
                             }));
}

TEST(FileReferencesTest, OnlyPathsResolvingOutsideTheFolderLeaveIt) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("local"), "#!/bin/sh\n");
  const struct {
    std::string Path;
    TFileKind Kind;
    bool Leaves;
  } cases[] = {
      {"chime.wav", TFileKind::Wave, false},
      {"media/../chime.wav", TFileKind::Wave, false},
      {"../chime.wav", TFileKind::Wave, true},
      {"/elsewhere/chime.wav", TFileKind::Wave, true},
      {dir.File("media/chime.wav"), TFileKind::Wave, false},
      // Named bare and not in the folder: looked for on the PATH.
      {"xdg-open", TFileKind::Program, false},
      {"local", TFileKind::Program, false},
      {"/usr/bin/xdg-open", TFileKind::Program, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LeavesFolder({"X", c.Path, c.Kind}, dir.Path()), c.Leaves) << c.Path;
}
