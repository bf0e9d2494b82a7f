#include "view/cue_player.h"

#include <SDL.h>
#include <dlfcn.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstring>

namespace quibbix::view {

// The part of SDL the player uses, looked up in the library once it is loaded. Linking
// it would load SDL and its thirty libraries (sound servers, codecs, display back-ends)
// with every start, sound on or off.
struct SdlApi {
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_CreateThread) CreateThread;
  decltype(&SDL_WaitThread) WaitThread;
  decltype(&SDL_GetNumAudioDevices) GetNumAudioDevices;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_LockAudioDevice) LockAudioDevice;
  decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
  decltype(&SDL_FreeWAV) FreeWAV;
  decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
  decltype(&SDL_ConvertAudio) ConvertAudio;
};

namespace {

// Loaded on first use and kept for the rest of the run; null where the library (or
// one of its functions) is missing.
const SdlApi* loadSdl() {
  static const SdlApi* const api = []() -> const SdlApi* {
    void* lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) return nullptr;
    static SdlApi a;
    bool complete = true;
    const auto get = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
      complete = complete && fn != nullptr;
    };
    get(a.SetHint, "SDL_SetHint");
    get(a.InitSubSystem, "SDL_InitSubSystem");
    get(a.QuitSubSystem, "SDL_QuitSubSystem");
    get(a.CreateThread, "SDL_CreateThread");
    get(a.WaitThread, "SDL_WaitThread");
    get(a.GetNumAudioDevices, "SDL_GetNumAudioDevices");
    get(a.OpenAudioDevice, "SDL_OpenAudioDevice");
    get(a.CloseAudioDevice, "SDL_CloseAudioDevice");
    get(a.GetAudioDeviceStatus, "SDL_GetAudioDeviceStatus");
    get(a.PauseAudioDevice, "SDL_PauseAudioDevice");
    get(a.LockAudioDevice, "SDL_LockAudioDevice");
    get(a.UnlockAudioDevice, "SDL_UnlockAudioDevice");
    get(a.RWFromConstMem, "SDL_RWFromConstMem");
    get(a.LoadWAV_RW, "SDL_LoadWAV_RW");
    get(a.FreeWAV, "SDL_FreeWAV");
    get(a.BuildAudioCVT, "SDL_BuildAudioCVT");
    get(a.ConvertAudio, "SDL_ConvertAudio");
    return complete ? &a : nullptr;
  }();
  return api;
}

// A cue in the device's sample format, or nothing if the image cannot be read
// or converted.
std::vector<std::uint8_t> convert(const SdlApi& sdl, const QByteArray& image,
                                  const SDL_AudioSpec& device) {
  if (image.isEmpty()) return {};
  SDL_AudioSpec wav;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  SDL_RWops* rw = sdl.RWFromConstMem(image.constData(), static_cast<int>(image.size()));
  if (!rw || !sdl.LoadWAV_RW(rw, 1, &wav, &buf, &len)) return {};
  std::vector<std::uint8_t> out;
  SDL_AudioCVT cvt;
  const int built = sdl.BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, device.format,
                                      device.channels, device.freq);
  if (built == 0) {
    out.assign(buf, buf + len);
  } else if (built > 0) {
    std::vector<std::uint8_t> work(static_cast<std::size_t>(len) *
                                   static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(work.data(), buf, len);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(len);
    if (sdl.ConvertAudio(&cvt) == 0) {
      // The work buffer is several times the cue's size (SDL converts through
      // floats); the cue is kept for the whole run, the room it needed is not.
      work.resize(static_cast<std::size_t>(cvt.len_cvt));
      work.shrink_to_fit();
      out = std::move(work);
    }
  }
  sdl.FreeWAV(buf);
  return out;
}

// How often an open stream is checked for having gone quiet.
constexpr std::chrono::milliseconds kIdleCheck{100};

}  // namespace

SdlCuePlayer::SdlCuePlayer(std::chrono::milliseconds idleClose) : idleClose_(idleClose) {}

