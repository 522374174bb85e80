#include "host/FormFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "host/Graphics.h"
#include "host/Strings.h"
#include "tests/TestSupport.h"

namespace {

using namespace host;

// What the sample components' setters and Loaded() did, in order. A setter called while its
// component is not loading is marked with "!".
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// Every int is a value of it, so that a test can hold an ordinal no name stands for.
enum TSampleShape : int { tsCircle, tsSquare, tsTriangle };
const std::vector<std::string>& ShapeNames() {
  static const std::vector<std::string> names = {"tsCircle", "tsSquare", "tsTriangle"};
  return names;
}
enum TSampleOption { soBold, soWide, soTall, soDeep };
using TSampleOptions = TSet<TSampleOption>;
const std::vector<std::string>& OptionNames() {
  static const std::vector<std::string> names = {"soBold", "soWide", "soTall", "soDeep"};
  return names;
}

class TSampleInner : public TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  int Depth() const { return FDepth; }
  void SetDepth(int depth) { FDepth = depth; }
  const std::string& Note() const { return FNote; }
  void SetNote(const std::string& note) { FNote = note; }

 private:
  int FDepth = 0;
  std::string FNote;
};

const TClassInfo& TSampleInner::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSampleInner", &TPersistent::StaticClassInfo());
    TPublisher<TSampleInner>(i)
        .Integer("Depth", &TSampleInner::Depth, &TSampleInner::SetDepth, 0)
        .String("Note", &TSampleInner::Note, &TSampleInner::SetNote);
    return i;
  }();
  return info;
}

class TSampleStyle : public TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color) { FColor = color; }
  int Weight() const { return FWeight; }
  void SetWeight(int weight) { FWeight = weight; }
  TSampleInner& Inner() { return FInner; }

  void Assign(const TPersistent& source) override {
    auto& s = dynamic_cast<const TSampleStyle&>(source);
    FColor = s.FColor;
    FWeight = s.FWeight;
    FInner.SetDepth(s.FInner.Depth());
    FInner.SetNote(s.FInner.Note());
  }

 private:
  TColor FColor = clBlack;
  int FWeight = 400;
  TSampleInner FInner;
};

const TClassInfo& TSampleStyle::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSampleStyle", &TPersistent::StaticClassInfo());
    TPublisher<TSampleStyle>(i)
        .Color("Color", &TSampleStyle::Color, &TSampleStyle::SetColor, clBlack)
        .Integer("Weight", &TSampleStyle::Weight, &TSampleStyle::SetWeight, 400)
        .SubObject<TSampleInner>("Inner", &TSampleStyle::Inner, nullptr);
    return i;
  }();
  return info;
}

// A control-like component: one published property of every kind, and a parent.
class TSampleWidget : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using TComponent::TComponent;

  int Count() const { return FCount; }
  void SetCount(int count) {
    Note("Count");
    FCount = count;
  }
  int Width() const { return FWidth; }
  void SetWidth(int width) {
    Note("Width");
    if (width < 0) throw EConvertError("Width must not be negative");
    FWidth = width;
  }
  int Area() const { return FWidth * 2; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) {
    Note("Visible");
    FVisible = visible;
  }
  TSampleShape Shape() const { return FShape; }
  void SetShape(TSampleShape shape) {
    Note("Shape");
    FShape = shape;
  }
  TSampleOptions Options() const { return FOptions; }
  void SetOptions(TSampleOptions options) {
    Note("Options");
    FOptions = options;
  }
  TColor Color() const { return FColor; }
  void SetColor(TColor color) {
    Note("Color");
    FColor = color;
  }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) {
    Note("Caption");
    FCaption = caption;
  }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  TStringList& Lines() { return FLines; }
  void SetLines(const TStringList& lines) {
    Note("Lines");
    FLines.Assign(lines);
  }
  const std::string& Data() const { return FData; }
  void SetData(const std::string& data) {
    Note("Data");
    FData = data;
  }
  TSampleStyle& Style() { return FStyle; }
  void SetStyle(const TSampleStyle& style) { FStyle.Assign(style); }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* parent) override {
    Note("Parent=" + (parent ? parent->Name() : std::string()));
    FParent = parent;
  }
  void Loaded() override {
    Log().push_back("Loaded " + Name());
    TComponent::Loaded();
  }

 protected:
  void Note(const std::string& what) {
    Log().push_back(Name() + "." + what + (IsLoading() ? "" : "!"));
  }

 private:
  int FCount = 0;
  int FWidth = 100;
  bool FVisible = true;
  TSampleShape FShape = tsCircle;
  TSampleOptions FOptions;
  TColor FColor = clWindow;
  std::string FCaption, FHint, FData;
  TStringList FLines;
  TSampleStyle FStyle;
  TComponent* FParent = nullptr;
};

