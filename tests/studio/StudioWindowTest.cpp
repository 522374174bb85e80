// The windowed studio worked as a designer works it: the palette, the frames' windows, the
// inspector and the menus' commands, over a copy of the tour.

#include "apps/studio/StudioWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <filesystem>

#include "apps/studio/PaletteBar.h"
#include "apps/studio/ProjectManager.h"
#include "apps/studio/PropertyPanel.h"
#include "apps/studio/StudioRun.h"
#include "host/FormFile.h"
#include "host/qt/QtBackend.h"
#include "ide/Recovery.h"
#include "ide/Registry.h"
#include "runtime/RuntimeClasses.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using mebrox::studio::QtStudioWindow;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class StudioWindowTest : public testing::Test {
 protected:
  StudioWindowTest() : FOldDir(fs::current_path()) {
    mebrox::RegisterRuntimeClasses();
    mebrox::RegisterStudioPalette(Core);
    fs::copy(MEBROX_TOUR_DIR, Tour(), fs::copy_options::recursive);
    Window = std::make_unique<QtStudioWindow>(
        Core, mebrox::studio::TStudioOptions{QString::fromStdString(FWork.File("studio.ini")), {}});
    Window->OnMessage = [this](const QString& title, const QString& text) {
      Messages.push_back((title + ": " + text).toStdString());
    };
    Window->OnAskSave = [this](const QString& question) {
      Questions.push_back(question.toStdString());
      return Answer;
    };
    Window->PropertyPanel().OnError = [this](const std::string& text) { Messages.push_back(text); };
  }
  ~StudioWindowTest() override {
    Window->OnAskSave = [](const QString&) { return int(QMessageBox::Discard); };
    Window.reset();
    fs::current_path(FOldDir);
  }

  std::string Tour() const { return FWork.Path() + "/tour"; }
  std::string TourFile(const std::string& name) const { return Tour() + "/" + name; }
  void OpenTour() {
    ASSERT_TRUE(Window->OpenProject(QString::fromStdString(TourFile("Tour.dpr"))));
  }
  host::TForm& Form(const char* name) { return *Window->Session()->FindForm(name); }
  QWidget& WindowOf(const char* name) { return *host::qt::WidgetOf(Form(name)); }
  void Trigger(const char* command) { Window->Command(command)->trigger(); }
  // Types into an inspector row and confirms with Enter.
  void TypeIntoRow(const QString& path, const QString& text) {
    // Sub-properties are reached by opening their parents, as a designer does.
    for (int dot = path.indexOf('.'); dot > 0; dot = path.indexOf('.', dot + 1))
      if (QTreeWidgetItem* parent = Window->PropertyPanel().Row(path.left(dot)))
        parent->setExpanded(true);
    QWidget* editor = Window->PropertyPanel().ValueEditor(path);
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (auto* box = qobject_cast<QComboBox*>(editor)) edit = box->lineEdit();
    ASSERT_NE(edit, nullptr) << path.toStdString();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  std::string Text(const char* form) { return host::WriteComponentText(Form(form)); }

  ide::TDesignCore Core;
  TempDir FWork;
  fs::path FOldDir;
  std::unique_ptr<QtStudioWindow> Window;
  std::vector<std::string> Messages, Questions;
  int Answer = QMessageBox::Cancel;
};

