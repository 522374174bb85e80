#include "host/Graphics.h"

#include <algorithm>

#include <cstdlib>
#include <utility>

namespace host {

const std::vector<TColorName>& ColorNames() {
  static const std::vector<TColorName> names = {
      {clBlack, "clBlack"},
      {clMaroon, "clMaroon"},
      {clGreen, "clGreen"},
      {clOlive, "clOlive"},
      {clNavy, "clNavy"},
      {clPurple, "clPurple"},
      {clTeal, "clTeal"},
      {clGray, "clGray"},
      {clSilver, "clSilver"},
      {clRed, "clRed"},
      {clLime, "clLime"},
      {clYellow, "clYellow"},
      {clBlue, "clBlue"},
      {clFuchsia, "clFuchsia"},
      {clAqua, "clAqua"},
      {clWhite, "clWhite"},
      {clScrollBar, "clScrollBar"},
      {clBackground, "clBackground"},
      {clActiveCaption, "clActiveCaption"},
      {clInactiveCaption, "clInactiveCaption"},
      {clMenu, "clMenu"},
      {clWindow, "clWindow"},
      {clWindowFrame, "clWindowFrame"},
      {clMenuText, "clMenuText"},
      {clWindowText, "clWindowText"},
      {clCaptionText, "clCaptionText"},
      {clActiveBorder, "clActiveBorder"},
      {clInactiveBorder, "clInactiveBorder"},
      {clAppWorkSpace, "clAppWorkSpace"},
      {clHighlight, "clHighlight"},
      {clHighlightText, "clHighlightText"},
      {clBtnFace, "clBtnFace"},
      {clBtnShadow, "clBtnShadow"},
      {clGrayText, "clGrayText"},
      {clBtnText, "clBtnText"},
      {clInactiveCaptionText, "clInactiveCaptionText"},
      {clBtnHighlight, "clBtnHighlight"},
  };
  return names;
}

std::string ColorToString(TColor color) {
  for (const TColorName& n : ColorNames())
    if (n.Color == color) return n.Name;
  return "$" + IntToHex(static_cast<uint32_t>(color), 8);
}

bool IdentToColor(const std::string& ident, TColor& color) {
  for (const TColorName& n : ColorNames())
    if (SameText(n.Name, ident)) {
      color = n.Color;
      return true;
    }
  return false;
}

bool TryStringToColor(const std::string& text, TColor& color) {
  if (IdentToColor(text, color)) return true;
  int value;
  if (!TryStrToInt(text, value)) return false;
  color = value;
  return true;
}

TColor StringToColor(const std::string& text) {
  TColor color;
  if (TryStringToColor(text, color)) return color;
  throw EConvertError("'" + text + "' is not a valid colour");
}

uint32_t ColorToRGB(TColor color) {
  if ((color & SystemColorBase) == 0) return static_cast<uint32_t>(color) & 0xFFFFFF;
  // The classic desktop scheme: the kit's frames look the same on every machine.
  static const uint32_t system[] = {
      0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000,
      0x000000, 0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000,
      0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF,
  };
  int index = color & 0xFF;
  return index < static_cast<int>(std::size(system)) ? system[index] : 0;
}

const std::vector<std::string>& FontStyleNames() {
  static const std::vector<std::string> names = {"fsBold", "fsItalic", "fsUnderline",
                                                 "fsStrikeOut"};
  return names;
}

const std::vector<std::string>& BrushStyleNames() {
  static const std::vector<std::string> names = {"bsSolid",    "bsClear",     "bsHorizontal",
                                                 "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                                 "bsCross",    "bsDiagCross"};
  return names;
}

const std::vector<std::string>& PenStyleNames() {
  static const std::vector<std::string> names = {
      "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
  return names;
}

int MulDiv(int number, int numerator, int denominator) {
  int64_t product = static_cast<int64_t>(number) * numerator;
  int64_t half = std::llabs(denominator) / 2;
  int64_t result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(result);
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont

const TClassInfo& TFont::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TFont", &TPersistent::StaticClassInfo());
    TPublisher<TFont>(i)
        .Color("Color", &TFont::Color, &TFont::SetColor)
        .Integer("Height", &TFont::Height, &TFont::SetHeight)
        .Range(-MaxFontHeight, MaxFontHeight, ScreenExtentLimit)
        .String("Name", &TFont::Name, &TFont::SetName)
        .Integer("Size", &TFont::Size, &TFont::SetSize)
        .Range(-MaxFontHeight, MaxFontHeight, ScreenExtentLimit)
        .NotStored()
        .Set("Style", FontStyleNames(), &TFont::Style, &TFont::SetStyle);
    return i;
  }();
  return info;
}

TFont::TFont() = default;

void TFont::SetName(const std::string& name) {
  if (name == FName || name.empty()) return;
  FName = name;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(FHeight, 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int size) {
  SetHeight(-MulDiv(size, ScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int height) {
  height = std::clamp(height, -MaxFontHeight, MaxFontHeight);
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    if (*f == *this) return;
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FStyle = f->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TBrush

const TClassInfo& TBrush::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TBrush", &TPersistent::StaticClassInfo());
    TPublisher<TBrush>(i)
        .Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
        .Enumeration("Style", BrushStyleNames(), &TBrush::Style, &TBrush::SetStyle, bsSolid);
    return i;
  }();
  return info;
}

void TBrush::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TBrush::SetBitmap(std::shared_ptr<const TRawImage> bitmap) {
  FBitmap = std::move(bitmap);
  Changed();
}

void TBrush::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TBrush*>(&source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TPen

const TClassInfo& TPen::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TPen", &TPersistent::StaticClassInfo());
    TPublisher<TPen>(i)
        .Color("Color", &TPen::Color, &TPen::SetColor, clBlack)
        .Enumeration("Style", PenStyleNames(), &TPen::Style, &TPen::SetStyle, psSolid)
        .Integer("Width", &TPen::Width, &TPen::SetWidth, 1);
    return i;
  }();
  return info;
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width == FWidth || width < 0) return;
  FWidth = width;
  Changed();
}

void TPen::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPen*>(&source)) {
    FColor = p->FColor;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- images

static std::unique_ptr<IImageCodec>& CodecSlot() {
  static std::unique_ptr<IImageCodec> codec;
  return codec;
}

std::unique_ptr<IImageCodec> SetImageCodec(std::unique_ptr<IImageCodec> codec) {
  std::swap(CodecSlot(), codec);
  return codec;
}
IImageCodec* ImageCodec() {
  return CodecSlot().get();
}

const TClassInfo& TPicture::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TPicture", &TPersistent::StaticClassInfo());
    TPublisher<TPicture>(i).Binary("Data", &TPicture::Data, &TPicture::SetData);
    return i;
  }();
  return info;
}

