#include "apps/studio/DesignOverlay.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <memory>

#include "apps/studio/PaletteBar.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/Resources.h"
#include "host/qt/QtBackend.h"
#include "host/qt/QtPainterSurface.h"
#include "runtime/HyperImg.h"
#include "runtime/WavePly.h"
#include "tests/WaveSupport.h"
#include "tests/design/StudioFixture.h"

namespace {

using mebrox::studio::QtDesignOverlay;
using testing_support::TStudioFixture;

const std::string FormText =
    "object Form1: TForm1\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object HyperImage1: THyperImage\n"
    "    Left = 24\n"
    "    Top = 24\n"
    "    Width = 120\n"
    "    Height = 88\n"
    "  end\n"
    "  object Panel1: TPanel\n"
    "    Left = 200\n"
    "    Top = 120\n"
    "    Width = 150\n"
    "    Height = 100\n"
    "  end\n"
    "  object Edit1: TEdit\n"
    "    Left = 200\n"
    "    Top = 240\n"
    "    Width = 120\n"
    "    Height = 24\n"
    "    Text = 'Keep'\n"
    "  end\n"
    "  object WavePlay1: TWavePlay\n"
    "    Left = 300\n"
    "    Top = 24\n"
    "  end\n"
    "  object OpenDialog1: TOpenDialog\n"
    "    Left = 340\n"
    "    Top = 24\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    Left = 340\n"
    "    Top = 64\n"
    "    object MenuItem1: TMenuItem\n"
    "      Caption = 'One'\n"
    "    end\n"
    "  end\n"
    "end\n";

const QColor Black(0, 0, 0);
const QColor Grey(128, 128, 128);

// A designed form with its marks, as the studio sets it up.
struct TDesignedForm {
  TStudioFixture Studio;
  host::TForm& Form = Studio.Form("Form1");
  ide::TFormDesigner& Designer = Studio.Session().FormDesignerOf(Form);
  QtDesignOverlay Overlay{Form, Designer};
  std::vector<std::string> Errors;

  explicit TDesignedForm(const std::string& formText = FormText) : Studio({formText}) {
    Overlay.OnError = [this](const std::string& text) { Errors.push_back(text); };
  }
  template <class T = host::TComponent>
  T& Get(const std::string& name) {
    auto* c = dynamic_cast<T*>(Form.FindComponent(name));
    if (!c) throw std::runtime_error("no " + name);
    return *c;
  }
  QWidget& Window() { return *host::qt::WidgetOf(Form); }
  // The form as the kit photographs it, kept beside the test results for a person to look at.
  QImage Shot(const std::string& name) {
    Overlay.Changed();
    QImage image = host::qt::ToQImage(Form.Peer()->Grab());
    image.save(QString(MEBROX_TEST_OUTPUT) + "/overlay-" + QString::fromStdString(name) + ".png");
    return image;
  }
  QColor Ground() const { return host::qt::ToQColor(Form.Color()); }
  QRect Handle(const host::TRect& bounds, int h) const {
    host::TRect r = ide::TFormDesigner::HandleRect(bounds, h);
    return QRect(r.Left, r.Top, r.Width(), r.Height());
  }
  host::TRect Bounds(const std::string& control) {
    return Designer.FormBounds(Get<host::TControl>(control));
  }
  void Mouse(host::TMouseEventRecord::TKind kind, int x, int y) {
    Form.DispatchMouse({kind, host::mbLeft, {}, {x, y}});
  }
};

int CountColour(const QImage& image, const QRect& rect, const QColor& colour) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      n += image.pixelColor(x, y).rgb() == colour.rgb();
  return n;
}

// The pixels of a handle that lie outside the control it marks: only the handle draws there.
std::vector<QPoint> OutsidePixels(const QRect& handle, const host::TRect& bounds) {
  std::vector<QPoint> points;
  for (int y = handle.top(); y <= handle.bottom(); ++y)
    for (int x = handle.left(); x <= handle.right(); ++x)
      if (!bounds.Contains({x, y})) points.emplace_back(x, y);
  return points;
}

