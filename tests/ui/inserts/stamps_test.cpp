#include "inserts.h"
#include "text/insertstamps.h"

#include <QAction>
#include <QDate>
#include <QLocale>
#include <QTest>
#include <QTime>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

class Stamps : public ::testing::Test
{
protected:
    Window w;
    Typer *typer = w.form->typer();
    const QLocale locale = QLocale::system();

    // Runs a date command; the date read before and after brackets midnight.
    QString dateAfter(const char *command)
    {
        const QString before = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
        w.form->command(command)->trigger();
        const QString after = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
        const QString text = typer->text();
        return text.endsWith(after) ? after : before;
    }

    // The stamp read back as a time, within a few seconds of now.
    void expectNow(const QString &stamp)
    {
        const QTime read = locale.toTime(stamp, stampTimeFormat(locale));
        ASSERT_TRUE(read.isValid()) << stamp.toStdString();
        const int apart = std::abs(read.secsTo(QTime::currentTime()));
        EXPECT_TRUE(apart <= 5 || apart >= 86400 - 5) << stamp.toStdString();
    }
};

TEST_F(Stamps, ToolbarDateReplacesTheSelection)
{
    putPost(typer, QStringLiteral("Posted on today"), 0, 10);
    const QString date = dateAfter("AddDate");
    EXPECT_EQ(typer->text(), date + QStringLiteral("today"));
    EXPECT_EQ(typer->selStart(), date.size());
    expectOneUndoStep(typer, QStringLiteral("Posted on today"));

    // The date reads back as today in the locale's own short format.
    const QDate read = locale.toDate(date, locale.dateFormat(QLocale::ShortFormat));
    ASSERT_TRUE(read.isValid()) << date.toStdString();
    const QDate today = QDate::currentDate();
    EXPECT_TRUE((read.month() == today.month() && read.day() == today.day()) ||
                read.daysTo(today) == 1);
    EXPECT_EQ(read.year() % 100, today.year() % 100);
}

TEST_F(Stamps, MenuDateFollowsTheSelectedText)
{
    putPost(typer, QStringLiteral("Posted on X"), 0, 10);
    const QString date = dateAfter("CurrentDate");
    EXPECT_EQ(typer->text(), QStringLiteral("Posted on ") + date + QStringLiteral("X"));
    EXPECT_EQ(typer->selStart(), 10 + date.size());
    EXPECT_EQ(typer->selLength(), 0);

    putPost(typer, QStringLiteral("ab"), 1);
    const QString again = dateAfter("CurrentDate");
    EXPECT_EQ(typer->text(), QStringLiteral("a") + again + QStringLiteral("b"));
}

TEST_F(Stamps, TimeStampsReadBackAsNow)
{
    putPost(typer, QStringLiteral("at noon"), 3, 4);
    w.form->command("AddTime")->trigger();
    const QString replaced = typer->text().mid(3);
    EXPECT_FALSE(replaced.contains(QStringLiteral("noon")));
    EXPECT_EQ(replaced, replaced.trimmed());
    expectNow(replaced);

    putPost(typer, QStringLiteral("at "), 0, 3);
    w.form->command("CurrentTime")->trigger();
    ASSERT_TRUE(typer->text().startsWith(QStringLiteral("at ")));
    expectNow(typer->text().mid(3));
    expectOneUndoStep(typer, QStringLiteral("at "));
}

TEST_F(Stamps, MenuShortcutsWorkFromThePost)
{
    putPost(typer, QStringLiteral("on "), 3);
    typer->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return typer->hasFocus(); }, 5000));
    const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    QTest::keyClick(typer, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(typer->text(), QStringLiteral("on ") + date);

    putPost(typer, QStringLiteral("at "), 3);
    QTest::keyClick(typer, Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(typer->text().startsWith(QStringLiteral("at ")));
    expectNow(typer->text().mid(3));
}

} // namespace
} // namespace quorvane::test
