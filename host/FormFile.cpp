#include "host/FormFile.h"

#include <cctype>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "host/FileKind.h"
#include "host/FormLexer.h"
#include "host/Graphics.h"
#include "host/Strings.h"

namespace host {

using namespace formlex;

namespace {

// A file of another kind is named as such before the lexer stumbles on its first byte.
std::string_view FormText(std::string_view text, const std::string& sourceName) {
  RefuseForeignFile(text, sourceName, "a form file (text beginning with 'object')");
  return text;
}

// Source bytes per quoted piece and hex digits per line: short enough to read in an editor.
constexpr size_t StringPieceLength = 64;
constexpr size_t HexDigitsPerLine = 64;
// Sub-objects are a fixed shape of their class; anything deeper than this is a cycle.
constexpr int MaxSubObjectDepth = 32;

bool IsControlChar(unsigned char c) {
  return c < 32 || c == 127;
}

bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string Describe(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

// ---- writing

// Printable runs go in quotes, control characters become #nn codes between them. Bytes from 128
// up are written as they are, so UTF-8 text stays legible.
std::string QuotePiece(std::string_view s) {
  std::string out;
  bool quoted = false;
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    if (IsControlChar(c)) {
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      out += std::to_string(c);
      continue;
    }
    if (!quoted) out += '\'';
    quoted = true;
    if (ch == '\'') out += '\'';
    out += ch;
  }
  if (quoted) out += '\'';
  return out.empty() ? "''" : out;
}

// Long text is cut into pieces that the writer joins with "+"; a cut never splits a UTF-8
// sequence, so each line stays valid text on its own.
std::vector<std::string> QuoteString(std::string_view s) {
  std::vector<std::string> pieces;
  size_t pos = 0;
  do {
    size_t end = std::min(s.size(), pos + StringPieceLength);
    if (end < s.size()) {
      size_t cut = end;
      for (int back = 0; back < 3 && cut > pos + 1 && IsUtf8Continuation(s[cut]); ++back) --cut;
      if (!IsUtf8Continuation(s[cut])) end = cut;
    }
    pieces.push_back(QuotePiece(s.substr(pos, end - pos)));
    pos = end;
  } while (pos < s.size());
  return pieces;
}

class TFormWriter {
 public:
  explicit TFormWriter(TComponent& root) : FRoot(root) {}

  std::string Text() {
    WriteObject(FRoot, 0, 0);
    return std::move(FOut);
  }

  // Components of the root as they stand inside its file, one block after another.
  std::string Parts(const std::vector<TComponent*>& components) {
    for (TComponent* c : components) WriteObject(*c, 0, 1);
    return std::move(FOut);
  }

 private:
  void Line(int indent, std::string_view text) {
    FOut.append(static_cast<size_t>(indent), ' ');
    FOut += text;
    FOut += '\n';
  }

  void WriteObject(TComponent& c, int indent, int depth) {
    if (depth > MaxFormNesting)
      throw EComponentError("Cannot write " + Describe(c) + ": components nest deeper than " +
                            IntToStr(MaxFormNesting) + " levels");
    std::string head = "object ";
    if (!c.Name().empty()) head += c.Name() + ": ";
    Line(indent, head + c.ClassName());
    WriteProperties(c, c, Fresh(c), "", indent + 2, 0);
    c.GetChildren(
        [&](TComponent* child) {
          if (child) WriteObject(*child, indent + 2, depth + 1);
        },
        &FRoot);
    Line(indent, "end");
  }

  // A new component of c's class, as its constructor leaves it: what a reader starts from, so
  // that everything differing from it is written. Null for a class the reader cannot make.
  TPersistent* Fresh(const TComponent& c) {
    const TClassInfo* info = &c.ClassInfo();
    auto found = FFresh.find(info);
    if (found != FFresh.end()) return found->second.get();
    std::unique_ptr<TComponent> fresh;
    const TComponentFactory* factory = TClassRegistry::FindFactory(info->Name());
    if (factory && *factory) {
      fresh.reset((*factory)(nullptr));
      if (fresh && &fresh->ClassInfo() != info) fresh.reset();
    }
    return FFresh.emplace(info, std::move(fresh)).first->second.get();
  }

