#include "experts/Compini.h"

#include <filesystem>
#include <functional>
#include <variant>

#include "host/DialogLayout.h"
#include "host/SysUtils.h"
#include "ide/DesignCore.h"
#include "runtime/DefaultSettings.h"

namespace mebrox::Compini {

void Register(ide::TDesignCore& core) {
  core.Registry().RegisterLibraryExpert(std::make_unique<DefaultSettingsExpert>());
}

}  // namespace mebrox::Compini

namespace mebrox {

bool ImageUse, ImageCursorShow, ImageAllowShadow;
bool AreaUse, AreaCursorShow;
bool TxtUse, TxtFontBold, TxtFontItalic, TxtWordFontBold, TxtWordFontItalic, TxtWordFontUnderLine;
int TxtAutoAdjust, TxtBrushStyle, TxtFontSize, TxtWordFontSize;
std::string TxtBrushColor, TxtFontColor, TxtFontName, TxtWordFontColor, TxtWordFontName;
bool WaveUse, WaveAutoPlay, WaveDefault, WaveWait;
bool fxLabelUse, fxLabelFontBold, fxLabelFontItalic;
int fxLabelEffectType, fxLabelShadowDistance, fxLabelFontSize;
std::string fxLabelFontColor, fxLabelShadowColor, fxLabelLightColor, fxLabelFontName;
bool DescUse, DescFontBold, DescFontItalic;
int DescFontSize;
std::string DescFontColor, DescBackgroundColor, DescFontName;

namespace {

// One key of a section on its way between the file, the settings image and a control.
struct TSettingKey {
  std::string Key;
  std::variant<bool*, int*, std::string*> Image;
  // What the dialog assumes when the file lacks the key, in the file's encoding.
  std::string DialogDefault;
  std::function<void()> Show;  // image to control
  std::function<void()> Take;  // control to image
};

void ReadValue(const host::TIniFile& ini, const std::string& section, const TSettingKey& key,
               bool& value) {
  value = ini.ReadBool(section, key.Key, key.DialogDefault == "1");
}
void ReadValue(const host::TIniFile& ini, const std::string& section, const TSettingKey& key,
               int& value) {
  value = ini.ReadInteger(section, key.Key, host::StrToInt(key.DialogDefault));
}
void ReadValue(const host::TIniFile& ini, const std::string& section, const TSettingKey& key,
               std::string& value) {
  value = ini.ReadString(section, key.Key, key.DialogDefault);
}

void WriteValue(host::TIniFile& ini, const std::string& section, const std::string& key,
                bool value) {
  ini.WriteBool(section, key, value);
}
void WriteValue(host::TIniFile& ini, const std::string& section, const std::string& key,
                int value) {
  ini.WriteInteger(section, key, value);
}
void WriteValue(host::TIniFile& ini, const std::string& section, const std::string& key,
                const std::string& value) {
  ini.WriteString(section, key, value);
}

// Selects the item at position, or none for a position outside the list.
void SelectPosition(host::TComboBox& list, int position) {
  list.SetText(position >= 0 && position < list.Items().Count() ? list.Items().Get(position)
                                                                : std::string());
}

void FillList(host::TComboBox& list, const std::vector<std::string>& items) {
  list.Items().BeginUpdate();
  list.Items().Clear();
  for (const std::string& item : items) list.Items().Add(item);
  list.Items().EndUpdate();
}

const std::vector<std::string>& ColorNameList() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const host::TColorName& color : host::ColorNames()) list.push_back(color.Name);
    return list;
  }();
  return names;
}

TSettingKey CheckKey(const char* key, bool& image, bool dialogDefault, host::TCheckBox* box) {
  return {key, &image, dialogDefault ? "1" : "0", [&image, box] { box->SetChecked(image); },
          [&image, box] { image = box->Checked(); }};
}

// An enumeration stored as its position in the list. A list left without a choice (the file
// held a position outside it) keeps the stored position: OK must not turn it into -1.
TSettingKey PositionKey(const char* key, int& image, host::TComboBox* list) {
  return {key, &image, "0", [&image, list] { SelectPosition(*list, image); },
          [&image, list] {
            if (list->ItemIndex() >= 0) image = list->ItemIndex();
          }};
}

