#include "conversion/previewpage.h"

#include "conversion/asciipagewriter.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace quorvane {

namespace {

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
    AsciiPageWriter writer(pageText.size() + 2);
    writer.append(reinterpret_cast<const char16_t *>(pageText.utf16()), pageText.size());
    return writer.finish();
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
