#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// Writes Test.dpr into folder with a frame for each form text (Unit1.dfm, Unit2.dfm ...), each
// beside a unit of its own; returns the project file's path.
inline std::string WriteFormsProject(const std::string& folder,
                                     const std::vector<std::string>& formTexts) {
  std::string uses, creations;
  for (size_t i = 0; i < formTexts.size(); ++i) {
    std::string n = std::to_string(i + 1);
    WriteFile(folder + "/Unit" + n + ".dfm", formTexts[i]);
    WriteFile(folder + "/Unit" + n + ".pas", "unit Unit" + n + ";\n\ninterface\n\ntype\n  TForm" +
                                                 n + " = class(TForm)\n  end;\n\nend.\n");
    uses += ",\n  Unit" + n + " in 'Unit" + n + ".pas' {Form" + n + "}";
    creations += "  Application.CreateForm(TForm" + n + ", Form" + n + ");\n";
  }
  const std::string project = folder + "/Test.dpr";
  WriteFile(project,
            "program Test;\n\nuses\n  Forms" + uses + ";\n\nbegin\n" + creations + "end.\n");
  return project;
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

// While it lives, the calling thread meets files as their permission bits say, even as root:
// the capabilities that override those bits leave its effective set (they stay permitted and
// come back at the end). Active() is false where that cannot be done.
class TPermissionsApply {
 public:
  TPermissionsApply() {
    if (::syscall(SYS_capget, &FHeader, FSaved) != 0) return;
    __user_cap_data_struct reduced[2] = {FSaved[0], FSaved[1]};
    for (unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
      reduced[cap / 32].effective &= ~(1u << (cap % 32));
    FActive = ::syscall(SYS_capset, &FHeader, reduced) == 0;
  }
  ~TPermissionsApply() {
    if (FActive) ::syscall(SYS_capset, &FHeader, FSaved);
  }
  TPermissionsApply(const TPermissionsApply&) = delete;
  TPermissionsApply& operator=(const TPermissionsApply&) = delete;
  bool Active() const { return FActive; }

 private:
  __user_cap_header_struct FHeader{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct FSaved[2] = {};
  bool FActive = false;
};

}  // namespace testing_support