// A colour chosen by name. A colour the list does not name (a number, a misspelling) shows no
// choice and is kept as it was rather than written back empty.
TSettingKey ColorKey(const char* key, std::string& image, const char* dialogDefault,
                     host::TComboBox* list) {
  return {key, &image, dialogDefault, [&image, list] { list->SetText(image); },
          [&image, list] {
            if (list->ItemIndex() >= 0) image = list->Text();
          }};
}

// A number outside the box's range shows as the nearest it holds; unless the designer changes
// it, OK keeps the stored number rather than that nearest one.
TSettingKey SpinKey(const char* key, int& image, int dialogDefault, host::TSpinEdit* spin) {
  auto shown = std::make_shared<int>(0);
  return {key, &image, host::IntToStr(dialogDefault),
          [&image, spin, shown] {
            spin->SetValue(image);
            *shown = spin->Value();
          },
          [&image, spin, shown] {
            if (spin->Value() != *shown) image = spin->Value();
          }};
}

TSettingKey FontStyleKey(const std::string& key, bool& image, bool dialogDefault,
                         host::TFontDialog* dialog, host::TFontStyle style) {
  // The image decides the style both ways, so the font shows exactly the stored styles.
  return {key, &image, dialogDefault ? "1" : "0",
          [&image, dialog, style] {
            host::TFontStyles styles = dialog->Font().Style();
            if (image)
              styles.Include(style);
            else
              styles.Exclude(style);
            dialog->Font().SetStyle(styles);
          },
          [&image, dialog, style] { image = dialog->Font().Style().Contains(style); }};
}

// Every font of the file starts as black bold 20-point "Times New Roman".
void AddFontKeys(std::vector<TSettingKey>& keys, const std::string& prefix,
                 host::TFontDialog* dialog, std::string& color, int& size, std::string& name,
                 bool& bold, bool& italic, bool* underline = nullptr) {
  host::TFont& font = dialog->Font();
  keys.push_back({prefix + "Color", &color, "clBlack",
                  [&color, &font] { font.SetColor(host::StringToColor(color)); },
                  [&color, &font] { color = host::ColorToString(font.Color()); }});
  keys.push_back({prefix + "Size", &size, "20", [&size, &font] { font.SetSize(size); },
                  [&size, &font] { size = font.Size(); }});
  keys.push_back({prefix + "Name", &name, "Times New Roman", [&name, &font] { font.SetName(name); },
                  [&name, &font] { name = font.Name(); }});
  keys.push_back(FontStyleKey(prefix + "Bold", bold, true, dialog, host::fsBold));
  keys.push_back(FontStyleKey(prefix + "Italic", italic, false, dialog, host::fsItalic));
  if (underline)
    keys.push_back(
        FontStyleKey(prefix + "Underline", *underline, false, dialog, host::fsUnderline));
}

// The name beside path that a damaged settings file moves to: "Mebrox.ini.bak", or, when that
// is taken by an older backup, the first free of "Mebrox.ini.bak2", "Mebrox.ini.bak3" ...
std::string BackupName(const std::string& path) {
  auto taken = [](const std::string& name) {
    std::error_code ec;
    return std::filesystem::symlink_status(name, ec).type() !=
           std::filesystem::file_type::not_found;
  };
  std::string name = path + ".bak";
  for (int n = 2; taken(name); ++n) name = path + ".bak" + std::to_string(n);
  return name;
}

// What the parser said about the line, without the file name and line it starts with.
std::string ParserReason(const host::EParserError& error) {
  std::string prefix = error.FileName() + "(" + std::to_string(error.Line()) + "): ";
  const std::string& text = error.Message();
  return text.compare(0, prefix.size(), prefix) == 0 ? text.substr(prefix.size()) : text;
}

