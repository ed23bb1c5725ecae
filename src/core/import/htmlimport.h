#pragma once

#include "import/importoptions.h"

#include <QByteArrayView>
#include <QString>

namespace quorvane {

// The BBCode of formatted text in HTML as browsers, office programs and
// converters write it, whole documents or clipboard fragments (only the part
// between StartFragment and EndFragment comments when they are present).
// Malformed markup is read as a browser reads it. Returns the post with CR LF
// line breaks and no final one.
QString htmlToBBCode(QStringView html, const ImportOptions &options = {});

// The text of an HTML file's bytes: a byte-order mark, else the charset its
// meta element names, else UTF-8 when the bytes are valid UTF-8, else
// Windows-1252.
QString decodeHtml(QByteArrayView bytes);

} // namespace quorvane
