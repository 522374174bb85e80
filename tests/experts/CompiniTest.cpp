#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "experts/Compini.h"
#include "host/Dialogs.h"
#include "host/Graphics.h"
#include "host/IniFiles.h"
#include "ide/Registry.h"
#include "runtime/DefaultSettings.h"
#include "runtime/HyperTxt.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::TINISettingsDlg;
using testing_support::ReadFile;
using testing_support::ScopedWindowsDir;
using testing_support::TStudioFixture;
using testing_support::WriteFile;

const std::string FormText = "object Form1: TForm1\n  Width = 400\n  Height = 300\nend\n";
const std::string OpenDialog = "expert \"Default Settings Expert\"\n";

// The settings dialog while a script has it open; null when none is.
TINISettingsDlg* OpenSettingsDialog() {
  for (int i = 0; i < host::Screen->FormCount(); ++i)
    if (auto* dialog = dynamic_cast<TINISettingsDlg*>(host::Screen->Forms(i)))
      if (dialog->Visible()) return dialog;
  return nullptr;
}

// Runs script and hands the open dialog to look after the line numbered line (from 1). The
// expert's own line ends after the dialog has gone, so the line that closes the dialog is the
// last one to see it.
void LookAfterLine(TStudioFixture& studio, int line, const std::string& script,
                   const std::function<void(TINISettingsDlg&)>& look) {
  bool looked = false;
  studio.AfterEachLine([&](int at) {
    if (at != line) return;
    TINISettingsDlg* dialog = OpenSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    look(*dialog);
    looked = true;
  });
  studio.Run(script);
  studio.AfterEachLine(nullptr);
  EXPECT_TRUE(looked);
}

host::TScriptedDialogs& Dialogs() {
  return dynamic_cast<host::TScriptedDialogs&>(host::DialogService());
}

std::vector<std::string> ColorNameList() {
  std::vector<std::string> names;
  for (const host::TColorName& color : host::ColorNames()) names.push_back(color.Name);
  return names;
}

// A settings file with every flag set, as the dialog leaves it, followed by text.
std::string FlaggedFile(const std::string& sections) {
  return "[Status]\nINIAvailable=1\nImageINIAvailable=1\nAreaINIAvailable=1\nTxtINIAvailable=1\n"
         "WaveINIAvailable=1\nfxLabelINIAvailable=1\nDescINIAvailable=1\n" +
         sections;
}

// ---- the expert and its dialog