TEST_F(StudioWindowTest, OpensTheProjectWithItsPaletteExpertsAndRecentList) {
  OpenTour();
  EXPECT_EQ(Window->windowTitle(), "Mebrox Studio - Tour.dpr");
  for (const char* name : {"Form1", "Form2", "Form3", "Form4"}) {
    EXPECT_TRUE(WindowOf(name).isVisible()) << name;
    EXPECT_NE(Window->OverlayOf(Form(name)), nullptr) << name;
  }
  EXPECT_EQ(Window->CurrentForm(), &Form("Form1"));
  EXPECT_EQ(Window->PropertyPanel().ValueText("Name"), "Form1");

  // The palette's pages, the kit's first, each class in the order it was registered.
  mebrox::studio::QtPaletteBar& palette = Window->Palette();
  ASSERT_EQ(palette.count(), 2);
  EXPECT_EQ(palette.tabText(0), "Mebrox");
  EXPECT_EQ(palette.tabText(1), "Standard");
  std::vector<std::string> shown;
  for (QToolButton* b : palette.widget(0)->findChildren<QToolButton*>())
    shown.push_back(b->objectName().toStdString());
  std::vector<std::string> expected = {"Pointer"};
  for (const host::TClassInfo* cls : Core.Registry().PaletteClasses("Mebrox"))
    expected.push_back(cls->Name());
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(expected.size(), 9u);

  std::vector<std::string> experts, menu;
  for (ide::TIExpert* e : Core.Registry().Experts()) experts.push_back(e->GetMenuText());
  for (QAction* a : Window->ExpertsMenu()->actions()) {
    menu.push_back(a->text().toStdString());
    EXPECT_TRUE(a->isEnabled());
  }
  EXPECT_EQ(menu, experts);
  EXPECT_FALSE(menu.empty());

  // The project is remembered, also by the next studio.
  ASSERT_EQ(Window->RecentMenu()->actions().size(), 1);
  EXPECT_NE(Window->RecentMenu()->actions()[0]->text().toStdString().find(TourFile("Tour.dpr")),
            std::string::npos);
  mebrox::studio::TStudioSettings settings(QString::fromStdString(FWork.File("studio.ini")));
  EXPECT_EQ(settings.RecentProjects(), QStringList{QString::fromStdString(TourFile("Tour.dpr"))});
}

TEST_F(StudioWindowTest, AProjectThatDoesNotLoadNamesTheLineAndLeavesTheOpenOne) {
  OpenTour();
  fs::copy(Tour(), FWork.File("broken"), fs::copy_options::recursive);
  WriteFile(FWork.File("broken/Unit3.dfm"), "object Form3: TForm3\n  Left = wide\nend\n");
  EXPECT_FALSE(Window->OpenProject(QString::fromStdString(FWork.File("broken/Tour.dpr"))));
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("Unit3.dfm(2)"), std::string::npos) << Messages[0];
  ASSERT_NE(Window->Session(), nullptr);
  EXPECT_EQ(Window->Session()->ProjectPath(), TourFile("Tour.dpr"));
  EXPECT_EQ(fs::current_path(), fs::path(Tour()));
  // Still designing.
  Trigger("actNewFrame");
  EXPECT_NE(Window->Session()->FindForm("Form5"), nullptr);
}

