// The Forum menu's own mark-up through the real main window on the offscreen
// platform: the Forum Tags submenu of each forum, Insert Table... and Quote
// Selection..., with the questions answered by script and, once each, by a
// person's hand in the real dialog.
#include "commands/forumcommands.h"
#include "settings/forumchoice.h"
#include "settings/quoteauthors.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvane;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const QString br = QStringLiteral("\r\n");

class ForumMarkupUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forumchoice::forget();
        quoteauthors::forget();
        w = std::make_unique<test::Window>();
    }
    void TearDown() override
    {
        if (w) {
            EXPECT_TRUE(w->dialogs.allAnswered());
        }
        w.reset();
        forumchoice::forget();
        quoteauthors::forget();
    }

    Typer *typer() const { return w->form->typer(); }
    void choose(Forum forum) const
    {
        w->form->findChild<ForumCommands *>()->command(forum)->trigger();
    }
    QMenu *tagsMenu() const { return w->form->control<QMenu>("ForumTagsMenu"); }
    // The post, with `selected` (a part of it) selected, or the caret at its end.
    void write(const QString &text, const QString &selected = {}) const
    {
        typer()->setText(text);
        if (selected.isEmpty()) {
            typer()->setSelStart(text.size());
            return;
        }
        typer()->setSelStart(text.indexOf(selected));
        typer()->setSelLength(selected.size());
    }
    QString beforeCaret() const { return typer()->text().left(typer()->selStart()); }

    std::unique_ptr<test::Window> w;
};

