// The single-instance lock and the desktop launcher's targets.
#include "platform/launcher.h"
#include "platform/singleinstance.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

TEST(SingleInstance, ASecondCopyIsRefusedWhileTheFirstRuns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvane.lock"));
    SingleInstance first(path);
    ASSERT_TRUE(first.acquire());
    SingleInstance second(path);
    EXPECT_FALSE(second.acquire());
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
    EXPECT_TRUE(next.acquire());
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
