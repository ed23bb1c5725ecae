#include "drafts/draftwriter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cerrno>

using namespace quorvane::drafts;
using namespace std::chrono_literals;

namespace {

const QString kPost = QStringLiteral("6f1d2c3b-0000-4000-8000-00000000000b");

SnapshotHeader headerFor(const QString &post)
{
    SnapshotHeader h;
    h.postId = post;
    return h;
}

QString newestText(const QString &folder)
{
    Recoverable got;
    return DraftStore(folder).newestIntact(kPost, &got) ? got.text : QStringLiteral("<none>");
}

struct Fault
{
    const char *name;
    // Makes writes fail; returns what undoes it.
    std::function<std::function<void()>(DraftWriter &, const QString &folder)> start;
    const char *reason;
};

// Drafts stop reaching the disk: the writer says so once however many
// snapshots fail, the caller never waits, and once the fault is gone the
// latest text reaches the disk with no new request.
TEST(DraftWriter, ReportsAFailureOnceAndResumesByItself)
{
    const Fault cases[] = {
        {"disk full",
         [](DraftWriter &w, const QString &) {
             auto full = std::make_shared<std::atomic<bool>>(true);
             w.setFault([full](const QString &) { return full->load() ? ENOSPC : 0; });
             return [full] { *full = false; };
         },
         "No space left"},
        // A plain file where the folder should be stops even root.
        {"folder cannot be made",
         [](DraftWriter &, const QString &folder) {
             QFile blocker(folder);
             EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
             return [folder] { QFile::remove(folder); };
         },
         "cannot create the folder"},
    };
    for (const Fault &c : cases) {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/drafts");
        DraftWriter writer(folder);
        writer.setRetryInterval(50ms);
        QSignalSpy failing(&writer, &DraftWriter::failing);
        QSignalSpy resumed(&writer, &DraftWriter::resumed);
        const auto undo = c.start(writer, folder);

        for (int i = 1; i <= 3; ++i) {
            writer.submit(headerFor(kPost), QStringLiteral("version %1").arg(i));
            ASSERT_TRUE(writer.waitUntilIdle(5s)) << c.name;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !failing.isEmpty(); }, 5000)) << c.name;
        QTest::qWait(200); // several retries fail meanwhile
        EXPECT_EQ(failing.size(), 1) << c.name;
        EXPECT_TRUE(failing.first().first().toString().contains(QLatin1String(c.reason)))
            << c.name << ": " << failing.first().first().toString().toStdString();
        EXPECT_TRUE(writer.isFailing()) << c.name;

        undo();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !resumed.isEmpty(); }, 5000)) << c.name;
        EXPECT_EQ(newestText(folder), QStringLiteral("version 3")) << c.name;
        EXPECT_EQ(failing.size(), 1) << c.name;
        EXPECT_FALSE(writer.isFailing()) << c.name;
    }
}

TEST(DraftWriter, KeepsRequestsInOrder)
{
    QTemporaryDir dir;
    DraftWriter writer(dir.path());
    writer.markRunning();
    writer.submit(headerFor(kPost), QStringLiteral("draft"));
    writer.moveToHistory(kPost);
    writer.submit(headerFor(kPost), QStringLiteral("after saving"));
    writer.markCleanEnd();
    ASSERT_TRUE(writer.waitUntilIdle(5s));
    DraftStore store(dir.path());
    EXPECT_FALSE(store.previousRunEndedUncleanly());
    const QList<DraftFile> files = store.files();
    ASSERT_EQ(files.size(), 2);
    EXPECT_FALSE(files[0].pending);
    EXPECT_TRUE(files[1].pending);
    EXPECT_EQ(newestText(dir.path()), QStringLiteral("after saving"));
}

} // namespace
