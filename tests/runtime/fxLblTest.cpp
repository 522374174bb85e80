#include "runtime/fxLbl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/MetricCanvas.h"
#include "runtime/RuntimeClasses.h"
#include "tests/TestSupport.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::ScopedWindowsDir;
using testing_support::WriteFile;

namespace {

constexpr TColor Face = clNavy, Shade = clMaroon, Light = clYellow;

// A label at (10, 20) of 100 x 60 pixels painted on the metric surface: with its 20-point font
// each character is 10 pixels wide and a line 30 pixels high.
struct Painted {
  std::unique_ptr<TfxLabel> Label = std::make_unique<TfxLabel>(nullptr);
  TMetricSurface Surface;

  explicit Painted(const std::string& caption = "Mebrox") {
    Label->SetAutoSize(false);
    Label->SetBounds(10, 20, 100, 60);
    Label->Font().SetSize(20);
    Label->Font().SetColor(Face);
    Label->SetCaption(caption);
  }
  std::vector<TCanvasOp> Paint() {
    Surface.ClearOps();
    Label->PaintOn(Surface);
    return Surface.OpsOf(ckText);
  }
};

// Sizing goes through the measuring surface; the metric one makes sizes exact.
struct MetricMeasuring {
  TCanvasSurface& Old = MeasureSurface();
  TMetricSurface Metric;
  MetricMeasuring() { SetMeasureSurface(&Metric); }
  ~MetricMeasuring() { SetMeasureSurface(&Old); }
};

// One copy of the caption: the client rectangle moved by (dx, dy), in a colour.
struct Layer {
  int Dx;
  int Dy;
  TColor Color;
};

}  // namespace

TEST(fxLabelTest, NewLabelIsTransparentBlackOnWhiteWithItsShadowUnderTheFace) {
  Painted p;
  EXPECT_TRUE(p.Label->Transparent());
  EXPECT_EQ(p.Label->EffectType(), etCustom);
  EXPECT_EQ(p.Label->ShadowDistance(), 0);
  EXPECT_EQ(p.Label->ShadowColor(), clBlack);
  EXPECT_EQ(p.Label->LightColor(), clWhite);

  std::vector<TCanvasOp> texts = p.Paint();
  EXPECT_TRUE(p.Surface.OpsOf(ckFill).empty());
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].FontColor, Face);  // the label's own painting
  EXPECT_EQ(texts[1].FontColor, clBlack);
  EXPECT_EQ(texts[2].FontColor, Face);
  for (const TCanvasOp& op : texts) {
    EXPECT_EQ(op.Text, "Mebrox");
    EXPECT_EQ(op.Rect, Rect(0, 0, 60, 30));
  }
}

TEST(fxLabelTest, EffectAndDistancePresetEachOther) {
  TfxLabel label(nullptr);
  label.SetEffectType(etShadow);
  EXPECT_EQ(label.ShadowDistance(), 2);
  label.SetShadowDistance(3);
  EXPECT_EQ(label.EffectType(), etCustom);

  label.SetEffectType(etHighShadow);
  EXPECT_EQ(label.ShadowDistance(), 5);
  label.SetShadowDistance(4);
  EXPECT_EQ(label.EffectType(), etShadow);
  label.SetShadowDistance(4);  // the same distance again changes nothing
  EXPECT_EQ(label.EffectType(), etShadow);
  // Back to 5 does not make it the high shadow again: a shadow that long is a custom one.
  label.SetShadowDistance(5);
  EXPECT_EQ(label.EffectType(), etCustom);

  label.SetEffectType(etShadow);
  label.SetShadowDistance(1);  // a short shadow stays a shadow
  EXPECT_EQ(label.EffectType(), etShadow);

  for (TEffectTypes keeping : {etCustom, etDeepSink}) {
    label.SetEffectType(etRaise);
    label.SetShadowDistance(9);
    label.SetEffectType(keeping);
    EXPECT_EQ(label.ShadowDistance(), 9) << EffectTypesNames()[keeping];
  }
  label.SetEffectType(etSink);
  EXPECT_EQ(label.ShadowDistance(), 1);
  label.SetEffectType(etHighRaise);
  EXPECT_EQ(label.ShadowDistance(), 2);

  // Choosing the current effect presets nothing.
  label.SetShadowDistance(7);
  label.SetEffectType(etHighRaise);
  EXPECT_EQ(label.ShadowDistance(), 7);
}

