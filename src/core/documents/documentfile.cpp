#include "documents/documentfile.h"

#include "documents/codepages.h"
#include "documents/rtfreader.h"
#include "text/textrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quorvane {

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(QByteArrayView bytes)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
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
            return false;
        }
        if (end - p < length) {
            return false;
        }
        if (p[1] < low || p[1] > high) {
            return false;
        }
        for (int k = 2; k < length; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF) {
                return false;
            }
        }
        p += length;
    }
    return true;
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

QString decodePlainText(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(view.sliced(3));
    }
    if (view.startsWith("\xFF\xFE")) {
        return decodeUtf16(view.sliced(2), true);
    }
    if (view.startsWith("\xFE\xFF")) {
        return decodeUtf16(view.sliced(2), false);
    }
    if (isValidUtf8(view)) {
        return QString::fromUtf8(view);
    }
    return codepages::decodeWindows1252(view);
}

ReadResult readFailure(const QString &reason)
{
    return {false, {}, reason};
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
        return {true, toCrLfBreaks(std::move(rtf.text)), {}};
    }
    return {true, toCrLfBreaks(decodePlainText(bytes)), {}};
}

ReadResult readDocumentFile(const QString &path)
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
    return readDocumentDevice(file);
}

ReadResult readDocumentDevice(QIODevice &device)
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
    return readDocumentBytes(bytes);
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
