#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mebrox-test-XXXXXX").string();
    FPath = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool IsPng(const std::string& fileName) {
  return ReadFile(fileName).starts_with("\x89PNG\r\n\x1a\n");
}

// Points the settings directory at a fresh folder for the lifetime of the object.
class ScopedWindowsDir {
 public:
  ScopedWindowsDir() : FOld(std::getenv("MEBROX_WINDIR") ? std::getenv("MEBROX_WINDIR") : "") {
    ::setenv("MEBROX_WINDIR", FDir.Path().c_str(), 1);
  }
  ~ScopedWindowsDir() { ::setenv("MEBROX_WINDIR", FOld.c_str(), 1); }
  const TempDir& Dir() const { return FDir; }
  std::string File(const std::string& name) const { return FDir.File(name); }

 private:
  TempDir FDir;
  std::string FOld;
};

}  // namespace testing_support
