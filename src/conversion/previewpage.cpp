#include "conversion/previewpage.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace quorvane {

namespace {

// Writes "&#N;" at out and returns the end.
char *appendReference(char *out, char32_t codePoint)
{
    char digits[8];
    int count = 0;
    do {
        digits[count++] = char('0' + codePoint % 10);
        codePoint /= 10;
    } while (codePoint != 0);
    *out++ = '&';
    *out++ = '#';
    while (count > 0)
        *out++ = digits[--count];
    *out++ = ';';
    return out;
}

PreviewPageResult saveInto(const QString &dir, const QByteArray &bytes)
{
    PreviewPageResult result;
    result.path = QDir(dir).filePath(QString::fromLatin1(previewPageFileName));
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.write(bytes) != bytes.size()) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

QByteArray previewPageBytes(const QString &pageText)
{
    const auto *d = reinterpret_cast<const char16_t *>(pageText.utf16());
    const qsizetype n = pageText.size();
    // Every character gives at least one byte, so room for the rest of the
    // input is checked only when a reference makes the output longer.
    QByteArray bytes(n + 2, Qt::Uninitialized);
    qsizetype w = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i];
        if (c < 0x80) {
            bytes.data()[w++] = char(c);
            continue;
        }
        char32_t codePoint = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(d[i + 1]))
            codePoint = QChar::surrogateToUcs4(c, d[++i]);
        else if (QChar::isSurrogate(c))
            codePoint = 0xFFFD;
        const qsizetype needed = w + 10 + (n - i - 1) + 2; // "&#1114111;" is the longest
        if (needed > bytes.size())
            bytes.resize(std::max(needed, bytes.size() + bytes.size() / 2));
        w = appendReference(bytes.data() + w, codePoint) - bytes.data();
    }
    bytes.data()[w++] = '\r';
    bytes.data()[w++] = '\n';
    bytes.truncate(w);
    return bytes;
}

PreviewPageResult writePreviewPage(const QString &pageText, const QString &dataDir)
{
    const QByteArray bytes = previewPageBytes(pageText);
    PreviewPageResult result = saveInto(dataDir, bytes);
    if (result.ok)
        return result;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        return result;
    if (!QDir().mkpath(cache)) {
        result.path = QDir(cache).filePath(QString::fromLatin1(previewPageFileName));
        result.error = QStringLiteral("The folder %1 could not be created.")
                           .arg(QDir::toNativeSeparators(cache));
        return result;
    }
    return saveInto(cache, bytes);
}

} // namespace quorvane
