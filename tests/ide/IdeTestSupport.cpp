#include "tests/ide/IdeTestSupport.h"

namespace testing_support {

using host::TClassInfo;
using host::TPublisher;

const std::vector<std::string>& GadgetShapeNames() {
  static const std::vector<std::string> names = {"gsRound", "gsSquare", "gsStar"};
  return names;
}

const std::vector<std::string>& GadgetOptionNames() {
  static const std::vector<std::string> names = {"goLit", "goLocked", "goHidden"};
  return names;
}

const TClassInfo& TGadget::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TGadget", &host::TComponent::StaticClassInfo());
    TPublisher<TGadget>(i)
        .Integer("Count", &TGadget::Count, &TGadget::SetCount)
        .Integer("Area", &TGadget::Area, nullptr)
        .Boolean("Lit", &TGadget::Lit, &TGadget::SetLit)
        .Enumeration("Shape", GadgetShapeNames(), &TGadget::Shape, &TGadget::SetShape)
        .Set("Options", GadgetOptionNames(), &TGadget::Options, &TGadget::SetOptions)
        .Color("Color", &TGadget::Color, &TGadget::SetColor)
        .String("Caption", &TGadget::Caption, &TGadget::SetCaption)
        .Strings<host::TStrings>("Lines", &TGadget::Lines, &TGadget::SetLines)
        .Binary("Data", &TGadget::Data, &TGadget::SetData)
        .SubObject<host::TFont>("Font", &TGadget::Font, &TGadget::SetFont);
    return i;
  }();
  return info;
}

const TClassInfo& TBigGadget::StaticClassInfo() {
  static TClassInfo info("TBigGadget", &TGadget::StaticClassInfo());
  return info;
}

const TClassInfo& TOtherGadget::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TOtherGadget", &host::TComponent::StaticClassInfo());
    TPublisher<TOtherGadget>(i)
        .SubObject<host::TFont>("Font", &TOtherGadget::Font, &TOtherGadget::SetFont)
        .String("Caption", &TOtherGadget::Caption, &TOtherGadget::SetCaption);
    return i;
  }();
  return info;
}

ide::TPropertyEditorFactory Tagged(const std::string& tag) {
  return [tag](ide::IDesigner& designer, std::vector<host::TPersistent*> instances,
               const host::TPropInfo& propInfo) -> std::unique_ptr<ide::TPropertyEditor> {
    return std::make_unique<TTaggedEditor>(designer, std::move(instances), propInfo, tag);
  };
}

std::unique_ptr<ide::TPropertyEditor> EditorFor(ide::IDesigner& designer, host::TPersistent& object,
                                                const std::string& property) {
  const host::TPropInfo* prop = object.ClassInfo().FindProperty(property);
  if (!prop) throw host::EConvertError("No property " + property);
  return ide::CreatePropertyEditor(designer, {&object}, *prop);
}

}  // namespace testing_support