// Whether the 24 x 24 palette image of className is drawn with its top-left corner at origin.
bool ShowsPaletteImage(const QImage& shot, const std::string& className, QPoint origin) {
  auto bitmap = host::LoadBitmapResource(className);
  if (!bitmap) return false;
  QImage image = host::qt::ToQImage(*bitmap);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) == 255 &&
          shot.pixel(origin.x() + x, origin.y() + y) != (image.pixel(x, y) | 0xff000000u))
        return false;
  return true;
}

bool WritePng(const std::string& path, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::red);
  return image.save(QString::fromStdString(path), "PNG");
}

// Files as a file manager drags them: their URLs, and their paths as plain text as well.
std::unique_ptr<QMimeData> Files(const std::vector<std::string>& paths) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  QStringList text;
  for (const std::string& p : paths) {
    urls << QUrl::fromLocalFile(QString::fromStdString(p));
    text << QString::fromStdString(p);
  }
  mime->setUrls(urls);
  mime->setText(text.join('\n'));
  return mime;
}

// Whether what is dragged may land at a point of the widget, asked as Qt asks a window: the drag
// enters it, then moves there. A window that refuses the entry is told no more of the drag.
bool DragEnters(QWidget& widget, QPoint at, const QMimeData& mime,
                Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
  QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &move);
  return move.isAccepted() && move.dropAction() == Qt::CopyAction;
}

