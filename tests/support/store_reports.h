#pragma once
// Reporters of the settings store for tests: a report is a failure, or is
// collected as its one-line summary.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "store/settings_store.h"

namespace quibbix::storetest {

inline store::Reporter failOnReport() {
  return [](const QList<store::StoreReport>& reports) {
    for (const store::StoreReport& r : reports) ADD_FAILURE() << r.summary().toStdString();
  };
}

inline store::Reporter collectReports(std::vector<store::StoreReport>& into) {
  return [&into](const QList<store::StoreReport>& reports) {
    into.insert(into.end(), reports.begin(), reports.end());
  };
}

// The store of the settings folder `config` (an XDG_CONFIG_HOME).
inline QString storeFileIn(const QString& config) {
  return config + QStringLiteral("/Zorvyplay/Quibbix/V2.ini");
}

}  // namespace quibbix::storetest
