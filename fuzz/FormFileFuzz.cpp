// Feeds arbitrary bytes to the form-file reader. Whatever reads must write, read back and write
// again to the same text; whatever does not read must fail with EParserError and nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/FormFile.h"
#include "host/Graphics.h"
#include "host/Strings.h"

namespace {

using namespace host;

// One published property of every kind, so that every value syntax reaches a setter.
class TFuzzComponent : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using TComponent::TComponent;
  bool Flag() const { return FFlag; }
  void SetFlag(bool flag) { FFlag = flag; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  TStringList& Lines() { return FLines; }
  void SetLines(const TStringList& lines) { FLines.Assign(lines); }
  const std::string& Data() const { return FData; }
  void SetData(const std::string& data) { FData = data; }
  TFont& Font() { return FFont; }
  void SetFont(const TFont& font) { FFont.Assign(font); }
  TPen& Pen() { return FPen; }

 private:
  bool FFlag = false;
  std::string FCaption, FData;
  TStringList FLines;
  TFont FFont;
  TPen FPen;
};

const TClassInfo& TFuzzComponent::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TFuzzComponent", &TComponent::StaticClassInfo());
    TPublisher<TFuzzComponent>(i)
        .Boolean("Flag", &TFuzzComponent::Flag, &TFuzzComponent::SetFlag, false)
        .String("Caption", &TFuzzComponent::Caption, &TFuzzComponent::SetCaption)
        .Strings<TStringList>("Lines", &TFuzzComponent::Lines, &TFuzzComponent::SetLines)
        .Binary("Data", &TFuzzComponent::Data, &TFuzzComponent::SetData)
        .SubObject<TFont>("Font", &TFuzzComponent::Font, &TFuzzComponent::SetFont)
        .SubObject<TPen>("Pen", &TFuzzComponent::Pen, nullptr);
    return i;
  }();
  return info;
}

// A root that takes whatever class name its file gives it, as a form does.
class TFuzzRoot : public TFuzzComponent {
 public:
  TFuzzRoot() : TFuzzComponent(nullptr) {}
  std::string ClassName() const override { return FClassName; }
  bool AcceptClassName(const std::string& className) override {
    FClassName = className;
    return true;
  }

 private:
  std::string FClassName = "TFuzzRoot";
};

void Register() {
  static bool done = [] {
    RegisterCoreClasses();
    TClassRegistry::Register(TFuzzComponent::StaticClassInfo(),
                             [](TComponent* owner) { return new TFuzzComponent(owner); });
    return true;
  }();
  (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Register();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TFuzzRoot first;
  try {
    ReadComponentText(text, first, "fuzz.dfm");
  } catch (const EParserError&) {
    if (first.ComponentCount() != 0) std::abort();
    return 0;
  }
  std::string written = WriteComponentText(first);
  TFuzzRoot second;
  ReadComponentText(written, second, "written.dfm");
  if (WriteComponentText(second) != written) std::abort();
  return 0;
}
