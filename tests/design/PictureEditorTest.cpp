// The picture editor, opened on a picture property as the inspector's "..." opens it, and worked
// through its buttons as a designer works them.

#include "ide/PictureEditor.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "ide/PropertyPath.h"
#include "ide/Registry.h"
#include "runtime/HyperImg.h"
#include "tests/design/StudioFixture.h"

namespace {

using testing_support::ReadFile;
using testing_support::TStudioFixture;
using testing_support::WriteFile;

const char* const FormText =
    "object Form1: TForm1\n  Width = 400\n  Height = 300\n"
    "  object HyperImage1: THyperImage\n    Left = 8\n    Top = 8\n  end\n"
    "  object Image1: TImage\n    Left = 200\n    Top = 8\n  end\n"
    "  object Image2: TImage\n    Left = 200\n    Top = 100\n  end\n"
    "end\n";

// A picture file in a format, its bytes as written (a PNG with a text chunk of its own, which
// a picture that was decoded and written again would lose).
std::string PictureBytes(const char* format, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(30, 120, 200));
  if (std::string(format) == "PNG") image.setText("Author", "kept as it was");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes.toStdString();
}

class PictureEditorTest : public testing::Test {
 protected:
  host::TPicture& HotPicture() {
    return dynamic_cast<mebrox::THyperImage&>(Studio.Component("Form1", "HyperImage1")).Picture();
  }
  host::TPicture& ImagePicture(const std::string& name = "Image1") {
    return dynamic_cast<host::TImage&>(Studio.Component("Form1", name)).Picture();
  }
  std::string Value(const std::string& component) {
    host::TForm& form = Studio.Form("Form1");
    return ide::GetPropertyText(Studio.Session().DesignerOf(form), *form.FindComponent(component),
                                "Picture");
  }
  std::string Saved() { return host::WriteComponentText(Studio.Form("Form1")); }

  TStudioFixture Studio{{FormText}};
};

TEST_F(PictureEditorTest, LoadShowsThePictureAtItsSizeAndOKPutsItIntoTheComponent) {
  const std::string png = PictureBytes("PNG", 60, 40);
  WriteFile(Studio.File("blue.png"), png);
  EXPECT_EQ(Value("HyperImage1"), "(None)");
  ide::TPictureEditorDlg* dialog = nullptr;
  Studio.AfterEachLine([&](int line) {
    if (line != 3) return;
    dialog = dynamic_cast<ide::TPictureEditorDlg*>(host::Screen->ActiveForm());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Image1->Picture().Width(), 60);
    EXPECT_FALSE(dialog->Image1->Stretch());
    EXPECT_EQ(dialog->Info->Caption(),
              "PNG picture, 60 x 40 pixels, " + std::to_string(png.size()) + " bytes");
    EXPECT_TRUE(dialog->SaveBtn->Enabled());
    // Nothing reaches the component before OK.
    EXPECT_TRUE(HotPicture().Empty());
  });
  std::string trace = Studio.Run(
      "edit Form1.HyperImage1 Picture\n"
      "file \"blue.png\"\n"
      "click PictureEditorDlg.LoadBtn 5 5\n"
      "screenshot PictureEditorDlg \"" MEBROX_TEST_OUTPUT
      "/picture-editor.png\"\n"
      "click PictureEditorDlg.OKBtn 5 5\n");
  EXPECT_NE(trace.find("modal TPictureEditorDlg \"Picture Editor\""), std::string::npos) << trace;
  EXPECT_NE(trace.find("closed TPictureEditorDlg -> ok"), std::string::npos) << trace;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(HotPicture().Data(), png);
  EXPECT_EQ(HotPicture().Width(), 60);
  EXPECT_EQ(Value("HyperImage1"), "(PNG, 60 x 40)");
  EXPECT_TRUE(Studio.Session().Modified());
  // The file dialog offered the picture types the kit reads.
  ASSERT_EQ(Studio.FileRequests().size(), 1u);
  EXPECT_NE(Studio.FileRequests()[0].Filter.find("*.png;*.bmp;*.jpg;*.jpeg;*.gif"),
            std::string::npos);
  // Undo takes it back.
  EXPECT_TRUE(Studio.Session().Undo(Studio.Form("Form1")));
  EXPECT_TRUE(HotPicture().Empty());
}

