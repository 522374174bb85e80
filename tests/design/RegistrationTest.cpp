#include <gtest/gtest.h>

#include <memory>

#include "design/Aboutpt.h"
#include "design/Mebroxr32.h"
#include "host/Resources.h"
#include "ide/DesignCore.h"
#include "runtime/RuntimeClasses.h"

namespace {

class TNullDesigner : public ide::IDesigner {
 public:
  explicit TNullDesigner(ide::TDesignCore& core) : FCore(core) {}
  void Modified() override {}
  host::TForm* GetRoot() override { return nullptr; }
  ide::TDesignCore& Core() override { return FCore; }

 private:
  ide::TDesignCore& FCore;
};

class RegistrationTest : public testing::Test {
 protected:
  void SetUp() override {
    mebrox::RegisterRuntimeClasses();
    mebrox::Mebroxr32::Register(Core);
  }
  void TearDown() override { host::Application->ModalHook = nullptr; }

  ide::TDesignCore Core;
};

TEST_F(RegistrationTest, ThePaletteHasTheEightComponentsInOrderWithTheirPictures) {
  EXPECT_EQ(Core.Registry().PalettePages(), (std::vector<std::string>{"Mebrox"}));
  std::vector<std::string> names;
  for (const host::TClassInfo* cls : Core.Registry().PaletteClasses("Mebrox")) {
    names.push_back(cls->Name());
    auto picture = host::LoadBitmapResource(host::UpperCase(cls->Name()));
    ASSERT_NE(picture, nullptr) << cls->Name();
    EXPECT_EQ(picture->Width, 24);
    EXPECT_EQ(picture->Height, 24);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"THyperTxt", "THyperImage", "THyperArea", "TfxLabel",
                                             "TWavePlay", "TWavePause", "TProjCtrl", "TBookMark"}));
  // Registering the package again changes nothing.
  mebrox::Mebroxr32::Register(Core);
  EXPECT_EQ(Core.Registry().PaletteClasses("Mebrox").size(), 8u);
}

TEST_F(RegistrationTest, EveryKitComponentButTheProjectControlHasAnAboutLineThatOpensTheBox) {
  TNullDesigner designer(Core);
  host::TForm form(nullptr);
  for (const host::TClassInfo* cls : Core.Registry().PaletteClasses("Mebrox")) {
    SCOPED_TRACE(cls->Name());
    std::unique_ptr<host::TComponent> component(
        (*host::TClassRegistry::FindFactory(cls->Name()))(nullptr));
    const host::TPropInfo* about = component->ClassInfo().FindProperty("About");
    if (cls->Name() == "TProjCtrl") {
      EXPECT_EQ(about, nullptr);
      continue;
    }
    ASSERT_NE(about, nullptr);
    auto editor = ide::CreatePropertyEditor(designer, {component.get()}, *about);
    ASSERT_NE(dynamic_cast<mebrox::TAboutProperty*>(editor.get()), nullptr);
    EXPECT_EQ(editor->GetAttributes(), ide::TPropertyAttributes{ide::paDialog});
    EXPECT_EQ(editor->GetValue(), "");
  }

  // The box itself: its texts, its look and the OK button that closes it.
  std::unique_ptr<host::TComponent> text(
      (*host::TClassRegistry::FindFactory("THyperTxt"))(nullptr));
  auto editor =
      ide::CreatePropertyEditor(designer, {text.get()}, *text->ClassInfo().FindProperty("About"));
  int shown = 0;
  host::Application->ModalHook = [&](host::TForm& dialog) {
    ++shown;
    auto* box = dynamic_cast<mebrox::TAboutBoxDlg*>(&dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Caption(), "About");
    EXPECT_EQ(box->Owner(), host::Application);
    EXPECT_EQ(box->Width(), 272);
    EXPECT_EQ(box->Height(), 256);
    EXPECT_EQ(box->BorderStyle(), host::bsDialog);
    EXPECT_EQ(box->Position(), host::poScreenCenter);
    EXPECT_EQ(box->ActiveControl(), box->OKButton);
    EXPECT_EQ(box->ProductName->Caption(), "Sorvane Tools");
    EXPECT_TRUE(box->ProductName->Font().Style().Contains(host::fsBold));
    EXPECT_EQ(box->Version->Caption(), "Version 1.5");
    EXPECT_EQ(box->Comments->Caption(),
              "These are a set of tools that enable the designer to create an application "
              "without coding.");
    EXPECT_TRUE(box->Comments->WordWrap());
    EXPECT_EQ(box->ProgramIcon->Width(), 65);
    EXPECT_TRUE(box->ProgramIcon->Stretch());
    EXPECT_FALSE(box->ProgramIcon->Picture().Empty());
    EXPECT_EQ(box->OKButton->Kind(), host::bkOK);
    host::TKeyEventRecord enter;
    enter.Key = host::VK_RETURN;
    box->ActiveControl()->PerformKey(enter);
    EXPECT_EQ(box->ModalResult(), host::mrOk);
  };
  editor->Edit();
  EXPECT_EQ(shown, 1);
}

}  // namespace