TEST_F(StudioWindowTest, ThePaletteDropsWhereTheFrameIsClickedThenGoesBackToThePointer) {
  OpenTour();
  Window->Palette().ButtonOf("THyperTxt")->click();
  ASSERT_NE(Window->Palette().Chosen(), nullptr);
  QTest::mouseClick(&WindowOf("Form2"), Qt::LeftButton, {}, QPoint(40, 400));
  auto* dropped = dynamic_cast<host::TControl*>(Form("Form2").FindComponent("HyperTxt2"));
  ASSERT_NE(dropped, nullptr);
  EXPECT_EQ(dropped->Left(), 40);
  EXPECT_EQ(dropped->Top(), 400);
  EXPECT_EQ(Window->Palette().Chosen(), nullptr);
  EXPECT_EQ(Window->CurrentForm(), &Form("Form2"));
  EXPECT_EQ(Window->PropertyPanel().ValueText("Name"), "HyperTxt2");
  EXPECT_EQ(Window->windowTitle(), "Mebrox Studio - Tour.dpr *");
  EXPECT_TRUE(Window->Command("actUndo")->isEnabled());
  // The next click selects.
  QTest::mouseClick(&WindowOf("Form2"), Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(Form("Form2").FindComponent("HyperTxt3"), nullptr);
}

TEST_F(StudioWindowTest, PaletteButtonsSayWhatEachComponentIsFor) {
  OpenTour();
  int told = 0;
  for (const std::string& page : Core.Registry().PalettePages())
    for (const host::TClassInfo* cls : Core.Registry().PaletteClasses(page)) {
      SCOPED_TRACE(cls->Name());
      QToolButton* button = Window->Palette().ButtonOf(cls->Name());
      ASSERT_NE(button, nullptr);
      // "Hot image: a picture that ...", not the bare class name.
      const QString tip = button->toolTip();
      const QString shown = QString::fromStdString(cls->Name()).mid(1);
      EXPECT_NE(tip, shown);
      EXPECT_TRUE(tip.contains(": ")) << tip.toStdString();
      EXPECT_GT(tip.size(), 25) << tip.toStdString();
      // And a screen reader, which sees no icon, says the same.
      EXPECT_EQ(button->accessibleName().toStdString(), cls->Name());
      EXPECT_EQ(button->accessibleDescription(), tip);
      ++told;
    }
  EXPECT_EQ(told, 14);
  EXPECT_TRUE(Window->Palette().ButtonOf("THyperImage")->toolTip().contains("picture"));
}

TEST_F(StudioWindowTest, AFramesTitleFollowsItsCaptionAsItChanges) {
  OpenTour();
  host::TForm& form = Form("Form2");
  const QString before = WindowOf("Form2").windowTitle();
  EXPECT_EQ(before.toStdString(), form.Caption());
  Window->SetCurrentForm(&form);
  TypeIntoRow("Caption", "Chapter Two");
  EXPECT_EQ(WindowOf("Form2").windowTitle(), "Chapter Two");
  Trigger("actUndo");
  EXPECT_EQ(WindowOf("Form2").windowTitle(), before);
}

// Every kind of change, undone, leaves the form file exactly as it was saved.
TEST_F(StudioWindowTest, UndoAfterEachKindOfChangeRestoresTheSavedFormFile) {
  OpenTour();
  host::TForm& form = Form("Form1");
  ide::TFormDesigner& designer = Window->Session()->FormDesignerOf(form);
  Window->SetCurrentForm(&form);
  // The studio writes form files its own way; the first save of the tour's hand-written file
  // already gives that text.
  const std::string saved = Text("Form1");
  auto select = [&](const char* name) { designer.Select(form.FindComponent(name)); };
  const std::vector<std::pair<std::string, std::function<void()>>> changes = {
      {"drop",
       [&] {
         Window->Palette().ButtonOf("TLabel")->click();
         QTest::mouseClick(&WindowOf("Form1"), Qt::LeftButton, {}, QPoint(300, 420));
       }},
      {"move",
       [&] {
         select("Title1"), QTest::keyClick(&WindowOf("Form1"), Qt::Key_Right, Qt::ControlModifier);
       }},
      {"size",
       [&] {
         select("HyperTxt1"), QTest::keyClick(&WindowOf("Form1"), Qt::Key_Down, Qt::ShiftModifier);
       }},
      {"property", [&] { select("HyperTxt1"), TypeIntoRow("Width", "500"); }},
      {"font colour", [&] { select("HyperTxt1"), TypeIntoRow("Font.Color", "clRed"); }},
      {"delete", [&] { select("Bookmark1"), Trigger("actDelete"); }},
      {"cut", [&] { select("Title1"), Trigger("actCut"); }},
      {"paste", [&] { select("WavePlay1"), Trigger("actCopy"), Trigger("actPaste"); }},
      {"to the back", [&] { select("HyperTxt1"), Trigger("actBack"); }},
      {"form caption", [&] { designer.Select(nullptr), TypeIntoRow("Caption", "Other"); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    change();
    ASSERT_TRUE(Window->Session()->Modified());
    ASSERT_TRUE(Messages.empty()) << Messages.front();
    Window->Session()->Save();
    ASSERT_NE(ReadFile(TourFile("Unit1.dfm")), saved);
    Trigger("actUndo");
    Window->Session()->Save();
    EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")), saved);
  }
  // And redo makes the last change again.
  Trigger("actRedo");
  EXPECT_EQ(form.Caption(), "Other");
}

// File > Remove Frame asks, naming the hot words that still go to the frame; its window goes,
// and Edit > Undo, from whichever frame is designed, brings it back where it was.
TEST_F(StudioWindowTest, ARemovedFramesWindowGoesAndUndoBringsItBack) {
  OpenTour();
  std::vector<std::string> asked;
  bool yes = false;
  Window->OnConfirm = [&](const QString&, const QString& question) {
    asked.push_back(question.toStdString());
    return yes;
  };
  const QPoint place = WindowOf("Form3").pos();
  Window->SetCurrentForm(&Form("Form3"));
  Trigger("actRemoveFrame");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("Still going to it: Form2.HyperTxt1"), std::string::npos) << asked[0];
  EXPECT_NE(asked[0].find("Its files stay on disk, and Undo brings it back."), std::string::npos)
      << asked[0];
  ASSERT_NE(Window->Session()->FindForm("Form3"), nullptr);

  yes = true;
  Trigger("actRemoveFrame");
  EXPECT_EQ(Window->Session()->FindForm("Form3"), nullptr);
  EXPECT_NE(Window->CurrentForm(), nullptr);
  EXPECT_EQ(Window->ProjectManager().findItems("Unit3", Qt::MatchStartsWith).size(), 0);
  EXPECT_EQ(Window->windowTitle(), "Mebrox Studio - Tour.dpr *");
  EXPECT_EQ(Window->Command("actUndo")->text(), "&Undo Remove Frame Form3");

  Trigger("actUndo");
  ASSERT_NE(Window->Session()->FindForm("Form3"), nullptr);
  EXPECT_TRUE(WindowOf("Form3").isVisible());
  EXPECT_EQ(WindowOf("Form3").pos(), place);
  EXPECT_EQ(Window->ProjectManager().findItems("Unit3", Qt::MatchStartsWith).size(), 1);
  // The frame is designed again as before.
  Window->SetCurrentForm(&Form("Form3"));
  Window->Palette().ButtonOf("TLabel")->click();
  QTest::mouseClick(&WindowOf("Form3"), Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_NE(Form("Form3").FindComponent("Label1"), nullptr);
  EXPECT_TRUE(Messages.empty()) << Messages.front();

  // Changed since it was saved, its files do not hold all of it, and the question says so.
  Trigger("actRemoveFrame");
  EXPECT_NE(asked.back().find("Its files stay on disk as last saved: the changes made since are "
                              "kept only until the studio closes"),
            std::string::npos)
      << asked.back();
  Trigger("actUndo");

  // A frame never saved has no files to fall back on, and the question says so.
  Window->SetCurrentForm(Window->NewFrame());
  Trigger("actRemoveFrame");
  EXPECT_NE(asked.back().find("It has never been saved"), std::string::npos) << asked.back();
  EXPECT_EQ(Window->Session()->FindForm("Form5"), nullptr);
}

// Another project's frame is chosen in the File menu's file picker and joins the project; the
// designer is told which files came into the project folder, and Edit > Undo names the step.
TEST_F(StudioWindowTest, AnotherProjectsFrameIsAddedAndTheCopiedFilesAreSaid) {
  OpenTour();
  const std::string other = FWork.File("other");
  fs::create_directories(other);
  WriteFile(other + "/Extra.pas", "unit Extra;\ntype\n  TExtra = class(TForm)\n  end;\nend.\n");
  WriteFile(other + "/Extra.dfm", "object Extra: TExtra\n  Caption = 'From elsewhere'\nend\n");
  QString title;
  Window->OnChooseFile = [&](bool save, const QString& asked, const QString& filter) {
    EXPECT_FALSE(save);
    title = asked + " " + filter;
    return QString::fromStdString(other + "/Extra.pas");
  };
  Trigger("actAddFrame");
  EXPECT_EQ(title.toStdString(), "Add Existing Frame Frame units (*.pas)");
  ASSERT_NE(Window->Session()->FindForm("Extra"), nullptr);
  EXPECT_EQ(Window->CurrentForm(), &Form("Extra"));
  EXPECT_TRUE(WindowOf("Extra").isVisible());
  EXPECT_EQ(Messages, (std::vector<std::string>{
                          "Add Existing Frame: Extra came from another folder: copied into the "
                          "project folder are Extra.pas, Extra.dfm."}));
  EXPECT_EQ(Window->Command("actUndo")->text(), "&Undo Add Frame Extra");
  Trigger("actUndo");
  EXPECT_EQ(Window->Session()->FindForm("Extra"), nullptr);
  // Chosen again, the copy now beside the project is the frame itself.
  Window->OnChooseFile = [&](bool, const QString&, const QString&) {
    return QString::fromStdString(TourFile("Extra.pas"));
  };
  Messages.clear();
  Trigger("actAddFrame");
  ASSERT_NE(Window->Session()->FindForm("Extra"), nullptr);
  EXPECT_TRUE(Messages.empty()) << Messages.front();
}

TEST_F(StudioWindowTest, TheInspectorRefusesValuesThatAreNoneAndTheComponentKeepsItsOwn) {
  OpenTour();
  host::TForm& form = Form("Form1");
  auto& text = dynamic_cast<host::TControl&>(*form.FindComponent("HyperTxt1"));
  Window->Session()->FormDesignerOf(form).Select(&text);
  TypeIntoRow("Width", "wide");
  TypeIntoRow("Font.Color", "clPuce");
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_NE(Messages[0].find("wide"), std::string::npos) << Messages[0];
  EXPECT_NE(Messages[1].find("clPuce"), std::string::npos) << Messages[1];
  EXPECT_EQ(text.Width(), 592);
  EXPECT_EQ(Window->PropertyPanel().ValueText("Width"), "592");
  EXPECT_EQ(Window->PropertyPanel().ValueText("Font.Color"), "clBlack");
  EXPECT_FALSE(Window->Session()->Modified());

  // A move with the keyboard shows in the inspector at once.
  QTest::keyClick(&WindowOf("Form1"), Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Window->PropertyPanel().ValueText("Left"), "23");
}

// A right click offers the component editor's verbs first, then the edit commands.
TEST_F(StudioWindowTest, TheContextMenuHoldsTheComponentsVerbs) {
  OpenTour();
  QStringList entries;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) entries << a->text();
    menu->close();
  });
  auto& player = *Form("Form1").FindComponent("WavePlay1");
  QTest::mouseClick(&WindowOf("Form1"), Qt::RightButton, {},
                    QPoint(player.DesignLeft() + 10, player.DesignTop() + 10));
  ASSERT_GE(entries.size(), 6);
  std::unique_ptr<ide::TComponentEditor> editor =
      ide::CreateComponentEditor(player, Window->Session()->FormDesignerOf(Form("Form1")));
  for (int i = 0; i < editor->GetVerbCount(); ++i)
    EXPECT_EQ(entries[i].toStdString(), editor->GetVerb(i));
  EXPECT_EQ(entries.mid(editor->GetVerbCount()), (QStringList{"Cu&t", "&Copy", "&Paste", "&Delete",
                                                              "Bring to &Front", "Send to &Back"}));
  EXPECT_EQ(Window->PropertyPanel().ValueText("Name"), "WavePlay1");
}