// A settings file that cannot be parsed is never written over: the designer learns which line
// is wrong and chooses between a fresh file, with the damaged one kept beside it, and leaving
// everything as it is. False when nothing may be written.
bool SettingsFileUsable() {
  try {
    NewINI(host::TIniFile(SettingsFileName));
    return true;
  } catch (const host::EParserError& error) {
    std::string path = host::ProfilePath(SettingsFileName);
    std::string backup = BackupName(path);
    std::string text = "The default settings file \"" + path + "\" cannot be read: line " +
                       std::to_string(error.Line()) + ": " + ParserReason(error) +
                       ".\n\nStart a fresh settings file? The damaged file will be kept as \"" +
                       backup + "\".";
    if (host::MessageDlg(text, host::mtError, {host::mbYes, host::mbCancel}, 0) != host::mrYes)
      return false;
    std::error_code ec;
    std::filesystem::rename(path, backup, ec);
    if (ec)
      throw host::EInOutError("Cannot keep \"" + path + "\" as \"" + backup +
                              "\": " + ec.message());
    return true;
  }
}

}  // namespace

struct TINISettingsDlg::TSectionKeys {
  std::string Section;
  std::vector<TSettingKey> Keys;
};

void DefaultSettingsExpert::Execute() {
  if (!SettingsFileUsable()) return;
  auto dialog = std::make_unique<TINISettingsDlg>(host::Application);
  dialog->ShowModal();
}

TINISettingsDlg::TINISettingsDlg(host::TComponent* owner)
    : host::TForm(owner), FIniFile(SettingsFileName) {
  host::TDialogLayout("INISettingsDlg")
      .Bind("Notebook", Notebook)
      .Bind("TabSet", TabSet)
      .Bind("OKBtn", OKBtn)
      .Bind("CancelBtn", CancelBtn)
      .Bind("HelpBtn", HelpBtn)
      .Bind("cbImageUse", cbImageUse)
      .Bind("cbImageCursorShow", cbImageCursorShow)
      .Bind("cbImageAllowShadow", cbImageAllowShadow)
      .Bind("cbAreaUse", cbAreaUse)
      .Bind("cbAreaCursorShow", cbAreaCursorShow)
      .Bind("cbTxtUse", cbTxtUse)
      .Bind("cmbTxtAutoAdjust", cmbTxtAutoAdjust)
      .Bind("cmbTxtBrushColor", cmbTxtBrushColor)
      .Bind("cmbTxtBrushStyle", cmbTxtBrushStyle)
      .Bind("bbTextFont", bbTextFont)
      .Bind("bbWordFont", bbWordFont)
      .Bind("cbWaveUse", cbWaveUse)
      .Bind("cbWavePlayAutoPlay", cbWavePlayAutoPlay)
      .Bind("cbWavePlayDefault", cbWavePlayDefault)
      .Bind("cbWavePlayWait", cbWavePlayWait)
      .Bind("cbfxLabelUse", cbfxLabelUse)
      .Bind("cmbfxLabelEffectType", cmbfxLabelEffectType)
      .Bind("bbfxLabelFont", bbfxLabelFont)
      .Bind("sefxLabelShadowDistance", sefxLabelShadowDistance)
      .Bind("cmbfxLabelShadowColor", cmbfxLabelShadowColor)
      .Bind("cmbfxLabelLightColor", cmbfxLabelLightColor)
      .Bind("cbDescUse", cbDescUse)
      .Bind("BitBtn1", BitBtn1)
      .Bind("cmbDescBackgroundColor", cmbDescBackgroundColor)
      .Bind("fxLabelFont", fxLabelFont)
      .Bind("TxtFont", TxtFont)
      .Bind("TxtWordFont", TxtWordFont)
      .Bind("DescFont", DescFont)
      .Part("ButtonPanel")
      .Load(*this);
  TabSet->OnClick = [this](host::TObject*) { TabSetClick(); };
  OKBtn->OnClick = [this](host::TObject*) { OKBtnClick(); };
  HelpBtn->OnClick = [this](host::TObject*) { HelpBtnClick(); };
  bbTextFont->OnClick = [this](host::TObject*) { TxtFont->Execute(); };
  bbWordFont->OnClick = [this](host::TObject*) { TxtWordFont->Execute(); };
  bbfxLabelFont->OnClick = [this](host::TObject*) { fxLabelFont->Execute(); };
  BitBtn1->OnClick = [this](host::TObject*) { DescFont->Execute(); };
  OnKeyDown = [this](host::TObject*, host::TKey& key, host::TShiftState shift) {
    FormKeyDown(key, shift);
  };
  // OK closes only once the file is written, so that a failed write leaves the dialog open
  // with the designer's choices.
  OKBtn->SetModalResult(host::mrNone);
  // The tab row takes the keyboard too: its arrow keys turn the pages.
  TabSet->SetTabStop(true);
  BindKeys();
  FormCreate();
}

