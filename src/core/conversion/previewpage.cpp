#include "conversion/previewpage.h"

#include "conversion/asciipagewriter.h"
#include "conversion/bbcode.h"
#include "forum/forumpage.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace quorvane {

namespace {

using PageStream = std::function<bool(const PageWriter &write)>;

// Opens the page in dir before anything is converted, then streams into it.
PreviewPageResult streamInto(const QString &dir, const PageStream &stream)
{
    PreviewPageResult result;
    result.path = QDir(dir).filePath(QString::fromLatin1(previewPageFileName));
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    const bool written = stream([&file](QByteArrayView bytes) {
        return file.write(bytes.data(), bytes.size()) == bytes.size();
    });
    if (!written) {
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

PreviewPageResult writePageFile(const QString &dataDir, const PageStream &stream)
{
    PreviewPageResult result = streamInto(dataDir, stream);
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
    return streamInto(cache, stream);
}

} // namespace

QByteArray previewPageBytes(const QString &pageText)
{
    AsciiPageWriter writer(pageText.size() + 2);
    writer.append(reinterpret_cast<const char16_t *>(pageText.utf16()), pageText.size());
    return writer.finish();
}

bool streamPreviewPage(const QString &post, const QString &dataDir, const PageWriter &write)
{
    return writeBBCodePage(post, dataDir, BlockHeaders::standard(), write);
}

PreviewPageResult writePreviewPageFor(const QString &post, const QString &dataDir)
{
    return writePageFile(
        dataDir, [&](const PageWriter &write) { return streamPreviewPage(post, dataDir, write); });
}

PreviewPageResult writePreviewPage(const QString &pageText, const QString &dataDir)
{
    return writePageFile(
        dataDir, [&](const PageWriter &write) { return write(previewPageBytes(pageText)); });
}

QString forumPostText(QStringView post)
{
    QString text = post.toString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

PreviewPageResult writeForumPreviewPage(Forum forum, const QString &post, const QString &dataDir)
{
    if (forum == Forum::Generic)
        return writePreviewPageFor(post, dataDir);
    return writePreviewPage(forumPageHtml(forum, forumPostText(post), dataDir), dataDir);
}

} // namespace quorvane
