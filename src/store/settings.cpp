#include "store/settings.h"

#include "store/settings_store.h"

namespace quibbix::store {

namespace {

QString section() { return QStringLiteral("common"); }
QString soundKey() { return QStringLiteral("sound"); }
QString tongueKey() { return QStringLiteral("tongue"); }
QString zoomKey() { return QStringLiteral("zoom"); }
QString playerKey() { return QStringLiteral("player"); }
QString windowPlaceKey() { return QStringLiteral("MainForm"); }
QString scoreRowKey(int row) { return QStringLiteral("player%1").arg(row); }

QStringList scoreRowKeys() {
  QStringList keys;
  for (int row = 0; row < Settings::kScoreRows; ++row) keys.append(scoreRowKey(row));
  return keys;
}

// The last name first, then the rows in order: the order the values have
// always been written in, so a file written anew keeps its layout.
NamedValues tableValues(const QString& player, const QList<std::optional<QString>>& rows) {
  NamedValues values;
  values.reserve(Settings::kScoreRows + 1);
  values.append({playerKey(), player});
  for (int row = 0; row < Settings::kScoreRows; ++row) {
    if (row >= rows.size())
      values.append({scoreRowKey(row), QString()});
    else if (rows[row])
      values.append({scoreRowKey(row), *rows[row]});
  }
  return values;
}

}  // namespace

QString Settings::defaultPlayer() { return QStringLiteral("Vormlab"); }

QStringList Settings::names() {
  return QStringList{soundKey(), tongueKey(), zoomKey(), playerKey(), windowPlaceKey()} +
         scoreRowKeys();
}

Settings::Choices Settings::readChoices() {
  const IniStore::Telling oneReport(store_);
  const QStringList keys{soundKey(), tongueKey(), zoomKey(), playerKey(), windowPlaceKey()};
  const QList<ini::Found> found = store_.ReadFound(section(), keys);
  Choices choices;
  const auto text = [&](int i) -> std::optional<QString> {
    if (found[i].value.kind != ini::Value::Text) return std::nullopt;
    return found[i].value.text;
  };
  if (const auto sound = text(0); sound && !ini::parseBool(*sound, choices.sound))
    store_.ReportFallback(section(), keys[0], found[0]);
  if (const auto tongue = text(1); tongue && !ini::parseDecimalInt(*tongue, choices.tongue))
    store_.ReportFallback(section(), keys[1], found[1]);
  int zoom = 0;
  if (const auto stored = text(2)) {
    choices.zoom = *stored;
    if (!stored->isEmpty() && !ini::parseDecimalInt(*stored, zoom))
      store_.ReportFallback(section(), keys[2], found[2]);
  }
  if (const auto player = text(3)) choices.player = *player;
  if (const auto place = text(4)) choices.windowPlace = *place;
  store_.ReportStrays(section(), names());
  return choices;
}

bool Settings::saveChoices(const Choices& choices) {
  return store_.WriteStrings(
      section(), {{soundKey(), choices.sound ? QStringLiteral("1") : QStringLiteral("0")},
                  {tongueKey(), QString::number(choices.tongue)},
                  {zoomKey(), choices.zoom},
                  {windowPlaceKey(), choices.windowPlace}});
}

bool Settings::sound() { return store_.ReadBool(section(), soundKey(), true); }
bool Settings::setSound(bool on) { return store_.WriteBool(section(), soundKey(), on); }

int Settings::tongue() { return store_.ReadInteger(section(), tongueKey(), -1); }
bool Settings::setTongue(int tongue) { return store_.WriteInteger(section(), tongueKey(), tongue); }

QString Settings::zoom() { return store_.ReadString(section(), zoomKey(), {}); }
bool Settings::setZoom(int zoom) { return store_.WriteInteger(section(), zoomKey(), zoom); }

QString Settings::player() { return store_.ReadString(section(), playerKey(), defaultPlayer()); }

QString Settings::windowPlace() { return store_.ReadString(section(), windowPlaceKey(), {}); }
bool Settings::setWindowPlace(const QString& place) {
  return store_.WriteString(section(), windowPlaceKey(), place);
}

QStringList Settings::scoreRows() { return store_.ReadStrings(section(), scoreRowKeys(), {}); }

QList<ini::Found> Settings::storedScoreRows() {
  return store_.ReadFound(section(), scoreRowKeys());
}

bool Settings::setScoreTable(const QString& player, const QStringList& rows) {
  return store_.WriteStrings(
      section(), tableValues(player, QList<std::optional<QString>>(rows.begin(), rows.end())));
}

bool Settings::updateScoreTable(
    const QString& player,
    const std::function<QList<std::optional<QString>>(const QList<ini::Value>& current)>& change) {
  return store_.UpdateStrings(section(), scoreRowKeys(), [&](const QList<ini::Found>& current) {
    QList<ini::Value> values;
    for (const ini::Found& found : current) values.append(found.value);
    return tableValues(player, change(values));
  });
}

}  // namespace quibbix::store
