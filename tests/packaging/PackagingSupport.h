#pragma once

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ProcessSupport.h"

namespace testing_support {

// A command's result as one text for a failure message: its exit code and what it said.
inline std::string Described(const TProcessResult& r) {
  return "exit " + std::to_string(r.ExitCode) + "\n" + r.Out + r.Err;
}

// The value of KEY=VALUE in a desktop entry's or a control file's lines; empty when none.
inline std::string KeyValue(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  return {};
}

// Width and height of a PNG file, from its header; zero when it is no PNG.
inline std::pair<int, int> PngSize(const std::string& path) {
  std::string bytes = ReadFile(path);
  if (bytes.size() < 24 || !bytes.starts_with("\x89PNG\r\n\x1a\n")) return {0, 0};
  auto number = [&](size_t at) {
    int n = 0;
    for (size_t i = at; i < at + 4; ++i) n = n * 256 + static_cast<unsigned char>(bytes[i]);
    return n;
  };
  return {number(16), number(20)};
}

// Sets environment variables for the lifetime of the object, and puts back what was there.
class TScopedEnvironment {
 public:
  void Set(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    FSaved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  ~TScopedEnvironment() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

}  // namespace testing_support