const TClassInfo& TSampleWidget::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSampleWidget", &TComponent::StaticClassInfo());
    TPublisher<TSampleWidget>(i)
        .Integer("Count", &TSampleWidget::Count, &TSampleWidget::SetCount)
        .Integer("Width", &TSampleWidget::Width, &TSampleWidget::SetWidth, 100)
        .Integer("Area", &TSampleWidget::Area, nullptr)
        .Boolean("Visible", &TSampleWidget::Visible, &TSampleWidget::SetVisible, true)
        .Enumeration("Shape", ShapeNames(), &TSampleWidget::Shape, &TSampleWidget::SetShape,
                     tsCircle)
        .Set("Options", OptionNames(), &TSampleWidget::Options, &TSampleWidget::SetOptions, 0)
        .Color("Color", &TSampleWidget::Color, &TSampleWidget::SetColor, clWindow)
        .String("Caption", &TSampleWidget::Caption, &TSampleWidget::SetCaption)
        .String("Hint", &TSampleWidget::Hint, &TSampleWidget::SetHint)
        .NotStored()
        .Strings<TStringList>("Lines", &TSampleWidget::Lines, &TSampleWidget::SetLines)
        .Binary("Data", &TSampleWidget::Data, &TSampleWidget::SetData)
        .SubObject<TSampleStyle>("Style", &TSampleWidget::Style, &TSampleWidget::SetStyle);
    return i;
  }();
  return info;
}

// Holds the widgets whose parent it is, as a container control does.
class TSamplePanel : public TSampleWidget {
  HOST_PUBLISHED_CLASS
 public:
  using TSampleWidget::TSampleWidget;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override {
    for (TComponent* c : root->ComponentList())
      if (c->GetParentComponent() == this) proc(c);
  }
};

const TClassInfo& TSamplePanel::StaticClassInfo() {
  static TClassInfo info("TSamplePanel", &TSampleWidget::StaticClassInfo());
  return info;
}

// A non-visual component: written in its owner's block, never nested in a widget.
class TSampleTimer : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using TComponent::TComponent;
  int Interval() const { return FInterval; }
  void SetInterval(int interval) { FInterval = interval; }
  void Loaded() override {
    Log().push_back("Loaded " + Name());
    TComponent::Loaded();
  }

 private:
  int FInterval = 1000;
};

const TClassInfo& TSampleTimer::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSampleTimer", &TComponent::StaticClassInfo());
    TPublisher<TSampleTimer>(i).Integer("Interval", &TSampleTimer::Interval,
                                        &TSampleTimer::SetInterval, 1000);
    return i;
  }();
  return info;
}

// A form: its class name is whatever its form file says.
class TSampleForm : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  TSampleForm() : TComponent(nullptr) {}
  std::string ClassName() const override { return FClassName; }
  bool AcceptClassName(const std::string& className) override {
    FClassName = className;
    return true;
  }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) {
    Log().push_back("Form.Caption" + std::string(IsLoading() ? "" : "!"));
    FCaption = caption;
  }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override {
    for (TComponent* c : ComponentList())
      if (!c->HasParent() || c->GetParentComponent() == this) proc(c);
  }
  void Loaded() override {
    Log().push_back("Loaded " + Name());
    TComponent::Loaded();
  }

 private:
  std::string FClassName = "TSampleForm";
  std::string FCaption;
};

const TClassInfo& TSampleForm::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TSampleForm", &TComponent::StaticClassInfo());
    TPublisher<TSampleForm>(i).String("Caption", &TSampleForm::Caption, &TSampleForm::SetCaption);
    return i;
  }();
  return info;
}

template <class T>
T* Make(TComponent& owner, const std::string& name, TComponent* parent = nullptr) {
  auto* c = new T(&owner);
  c->SetName(name);
  if (parent) c->SetParentComponent(parent);
  return c;
}

