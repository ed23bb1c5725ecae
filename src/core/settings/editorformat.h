#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::editorformat {

// The settings store: one INI file per user under the configuration folder.
inline constexpr char application[] = "Quorvane";
inline constexpr char group[] = "EditorFormat";
inline constexpr char fontNameKey[] = "CustomFontName";
inline constexpr char fontSizeKey[] = "CustomFontSize";

inline constexpr char defaultFontName[] = "Tahoma";
inline constexpr int defaultFontSize = 8;

// The choices the Editor Format window offers, in its order.
const QStringList &fontNames();
const QStringList &fontSizes();

// A stored value, or "" when it was never written (or the store is unreadable).
QString readStored(const char *key);
void writeStored(const char *key, const QString &value);
// Where the store lives; for messages and tests.
QString storePath();

} // namespace quorvane::editorformat
