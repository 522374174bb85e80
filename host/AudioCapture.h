#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// Where recordings come from: a device that takes sound in as interleaved signed 16-bit samples.
// The device fills the source on a thread of its own; what it took in waits there, in order,
// until read. Call from one thread only.
class IAudioCapture {
 public:
  virtual ~IAudioCapture() = default;
  // Whether there is a device to record from; when not, ErrorText says so.
  virtual bool Available() = 0;
  // Starts a take at rate frames a second of channels samples each; false, with ErrorText set,
  // when the device cannot be opened. What an earlier take left unread is dropped.
  virtual bool Start(int rate, int channels) = 0;
  // Ends the take and lets the device go; what it took in stays readable.
  virtual void Stop() = 0;
  // Frames taken in and not read yet.
  virtual int64_t FramesReady() = 0;
  // Waits until frames frames are ready; false when the device stopped delivering before that.
  // The device works in real time, so this waits on it, never on a clock of ours.
  virtual bool WaitForFrames(int64_t frames) = 0;
  // Moves up to maxFrames ready frames, oldest first, to the end of samples; returns how many.
  virtual int64_t Read(std::vector<int16_t>& samples, int64_t maxFrames) = 0;
  // Why the last Available or Start failed, for people; empty after a success.
  virtual const std::string& ErrorText() const = 0;
};

}  // namespace host