TEST(CompiniTest, TheExpertOpensTheDialogWithItsPagesListsAndButtons) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::vector<ide::TIExpert*> experts;
  for (ide::TIExpert* expert : studio.Core().Registry().Experts())
    if (expert->GetIDString() == "Mebrox.DefaultSettingsExpert") experts.push_back(expert);
  ASSERT_EQ(experts.size(), 1u);
  ide::TIExpert& expert = *experts[0];
  EXPECT_EQ(expert.GetName(), "Default Settings Expert");
  EXPECT_EQ(expert.GetMenuText(), "Default Settings Expert");
  EXPECT_EQ(expert.GetComment(), "");
  EXPECT_EQ(expert.GetGlyph(), nullptr);
  EXPECT_EQ(expert.GetStyle(), ide::esStandard);
  EXPECT_TRUE(expert.GetState() == ide::TExpertState{ide::esEnabled});

  std::string trace;
  LookAfterLine(
      studio, 2, OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n", [](TINISettingsDlg& dialog) {
        EXPECT_EQ(dialog.Caption(), "Default Settings Dialog");
        EXPECT_EQ(dialog.ClientWidth(), 361);
        EXPECT_EQ(dialog.ClientHeight(), 228);
        EXPECT_EQ(dialog.BorderStyle(), host::bsDialog);
        EXPECT_EQ(dialog.Position(), host::poScreenCenter);
        std::vector<std::string> pages = {"HyperImage", "HyperArea", "HyperTxt",
                                          "WavePlay",   "fxLabel",   "Description"};
        EXPECT_EQ(dialog.Notebook->PageNames(), pages);
        EXPECT_EQ(dialog.TabSet->Tabs().Items(), pages);
        EXPECT_EQ(dialog.Notebook->ActivePage(), "Description");
        EXPECT_EQ(dialog.TabSet->TabIndex(), 5);
        EXPECT_EQ(dialog.cmbTxtAutoAdjust->Items().Items(),
                  (std::vector<std::string>{"adBoth", "adHeight", "adNone", "adWidth"}));
        EXPECT_EQ(dialog.cmbTxtBrushStyle->Items().Items(), mebrox::BrushStyleList());
        EXPECT_EQ(dialog.cmbfxLabelEffectType->Items().Items(), mebrox::EffectTypeList());
        for (host::TComboBox* list : {dialog.cmbTxtBrushColor, dialog.cmbfxLabelShadowColor,
                                      dialog.cmbfxLabelLightColor, dialog.cmbDescBackgroundColor}) {
          EXPECT_EQ(list->Items().Count(), 37);
          EXPECT_EQ(list->Items().Items(), ColorNameList());
          EXPECT_EQ(list->Style(), host::csDropDownList);
        }
        EXPECT_EQ(dialog.sefxLabelShadowDistance->MinValue(), 0);
        EXPECT_EQ(dialog.sefxLabelShadowDistance->MaxValue(), 30);
        EXPECT_EQ(dialog.cbWaveUse->Caption(), "Use the settings");
        EXPECT_EQ(dialog.cbWavePlayDefault->Caption(), "Play default if file not found");
        EXPECT_EQ(dialog.bbWordFont->Caption(), "HyperWord Font");
      });
  trace = studio.Run(OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n");
  EXPECT_EQ(trace,
            "expert \"Default Settings Expert\"\n"
            "modal TINISettingsDlg \"Default Settings Dialog\"\n"
            "closed TINISettingsDlg -> cancel\n");
  // Each run made its own dialog and freed it.
  EXPECT_EQ(OpenSettingsDialog(), nullptr);
  for (int i = 0; i < host::Screen->FormCount(); ++i)
    EXPECT_EQ(dynamic_cast<TINISettingsDlg*>(host::Screen->Forms(i)), nullptr);
}

TEST(CompiniTest, TheTabRowTurnsThePagesByMouseAndKeyboard) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::vector<std::string> shown;
  studio.AfterEachLine([&](int) {
    if (TINISettingsDlg* dialog = OpenSettingsDialog()) {
      EXPECT_EQ(dialog->TabSet->TabIndex(), dialog->Notebook->PageIndex());
      shown.push_back(dialog->Notebook->ActivePage());
    }
  });
  studio.Run(OpenDialog +
             "select INISettingsDlg.TabSet \"HyperTxt\"\n"
             "key INISettingsDlg Ctrl+Tab\n"
             "key INISettingsDlg Ctrl+Shift+Tab\n"
             "key INISettingsDlg Ctrl+Shift+Tab\n"
             "key INISettingsDlg.TabSet Left\n"
             "key INISettingsDlg Ctrl+Shift+Tab\n"
             "key INISettingsDlg Ctrl+PageDown\n"
             "select INISettingsDlg.TabSet \"Description\"\n"
             "key INISettingsDlg Ctrl+Tab\n"
             "click INISettingsDlg.CancelBtn 5 5\n");
  EXPECT_EQ(shown, (std::vector<std::string>{"HyperTxt", "WavePlay", "HyperTxt", "HyperArea",
                                             "HyperImage", "Description", "HyperImage",
                                             "Description", "HyperImage", "HyperImage"}));
  studio.AfterEachLine(nullptr);

  // Controls of a hidden page cannot be worked; the keyboard follows the page it turned to.
  EXPECT_THROW(studio.Run(OpenDialog + "check INISettingsDlg.cbTxtUse off\n"), host::EParserError);
  LookAfterLine(
      studio, 3,
      OpenDialog +
          "key INISettingsDlg.cbDescUse Space\n"
          "key INISettingsDlg Ctrl+Tab\n"
          "key INISettingsDlg Escape\n",
      [](TINISettingsDlg& dialog) { EXPECT_EQ(dialog.ActiveControl(), dialog.cbImageUse); });
}

