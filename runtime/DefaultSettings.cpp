#include "runtime/DefaultSettings.h"

#include <algorithm>

#include "host/SysUtils.h"

namespace mebrox {

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// Goes through the name, never the ordinal: the alphabetical and the declaration orders differ.
template <class E>
E FromListPosition(int position, const std::vector<std::string>& list,
                   const std::vector<std::string>& ordinalNames, E fallback) {
  if (position < 0 || position >= static_cast<int>(list.size())) return fallback;
  auto it =
      std::find(ordinalNames.begin(), ordinalNames.end(), list[static_cast<size_t>(position)]);
  return static_cast<E>(it - ordinalNames.begin());
}

int ToListPosition(int ordinal, const std::vector<std::string>& list,
                   const std::vector<std::string>& ordinalNames) {
  if (ordinal < 0 || ordinal >= static_cast<int>(ordinalNames.size())) return -1;
  auto it = std::find(list.begin(), list.end(), ordinalNames[static_cast<size_t>(ordinal)]);
  return static_cast<int>(it - list.begin());
}

struct TInitialValue {
  const char* Key;
  const char* Value;
};

struct TSectionLayout {
  const char* Section;
  const char* Flag;
  std::vector<TInitialValue> Keys;
};

const char* const StatusSection = "Status";
const char* const AvailableKey = "INIAvailable";

// Every key with the value the file is created with, in the order keys are written and read.
const std::vector<TSectionLayout>& Layouts() {
  static const std::vector<TSectionLayout> layouts = {
      {"HyperImage",
       "ImageINIAvailable",
       {{"Use", "1"}, {"CursorShow", "1"}, {"Allow Shadow", "1"}}},
      {"HyperArea", "AreaINIAvailable", {{"Use", "1"}, {"CursorShow", "1"}}},
      {"HyperTxt",
       "TxtINIAvailable",
       {{"Use", "1"},
        {"AutoAdjust", "0"},
        {"BrushColor", "clBlack"},
        {"BrushStyle", "0"},
        {"FontColor", "clBlack"},
        {"FontSize", "20"},
        {"FontName", "Times New Roman"},
        {"FontBold", "1"},
        {"FontItalic", "0"},
        {"WordFontColor", "clBlack"},
        {"WordFontSize", "20"},
        {"WordFontName", "Times New Roman"},
        {"WordFontBold", "0"},
        {"WordFontItalic", "0"},
        {"WordFontUnderline", "1"}}},
      {"WavePlay",
       "WaveINIAvailable",
       {{"Use", "1"}, {"AutoPlay", "0"}, {"Default", "0"}, {"WaitTillDone", "0"}}},
      {"fxLabel",
       "fxLabelINIAvailable",
       {{"Use", "1"},
        {"EffectType", "0"},
        {"ShadowDistance", "1"},
        {"FontColor", "clBlack"},
        {"FontSize", "20"},
        {"FontName", "Times New Roman"},
        {"FontBold", "1"},
        {"FontItalic", "0"},
        {"ShadowColor", "clBlack"},
        {"LightColor", "clWhite"}}},
      {"Desc",
       "DescINIAvailable",
       {{"Use", "1"},
        {"FontColor", "clBlack"},
        {"FontSize", "20"},
        {"FontName", "Times New Roman"},
        {"FontBold", "1"},
        {"FontItalic", "0"},
        {"BackgroundColor", "clYellow"}}},
  };
  return layouts;
}

const TSectionLayout& LayoutOf(std::string_view section) {
  for (const TSectionLayout& layout : Layouts())
    if (host::SameText(layout.Section, section)) return layout;
  throw host::EConvertError("\"" + std::string(section) + "\" is not a default settings section");
}

void AddStyle(host::TFont& font, host::TFontStyle style) {
  host::TFontStyles styles = font.Style();
  styles.Include(style);
  font.SetStyle(styles);
}

}  // namespace

const std::vector<std::string>& AdjustAttrsNames() {
  static const std::vector<std::string> names = {"adBoth", "adHeight", "adNone", "adWidth"};
  return names;
}

const std::vector<std::string>& EffectTypesNames() {
  static const std::vector<std::string> names = {
      "etCustom", "etDeepSink", "etRaise", "etHighRaise", "etShadow", "etHighShadow", "etSink"};
  return names;
}

const std::vector<std::string>& AutoAdjustList() {
  static const std::vector<std::string> list = Sorted(AdjustAttrsNames());
  return list;
}

const std::vector<std::string>& BrushStyleList() {
  static const std::vector<std::string> list = Sorted(host::BrushStyleNames());
  return list;
}

const std::vector<std::string>& EffectTypeList() {
  static const std::vector<std::string> list = Sorted(EffectTypesNames());
  return list;
}

TAdjustAttrs IntToAutoAdjust(int value) {
  return FromListPosition(value, AutoAdjustList(), AdjustAttrsNames(), adNone);
}

host::TBrushStyle IntToBrushStyle(int value) {
  return FromListPosition(value, BrushStyleList(), host::BrushStyleNames(), host::bsClear);
}