  // What is left out: ordinals at their declared default, empty text, lists and data, unless a
  // new component (fresh: the same object of one, or null) holds something else there, which a
  // reader would take instead.
  void WriteProperties(const TComponent& owner, TPersistent& obj, TPersistent* fresh,
                       const std::string& prefix, int indent, int depth) {
    for (const TPropInfo* p : obj.ClassInfo().Properties()) {
      if (!p->Stored) continue;
      std::string name = prefix + p->Name;
      switch (p->Kind) {
        case TPropKind::Class: {
          TPersistent* sub = p->GetObject ? p->GetObject(obj) : nullptr;
          if (!sub) break;
          if (depth >= MaxSubObjectDepth)
            throw EComponentError("Cannot write " + Describe(owner) + "." + name +
                                  ": sub-objects nest too deep");
          TPersistent* freshSub = fresh ? p->GetObject(*fresh) : nullptr;
          if (freshSub && &freshSub->ClassInfo() != &sub->ClassInfo()) freshSub = nullptr;
          WriteProperties(owner, *sub, freshSub, name + ".", indent, depth + 1);
          break;
        }
        case TPropKind::Strings: {
          if (!p->SetObject || !p->GetObject) break;
          auto* list = dynamic_cast<TStrings*>(p->GetObject(obj));
          if (!list) break;
          auto* freshList = fresh ? dynamic_cast<TStrings*>(p->GetObject(*fresh)) : nullptr;
          if (list->Count() == 0 && (!freshList || freshList->Count() == 0)) break;
          int count = list->Count();
          if (count == 0) {
            Line(indent, name + ".Strings = ()");
            break;
          }
          Line(indent, name + ".Strings = (");
          for (int i = 0; i < count; ++i)
            WriteString(indent + 2, "", list->Get(i), i + 1 == count ? ")" : "");
          break;
        }
        case TPropKind::String: {
          if (!p->SetStr || !p->GetStr) break;
          std::string value = p->GetStr(obj);
          bool stored = p->StoredIf ? p->StoredIf(obj)
                                    : !value.empty() || (fresh && value != p->GetStr(*fresh));
          if (stored) WriteString(indent, name + " = ", value, "");
          break;
        }
        case TPropKind::Binary: {
          if (!p->SetStr || !p->GetStr) break;
          std::string value = p->GetStr(obj);
          if (!value.empty() || (fresh && !p->GetStr(*fresh).empty()))
            WriteBinary(indent, name, value);
          break;
        }
        case TPropKind::Component: {
          if (!p->SetComponent || !p->GetComponent) break;
          TComponent* target = p->GetComponent(obj);
          // Only what a reader finds again: the form itself, or a named component it owns.
          if (!target || target->Name().empty()) break;
          if (target != &FRoot && target->Owner() != &FRoot) break;
          Line(indent, name + " = " + target->Name());
          break;
        }
        default: {
          if (!p->SetOrd || !p->GetOrd) break;
          int64_t value = p->GetOrd(obj);
          bool stored = p->StoredIf ? p->StoredIf(obj)
                                    : !(p->Default && *p->Default == value) ||
                                          (fresh && value != p->GetOrd(*fresh));
          if (!stored) break;
          Line(indent, name + " = " + OrdinalText(owner, *p, name, value));
          break;
        }
      }
    }
  }

  // The first piece follows the head; the others go on lines of their own, indented further.
  void WriteString(int indent, const std::string& head, const std::string& value,
                   const std::string& tail) {
    std::vector<std::string> pieces = QuoteString(value);
    for (size_t i = 0; i < pieces.size(); ++i) {
      bool last = i + 1 == pieces.size();
      std::string text = (i == 0 ? head : std::string()) + pieces[i] + (last ? tail : " +");
      Line(i == 0 ? indent : indent + 2, text);
    }
  }

