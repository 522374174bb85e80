#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <memory>

#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/HostClasses.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "runtime/HyperImg.h"
#include "runtime/RuntimeClasses.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

constexpr uint32_t Red = 0xFFE02020, Green = 0xFF20C040, Blue = 0xFF2040E0, Gold = 0xFFF0C020;

// A picture in four coloured quarters, so that a screenshot shows where each part went.
TRawImage Quarters(int width, int height) {
  TRawImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool right = x >= width / 2, bottom = y >= height / 2;
      image.Pixels.push_back(bottom ? (right ? Gold : Blue) : (right ? Green : Red));
    }
  return image;
}

std::string Png(int width, int height) {
  return ImageCodec()->EncodePng(Quarters(width, height));
}

uint32_t Rgb(const TRawImage& image, int x, int y) {
  return image.Pixel(x, y) & 0xFFFFFF;
}

TMouseEventRecord Mouse(TMouseEventRecord::TKind kind, int x, int y, TMouseButton button = mbLeft) {
  TMouseEventRecord e;
  e.Kind = kind;
  e.Pos = {x, y};
  e.Button = button;
  return e;
}

// A hot image at (10, 10) on a frame that is not shown; painted on the metric surface through
// the form, so that the image gets the clip of its window as on screen.
struct Frame {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  THyperImage* Image = nullptr;

  explicit Frame(bool designing = false) {
    Form->SetClassName("TForm1");
    Form->SetBounds(0, 0, 240, 180);
    Form->SetDesigning(designing);
    Image = new THyperImage(Form.get());
    Image->SetParent(Form.get());
    Image->SetBounds(10, 10, Image->Width(), Image->Height());
  }
  TMetricSurface Paint() {
    TMetricSurface surface;
    Form->PaintTo(surface);
    return surface;
  }
  void Send(TMouseEventRecord::TKind kind, int x, int y, TMouseButton button = mbLeft) {
    Form->DispatchMouse(Mouse(kind, x, y, button));
  }
};

std::vector<TCanvasOp> PatternFills(const TMetricSurface& surface) {
  std::vector<TCanvasOp> out;
  for (const TCanvasOp& op : surface.OpsOf(ckFill))
    if (op.Patterned) out.push_back(op);
  return out;
}

std::vector<TRect> ImageRects(const TMetricSurface& surface) {
  std::vector<TRect> out;
  for (const TCanvasOp& op : surface.OpsOf(ckImage)) out.push_back(op.Rect);
  return out;
}

// Two hot images of one picture side by side on a frame of the given colour, photographed
// while the right one is held down; the picture is saved under name for people to look at.
TRawImage ShotWithTheRightImagePressed(TColor frameColor, const std::string& name) {
  TForm form(nullptr);
  form.SetClassName("TForm1");
  form.SetBounds(100, 100, 200, 90);
  form.SetColor(frameColor);
  for (int left : {10, 110}) {
    auto* image = new THyperImage(&form);
    image->SetParent(&form);
    image->SetBounds(left, 10, 100, 100);
    image->Picture().SetData(Png(64, 48));
  }
  form.Show();
  form.DispatchMouse(Mouse(TMouseEventRecord::Down, 120, 20));
  Application->ProcessMessages();
  TRawImage shot = CaptureForm(form);
  SaveFormImage(form, std::string(MEBROX_TEST_OUTPUT) + "/" + name);
  form.DispatchMouse(Mouse(TMouseEventRecord::Up, 120, 20));
  form.Hide();
  return shot;
}

}  // namespace

