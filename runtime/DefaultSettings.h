#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/Graphics.h"
#include "host/IniFiles.h"

namespace mebrox {

// The default settings file: one per installation, in the Windows directory, from which newly
// dropped components take their initial look.
inline constexpr const char* SettingsFileName = "Mebrox.ini";

enum TAdjustAttrs { adBoth, adHeight, adNone, adWidth };
enum TEffectTypes { etCustom, etDeepSink, etRaise, etHighRaise, etShadow, etHighShadow, etSink };

// Names in ordinal order, for published properties.
const std::vector<std::string>& AdjustAttrsNames();
const std::vector<std::string>& EffectTypesNames();

// The file stores an enumeration as the position of its name in the alphabetical list of names,
// the order in which the settings dialog offers them; these are those lists.
const std::vector<std::string>& AutoAdjustList();
const std::vector<std::string>& BrushStyleList();
const std::vector<std::string>& EffectTypeList();

// List position to value, by name. A position outside the list gives adNone, bsClear, etCustom.
TAdjustAttrs IntToAutoAdjust(int value);
host::TBrushStyle IntToBrushStyle(int value);
TEffectTypes IntToEffectType(int value);
// Value to list position, for writing the file.
int AutoAdjustToInt(TAdjustAttrs value);
int BrushStyleToInt(host::TBrushStyle value);
int EffectTypeToInt(TEffectTypes value);

// The six settings sections in file order: "HyperImage", "HyperArea", "HyperTxt", "WavePlay",
// "fxLabel", "Desc".
const std::vector<std::string>& SettingsSections();

// True while "Status"/"INIAvailable" reads 0 (a missing key reads 0).
bool NewINI(const host::TIniFile& iniFile);
// True while the section's flag in "Status" (e.g. "TxtINIAvailable") reads 0.
bool NewSectionINI(const host::TIniFile& iniFile, std::string_view section);
// Writes the section's flag as 1, then every key of the section with its initial value; keys
// the section holds already keep their values. An unknown section fails with EConvertError.
void CreateSectionINI(host::TIniFile& iniFile, std::string_view section);
// What the settings dialog does on opening: marks the file initialised when it is new, then
// creates every section whose flag is not set, in file order. Sections already created are left
// untouched.
void CreateMissingSettings(host::TIniFile& iniFile);

// One section of the settings file as a component reads it at start-up:
//
//   TSettingsSection ini("HyperTxt");
//   if (!ini.Used()) return;
//   FAutoAdjust = IntToAutoAdjust(ini.ReadInteger("AutoAdjust", 0));
//   ini.ApplyFont(*Font(), "Font");
//
// Every read goes straight to the file. Lines of the file that are not understood are skipped
// and told once, so a damaged file never stops a drop or a popup. A colour that is neither a
// colour name nor a number is told too (file and line) and reads as the default. A file that
// cannot be read at all (a directory of that name, a file the user may not read) counts as
// absent, and is told once with the reason.
class TSettingsSection {
 public:
  explicit TSettingsSection(std::string section, std::string fileName = SettingsFileName);

  // The file is initialised ("INIAvailable" exactly 1) and the section's "Use" is true.
  bool Used() const { return FUsed; }
  const std::string& Section() const { return FSection; }

  bool ReadBool(std::string_view key, bool defaultValue) const;
  int ReadInteger(std::string_view key, int defaultValue) const;
  std::string ReadString(std::string_view key, std::string_view defaultValue) const;
  host::TColor ReadColor(std::string_view key, std::string_view defaultValue) const;

  // Applies prefix + "Color", "Size", "Name", then adds bold, italic and, where the section has
  // it, underline for each of prefix + "Bold", "Italic", "Underline" that is true; a false
  // style key removes nothing. Missing keys: black 20-point "Times New Roman", bold.
  void ApplyFont(host::TFont& font, const std::string& prefix, bool hasUnderline = false) const;

 private:
  // What read returns, or fallback when the file cannot be read at all.
  template <class T, class TRead>
  T ReadOr(T fallback, TRead read) const;

  host::TIniFile FIniFile;
  std::string FSection;
  bool FUsed = false;
};

}  // namespace mebrox