  void WriteBinary(int indent, const std::string& name, const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    if (bytes.empty()) {
      Line(indent, name + " = {}");
      return;
    }
    Line(indent, name + " = {");
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char ch : bytes) {
      auto c = static_cast<unsigned char>(ch);
      hex += digits[c >> 4];
      hex += digits[c & 15];
    }
    for (size_t pos = 0; pos < hex.size(); pos += HexDigitsPerLine) {
      bool last = pos + HexDigitsPerLine >= hex.size();
      Line(indent + 2, hex.substr(pos, HexDigitsPerLine) + (last ? "}" : ""));
    }
  }

  static std::string OrdinalText(const TComponent& owner, const TPropInfo& p,
                                 const std::string& name, int64_t value) {
    auto unnamed = [&] {
      return EConvertError("Cannot write " + Describe(owner) + "." + name + ": " + IntToStr(value) +
                           " is not one of its values");
    };
    switch (p.Kind) {
      case TPropKind::Boolean:
        return value ? "True" : "False";
      case TPropKind::Color:
        return ColorToString(static_cast<TColor>(value));
      case TPropKind::Enumeration:
        if (!p.Names || value < 0 || value >= static_cast<int64_t>(p.Names->size()))
          throw unnamed();
        return (*p.Names)[static_cast<size_t>(value)];
      case TPropKind::Set: {
        auto mask = static_cast<uint64_t>(value);
        std::string text;
        size_t count = p.Names ? std::min<size_t>(p.Names->size(), 32) : 0;
        for (size_t i = 0; i < count; ++i) {
          if (!(mask & (uint64_t{1} << i))) continue;
          if (!text.empty()) text += ", ";
          text += (*p.Names)[i];
          mask &= ~(uint64_t{1} << i);
        }
        if (mask != 0) throw unnamed();
        return "[" + text + "]";
      }
      default:
        return IntToStr(value);
    }
  }

  TComponent& FRoot;
  std::string FOut;
  std::map<const TClassInfo*, std::unique_ptr<TComponent>> FFresh;
};

// ---- reading

class TFormReader {
 public:
  TFormReader(std::string_view text, TComponent& root, const std::string& sourceName,
              const TComponentReadHook* onCreated)
      : FLexer(FormText(text, sourceName), sourceName), FRoot(root), FOnCreated(onCreated) {}

  void Read() {
    try {
      if (FPartsParent)
        ReadParts();
      else
        ReadRoot();
      ResolveReferences();
    } catch (...) {
      Abandon();
      throw;
    }
    // Every component gets its Loaded() even when an earlier one fails; the first failure is
    // reported once all of them have settled.
    std::exception_ptr failure;
    for (TComponent* c : FLoaded) {
      try {
        c->Loaded();
      } catch (...) {
        if (!failure) failure = std::current_exception();
      }
    }
    if (failure) std::rethrow_exception(failure);
  }

 private:
  [[noreturn]] void Error(int line, const std::string& message) const {
    FLexer.Error(line, message);
  }

  // Runs component code (factories, setters) and turns what it throws into a parser error at the
  // line that caused it.
  void Guard(int line, const std::string& what, const std::function<void()>& action) {
    try {
      action();
    } catch (const std::exception& e) {
      Error(line, what + ": " + e.what());
    }
  }

  void Abandon() {
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) delete *it;
    FCreated.clear();
    // The root is not left loading forever; its own failure would only hide the parse error.
    if (FRootLoading) {
      try {
        FRoot.Loaded();
      } catch (...) {
      }
    }
  }