TINISettingsDlg::~TINISettingsDlg() = default;

void TINISettingsDlg::BindKeys() {
  std::vector<TSettingKey> txt = {
      CheckKey("Use", TxtUse, false, cbTxtUse),
      PositionKey("AutoAdjust", TxtAutoAdjust, cmbTxtAutoAdjust),
      ColorKey("BrushColor", TxtBrushColor, "clBlack", cmbTxtBrushColor),
      PositionKey("BrushStyle", TxtBrushStyle, cmbTxtBrushStyle)};
  AddFontKeys(txt, "Font", TxtFont, TxtFontColor, TxtFontSize, TxtFontName, TxtFontBold,
              TxtFontItalic);
  AddFontKeys(txt, "WordFont", TxtWordFont, TxtWordFontColor, TxtWordFontSize, TxtWordFontName,
              TxtWordFontBold, TxtWordFontItalic, &TxtWordFontUnderLine);

  std::vector<TSettingKey> fx = {
      CheckKey("Use", fxLabelUse, true, cbfxLabelUse),
      PositionKey("EffectType", fxLabelEffectType, cmbfxLabelEffectType),
      SpinKey("ShadowDistance", fxLabelShadowDistance, 1, sefxLabelShadowDistance)};
  AddFontKeys(fx, "Font", fxLabelFont, fxLabelFontColor, fxLabelFontSize, fxLabelFontName,
              fxLabelFontBold, fxLabelFontItalic);
  fx.push_back(ColorKey("ShadowColor", fxLabelShadowColor, "clBlack", cmbfxLabelShadowColor));
  fx.push_back(ColorKey("LightColor", fxLabelLightColor, "clWhite", cmbfxLabelLightColor));

  std::vector<TSettingKey> desc = {CheckKey("Use", DescUse, true, cbDescUse)};
  AddFontKeys(desc, "Font", DescFont, DescFontColor, DescFontSize, DescFontName, DescFontBold,
              DescFontItalic);
  desc.push_back(
      ColorKey("BackgroundColor", DescBackgroundColor, "clYellow", cmbDescBackgroundColor));

  // In the file's order of sections and, within each, of keys.
  FSections.push_back({"HyperImage",
                       {CheckKey("Use", ImageUse, false, cbImageUse),
                        CheckKey("CursorShow", ImageCursorShow, true, cbImageCursorShow),
                        CheckKey("Allow Shadow", ImageAllowShadow, true, cbImageAllowShadow)}});
  FSections.push_back({"HyperArea",
                       {CheckKey("Use", AreaUse, false, cbAreaUse),
                        CheckKey("CursorShow", AreaCursorShow, true, cbAreaCursorShow)}});
  FSections.push_back({"HyperTxt", std::move(txt)});
  FSections.push_back({"WavePlay",
                       {CheckKey("Use", WaveUse, true, cbWaveUse),
                        CheckKey("AutoPlay", WaveAutoPlay, false, cbWavePlayAutoPlay),
                        CheckKey("Default", WaveDefault, false, cbWavePlayDefault),
                        CheckKey("WaitTillDone", WaveWait, false, cbWavePlayWait)}});
  FSections.push_back({"fxLabel", std::move(fx)});
  FSections.push_back({"Desc", std::move(desc)});
}

