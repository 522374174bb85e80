#include "runtime/HyperTxt.h"

#include <algorithm>
#include <cstdlib>

#include "host/Forms.h"
#include "runtime/Action.h"
#include "runtime/Strtool.h"

namespace mebrox {

using namespace host;

// The six pointer images are shared by every hypertext control and live while any does.
TCursorGroup& THyperTxt::WordCursors() {
  static TCursorGroup group{{FirstCursor + 0, "1HAND"},  {FirstCursor + 1, "2FORM"},
                            {FirstCursor + 2, "3WAVE"},  {FirstCursor + 3, "4RUN"},
                            {FirstCursor + 4, "5CLOSE"}, {FirstCursor + 5, "6LINES"}};
  return group;
}

const TClassInfo& THyperTxt::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("THyperTxt", &TPaintBox::StaticClassInfo());
    TPublisher<THyperTxt>(i)
        .SubObject<TAboutMebrox>(
            "About", [](THyperTxt& h) -> TAboutMebrox& { return h.About(); }, nullptr)
        .Enumeration("AutoAdjust", AdjustAttrsNames(), &THyperTxt::AutoAdjust,
                     &THyperTxt::SetAutoAdjust)
        .SubObject<TBrush>(
            "Brush", [](THyperTxt& h) -> TBrush& { return h.Brush(); }, &THyperTxt::SetBrush)
        .Strings<TStrings>(
            "Lines", [](THyperTxt& h) -> TStringList& { return h.Lines(); }, &THyperTxt::SetLines)
        .Strings<TStrings>(
            "LinesLists", [](THyperTxt& h) -> TLinesLists& { return h.LinesLists(); },
            &THyperTxt::SetLinesLists)
        .Integer("LinesListsIndex", &THyperTxt::LinesListsIndex, &THyperTxt::SetLinesListsIndex)
        .Integer("TabWidth", &THyperTxt::TabWidth, &THyperTxt::SetTabWidth)
        .Strings<TStrings>(
            "Words", [](THyperTxt& h) -> TWords& { return h.Words(); }, &THyperTxt::SetWords)
        .Strings<TStrings>(
            "WordsLists", [](THyperTxt& h) -> TWordsLists& { return h.WordsLists(); },
            &THyperTxt::SetWordsLists)
        .Integer("WordsListsIndex", &THyperTxt::WordsListsIndex, &THyperTxt::SetWordsListsIndex)
        .SubObject<TFont>(
            "WordFont", [](THyperTxt& h) -> TFont& { return h.WordFont(); },
            &THyperTxt::SetWordFont);
    return i;
  }();
  return info;
}

THyperTxt::THyperTxt(TComponent* owner) : TPaintBox(owner) {
  FBrush.OnChange = [this](TObject*) { Invalidate(); };
  FBrush.SetColor(clBtnFace);
  FBrush.SetStyle(bsClear);
  FWords.OnListChange = [this](TObject*) { Invalidate(); };
  FLines.Add("HyperTxt");
  Font().SetName("MS Sans Serif");
  FWordFont.OnChange = [this](TObject*) { Invalidate(); };
  FWordFont.Assign(Font());
  if (IsDesigning()) GetINISettings();
}

void THyperTxt::GetINISettings() {
  TSettingsSection ini("HyperTxt");
  if (!ini.Used()) return;
  // Stored as the value alone: the setter's resizing is not wanted here.
  FAutoAdjust = IntToAutoAdjust(ini.ReadInteger("AutoAdjust", 0));
  FBrush.SetColor(ini.ReadColor("BrushColor", "clBlack"));
  FBrush.SetStyle(IntToBrushStyle(ini.ReadInteger("BrushStyle", 0)));
  ini.ApplyFont(Font(), "Font");
  ini.ApplyFont(FWordFont, "WordFont", /*hasUnderline=*/true);
}

// ---- properties

void THyperTxt::SetAutoAdjust(TAdjustAttrs value) {
  if (value == FAutoAdjust || Align() != alNone) {
    FAutoAdjust = adNone;
    return;
  }
  FAutoAdjust = value;
  if (value != adNone) Invalidate();
}

void THyperTxt::SetBrush(const TBrush& value) {
  if (&value != &FBrush) FBrush.Assign(value);
  Invalidate();
}

void THyperTxt::SetLines(const TStrings& value) {
  FLines.Assign(value);
  Invalidate();
}

void THyperTxt::SetLinesLists(const TStrings& value) {
  FLinesLists.Assign(value);
  Invalidate();
}

void THyperTxt::SetLinesListsIndex(int value) {
  if (value == FLinesListsIndex || value < 0 || value >= FLinesLists.Count()) return;
  FLinesLists.SetListIndex(value);
  FLinesListsIndex = value;
  FLines.Assign(FLinesLists.CurrentList());
  Invalidate();
}

