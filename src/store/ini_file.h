#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The settings file on the disk: where it lives, reading it, and replacing it
// whole under a lock. What its bytes mean is ini_format.h's business.
namespace quibbix::store {

// What kept the file from being read or written, for the app to put into the
// player's words. No texts here.
struct FileProblem {
  enum Kind {
    None,
    NotAFile,      // a folder, a pipe, a device: never opened
    DanglingLink,  // a symbolic link to nothing
    Unreadable,    // reading failed (permissions, I/O)
    LockNotAFile,  // the lock's path holds a folder or the like
    Busy,          // another copy of the game held the lock for too long
    NotWritten,    // a folder, the lock or the new file could not be made or written
  } kind = None;
  int error = 0;  // the system's error number, where there is one
  QString path;   // the path the problem is with (the file, its lock, its folder)
  explicit operator bool() const { return kind != None; }
};

class IniFile {
 public:
  explicit IniFile(QString path) : path_(std::move(path)) {}

  // Where the game keeps its settings: "Zorvyplay/Quibbix/V2.ini" in the
  // user's configuration folder, $XDG_CONFIG_HOME when it is an absolute
  // path (a relative one is ignored, as the XDG rules say: it would name
  // another file in every working folder), else ~/.config.
  static QString defaultPath();

  const QString& path() const { return path_; }

  // The file's bytes; a missing file is an empty one. nullopt: there is
  // something there that cannot be read, so it must not be replaced either.
  std::optional<QByteArray> read(FileProblem& problem) const;

  // Under the lock, which other copies of the game (and Qt's settings class)
  // take too: reads the file, and replaces it with what `change` makes of
  // its bytes (nullopt: nothing to write). The new file is written and
  // flushed beside the old one and renamed over it only when all of it is
  // on the disk: on any error the old file stays as it was.
  FileProblem update(const std::function<std::optional<QByteArray>(const QByteArray&)>& change);

  // How long a save waits for the lock, and how old a lock must be to be
  // taken over whoever holds it: a save holds it for milliseconds.
  static constexpr int kLockWaitMs = 4000;
  static constexpr int kStaleLockMs = 3000;

 private:
  QString path_;
};

}  // namespace quibbix::store
