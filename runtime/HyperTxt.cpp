#include "runtime/HyperTxt.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/Canvas.h"
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
}

THyperTxt::~THyperTxt() = default;

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
  // The hot words the keyboard was on are gone with the old text.
  KeyStopsChanged();
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

namespace {

struct TTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using TTextIndex = std::unordered_map<std::string, uint32_t, TTextHash, std::equal_to<>>;

// Where a hot word lies in a line, without the leading spaces its entry may have.
struct TSpan {
  size_t Start;
  size_t Length;
};

// The hot spans of a line. Every occurrence of every word is a candidate; where candidates
// overlap the longer one wins (then the one further left), so a word inside a longer hot word
// never splits or nests it.
void FindSpans(const std::string& text, const std::string& original,
               const std::vector<std::string>& words, std::vector<TSpan>& spans) {
  spans.clear();
  std::vector<TSpan> candidates;
  for (const std::string& word : words) {
    if (word.empty() || original.find(word) == std::string::npos) continue;
    size_t lead = word.find_first_not_of(' ');
    for (size_t at = text.find(word); at != std::string::npos;
         at = text.find(word, at + word.size()))
      candidates.push_back({at + lead, word.size() - lead});
  }
  if (candidates.empty()) return;
  std::sort(candidates.begin(), candidates.end(), [](const TSpan& a, const TSpan& b) {
    return a.Length != b.Length ? a.Length > b.Length : a.Start < b.Start;
  });
  std::vector<char> taken(text.size(), 0);
  for (const TSpan& c : candidates) {
    auto from = taken.begin() + static_cast<ptrdiff_t>(c.Start);
    auto to = from + static_cast<ptrdiff_t>(c.Length);
    if (std::find(from, to, 1) != to) continue;
    std::fill(from, to, 1);
    spans.push_back(c);
  }
  std::sort(spans.begin(), spans.end(),
            [](const TSpan& a, const TSpan& b) { return a.Start < b.Start; });
}

bool SameFace(const TFont& a, const TFont& b) {
  return a.Height() == b.Height() && a.Style().Mask() == b.Style().Mask() && a.Name() == b.Name();
}

}  // namespace

// The page marked up once for as long as its text, words and tab width stay: each line as
// the pieces PrintPiece draws with the hot words' marks between them, and each distinct piece
// measured and shaped once for as long as the fonts and the kind of surface stay.
struct THyperTxt::TPage {
  enum TOpKind : uint8_t { opPiece, opOpen, opClose };
  struct TOp {
    TOpKind Kind;
    uint32_t Arg;  // the piece, or the hot word an opening mark begins
  };
  struct TPiece {
    const std::string* Text;
    bool Hot;
    int Width = -1;
    std::unique_ptr<TShapedText> Shaped;
  };
  // Shaped pieces kept at most; further ones are measured once and shaped whenever drawn.
  static constexpr size_t MaxShaped = 8192;

  // What the page was made from.
  std::vector<std::string> Lines;
  std::vector<std::string> Words;
  int TabWidth = 0;

  std::vector<std::string> Plain;  // each line tab-expanded, without marks
  std::vector<TOp> Ops;
  std::vector<size_t> LineStarts;  // where each line's ops begin, and where the last ends
  std::vector<TPiece> Pieces;
  TTextIndex PieceIndex[2];  // plain and hot pieces, each text once
  TTextIndex WordIndex;
  std::vector<const std::string*> HotWords;

  // What the measurements hold for; anything else drops them.
  const void* ShapeKey = nullptr;
  TFont Faces[2];
  TCanvasSurface* Surface = nullptr;  // during a paint
  const TFont* Fonts[2] = {nullptr, nullptr};
  int HeightOfA[2] = {-1, -1};
  std::vector<int> LineWidths;
  size_t ShapedCount = 0;

  void AddPiece(std::string_view text, bool hot) {
    TTextIndex& index = PieceIndex[hot ? 1 : 0];
    auto found = index.find(text);
    if (found == index.end()) {
      found = index.emplace(std::string(text), static_cast<uint32_t>(Pieces.size())).first;
      Pieces.push_back({&found->first, hot, -1, nullptr});
    }
    Ops.push_back({opPiece, found->second});
  }

  // As PrintLine cut a segment: up to and including each space, then the rest, even empty.
  void AddSegment(std::string_view text, bool hot) {
    size_t from = 0;
    for (size_t space; (space = text.find(' ', from)) != std::string_view::npos; from = space + 1)
      AddPiece(text.substr(from, space + 1 - from), hot);
    AddPiece(text.substr(from), hot);
  }

