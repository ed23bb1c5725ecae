#include "support/nodictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvane::test {

void runWithoutDictionaries(const char *filter)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty() || !QDir(QStringLiteral("/usr/share/hunspell")).exists())
        GTEST_SKIP() << "needs unshare and a Hunspell folder";
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVANE_NO_DICTIONARY_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("ENCHANT_CONFIG_DIR"), empty.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), empty.path());
    env.insert(QStringLiteral("XDG_DATA_DIRS"), empty.path());
    child.setProcessEnvironment(env);
    child.start(unshare, {QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                          QStringLiteral("--mount"), QStringLiteral("sh"), QStringLiteral("-c"),
                          QStringLiteral("mount --bind \"$1\" /usr/share/hunspell && exec \"$2\" "
                                         "--gtest_filter=\"$3\""),
                          QStringLiteral("sh"), empty.path(),
                          QCoreApplication::applicationFilePath(), QString::fromLatin1(filter)});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput() + child.readAllStandardError();
    if (out.contains("unshare failed") || out.contains("mount: "))
        GTEST_SKIP() << "no mount namespace here: " << out.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

} // namespace quorvane::test
