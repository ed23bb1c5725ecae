#pragma once

#include "commands/searchpanels.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane::test {

// A shown, active main window with its search panels at hand.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
    }

    MainForm &form() { return *w.form; }
    Typer *typer() { return w.form->typer(); }
    SearchPanels *panels() { return w.form->findChild<SearchPanels *>(); }
    template <class T> T *control(const char *name) { return w.form->control<T>(name); }
    QLineEdit *box(const char *name) { return control<QLineEdit>(name); }
    QPushButton *button(const char *name) { return control<QPushButton>(name); }

    // Types a term into a box the way a person does.
    void typeInto(const char *name, const QString &text)
    {
        QLineEdit *edit = box(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (const QChar ch : text) {
            // Letters beyond ASCII arrive as text without a key code of their own.
            if (ch.unicode() < 0x80)
                QTest::keyClick(edit, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        }
    }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    QString selection() { return typer()->selText(); }

    Window w;
};

struct CaptionInk
{
    int dark = 0;
    int white = 0;
};

// Counts the caption's pixels on the light-blue face of a label-button.
inline CaptionInk captionInk(QWidget *button)
{
    const QImage image = button->grab().toImage();
    CaptionInk ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 90 && c.green() < 90 && c.blue() < 90)
                ++ink.dark;
            else if (c.red() > 240 && c.green() > 240 && c.blue() > 240)
                ++ink.white;
        }
    }
    return ink;
}

} // namespace quorvane::test