TSampleWidget& Widget(TComponent& form, const std::string& name) {
  auto* w = dynamic_cast<TSampleWidget*>(form.FindComponent(name));
  if (!w) throw EComponentError("no widget " + name);
  return *w;
}

void ExpectSameWidget(TSampleWidget& a, TSampleWidget& b) {
  SCOPED_TRACE(a.Name());
  EXPECT_EQ(a.Name(), b.Name());
  EXPECT_EQ(a.ClassName(), b.ClassName());
  EXPECT_EQ(a.Tag(), b.Tag());
  EXPECT_EQ(a.Count(), b.Count());
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Visible(), b.Visible());
  EXPECT_EQ(a.Shape(), b.Shape());
  EXPECT_EQ(a.Options().Mask(), b.Options().Mask());
  EXPECT_EQ(a.Color(), b.Color());
  EXPECT_EQ(a.Caption(), b.Caption());
  EXPECT_EQ(a.Lines().Items(), b.Lines().Items());
  EXPECT_EQ(a.Data(), b.Data());
  EXPECT_EQ(a.Style().Color(), b.Style().Color());
  EXPECT_EQ(a.Style().Weight(), b.Style().Weight());
  EXPECT_EQ(a.Style().Inner().Depth(), b.Style().Inner().Depth());
  EXPECT_EQ(a.Style().Inner().Note(), b.Style().Inner().Note());
  ASSERT_EQ(a.GetParentComponent() != nullptr, b.GetParentComponent() != nullptr);
  if (a.GetParentComponent()) {
    EXPECT_EQ(a.GetParentComponent()->Name(), b.GetParentComponent()->Name());
  }
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class FormFileTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterCoreClasses();
    TClassRegistry::Register(TSampleWidget::StaticClassInfo(),
                             [](TComponent* owner) { return new TSampleWidget(owner); });
    TClassRegistry::Register(TSamplePanel::StaticClassInfo(),
                             [](TComponent* owner) { return new TSamplePanel(owner); });
    TClassRegistry::Register(TSampleTimer::StaticClassInfo(),
                             [](TComponent* owner) { return new TSampleTimer(owner); });
  }
  void SetUp() override { Log().clear(); }
};

TEST_F(FormFileTest, WritesNestedObjectsWithNonDefaultPropertiesInPublishedOrder) {
  TSampleForm form;
  form.AcceptClassName("TForm1");
  form.SetName("Form1");
  form.SetCaption("Intro");
  auto* panel = Make<TSamplePanel>(form, "Panel1", &form);
  panel->SetCount(3);
  panel->SetVisible(false);
  panel->SetShape(tsSquare);
  panel->SetOptions({soBold, soTall});
  panel->SetColor(clRed);
  panel->Style().SetWeight(700);
  panel->Style().Inner().SetDepth(2);
  panel->SetHint("not stored");
  auto* timer = Make<TSampleTimer>(form, "Timer1");
  timer->SetTag(5);
  auto* button = Make<TSampleWidget>(form, "Button1", panel);
  button->SetCount(-7);
  button->SetWidth(100);
  button->SetCaption("It's");
  button->SetLines(TStringList{"a", ""});
  button->SetData(std::string("\x01\xAB", 2));
  Make<TSampleWidget>(form, "", &form);

  EXPECT_EQ(WriteComponentText(form),
            "object Form1: TForm1\n"
            "  Caption = 'Intro'\n"
            "  object Panel1: TSamplePanel\n"
            "    Count = 3\n"
            "    Visible = False\n"
            "    Shape = tsSquare\n"
            "    Options = [soBold, soTall]\n"
            "    Color = clRed\n"
            "    Style.Weight = 700\n"
            "    Style.Inner.Depth = 2\n"
            "    object Button1: TSampleWidget\n"
            "      Count = -7\n"
            "      Caption = 'It''s'\n"
            "      Lines.Strings = (\n"
            "        'a'\n"
            "        '')\n"
            "      Data = {\n"
            "        01AB}\n"
            "    end\n"
            "  end\n"
            "  object Timer1: TSampleTimer\n"
            "    Tag = 5\n"
            "  end\n"
            "  object TSampleWidget\n"
            "    Count = 0\n"
            "  end\n"
            "end\n");
}

