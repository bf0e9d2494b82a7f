// Real playback: each test starts a private PulseAudio server with a null sink,
// records the sink's monitor with parec and checks what the player put out and
// when. Recorded samples are counted from the moment parec delivered its first
// bytes, so "the recording held N samples when play() was called" is a clock
// that runs with the sink; an onset measured against it includes parec's own
// capture delay and is therefore an upper bound on the player's delay.
// On a busy machine the server may run short and insert moments of silence;
// the comparisons remove those (see withoutGaps) rather than fail on them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "view/cue_player.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kRate = 22050;       // rate of the recording
constexpr double kLoud = 0.02;     // above this a sample counts as sound
constexpr double kSilent = 0.004;  // below this everywhere a stretch counts as silent
constexpr int kMs = kRate / 1000;  // samples per millisecond, rounded down

std::size_t samplesIn(Clock::duration d) {
  return static_cast<std::size_t>(std::chrono::duration<double>(d).count() * kRate);
}
double ms(std::size_t samples) { return static_cast<double>(samples) * 1000.0 / kRate; }

std::string findProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path p = fs::path(dir) / name;
    if (::access(p.c_str(), X_OK) == 0) return p;
  }
  return {};
}

// Starts a child with the current environment plus `extra` (NAME=value), its
// stdout on `out` and stderr on `err`. The child is killed if this process dies.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra, int out,
            int err) {
  std::vector<std::string> env(extra);
  for (char** e = environ; *e; ++e) {
    const std::string var(*e);
    bool replaced = false;
    for (const auto& x : extra)
      replaced |= var.substr(0, var.find('=') + 1) == x.substr(0, x.find('=') + 1);
    if (!replaced) env.push_back(var);
  }
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execve(args[0], args.data(), envp.data());
    ::_exit(127);
  }
  return pid;
}

// Ends a child with `signal` and waits for it; a hard kill after `grace`.
void endWith(pid_t& pid, int signal, std::chrono::seconds grace = 10s) {
  if (pid <= 0) return;
  ::kill(pid, signal);
  const auto limit = Clock::now() + grace;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > limit) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(5ms);
  }
  pid = -1;
}

// Ends a child by its id: a polite signal first, then a hard one.
void end(pid_t& pid) { endWith(pid, SIGTERM, 5s); }

