#include "drafts/snapshot.h"

#include <gtest/gtest.h>

using namespace quorvane::drafts;

namespace {

SnapshotHeader sampleHeader()
{
    SnapshotHeader h;
    h.postId = QStringLiteral("0b7e4c1a-2f7d-4f0e-9a51-3c2d1e0f9a88");
    h.sourcePath = QStringLiteral("/home/someone/my posts/100%\nodd.txt");
    h.sourceSize = 4321;
    h.sourceModifiedMs = 1765180000123;
    h.writtenMs = 1765180009999;
    h.sequence = 77;
    return h;
}

struct RoundTrip
{
    const char *name;
    QString text;
    bool untitled;
};

TEST(SnapshotFormat, RoundTripsTextAndHeader)
{
    const RoundTrip cases[] = {
        {"empty", QString(), true},
        {"plain", QStringLiteral("[b]Hello[/b] world"), false},
        {"line breaks kept as typed", QStringLiteral("one\r\ntwo\nthree\r\n\r\n"), false},
        {"beyond the basic plane", QStringLiteral("caf\u00e9 \U0001F600 \u4e2d\u6587"), true},
        {"looks like a header", QStringLiteral("sha256: x\n\nQuorvane draft 9\n"), false},
    };
    for (const RoundTrip &c : cases) {
        SnapshotHeader h = sampleHeader();
        if (c.untitled)
            h.sourcePath.clear();
        const SnapshotRead read = decodeSnapshot(encodeSnapshot(h, c.text));
        ASSERT_TRUE(read.ok) << c.name << ": " << read.error.toStdString();
        EXPECT_EQ(read.text, c.text) << c.name;
        EXPECT_EQ(read.header.postId, h.postId) << c.name;
        EXPECT_EQ(read.header.sourcePath, h.sourcePath) << c.name;
        if (!c.untitled) {
            EXPECT_EQ(read.header.sourceSize, h.sourceSize) << c.name;
            EXPECT_EQ(read.header.sourceModifiedMs, h.sourceModifiedMs) << c.name;
        }
        EXPECT_EQ(read.header.writtenMs, h.writtenMs) << c.name;
        EXPECT_EQ(read.header.sequence, h.sequence) << c.name;
        EXPECT_EQ(read.header.length, c.text.size()) << c.name;
    }
}

struct Damage
{
    const char *name;
    QByteArray (*damage)(QByteArray);
    const char *error;
};

TEST(SnapshotFormat, RefusesDamagedFiles)
{
    const Damage cases[] = {
        {"body cut short", [](QByteArray b) { return b.chopped(3); }, "cut short"},
        {"header cut short", [](QByteArray b) { return b.left(40); }, "cut short"},
        {"empty file", [](QByteArray) { return QByteArray(); }, "not a draft"},
        {"bytes added", [](QByteArray b) { return b + "x"; }, "longer"},
        {"one body byte changed",
         [](QByteArray b) {
             b[b.size() - 2] = 'Q';
             return b;
         },
         "checksum"},
        {"newer format", [](QByteArray b) { return b.replace("draft 1\n", "draft 2\n"); },
         "newer version"},
        {"foreign file", [](QByteArray) { return QByteArray("<html>\n\n</html>"); }, "not a draft"},
        {"number spoiled", [](QByteArray b) { return b.replace("sequence: 77", "sequence: 7x"); },
         "damaged header"},
        {"checksum line lost", [](QByteArray b) { return b.replace("sha256: ", "sha255: "); },
         "damaged header"},
    };
    const QByteArray good = encodeSnapshot(sampleHeader(), QStringLiteral("[i]draft text[/i]"));
    ASSERT_TRUE(decodeSnapshot(good).ok);
    for (const Damage &c : cases) {
        const SnapshotRead read = decodeSnapshot(c.damage(good));
        EXPECT_FALSE(read.ok) << c.name;
        EXPECT_TRUE(read.error.contains(QLatin1String(c.error)))
            << c.name << ": " << read.error.toStdString();
    }
}

} // namespace
