#include <gtest/gtest.h>

#include "ide/ClassProperty.h"
#include "ide/DefaultEditors.h"
#include "ide/Registry.h"
#include "runtime/HyperTxt.h"
#include "tests/ide/IdeTestSupport.h"

namespace {

using namespace testing_support;
using ide::ClassType;
using ide::StringType;

class RegistryTest : public testing::Test {
 protected:
  template <class E>
  bool EditorIs(const std::string& property) {
    auto editor = EditorFor(Designer, Gadget, property);
    return dynamic_cast<E*>(editor.get()) != nullptr;
  }

  std::string EditorOf(host::TPersistent& object, const std::string& property) {
    return EditorFor(Designer, object, property)->GetValue();
  }

  TFakeDesigner Designer;
  TGadget Gadget{nullptr};
  TBigGadget BigGadget{nullptr};
  TOtherGadget OtherGadget{nullptr};
};

TEST_F(RegistryTest, WithoutRegistrationsEveryKindGetsItsDefaultEditor) {
  EXPECT_TRUE(EditorIs<ide::TIntegerProperty>("Count"));
  EXPECT_TRUE(EditorIs<ide::TBoolProperty>("Lit"));
  EXPECT_TRUE(EditorIs<ide::TEnumProperty>("Shape"));
  EXPECT_TRUE(EditorIs<ide::TSetProperty>("Options"));
  EXPECT_TRUE(EditorIs<ide::TColorProperty>("Color"));
  EXPECT_TRUE(EditorIs<ide::TStringProperty>("Caption"));
  EXPECT_TRUE(EditorIs<ide::TStringListProperty>("Lines"));
  EXPECT_TRUE(EditorIs<ide::TBinaryProperty>("Data"));
  EXPECT_TRUE(EditorIs<ide::TClassProperty>("Font"));
  EXPECT_FALSE(EditorIs<ide::TBoolProperty>("Shape"));
}

TEST_F(RegistryTest, KindRegistrationServesOnlyThatKind) {
  Gadget.SetCount(5);
  Designer.Registry().RegisterPropertyEditor(StringType(), nullptr, "", Tagged("any string"));
  EXPECT_EQ(EditorOf(Gadget, "Caption"), "any string");
  EXPECT_EQ(EditorOf(Gadget, "Name"), "any string");
  EXPECT_EQ(EditorOf(Gadget, "Count"), "5");
  EXPECT_EQ(EditorOf(Gadget, "Lines"), "(TStringList)");
}

TEST_F(RegistryTest, NamingThePropertyBeatsComponentClassAndOrder) {
  Designer.Registry().RegisterPropertyEditor(StringType(), nullptr, "caption", Tagged("named"));
  Designer.Registry().RegisterPropertyEditor(StringType(), &TBigGadget::StaticClassInfo(), "",
                                             Tagged("big class"));
  Designer.Registry().RegisterPropertyEditor(StringType(), nullptr, "", Tagged("any"));
  EXPECT_EQ(EditorOf(BigGadget, "Caption"), "named");
  EXPECT_EQ(EditorOf(OtherGadget, "Caption"), "named");
  EXPECT_EQ(EditorOf(BigGadget, "Name"), "big class");
  EXPECT_EQ(EditorOf(Gadget, "Name"), "any");
}

TEST_F(RegistryTest, NearerComponentClassWinsWhateverTheOrder) {
  Designer.Registry().RegisterPropertyEditor(StringType(), &TBigGadget::StaticClassInfo(),
                                             "Caption", Tagged("big"));
  Designer.Registry().RegisterPropertyEditor(StringType(), &TGadget::StaticClassInfo(), "Caption",
                                             Tagged("gadget"));
  Designer.Registry().RegisterPropertyEditor(StringType(), nullptr, "Caption", Tagged("any"));
  EXPECT_EQ(EditorOf(BigGadget, "Caption"), "big");
  EXPECT_EQ(EditorOf(Gadget, "Caption"), "gadget");
  EXPECT_EQ(EditorOf(OtherGadget, "Caption"), "any");
}

TEST_F(RegistryTest, NearerPropertyClassWinsAndClassesServeDescendants) {
  Designer.Registry().RegisterPropertyEditor(ClassType<host::TStringList>(), nullptr, "",
                                             Tagged("string list"));
  Designer.Registry().RegisterPropertyEditor(ide::StringListType(), nullptr, "",
                                             Tagged("any list"));
  Designer.Registry().RegisterPropertyEditor(ClassType<mebrox::TWords>(), nullptr, "",
                                             Tagged("words"));
  Designer.Registry().RegisterPropertyEditor(ClassType<host::TStrings>(), nullptr, "",
                                             Tagged("strings"));

  mebrox::THyperTxt hyperTxt(nullptr);
  EXPECT_EQ(EditorOf(hyperTxt, "Words"), "words");
  EXPECT_EQ(EditorOf(hyperTxt, "WordsLists"), "string list");
  EXPECT_EQ(EditorOf(hyperTxt, "LinesLists"), "string list");
  EXPECT_EQ(EditorOf(hyperTxt, "Lines"), "string list");
  EXPECT_EQ(EditorOf(Gadget, "Font"), "(TFont)");
  EXPECT_EQ(EditorOf(hyperTxt, "About"), "(TAboutMebrox)");
}

TEST_F(RegistryTest, RegisteringTheSameKeyAgainReplacesTheEarlier) {
  Designer.Registry().RegisterPropertyEditor(StringType(), &TGadget::StaticClassInfo(), "Caption",
                                             Tagged("first"));
  Designer.Registry().RegisterPropertyEditor(StringType(), &TGadget::StaticClassInfo(), "CAPTION",
                                             Tagged("second"));
  EXPECT_EQ(EditorOf(Gadget, "Caption"), "second");
  Designer.Registry().RegisterPropertyEditor<ide::TStringProperty>(
      StringType(), &TGadget::StaticClassInfo(), "Caption");
  Gadget.SetCaption("own text");
  EXPECT_EQ(EditorOf(Gadget, "Caption"), "own text");
}

class TVerbEditor : public ide::TComponentEditor {
 public:
  TVerbEditor(host::TComponent& component, ide::IDesigner& designer, std::string verb)
      : TComponentEditor(component, designer), FVerb(std::move(verb)) {}
  int GetVerbCount() override { return 1; }
  std::string GetVerb(int index) override { return FVerb; }

