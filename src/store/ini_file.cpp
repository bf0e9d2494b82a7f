#include "store/ini_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdlib>

namespace quibbix::store {

namespace {

FileProblem problem(FileProblem::Kind kind, const QString& path, int error = 0) {
  return {kind, error, path};
}

QByteArray local(const QString& path) { return QFile::encodeName(path); }

// What is at `path`, links followed: nullopt with `problem` set when it is
// something other than a regular file or nothing.
struct Place {
  bool exists = false;
  QString target;  // the file to read and replace: links resolved
  mode_t mode = 0;
};

std::optional<Place> inspect(const QString& path, FileProblem& out) {
  struct stat link {};
  if (::lstat(local(path).constData(), &link) != 0) {
    if (errno == ENOENT) return Place{false, path, 0};
    out = problem(FileProblem::Unreadable, path, errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::stat(local(path).constData(), &st) != 0) {
    out = errno == ENOENT ? problem(FileProblem::DanglingLink, path)
                          : problem(FileProblem::Unreadable, path, errno);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    out = problem(FileProblem::NotAFile, path);
    return std::nullopt;
  }
  // A link is followed, so the file it names is replaced and the link stays.
  const QString target = S_ISLNK(link.st_mode) ? QFileInfo(path).canonicalFilePath() : path;
  return Place{true, target.isEmpty() ? path : target, st.st_mode & 07777};
}

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += n;
  }
  return true;
}

// The file's mode for a new file: what the umask allows of rw-rw-rw-, and
// at least readable by all and writable by its owner, as it always was.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return (0666 & ~mask) | 0644;
}

// Writes `bytes` as `target`, all or nothing. 0, or the error number.
int replace(const QString& target, mode_t mode, const QByteArray& bytes) {
  const QFileInfo info(target);
  const QByteArray folder = local(info.absolutePath());
  // An unnamed file first, given its name only once it is whole: a save
  // killed halfway leaves nothing behind.
  bool unnamed = true;
  QByteArray temp;
  int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) {
    unnamed = false;
    temp = local(target) + ".XXXXXX";
    fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno;
  }
  int error = 0;
  if (!writeAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) error = errno;
  if (error == 0 && unnamed) {
    temp = local(target) + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) != 0)
      error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.constData(), local(target).constData()) != 0) error = errno;
  if (error != 0) {
    if (!temp.isEmpty()) ::unlink(temp.constData());
    return error;
  }
  // The rename itself is on the disk once the folder is.
  const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}

}  // namespace

QString IniFile::defaultPath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!QDir::isAbsolutePath(config)) {
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
      if (const passwd* user = ::getpwuid(::getuid())) home = QFile::decodeName(user->pw_dir);
    }
    config = home + QStringLiteral("/.config");
  }
  return QDir::cleanPath(config + QStringLiteral("/Zorvyplay/Quibbix/V2.ini"));
}

std::optional<QByteArray> IniFile::read(FileProblem& out) const {
  out = {};
  const std::optional<Place> place = inspect(path_, out);
  if (!place) return std::nullopt;
  if (!place->exists) return QByteArray();
  // Never blocking: should a pipe slip in after the look above, the open
  // returns at once and the check below refuses it.
  const int fd = ::open(local(place->target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    out = problem(FileProblem::Unreadable, path_, errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    out = problem(FileProblem::NotAFile, path_);
    return std::nullopt;
  }
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(st.st_size));
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      out = problem(FileProblem::Unreadable, path_, error);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(chunk, n);
  }
  ::close(fd);
  return bytes;
}

FileProblem IniFile::update(
    const std::function<std::optional<QByteArray>(const QByteArray&)>& change) {
  FileProblem out;
  if (!inspect(path_, out)) return out;
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder)) return problem(FileProblem::NotWritten, folder, errno);

  // The lock is the one Qt's own settings take, so older copies of the game
  // wait too. A folder or the like in its place would never go away.
  const QString lockPath = path_ + QStringLiteral(".lock");
  struct stat st {};
  if (::lstat(local(lockPath).constData(), &st) == 0 && !S_ISREG(st.st_mode))
    return problem(FileProblem::LockNotAFile, lockPath);
  QLockFile lock(lockPath);
  // A save holds the lock for a moment: one older than this is left over
  // from a copy that died, on this computer or another one sharing the
  // folder, whose process cannot be asked.
  lock.setStaleLockTime(kStaleLockMs);
  if (!lock.tryLock(kLockWaitMs)) {
    return lock.error() == QLockFile::LockFailedError
               ? problem(FileProblem::Busy, lockPath)
               : problem(FileProblem::NotWritten, lockPath, errno != 0 ? errno : EACCES);
  }

  // Looked at again under the lock: what is read is what gets replaced.
  const std::optional<Place> place = inspect(path_, out);
  if (!place) return out;
  const std::optional<QByteArray> before = read(out);
  if (!before) return out;
  const std::optional<QByteArray> after = change(*before);
  if (!after || (place->exists && *after == *before)) return {};
  const int error = replace(place->target, place->exists ? place->mode : newFileMode(), *after);
  if (error != 0) return problem(FileProblem::NotWritten, place->target, error);
  return {};
}

}  // namespace quibbix::store
