#pragma once

#include "documents/documentfile.h"
#include "import/importoptions.h"

#include <QByteArray>
#include <QString>

namespace quorvane {

enum class ImportFormat { Html, Rtf };

// The BBCode of a formatted document's bytes, in ReadResult::text with CR LF
// line breaks; fails only for rich text that is not rich text.
ReadResult importDocumentBytes(const QByteArray &bytes, ImportFormat format,
                               const ImportOptions &options = {});

// The same as a decoder for readDocumentFile and readDocumentDevice, which
// refuse files as Open refuses them.
DocumentDecoder importDecoder(ImportFormat format, const ImportOptions &options = {});

// A file read as BBCode.
ReadResult importDocumentFile(const QString &path, ImportFormat format,
                              const ImportOptions &options = {});

// The format a file's name says it is in: .rtf is rich text, anything else HTML.
ImportFormat importFormatForFile(const QString &path);

} // namespace quorvane
