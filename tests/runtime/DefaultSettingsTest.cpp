#include "runtime/DefaultSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "runtime/MsgDlgU.h"
#include "tests/TestSupport.h"
#include "tests/runtime/RuntimeTestSupport.h"

namespace {

using namespace mebrox;
using testing_support::ReadFile;
using testing_support::ScopedWindowsDir;
using testing_support::WriteFile;
using Names = std::vector<std::string>;

// What the hypertext control's start-up read does with its section.
struct TTxtLook {
  TAdjustAttrs AutoAdjust = adNone;
  host::TBrush Brush;
  host::TFont Font;
  host::TFont WordFont;
};

bool ReadTxtSettings(TTxtLook& look) {
  TSettingsSection ini("HyperTxt");
  if (!ini.Used()) return false;
  look.AutoAdjust = IntToAutoAdjust(ini.ReadInteger("AutoAdjust", 0));
  look.Brush.SetColor(ini.ReadColor("BrushColor", "clBlack"));
  look.Brush.SetStyle(IntToBrushStyle(ini.ReadInteger("BrushStyle", 0)));
  ini.ApplyFont(look.Font, "Font");
  ini.ApplyFont(look.WordFont, "WordFont", true);
  return true;
}

TEST(DefaultSettingsTest, EnumerationsGoByNameThroughTheAlphabeticalLists) {
  EXPECT_EQ(AutoAdjustList(), (Names{"adBoth", "adHeight", "adNone", "adWidth"}));
  EXPECT_EQ(BrushStyleList(), (Names{"bsBDiagonal", "bsClear", "bsCross", "bsDiagCross",
                                     "bsFDiagonal", "bsHorizontal", "bsSolid", "bsVertical"}));
  EXPECT_EQ(EffectTypeList(), (Names{"etCustom", "etDeepSink", "etHighRaise", "etHighShadow",
                                     "etRaise", "etShadow", "etSink"}));
  EXPECT_EQ(EffectTypesNames()[etHighShadow], "etHighShadow");
  EXPECT_EQ(AdjustAttrsNames()[adWidth], "adWidth");

  EXPECT_EQ(IntToBrushStyle(6), host::bsSolid);
  EXPECT_EQ(IntToBrushStyle(0), host::bsBDiagonal);
  EXPECT_EQ(IntToBrushStyle(8), host::bsClear);
  EXPECT_EQ(IntToBrushStyle(-1), host::bsClear);
  EXPECT_EQ(IntToAutoAdjust(3), adWidth);
  EXPECT_EQ(IntToAutoAdjust(7), adNone);
  EXPECT_EQ(IntToEffectType(2), etHighRaise);
  EXPECT_EQ(IntToEffectType(4), etRaise);
  EXPECT_EQ(IntToEffectType(9), etCustom);
  EXPECT_EQ(IntToEffectType(-3), etCustom);

  EXPECT_EQ(EffectTypeToInt(etHighShadow), 3);
  EXPECT_EQ(BrushStyleToInt(host::bsSolid), 6);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(BrushStyleToInt(IntToBrushStyle(i)), i);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(EffectTypeToInt(IntToEffectType(i)), i);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(AutoAdjustToInt(IntToAutoAdjust(i)), i);
}

TEST(DefaultSettingsTest, SectionsApplyOnlyThroughTheGate) {
  ScopedWindowsDir windir;
  EXPECT_FALSE(TSettingsSection("HyperTxt").Used());
  EXPECT_FALSE(std::filesystem::exists(windir.File(SettingsFileName)));

  host::TIniFile ini(SettingsFileName);
  ini.WriteInteger("Status", "INIAvailable", 2);
  ini.WriteBool("HyperTxt", "Use", true);
  std::string before = ReadFile(windir.File(SettingsFileName));
  EXPECT_FALSE(TSettingsSection("HyperTxt").Used());
  EXPECT_EQ(ReadFile(windir.File(SettingsFileName)), before);

  ini.WriteInteger("Status", "INIAvailable", 1);
  EXPECT_TRUE(TSettingsSection("HyperTxt").Used());
  EXPECT_FALSE(TSettingsSection("WavePlay").Used());
  ini.WriteString("WavePlay", "Use", "yes");
  EXPECT_FALSE(TSettingsSection("WavePlay").Used());
  ini.WriteBool("HyperTxt", "Use", false);
  EXPECT_FALSE(TSettingsSection("HyperTxt").Used());
}

TEST(DefaultSettingsTest, CreatesTheWholeFileInOrder) {
  ScopedWindowsDir windir;
  host::TIniFile ini(SettingsFileName);
  EXPECT_TRUE(NewINI(ini));
  CreateMissingSettings(ini);
  EXPECT_FALSE(NewINI(ini));
  for (const std::string& section : SettingsSections()) EXPECT_FALSE(NewSectionINI(ini, section));

  EXPECT_EQ(ReadFile(windir.File(SettingsFileName)),
            "[Status]\r\nINIAvailable=1\r\nImageINIAvailable=1\r\nAreaINIAvailable=1\r\n"
            "TxtINIAvailable=1\r\nWaveINIAvailable=1\r\nfxLabelINIAvailable=1\r\n"
            "DescINIAvailable=1\r\n\r\n"
            "[HyperImage]\r\nUse=1\r\nCursorShow=1\r\nAllow Shadow=1\r\n\r\n"
            "[HyperArea]\r\nUse=1\r\nCursorShow=1\r\n\r\n"
            "[HyperTxt]\r\nUse=1\r\nAutoAdjust=0\r\nBrushColor=clBlack\r\nBrushStyle=0\r\n"
            "FontColor=clBlack\r\nFontSize=20\r\nFontName=Times New Roman\r\nFontBold=1\r\n"
            "FontItalic=0\r\nWordFontColor=clBlack\r\nWordFontSize=20\r\n"
            "WordFontName=Times New Roman\r\nWordFontBold=0\r\nWordFontItalic=0\r\n"
            "WordFontUnderline=1\r\n\r\n"
            "[WavePlay]\r\nUse=1\r\nAutoPlay=0\r\nDefault=0\r\nWaitTillDone=0\r\n\r\n"
            "[fxLabel]\r\nUse=1\r\nEffectType=0\r\nShadowDistance=1\r\nFontColor=clBlack\r\n"
            "FontSize=20\r\nFontName=Times New Roman\r\nFontBold=1\r\nFontItalic=0\r\n"
            "ShadowColor=clBlack\r\nLightColor=clWhite\r\n\r\n"
            "[Desc]\r\nUse=1\r\nFontColor=clBlack\r\nFontSize=20\r\nFontName=Times New Roman\r\n"
            "FontBold=1\r\nFontItalic=0\r\nBackgroundColor=clYellow\r\n");

  TTxtLook look;
  ASSERT_TRUE(ReadTxtSettings(look));
  EXPECT_EQ(look.AutoAdjust, adBoth);
  EXPECT_EQ(look.Brush.Color(), host::clBlack);
  EXPECT_EQ(look.Brush.Style(), host::bsBDiagonal);
  EXPECT_EQ(look.Font.Color(), host::clBlack);
  EXPECT_EQ(look.Font.Size(), 20);
  EXPECT_EQ(look.Font.Name(), "Times New Roman");
  EXPECT_EQ(look.Font.Style(), host::TFontStyles{host::fsBold});
  EXPECT_EQ(look.WordFont.Color(), host::clBlack);
  EXPECT_EQ(look.WordFont.Size(), 20);
  EXPECT_EQ(look.WordFont.Name(), "Times New Roman");
  EXPECT_EQ(look.WordFont.Style(), host::TFontStyles{host::fsUnderline});
}

TEST(DefaultSettingsTest, CreatesOnlyMissingSections) {
  ScopedWindowsDir windir;
  host::TIniFile ini(SettingsFileName);
  ini.WriteInteger("Status", "INIAvailable", 2);
  for (const char* flag : {"ImageINIAvailable", "TxtINIAvailable", "WaveINIAvailable",
                           "fxLabelINIAvailable", "DescINIAvailable"})
    ini.WriteInteger("Status", flag, 1);
  ini.WriteString("HyperTxt", "FontName", "Arial");

  EXPECT_FALSE(NewINI(ini));
  EXPECT_TRUE(NewSectionINI(ini, "HyperArea"));
  CreateMissingSettings(ini);

  EXPECT_EQ(ini.ReadInteger("Status", "INIAvailable", 0), 2);
  EXPECT_EQ(ini.ReadInteger("Status", "AreaINIAvailable", 0), 1);
  EXPECT_EQ(ini.ReadString("HyperArea", "CursorShow", ""), "1");
  EXPECT_FALSE(ini.SectionExists("HyperImage"));
  host::TStringList keys;
  ini.ReadSection("HyperTxt", keys);
  EXPECT_EQ(keys.Count(), 1);
  EXPECT_THROW(CreateSectionINI(ini, "NoSuchSection"), host::EConvertError);
}

TEST(DefaultSettingsTest, FontKeysOnlyAddStyles) {
  ScopedWindowsDir windir;
  host::TIniFile ini(SettingsFileName);
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("Desc", "Use", true);
  ini.WriteBool("Desc", "FontBold", false);
  ini.WriteBool("Desc", "FontItalic", true);
  ini.WriteBool("Desc", "FontUnderline", true);
  ini.WriteString("Desc", "FontColor", "$00123456");
  ini.WriteInteger("Desc", "FontSize", 12);

  host::TFont font;
  font.SetStyle({host::fsBold});
  TSettingsSection section("Desc");
  ASSERT_TRUE(section.Used());
  section.ApplyFont(font, "Font");
  EXPECT_EQ(font.Style(), (host::TFontStyles{host::fsBold, host::fsItalic}));
  EXPECT_EQ(font.Color(), 0x123456);
  EXPECT_EQ(font.Size(), 12);
  EXPECT_EQ(font.Name(), "Times New Roman");
  EXPECT_EQ(section.ReadColor("BackgroundColor", "clYellow"), host::clYellow);
}

TEST(DefaultSettingsTest, ABadColourIsToldWithItsLineAndReadsAsTheDefault) {
  ScopedWindowsDir windir;
  host::TIniFile ini(SettingsFileName);
  CreateMissingSettings(ini);
  ini.WriteInteger("HyperTxt", "BrushStyle", 6);
  ini.WriteString("HyperTxt", "BrushColor", "clRed");
  ini.WriteString("HyperTxt", "FontColor", "Crimson");
  ini.WriteInteger("HyperTxt", "FontSize", 31);
  ini.WriteString("HyperTxt", "WordFontColor", "clGreen");
  std::string path = windir.File(SettingsFileName);
  host::TStringList lines;
  lines.LoadFromFile(path);
  int line = lines.IndexOf("FontColor=Crimson") + 1;
  ASSERT_GT(line, 0);
  size_t told = testing_support::Dialogs().Errors().size();

  TTxtLook look;
  ASSERT_TRUE(ReadTxtSettings(look));
  EXPECT_EQ(look.AutoAdjust, adBoth);
  EXPECT_EQ(look.Brush.Color(), host::clRed);
  EXPECT_EQ(look.Brush.Style(), host::bsSolid);
  EXPECT_EQ(look.Font.Color(), host::clBlack);
  EXPECT_EQ(look.Font.Size(), 31);
  EXPECT_EQ(look.WordFont.Color(), host::clGreen);
  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_EQ(errors.back(), path + "(" + std::to_string(line) +
                               "): 'Crimson' is not a colour; clBlack is used instead.");
}

}  // namespace

