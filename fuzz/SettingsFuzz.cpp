// Reads arbitrary bytes as the default settings file, Mebrox.ini, the way the kit's components
// read it: dropped at design time (each class takes its section's look), a description popup at
// run time, and the settings dialog filling in missing sections. The file is read leniently, so
// nothing it holds may raise: what is not understood is told and skipped.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/IniFiles.h"
#include "runtime/Action.h"
#include "runtime/DefaultSettings.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/MsgDlgU.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

using namespace host;
using namespace mebrox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return -1;
  fuzz_support::StartGui();
  fuzz_support::ResetDialogs();
  Application->ModalHook = [](TForm& form) { form.SetModalResult(mrOk); };
  std::string file = fuzz_support::Scratch().File(SettingsFileName);
  fuzz_support::WriteFile(file, std::string_view(reinterpret_cast<const char*>(data), size));

  {
    // A designer's frame, onto which one of each is dropped.
    TForm frame(nullptr);
    frame.SetDesigning(true);
    auto* text = new THyperTxt(&frame);
    text->SetParent(&frame);
    text->SetBounds(0, 0, 120, 60);
    auto* image = new THyperImage(&frame);
    image->SetParent(&frame);
    auto* area = new THyperArea(&frame);
    area->SetParent(&frame);
    auto* label = new TfxLabel(&frame);
    label->SetParent(&frame);
    label->SetCaption("Label");
    new TWavePlay(&frame);
    TMsgDlg designed(&frame);
    for (TControl* control : std::initializer_list<TControl*>{text, image, area, label})
      fuzz_support::Paint(*control, 120, 60);
  }
  // The popup of a running application reads its section each time it shows.
  ShowDescription("A description", nullptr);

  try {
    TIniFile ini(file);
    CreateMissingSettings(ini);
  } catch (const EParserError&) {
    // The settings dialog never rewrites a file it could not read.
  }
  Application->ModalHook = nullptr;
  return 0;
}
