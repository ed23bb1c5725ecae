// The length status, Post Length Limit... and Split Post... on the offscreen
// platform, driven through the real main window and the real clipboard.
#include "commands/lengthstatus.h"
#include "commands/markupcommands.h"
#include "commands/postlengthcommands.h"
#include "settings/forumchoice.h"
#include "settings/postlimit.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "split/postsplitter.h"
#include "support/scripted.h"
#include "text/textrules.h"
#include "windows/postlimitdialog.h"
#include "windows/splitwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace quorvane;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

postlimit::Choice limitOf(qsizetype limit, bool countTags = true, int lineBreak = 1)
{
    return {QStringLiteral("custom"), limit, LengthRule{countTags, lineBreak}};
}

class SplitUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        postlimit::forget();
        forumchoice::forget(); // a forum's profile chosen here chooses that forum
        w = std::make_unique<test::Window>();
    }
    void TearDown() override
    {
        w.reset();
        postlimit::forget();
        forumchoice::forget();
    }

    PostLengthCommands &commands() const { return *w->form->findChild<PostLengthCommands *>(); }
    LengthStatus &status() const { return commands().status(); }
    Typer *typer() const { return w->form->typer(); }
    const KnownTags &tags() const
    {
        return w->form->findChild<MarkupCommands *>()->highlighter().knownTags();
    }
    void settle() const
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return status().isSettled(); }, 10000));
    }

    std::unique_ptr<test::Window> w;
};

QString words(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("word");
    return list.join(u' ');
}