void TINISettingsDlg::FormCreate() {
  TabSet->Tabs().BeginUpdate();
  TabSet->Tabs().Clear();
  for (const std::string& caption : Notebook->PageNames()) TabSet->Tabs().Add(caption);
  TabSet->Tabs().EndUpdate();
  TabSet->SetTabIndex(Notebook->PageIndex());

  FillList(*cmbTxtAutoAdjust, AutoAdjustList());
  FillList(*cmbTxtBrushStyle, BrushStyleList());
  FillList(*cmbfxLabelEffectType, EffectTypeList());
  for (host::TComboBox* list :
       {cmbTxtBrushColor, cmbfxLabelShadowColor, cmbfxLabelLightColor, cmbDescBackgroundColor})
    FillList(*list, ColorNameList());

  CreateMissingSettings(FIniFile);
  std::vector<std::string> unreadable;
  for (TSectionKeys& section : FSections) LoadSection(section, unreadable);
  if (unreadable.empty()) return;
  std::string text = "The default settings file \"" + host::ProfilePath(FIniFile.FileName()) +
                     "\" holds values that cannot be read: colours that are neither colour names "
                     "nor numbers, numbers that are not whole numbers. The dialog shows the "
                     "default instead, and OK writes it:";
  for (const std::string& line : unreadable) text += "\n" + line;
  host::MessageDlg(text, host::mtWarning, {host::mbOK}, 0);
}

void TINISettingsDlg::LoadSection(TSectionKeys& section, std::vector<std::string>& unreadable) {
  for (TSettingKey& key : section.Keys) {
    std::visit([&](auto* image) { ReadValue(FIniFile, section.Section, key, *image); }, key.Image);
    // A number or switch that is no whole number reads as the default; shown and then written
    // so without a word, it would change what the designer wrote.
    if (std::holds_alternative<std::string*>(key.Image) ||
        !FIniFile.ValueExists(section.Section, key.Key))
      continue;
    std::string text = FIniFile.ReadString(section.Section, key.Key, "");
    int number = 0;
    if (!host::TryStrToInt(text, number))
      unreadable.push_back("[" + section.Section + "] " + key.Key + "=" + text + " (shown as " +
                           key.DialogDefault + ")");
  }
  for (TSettingKey& key : section.Keys) {
    try {
      key.Show();
    } catch (const host::EConvertError&) {
      // Only colour text converts. One bad colour must not keep the designer out of every
      // other setting: it shows as the default and is reported with the others.
      auto* text = std::get_if<std::string*>(&key.Image);
      if (!text) throw;
      unreadable.push_back("[" + section.Section + "] " + key.Key + "=" + **text + " (shown as " +
                           key.DialogDefault + ")");
      **text = key.DialogDefault;
      key.Show();
    }
  }
}

void TINISettingsDlg::SaveSection(TSectionKeys& section) {
  for (TSettingKey& key : section.Keys) key.Take();
  for (const TSettingKey& key : section.Keys)
    std::visit([&](auto* image) { WriteValue(FIniFile, section.Section, key.Key, *image); },
               key.Image);
}

void TINISettingsDlg::TabSetClick() {
  // A keyboard that was on the page going away moves to the new page's first field; one on the
  // tab row stays there.
  bool onPage = false;
  for (const host::TControl* c = ActiveControl(); c && !onPage; c = c->Parent())
    onPage = c == Notebook;
  Notebook->SetPageIndex(TabSet->TabIndex());
  if (Visible() && onPage)
    if (host::TWinControl* first = FindNextControl(Notebook, true, true)) SetActiveControl(first);
}

void TINISettingsDlg::OKBtnClick() {
  for (TSectionKeys& section : FSections) SaveSection(section);
  SetModalResult(host::mrOk);
}

void TINISettingsDlg::HelpBtnClick() {
  host::ShowMessage(
      "Each page holds the look that components of its kind take when they are dropped on a "
      "frame, as long as the page's first box is ticked. OK keeps the settings in \"" +
      host::ProfilePath(FIniFile.FileName()) + "\"; components already on a frame keep theirs.");
}

void TINISettingsDlg::FormKeyDown(host::TKey& key, host::TShiftState shift) {
  // Ctrl+Tab and Ctrl+PageDown turn to the next page, with Shift or PageUp to the one before,
  // wherever the keyboard is.
  if (!shift.Contains(host::ssCtrl) || shift.Contains(host::ssAlt)) return;
  int step = 0;
  if (key == host::VK_TAB) step = shift.Contains(host::ssShift) ? -1 : 1;
  if (key == host::VK_NEXT) step = 1;
  if (key == host::VK_PRIOR) step = -1;
  int count = TabSet->Tabs().Count();
  if (step == 0 || count == 0) return;
  key = 0;
  TabSet->SetTabIndex((TabSet->TabIndex() + step + count) % count);
}

}  // namespace mebrox