TEST_F(FormFileTest, WritesStringsWithCodesAndLongValuesInPieces) {
  TSampleForm form;
  form.SetName("Form1");
  auto* w = Make<TSampleWidget>(form, "W", &form);
  w->SetCaption("a\r\nb\tc'\x7f");
  w->SetLines(TStringList{std::string(70, 'x')});
  std::string data;
  for (int i = 0; i < 40; ++i) data += static_cast<char>(i * 7);
  w->SetData(data);

  std::string text = WriteComponentText(form);
  EXPECT_NE(text.find("    Caption = 'a'#13#10'b'#9'c'''#127\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    Lines.Strings = (\n"
                      "      '" +
                      std::string(64, 'x') +
                      "' +\n"
                      "        'xxxxxx')\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    Data = {\n"
                      "      00070E151C232A31383F464D545B626970777E858C939AA1A8AFB6BDC4CBD2D9\n"
                      "      E0E7EEF5FC030A11}\n"),
            std::string::npos)
      << text;
}

TEST_F(FormFileTest, RoundTripKeepsEveryValue) {
  std::string utf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x99\x82";
  std::string accents;  // two-byte characters straddle every piece boundary
  for (int i = 0; i < 300; ++i) accents += "\xC3\xA9";
  std::string binary;
  for (int i = 0; i < 257; ++i) binary += static_cast<char>(i & 0xFF);

  TSampleForm form;
  form.AcceptClassName("TForm7");
  form.SetName("Form7");
  form.SetCaption("x" + accents);
  auto* outer = Make<TSamplePanel>(form, "Outer", &form);
  outer->SetCaption(std::string(1500, 'q') + "'");
  outer->SetOptions({soBold, soWide, soTall, soDeep});
  outer->SetColor(0x00123456);
  outer->SetCount(INT_MIN);
  auto* inner = Make<TSamplePanel>(form, "Inner", outer);
  inner->SetOptions({});
  inner->SetColor(clBtnFace);
  inner->SetCount(INT_MAX);
  inner->SetShape(tsTriangle);
  inner->Style().SetColor(SystemColor(99));
  inner->Style().Inner().SetNote(utf8);
  auto* leaf = Make<TSampleWidget>(form, "Leaf", inner);
  leaf->SetCaption("'quoted' \"double\" #13 {braces} (parens) + plus");
  leaf->SetLines(TStringList{"", "first", "", utf8, std::string(200, 'L'), "\t", ""});
  leaf->SetData(binary);
  leaf->SetWidth(0);
  leaf->SetTag(-1);
  auto* timer = Make<TSampleTimer>(form, "Clock");
  timer->SetInterval(0);
  auto* sibling = Make<TSampleWidget>(form, "Sibling", &form);
  sibling->SetCaption(std::string(65, 'y'));

  std::string text = WriteComponentText(form);
  for (const std::string& line : Lines(text)) {
    EXPECT_TRUE(IsValidUtf8(line)) << line;
    EXPECT_LE(line.size(), 160u) << line;
  }

  TSampleForm copy;
  ReadComponentText(text, copy, "round.dfm");
  EXPECT_EQ(copy.Name(), "Form7");
  EXPECT_EQ(copy.ClassName(), "TForm7");
  EXPECT_EQ(copy.Caption(), form.Caption());
  ASSERT_EQ(copy.ComponentCount(), form.ComponentCount());
  for (const char* name : {"Outer", "Inner", "Leaf", "Sibling"})
    ExpectSameWidget(Widget(form, name), Widget(copy, name));
  auto* clock = dynamic_cast<TSampleTimer*>(copy.FindComponent("Clock"));
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->Interval(), 0);
  EXPECT_EQ(WriteComponentText(copy), text);
}

TEST_F(FormFileTest, ReadingSetsPropertiesInFileOrderAndLoadsAfterTheWholeRead) {
  TSampleForm form;
  ReadComponentText(
      "object Main: TMainForm\n"
      "  object Box: TSamplePanel\n"
      "    Caption = 'c'\n"
      "    Count = 1\n"
      "    object Button: TSampleWidget\n"
      "      Width = 5\n"
      "      Shape = tsSquare\n"
      "    end\n"
      "    Visible = False\n"
      "  end\n"
      "  Caption = 'late'\n"
      "  object Clock: TSampleTimer\n"
      "  end\n"
      "end\n",
      form, "order.dfm");

  EXPECT_EQ(Log(), (std::vector<std::string>{"Box.Parent=Main", "Box.Caption", "Box.Count",
                                             "Button.Parent=Box", "Button.Width", "Button.Shape",
                                             "Box.Visible", "Form.Caption", "Loaded Main",
                                             "Loaded Box", "Loaded Button", "Loaded Clock"}));
  EXPECT_EQ(form.ClassName(), "TMainForm");
  EXPECT_EQ(Widget(form, "Button").GetParentComponent(), form.FindComponent("Box"));
  EXPECT_EQ(Widget(form, "Box").GetParentComponent(), &form);
  EXPECT_FALSE(form.IsLoading());
  for (TComponent* c : form.ComponentList()) {
    EXPECT_FALSE(c->IsLoading()) << c->Name();
    EXPECT_EQ(c->Owner(), &form);
  }
}

