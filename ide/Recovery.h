#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace ide {

// What a design session has not saved, kept outside the project (so that a project folder
// under version control stays clean) where a crash, a kill or a power cut cannot take it.
struct TRecovery {
  std::string ProjectPath;  // absolute
  int64_t Written = 0;      // seconds since the epoch
  // The files a save would write, relative to the project folder, with their bytes.
  std::vector<std::pair<std::string, std::string>> Files;
  // Every file of the project as the session last read or wrote it: relative path and the
  // fingerprint of its bytes, none for a file that did not exist. A project whose files no
  // longer match changed on disk since, and the recovery no longer applies to it.
  std::vector<std::pair<std::string, std::optional<uint64_t>>> Base;
  // The frames whose forms differ from their files, a new one marked " (new)".
  std::vector<std::string> Frames;
};

// A fingerprint of a file's bytes (64-bit FNV-1a): enough to tell that a file changed.
uint64_t Fingerprint(std::string_view bytes);
// The fingerprint of the file at path, or none when there is no such file.
std::optional<uint64_t> FingerprintOfFile(const std::string& path);

// Where recovery files live: $XDG_STATE_HOME/mebrox, else ~/.local/state/mebrox.
std::string RecoveryDirectory();
// The recovery file of the project at that absolute path: named after the project and a
// fingerprint of its path, so that projects of the same name do not meet.
std::string RecoveryFileFor(const std::string& projectPath);

std::string RecoveryText(const TRecovery& recovery);
// Fails with EInOutError naming fileName when the text is not a whole recovery file.
TRecovery ParseRecovery(std::string_view text, const std::string& fileName);
// The first file of recovery.Base that differs on disk now (relative path), or empty when the
// project is still as the recovery found it.
std::string ChangedSince(const TRecovery& recovery);

class TDesignCore;
class TDesignSession;

// Opens a project for design as the studio does. When a recovery file kept changes to it that
// were not saved, the designer is asked, in a message box naming when they were kept and which
// frames they touch: Yes recovers them (unsaved until saved), No discards them, Cancel leaves the
// project closed and them kept for later (null is returned). A recovery file that is damaged, or
// that the project's files no longer match, is set aside beside itself with a notice, never
// applied. The session designs in core.
std::unique_ptr<TDesignSession> OpenForDesign(TDesignCore& core, const std::string& projectFile);

// Writes recovery files, now or on a thread of its own so that the designer never waits for
// the disk. Only the newest of several waiting writes is written; a removal waits for the write
// in progress and drops the waiting one, so that nothing comes back after it.
class TRecoveryWriter {
 public:
  TRecoveryWriter() = default;
  // Finishes the write in progress and the waiting one.
  ~TRecoveryWriter();
  TRecoveryWriter(const TRecoveryWriter&) = delete;
  TRecoveryWriter& operator=(const TRecoveryWriter&) = delete;

  // Replaces the file atomically with the recovery, made into text on the writer's side; its
  // folder is made when missing. In the background a failure is kept for LastError; in the
  // foreground it fails with EInOutError.
  void Write(const std::string& fileName, TRecovery recovery, bool background);
  void Remove(const std::string& fileName);
  // Waits until nothing is being written.
  void Wait();
  // Why the last background write failed; empty when it did not.
  std::string LastError();

 private:
  void Run();
  static void WriteFile(const std::string& fileName, const TRecovery& recovery);

  std::mutex FMutex;
  std::condition_variable FWake, FIdle;
  std::optional<std::pair<std::string, TRecovery>> FPending;
  bool FBusy = false;
  bool FStop = false;
  std::string FError;
  std::thread FThread;
};

}  // namespace ide
