#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

// Every test binary gets a real QApplication (offscreen when run by CTest) and
// Qt's test locations, so no test reads or writes a real user's settings.
int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