TEST(CompiniTest, TheKeyboardWorksTheDialogAndHelpLeavesItOpen) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  size_t before = Dialogs().Shown().size();
  // Space ticks the focused box, Tab moves on, Enter is OK.
  studio.Run(OpenDialog +
             "click INISettingsDlg.HelpBtn 5 5\n"
             "key INISettingsDlg.cbDescUse Space\n"
             "key INISettingsDlg Ctrl+Tab\n"
             "key INISettingsDlg Tab\n"
             "key INISettingsDlg Space\n"
             "key INISettingsDlg Enter\n");
  ASSERT_EQ(Dialogs().Shown().size(), before + 1);
  EXPECT_NE(Dialogs().Shown().back().Message.find(windir.File("Mebrox.ini")), std::string::npos);
  host::TIniFile ini(windir.File("Mebrox.ini"));
  EXPECT_FALSE(ini.ReadBool("Desc", "Use", true));
  EXPECT_FALSE(ini.ReadBool("HyperImage", "CursorShow", true));
  EXPECT_TRUE(ini.ReadBool("HyperImage", "Use", false));

  // Escape leaves without writing.
  std::string bytes = ReadFile(windir.File("Mebrox.ini"));
  studio.Run(OpenDialog + "key INISettingsDlg.cbDescUse Space\nkey INISettingsDlg Escape\n");
  EXPECT_EQ(ReadFile(windir.File("Mebrox.ini")), bytes);
}

// ---- creating and loading the file

TEST(CompiniTest, FirstUseCreatesTheWholeFileEvenWhenCancelled) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  ASSERT_FALSE(host::FileExists(path));
  LookAfterLine(
      studio, 2, OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n", [](TINISettingsDlg& dialog) {
        // What was just created is what shows.
        for (host::TCheckBox* use : {dialog.cbImageUse, dialog.cbAreaUse, dialog.cbTxtUse,
                                     dialog.cbWaveUse, dialog.cbfxLabelUse, dialog.cbDescUse})
          EXPECT_TRUE(use->Checked()) << use->Name();
        EXPECT_EQ(dialog.cmbTxtAutoAdjust->Text(), "adBoth");
        EXPECT_EQ(dialog.cmbTxtBrushStyle->Text(), "bsBDiagonal");
        EXPECT_EQ(dialog.cmbfxLabelLightColor->Text(), "clWhite");
        EXPECT_EQ(dialog.cmbDescBackgroundColor->Text(), "clYellow");
        EXPECT_EQ(dialog.sefxLabelShadowDistance->Value(), 1);
        EXPECT_EQ(dialog.TxtWordFont->Font().Style(), host::TFontStyles{host::fsUnderline});
        EXPECT_EQ(dialog.TxtFont->Font().Name(), "Times New Roman");
        EXPECT_EQ(dialog.TxtFont->Font().Size(), 20);
        EXPECT_EQ(dialog.TxtFont->Font().Style(), host::TFontStyles{host::fsBold});
      });

  host::TIniFile ini(path);
  host::TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections.Items(),
            (std::vector<std::string>{"Status", "HyperImage", "HyperArea", "HyperTxt", "WavePlay",
                                      "fxLabel", "Desc"}));
  host::TStringList flags;
  ini.ReadSection("Status", flags);
  EXPECT_EQ(flags.Count(), 7);
  for (const std::string& flag : flags.Items()) EXPECT_EQ(ini.ReadString("Status", flag, ""), "1");
  for (const std::string& section : mebrox::SettingsSections())
    EXPECT_EQ(ini.ReadString(section, "Use", ""), "1") << section;
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontBold", ""), "0");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontUnderline", ""), "1");
  EXPECT_EQ(ini.ReadString("fxLabel", "LightColor", ""), "clWhite");
  EXPECT_EQ(ini.ReadString("Desc", "BackgroundColor", ""), "clYellow");

  // Opening and cancelling again changes nothing.
  std::string bytes = ReadFile(path);
  studio.Run(OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n");
  EXPECT_EQ(ReadFile(path), bytes);

  // A hot text dropped now takes the created look.
  studio.Run("drop THyperTxt Form1 10 10\n");
  auto& txt = dynamic_cast<mebrox::THyperTxt&>(studio.Component("Form1", "HyperTxt1"));
  EXPECT_EQ(txt.AutoAdjust(), mebrox::adBoth);
  EXPECT_EQ(txt.Brush().Color(), host::clBlack);
  EXPECT_EQ(txt.Brush().Style(), host::bsBDiagonal);
  EXPECT_EQ(txt.Font().Name(), "Times New Roman");
  EXPECT_EQ(txt.Font().Size(), 20);
  EXPECT_TRUE(txt.Font().Style().Contains(host::fsBold));
  EXPECT_TRUE(txt.WordFont().Style().Contains(host::fsUnderline));
  EXPECT_EQ(txt.WordFont().Name(), "Times New Roman");
}

