#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/Controls.h"
#include "host/Forms.h"

namespace mebrox {

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
};

// One line of an event script:
//   move|down|up|click FORM[.CONTROL] X Y [right]    the pointer, at a client point of the target
//   move|down|up|click FORM.CONTROL "WORD" [right]   the pointer, amid a hot word of a hot text
//   answer yes|no|ok|cancel                          the answer for the next message box
//   screenshot FORM FILE.png                         the form as it looks now
//   wait MS                                          time passes
//   type FORM.CONTROL "TEXT"                         keys typed into the control
//   key FORM[.CONTROL] KEY                           one key, such as Enter, Shift+Tab or Alt+O
//   select FORM.CONTROL ITEM                         an item of a list: "text", or a position;
//                                                    in an edit field or memo, that text
//   check FORM.CONTROL on|off                        a check box or radio button
//   file "PATH" ["PATH" ...]                         the answer for the next file dialog
//   menu FORM.CONTROL "ITEM"                         the entry of the control's popup menu
//   font "NAME" SIZE [bold] [italic] [underline] [strikeout] [COLOUR]
//                                                    the answer for the next font dialog
//   color COLOUR                                     the answer for the next colour dialog
// and, in the studio:
//   drop CLASS FORM X Y                              a component from the palette
//   edit FORM.COMPONENT PROPERTY                     the property's editor opens
//   verb FORM.COMPONENT N                            verb N of the component's menu
//   dblclick FORM.COMPONENT                          the component editor's double-click
//   expert "MENU TEXT"                               the expert of that menu entry
//   set FORM[.COMPONENT] PROPERTY VALUE              as the object inspector would
//   save                                             the project, what changed
//   saveas PATH                                      the project under another name or folder
//   kill                                             the studio ends at once, as at a power cut
//   newframe                                         an empty frame joins the project
//   select FORM[.COMPONENT] [add]                    the designer's selection (add: to it)
//   nudge FORM DX DY, resize FORM DW DH              the selection moved, sized
//   undo FORM, redo FORM                             the form's last change taken back, again
//   copy FORM, cut FORM, paste FORM, delete FORM     the selection through the clipboard
//   front FORM, back FORM                            the selection brought forward, sent back
struct TScriptCommand {
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

// Which verbs a program takes: mebrox-run the first group, the studio all.
enum class TScriptDialect { Run, Studio };

// Reads a whole script. Verbs and keywords ignore case; `#` outside double quotes starts a
// comment; a word may be double-quoted to hold blanks. Anything malformed fails with
// EParserError naming sourceName and the line.
std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName,
                                        TScriptDialect dialect = TScriptDialect::Run);

// A key by name: a letter or digit, Enter, Escape, Tab, Space, Backspace, Delete, Insert, Home,
// End, PageUp, PageDown, Up, Down, Left, Right, F1 to F12, each after any of Shift+, Ctrl+ and
// Alt+. False for a name that is none of these.
bool ParseKeyName(std::string_view name, host::TKeyEventRecord& key);

}  // namespace mebrox