TEST(HyperImageTest, ShadowFitsTheControlToThePictureAndPressingSinksIntoIt) {
  Frame f;
  int forwarded = 0;
  f.Image->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++forwarded; };
  f.Image->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++forwarded; };
  f.Image->Picture().SetData(Png(64, 48));
  f.Paint();
  EXPECT_EQ(f.Image->BoundsRect(), Rect(10, 10, 82, 66));

  TMetricSurface up = f.Paint();
  auto band = PatternFills(up);
  ASSERT_EQ(band.size(), 1u);
  EXPECT_EQ(band[0].Rect, Rect(18, 18, 82, 66));
  EXPECT_EQ(band[0].Clip, Rect(10, 10, 82, 66));
  EXPECT_EQ(ImageRects(up), std::vector<TRect>{Rect(10, 10, 74, 58)});

  f.Send(TMouseEventRecord::Down, 20, 20, mbRight);  // any button presses
  EXPECT_TRUE(f.Image->Pressed());
  TMetricSurface pressed = f.Paint();
  EXPECT_TRUE(PatternFills(pressed).empty());
  EXPECT_EQ(ImageRects(pressed), std::vector<TRect>{Rect(18, 18, 82, 66)});
  EXPECT_EQ(f.Image->BoundsRect(), Rect(10, 10, 82, 66));

  f.Send(TMouseEventRecord::Up, 20, 20, mbRight);
  EXPECT_FALSE(f.Image->Pressed());
  TMetricSurface again = f.Paint();
  EXPECT_EQ(PatternFills(again).size(), 1u);
  EXPECT_EQ(ImageRects(again), std::vector<TRect>{Rect(10, 10, 74, 58)});
  EXPECT_EQ(forwarded, 0);
}

TEST(HyperImageTest, StretchedPictureFillsTheControlAndPressingChangesNothing) {
  Frame f;
  f.Image->Picture().SetData(Png(64, 48));
  f.Image->SetStretch(true);
  f.Image->SetBounds(10, 10, 120, 90);
  TMetricSurface up = f.Paint();
  EXPECT_EQ(ImageRects(up), std::vector<TRect>{Rect(10, 10, 130, 100)});
  EXPECT_TRUE(PatternFills(up).empty());
  f.Send(TMouseEventRecord::Down, 20, 20);
  TMetricSurface pressed = f.Paint();
  EXPECT_EQ(ImageRects(pressed), ImageRects(up));
  EXPECT_TRUE(PatternFills(pressed).empty());
  EXPECT_EQ(f.Image->BoundsRect(), Rect(10, 10, 130, 100));
}

TEST(HyperImageTest, SizeStaysWithoutAPictureOrWithoutShadow) {
  Frame empty;
  TMetricSurface s = empty.Paint();
  EXPECT_EQ(empty.Image->BoundsRect(), Rect(10, 10, 110, 110));  // not 8 x 8
  EXPECT_TRUE(ImageRects(s).empty());

  Frame plain;
  plain.Image->SetAllowShadow(false);
  plain.Image->Picture().SetData(Png(64, 48));
  s = plain.Paint();
  EXPECT_EQ(plain.Image->BoundsRect(), Rect(10, 10, 110, 110));
  EXPECT_TRUE(PatternFills(s).empty());
  EXPECT_EQ(ImageRects(s), std::vector<TRect>{Rect(10, 10, 74, 58)});
}

TEST(HyperImageTest, PointerIsTheHandOnlyWithCursorShow) {
  Frame f;
  for (int slot = 1; slot <= 6; ++slot) EXPECT_NE(Screen->Cursors(slot), nullptr) << slot;
  EXPECT_EQ(Screen->Cursors(1)->Name, "HAND");
  f.Send(TMouseEventRecord::Move, 20, 20);
  EXPECT_EQ(f.Image->Cursor(), crDefault);
  f.Image->SetCursorShow(true);
  f.Send(TMouseEventRecord::Move, 21, 20);
  EXPECT_EQ(f.Image->Cursor(), 1);
  f.Image->SetCursorShow(false);
  f.Send(TMouseEventRecord::Move, 22, 20);
  EXPECT_EQ(f.Image->Cursor(), crDefault);
}