TEST_F(FormFileTest, ReaderAcceptsWhatPeopleAndOtherToolsWrite) {
  TSampleForm form;
  ReadComponentText(
      "\xEF\xBB\xBF"
      "OBJECT Form1 : TForm1\r\n"
      "\tobject W: tsamplewidget\r\n"
      "    count = $7FFFFFFF\r\n"
      "    Color =\r\n"
      "      clbtnface\r\n"
      "    Style.Color = 255\r\n"
      "    Style.inner.Note = 'caf'#233' '#$1F642\r\n"
      "    Shape = TSSQUARE\r\n"
      "    Options = [ soDeep , soBold, soBold ]\r\n"
      "    Caption = 'a' + 'b'+'c'\r\n"
      "      + 'd'\r\n"
      "    Lines.Strings = ()\r\n"
      "    Data = { 0a0B\r\n"
      "      ff }\r\n"
      "  End\r\n"
      "  object TSampleTimer\r"
      "  end\r"
      "END",
      form, "loose.dfm");
  auto& w = Widget(form, "W");
  EXPECT_EQ(w.Count(), INT_MAX);
  EXPECT_EQ(w.Color(), clBtnFace);
  EXPECT_EQ(w.Style().Color(), clRed);
  EXPECT_EQ(w.Style().Inner().Note(), "caf\xC3\xA9 \xF0\x9F\x99\x82");
  EXPECT_EQ(w.Shape(), tsSquare);
  EXPECT_EQ(w.Options(), (TSampleOptions{soBold, soDeep}));
  EXPECT_EQ(w.Caption(), "abcd");
  EXPECT_EQ(w.Lines().Count(), 0);
  EXPECT_EQ(w.Data(), "\x0A\x0B\xFF");
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.Components(1)->ClassName(), "TSampleTimer");
  EXPECT_EQ(form.Components(1)->Name(), "");
}

struct TBadForm {
  const char* What;
  std::string Text;
  int Line;
  const char* Message;
};