TEST_F(PictureEditorTest, SaveWritesTheStoredBytesUnchangedInTheirOwnFormat) {
  struct TCase {
    const char* Format;
    const char* Extension;
  };
  for (const TCase& c : {TCase{"PNG", "png"}, TCase{"BMP", "bmp"}, TCase{"JPEG", "jpg"}}) {
    SCOPED_TRACE(c.Format);
    const std::string bytes = PictureBytes(c.Format, 12, 9);
    ImagePicture().SetData(bytes);
    const std::string out = Studio.File(std::string("saved.") + c.Extension);
    Studio.Run("edit Form1.Image1 Picture\nfile \"" + out +
               "\"\nclick PictureEditorDlg.SaveBtn 5 5\nclick PictureEditorDlg.CancelBtn 5 5\n");
    EXPECT_EQ(ReadFile(out), bytes);
    const host::TFileDialogRequest& asked = Studio.FileRequests().back();
    EXPECT_TRUE(asked.Save);
    EXPECT_NE(asked.Filter.find(std::string("*.") + c.Extension), std::string::npos)
        << asked.Filter;
  }
}

TEST_F(PictureEditorTest, ClearCancelAndAFileThatIsNoPictureLeaveWhatTheyShould) {
  const std::string png = PictureBytes("PNG", 20, 20);
  ImagePicture().SetData(png);
  const std::string before = Saved();
  WriteFile(Studio.File("notes.txt"), "no picture here\n");

  // A file that is no picture is refused with its name; the picture stays.
  std::string trace = Studio.Run(
      "edit Form1.Image1 Picture\n"
      "file \"notes.txt\"\n"
      "answer ok\n"
      "click PictureEditorDlg.LoadBtn 5 5\n"
      "click PictureEditorDlg.OKBtn 5 5\n");
  EXPECT_NE(trace.find("notes.txt"), std::string::npos) << trace;
  EXPECT_EQ(ImagePicture().Data(), png);
  // OK on the picture as it was is no change.
  EXPECT_EQ(Saved(), before);
  EXPECT_FALSE(Studio.Session().Modified());

  // Cleared and cancelled: nothing happened.
  Studio.Run(
      "edit Form1.Image1 Picture\nclick PictureEditorDlg.ClearBtn 5 5\n"
      "click PictureEditorDlg.CancelBtn 5 5\n");
  EXPECT_EQ(ImagePicture().Data(), png);
  EXPECT_FALSE(Studio.Session().Modified());

  // Cleared and confirmed: no picture, and none stored.
  Studio.Run(
      "edit Form1.Image1 Picture\nclick PictureEditorDlg.ClearBtn 5 5\n"
      "click PictureEditorDlg.OKBtn 5 5\n");
  EXPECT_TRUE(ImagePicture().Empty());
  EXPECT_EQ(Saved().find("Picture.Data"), std::string::npos);
  EXPECT_EQ(Value("Image1"), "(None)");
}

TEST_F(PictureEditorTest, SeveralSelectedImagesTakeThePictureTogether) {
  WriteFile(Studio.File("blue.png"), PictureBytes("PNG", 8, 8));
  host::TForm& form = Studio.Form("Form1");
  ide::TFormDesigner& designer = Studio.Session().FormDesignerOf(form);
  std::vector<host::TPersistent*> both{form.FindComponent("Image1"), form.FindComponent("Image2")};
  const host::TPropInfo* prop = form.FindComponent("Image1")->ClassInfo().FindProperty("Picture");
  ASSERT_NE(prop, nullptr);
  auto editor = ide::CreatePropertyEditor(designer, both, *prop);
  EXPECT_TRUE(editor->GetAttributes().Contains(ide::paDialog));
  EXPECT_TRUE(editor->GetAttributes().Contains(ide::paMultiSelect));
  EXPECT_FALSE(editor->GetAttributes().Contains(ide::paSubProperties));
  auto& dialogs = dynamic_cast<host::TScriptedDialogs&>(host::DialogService());
  dialogs.QueueFile(Studio.File("blue.png"));
  auto scripted = host::Application->ModalHook;
  host::Application->ModalHook = [](host::TForm& dialog) {
    auto& editorDialog = dynamic_cast<ide::TPictureEditorDlg&>(dialog);
    editorDialog.LoadBtn->Click();
    dialog.SetModalResult(host::mrOk);
  };
  editor->Edit();
  host::Application->ModalHook = scripted;
  EXPECT_EQ(ImagePicture("Image1").Width(), 8);
  EXPECT_EQ(ImagePicture("Image2").Width(), 8);
}

TEST(PictureFormatTest, TellsTheFormatsTheKitReadsFromTheirFirstBytes) {
  EXPECT_EQ(ide::PictureFormat(PictureBytes("PNG", 2, 2)), "PNG");
  EXPECT_EQ(ide::PictureFormat(PictureBytes("BMP", 2, 2)), "BMP");
  EXPECT_EQ(ide::PictureFormat(PictureBytes("JPEG", 2, 2)), "JPEG");
  EXPECT_EQ(ide::PictureFormat(std::string("GIF89a\x02\x00\x02\x00", 10)), "GIF");
  EXPECT_EQ(ide::PictureFormat("no picture"), "");
  EXPECT_EQ(ide::PictureFormat(""), "");
}

}  // namespace
