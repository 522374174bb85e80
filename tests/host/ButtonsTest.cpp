#include "host/Buttons.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/MetricCanvas.h"
#include "host/Resources.h"

namespace {

using namespace host;
using Colors = std::vector<TColor>;

// The outer edge's two sides, then the inner edge's, as Frame3D draws them: left and top in
// the first colour, right and bottom in the second.
Colors Edges(TColor outerTopLeft, TColor outerBottomRight, TColor innerTopLeft,
             TColor innerBottomRight) {
  return {outerTopLeft, outerTopLeft, outerBottomRight, outerBottomRight,
          innerTopLeft, innerTopLeft, innerBottomRight, innerBottomRight};
}
const Colors Raised = Edges(clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow);
const Colors Sunk = Edges(clWindowFrame, clBtnHighlight, clBtnShadow, clBtnFace);

struct TButtonForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TSpeedButton* Button = new TSpeedButton(Form.get());
  int Clicks = 0;

  TButtonForm() {
    Form->SetBounds(0, 0, 200, 100);
    Button->SetParent(Form.get());
    Button->SetBounds(10, 10, 25, 25);
    Button->Glyph().SetImage(LoadBitmapResource("PAUSE"));
    Button->OnClick = [this](TObject*) { ++Clicks; };
  }

  void Send(TMouseEventRecord::TKind kind, int x, int y, TMouseButton b = mbLeft) {
    TMouseEventRecord e;
    e.Kind = kind;
    e.Button = b;
    e.Pos = {x, y};
    Form->DispatchMouse(e);
  }

  std::vector<TCanvasOp> Paint() {
    TMetricCanvas canvas;
    Button->PaintOn(canvas.Metric());
    return canvas.Ops();
  }
  Colors FrameColors() {
    Colors colors;
    for (const TCanvasOp& op : Paint())
      if (op.Kind == ckLine) colors.push_back(op.Color);
    return colors;
  }
  std::vector<TRect> Images() {
    std::vector<TRect> rects;
    for (const TCanvasOp& op : Paint())
      if (op.Kind == ckImage) rects.push_back(op.Rect);
    return rects;
  }
};