TEST(CompiniTest, OnlyMissingSectionsAreCreatedAndMissingKeysLoadTheDialogDefaults) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  // Every flag but the hot area's; the hot text's section has its own values, the wave
  // player's is flagged but gone, and the other sections lack their "Use".
  std::string hyperTxt = "[HyperTxt]\nUse=0\nAutoAdjust=1\nFontName=Arial\n";
  WriteFile(path,
            "[Status]\nINIAvailable=2\nImageINIAvailable=1\nTxtINIAvailable=1\n"
            "WaveINIAvailable=1\nfxLabelINIAvailable=1\nDescINIAvailable=1\n"
            "[HyperImage]\nCursorShow=0\n" +
                hyperTxt + "[fxLabel]\nFontSize=9\n[Desc]\nFontItalic=1\n");
  LookAfterLine(studio, 2, OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n",
                [](TINISettingsDlg& dialog) {
                  EXPECT_FALSE(dialog.cbImageUse->Checked());
                  EXPECT_FALSE(dialog.cbImageCursorShow->Checked());
                  EXPECT_TRUE(dialog.cbImageAllowShadow->Checked());
                  EXPECT_TRUE(dialog.cbAreaUse->Checked());  // created just now
                  EXPECT_FALSE(dialog.cbTxtUse->Checked());
                  EXPECT_EQ(dialog.cmbTxtAutoAdjust->Text(), "adHeight");
                  EXPECT_EQ(dialog.TxtFont->Font().Name(), "Arial");
                  EXPECT_EQ(dialog.cmbTxtBrushColor->Text(), "clBlack");
                  EXPECT_TRUE(dialog.TxtWordFont->Font().Style().Contains(host::fsBold));
                  EXPECT_FALSE(dialog.TxtWordFont->Font().Style().Contains(host::fsUnderline));
                  EXPECT_TRUE(dialog.cbWaveUse->Checked());
                  EXPECT_FALSE(dialog.cbWavePlayAutoPlay->Checked());
                  EXPECT_TRUE(dialog.cbfxLabelUse->Checked());
                  EXPECT_EQ(dialog.fxLabelFont->Font().Size(), 9);
                  EXPECT_TRUE(dialog.cbDescUse->Checked());
                  EXPECT_EQ(dialog.DescFont->Font().Style(),
                            (host::TFontStyles{host::fsBold, host::fsItalic}));
                  EXPECT_EQ(dialog.cmbDescBackgroundColor->Text(), "clYellow");
                });
  host::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("Status", "INIAvailable", ""), "2");
  EXPECT_EQ(ini.ReadString("Status", "AreaINIAvailable", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperArea", "Use", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperArea", "CursorShow", ""), "1");
  EXPECT_FALSE(ini.SectionExists("WavePlay"));
  EXPECT_FALSE(ini.ValueExists("HyperImage", "Use"));
  EXPECT_NE(ReadFile(path).find(hyperTxt), std::string::npos);
}

// ---- confirming

