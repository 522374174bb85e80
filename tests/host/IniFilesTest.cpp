#include <gtest/gtest.h>

#include "host/IniFiles.h"
#include "tests/TestSupport.h"

using namespace host;
using testing_support::ReadFile;
using testing_support::ScopedWindowsDir;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(IniFilesTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  TempDir dir;
  TIniFile ini(dir.File("sub/App.RUN"));
  EXPECT_EQ(ini.ReadString("Marked", "At", "none"), "none");
  EXPECT_EQ(ini.ReadInteger("Status", "INIAvailable", 7), 7);
  EXPECT_FALSE(FileExists(ini.FileName()));
  ini.WriteString("Marked", "At", "TForm3");
  EXPECT_EQ(ReadFile(ini.FileName()), "[Marked]\r\nAt=TForm3\r\n");
}

TEST(IniFilesTest, SectionsAndKeysMatchWithoutRegardToCase) {
  TempDir dir;
  TIniFile ini(dir.File("a.ini"));
  WriteFile(ini.FileName(), "[Status]\r\nINIAvailable = 1 \r\n");
  EXPECT_EQ(ini.ReadInteger("STATUS", "iniavailable", 0), 1);
  ini.WriteInteger("status", "INIAVAILABLE", 2);
  EXPECT_EQ(ReadFile(ini.FileName()), "[Status]\r\nINIAvailable=2\r\n");
}

TEST(IniFilesTest, WritingOneKeyKeepsEveryOtherLine) {
  TempDir dir;
  TIniFile ini(dir.File("a.ini"));
  std::string original = "; kept comment\n[One]\nA=1\n\n[Two]\nB = two words\n# note\n";
  WriteFile(ini.FileName(), original);
  ini.WriteString("One", "C", "3");
  ini.WriteString("Two", "B", "changed");
  ini.WriteString("Three", "D", "4");
  EXPECT_EQ(ReadFile(ini.FileName()),
            "; kept comment\n[One]\nA=1\nC=3\n\n[Two]\nB=changed\n# note\n\n[Three]\nD=4\n");
}

TEST(IniFilesTest, DeletingKeysAndErasingSections) {
  TempDir dir;
  TIniFile ini(dir.File("a.ini"));
  ini.WriteString("TForm2", "From", "TForm1");
  ini.WriteString("TForm3", "From", "TForm2");
  ini.WriteString("TForm3", "Other", "x");
  ini.DeleteKey("tform3", "other");
  EXPECT_FALSE(ini.ValueExists("TForm3", "Other"));
  ini.EraseSection("TFORM2");
  EXPECT_FALSE(ini.SectionExists("TForm2"));
  EXPECT_EQ(ini.ReadString("TForm3", "From", ""), "TForm2");
  EXPECT_EQ(ReadFile(ini.FileName()), "[TForm3]\r\nFrom=TForm2\r\n");
  // Deleting what is not there leaves the file untouched.
  ini.EraseSection("Nothing");
  WritePrivateProfileString("TForm3", "Missing", nullptr, ini.FileName());
  EXPECT_EQ(ReadFile(ini.FileName()), "[TForm3]\r\nFrom=TForm2\r\n");
}