TEST_F(StudioWindowTest, ClosingWithUnsavedChangesAsksFirst) {
  OpenTour();
  const std::string unit1 = ReadFile(TourFile("Unit1.dfm"));
  Window->SetCurrentForm(&Form("Form1"));
  Window->Session()->FormDesignerOf(Form("Form1")).Select(Form("Form1").FindComponent("Title1"));
  Trigger("actDelete");

  Answer = QMessageBox::Cancel;
  EXPECT_FALSE(Window->CloseProject());
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0], "Save the changes to Tour.dpr?");
  ASSERT_NE(Window->Session(), nullptr);

  Answer = QMessageBox::Discard;
  EXPECT_TRUE(Window->CloseProject());
  EXPECT_EQ(Window->Session(), nullptr);
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")), unit1);
  EXPECT_EQ(Window->windowTitle(), "Mebrox Studio");
  EXPECT_FALSE(Window->Command("actSave")->isEnabled());

  // Saving on the way out writes the change.
  OpenTour();
  Window->SetCurrentForm(&Form("Form1"));
  Window->Session()->FormDesignerOf(Form("Form1")).Select(Form("Form1").FindComponent("Title1"));
  Trigger("actDelete");
  Answer = QMessageBox::Save;
  EXPECT_TRUE(Window->CloseProject());
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("Title1"), std::string::npos);
}

