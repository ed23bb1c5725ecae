#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QStringList>

namespace quorvane::workspace {

// How the main window is laid out, in the same per-user store as the editor
// format ("Workspace" group).
inline constexpr char group[] = "Workspace";
inline constexpr char resizableKey[] = "ResizableWindow";
inline constexpr char previewBesideKey[] = "PreviewBesideEditor";
inline constexpr char geometryKey[] = "WindowGeometry";
inline constexpr char maximizedKey[] = "WindowMaximized";
inline constexpr char splitterKey[] = "PreviewSplitter";
inline constexpr char recentFilesKey[] = "RecentFiles";

// The window as first built stays the default.
inline constexpr bool defaultResizable = false;
inline constexpr bool defaultPreviewBeside = false;

bool readFlag(const char *key, bool fallback);
void writeFlag(const char *key, bool value);

// The resizable window's normal geometry (client area, screen coordinates);
// an empty rectangle when none was kept.
QRect readGeometry();
void writeGeometry(const QRect &geometry);

// Bytes as QSplitter::saveState() wrote them; empty when none.
QByteArray readSplitter();
void writeSplitter(const QByteArray &state);

QStringList readRecentFiles();
void writeRecentFiles(const QStringList &paths);

// Forgets the whole group (tests start from the defaults).
void forget();

// Whether a remembered geometry may be used on the screens there are now
// (their available areas): its top band, where the title bar is grabbed,
// must lie on one of them. A screen unplugged since leaves nothing to grab.
bool fitsOnScreens(const QRect &geometry, const QList<QRect> &screens);

} // namespace quorvane::workspace