  // Reads object blocks into the root as components placed on FPartsParent; a name the root
  // has already becomes the next free one of its kind.
  void ReadParts() {
    TToken t = FLexer.Next();
    if (t.Kind == TTokenKind::End) Error(t.Line, "There is nothing to read");
    for (;;) {
      if (!t.IsSymbol("object")) Error(t.Line, "'object' expected");
      size_t first = FCreated.size();
      ReadChild(*FPartsParent, 1, t.Line);
      FParts.push_back(FCreated[first]);
      t = FLexer.Next();
      if (t.Kind == TTokenKind::End) return;
    }
  }

  // The name a read component takes: its own, or in parts mode a free one when it is taken.
  std::string FreeName(const std::string& name) {
    if (!FPartsParent || name.empty() || !FRoot.FindComponent(name)) return name;
    std::string base = name;
    while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back()))) base.pop_back();
    std::string unique;
    for (int n = 1; unique.empty() || FRoot.FindComponent(unique) || SameText(unique, FRoot.Name());
         ++n)
      unique = base + IntToStr(n);
    FRenamed.emplace_back(name, unique);
    return unique;
  }

  void ReadRoot() {
    TToken t = FLexer.Next();
    if (t.Kind == TTokenKind::End) Error(t.Line, "The form file is empty");
    if (!t.IsSymbol("object")) Error(t.Line, "'object' expected");
    int line = t.Line;
    THeader header = ReadObjectHeader();
    const std::string& name = header.Name;
    const std::string& className = header.ClassName;
    FRoot.BeginLoading();
    FRootLoading = true;
    FLoaded.push_back(&FRoot);
    bool accepted = false;
    Guard(line, "Cannot read " + className, [&] { accepted = FRoot.AcceptClassName(className); });
    if (!accepted)
      Error(line, "The form file holds a " + className + ", not a " + FRoot.ClassName());
    Guard(line, "Cannot name " + className, [&] { FRoot.SetName(name); });
    ReadBody(FRoot, 0, line);
    t = FLexer.Next();
    if (t.Kind != TTokenKind::End) Error(t.Line, "Text after the end of the form");
  }

  struct THeader {
    std::string Name;
    std::string ClassName;
  };

  // "Name: Class", or the class alone for a component without a name.
  THeader ReadObjectHeader() {
    TToken first = FLexer.Next();
    if (first.Kind != TTokenKind::Symbol) Error(first.Line, "Component name expected");
    if (!FLexer.Peek().Is(':')) return {std::string(), first.Text};
    FLexer.Next();
    TToken cls = FLexer.Next();
    if (cls.Kind != TTokenKind::Symbol) Error(cls.Line, "Class name expected");
    return {first.Text, cls.Text};
  }

  void ReadBody(TComponent& c, int depth, int headerLine) {
    for (;;) {
      const TToken& t = FLexer.Peek();
      if (t.Kind == TTokenKind::End)
        Error(headerLine, "'end' expected: object " + Describe(c) + " is not closed");
      if (t.Kind != TTokenKind::Symbol) Error(t.Line, "Property name expected");
      int line = t.Line;
      if (t.IsSymbol("end")) {
        FLexer.Next();
        return;
      }
      if (t.IsSymbol("object")) {
        FLexer.Next();
        ReadChild(c, depth + 1, line);
      } else {
        ReadProperty(c);
      }
    }
  }

  void ReadChild(TComponent& parent, int depth, int line) {
    if (depth > MaxFormNesting)
      Error(line, "Objects nest deeper than " + IntToStr(MaxFormNesting) + " levels");
    THeader header = ReadObjectHeader();
    const std::string& name = header.Name;
    const std::string& className = header.ClassName;
    const TComponentFactory* factory = TClassRegistry::FindFactory(className);
    if (!factory || !*factory) Error(line, "Class " + className + " not found");
    TComponent* c = nullptr;
    Guard(line, "Cannot create " + className, [&] { c = (*factory)(&FRoot); });
    if (!c) Error(line, "Cannot create " + className);
    FCreated.push_back(c);
    c->BeginLoading();
    FLoaded.push_back(c);
    Guard(line, "Cannot read " + (name.empty() ? className : name), [&] {
      c->SetName(FreeName(name));
      c->SetParentComponent(&parent);
      if (FOnCreated && *FOnCreated) (*FOnCreated)(*c);
    });
    ReadBody(*c, depth, line);
  }

  void ReadProperty(TComponent& c) {
    TToken first = FLexer.Next();
    int line = first.Line;
    std::vector<std::string> path{first.Text};
    std::string fullName = first.Text;
    while (FLexer.Peek().Is('.')) {
      FLexer.Next();
      TToken part = FLexer.Next();
      if (part.Kind != TTokenKind::Symbol) Error(part.Line, "Property name expected after '.'");
      path.push_back(part.Text);
      fullName += "." + part.Text;
    }
    TToken eq = FLexer.Next();
    if (!eq.Is('=')) Error(eq.Line, "'=' expected after " + fullName);

    TPersistent* target = &c;
    for (size_t i = 0; i < path.size(); ++i) {
      const TPropInfo* p = target->ClassInfo().FindProperty(path[i]);
      if (p && p->Kind == TPropKind::Strings && i + 2 == path.size() &&
          SameText(path[i + 1], "Strings")) {
        ReadStringList(c, *target, *p, fullName, line);
        return;
      }
      if (!p || (i + 1 < path.size() && p->Kind != TPropKind::Class))
        Error(line, "Unknown property " + fullName + " of " + Describe(c));
      if (i + 1 == path.size()) {
        ReadValue(c, *target, *p, fullName, line);
        return;
      }
      TPersistent* sub = nullptr;
      if (p->GetObject)
        Guard(line, "Cannot read " + fullName, [&] { sub = p->GetObject(*target); });
      if (!sub) Error(line, "Property " + fullName + " of " + Describe(c) + " has no object");
      target = sub;
    }
  }

  // References name components that may come later in the file: they are set once all are read.
  struct TReference {
    TComponent* Owner;
    TPersistent* Target;
    const TPropInfo* Prop;
    std::string Name;   // the property's
    std::string Value;  // the referenced component's
    int Line;
  };

  void ResolveReferences() {
    for (const TReference& r : FReferences) {
      std::string value = r.Value;
      // A pasted component that refers to another pasted one finds it under its new name.
      for (const auto& [from, to] : FRenamed)
        if (SameText(from, value)) value = to;
      TComponent& root = FReferenceRoot ? *FReferenceRoot : FRoot;
      TComponent* found = SameText(value, root.Name()) ? &root : root.FindComponent(value);
      if (!found) Error(r.Line, r.Name + ": there is no component named " + r.Value);
      Guard(r.Line, "Cannot set " + Describe(*r.Owner) + "." + r.Name,
            [&] { r.Prop->SetComponent(*r.Target, found); });
    }
  }

  void ReadValue(TComponent& c, TPersistent& target, const TPropInfo& p, const std::string& name,
                 int line) {
    std::string what = "Cannot set " + Describe(c) + "." + name;
    if (p.Kind == TPropKind::Component) {
      if (!p.SetComponent) Error(line, "Property " + name + " of " + Describe(c) + " is read-only");
      TToken v = FLexer.Next();
      if (v.Kind != TTokenKind::Symbol) Error(v.Line, name + ": component name expected");
      FReferences.push_back({&c, &target, &p, name, v.Text, v.Line});
      return;
    }
    bool settable = p.IsOrdinal() ? static_cast<bool>(p.SetOrd) : static_cast<bool>(p.SetStr);
    if (p.Kind == TPropKind::Strings)
      Error(line, name + " is a string list: it is written as " + name + ".Strings = (...)");
    if (p.Kind == TPropKind::Class)
      Error(line, name + " is an object: its properties are written as " + name + ".Name");
    if (!settable) Error(line, "Property " + name + " of " + Describe(c) + " is read-only");

    if (p.Kind == TPropKind::String || p.Kind == TPropKind::Binary) {
      std::string value;
      if (p.Kind == TPropKind::String) {
        value = ReadStringValue(name);
      } else {
        TToken v = FLexer.Next();
        if (v.Kind != TTokenKind::Binary) Error(v.Line, name + ": binary data in braces expected");
        value = std::move(v.Text);
      }
      Guard(line, what, [&] {
        // A picture that cannot be decoded has kept its bytes, so that the form is written
        // back as it was; it shows nothing, and one damaged picture stops no form opening.
        try {
          p.SetStr(target, value);
        } catch (const EInvalidGraphic& e) {
          FLexer.Notice(line, what + ": " + e.what() + "; it is left empty");
        }
      });
      return;
    }

    int64_t value = p.Kind == TPropKind::Set ? ReadSet(p, name) : ReadOrdinal(p, name);
    Guard(line, what, [&] { p.SetOrd(target, value); });
  }

  int64_t ReadOrdinal(const TPropInfo& p, const std::string& name) {
    TToken v = FLexer.Next();
    int number = 0;
    switch (p.Kind) {
      case TPropKind::Integer:
        if (v.Kind != TTokenKind::Number) Error(v.Line, name + ": integer expected");
        if (!TryStrToInt(v.Text, number)) Error(v.Line, name + ": " + v.Text + " is out of range");
        return number;
      case TPropKind::Boolean:
        if (v.IsSymbol("False")) return 0;
        if (v.IsSymbol("True")) return 1;
        Error(v.Line, name + ": False or True expected");
      case TPropKind::Color: {
        TColor color = 0;
        if (v.Kind == TTokenKind::Symbol && IdentToColor(v.Text, color)) return color;
        if (v.Kind == TTokenKind::Number && TryStrToInt(v.Text, number)) return number;
        Error(v.Line, name + ": colour name or number expected");
      }
      default:  // enumeration
        if (v.Kind != TTokenKind::Symbol) Error(v.Line, name + ": identifier expected");
        return NameIndex(p, name, v);
    }
  }

  int64_t NameIndex(const TPropInfo& p, const std::string& name, const TToken& v) const {
    if (p.Names)
      for (size_t i = 0; i < p.Names->size(); ++i)
        if (SameText((*p.Names)[i], v.Text)) return static_cast<int64_t>(i);
    Error(v.Line, name + ": " + v.Text + " is not one of its values");
  }

  int64_t ReadSet(const TPropInfo& p, const std::string& name) {
    TToken open = FLexer.Next();
    if (!open.Is('[')) Error(open.Line, name + ": set in brackets expected");
    uint64_t mask = 0;
    if (FLexer.Peek().Is(']')) {
      FLexer.Next();
      return 0;
    }
    for (;;) {
      TToken v = FLexer.Next();
      if (v.Kind == TTokenKind::End) Error(open.Line, name + ": set not closed with ']'");
      if (v.Kind != TTokenKind::Symbol) Error(v.Line, name + ": identifier expected in set");
      int64_t index = NameIndex(p, name, v);
      if (index >= 32) Error(v.Line, name + ": " + v.Text + " cannot be a set member");
      mask |= uint64_t{1} << index;
      TToken sep = FLexer.Next();
      if (sep.Is(']')) return static_cast<int64_t>(mask);
      if (sep.Kind == TTokenKind::End) Error(open.Line, name + ": set not closed with ']'");
      if (!sep.Is(',')) Error(sep.Line, name + ": ',' or ']' expected in set");
    }
  }

  // A string token, or several joined with "+".
  std::string ReadStringValue(const std::string& name) {
    TToken v = FLexer.Next();
    if (v.Kind != TTokenKind::String) Error(v.Line, name + ": string expected");
    std::string value = std::move(v.Text);
    while (FLexer.Peek().Is('+')) {
      FLexer.Next();
      TToken more = FLexer.Next();
      if (more.Kind != TTokenKind::String) Error(more.Line, name + ": string expected after '+'");
      value += more.Text;
    }
    return value;
  }

  void ReadStringList(TComponent& c, TPersistent& target, const TPropInfo& p,
                      const std::string& name, int line) {
    if (!p.SetObject) Error(line, "Property " + name + " of " + Describe(c) + " is read-only");
    TToken open = FLexer.Next();
    if (!open.Is('(')) Error(open.Line, name + ": list in parentheses expected");
    TStringList list;
    for (;;) {
      const TToken& t = FLexer.Peek();
      if (t.Is(')')) {
        FLexer.Next();
        break;
      }
      if (t.Kind == TTokenKind::End) Error(open.Line, name + ": list not closed with ')'");
      if (t.Kind != TTokenKind::String) Error(t.Line, name + ": string or ')' expected");
      list.Add(ReadStringValue(name));
    }
    Guard(line, "Cannot set " + Describe(c) + "." + name, [&] { p.SetObject(target, list); });
  }

  TFormLexer FLexer;
  TComponent& FRoot;
  const TComponentReadHook* FOnCreated;
  std::vector<TReference> FReferences;

 public:
  // Parts mode: read object blocks onto parent instead of a whole form.
  TComponent* FPartsParent = nullptr;
  // Where references are looked up when the text read is not the whole form.
  TComponent* FReferenceRoot = nullptr;
  std::vector<TComponent*> FParts;

 private:
  std::vector<std::pair<std::string, std::string>> FRenamed;
  bool FRootLoading = false;
  std::vector<TComponent*> FCreated;
  std::vector<TComponent*> FLoaded;
};

}  // namespace

