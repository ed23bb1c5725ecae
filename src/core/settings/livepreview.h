#pragma once

#include <QByteArray>

namespace quorvane::livepreview {

// The Live Preview window's remembered state, in the same per-user store as
// the editor format ("LivePreview" group).
inline constexpr char group[] = "LivePreview";
inline constexpr char openKey[] = "Open";
inline constexpr char geometryKey[] = "Geometry";
inline constexpr char remoteImagesKey[] = "LoadRemoteImages";

inline constexpr bool defaultOpen = false;
inline constexpr bool defaultRemoteImages = false;

// A stored flag, or the fallback when it was never written or is not a flag.
bool readFlag(const char *key, bool fallback);
void writeFlag(const char *key, bool value);
// The window geometry as QWidget::saveGeometry() wrote it; empty when none.
QByteArray readGeometry();
void writeGeometry(const QByteArray &geometry);
// Forgets the whole group (tests start from the defaults).
void forget();

} // namespace quorvane::livepreview
