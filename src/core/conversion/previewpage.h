#pragma once

#include <QByteArray>
#include <QString>

namespace quorvane {

// The file name of the preview page.
inline constexpr char previewPageFileName[] = "Preview.htm";

// The page file's bytes: the page text and one CR LF, in US-ASCII with every
// other character as a decimal numeric character reference ("&#233;"). The
// page declares no charset, and this is the one 8-bit form every browser
// shows right. A surrogate pair gives one reference; a lone surrogate gives
// "&#65533;".
QByteArray previewPageBytes(const QString &pageText);

struct PreviewPageResult
{
    bool ok = false;
    QString path;  // the page written, or the last place tried
    QString error; // why it could not be written
};

// Replaces "Preview.htm" in dataDir atomically; when that fails (an installed
// program's folder is not writable), writes it into the user's cache folder
// instead.
PreviewPageResult writePreviewPage(const QString &pageText, const QString &dataDir);

} // namespace quorvane
