#pragma once

#include <QSettings>
#include <QString>

namespace quorvane::store {

// The one per-user settings file every group of settings lives in.
QSettings open();
// "Group/key".
QString qualified(const char *group, const char *key);
// An INI file gives every value back as text: "true"/"1" and "false"/"0" are
// read, anything else is the fallback.
bool readFlag(const QSettings &settings, const QString &key, bool fallback);

} // namespace quorvane::store
