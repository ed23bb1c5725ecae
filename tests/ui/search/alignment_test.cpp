#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

class Alignment : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    }
    Typer *typer() { return w.form->typer(); }
    QString checkedItems()
    {
        QString marks;
        for (const char *name : {"Center", "LJ", "RJ"}) {
            if (w.form->command(name)->isChecked())
                marks += QLatin1String(name);
        }
        return marks;
    }
    void press(Qt::Key key) { QTest::keyClick(w.form->windowHandle(), key); }

    // Left and right edges of the ink drawn in the editor's viewport.
    std::pair<int, int> inkSpan()
    {
        typer()->clearFocus(); // no caret in the picture
        const QImage image = typer()->viewport()->grab().toImage();
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return {left, right};
    }

    Window w;
};

TEST_F(Alignment, StartsLeftJustifiedAndTheFunctionKeysMoveTheMark)
{
    EXPECT_EQ(typer()->textAlignment(), Typer::AlignLeft);
    EXPECT_EQ(checkedItems(), QStringLiteral("LJ"));
    typer()->setFocus();
    press(Qt::Key_F1);
    EXPECT_EQ(typer()->textAlignment(), Typer::AlignCenter);
    EXPECT_EQ(checkedItems(), QStringLiteral("Center"));
    press(Qt::Key_F3);
    EXPECT_EQ(typer()->textAlignment(), Typer::AlignRight);
    EXPECT_EQ(checkedItems(), QStringLiteral("RJ"));
    press(Qt::Key_F2);
    EXPECT_EQ(typer()->textAlignment(), Typer::AlignLeft);
    EXPECT_EQ(checkedItems(), QStringLiteral("LJ"));
}

TEST_F(Alignment, ChoosingTheCheckedItemAgainKeepsItsMark)
{
    w.form->command("RJ")->trigger();
    w.form->command("RJ")->trigger();
    EXPECT_EQ(checkedItems(), QStringLiteral("RJ"));
    EXPECT_EQ(typer()->textAlignment(), Typer::AlignRight);
}

TEST_F(Alignment, AlignsTheWholeDisplayWithoutTouchingThePost)
{
    typer()->setText(QStringLiteral("WWWW\r\nWW"));
    QSignalSpy changes(typer(), &Typer::changed);
    const int width = typer()->viewport()->width();

    const auto [leftStart, leftEnd] = inkSpan();
    EXPECT_LT(leftStart, width / 4);

    w.form->command("RJ")->trigger();
    const auto [rightStart, rightEnd] = inkSpan();
    EXPECT_GT(rightEnd, width * 3 / 4);
    EXPECT_GT(rightStart, width / 2);

    w.form->command("Center")->trigger();
    const auto [centreStart, centreEnd] = inkSpan();
    EXPECT_NEAR((centreStart + centreEnd) / 2, width / 2, width / 10);

    EXPECT_EQ(typer()->text(), QStringLiteral("WWWW\r\nWW"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(Alignment, TextWrittenLaterTakesTheAlignmentToo)
{
    w.form->command("RJ")->trigger();
    typer()->setText(QStringLiteral("WW\r\nWWW"));
    typer()->setSelStart(typer()->length());
    typer()->setSelText(QStringLiteral("\r\nW"));
    const auto [start, end] = inkSpan();
    EXPECT_GT(start, typer()->viewport()->width() / 2);
    EXPECT_GT(end, typer()->viewport()->width() * 3 / 4);
}

TEST_F(Alignment, LongLinesStillWrapSoEveryPartCanBeSeen)
{
    QString line;
    for (int i = 0; i < 60; ++i)
        line += QStringLiteral("word%1 ").arg(i);
    typer()->setText(line.trimmed());
    w.form->command("RJ")->trigger();
    QCoreApplication::processEvents();

    const QTextBlock block = typer()->document()->firstBlock();
    QTextLayout *layout = block.layout();
    ASSERT_GT(layout->lineCount(), 2);
    const qreal width = layout->lineAt(0).width();
    EXPECT_LE(width, typer()->viewport()->width());
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QRectF ink = layout->lineAt(i).naturalTextRect();
        EXPECT_GE(ink.left(), 0) << i;
        EXPECT_NEAR(ink.right(), layout->lineAt(i).x() + width, 12) << i;
    }
}

} // namespace