 private:
  std::string FVerb;
};

ide::TComponentEditorFactory VerbEditor(const std::string& verb) {
  return [verb](host::TComponent& component, ide::IDesigner& designer) {
    return std::make_unique<TVerbEditor>(component, designer, verb);
  };
}

TEST_F(RegistryTest, ComponentEditorComesFromTheNearestRegisteredAncestor) {
  auto verbOf = [&](host::TComponent& component) {
    auto editor = ide::CreateComponentEditor(component, Designer);
    EXPECT_EQ(&editor->Component(), &component);
    if (dynamic_cast<ide::TDefaultEditor*>(editor.get())) return std::string("default");
    return editor->GetVerb(0);
  };
  Designer.Registry().RegisterComponentEditor(TGadget::StaticClassInfo(), VerbEditor("gadget"));
  EXPECT_EQ(verbOf(BigGadget), "gadget");
  EXPECT_EQ(verbOf(OtherGadget), "default");

  Designer.Registry().RegisterComponentEditor(TBigGadget::StaticClassInfo(), VerbEditor("big"));
  Designer.Registry().RegisterComponentEditor(TGadget::StaticClassInfo(),
                                              VerbEditor("gadget again"));
  EXPECT_EQ(verbOf(BigGadget), "big");
  EXPECT_EQ(verbOf(Gadget), "gadget again");
}

TEST_F(RegistryTest, PalettePagesAndClassesKeepFirstRegistrationOrder) {
  const host::TClassInfo* gadget = &TGadget::StaticClassInfo();
  const host::TClassInfo* big = &TBigGadget::StaticClassInfo();
  const host::TClassInfo* other = &TOtherGadget::StaticClassInfo();
  ide::TDesignRegistry& registry = Designer.Registry();
  registry.RegisterComponents("Mebrox", {big, gadget});
  registry.RegisterComponents("Samples", {other});
  registry.RegisterComponents("Mebrox", {other, big});

  EXPECT_EQ(registry.PalettePages(), (std::vector<std::string>{"Mebrox", "Samples"}));
  EXPECT_EQ(registry.PaletteClasses("Mebrox"),
            (std::vector<const host::TClassInfo*>{big, gadget, other}));
  EXPECT_EQ(registry.PaletteClasses("Samples"), (std::vector<const host::TClassInfo*>{other}));
  EXPECT_TRUE(registry.PaletteClasses("Standard").empty());
}

// An expert says only what differs from the standard answers.
class TNamedExpert : public ide::TStandardExpert {
 public:
  TNamedExpert(const std::string& name, bool& freed)
      : TStandardExpert(name, "Test." + name), FFreed(freed) {}
  ~TNamedExpert() override { FFreed = true; }
  std::string GetMenuText() override { return GetName() + "..."; }
  void Execute() override {}

 private:
  bool& FFreed;
};

TEST(RegistryExperts, KeepRegistrationOrderAndAreFreedWithTheirCore) {
  bool firstFreed = false, secondFreed = false;
  auto core = std::make_unique<ide::TDesignCore>();
  core->Registry().RegisterLibraryExpert(std::make_unique<TNamedExpert>("Settings", firstFreed));
  core->Registry().RegisterLibraryExpert(std::make_unique<TNamedExpert>("Thumbnails", secondFreed));
  std::vector<std::string> names;
  for (ide::TIExpert* expert : core->Registry().Experts()) names.push_back(expert->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"Settings", "Thumbnails"}));

  core.reset();
  EXPECT_TRUE(firstFreed && secondFreed);
}

}  // namespace
