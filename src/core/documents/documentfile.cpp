#include "documents/documentfile.h"

#include "documents/codepages.h"
#include "documents/rtfreader.h"
#include "text/textrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <system_error>

namespace quorvane {

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
// Returns where the first byte that breaks it stands, or -1.
qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const uchar *begin = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *p = begin;
    const uchar *end = p + bytes.size();
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) {
                low = 0xA0;
            } else if (c == 0xED) {
                high = 0x9F;
            }
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) {
                low = 0x90;
            } else if (c == 0xF4) {
                high = 0x8F;
            }
        } else {
            return p - begin;
        }
        if (end - p < length) {
            return p - begin;
        }
        if (p[1] < low || p[1] > high) {
            return p - begin;
        }
        for (int k = 2; k < length; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF) {
                return p - begin;
            }
        }
        p += length;
    }
    return -1;
}

QString decodeUtf16(QByteArrayView bytes, bool littleEndian)
{
    const qsizetype units = bytes.size() / 2;
    QString out(units, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const uchar *src = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0; i < units; ++i) {
        const uchar a = src[2 * i];
        const uchar b = src[2 * i + 1];
        dst[i] = littleEndian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
    }
    if (bytes.size() % 2) {
        out.append(QChar(QChar::ReplacementCharacter));
    }
    return out;
}

// UTF-16 without a byte-order mark: text in one script puts the same high
// byte in every other byte (zero for Latin letters, digits, spaces and
// punctuation, 0x04 for Cyrillic, ...), and some of those are zero. Binary
// data has zeros on both sides; UTF-8 text has none, or a stray one among
// varied bytes.
std::optional<bool> bomlessUtf16IsLittleEndian(QByteArrayView bytes)
{
    const qsizetype pairs = bytes.size() / 2;
    std::array<qsizetype, 256> even{}, odd{};
    for (qsizetype i = 0; i < pairs; ++i) {
        ++even[uchar(bytes[2 * i])];
        ++odd[uchar(bytes[2 * i + 1])];
    }
    // Little-endian puts the high byte second.
    const bool littleEndian = odd[0] > even[0];
    const auto &high = littleEndian ? odd : even;
    const auto &low = littleEndian ? even : odd;
    if (high[0] == 0 || low[0] * 10 > high[0]) {
        return std::nullopt;
    }
    const qsizetype commonest = *std::max_element(high.begin() + 1, high.end());
    if ((high[0] + commonest) * 10 < pairs * 9) {
        return std::nullopt;
    }
    return littleEndian;
}

ReadResult decodePlainText(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    ReadResult read;
    read.ok = true;
    if (view.startsWith("\xEF\xBB\xBF")) {
        read.text = QString::fromUtf8(view.sliced(3));
    } else if (view.startsWith("\xFF\xFE")) {
        read.encoding = TextEncoding::Utf16LittleEndian;
        read.text = decodeUtf16(view.sliced(2), true);
    } else if (view.startsWith("\xFE\xFF")) {
        read.encoding = TextEncoding::Utf16BigEndian;
        read.text = decodeUtf16(view.sliced(2), false);
    } else if (const auto littleEndian = bomlessUtf16IsLittleEndian(view)) {
        read.encoding =
            *littleEndian ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian;
        read.text = decodeUtf16(view, *littleEndian);
    } else if (const qsizetype invalid = firstInvalidUtf8(view); invalid < 0) {
        read.text = QString::fromUtf8(view);
    } else {
        read.encoding = TextEncoding::Windows1252;
        read.text = codepages::decodeWindows1252(view);
        read.notice =
            QStringLiteral("It was read as Windows-1252 (Western European), because it is not "
                           "valid UTF-8: byte %1 (0x%2) cannot be read as UTF-8.\n"
                           "If its letters look wrong, close it without saving: saving writes "
                           "the text as you see it, in UTF-8.")
                .arg(invalid + 1)
                .arg(QString::number(uchar(view[invalid]), 16).toUpper());
    }
    return read;
}

bool looksBinary(QStringView text)
{
    qsizetype controls = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == 0) {
            return true;
        }
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        controls += control && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f';
    }
    return controls * 3 > text.size();
}

ReadResult readFailure(const QString &reason)
{
    ReadResult read;
    read.error = reason;
    return read;
}

WriteResult writeFailure(const QString &reason)
{
    return {false, reason};
}