std::string WriteComponentText(TComponent& root) {
  return TFormWriter(root).Text();
}

void WriteComponentFile(const std::string& fileName, TComponent& root) {
  WriteFileAtomically(fileName, WriteComponentText(root));
}

std::string WriteComponentsText(TComponent& root, const std::vector<TComponent*>& components) {
  return TFormWriter(root).Parts(components);
}

std::vector<TComponent*> ReadComponentsText(std::string_view text, TComponent& root,
                                            TComponent& parent, const std::string& sourceName) {
  TFormReader reader(text, root, sourceName, nullptr);
  reader.FPartsParent = &parent;
  reader.Read();
  return reader.FParts;
}

void ReadComponentText(std::string_view text, TComponent& root, const std::string& sourceName) {
  TFormReader(text, root, sourceName, nullptr).Read();
}

void ReadComponentText(std::string_view text, TComponent& root, const std::string& sourceName,
                       const TComponentReadHook& onCreated) {
  TFormReader(text, root, sourceName, &onCreated).Read();
}

void ResetStoredProperties(TComponent& component) {
  const TComponentFactory* factory = TClassRegistry::FindFactory(component.ClassInfo().Name());
  if (!factory || !*factory) return;
  std::unique_ptr<TComponent> fresh((*factory)(nullptr));
  if (!fresh || &fresh->ClassInfo() != &component.ClassInfo()) return;
  for (const TPropInfo* p : component.ClassInfo().Properties()) {
    if (!p->Stored || p->IsReadOnly()) continue;
    switch (p->Kind) {
      case TPropKind::String:
      case TPropKind::Binary:
        if (p->GetStr && p->SetStr) p->SetStr(component, p->GetStr(*fresh));
        break;
      case TPropKind::Strings:
      case TPropKind::Class:
        if (p->GetObject && p->SetObject) p->SetObject(component, *p->GetObject(*fresh));
        break;
      case TPropKind::Component:
        if (p->SetComponent) p->SetComponent(component, nullptr);
        break;
      default:
        if (p->GetOrd && p->SetOrd) p->SetOrd(component, p->GetOrd(*fresh));
    }
  }
}