  uint32_t AddWord(std::string_view word) {
    auto found = WordIndex.find(word);
    if (found == WordIndex.end()) {
      found = WordIndex.emplace(std::string(word), static_cast<uint32_t>(HotWords.size())).first;
      HotWords.push_back(&found->first);
    }
    return found->second;
  }

  void Prepare(TCanvasSurface& surface, const TFont& font, const TFont& wordFont) {
    Surface = &surface;
    Fonts[0] = &font;
    Fonts[1] = &wordFont;
    const void* key = surface.ShapeKey();
    if (key == ShapeKey && SameFace(Faces[0], font) && SameFace(Faces[1], wordFont)) return;
    ShapeKey = key;
    Faces[0].Assign(font);
    Faces[1].Assign(wordFont);
    for (TPiece& piece : Pieces) {
      piece.Width = -1;
      piece.Shaped.reset();
    }
    ShapedCount = 0;
    HeightOfA[0] = HeightOfA[1] = -1;
    LineWidths.assign(Plain.size(), -1);
  }

  TPiece& Measured(uint32_t index) {
    TPiece& piece = Pieces[index];
    if (piece.Width < 0) {
      const TFont& font = *Fonts[piece.Hot ? 1 : 0];
      if (ShapedCount < MaxShaped) {
        piece.Shaped = Surface->ShapeText(*piece.Text, font);
        piece.Width = piece.Shaped->Extent().cx;
        ++ShapedCount;
      } else {
        piece.Width = Surface->TextExtent(*piece.Text, font).cx;
      }
    }
    return piece;
  }

  int LineHeight(bool hot) {
    int& height = HeightOfA[hot ? 1 : 0];
    if (height < 0) height = Surface->TextExtent("A", *Fonts[hot ? 1 : 0]).cy;
    return height;
  }

  int LineWidth(size_t line) {
    int& width = LineWidths[line];
    if (width < 0) width = Surface->TextExtent(Plain[line], *Fonts[0]).cx;
    return width;
  }
};

bool THyperTxt::PageCurrent() const {
  return FPage && FPage->TabWidth == FTabWidth && FPage->Lines == FLines.Items() &&
         FPage->Words == FWords.Items();
}