void SdlCuePlayer::startOpening() {
  if (thread_ != nullptr || sdl_ != nullptr) return;
  sdl_ = loadSdl();
  if (sdl_ == nullptr) return;
  // A thread of SDL's own: SDL frees what it keeps per thread (its error text) only for
  // threads it made.
  thread_ = sdl_->CreateThread(
      [](void* self) {
        static_cast<SdlCuePlayer*>(self)->run();
        return 0;
      },
      "quibbix-sound", this);
}

void SdlCuePlayer::ask(Ask what, int cue) {
  startOpening();
  if (thread_ == nullptr) return;
  {
    const std::lock_guard lock(m_);
    // With the stream open the cue is swapped here and now, under the device lock, as
    // the callback will find it: a cue must not wait for the sound thread to be
    // scheduled on a busy machine.
    if (device_ != 0 && what != Ask::Probe) {
      swapCue(what == Ask::Play ? cue : 0);
      return;
    }
    asked_ = what;
    askedCue_ = cue;
    answered_ = false;
  }
  wake_.notify_all();
}

void SdlCuePlayer::swapCue(int cue) {
  const auto* ready =
      cue >= 1 && cue <= kCues ? &ready_[static_cast<std::size_t>(cue - 1)] : nullptr;
  sdl_->LockAudioDevice(device_);
  current_ = ready != nullptr && !ready->empty() ? ready : nullptr;
  pos_ = 0;
  playing_ = current_ != nullptr;
  sdl_->UnlockAudioDevice(device_);
}

void SdlCuePlayer::play(int n) {
  if (n < 1 || n > kCues) return;
  ask(Ask::Play, n);
}

void SdlCuePlayer::stop() {
  // Nothing can be playing before the thread runs.
  if (thread_ != nullptr) ask(Ask::Stop);
}

bool SdlCuePlayer::hasDevice() {
  ask(Ask::Probe);
  if (thread_ == nullptr) return false;
  std::unique_lock lock(m_);
  wake_.wait(lock, [this] { return answered_; });
  return deviceWorks_;
}

bool SdlCuePlayer::streamOpen() {
  const std::lock_guard lock(m_);
  return open_;
}

void SdlCuePlayer::run() {
  // SDL would turn SIGINT and SIGTERM into quit events that nobody reads here, and the
  // program could then not be ended from outside (at logout, by kill); Qt keeps them.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const bool audio = sdl_->InitSubSystem(SDL_INIT_AUDIO) == 0;
  std::unique_lock lock(m_);
  for (;;) {
    const auto woken = [this] { return quit_ || asked_ != Ask::Nothing; };
    if (device_ != 0)
      wake_.wait_for(lock, kIdleCheck, woken);
    else
      wake_.wait(lock, woken);
    if (quit_) break;
    const Ask what = asked_;
    const int cue = askedCue_;
    asked_ = Ask::Nothing;
    // When the sound server goes away (it crashed, or was restarted), SDL marks the
    // device stopped and goes on feeding it: cues would vanish into it for good. It
    // is given up here, and the next cue opens a device on the server that is there
    // then; while there is none, each cue's attempt fails at once.
    std::uint32_t gone = 0;
    if (device_ != 0 && sdl_->GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED)
      gone = detachDevice();
    lock.unlock();
    if (gone != 0) sdl_->CloseAudioDevice(gone);

    const auto now = std::chrono::steady_clock::now();
    // Opening takes a while (seconds, where a server is only just starting); the
    // callers only wait for it if they asked for it.
    const SDL_AudioDeviceID opened =
        (what == Ask::Play || what == Ask::Probe) && device_ == 0 && audio ? openDevice() : 0;
    lock.lock();
    if (opened != 0) {
      device_ = opened;
      sdl_->PauseAudioDevice(device_, 0);
    }
    if (device_ != 0 && (what == Ask::Play || what == Ask::Stop))
      swapCue(what == Ask::Play ? cue : 0);
    if (device_ != 0 && what != Ask::Nothing) quietSince_ = now;
    std::uint32_t idle = 0;
    if (device_ != 0) {
      sdl_->LockAudioDevice(device_);
      const bool playing = playing_;
      sdl_->UnlockAudioDevice(device_);
      if (playing) quietSince_ = now;
      if (!playing && now - quietSince_ >= idleClose_) idle = detachDevice();
    }
    if (what != Ask::Nothing) {
      deviceWorks_ = device_ != 0;
      answered_ = true;
    }
    open_ = device_ != 0;
    wake_.notify_all();
    // Closing waits for SDL's audio thread to end; no caller waits for that.
    if (idle != 0) {
      lock.unlock();
      sdl_->CloseAudioDevice(idle);
      lock.lock();
    }
  }
  const std::uint32_t last = detachDevice();
  lock.unlock();
  if (last != 0) sdl_->CloseAudioDevice(last);
  if (audio) sdl_->QuitSubSystem(SDL_INIT_AUDIO);
}

