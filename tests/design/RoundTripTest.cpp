// Everything a designer can set on a component of the palette comes back from its form file
// as set, and undo and redo go back and forth between exact states.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/FormFile.h"
#include "host/Graphics.h"
#include "host/Strings.h"
#include "host/SysUtils.h"
#include "ide/Registry.h"
#include "tests/design/StudioFixture.h"

namespace {

using host::TPersistent;
using host::TPropInfo;
using host::TPropKind;
using testing_support::TStudioFixture;

// A small real picture, so that picture properties take it as an image.
std::string SmallPng() {
  host::TRawImage image;
  image.Width = 3;
  image.Height = 2;
  image.Pixels.assign(6, 0xFF3366CCu);
  return host::ImageCodec()->EncodePng(image);
}

std::string ValueText(TPersistent& obj, const TPropInfo& p) {
  switch (p.Kind) {
    case TPropKind::String:
    case TPropKind::Binary:
      return p.GetStr(obj);
    case TPropKind::Strings:
      return dynamic_cast<host::TStrings&>(*p.GetObject(obj)).Text();
    default:
      return std::to_string(p.GetOrd(obj));
  }
}

// Candidates for a value other than the one the object holds, most ordinary first.
std::vector<std::function<void()>> OtherValues(TPersistent& obj, const TPropInfo& p) {
  std::vector<std::function<void()>> tries;
  auto ord = [&](int64_t v) { tries.push_back([&obj, &p, v] { p.SetOrd(obj, v); }); };
  auto str = [&](std::string v) { tries.push_back([&obj, &p, v] { p.SetStr(obj, v); }); };
  auto lines = [&](std::vector<std::string> v) {
    tries.push_back([&obj, &p, v] {
      host::TStringList list;
      for (const std::string& line : v) list.Add(line);
      p.SetObject(obj, list);
    });
  };
  // The default the declaration gives, where the constructor chose another: a value a writer
  // going by declared defaults alone would leave out.
  if (p.IsOrdinal() && p.Default && *p.Default != p.GetOrd(obj)) ord(*p.Default);
  switch (p.Kind) {
    case TPropKind::Integer: {
      int64_t now = p.GetOrd(obj);
      for (int64_t v : {now + 13, now - 13, int64_t{1}, int64_t{5}, int64_t{0}}) ord(v);
      break;
    }
    case TPropKind::Boolean:
      ord(p.GetOrd(obj) ? 0 : 1);
      break;
    case TPropKind::Enumeration: {
      auto count = static_cast<int64_t>(p.Names->size());
      for (int64_t step = 1; step < count; ++step) ord((p.GetOrd(obj) + step) % count);
      break;
    }
    case TPropKind::Set:
      ord(p.GetOrd(obj) ^ 1);
      ord(p.GetOrd(obj) ^ 2);
      break;
    case TPropKind::Color:
      ord(p.GetOrd(obj) == host::clRed ? host::clNavy : host::clRed);
      break;
    case TPropKind::String:
      str(p.GetStr(obj) + "Wörd");
      str("");
      str("Form2");
      break;
    case TPropKind::Binary:
      str(SmallPng());
      break;
    case TPropKind::Strings: {
      auto& list = dynamic_cast<host::TStrings&>(*p.GetObject(obj));
      // A word entry in its columns suits a word list; other lists take any line.
      lines({"cat" + std::string(125, ' ') + "1 " + "Form2" + std::string(85, ' ')});
      lines({"A first line", "a second, ünïcode"});
      if (list.Count() > 0) lines({});
      break;
    }
    default:
      break;
  }
  return tries;
}

// Sets the object's property to the candidate value of that index; false when there is no
// such candidate or the property keeps its value (it refuses this one, or follows another).
bool Change(TPersistent& obj, const TPropInfo& p, size_t candidate) {
  std::string before = ValueText(obj, p);
  std::vector<std::function<void()>> values = OtherValues(obj, p);
  if (candidate >= values.size()) return false;
  try {
    values[candidate]();
  } catch (const host::Exception&) {
    return false;
  }
  return ValueText(obj, p) != before;
}

// Every stored, settable property path of a class: "Width", "Font.Style", "Action.Frame".
void PropertyPaths(TPersistent& obj, const std::string& prefix, std::vector<std::string>& paths) {
  for (const TPropInfo* p : obj.ClassInfo().Properties()) {
    if (!p->Stored || p->Kind == TPropKind::Component || host::SameText(p->Name, "Name")) continue;
    if (p->Kind == TPropKind::Class) {
      if (TPersistent* sub = p->GetObject ? p->GetObject(obj) : nullptr)
        PropertyPaths(*sub, prefix + p->Name + ".", paths);
      continue;
    }
    if (!p->IsReadOnly()) paths.push_back(prefix + p->Name);
  }
}

// The object and declaration a path ends at.
std::pair<TPersistent*, const TPropInfo*> Resolve(TPersistent& root, const std::string& path) {
  TPersistent* obj = &root;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    const TPropInfo* p = obj->ClassInfo().FindProperty(path.substr(start, dot - start));
    if (!p || dot == std::string::npos) return {obj, p};
    obj = p->GetObject(*obj);
    start = dot + 1;
  }
}

