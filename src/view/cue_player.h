#pragma once
#include <QByteArray>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ports.h"

struct SDL_Thread;

namespace quibbix::view {

// Plays the 18 compiled-in cues through SDL's audio output. The device is
// opened once and runs all the time; its callback (on SDL's own thread) reads
// the current cue and fills silence after it. play() only swaps the cue under
// the device lock, so it returns at once and a new cue cuts the old one off at
// the next buffer.
//
// Opening the device (finding a sound server, converting the cues) takes a
// while: startOpening() lets it run on a thread of its own, and the first call
// that needs the device waits for it (or opens it there, if nobody started it).
//
// Without an output device or sound server everything is silently skipped.
class SdlCuePlayer : public engine::CuePlayer {
 public:
  static constexpr int kCues = 18;

  SdlCuePlayer() = default;
  ~SdlCuePlayer() override;
  SdlCuePlayer(const SdlCuePlayer&) = delete;
  SdlCuePlayer& operator=(const SdlCuePlayer&) = delete;

  // Opens the device on a thread of its own; returns at once.
  void startOpening();
  // Starts cue n (1..18) from its beginning; other values do nothing.
  void play(int n) override;
  // Silences whatever is playing.
  void stop();
  bool hasDevice();

 private:
  static void fill(void* self, std::uint8_t* stream, int len);
  void start();
  void open();
  // Waits until the device is open (or known to be missing).
  void waitOpen();
  void joinOpener();

  bool opened_ = false;
  bool audioInit_ = false;
  std::uint32_t device_ = 0;
  std::uint8_t silence_ = 0;
  // The wave images as compiled in, and the same sound in the device's format.
  std::array<QByteArray, kCues> images_;
  std::array<std::vector<std::uint8_t>, kCues> ready_;
  // Shared with the callback; changed only under the device lock.
  const std::vector<std::uint8_t>* current_ = nullptr;
  std::size_t pos_ = 0;
  // An SDL thread rather than a std::thread: SDL frees what it keeps per thread (its error
  // text) only for threads of its own.
  SDL_Thread* opener_ = nullptr;
};

}  // namespace quibbix::view
