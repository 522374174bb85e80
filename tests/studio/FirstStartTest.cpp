// The studio's first start without a project: where it finds the examples, what it copies
// into the documents folder, and the new project it makes there.

#include "apps/studio/FirstStart.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioSettings.h"
#include "apps/studio/StudioWindow.h"
#include "ide/Registry.h"
#include "runtime/RuntimeClasses.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using mebrox::studio::QtStudioWindow;
using mebrox::studio::TFirstStartChoice;
using mebrox::studio::TFirstStartPlaces;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

void MakeProject(const std::string& folder, const std::string& name) {
  fs::create_directories(folder);
  WriteFile(folder + "/" + name + ".dpr", "program " + name + ";\nbegin\nend.\n");
}

// Where the examples are found from the program's folder, in each layout the programs run in.
TEST(FirstStart, ExamplesAreFoundBesideTheProgram) {
  struct TCase {
    const char* Why;
    std::vector<std::string> Projects;  // folder/name under the root
    const char* ProgramDir;
    const char* Expected;  // under the root; empty: none
  };
  const TCase cases[] = {
      {"installed, or unpacked anywhere",
       {"usr/share/mebrox/examples/tour/Tour"},
       "usr/bin",
       "usr/share/mebrox/examples"},
      {"in the build tree", {"build/examples/tour/Tour"}, "build/apps/studio", "build/examples"},
      {"an examples folder without a project is none", {}, "usr/bin", ""},
      {"a project right in the examples folder is not an example",
       {"usr/share/mebrox/examples/Tour"},
       "usr/bin",
       ""},
  };
  for (const TCase& c : cases) {
    TempDir root;
    fs::create_directories(root.File("usr/share/mebrox/examples"));
    fs::create_directories(root.File(c.ProgramDir));
    for (const std::string& project : c.Projects) {
      fs::path p = root.File(project);
      MakeProject(p.parent_path().string(), p.filename().string());
    }
    QString found = mebrox::studio::ExamplesBeside(Q(root.File(c.ProgramDir)));
    EXPECT_EQ(found.toStdString(), *c.Expected ? root.File(c.Expected) : "") << c.Why;
  }
}

TEST(FirstStart, OfferedOnlyWhileNoProjectWasEverOpened) {
  TempDir work;
  QString settings = Q(work.File("studio.ini"));
  EXPECT_TRUE(mebrox::studio::ShouldOfferFirstStart(settings));
  mebrox::studio::TStudioSettings(settings).AddRecentProject(Q(work.File("Old/Old.dpr")));
  EXPECT_FALSE(mebrox::studio::ShouldOfferFirstStart(settings));
}

