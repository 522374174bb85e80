#include <gtest/gtest.h>

#include "host/Dialogs.h"
#include "ide/DefaultEditors.h"
#include "ide/Registry.h"
#include "tests/ide/IdeTestSupport.h"

namespace {

using namespace testing_support;
using ide::paReadOnly;
using ide::paSubProperties;
using ide::paValueList;

class PropertyEditorTest : public testing::Test {
 protected:
  std::unique_ptr<ide::TPropertyEditor> Editor(const std::string& property) {
    return EditorFor(Designer, Gadget, property);
  }
  std::unique_ptr<ide::TPropertyEditor> MultiEditor(std::vector<host::TPersistent*> objects,
                                                    const std::string& property) {
    const host::TPropInfo* prop = objects.front()->ClassInfo().FindProperty(property);
    return ide::CreatePropertyEditor(Designer, std::move(objects), *prop);
  }
  static std::vector<std::string> Values(const ide::TPropertyEditor& editor) {
    std::vector<std::string> values;
    editor.GetValues([&](const std::string& v) { values.push_back(v); });
    return values;
  }
  static std::vector<std::unique_ptr<ide::TPropertyEditor>> SubEditors(
      const ide::TPropertyEditor& editor) {
    std::vector<std::unique_ptr<ide::TPropertyEditor>> subs;
    editor.GetProperties(
        [&](std::unique_ptr<ide::TPropertyEditor> e) { subs.push_back(std::move(e)); });
    return subs;
  }

  TFakeDesigner Designer;
  TGadget Gadget{nullptr};
  TBigGadget BigGadget{nullptr};
  TOtherGadget OtherGadget{nullptr};
};

struct TRoundTrip {
  const char* Property;
  const char* Text;
  const char* Shown;
};

TEST_F(PropertyEditorTest, ValuesRoundTripAsTextByKind) {
  const TRoundTrip cases[] = {
      {"Count", "42", "42"},
      {"Count", "$10", "16"},
      {"Count", "-3", "-3"},
      {"Lit", "false", "False"},
      {"Lit", "True", "True"},
      {"Shape", "gsStar", "gsStar"},
      {"Shape", "GSSQUARE", "gsSquare"},
      {"Options", "[goHidden, goLit]", "[goLit,goHidden]"},
      {"Options", "goLocked", "[goLocked]"},
      {"Options", "[]", "[]"},
      {"Color", "clRed", "clRed"},
      {"Color", "clbtnface", "clBtnFace"},
      {"Color", "$00C0FFC0", "$00C0FFC0"},
      {"Caption", "It's here", "It's here"},
      {"Caption", "", ""},
  };
  for (const TRoundTrip& c : cases) {
    SCOPED_TRACE(std::string(c.Property) + " = " + c.Text);
    int modified = Designer.ModifiedCount;
    Editor(c.Property)->SetValue(c.Text);
    EXPECT_EQ(Editor(c.Property)->GetValue(), c.Shown);
    EXPECT_EQ(Designer.ModifiedCount, modified + 1);
  }
}

TEST_F(PropertyEditorTest, SettingGoesThroughTheSetters) {
  Editor("Count")->SetValue("12");
  Editor("Shape")->SetValue("gsStar");
  Editor("Options")->SetValue("[goHidden,goLit]");
  Editor("Color")->SetValue("$00C0FFC0");
  Editor("Lit")->SetValue("False");
  EXPECT_EQ(Gadget.Count(), 12);
  EXPECT_EQ(Gadget.Shape(), gsStar);
  EXPECT_EQ(Gadget.Options(), (TGadgetOptions{goLit, goHidden}));
  EXPECT_EQ(Gadget.Color(), 0x00C0FFC0);
  EXPECT_FALSE(Gadget.Lit());

  Gadget.SetColor(host::clNavy);
  EXPECT_EQ(Editor("Color")->GetValue(), "clNavy");
}

TEST_F(PropertyEditorTest, BadTextNamesPropertyAndValueAndChangesNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"Count", "abc"},
      {"Count", "12x"},
      {"Lit", "yes"},
      {"Shape", "gsOval"},
      {"Options", "[goLit,goBright]"},
      {"Options", "[goLit"},
      {"Options", "[goLit,,goHidden]"},
      {"Color", "clNothing"},
  };
  Gadget.SetCount(3);
  Gadget.SetOptions({goLocked});
  for (auto [property, text] : cases) {
    SCOPED_TRACE(std::string(property) + " = " + text);
    std::string before = Editor(property)->GetValue();
    try {
      Editor(property)->SetValue(text);
      ADD_FAILURE() << "accepted";
    } catch (const host::EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid value for " + property);
    }
    EXPECT_EQ(Editor(property)->GetValue(), before);
  }
  EXPECT_EQ(Designer.ModifiedCount, 0);
}