TEST(HyperImageTest, OnClickRunsBeforeTheAction) {
  Frames app(2);
  auto* image = new THyperImage(&app[1]);
  image->SetParent(&app[1]);
  TAction action;
  action.SetActionType(acFrame);
  action.SetFrame("Form2");
  image->SetAction(action);
  action.SetFrame("Form9");  // the control keeps its own copy
  std::vector<std::string> seen;
  image->OnClick = [&](TObject*) {
    seen.push_back(app[1].Visible() ? "click on shown frame" : "click on hidden frame");
  };
  app[1].Show();
  app.Trace.clear();
  app[1].DispatchMouse(Mouse(TMouseEventRecord::Down, 5, 5));
  app[1].DispatchMouse(Mouse(TMouseEventRecord::Up, 5, 5));
  EXPECT_EQ(seen, std::vector<std::string>{"click on shown frame"});
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
  EXPECT_FALSE(image->Pressed());
}

TEST(HyperImageTest, SettingsOnlySwitchPropertiesOnAndOnlyInTheDesigner) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("HyperImage", "Use", true);
  ini.WriteBool("HyperImage", "CursorShow", true);
  ini.WriteBool("HyperImage", "Allow Shadow", false);

  Frame designed(true);
  EXPECT_FALSE(designed.Image->CursorShow());  // made as a form file makes it
  designed.Image->DroppedFromPalette();
  EXPECT_TRUE(designed.Image->CursorShow());
  EXPECT_TRUE(designed.Image->AllowShadow());  // false switches nothing off
  Frame running;
  EXPECT_FALSE(running.Image->CursorShow());

  ini.WriteInteger("Status", "INIAvailable", 2);
  Frame unavailable(true);
  EXPECT_FALSE(unavailable.Image->CursorShow());
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("HyperImage", "Use", false);
  Frame unused(true);
  EXPECT_FALSE(unused.Image->CursorShow());
}