TEST_F(FormFileTest, MalformedInputFailsNamingTheLineAndFreesWhatItCreated) {
  const std::string head = "object F: TF\n  object A: TSamplePanel\n";  // lines 1 and 2
  const std::vector<TBadForm> cases = {
      {"empty", "", 1, "empty"},
      {"no object", "\n\nthing F: TF\nend\n", 3, "'object' expected"},
      {"no name", "object : TF\nend\n", 1, "Component name expected"},
      {"unknown class", head + "    object B: TNoSuchClass\n    end\n  end\nend\n", 3,
       "Class TNoSuchClass not found"},
      {"unknown property", head + "    Count = 1\n    Size = 3\n  end\nend\n", 4,
       "Unknown property Size of A"},
      {"unknown sub-property", head + "    Style.Inner.Width = 3\n  end\nend\n", 3,
       "Unknown property Style.Inner.Width"},
      {"dotted through a value", head + "    Count.Value = 3\n  end\nend\n", 3,
       "Unknown property Count.Value"},
      {"strings of a non-list", head + "    Caption.Strings = (\n 'a')\n  end\nend\n", 3,
       "Unknown property Caption.Strings"},
      {"list without Strings", head + "    Lines = (\n 'a')\n  end\nend\n", 3, "string list"},
      {"object as value", head + "    Style = 3\n  end\nend\n", 3, "is an object"},
      {"read-only", head + "    Area = 3\n  end\nend\n", 3, "read-only"},
      {"string for integer", head + "    Count = 'ten'\n  end\nend\n", 3, "integer expected"},
      {"integer for string", head + "    Caption = 12\n  end\nend\n", 3, "string expected"},
      {"integer too big", head + "    Count = 2147483648\n  end\nend\n", 3, "out of range"},
      {"bad number", head + "    Count = 12abc\n  end\nend\n", 3, "Invalid number"},
      {"float", head + "    Count = 1.5\n  end\nend\n", 3, "Invalid number"},
      {"bad boolean", head + "    Visible = Yes\n  end\nend\n", 3, "False or True"},
      {"bad enumeration", head + "\n    Shape = tsHexagon\n  end\nend\n", 4,
       "tsHexagon is not one of its values"},
      {"bad colour", head + "    Color = clPlaid\n  end\nend\n", 3, "colour"},
      {"bad set member", head + "    Options = [soBold,\n soNope]\n  end\nend\n", 4,
       "soNope is not one of its values"},
      {"set not closed", head + "    Options = [soBold\n  end\nend\n", 4, "',' or ']'"},
      {"set at end of file", head + "    Options = [soBold,", 3, "not closed"},
      {"unterminated string", head + "    Caption = 'abc\n  end\nend\n", 3, "Unterminated string"},
      {"dangling plus", head + "    Caption = 'abc' +\n  end\nend\n", 4, "string expected after"},
      {"bad character code", head + "    Caption = 'a'#\n  end\nend\n", 3,
       "Invalid character code"},
      {"list not closed", head + "    Lines.Strings = (\n      'a'\n  end\nend\n", 5,
       "string or ')' expected"},
      {"list at end of file", head + "    Lines.Strings = (\n      'a'\n", 3, "not closed"},
      {"binary not closed", head + "    Data = {\n      00FF\n", 3, "not closed with '}'"},
      {"binary bad digit", head + "    Data = {\n      00FG}\n  end\nend\n", 4,
       "Invalid character in binary data"},
      {"binary odd", head + "    Data = {\n      00F\n      }\n  end\nend\n", 3, "odd number"},
      {"missing end", head + "    object B: TSampleWidget\n      Count = 1\n  end\nend\n", 1,
       "object F is not closed"},
      {"missing inner end", head + "    object B: TSampleWidget\n", 3, "object B is not closed"},
      {"trailing garbage", head + "  end\nend\n\nextra\n", 6, "Text after the end"},
      {"second root", head + "  end\nend\nobject G: TF\nend\n", 5, "Text after the end"},
      {"duplicate name", head + "  end\n  object a: TSampleTimer\n  end\nend\n", 4,
       "already exists"},
      {"setter throws", head + "    Width = -5\n  end\nend\n", 3, "Width must not be negative"},
      {"invalid character", head + "    Count = @\n  end\nend\n", 3, "Invalid character '@'"},
      {"missing equals", head + "    Count 3\n  end\nend\n", 3, "'=' expected"},
      {"value where a name belongs", head + "    'text'\n  end\nend\n", 3,
       "Property name expected"},
      // Files of another kind are named for what they are.
      {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1,
       "This is a PNG picture, but a form file"},
      {"UTF-16 with its mark", std::string("\xFF\xFEo\0b\0j\0", 8), 1,
       "This is UTF-16 text, but a form file (text beginning with 'object') was expected: save "
       "it as UTF-8"},
      {"UTF-16 without a mark", std::string("o\0b\0j\0e\0c\0t\0 \0F\0", 16), 1, "UTF-16 text"},
      {"binary form file", std::string("TPF0\x03TF1\x01F\0\0", 12), 1,
       "a form file in the binary format, but a form file (text beginning with 'object') was "
       "expected: save it as text"},
      {"binary bytes", head + std::string("    Count = 1\0\1\n  end\nend\n", 23), 1,
       "This is a binary file"},
      // Digit pairs split by blanks and line breaks of every kind still pair up, and the lines
      // inside binary data and after quoted runs are counted.
      {"after binary data", head + "    Data = {0\r\n      1 A\rB\n      }\n    Count = @\n", 7,
       "Invalid character '@'"},
      {"after strings", head + "    Caption = 'it''s' + ''\r\n      + #65'b'\r\n    Count = @\n", 5,
       "Invalid character '@'"},
  };
  for (const TBadForm& c : cases) {
    SCOPED_TRACE(c.What);
    TSampleForm form;
    Make<TSampleTimer>(form, "Existing");
    Log().clear();
    try {
      ReadComponentText(c.Text, form, "bad.dfm");
      ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
      EXPECT_EQ(e.FileName(), "bad.dfm");
      EXPECT_EQ(e.Line(), c.Line) << e.Message();
      EXPECT_NE(e.Message().find(c.Message), std::string::npos) << e.Message();
      EXPECT_EQ(e.Message().rfind("bad.dfm(" + std::to_string(c.Line) + "): ", 0), 0u)
          << e.Message();
    }
    ASSERT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0)->Name(), "Existing");
    EXPECT_FALSE(form.IsLoading());
    for (const std::string& entry : Log())
      EXPECT_TRUE(entry == "Loaded F" || entry.find("Loaded") == std::string::npos) << entry;
  }
}