namespace {

// A form file as the writer lays it out, cut into its objects: each object's own property lines,
// and the objects nested in it.
struct TTextBlock {
  std::string Header;  // "object Name: Class"
  std::string Name, ClassName;
  std::string Properties;  // its own property lines, as they stand
  std::vector<TTextBlock> Children;
};

// False for a text the writer would not have laid out so.
bool SplitBlocks(std::string_view text, TTextBlock& root) {
  std::vector<std::pair<TTextBlock*, size_t>> open;  // blocks not yet ended, with their indents
  bool rootSeen = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    size_t indent = line.find_first_not_of(' ');
    if (indent == std::string_view::npos) return false;
    std::string_view body = line.substr(indent);
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
    if (body.starts_with("object ")) {
      TTextBlock* block = nullptr;
      if (open.empty()) {
        if (rootSeen || indent != 0) return false;
        rootSeen = true;
        block = &root;
      } else {
        if (indent != open.back().second + 2) return false;
        open.back().first->Children.emplace_back();
        block = &open.back().first->Children.back();
      }
      block->Header = std::string(body);
      size_t colon = body.find(": ");
      if (colon == std::string_view::npos) return false;
      block->Name = std::string(body.substr(7, colon - 7));
      block->ClassName = std::string(body.substr(colon + 2));
      open.emplace_back(block, indent);
    } else if (body == "end" && !open.empty() && indent == open.back().second) {
      open.pop_back();
    } else {
      if (open.empty() || indent <= open.back().second) return false;
      open.back().first->Properties.append(line);
    }
  }
  return rootSeen && open.empty();
}

