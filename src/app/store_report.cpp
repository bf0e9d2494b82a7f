#include "app/store_report.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

namespace quibbix::app {

namespace {

using store::FileProblem;
using store::StoreReport;

// Each text in English, the source of its translation.
QString say(const char* text) { return QCoreApplication::translate("StoreReport", text); }

constexpr const char* kNotSaved = QT_TRANSLATE_NOOP("StoreReport", "Quibbix could not save %1.");
constexpr const char* kTable =
    QT_TRANSLATE_NOOP("StoreReport", "the high-score table and the name");
constexpr const char* kChoices =
    QT_TRANSLATE_NOOP("StoreReport", "your choices (sound, language, zoom and window position)");
constexpr const char* kAnd = QT_TRANSLATE_NOOP("StoreReport", "%1 and %2");
constexpr const char* kFile = QT_TRANSLATE_NOOP("StoreReport", "File: %1");
constexpr const char* kReason = QT_TRANSLATE_NOOP("StoreReport", "Reason: %1");
constexpr const char* kKept =
    QT_TRANSLATE_NOOP("StoreReport",
                      "Nothing at that place was changed: what it held before "
                      "is kept.");
constexpr const char* kNotRead =
    QT_TRANSLATE_NOOP("StoreReport", "Quibbix cannot read its settings file.");
constexpr const char* kDefaults =
    QT_TRANSLATE_NOOP("StoreReport",
                      "The game runs with its defaults this time, and what it would save (your "
                      "choices, new high scores) cannot be kept there.");
constexpr const char* kDiskFull = QT_TRANSLATE_NOOP("StoreReport", "the disk is full");
constexpr const char* kNoPermission =
    QT_TRANSLATE_NOOP("StoreReport", "writing there is not allowed");
constexpr const char* kSystem = QT_TRANSLATE_NOOP("StoreReport", "the system says: %1");
constexpr const char* kNotAFile =
    QT_TRANSLATE_NOOP("StoreReport", "at that place is a folder or something else that is no file");
constexpr const char* kDangling =
    QT_TRANSLATE_NOOP("StoreReport", "it is a link to a file that does not exist");
constexpr const char* kLockNotAFile =
    QT_TRANSLATE_NOOP("StoreReport", "its lock %1 is no file; removing it mends this");
constexpr const char* kBusy =
    QT_TRANSLATE_NOOP("StoreReport", "another copy of Quibbix kept it locked (%1)");
constexpr const char* kBadLines =
    QT_TRANSLATE_NOOP("StoreReport", "Quibbix cannot use these lines of its settings file:");
constexpr const char* kLine = QT_TRANSLATE_NOOP("StoreReport", "Line %1: %2");
constexpr const char* kDefaultUsed =
    QT_TRANSLATE_NOOP("StoreReport", "for “%1” the default is used");
constexpr const char* kRowKept =
    QT_TRANSLATE_NOOP("StoreReport", "a row of the high-score table: it keeps its place, empty");
constexpr const char* kStray =
    QT_TRANSLATE_NOOP("StoreReport",
                      "meant for “%1”? Only “%1” in the section [common] is read, spelled exactly "
                      "so; the default is used");
constexpr const char* kLinesKept =
    QT_TRANSLATE_NOOP("StoreReport", "These lines stay in the file as they are.");

bool isRow(const QString& name) {
  return name.size() == 7 && name.startsWith(QLatin1String("player")) && name.back().isDigit();
}

QString reason(const FileProblem& problem) {
  switch (problem.kind) {
    case FileProblem::NotAFile: return say(kNotAFile);
    case FileProblem::DanglingLink: return say(kDangling);
    case FileProblem::LockNotAFile: return say(kLockNotAFile).arg(problem.path);
    case FileProblem::Busy: return say(kBusy).arg(problem.path);
    case FileProblem::None:
    case FileProblem::Unreadable:
    case FileProblem::NotWritten: break;
  }
  switch (problem.error) {
    case ENOSPC:
    case EDQUOT: return say(kDiskFull);
    case EACCES:
    case EPERM:
    case EROFS: return say(kNoPermission);
    default:
      return say(kSystem).arg(
          QString::fromLocal8Bit(std::strerror(problem.error != 0 ? problem.error : EIO)));
  }
}

// A line as the player sees it in an editor, cut if it is long.
QString shownLine(const QByteArray& line) {
  constexpr qsizetype kLongest = 80;
  QString text = QString::fromUtf8(line.left(4 * kLongest));
  if (text.size() > kLongest || line.size() > 4 * kLongest) text = text.left(kLongest) + u'…';
  return text;
}

}  // namespace

QString storeMessage(const QList<StoreReport>& reports) {
  QStringList parts;
  QStringList lines;
  for (const StoreReport& r : reports) {
    switch (r.kind) {
      case StoreReport::SaveFailed: {
        bool table = false;
        bool choices = false;
        for (const QString& name : r.saving)
          (isRow(name) || name == u"player" ? table : choices) = true;
        const QString what = table && choices ? say(kAnd).arg(say(kTable), say(kChoices))
                             : table          ? say(kTable)
                                              : say(kChoices);
        parts << say(kNotSaved).arg(what) + QStringLiteral("\n\n") + say(kFile).arg(r.path) +
                     u'\n' + say(kReason).arg(reason(r.problem)) + QStringLiteral("\n\n") +
                     say(kKept);
        break;
      }
      case StoreReport::ReadFailed:
        parts << say(kNotRead) + QStringLiteral("\n\n") + say(kFile).arg(r.path) + u'\n' +
                     say(kReason).arg(reason(r.problem)) + QStringLiteral("\n\n") + say(kDefaults);
        break;
      case StoreReport::WrongValue:
      case StoreReport::StrayValue: {
        const QString what = r.kind == StoreReport::StrayValue ? say(kStray).arg(r.name)
                             : isRow(r.name)                   ? say(kRowKept)
                                                               : say(kDefaultUsed).arg(r.name);
        lines << say(kLine).arg(r.lineNumber).arg(shownLine(r.line)) + QStringLiteral("\n    (") +
                     what + u')';
        break;
      }
    }
  }
  if (!lines.isEmpty()) {
    parts << say(kBadLines) + u'\n' + say(kFile).arg(reports.front().path) +
                 QStringLiteral("\n\n") + lines.join(u'\n') + QStringLiteral("\n\n") +
                 say(kLinesKept);
  }
  return parts.join(QStringLiteral("\n\n"));
}

void showStoreMessage(QWidget* parent, const QList<StoreReport>& reports) {
  if (reports.isEmpty()) return;
  bool lost = false;
  for (const StoreReport& r : reports)
    lost = lost || r.kind == StoreReport::SaveFailed || r.kind == StoreReport::ReadFailed;
  const QString text = storeMessage(reports);
  const QString title = QStringLiteral("Quibbix");
  if (lost)
    QMessageBox::critical(parent, title, text);
  else
    QMessageBox::warning(parent, title, text);
}

}  // namespace quibbix::app
