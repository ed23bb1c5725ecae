#include "conversion/bbcode.h"
#include "conversion/previewpage.h"
#include "printing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quorvane;

namespace {

QByteArray pageFor(const QString &post, const QString &dir = QStringLiteral("/d"))
{
    return previewPageBytes(convertBBCode(post, dir, BlockHeaders::standard()));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

QString cachePagePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("Preview.htm"));
}

} // namespace

TEST(PreviewPageBytes, PostThenTitleThenOneLineEnd)
{
    EXPECT_EQ(pageFor(""), "<title>Quorvane - Preview</title>\r\n");
    EXPECT_EQ(pageFor("last line\r\n"),
              "last line<p>&nbsp;</p><title>Quorvane - Preview</title>\r\n");
    EXPECT_EQ(previewPageBytes(QString()), "\r\n");
}

TEST(PreviewPageBytes, EverythingOutsideAsciiAsOneReferencePerCodePoint)
{
    EXPECT_EQ(previewPageBytes(QStringLiteral("caf\u00e9")), "caf&#233;\r\n");
    EXPECT_EQ(previewPageBytes(QStringLiteral("\u0080\u20ac\uffff")), "&#128;&#8364;&#65535;\r\n");
    EXPECT_EQ(previewPageBytes(QStringLiteral("a\U0001F600b\U0010FFFF")),
              "a&#128512;b&#1114111;\r\n");
    // ASCII control characters are ASCII and stay as they are.
    EXPECT_EQ(previewPageBytes(QString::fromLatin1("\t\x7f\x01")), "\t\x7f\x01\r\n");
    EXPECT_EQ(previewPageBytes(QString(QChar(0))), QByteArray("\0\r\n", 3));
}

TEST(PreviewPageBytes, LoneSurrogatesBecomeTheReplacementCharacter)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    EXPECT_EQ(previewPageBytes(QString(high)), "&#65533;\r\n");
    EXPECT_EQ(previewPageBytes(QString(low)), "&#65533;\r\n");
    EXPECT_EQ(previewPageBytes(QString(high) + 'x' + low), "&#65533;x&#65533;\r\n");
    EXPECT_EQ(previewPageBytes(QString(low) + high + low), "&#65533;&#128512;\r\n");
    EXPECT_EQ(previewPageBytes(QString(high) + high + low), "&#65533;&#128512;\r\n");
}

TEST(PreviewPageBytes, LongTextWithManyReferences)
{
    // Growth of the output while references are written.
    QString text;
    QByteArray expected;
    for (int i = 0; i < 5000; ++i) {
        text += QStringLiteral("\U0001F600a\u00e9");
        expected += "&#128512;a&#233;";
    }
    EXPECT_EQ(previewPageBytes(text), expected + "\r\n");
}

TEST(WritePreviewPage, WritesIntoTheDataDirectoryAndReplacesThePage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PreviewPageResult first = writePreviewPage(QStringLiteral("first \u00e9"), dir.path());
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.path, dir.filePath(QStringLiteral("Preview.htm")));
    EXPECT_EQ(readAll(first.path), "first &#233;\r\n");

    const PreviewPageResult second = writePreviewPage(QStringLiteral("second"), dir.path());
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.path, first.path);
    EXPECT_EQ(readAll(second.path), "second\r\n");
    // Nothing else is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Preview.htm")});
}

TEST(WritePreviewPageFor, StreamsThePostsPageIntoTheFileOverALongerOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Many blocks long, with pairs and smilies all through; the page it
    // replaces is longer still.
    QString post;
    for (int i = 0; i < 40000; ++i)
        post += QStringLiteral("[b]caf\u00e9[/b] \U0001F600 :) [LIST=1][*]x[/LIST]\r\n");
    ASSERT_TRUE(writePreviewPageFor(post + post, dir.path()).ok);

    const PreviewPageResult result = writePreviewPageFor(post, dir.path());
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.path, dir.filePath(QStringLiteral("Preview.htm")));
    EXPECT_EQ(readAll(result.path), pageFor(post, dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Preview.htm")});
}

TEST(WritePreviewPage, FallsBackToTheCacheDirectory)
{
    // Root can write into read-only folders, so the data directory is made
    // unusable by being a regular file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notADir = dir.filePath(QStringLiteral("file"));
    {
        QFile f(notADir);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::remove(cachePagePath());

    const PreviewPageResult result = writePreviewPage(QStringLiteral("cached"), notADir);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.path, cachePagePath());
    EXPECT_EQ(readAll(result.path), "cached\r\n");

    // Also when the data directory does not exist at all.
    const PreviewPageResult again =
        writePreviewPage(QStringLiteral("again"), notADir + QStringLiteral("/below"));
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(readAll(cachePagePath()), "again\r\n");
    QFile::remove(cachePagePath());
}

TEST(WritePreviewPage, ReportsWhereAndWhyWhenNothingCanBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notADir = dir.filePath(QStringLiteral("file"));
    {
        QFile f(notADir);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // The cache folder lies under the home folder, here a regular file too.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", notADir.toLocal8Bit());
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const PreviewPageResult result = writePreviewPage(QStringLiteral("x"), notADir);
    qputenv("HOME", home);

    ASSERT_TRUE(cache.startsWith(notADir)) << cache.toStdString();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.path.startsWith(notADir)) << result.path.toStdString();
    EXPECT_TRUE(result.path.endsWith(QStringLiteral("Preview.htm")));
    EXPECT_FALSE(result.error.isEmpty());
}

TEST(PreviewPageBytes, EncodedWhileConvertingGivesTheSameBytes)
{
    // A surrogate pair whose halves come from the post and from a header.
    BlockHeaders headers = BlockHeaders::standard();
    headers.quote = QString(QChar(0xDE00)) + "q" + QChar(0xD83D);
    const QString post =
        QString(QChar(0xD83D)) + "[QUOTE]" + QChar(0xDE00) + "[quote]x" + QChar(0xD83D) + "[QUOTE]";
    const QByteArray bytes = convertBBCodeToPageBytes(post, "/d", headers);
    EXPECT_EQ(bytes, previewPageBytes(convertBBCode(post, "/d", headers)));
    EXPECT_EQ(bytes, "&#128512;q&#128512;&#65533;q&#65533;x&#128512;q&#65533;"
                     "<title>Quorvane - Preview</title>\r\n");
}

TEST(PreviewPageBytes, WrittenInBlocksGivesTheSameBytes)
{
    // Long enough for several blocks, with pairs and smilies all through.
    QString post;
    for (int i = 0; i < 40000; ++i)
        post += QStringLiteral("[b]caf\u00e9[/b] \U0001F600 :) [LIST=1][*]x[/LIST]\r\n");
    const QByteArray expected =
        previewPageBytes(convertBBCode(post, "/d", BlockHeaders::standard()));
    QByteArray written;
    int blocks = 0;
    EXPECT_TRUE(writeBBCodePage(post, "/d", BlockHeaders::standard(), [&](QByteArrayView b) {
        written += b;
        ++blocks;
        return true;
    }));
    EXPECT_GT(blocks, 2);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(convertBBCodeToPageBytes(post, "/d", BlockHeaders::standard()), expected);

    // A failed write is reported.
    EXPECT_FALSE(writeBBCodePage(post, "/d", BlockHeaders::standard(),
                                 [](QByteArrayView) { return false; }));
    EXPECT_FALSE(
        writeBBCodePage("x", "/d", BlockHeaders::standard(), [](QByteArrayView) { return false; }));
}
