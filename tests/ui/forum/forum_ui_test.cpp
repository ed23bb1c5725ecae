// The Forum menu on the offscreen platform, through the real main window:
// the choice remembered and named in the window, shared with the length
// dialog, and shown by Live Preview and Preview in Browser.
#include "commands/forumcommands.h"
#include "commands/lengthstatus.h"
#include "commands/livepreviewcommands.h"
#include "commands/postlengthcommands.h"
#include "commands/previewcommands.h"
#include "conversion/previewpage.h"
#include "settings/forumchoice.h"
#include "settings/livepreview.h"
#include "settings/postlimit.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/livepreviewwindow.h"
#include "windows/postlimitdialog.h"
#include "windows/previewbrowser.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const QString kQuote = QStringLiteral("[QUOTE=Anna]Bring water[/QUOTE]");

void forgetAll()
{
    forumchoice::forget();
    postlimit::forget();
    livepreview::forget();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ForumUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        forgetAll();
        w = std::make_unique<test::Window>();
    }
    void TearDown() override
    {
        w.reset();
        forgetAll();
    }

    ForumCommands &forum() const { return *w->form->findChild<ForumCommands *>(); }
    PostLengthCommands &length() const { return *w->form->findChild<PostLengthCommands *>(); }
    LivePreviewWindow *preview() const
    {
        return w->form->findChild<LivePreviewCommands *>()->window();
    }
    QString shown() const { return preview()->view()->toPlainText(); }
    QString note() const
    {
        return preview()->findChild<QLabel *>(QStringLiteral("LivePreviewNote"))->text();
    }
    // The forum's menu item, chosen as a person chooses it.
    void choose(Forum which) const { forum().command(which)->trigger(); }
    Forum checked() const
    {
        for (Forum each : allForums) {
            if (forum().command(each)->isChecked())
                return each;
        }
        return Forum::Generic;
    }
    void settle() const
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !preview()->isBusy(); }, 10000));
    }
    // Opens Post Length Limit..., picks a profile and answers OK.
    void pickInDialog(const char *profileKey) const
    {
        w->form->command("PostLengthLimit")->trigger();
        PostLimitDialog *dialog = length().limitDialog();
        ASSERT_NE(dialog, nullptr);
        auto *profile = dialog->findChild<QComboBox *>(QStringLiteral("Profile"));
        profile->setCurrentIndex(profile->findData(QString::fromLatin1(profileKey)));
        ASSERT_GE(profile->currentIndex(), 0) << profileKey;
        emit profile->activated(profile->currentIndex());
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        closed();
    }
    // The dialog deletes itself once closed; the next one is a new one.
    void closed() const
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !length().limitDialog(); }, 10000));
    }
    QString dialogShows() const
    {
        w->form->command("PostLengthLimit")->trigger();
        PostLimitDialog *dialog = length().limitDialog();
        const QString text =
            dialog->findChild<QComboBox *>(QStringLiteral("Profile"))->currentText();
        dialog->reject();
        closed();
        return text;
    }

    std::unique_ptr<test::Window> w;
};

TEST_F(ForumUiTest, TheChoiceIsRememberedAndNamedInTheWindow)
{
    auto *label = w->form->control<QLabel>("ChosenForum");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(checked(), Forum::Generic);
    EXPECT_EQ(label->text(), QStringLiteral("Forum: Generic (Preview page)"));

    choose(Forum::PhpBB);
    EXPECT_EQ(checked(), Forum::PhpBB);
    EXPECT_FALSE(forum().command(Forum::Generic)->isChecked());
    EXPECT_EQ(label->text(), QStringLiteral("Forum: phpBB 3.3"));

    w = std::make_unique<test::Window>();
    label = w->form->control<QLabel>("ChosenForum");
    EXPECT_EQ(checked(), Forum::PhpBB);
    EXPECT_EQ(label->text(), QStringLiteral("Forum: phpBB 3.3"));
    // The longest name fits whole in the fixed window's top strip, beside
    // the version.
    choose(Forum::Generic);
    QTest::qWait(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->form->size(), QSize(640, 480));
    EXPECT_TRUE(label->isVisible());
    EXPECT_GE(label->width(), label->sizeHint().width());
    const QRect version = w->form->control<QLabel>("ControlBoxTip")->geometry();
    EXPECT_LE(label->geometry().right(), version.left());
    EXPECT_GE(version.width(), w->form->control<QLabel>("ControlBoxTip")->sizeHint().width());
}

TEST_F(ForumUiTest, AnAuxiliaryWindowHoldsTheMenuAsEveryCommand)
{
    QWidget other;
    w->form->openAuxiliary(&other);
    EXPECT_FALSE(forum().command(Forum::Smf)->isEnabled());
    w->form->closeAuxiliary(&other);
    EXPECT_TRUE(forum().command(Forum::Smf)->isEnabled());
}

