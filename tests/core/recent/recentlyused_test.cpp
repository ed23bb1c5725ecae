#include "recent/recentlyused.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUrl>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString kBookmarkNs =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// One bookmark as a reader of the shared list sees it.
struct Bookmark
{
    QString href, added, modified, visited, mimeType;
    QMap<QString, QPair<QString, int>> applications; // name -> exec, count
};

// Reads the list with namespaces resolved, as any desktop reader would.
QList<Bookmark> readList(const QString &path, QString *rootVersion = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<Bookmark> bookmarks;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("xbel")) {
            if (rootVersion)
                *rootVersion = xml.attributes().value(QLatin1String("version")).toString();
            continue; // into its children
        }
        if (xml.name() == QLatin1String("bookmark")) {
            Bookmark b;
            const auto a = xml.attributes();
            b.href = a.value(QLatin1String("href")).toString();
            b.added = a.value(QLatin1String("added")).toString();
            b.modified = a.value(QLatin1String("modified")).toString();
            b.visited = a.value(QLatin1String("visited")).toString();
            bookmarks << b;
            continue;
        }
        if (xml.name() == QLatin1String("info") || xml.name() == QLatin1String("metadata") ||
            (xml.namespaceUri() == kBookmarkNs && xml.name() == QLatin1String("applications")))
            continue;
        if (xml.namespaceUri() == kMimeNs && xml.name() == QLatin1String("mime-type")) {
            bookmarks.back().mimeType = xml.attributes().value(QLatin1String("type")).toString();
        } else if (xml.namespaceUri() == kBookmarkNs &&
                   xml.name() == QLatin1String("application")) {
            const auto a = xml.attributes();
            bookmarks.back().applications.insert(a.value(QLatin1String("name")).toString(),
                                                 {a.value(QLatin1String("exec")).toString(),
                                                  a.value(QLatin1String("count")).toInt()});
        }
        xml.skipCurrentElement();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return bookmarks;
}

// A list as another desktop program leaves it.
const char kForeignList[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0"
      xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
      xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info"
>
  <bookmark href="file:///home/user/Pictures/cat%20photo.png" added="2026-01-02T10:00:00.123456Z" modified="2026-01-02T10:00:00.123456Z" visited="2026-01-02T10:00:00.123456Z">
    <info>
      <metadata owner="http://freedesktop.org">
        <mime:mime-type type="image/png"/>
        <bookmark:groups>
          <bookmark:group>Graphics</bookmark:group>
        </bookmark:groups>
        <bookmark:applications>
          <bookmark:application name="Image Viewer" exec="&apos;eog %u&apos;" modified="2026-01-02T10:00:00.123456Z" count="3"/>
        </bookmark:applications>
      </metadata>
    </info>
  </bookmark>
</xbel>
)";

class RecentlyUsedTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString list() const { return dir.filePath(QStringLiteral("share/recently-used.xbel")); }
    QString post(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    void writeList(const QByteArray &bytes)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("share")));
        QFile file(list());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(RecentlyUsedTest, ANewListReadsBackAsXbel)
{
    const QDateTime when(QDate(2026, 12, 8), QTime(15, 30, 1, 250), Qt::UTC);
    RecentlyUsed recent(list());
    ASSERT_TRUE(recent.add(post("my post.txt"), QStringLiteral("text/plain"), when))
        << recent.errorString().toStdString();

    QString version;
    const QList<Bookmark> bookmarks = readList(list(), &version);
    EXPECT_EQ(version, QStringLiteral("1.0"));
    ASSERT_EQ(bookmarks.size(), 1);
    const Bookmark &b = bookmarks.front();
    EXPECT_EQ(QUrl(b.href), QUrl::fromLocalFile(post("my post.txt")));
    EXPECT_TRUE(b.href.contains(QLatin1String("my%20post.txt"))) << "addresses are encoded";
    for (const QString &stamp : {b.added, b.modified, b.visited})
        EXPECT_EQ(QDateTime::fromString(stamp, Qt::ISODateWithMs), when) << stamp.toStdString();
    EXPECT_EQ(b.mimeType, QStringLiteral("text/plain"));
    ASSERT_TRUE(b.applications.contains(QStringLiteral("Quorvane")));
    EXPECT_EQ(b.applications.value(QStringLiteral("Quorvane")).first,
              QStringLiteral("'quorvane %u'"));
    EXPECT_EQ(b.applications.value(QStringLiteral("Quorvane")).second, 1);
    EXPECT_EQ(QFile(list()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions())
        << "a new list is the user's alone";
}

TEST_F(RecentlyUsedTest, OtherProgramsEntriesAreKept)
{
    writeList(kForeignList);
    RecentlyUsed recent(list());
    ASSERT_TRUE(recent.add(post("a.txt"), QStringLiteral("text/plain")));

    const QList<Bookmark> bookmarks = readList(list());
    ASSERT_EQ(bookmarks.size(), 2);
    const Bookmark &foreign = bookmarks.front();
    EXPECT_EQ(foreign.href, QStringLiteral("file:///home/user/Pictures/cat%20photo.png"));
    EXPECT_EQ(foreign.added, QStringLiteral("2026-01-02T10:00:00.123456Z"));
    EXPECT_EQ(foreign.mimeType, QStringLiteral("image/png"));
    EXPECT_EQ(foreign.applications.value(QStringLiteral("Image Viewer")),
              qMakePair(QStringLiteral("'eog %u'"), 3));
    EXPECT_EQ(QUrl(bookmarks.back().href), QUrl::fromLocalFile(post("a.txt")));

    QFile file(list());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<bookmark:group>Graphics</bookmark:group>"))
        << "what this program does not know is copied as it was";
}

TEST_F(RecentlyUsedTest, UsingAFileAgainRefreshesItsOneEntry)
{
    const QDateTime first(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC);
    const QDateTime second(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
    RecentlyUsed recent(list());
    ASSERT_TRUE(recent.add(post("a.txt"), QStringLiteral("text/plain"), first));
    ASSERT_TRUE(recent.add(post("a.txt"), QStringLiteral("text/plain"), second));

    const QList<Bookmark> bookmarks = readList(list());
    ASSERT_EQ(bookmarks.size(), 1);
    EXPECT_EQ(QDateTime::fromString(bookmarks[0].added, Qt::ISODateWithMs), first);
    EXPECT_EQ(QDateTime::fromString(bookmarks[0].modified, Qt::ISODateWithMs), second);
    EXPECT_EQ(bookmarks[0].applications.value(QStringLiteral("Quorvane")).second, 2);
}

TEST_F(RecentlyUsedTest, AFileAnotherProgramUsedGetsThisProgramBeside)
{
    writeList(QByteArray(kForeignList)
                  .replace("file:///home/user/Pictures/cat%20photo.png",
                           QUrl::fromLocalFile(post("a.txt")).toEncoded()));
    RecentlyUsed recent(list());
    ASSERT_TRUE(recent.add(post("a.txt"), QStringLiteral("text/plain")));
    const QList<Bookmark> bookmarks = readList(list());
    ASSERT_EQ(bookmarks.size(), 1);
    EXPECT_EQ(bookmarks[0].applications.size(), 2);
    EXPECT_EQ(bookmarks[0].applications.value(QStringLiteral("Quorvane")).second, 1);
    EXPECT_EQ(bookmarks[0].added, QStringLiteral("2026-01-02T10:00:00.123456Z"));
}

TEST_F(RecentlyUsedTest, AListThatIsNoXbelIsLeftAlone)
{
    for (const QByteArray &bad : {QByteArray("<html><body>no</body></html>"),
                                  QByteArray("<xbel version=\"1.0\"><bookmark href=")}) {
        writeList(bad);
        RecentlyUsed recent(list());
        EXPECT_FALSE(recent.add(post("a.txt"), QStringLiteral("text/plain")));
        EXPECT_FALSE(recent.errorString().isEmpty());
        QFile file(list());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bad);
    }
}

} // namespace
