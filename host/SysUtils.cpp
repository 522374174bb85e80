#include "host/SysUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace host {

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(uint64_t value, int digits) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), hex[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), '0');
  return out;
}

bool TryStrToInt(std::string_view s, int& value) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  int64_t result = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    result = result * base + digit;
    // Hexadecimal covers the full 32 bits (colours use the top bit); decimal keeps to int.
    if (result > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{2147483648})) return false;
  }
  if (negative) result = -result;
  if (base == 16 && result > 0x7FFFFFFF) result -= int64_t{0x100000000};
  if (result > 2147483647 || result < -2147483648LL) return false;
  value = static_cast<int>(result);
  return true;
}

int StrToInt(std::string_view s) {
  int value;
  if (!TryStrToInt(s, value))
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view s, int defaultValue) {
  int value;
  return TryStrToInt(s, value) ? value : defaultValue;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca -= 32;
    if (cb >= 'a' && cb <= 'z') cb -= 32;
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool IsPathDelimiter(char c) {
  return c == '/' || c == '\\';
}

static size_t LastDelimiter(std::string_view fileName) {
  for (size_t i = fileName.size(); i > 0; --i)
    if (IsPathDelimiter(fileName[i - 1])) return i - 1;
  return std::string_view::npos;
}

std::string ExtractFilePath(std::string_view fileName) {
  size_t p = LastDelimiter(fileName);
  return p == std::string_view::npos ? std::string() : std::string(fileName.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view fileName) {
  size_t p = LastDelimiter(fileName);
  return std::string(p == std::string_view::npos ? fileName : fileName.substr(p + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
  std::string name = ExtractFileName(fileName);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
  std::string ext = ExtractFileExt(fileName);
  std::string base(fileName.substr(0, fileName.size() - ext.size()));
  return base + std::string(extension);
}

std::string NativePath(std::string_view fileName) {
  std::string out(fileName);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return ::stat(NativePath(fileName).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& dirName) {
  struct stat st {};
  return ::stat(NativePath(dirName).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static std::string ErrnoText() {
  return std::strerror(errno);
}

std::string ReadFileBytes(const std::string& fileName) {
  std::string path = NativePath(fileName);
  if (DirectoryExists(path))
    throw EInOutError("Cannot open file \"" + fileName + "\": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file \"" + fileName + "\": " + ErrnoText());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw EInOutError("Cannot read file \"" + fileName + "\": " + ErrnoText());
  return buffer.str();
}

namespace {

// A file whose write permission bits are all off: the user protected it, so the kit never
// replaces it (renaming over it would succeed, and would succeed for root in any case).
bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0);
}

// Writes bytes to a new temporary file beside fileName and returns its path; the temporary
// file is gone again when this fails.
std::string WriteTempBeside(const std::string& fileName, std::string_view bytes) {
  std::string path = NativePath(fileName);
  if (IsReadOnlyFile(path))
    throw EInOutError("Cannot write file \"" + fileName + "\": it is read-only");
  std::string temp = path + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) throw EInOutError("Cannot create file \"" + fileName + "\": " + ErrnoText());
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::string why = ErrnoText();
      ::close(fd);
      ::unlink(temp.c_str());
      throw EInOutError("Cannot write file \"" + fileName + "\": " + why);
    }
    written += static_cast<size_t>(n);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  struct stat st {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &st) == 0)
    mode = st.st_mode & 07777;
  else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    throw EInOutError("Cannot write file \"" + fileName + "\": " + why);
  }
  return temp;
}

}  // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  std::string temp = WriteTempBeside(fileName, bytes);
  if (::rename(temp.c_str(), NativePath(fileName).c_str()) != 0) {
    std::string why = ErrnoText();
    ::unlink(temp.c_str());
    throw EInOutError("Cannot write file \"" + fileName + "\": " + why);
  }
}

void WriteFilesTogether(const std::vector<std::pair<std::string, std::string>>& files) {
  struct TStaged {
    std::string Name;    // as given, for messages
    std::string Path;    // native
    std::string Temp;    // the new contents
    std::string Backup;  // a second name of the old file; empty when there was none
    bool Replaced = false;
  };
  std::vector<TStaged> staged;
  auto dropAll = [&staged] {
    for (TStaged& s : staged) {
      if (s.Replaced) {
        // Put the old file back, or take away the new one where there was none.
        if (!s.Backup.empty())
          ::rename(s.Backup.c_str(), s.Path.c_str());
        else
          ::unlink(s.Path.c_str());
      } else {
        if (!s.Temp.empty()) ::unlink(s.Temp.c_str());
        if (!s.Backup.empty()) ::unlink(s.Backup.c_str());
      }
    }
  };
  try {
    // Every new file is written in full before any old one is touched.
    for (const auto& [name, bytes] : files) {
      TStaged s{name, NativePath(name), {}, {}, false};
      staged.push_back(s);
      staged.back().Temp = WriteTempBeside(name, bytes);
    }
    for (TStaged& s : staged) {
      struct stat st {};
      if (::stat(s.Path.c_str(), &st) != 0) continue;
      std::string backup = s.Path + ".bak-XXXXXX";
      int fd = ::mkstemp(backup.data());
      if (fd < 0) throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      ::close(fd);
      ::unlink(backup.c_str());
      if (::link(s.Path.c_str(), backup.c_str()) != 0)
        throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      s.Backup = backup;
    }
    for (TStaged& s : staged) {
      if (::rename(s.Temp.c_str(), s.Path.c_str()) != 0)
        throw EInOutError("Cannot write file \"" + s.Name + "\": " + ErrnoText());
      s.Replaced = true;
    }
  } catch (...) {
    dropAll();
    throw;
  }
  for (TStaged& s : staged)
    if (!s.Backup.empty()) ::unlink(s.Backup.c_str());
}

}  // namespace host