TEST_F(PropertyEditorTest, ListsDataAndSubObjectsShowTheirKindAndCannotBeTyped) {
  EXPECT_EQ(Editor("Lines")->GetValue(), "(TStringList)");
  EXPECT_EQ(Editor("Data")->GetValue(), "(Binary)");
  auto font = Editor("Font");
  EXPECT_EQ(font->GetValue(), "(TFont)");
  EXPECT_TRUE(font->GetAttributes().Contains(paSubProperties));
  for (const char* property : {"Lines", "Data", "Font", "Area"}) {
    SCOPED_TRACE(property);
    EXPECT_TRUE(Editor(property)->GetAttributes().Contains(paReadOnly));
    EXPECT_THROW(Editor(property)->SetValue("9"), host::Exception);
  }
  EXPECT_EQ(Editor("Area")->GetValue(), "7");
  EXPECT_FALSE(Editor("Caption")->GetAttributes().Contains(paReadOnly));
  EXPECT_FALSE(Editor("Count")->GetAttributes().Contains(paValueList));
}

TEST_F(PropertyEditorTest, ValueListsAndEditSteppingThroughThem) {
  EXPECT_EQ(Values(*Editor("Shape")), (std::vector<std::string>{"gsRound", "gsSquare", "gsStar"}));
  EXPECT_EQ(Values(*Editor("Lit")), (std::vector<std::string>{"False", "True"}));
  std::vector<std::string> colors;
  for (const host::TColorName& c : host::ColorNames()) colors.push_back(c.Name);
  EXPECT_EQ(Values(*Editor("Color")), colors);
  for (const char* property : {"Shape", "Lit", "Color"})
    EXPECT_TRUE(Editor(property)->GetAttributes().Contains(paValueList)) << property;

  Editor("Lit")->Edit();
  EXPECT_FALSE(Gadget.Lit());
  Editor("Lit")->Edit();
  EXPECT_TRUE(Gadget.Lit());
  Gadget.SetShape(gsStar);
  Editor("Shape")->Edit();
  EXPECT_EQ(Gadget.Shape(), gsRound);
}

TEST_F(PropertyEditorTest, MultiSelectionSetsEveryObjectAndReadsTheFirst) {
  Gadget.SetCaption("first");
  OtherGadget.SetCaption("other");
  auto editor = MultiEditor({&Gadget, &OtherGadget, &BigGadget}, "Caption");
  EXPECT_EQ(editor->PropCount(), 3);
  EXPECT_EQ(editor->GetComponent(1), &OtherGadget);
  EXPECT_THROW(editor->GetComponent(3), host::EListError);
  EXPECT_EQ(editor->GetValue(), "first");

  editor->SetValue("shared");
  EXPECT_EQ(Gadget.Caption(), "shared");
  EXPECT_EQ(OtherGadget.Caption(), "shared");
  EXPECT_EQ(BigGadget.Caption(), "shared");
  EXPECT_EQ(Designer.ModifiedCount, 1);

  // Sub-properties edit every object's own sub-object.
  for (auto& sub : SubEditors(*MultiEditor({&OtherGadget, &Gadget}, "Font")))
    if (sub->GetName() == "Color") sub->SetValue("clLime");
  EXPECT_EQ(Gadget.Font().Color(), host::clLime);
  EXPECT_EQ(OtherGadget.Font().Color(), host::clLime);

  EXPECT_THROW(MultiEditor({&Gadget, &OtherGadget}, "Count"), host::Exception);
}

TEST_F(PropertyEditorTest, SetMembersAreSubPropertiesOfEachObjectsOwnSet) {
  Gadget.SetOptions({goLocked});
  BigGadget.SetOptions({goLit});
  auto subs = SubEditors(*MultiEditor({&Gadget, &BigGadget}, "Options"));
  std::vector<std::string> names, values;
  for (auto& sub : subs) {
    names.push_back(sub->GetName());
    values.push_back(sub->GetValue());
    EXPECT_EQ(Values(*sub), (std::vector<std::string>{"False", "True"}));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"goLit", "goLocked", "goHidden"}));
  EXPECT_EQ(values, (std::vector<std::string>{"False", "True", "False"}));

  subs[2]->SetValue("true");
  EXPECT_EQ(Gadget.Options(), (TGadgetOptions{goLocked, goHidden}));
  EXPECT_EQ(BigGadget.Options(), (TGadgetOptions{goLit, goHidden}));
  subs[1]->SetValue("False");
  EXPECT_EQ(Gadget.Options(), (TGadgetOptions{goHidden}));
  EXPECT_THROW(subs[0]->SetValue("maybe"), host::EConvertError);
  EXPECT_EQ(Gadget.Options(), (TGadgetOptions{goHidden}));
}