TEST(HyperImageTest, DropsLoadTheLastFileInTheDesignerAndNothingAtRunTime) {
  TempDir dir;
  std::vector<std::string> files = {dir.File("a.png"), dir.File("b.png"), dir.File("c.png")};
  WriteFile(files[0], Png(10, 10));
  WriteFile(files[1], Png(20, 12));
  WriteFile(files[2], Png(30, 14));

  Frame designed(true);
  designed.Image->DropFiles(files);
  EXPECT_EQ(designed.Image->Picture().Width(), 30);
  EXPECT_EQ(designed.Image->Picture().Height(), 14);
  EXPECT_EQ(designed.Image->Picture().Data(), ReadFile(files[2]));

  // A file that is no picture is reported by name and leaves the picture alone.
  WriteFile(dir.File("notes.txt"), "not a picture");
  try {
    designed.Image->DropFiles({files[0], dir.File("notes.txt")});
    ADD_FAILURE() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("notes.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(designed.Image->Picture().Width(), 30);
  designed.Image->DropFiles({});
  EXPECT_EQ(designed.Image->Picture().Width(), 30);

  Frame running;
  running.Image->DropFiles(files);
  EXPECT_TRUE(running.Image->Picture().Empty());
}

TEST(HyperImageTest, DesignerShowsTheTargetFrameWhateverTheActionType) {
  for (bool designing : {true, false}) {
    Frame f(designing);
    f.Image->Action().SetActionType(acDesc);
    f.Image->Action().SetFrame("Form7");
    std::vector<TCanvasOp> names;
    for (const TCanvasOp& op : f.Paint().OpsOf(ckText))
      if (op.Text == "Form7") names.push_back(op);
    if (!designing) {
      EXPECT_TRUE(names.empty());
      continue;
    }
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Rect.Left, 10 + 100 / 3);
    EXPECT_EQ(names[0].Rect.Top, 10 + 100 / 3);
    EXPECT_EQ(names[0].FontColor, clWhite);
  }
}

TEST(HyperImageTest, StoredPictureKeepsItsFileBytes) {
  RegisterRuntimeClasses();
  TempDir dir;
  // A BMP, so that a picture re-encoded on the way would show.
  ASSERT_TRUE(QImage(12, 9, QImage::Format_RGB32).save(QString::fromStdString(dir.File("p.bmp"))));
  std::string bytes = ReadFile(dir.File("p.bmp"));
  ASSERT_EQ(bytes.substr(0, 2), "BM");

  TForm form(nullptr);
  form.SetName("Form1");
  auto* image = new THyperImage(&form);
  image->SetName("HyperImage1");
  image->SetParent(&form);
  image->Picture().LoadFromFile(dir.File("p.bmp"));
  image->Action().SetActionType(acFrame);
  image->Action().SetFrame("Form2");
  image->SetStretch(true);
  std::string text = WriteComponentText(form);
  size_t action = text.find("Action.ActionType = acFrame"),
         shadow = text.find("AllowShadow = True"), cursor = text.find("CursorShow = False"),
         picture = text.find("Picture.Data = {"), stretch = text.find("Stretch = True");
  EXPECT_TRUE(action < shadow && shadow < cursor && cursor < picture && picture < stretch) << text;
  EXPECT_NE(text.find("424D", picture), std::string::npos);

  TForm copy(nullptr);
  ReadComponentText(text, copy, "Unit1.dfm");
  auto* read = dynamic_cast<THyperImage*>(copy.FindComponent("HyperImage1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Parent(), &copy);
  EXPECT_EQ(read->Picture().Data(), bytes);
  EXPECT_EQ(read->Picture().Width(), 12);
  EXPECT_EQ(read->Action().ActionType(), acFrame);
  EXPECT_EQ(read->Action().Frame(), "Form2");
  EXPECT_TRUE(read->Stretch());
}

TEST(HyperImageTest, ScreenshotShowsTheShadowBandUpAndNoShadowPressed) {
  TRawImage shot = ShotWithTheRightImagePressed(clBtnFace, "hyperimage-up-pressed.png");
  const std::string out = std::string(MEBROX_TEST_OUTPUT) + "/hyperimage-up-pressed.png";

  const uint32_t face = Rgb(shot, 5, 5);
  EXPECT_EQ(Rgb(shot, 12, 12), Red & 0xFFFFFF);
  EXPECT_EQ(Rgb(shot, 70, 50), Gold & 0xFFFFFF);
  // The up image's band on the right and bottom is the black and white stipple.
  bool black = false, white = false, other = false;
  for (int y = 18; y < 66; ++y)
    for (int x = 74; x < 82; ++x) {
      uint32_t c = Rgb(shot, x, y);
      black |= c == 0;
      white |= c == 0xFFFFFF;
      other |= c != 0 && c != 0xFFFFFF;
    }
  EXPECT_TRUE(black && white && !other);
  EXPECT_EQ(Rgb(shot, 80, 12), face);  // above the band
  // The pressed one: the picture moved by 8 and no band.
  EXPECT_EQ(Rgb(shot, 113, 13), face);
  EXPECT_EQ(Rgb(shot, 119, 19), Red & 0xFFFFFF);
  EXPECT_EQ(Rgb(shot, 181, 65), Gold & 0xFFFFFF);
  EXPECT_TRUE(FileExists(out));
}

TEST(HyperImageTest, FitsItsPictureBeforeItsFirstPaint) {
  Frame f;
  f.Image->Picture().SetData(Png(64, 48));
  EXPECT_EQ(f.Image->BoundsRect(), Rect(10, 10, 82, 66));
  // The first paint is already at that size: the picture drawn once, clipped to the fitted
  // control.
  TMetricSurface first = f.Paint();
  const auto images = first.OpsOf(ckImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].Clip, Rect(10, 10, 82, 66));
  // Sized otherwise, it keeps to its picture; without a shadow or stretched it takes the size.
  f.Image->SetBounds(20, 20, 200, 150);
  EXPECT_EQ(f.Image->BoundsRect(), Rect(20, 20, 92, 76));
  f.Image->SetAllowShadow(false);
  f.Image->SetBounds(20, 20, 200, 150);
  EXPECT_EQ(f.Image->BoundsRect(), Rect(20, 20, 220, 170));
  f.Image->SetAllowShadow(true);
  EXPECT_EQ(f.Image->BoundsRect(), Rect(20, 20, 92, 76));
}

TEST(HyperImageTest, AStoredImageIsFittedOnceItsFormIsReadWhateverTheOrder) {
  RegisterRuntimeClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* image = new THyperImage(&form);
  image->SetName("HyperImage1");
  image->SetParent(&form);
  image->Picture().SetData(Png(64, 48));
  auto* stretched = new THyperImage(&form);
  stretched->SetName("HyperImage2");
  stretched->SetParent(&form);
  stretched->Picture().SetData(Png(64, 48));
  stretched->SetStretch(true);
  stretched->SetBounds(0, 100, 120, 90);
  std::string text = WriteComponentText(form);
  // As a form written elsewhere may hold it: the size of an older picture.
  const size_t width = text.find("Width = 72");
  ASSERT_NE(width, std::string::npos) << text;
  text.replace(width, 10, "Width = 300");

  TForm copy(nullptr);
  ReadComponentText(text, copy, "Unit1.dfm");
  auto* read = dynamic_cast<THyperImage*>(copy.FindComponent("HyperImage1"));
  auto* readStretched = dynamic_cast<THyperImage*>(copy.FindComponent("HyperImage2"));
  ASSERT_TRUE(read && readStretched);
  EXPECT_EQ(read->BoundsRect(), Rect(0, 0, 72, 56));
  // Stretch comes after Picture in the file: the stretched one keeps its stored size.
  EXPECT_EQ(readStretched->BoundsRect(), Rect(0, 100, 120, 190));
}

TEST(HyperImageTest, ShadowCornersAndThePressedBandShowTheFramesColour) {
  TRawImage shot = ShotWithTheRightImagePressed(clNavy, "hyperimage-on-navy.png");

  const uint32_t navy = 0x000080;  // clNavy as the screenshot holds it
  ASSERT_EQ(Rgb(shot, 5, 5), navy);
  EXPECT_EQ(Rgb(shot, 78, 12), navy);   // beside the band's top end
  EXPECT_EQ(Rgb(shot, 12, 62), navy);   // below the picture, left of the band
  EXPECT_EQ(Rgb(shot, 113, 13), navy);  // where the pressed picture was
  EXPECT_EQ(Rgb(shot, 150, 14), navy);
  EXPECT_EQ(Rgb(shot, 114, 40), navy);
  EXPECT_EQ(Rgb(shot, 119, 19), Red & 0xFFFFFF);
}

TEST(HyperImageTest, ADamagedPictureIsToldAndLeftEmptyAndItsBytesAreWrittenBack) {
  RegisterRuntimeClasses();
  const std::string text =
      "object Form1: TForm1\n"
      "  object HyperImage1: THyperImage\n"
      "    Left = 10\n"
      "    Top = 10\n"
      "    Width = 100\n"
      "    Height = 100\n"
      "    AllowShadow = True\n"
      "    CursorShow = False\n"
      "    Picture.Data = {89504E470D0A1A0A00000000DEADBEEF}\n"
      "  end\n"
      "  object HyperImage2: THyperImage\n"
      "    Left = 200\n"
      "    Top = 10\n"
      "    Width = 100\n"
      "    Height = 100\n"
      "    Picture.Data = {" +
      [] {
        std::string hex;
        for (unsigned char c : Png(20, 10)) {
          static const char* digits = "0123456789ABCDEF";
          hex += digits[c >> 4];
          hex += digits[c & 15];
        }
        return hex;
      }() +
      "}\n"
      "  end\n"
      "end\n";
  const size_t told = testing_support::Dialogs().Errors().size();
  TForm form(nullptr);
  ReadComponentText(text, form, "Damaged.dfm");
  auto* damaged = dynamic_cast<THyperImage*>(form.FindComponent("HyperImage1"));
  auto* good = dynamic_cast<THyperImage*>(form.FindComponent("HyperImage2"));
  ASSERT_TRUE(damaged && good);
  EXPECT_TRUE(damaged->Picture().Empty());
  EXPECT_EQ(damaged->BoundsRect(), Rect(10, 10, 110, 110));
  EXPECT_EQ(good->Picture().Width(), 20);

  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 1);
  EXPECT_NE(errors.back().find("Damaged.dfm(9)"), std::string::npos) << errors.back();
  EXPECT_NE(errors.back().find("HyperImage1.Picture.Data"), std::string::npos) << errors.back();

  EXPECT_EQ(damaged->Picture().Data(),
            std::string("\x89PNG\r\n\x1A\n\0\0\0\0\xDE\xAD\xBE\xEF", 16));
  const std::string written = WriteComponentText(form);
  EXPECT_NE(written.find("Picture.Data = {\n      89504E470D0A1A0A00000000DEADBEEF}"),
            std::string::npos)
      << written;
}

namespace {

// Stands in for the installed codec while it lives, counting decodes; with Defer off it never
// vouches for bytes unread, so that every picture is decoded as it is set.
class CountingCodec : public IImageCodec {
 public:
  CountingCodec() : FInner(nullptr) { FInner = SetImageCodec(std::unique_ptr<IImageCodec>(this)); }
  ~CountingCodec() override = default;
  static void Restore(CountingCodec* codec) { SetImageCodec(std::move(codec->FInner)); }

  bool Decode(const std::string& bytes, TRawImage& image) override {
    ++Decodes;
    return FInner->Decode(bytes, image);
  }
  bool ReadSize(const std::string& bytes, int& width, int& height) override {
    return Defer && FInner->ReadSize(bytes, width, height);
  }
  std::string EncodePng(const TRawImage& image) override { return FInner->EncodePng(image); }

  int Decodes = 0;
  bool Defer = true;

 private:
  std::unique_ptr<IImageCodec> FInner;
};

struct CountedDecodes {
  CountingCodec* Codec = new CountingCodec;
  ~CountedDecodes() { CountingCodec::Restore(Codec); }
};

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

// A frame with a shadowed hot image, a stretched one and an auto-sized image.
std::string PicturesForm(const std::string& shadowed, const std::string& stretched,
                         const std::string& icon) {
  return "object Form1: TForm1\n"
         "  Width = 300\n"
         "  Height = 200\n"
         "  object HyperImage1: THyperImage\n"
         "    Left = 10\n"
         "    Top = 10\n"
         "    AllowShadow = True\n"
         "    CursorShow = False\n"
         "    Picture.Data = {" +
         Hex(shadowed) +
         "}\n"
         "  end\n"
         "  object HyperImage2: THyperImage\n"
         "    Left = 100\n"
         "    Top = 10\n"
         "    Width = 90\n"
         "    Height = 60\n"
         "    Picture.Data = {" +
         Hex(stretched) +
         "}\n"
         "    Stretch = True\n"
         "  end\n"
         "  object Image1: TImage\n"
         "    Left = 200\n"
         "    Top = 100\n"
         "    AutoSize = True\n"
         "    Picture.Data = {" +
         Hex(icon) +
         "}\n"
         "  end\n"
         "end\n";
}

// That frame read from its text, its three pictures at hand.
struct PicturesFrame {
  TForm Form{nullptr};
  THyperImage* Shadowed = nullptr;
  THyperImage* Stretched = nullptr;
  TImage* Icon = nullptr;

  PicturesFrame(const std::string& text, const std::string& fileName) {
    ReadComponentText(text, Form, fileName);
    Shadowed = dynamic_cast<THyperImage*>(Form.FindComponent("HyperImage1"));
    Stretched = dynamic_cast<THyperImage*>(Form.FindComponent("HyperImage2"));
    Icon = dynamic_cast<TImage*>(Form.FindComponent("Image1"));
  }
  bool Complete() const { return Shadowed && Stretched && Icon; }
};

}  // namespace

TEST(HyperImageTest, PicturesAreSizedAtLoadAndDecodedWhenFirstDrawnExactlyAsIfDecodedAtOnce) {
  RegisterHostClasses();
  RegisterRuntimeClasses();
  const std::string text = PicturesForm(Png(64, 48), Png(40, 30), Png(30, 20));
  std::vector<TRawImage> shots;
  for (bool defer : {true, false}) {
    CountedDecodes counted;
    counted.Codec->Defer = defer;
    PicturesFrame frame(text, "Pictures.dfm");
    ASSERT_TRUE(frame.Complete());
    TForm& form = frame.Form;
    THyperImage *shadowed = frame.Shadowed, *stretched = frame.Stretched;
    TImage* icon = frame.Icon;
    EXPECT_EQ(counted.Codec->Decodes, defer ? 0 : 3);
    // Sizes that depend on the pictures are right before any of them is decoded.
    EXPECT_EQ(shadowed->BoundsRect(), Rect(10, 10, 82, 66));
    EXPECT_EQ(stretched->BoundsRect(), Rect(100, 10, 190, 70));
    EXPECT_EQ(icon->BoundsRect(), Rect(200, 100, 230, 120));
    EXPECT_EQ(stretched->Picture().Width(), 40);
    EXPECT_EQ(stretched->Picture().Height(), 30);

    form.Show();
    Application->ProcessMessages();
    shots.push_back(CaptureForm(form));
    shots.push_back(CaptureForm(form));
    form.Hide();
    EXPECT_EQ(counted.Codec->Decodes, 3) << "each picture decoded once";
    EXPECT_EQ(Rgb(*shadowed->Picture().Image(), 40, 30), Gold & 0xFFFFFF);
  }
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_EQ(shots[0].Pixels, shots[2].Pixels);
  EXPECT_EQ(Rgb(shots[0], 10 + 5, 10 + 5), Red & 0xFFFFFF);
  EXPECT_EQ(Rgb(shots[0], 100 + 80, 10 + 50), Gold & 0xFFFFFF);
  EXPECT_EQ(Rgb(shots[0], 200 + 25, 100 + 15), Gold & 0xFFFFFF);
}

TEST(HyperImageTest, DamageInsideThePixelDataIsToldAtLoadAndTheBytesAreWrittenBack) {
  RegisterHostClasses();
  RegisterRuntimeClasses();
  const std::string good = Png(64, 48);
  // The header intact: only the image data is changed, or the file cut short.
  std::string changed = good;
  changed[good.find("IDAT") + 10] ^= 0x55;
  const std::string cut = good.substr(0, good.size() - 20);
  const std::string text = PicturesForm(changed, good, cut);

  CountedDecodes counted;
  const size_t told = testing_support::Dialogs().Errors().size();
  // A name of its own: a notice is told once per run, and another test reads a Damaged.dfm.
  PicturesFrame frame(text, "Pixels.dfm");
  ASSERT_TRUE(frame.Complete());
  THyperImage *shadowed = frame.Shadowed, *stretched = frame.Stretched;
  TImage* icon = frame.Icon;

  const auto& errors = testing_support::Dialogs().Errors();
  ASSERT_EQ(errors.size(), told + 2);
  EXPECT_NE(errors[told].find("Pixels.dfm(9)"), std::string::npos) << errors[told];
  EXPECT_NE(errors[told].find("HyperImage1.Picture.Data"), std::string::npos) << errors[told];
  EXPECT_NE(errors[told + 1].find("Image1.Picture.Data"), std::string::npos) << errors[told + 1];
  EXPECT_TRUE(shadowed->Picture().Empty());
  EXPECT_TRUE(icon->Picture().Empty());
  EXPECT_EQ(stretched->Picture().Width(), 64);
  EXPECT_EQ(counted.Codec->Decodes, 2) << "only the damaged ones were decoded to find out";

  EXPECT_EQ(shadowed->Picture().Data(), changed);
  EXPECT_EQ(icon->Picture().Data(), cut);
  const std::string written = WriteComponentText(frame.Form);
  // The digits of a component's picture as written, line breaks and indents left out.
  auto writtenHex = [&](const std::string& component) {
    std::string hex;
    size_t at = written.find("{", written.find("object " + component + ":"));
    for (++at; at < written.size() && written[at] != '}'; ++at)
      if (written[at] != ' ' && written[at] != '\n') hex += written[at];
    return hex;
  };
  EXPECT_EQ(writtenHex("HyperImage1"), Hex(changed));
  EXPECT_EQ(writtenHex("Image1"), Hex(cut));
}