// Where two form texts part: empty when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  };
  std::vector<std::string> la = lines(a), lb = lines(b);
  for (size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
    std::string x = i < la.size() ? la[i] : "(end)", y = i < lb.size() ? lb[i] : "(end)";
    if (x != y) return "line " + std::to_string(i + 1) + ": " + x + " | " + y;
  }
  return {};
}

struct TChanged {
  std::string Component, Path, Value;
};

TEST(RoundTripTest, EveryPropertyOfEveryPaletteClassComesBackAsSet) {
  std::vector<const host::TClassInfo*> classes;
  {
    TStudioFixture palette({"object Form1: TForm1\nend\n"});
    const ide::TDesignRegistry& registry = palette.Core().Registry();
    for (const std::string& page : registry.PalettePages())
      for (const host::TClassInfo* cls : registry.PaletteClasses(page)) classes.push_back(cls);
  }
  ASSERT_GE(classes.size(), 14u);

  size_t checked = 0;
  for (const host::TClassInfo* cls : classes) {
    SCOPED_TRACE(cls->Name());
    TStudioFixture studio({"object Form1: TForm1\n  Width = 900\n  Height = 700\nend\n"});
    host::TForm& form = studio.Form("Form1");
    ide::TFormDesigner& designer = studio.Session().FormDesignerOf(form);
    std::string original = host::WriteComponentText(form);

    std::vector<std::string> paths;
    host::TComponent* sample = designer.Drop(*cls, {10, 10});
    PropertyPaths(*sample, "", paths);
    std::vector<TChanged> changed;
    int x = 10;
    // Each candidate value on a component of its own.
    for (const std::string& path : paths)
      for (size_t candidate = 0;; ++candidate) {
        auto [sampleObj, sampleProp] = Resolve(*sample, path);
        ASSERT_TRUE(sampleProp) << path;
        if (candidate >= OtherValues(*sampleObj, *sampleProp).size()) break;
        x = (x + 37) % 800;
        host::TComponent* c = designer.Drop(*cls, {x, 100 + x / 2});
        auto [obj, prop] = Resolve(*c, path);
        if (!Change(*obj, *prop, candidate)) continue;
        designer.Modified();
        changed.push_back({c->Name(), path, ValueText(*obj, *prop)});
      }
    ASSERT_FALSE(changed.empty());
    std::string edited = host::WriteComponentText(form);

    studio.Session().Save();
    std::string saved = testing_support::ReadFile(studio.File("Unit1.dfm"));
    EXPECT_EQ(FirstDifference(saved, edited), "");
    ide::TDesignSession reopened(studio.Core(), studio.File("Test.dpr"));
    host::TForm& again = *reopened.FindForm("Form1");
    for (const TChanged& change : changed) {
      host::TComponent* c = again.FindComponent(change.Component);
      ASSERT_TRUE(c) << change.Component;
      auto [obj, prop] = Resolve(*c, change.Path);
      EXPECT_EQ(ValueText(*obj, *prop), change.Value) << change.Component << "." << change.Path;
      ++checked;
    }
    // What was read writes back as it was: a second save would write nothing.
    EXPECT_EQ(FirstDifference(host::WriteComponentText(again), saved), "");

    // Every step taken back, then made again, passes through the same states.
    int steps = 0;
    while (studio.Session().Undo(form)) ++steps;
    EXPECT_EQ(FirstDifference(host::WriteComponentText(form), original), "");
    for (int i = 0; i < steps; ++i) ASSERT_TRUE(studio.Session().Redo(form));
    EXPECT_EQ(FirstDifference(host::WriteComponentText(form), edited), "");
  }
  EXPECT_GT(checked, 400u);
}

}  // namespace