TEST(IniFilesTest, IntegersThatAreNotNumbersGiveTheDefault) {
  TempDir dir;
  TIniFile ini(dir.File("a.ini"));
  WriteFile(ini.FileName(), "[S]\nA=12abc\nB=\nC=-4\nD=$10\nE=99999999999\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "B", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "C", 5), -4);
  EXPECT_EQ(ini.ReadInteger("S", "D", 5), 16);
  EXPECT_EQ(ini.ReadInteger("S", "E", 5), 5);
  EXPECT_TRUE(ini.ReadBool("S", "C", false));
  EXPECT_TRUE(ini.ReadBool("S", "A", true));
}

TEST(IniFilesTest, CarriageReturnsBeforeALineFeedAreOneLineEndButALoneOneIsNone) {
  TempDir dir;
  std::string path = dir.File("a.ini");
  for (const std::string& end : {"\r\r\n", "\r\r\r\n"}) {
    WriteFile(path, "[S]" + end + "A=TForm2" + end + "B=1\r\r");
    EXPECT_EQ(TIniFile(path).ReadString("S", "A", ""), "TForm2");
    EXPECT_EQ(TMemIniFile(path).ReadString("s", "b", ""), "1");
  }
  WriteFile(path, "[S]\r\nA=TForm2\rB=1\r\n");
  EXPECT_EQ(TIniFile(path).ReadString("S", "A", ""), "TForm2\rB=1");
}

TEST(IniFilesTest, BareNamesLiveInTheWindowsDirectory) {
  ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteBool("Status", "INIAvailable", true);
  EXPECT_EQ(ReadFile(windows.File("Mebrox.ini")), "[Status]\r\nINIAvailable=1\r\n");
  EXPECT_TRUE(ini.ReadBool("Status", "INIAvailable", false));
}

TEST(IniFilesTest, MalformedLinesNameFileAndLineAndAreNeverRewritten) {
  TempDir dir;
  TIniFile ini(dir.File("bad.ini"));
  std::string bad = "[Good]\r\nA=1\r\n[Broken\r\nB=2\r\n";
  WriteFile(ini.FileName(), bad);
  try {
    ini.ReadString("Good", "A", "");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_NE(e.Message().find("bad.ini(3)"), std::string::npos);
  }
  EXPECT_THROW(ini.WriteString("Good", "A", "2"), EParserError);
  EXPECT_EQ(ReadFile(ini.FileName()), bad);

  WriteFile(ini.FileName(), "[S]\nno equals sign\n");
  EXPECT_THROW(ini.ReadString("S", "x", ""), EParserError);
  WriteFile(ini.FileName(), "orphan=1\n");
  EXPECT_THROW(ini.ReadString("S", "x", ""), EParserError);
}

TEST(IniFilesTest, ValuesThatWouldBreakLinesAreRefused) {
  TempDir dir;
  TIniFile ini(dir.File("a.ini"));
  ini.WriteString("S", "A", "1");
  EXPECT_THROW(ini.WriteString("S", "A", "x\r\n[Injected]"), EInOutError);
  EXPECT_THROW(ini.WriteString("S", "B=C", "1"), EInOutError);
  EXPECT_THROW(ini.WriteString("S]", "B", "1"), EInOutError);
  EXPECT_EQ(ReadFile(ini.FileName()), "[S]\r\nA=1\r\n");
}

// ---- damaged files

// Collects what the kit tells about files while it lives.
class TNotices {
 public:
  TNotices() {
    SetFileNoticeHandler([this](const std::string& message) { Told.push_back(message); });
  }
  ~TNotices() { SetFileNoticeHandler(nullptr); }
  std::vector<std::string> Told;
};

TEST(IniFilesTest, LenientReadsKeepTheLinesTheyUnderstandAndTellTheFirstOtherOnce) {
  TempDir dir;
  TNotices notices;
  std::string path = dir.File("damaged.ini");
  std::string damaged = std::string("\xEF\xBB\xBF") + "orphan=1\r\n[Status]\r\nINIAvailable=1\r\n" +
                        "stray line\r\n" + std::string("Font\0Name=x\r\n", 13) +
                        "[Desc\r\nUse=1\r\n[HyperTxt]\r\nUse=1\r\n";
  WriteFile(path, damaged);
  TIniFile lenient(path, TIniParsing::Lenient);
  EXPECT_EQ(lenient.ReadInteger("Status", "INIAvailable", 0), 1);
  EXPECT_EQ(lenient.ReadInteger("HyperTxt", "Use", 0), 1);
  EXPECT_EQ(lenient.ReadString("Status", "FontName", "none"), "none");
  // A key under a section name that is not understood belongs to no section.
  EXPECT_EQ(lenient.ReadString("Status", "Use", "none"), "none");
  EXPECT_EQ(lenient.ReadString("", "orphan", "none"), "none");
  EXPECT_EQ(
      notices.Told,
      (std::vector<std::string>{path + "(1): key outside any section (and 4 more lines not "
                                       "understood). Lines that are not understood are skipped."}));

  // A strict reader still refuses, and no writer rewrites what did not parse.
  EXPECT_THROW(TIniFile(path).ReadString("Status", "INIAvailable", ""), EParserError);
  EXPECT_THROW(lenient.WriteString("Status", "INIAvailable", "2"), EParserError);
  EXPECT_EQ(ReadFile(path), damaged);
  EXPECT_EQ(notices.Told.size(), 1u);
}

TEST(IniFilesTest, AByteOrderMarkIsNoFaultAndStaysWhenTheFileIsWritten) {
  TempDir dir;
  TIniFile ini(dir.File("bom.ini"));
  WriteFile(ini.FileName(), "\xEF\xBB\xBF[Status]\r\nINIAvailable=1\r\n");
  EXPECT_EQ(ini.ReadInteger("Status", "INIAvailable", 0), 1);
  ini.WriteInteger("Status", "TxtINIAvailable", 1);
  EXPECT_EQ(ReadFile(ini.FileName()),
            "\xEF\xBB\xBF[Status]\r\nINIAvailable=1\r\nTxtINIAvailable=1\r\n");
}

TEST(IniFilesTest, ErrorsNameABareFileWithItsFolder) {
  ScopedWindowsDir windows;
  WriteFile(windows.File("Mebrox.ini"), "[Status]\r\nINIAvailable\r\n");
  try {
    TIniFile("Mebrox.ini").ReadInteger("Status", "INIAvailable", 0);
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.FileName(), windows.File("Mebrox.ini"));
    EXPECT_EQ(e.Message().rfind(windows.File("Mebrox.ini") + "(2): ", 0), 0u) << e.Message();
  }
}

TEST(IniFilesTest, AFileInMemoryDropsWhatItDidNotUnderstandBeforeItIsWrittenAgain) {
  TempDir dir;
  std::string path = dir.File("App.RUN");
  WriteFile(path, "[Marked]\nAt=TForm3\ngarbage\n[TForm2\nFrom=TForm9\n[TForm3]\nFrom=TForm1\n");
  TMemIniFile ini(path);
  EXPECT_EQ(ini.Problem(),
            path + "(3): expected 'key=value' or '[section]' (and 2 more lines not understood)");
  EXPECT_EQ(ini.ReadString("Marked", "At", ""), "TForm3");
  EXPECT_THROW(ini.UpdateFile(), EParserError);
  ini.DropProblemLines();
  EXPECT_EQ(ini.Problem(), "");
  ini.WriteString("TForm4", "From", "TForm3");
  ini.UpdateFile();
  EXPECT_EQ(ReadFile(path),
            "[Marked]\nAt=TForm3\n[TForm3]\nFrom=TForm1\n\n[TForm4]\nFrom=TForm3\n");
}
