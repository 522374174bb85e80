#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"

namespace host {

// A colour: 0x00BBGGRR for fixed colours; the top bit marks a system colour, whose low byte is
// the old system colour index.
using TColor = int32_t;

inline constexpr TColor SystemColorBase = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) {
  return SystemColorBase | index;
}

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000,
                        clOlive = 0x008080, clNavy = 0x800000, clPurple = 0x800080,
                        clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                        clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000,
                        clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
inline constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1),
                        clActiveCaption = SystemColor(2), clInactiveCaption = SystemColor(3),
                        clMenu = SystemColor(4), clWindow = SystemColor(5),
                        clWindowFrame = SystemColor(6), clMenuText = SystemColor(7),
                        clWindowText = SystemColor(8), clCaptionText = SystemColor(9),
                        clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                        clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13),
                        clHighlightText = SystemColor(14), clBtnFace = SystemColor(15),
                        clBtnShadow = SystemColor(16), clGrayText = SystemColor(17),
                        clBtnText = SystemColor(18), clInactiveCaptionText = SystemColor(19),
                        clBtnHighlight = SystemColor(20);

struct TColorName {
  TColor Color;
  const char* Name;
};
// The 37 named colours in the order the settings dialog lists them.
const std::vector<TColorName>& ColorNames();

// The colour's name when it has one, otherwise "$" and eight hexadecimal digits.
std::string ColorToString(TColor color);
// A colour name (ignoring case) or a number (decimal, "$" or "0x" hexadecimal);
// anything else fails with EConvertError.
TColor StringToColor(const std::string& text);
// As StringToColor, false instead of the error.
bool TryStringToColor(const std::string& text, TColor& color);
bool IdentToColor(const std::string& ident, TColor& color);
// The colour as 0x00BBGGRR, system colours resolved to the kit's fixed palette.
uint32_t ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

const std::vector<std::string>& FontStyleNames();
const std::vector<std::string>& BrushStyleNames();
const std::vector<std::string>& PenStyleNames();

// Pixels per inch of every surface the kit draws on; font sizes convert through it.
inline constexpr int ScreenPixelsPerInch = 96;
int MulDiv(int number, int numerator, int denominator);

// A drawing attribute that tells its owner when it changes.
class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

// How high a font may be, in pixels either way: more shows on no screen, and a font kept below it
// keeps every measure of its text well within an int.
inline constexpr int MaxFontHeight = 4096;

class TFont : public TGraphicsObject {
  HOST_PUBLISHED_CLASS
 public:
  TFont();
  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  int Size() const;  // points
  void SetSize(int size);
  int Height() const { return FHeight; }  // pixels; negative means character height
  // Kept within MaxFontHeight either way.
  void SetHeight(int height);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);

  void Assign(const TPersistent& source) override;
  friend bool operator==(const TFont& a, const TFont& b) {
    return a.FName == b.FName && a.FHeight == b.FHeight && a.FColor == b.FColor &&
           a.FStyle == b.FStyle;
  }

 private:
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
};

struct TRawImage;

class TBrush : public TGraphicsObject {
  HOST_PUBLISHED_CLASS
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  // A pattern tiled over the fill instead of the plain colour.
  const std::shared_ptr<const TRawImage>& Bitmap() const { return FBitmap; }
  void SetBitmap(std::shared_ptr<const TRawImage> bitmap);

  void Assign(const TPersistent& source) override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  std::shared_ptr<const TRawImage> FBitmap;
};

class TPen : public TGraphicsObject {
  HOST_PUBLISHED_CLASS
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  int Width() const { return FWidth; }
  void SetWidth(int width);

  void Assign(const TPersistent& source) override;

 private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
};

// Decoded pixels, 0xAARRGGBB per pixel, row by row.
struct TRawImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t Pixel(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
};

// Turns image file bytes into pixels. The GUI backend installs the real one; without it
// pictures keep their bytes but have no size.
class IImageCodec {
 public:
  virtual ~IImageCodec() = default;
  // Decodes bytes of a PNG, BMP, JPEG or GIF file; returns false when they are no image.
  virtual bool Decode(const std::string& bytes, TRawImage& image) = 0;
  // True when Decode will surely take the bytes, judged without decoding them; gives the image's
  // size. False when that cannot be told short of decoding (the default).
  virtual bool ReadSize(const std::string& bytes, int& width, int& height) { return false; }
  // Encodes pixels as PNG bytes.
  virtual std::string EncodePng(const TRawImage& image) = 0;
};
// Installs codec and gives back the one it replaces.
std::unique_ptr<IImageCodec> SetImageCodec(std::unique_ptr<IImageCodec> codec);
IImageCodec* ImageCodec();

// A picture: the bytes of its image file, kept as they came so that a stored picture keeps its
// format, and the decoded pixels. Bytes whose soundness and size the codec can tell from the file
// alone are decoded when the pixels are first asked for, so that pictures of frames never shown
// cost no decoding; the size is known at once.
class TPicture : public TGraphicsObject {
  HOST_PUBLISHED_CLASS
 public:
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  // The pixels, decoded now if they were not yet; null when empty. Should the decoding fail
  // after all, the picture becomes empty.
  const std::shared_ptr<const TRawImage>& Image() const;

  // The format follows the file's contents; a file that is no known image fails with
  // EInvalidGraphic naming it and leaves the picture as it was.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  // The image file's bytes; a picture made from pixels alone gives them as PNG.
  std::string Data() const;
  // Bytes that are no image the kit can read are kept all the same (Data gives them back) while
  // the picture shows nothing; then the call fails with EInvalidGraphic.
  void SetData(const std::string& bytes);
  void SetImage(std::shared_ptr<const TRawImage> image);  // e.g. a resource drawing
  void Clear();

  void Assign(const TPersistent& source) override;

 private:
  // Takes bytes as the picture's file: sized at once, decoded now or on first use. False when
  // they are no image the codec reads; the picture is then empty.
  bool TakeBytes(std::string bytes);

  std::string FData;
  mutable std::shared_ptr<const TRawImage> FImage;
  mutable int FWidth = 0;
  mutable int FHeight = 0;
  mutable bool FPending = false;  // FData not decoded yet
};

class EInvalidGraphic : public Exception {
  using Exception::Exception;
};

}  // namespace host