TEST_F(StudioWindowTest, ANewProjectGetsFramesAndIsSavedElsewhereWithItsFiles) {
  fs::create_directory(FWork.File("app"));
  QString project = QString::fromStdString(FWork.File("app/Shop.dpr"));
  ASSERT_TRUE(Window->NewProject(project));
  EXPECT_TRUE(fs::exists(FWork.File("app/Unit1.pas")));
  EXPECT_TRUE(fs::exists(FWork.File("app/Unit1.dfm")));
  EXPECT_FALSE(Window->NewProject(project));
  EXPECT_NE(Messages.back().find("exists already"), std::string::npos) << Messages.back();

  Trigger("actNewFrame");
  ASSERT_NE(Window->Session()->FindForm("Form2"), nullptr);
  EXPECT_EQ(Window->CurrentForm(), Window->Session()->FindForm("Form2"));
  WriteFile(FWork.File("app/words.wls"), "~\r\n");

  fs::create_directory(FWork.File("copy"));
  ASSERT_TRUE(Window->SaveProjectAs(QString::fromStdString(FWork.File("copy/Market.dpr"))));
  for (const char* file :
       {"Market.dpr", "Unit1.pas", "Unit1.dfm", "Unit2.pas", "Unit2.dfm", "words.wls"})
    EXPECT_TRUE(fs::exists(FWork.File(std::string("copy/") + file))) << file;
  EXPECT_FALSE(fs::exists(FWork.File("app/Unit2.pas")));
  std::string dpr = ReadFile(FWork.File("copy/Market.dpr"));
  EXPECT_TRUE(dpr.starts_with("program Market;")) << dpr;
  EXPECT_NE(dpr.find("Unit2 in 'Unit2.pas' {Form2}"), std::string::npos) << dpr;
  EXPECT_EQ(Window->windowTitle(), "Mebrox Studio - Market.dpr");
  EXPECT_FALSE(Window->Session()->Modified());
  EXPECT_EQ(fs::current_path(), fs::path(FWork.File("copy")));

  // The copy is designed from now on: a new frame joins it, not the original.
  Trigger("actNewFrame");
  Trigger("actSave");
  EXPECT_TRUE(fs::exists(FWork.File("copy/Unit3.dfm")));
  EXPECT_FALSE(fs::exists(FWork.File("app/Unit3.dfm")));
  // A copy is never written over files that are there.
  EXPECT_FALSE(Window->SaveProjectAs(QString::fromStdString(FWork.File("app/Other.dpr"))));
  EXPECT_NE(Messages.back().find("holds files of these names already, which the project would "
                                 "write over: Unit1.pas, Unit1.dfm, words.wls"),
            std::string::npos)
      << Messages.back();

  QStringList recent =
      mebrox::studio::TStudioSettings(QString::fromStdString(FWork.File("studio.ini")))
          .RecentProjects();
  EXPECT_EQ(recent, (QStringList{QString::fromStdString(FWork.File("copy/Market.dpr")), project}));
}