std::uint32_t SdlCuePlayer::openDevice() {
  // A backend that cannot tell returns -1; only a firm 0 means there is nothing to open.
  if (sdl_->GetNumAudioDevices(0) == 0) return 0;
  SDL_AudioSpec want{};
  want.freq = 22050;
  // The cues' own format: they are played as they are stored, with no converted
  // copies (SDL converts through floats, with buffers several times a cue's size), and
  // the sound server, or SDL where the device needs another, widens the samples.
  want.format = AUDIO_U8;
  want.channels = 1;
  // About 12 ms per buffer: a cue starts, or is cut off, within one buffer.
  want.samples = 256;
  want.callback = &SdlCuePlayer::fill;
  want.userdata = this;
  SDL_AudioSpec have;
  const SDL_AudioDeviceID id = sdl_->OpenAudioDevice(
      nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (id == 0) return 0;
  // The same server gives the same format every time: the cues are converted
  // once, not at every reopening after a quiet spell, where the first cue waits.
  // The format is always the cues' own 8 bits (it may not change); should the
  // rate or channels ever change, the compiled-in files are read again, as only
  // the converted cues are kept.
  const std::pair<int, int> format{have.freq, have.channels};
  if (convertedFor_ != format) {
    for (int i = 0; i < kCues; ++i) {
      QFile file(QString::asprintf(":/cues/cue%02d.wav", i + 1));
      ready_[i] =
          convert(*sdl_, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), have);
    }
    convertedFor_ = format;
  }
  silence_ = have.silence;
  current_ = nullptr;
  playing_ = false;
  return id;
}

std::uint32_t SdlCuePlayer::detachDevice() {
  const std::uint32_t id = std::exchange(device_, 0);
  if (id == 0) return 0;
  // The callback may run until the device is closed; from here on it plays silence.
  sdl_->LockAudioDevice(id);
  current_ = nullptr;
  playing_ = false;
  sdl_->UnlockAudioDevice(id);
  return id;
}

SdlCuePlayer::~SdlCuePlayer() {
  if (thread_ == nullptr) return;
  {
    const std::lock_guard lock(m_);
    quit_ = true;
  }
  wake_.notify_all();
  sdl_->WaitThread(thread_, nullptr);
}

// SDL holds the device lock while it calls this.
void SdlCuePlayer::fill(void* self, std::uint8_t* stream, int len) {
  auto& p = *static_cast<SdlCuePlayer*>(self);
  auto done = std::size_t{0};
  const auto want = static_cast<std::size_t>(len);
  if (p.current_) {
    done = std::min(want, p.current_->size() - p.pos_);
    std::memcpy(stream, p.current_->data() + p.pos_, done);
    p.pos_ += done;
    if (p.pos_ >= p.current_->size()) {
      p.current_ = nullptr;
      p.playing_ = false;
    }
  }
  std::memset(stream + done, p.silence_, want - done);
}

}  // namespace quibbix::view