// Whether a server listens on the socket at `path`.
bool accepts(const fs::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

std::string fileText(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Waits until `path` accepts connections; empty on success, otherwise why not.
std::string awaitSocket(const fs::path& path, const std::vector<pid_t*>& servers,
                        const fs::path& log) {
  const auto limit = Clock::now() + 15s;
  while (!accepts(path)) {
    for (pid_t* pid : servers) {
      int status = 0;
      if (*pid > 0 && ::waitpid(*pid, &status, WNOHANG) == *pid) {
        *pid = -1;
        return "a server exited at start:\n" + fileText(log);
      }
    }
    if (Clock::now() > limit) return path.string() + " did not open:\n" + fileText(log);
    std::this_thread::sleep_for(10ms);
  }
  return {};
}

fs::path makePrivateDir() {
  char tmpl[] = "/tmp/quibbix-audio-XXXXXX";
  if (!::mkdtemp(tmpl)) return {};
  const fs::path dir = tmpl;
  for (const char* sub : {"run", "home", "config"}) {
    fs::create_directory(dir / sub);
    fs::permissions(dir / sub, fs::perms::owner_all, fs::perm_options::replace);
  }
  return dir;
}

// A sound server a test can end the hard way and bring back, as a desktop's
// session manager does after a crash.
class SoundServer {
 public:
  virtual ~SoundServer() = default;
  // Empty on success, otherwise why it failed. Also brings the server back after end().
  virtual std::string start() = 0;
  // Ends every process of the server with `signal` and waits until they are gone.
  virtual void end(int signal) = 0;
  // What a client puts in PULSE_SERVER.
  virtual std::string address() const = 0;
  // When the socket of address() last began to accept connections.
  Clock::time_point listening() const { return listening_; }

 protected:
  Clock::time_point listening_;
};

// A PulseAudio daemon with only a null sink, in a private folder of its own.
class PulseServer : public SoundServer {
 public:
  ~PulseServer() override { stop(); }

  // Empty on success, otherwise why it failed.
  std::string start(const std::string& program) {
    program_ = program;
    return start();
  }
  std::string start() override {
    if (dir_.empty()) {
      dir_ = makePrivateDir();
      if (dir_.empty()) return "cannot make a temporary folder";
      std::ofstream(dir_ / "null.pa")
          << "load-module module-null-sink sink_name=nullsink\n"
          << "load-module module-native-protocol-unix socket=" << (dir_ / "native").string()
          << " auth-anonymous=1\n"
          << "set-default-sink nullsink\n";
    }
    const int log = ::open((dir_ / "pulse.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_ = spawn({program_, "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no", "-F", (dir_ / "null.pa").string()},
                 {"XDG_RUNTIME_DIR=" + (dir_ / "run").string(), "HOME=" + (dir_ / "home").string()},
                 log, log);
    ::close(log);
    // Ready when its socket accepts a connection.
    const std::string why = awaitSocket(dir_ / "native", {&pid_}, dir_ / "pulse.log");
    listening_ = Clock::now();
    return why;
  }
  void end(int signal) override { endWith(pid_, signal); }

  void stop() {
    ::end(pid_);
    if (!dir_.empty()) {
      std::error_code ec;
      fs::remove_all(dir_, ec);
      dir_.clear();
    }
  }

  std::string address() const override { return "unix:" + (dir_ / "native").string(); }
  const fs::path& dir() const { return dir_; }

 private:
  std::string program_ = "pulseaudio";
  fs::path dir_;
  pid_t pid_ = -1;
};

// PipeWire as Debian's GNOME runs it: the server, its session manager and the
// PulseAudio protocol server, with a null sink and no card, on a private session
// bus (the session manager does not start without one).
class PipeWireServer : public SoundServer {
 public:
  ~PipeWireServer() override { stop(); }

  // Why PipeWire cannot run here, or empty.
  static std::string missing() {
    for (const char* p : {"pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon", "pactl"})
      if (findProgram(p).empty()) return std::string(p) + " is missing (see scripts/setup.sh)";
    return {};
  }

  std::string start() override {
    if (dir_.empty()) {
      dir_ = makePrivateDir();
      if (dir_.empty()) return "cannot make a temporary folder";
      const fs::path conf = dir_ / "config" / "pipewire" / "pipewire.conf.d";
      fs::create_directories(conf);
      std::ofstream(conf / "null-sink.conf")
          << "context.objects = [\n"
          << "  { factory = adapter\n"
          << "    args = { factory.name = support.null-audio-sink node.name = nullsink\n"
          << "             media.class = \"Audio/Sink\" audio.position = [ FL FR ]\n"
          << "             monitor.channel-volumes = true } }\n"
          << "]\n";
      const int log = openLog();
      bus_ = spawn({findProgram("dbus-daemon"), "--session", "--nofork",
                    "--address=unix:path=" + (dir_ / "run" / "bus").string()},
                   env(), log, log);
      ::close(log);
      if (auto why = awaitSocket(dir_ / "run" / "bus", {&bus_}, dir_ / "server.log"); !why.empty())
        return why;
    }
    const int log = openLog();
    pipewire_ = spawn({findProgram("pipewire")}, env(), log, log);
    std::string why = awaitSocket(dir_ / "run" / "pipewire-0", {&pipewire_}, dir_ / "server.log");
    if (why.empty()) {
      wireplumber_ = spawn({findProgram("wireplumber")}, env(), log, log);
      pulse_ = spawn({findProgram("pipewire-pulse")}, env(), log, log);
      why = awaitSocket(dir_ / "run" / "pulse" / "native", {&pipewire_, &wireplumber_, &pulse_},
                        dir_ / "server.log");
      listening_ = Clock::now();
    }
    ::close(log);
    // Streams are linked once the session manager has chosen the null sink. A client
    // that comes while it is still starting may stall the server for half a minute,
    // so the recorder waits for this.
    const auto limit = Clock::now() + 15s;
    while (why.empty() && !sinkChosen())
      if (Clock::now() > limit)
        why = "the session manager chose no sink:\n" + fileText(dir_ / "server.log");
    return why;
  }

  void end(int signal) override {
    for (pid_t* pid : {&pulse_, &wireplumber_, &pipewire_})
      if (*pid > 0) ::kill(*pid, signal);
    for (pid_t* pid : {&pulse_, &wireplumber_, &pipewire_}) endWith(*pid, signal);
  }

  void stop() {
    end(SIGTERM);
    ::end(bus_);
    if (!dir_.empty()) {
      std::error_code ec;
      fs::remove_all(dir_, ec);
      dir_.clear();
    }
  }

  std::string address() const override {
    return "unix:" + (dir_ / "run" / "pulse" / "native").string();
  }

 private:
  std::vector<std::string> env() const {
    const std::string run = (dir_ / "run").string();
    return {"XDG_RUNTIME_DIR=" + run,
            "PIPEWIRE_RUNTIME_DIR=" + run,
            "XDG_CONFIG_HOME=" + (dir_ / "config").string(),
            "HOME=" + (dir_ / "home").string(),
            "DBUS_SESSION_BUS_ADDRESS=unix:path=" + run + "/bus",
            "PULSE_SERVER=" + address()};
  }
  int openLog() const {
    return ::open((dir_ / "server.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  }
  bool sinkChosen() const {
    const std::string cmd =
        "PULSE_SERVER=" + address() + " " + findProgram("pactl") + " info 2>/dev/null";
    FILE* out = ::popen(cmd.c_str(), "r");
    if (out == nullptr) return false;
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    ::pclose(out);
    if (text.find("Default Sink: nullsink\n") != std::string::npos) return true;
    std::this_thread::sleep_for(20ms);
    return false;
  }

  fs::path dir_;
  pid_t bus_ = -1, pipewire_ = -1, wireplumber_ = -1, pulse_ = -1;
};

// parec on the null sink's monitor: 16-bit mono at kRate, collected by a thread.
class Recording {
 public:
  ~Recording() { stop(); }

  std::string start(const std::string& program, const std::string& server) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    pid_ = spawn({program, "-d", "nullsink.monitor", "--format=s16le",
                  "--rate=" + std::to_string(kRate), "--channels=1", "--raw", "--latency-msec=40"},
                 {"PULSE_SERVER=" + server}, fds[1], 2);
    ::close(fds[1]);
    fd_ = fds[0];
    reader_ = std::thread([this] { read(); });
    if (!waitFor(1, 15s)) return "parec delivered nothing";
    return {};
  }

  void stop() {
    end(pid_);
    if (reader_.joinable()) reader_.join();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  std::size_t count() {
    std::lock_guard lock(m_);
    return samples_.size();
  }
  bool waitFor(std::size_t n, Clock::duration limit) {
    std::unique_lock lock(m_);
    return cv_.wait_for(lock, limit, [&] { return samples_.size() >= n || done_; }) &&
           samples_.size() >= n;
  }
  std::vector<double> samples() {
    std::lock_guard lock(m_);
    return samples_;
  }

 private:
  void read() {
    unsigned char buf[4096];
    int odd = -1;  // a low byte still waiting for its high byte
    for (;;) {
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      std::lock_guard lock(m_);
      for (ssize_t i = 0; i < n; ++i) {
        if (odd < 0) {
          odd = buf[i];
        } else {
          const auto v = static_cast<std::int16_t>(odd | buf[i] << 8);
          samples_.push_back(v / 32768.0);
          odd = -1;
        }
      }
      cv_.notify_all();
    }
    std::lock_guard lock(m_);
    done_ = true;
    cv_.notify_all();
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  std::thread reader_;
  std::mutex m_;
  std::condition_variable cv_;
  std::vector<double> samples_;
  bool done_ = false;
};

// Cue n as it should sound at kRate, read straight from the compiled-in file.
std::vector<double> cueSignal(int n) {
  QFile file(QString::asprintf(":/cues/cue%02d.wav", n));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray w = file.readAll();
  auto le = [&](qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(w[at + i]);
    return v;
  };
  std::uint32_t rate = 0;
  std::vector<double> raw;
  for (qsizetype at = 12; at + 8 <= w.size();) {
    const auto len = static_cast<qsizetype>(le(at + 4));
    if (w.mid(at, 4) == "fmt ") rate = le(at + 12);
    if (w.mid(at, 4) == "data")
      for (qsizetype i = 0; i < len; ++i)
        raw.push_back((static_cast<std::uint8_t>(w[at + 8 + i]) - 128) / 128.0);
    at += 8 + len + (len & 1);
  }
  if (rate == kRate) return raw;
  std::vector<double> up;  // 11025 Hz: every other sample interpolated
  for (std::size_t i = 0; i < raw.size(); ++i) {
    up.push_back(raw[i]);
    up.push_back(i + 1 < raw.size() ? (raw[i] + raw[i + 1]) / 2 : raw[i] / 2);
  }
  return up;
}

std::size_t firstLoud(const std::vector<double>& x, std::size_t from) {
  for (std::size_t i = from; i < x.size(); ++i)
    if (std::abs(x[i]) > kLoud) return i;
  return x.size();
}
std::size_t lastLoud(const std::vector<double>& x, std::size_t from, std::size_t to) {
  std::size_t last = from;
  for (std::size_t i = from; i < std::min(to, x.size()); ++i)
    if (std::abs(x[i]) > kLoud) last = i;
  return last;
}
double peak(const std::vector<double>& x, std::size_t from, std::size_t to) {
  double p = 0;
  for (std::size_t i = from; i < std::min(to, x.size()); ++i) p = std::max(p, std::abs(x[i]));
  return p;
}
// Where the cue t begins in x after `mark`: its first loud sample, less the
// fade-in before the cue's own first loud sample. x.size() if nothing is heard.
std::size_t cueStart(const std::vector<double>& x, std::size_t mark, const std::vector<double>& t) {
  const std::size_t onset = firstLoud(x, mark), lead = firstLoud(t, 0);
  return onset < x.size() ? std::max(mark, onset - std::min(onset, lead)) : x.size();
}
// Normalised correlation of x[at...] with t[from...] over len samples: 1 is the same shape.
double similarity(const std::vector<double>& x, std::size_t at, const std::vector<double>& t,
                  std::size_t from, std::size_t len) {
  double xy = 0, xx = 0, yy = 0;
  for (std::size_t i = 0; i < len && at + i < x.size() && from + i < t.size(); ++i) {
    xy += x[at + i] * t[from + i];
    xx += x[at + i] * x[at + i];
    yy += t[from + i] * t[from + i];
  }
  return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
}
// Where in [lo, hi] the start of t lines up best with x.
std::size_t bestStart(const std::vector<double>& x, const std::vector<double>& t, std::size_t lo,
                      std::size_t hi, std::size_t len) {
  std::size_t best = lo;
  double score = -2;
  for (std::size_t at = lo; at <= hi; ++at) {
    const double s = similarity(x, at, t, 0, len);
    if (s > score) score = s, best = at;
  }
  return best;
}

// Loudness over time: RMS of 5 ms windows of x[from, from + len).
std::vector<double> envelope(const std::vector<double>& x, std::size_t from, std::size_t len) {
  const std::size_t w = 5 * kMs;
  std::vector<double> e;
  for (std::size_t k = 0; k + w <= len; k += w) {
    double sum = 0;
    for (std::size_t i = from + k; i < std::min(from + k + w, x.size()); ++i) sum += x[i] * x[i];
    e.push_back(std::sqrt(sum / static_cast<double>(w)));
  }
  return e;
}
double correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const std::size_t n = std::min(a.size(), b.size());
  double ma = 0, mb = 0;
  for (std::size_t i = 0; i < n; ++i)
    ma += a[i] / static_cast<double>(n), mb += b[i] / static_cast<double>(n);
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < n; ++i) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}
// Whether the recording from `at` rises and falls like t[0, len). Loudness is
// compared rather than the wave itself: on a loaded machine the server may
// drop or delay a few milliseconds, which would throw a wave comparison off
// for the rest of the cue but leaves the loudness contour intact. Another cue,
// a cue cut short or one that goes on too long does not match.
::testing::AssertionResult soundsLike(const std::vector<double>& x, std::size_t at,
                                      const std::vector<double>& t, std::size_t len) {
  const auto want = envelope(t, 0, len);
  double best = -2;
  for (std::size_t d = 0; d <= 20 * kMs; d += kMs / 2) {  // slack for the onset's own jitter
    best = std::max(best, correlation(envelope(x, at + d, len), want));
    if (at >= d) best = std::max(best, correlation(envelope(x, at - d, len), want));
  }
  if (best > 0.85) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "loudness contour correlates only " << best;
}

// x[from, to) without its stretches of exact silence of 1 ms or more. When the
// server runs short of data it plays exact silence and then goes on where the
// stream left off; removing such stretches (and the cue's own pauses, from the
// cue alike) compares what was heard without counting those gaps against the
// player.
std::vector<double> withoutGaps(const std::vector<double>& x, std::size_t from, std::size_t to) {
  std::vector<double> out;
  to = std::min(to, x.size());
  for (std::size_t i = from; i < to;) {
    std::size_t j = i;
    while (j < to && x[j] == 0.0) ++j;
    if (j - i < static_cast<std::size_t>(kMs)) out.insert(out.end(), x.begin() + i, x.begin() + j);
    if (j < to) out.push_back(x[j]);
    i = j + 1;
  }
  return out;
}

// The game's animations busy-wait on the GUI thread; the player must not need it.
void busyWait(Clock::time_point until) {
  while (Clock::now() < until) {
  }
}

class PlayerOnServer : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string pulseaudio = findProgram("pulseaudio"), parec = findProgram("parec");
    ASSERT_FALSE(pulseaudio.empty()) << "pulseaudio is missing (Debian package pulseaudio)";
    ASSERT_FALSE(parec.empty()) << "parec is missing (Debian package pulseaudio-utils)";
    const std::string why = server_.start(pulseaudio);
    ASSERT_TRUE(why.empty()) << why;
    const std::string why2 = rec_.start(parec, server_.address());
    ASSERT_TRUE(why2.empty()) << why2;
    ::setenv("PULSE_SERVER", server_.address().c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    player_ = std::make_unique<quibbix::view::SdlCuePlayer>();
    // Opened beside the caller, as the game does once its first picture is up.
    player_->startOpening();
    ASSERT_TRUE(player_->hasDevice()) << "the player found no output on the private server";
  }
  void TearDown() override {
    player_.reset();
    rec_.stop();
    server_.stop();
  }

  // Plays cue n, then busy-waits `hold` from the call; returns the recording
  // position at the call.
  std::size_t playAndHold(int n, Clock::duration hold) {
    const std::size_t mark = rec_.count();
    const auto t = Clock::now();
    player_->play(n);
    busyWait(t + hold);
    return mark;
  }
  // The recording once it reaches `n` samples.
  std::vector<double> recordingUpTo(std::size_t n) {
    EXPECT_TRUE(rec_.waitFor(n, 20s)) << "the recording stalled";
    return rec_.samples();
  }

  PulseServer server_;
  Recording rec_;
  std::unique_ptr<quibbix::view::SdlCuePlayer> player_;
};

TEST_F(PlayerOnServer, CueIsHeardAtOnceAndToItsEnd) {
  const auto fanfare = cueSignal(12);
  ASSERT_FALSE(fanfare.empty());
  const std::size_t mark = playAndHold(12, 2s);
  const auto x = recordingUpTo(mark + fanfare.size() + kRate);

  const std::size_t start = cueStart(x, mark, fanfare);
  ASSERT_LT(start, x.size()) << "nothing was heard";
  std::printf("cue 12: first sample %.1f ms after play()\n", ms(start - mark));
  RecordProperty("latency_ms", static_cast<int>(ms(start - mark)));
  // Heard while the GUI thread still busy-waits: the player needs no event loop. How
  // soon exactly is a figure of scripts/perf.sh; a loaded machine must not fail this.
  EXPECT_LT(ms(start - mark), 500.0);

  // All of it and nothing after it: the fanfare's contour, its last sound where
  // the fanfare's is, then silence.
  const auto heard = withoutGaps(x, start, x.size()), cue = withoutGaps(fanfare, 0, fanfare.size());
  EXPECT_TRUE(soundsLike(heard, 0, cue, cue.size()));
  EXPECT_NEAR(ms(lastLoud(heard, 0, heard.size())), ms(lastLoud(cue, 0, cue.size())), 20.0);
}

TEST_F(PlayerOnServer, NewCueCutsTheOldOneOff) {
  const auto tune = cueSignal(18), chime = cueSignal(8);
  const std::size_t mark = rec_.count();
  const auto t0 = Clock::now();
  player_->play(18);
  busyWait(t0 + 200ms);
  const std::size_t mark2 = rec_.count();
  player_->play(8);
  busyWait(t0 + 2200ms);
  const auto x = recordingUpTo(mark + samplesIn(3000ms));

  const std::size_t a = cueStart(x, mark, tune);
  ASSERT_LT(a, x.size()) << "nothing was heard";
  // The chime's wave is looked for anywhere in the first second of the tune.
  const std::size_t b = bestStart(x, chime, a, a + kRate, chime.size());
  std::printf("tune %.1f ms, chime %.1f ms after its play()\n", ms(a - mark), ms(b - mark2));
  EXPECT_GT(similarity(x, b, chime, 0, chime.size()), 0.8) << "no chime in the recording";
  EXPECT_GE(b, mark2);
  EXPECT_LT(ms(b - mark2), 50.0) << "the second cue did not start when it was played";

  // Up to the cut the first cue, from it the second, then silence where the
  // first would have gone on for another 1.6 s.
  const auto before = withoutGaps(x, a, b), tuneHeard = withoutGaps(tune, 0, tune.size());
  EXPECT_TRUE(soundsLike(before, 0, tuneHeard, before.size() - 10 * kMs));
  const auto after = withoutGaps(x, b, x.size()), chimeHeard = withoutGaps(chime, 0, chime.size());
  EXPECT_TRUE(soundsLike(after, 0, chimeHeard, chimeHeard.size()));
  EXPECT_LT(peak(after, chimeHeard.size() + 20 * kMs, after.size()), kSilent);
}

TEST_F(PlayerOnServer, StopSilencesThePlayingCue) {
  const auto fanfare = cueSignal(12);
  const std::size_t mark = rec_.count();
  const auto t0 = Clock::now();
  player_->play(12);
  busyWait(t0 + 300ms);
  const std::size_t cut = rec_.count();
  player_->stop();
  const auto x = recordingUpTo(mark + fanfare.size() + kRate);

  const std::size_t a = cueStart(x, mark, fanfare);
  ASSERT_LT(a, x.size()) << "nothing was heard";
  // Up to the stop call the fanfare was heard; after it at most what was
  // already on its way to the server.
  const auto cue = withoutGaps(fanfare, 0, fanfare.size());
  const auto before = withoutGaps(x, a, cut), after = withoutGaps(x, cut, x.size());
  EXPECT_TRUE(soundsLike(before, 0, cue, before.size()));
  EXPECT_LT(peak(after, 50 * kMs, after.size()), kSilent);
}

TEST_F(PlayerOnServer, NothingIsHeardWithoutACue) {
  const std::size_t mark = rec_.count();
  for (int n : {0, -1, quibbix::engine::kCues + 1, 1000}) player_->play(n);  // not cues: ignored
  const auto x = recordingUpTo(mark + kRate);
  EXPECT_LT(peak(x, mark, mark + kRate), kSilent);
}

// The streams the server holds for its clients this moment.
int streamsOnServer() {
  const std::string pactl = findProgram("pactl");
  FILE* out = ::popen((pactl + " list short sink-inputs 2>/dev/null").c_str(), "r");
  if (out == nullptr) return -1;
  int lines = 0;
  for (int c; (c = std::fgetc(out)) != EOF;) lines += c == '\n';
  return ::pclose(out) == 0 ? lines : -1;
}

bool waitUntil(const std::function<bool()>& done, Clock::duration limit = 20s) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// Silence costs the server nothing: no stream before the first cue and none once the
// player has been quiet for its idle time; a cue from a closed stream is heard at once
// and in full.
TEST_F(PlayerOnServer, StreamIsOpenOnlyWhileCuesPlay) {
  ASSERT_FALSE(findProgram("pactl").empty())
      << "pactl is missing (Debian package pulseaudio-utils)";
  player_ = std::make_unique<quibbix::view::SdlCuePlayer>(300ms);
  player_->startOpening();
  EXPECT_TRUE(waitUntil([] { return streamsOnServer() == 0; })) << "a stream without a cue";
  EXPECT_FALSE(player_->streamOpen());

  const auto fanfare = cueSignal(12);
  for (const char* round : {"first cue", "cue after the stream closed"}) {
    SCOPED_TRACE(round);
    const std::size_t mark = playAndHold(12, 100ms);
    EXPECT_EQ(streamsOnServer(), 1) << "no stream while the cue plays";
    EXPECT_TRUE(waitUntil([&] { return !player_->streamOpen(); }))
        << "the stream stays open after the cue";
    EXPECT_TRUE(waitUntil([] { return streamsOnServer() == 0; })) << "the server keeps a stream";

    const auto x = recordingUpTo(mark + fanfare.size() + kRate / 2);
    const std::size_t start = cueStart(x, mark, fanfare);
    ASSERT_LT(start, x.size()) << "nothing was heard";
    std::printf("%s: first sample %.1f ms after play()\n", round, ms(start - mark));
    EXPECT_LT(ms(start - mark), 500.0);
    const auto heard = withoutGaps(x, start, x.size());
    const auto cue = withoutGaps(fanfare, 0, fanfare.size());
    EXPECT_TRUE(soundsLike(heard, 0, cue, cue.size()));
    EXPECT_NEAR(ms(lastLoud(heard, 0, heard.size())), ms(lastLoud(cue, 0, cue.size())), 20.0);
  }
}

// A game in progress on a thread of its own, as on the GUI thread: a short cue
// every 200 ms. Notes how long the longest call took.
class Game {
 public:
  explicit Game(quibbix::view::SdlCuePlayer& player) : player_(player) {
    thread_ = std::thread([this] { run(); });
  }
  ~Game() { stop(); }
  int calls() {
    const std::lock_guard lock(m_);
    return calls_;
  }
  // Ends the game; the longest call in milliseconds.
  double stop() {
    {
      const std::lock_guard lock(m_);
      over_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    return std::chrono::duration<double, std::milli>(longest_).count();
  }

 private:
  void run() {
    std::unique_lock lock(m_);
    while (!over_) {
      lock.unlock();
      const auto t = Clock::now();
      player_.play(1);
      const auto took = Clock::now() - t;
      lock.lock();
      longest_ = std::max(longest_, took);
      ++calls_;
      cv_.wait_for(lock, 200ms, [this] { return over_; });
    }
  }

  quibbix::view::SdlCuePlayer& player_;
  std::mutex m_;
  std::condition_variable cv_;
  bool over_ = false;
  int calls_ = 0;
  Clock::duration longest_{};
  std::thread thread_;
};

struct Restart {
  const char* server;  // "PipeWire" or "PulseAudio"
  int signal;
};

class PlayerAcrossRestart : public ::testing::TestWithParam<Restart> {};

// The sound server goes away in the middle of a game (it crashed, or the desktop
// restarted it) and comes back: the player must not go on feeding the stream that
// died with it. The game keeps playing cues meanwhile, and none of its calls waits
// for the server.
TEST_P(PlayerAcrossRestart, CuesAreHeardAgainOnceTheServerIsBack) {
  const Restart how = GetParam();
  const std::string parec = findProgram("parec");
  ASSERT_FALSE(parec.empty()) << "parec is missing (Debian package pulseaudio-utils)";
  std::unique_ptr<SoundServer> server;
  std::string why;
  if (std::string(how.server) == "PipeWire") {
    why = PipeWireServer::missing();
    ASSERT_TRUE(why.empty()) << why;
    server = std::make_unique<PipeWireServer>();
    why = server->start();
  } else {
    const std::string pulseaudio = findProgram("pulseaudio");
    ASSERT_FALSE(pulseaudio.empty()) << "pulseaudio is missing (Debian package pulseaudio)";
    auto pulse = std::make_unique<PulseServer>();
    why = pulse->start(pulseaudio);
    server = std::move(pulse);
  }
  ASSERT_TRUE(why.empty()) << why;
  auto rec = std::make_unique<Recording>();
  why = rec->start(parec, server->address());
  ASSERT_TRUE(why.empty()) << why;
  ::setenv("PULSE_SERVER", server->address().c_str(), 1);
  ::setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
  quibbix::view::SdlCuePlayer player;
  player.startOpening();
  ASSERT_TRUE(player.hasDevice()) << "the player found no output on the private server";

  const auto heardSince = [&](std::size_t mark) {
    const auto x = rec->samples();
    return firstLoud(x, mark) < x.size();
  };
  const std::size_t before = rec->count();
  player.play(12);
  ASSERT_TRUE(waitUntil([&] { return heardSince(before); })) << "nothing heard before the restart";

  Game game(player);
  server->end(how.signal);
  rec->stop();
  // The dead stream is given up while the game goes on.
  EXPECT_TRUE(waitUntil([&] { return !player.streamOpen(); }, 5s))
      << "the player keeps the stream of a server that is gone";
  // Gone for a second of play; each of the game's cues fails to reach it.
  const int atEnd = game.calls();
  ASSERT_TRUE(waitUntil([&] { return game.calls() >= atEnd + 5; })) << "a cue call hangs";

  // When the player has a stream again, watched from beside the server's start.
  std::atomic<bool> watching{true};
  std::atomic<Clock::rep> reopened{0};
  std::thread watcher([&] {
    while (watching && !player.streamOpen()) std::this_thread::sleep_for(2ms);
    if (watching) reopened = Clock::now().time_since_epoch().count();
  });
  why = server->start();
  rec = std::make_unique<Recording>();
  if (why.empty()) why = rec->start(parec, server->address());
  const auto recording = Clock::now();
  EXPECT_TRUE(waitUntil([&] { return reopened != 0; }, 10s)) << "no stream on the new server";
  watching = false;
  watcher.join();
  ASSERT_TRUE(why.empty()) << "the server did not come back: " << why;
  const auto back = server->listening();
  const auto since = [&](Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t - back).count();
  };
  // The game's own cues come back; how soon is a figure to read, not a bound, as
  // the recording starts late itself.
  if (waitUntil([&] { return heardSince(0); }, 10s)) {
    const auto x = rec->samples();
    std::printf(
        "after the server's socket was back: stream open at %.0f ms, recording from %.0f ms, "
        "the game's cues heard from %.0f ms\n",
        since(Clock::time_point(Clock::duration(reopened.load()))), since(recording),
        since(recording) + ms(firstLoud(x, 0)));
  }
  const double longest = game.stop();
  EXPECT_LT(longest, 300.0) << "a cue call waited for the sound server";
  // The last of the game's cues has faded before the next one.
  EXPECT_TRUE(waitUntil([&] {
    const auto x = rec->samples();
    return x.size() > 100 * kMs && peak(x, x.size() - 100 * kMs, x.size()) < kSilent;
  }));

  const auto fanfare = cueSignal(12);
  const std::size_t mark = rec->count();
  player.play(12);
  EXPECT_TRUE(rec->waitFor(mark + samplesIn(2s) + fanfare.size(), 20s)) << "the recording stalled";
  const auto x = rec->samples();
  const std::size_t start = cueStart(x, mark, fanfare);
  ASSERT_LT(start, x.size()) << "the cue after the restart was not heard";
  std::printf("the cue after the restart: first sample %.1f ms after play()\n", ms(start - mark));
  EXPECT_LT(ms(start - mark), 2000.0);
  // The fanfare it is, by its first half second: a shorter stretch leaves a loaded
  // machine fewer chances to throw the comparison off with a dropout. PipeWire fills a
  // stream that ran short with zero bytes, full scale in the cues' unsigned 8 bits;
  // the cues keep clear of full scale, so whatever comes near it is left out like a gap.
  std::vector<double> y = x;
  for (double& v : y)
    if (std::abs(v) > 0.9) v = 0.0;
  const auto heard = withoutGaps(y, start, y.size()), cue = withoutGaps(fanfare, 0, fanfare.size());
  EXPECT_TRUE(soundsLike(heard, 0, cue, std::min(cue.size(), samplesIn(500ms))));
}

INSTANTIATE_TEST_SUITE_P(Servers, PlayerAcrossRestart,
                         ::testing::Values(Restart{"PipeWire", SIGKILL},
                                           Restart{"PipeWire", SIGTERM},
                                           Restart{"PulseAudio", SIGKILL},
                                           Restart{"PulseAudio", SIGTERM}),
                         [](const ::testing::TestParamInfo<Restart>& param) {
                           return std::string(param.param.server) +
                                  (param.param.signal == SIGKILL ? "Killed" : "Terminated");
                         });

// With no sound server and no sound card the player has no device, and
// everything it is asked to do is skipped without a word.
TEST(PlayerWithoutServer, ConstructsPlaysAndStopsSilently) {
  const fs::path missing = fs::temp_directory_path() / "quibbix-audio-no-server" / "native";
  ::setenv("PULSE_SERVER", ("unix:" + missing.string()).c_str(), 1);
  const bool noCard = !fs::exists("/dev/snd");

  std::fflush(stderr);
  const int saved = ::dup(2);
  char path[] = "/tmp/quibbix-audio-stderr-XXXXXX";
  const int capture = ::mkstemp(path);
  ASSERT_GE(capture, 0);
  ::dup2(capture, 2);
  bool device = true;
  {
    quibbix::view::SdlCuePlayer player;
    device = player.hasDevice();
    for (int n = 0; n <= quibbix::engine::kCues + 1; ++n) player.play(n);
    player.stop();
  }
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  ::close(capture);
  std::ifstream in(path);
  const std::string said{std::istreambuf_iterator<char>(in), {}};
  ::unlink(path);

  if (noCard) {
    EXPECT_FALSE(device);
    EXPECT_EQ(said, "");
  }
}

}  // namespace