TEST(fxLabelTest, EachEffectDrawsItsLayersInOrderThenTheFace) {
  struct Case {
    TEffectTypes Effect;
    int Distance;  // set after the effect; -1 keeps its preset
    std::vector<Layer> Layers;
  };
  const std::vector<Case> cases = {
      {etCustom, 4, {{4, 4, Shade}}},
      {etDeepSink, 7, {{1, 1, Light}, {2, 0, Light}, {-1, -1, Shade}, {-2, 0, Shade}}},
      {etRaise, 7, {{1, 1, Shade}, {-1, -1, Light}}},
      {etHighRaise, 7, {{1, 1, Shade}, {2, 2, Shade}, {-1, -1, Light}, {-2, -2, Light}}},
      {etShadow, -1, {{2, 2, Shade}}},
      {etHighShadow, -1, {{5, 5, Shade}}},
      {etSink, 3, {{-3, -3, Shade}, {3, 3, Light}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EffectTypesNames()[c.Effect]);
    Painted p;
    p.Label->SetEffectType(c.Effect);
    if (c.Distance >= 0) p.Label->SetShadowDistance(c.Distance);
    ASSERT_EQ(p.Label->EffectType(), c.Effect);
    p.Label->SetShadowColor(Shade);
    p.Label->SetLightColor(Light);

    std::vector<Layer> expected = c.Layers;
    expected.insert(expected.begin(), {0, 0, Face});  // the label's own painting
    expected.push_back({0, 0, Face});
    std::vector<TCanvasOp> texts = p.Paint();
    ASSERT_EQ(texts.size(), expected.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      SCOPED_TRACE(i);
      const Layer& l = expected[i];
      EXPECT_EQ(texts[i].Clip, Rect(l.Dx, l.Dy, 100 + l.Dx, 60 + l.Dy));
      EXPECT_EQ(texts[i].Rect, Rect(l.Dx, l.Dy, 60 + l.Dx, 30 + l.Dy));
      EXPECT_EQ(texts[i].FontColor, l.Color);
      EXPECT_EQ(texts[i].FontSize, 20);
      EXPECT_EQ(texts[i].Text, "Mebrox");
    }
  }
}

TEST(fxLabelTest, DisabledLabelDrawsEveryLayerAndTheFaceInGreyText) {
  Painted p;
  p.Label->SetEffectType(etHighRaise);
  p.Label->SetEnabled(false);
  std::vector<TCanvasOp> texts = p.Paint();
  ASSERT_EQ(texts.size(), 6u);
  for (const TCanvasOp& op : texts) EXPECT_EQ(op.FontColor, clGrayText);

  p.Label->SetEnabled(true);
  EXPECT_EQ(p.Paint().back().FontColor, Face);
}

TEST(fxLabelTest, LayersFollowTheAlignmentBreakAtWordsAndExpandTabs) {
  Painted p("ab\tc de");
  p.Label->SetEffectType(etSink);
  p.Label->SetAlignment(taRightJustify);
  std::vector<TCanvasOp> texts = p.Paint();
  // The label's own painting keeps one line; each of the three layers breaks into two.
  ASSERT_EQ(texts.size(), 1u + 3 * 2);
  const int dx[] = {-1, 1, 0};
  for (int layer = 0; layer < 3; ++layer) {
    const TCanvasOp& first = texts[1 + layer * 2];
    const TCanvasOp& second = texts[2 + layer * 2];
    EXPECT_EQ(first.Text, "ab      c");
    EXPECT_EQ(second.Text, "de");
    EXPECT_EQ(first.Rect.Right, 100 + dx[layer]);
    EXPECT_EQ(second.Rect.Right, 100 + dx[layer]);
    EXPECT_EQ(second.Rect.Top, first.Rect.Top + 30);
  }

  p.Label->SetAlignment(taCenter);
  TRect face = p.Paint().back().Rect;
  EXPECT_EQ(face.Left, (100 - face.Width()) / 2);
}

TEST(fxLabelTest, CaptionIsCutAfter255CharactersWithoutSplittingOne) {
  Painted p(std::string(300, 'x'));
  EXPECT_EQ(p.Paint().back().Text, std::string(255, 'x'));

  // "é" takes two bytes: the cut falls after it, not inside it.
  p.Label->SetCaption(std::string(254, 'x') + "\xC3\xA9yy");
  EXPECT_EQ(p.Paint().back().Text, std::string(254, 'x') + "\xC3\xA9");
}

TEST(fxLabelTest, AccelCharRuleInMeasuringAndDrawing) {
  MetricMeasuring measuring;
  TfxLabel label(nullptr);
  label.Font().SetSize(20);
  label.SetCaption("abc");
  EXPECT_EQ(label.Width(), 30);
  // An empty caption or a lone accelerator mark still measures one blank.
  label.SetCaption("");
  EXPECT_EQ(label.Width(), 10);
  EXPECT_EQ(label.Height(), 30);
  label.SetCaption("&");
  EXPECT_EQ(label.Width(), 10);
  label.SetCaption("&&");
  EXPECT_EQ(label.Width(), 10);
  label.SetShowAccelChar(false);
  label.SetCaption("x");
  label.SetCaption("&&");
  EXPECT_EQ(label.Width(), 20);

  TMetricSurface surface;
  label.PaintOn(surface);
  std::vector<TCanvasOp> texts = surface.OpsOf(ckText);
  ASSERT_FALSE(texts.empty());
  for (const TCanvasOp& op : texts) EXPECT_EQ(op.Text, "&&");
  EXPECT_TRUE(surface.OpsOf(ckLine).empty());  // no underlined character
}

TEST(fxLabelTest, SettingsApplyOnlyWhenDesigningAndBypassTheCoupling) {
  ScopedWindowsDir dir;
  TComponent designer(nullptr);
  designer.SetDesigning(true);
  {
    TfxLabel withoutFile(&designer);
    EXPECT_EQ(withoutFile.EffectType(), etCustom);
    EXPECT_EQ(withoutFile.ShadowDistance(), 0);
  }

  // Position 5 of the alphabetical list is etShadow; its setter would make the distance 2,
  // and a distance above 2 would turn the shadow custom.
  WriteFile(dir.File("Mebrox.ini"),
            "[Status]\nINIAvailable=1\n"
            "[fxLabel]\nUse=1\nEffectType=5\nShadowDistance=7\nFontColor=clRed\nFontSize=30\n"
            "FontName=Arial\nFontBold=0\nFontItalic=1\nShadowColor=clGreen\nLightColor=clAqua\n");
  auto* designed = testing_support::DropNew<TfxLabel>(designer);
  EXPECT_EQ(designed->EffectType(), etShadow);
  EXPECT_EQ(designed->ShadowDistance(), 7);
  EXPECT_EQ(designed->Font().Color(), clRed);
  EXPECT_EQ(designed->Font().Size(), 30);
  EXPECT_EQ(designed->Font().Name(), "Arial");
  EXPECT_EQ(designed->Font().Style(), TFontStyles{fsItalic});
  EXPECT_EQ(designed->ShadowColor(), clGreen);
  EXPECT_EQ(designed->LightColor(), clAqua);
  EXPECT_TRUE(designed->Transparent());

  TfxLabel running(nullptr);
  EXPECT_EQ(running.EffectType(), etCustom);
  EXPECT_EQ(running.ShadowDistance(), 0);
  EXPECT_EQ(running.ShadowColor(), clBlack);
  EXPECT_EQ(running.LightColor(), clWhite);
  EXPECT_NE(running.Font().Name(), "Arial");
  EXPECT_NE(running.Font().Size(), 30);
}

TEST(fxLabelTest, FormFileKeepsEveryEffectPropertyAsSet) {
  RegisterRuntimeClasses();
  TfxLabel label(nullptr);
  label.SetName("fxLabel1");
  label.SetAutoSize(false);
  std::string text = WriteComponentText(label);
  const std::string tail =
      "  ShadowDistance = 0\n"
      "  ShadowColor = clBlack\n"
      "  LightColor = clWhite\n"
      "  EffectType = etCustom\n"
      "end\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
  EXPECT_EQ(text.find("About"), std::string::npos) << text;
  EXPECT_EQ(text.find("Transparent"), std::string::npos) << text;

  // Hand-picked distances that the effect's preset would replace, and an opaque label.
  for (auto [effect, distance] : {std::pair{etSink, 3}, std::pair{etShadow, 1}}) {
    label.SetEffectType(effect);
    label.SetShadowDistance(distance);
    label.SetTransparent(false);
    TfxLabel copy(nullptr);
    ReadComponentText(WriteComponentText(label), copy, "fxLabel.dfm");
    EXPECT_EQ(copy.EffectType(), effect);
    EXPECT_EQ(copy.ShadowDistance(), distance);
    EXPECT_FALSE(copy.Transparent());
    EXPECT_EQ(WriteComponentText(copy), WriteComponentText(label));
  }
}

// A form written by hand often names the effect alone: the label then shows the effect with
// the distance choosing it would have given, while a stored distance, even 0, stays.
TEST(fxLabelTest, AnEffectReadWithoutADistanceTakesItsPreset) {
  RegisterRuntimeClasses();
  for (auto [effect, preset] : {std::pair{"etShadow", 2}, std::pair{"etHighShadow", 5},
                                std::pair{"etSink", 1}, std::pair{"etRaise", 1}}) {
    SCOPED_TRACE(effect);
    TfxLabel label(nullptr);
    ReadComponentText(
        std::string("object fxLabel1: TfxLabel\n  EffectType = ") + effect + "\nend\n", label,
        "hand.dfm");
    EXPECT_EQ(label.ShadowDistance(), preset);
    TfxLabel stored(nullptr);
    ReadComponentText(std::string("object fxLabel1: TfxLabel\n  ShadowDistance = 0\n"
                                  "  EffectType = ") +
                          effect + "\nend\n",
                      stored, "stored.dfm");
    EXPECT_EQ(stored.ShadowDistance(), 0);
  }
  // The custom look has no preset: it keeps what it has.
  TfxLabel custom(nullptr);
  ReadComponentText("object fxLabel1: TfxLabel\n  EffectType = etCustom\nend\n", custom,
                    "custom.dfm");
  EXPECT_EQ(custom.ShadowDistance(), 0);
}

TEST(fxLabelTest, PictureOfEveryEffect) {
  TForm form(nullptr);
  form.SetClassName("TEffects");
  form.SetColor(clSilver);
  form.SetBounds(0, 0, 360, 7 * 50 + 20);
  std::vector<TfxLabel*> labels;
  for (int e = etCustom; e <= etSink; ++e) {
    auto* label = new TfxLabel(&form);
    label->SetParent(&form);
    label->Font().SetName("Arial");
    label->Font().SetSize(24);
    label->Font().SetStyle(TFontStyles{fsBold});
    label->Font().SetColor(Face);
    label->SetEffectType(static_cast<TEffectTypes>(e));
    if (e == etCustom) label->SetShadowDistance(3);
    label->SetCaption(EffectTypesNames()[static_cast<size_t>(e)]);
    label->SetBounds(20, 10 + e * 50, label->Width(), label->Height());
    labels.push_back(label);
  }
  form.Show();
  TRawImage image = CaptureForm(form);
  std::string out = std::string(MEBROX_TEST_OUTPUT) + "/fxlabel-effects.png";
  SaveFormImage(form, out);
  form.Hide();
  EXPECT_TRUE(std::filesystem::exists(out));

  // Only the effects with a light layer put white on the silver.
  for (TfxLabel* label : labels) {
    SCOPED_TRACE(label->Caption());
    int white = 0, face = 0;
    TRect r = label->BoundsRect().Intersect({0, 0, image.Width, image.Height});
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        uint32_t rgb = image.Pixel(x, y) & 0xFFFFFF;
        white += rgb == 0xFFFFFF;
        face += rgb == 0x000080;
      }
    TEffectTypes e = label->EffectType();
    bool lit = e == etDeepSink || e == etRaise || e == etHighRaise || e == etSink;
    EXPECT_EQ(white > 0, lit) << white;
    EXPECT_GT(face, 0);
  }
}

