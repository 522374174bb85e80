#pragma once

#include <memory>
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

// How a file with lines that are not understood (no "=", a key before any section, a section
// name without its "]", NUL bytes) reads. A UTF-8 byte order mark is no fault in either way and
// is kept when the file is written.
enum class TIniParsing {
  Strict,   // fails with EParserError naming the file and line
  Lenient,  // reads the lines it understands; the first other line is told once (FileNotice)
};

// Profile functions with the old semantics. Sections and keys match without regard to case,
// values lose surrounding blanks; a missing file reads as defaults and is created by the first
// write, which keeps every other line of the file. A malformed file fails with EParserError
// naming the file (with its folder) and line, and is then never rewritten.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& fileName,
                                    TIniParsing parsing = TIniParsing::Strict);
// A value that is not a whole number gives the default.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& fileName, TIniParsing parsing = TIniParsing::Strict);
// key null: erases the section; value null: deletes the key; otherwise writes key=value.
void WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& fileName);

// An INI file read and written one key per call, straight through to the file. Reads follow
// parsing; writes always refuse a file that does not parse.
class TIniFile {
 public:
  explicit TIniFile(std::string fileName, TIniParsing parsing = TIniParsing::Strict)
      : FFileName(std::move(fileName)), FParsing(parsing) {}
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
  // The file's line number of the key's line, from 1; 0 when there is no such key.
  int KeyLine(std::string_view section, std::string_view ident) const;
  void ReadSection(std::string_view section, TStrings& keys) const;
  void ReadSections(TStrings& sections) const;
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view ident);

 private:
  std::string FFileName;
  TIniParsing FParsing;
};

class TIniDocument;

// An INI file read once, leniently, changed in memory and written back whole by UpdateFile: for
// a file that is the kit's own, whose damage must not stop the application.
class TMemIniFile {
 public:
  // Empty, and belonging to no file until one is read.
  TMemIniFile();
  // Reads the file (a missing one is empty); EInOutError when it is there but cannot be read.
  explicit TMemIniFile(const std::string& fileName);
  TMemIniFile(TMemIniFile&&) noexcept;
  TMemIniFile& operator=(TMemIniFile&&) noexcept;
  ~TMemIniFile();

  // The file's path, with its folder.
  const std::string& FileName() const { return FFileName; }
  // "FILE(LINE): what" for the first line that is not understood, with how many more there
  // are; empty when every line is.
  std::string Problem() const;
  // Forgets the lines that are not understood (and the keys under a section name that is not),
  // so that the rest can be written afresh.
  void DropProblemLines();

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const;
  void WriteString(std::string_view section, std::string_view ident, std::string_view value);
  // False when there was no such key.
  bool DeleteKey(std::string_view section, std::string_view ident);
  // False when there was no such section.
  bool EraseSection(std::string_view section);
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view ident) const;
  // The keys of the first section of that name, in file order, and every section name; only
  // lines that are understood count.
  void ReadSection(std::string_view section, TStrings& keys) const;
  void ReadSections(TStrings& sections) const;
  // The file as it would be written.
  std::string Text() const;
  // Writes the whole file in one step, creating its folder; EParserError while lines that are
  // not understood remain.
  void UpdateFile() const;

 private:
  std::string FFileName;
  std::unique_ptr<TIniDocument> FDocument;
};

}  // namespace host
