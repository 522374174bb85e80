#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/Controls.h"
#include "host/Forms.h"

namespace mebrox {

// The names code outside the verb tables knows script verbs by (the studio's leading answers,
// the fuzzer's screenshots, tests). A verb is declared, with its lines, its help and its
// handler, in one table: mebrox-run's in RunVerbs.cpp, the studio's design verbs in
// apps/studio/StudioVerbs.cpp.
enum TScriptVerb {
  // What a person does to a running application.
  svMove,
  svDown,
  svUp,
  svClick,
  svAnswer,
  svScreenshot,
  svWait,
  svType,
  svKey,
  svSelect,
  svCheck,
  svFile,
  svMenu,
  svFont,
  svColor,
  // What a designer does in the studio.
  svDrop,
  svEdit,
  svVerb,
  svDblClick,
  svExpert,
  svSet,
  svSave,
  svSaveAs,
  svKill,
  svNewFrame,
  svPick,
  svNudge,
  svResize,
  svUndo,
  svRedo,
  svCopy,
  svCut,
  svPaste,
  svDelete,
  svFront,
  svBack,
  // A verb no code outside its declaration singles out.
  svOther,
};

struct TScriptVerbInfo;
// Verbs declared together (ScriptVerb.h), in the order their help lists them.
using TScriptVerbTable = std::vector<TScriptVerbInfo>;

// One line of an event script, read by its verb's declaration into the fields that verb uses.
struct TScriptCommand {
  // The declaration that read the line; its handler carries the command out.
  const TScriptVerbInfo* Info = nullptr;
  TScriptVerb Verb = svMove;
  int Line = 0;
  std::string Form;
  std::string Control;  // empty: the form itself
  int X = 0;
  int Y = 0;
  std::string HotWord;  // pointer lines: the hot word to point at instead of X and Y
  host::TMouseButton Button = host::mbLeft;
  host::TModalResult Answer = host::mrNone;
  std::string FileName;            // as written; relative names are the caller's to resolve
  std::vector<std::string> Files;  // file
  std::string FontName;            // font
  int FontSize = 0;
  host::TFontStyles FontStyle;
  host::TColor FontColor = host::clWindowText;
  host::TColor Color = host::clBlack;  // color
  int64_t Milliseconds = 0;
  std::string Text;           // typed text, item text, file, menu text, value
  int Index = -1;             // select #N, verb N
  host::TKeyEventRecord Key;  // key
  bool Checked = false;       // check
  std::string ClassName;      // drop
  std::string Property;       // edit, set
};

// Which verbs a program's scripts take: its verb tables, searched in order.
struct TScriptDialect {
  const std::vector<const TScriptVerbTable*>& (*Tables)() = nullptr;

  static const TScriptDialect Run;  // mebrox-run's verbs
  // The studio's design verbs, then mebrox-run's; defined with the design verbs, so that only
  // programs that link the studio have it.
  static const TScriptDialect Studio;
};

// Reads a whole script. Verbs and keywords ignore case; `#` outside double quotes starts a
// comment; a word may be double-quoted to hold blanks. Anything malformed fails with
// EParserError naming sourceName and the line.
std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName,
                                        const TScriptDialect& dialect = TScriptDialect::Run);

// A key by name: a letter or digit, Enter, Escape, Tab, Space, Backspace, Delete, Insert, Home,
// End, PageUp, PageDown, Up, Down, Left, Right, F1 to F12, each after any of Shift+, Ctrl+ and
// Alt+. False for a name that is none of these.
bool ParseKeyName(std::string_view name, host::TKeyEventRecord& key);

}  // namespace mebrox