TEST_F(StudioWindowTest, RunSavesStartsTheApplicationAndShowsWhyItFailed) {
  std::string runner = FWork.File("fake-run");
  WriteFile(runner, "#!/bin/sh\necho \"$@\" > \"" + FWork.File("args") +
                        "\"\necho 'Unit2.dfm(3): something is wrong' >&2\nexit 1\n");
  fs::permissions(runner, fs::perms::owner_all);
  Window = std::make_unique<QtStudioWindow>(
      Core, mebrox::studio::TStudioOptions{QString::fromStdString(FWork.File("studio.ini")),
                                           QString::fromStdString(runner)});
  Window->OnMessage = [this](const QString& title, const QString& text) {
    Messages.push_back((title + ": " + text).toStdString());
  };
  OpenTour();
  Window->SetCurrentForm(&Form("Form1"));
  Window->Session()->FormDesignerOf(Form("Form1")).Select(Form("Form1").FindComponent("Title1"));
  Trigger("actDelete");
  Trigger("actRun");
  EXPECT_FALSE(Window->Session()->Modified());
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("Title1"), std::string::npos);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Messages.empty(); }, 10000));
  EXPECT_EQ(ReadFile(FWork.File("args")), TourFile("Tour.dpr") + "\n");
  EXPECT_NE(Messages[0].find("Unit2.dfm(3): something is wrong"), std::string::npos) << Messages[0];
  EXPECT_NE(Messages[0].find("code 1"), std::string::npos) << Messages[0];
}