void THyperTxt::SetTabWidth(int value) {
  if (value < 0 || value > 50 || value == FTabWidth) return;
  FTabWidth = value;
  Invalidate();
}

void THyperTxt::SetWords(const TStrings& value) {
  FWords.Assign(value);
  Invalidate();
}

void THyperTxt::SetWordsLists(const TStrings& value) {
  FWordsLists.Assign(value);
  Invalidate();
}

void THyperTxt::SetWordsListsIndex(int value) {
  if (value == FWordsListsIndex || value < 0 || value >= FWordsLists.Count()) return;
  FWordsLists.SetListIndex(value);
  FWordsListsIndex = value;
  // The plain string-list copy, which still tells OnListChange.
  FWords.TStringList::Assign(static_cast<const TPersistent&>(FWordsLists.CurrentList()));
  Invalidate();
}

void THyperTxt::SetWordFont(const TFont& value) {
  if (&value != &FWordFont) FWordFont.Assign(value);
  Invalidate();
}

// ---- layout and painting

void THyperTxt::EncodeText(const TStrings& lines, const TWords& words) {
  TStringList copy;
  copy.Assign(lines);
  for (int i = 0; i < copy.Count(); ++i) {
    std::string coded = ExpandTabs(copy.Get(i), FTabWidth);
    const std::string original = lines.Get(i);
    // Last entry first, on the progressively marked-up line.
    for (int j = words.Count() - 1; j >= 0; --j) {
      std::string word = words.GetWord(j);
      if (word.empty() || original.find(word) == std::string::npos) continue;
      size_t lead = word.find_first_not_of(' ');
      std::string marked = std::string(lead, ' ') + "<B>" + word.substr(lead) + "</B>";
      coded = ReplaceStr(coded, word, marked);
    }
    copy.Put(i, coded);
  }
  FCodedLines.Assign(copy);
}

void THyperTxt::Paint() {
  TPaintBox::Paint();
  // The old control let pending messages run here; a nested event loop inside a paint could
  // re-enter painting and the pointer handlers on a half-built layout, so it does not.
  TCanvas& c = Canvas();
  c.Pen().SetStyle(psClear);
  c.SetBrush(FBrush);
  c.Rectangle(0, 0, Width(), Height());
  FInWord = false;
  if (FWords.Count() > 0)
    EncodeText(FLines, FWords);
  else
    FCodedLines.Assign(FLines);

  int maxWidth = 0;
  FWordCount = 0;
  c.MoveTo(1, 1);
  for (int i = 0; i < FCodedLines.Count(); ++i) {
    std::string line = ExpandTabs(FCodedLines.Get(i), FTabWidth);
    std::string plain = i < FLines.Count() ? ExpandTabs(FLines.Get(i), FTabWidth) : std::string();
    int width = c.TextWidth(plain);
    if (width > maxWidth) maxWidth = width + 3;
    ParseText(line);
    NewLine();
  }

  int penY = c.PenPos().Y;
  switch (FAutoAdjust) {
    case adBoth:
      SetBounds(Left(), Top(), maxWidth, penY);
      Update();
      break;
    case adWidth:
      SetWidth(maxWidth);
      Update();
      break;
    case adHeight:
      SetHeight(penY + 5);
      Update();
      break;
    case adNone:
      break;
  }
}

void THyperTxt::ParseText(std::string line) {
  TCanvas& c = Canvas();
  c.MoveTo(1, c.PenPos().Y);
  size_t lt;
  while ((lt = line.find('<')) != std::string::npos) {
    size_t gt = line.find('>', lt + 1);
    // A "<" that no ">" closes is text, not the start of a tag.
    if (gt == std::string::npos) break;
    PrintLine(line.substr(0, lt));
    std::string tag = line.substr(lt + 1, gt - lt - 1);
    line.erase(0, gt + 1);
    ParseCodedLines(tag, line);
  }
  PrintLine(line);
}