TEST_F(PropertyEditorTest, ClassPropertyOffersTheSubObjectsProperties) {
  auto subs = SubEditors(*Editor("Font"));
  std::vector<std::string> names, published;
  for (auto& sub : subs) names.push_back(sub->GetName());
  for (const host::TPropInfo* p : host::TFont::StaticClassInfo().Properties())
    published.push_back(p->Name);
  EXPECT_EQ(names, published);

  for (auto& sub : subs)
    if (sub->GetName() == "Style") sub->SetValue("[fsBold,fsItalic]");
  EXPECT_EQ(Gadget.Font().Style(), (host::TFontStyles{host::fsBold, host::fsItalic}));
  EXPECT_EQ(Designer.ModifiedCount, 1);
}

TEST_F(PropertyEditorTest, ObjectValuesAreTypedAndCopiedIn) {
  auto lines = Editor("Lines");
  lines->SetObjectValue(host::TStringList{"one", "two"});
  EXPECT_EQ(Gadget.Lines().Items(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(lines->GetObjectValue(), &Gadget.Lines());
  EXPECT_THROW(lines->SetObjectValue(host::TFont()), host::EInvalidCast);
  EXPECT_EQ(Gadget.Lines().Count(), 2);

  host::TFont red;
  red.SetColor(host::clRed);
  Editor("Font")->SetObjectValue(red);
  EXPECT_EQ(Gadget.Font().Color(), host::clRed);
  EXPECT_THROW(Editor("Font")->SetObjectValue(host::TStringList()), host::EInvalidCast);
  EXPECT_EQ(Designer.ModifiedCount, 2);

  EXPECT_THROW(Editor("Caption")->GetOrdValue(), host::EInvalidOperation);
  EXPECT_THROW(Editor("Count")->GetStrValue(), host::EInvalidOperation);
}

// The dialogs answer from the scripted service the tests run with.
host::TScriptedDialogs& Dialogs() {
  return dynamic_cast<host::TScriptedDialogs&>(host::DialogService());
}

TEST_F(PropertyEditorTest, ColourDialogStartsAtTheValueAndSetsEverySelectedObject) {
  Gadget.SetColor(host::clNavy);
  BigGadget.SetColor(host::clLime);
  auto editor = MultiEditor({&Gadget, &BigGadget}, "Color");
  EXPECT_TRUE(editor->GetAttributes().Contains(ide::paDialog));
  EXPECT_TRUE(editor->GetAttributes().Contains(paValueList));

  std::vector<std::string> shown;
  Dialogs().OnColor = [&](host::TColor from, const host::TColor* chosen) {
    shown.push_back(host::ColorToString(from) + " -> " +
                    (chosen ? host::ColorToString(*chosen) : "cancel"));
  };
  Dialogs().QueueColor(0x00123456);
  editor->Edit();
  EXPECT_EQ(Gadget.Color(), 0x00123456);
  EXPECT_EQ(BigGadget.Color(), 0x00123456);
  EXPECT_EQ(Designer.ModifiedCount, 1);

  // Nothing queued: the dialog is cancelled and nothing changes.
  editor->Edit();
  Dialogs().OnColor = nullptr;
  EXPECT_EQ(Gadget.Color(), 0x00123456);
  EXPECT_EQ(Designer.ModifiedCount, 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"clNavy -> $00123456", "$00123456 -> cancel"}));
}

TEST_F(PropertyEditorTest, FontDialogSeedsWithTheFirstFontAndAssignsToAll) {
  auto editor = MultiEditor({&Gadget, &OtherGadget}, "Font");
  ASSERT_NE(dynamic_cast<ide::TFontProperty*>(editor.get()), nullptr);
  EXPECT_TRUE(editor->GetAttributes().Contains(ide::paDialog));
  EXPECT_TRUE(editor->GetAttributes().Contains(paSubProperties));
  EXPECT_EQ(SubEditors(*editor).size(), host::TFont::StaticClassInfo().Properties().size());

  Gadget.Font().SetName("Arial");
  OtherGadget.Font().SetName("Courier New");
  std::string from;
  Dialogs().OnFont = [&](const host::TFont& start, const host::TFont*) { from = start.Name(); };
  host::TFont chosen;
  chosen.SetName("Times New Roman");
  chosen.SetSize(15);
  chosen.SetStyle({host::fsItalic});
  Dialogs().QueueFont(chosen);
  editor->Edit();
  for (host::TFont* font : {&Gadget.Font(), &OtherGadget.Font()}) {
    EXPECT_EQ(font->Name(), "Times New Roman");
    EXPECT_EQ(font->Size(), 15);
    EXPECT_EQ(font->Style(), host::TFontStyles{host::fsItalic});
  }
  EXPECT_EQ(from, "Arial");
  EXPECT_EQ(Designer.ModifiedCount, 1);

  editor->Edit();
  Dialogs().OnFont = nullptr;
  EXPECT_EQ(Gadget.Font().Size(), 15);
  EXPECT_EQ(Designer.ModifiedCount, 1);
}

}  // namespace
