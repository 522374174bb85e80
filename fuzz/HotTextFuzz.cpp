// Marks up, lays out and hit-tests a hot text with random lines and words, on the metric surface
// or on a real Qt painter, then moves the pointer and clicks over it. The input is:
//   6 bytes of settings (size, tab width, font sizes, flags), then, separated by NUL bytes,
//   the lines, the hot words (one per line: word TAB code TAB data), the lines the text is
//   switched to afterwards, and pairs of bytes that are pointer positions.
// A text laid out again after a change must be laid out as a new control lays it out (the
// shaped pieces are cached from paint to paint), and every finished slot must hold a hot word
// of the list and be found where it was drawn.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/MetricCanvas.h"
#include "host/qt/QtPainterSurface.h"
#include "runtime/HyperTxt.h"

namespace {

using namespace host;
using namespace mebrox;
using fuzz_support::TInput;

struct TSetup {
  int Width = 0, Height = 0, TabWidth = 0, FontSize = 0, WordFontSize = 0;
  bool RealPainter = false, BoldWords = false, Solid = false, Click = false;
  std::string Lines, Words, NewLines;
};

// A control on its own form, as a frame holds it.
struct TPage {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  THyperTxt* Text = new THyperTxt(Form.get());

  explicit TPage(const TSetup& s) {
    Form->SetClassName("TForm1");
    Form->SetBounds(0, 0, s.Width, s.Height);
    Text->SetParent(Form.get());
    Text->SetBounds(0, 0, s.Width, s.Height);
    Text->SetTabWidth(s.TabWidth);
    Text->Font().SetSize(s.FontSize);
    Text->WordFont().SetSize(s.WordFontSize);
    if (s.BoldWords) Text->WordFont().SetStyle({fsBold, fsUnderline});
    if (s.Solid) Text->Brush().SetStyle(bsSolid);
    TStringList lines;
    lines.SetText(s.Lines);
    Text->SetLines(lines);
    TStringList entries;
    entries.SetText(s.Words);
    for (int i = 0; i < entries.Count() && i < 260; ++i) {
      std::string line = entries[i];
      TInput entry(reinterpret_cast<const uint8_t*>(line.data()), line.size());
      std::string word(entry.Piece('\t'));
      std::string code(entry.Piece('\t'));
      // A program is never started: any other action may run.
      if (code.find('3') != std::string::npos) code = "0";
      try {
        Text->Words().NewWord(word, code, std::string(entry.Rest()));
      } catch (const EListError&) {
        // An entry its columns cannot hold is refused; the others are still used.
      }
    }
  }

  void Paint(bool real) {
    if (real) {
      qt::QtImageCanvas canvas(Text->Width(), Text->Height());
      Text->PaintOn(canvas.Painter());
    } else {
      TMetricSurface surface;
      Text->PaintOn(surface);
    }
  }
};

void CheckSlots(const THyperTxt& text) {
  for (int i = 0; i < text.SlotCount(); ++i) {
    const TWordPos& p = text.WordPos(i);
    if (p.Left > p.Right || p.Top > p.Bottom) std::abort();
    if (text.FindEntry(p.Word) < 0) std::abort();
    if (p.Right - p.Left < 2 || p.Bottom - p.Top < 2) continue;
    int hit = text.HitTest((p.Left + p.Right) / 2, (p.Top + p.Bottom) / 2);
    if (hit < 0 || hit > i) std::abort();
  }
}

void CheckSameLayout(const THyperTxt& a, const THyperTxt& b) {
  if (a.SlotCount() != b.SlotCount() || a.WordCount() != b.WordCount()) std::abort();
  if (!a.CodedLines().Equals(b.CodedLines())) std::abort();
  for (int i = 0; i < a.SlotCount(); ++i) {
    const TWordPos &p = a.WordPos(i), &q = b.WordPos(i);
    if (p.Left != q.Left || p.Top != q.Top || p.Right != q.Right || p.Bottom != q.Bottom ||
        p.Word != q.Word)
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return -1;
  fuzz_support::StartGui();
  fuzz_support::ResetDialogs();
  // A description popup closes at once; a frame change, a wave or a switch of lines runs.
  Application->ModalHook = [](TForm& form) { form.SetModalResult(mrOk); };

  TInput in(data, size);
  TSetup s;
  s.Width = in.Int(1, 150) * 4;
  s.Height = in.Int(1, 100) * 4;
  s.TabWidth = in.Int(0, 12);
  s.FontSize = in.Int(1, 48);
  s.WordFontSize = in.Int(1, 48);
  uint8_t flags = in.Byte();
  s.RealPainter = flags & 1;
  s.BoldWords = flags & 2;
  s.Solid = flags & 4;
  s.Click = flags & 8;
  s.Lines = in.Piece('\0');
  s.Words = in.Piece('\0');
  s.NewLines = in.Piece('\0');

  TPage page(s);
  page.Paint(s.RealPainter);
  CheckSlots(*page.Text);

  // The same words over other lines: what was cached must not show through.
  TStringList lines;
  lines.SetText(s.NewLines);
  page.Text->SetLines(lines);
  page.Paint(s.RealPainter);
  CheckSlots(*page.Text);
  TSetup fresh = s;
  fresh.Lines = s.NewLines;
  TPage other(fresh);
  other.Paint(s.RealPainter);
  CheckSameLayout(*page.Text, *other.Text);

  // The pointer over the page, a click at every position when the flags ask for it.
  std::string_view points = in.Rest();
  for (size_t i = 0; i + 1 < points.size() && i < 32; i += 2) {
    TMouseEventRecord e;
    e.Pos = {static_cast<uint8_t>(points[i]) * s.Width / 256,
             static_cast<uint8_t>(points[i + 1]) * s.Height / 256};
    // As the backend delivers them: what an event raises is shown, not thrown on.
    e.Kind = TMouseEventRecord::Move;
    HandleEvents([&] { page.Form->DispatchMouse(e); });
    if (!s.Click) continue;
    e.Kind = TMouseEventRecord::Down;
    HandleEvents([&] { page.Form->DispatchMouse(e); });
    e.Kind = TMouseEventRecord::Up;
    HandleEvents([&] { page.Form->DispatchMouse(e); });
    page.Paint(s.RealPainter);
    CheckSlots(*page.Text);
  }
  Application->ModalHook = nullptr;
  return 0;
}