void THyperTxt::EncodeText(const TStrings& lines, const TWords& words) {
  // Another page has other hot words: a keyboard stop on the old one does not carry over.
  if (FPage) KeyStopsChanged();
  auto page = std::make_unique<TPage>();
  for (int i = 0; i < lines.Count(); ++i) page->Lines.push_back(lines.Get(i));
  for (int j = 0; j < words.Count(); ++j) page->Words.push_back(words.Get(j));
  page->TabWidth = FTabWidth;
  std::vector<std::string> hotWords;
  for (int j = 0; j < words.Count(); ++j) hotWords.push_back(words.GetWord(j));

  FCodedLines.Clear();
  std::vector<TSpan> spans;
  for (const std::string& original : page->Lines) {
    std::string text = ExpandTabs(original, FTabWidth);
    FindSpans(text, original, hotWords, spans);
    page->LineStarts.push_back(page->Ops.size());
    std::string_view view(text);
    std::string coded;
    size_t at = 0;
    for (const TSpan& span : spans) {
      std::string_view before = view.substr(at, span.Start - at);
      std::string_view word = view.substr(span.Start, span.Length);
      page->AddSegment(before, false);
      page->Ops.push_back({TPage::opOpen, page->AddWord(word)});
      page->AddSegment(word, true);
      page->Ops.push_back({TPage::opClose, 0});
      coded.append(before).append("<B>").append(word).append("</B>");
      at = span.Start + span.Length;
    }
    page->AddSegment(view.substr(at), false);
    coded.append(view.substr(at));
    FCodedLines.Add(coded);
    page->Plain.push_back(std::move(text));
  }
  page->LineStarts.push_back(page->Ops.size());
  FPage = std::move(page);
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
  if (!PageCurrent()) EncodeText(FLines, FWords);
  TCanvasSurface& surface = c.Surface() ? *c.Surface() : MeasureSurface();
  FPage->Prepare(surface, Font(), FWordFont);
  // Shaped text may wait in the surface to be drawn in one go; it is drawn before the paint
  // ends, also when an error ends it.
  struct TFlush {
    TCanvasSurface& Surface;
    ~TFlush() { Surface.Flush(); }
  } flush{surface};

  // Only adjusting the width needs the width of every line.
  bool measureLines = FAutoAdjust == adBoth || FAutoAdjust == adWidth;
  int maxWidth = 0;
  if (measureLines)
    for (size_t i = 0; i < FPage->Plain.size(); ++i) {
      int width = FPage->LineWidth(i);
      if (width > maxWidth) maxWidth = width + 3;
    }
  FLayoutWidth = measureLines ? maxWidth : Width();
  FWordCount = 0;
  FLastSlotDone = false;
  c.MoveTo(1, 1);
  for (size_t i = 0; i < FPage->Plain.size(); ++i) {
    ParseText(i);
    NewLine();
  }
  FCurrentWord = nullptr;

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

void THyperTxt::ParseText(size_t line) {
  TCanvas& c = Canvas();
  c.MoveTo(1, c.PenPos().Y);
  const TPage& page = *FPage;
  for (size_t i = page.LineStarts[line]; i < page.LineStarts[line + 1]; ++i) {
    const TPage::TOp& op = page.Ops[i];
    switch (op.Kind) {
      case TPage::opPiece:
        PrintPiece(op.Arg);
        break;
      case TPage::opOpen:
        OpenWord(*page.HotWords[op.Arg]);
        break;
      case TPage::opClose:
        CloseWord();
        break;
    }
  }
}

void THyperTxt::OpenWord(const std::string& word) {
  TCanvas& c = Canvas();
  TPoint pen = c.PenPos();
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
  FCurrentWord = &word;
  BeginSlot(false);
}

void THyperTxt::CloseWord() {
  TCanvas& c = Canvas();
  TPoint pen = c.PenPos();
  FInWord = false;
  c.SetFont(FSaveFont);
  int sw = FWordFont.Size(), sc = c.Font().Size();
  c.MoveTo(pen.X, sw >= sc ? pen.Y + FBaseShift : pen.Y - FBaseShift);
  EndSlot(FPage->LineHeight(false));
}

// Slot FWordCount starts at the pen; the last slot, refilled, is unfinished until it ends.
void THyperTxt::BeginSlot(bool continued) {
  if (FWordCount == MaxWordCount) FLastSlotDone = false;
  TWordPos& slot = Slot();
  slot.Top = Canvas().PenPos().Y;
  slot.Left = Canvas().PenPos().X;
  slot.Word = *FCurrentWord;
  slot.Continued = continued;
}

void THyperTxt::EndSlot(int height) {
  TWordPos& slot = Slot();
  slot.Right = Canvas().PenPos().X;
  slot.Bottom = Canvas().PenPos().Y + height;
  if (FWordCount < MaxWordCount)
    ++FWordCount;
  else
    FLastSlotDone = true;
}

void THyperTxt::PrintPiece(uint32_t index) {
  TCanvas& c = Canvas();
  TPage::TPiece& piece = FPage->Measured(index);
  if (c.PenPos().X + piece.Width > FLayoutWidth - 2) Wrap();
  if (piece.Shaped)
    c.TextOut(c.PenPos().X, c.PenPos().Y, *piece.Shaped);
  else
    c.TextOut(c.PenPos().X, c.PenPos().Y, *piece.Text);
}

static constexpr int MaxPageDepth = 1 << 30;

void THyperTxt::Wrap() {
  // A hot word broken across lines takes a slot per line, all with its word.
  if (FInWord) EndSlot(FPage->LineHeight(true));
  NewLine();
  if (FInWord) BeginSlot(true);
}

void THyperTxt::NewLine() {
  TCanvas& c = Canvas();
  int step = std::max(std::abs(Font().Size()), std::abs(FWordFont.Size())) + 5;
  // Lines past a billion pixels down all stand there: no screen shows them, and the page's
  // measures stay within an int however many lines it has.
  c.MoveTo(1, std::min(c.PenPos().Y, MaxPageDepth) + step);
}

// ---- pointer

int THyperTxt::HitTest(int x, int y) const {
  for (int i = 0, n = SlotCount(); i < n; ++i) {
    const TWordPos& p = FWordPos[static_cast<size_t>(i)];
    if (p.Left < x && x < p.Right && p.Top < y && y < p.Bottom) return i;
  }
  return -1;
}

// Compared in place, ends first: the pointer asks on every move, and the words of a list
// often share their beginnings.
static bool EntryHasWord(const std::string& entry, const std::string& word) {
  std::string_view column(entry.data(), std::min<size_t>(entry.size(), TWords::WordWidth));
  size_t lead = column.find_first_not_of(' ');
  if (lead == std::string_view::npos) return word.empty();
  column.remove_prefix(lead);
  size_t n = word.size();
  if (n == 0 || column.size() < n || column[n - 1] != word[n - 1]) return false;
  if (column.size() > n && column[n] != ' ') return false;
  return column.compare(0, n, word) == 0 &&
         column.find_first_not_of(' ', n) == std::string_view::npos;
}

// The word action code of an entry, read from its column without copying the entry.
static int EntryCode(const std::string& entry) {
  std::string_view code;
  if (entry.size() > TWords::WordWidth)
    code = std::string_view(entry).substr(TWords::WordWidth, TWords::ActTypeWidth);
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  return StrToInt(code);
}

int THyperTxt::FindEntry(const std::string& word) const {
  const std::vector<std::string>& entries = FWords.Items();
  for (size_t j = 0; j < entries.size(); ++j)
    if (EntryHasWord(entries[j], word)) return static_cast<int>(j);
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
  int code = EntryCode(FWords.Items()[static_cast<size_t>(entry)]);
  if (code >= 0 && code <= 5) Screen->SetCursor(FirstCursor + code);
}

void THyperTxt::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPaintBox::MouseDown(button, shift, x, y);
  Screen->SetCursor(crDefault);
  int slot = HitTest(x, y);
  if (slot >= 0) PressSlot(slot, x, y);
}

