#include "drafts/draftstore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvane::drafts;

namespace {

const QString kPost = QStringLiteral("6f1d2c3b-0000-4000-8000-00000000000a");

SnapshotHeader headerFor(const QString &post, qint64 writtenMs = 1000)
{
    SnapshotHeader h;
    h.postId = post;
    h.writtenMs = writtenMs;
    return h;
}

QString writeOne(DraftStore &store, const QString &post, const QString &text, qint64 when = 1000)
{
    SnapshotHeader h = headerFor(post, when);
    QString error;
    EXPECT_TRUE(store.write(h, text, &error)) << error.toStdString();
    return store.files().last().path;
}

int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

TEST(DraftStore, WritesPrivateFilesInAPrivateFolder)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/data/drafts");
    DraftStore store(folder);
    const QString path = writeOne(store, kPost, QStringLiteral("secret"));
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(modeOf(path), 0600);
    Recoverable got;
    ASSERT_TRUE(store.newestIntact(kPost, &got));
    EXPECT_EQ(got.text, QStringLiteral("secret"));
}

struct Spoil
{
    const char *name;
    void (*spoil)(const QString &path);
};

void rewrite(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The newest snapshot is spoilt in each way; the one before it is offered.
TEST(DraftStore, FallsBackToTheNewestIntactSnapshot)
{
    const Spoil cases[] = {
        {"truncated", [](const QString &p) { rewrite(p, contents(p).chopped(5)); }},
        {"checksum fails",
         [](const QString &p) {
             QByteArray b = contents(p);
             b[b.size() - 1] = '#';
             rewrite(p, b);
         }},
        {"newer format",
         [](const QString &p) { rewrite(p, contents(p).replace("draft 1\n", "draft 3\n")); }},
        {"zero bytes", [](const QString &p) { rewrite(p, {}); }},
    };
    for (const Spoil &c : cases) {
        QTemporaryDir dir;
        DraftStore store(dir.path());
        writeOne(store, kPost, QStringLiteral("first"));
        writeOne(store, kPost, QStringLiteral("second"));
        c.spoil(writeOne(store, kPost, QStringLiteral("third")));
        Recoverable got;
        ASSERT_TRUE(store.newestIntact(kPost, &got)) << c.name;
        EXPECT_EQ(got.text, QStringLiteral("second")) << c.name;
        const QList<Recoverable> pending = store.pendingDrafts();
        ASSERT_EQ(pending.size(), 1) << c.name;
        EXPECT_EQ(pending.first().text, QStringLiteral("second")) << c.name;
    }
}

TEST(DraftStore, LeavesForeignFilesAloneAndSurvivesThem)
{
    QTemporaryDir dir;
    DraftStore store(dir.path());
    rewrite(dir.filePath(QStringLiteral("notes.txt")), "mine");
    rewrite(dir.filePath(QStringLiteral("x_y_z.qvdraft")), "not numbered");
    rewrite(dir.filePath(QStringLiteral("other_5_6.qvdraft")), "garbage under our name");
    writeOne(store, kPost, QStringLiteral("text"));
    store.prune(1000);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("notes.txt"))));
    EXPECT_EQ(store.files().size(), 2);
    const QList<Recoverable> pending = store.pendingDrafts();
    ASSERT_EQ(pending.size(), 1);
    EXPECT_EQ(pending.first().text, QStringLiteral("text"));
}

TEST(DraftStore, HistoryEndsALiveDraftUntilTheNextSnapshot)
{
    QTemporaryDir dir;
    DraftStore store(dir.path());
    writeOne(store, kPost, QStringLiteral("saved text"));
    QString error;
    ASSERT_TRUE(store.moveToHistory(kPost, &error)) << error.toStdString();
    EXPECT_TRUE(store.pendingDrafts().isEmpty());
    EXPECT_EQ(store.files().size(), 1); // kept as history
    writeOne(store, kPost, QStringLiteral("saved text, then more"));
    ASSERT_EQ(store.pendingDrafts().size(), 1);
    EXPECT_EQ(store.pendingDrafts().first().text, QStringLiteral("saved text, then more"));
}

// The clock goes back between snapshots and between sessions: the sequence,
// carried on by a new store over the same folder, still says which is newest.
TEST(DraftStore, OrdersBySequenceWhenTheClockGoesBack)
{
    QTemporaryDir dir;
    {
        DraftStore store(dir.path());
        writeOne(store, kPost, QStringLiteral("at ten"), 10'000'000);
        writeOne(store, kPost, QStringLiteral("clock back an hour"), 6'400'000);
    }
    DraftStore later(dir.path());
    writeOne(later, kPost, QStringLiteral("next session, clock back a day"), 1000);
    Recoverable got;
    ASSERT_TRUE(later.newestIntact(kPost, &got));
    EXPECT_EQ(got.text, QStringLiteral("next session, clock back a day"));
    EXPECT_EQ(got.header.sequence, 3u);
}

// SIGKILL at any moment, writing included: whatever lies under a snapshot's
// name reads back whole, and the newest intact one is a text that was written.
TEST(DraftStore, SurvivesAKillInTheMiddleOfWriting)
{
    for (int written : {1, 2, 4}) {
        QTemporaryDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DraftStore store(dir.path());
            for (int i = 0;; ++i) {
                SnapshotHeader h = headerFor(kPost);
                QString error;
                store.write(h, QString(4'000'000, QChar(u'a' + i % 26)), &error);
            }
        }
        // The writer runs flat out, so it is most likely in the middle of one.
        const bool ready = QTest::qWaitFor(
            [&] { return DraftStore(dir.path()).files().size() >= written; }, 30000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_TRUE(ready) << written;

        DraftStore store(dir.path());
        for (const DraftFile &f : store.files())
            EXPECT_TRUE(readSnapshot(f.path, true).ok) << written << " " << f.path.toStdString();
        Recoverable got;
        ASSERT_TRUE(store.newestIntact(kPost, &got)) << written;
        EXPECT_EQ(got.text.size(), 4'000'000);
        EXPECT_EQ(got.text.count(got.text.front()), got.text.size());
    }
}

TEST(DraftStore, KeepsASixtyMegabyteDraft)
{
    QTemporaryDir dir;
    DraftStore store(dir.path());
    QString text(60 * 1024 * 1024, QLatin1Char('x'));
    text[12345] = QChar(0x4e2d);
    writeOne(store, kPost, text);
    Recoverable got;
    ASSERT_TRUE(store.newestIntact(kPost, &got));
    EXPECT_TRUE(got.text == text);
}

TEST(DraftStore, RunningMarkerTellsAnUncleanEnd)
{
    QTemporaryDir dir;
    DraftStore store(dir.path() + QStringLiteral("/drafts"));
    EXPECT_FALSE(store.previousRunEndedUncleanly());
    QString error;
    ASSERT_TRUE(store.markRunning(&error)) << error.toStdString();
    EXPECT_TRUE(DraftStore(store.folder()).previousRunEndedUncleanly());
    store.markCleanEnd();
    EXPECT_FALSE(DraftStore(store.folder()).previousRunEndedUncleanly());
}

} // namespace
