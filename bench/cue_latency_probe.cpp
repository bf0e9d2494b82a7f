// From play() to the cue's first sample at a PulseAudio null sink, through the
// real SDL cue player. The sink's monitor is recorded with parec; the recorded
// stream is mapped to the clock by the earliest moment each block could have
// been produced, so parec's own buffering is not counted.
//
//   PULSE_SERVER=... cue_latency_probe [--plays N] [--closed]
// prints "cue_sink_ms median_ms count" and "cue_received_ms median_ms count" (the
// second includes the recorder's buffering: an upper bound). The cues follow each
// other closely, so the stream stays open between them; with --closed the player
// closes its stream 150 ms after each cue and every cue opens it again, as after a
// pause.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "view/cue_player.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 22050;
constexpr int kCue = 1;
// Above one step of the 8-bit cue (256 after widening to 16 bits).
constexpr int kThreshold = 300;

struct Block {
  Clock::time_point read;  // when the block came out of the pipe
  std::size_t end;         // samples recorded up to its end
};

struct Recording {
  std::mutex m;
  std::vector<std::int16_t> samples;
  std::vector<Block> blocks;
  std::atomic<bool> flowing{false};
};

// Samples of silence at the start of the cue file itself.
double cueLeadMs() {
  QFile f(QStringLiteral(":/cues/cue%1.wav").arg(kCue, 2, 10, QLatin1Char('0')));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray w = f.readAll();
  const auto rate = static_cast<std::uint32_t>(static_cast<std::uint8_t>(w[24])) |
                    static_cast<std::uint32_t>(static_cast<std::uint8_t>(w[25])) << 8;
  for (qsizetype i = 44; i < w.size(); ++i)
    if (std::abs(static_cast<int>(static_cast<std::uint8_t>(w[i])) - 128) > 1)
      return 1000.0 * static_cast<double>(i - 44) / rate;
  return 0;
}

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  int plays = 10;
  bool closed = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plays") == 0 && i + 1 < argc) plays = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--closed") == 0) closed = true;
  }
  QCoreApplication app(argc, argv);

  int pipeFds[2];
  if (pipe(pipeFds) != 0) return 1;
  const pid_t parec = fork();
  if (parec == 0) {
    dup2(pipeFds[1], 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execlp("parec", "parec", "-d", "nullsink.monitor", "--format=s16le", "--rate=22050",
           "--channels=1", "--raw", "--latency-msec=5", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);

  Recording rec;
  std::thread reader([&] {
    std::vector<char> buf(4096);
    std::vector<char> carry;
    for (;;) {
      const ssize_t n = read(pipeFds[0], buf.data(), buf.size());
      if (n <= 0) break;
      const auto now = Clock::now();
      carry.insert(carry.end(), buf.begin(), buf.begin() + n);
      const std::size_t whole = carry.size() / 2;
      std::lock_guard lock(rec.m);
      for (std::size_t i = 0; i < whole; ++i) {
        std::int16_t s;
        std::memcpy(&s, carry.data() + 2 * i, 2);
        rec.samples.push_back(s);
      }
      carry.erase(carry.begin(), carry.begin() + static_cast<std::ptrdiff_t>(2 * whole));
      rec.blocks.push_back({now, rec.samples.size()});
      rec.flowing = true;
    }
  });

  // Closed after a short quiet time instead of the game's, so a run takes seconds.
  constexpr auto kShortQuiet = std::chrono::milliseconds(150);
  quibbix::view::SdlCuePlayer player(closed ? kShortQuiet
                                            : quibbix::view::SdlCuePlayer::kIdleClose);
  int status = 0;
  std::vector<Clock::time_point> calls;
  if (!player.hasDevice()) {
    std::fprintf(stderr, "cue_latency_probe: SDL found no audio device\n");
    status = 1;
  } else {
    // The recorder can take more than a second before data flows.
    const auto start = Clock::now();
    while (!rec.flowing && Clock::now() - start < std::chrono::seconds(10))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (int i = 0; i < plays && status == 0; ++i) {
      if (closed) {
        // Cue 1 lasts under 300 ms; the stream closes 150 ms after it.
        const auto waitFrom = Clock::now();
        while (player.streamOpen() && Clock::now() - waitFrom < std::chrono::seconds(3))
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (player.streamOpen()) {
          std::fprintf(stderr, "cue_latency_probe: the stream did not close\n");
          status = 1;
          break;
        }
        // The server has finished with the old stream too.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
      }
      calls.push_back(Clock::now());
      player.play(kCue);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
  }
  kill(parec, SIGTERM);
  waitpid(parec, nullptr, 0);
  reader.join();
  close(pipeFds[0]);
  if (status != 0) return status;

  // The wall time of sample 0: no block can leave the recorder before its last
  // sample was played, so the earliest estimate over all blocks is the closest.
  Clock::time_point origin = rec.blocks.front().read;
  for (const Block& b : rec.blocks) {
    const auto at = b.read - std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(static_cast<double>(b.end) / kRate));
    origin = std::min(origin, at);
  }
  auto timeOf = [&](std::size_t k) {
    return origin + std::chrono::duration_cast<Clock::duration>(
                        std::chrono::duration<double>(static_cast<double>(k) / kRate));
  };
  const double lead = cueLeadMs();
  std::vector<double> atSink;
  std::vector<double> received;
  for (const auto& call : calls) {
    const double fromOrigin = std::max(0.0, ms(call - origin));
    auto k = static_cast<std::size_t>(fromOrigin * kRate / 1000.0);
    while (k < rec.samples.size() && std::abs(static_cast<int>(rec.samples[k])) <= kThreshold) ++k;
    if (k >= rec.samples.size()) continue;
    atSink.push_back(ms(timeOf(k) - call) - lead);
    const auto block = std::find_if(rec.blocks.begin(), rec.blocks.end(),
                                    [&](const Block& b) { return b.end > k; });
    received.push_back(ms(block->read - call) - lead);
  }
  std::printf("cue_sink_ms %.2f %zu\n", median(atSink), atSink.size());
  std::printf("cue_received_ms %.2f %zu\n", median(received), received.size());
  return atSink.empty() ? 1 : 0;
}