TEST_F(ForumUiTest, TheLengthDialogShowsTheSameChoice)
{
    choose(Forum::Smf);
    EXPECT_EQ(dialogShows(), QStringLiteral("SMF 2.1 (20,000)"));
    EXPECT_EQ(length().status().choice().limit, 20000);

    pickInDialog("mybb");
    EXPECT_EQ(checked(), Forum::MyBB);
    EXPECT_EQ(forumchoice::read(), Forum::MyBB);

    // No limit says nothing of the forum.
    pickInDialog("none");
    EXPECT_EQ(checked(), Forum::MyBB);
    EXPECT_FALSE(length().status().choice().hasLimit());

    // A board that no forum here renders: the preview page.
    pickInDialog("discourse");
    EXPECT_EQ(checked(), Forum::Generic);

    choose(Forum::PhpBB);
    EXPECT_EQ(dialogShows(), QStringLiteral("phpBB 3.3 (60,000)"));
    // Generic keeps the limit the writer counts against.
    choose(Forum::Generic);
    EXPECT_EQ(length().status().choice(),
              (postlimit::Choice{QStringLiteral("custom"), 60000, LengthRule{true, 1}}));
    EXPECT_EQ(dialogShows(), QStringLiteral("Custom"));

    // Both are remembered.
    choose(Forum::Smf);
    w = std::make_unique<test::Window>();
    EXPECT_EQ(checked(), Forum::Smf);
    EXPECT_EQ(dialogShows(), QStringLiteral("SMF 2.1 (20,000)"));
}

struct HeaderCase
{
    Forum forum;
    const char *header;
};

class LivePreviewHeaders : public ForumUiTest, public ::testing::WithParamInterface<HeaderCase>
{
};

TEST_P(LivePreviewHeaders, ShowTheChosenForumsQuote)
{
    const HeaderCase &c = GetParam();
    w->form->typer()->setText(kQuote);
    QSignalSpy pages(preview(), &LivePreviewWindow::pageShown);
    w->form->command("LivePreview")->trigger();
    ASSERT_TRUE(pages.count() > 0 || pages.wait(10000));
    settle();
    EXPECT_FALSE(shown().contains(QLatin1String(c.header)));

    // Choosing the forum shows its page at once, and the note names it.
    pages.clear();
    choose(c.forum);
    ASSERT_TRUE(pages.count() > 0 || pages.wait(10000));
    settle();
    // The heading stands above the quoted words, not run into them.
    EXPECT_TRUE(shown().contains(QLatin1String(c.header) + QLatin1Char('\n')))
        << shown().toStdString();
    EXPECT_TRUE(shown().contains(QLatin1String("Bring water")));
    EXPECT_TRUE(note().contains(forumDisplayName(c.forum))) << note().toStdString();

    // And back: today's page and note.
    pages.clear();
    choose(Forum::Generic);
    ASSERT_TRUE(pages.count() > 0 || pages.wait(10000));
    settle();
    EXPECT_FALSE(shown().contains(QLatin1String(c.header)));
    EXPECT_TRUE(note().startsWith(QLatin1String("A close likeness")));
}

INSTANTIATE_TEST_SUITE_P(Forums, LivePreviewHeaders,
                         ::testing::Values(HeaderCase{Forum::PhpBB, "Anna wrote:"},
                                           HeaderCase{Forum::Smf, "Quote from: Anna"},
                                           HeaderCase{Forum::MyBB, "Anna Wrote:"}),
                         [](const auto &entry) {
                             return forumKey(entry.param.forum).toStdString();
                         });

TEST_F(ForumUiTest, PreviewInBrowserWritesTheChosenForumsPage)
{
    QTemporaryDir dir;
    QTemporaryDir generic;
    ASSERT_TRUE(dir.isValid() && generic.isValid());
    w->form->findChild<PreviewCommands *>()->setDataDir(dir.path());
    const QString page = dir.filePath(QStringLiteral("Preview.htm"));
    w->form->typer()->setText(kQuote);

    // Generic: today's page, byte for byte.
    w->form->command("PreviewMenu")->trigger();
    ASSERT_TRUE(writePreviewPageFor(w->form->typer()->text(), generic.path()).ok);
    EXPECT_EQ(readAll(page), readAll(generic.filePath(QStringLiteral("Preview.htm"))));

    choose(Forum::PhpBB);
    w->form->command("PreviewMenu")->trigger();
    EXPECT_TRUE(readAll(page).contains("Anna wrote:"));
    ASSERT_EQ(w->launcher.urls.size(), 2);
    EXPECT_EQ(w->launcher.urls.last(), QUrl::fromLocalFile(page));
}

} // namespace