TEST(CompiniTest, OkWritesTheHotTextLookThatANewHotTextTakes) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  studio.Run(OpenDialog +
             "select INISettingsDlg.TabSet \"HyperTxt\"\n"
             "check INISettingsDlg.cbTxtUse off\n"
             "check INISettingsDlg.cbTxtUse on\n"
             "select INISettingsDlg.cmbTxtAutoAdjust \"adWidth\"\n"
             "select INISettingsDlg.cmbTxtBrushColor \"clRed\"\n"
             "select INISettingsDlg.cmbTxtBrushStyle \"bsSolid\"\n"
             "font \"Arial\" 14 bold clNavy\n"
             "click INISettingsDlg.bbTextFont 5 5\n"
             "font \"Courier New\" 12 italic underline clMaroon\n"
             "click INISettingsDlg.bbWordFont 5 5\n"
             "click INISettingsDlg.bbWordFont 5 5\n"  // cancelled: the chosen font stays
             "click INISettingsDlg.OKBtn 5 5\n");
  host::TIniFile ini(windir.File("Mebrox.ini"));
  EXPECT_EQ(ini.ReadString("HyperTxt", "Use", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperTxt", "AutoAdjust", ""), "3");
  EXPECT_EQ(ini.ReadString("HyperTxt", "BrushColor", ""), "clRed");
  EXPECT_EQ(ini.ReadString("HyperTxt", "BrushStyle", ""), "6");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontColor", ""), "clNavy");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontSize", ""), "14");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontName", ""), "Arial");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontBold", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontItalic", ""), "0");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontColor", ""), "clMaroon");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontName", ""), "Courier New");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontBold", ""), "0");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontItalic", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontUnderline", ""), "1");
  // The section's keys in their order, nothing else.
  host::TStringList keys;
  ini.ReadSection("HyperTxt", keys);
  EXPECT_EQ(keys.Items(),
            (std::vector<std::string>{"Use", "AutoAdjust", "BrushColor", "BrushStyle", "FontColor",
                                      "FontSize", "FontName", "FontBold", "FontItalic",
                                      "WordFontColor", "WordFontSize", "WordFontName",
                                      "WordFontBold", "WordFontItalic", "WordFontUnderline"}));

  studio.Run("drop THyperTxt Form1 10 10\nsave\n");
  auto& txt = dynamic_cast<mebrox::THyperTxt&>(studio.Component("Form1", "HyperTxt1"));
  EXPECT_EQ(txt.AutoAdjust(), mebrox::adWidth);
  EXPECT_EQ(txt.Brush().Color(), host::clRed);
  EXPECT_EQ(txt.Brush().Style(), host::bsSolid);
  EXPECT_EQ(txt.Font().Color(), host::clNavy);
  EXPECT_EQ(txt.WordFont().Style(), (host::TFontStyles{host::fsItalic, host::fsUnderline}));
  std::string saved = ReadFile(studio.File("Unit1.dfm"));
  for (const char* line : {"AutoAdjust = adWidth", "Font.Name = 'Arial'", "Font.Color = clNavy",
                           "WordFont.Name = 'Courier New'", "Brush.Color = clRed"})
    EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
}

TEST(CompiniTest, OkWritesEachFontsOwnStylesAndTheOtherPages) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  // The label's font is bold and italic, the popup's neither.
  WriteFile(path, FlaggedFile("[fxLabel]\nUse=1\nFontBold=1\nFontItalic=1\n"
                              "[Desc]\nUse=1\nFontBold=0\nFontItalic=0\n"));
  LookAfterLine(studio, 2, OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n",
                [](TINISettingsDlg& dialog) {
                  EXPECT_EQ(dialog.fxLabelFont->Font().Style(),
                            (host::TFontStyles{host::fsBold, host::fsItalic}));
                  EXPECT_TRUE(dialog.DescFont->Font().Style().Empty());
                });

  // A body font without bold writes 0 and shows so again; the effect list writes positions.
  studio.Run(OpenDialog +
             "select INISettingsDlg.TabSet \"HyperTxt\"\n"
             "font \"Times New Roman\" 20 clBlack\n"
             "click INISettingsDlg.bbTextFont 5 5\n"
             "select INISettingsDlg.TabSet \"fxLabel\"\n"
             "select INISettingsDlg.cmbfxLabelEffectType \"etHighShadow\"\n"
             "select INISettingsDlg.cmbfxLabelShadowColor \"clGray\"\n"
             "key INISettingsDlg.sefxLabelShadowDistance Up\n"
             "key INISettingsDlg.sefxLabelShadowDistance Up\n"
             "key INISettingsDlg.sefxLabelShadowDistance Up\n"
             "select INISettingsDlg.TabSet \"HyperImage\"\n"
             "check INISettingsDlg.cbImageAllowShadow off\n"
             "select INISettingsDlg.TabSet \"WavePlay\"\n"
             "check INISettingsDlg.cbWavePlayWait on\n"
             "select INISettingsDlg.TabSet \"Description\"\n"
             "select INISettingsDlg.cmbDescBackgroundColor \"clAqua\"\n"
             "font \"Arial\" 11 italic clGreen\n"
             "click INISettingsDlg.BitBtn1 5 5\n"
             "click INISettingsDlg.OKBtn 5 5\n");
  host::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontBold", ""), "0");
  EXPECT_EQ(ini.ReadString("fxLabel", "EffectType", ""), "3");
  EXPECT_EQ(mebrox::IntToEffectType(ini.ReadInteger("fxLabel", "EffectType", -1)),
            mebrox::etHighShadow);
  EXPECT_EQ(ini.ReadString("fxLabel", "ShadowColor", ""), "clGray");
  EXPECT_EQ(ini.ReadString("fxLabel", "ShadowDistance", ""), "4");  // three steps up from 1
  EXPECT_EQ(ini.ReadString("fxLabel", "FontItalic", ""), "1");
  EXPECT_EQ(ini.ReadString("HyperImage", "Allow Shadow", ""), "0");
  EXPECT_EQ(ini.ReadString("WavePlay", "WaitTillDone", ""), "1");
  EXPECT_EQ(ini.ReadString("Desc", "BackgroundColor", ""), "clAqua");
  EXPECT_EQ(ini.ReadString("Desc", "FontName", ""), "Arial");
  EXPECT_EQ(ini.ReadString("Desc", "FontSize", ""), "11");
  EXPECT_EQ(ini.ReadString("Desc", "FontColor", ""), "clGreen");
  EXPECT_EQ(ini.ReadString("Desc", "FontBold", ""), "0");
  EXPECT_EQ(ini.ReadString("Desc", "FontItalic", ""), "1");

  LookAfterLine(studio, 2, OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n",
                [](TINISettingsDlg& dialog) {
                  EXPECT_TRUE(dialog.TxtFont->Font().Style().Empty());
                  EXPECT_EQ(dialog.cmbfxLabelEffectType->Text(), "etHighShadow");
                  EXPECT_EQ(dialog.sefxLabelShadowDistance->Value(), 4);
                  EXPECT_EQ(dialog.DescFont->Font().Style(), host::TFontStyles{host::fsItalic});
                  EXPECT_FALSE(dialog.cbImageAllowShadow->Checked());
                });
}

