#include <gtest/gtest.h>

#include "ide/PropertyPath.h"
#include "ide/Registry.h"
#include "runtime/HyperTxt.h"
#include "tests/ide/IdeTestSupport.h"

namespace {

using namespace testing_support;

class PropertyPathTest : public testing::Test {
 protected:
  void SetUp() override { Gadget.SetName("Gadget1"); }

  TFakeDesigner Designer;
  TGadget Gadget{nullptr};
};

TEST_F(PropertyPathTest, DottedPathsReachSubPropertiesIgnoringCase) {
  ide::SetPropertyText(Designer, Gadget, "Font.Color", "clRed");
  EXPECT_EQ(Gadget.Font().Color(), host::clRed);
  EXPECT_EQ(ide::GetPropertyText(Designer, Gadget, "font.color"), "clRed");

  ide::SetPropertyText(Designer, Gadget, "Font.Style.fsItalic", "True");
  EXPECT_EQ(ide::GetPropertyText(Designer, Gadget, "Font.Style"), "[fsItalic]");

  ide::SetPropertyText(Designer, Gadget, "count", "12");
  EXPECT_EQ(Gadget.Count(), 12);
  EXPECT_EQ(Designer.ModifiedCount, 3);

  mebrox::THyperTxt hyperTxt(nullptr);
  ide::SetPropertyText(Designer, hyperTxt, "WordFont.Color", "$00123456");
  EXPECT_EQ(hyperTxt.WordFont().Color(), 0x00123456);
}

TEST_F(PropertyPathTest, UnknownPathsAndBadValuesFailNamingThem) {
  for (const char* path :
       {"Colour", "Font.Colour", "Count.Value", "Font.", "", "Font.Style.fsHuge"}) {
    SCOPED_TRACE(path);
    try {
      ide::SetPropertyText(Designer, Gadget, path, "1");
      ADD_FAILURE() << "accepted";
    } catch (const host::EConvertError& e) {
      EXPECT_EQ(e.Message(), "Gadget1 has no property " + std::string(path));
    }
  }
  EXPECT_THROW(ide::SetPropertyText(Designer, Gadget, "Font.Color", "blue"), host::EConvertError);
  EXPECT_EQ(Gadget.Font().Color(), host::TFont().Color());
  EXPECT_EQ(Designer.ModifiedCount, 0);
}

TEST_F(PropertyPathTest, SubPropertiesUseTheEditorsRegisteredForTheSubObject) {
  Designer.Registry().RegisterPropertyEditor(ide::ColorType(), &host::TFont::StaticClassInfo(),
                                             "Color", Tagged("font colour"));
  EXPECT_EQ(ide::GetPropertyText(Designer, Gadget, "Font.Color"), "font colour");
  EXPECT_EQ(ide::GetPropertyText(Designer, Gadget, "Color"), "clBlack");
}

}  // namespace
