#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/TestSupport.h"

extern char** environ;

namespace testing_support {

struct TProcessResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// Runs program with args in directory dir, input as its standard input, as a user would start it.
inline TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& dir, const std::string& input = "") {
  TempDir io;
  WriteFile(io.File("in"), input);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, io.File("in").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, io.File("out").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, io.File("err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  TProcessResult result;
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
  result.Out = ReadFile(io.File("out"));
  result.Err = ReadFile(io.File("err"));
  return result;
}

}  // namespace testing_support
