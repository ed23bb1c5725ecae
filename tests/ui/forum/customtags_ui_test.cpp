// Forum > Custom Tags... on the offscreen platform, through the real main
// window: a definition refused with its reason or added, kept for the forum
// in a real file, rendered by Live Preview and known to the checker; Import
// and Export of the file a person edits.
#include "commands/customtagcommands.h"
#include "commands/livepreviewcommands.h"
#include "forum/customtags.h"
#include "settings/forumchoice.h"
#include "settings/livepreview.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/customtagsdialog.h"
#include "windows/livepreviewwindow.h"
#include "windows/previewbrowser.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

void forgetAll()
{
    forumchoice::forget();
    livepreview::forget();
    for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
        QFile::remove(storedCustomTagsPath(forum));
        installForumTagSet(makeForumTagSet(forum, {}));
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CustomTagsUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forgetAll();
        w = std::make_unique<test::Window>();
    }
    void TearDown() override
    {
        w.reset();
        forgetAll();
    }

    CustomTagsDialog *open(Forum forum) const
    {
        w->form->command(forum == Forum::PhpBB ? "ForumPhpBB" : "ForumSmf")->trigger();
        w->form->command("CustomTags")->trigger();
        return w->form->findChild<CustomTagsDialog *>();
    }
    template <typename T> static T *in(CustomTagsDialog *d, const char *name)
    {
        return d->findChild<T *>(QString::fromLatin1(name));
    }
    // Types a definition into the fields and presses a button.
    static void define(CustomTagsDialog *d, const QString &usage, const QString &replacement,
                       const char *button = "CustomTagAdd")
    {
        in<QLineEdit>(d, "CustomTagUsage")->setText(usage);
        in<QLineEdit>(d, "CustomTagReplacement")->setText(replacement);
        in<QPushButton>(d, button)->click();
    }
    static QString error(CustomTagsDialog *d) { return in<QLabel>(d, "CustomTagError")->text(); }
    static int listed(CustomTagsDialog *d) { return in<QListWidget>(d, "CustomTagList")->count(); }
    void answer(CustomTagsDialog *d, QDialogButtonBox::StandardButton button) const
    {
        d->findChild<QDialogButtonBox *>()->button(button)->click();
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return w->form->findChild<CustomTagsDialog *>() == nullptr; }, 10000));
    }

    std::unique_ptr<test::Window> w;
};

TEST_F(CustomTagsUiTest, GenericHasNoneAndSaysWhy)
{
    w->dialogs.messageAnswers.push_back(QMessageBox::Ok);
    w->form->command("CustomTags")->trigger();
    ASSERT_EQ(w->dialogs.messages.size(), 1);
    EXPECT_TRUE(w->dialogs.messages[0].text.contains(QLatin1String("choose its forum")));
    EXPECT_EQ(w->form->findChild<CustomTagsDialog *>(), nullptr);
}