void THyperTxt::PressSlot(int slot, int x, int y) {
  const std::string word = FWordPos[static_cast<size_t>(slot)].Word;
  if (OnWordClick) {
    OnWordClick(this, word);
    return;
  }
  int entry = FindEntry(word);
  if (entry < 0) return;
  int code = EntryCode(FWords.Items()[static_cast<size_t>(entry)]);
  PerformWordAction(code, FWords.GetWordAct(entry), x, y);
}

// ---- keyboard

std::vector<std::pair<int, int>> THyperTxt::StopSlots() const {
  std::vector<std::pair<int, int>> stops;
  if (IsDesigning()) return stops;
  int first = -1, last = -1;
  auto finish = [&] {
    if (first >= 0) stops.emplace_back(first, last);
    first = last = -1;
  };
  for (int i = 0, n = SlotCount(); i < n; ++i) {
    const TWordPos& p = FWordPos[static_cast<size_t>(i)];
    // The refilled last slot may go on from a word whose start it took the place of.
    bool goesOn = p.Continued && i > 0 && FWordPos[static_cast<size_t>(i - 1)].Word == p.Word;
    if (!goesOn) finish();
    // A word that wrapped before its first letter leaves an empty part at the line's end.
    if (p.Right <= p.Left) continue;
    if (first < 0) first = i;
    last = i;
  }
  finish();
  return stops;
}

int THyperTxt::KeyStopCount() const {
  return static_cast<int>(StopSlots().size());
}

std::vector<TRect> THyperTxt::KeyStopRects(int index) const {
  std::vector<TRect> parts;
  std::vector<std::pair<int, int>> stops = StopSlots();
  if (index < 0 || index >= static_cast<int>(stops.size())) return parts;
  auto [first, last] = stops[static_cast<size_t>(index)];
  for (int i = first; i <= last; ++i) {
    const TWordPos& p = FWordPos[static_cast<size_t>(i)];
    // One pixel around the word, as far as the pointer reaches it.
    if (p.Right > p.Left) parts.push_back({p.Left - 1, p.Top - 1, p.Right + 1, p.Bottom + 1});
  }
  return parts;
}

std::string THyperTxt::KeyStopName(int index) const {
  std::vector<std::pair<int, int>> stops = StopSlots();
  if (index < 0 || index >= static_cast<int>(stops.size())) return {};
  return FWordPos[static_cast<size_t>(stops[static_cast<size_t>(index)].first)].Word;
}

void THyperTxt::KeyStopClick(int index) {
  std::vector<std::pair<int, int>> stops = StopSlots();
  if (index < 0 || index >= static_cast<int>(stops.size())) return;
  int slot = stops[static_cast<size_t>(index)].first;
  const TWordPos& p = FWordPos[static_cast<size_t>(slot)];
  // Pressed in the middle of the word, where a description pops up from.
  PressSlot(slot, (p.Left + p.Right) / 2, (p.Top + p.Bottom) / 2);
}

TAccessibleInfo THyperTxt::AccessibleInfo() const {
  TAccessibleInfo info;
  info.Role = TAccessibleRole::Text;
  info.Name = Hint();
  if (info.Name.empty())
    for (int i = 0; i < FLines.Count(); ++i) {
      std::string line = RTrim(LTrim(FLines[i]));
      if (line.empty()) continue;
      if (!info.Name.empty()) info.Name += ' ';
      info.Name += line;
    }
  return info;
}

TAccessibleInfo THyperTxt::AccessibleChild(int index) const {
  TAccessibleInfo info;
  info.Role = TAccessibleRole::Link;
  info.Name = KeyStopName(index);
  info.Pressable = info.Focusable = true;
  int entry = OnWordClick ? -1 : FindEntry(info.Name);
  if (entry >= 0)
    info.Description = DescribeWordAction(EntryCode(FWords.Items()[static_cast<size_t>(entry)]),
                                          FWords.GetWordAct(entry));
  return info;
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
