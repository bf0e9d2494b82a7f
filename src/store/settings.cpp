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
NamedValues tableValues(const QString& player, const QStringList& rows) {
  NamedValues values;
  values.reserve(Settings::kScoreRows + 1);
  values.append({playerKey(), player});
  for (int row = 0; row < Settings::kScoreRows; ++row)
    values.append({scoreRowKey(row), row < rows.size() ? rows[row] : QString()});
  return values;
}

}  // namespace

QString Settings::defaultPlayer() { return QStringLiteral("Vormlab"); }

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

bool Settings::setScoreTable(const QString& player, const QStringList& rows) {
  return store_.WriteStrings(section(), tableValues(player, rows));
}

bool Settings::updateScoreTable(
    const QString& player, const std::function<QStringList(const QStringList& current)>& change) {
  return store_.UpdateStrings(section(), scoreRowKeys(), [&](const QStringList& current) {
    return tableValues(player, change(current));
  });
}

}  // namespace quibbix::store
