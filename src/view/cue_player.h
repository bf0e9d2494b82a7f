#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "engine/cues.h"
#include "engine/ports.h"

struct SDL_Thread;

namespace quibbix::view {

struct SdlApi;

// Plays the 18 compiled-in cues through SDL's audio output.
//
// Silence costs nothing: SDL (and the sound server's client library with it) is loaded
// only when sound is first wanted, and the output stream exists only while cues play.
// A thread of SDL's own opens the device when a cue is due and closes it again once
// nothing has played for the idle time, so a paused game, a finished one or one with
// sound off leaves the sound server nothing to do. The device's callback (on SDL's
// audio thread) reads the current cue and fills silence after it; play() only hands
// the cue over, so it returns at once and a new cue cuts the old one off at the next
// buffer.
//
// A device lost with its sound server is noticed within the idle check and given up;
// the next cue opens one on the server that is there then.
//
// Without SDL, an output device or a sound server everything is silently skipped.
class SdlCuePlayer : public engine::CuePlayer {
 public:
  static constexpr int kCues = engine::kCues;
  // A running game plays a cue every two seconds; the stream stays open between them.
  static constexpr std::chrono::milliseconds kIdleClose{5000};

  explicit SdlCuePlayer(std::chrono::milliseconds idleClose = kIdleClose);
  ~SdlCuePlayer() override;
  SdlCuePlayer(const SdlCuePlayer&) = delete;
  SdlCuePlayer& operator=(const SdlCuePlayer&) = delete;

  // Loads SDL and starts the sound thread, without opening a device; returns soon.
  void startOpening();
  // Starts cue n (1..18) from its beginning; other values do nothing.
  void play(int n) override;
  // Silences whatever is playing.
  void stop();
  // Whether a device can be opened: opens it now if it is closed and waits for the
  // answer. It closes again after the idle time like after any cue.
  bool hasDevice();
  // Whether the output stream is open this moment.
  bool streamOpen();

 private:
  enum class Ask { Nothing, Play, Stop, Probe };
  static void fill(void* self, std::uint8_t* stream, int len);
  void run();
  // Opens a device, paused; 0 when there is none.
  std::uint32_t openDevice();
  // Makes cue n (0: none) the one the callback plays; with m_ held and a device open.
  void swapCue(int cue);
  // Takes the device from the callers, with m_ held: they no longer touch it, and it
  // is closed without m_, so that no cue call waits for that. Returns it (0: none).
  std::uint32_t detachDevice();
  void ask(Ask what, int cue = 0);

  const std::chrono::milliseconds idleClose_;
  const SdlApi* sdl_ = nullptr;
  SDL_Thread* thread_ = nullptr;

  // Between the callers and the sound thread.
  std::mutex m_;
  std::condition_variable wake_;
  Ask asked_ = Ask::Nothing;
  int askedCue_ = 0;
  bool quit_ = false;
  bool answered_ = false;
  bool deviceWorks_ = false;
  bool open_ = false;

  // Changed by the sound thread under m_; the cue under the device lock too.
  std::uint32_t device_ = 0;
  std::uint8_t silence_ = 0;
  std::chrono::steady_clock::time_point quietSince_;
  std::array<std::vector<std::uint8_t>, kCues> ready_;
  // The device's rate and channels the cues in ready_ are converted for: they
  // are converted again only when a reopened device differs.
  std::optional<std::pair<int, int>> convertedFor_;
  const std::vector<std::uint8_t>* current_ = nullptr;
  std::size_t pos_ = 0;
  bool playing_ = false;
};

}  // namespace quibbix::view
