#include <gtest/gtest.h>

#include "ide/ComponentEditor.h"
#include "ide/Registry.h"
#include "tests/ide/IdeTestSupport.h"

namespace {

using namespace testing_support;

// Records every property offered to it; stops the walk at StopAt and keeps the editor of Keep.
class TRecordingEditor : public ide::TDefaultEditor {
 public:
  using TDefaultEditor::TDefaultEditor;
  std::string StopAt;
  std::string Keep;
  std::vector<std::string> Offered;
  std::vector<std::string> Values;

 protected:
  void EditProperty(ide::TPropertyEditor& editor, bool& continueIt, bool& freeEditor) override {
    Offered.push_back(editor.GetName());
    Values.push_back(editor.GetValue());
    if (editor.GetName() == StopAt) continueIt = false;
    if (editor.GetName() == Keep) freeEditor = false;
  }
};

class ComponentEditorTest : public testing::Test {
 protected:
  static std::vector<std::string> Published(const host::TComponent& component) {
    std::vector<std::string> names;
    for (const host::TPropInfo* p : component.ClassInfo().Properties()) names.push_back(p->Name);
    return names;
  }

  TFakeDesigner Designer;
  TGadget Gadget{nullptr};
};

TEST_F(ComponentEditorTest, DefaultEditorOffersPropertiesInPublishedOrderUntilStopped) {
  TRecordingEditor all(Gadget, Designer);
  all.Edit();
  EXPECT_EQ(all.Offered, Published(Gadget));

  Designer.Registry().RegisterPropertyEditor(ide::StringType(), nullptr, "Caption",
                                             Tagged("caption editor"));
  TRecordingEditor stopped(Gadget, Designer);
  stopped.StopAt = "Caption";
  stopped.Edit();
  std::vector<std::string> expected = Published(Gadget);
  expected.resize(static_cast<size_t>(std::find(expected.begin(), expected.end(), "Caption") -
                                      expected.begin() + 1));
  EXPECT_EQ(stopped.Offered, expected);
  EXPECT_EQ(stopped.Values.back(), "caption editor");
}

TEST_F(ComponentEditorTest, AnEditorNotFreedLivesAsLongAsTheComponentEditor) {
  Designer.Registry().RegisterPropertyEditor(ide::StringType(), nullptr, "", Tagged("text"));
  {
    TRecordingEditor editor(Gadget, Designer);
    editor.Edit();
    EXPECT_EQ(TTaggedEditor::Alive, 0);
  }
  {
    TRecordingEditor editor(Gadget, Designer);
    editor.Keep = "Caption";
    editor.Edit();
    EXPECT_EQ(TTaggedEditor::Alive, 1);
  }
  EXPECT_EQ(TTaggedEditor::Alive, 0);
}

class TVerbCounter : public ide::TComponentEditor {
 public:
  TVerbCounter(host::TComponent& component, ide::IDesigner& designer, int verbs)
      : TComponentEditor(component, designer), FVerbs(verbs) {}
  int GetVerbCount() override { return FVerbs; }
  void ExecuteVerb(int index) override { Executed.push_back(index); }
  std::vector<int> Executed;

 private:
  int FVerbs;
};

TEST_F(ComponentEditorTest, DoubleClickRunsTheFirstVerbWhenThereIsOne) {
  TVerbCounter withVerbs(Gadget, Designer, 3);
  withVerbs.Edit();
  EXPECT_EQ(withVerbs.Executed, std::vector<int>{0});
  TVerbCounter without(Gadget, Designer, 0);
  without.Edit();
  EXPECT_TRUE(without.Executed.empty());
  EXPECT_EQ(&without.Component(), &Gadget);
  EXPECT_EQ(&without.Designer(), &Designer);
}

}  // namespace
