// The Debian package as a user gets it: made by `make package`, unpacked anywhere, and run from
// there; and the kit as a library, installed and built against by a program of its own.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/packaging/PackagingSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Described;
using testing_support::IsPng;
using testing_support::ReadFile;
using testing_support::RunProcess;
using testing_support::TempDir;
using testing_support::TProcessResult;
using testing_support::WriteFile;

bool IsExecutable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXOTH);
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

TEST(Package, IsMadeByMakePackageAndRunsWhereverItIsUnpacked) {
  TempDir work;
  TProcessResult make =
      RunProcess("/usr/bin/make",
                 {"-C", MEBROX_SOURCE_DIR, "BUILD_DIR=" MEBROX_BINARY_DIR, "package"}, work.Path());
  ASSERT_EQ(make.ExitCode, 0) << Described(make);
  std::string arch =
      Trimmed(RunProcess("/usr/bin/dpkg", {"--print-architecture"}, work.Path()).Out);
  const std::string deb = MEBROX_BINARY_DIR "/mebrox_" MEBROX_VERSION "_" + arch + ".deb";
  const std::string dev = MEBROX_BINARY_DIR "/mebrox-dev_" MEBROX_VERSION "_" + arch + ".deb";
  ASSERT_TRUE(fs::exists(deb)) << make.Out;
  ASSERT_TRUE(fs::exists(dev)) << make.Out;

  // What the programs link is what the package depends on.
  std::string depends =
      RunProcess("/usr/bin/dpkg-deb", {"--field", deb, "Depends"}, work.Path()).Out;
  for (const char* library : {"libqt6widgets6", "libsdl2-2.0-0", "libsndfile1", "libgvc6"})
    EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;

  const std::string root = work.File("root");
  TProcessResult unpack = RunProcess("/usr/bin/dpkg-deb", {"-x", deb, root}, work.Path());
  ASSERT_EQ(unpack.ExitCode, 0) << Described(unpack);
  const std::string tour = root + "/usr/share/mebrox/examples/tour";
  for (const char* program :
       {"usr/bin/mebrox-run", "usr/bin/mebrox-studio", "usr/share/mebrox/examples/tour/hello.sh"})
    EXPECT_TRUE(IsExecutable(root + "/" + program)) << program;
  for (const char* file :
       {"usr/share/mebrox/examples/tour/Tour.dpr", "usr/share/mebrox/examples/tour/chime.wav",
        "usr/share/mebrox/examples/tour/melody.wav", "usr/share/doc/mebrox/README.md",
        "usr/share/doc/mebrox/copyright", "usr/share/doc/mebrox/changelog.gz",
        "usr/share/man/man1/mebrox-run.1.gz", "usr/share/man/man1/mebrox-studio.1.gz",
        "usr/share/applications/org.mebrox.studio.desktop",
        "usr/share/applications/org.mebrox.player.desktop",
        "usr/share/metainfo/org.mebrox.studio.metainfo.xml", "usr/share/mime/packages/mebrox.xml",
        "usr/share/icons/hicolor/48x48/apps/org.mebrox.studio.png",
        "usr/share/icons/hicolor/256x256/apps/org.mebrox.player.png",
        "usr/share/icons/hicolor/scalable/mimetypes/application-x-mebrox-project.svg"})
    EXPECT_TRUE(fs::is_regular_file(root + "/" + file)) << file;
  // The tour as it ships: nothing a run of it in the build tree leaves behind.
  for (const char* left : {"Tour.RUN", "hello.log"})
    EXPECT_FALSE(fs::exists(tour + "/" + left)) << left;

  // Installed, the package's triggers refresh the desktop's caches; with the same refreshed
  // here, a project opens in the player or the studio, and other Pascal sources do not.
  {
    const std::string share = root + "/usr/share";
    for (const auto& [tool, folder] : {std::pair{"update-mime-database", "/mime"},
                                       std::pair{"update-desktop-database", "/applications"}}) {
      TProcessResult r = RunProcess(std::string("/usr/bin/") + tool, {share + folder}, work.Path());
      EXPECT_EQ(r.ExitCode, 0) << tool << "\n" << Described(r);
    }
    testing_support::TScopedEnvironment environment;
    environment.Set("PATH", root + "/usr/bin:" + std::getenv("PATH"));
    environment.Set("XDG_DATA_DIRS", share + ":/usr/share");
    environment.Set("XDG_DATA_HOME", work.File("data-home"));
    TProcessResult project =
        RunProcess("/usr/bin/gio", {"mime", "application/x-mebrox-project"}, work.Path());
    EXPECT_NE(project.Out.find("Default application for “application/x-mebrox-project”: "
                               "org.mebrox."),
              std::string::npos)
        << Described(project);
    for (const char* entry : {"\torg.mebrox.player.desktop\n", "\torg.mebrox.studio.desktop\n"})
      EXPECT_NE(project.Out.find(entry), std::string::npos) << entry << Described(project);
    TProcessResult pascal = RunProcess("/usr/bin/gio", {"mime", "text/x-pascal"}, work.Path());
    EXPECT_EQ(pascal.Out.find("org.mebrox."), std::string::npos) << Described(pascal);
  }

  const std::string run = root + "/usr/bin/mebrox-run";
  const std::string studio = root + "/usr/bin/mebrox-studio";
  TProcessResult r = RunProcess(run, {"--version"}, work.Path());
  EXPECT_EQ(r.Out, "mebrox-run " MEBROX_VERSION "\n");
  r = RunProcess(run, {"--check", tour + "/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_TRUE(r.Out.ends_with(": 4 frames checked, 0 errors, 0 warnings\n")) << r.Out;

  // A walk through the tour to the bookmark, and a second start that resumes there.
  r = RunProcess(run, {"--headless", "--script", tour + "/walkthrough.txt", tour + "/Tour.dpr"},
                 work.Path());
  ASSERT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_TRUE(r.Out.starts_with("show TForm1\n")) << r.Out;
  EXPECT_NE(r.Out.find("show TForm4\n"), std::string::npos) << r.Out;
  EXPECT_TRUE(r.Out.ends_with("show TForm3\nterminate\n")) << r.Out;
  EXPECT_NE(ReadFile(tour + "/Tour.RUN").find("[Marked]\r\nAt=TForm3\r\n"), std::string::npos);
  r = RunProcess(run,
                 {"--headless", "--script", tour + "/walkthrough-resume.txt", tour + "/Tour.dpr"},
                 work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_TRUE(r.Out.ends_with("hide TForm1\nshow TForm3\n")) << r.Out;

  // The unpacked studio designs a copy, and the unpacked runner checks what it saved.
  fs::copy(tour, work.File("copy"), fs::copy_options::recursive);
  WriteFile(work.File("design.txt"),
            "drop THyperTxt Form1 24 390\n"
            "set Form1.HyperTxt2 Width 300\n"
            "save\n");
  r = RunProcess(studio, {"--headless", "--script", "design.txt", "copy/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_NE(r.Out.find("dropped Form1.HyperTxt2 THyperTxt\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("saved Unit1.dfm\n"), std::string::npos) << r.Out;
  EXPECT_NE(ReadFile(work.File("copy/Unit1.dfm")).find("object HyperTxt2: THyperTxt"),
            std::string::npos);
  r = RunProcess(run, {"--check", "copy/Tour.dpr"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_NE(r.Out.find("4 frames checked, 0 errors"), std::string::npos) << r.Out;

  // Debian's own checks: no error and no warning (what is kept is overridden, with the reason,
  // in the package's lintian overrides).
  r = RunProcess("/usr/bin/lintian",
                 {"--fail-on", "error,warning", "--tag-display-limit", "0", deb, dev}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  std::cout << "lintian:\n" << r.Out << r.Err << std::flush;
}

TEST(Library, AProgramOfItsOwnBuildsAgainstTheInstalledKitAndRunsAFrame) {
  TempDir work;
  const std::string prefix = work.File("prefix");
  TProcessResult r =
      RunProcess(MEBROX_CMAKE,
                 {"--install", MEBROX_BINARY_DIR, "--prefix", prefix, "--component", "Development"},
                 work.Path());
  ASSERT_EQ(r.ExitCode, 0) << Described(r);
  // Built the way the kit was: its compiler and flags (a sanitizer build's libraries need the
  // sanitizer's runtime too).
  r = RunProcess(
      MEBROX_CMAKE,
      {"-S", MEBROX_SOURCE_DIR "/examples/library", "-B", work.File("build"), "-G", "Ninja",
       "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_CXX_COMPILER=" MEBROX_CXX_COMPILER,
       "-DCMAKE_CXX_COMPILER_LAUNCHER=" MEBROX_CXX_LAUNCHER, "-DCMAKE_CXX_FLAGS=" MEBROX_CXX_FLAGS,
       "-DCMAKE_EXE_LINKER_FLAGS=" MEBROX_EXE_LINKER_FLAGS},
      work.Path());
  ASSERT_EQ(r.ExitCode, 0) << Described(r);
  r = RunProcess(MEBROX_CMAKE, {"--build", work.File("build")}, work.Path());
  ASSERT_EQ(r.ExitCode, 0) << Described(r);

  r = RunProcess(work.File("build/hello-frame"), {"--headless"}, work.Path());
  EXPECT_EQ(r.ExitCode, 0) << Described(r);
  EXPECT_EQ(r.Out,
            "shown TForm1 with 1 hot word: hot word\n"
            "note: A note from the kit's description popup.\n");
  EXPECT_TRUE(IsPng(work.File("hello-frame.png")));

  // The package configuration holds to its version: a later minor version is not this one.
  fs::create_directories(work.File("later"));
  WriteFile(work.File("later/CMakeLists.txt"),
            "cmake_minimum_required(VERSION 3.25)\nproject(Later NONE)\n"
            "find_package(Mebrox 99.0 REQUIRED)\n");
  r = RunProcess(
      MEBROX_CMAKE,
      {"-S", work.File("later"), "-B", work.File("later/build"), "-DCMAKE_PREFIX_PATH=" + prefix},
      work.Path());
  EXPECT_NE(r.ExitCode, 0);
  EXPECT_NE(r.Err.find("version: " MEBROX_VERSION), std::string::npos) << Described(r);
}

}  // namespace
