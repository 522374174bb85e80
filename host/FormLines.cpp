#include "host/FormLines.h"

#include <vector>

#include "host/FormLexer.h"
#include "host/SysUtils.h"

namespace host {

TFormLines TFormLines::Scan(std::string_view text) {
  TFormLines lines;
  const std::string name = "form";
  formlex::TFormLexer s(text, name);
  auto isChar = [](const formlex::TToken& t, char c) { return t.Is(c); };
  // A string value: strings joined with "+".
  auto skipJoinedString = [&] {
    s.Next();
    while (isChar(s.Peek(), '+')) {
      s.Next();
      if (s.Peek().Kind == formlex::TTokenKind::String) s.Next();
    }
  };
  std::vector<std::string> open;  // lower-case names of the objects we are inside
  bool first = true;
  try {
    for (;;) {
      formlex::TToken t = s.Next();
      if (t.Kind == formlex::TTokenKind::End) break;
      if (t.Kind != formlex::TTokenKind::Symbol) continue;
      if (t.IsSymbol("object") || t.IsSymbol("inherited") || t.IsSymbol("inline")) {
        formlex::TToken objectName = s.Next();
        if (isChar(s.Peek(), ':')) {
          s.Next();
          s.Next();
        }
        std::string key = LowerCase(objectName.Text);
        open.push_back(key);
        if (first) lines.FHeader = t.Line;
        first = false;
        if (!lines.FComponents.count(key)) lines.FComponents[key].Line = t.Line;
        continue;
      }
      if (t.IsSymbol("end")) {
        if (!open.empty()) open.pop_back();
        continue;
      }
      std::string path = t.Text;
      while (isChar(s.Peek(), '.')) {
        s.Next();
        if (s.Peek().Kind != formlex::TTokenKind::Symbol) break;
        path += "." + s.Next().Text;
      }
      if (!isChar(s.Peek(), '=')) continue;
      s.Next();
      std::string key = LowerCase(path);
      if (key.size() > 8 && key.ends_with(".strings")) key.resize(key.size() - 8);
      TProperty* property = nullptr;
      if (!open.empty()) {
        property = &lines.FComponents[open.back()].Properties[key];
        property->Line = t.Line;
      }
      const formlex::TToken& v = s.Peek();
      if (isChar(v, '(')) {
        s.Next();
        for (;;) {
          const formlex::TToken& item = s.Peek();
          if (item.Kind == formlex::TTokenKind::End || isChar(item, ')')) break;
          if (item.Kind == formlex::TTokenKind::String) {
            if (property) property->Items.push_back(item.Line);
            skipJoinedString();
          } else {
            s.Next();
          }
        }
        if (isChar(s.Peek(), ')')) s.Next();
      } else if (isChar(v, '[')) {
        while (s.Peek().Kind != formlex::TTokenKind::End && !isChar(s.Peek(), ']')) s.Next();
        if (isChar(s.Peek(), ']')) s.Next();
      } else if (v.Kind == formlex::TTokenKind::String) {
        skipJoinedString();
      } else if (v.Kind == formlex::TTokenKind::Symbol || v.Kind == formlex::TTokenKind::Number) {
        if (property) property->Value = v.Text;
        s.Next();
      } else if (v.Kind != formlex::TTokenKind::End) {
        s.Next();
      }
    }
  } catch (const EParserError&) {
    // A text the reader would refuse still gives the places seen before the fault.
  }
  return lines;
}

int TFormLines::Component(const std::string& name) const {
  auto it = FComponents.find(LowerCase(name));
  return it == FComponents.end() ? FHeader : it->second.Line;
}

const TFormLines::TProperty* TFormLines::FindProperty(const std::string& component,
                                                      const std::string& property) const {
  auto c = FComponents.find(LowerCase(component));
  if (c == FComponents.end()) return nullptr;
  auto p = c->second.Properties.find(LowerCase(property));
  return p == c->second.Properties.end() ? nullptr : &p->second;
}

int TFormLines::Property(const std::string& component, const std::string& property) const {
  const TProperty* p = FindProperty(component, property);
  return p ? p->Line : Component(component);
}

bool TFormLines::Has(const std::string& component, const std::string& property) const {
  return FindProperty(component, property) != nullptr;
}

std::string TFormLines::Value(const std::string& component, const std::string& property) const {
  const TProperty* p = FindProperty(component, property);
  return p ? p->Value : std::string();
}

int TFormLines::Item(const std::string& component, const std::string& property, int index) const {
  const TProperty* p = FindProperty(component, property);
  if (!p) return Component(component);
  if (index < 0 || index >= static_cast<int>(p->Items.size())) return p->Line;
  return p->Items[static_cast<size_t>(index)];
}

}  // namespace host
