#pragma once

#include "host/Controls.h"

namespace host {

// A surface to paint on through OnPaint (or a descendant's Paint).
class TPaintBox : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TPaintBox(TComponent* owner);
  TNotifyEvent OnPaint;

 protected:
  // Gives the canvas the control's font and colour, outlines the box in the designer, then
  // fires OnPaint.
  void Paint() override;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
const std::vector<std::string>& ShapeTypeNames();

// A geometric shape drawn with its own pen and brush.
class TShape : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TShape(TComponent* owner);
  TBrush& Brush() { return FBrush; }
  void SetBrush(const TBrush& value) { FBrush.Assign(value); }
  TPen& Pen() { return FPen; }
  void SetPen(const TPen& value) { FPen.Assign(value); }
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType value);

 protected:
  void Paint() override;

 private:
  TBrush FBrush;
  TPen FPen;
  TShapeType FShape = stRectangle;
};

// Shows a picture.
class TImage : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TImage(TComponent* owner);
  TPicture& Picture() { return FPicture; }
  void SetPicture(const TPicture& value) { FPicture.Assign(value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);

  void Loaded() override;
  // A picture with a hint is read as a graphic named by it; without one it is decoration.
  TAccessibleInfo AccessibleInfo() const override;

 protected:
  void Paint() override;
  virtual void PictureChanged();

 private:
  void AdjustSize();
  TPicture FPicture;
  bool FAutoSize = false;
  bool FCenter = false;
  bool FStretch = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };
const std::vector<std::string>& BevelCutNames();

// A windowed container with a bevelled edge and a centred caption.
class TPanel : public TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  // A second edge just inside the outer one.
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);

 protected:
  void Paint() override;

 private:
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
};

enum TBevelStyle { bsLowered, bsRaised };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
const std::vector<std::string>& BevelStyleNames();
const std::vector<std::string>& BevelShapeNames();

// A sunk or raised box, frame or line that sets parts of a dialog apart.
class TBevel : public TGraphicControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// Draws the two-colour edge of a raised or lowered frame inside rect.
void Frame3D(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight);

void RegisterExtCtrlsClasses();

}  // namespace host
