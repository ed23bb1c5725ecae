// Mouse moves go through the window, as the window system delivers them, so
// each lands on the widget under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class WindowChromeTest : public ::testing::Test
{
protected:
    test::Window window;
    MainForm &form = *window.form;

    QString tip() const { return form.control<QLabel>("ControlBoxTip")->text(); }

    void moveTo(QWidget *widget, QPoint pos = {})
    {
        QTest::mouseMove(widget, pos.isNull() ? widget->rect().center() : pos);
    }

    // A point of the frame itself, not covered by any of its controls.
    static QPoint bareSpot(QWidget *frame)
    {
        for (int y = frame->height() / 2; y < frame->height(); ++y) {
            for (int x = frame->width() - 1; x > 0; --x) {
                if (!frame->childAt(x, y))
                    return {x, y};
            }
        }
        ADD_FAILURE() << "no bare spot in " << frame->objectName().toStdString();
        return {};
    }

    QList<QWidget *> toolbarControls() const
    {
        QList<QWidget *> controls;
        for (QWidget *child : form.mainFrame()->findChildren<QWidget *>()) {
            if (qobject_cast<QToolButton *>(child) || qobject_cast<QComboBox *>(child) ||
                qobject_cast<QLineEdit *>(child))
                controls.append(child);
        }
        return controls;
    }
};

TEST_F(WindowChromeTest, TipFollowsThePointerOverTheBoxesAndBareFrames)
{
    EXPECT_EQ(tip(), "Version 1.1.2");

    moveTo(form.control<QWidget>("CloseBox"));
    EXPECT_EQ(tip(), "Exit Quorvane");
    // Controls inside the strip do not reset the tip; bare strip does.
    moveTo(form.control<QWidget>("FreeUtilities"));
    moveTo(form.control<QWidget>("ControlBoxTip"));
    EXPECT_EQ(tip(), "Exit Quorvane");
    moveTo(form.topFrame(), bareSpot(form.topFrame()));
    EXPECT_EQ(tip(), "Version 1.1.2");

    moveTo(form.control<QWidget>("MiniBox"));
    EXPECT_EQ(tip(), "Minimize To Taskbar");
    moveTo(form.control<QWidget>("CloseBox"));
    EXPECT_EQ(tip(), "Exit Quorvane");

    // No leave handling: the tip stays over toolbar buttons, lists and the
    // editor, and the toolbar frame's own surface brings the version back.
    moveTo(form.control<QWidget>("BoldCommand"));
    moveTo(form.control<QWidget>("Fonts"));
    moveTo(form.typer()->viewport());
    EXPECT_EQ(tip(), "Exit Quorvane");
    moveTo(form.mainFrame(), bareSpot(form.mainFrame()));
    EXPECT_EQ(tip(), "Version 1.1.2");
}

TEST_F(WindowChromeTest, CloseBoxRunsTheExitWithItsSaveOffer)
{
    QSignalSpy exits(form.command("QuitPro"), &QAction::triggered);
    QSignalSpy closed(&form, &MainForm::closed);

    // A modified post: the save offer comes, and Cancel keeps the window.
    form.typer()->setText(QStringLiteral("draft"));
    window.dialogs.messageAnswers.push_back(QMessageBox::Cancel);
    QTest::mouseClick(form.control<QWidget>("CloseBox"), Qt::LeftButton);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(window.dialogs.messages.size(), 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(closed.count(), 0);

    // Nothing to lose: the window closes at once.
    form.typer()->setText(QString());
    window.dialogs.messages.clear();
    QTest::mouseClick(form.control<QWidget>("CloseBox"), Qt::LeftButton);
    EXPECT_EQ(exits.count(), 2);
    EXPECT_TRUE(window.dialogs.messages.isEmpty());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowChromeTest, MiniBoxMinimizesTheWindow)
{
    ASSERT_FALSE(form.isMinimized());
    QTest::mouseClick(form.control<QWidget>("MiniBox"), Qt::LeftButton);
    EXPECT_TRUE(form.isMinimized());
}

TEST_F(WindowChromeTest, LockDisablesTheToolbarAndReleasingRestoresCurrentStates)
{
    auto *locker = form.control<QToolButton>("ControlsLocker");
    auto *find = form.control<QToolButton>("SearchCommand");
    auto *bold = form.control<QToolButton>("BoldCommand");
    const QList<QWidget *> controls = toolbarControls();
    ASSERT_GT(controls.size(), 25);

    // An empty post: Find cannot act.
    ASSERT_FALSE(find->isEnabled());
    ASSERT_TRUE(bold->isEnabled());

    QTest::mouseClick(locker, Qt::LeftButton);
    EXPECT_TRUE(locker->isChecked());
    for (QWidget *control : controls)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    // Everything outside the toolbar stays usable, the lock itself included.
    EXPECT_TRUE(locker->isEnabled());
    EXPECT_TRUE(form.typer()->isEnabled());
    EXPECT_TRUE(form.control<QWidget>("CloseBox")->isEnabled());
    EXPECT_TRUE(form.command("Center")->isEnabled());
    EXPECT_TRUE(form.command("BoldCommand")->isEnabled());

    // The post gains text under the lock: Find may act now, but stays locked.
    form.typer()->setText(QStringLiteral("some text"));
    EXPECT_TRUE(form.command("SearchCommand")->isEnabled());
    EXPECT_FALSE(find->isEnabled());

    QTest::mouseClick(locker, Qt::LeftButton);
    EXPECT_FALSE(locker->isChecked());
    EXPECT_TRUE(find->isEnabled());
    EXPECT_TRUE(bold->isEnabled());

    // Emptied under the lock, the post leaves Find disabled after release
    // while the rest comes back.
    locker->click();
    form.typer()->setText(QString());
    locker->click();
    EXPECT_FALSE(find->isEnabled());
    EXPECT_FALSE(form.control<QWidget>("ReplaceCommand")->isEnabled());
    EXPECT_TRUE(bold->isEnabled());
    EXPECT_TRUE(form.control<QWidget>("Fonts")->isEnabled());
    EXPECT_TRUE(form.control<QWidget>("LettersNo")->isEnabled());
}

TEST_F(WindowChromeTest, LockTakesTheKeyboardToo)
{
    auto *locker = form.control<QToolButton>("ControlsLocker");
    locker->setFocus();
    QTest::keyClick(locker, Qt::Key_Space);
    EXPECT_TRUE(locker->isChecked());
    EXPECT_FALSE(form.mainFrame()->isEnabled());
    QTest::keyClick(locker, Qt::Key_Space);
    EXPECT_FALSE(locker->isChecked());
    EXPECT_TRUE(form.mainFrame()->isEnabled());
}

} // namespace
} // namespace quorvane
