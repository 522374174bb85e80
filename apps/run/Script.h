#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/Controls.h"
#include "host/Forms.h"

namespace mebrox {

enum TScriptVerb { svMove, svDown, svUp, svClick, svAnswer, svScreenshot, svWait };

// One line of an event script:
//   move|down|up|click FORM[.CONTROL] X Y [right]    the pointer, at a client point of the target
//   answer yes|no|ok|cancel                          the answer for the next message box
//   screenshot FORM FILE.png                         the form as it looks now
//   wait MS                                          time passes
struct TScriptCommand {
  TScriptVerb Verb = svMove;
  int Line = 0;
  std::string Form;
  std::string Control;  // empty: the form's own client area
  int X = 0;
  int Y = 0;
  host::TMouseButton Button = host::mbLeft;
  host::TModalResult Answer = host::mrNone;
  std::string FileName;  // as written; relative names are the caller's to resolve
  int64_t Milliseconds = 0;
};

// Reads a whole script. Verbs and keywords ignore case; `#` outside double quotes starts a
// comment; a file name may be double-quoted to hold blanks. Anything malformed fails with
// EParserError naming sourceName and the line.
std::vector<TScriptCommand> ParseScript(std::string_view text, const std::string& sourceName);

}  // namespace mebrox