TEST_F(FormFileTest, RootClassNameMustBeAcceptedByTheRoot) {
  TSampleTimer timer(nullptr);
  ReadComponentText("object Clock: tsampletimer\n  Interval = 5\nend\n", timer, "t.dfm");
  EXPECT_EQ(timer.Name(), "Clock");
  EXPECT_EQ(timer.Interval(), 5);

  TSampleTimer other(nullptr);
  try {
    ReadComponentText("object Clock: TSampleWidget\nend\n", other, "t.dfm");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), 1);
    EXPECT_NE(e.Message().find("TSampleWidget"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(other.Name(), "");
}

TEST_F(FormFileTest, NestingIsLimitedInBothDirections) {
  auto nested = [](int levels) {
    std::string text = "object F: TF\n";
    for (int i = 0; i < levels; ++i) text += "object P" + std::to_string(i) + ": TSamplePanel\n";
    for (int i = 0; i <= levels; ++i) text += "end\n";
    return text;
  };

  TSampleForm deep;
  ReadComponentText(nested(MaxFormNesting), deep, "deep.dfm");
  EXPECT_EQ(deep.ComponentCount(), MaxFormNesting);
  std::string written = WriteComponentText(deep);
  TSampleForm again;
  ReadComponentText(written, again, "again.dfm");
  EXPECT_EQ(WriteComponentText(again), written);

  TSampleForm tooDeep;
  try {
    ReadComponentText(nested(MaxFormNesting * 50), tooDeep, "deep.dfm");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), MaxFormNesting + 2);
  }
  EXPECT_EQ(tooDeep.ComponentCount(), 0);

  TComponent* parent = &deep;
  for (TComponent* c : deep.ComponentList())
    if (c->GetParentComponent() == parent) parent = c;
  Make<TSamplePanel>(deep, "OneTooMany", parent);
  EXPECT_THROW(WriteComponentText(deep), EComponentError);
}

TEST_F(FormFileTest, WriterRefusesValuesTheReaderCouldNotTakeBack) {
  TSampleForm form;
  auto* w = Make<TSampleWidget>(form, "W", &form);
  w->SetShape(static_cast<TSampleShape>(7));
  EXPECT_THROW(WriteComponentText(form), EConvertError);
  w->SetShape(tsCircle);
  w->SetOptions(TSampleOptions::FromMask(1u << 5));
  EXPECT_THROW(WriteComponentText(form), EConvertError);
}

TEST_F(FormFileTest, FilesAreWrittenWholeAndReadWithTheirNameInErrors) {
  testing_support::TempDir dir;
  TSampleForm form;
  ReadComponentFile(std::string(MEBROX_TEST_DATA) + "/forms/Sample.dfm", form);
  EXPECT_EQ(form.ClassName(), "TSampleForm1");
  EXPECT_EQ(form.Caption(), "Sample \xE2\x80\x94 it's here");
  auto& label = Widget(form, "Label1");
  EXPECT_EQ(label.Lines().Items(), (std::vector<std::string>{"One", "", "Three"}));
  EXPECT_EQ(label.GetParentComponent(), form.FindComponent("Panel1"));
  EXPECT_EQ(label.Style().Inner().Depth(), 4);

  std::string path = dir.File("Unit1.dfm");
  WriteComponentFile(path, form);
  EXPECT_EQ(testing_support::ReadFile(path), WriteComponentText(form));

  testing_support::WriteFile(path, "object F: TF\n  Caption = 1\nend\n");
  TSampleForm bad;
  try {
    ReadComponentFile(path, bad);
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.FileName(), path);
    EXPECT_EQ(e.Line(), 2);
  }
  EXPECT_THROW(ReadComponentFile(dir.File("missing.dfm"), bad), EInOutError);
}

}  // namespace
