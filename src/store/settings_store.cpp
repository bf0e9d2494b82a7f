#include "store/settings_store.h"

#include <QDebug>
#include <QMutex>
#include <QSet>
#include <optional>
#include <utility>

namespace quibbix::store {

namespace {

// A line the game cannot use is told once per run: the table, read at
// every showing, does not raise the same report again and again.
bool firstTime(const StoreReport& report) {
  static QMutex mutex;
  static QSet<QByteArray> told;
  const QByteArray id = report.path.toUtf8() + '\n' + QByteArray::number(report.kind) + '\n' +
                        report.name.toUtf8() + '\n' + report.line;
  const QMutexLocker locker(&mutex);
  if (told.contains(id)) return false;
  told.insert(id);
  return true;
}

const char* problemName(FileProblem::Kind kind) {
  switch (kind) {
    case FileProblem::None: return "no problem";
    case FileProblem::NotAFile: return "not a file";
    case FileProblem::DanglingLink: return "a link to nothing";
    case FileProblem::Unreadable: return "unreadable";
    case FileProblem::LockNotAFile: return "the lock is not a file";
    case FileProblem::Busy: return "locked by another copy";
    case FileProblem::NotWritten: return "not written";
  }
  return "?";
}

}  // namespace

QString StoreReport::summary() const {
  switch (kind) {
    case WrongValue:
      return QStringLiteral("%1:%2: cannot read '%3'").arg(path).arg(lineNumber).arg(name);
    case StrayValue:
      return QStringLiteral("%1:%2: '%3' is not where it is looked for")
          .arg(path)
          .arg(lineNumber)
          .arg(name);
    case ReadFailed:
      return QStringLiteral("%1: cannot be read (%2%3)")
          .arg(path, QLatin1String(problemName(problem.kind)),
               problem.error != 0 ? QStringLiteral(", errno %1").arg(problem.error) : QString());
    case SaveFailed:
      return QStringLiteral("%1: not saved: %2 (%3%4, %5)")
          .arg(path, saving.join(u' '), QLatin1String(problemName(problem.kind)),
               problem.error != 0 ? QStringLiteral(", errno %1").arg(problem.error) : QString(),
               problem.path);
  }
  return {};
}

IniStore::Telling::~Telling() {
  if (--store_.telling_ == 0 && !store_.pending_.isEmpty())
    store_.report_(std::exchange(store_.pending_, {}));
}

IniStore::IniStore(Reporter report, QString path)
    : report_(std::move(report)), file_(std::move(path)) {
  if (!report_) {
    report_ = [](const QList<StoreReport>& reports) {
      for (const StoreReport& r : reports) qWarning("quibbix: %s", qPrintable(r.summary()));
    };
  }
}

void IniStore::report(StoreReport r) {
  r.path = file_.path();
  pending_.append(std::move(r));
}

std::optional<ini::Document> IniStore::document() {
  FileProblem problem;
  std::optional<QByteArray> bytes = file_.read(problem);
  if (!bytes) {
    // Told once per store: every read of a run would fail alike.
    if (!readProblemsTold_.contains(problem.kind)) {
      readProblemsTold_.append(problem.kind);
      StoreReport r;
      r.kind = StoreReport::ReadFailed;
      r.problem = problem;
      report(r);
    }
    return std::nullopt;
  }
  return ini::Document(std::move(*bytes));
}

void IniStore::fallback(const QString& name, const ini::Found& found) {
  StoreReport r;
  r.kind = StoreReport::WrongValue;
  r.path = file_.path();
  r.name = name;
  r.line = found.line;
  r.lineNumber = found.lineNumber;
  if (firstTime(r)) report(r);
}

void IniStore::ReportFallback(const QString&, const QString& name, const ini::Found& found) {
  const Telling telling(*this);
  fallback(name, found);
}

QList<ini::Found> IniStore::readFound(const QString& section, const QStringList& names) {
  const std::optional<ini::Document> doc = document();
  if (!doc) return QList<ini::Found>(names.size());
  QList<ini::Found> found = doc->find(section, names);
  for (qsizetype i = 0; i < names.size(); ++i)
    if (found[i].value.kind == ini::Value::Wrong) fallback(names[i], found[i]);
  return found;
}

QList<ini::Found> IniStore::ReadFound(const QString& section, const QStringList& names) {
  const Telling telling(*this);
  return readFound(section, names);
}

void IniStore::ReportStrays(const QString& section, const QStringList& names) {
  const Telling telling(*this);
  const std::optional<ini::Document> doc = document();
  if (!doc) return;
  for (const ini::Stray& stray : doc->strays(section, names)) {
    StoreReport r;
    r.kind = StoreReport::StrayValue;
    r.path = file_.path();
    r.name = stray.name;
    r.line = stray.line;
    r.lineNumber = stray.lineNumber;
    if (firstTime(r)) report(r);
  }
}

QString IniStore::ReadString(const QString& section, const QString& name, const QString& def) {
  return ReadStrings(section, {name}, def).front();
}

QStringList IniStore::ReadStrings(const QString& section, const QStringList& names,
                                  const QString& def) {
  const Telling telling(*this);
  QStringList result;
  result.reserve(names.size());
  for (const ini::Found& found : ReadFound(section, names))
    result.append(found.value.kind == ini::Value::Text ? found.value.text : def);
  return result;
}

int IniStore::ReadInteger(const QString& section, const QString& name, int def) {
  const Telling telling(*this);
  const ini::Found found = readFound(section, {name}).front();
  if (found.value.kind != ini::Value::Text) return def;
  int value = 0;
  if (ini::parseDecimalInt(found.value.text, value)) return value;
  fallback(name, found);
  return def;
}

bool IniStore::ReadBool(const QString& section, const QString& name, bool def) {
  const Telling telling(*this);
  const ini::Found found = readFound(section, {name}).front();
  if (found.value.kind != ini::Value::Text) return def;
  bool value = def;
  if (ini::parseBool(found.value.text, value)) return value;
  fallback(name, found);
  return def;
}

bool IniStore::WriteBool(const QString& section, const QString& name, bool value) {
  return WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniStore::WriteInteger(const QString& section, const QString& name, int value) {
  return WriteString(section, name, QString::number(value));
}

bool IniStore::WriteString(const QString& section, const QString& name, const QString& value) {
  return WriteStrings(section, {{name, value}});
}

bool IniStore::WriteStrings(const QString& section, const NamedValues& values) {
  if (values.isEmpty()) return true;
  return UpdateStrings(section, {}, [&values](const QList<ini::Found>&) { return values; });
}

bool IniStore::UpdateStrings(const QString& section, const QStringList& names,
                             const std::function<NamedValues(const QList<ini::Found>&)>& change) {
  const Telling telling(*this);
  QStringList saving;
  const FileProblem problem =
      file_.update([&](const QByteArray& bytes) -> std::optional<QByteArray> {
        const ini::Document doc(bytes);
        QList<ini::Found> current = doc.find(section, names);
        for (qsizetype i = 0; i < names.size(); ++i)
          if (current[i].value.kind == ini::Value::Wrong) fallback(names[i], current[i]);
        const NamedValues values = change(current);
        for (const auto& value : values) saving.append(value.first);
        if (values.isEmpty()) return std::nullopt;
        return doc.with(section, values);
      });
  if (!problem) return true;
  // Failed before the values were known: all the caller meant to save is lost.
  if (saving.isEmpty()) {
    const QList<ini::Found> none(names.size());
    for (const auto& value : change(none)) saving.append(value.first);
  }
  if (saving.isEmpty()) return true;
  StoreReport r;
  r.kind = StoreReport::SaveFailed;
  r.problem = problem;
  r.saving = saving;
  report(r);
  return false;
}

}  // namespace quibbix::store
