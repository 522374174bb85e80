#pragma once

#include <string>
#include <string_view>

namespace mebrox {

// The run-state file (RunStateFileName) as navigation and the bookmark use it, one key per call.
// It is the application's own file, so nothing about it stops the application: a damaged one is
// set aside as NAME.bad and started afresh with the lines that could be read, and where it
// cannot be read or written the history lives in memory for the rest of the run. Each of these
// is told once.
std::string ReadRunState(std::string_view section, std::string_view key);
void WriteRunState(std::string_view section, std::string_view key, std::string_view value);
void EraseRunStateSection(std::string_view section);

}  // namespace mebrox
