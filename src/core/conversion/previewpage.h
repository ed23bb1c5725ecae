#pragma once

#include "forum/forum.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

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

// Takes the page's bytes block by block; false when a block could not be
// written.
using PageWriter = std::function<bool(QByteArrayView)>;

// The preview page of a post, with the standard block headers (made afresh
// for every page) and the smiley sources in dataDir, handed to `write` in
// blocks as it is made, so that a large page is never held whole. The one
// route by which the window and quorvane-convert both produce the page.
bool streamPreviewPage(const QString &post, const QString &dataDir, const PageWriter &write);

// Writes the preview page of a post as "Preview.htm". The place is picked
// first: dataDir, where the page replaces the old one atomically, or, when no
// file can be made there (an installed program's folder is not writable) or
// writing it fails, the user's cache folder; then streamPreviewPage() writes
// into it.
PreviewPageResult writePreviewPageFor(const QString &post, const QString &dataDir);

// A finished page text written by the same route.
PreviewPageResult writePreviewPage(const QString &pageText, const QString &dataDir);

// The post as a forum takes it: LF line breaks, as a forum's own code keeps
// the text a browser sends (CR LF).
QString forumPostText(QStringView post);

// Preview.htm for a forum: Generic writes the preview page
// (writePreviewPageFor), any other forum its own page (forumPageHtml), by
// the same route.
PreviewPageResult writeForumPreviewPage(Forum forum, const QString &post, const QString &dataDir);

} // namespace quorvane