TEST(CompiniTest, OkKeepsStoredValuesTheListsCannotShow) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  WriteFile(path, FlaggedFile("[HyperTxt]\nUse=1\nAutoAdjust=7\nBrushColor=$00123456\n"
                              "BrushStyle=-1\n[fxLabel]\nUse=1\nEffectType=9\n"
                              "LightColor=clRosy\n[Desc]\nUse=1\nBackgroundColor=claqua\n"));
  LookAfterLine(studio, 2, OpenDialog + "click INISettingsDlg.OKBtn 5 5\n",
                [](TINISettingsDlg& dialog) {
                  EXPECT_EQ(dialog.cmbTxtAutoAdjust->ItemIndex(), -1);
                  EXPECT_EQ(dialog.cmbTxtBrushColor->ItemIndex(), -1);
                  EXPECT_EQ(dialog.cmbTxtBrushStyle->ItemIndex(), -1);
                  EXPECT_EQ(dialog.cmbfxLabelEffectType->ItemIndex(), -1);
                  EXPECT_EQ(dialog.cmbfxLabelLightColor->ItemIndex(), -1);
                  EXPECT_EQ(dialog.cmbDescBackgroundColor->Text(), "clAqua");
                });
  host::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("HyperTxt", "AutoAdjust", ""), "7");
  EXPECT_EQ(ini.ReadString("HyperTxt", "BrushColor", ""), "$00123456");
  EXPECT_EQ(ini.ReadString("HyperTxt", "BrushStyle", ""), "-1");
  EXPECT_EQ(ini.ReadString("fxLabel", "EffectType", ""), "9");
  EXPECT_EQ(ini.ReadString("fxLabel", "LightColor", ""), "clRosy");
  EXPECT_EQ(ini.ReadString("Desc", "BackgroundColor", ""), "clAqua");
}

// ---- bad input