QString tooLarge()
{
    return QStringLiteral("The file is larger than %1 MB, too large to open.")
        .arg(QString::number(kMaxDocumentBytes / (1024 * 1024)));
}

} // namespace

ReadResult readDocumentBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("{\\rtf")) {
        RtfResult rtf = readRtf(bytes);
        if (!rtf.ok) {
            return readFailure(rtf.error);
        }
        ReadResult read;
        read.ok = true;
        read.text = toCrLfBreaks(std::move(rtf.text));
        read.encoding = TextEncoding::RichText;
        return read;
    }
    ReadResult read = decodePlainText(bytes);
    read.looksBinary = looksBinary(read.text);
    read.text = toCrLfBreaks(std::move(read.text));
    // The line break Save puts after the post is no part of it.
    if (read.text.endsWith(u"\r\n")) {
        read.text.chop(2);
    }
    return read;
}

ReadResult readDocumentFile(const QString &path, const DocumentDecoder &decode)
{
    if (path.isEmpty()) {
        return readFailure(QStringLiteral("No file name was given."));
    }

    // Look before opening: a pipe or a device would block or never end.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path fsPath(QFile::encodeName(path).toStdString());
    const fs::file_status status = fs::status(fsPath, ec);
    if (status.type() == fs::file_type::not_found) {
        return readFailure(QStringLiteral("The file does not exist."));
    }
    if (ec) {
        if (ec == std::errc::permission_denied) {
            return readFailure(QStringLiteral("You do not have permission to read the file."));
        }
        return readFailure(QStringLiteral("The file could not be examined (%1).")
                               .arg(QString::fromStdString(ec.message())));
    }
    if (status.type() == fs::file_type::directory) {
        return readFailure(QStringLiteral("It is a folder, not a file."));
    }
    if (status.type() != fs::file_type::regular) {
        return readFailure(QStringLiteral("It is not a regular file."));
    }
    const auto size = fs::file_size(fsPath, ec);
    if (!ec && size > std::uintmax_t(kMaxDocumentBytes)) {
        return readFailure(tooLarge());
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo(path).isReadable()) {
            return readFailure(QStringLiteral("You do not have permission to read the file."));
        }
        return readFailure(
            QStringLiteral("The file could not be opened (%1).").arg(file.errorString()));
    }
    // The file may have grown since it was looked at; read no more than allowed.
    return readDocumentDevice(file, decode);
}

ReadResult readDocumentDevice(QIODevice &device, const DocumentDecoder &decode)
{
    // A pipe hands over what it has so far; read until its end or one byte
    // past the limit.
    QByteArray bytes;
    constexpr qint64 kChunk = 1024 * 1024;
    while (bytes.size() <= kMaxDocumentBytes) {
        const qint64 want = std::min(kChunk, kMaxDocumentBytes + 1 - bytes.size());
        const qsizetype had = bytes.size();
        bytes.resize(had + want);
        const qint64 got = device.read(bytes.data() + had, want);
        bytes.resize(had + std::max<qint64>(got, 0));
        if (got < 0) {
            return readFailure(
                QStringLiteral("The file could not be read (%1).").arg(device.errorString()));
        }
        if (got == 0) {
            break;
        }
    }
    if (bytes.size() > kMaxDocumentBytes) {
        return readFailure(tooLarge());
    }
    return decode(bytes);
}

WriteResult writeDocumentFile(const QString &path, const QString &text)
{
    if (path.isEmpty()) {
        return writeFailure(QStringLiteral("No file name was given."));
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        return writeFailure(QStringLiteral("It is a folder, not a file."));
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        return writeFailure(QStringLiteral("The folder \"%1\" does not exist.")
                                .arg(QDir::toNativeSeparators(info.absolutePath())));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (info.exists() && !info.isWritable()) {
            return writeFailure(QStringLiteral("The file is read-only."));
        }
        if (!folder.isWritable()) {
            return writeFailure(
                QStringLiteral("You do not have permission to write in that folder."));
        }
        return writeFailure(
            QStringLiteral("The file could not be created (%1).").arg(file.errorString()));
    }

    QByteArray bytes = text.toUtf8();
    bytes.append("\r\n");
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeFailure(QStringLiteral("The file could not be written (%1).").arg(reason));
    }
    if (!file.commit()) {
        return writeFailure(
            QStringLiteral("The file could not be written (%1).").arg(file.errorString()));
    }
    return {true, {}};
}

} // namespace quorvane
