#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "printers.h"
#include "store/settings_store.h"

namespace quibbix::testing {

// Every test gets its own empty settings folder; the real one is never read
// or written. Qt remembers the settings path per process, so setting the
// environment alone would only help the first test.
class PrivateStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
  }
  void TearDown() override { unlockAll(); }

  QString configDir() const { return dir_.path(); }
  QString storeFolder() const { return dir_.filePath(QStringLiteral("Zorvyplay/Quibbix")); }
  QString storeFile() const { return dir_.filePath(QStringLiteral("Zorvyplay/Quibbix/V2.ini")); }

  void writeRaw(const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(storeFolder()));
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  QByteArray readRaw() const {
    QFile file(storeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Makes a file or folder impossible to change for this process. Root
  // ignores permission bits, so it needs the immutable attribute instead.
  bool lock(const QString& path) {
    const bool ok =
        geteuid() == 0
            ? QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0
            : QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (ok) locked_.push_back(path);
    return ok;
  }

  void unlockAll() {
    for (auto it = locked_.rbegin(); it != locked_.rend(); ++it) unlock(*it);
    locked_.clear();
  }

  // What the store reported, and each report's summary.
  std::vector<store::StoreReport> reports;
  std::vector<QString> errors;

 private:
  QTemporaryDir dir_;

 protected:
  store::IniStore store{[this](const QList<store::StoreReport>& told) {
                          for (const store::StoreReport& r : told) {
                            reports.push_back(r);
                            errors.push_back(r.summary());
                          }
                        },
                        storeFile()};

 private:
  static void unlock(const QString& path) {
    if (geteuid() == 0) {
      QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    } else {
      QFile::setPermissions(
          path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
  }

  std::vector<QString> locked_;
};

#define QUIBBIX_LOCK_OR_SKIP(path)                                                      \
  do {                                                                                  \
    if (!lock(path)) {                                                                  \
      GTEST_SKIP() << "cannot make " << qPrintable(path)                                \
                   << " unwritable (root without chattr, or a file system without the " \
                      "immutable attribute)";                                           \
    }                                                                                   \
  } while (false)

}  // namespace quibbix::testing