// File > Publish to Web saves, asks for a folder, leaves a folder that is not empty alone unless
// the designer says to replace it, and tells what mebrox-run said, good or bad.
TEST_F(StudioWindowTest, PublishSavesAsksForAFolderAndTellsWhatTheExportSaid) {
  std::string runner = FWork.File("fake-run");
  WriteFile(runner, "#!/bin/sh\necho \"$@\" > \"" + FWork.File("args") +
                        "\"\necho 'Published it'\necho 'Unit1.dfm(44): warning: a program' >&2\n"
                        "[ -e \"" +
                        FWork.File("fail") +
                        "\" ] && { echo 'Unit4.dfm(9): broken' >&2; "
                        "exit 1; }\nexit 0\n");
  fs::permissions(runner, fs::perms::owner_all);
  Window = std::make_unique<QtStudioWindow>(
      Core, mebrox::studio::TStudioOptions{QString::fromStdString(FWork.File("studio.ini")),
                                           QString::fromStdString(runner)});
  Window->OnMessage = [this](const QString& title, const QString& text) {
    Messages.push_back((title + ": " + text).toStdString());
  };
  QString folder;
  bool replace = false;
  std::vector<std::string> asked;
  Window->OnChooseFolder = [&](const QString&) { return folder; };
  Window->OnConfirm = [&](const QString&, const QString& question) {
    asked.push_back(question.toStdString());
    return replace;
  };
  EXPECT_FALSE(Window->Command("actPublish")->isEnabled());
  OpenTour();
  ASSERT_TRUE(Window->Command("actPublish")->isEnabled());
  const std::string web = FWork.File("web"), project = TourFile("Tour.dpr");

  auto publish = [&]() -> std::string {
    Messages.clear();
    fs::remove(FWork.File("args"));
    Trigger("actPublish");
    if (Window->PublishProcess().state() == QProcess::NotRunning) return "not started";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Messages.empty(); }, 10000));
    return Messages.empty() ? "no message" : ReadFile(FWork.File("args"));
  };

  // Cancelled: nothing runs; what was changed is saved first all the same.
  Window->SetCurrentForm(&Form("Form1"));
  Window->Session()->FormDesignerOf(Form("Form1")).Select(Form("Form1").FindComponent("Title1"));
  Trigger("actDelete");
  EXPECT_EQ(publish(), "not started");
  EXPECT_FALSE(Window->Session()->Modified());
  EXPECT_EQ(ReadFile(TourFile("Unit1.dfm")).find("Title1"), std::string::npos);

  folder = QString::fromStdString(web);
  EXPECT_EQ(publish(), "--export-html " + web + " " + project + "\n");
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], "Publish to Web: Published it\n\nUnit1.dfm(44): warning: a program");

  fs::create_directories(web);
  WriteFile(web + "/keep.txt", "mine");
  EXPECT_EQ(publish(), "not started");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find(web + " is not empty"), std::string::npos) << asked[0];
  replace = true;
  EXPECT_EQ(publish(), "--export-html " + web + " --force " + project + "\n");

  WriteFile(FWork.File("fail"), "");
  publish();
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0],
            "Publish to Web: Nothing was published.\nUnit1.dfm(44): warning: a "
            "program\nUnit4.dfm(9): broken");
}

