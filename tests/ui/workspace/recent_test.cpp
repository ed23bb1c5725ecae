// File > Open Recent on the real window, with real files, and the desktop's
// shared list it writes.
#include "commands/documentcommands.h"
#include "commands/recentcommands.h"
#include "settings/workspace.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

class RecentTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    void SetUp() override { workspace::forget(); }
    void TearDown() override { workspace::forget(); }

    QString write(const char *name, const QByteArray &text)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QString desktopList() const { return dir.filePath(QStringLiteral("share/recently-used.xbel")); }

    // The window's recent-file commands, writing the desktop list here.
    RecentCommands &recent(test::Window &w)
    {
        RecentCommands *commands = RecentCommands::of(*w.form);
        commands->setDesktopList(desktopList());
        return *commands;
    }
    static DocumentCommands &documents(test::Window &w)
    {
        return *w.form->findChild<DocumentCommands *>();
    }
    // The entries as the submenu shows them when opened.
    static QStringList entries(test::Window &w)
    {
        auto *menu = w.form->control<QMenu>("OpenRecent");
        emit menu->aboutToShow();
        QStringList tips;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator() &&
                action->objectName().startsWith(QLatin1String("RecentFile")))
                tips << action->toolTip();
        }
        return tips;
    }
};

TEST_F(RecentTest, OpenedAndSavedFilesAreListedNewestFirstAndRemembered)
{
    const QString first = write("first.txt", "one");
    const QString second = write("second post.txt", "two");
    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    {
        test::Window w;
        QSignalSpy written(&recent(w), &RecentCommands::desktopListWritten);
        documents(w).openFile(first);
        documents(w).openFile(second);
        w.dialogs.saveAnswers = {saved};
        documents(w).Save_File();
        EXPECT_EQ(entries(w), (QStringList{saved, second, first}));
        EXPECT_TRUE(w.form->command("ClearRecentFiles")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(written.size(), 3, 10000);
        EXPECT_TRUE(written.at(2).at(0).toBool());
        w.form->close();
    }
    test::Window w;
    EXPECT_EQ(entries(w), (QStringList{saved, second, first}));

    // Chosen, an entry opens its file.
    w.form->control<QMenu>("OpenRecent")
        ->findChild<QAction *>(QStringLiteral("RecentFile3"))
        ->trigger();
    EXPECT_EQ(w.form->typer()->toPlainText(), QStringLiteral("one"));
    EXPECT_EQ(entries(w).front(), first);

    QFile list(desktopList());
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray xbel = list.readAll();
    EXPECT_TRUE(xbel.contains(QUrl::fromLocalFile(second).toEncoded()));
    EXPECT_TRUE(xbel.contains("name=\"Quorvane\""));
}

TEST_F(RecentTest, AFileThatHasGoneIsTakenOffWithAWord)
{
    const QString kept = write("kept.txt", "kept");
    const QString gone = write("gone.txt", "gone");
    test::Window w;
    recent(w);
    documents(w).openFile(kept);
    documents(w).openFile(gone);
    documents(w).Start_New_File();
    ASSERT_TRUE(QFile::remove(gone));

    ASSERT_EQ(entries(w), (QStringList{gone, kept}));
    w.dialogs.messageAnswers = {QMessageBox::Ok};
    w.form->control<QMenu>("OpenRecent")
        ->findChild<QAction *>(QStringLiteral("RecentFile1"))
        ->trigger();
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(QLatin1String("gone.txt")));
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(QLatin1String("no longer there")));
    EXPECT_EQ(w.form->typer()->toPlainText(), QString()) << "the post is left as it was";
    EXPECT_EQ(entries(w), QStringList{kept});
    EXPECT_EQ(workspace::readRecentFiles(), QStringList{kept});
}

TEST_F(RecentTest, ClearListEmptiesItForGood)
{
    const QString file = write("a.txt", "a");
    {
        test::Window w;
        recent(w);
        documents(w).openFile(file);
        w.form->command("ClearRecentFiles")->trigger();
        EXPECT_EQ(entries(w), QStringList());
        EXPECT_FALSE(w.form->command("ClearRecentFiles")->isEnabled());
        EXPECT_FALSE(w.form->command("RecentFilesLine")->isVisible());
    }
    test::Window w;
    EXPECT_EQ(entries(w), QStringList());
}

TEST_F(RecentTest, AnImportIsNotAFileOpened)
{
    const QString page = write("page.html", "<p><b>bold</b></p>");
    test::Window w;
    recent(w);
    w.dialogs.openAnswers = {page};
    w.form->command("ImportBBCode")->trigger();
    ASSERT_TRUE(w.form->typer()->toPlainText().contains(QLatin1String("[B]")));
    EXPECT_EQ(entries(w), QStringList());
}

} // namespace