// The documents folder is the one the user's XDG user directories name.
TEST(FirstStart, WorksInTheUsersDocumentsFolder) {
  TempDir home;
  std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  std::string savedConfig = oldConfig ? oldConfig : "";
  ::setenv("HOME", home.Path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
  fs::create_directories(home.File("config"));
  WriteFile(home.File("config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n");
  fs::create_directories(home.File("Papiers"));
  TFirstStartPlaces places = mebrox::studio::UserFirstStartPlaces();
  ::setenv("HOME", oldHome.c_str(), 1);
  if (oldConfig)
    ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(places.WorkFolder.toStdString(), home.File("Papiers/Mebrox"));
}

class FirstStartWindowTest : public testing::Test {
 public:
  FirstStartWindowTest() : FOldDir(fs::current_path()) {
    mebrox::RegisterRuntimeClasses();
    mebrox::RegisterStudioPalette(Core);
    fs::copy(MEBROX_TOUR_DIR, FExamples.File("tour"), fs::copy_options::recursive);
    // What a run in the build tree leaves beside the tour is not part of the example.
    WriteFile(FExamples.File("tour/Tour.RUN"), "[Marked]\r\nAt=TForm3\r\n");
    Places.Examples = Q(FExamples.Path());
    Places.WorkFolder = Q(FDocuments.File("Mebrox"));
    Window = std::make_unique<QtStudioWindow>(
        Core, mebrox::studio::TStudioOptions{Q(FDocuments.File("studio.ini")), {}});
    Window->OnMessage = [this](const QString& title, const QString& text) {
      Messages.push_back((title + ": " + text).toStdString());
    };
  }
  ~FirstStartWindowTest() override {
    Window.reset();
    fs::current_path(FOldDir);
  }
  std::string Opened() const {
    return Window->Session() ? Window->Session()->ProjectPath() : std::string();
  }
  std::string Work(const std::string& name) const { return FDocuments.File("Mebrox/" + name); }

  ide::TDesignCore Core;
  TempDir FExamples;
  TempDir FDocuments;
  fs::path FOldDir;
  TFirstStartPlaces Places;
  std::unique_ptr<QtStudioWindow> Window;
  std::vector<std::string> Messages;
};

TEST_F(FirstStartWindowTest, TheExamplesAreCopiedOnceAndOpenedThere) {
  ASSERT_TRUE(CarryOutFirstStart(*Window, TFirstStartChoice::OpenExamples, Places));
  EXPECT_EQ(Opened(), Work("Examples/tour/Tour.dpr"));
  EXPECT_EQ(ReadFile(Work("Examples/tour/Unit4.dfm")), ReadFile(FExamples.File("tour/Unit4.dfm")));
  EXPECT_FALSE(fs::exists(Work("Examples/tour/Tour.RUN")));
  EXPECT_NE(fs::status(Work("Examples/tour/hello.sh")).permissions() & fs::perms::owner_exec,
            fs::perms::none);
  EXPECT_FALSE(fs::exists(Work("Examples/.tour.partial")));
  EXPECT_TRUE(Messages.empty()) << Messages.front();

  // The designer's changes to the copy stay: a second start opens it as it is.
  ASSERT_TRUE(Window->CloseProject());
  WriteFile(Work("Examples/tour/Intro.txt"), "my own words\n");
  ASSERT_TRUE(CarryOutFirstStart(*Window, TFirstStartChoice::OpenExamples, Places));
  EXPECT_EQ(Opened(), Work("Examples/tour/Tour.dpr"));
  EXPECT_EQ(ReadFile(Work("Examples/tour/Intro.txt")), "my own words\n");
}

TEST_F(FirstStartWindowTest, ACopyCutShortIsMadeAgain) {
  // Left by a studio that died while copying, and a folder of that name without the project.
  MakeProject(Work("Examples/.tour.partial"), "Tour");
  fs::create_directories(Work("Examples/tour"));
  ASSERT_TRUE(CarryOutFirstStart(*Window, TFirstStartChoice::OpenExamples, Places));
  EXPECT_EQ(Opened(), Work("Examples/tour/Tour.dpr"));
  EXPECT_TRUE(fs::exists(Work("Examples/tour/Unit4.dfm")));
  EXPECT_FALSE(fs::exists(Work("Examples/.tour.partial")));
}

TEST_F(FirstStartWindowTest, ANewProjectTakesTheFirstFreeName) {
  fs::create_directories(Work("Project1"));
  ASSERT_TRUE(CarryOutFirstStart(*Window, TFirstStartChoice::NewProject, Places));
  EXPECT_EQ(Opened(), Work("Project2/Project2.dpr"));
  EXPECT_TRUE(fs::exists(Work("Project2/Unit1.dfm")));
  EXPECT_TRUE(fs::is_empty(Work("Project1")));
}

TEST_F(FirstStartWindowTest, WhatCannotBeDoneIsSaidAndNothingOpens) {
  struct TCase {
    const char* Why;
    TFirstStartChoice Choice;
    std::function<void(FirstStartWindowTest&)> Arrange;
    const char* Message;  // the start of the one message expected; empty: none
  };
  const TCase cases[] = {
      {"not now", TFirstStartChoice::NotNow, [](FirstStartWindowTest&) {}, ""},
      {"no examples beside the program", TFirstStartChoice::OpenExamples,
       [](FirstStartWindowTest& t) { t.Places.Examples.clear(); },
       "Examples: No examples were installed"},
      {"a file where the documents folder should be", TFirstStartChoice::OpenExamples,
       [](FirstStartWindowTest& t) { WriteFile(t.Places.WorkFolder.toStdString(), "a file"); },
       "Examples: The example could not be copied"},
      {"a file where the documents folder should be", TFirstStartChoice::NewProject,
       [](FirstStartWindowTest& t) { WriteFile(t.Places.WorkFolder.toStdString(), "a file"); },
       "New Project: The folder"},
  };
  for (const TCase& c : cases) {
    Messages.clear();
    TFirstStartPlaces saved = Places;
    c.Arrange(*this);
    EXPECT_FALSE(CarryOutFirstStart(*Window, c.Choice, Places)) << c.Why;
    EXPECT_EQ(Opened(), "") << c.Why;
    if (*c.Message) {
      ASSERT_EQ(Messages.size(), 1u) << c.Why;
      EXPECT_TRUE(Messages[0].starts_with(c.Message)) << c.Why << ": " << Messages[0];
    } else {
      EXPECT_TRUE(Messages.empty()) << c.Why;
    }
    fs::remove(Places.WorkFolder.toStdString());
    Places = saved;
  }
  EXPECT_FALSE(fs::exists(Work("")));
}

// The offer's buttons do what they say, and without examples it offers none.
TEST_F(FirstStartWindowTest, TheOfferAsksWithoutBlockingTheWindow) {
  QMessageBox* box = OfferFirstStart(*Window, Places);
  ASSERT_TRUE(box->isVisible());
  EXPECT_NE(box->informativeText().indexOf(Places.WorkFolder), -1);
  box->findChild<QPushButton*>("NewProject")->click();
  EXPECT_EQ(Opened(), Work("Project1/Project1.dpr"));
  ASSERT_TRUE(Window->CloseProject());

  Places.Examples.clear();
  box = OfferFirstStart(*Window, Places);
  EXPECT_EQ(box->findChild<QPushButton*>("OpenExamples"), nullptr);
  box->findChild<QPushButton*>("NotNow")->click();
  EXPECT_EQ(Opened(), "");
  EXPECT_TRUE(Messages.empty());
}

}  // namespace