bool SameShape(const TTextBlock& a, const TTextBlock& b) {
  if (a.Header != b.Header || a.Children.size() != b.Children.size()) return false;
  for (size_t i = 0; i < a.Children.size(); ++i)
    if (!SameShape(a.Children[i], b.Children[i])) return false;
  return true;
}

// The blocks whose properties differ, with their components, in file order; false when a
// component of the text is not there.
bool ChangedBlocks(const TTextBlock& a, const TTextBlock& b, TComponent& root, bool isRoot,
                   std::vector<std::pair<TComponent*, const TTextBlock*>>& changed) {
  TComponent* component = isRoot ? &root : root.FindComponent(b.Name);
  if (!component || !SameText(component->ClassName(), b.ClassName)) return false;
  if (a.Properties != b.Properties) changed.emplace_back(component, &b);
  for (size_t i = 0; i < a.Children.size(); ++i)
    if (!ChangedBlocks(a.Children[i], b.Children[i], root, false, changed)) return false;
  return true;
}

}  // namespace

bool ApplyComponentTextInPlace(TComponent& root, std::string_view before, std::string_view after,
                               const std::string& sourceName) {
  TTextBlock a, b;
  if (!SplitBlocks(before, a) || !SplitBlocks(after, b) || !SameShape(a, b)) return false;
  std::vector<std::pair<TComponent*, const TTextBlock*>> changed;
  if (!ChangedBlocks(a, b, root, true, changed)) return false;
  for (const auto& [component, block] : changed) {
    ResetStoredProperties(*component);
    std::string text = block->Header + "\n" + block->Properties + "end\n";
    TFormReader reader(text, *component, sourceName, nullptr);
    reader.FReferenceRoot = &root;
    reader.Read();
  }
  return true;
}

std::vector<TComponent*> ComponentsInFileOrder(TComponent& root) {
  std::vector<TComponent*> order;
  std::function<void(TComponent&, int)> visit = [&](TComponent& c, int depth) {
    if (depth > MaxFormNesting) return;
    c.GetChildren(
        [&](TComponent* child) {
          if (!child) return;
          order.push_back(child);
          visit(*child, depth + 1);
        },
        &root);
  };
  visit(root, 0);
  return order;
}

int FormHeaderLine(std::string_view text) {
  int line = 1;
  for (char c : text) {
    if (c == '\n')
      ++line;
    else if (!std::isspace(static_cast<unsigned char>(c)))
      return line;
  }
  return 1;
}

void ReadComponentFile(const std::string& fileName, TComponent& root) {
  ReadComponentText(ReadFileBytes(fileName), root, fileName);
}

}  // namespace host