namespace {

// The metric measuring surface, counting what it measures.
struct CountedMeasuring {
  struct Counting : TMetricSurface {
    std::vector<std::string> Measured;
    TSize TextExtent(const std::string& text, const TFont& font) override {
      Measured.push_back(text);
      return TMetricSurface::TextExtent(text, font);
    }
  };
  TCanvasSurface& Old = MeasureSurface();
  Counting Surface;
  CountedMeasuring() { SetMeasureSurface(&Surface); }
  ~CountedMeasuring() { SetMeasureSurface(&Old); }
};

}  // namespace

TEST(fxLabelTest, AutoSizeMeasuresTheCaptionOnceWhenReadAndOnceForEachChange) {
  RegisterRuntimeClasses();
  CountedMeasuring counted;
  TForm form(nullptr);
  ReadComponentText(
      "object Form1: TForm1\n"
      "  object fxLabel1: TfxLabel\n"
      "    Left = 10\n"
      "    Alignment = taRightJustify\n"
      "    Caption = 'Mebrox'\n"
      "    Font.Height = -30\n"
      "    Font.Name = 'Arial'\n"
      "    Font.Style = [fsBold]\n"
      "    EffectType = etRaise\n"
      "    WordWrap = False\n"
      "  end\n"
      "end\n",
      form, "Label.dfm");
  auto* label = dynamic_cast<TfxLabel*>(form.FindComponent("fxLabel1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(counted.Surface.Measured, std::vector<std::string>{"Mebrox"});
  EXPECT_EQ(label->Width(), 6 * TMetricSurface::CharWidth(label->Font()));
  EXPECT_EQ(label->Height(), TMetricSurface::LineHeight(label->Font()));

  label->SetCaption("Kit");
  label->Font().SetHeight(-20);
  EXPECT_EQ(counted.Surface.Measured, (std::vector<std::string>{"Mebrox", "Kit", "Kit"}));
  EXPECT_EQ(label->Height(), TMetricSurface::LineHeight(label->Font()));
}
