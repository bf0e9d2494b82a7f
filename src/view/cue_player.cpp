#include "view/cue_player.h"

#include <SDL.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstring>

namespace quibbix::view {

namespace {

// A cue in the device's sample format, or nothing if the image cannot be read
// or converted.
std::vector<std::uint8_t> convert(const QByteArray& image, const SDL_AudioSpec& device) {
  if (image.isEmpty()) return {};
  SDL_AudioSpec wav;
  Uint8* buf = nullptr;
  Uint32 len = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(image.constData(), static_cast<int>(image.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &wav, &buf, &len)) return {};
  std::vector<std::uint8_t> out;
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, device.format,
                                      device.channels, device.freq);
  if (built == 0) {
    out.assign(buf, buf + len);
  } else if (built > 0) {
    std::vector<std::uint8_t> work(static_cast<std::size_t>(len) *
                                   static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(work.data(), buf, len);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(len);
    if (SDL_ConvertAudio(&cvt) == 0) {
      work.resize(static_cast<std::size_t>(cvt.len_cvt));
      out = std::move(work);
    }
  }
  SDL_FreeWAV(buf);
  return out;
}

}  // namespace

void SdlCuePlayer::startOpening() {
  if (opened_) return;
  opened_ = true;
  opener_ = SDL_CreateThread(
      [](void* self) {
        static_cast<SdlCuePlayer*>(self)->start();
        return 0;
      },
      "quibbix-sound", this);
  // No thread to be had: open it on the first use instead.
  if (opener_ == nullptr) opened_ = false;
}

void SdlCuePlayer::start() {
  // SDL would turn SIGINT and SIGTERM into quit events that nobody reads here, and the
  // program could then not be ended from outside (at logout, by kill); Qt keeps them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  audioInit_ = true;
  open();
}

void SdlCuePlayer::waitOpen() {
  if (!opened_) {
    opened_ = true;
    start();
  }
  joinOpener();
}

void SdlCuePlayer::joinOpener() {
  if (opener_ == nullptr) return;
  SDL_WaitThread(opener_, nullptr);
  opener_ = nullptr;
}

bool SdlCuePlayer::hasDevice() {
  waitOpen();
  return device_ != 0;
}

void SdlCuePlayer::open() {
  // A backend that cannot tell returns -1; only a firm 0 means there is nothing to open.
  if (SDL_GetNumAudioDevices(0) == 0) return;
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = 22050;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  // About 12 ms per buffer: a cue starts, or is cut off, within one buffer.
  want.samples = 256;
  want.callback = &SdlCuePlayer::fill;
  want.userdata = this;
  SDL_AudioSpec have;
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(
      nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (id == 0) return;
  for (int i = 0; i < kCues; ++i) {
    QFile file(QString::asprintf(":/cues/cue%02d.wav", i + 1));
    if (file.open(QIODevice::ReadOnly)) images_[i] = file.readAll();
    ready_[i] = convert(images_[i], have);
  }
  silence_ = have.silence;
  device_ = id;
  SDL_PauseAudioDevice(id, 0);
}

SdlCuePlayer::~SdlCuePlayer() {
  joinOpener();
  if (device_ != 0) {
    stop();
    SDL_CloseAudioDevice(device_);
  }
  if (audioInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlCuePlayer::play(int n) {
  waitOpen();
  if (n < 1 || n > kCues || device_ == 0) return;
  const auto& cue = ready_[n - 1];
  if (cue.empty()) return;
  SDL_LockAudioDevice(device_);
  current_ = &cue;
  pos_ = 0;
  SDL_UnlockAudioDevice(device_);
}

void SdlCuePlayer::stop() {
  waitOpen();
  if (device_ == 0) return;
  SDL_LockAudioDevice(device_);
  current_ = nullptr;
  pos_ = 0;
  SDL_UnlockAudioDevice(device_);
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
    if (p.pos_ >= p.current_->size()) p.current_ = nullptr;
  }
  std::memset(stream + done, p.silence_, want - done);
}

}  // namespace quibbix::view