static std::shared_ptr<const TRawImage> DecodeImage(const std::string& bytes) {
  if (bytes.empty()) return nullptr;
  IImageCodec* codec = ImageCodec();
  if (!codec) return nullptr;
  auto image = std::make_shared<TRawImage>();
  if (!codec->Decode(bytes, *image)) return nullptr;
  return image;
}

bool TPicture::TakeBytes(std::string bytes) {
  FData = std::move(bytes);
  FImage.reset();
  FWidth = FHeight = 0;
  FPending = false;
  IImageCodec* codec = ImageCodec();
  if (FData.empty() || !codec) return true;
  if (codec->ReadSize(FData, FWidth, FHeight)) {
    FPending = true;
    return true;
  }
  FImage = DecodeImage(FData);
  if (!FImage) return false;
  FWidth = FImage->Width;
  FHeight = FImage->Height;
  return true;
}

const std::shared_ptr<const TRawImage>& TPicture::Image() const {
  if (FPending) {
    FPending = false;
    FImage = DecodeImage(FData);
    if (FImage && (FImage->Width != FWidth || FImage->Height != FHeight)) FImage.reset();
    if (!FImage) FWidth = FHeight = 0;
  }
  return FImage;
}

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  bool empty = bytes.empty();
  TPicture loaded;
  if (!loaded.TakeBytes(std::move(bytes)) || (empty && ImageCodec()))
    throw EInvalidGraphic("\"" + fileName + "\" is not a picture the kit can read");
  Assign(loaded);
}

void TPicture::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, Data());
}

std::string TPicture::Data() const {
  if (FData.empty() && FImage && ImageCodec()) return ImageCodec()->EncodePng(*FImage);
  return FData;
}

void TPicture::SetData(const std::string& bytes) {
  bool readable = TakeBytes(bytes);
  Changed();
  if (!readable) throw EInvalidGraphic("Picture data is not an image the kit can read");
}

void TPicture::SetImage(std::shared_ptr<const TRawImage> image) {
  FData.clear();
  FImage = std::move(image);
  FWidth = FImage ? FImage->Width : 0;
  FHeight = FImage ? FImage->Height : 0;
  FPending = false;
  Changed();
}

void TPicture::Clear() {
  if (FData.empty() && !FImage) return;
  FData.clear();
  FImage.reset();
  FWidth = FHeight = 0;
  FPending = false;
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    if (p == this) return;
    FData = p->FData;
    FImage = p->FImage;
    FWidth = p->FWidth;
    FHeight = p->FHeight;
    FPending = p->FPending;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace host
