// Reads arbitrary bytes as a frame's form file into the kit's real classes, the way the runner
// loads a frame: every host and run-time class registered, the form owned by Application, then
// created and painted (not shown). What reads must write, read back and write again to the same
// text. Only the kit's own exceptions may come out of reading; nothing may come out of
// painting.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "apps/run/Project.h"
#include "fuzz/FuzzSupport.h"
#include "host/FormFile.h"

namespace {

using namespace host;

// A frame as LoadFrame makes it: owned by Application, freed with everything it holds.
struct TFrame {
  TForm* Form = new TForm(Application);
  TFrame() {
    Application->AddForm(Form);
    Form->SetClassName("TForm1");
  }
  ~TFrame() { delete Form; }
  TFrame(const TFrame&) = delete;
  TFrame& operator=(const TFrame&) = delete;
};

bool Read(std::string_view text, TForm& form, const char* name) {
  try {
    ReadComponentText(text, form, name);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return -1;
  fuzz_support::StartGui();
  static bool registered = [] {
    mebrox::RegisterProjectClasses();
    return true;
  }();
  (void)registered;
  fuzz_support::ResetDialogs();
  Application->ModalHook = [](TForm& form) { form.SetModalResult(mrOk); };

  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string written;
  {
    TFrame first;
    if (!Read(text, *first.Form, "Unit1.dfm")) return 0;
    HandleEvents([&] { first.Form->DoCreate(); });
    // Every window of the frame paints as the toolkit asks it to, with its graphic controls.
    // The frame's own size may be anything; the picture it paints on is a fixed one.
    fuzz_support::Paint(*first.Form, 320, 240);
    for (TComponent* c : first.Form->ComponentList())
      if (auto* window = dynamic_cast<TWinControl*>(c)) fuzz_support::Paint(*window, 320, 240);
    written = WriteComponentText(*first.Form);
  }
  // Read back once the first is gone: frame names are unique in the application.
  TFrame second;
  if (!Read(written, *second.Form, "written.dfm")) {
    std::fprintf(stderr, "the written form does not read back:\n%s\n", written.c_str());
    std::abort();
  }
  std::string again = WriteComponentText(*second.Form);
  if (again != written) {
    std::fprintf(stderr, "written:\n%s\nread back and written:\n%s\n", written.c_str(),
                 again.c_str());
    std::abort();
  }
  Application->ModalHook = nullptr;
  return 0;
}
