// Preview in Browser and Remove Text Formatting, driven through the window's
// own buttons, with the browser replaced by a recording launcher.
#include "commands/previewcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        commands()->setDataDir(dir.path());
    }
    PreviewCommands *commands() { return w.form->findChild<PreviewCommands *>(); }
    Typer *typer() { return w.form->typer(); }
    QString page() const { return dir.filePath(QStringLiteral("Preview.htm")); }

    QTemporaryDir dir;
    test::Window w;
};

TEST_F(PreviewTest, TheButtonWritesThePageAndOpensIt)
{
    typer()->setText(QStringLiteral("[b]Hi[/B] caf\u00E9\r\n"));
    w.form->control<QToolButton>("PreviewCommand")->click();
    EXPECT_EQ(readAll(page()), QByteArray("<b>Hi</b> caf&#233;<p>&nbsp;</p>"
                                          "<title>Quorvane - Preview</title>\r\n"));
    ASSERT_EQ(w.launcher.urls.size(), 1);
    EXPECT_EQ(w.launcher.urls.first(), QUrl::fromLocalFile(page()));
}

TEST_F(PreviewTest, TheMenuItemDoesTheSameAndAnEmptyPostGivesTheTitleAlone)
{
    w.form->command("PreviewMenu")->trigger();
    EXPECT_EQ(readAll(page()), QByteArray("<title>Quorvane - Preview</title>\r\n"));
    EXPECT_EQ(w.launcher.urls.size(), 1);
}

TEST_F(PreviewTest, ThePostAndItsSelectionAreUntouched)
{
    typer()->setText(QStringLiteral("one [I]two[/I] :)"));
    typer()->setSelStart(4);
    typer()->setSelLength(3);
    w.form->command("PreviewMenu")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("one [I]two[/I] :)"));
    EXPECT_EQ(typer()->selStart(), 4);
    EXPECT_EQ(typer()->selLength(), 3);
}

TEST_F(PreviewTest, SmileySourcesPointIntoTheDataFolder)
{
    typer()->setText(QStringLiteral(":)"));
    w.form->command("PreviewMenu")->trigger();
    EXPECT_EQ(
        QString::fromLatin1(readAll(page())),
        QStringLiteral("<img src=\"%1/Smilies/Smile.gif\"><title>Quorvane - Preview</title>\r\n")
            .arg(dir.path()));
}

TEST_F(PreviewTest, ASecondPreviewLeavesOnlyTheSecondPage)
{
    typer()->setText(QStringLiteral("a much longer first post than the second"));
    w.form->command("PreviewMenu")->trigger();
    typer()->setText(QStringLiteral("short"));
    w.form->command("PreviewMenu")->trigger();
    EXPECT_EQ(readAll(page()), QByteArray("short<title>Quorvane - Preview</title>\r\n"));
}

TEST_F(PreviewTest, AnUnwritableDataFolderFallsBackToTheCache)
{
    // A folder "inside" a regular file cannot be written, even by root.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    commands()->setDataDir(dir.filePath(QStringLiteral("file/data")));
    typer()->setText(QStringLiteral("x"));
    w.form->command("PreviewMenu")->trigger();
    const QString cached = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                               .filePath(QStringLiteral("Preview.htm"));
    EXPECT_EQ(readAll(cached), QByteArray("x<title>Quorvane - Preview</title>\r\n"));
    ASSERT_EQ(w.launcher.urls.size(), 1);
    EXPECT_EQ(w.launcher.urls.first(), QUrl::fromLocalFile(cached));
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    // The README sends the reader to the same folder under the cache root.
    const QString root = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString folder = QDir(root).relativeFilePath(QFileInfo(cached).absolutePath());
    QFile readme(QStringLiteral(QUORVANE_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(readme.readAll()).contains(QStringLiteral("`~/.cache/%1/`").arg(folder)))
        << "the README does not name ~/.cache/" << folder.toStdString();
}

TEST_F(PreviewTest, APageThatCannotBeWrittenIsSaidAndNotOpened)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(cache).removeRecursively();
    QDir().mkpath(QFileInfo(cache).absolutePath());
    QFile blocker(cache); // the cache folder is a file now
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    commands()->setDataDir(cache + QStringLiteral("/data"));
    w.form->command("PreviewMenu")->trigger();
    QFile::remove(cache);
    EXPECT_TRUE(w.launcher.urls.isEmpty());
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_EQ(w.dialogs.messages.first().title, QStringLiteral("Quorvane"));
    EXPECT_TRUE(w.dialogs.messages.first().text.contains(QStringLiteral("Preview.htm")));
}

TEST_F(PreviewTest, NoBrowserToStartIsSaidWithWhereThePageIs)
{
    w.launcher.succeed = false;
    typer()->setText(QStringLiteral("post"));
    w.form->command("PreviewMenu")->trigger();
    EXPECT_EQ(readAll(page()), QByteArray("post<title>Quorvane - Preview</title>\r\n"));
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    const auto &message = w.dialogs.messages.first();
    EXPECT_EQ(message.title, QStringLiteral("Quorvane"));
    EXPECT_EQ(message.icon, QMessageBox::Warning);
    EXPECT_EQ(message.text, QStringLiteral("The preview page was written to \"%1\", but no "
                                           "browser could be started to show it.")
                                .arg(QDir::toNativeSeparators(page())));
}

TEST_F(PreviewTest, RemoveTextFormattingIsOneUndoableStep)
{
    const QString marked =
        QStringLiteral("[URL=target]Home[/URL]\r\n[B]bold[/B] :) [LI[LIST=1]ST]");
    typer()->setText(marked);
    w.form->control<QToolButton>("RemoveTextF")->click();
    EXPECT_EQ(typer()->text(), QStringLiteral("targetHome\r\nbold :) "));
    EXPECT_EQ(typer()->selStart(), 0);
    typer()->undo();
    EXPECT_EQ(typer()->text(), marked);
}

} // namespace