// A drag that enters the widget at the first point and moves through the others, then drops;
// false as soon as the widget refuses it where it is.
bool DragsAndDrops(QWidget& widget, const std::vector<QPoint>& path, const QMimeData& mime) {
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(path.front(), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &enter);
  if (!enter.isAccepted()) return false;
  bool accepted = false;
  for (QPoint at : path) {
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    accepted = move.isAccepted();
  }
  if (!accepted) return false;
  QDropEvent drop(path.back(), actions, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &drop);
  return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// A drop as the windowing system delivers it: Qt hands a drop only to a window that took the
// drag's entry.
bool Drops(QWidget& widget, QPoint at, const QMimeData& mime) {
  return DragsAndDrops(widget, {at}, mime);
}

TEST(DesignOverlayTest, OneSelectedControlShowsEightBlackHandlesAndTheFormNone) {
  TDesignedForm d;
  host::TRect image = d.Bounds("HyperImage1");
  d.Designer.Select(&d.Get("HyperImage1"));
  QImage shot = d.Shot("selected");
  for (int h = 0; h < 8; ++h) {
    SCOPED_TRACE(h);
    // The whole square, also its half over the control's own window.
    EXPECT_EQ(CountColour(shot, d.Handle(image, h), Black), 36);
  }

  d.Designer.Select(nullptr);
  shot = d.Shot("form-selected");
  for (int h = 0; h < 8; ++h)
    for (QPoint p : OutsidePixels(d.Handle(image, h), image))
      ASSERT_EQ(shot.pixelColor(p), d.Ground()) << h << " at " << p.x() << "," << p.y();
}

TEST(DesignOverlayTest, SeveralSelectedComponentsShowGreyCornersOnly) {
  TDesignedForm d;
  d.Designer.Select(&d.Get("HyperImage1"));
  d.Designer.Select(&d.Get("Panel1"), true);
  QImage shot = d.Shot("group");
  for (const char* name : {"HyperImage1", "Panel1"}) {
    host::TRect bounds = d.Bounds(name);
    for (int h = 0; h < 8; ++h) {
      SCOPED_TRACE(std::string(name) + " handle " + std::to_string(h));
      if (h % 2 == 0) {
        EXPECT_EQ(CountColour(shot, d.Handle(bounds, h), Grey), 36);
      } else {
        for (QPoint p : OutsidePixels(d.Handle(bounds, h), bounds))
          ASSERT_EQ(shot.pixelColor(p), d.Ground());
      }
    }
  }
}

TEST(DesignOverlayTest, NonVisualComponentsAreIconsThatFollowTheirMoves) {
  TDesignedForm d;
  QImage shot = d.Shot("icons");
  // The wave player's palette image in a raised box just where the designer hit-tests it.
  EXPECT_TRUE(ShowsPaletteImage(shot, "TWAVEPLAY", {302, 26}));
  EXPECT_EQ(shot.pixelColor(300, 24), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(327, 51), Black);
  EXPECT_EQ(shot.pixelColor(328, 52), d.Ground());
  // A class without a palette image still gets its box, with a sheet in it.
  EXPECT_EQ(shot.pixelColor(340, 24), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(367, 51), Black);
  EXPECT_GT(CountColour(shot, QRect(345, 29, 18, 18), QColor(Qt::white)), 100);
  // A menu item belongs to its menu and is no icon of its own at the form's corner.
  EXPECT_EQ(shot.pixelColor(0, 0), d.Ground());
  EXPECT_EQ(shot.pixelColor(27, 27), d.Ground());

  host::TComponent& player = d.Get("WavePlay1");
  d.Designer.Select(&player);
  d.Designer.MoveSelection(-260, 160);
  shot = d.Shot("icon-moved");
  EXPECT_TRUE(ShowsPaletteImage(shot, "TWAVEPLAY", {42, 186}));
  EXPECT_EQ(CountColour(shot, QRect(300, 24, 28, 28), d.Ground()), 28 * 28);
  // Selected, the icon carries the handles of its box.
  host::TRect box = host::Bounds(40, 184, QtDesignOverlay::IconSize, QtDesignOverlay::IconSize);
  for (int h = 0; h < 8; ++h) EXPECT_EQ(CountColour(shot, d.Handle(box, h), Black), 36) << h;
}

TEST(DesignOverlayTest, StaysOverWindowsDroppedLaterAndFollowsTheFormsSize) {
  TDesignedForm d;
  const host::TClassInfo* panelClass = host::TClassRegistry::Find("TPanel");
  ASSERT_NE(panelClass, nullptr);
  host::TComponent* dropped = d.Designer.Drop(*panelClass, {40, 160});
  ASSERT_TRUE(d.Designer.IsSelected(dropped));
  QWidget* top = nullptr;
  for (QObject* child : d.Window().children())
    if (child->isWidgetType()) top = static_cast<QWidget*>(child);
  EXPECT_EQ(top, &d.Overlay);
  QImage shot = d.Shot("dropped-panel");
  host::TRect bounds = d.Designer.FormBounds(*dynamic_cast<host::TControl*>(dropped));
  for (int h = 0; h < 8; ++h) EXPECT_EQ(CountColour(shot, d.Handle(bounds, h), Black), 36) << h;

  d.Form.SetBounds(d.Form.Left(), d.Form.Top(), 520, 380);
  QCoreApplication::processEvents();
  EXPECT_EQ(d.Overlay.geometry(), d.Window().rect());
  EXPECT_EQ(d.Overlay.size(), QSize(520, 380));
  EXPECT_TRUE(d.Overlay.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(DesignOverlayTest, TheRubberBandIsDottedWhileDraggedAndGoneAfter) {
  TDesignedForm d;
  using K = host::TMouseEventRecord;
  d.Mouse(K::Down, 20, 130);
  d.Mouse(K::Move, 180, 190);
  QImage shot = d.Shot("band");
  const QRect top(20, 130, 160, 1), left(20, 130, 1, 60), bottom(20, 189, 160, 1);
  for (const QRect& edge : {top, left, bottom}) {
    int pixels = edge.width() * edge.height();
    int black = CountColour(shot, edge, Black), white = CountColour(shot, edge, Qt::white);
    EXPECT_EQ(black + white, pixels);
    EXPECT_GT(black, pixels / 5);
    EXPECT_GT(white, pixels / 5);
  }
  EXPECT_EQ(CountColour(shot, QRect(21, 131, 158, 58), d.Ground()), 158 * 58);

  d.Mouse(K::Up, 180, 190);
  shot = d.Shot("band-released");
  EXPECT_EQ(CountColour(shot, top, d.Ground()), top.width());
}

TEST(DesignOverlayTest, AControlRunningPastTheFramesEdgeIsMarkedRedAlongThatEdge) {
  TDesignedForm d;
  const QColor red(220, 0, 0);
  QImage shot = d.Shot("inside");
  EXPECT_EQ(CountColour(shot, shot.rect(), red), 0);

  // A hot image grown to its picture, past the right edge.
  std::string png = d.Studio.File("wide.png");
  ASSERT_TRUE(WritePng(png, 420, 40));
  auto& image = d.Get<mebrox::THyperImage>("HyperImage1");
  image.Picture().LoadFromFile(png);
  ASSERT_GT(image.Left() + image.Width(), 400);
  // The panel past the bottom edge.
  d.Get<host::TControl>("Panel1").SetBounds(200, 250, 150, 100);
  shot = d.Shot("past-the-edges");
  const int imageBottom = image.Top() + image.Height();
  EXPECT_EQ(CountColour(shot, QRect(396, image.Top(), 4, image.Height()), red), 4 * image.Height());
  EXPECT_EQ(CountColour(shot, QRect(200, 296, 150, 4), red), 150 * 4);
  // Nowhere else: not beside where they cross, not on the other edges.
  EXPECT_EQ(CountColour(shot, QRect(396, imageBottom, 4, 296 - imageBottom), red), 0);
  EXPECT_EQ(CountColour(shot, QRect(0, 0, 4, 300), red), 0);
  EXPECT_EQ(CountColour(shot, QRect(0, 296, 200, 4), red), 0);
}

TEST(DesignOverlayTest, ADroppedPictureFileLoadsIntoTheHotImageAsAChangeToUndo) {
  TDesignedForm d;
  std::string png = d.Studio.File("red.png");
  ASSERT_TRUE(WritePng(png, 20, 10));
  auto& image = d.Get<mebrox::THyperImage>("HyperImage1");
  auto mime = Files({png});

  // Only over a control, only with local files, and always as a copy.
  EXPECT_TRUE(DragEnters(d.Window(), {60, 60}, *mime));
  EXPECT_TRUE(DragEnters(d.Window(), {60, 60}, *mime, Qt::MoveAction | Qt::CopyAction));
  EXPECT_FALSE(DragEnters(d.Window(), {60, 60}, *mime, Qt::MoveAction));
  EXPECT_FALSE(DragEnters(d.Window(), {20, 150}, *mime));
  QMimeData text;
  text.setText("red.png");
  EXPECT_FALSE(DragEnters(d.Window(), {60, 60}, text));
  QMimeData remote;
  remote.setUrls({QUrl("https://example.org/red.png")});
  EXPECT_FALSE(DragEnters(d.Window(), {60, 60}, remote));
  // Not while the form runs rather than being designed.
  d.Form.SetDesigner(nullptr);
  EXPECT_FALSE(DragEnters(d.Window(), {60, 60}, *mime));
  d.Form.SetDesigner(&d.Designer);

  ASSERT_FALSE(d.Studio.Session().CanUndo(d.Form));
  EXPECT_TRUE(Drops(d.Window(), {60, 60}, *mime));
  EXPECT_EQ(image.Picture().Width(), 20);
  EXPECT_EQ(image.Picture().Height(), 10);
  EXPECT_TRUE(d.Errors.empty());
  EXPECT_TRUE(d.Studio.Session().Modified());
  ASSERT_TRUE(d.Studio.Session().CanUndo(d.Form));
  d.Shot("picture-dropped");
  d.Studio.Session().Undo(d.Form);
  EXPECT_TRUE(d.Get<mebrox::THyperImage>("HyperImage1").Picture().Empty());
}

TEST(DesignOverlayTest, ADragThatEntersOverNothingStillLandsOnTheHotImage) {
  TDesignedForm d;
  std::string png = d.Studio.File("red.png");
  ASSERT_TRUE(WritePng(png, 16, 8));
  auto mime = Files({png});
  // A hand comes in from the edge, over empty form, and on to the image.
  EXPECT_TRUE(DragsAndDrops(d.Window(), {{2, 290}, {20, 150}, {60, 60}}, *mime));
  EXPECT_EQ(d.Get<mebrox::THyperImage>("HyperImage1").Picture().Width(), 16);
  // Let go over empty form, the drag goes nowhere.
  EXPECT_FALSE(DragsAndDrops(d.Window(), {{2, 290}, {60, 60}, {20, 150}}, *mime));
}

const std::string DropTargetsForm =
    "object Form1: TForm1\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  object HyperImage1: THyperImage\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Width = 80\n"
    "    Height = 80\n"
    "  end\n"
    "  object Bookmark1: TBookMark\n"
    "    Left = 100\n"
    "    Top = 8\n"
    "    Width = 40\n"
    "    Height = 56\n"
    "  end\n"
    "  object Image1: TImage\n"
    "    Left = 160\n"
    "    Top = 8\n"
    "    Width = 60\n"
    "    Height = 60\n"
    "  end\n"
    "  object Panel1: TPanel\n"
    "    Left = 8\n"
    "    Top = 120\n"
    "    Width = 150\n"
    "    Height = 100\n"
    "  end\n"
    "  object WavePlay1: TWavePlay\n"
    "    Left = 300\n"
    "    Top = 24\n"
    "  end\n"
    "end\n";

TEST(DesignOverlayTest, PicturesLandOnPictureHoldersAndWavesOnWavePlayersOnly) {
  TDesignedForm d(DropTargetsForm);
  std::string png = d.Studio.File("blue.png");
  ASSERT_TRUE(WritePng(png, 30, 20));
  std::string wave = d.Studio.File("ding.wav");
  testing_support::WriteTone(wave, 2205);
  auto pictureOf = [&](const std::string& name) -> host::TPicture& {
    if (auto* hot = dynamic_cast<mebrox::THyperImage*>(&d.Get(name))) return hot->Picture();
    return d.Get<host::TImage>(name).Picture();
  };
  auto waveName = [&] { return d.Get<mebrox::TWavePlay>("WavePlay1").GetWaveName(); };
  struct TCase {
    const char* Target;
    QPoint At;
    std::string File;
    bool Lands;
    std::function<bool()> Took;
  };
  const std::vector<TCase> cases = {
      {"HyperImage1", {40, 40}, png, true, [&] { return pictureOf("HyperImage1").Width() == 30; }},
      {"Bookmark1", {110, 20}, png, true, [&] { return pictureOf("Bookmark1").Width() == 30; }},
      {"Image1", {180, 30}, png, true, [&] { return pictureOf("Image1").Width() == 30; }},
      {"WavePlay1", {310, 30}, wave, true, [&] { return waveName() == "ding.wav"; }},
      // A panel takes no files: the drop is refused where it would change nothing.
      {"Panel1", {60, 160}, png, false, [] { return true; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Target);
    const std::string before = host::WriteComponentText(d.Form);
    auto mime = Files({c.File});
    EXPECT_EQ(DragEnters(d.Window(), c.At, *mime), c.Lands);
    EXPECT_EQ(Drops(d.Window(), c.At, *mime), c.Lands);
    EXPECT_TRUE(c.Took());
    EXPECT_EQ(host::WriteComponentText(d.Form) != before, c.Lands);
  }
  EXPECT_TRUE(d.Errors.empty());

  // A picture is no wave: the player says so and keeps its own.
  EXPECT_FALSE(Drops(d.Window(), {310, 30}, *Files({png})));
  ASSERT_EQ(d.Errors.size(), 1u);
  EXPECT_NE(d.Errors[0].find("blue.png"), std::string::npos) << d.Errors[0];
  EXPECT_EQ(waveName(), "ding.wav");
}

TEST(DesignOverlayTest, AComponentDraggedFromThePaletteIsDroppedWhereLetGo) {
  TDesignedForm d;
  const host::TClassInfo* labelClass = host::TClassRegistry::Find("TLabel");
  ASSERT_NE(labelClass, nullptr);
  std::vector<std::string> dropped;
  d.Designer.OnDropped = [&](host::TComponent& c) { dropped.push_back(c.Name()); };
  auto mime = mebrox::studio::QtPaletteBar::DragData(*labelClass);
  // Over a control as over the empty form: it lands in the innermost container there.
  EXPECT_TRUE(DragsAndDrops(d.Window(), {{2, 290}, {24, 150}}, *mime));
  EXPECT_TRUE(DragsAndDrops(d.Window(), {{210, 130}}, *mime));
  ASSERT_EQ(dropped, (std::vector<std::string>{"Label1", "Label2"}));
  auto& first = d.Get<host::TControl>("Label1");
  EXPECT_EQ(first.Left(), 24);
  EXPECT_EQ(first.Top(), 150);
  EXPECT_EQ(d.Get<host::TControl>("Label2").Parent(), &d.Get<host::TControl>("Panel1"));
  EXPECT_TRUE(d.Designer.IsSelected(&d.Get("Label2")));
  EXPECT_TRUE(d.Studio.Session().Modified());
  // A class no palette page has is no component to drop.
  QMimeData stranger;
  stranger.setData(mebrox::studio::QtPaletteBar::MimeType, "TNoSuchThing");
  EXPECT_FALSE(DragsAndDrops(d.Window(), {{40, 200}}, stranger));
}

TEST(DesignOverlayTest, AFileThatIsNoPictureIsReportedAndChangesNothing) {
  TDesignedForm d;
  std::string png = d.Studio.File("red.png");
  ASSERT_TRUE(WritePng(png, 12, 12));
  ASSERT_TRUE(Drops(d.Window(), {60, 60}, *Files({png})));
  std::string before = host::WriteComponentText(d.Form);

  std::string notes = d.Studio.File("notes.txt");
  testing_support::WriteFile(notes, "not a picture\n");
  // The image has taken the size of its 12 x 12 picture and shadow.
  EXPECT_FALSE(Drops(d.Window(), {30, 30}, *Files({notes})));
  ASSERT_EQ(d.Errors.size(), 1u);
  EXPECT_NE(d.Errors[0].find("notes.txt"), std::string::npos) << d.Errors[0];
  EXPECT_EQ(d.Get<mebrox::THyperImage>("HyperImage1").Picture().Width(), 12);
  EXPECT_EQ(host::WriteComponentText(d.Form), before);
  // Undo takes back the picture, not a change the failed drop never made.
  d.Studio.Session().Undo(d.Form);
  EXPECT_TRUE(d.Get<mebrox::THyperImage>("HyperImage1").Picture().Empty());
}

TEST(DesignOverlayTest, AnEditFieldsOwnWidgetHandsItsDropToTheDesigner) {
  TDesignedForm d;
  auto* field = d.Window().findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  std::string png = d.Studio.File("red.png");
  ASSERT_TRUE(WritePng(png, 4, 4));
  auto mime = Files({png});
  // A line edit takes dropped URLs as text of its own; while designed, it must not, and an edit
  // field takes no files from the desktop at all.
  EXPECT_FALSE(Drops(*field, {5, 5}, *mime));
  EXPECT_EQ(field->text().toStdString(), "Keep");
  EXPECT_EQ(d.Get<host::TEdit>("Edit1").Text(), "Keep");
  EXPECT_TRUE(d.Errors.empty());
}

TEST(DesignOverlayTest, TheOverlayLeavesTheFormAsItWasAndDiesWithItsWindow) {
  TStudioFixture studio({FormText});
  host::TForm& form = studio.Form("Form1");
  ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
  QWidget* window = host::qt::WidgetOf(form);
  const int children = static_cast<int>(window->children().size());
  auto mime = Files({studio.File("any.png")});
  designer.Select(&studio.Component("Form1", "HyperImage1"));
  {
    QtDesignOverlay overlay(form, designer);
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_TRUE(DragEnters(*window, {60, 60}, *mime));
  }
  EXPECT_FALSE(window->acceptDrops());
  EXPECT_FALSE(DragEnters(*window, {60, 60}, *mime));
  EXPECT_EQ(static_cast<int>(window->children().size()), children);
  QImage shot = host::qt::ToQImage(form.Peer()->Grab());
  host::TRect bounds = designer.FormBounds(
      *dynamic_cast<host::TControl*>(&studio.Component("Form1", "HyperImage1")));
  host::TRect h = ide::TFormDesigner::HandleRect(bounds, 0);
  EXPECT_NE(shot.pixelColor(h.Left, h.Top), Black);

  // A form of its own, whose window goes first: the overlay goes with it.
  auto other = std::make_unique<host::TForm>(nullptr);
  other->SetBounds(0, 0, 200, 150);
  auto otherDesigner = std::make_unique<ide::TFormDesigner>(*other, studio.Core(), nullptr, [] {});
  QPointer<QtDesignOverlay> overlay = new QtDesignOverlay(*other, *otherDesigner);
  otherDesigner.reset();
  other.reset();
  EXPECT_TRUE(overlay.isNull());
}

}  // namespace