TEffectTypes IntToEffectType(int value) {
  return FromListPosition(value, EffectTypeList(), EffectTypesNames(), etCustom);
}

int AutoAdjustToInt(TAdjustAttrs value) {
  return ToListPosition(value, AutoAdjustList(), AdjustAttrsNames());
}

int BrushStyleToInt(host::TBrushStyle value) {
  return ToListPosition(value, BrushStyleList(), host::BrushStyleNames());
}

int EffectTypeToInt(TEffectTypes value) {
  return ToListPosition(value, EffectTypeList(), EffectTypesNames());
}

const std::vector<std::string>& SettingsSections() {
  static const std::vector<std::string> sections = [] {
    std::vector<std::string> names;
    for (const TSectionLayout& layout : Layouts()) names.push_back(layout.Section);
    return names;
  }();
  return sections;
}

bool NewINI(const host::TIniFile& iniFile) {
  return iniFile.ReadInteger(StatusSection, AvailableKey, 0) == 0;
}

bool NewSectionINI(const host::TIniFile& iniFile, std::string_view section) {
  return iniFile.ReadInteger(StatusSection, LayoutOf(section).Flag, 0) == 0;
}

void CreateSectionINI(host::TIniFile& iniFile, std::string_view section) {
  const TSectionLayout& layout = LayoutOf(section);
  iniFile.WriteInteger(StatusSection, layout.Flag, 1);
  // A section that is there without its flag (the flag lost or misspelt in an edit) holds the
  // designer's look: only what it lacks is filled in.
  for (const TInitialValue& key : layout.Keys)
    if (!iniFile.ValueExists(layout.Section, key.Key))
      iniFile.WriteString(layout.Section, key.Key, key.Value);
}

void CreateMissingSettings(host::TIniFile& iniFile) {
  if (NewINI(iniFile)) iniFile.WriteInteger(StatusSection, AvailableKey, 1);
  for (const TSectionLayout& layout : Layouts())
    if (NewSectionINI(iniFile, layout.Section)) CreateSectionINI(iniFile, layout.Section);
}

// ---- TSettingsSection

template <class T, class TRead>
T TSettingsSection::ReadOr(T fallback, TRead read) const {
  try {
    return read();
  } catch (const host::EInOutError& error) {
    // Someone else's file, or a folder where the file should be: nothing in it is the user's
    // look, and no drop or popup may fail over it.
    host::FileNotice(error.Message() +
                     ". The default settings file is taken as absent: new components keep their "
                     "own look.");
    return fallback;
  }
}

TSettingsSection::TSettingsSection(std::string section, std::string fileName)
    : FIniFile(std::move(fileName), host::TIniParsing::Lenient), FSection(std::move(section)) {
  // Only a file the settings dialog has initialised counts; any other flag value means no
  // settings at all.
  FUsed =
      ReadOr(false, [&] { return FIniFile.ReadInteger(StatusSection, AvailableKey, 0) == 1; }) &&
      ReadBool("Use", false);
}

bool TSettingsSection::ReadBool(std::string_view key, bool defaultValue) const {
  return ReadOr(defaultValue, [&] { return FIniFile.ReadBool(FSection, key, defaultValue); });
}

int TSettingsSection::ReadInteger(std::string_view key, int defaultValue) const {
  return ReadOr(defaultValue, [&] { return FIniFile.ReadInteger(FSection, key, defaultValue); });
}

std::string TSettingsSection::ReadString(std::string_view key,
                                         std::string_view defaultValue) const {
  return ReadOr(std::string(defaultValue),
                [&] { return FIniFile.ReadString(FSection, key, defaultValue); });
}

host::TColor TSettingsSection::ReadColor(std::string_view key,
                                         std::string_view defaultValue) const {
  std::string text = ReadString(key, defaultValue);
  host::TColor color;
  if (host::TryStringToColor(text, color)) return color;
  // A look that cannot be read must not stop a drop or a popup: the user is told where it is
  // and the key reads as if it were missing.
  std::string path = host::ProfilePath(FIniFile.FileName());
  int line = ReadOr(0, [&] { return FIniFile.KeyLine(FSection, key); });
  host::FileNotice(host::EParserError(path, line, "'" + text + "' is not a colour").Message() +
                   "; " + std::string(defaultValue) + " is used instead.");
  return host::StringToColor(std::string(defaultValue));
}

void TSettingsSection::ApplyFont(host::TFont& font, const std::string& prefix,
                                 bool hasUnderline) const {
  font.SetColor(ReadColor(prefix + "Color", "clBlack"));
  font.SetSize(ReadInteger(prefix + "Size", 20));
  font.SetName(ReadString(prefix + "Name", "Times New Roman"));
  if (ReadBool(prefix + "Bold", true)) AddStyle(font, host::fsBold);
  if (ReadBool(prefix + "Italic", false)) AddStyle(font, host::fsItalic);
  if (hasUnderline && ReadBool(prefix + "Underline", false)) AddStyle(font, host::fsUnderline);
}

}  // namespace mebrox
