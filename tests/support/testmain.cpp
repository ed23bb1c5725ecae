#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

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
    return RUN_ALL_TESTS();
}
