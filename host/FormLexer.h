#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/SysUtils.h"

namespace host {

// The tokens of a textual form file, each with the line it starts on: what the form reader
// reads, and what tools that point a user at a line (a project check) scan again.
namespace formlex {

inline bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

inline bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}

inline constexpr std::array<signed char, 256> HexValues = [] {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c)
    values[static_cast<size_t>(c)] = static_cast<signed char>(c >= '0' && c <= '9'   ? c - '0'
                                                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                                     : -1);
  return values;
}();

inline int HexValue(char c) {
  return HexValues[static_cast<unsigned char>(c)];
}

enum class TTokenKind { End, Symbol, Number, String, Binary, Char };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // the symbol, the number as written, the string's or binary's bytes
  char Char = 0;
  int Line = 1;

  bool Is(char c) const { return Kind == TTokenKind::Char && Char == c; }
  bool IsSymbol(std::string_view s) const {
    return Kind == TTokenKind::Symbol && SameText(Text, s);
  }
};

class TFormLexer {
 public:
  TFormLexer(std::string_view text, const std::string& sourceName)
      : FText(text), FSourceName(sourceName) {
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;
  }

  const TToken& Peek() {
    if (!FHasPeek) {
      FPeek = Lex();
      FHasPeek = true;
    }
    return FPeek;
  }

  TToken Next() {
    Peek();
    FHasPeek = false;
    return std::move(FPeek);
  }

  [[noreturn]] void Error(int line, const std::string& message) const {
    throw EParserError(FSourceName, line, message);
  }
  // Tells of something at a line that the reader works around.
  void Notice(int line, const std::string& message) const {
    FileNotice(EParserError(FSourceName, line, message).Message());
  }

 private:
  bool AtEnd() const { return FPos >= FText.size(); }
  char Cur() const { return FText[FPos]; }
  char At(size_t pos) const { return pos < FText.size() ? FText[pos] : '\0'; }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = Cur();
      if (c == '\n') {
        ++FLine;
      } else if (c == '\r') {
        if (At(FPos + 1) != '\n') ++FLine;  // a lone CR ends a line too
      } else if (c != ' ' && c != '\t') {
        return;
      }
      ++FPos;
    }
  }

  TToken Lex() {
    SkipBlanks();
    TToken t;
    t.Line = FLine;
    if (AtEnd()) return t;
    char c = Cur();
    auto startsNumber = [&](size_t pos) {
      char d = At(pos);
      return (d >= '0' && d <= '9') || d == '$';
    };
    if (IsIdentStart(c)) {
      size_t start = FPos;
      while (!AtEnd() && IsIdentChar(Cur())) ++FPos;
      t.Kind = TTokenKind::Symbol;
      t.Text = std::string(FText.substr(start, FPos - start));
    } else if (startsNumber(FPos) || ((c == '-' || c == '+') && startsNumber(FPos + 1))) {
      LexNumber(t);
    } else if (c == '\'' || c == '#') {
      LexString(t);
    } else if (c == '{') {
      LexBinary(t);
    } else if (std::string_view("=:.,[]()+").find(c) != std::string_view::npos) {
      ++FPos;
      t.Kind = TTokenKind::Char;
      t.Char = c;
    } else {
      auto u = static_cast<unsigned char>(c);
      Error(FLine, "Invalid character " + (u > 32 && u < 127 ? "'" + std::string(1, c) + "'"
                                                             : "#" + std::to_string(u)));
    }
    return t;
  }

  void LexNumber(TToken& t) {
    size_t start = FPos;
    if (Cur() == '-' || Cur() == '+') ++FPos;
    bool hex = !AtEnd() && Cur() == '$';
    if (hex) ++FPos;
    size_t digitsStart = FPos;
    while (!AtEnd() && (hex ? HexValue(Cur()) >= 0 : (Cur() >= '0' && Cur() <= '9'))) ++FPos;
    if (FPos == digitsStart || (!AtEnd() && (IsIdentChar(Cur()) || Cur() == '.' || Cur() == '$')))
      Error(FLine, "Invalid number");
    t.Kind = TTokenKind::Number;
    t.Text = std::string(FText.substr(start, FPos - start));
  }

  // Quoted runs and #nn codes written next to each other make one string.
  void LexString(TToken& t) {
    t.Kind = TTokenKind::String;
    while (!AtEnd()) {
      if (Cur() == '\'') {
        ++FPos;
        // Whole runs up to the next quote at a time; a doubled quote stands for one.
        for (;;) {
          size_t end = FPos;
          while (end < FText.size() && FText[end] != '\'' && FText[end] != '\n' &&
                 FText[end] != '\r')
            ++end;
          if (end == FText.size() || FText[end] != '\'') {
            FPos = end;
            Error(FLine, "Unterminated string");
          }
          t.Text.append(FText.substr(FPos, end - FPos));
          FPos = end + 1;
          if (AtEnd() || Cur() != '\'') break;
          t.Text += '\'';
          ++FPos;
        }
      } else if (Cur() == '#') {
        ++FPos;
        AppendCharCode(t.Text);
      } else {
        break;
      }
    }
  }

  // Codes below 128 are the byte itself; higher codes name a Unicode character, stored as UTF-8
  // like the rest of the kit's text.
  void AppendCharCode(std::string& out) {
    bool hex = !AtEnd() && Cur() == '$';
    if (hex) ++FPos;
    uint32_t code = 0;
    size_t digitsStart = FPos;
    for (; !AtEnd(); ++FPos) {
      int digit = hex ? HexValue(Cur()) : (Cur() >= '0' && Cur() <= '9' ? Cur() - '0' : -1);
      if (digit < 0) break;
      code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
      if (code > 0x10FFFF) Error(FLine, "Invalid character code");
    }
    if (FPos == digitsStart || (code >= 0xD800 && code <= 0xDFFF))
      Error(FLine, "Invalid character code");
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // One pass over the digits, a pair at a time, counting lines as it goes: pictures make these
  // the bulk of a form.
  void LexBinary(TToken& t) {
    int openLine = FLine;
    ++FPos;
    t.Kind = TTokenKind::Binary;
    size_t close = FText.find('}', FPos);
    t.Text.resize(((close == std::string_view::npos ? FText.size() : close) - FPos) / 2);
    char* out = t.Text.data();
    int high = -1;
    for (;;) {
      if (high < 0 && FPos + 1 < FText.size()) {
        int a = HexValue(FText[FPos]), b = HexValue(FText[FPos + 1]);
        if ((a | b) >= 0) {
          *out++ = static_cast<char>(a << 4 | b);
          FPos += 2;
          continue;
        }
      }
      if (AtEnd()) Error(openLine, "Binary data not closed with '}'");
      char c = FText[FPos++];
      int digit = HexValue(c);
      if (digit >= 0) {
        if (high < 0) {
          high = digit;
        } else {
          *out++ = static_cast<char>(high << 4 | digit);
          high = -1;
        }
      } else if (c == '}') {
        break;
      } else if (c == '\n') {
        ++FLine;
      } else if (c == '\r') {
        if (At(FPos) != '\n') ++FLine;  // a lone CR ends a line too
      } else if (c != ' ' && c != '\t') {
        Error(FLine, "Invalid character in binary data");
      }
    }
    if (high >= 0) Error(openLine, "Binary data has an odd number of hexadecimal digits");
    t.Text.resize(static_cast<size_t>(out - t.Text.data()));
  }

  std::string_view FText;
  const std::string& FSourceName;
  size_t FPos = 0;
  int FLine = 1;
  TToken FPeek;
  bool FHasPeek = false;
};

}  // namespace formlex

}  // namespace host