TEST_F(ForumMarkupUiTest, ForumTagsListTheChosenForumsTagsTheToolbarLacks)
{
    const struct
    {
        Forum forum;
        QStringList items;
        bool enabled;
    } cases[] = {
        {Forum::Generic, {u"No Tags beyond the Toolbar's"_qs}, false},
        {Forum::PhpBB, {u"No Tags beyond the Toolbar's"_qs}, false},
        {Forum::Smf,
         {u"Strike-through [s]"_qs, u"Subscript [sub]"_qs, u"Superscript [sup]"_qs,
          u"Teletype [tt]"_qs, u"Link in the Same Tab [iurl]"_qs, u"Preformatted [pre]"_qs,
          u"No BBCode [nobbc]"_qs, u"Horizontal Rule [hr]"_qs, u"Table [table]"_qs,
          u"YouTube [youtube]"_qs},
         true},
        {Forum::MyBB,
         {u"Strike-through [s]"_qs, u"Alignment [align]"_qs, u"Horizontal Rule [hr]"_qs,
          u"Video [video]"_qs},
         true},
        {Forum::Generic, {u"No Tags beyond the Toolbar's"_qs}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(forumKey(c.forum).toStdString());
        choose(c.forum);
        QStringList items;
        for (QAction *action : tagsMenu()->actions()) {
            items << action->text();
            EXPECT_EQ(action->isEnabled(), c.enabled);
        }
        EXPECT_EQ(items, c.items);
    }
}

TEST_F(ForumMarkupUiTest, AForumTagWrapsTheSelectionAsOneUndoStep)
{
    const struct
    {
        Forum forum;
        const char *tag;
        QString selected; // in "one two"; empty: the caret at the end
        QStringList answers;
        QString written; // empty: nothing written
        QString question;
    } cases[] = {
        {Forum::Smf, "s", u"two"_qs, {}, u"one [s]two[/s]"_qs, {}},
        {Forum::Smf, "hr", {}, {}, u"one two[hr]"_qs, {}},
        {Forum::Smf,
         "iurl",
         u"one"_qs,
         {u"https://a.example/"_qs},
         u"[iurl=https://a.example/]one[/iurl] two"_qs,
         u"Address for [iurl]:"_qs},
        {Forum::MyBB,
         "align",
         u"one two"_qs,
         {u"center"_qs},
         u"[align=center]one two[/align]"_qs,
         u"Alignment (left, center, right or justify) for [align]:"_qs},
        {Forum::MyBB,
         "align",
         u"one"_qs,
         {QString()},
         {},
         u"Alignment (left, center, right or justify) for [align]:"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tag);
        choose(c.forum);
        const QString post = u"one two"_qs;
        write(post, c.selected);
        w->dialogs.prompts.clear();
        for (const QString &answer : c.answers)
            w->dialogs.promptAnswers.push_back(answer);
        auto *item =
            tagsMenu()->findChild<QAction *>(QStringLiteral("ForumTag_") + QLatin1String(c.tag));
        ASSERT_NE(item, nullptr);
        item->trigger();
        EXPECT_EQ(w->dialogs.prompts.size(), c.answers.size());
        if (!c.question.isEmpty()) {
            ASSERT_FALSE(w->dialogs.prompts.isEmpty());
            EXPECT_EQ(w->dialogs.prompts.front().message, c.question);
            EXPECT_EQ(w->dialogs.prompts.front().title, u"Forum Tags"_qs);
        }
        if (c.written.isEmpty()) {
            EXPECT_EQ(typer()->text(), post);
            continue;
        }
        EXPECT_EQ(typer()->text(), c.written);
        // One step takes it back whole.
        typer()->undo();
        EXPECT_EQ(typer()->text(), post);
    }
}

TEST_F(ForumMarkupUiTest, InsertTableWritesTheForumsTableWithTheCaretInTheFirstCell)
{
    const QString lines = u"a\tb"_qs + br + u"c\td"_qs;
    const struct
    {
        const char *name;
        Forum forum;
        QString selected; // in "Top" + br + lines; empty: the caret at the end
        std::optional<QMessageBox::StandardButton> said; // the answer to the forum having none
        std::optional<TableShape> shape;                 // none: not asked
        bool sizeFixed;
        QString result;
        QString beforeCaret;
    } cases[] = {
        {"a new table",
         Forum::Smf,
         {},
         {},
         TableShape{2, 3, false},
         false,
         u"Top"_qs + br + lines + u"[table]"_qs + br + u"[tr][td][/td][td][/td][td][/td][/tr]"_qs +
             br + u"[tr][td][/td][td][/td][td][/td][/tr]"_qs + br + u"[/table]"_qs,
         u"Top"_qs + br + lines + u"[table]"_qs + br + u"[tr][td]"_qs},
        {"selected lines",
         Forum::Smf,
         lines,
         {},
         TableShape{2, 2, true},
         true,
         u"Top"_qs + br + u"[table]"_qs + br + u"[tr][td][b]a[/b][/td][td][b]b[/b][/td][/tr]"_qs +
             br + u"[tr][td]c[/td][td]d[/td][/tr]"_qs + br + u"[/table]"_qs,
         u"Top"_qs + br + u"[table]"_qs + br + u"[tr][td][b]"_qs},
        {"no tables: tab-separated lines offered",
         Forum::MyBB,
         {},
         QMessageBox::Yes,
         TableShape{2, 2, false},
         false,
         u"Top"_qs + br + lines + u"\t"_qs + br + u"\t"_qs,
         u"Top"_qs + br + lines},
        {"no tables: the offer declined",
         Forum::Generic,
         {},
         QMessageBox::No,
         {},
         false,
         u"Top"_qs + br + lines,
         u"Top"_qs + br + lines},
        {"no tables: selected lines stay",
         Forum::PhpBB,
         lines,
         QMessageBox::Ok,
         {},
         false,
         u"Top"_qs + br + lines,
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        choose(c.forum);
        write(u"Top"_qs + br + lines, c.selected);
        w->dialogs.messages.clear();
        w->dialogs.tableQuestions.clear();
        if (c.said && *c.said != QMessageBox::Ok)
            w->dialogs.messageAnswers.push_back(*c.said);
        if (c.shape)
            w->dialogs.tableAnswers.push_back(c.shape);
        w->form->command("InsertTable")->trigger();
        EXPECT_EQ(w->dialogs.messages.size(), c.said ? 1 : 0);
        if (c.said) {
            EXPECT_TRUE(w->dialogs.messages.front().text.startsWith(forumDisplayName(c.forum) +
                                                                    u" has no tables."_qs));
        }
        ASSERT_EQ(w->dialogs.tableQuestions.size(), c.shape ? 1 : 0);
        if (c.shape) {
            EXPECT_EQ(w->dialogs.tableQuestions.front().fixedSize, c.sizeFixed);
        }
        EXPECT_EQ(typer()->text(), c.result);
        if (!c.beforeCaret.isEmpty()) {
            EXPECT_EQ(beforeCaret(), c.beforeCaret);
        }
    }
}

TEST_F(ForumMarkupUiTest, QuoteSelectionWritesTheForumsQuoteAndRemembersTheAuthor)
{
    const QDateTime date = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    const struct
    {
        Forum forum;
        std::optional<QuoteSource> answer;
        QuoteParts parts;
        QString result;
        QStringList recent; // offered with the question
    } cases[] = {
        {Forum::PhpBB,
         QuoteSource{u"Anna"_qs, u"12"_qs, date, u"3"_qs},
         QuotePart::Post | QuotePart::Date | QuotePart::User,
         u"Say [quote=\"Anna\" post_id=12 time=1700000000 user_id=3]hi[/quote]"_qs,
         {}},
        {Forum::Smf,
         QuoteSource{u"Ben"_qs, u"7"_qs, date, {}},
         QuotePart::Post | QuotePart::Date,
         u"Say [quote author=Ben link=msg=7 date=1700000000]hi[/quote]"_qs,
         {u"Anna"_qs}},
        {Forum::MyBB,
         QuoteSource{u"Anna"_qs, {}, date, {}},
         QuotePart::Post | QuotePart::Date,
         u"Say [quote='Anna' dateline='1700000000']hi[/quote]"_qs,
         {u"Ben"_qs, u"Anna"_qs}},
        {Forum::Generic,
         QuoteSource{u"Cy"_qs, {}, {}, {}},
         {},
         u"Say [QUOTE=Cy]hi[/QUOTE]"_qs,
         {u"Anna"_qs, u"Ben"_qs}},
        {Forum::Smf,
         std::nullopt,
         QuotePart::Post | QuotePart::Date,
         u"Say hi"_qs,
         {u"Cy"_qs, u"Anna"_qs, u"Ben"_qs}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(forumKey(c.forum).toStdString());
        choose(c.forum);
        write(u"Say hi"_qs, u"hi"_qs);
        w->dialogs.quoteQuestions.clear();
        w->dialogs.quoteAnswers.push_back(c.answer);
        w->form->command("QuoteSelection")->trigger();
        ASSERT_EQ(w->dialogs.quoteQuestions.size(), 1);
        EXPECT_EQ(w->dialogs.quoteQuestions.front().forumName, forumDisplayName(c.forum));
        EXPECT_EQ(w->dialogs.quoteQuestions.front().parts, c.parts);
        EXPECT_EQ(w->dialogs.quoteQuestions.front().recentAuthors, c.recent);
        EXPECT_EQ(typer()->text(), c.result);
    }
}

// ---- The real dialogs, answered as a person answers them ----

// Runs `answer` on the modal dialog once it is up.
void whenShown(std::function<void(QDialog *)> answer)
{
    QTimer::singleShot(0, qApp, [answer] {
        QDialog *dialog = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (dialog = qobject_cast<QDialog *>(qApp->activeModalWidget())); }, 10000));
        answer(dialog);
    });
}

