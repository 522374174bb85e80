#include "design/ProjectAssets.h"

#include <filesystem>
#include <system_error>

#include "host/Dialogs.h"
#include "host/SysUtils.h"
#include "ide/ToolIntf.h"

namespace mebrox {

namespace fs = std::filesystem;

namespace {

// A folder as the file system knows it, links followed as far as they exist, so that two
// spellings of the same folder compare equal. An empty folder is the current directory.
fs::path RealFolder(const fs::path& folder) {
  std::error_code ec;
  fs::path path = fs::absolute(folder.empty() ? fs::path(".") : folder, ec).lexically_normal();
  if (!path.has_filename() && path.has_parent_path()) path = path.parent_path();
  fs::path real = fs::weakly_canonical(path, ec);
  return ec ? path : real;
}

// The name the copy takes in the folder: the file's own, unless another file holds it; a file
// there with the same bytes already is the copy.
std::string CopyName(const fs::path& folder, const fs::path& file, const std::string& bytes) {
  const std::string stem = file.stem().string(), ext = file.extension().string();
  for (int n = 1;; ++n) {
    std::string name = n == 1 ? file.filename().string() : stem + "-" + std::to_string(n) + ext;
    std::error_code ec;
    if (!fs::exists(folder / name, ec)) return name;
    if (fs::is_regular_file(folder / name, ec) &&
        host::ReadFileBytes((folder / name).string()) == bytes)
      return name;
  }
}

const char* KindName(TFileKind kind) {
  switch (kind) {
    case TFileKind::Wave:
      return "wave";
    case TFileKind::Text:
      return "text file";
    case TFileKind::WordList:
      return "word list";
    case TFileKind::Program:
      return "program";
  }
  return "file";
}

}  // namespace

std::string ProjectFolder(ide::TIToolServices* services) {
  if (services) {
    std::string folder = host::ExtractFilePath(services->GetProjectName());
    if (!folder.empty()) return folder;
  }
  std::error_code ec;
  return fs::current_path(ec).string() + host::PathDelim;
}

std::string NameInside(const std::string& fileName, const std::string& folder) {
  fs::path file(host::NativePath(fileName));
  const std::string relative = host::PathWithin(RealFolder(file.parent_path()).string(),
                                                RealFolder(host::NativePath(folder)).string());
  if (relative.empty()) return {};
  return (fs::path(relative) / file.filename()).lexically_normal().generic_string();
}

std::string TakeIntoProject(const std::string& fileName, TFileKind kind,
                            const std::string& folder) {
  if (std::string inside = NameInside(fileName, folder); !inside.empty()) return inside;
  const fs::path file(host::NativePath(fileName));
  const std::string shown = file.filename().string();
  // Nothing there to copy (a name typed into the picker): kept as named, for the check to tell.
  std::error_code missing;
  if (!fs::is_regular_file(file, missing)) return fileName;
  if (kind == TFileKind::Program &&
      host::MessageDlg("The program " + shown +
                           " lies outside the project folder. Copy it into "
                           "the project, so that the project carries it wherever it goes? (No "
                           "keeps its full path, which another machine may not have.)",
                       host::mtConfirmation, {host::mbYes, host::mbNo}, 0) != host::mrYes)
    return fs::absolute(file).lexically_normal().string();
  const std::string bytes = host::ReadFileBytes(file.string());
  const fs::path target = RealFolder(host::NativePath(folder));
  const std::string name = CopyName(target, file, bytes);
  std::error_code ec;
  if (!fs::exists(target / name, ec)) {
    fs::file_status status = fs::status(file, ec);
    int mode = ec ? 0644 : static_cast<int>(status.permissions() & fs::perms::mask);
    host::WriteFilesTogether({{(target / name).string(), bytes, mode}}, std::string());
  }
  host::ShowMessage(
      "The " + std::string(KindName(kind)) + " " + shown +
      " lies outside the project folder; the project now names a copy of it there: " + name + ".");
  return name;
}

}  // namespace mebrox
