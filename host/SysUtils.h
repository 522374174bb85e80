#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

// Base of every error the kit raises; the application's handler shows Message().
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

class EConvertError : public Exception {
  using Exception::Exception;
};
class EListError : public Exception {
  using Exception::Exception;
};
// A number outside what its property or parameter takes.
class ERangeError : public Exception {
  using Exception::Exception;
};
class EInvalidCast : public Exception {
 public:
  EInvalidCast() : Exception("Invalid class typecast") {}
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EComponentError : public Exception {
  using Exception::Exception;
};
// A file could not be opened, read or written.
class EInOutError : public Exception {
  using Exception::Exception;
};
// Text that does not follow its format; the message names the file and the line.
class EParserError : public Exception {
 public:
  EParserError(const std::string& fileName, int line, const std::string& message)
      : Exception(fileName + "(" + std::to_string(line) + "): " + message),
        FFileName(fileName),
        FLine(line) {}
  const std::string& FileName() const { return FFileName; }
  int Line() const { return FLine; }

 private:
  std::string FFileName;
  int FLine;
};

std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);
// Decimal with an optional sign, or hexadecimal after "$" or "0x"; leading blanks are skipped.
// Anything else fails with EConvertError.
int StrToInt(std::string_view s);
int StrToIntDef(std::string_view s, int defaultValue);
bool TryStrToInt(std::string_view s, int& value);

// ASCII-only case mapping: the kit compares names, not natural-language text.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);

// Paths: both "\" and "/" separate directories in stored paths; paths we build use "/".
inline constexpr char PathDelim = '/';
bool IsPathDelimiter(char c);
// Everything up to and including the last separator; empty when there is none.
std::string ExtractFilePath(std::string_view fileName);
// The path of file relative to folder, as both are spelled (links are not followed), with '/'
// between names: "chime.wav", "media/chime.wav", "." for the folder itself; empty when the file
// lies outside the folder.
std::string PathWithin(const std::string& file, const std::string& folder);
std::string ExtractFileName(std::string_view fileName);
// From the last "." of the file name part to the end, dot included; empty when there is none.
std::string ExtractFileExt(std::string_view fileName);
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
// Turns "\" separators into "/" so the platform can open the path.
std::string NativePath(std::string_view fileName);
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& dirName);

// Whole-file access. Reading fails with EInOutError naming the file. Writing goes to a temporary
// file beside the target that replaces it only when complete, so a failed write leaves the old
// file as it was; a file marked read-only is never replaced. A symbolic link is written through
// to its target and stays a link; the replaced file keeps its permissions. Temporary files are
// named ".NAME.mebrox-tmp-PID-XXXXXX" (NAME shortened to fit the file system's name limit), so
// that a write clears those that a process which has died left beside its target.
std::string ReadFileBytes(const std::string& fileName);
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);
// One file of a write of several: its name, its new contents, and the permissions it gets when
// it is new (a file that exists keeps its own); -1 for the usual ones (0666 less the umask).
struct TFileWrite {
  std::string Name;
  std::string Bytes;
  int Mode = -1;
};
// Writes several files as one: either every file gets its new contents or every file stays as it
// was. A file marked read-only (no write permission) is never replaced; the error names it.
// With a journal, the renames that put the new files in place are listed there first, so that
// a write cut short among them (a crash, a kill, a power cut) is finished by
// FinishInterruptedWrite instead of leaving some files old and some new; a journal left by such
// a write is finished before this one begins.
void WriteFilesTogether(const std::vector<TFileWrite>& files, const std::string& journal = {});
// Finishes the write of several files whose journal this is, if it was cut short: the new
// files not yet in place take their targets' places (a target changed since by someone else
// keeps its contents), the second names of the old files go, and so does the journal. Returns
// what it did, for telling the user, or empty when there was no such journal.
std::string FinishInterruptedWrite(const std::string& journal);
// Removes what writes into folder by processes that have died left there: their temporary files,
// and second names of files that are still those files (never the last copy of an old file).
void ClearStaleWriteFiles(const std::string& folder);
// Whether name is one of the kit's own passing files (a temporary file, a second name of an old
// file, a journal), which are never part of a project.
bool IsOwnPassingFile(std::string_view name);
// Flushes a written file to the disk (fsync) before it takes the place of the old one; tests
// put a failing one in to see what a failing disk does.
extern int (*FileSync)(int fd);
// Called with a rising number between the steps of a journalled write of several files; tests
// put one in that ends the process there, as a crash would.
extern void (*WriteStepHook)(int step);

// Tells the user about a file the kit worked around (lines it could not read, a history it cannot
// save) without stopping anything. Each text is told once per run; without a handler it goes to
// standard error.
void FileNotice(const std::string& message);
void SetFileNoticeHandler(std::function<void(const std::string& message)> handler);

}  // namespace host
