#include "platform/workerthreads.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

// Every test binary gets a real QApplication (offscreen when run by CTest) and
// Qt's test locations, so no test reads or writes a real user's settings.
int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    // Each test program keeps its settings store to itself: CTest runs
    // programs side by side, and one clearing a shared store under another
    // made results depend on timing.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // Every worker has ended before main returns: the leak checker stops the
    // world at exit, and a thread still running then can bring it down.
    using namespace std::chrono_literals;
    if (!quorvane::endWorkerThreads(60s) || !quorvane::waitUntilOnlyThread(30s)) {
        std::fprintf(stderr, "Threads still running at the end of main: %s\n",
                     qPrintable(quorvane::otherThreads().join(QStringLiteral(", "))));
        return 1;
    }
    return status;
}