TEST_F(SplitUiTest, StatusShowsWordsReadingTimeAndWhatIsLeft)
{
    struct Case
    {
        const char *name;
        QString post;
        postlimit::Choice choice;
        QString shown;
        bool over;
    };
    const Case cases[] = {
        {"empty, no limit", QString(), {}, QStringLiteral("0 words · 0 min"), false},
        {"one word", QStringLiteral("[b]Hi[/b]"), {}, QStringLiteral("1 word · 1 min"), false},
        {"231 words read in two minutes",
         words(231),
         {},
         QStringLiteral("231 words · 2 min"),
         false},
        {"tags count", QStringLiteral("Hello [b]world[/b]"), limitOf(20),
         QStringLiteral("2 words · 1 min · 2 left"), false},
        {"tags do not count", QStringLiteral("Hello [b]world[/b]"), limitOf(20, false),
         QStringLiteral("2 words · 1 min · 9 left"), false},
        {"tags inside CODE are text", QStringLiteral("[code]\n[b]x[/b]\n[/code]"),
         limitOf(20, false), QStringLiteral("1 word · 1 min · 10 left"), false},
        {"a break counts two", QStringLiteral("a\nb\nc"), limitOf(5, true, 2),
         QStringLiteral("3 words · 1 min · -2 over"), true},
        {"exactly at the limit", QStringLiteral("abcde"), limitOf(5),
         QStringLiteral("1 word · 1 min · 0 left"), false},
        {"grouped thousands left", QString(2860, u'x'), limitOf(5000),
         QStringLiteral("1 word · 1 min · 2,140 left"), false},
        {"grouped thousands over", QString(3140, u'x'), limitOf(1000),
         QStringLiteral("1 word · 1 min · -2,140 over"), true},
        {"an emoji is one character", QStringLiteral("\U0001F600\U0001F600"), limitOf(3),
         QStringLiteral("0 words · 0 min · 1 left"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        commands().setChoice(c.choice);
        typer()->setText(c.post);
        settle();
        EXPECT_EQ(status().text(), c.shown);
        EXPECT_EQ(status().isOver(), c.over);
        EXPECT_EQ(status().budgetLabel()->text().contains(QLatin1String("color:")), c.over);
        EXPECT_EQ(status().budgetLabel()->isVisibleTo(w->form.get()), c.choice.hasLimit());
    }
}

// Every count the status keeps by lines equals counting the whole post afresh,
// through typing, pasting, deleting and undoing, in lines long enough to be
// held in pieces.
TEST_F(SplitUiTest, StatusFollowsEditsAsCountingAfreshWould)
{
    const QString fragments[] = {
        QStringLiteral("word "),
        QStringLiteral("[b]"),
        QStringLiteral("[/b]"),
        QStringLiteral("\n"),
        QStringLiteral("[code]"),
        QStringLiteral("[/code]"),
        QStringLiteral("don't "),
        QStringLiteral("\n\n"),
        QStringLiteral("\U0001F600"),
        QStringLiteral("[url=x]"),
        QStringLiteral("."),
        QString(2500, u'y'),
        QString(1200, u'z') + u' ' + QString(1200, u'z'),
    };
    const auto countsMatch = [this] {
        const QString post = typer()->text();
        EXPECT_EQ(status().words(), countWords(post, tags()));
        for (const bool countTags : {true, false}) {
            for (const int lineBreak : {1, 2}) {
                status().setChoice(limitOf(100, countTags, lineBreak));
                EXPECT_EQ(status().length(), postLength(post, {countTags, lineBreak}, tags()))
                    << countTags << lineBreak;
            }
        }
        return !::testing::Test::HasFailure();
    };
    QRandomGenerator random(18);
    for (int step = 0; step < 500; ++step) {
        const qsizetype size = typer()->length();
        const qsizetype at = random.bounded(int(size + 1));
        typer()->setSelStart(at);
        const int kind = random.bounded(10);
        if (kind < 6) {
            typer()->setSelText(fragments[random.bounded(int(std::size(fragments)))]);
        } else if (kind < 8) {
            typer()->setSelLength(random.bounded(200));
            typer()->setSelText(QString());
        } else if (kind < 9) {
            QTest::keyClick(typer(), Qt::Key_X);
        } else {
            typer()->undo();
        }
        settle();
        SCOPED_TRACE(step);
        ASSERT_TRUE(countsMatch());
    }
    // A post too long to count in one turn of the event loop, and "[CODE]"
    // typed at its top, which turns every tag after it into text.
    QString large;
    for (int i = 0; i < 8000; ++i)
        large += QStringLiteral("[b]Line[/b] %1 with [i]some[/i] words in it.\n").arg(i);
    typer()->setText(large);
    EXPECT_FALSE(status().isSettled());
    settle();
    ASSERT_TRUE(countsMatch());
    typer()->setSelStart(0);
    typer()->setSelText(QStringLiteral("[code]"));
    settle();
    ASSERT_TRUE(countsMatch());
    typer()->undo();
    settle();
    ASSERT_TRUE(countsMatch());
}

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// A forum's counting in the status, kept line by line as the writer types.
TEST_F(SplitUiTest, StatusCountsAsTheForumDoes)
{
    struct Case
    {
        const char *name;
        Counting counting;
        QString post;
        qsizetype limit;
        QString left;
    };
    const Case cases[] = {
        {"phpBB escapes and trims", Counting::Escaped, QStringLiteral("  say \"hi\" & bye\n\n"), 30,
         QStringLiteral("2 left")},
        {"SMF counts a line break as two", Counting::Sent, QStringLiteral("a\nb\nc"), 5,
         QStringLiteral("-2 over")},
        {"SMF counts a typed entity as one", Counting::Sent, QStringLiteral("&amp;&#65;"), 5,
         QStringLiteral("3 left")},
        {"MyBB counts bytes and trims blanks", Counting::Bytes,
         QStringLiteral("\u00a0\u00e9\u00e9\u00a0"), 5, QStringLiteral("1 left")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        commands().setChoice({QStringLiteral("custom"), c.limit, forumLengthRule(c.counting)});
        typer()->setText(c.post);
        settle();
        EXPECT_TRUE(status().text().endsWith(c.left)) << status().text().toStdString();
    }
    // Typed at both ends: phpBB trims the blanks, counts the quotation mark.
    commands().setChoice({QStringLiteral("custom"), 10, forumLengthRule(Counting::Escaped)});
    typer()->setText(QStringLiteral("ab"));
    settle();
    typer()->setSelStart(0);
    QTest::keyClicks(typer(), QStringLiteral("  "));
    typer()->setSelStart(typer()->length());
    QTest::keyClick(typer(), Qt::Key_Return);
    QTest::keyClicks(typer(), QStringLiteral("\""));
    settle();
    EXPECT_EQ(status().length(), 9); // "ab" LF and &quot;
}

// What is in force with a chosen forum: its own counting with its own profile,
// else what the writer chose.
TEST(LimitInForce, FollowsTheChosenForum)
{
    const postlimit::Choice none;
    const postlimit::Choice phpbb{QStringLiteral("phpbb"), 50000, LengthRule{true, 1}};
    const postlimit::Choice discourse{QStringLiteral("discourse"), 32000, LengthRule{true, 1}};
    const postlimit::Choice custom{QStringLiteral("custom"), 900, LengthRule{false, 2}};
    struct Case
    {
        const char *name;
        postlimit::Choice stored;
        Forum forum;
        postlimit::Choice inForce;
    };
    const Case cases[] = {
        {"generic changes nothing", phpbb, Forum::Generic, phpbb},
        {"no limit chosen stays so", none, Forum::MyBB, none},
        {"the forum's profile keeps its limit",
         phpbb,
         Forum::PhpBB,
         {QStringLiteral("phpbb"), 50000, forumLengthRule(Counting::Escaped)}},
        {"another forum's profile keeps its rule", phpbb, Forum::Smf, phpbb},
        {"discourse keeps its rule", discourse, Forum::Smf, discourse},
        {"custom keeps its rule", custom, Forum::PhpBB, custom},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(postlimit::inForce(c.stored, c.forum), c.inForce);
    }
}

TEST_F(SplitUiTest, TheChosenForumsLimitIsInForce)
{
    // Chosen in the Forum menu: its limit and its counting, in a new window too.
    w->form->command("ForumSmf")->trigger();
    w = std::make_unique<test::Window>();
    typer()->setText(QStringLiteral("a\nb"));
    settle();
    EXPECT_EQ(status().choice().limit, 20000);
    EXPECT_TRUE(status().text().endsWith(QStringLiteral("19,996 left")))
        << status().text().toStdString();
    // Split Post opens at once: a limit is in force.
    w->form->command("SplitPost")->trigger();
    EXPECT_EQ(commands().limitDialog(), nullptr);
    ASSERT_NE(commands().splitWindow(), nullptr);
    EXPECT_TRUE(commands().splitWindow()->isVisible());
    // Back to Generic: the limit stays, counted as characters again.
    w->form->command("ForumGeneric")->trigger();
    EXPECT_EQ(status().choice().profile, QStringLiteral("custom"));
    EXPECT_EQ(status().choice().limit, 20000);
}

TEST_F(SplitUiTest, TheLimitChosenIsRememberedInANewWindow)
{
    w->form->command("PostLengthLimit")->trigger();
    PostLimitDialog *dialog = commands().limitDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    auto *profile = dialog->findChild<QComboBox *>(QStringLiteral("Profile"));
    EXPECT_EQ(profile->currentText(), QStringLiteral("No limit"));
    // Choosing a forum fills in its numbers.
    profile->setCurrentIndex(profile->findData(QStringLiteral("smf")));
    emit profile->activated(profile->currentIndex());
    auto *limit = dialog->findChild<QSpinBox *>(QStringLiteral("Limit"));
    EXPECT_EQ(limit->value(), 20000);
    EXPECT_EQ(dialog->choice().rule, (LengthRule{true, 2}));
    limit->setValue(12345);
    dialog->findChild<QCheckBox *>(QStringLiteral("CountTags"))->setChecked(false);
    clickOk(dialog);
    // SMF's profile chooses SMF too, so the status counts as SMF does.
    const postlimit::Choice chosen{QStringLiteral("smf"), 12345, LengthRule{false, 2}};
    const postlimit::Choice counted = postlimit::inForce(chosen, Forum::Smf);
    EXPECT_EQ(postlimit::read(), chosen);
    EXPECT_EQ(status().choice(), counted);
    EXPECT_EQ(status().text(), QStringLiteral("0 words · 0 min · 12,345 left"));

    w = std::make_unique<test::Window>();
    EXPECT_EQ(status().choice(), counted);
    w->form->command("PostLengthLimit")->trigger();
    EXPECT_EQ(commands().limitDialog()->choice(), chosen);
    // And back to no limit: the status shows nothing of one.
    profile = commands().limitDialog()->findChild<QComboBox *>(QStringLiteral("Profile"));
    profile->setCurrentIndex(0);
    emit profile->activated(0);
    clickOk(commands().limitDialog());
    EXPECT_FALSE(status().choice().hasLimit());
    EXPECT_EQ(status().text(), QStringLiteral("0 words · 0 min"));
    EXPECT_FALSE(postlimit::read().hasLimit());
}

QString paragraphs(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("[b]Paragraph %1.[/b] The quick brown fox jumps over the lazy "
                               "dog, and then it rests a while.")
                    .arg(i + 1);
    return list.join(QStringLiteral("\n\n"));
}

TEST_F(SplitUiTest, SplitWindowCopiesEachPartAsTheSplitterMadeIt)
{
    commands().setChoice(limitOf(200));
    typer()->setText(paragraphs(9));
    const QString before = typer()->text();
    w->form->command("SplitPost")->trigger();
    SplitWindow *window = commands().splitWindow();
    ASSERT_TRUE(window->isVisible());
    const SplitResult expected =
        splitPost(toLfBreaks(before), {200, LengthRule{}, QString(), true}, tags());
    ASSERT_TRUE(expected.ok);
    ASSERT_GE(expected.parts.size(), 3);
    EXPECT_EQ(window->parts(), expected.parts);

    QClipboard *clipboard = QGuiApplication::clipboard();
    window->findChild<QPushButton *>(QStringLiteral("CopyPart2"))->click();
    EXPECT_EQ(clipboard->text(), expected.parts[1]);
    // Copy next walks from the first part to the last, saying which it copied.
    window->copyPart(-1);
    auto *next = window->findChild<QPushButton *>(QStringLiteral("CopyNext"));
    auto *copied = window->findChild<QLabel *>(QStringLiteral("CopiedLast"));
    EXPECT_EQ(window->lastCopied(), 1);
    for (int i = 2; i < expected.parts.size(); ++i) {
        next->click();
        EXPECT_EQ(window->lastCopied(), i);
        EXPECT_EQ(clipboard->text(), expected.parts[i]);
        EXPECT_TRUE(copied->text().startsWith(
            QStringLiteral("Copied part %1 of %2").arg(i + 1).arg(expected.parts.size())));
    }
    next->click();
    EXPECT_EQ(clipboard->text(), expected.parts[0]);

    // Labels at the bottom, with the writer's template; remembered.
    window->findChild<QComboBox *>(QStringLiteral("LabelPlace"))->setCurrentIndex(1);
    auto *labelTemplate = window->findChild<QLineEdit *>(QStringLiteral("LabelTemplate"));
    labelTemplate->setText(QStringLiteral("Part %1 of %2"));
    window->findChild<QCheckBox *>(QStringLiteral("PartLabels"))->setChecked(true);
    const SplitResult labelled = splitPost(
        toLfBreaks(before), {200, LengthRule{}, QStringLiteral("Part %1 of %2"), false}, tags());
    EXPECT_EQ(window->parts(), labelled.parts);
    EXPECT_TRUE(window->parts().constLast().endsWith(
        QStringLiteral("Part %1 of %1").arg(labelled.parts.size())));
    next->click();
    EXPECT_EQ(clipboard->text(), labelled.parts[0]);
    EXPECT_EQ(postlimit::readLabels().labelTemplate, QStringLiteral("Part %1 of %2"));
    EXPECT_FALSE(postlimit::readLabels().atTop);
    EXPECT_EQ(typer()->text(), before);
}

// What Qt warns about while it lives.
class Warnings
{
public:
    Warnings()
    {
        s_list.clear();
        m_previous = qInstallMessageHandler(&Warnings::record);
    }
    ~Warnings() { qInstallMessageHandler(m_previous); }
    static const QStringList &list() { return s_list; }

private:
    static void record(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        s_list << message;
    }
    static inline QStringList s_list;
    QtMessageHandler m_previous = nullptr;
};

struct Closing
{
    const char *name;
    std::function<void(SplitWindow *)> close;
};

// Esc and the Close button close the window, as in a dialog; a post that
// fits in one part says so without a warning.
TEST_F(SplitUiTest, SplitWindowClosesByEscOrCloseAndSaysOnePartPlainly)
{
    const Closing closings[] = {
        {"Esc",
         [](SplitWindow *window) { QTest::keyClick(window->windowHandle(), Qt::Key_Escape); }},
        {"the Close button",
         [](SplitWindow *window) {
             auto *close = window->findChild<QPushButton *>(QStringLiteral("CloseSplit"));
             ASSERT_NE(close, nullptr);
             QTest::mouseClick(close, Qt::LeftButton);
         }},
    };
    commands().setChoice(limitOf(1000));
    typer()->setText(QStringLiteral("A short post."));
    for (const Closing &c : closings) {
        SCOPED_TRACE(c.name);
        Warnings warnings;
        w->form->command("SplitPost")->trigger();
        SplitWindow *window = commands().splitWindow();
        ASSERT_TRUE(window->isVisible());
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }));
        EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("SplitSummary"))->text(),
                  QStringLiteral("The post fits in one part of at most 1,000 characters."));
        EXPECT_EQ(Warnings::list().filter(QStringLiteral("QString::arg")), QStringList());
        c.close(window);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(SplitUiTest, SplitWindowSaysWhereThePostCannotBeSplit)
{
    commands().setChoice(limitOf(50));
    typer()->setText(QStringLiteral("Short first line.\nSee ") + QString(80, u'w') +
                     QStringLiteral(" there."));
    w->form->command("SplitPost")->trigger();
    SplitWindow *window = commands().splitWindow();
    EXPECT_FALSE(window->isSplit());
    EXPECT_TRUE(window->parts().isEmpty());
    const QString said = window->findChild<QLabel *>(QStringLiteral("SplitSummary"))->text();
    EXPECT_TRUE(said.contains(QStringLiteral("line 2, column 5"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("limit of 50"))) << said.toStdString();
    auto *show = window->findChild<QPushButton *>(QStringLiteral("ShowFailure"));
    ASSERT_TRUE(show->isVisible());
    show->click();
    EXPECT_EQ(typer()->selStart(), 19 + 4); // after the first line and its CR LF, "See "
}

TEST_F(SplitUiTest, SplitWithoutALimitAsksForOneFirst)
{
    typer()->setText(paragraphs(3));
    w->form->command("SplitPost")->trigger();
    EXPECT_FALSE(commands().splitWindow()->isVisible());
    PostLimitDialog *dialog = commands().limitDialog();
    ASSERT_NE(dialog, nullptr);
    auto *profile = dialog->findChild<QComboBox *>(QStringLiteral("Profile"));
    profile->setCurrentIndex(profile->findData(QStringLiteral("custom")));
    emit profile->activated(profile->currentIndex());
    dialog->findChild<QSpinBox *>(QStringLiteral("Limit"))->setValue(150);
    clickOk(dialog);
    ASSERT_TRUE(commands().splitWindow()->isVisible());
    EXPECT_GT(commands().splitWindow()->parts().size(), 1);
}

} // namespace