TEST(CompiniTest, AFontColourThatIsNoColourShowsTheDefaultAndIsReportedOnce) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  WriteFile(path, FlaggedFile("[HyperTxt]\nUse=1\nFontColor=Navyish\nWordFontColor=clTeal\n"
                              "[Desc]\nUse=1\nFontColor=#12\nFontSize=16\n"));
  size_t before = Dialogs().Shown().size();
  LookAfterLine(studio, 2, OpenDialog + "click INISettingsDlg.OKBtn 5 5\n",
                [](TINISettingsDlg& dialog) {
                  EXPECT_EQ(dialog.TxtFont->Font().Color(), host::clBlack);
                  EXPECT_EQ(dialog.TxtWordFont->Font().Color(), host::clTeal);
                  EXPECT_EQ(dialog.DescFont->Font().Color(), host::clBlack);
                  EXPECT_EQ(dialog.DescFont->Font().Size(), 16);
                });
  ASSERT_EQ(Dialogs().Shown().size(), before + 1);
  const std::string& message = Dialogs().Shown().back().Message;
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_NE(message.find("[HyperTxt] FontColor=Navyish"), std::string::npos) << message;
  EXPECT_NE(message.find("[Desc] FontColor=#12"), std::string::npos) << message;
  host::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("HyperTxt", "FontColor", ""), "clBlack");
  EXPECT_EQ(ini.ReadString("HyperTxt", "WordFontColor", ""), "clTeal");
  EXPECT_EQ(ini.ReadString("Desc", "FontColor", ""), "clBlack");
}

TEST(CompiniTest, NumbersThatAreNoNumbersAreReportedAndOnesOutOfRangeKept) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  // "Use=yes" is off for a component but would show ticked; 45 is more than the box holds.
  WriteFile(path, FlaggedFile("[WavePlay]\nUse=yes\n[fxLabel]\nShadowDistance=45\n"));
  size_t before = Dialogs().Shown().size();
  studio.Run(OpenDialog + "click INISettingsDlg.OKBtn 5 5\n");
  ASSERT_EQ(Dialogs().Shown().size(), before + 1);
  EXPECT_NE(Dialogs().Shown().back().Message.find("[WavePlay] Use=yes (shown as 1)"),
            std::string::npos);
  EXPECT_EQ(host::TIniFile(path).ReadString("fxLabel", "ShadowDistance", ""), "45");
}

TEST(CompiniTest, ASettingsFileThatCannotBeReadStopsNoProjectAndNoDrop) {
  ScopedWindowsDir windir;
  std::string path = windir.File("Mebrox.ini");
  std::filesystem::create_directory(path);
  std::unique_ptr<TStudioFixture> studio;
  ASSERT_NO_THROW(studio = std::make_unique<TStudioFixture>(std::vector<std::string>{
                      "object Form1: TForm1\n  object HyperTxt1: THyperTxt\n  end\nend\n"}));
  std::string trace = studio->Run("drop THyperTxt Form1 10 10\n" + OpenDialog);
  EXPECT_NE(trace.find("dropped Form1.HyperTxt2"), std::string::npos) << trace;
  // Only the settings dialog, which would write the file, says it cannot.
  EXPECT_NE(trace.find("error \"Cannot open file \\\"" + path + "\\\": is a directory.\""),
            std::string::npos)
      << trace;
}

TEST(CompiniTest, AMalformedFileIsNeverOverwrittenUnlessAFreshStartIsChosen) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string path = windir.File("Mebrox.ini");
  const std::string damaged = "[Status]\nINIAvailable=1\nthis line is no setting\n[Desc]\nUse=0\n";
  WriteFile(path, damaged);

  size_t before = Dialogs().Shown().size();
  std::string trace = studio.Run("answer cancel\n" + OpenDialog);
  EXPECT_EQ(trace.find("modal TINISettingsDlg"), std::string::npos) << trace;
  ASSERT_EQ(Dialogs().Shown().size(), before + 1);
  const std::string& message = Dialogs().Shown().back().Message;
  EXPECT_NE(message.find("\"" + path + "\""), std::string::npos) << message;
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_EQ(ReadFile(path), damaged);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(windir.Dir().Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);

  // A fresh start keeps the damaged file beside the new one and opens the dialog on defaults.
  trace = studio.Run("answer yes\n" + OpenDialog + "click INISettingsDlg.OKBtn 5 5\n");
  EXPECT_NE(trace.find("modal TINISettingsDlg"), std::string::npos) << trace;
  EXPECT_EQ(ReadFile(path + ".bak"), damaged);
  host::TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("Status", "DescINIAvailable", ""), "1");
  EXPECT_EQ(ini.ReadString("Desc", "Use", ""), "1");

  // An older backup is never written over.
  const std::string damagedAgain = "[Status\n";
  WriteFile(path, damagedAgain);
  studio.Run("answer yes\n" + OpenDialog + "click INISettingsDlg.CancelBtn 5 5\n");
  EXPECT_EQ(ReadFile(path + ".bak"), damaged);
  EXPECT_EQ(ReadFile(path + ".bak2"), damagedAgain);
  EXPECT_EQ(host::TIniFile(path).ReadString("Status", "INIAvailable", ""), "1");
}

