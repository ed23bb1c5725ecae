// The single-instance lock and the desktop launcher's targets.
#include "platform/launcher.h"
#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvane;

namespace {

TEST(SingleInstance, ASecondCopyIsRefusedWhileTheFirstRuns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
    SingleInstance first(path);
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
    SingleInstance second(path);
    EXPECT_EQ(second.acquire(), SingleInstance::Outcome::HeldByAnotherCopy);
}

TEST(SingleInstance, ALockLeftByADeadProcessIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
    // A process that has ended: its number is free.
    QProcess done;
    done.start(QStringLiteral("true"));
    ASSERT_TRUE(done.waitForFinished());
    const qint64 deadPid = done.processId() > 0 ? done.processId() : 999999;
    QFile lock(path);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nquorvane\n" + QSysInfo::machineHostName().toUtf8() +
               "\n");
    lock.close();
    SingleInstance next(path);
    EXPECT_EQ(next.acquire(), SingleInstance::Outcome::Acquired);
}

// What acquire() answers in a child process whose files cannot grow past
// `fileSizeLimit` bytes: a full disk, as far as the lock file can tell.
int outcomeWithFileSizeLimit(const QString &path, rlim_t fileSizeLimit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        SingleInstance instance(path);
        _exit(int(instance.acquire()));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Only a live copy ends the start: a lock file left empty or garbled by a crash
// is stale, and a lock that cannot be taken at all is no reason to refuse the
// writer their composer.
TEST(SingleInstance, OnlyALiveCopyStopsTheStart)
{
    using Outcome = SingleInstance::Outcome;
    struct Case
    {
        const char *what;
        std::function<QString(const QTemporaryDir &)> prepare; // returns the lock path
        Outcome expected;
    };
    const auto lockWith = [](const QByteArray &bytes) {
        return [bytes](const QTemporaryDir &dir) {
            const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
            QFile lock(path);
            EXPECT_TRUE(lock.open(QIODevice::WriteOnly));
            lock.write(bytes);
            return path;
        };
    };
    const Case cases[] = {
        {"no lock file",
         [](const QTemporaryDir &dir) { return dir.filePath(QStringLiteral("q.lock")); },
         Outcome::Acquired},
        {"an empty lock file", lockWith(QByteArray()), Outcome::Acquired},
        {"a garbled lock file", lockWith("\x01\x02garbage\n\xff"), Outcome::Acquired},
        {"a lock file without a process number", lockWith("\nquorvane\nhost\n"), Outcome::Acquired},
        {"a folder in the lock's place",
         [](const QTemporaryDir &dir) {
             const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
             EXPECT_TRUE(QDir().mkdir(path));
             return path;
         },
         Outcome::Failed},
        {"a lock folder that cannot exist",
         [](const QTemporaryDir &dir) {
             QFile file(dir.filePath(QStringLiteral("file")));
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             return dir.filePath(QStringLiteral("file/quorvane.lock"));
         },
         Outcome::Failed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = c.prepare(dir);
        SingleInstance instance(path);
        EXPECT_EQ(instance.acquire(), c.expected);
        if (c.expected == Outcome::Failed) {
            EXPECT_TRUE(instance.errorString().contains(path))
                << instance.errorString().toStdString();
        } else {
            EXPECT_TRUE(instance.errorString().isEmpty());
            // Taken for real: a second copy is refused now.
            EXPECT_EQ(SingleInstance(path).acquire(), Outcome::HeldByAnotherCopy);
        }
    }

    // A runtime folder with no room left: the lock cannot be written.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
    EXPECT_EQ(outcomeWithFileSizeLimit(path, 0), int(Outcome::Failed));
    EXPECT_EQ(outcomeWithFileSizeLimit(path, RLIM_INFINITY), int(Outcome::Acquired));
}

TEST(LauncherTargets, PathsBecomeFileUrlsAndUrlsStayUrls)
{
    EXPECT_EQ(urlForTarget(QStringLiteral("/tmp/a b/#Preview?.htm")),
              QUrl::fromLocalFile(QStringLiteral("/tmp/a b/#Preview?.htm")));
    EXPECT_EQ(urlForTarget(QStringLiteral("https://quorvane.example/")),
              QUrl(QStringLiteral("https://quorvane.example/")));
    EXPECT_EQ(urlForTarget(QStringLiteral("mailto:support@quorvane.example")).scheme(),
              QStringLiteral("mailto"));
}

} // namespace