void THyperTxt::ParseCodedLines(const std::string& tag, const std::string& rest) {
  TCanvas& c = Canvas();
  TPoint pen = c.PenPos();
  if (tag == "B") {
    FInWord = true;
    FBaseShift = 0;
    int sw = FWordFont.Size(), sc = c.Font().Size();
    if (sw >= sc) {
      FBaseShift = std::abs(sw) - std::abs(sc);
      c.MoveTo(pen.X, pen.Y - FBaseShift);
    } else {
      FBaseShift = std::abs(sc) - std::abs(sw);
      c.MoveTo(pen.X, pen.Y + FBaseShift);
    }
    FSaveFont.Assign(c.Font());
    c.SetFont(FWordFont);
    TWordPos& slot = Slot();
    slot.Top = c.PenPos().Y;
    slot.Left = c.PenPos().X;
    slot.Word = rest.substr(0, rest.find('<'));
  } else if (tag == "/B") {
    FInWord = false;
    c.SetFont(FSaveFont);
    int sw = FWordFont.Size(), sc = c.Font().Size();
    c.MoveTo(pen.X, sw >= sc ? pen.Y + FBaseShift : pen.Y - FBaseShift);
    TWordPos& slot = Slot();
    slot.Right = c.PenPos().X;
    slot.Bottom = c.PenPos().Y + c.TextHeight("A");
    if (FWordCount < MaxWordCount) ++FWordCount;
  }
}

void THyperTxt::PrintLine(std::string text) {
  TCanvas& c = Canvas();
  size_t space;
  while ((space = text.find(' ')) != std::string::npos) {
    std::string piece = text.substr(0, space + 1);
    text.erase(0, space + 1);
    if (c.PenPos().X + c.TextWidth(piece) > Width() - 2) Wrap();
    c.TextOut(c.PenPos().X, c.PenPos().Y, piece);
  }
  if (c.PenPos().X + c.TextWidth(text) > Width() - 2) Wrap();
  c.TextOut(c.PenPos().X, c.PenPos().Y, text);
}

void THyperTxt::Wrap() {
  TCanvas& c = Canvas();
  if (FInWord) {
    TWordPos& slot = Slot();
    slot.Right = c.PenPos().X;
    slot.Bottom = c.PenPos().Y + c.TextHeight("A");
    if (FWordCount < MaxWordCount) ++FWordCount;
  }
  NewLine();
  TWordPos& slot = Slot();
  slot.Top = c.PenPos().Y;
  slot.Left = c.PenPos().X;
  if (FWordCount > 0) slot.Word = FWordPos[static_cast<size_t>(FWordCount - 1)].Word;
}

void THyperTxt::NewLine() {
  TCanvas& c = Canvas();
  int step = std::max(std::abs(Font().Size()), std::abs(FWordFont.Size())) + 5;
  c.MoveTo(1, c.PenPos().Y + step);
}

// ---- pointer

int THyperTxt::HitTest(int x, int y) const {
  for (int i = 0; i <= FWordCount; ++i) {
    const TWordPos& p = FWordPos[static_cast<size_t>(i)];
    if (p.Left < x && x < p.Right && p.Top < y && y < p.Bottom) return i;
  }
  return -1;
}

int THyperTxt::FindEntry(const std::string& word) const {
  for (int j = 0; j < FWords.Count(); ++j)
    if (LTrim(FWords.GetWord(j)) == word) return j;
  return -1;
}

void THyperTxt::MouseMove(TShiftState shift, int x, int y) {
  TPaintBox::MouseMove(shift, x, y);
  int slot = HitTest(x, y);
  if (slot < 0) {
    Screen->SetCursor(crDefault);
    return;
  }
  const std::string& word = FWordPos[static_cast<size_t>(slot)].Word;
  if (OnOverWord) {
    OnOverWord(this, word);
    return;
  }
  int entry = FindEntry(word);
  if (entry < 0) return;
  int code = StrToInt(FWords.GetWordActType(entry));
  if (code >= 0 && code <= 5) Screen->SetCursor(FirstCursor + code);
}

void THyperTxt::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPaintBox::MouseDown(button, shift, x, y);
  Screen->SetCursor(crDefault);
  int slot = HitTest(x, y);
  if (slot < 0) return;
  const std::string word = FWordPos[static_cast<size_t>(slot)].Word;
  if (OnWordClick) {
    OnWordClick(this, word);
    return;
  }
  int entry = FindEntry(word);
  if (entry < 0) return;
  int code = StrToInt(FWords.GetWordActType(entry));
  PerformWordAction(code, FWords.GetWordAct(entry), x, y);
}

void THyperTxt::PerformWordAction(int code, const std::string& data, int x, int y) {
  switch (code) {
    case 0: {
      TPoint at = ClientToScreen({x, y});
      ShowDescription(data, Parent(), &at);
      break;
    }
    case 1:
      GotoFrame(CurrentFrame(*this), data);
      break;
    case 2:
      PlayWave(CurrentFrame(*this), data);
      break;
    // The program runs without parameters, in the directory that holds it.
    case 3:
      ExecuteFile(data, "", ExtractFilePath(data), 5);
      break;
    case 4:
      GoBack(CurrentFrame(*this));
      break;
    case 5:
      SetLinesListsIndex(StrToInt(RTrim(LTrim(data))));
      break;
    default:
      break;
  }
}

}  // namespace mebrox
