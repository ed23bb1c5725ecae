#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>

namespace quorvane {

// The 8-bit and double-byte code pages that old documents are written in,
// decoded through Qt where it knows them and Windows-1252 otherwise.
namespace codepages {

using ByteTable = std::array<char16_t, 256>;

inline constexpr int Windows1252 = 1252;

// The character of every byte of a single-byte code page, or null for a
// double-byte page (and for UTF-8), whose bytes only mean something in pairs.
// Pages unknown here fall back to Windows-1252. The tables live for the run.
const ByteTable *singleByteTable(int codePage);

// Decodes a whole run of bytes in any code page; unusable bytes become U+FFFD.
QString decode(int codePage, QByteArrayView bytes);

QString decodeWindows1252(QByteArrayView bytes);

// The code page of a rich-text font's \fcharset, or 0 when the charset says
// nothing beyond the document's own page (ANSI, default, symbol, unknown).
int codePageForCharset(int charset);

} // namespace codepages
} // namespace quorvane