TEST_F(CustomTagsUiTest, ADefinitionIsRefusedWithItsReasonOrKeptRenderedAndKnown)
{
    CustomTagsDialog *d = open(Forum::PhpBB);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Custom Tags - phpBB 3.3"));

    define(d, QStringLiteral("[spoiler={TEXT1}]{TEXT2}[/spoiler]"),
           QStringLiteral("<details><summary>{TEXT1}</summary>{TEXT3}</details>"));
    EXPECT_EQ(error(d), QStringLiteral("HTML replacement: {TEXT3} is not in the usage."));
    EXPECT_EQ(listed(d), 0);
    define(d, QStringLiteral("spoiler]{TEXT}"), QStringLiteral("<b>{TEXT}</b>"));
    EXPECT_TRUE(error(d).startsWith(QLatin1String("Usage: a usage starts with")))
        << error(d).toStdString();

    define(d, QStringLiteral("[spoiler={TEXT1}]{TEXT2}[/spoiler]"),
           QStringLiteral("<div class=\"sp\"><b>{TEXT1}</b> {TEXT2}</div><script>x()</script>"));
    define(d, QStringLiteral("[box={NUMBER}]{TEXT}[/box]"), QStringLiteral("<i>{TEXT}</i>"));
    EXPECT_EQ(error(d), QString());
    EXPECT_EQ(listed(d), 2);
    // Changed in place, then taken out again.
    define(d, QStringLiteral("[box={NUMBER}]{TEXT}[/box]"), QStringLiteral("<u>{TEXT}</u>"),
           "CustomTagChange");
    define(d, QStringLiteral("[gone]"), QStringLiteral("<hr>"));
    in<QPushButton>(d, "CustomTagRemove")->click();
    EXPECT_EQ(listed(d), 2);
    answer(d, QDialogButtonBox::Ok);

    // Forum Tags offers them as the forum's own.
    QStringList offered;
    for (const QAction *action : w->form->control<QMenu>("ForumTagsMenu")->actions())
        offered << action->text();
    EXPECT_EQ(offered.join(u'|').toStdString(), "Spoiler [spoiler]|[box]");

    // Kept in the program's own file of the forum's tags.
    const CustomTagsRead stored = readCustomTagsFile(storedCustomTagsPath(Forum::PhpBB));
    ASSERT_TRUE(stored.ok());
    ASSERT_EQ(stored.tags.size(), 2u);
    EXPECT_EQ(stored.tags[1].replacement, QStringLiteral("<u>{TEXT}</u>"));

    // The checker: the tags are known, a value its token refuses is flagged.
    auto *count = w->form->findChild<QToolButton *>(QStringLiteral("ProblemCount"));
    w->form->typer()->setText(QStringLiteral("[spoiler=End]He lives[/spoiler] [box=x]a[/box]"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return count->text() == u"1 problem"; }, 10000))
        << count->text().toStdString();

    // Live Preview shows the replacement, without its script.
    auto *live = w->form->findChild<LivePreviewCommands *>()->window();
    QSignalSpy pages(live, &LivePreviewWindow::pageShown);
    w->form->command("LivePreview")->trigger();
    ASSERT_TRUE(pages.count() > 0 || pages.wait(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !live->isBusy(); }, 10000));
    const QString shown = live->view()->toPlainText();
    EXPECT_TRUE(shown.contains(QLatin1String("End He lives"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1String("[spoiler"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1String("x()"))) << shown.toStdString();

    // Another start reads them back.
    w = std::make_unique<test::Window>();
    EXPECT_EQ(forumTagSet(Forum::PhpBB)->custom, stored.tags);
}

TEST_F(CustomTagsUiTest, ImportTakesAWholeFileOrNothingAndExportWritesIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray good = "[spoiler]{TEXT}[/spoiler]\n<div>{TEXT}</div>\n\n"
                            "[dice]\n<b>6</b>\n\n";
    const QString goodPath = dir.filePath(QStringLiteral("board.txt"));
    const QString badPath = dir.filePath(QStringLiteral("bad.txt"));
    {
        QFile f(goodPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(good);
        QFile b(badPath);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        b.write("[x]{TEXT}[/x]\n<b>{TEXT}</b>\n\n[y={FOO}]{TEXT}[/y]\n<i>{TEXT}</i>\n");
    }

    CustomTagsDialog *d = open(Forum::Smf);
    ASSERT_NE(d, nullptr);
    w->dialogs.openAnswers.push_back(badPath);
    in<QPushButton>(d, "CustomTagsImport")->click();
    EXPECT_TRUE(error(d).startsWith(QLatin1String("bad.txt, line 4: {FOO} is not a token")))
        << error(d).toStdString();
    EXPECT_TRUE(error(d).endsWith(QLatin1String("Nothing was imported.")));
    EXPECT_EQ(listed(d), 0);

    w->dialogs.openAnswers.push_back(goodPath);
    in<QPushButton>(d, "CustomTagsImport")->click();
    EXPECT_EQ(error(d), QString());
    EXPECT_EQ(listed(d), 2);

    const QString out = dir.filePath(QStringLiteral("out.txt"));
    w->dialogs.saveAnswers.push_back(out);
    in<QPushButton>(d, "CustomTagsExport")->click();
    EXPECT_EQ(readAll(out), good);
    EXPECT_TRUE(w->dialogs.allAnswered());

    // Cancel keeps nothing.
    answer(d, QDialogButtonBox::Cancel);
    EXPECT_FALSE(QFile::exists(storedCustomTagsPath(Forum::Smf)));
    EXPECT_TRUE(forumTagSet(Forum::Smf)->custom.empty());
}

} // namespace