// The studio publishes through the real mebrox-run: the folder holds the page.
TEST_F(StudioWindowTest, PublishWritesTheWebFolder) {
  Window = std::make_unique<QtStudioWindow>(
      Core, mebrox::studio::TStudioOptions{QString::fromStdString(FWork.File("studio.ini")),
                                           MEBROX_RUN_PROGRAM});
  Window->OnMessage = [this](const QString& title, const QString& text) {
    Messages.push_back((title + ": " + text).toStdString());
  };
  Window->OnChooseFolder = [this](const QString&) {
    return QString::fromStdString(FWork.File("site"));
  };
  OpenTour();
  ASSERT_TRUE(Window->PublishProject());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Messages.empty(); }, 20000));
  EXPECT_TRUE(Messages[0].starts_with("Publish to Web: Published ")) << Messages[0];
  EXPECT_NE(ReadFile(FWork.File("site/index.html")).find("id=\"Form4\""), std::string::npos);
}

}  // namespace

// Soon after a change, what the designer has not saved is kept in a recovery file, written away
// from the window; a save or closing with Discard takes it away again, a crash would leave it.
TEST_F(StudioWindowTest, UnsavedChangesAreKeptSoonAfterAndGoWithSaveOrDiscard) {
  OpenTour();
  const std::string recovery = ide::RecoveryFileFor(TourFile("Tour.dpr"));
  EXPECT_FALSE(Window->AutosaveTimer().isActive());
  Window->SetCurrentForm(&Form("Form1"));
  Window->Session()->FormDesignerOf(Form("Form1")).Select(Form("Form1").FindComponent("Title1"));
  Trigger("actDelete");
  ASSERT_TRUE(Window->AutosaveTimer().isActive());
  EXPECT_LE(Window->AutosaveTimer().interval(), mebrox::studio::QtStudioWindow::AutosavePause);
  Window->Autosave();
  Window->Session()->WaitForRecovery();
  ASSERT_TRUE(fs::exists(recovery));
  ide::TRecovery kept = ide::ParseRecovery(ReadFile(recovery), recovery);
  EXPECT_EQ(kept.Frames, (std::vector<std::string>{"Form1"}));
  EXPECT_EQ(fs::status(recovery).permissions() & fs::perms::mask, fs::perms(0600));

  Trigger("actSave");
  EXPECT_FALSE(fs::exists(recovery));
  Trigger("actUndo");
  Window->Autosave();
  Window->Session()->WaitForRecovery();
  EXPECT_TRUE(fs::exists(recovery));
  Answer = QMessageBox::Discard;
  EXPECT_TRUE(Window->CloseProject());
  EXPECT_FALSE(fs::exists(recovery));
  EXPECT_FALSE(Window->AutosaveTimer().isActive());
}
