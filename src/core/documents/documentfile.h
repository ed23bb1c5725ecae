#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace quorvane {

// Files larger than this are refused rather than read into the editor.
inline constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252, RichText };

struct ReadResult
{
    bool ok = false;
    QString text;  // with CR LF line breaks
    QString error; // a sentence saying why the file could not be read
    TextEncoding encoding = TextEncoding::Utf8;
    // What the writer should know about how the text was read before saving
    // writes it back as UTF-8 (a guess at Windows-1252, and why); "" when
    // there is nothing to say.
    QString notice;
    // Plain text that holds NUL characters or is more than a third control
    // characters (the share `perl -B` takes for binary): a picture or a
    // program, most likely.
    bool looksBinary = false;
};

struct WriteResult
{
    bool ok = false;
    QString error; // a sentence saying why the file could not be written
};

// The text of a document's bytes: rich text when they start with "{\rtf",
// otherwise UTF-8 (a byte-order mark dropped), UTF-16 with a byte-order mark
// or with the zero bytes of one every other byte, or Windows-1252 for
// anything that is not valid UTF-8. CR, LF and CR LF all become CR LF, and
// plain text loses one final line break, the one writeDocumentFile adds;
// nothing else is changed.
ReadResult readDocumentBytes(const QByteArray &bytes);

// What makes a document of a file's bytes: readDocumentBytes for Open, other
// readers for formats that are converted as they are read.
using DocumentDecoder = std::function<ReadResult(const QByteArray &bytes)>;

// Reads a regular file of at most kMaxDocumentBytes; anything else is refused
// with a reason and is not read at all.
ReadResult readDocumentFile(const QString &path, const DocumentDecoder &decode = readDocumentBytes);

// Reads an open blocking device (a file, standard input, a pipe) to its end
// (a read of nothing), refusing it with
// the same reason as a file once it passes kMaxDocumentBytes: no more than
// that is ever read.
ReadResult readDocumentDevice(QIODevice &device, const DocumentDecoder &decode = readDocumentBytes);

// Writes the text and one CR LF as UTF-8 without a byte-order mark, replacing
// the file atomically: it holds either its old or its complete new content.
WriteResult writeDocumentFile(const QString &path, const QString &text);

} // namespace quorvane
