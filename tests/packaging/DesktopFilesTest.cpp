// What the desktop learns about the kit: its desktop entries, AppStream metainfo, icons and the
// MIME type of its projects, checked by the desktop's own tools.

#include <gtest/gtest.h>

#include <QMimeDatabase>
#include <filesystem>

#include "tests/packaging/PackagingSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Described;
using testing_support::KeyValue;
using testing_support::ReadFile;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::TProcessResult;
using testing_support::WriteFile;

const std::string Sources = MEBROX_SOURCE_DIR "/packaging";
const std::string Built = MEBROX_PACKAGING_OUTPUT;

TEST(DesktopFiles, EntriesValidateAndNameWhatIsInstalled) {
  struct TCase {
    const char* Entry;
    const char* Program;
    bool InMenus;
  };
  const TCase cases[] = {{"org.mebrox.studio.desktop", "mebrox-studio", true},
                         {"org.mebrox.player.desktop", "mebrox-run", false}};
  TempDir work;
  for (const TCase& c : cases) {
    std::string path = Sources + "/" + c.Entry;
    TProcessResult r = RunProcess("/usr/bin/desktop-file-validate", {path}, work.Path());
    EXPECT_EQ(r.ExitCode, 0) << Described(r);
    EXPECT_EQ(r.Out + r.Err, "") << c.Entry;
    std::string entry = ReadFile(path);
    EXPECT_EQ(KeyValue(entry, "Exec"), std::string(c.Program) + " %f") << c.Entry;
    EXPECT_EQ(KeyValue(entry, "MimeType"), "application/x-mebrox-project;") << c.Entry;
    EXPECT_EQ(KeyValue(entry, "NoDisplay") != "true", c.InMenus) << c.Entry;
    // The icon it names is drawn, and rendered at every size the desktop looks for.
    std::string icon = KeyValue(entry, "Icon");
    EXPECT_TRUE(fs::exists(Sources + "/icons/" + icon + ".svg")) << icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
      std::string png = Built + "/icons/" + std::to_string(size) + "x" + std::to_string(size) +
                        "/" + icon + ".png";
      EXPECT_EQ(testing_support::PngSize(png), std::make_pair(size, size)) << png;
    }
  }
}

TEST(DesktopFiles, MetainfoValidatesAndDescribesThisRelease) {
  std::string metainfo = Built + "/org.mebrox.studio.metainfo.xml";
  TempDir work;
  TProcessResult r = RunProcess("/usr/bin/appstreamcli",
                                {"validate", "--no-net", "--pedantic", metainfo}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  // Not even a pedantic remark: only the line that says it passed.
  EXPECT_EQ(r.Out.find(": "), std::string::npos) << Described(r);
  std::string text = ReadFile(metainfo);
  EXPECT_NE(text.find("<release version=\"" MEBROX_VERSION "\""), std::string::npos);
  EXPECT_NE(text.find("<launchable type=\"desktop-id\">org.mebrox.studio.desktop</launchable>"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(Sources + "/org.mebrox.studio.desktop"));
}

// A Mebrox project file is a Pascal project file: its name claims nothing, its content does.
// Both of the desktop's readers of the MIME database, Qt's and GLib's, must agree.
TEST(MimeType, ProjectsAreKnownByContentNotByNameAlone) {
  TempDir data;
  TempDir home;
  TempDir files;
  fs::create_directories(data.File("mime/packages"));
  fs::copy_file(Sources + "/mebrox.xml", data.File("mime/packages/mebrox.xml"));
  testing_support::TScopedEnvironment environment;
  environment.Set("XDG_DATA_DIRS", data.Path() + ":/usr/share");
  environment.Set("XDG_DATA_HOME", home.Path());
  // Anything it says is about a mistake in the type's description.
  TProcessResult update =
      RunProcess("/usr/bin/update-mime-database", {data.File("mime")}, data.Path());
  ASSERT_EQ(update.ExitCode, 0) << Described(update);
  EXPECT_EQ(update.Out + update.Err, "");

  const std::string tour = ReadFile(MEBROX_SOURCE_DIR "/examples/tour/Tour.dpr");
  struct TCase {
    const char* Name;
    std::string Content;
    const char* Expected;
  };
  const std::vector<TCase> cases = {
      {"Tour.dpr", tour, "application/x-mebrox-project"},
      {"Tour", tour, "application/x-mebrox-project"},
      {"Shop.dpr",
       "program Shop;\n\nuses\n  Front in 'Front.pas' {Entrance},\n  Till in 'Till.pas' {Till};\n"
       "\nbegin\n  Application.CreateForm(TEntrance, Entrance);\nend.\n",
       "application/x-mebrox-project"},
      {"Tool.dpr", "program Tool;\n{$APPTYPE CONSOLE}\nuses\n  SysUtils;\nbegin\nend.\n",
       "text/x-pascal"},
      {"Unit1.pas", ReadFile(MEBROX_SOURCE_DIR "/examples/tour/Unit1.pas"), "text/x-pascal"},
      {"notes.txt", tour, "text/plain"},
  };
  QMimeDatabase mime;
  for (const TCase& c : cases) {
    WriteFile(files.File(c.Name), c.Content);
    EXPECT_EQ(mime.mimeTypeForFile(QString::fromStdString(files.File(c.Name))).name().toStdString(),
              c.Expected)
        << "Qt: " << c.Name;
    TProcessResult gio = RunProcess(
        "/usr/bin/gio", {"info", "--attributes=standard::content-type", c.Name}, files.Path());
    EXPECT_NE(gio.Out.find(std::string("standard::content-type: ") + c.Expected + "\n"),
              std::string::npos)
        << "GLib: " << c.Name << "\n"
        << Described(gio);
  }
  // A project is text: editors are offered beside the studio and the player.
  EXPECT_TRUE(mime.mimeTypeForName("application/x-mebrox-project").inherits("text/plain"));
}

}  // namespace