uint32_t Rgb(TColor color) {
  const uint32_t bgr = ColorToRGB(color);
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

TEST(SpeedButtonTest, SinksWhileHeldOverItAndShiftsTheGlyph) {
  TButtonForm f;
  // A 14 x 14 glyph centred in 25 x 25.
  EXPECT_EQ(f.FrameColors(), Raised);
  EXPECT_EQ(f.Images(), std::vector<TRect>{Bounds(5, 5, 14, 14)});

  f.Send(TMouseEventRecord::Down, 20, 20);
  EXPECT_TRUE(f.Button->Pressed());
  EXPECT_EQ(f.FrameColors(), Sunk);
  EXPECT_EQ(f.Images(), std::vector<TRect>{Bounds(6, 6, 14, 14)});

  // Still held, but dragged off the button: it comes up until the pointer returns.
  f.Send(TMouseEventRecord::Move, 80, 20);
  EXPECT_EQ(f.FrameColors(), Raised);
  EXPECT_EQ(f.Images(), std::vector<TRect>{Bounds(5, 5, 14, 14)});
  f.Send(TMouseEventRecord::Move, 30, 30);
  EXPECT_EQ(f.FrameColors(), Sunk);

  f.Send(TMouseEventRecord::Up, 30, 30);
  EXPECT_FALSE(f.Button->Pressed());
  EXPECT_EQ(f.FrameColors(), Raised);
  EXPECT_EQ(f.Clicks, 1);
}

TEST(SpeedButtonTest, ClicksOnlyOnALeftReleaseOverIt) {
  TButtonForm f;
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Send(TMouseEventRecord::Up, 80, 20);
  EXPECT_EQ(f.Clicks, 0);
  EXPECT_FALSE(f.Button->Pressed());

  f.Send(TMouseEventRecord::Down, 20, 20, mbRight);
  EXPECT_FALSE(f.Button->Pressed());
  f.Send(TMouseEventRecord::Up, 20, 20, mbRight);
  EXPECT_EQ(f.Clicks, 0);

  f.Button->SetEnabled(false);
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Send(TMouseEventRecord::Up, 20, 20);
  EXPECT_EQ(f.Clicks, 0);

  f.Button->SetEnabled(true);
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Send(TMouseEventRecord::Up, 21, 21);
  EXPECT_EQ(f.Clicks, 1);
}

TEST(SpeedButtonTest, DisabledShowsAGreyedGlyphThatNeverSinks) {
  TButtonForm f;
  f.Button->SetEnabled(false);
  // The highlight copy one pixel down and right, the shadow copy in place.
  EXPECT_EQ(f.Images(), (std::vector<TRect>{Bounds(6, 6, 14, 14), Bounds(5, 5, 14, 14)}));
  EXPECT_EQ(f.FrameColors(), Raised);

  // On screen the black bars turn the shadow colour; the ground between them stays the face.
  f.Form->SetColor(clWhite);
  TRawImage shot = CaptureForm(*f.Form);
  EXPECT_EQ(shot.Pixel(10 + 5 + 3, 10 + 5 + 2) & 0xFFFFFF, Rgb(clBtnShadow));
  EXPECT_EQ(shot.Pixel(10 + 5 + 6, 10 + 5 + 2) & 0xFFFFFF, Rgb(clBtnFace));
  f.Button->SetEnabled(true);
  shot = CaptureForm(*f.Form);
  EXPECT_EQ(shot.Pixel(10 + 5 + 3, 10 + 5 + 2) & 0xFFFFFF, 0u);
}

TEST(SpeedButtonTest, AGroupKeepsOneButtonDown) {
  TButtonForm f;
  auto* other = new TSpeedButton(f.Form.get());
  other->SetParent(f.Form.get());
  other->SetBounds(50, 10, 25, 25);

  f.Button->SetDown(true);  // outside a group there is nothing to stay down for
  EXPECT_FALSE(f.Button->Down());

  f.Button->SetGroupIndex(1);
  other->SetGroupIndex(1);
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Send(TMouseEventRecord::Up, 20, 20);
  EXPECT_TRUE(f.Button->Down());
  EXPECT_EQ(f.Clicks, 1);
  // Down but not pressed: sunk over a dither, glyph shifted.
  EXPECT_EQ(f.FrameColors(), Sunk);
  EXPECT_EQ(f.Images(), std::vector<TRect>{Bounds(6, 6, 14, 14)});
  bool dithered = false;
  for (const TCanvasOp& op : f.Paint()) dithered = dithered || (op.Kind == ckFill && op.Patterned);
  EXPECT_TRUE(dithered);

  f.Send(TMouseEventRecord::Down, 60, 20);
  f.Send(TMouseEventRecord::Up, 60, 20);
  EXPECT_TRUE(other->Down());
  EXPECT_FALSE(f.Button->Down());
  EXPECT_EQ(f.FrameColors(), Raised);
}

TEST(SpeedButtonTest, FlatButtonShowsAnEdgeOnlyWhenPressedOrDesigned) {
  TButtonForm f;
  f.Button->SetFlat(true);
  EXPECT_TRUE(f.FrameColors().empty());
  f.Send(TMouseEventRecord::Down, 20, 20);
  EXPECT_EQ(f.FrameColors(), (Colors{clBtnShadow, clBtnShadow, clBtnHighlight, clBtnHighlight}));
  f.Send(TMouseEventRecord::Up, 20, 20);
  f.Button->SetDesigning(true);
  EXPECT_EQ(f.FrameColors(), (Colors{clBtnHighlight, clBtnHighlight, clBtnShadow, clBtnShadow}));
}

TEST(SpeedButtonTest, PublishedPropertiesSurviveAFormFile) {
  RegisterButtonsClasses();
  TButtonForm f;
  f.Form->SetName("Form1");
  f.Form->SetClassName("TForm1");
  f.Button->SetName("SpeedButton1");
  f.Button->SetGroupIndex(3);
  f.Button->SetDown(true);
  f.Button->SetCaption("Go");
  f.Button->SetFlat(true);
  const std::string text = WriteComponentText(*f.Form);

  TForm copy(nullptr);
  ReadComponentText(text, copy, "buttons.dfm");
  auto* button = dynamic_cast<TSpeedButton*>(copy.FindComponent("SpeedButton1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GroupIndex(), 3);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->Caption(), "Go");
  EXPECT_TRUE(button->Flat());
  ASSERT_FALSE(button->Glyph().Empty());
  EXPECT_EQ(button->Glyph().Image()->Pixels, LoadBitmapResource("PAUSE")->Pixels);
  EXPECT_EQ(WriteComponentText(copy), text);
}

// A bitmap button's kind gives it a caption, a default or cancel role and a modal result; what
// differs from that must survive a form file, whichever order the file lists them in.
TEST(BitBtnTest, WhatDiffersFromTheKindSurvivesAFormFile) {
  RegisterButtonsClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  form.SetClassName("TForm1");
  auto add = [&](const std::string& name, TBitBtnKind kind) {
    auto* b = new TBitBtn(&form);
    b->SetName(name);
    b->SetParent(&form);
    b->SetKind(kind);
    return b;
  };
  add("NotDefault", bkOK)->SetDefault(false);
  add("DefaultCancel", bkCancel)->SetDefault(true);
  add("NoCaption", bkYes)->SetCaption("");
  TBitBtn* result = add("OtherResult", bkNo);
  result->SetModalResult(mrAbort);
  result->SetCancel(false);
  add("Plain", bkOK);
  const std::string text = WriteComponentText(form);

  TForm copy(nullptr);
  ReadComponentText(text, copy, "buttons.dfm");
  auto button = [&](const char* name) {
    auto* b = dynamic_cast<TBitBtn*>(copy.FindComponent(name));
    if (!b) throw EComponentError(std::string("no ") + name);
    return b;
  };
  EXPECT_FALSE(button("NotDefault")->Default());
  EXPECT_TRUE(button("DefaultCancel")->Default());
  EXPECT_TRUE(button("DefaultCancel")->Cancel());
  EXPECT_EQ(button("NoCaption")->Caption(), "");
  EXPECT_TRUE(button("NoCaption")->Default());
  EXPECT_EQ(button("OtherResult")->ModalResult(), mrAbort);
  EXPECT_FALSE(button("OtherResult")->Cancel());
  EXPECT_EQ(button("Plain")->Caption(), "OK");
  EXPECT_TRUE(button("Plain")->Default());
  EXPECT_EQ(button("Plain")->ModalResult(), mrOk);
  EXPECT_EQ(WriteComponentText(copy), text);
  // What the kind gives is not written again.
  EXPECT_EQ(text.find("Caption = 'OK'"), std::string::npos) << text;

  // Written by hand with the kind first: the lines after it still win.
  TForm byHand(nullptr);
  ReadComponentText(
      "object Form2: TForm2\n  object B: TBitBtn\n    Kind = bkOK\n"
      "    Default = False\n    Caption = 'Go'\n  end\nend\n",
      byHand, "hand.dfm");
  auto* b = dynamic_cast<TBitBtn*>(byHand.FindComponent("B"));
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->Default());
  EXPECT_EQ(b->Caption(), "Go");
  EXPECT_EQ(b->ModalResult(), mrOk);
  // Set again in the designer, a kind gives all of its parts.
  b->SetKind(bkCancel);
  EXPECT_EQ(b->Caption(), "Cancel");
  EXPECT_TRUE(b->Cancel());
  EXPECT_FALSE(b->Default());
}

}  // namespace
