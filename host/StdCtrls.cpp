#include "host/StdCtrls.h"

namespace host {

const std::vector<std::string>& AlignmentNames() {
  static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
  return names;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TLabel", &TGraphicControl::StaticClassInfo());
    TPublisher<TLabel>(i)
        .Enumeration("Align", AlignNames(), &TLabel::Align, &TLabel::SetAlign, alNone)
        .Enumeration("Alignment", AlignmentNames(), &TLabel::Alignment, &TLabel::SetAlignment,
                     taLeftJustify)
        .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
        .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
        .Color("Color", &TLabel::Color, &TLabel::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TLabel& l) -> TFont& { return l.Font(); }, &TLabel::SetFont)
        .Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true)
        .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
        .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    return i;
  }();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetControlStyle(TControlStyle{csClickEvents, csCaptureMouse});
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

unsigned TLabel::AlignmentFlags() const {
  switch (FAlignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void TLabel::DoDrawText(TRect& rect, unsigned flags) {
  std::string text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one blank high.
  if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  Canvas().SetFont(Font());
  if (!Enabled()) Canvas().Font().SetColor(clGrayText);
  Canvas().DrawText(text, rect, flags);
}

void TLabel::Paint() {
  if (!FTransparent) {
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().FillRect(ClientRect());
  }
  Canvas().Brush().SetStyle(bsClear);
  TRect rect = ClientRect();
  DoDrawText(rect, DT_EXPANDTABS | (FWordWrap ? unsigned{DT_WORDBREAK} : 0u) | AlignmentFlags());
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading()) return;
  TRect rect = ClientRect();
  DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? unsigned{DT_WORDBREAK} : 0u));
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - rect.Right;
  SetBounds(x, Top(), rect.Right, rect.Bottom);
}

void RegisterStdCtrlsClasses() {
  TClassRegistry::Register<TLabel>();
}

}  // namespace host