TEST(ForumMarkupDialogs, TheTableDialogGivesTheSizeAndHeader)
{
    QtUserDialogs dialogs;
    whenShown([](QDialog *dialog) {
        EXPECT_EQ(dialog->objectName(), u"TableDialog"_qs);
        dialog->findChild<QSpinBox *>(u"TableRows"_qs)->setValue(4);
        dialog->findChild<QSpinBox *>(u"TableColumns"_qs)->setValue(5);
        dialog->findChild<QCheckBox *>(u"TableHeader"_qs)->setChecked(true);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    const std::optional<TableShape> shape = dialogs.tableShape(nullptr, {}, false);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->rows, 4);
    EXPECT_EQ(shape->columns, 5);
    EXPECT_TRUE(shape->header);

    whenShown([](QDialog *dialog) {
        // Selected lines fix the size.
        EXPECT_FALSE(dialog->findChild<QSpinBox *>(u"TableRows"_qs)->isEnabled());
        EXPECT_EQ(dialog->findChild<QSpinBox *>(u"TableColumns"_qs)->value(), 40);
        dialog->reject();
    });
    EXPECT_FALSE(dialogs.tableShape(nullptr, {250, 40, false}, true));
}

TEST(ForumMarkupDialogs, TheQuoteDialogOffersTheLastAuthorsAndTheFormsParts)
{
    QtUserDialogs dialogs;
    const QDateTime date(QDate(2024, 3, 5), QTime(14, 30));
    whenShown([date](QDialog *dialog) {
        auto *author = dialog->findChild<QComboBox *>(u"QuoteAuthor"_qs);
        EXPECT_EQ(author->currentText(), u"Anna"_qs);
        EXPECT_EQ(author->count(), 2);
        EXPECT_EQ(dialog->findChild<QLineEdit *>(u"QuoteUser"_qs), nullptr); // not SMF's
        author->setCurrentText(u"Dora"_qs);
        dialog->findChild<QLineEdit *>(u"QuotePost"_qs)
            ->setText(u"https://forum.example/index.php?topic=7.msg88#msg88"_qs);
        dialog->findChild<QCheckBox *>(u"QuoteDated"_qs)->setChecked(true);
        dialog->findChild<QDateTimeEdit *>(u"QuoteDate"_qs)->setDateTime(date);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    const std::optional<QuoteSource> source = dialogs.quoteSource(
        nullptr, u"SMF 2.1"_qs, QuotePart::Post | QuotePart::Date, {u"Anna"_qs, u"Ben"_qs});
    ASSERT_TRUE(source);
    EXPECT_EQ(source->author, u"Dora"_qs);
    EXPECT_EQ(source->post, u"88"_qs);
    EXPECT_EQ(source->date, date);
    EXPECT_TRUE(source->user.isEmpty());
}

} // namespace
