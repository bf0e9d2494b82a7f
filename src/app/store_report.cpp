#include "app/store_report.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

namespace quibbix::app {

namespace {

using store::FileProblem;
using store::StoreReport;

// Each text in English (the source of the translation) and in German, kept
// side by side in this one place.
struct Text {
  const char* english;
  const char* german;
};

QString say(const Text& text, int language) {
  return language == 1 ? QString::fromUtf8(text.german)
                       : QCoreApplication::translate("StoreReport", text.english);
}

constexpr Text kNotSaved{QT_TRANSLATE_NOOP("StoreReport", "Quibbix could not save %1."),
                         "Quibbix konnte %1 nicht speichern."};
constexpr Text kTable{QT_TRANSLATE_NOOP("StoreReport", "the high-score table and the name"),
                      "die Bestenliste und den Namen"};
constexpr Text kChoices{
    QT_TRANSLATE_NOOP("StoreReport", "your choices (sound, language, zoom and window position)"),
    "deine Einstellungen (Ton, Sprache, Zoom und Fensterposition)"};
constexpr Text kAnd{QT_TRANSLATE_NOOP("StoreReport", "%1 and %2"), "%1 und %2"};
constexpr Text kFile{QT_TRANSLATE_NOOP("StoreReport", "File: %1"), "Datei: %1"};
constexpr Text kReason{QT_TRANSLATE_NOOP("StoreReport", "Reason: %1"), "Grund: %1"};
constexpr Text kKept{QT_TRANSLATE_NOOP("StoreReport",
                                       "Nothing at that place was changed: what it held before "
                                       "is kept."),
                     "An dieser Stelle wurde nichts geändert: ihr bisheriger Inhalt bleibt."};
constexpr Text kNotRead{QT_TRANSLATE_NOOP("StoreReport", "Quibbix cannot read its settings file."),
                        "Quibbix kann seine Einstellungsdatei nicht lesen."};
constexpr Text kDefaults{
    QT_TRANSLATE_NOOP("StoreReport",
                      "The game runs with its defaults this time, and what it would save (your "
                      "choices, new high scores) cannot be kept there."),
    "Das Spiel läuft diesmal mit seinen Grundeinstellungen, und was es speichern würde (deine "
    "Einstellungen, neue Bestenlisten-Einträge), kann dort nicht bleiben."};
constexpr Text kDiskFull{QT_TRANSLATE_NOOP("StoreReport", "the disk is full"),
                         "der Datenträger ist voll"};
constexpr Text kNoPermission{QT_TRANSLATE_NOOP("StoreReport", "writing there is not allowed"),
                             "dort darf nicht geschrieben werden"};
constexpr Text kSystem{QT_TRANSLATE_NOOP("StoreReport", "the system says: %1"),
                       "das System meldet: %1"};
constexpr Text kNotAFile{
    QT_TRANSLATE_NOOP("StoreReport", "at that place is a folder or something else that is no file"),
    "an dieser Stelle liegt ein Ordner oder etwas anderes, das keine Datei ist"};
constexpr Text kDangling{
    QT_TRANSLATE_NOOP("StoreReport", "it is a link to a file that does not exist"),
    "sie ist eine Verknüpfung auf eine Datei, die es nicht gibt"};
constexpr Text kLockNotAFile{
    QT_TRANSLATE_NOOP("StoreReport", "its lock %1 is no file; removing it mends this"),
    "ihre Sperre %1 ist keine Datei; sie zu entfernen behebt das"};
constexpr Text kBusy{
    QT_TRANSLATE_NOOP("StoreReport", "another copy of Quibbix kept it locked (%1)"),
    "eine andere Kopie von Quibbix hielt sie gesperrt (%1)"};
constexpr Text kBadLines{
    QT_TRANSLATE_NOOP("StoreReport", "Quibbix cannot use these lines of its settings file:"),
    "Quibbix kann diese Zeilen seiner Einstellungsdatei nicht verwenden:"};
constexpr Text kLine{QT_TRANSLATE_NOOP("StoreReport", "Line %1: %2"), "Zeile %1: %2"};
constexpr Text kDefaultUsed{QT_TRANSLATE_NOOP("StoreReport", "for “%1” the default is used"),
                            "für „%1“ gilt der Grundwert"};
constexpr Text kRowKept{
    QT_TRANSLATE_NOOP("StoreReport", "a row of the high-score table: it keeps its place, empty"),
    "ein Eintrag der Bestenliste: er behält seinen Platz und bleibt leer"};
constexpr Text kStray{
    QT_TRANSLATE_NOOP("StoreReport",
                      "meant for “%1”? Only “%1” in the section [common] is read, spelled exactly "
                      "so; the default is used"),
    "gemeint für „%1“? Gelesen wird nur „%1“ im Abschnitt [common], genau so geschrieben; es gilt "
    "der Grundwert"};
constexpr Text kLinesKept{
    QT_TRANSLATE_NOOP("StoreReport", "These lines stay in the file as they are."),
    "Diese Zeilen bleiben unverändert in der Datei."};

bool isRow(const QString& name) {
  return name.size() == 7 && name.startsWith(QLatin1String("player")) && name.back().isDigit();
}

QString reason(const FileProblem& problem, int language) {
  switch (problem.kind) {
    case FileProblem::NotAFile: return say(kNotAFile, language);
    case FileProblem::DanglingLink: return say(kDangling, language);
    case FileProblem::LockNotAFile: return say(kLockNotAFile, language).arg(problem.path);
    case FileProblem::Busy: return say(kBusy, language).arg(problem.path);
    case FileProblem::None:
    case FileProblem::Unreadable:
    case FileProblem::NotWritten: break;
  }
  switch (problem.error) {
    case ENOSPC:
    case EDQUOT: return say(kDiskFull, language);
    case EACCES:
    case EPERM:
    case EROFS: return say(kNoPermission, language);
    default:
      return say(kSystem, language)
          .arg(QString::fromLocal8Bit(std::strerror(problem.error != 0 ? problem.error : EIO)));
  }
}

// A line as the player sees it in an editor, cut if it is long.
QString shownLine(const QByteArray& line) {
  constexpr int kLongest = 80;
  QString text = QString::fromUtf8(line.left(4 * kLongest));
  if (text.size() > kLongest || line.size() > 4 * kLongest) text = text.left(kLongest) + u'…';
  return text;
}

}  // namespace

QString storeMessage(const QList<StoreReport>& reports, int language) {
  QStringList parts;
  QStringList lines;
  for (const StoreReport& r : reports) {
    switch (r.kind) {
      case StoreReport::SaveFailed: {
        bool table = false;
        bool choices = false;
        for (const QString& name : r.saving)
          (isRow(name) || name == u"player" ? table : choices) = true;
        const QString what =
            table && choices
                ? say(kAnd, language).arg(say(kTable, language), say(kChoices, language))
            : table ? say(kTable, language)
                    : say(kChoices, language);
        parts << say(kNotSaved, language).arg(what) + QStringLiteral("\n\n") +
                     say(kFile, language).arg(r.path) + u'\n' +
                     say(kReason, language).arg(reason(r.problem, language)) +
                     QStringLiteral("\n\n") + say(kKept, language);
        break;
      }
      case StoreReport::ReadFailed:
        parts << say(kNotRead, language) + QStringLiteral("\n\n") +
                     say(kFile, language).arg(r.path) + u'\n' +
                     say(kReason, language).arg(reason(r.problem, language)) +
                     QStringLiteral("\n\n") + say(kDefaults, language);
        break;
      case StoreReport::WrongValue:
      case StoreReport::StrayValue: {
        const QString what = r.kind == StoreReport::StrayValue ? say(kStray, language).arg(r.name)
                             : isRow(r.name)                   ? say(kRowKept, language)
                                             : say(kDefaultUsed, language).arg(r.name);
        lines << say(kLine, language).arg(r.lineNumber).arg(shownLine(r.line)) +
                     QStringLiteral("\n    (") + what + u')';
        break;
      }
    }
  }
  if (!lines.isEmpty()) {
    parts << say(kBadLines, language) + u'\n' + say(kFile, language).arg(reports.front().path) +
                 QStringLiteral("\n\n") + lines.join(u'\n') + QStringLiteral("\n\n") +
                 say(kLinesKept, language);
  }
  return parts.join(QStringLiteral("\n\n"));
}

void showStoreMessage(QWidget* parent, const QList<StoreReport>& reports, int language) {
  if (reports.isEmpty()) return;
  bool lost = false;
  for (const StoreReport& r : reports)
    lost = lost || r.kind == StoreReport::SaveFailed || r.kind == StoreReport::ReadFailed;
  const QString text = storeMessage(reports, language);
  const QString title = QStringLiteral("Quibbix");
  if (lost)
    QMessageBox::critical(parent, title, text);
  else
    QMessageBox::warning(parent, title, text);
}

}  // namespace quibbix::app