namespace {

TEST(DefaultSettingsTest, ADamagedFileGivesWhatItCanAndIsToldOnce) {
  ScopedWindowsDir windir;
  std::string path = windir.File(SettingsFileName);
  // A byte order mark, a key before any section, a stray line and a line of NUL bytes left by
  // a write cut short.
  std::string damaged = std::string("\xEF\xBB\xBF") + "Use=0\r\n[Status]\r\nINIAvailable=1\r\n" +
                        "[HyperTxt]\r\nUse=1\r\nremember to change the font\r\n" +
                        std::string(6, '\0') + "\r\nFontSize=12\r\nBrushStyle=6\r\n";
  WriteFile(path, damaged);
  size_t told = testing_support::Dialogs().Errors().size();

  TTxtLook look;
  ASSERT_TRUE(ReadTxtSettings(look));
  EXPECT_EQ(look.Font.Size(), 12);
  EXPECT_EQ(look.Brush.Style(), host::bsSolid);
  ASSERT_TRUE(ReadTxtSettings(look));

  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_EQ(errors.back().rfind(path + "(1): key outside any section", 0), 0u) << errors.back();
  // What did not parse is never rewritten.
  EXPECT_EQ(ReadFile(path), damaged);
}

}  // namespace

namespace {

// A folder where the file should be, or another user's file (whose permission bits then apply
// to root too): either counts as absent, for a drop and for a popup, and is told once.
TEST(DefaultSettingsTest, AFileThatCannotBeReadCountsAsAbsentAndIsToldOnce) {
  testing_support::TPermissionsApply permissions;
  for (bool folder : {true, false}) {
    ScopedWindowsDir windir;
    std::string path = windir.File(SettingsFileName);
    if (folder) {
      std::filesystem::create_directory(path);
    } else {
      WriteFile(path, "[Status]\nINIAvailable=1\n[Desc]\nUse=1\nBackgroundColor=clRed\n");
      std::filesystem::permissions(path, std::filesystem::perms::owner_read);
      if (::chown(path.c_str(), 65534, 65534) != 0 || !permissions.Active()) continue;
    }
    size_t told = testing_support::Dialogs().Errors().size();
    for (int time = 0; time < 2; ++time) {
      TTxtLook look;
      EXPECT_FALSE(ReadTxtSettings(look));
      TMsgDlg popup(nullptr);
      host::Application->ModalHook = [](host::TForm&) {};
      EXPECT_NO_THROW(popup.ShowModal());
      host::Application->ModalHook = nullptr;
      EXPECT_EQ(popup.Shape1().Brush().Color(), host::clYellow);
    }
    const auto& errors = testing_support::Dialogs().Errors();
    ASSERT_EQ(errors.size(), told + 1) << folder;
    EXPECT_NE(errors.back().find("\"" + path +
                                 "\": " + (folder ? "is a directory" : "Permission denied")),
              std::string::npos)
        << errors.back();
  }
}

TEST(DefaultSettingsTest, ASectionWhoseFlagWasLostKeepsItsKeysAndGetsTheMissingOnes) {
  ScopedWindowsDir windir;
  WriteFile(windir.File(SettingsFileName),
            "[Status]\nINIAvailable=1\nTxtINIAvaliable=1\n[HyperTxt]\nUse=0\nFontSize=12\n");
  host::TIniFile ini(SettingsFileName);
  CreateMissingSettings(ini);
  EXPECT_EQ(ini.ReadString("HyperTxt", "Use", ""), "0");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontSize", ""), "12");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontName", ""), "Times New Roman");
  EXPECT_FALSE(NewSectionINI(ini, "HyperTxt"));
}

}  // namespace