// ---- the file as other programs read it

TEST(CompiniTest, TheWrittenFileIsAnOrdinaryIniFile) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  studio.Run(OpenDialog +
             "select INISettingsDlg.TabSet \"HyperTxt\"\n"
             "font \"DejaVu Sans\" 13 italic clPurple\n"
             "click INISettingsDlg.bbTextFont 5 5\n"
             "click INISettingsDlg.OKBtn 5 5\n");
  std::string path = windir.File("Mebrox.ini");
  std::string command =
      "python3 -c \"import configparser, sys\n"
      "c = configparser.ConfigParser(strict=False, interpolation=None)\n"
      "c.optionxform = str\n"
      "assert c.read(sys.argv[1]) == [sys.argv[1]]\n"
      "for s in c.sections():\n"
      "    for k, v in c.items(s): print(s + '/' + k + '=' + v)\n\" '" +
      path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  ASSERT_EQ(::pclose(pipe.release()), 0) << output;

  // Every key the kit reads, with the value the kit reads.
  host::TIniFile ini(path);
  host::TStringList sections;
  ini.ReadSections(sections);
  std::string expected;
  for (const std::string& section : sections.Items()) {
    host::TStringList keys;
    ini.ReadSection(section, keys);
    for (const std::string& key : keys.Items())
      expected += section + "/" + key + "=" + ini.ReadString(section, key, "") + "\n";
  }
  EXPECT_EQ(output, expected);
  EXPECT_NE(output.find("HyperTxt/FontName=DejaVu Sans\n"), std::string::npos);
  EXPECT_NE(output.find("HyperImage/Allow Shadow=1\n"), std::string::npos);
}

// ---- how it looks

TEST(CompiniTest, EveryPageShowsItsOwnControls) {
  ScopedWindowsDir windir;
  TStudioFixture studio({FormText});
  std::string out = MEBROX_TEST_OUTPUT;
  // The longest colour name in every colour list, to see that it shows whole.
  WriteFile(windir.File("Mebrox.ini"),
            FlaggedFile("[HyperTxt]\nBrushColor=clInactiveCaptionText\n"
                        "[fxLabel]\nShadowColor=clInactiveCaptionText\n"
                        "LightColor=clInactiveCaptionText\n"
                        "[Desc]\nBackgroundColor=clInactiveCaptionText\n"));
  std::vector<std::string> pages = {"HyperImage", "HyperArea", "HyperTxt",
                                    "WavePlay",   "fxLabel",   "Description"};
  std::string script = OpenDialog;
  for (const std::string& page : pages)
    script += "select INISettingsDlg.TabSet \"" + page + "\"\nscreenshot INISettingsDlg " + out +
              "/settings-" + page + ".png\n";
  studio.Run(script + "click INISettingsDlg.CancelBtn 5 5\n");
  // The page area of each picture differs from every other's; the button column is the same.
  std::vector<std::shared_ptr<const host::TRawImage>> shots;
  for (const std::string& page : pages) {
    host::TPicture picture;
    picture.LoadFromFile(out + "/settings-" + page + ".png");
    ASSERT_NE(picture.Image(), nullptr);
    EXPECT_EQ(picture.Image()->Width, 361);
    EXPECT_EQ(picture.Image()->Height, 228);
    shots.push_back(picture.Image());
  }
  auto region = [](const host::TRawImage& image, int left, int right) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 200; ++y)
      for (int x = left; x < right; ++x) pixels.push_back(image.Pixel(x, y));
    return pixels;
  };
  for (size_t i = 0; i < shots.size(); ++i) {
    EXPECT_EQ(region(*shots[i], 280, 355), region(*shots[0], 280, 355)) << pages[i];
    for (size_t j = i + 1; j < shots.size(); ++j)
      EXPECT_NE(region(*shots[i], 0, 270), region(*shots[j], 0, 270)) << pages[i] << pages[j];
  }
}

}  // namespace
