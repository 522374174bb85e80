// Laying out and painting a page of hypertext, hit-testing its word table, and the same page in
// Qt's own rich-text classes for comparison.
//
// The comparisons run both sides in every iteration, one after the other, and report each
// side's mean processor time per paint ("hottext_ms", "peer_ms") and "ratio" = peer / hot
// text, so a ratio above 1 means the hot text is faster. Take medians over repetitions:
//   hypertxt_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "host/MetricCanvas.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtPainterSurface.h"
#include "runtime/HyperTxt.h"

using namespace host;
using namespace mebrox;

namespace {

constexpr int PageWidth = 640;
constexpr int PageHeight = 4000;

// Two digits always, so that no hot word lies inside another.
std::string Topic(int i) {
  return "topic" + std::to_string(i / 10) + std::to_string(i % 10);
}

std::string ProseLine(int i) {
  return "Line " + std::to_string(i) + " tells of " + Topic(i % 50) +
         " and wanders on through words that wrap when the page is narrow enough.";
}

// The pointer hooks are the control's own; the benchmark calls them as the window would.
class TProbeText : public THyperTxt {
 public:
  using THyperTxt::MouseMove;
  using THyperTxt::THyperTxt;
};

// 100 lines of prose with 50 hot words spread over them, each used twice.
struct PageFixture {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TProbeText* Text = new TProbeText(Form.get());

