#include "runtime/Hyprarea.h"

#include "runtime/DefaultSettings.h"
#include "runtime/HyperImg.h"

namespace mebrox {

using namespace host;

const TClassInfo& THyperArea::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("THyperArea", &TShape::StaticClassInfo());
    TPublisher<THyperArea>(i)
        .SubObject<TAboutMebrox>(
            "About", [](THyperArea& h) -> TAboutMebrox& { return h.About(); }, nullptr)
        .SubObject<TAction>(
            "Action", [](THyperArea& h) -> TAction& { return h.Action(); }, &THyperArea::SetAction)
        .Boolean("CursorShow", &THyperArea::CursorShow, &THyperArea::SetCursorShow);
    return i;
  }();
  return info;
}

THyperArea::THyperArea(TComponent* owner) : TShape(owner) {
  FAction.SetActionType(acNone);
  Brush().SetStyle(bsClear);
  Pen().SetStyle(psClear);
}

void THyperArea::GetINISettings() {
  TSettingsSection ini("HyperArea");
  if (ini.Used() && ini.ReadBool("CursorShow", false)) FCursorShow = true;
}

void THyperArea::SetAction(const TAction& value) {
  if (&value != &FAction) FAction.Assign(value);
}

void THyperArea::Paint() {
  TShape::Paint();
  if (!IsDesigning()) return;
  // The outline lets the designer find an area whose own pen is clear.
  TCanvas& c = Canvas();
  const TBrushStyle brushStyle = c.Brush().Style();
  const TPenStyle penStyle = c.Pen().Style();
  c.Pen().SetStyle(psSolid);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(0, 0, Width(), Height());
  c.Brush().SetStyle(brushStyle);
  c.Pen().SetStyle(penStyle);
}

void THyperArea::MouseMove(TShiftState shift, int x, int y) {
  TShape::MouseMove(shift, x, y);
  SetCursor(FCursorShow ? THotCursors::HandCursor : crDefault);
}

void THyperArea::Click() {
  TShape::Click();
  PerformAction(*this, FAction);
}

}  // namespace mebrox
