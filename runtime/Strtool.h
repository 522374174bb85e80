#pragma once

#include <string>

#include "host/IniFiles.h"
#include "host/Strings.h"

namespace mebrox {

// Byte strings; "space" is character 32 only, searches are exact and case-sensitive.

// Returns the text before the first separator and leaves s holding the text after it; without a
// separator returns all of s and empties it.
std::string GetTokenString(std::string& s, const std::string& separator);
std::string LTrim(const std::string& s);
std::string RTrim(const std::string& s);
// The last n characters; all of s when n reaches its length, nothing when n <= 0.
std::string RightStr(const std::string& s, int n);
// a..z to A..Z, nothing else touched.
std::string UpperStr(const std::string& s);
// Fills s up to n characters with spaces; never shortens.
std::string PadStr(const std::string& s, int n);
// Every tab becomes exactly n spaces wherever it stands; n <= 0 just drops tabs.
std::string ExpandTabs(const std::string& s, int n);
// Appends to list the pieces of s between separators (an empty s gives one empty piece, a
// trailing separator a final empty piece) and returns list.
host::TStrings& sBreakApart(const std::string& s, const std::string& separator,
                            host::TStrings& list);
// Every occurrence of oldPattern, left to right without overlaps, replaced by newPattern.
std::string ReplaceStr(const std::string& s, const std::string& oldPattern,
                       const std::string& newPattern);
// Deletes the key from the file the INI object names; other lines stay.
void RemoveINIEntry(host::TIniFile& iniFile, const std::string& section, const std::string& ident);
// Whether the design environment (a mebrox-studio process) runs for this user.
bool DelphiIsRunning();
// Opens a program or document through the shell; above 32 on success, else the shell's code.
int ExecuteFile(const std::string& fileName, const std::string& params,
                const std::string& defaultDir, int showCmd);

}  // namespace mebrox