  PageFixture() {
    Text->SetParent(Form.get());
    Text->SetBounds(0, 0, PageWidth, PageHeight);
    Text->Font().SetName("Times New Roman");
    Text->Font().SetSize(12);
    Text->WordFont().SetSize(12);
    Text->WordFont().SetStyle({fsBold, fsUnderline});
    TStringList lines;
    for (int i = 0; i < 100; ++i) lines.Add(ProseLine(i));
    Text->SetLines(lines);
    for (int i = 0; i < 50; ++i) Text->Words().NewWord(Topic(i), "1", "Form2");
  }
};

// The same page in a QTextDocument: the hot words bold, underlined links.
std::unique_ptr<QTextDocument> MakeDocument() {
  auto doc = std::make_unique<QTextDocument>();
  QFont font("Times New Roman");
  font.setPixelSize(16);
  doc->setDefaultFont(font);
  doc->setDocumentMargin(1);
  doc->setTextWidth(PageWidth);
  QTextCursor cursor(doc.get());
  QTextCharFormat plain;
  QTextCharFormat hot;
  hot.setFontWeight(QFont::Bold);
  hot.setFontUnderline(true);
  hot.setAnchor(true);
  for (int i = 0; i < 100; ++i) {
    if (i > 0) cursor.insertBlock();
    std::string line = ProseLine(i);
    std::string topic = Topic(i % 50);
    size_t at = line.find(topic);
    hot.setAnchorHref(QString::fromStdString("#" + topic));
    cursor.insertText(QString::fromStdString(line.substr(0, at)), plain);
    cursor.insertText(QString::fromStdString(topic), hot);
    cursor.insertText(QString::fromStdString(line.substr(at + topic.size())), plain);
  }
  return doc;
}

void RelayoutDocument(QTextDocument& doc) {
  doc.markContentsDirty(0, doc.characterCount());
  doc.documentLayout()->documentSize();  // lays the whole document out again
}

QImage PageImage() {
  QImage image(PageWidth, PageHeight, QImage::Format_ARGB32);
  image.fill(Qt::white);
  return image;
}

// The thread's own processor time: the machines these run on are often busy with builds.
double Now() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs the hot text and a peer in turn each iteration and reports both and their ratio.
void Compare(benchmark::State& state, const std::function<void()>& hotText,
             const std::function<void()>& peer) {
  hotText();  // warm both up: fonts, glyph caches, shaped pieces
  peer();
  double hot = 0, other = 0;
  for (auto _ : state) {
    double t0 = Now();
    hotText();
    double t1 = Now();
    peer();
    double t2 = Now();
    hot += t1 - t0;
    other += t2 - t1;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["hottext_ms"] = hot / n * 1e3;
  state.counters["peer_ms"] = other / n * 1e3;
  state.counters["ratio"] = other / hot;
}

// ---- the hot text alone

void BM_LayoutOnMetricSurface(benchmark::State& state) {
  PageFixture page;
  TMetricSurface surface;
  for (auto _ : state) {
    surface.ClearOps();
    page.Text->PaintOn(surface);
  }
  state.counters["hotwords"] = page.Text->WordCount();
}
BENCHMARK(BM_LayoutOnMetricSurface)->Unit(benchmark::kMicrosecond);

void BM_PaintOnQtImage(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  for (auto _ : state) page.Text->PaintOn(canvas.Painter());
  state.counters["hotwords"] = page.Text->WordCount();
}
BENCHMARK(BM_PaintOnQtImage)->Unit(benchmark::kMicrosecond);

// The first paint of a new text: marking up, measuring and shaping every piece again.
void BM_PaintNewTextOnQtImage(benchmark::State& state) {
  PageFixture page;
  TStringList texts[2];
  for (int i = 0; i < 100; ++i) {
    texts[0].Add(ProseLine(i));
    texts[1].Add(ProseLine(i + 100));
  }
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  int n = 0;
  for (auto _ : state) {
    page.Text->SetLines(texts[++n % 2]);
    page.Text->PaintOn(canvas.Painter());
  }
}
BENCHMARK(BM_PaintNewTextOnQtImage)->Unit(benchmark::kMicrosecond);

void BM_HitTest(benchmark::State& state) {
  PageFixture page;
  TMetricSurface surface;
  page.Text->PaintOn(surface);
  int y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(page.Text->HitTest(50, y));
    y = (y + 7) % PageHeight;
  }
}
BENCHMARK(BM_HitTest);

// The pointer over the last hot word of the page: the longest table scan and entry lookup.
void BM_PointerOverHotWord(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  page.Text->PaintOn(canvas.Painter());
  const TWordPos& slot = page.Text->WordPos(page.Text->WordCount() - 1);
  int x = (slot.Left + slot.Right) / 2, y = (slot.Top + slot.Bottom) / 2;
  for (auto _ : state) page.Text->MouseMove({}, x, y);
  state.counters["cursor"] = Screen->Cursor();
  Screen->SetCursor(0);
}
BENCHMARK(BM_PointerOverHotWord);

// One line of N bytes of prose, a few hot words at its start and plain words after them, laid
// out and painted: time grows with N.
void BM_HugeLine(benchmark::State& state) {
  PageFixture page;
  std::string line;
  for (int i = 0; static_cast<int64_t>(line.size()) < state.range(0); ++i)
    line += "word" + std::to_string(i % 997) +
            (i < 2000 && i % 40 == 0 ? " " + Topic(i % 50) + " " : " ");
  page.Text->SetLines(TStringList{line});
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  for (auto _ : state) page.Text->PaintOn(canvas.Painter());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_HugeLine)
    ->RangeMultiplier(4)
    ->Range(32 << 10, 2 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// ---- the hot text against Qt's rich text on the same page

// Hot text layout and paint against a QTextDocument laid out anew and painted.
void BM_VsTextDocumentRelayoutPaint(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  auto doc = MakeDocument();
  QImage image = PageImage();
  QPainter painter(&image);
  Compare(
      state, [&] { page.Text->PaintOn(canvas.Painter()); },
      [&] {
        RelayoutDocument(*doc);
        doc->drawContents(&painter);
      });
}
BENCHMARK(BM_VsTextDocumentRelayoutPaint)->Unit(benchmark::kMillisecond);

// Hot text layout and paint against a QTextDocument painted from the layout it keeps.
void BM_VsTextDocumentCachedPaint(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  auto doc = MakeDocument();
  QImage image = PageImage();
  QPainter painter(&image);
  Compare(
      state, [&] { page.Text->PaintOn(canvas.Painter()); }, [&] { doc->drawContents(&painter); });
}
BENCHMARK(BM_VsTextDocumentCachedPaint)->Unit(benchmark::kMillisecond);

// Hot text layout alone (measured, nothing drawn) against a QTextDocument layout alone.
void BM_VsTextDocumentLayout(benchmark::State& state) {
  PageFixture page;
  qt::QtMeasureSurface measure;
  auto doc = MakeDocument();
  Compare(
      state, [&] { page.Text->PaintOn(measure); }, [&] { RelayoutDocument(*doc); });
}
BENCHMARK(BM_VsTextDocumentLayout)->Unit(benchmark::kMillisecond);

// Hot text layout and paint against a QTextBrowser showing the page, rendered as a widget.
void BM_VsTextBrowserPaint(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  auto doc = MakeDocument();
  QTextBrowser browser;
  browser.setFrameStyle(QFrame::NoFrame);
  browser.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  browser.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  browser.setDocument(doc.get());
  browser.resize(PageWidth, PageHeight);
  QImage image = PageImage();
  Compare(
      state, [&] { page.Text->PaintOn(canvas.Painter()); },
      [&] { browser.viewport()->render(&image); });
}
BENCHMARK(BM_VsTextBrowserPaint)->Unit(benchmark::kMillisecond);

// Hot text layout and paint against the floor: the page's 100 lines shaped and wrapped once
// as QStaticText, only drawn.
void BM_VsStaticTextFloor(benchmark::State& state) {
  PageFixture page;
  qt::QtImageCanvas canvas(PageWidth, PageHeight);
  QFont font("Times New Roman");
  font.setPixelSize(16);
  std::vector<QStaticText> lines;
  for (int i = 0; i < 100; ++i) {
    QStaticText line(QString::fromStdString(ProseLine(i)));
    line.setTextFormat(Qt::PlainText);
    line.setTextWidth(PageWidth - 2);
    line.prepare(QTransform(), font);
    lines.push_back(line);
  }
  QImage image = PageImage();
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  Compare(
      state, [&] { page.Text->PaintOn(canvas.Painter()); },
      [&] {
        qreal y = 1;
        for (const QStaticText& line : lines) {
          painter.drawStaticText(QPointF(1, y), line);
          y += line.size().height() + 5;
        }
      });
}
BENCHMARK(BM_VsStaticTextFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  qt::InstallQtBackend(/*scriptedDialogs=*/true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
