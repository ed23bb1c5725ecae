#pragma once

#include "import/importoptions.h"

#include <QByteArrayView>
#include <QString>

namespace quorvane {

// The BBCode of a rich-text document: character formats, links, lists (with
// the labels the writer typed, as Word, LibreOffice and pandoc write them),
// paragraphs wholly in a fixed-pitch font as [CODE], tables as rows of cells
// separated by tabs. Returns nothing for bytes that are not rich text.
QString rtfToBBCode(QByteArrayView rtf, const ImportOptions &options = {});

} // namespace quorvane
