#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/Strings.h"

namespace host {

// The place of the old Windows directory, home of profile files named without a directory:
// $MEBROX_WINDIR when set, else $XDG_CONFIG_HOME/mebrox, else ~/.config/mebrox.
std::string WindowsDirectory();
// A file name with a directory (either separator) is used as it is; a bare one lives in the
// Windows directory.
std::string ProfilePath(const std::string& fileName);

// Profile functions with the old semantics. Sections and keys match without regard to case,
// values lose surrounding blanks; a missing file reads as defaults and is created by the first
// write, which keeps every other line of the file. A malformed file fails with EParserError
// naming the file and line, and is then never rewritten.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& fileName);
// A value that is not a whole number gives the default.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& fileName);
// key null: erases the section; value null: deletes the key; otherwise writes key=value.
void WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& fileName);

// An INI file read and written one key per call, straight through to the file.
class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
  const std::string& FileName() const { return FFileName; }

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
  // Any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
  void WriteString(std::string_view section, std::string_view ident, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view ident, int value);
  void WriteBool(std::string_view section, std::string_view ident, bool value);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view ident) const;
  void ReadSection(std::string_view section, TStrings& keys) const;
  void ReadSections(TStrings& sections) const;
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view ident);

 private:
  std::string FFileName;
};

}  // namespace host
