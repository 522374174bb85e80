// Writing an exported site as a folder, all or nothing.

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "apps/run/WebExport.h"
#include "host/SysUtils.h"

namespace mebrox {

namespace fs = std::filesystem;

namespace {

// True when inner is outer or lies inside it.
bool Within(const fs::path& inner, const fs::path& outer) {
  return !host::PathWithin(inner.string(), outer.string()).empty();
}

fs::path Canonical(const fs::path& path) {
  std::error_code ec;
  fs::path found = fs::weakly_canonical(path, ec);
  return ec ? fs::absolute(path).lexically_normal() : found;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw host::EInOutError("Cannot write " + path.string());
}

}  // namespace

void WriteWebSite(const TWebSite& site, const std::string& target, const std::string& shownName,
                  const std::string& projectFolder, bool force) {
  fs::path dir = fs::absolute(target).lexically_normal();
  if (dir.filename().empty()) dir = dir.parent_path();
  fs::path shown = shownName;
  if (Within(Canonical(projectFolder), Canonical(dir)))
    throw host::EInOutError("Will not publish into " + shown.string() +
                            ": it holds the project itself");
  std::error_code ec;
  fs::file_status status = fs::symlink_status(dir, ec);
  bool exists = status.type() != fs::file_type::not_found && status.type() != fs::file_type::none;
  if (exists && status.type() != fs::file_type::directory)
    throw host::EInOutError(shown.string() + " is there and is not a folder");
  if (exists && !fs::is_empty(dir, ec) && !force)
    throw host::EInOutError(shown.string() +
                            " is not empty; --force replaces it with the published application");

  std::string tag = ".mebrox-tmp-" + std::to_string(::getpid());
  fs::path fresh = dir.parent_path() / ("." + dir.filename().string() + tag);
  fs::path old = dir.parent_path() / ("." + dir.filename().string() + tag + "-old");
  try {
    fs::remove_all(fresh);
    fs::create_directories(fresh);
    for (const TWebFile& file : site.Files) WriteFile(fresh / file.Path, file.Bytes);
    if (exists) fs::rename(dir, old);
    try {
      fs::rename(fresh, dir);
    } catch (...) {
      if (exists) fs::rename(old, dir);
      throw;
    }
    if (exists) fs::remove_all(old, ec);
  } catch (const fs::filesystem_error& e) {
    fs::remove_all(fresh, ec);
    throw host::EInOutError("Cannot publish to " + shown.string() + ": " + e.code().message());
  } catch (...) {
    fs::remove_all(fresh, ec);
    throw;
  }
}

}  // namespace mebrox
