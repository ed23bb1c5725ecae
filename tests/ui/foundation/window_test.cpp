// The main window as built: its catalogue of commands, the change step, the
// tag-pair buttons and the editor font that start-up takes from the store.
#include "commands/editorformatcommands.h"
#include "commands/poststatus.h"
#include "settings/editorformat.h"
#include "shell/commandtable.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "text/tagpairs.h"
#include "windows/customform.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

void clearStore()
{
    QFile::remove(editorformat::storePath());
}

QStringList menuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (action->isVisible())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override { clearStore(); }
    void TearDown() override { clearStore(); }
};

TEST_F(WindowTest, EveryCommandIsBuiltFromItsRow)
{
    test::Window w;
    for (const CommandRow &row : commandRows()) {
        SCOPED_TRACE(row.name);
        QAction *action = w.form->command(row.name);
        ASSERT_NE(action, nullptr);
        // A hidden action always reports itself disabled; the edit and search
        // commands follow the post and the clipboard from the first moment.
        static const QStringList followState = {
            "Cut",       "Copy",     "Delete",      "Paste",         "ClearClipboard",
            "SelectAll", "FindMenu", "ReplaceMenu", "SearchCommand", "ReplaceCommand"};
        if (!followState.contains(QLatin1String(row.name))) {
            EXPECT_EQ(action->isEnabled(), row.enabledAtStart && row.visible);
        }
        EXPECT_EQ(action->isVisible(), row.visible);
        EXPECT_EQ(action->isCheckable(), row.checkable);
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
        if (row.kind == CommandKind::MenuItem) {
            EXPECT_EQ(action->text(), QString::fromUtf8(row.caption));
        }
        if (row.kind == CommandKind::ToolButton || row.kind == CommandKind::Toggle) {
            auto *button = w.form->control<QToolButton>(row.name);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->toolTip(), QString::fromUtf8(row.tooltip));
            EXPECT_EQ(button->accessibleName(), QString::fromUtf8(row.tooltip));
            EXPECT_EQ(button->size(), QSize(21, 21));
            EXPECT_FALSE(button->icon().isNull());
        }
    }
}

TEST_F(WindowTest, MenusShowTheCatalogueInOrder)
{
    test::Window w;
    QStringList titles;
    for (QAction *action : w.form->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Format", "T&ags", "F&orum", "&View",
                                   "&Tools", "&Help and Support"}));
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("Menu")),
              (QStringList{"New...", "Open...", "Save File...", "-", "Preview in Browser [ BETA ]",
                           "-", "Import as BBCode...", "-", "Recover Drafts...", "-", "Open Recent",
                           "-", "Exit"}));
    // Undo and its separator exist but are never shown.
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("Edit")),
              (QStringList{"Cut", "Copy", "Paste", "Delete", "-", "Find...", "Replace...", "-",
                           "Add Current Time", "Add Current Date", "-", "Select All", "-",
                           "Paste as BBCode", "Keep Colours and Sizes"}));
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("FormatMenu")),
              (QStringList{"Editor Text Alignment", "-", "Editor Format..."}));
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("Alignment123")),
              (QStringList{"Center", "Left Justify", "Right Justify"}));
    // The toolbar's own actions, so the menu does exactly what the buttons do.
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("TagsMenu")),
              (QStringList{"Bold",
                           "Italic",
                           "Underline",
                           "Highlight",
                           "-",
                           "Left",
                           "Center",
                           "Right",
                           "Decrease Indent",
                           "Increase Indent",
                           "-",
                           "Ordered List",
                           "Unordered List",
                           "List from Selected Lines",
                           "Numbered List from Selected Lines",
                           "-",
                           "Insert Link",
                           "Insert Email Link",
                           "Insert Image",
                           "Insert Smiley",
                           "-",
                           "Warp [QUOTE] tags around selected text",
                           "Warp [CODE] tags around selected text",
                           "Warp [HTML] tags around selected text",
                           "Warp [PHP] tags around selected text",
                           "-",
                           "Remove Text Formatting",
                           "-",
                           "Close Open Tag",
                           "Remove Tag",
                           "Select Tag Contents",
                           "Go to Partner Tag"}));
    for (QAction *action : w.form->control<QMenu>("TagsMenu")->actions()) {
        if (!action->isSeparator()) {
            EXPECT_EQ(action, w.form->command(qPrintable(action->objectName())));
        }
    }
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("ForumMenu")),
              (QStringList{"Generic (Preview page)", "phpBB 3.3", "SMF 2.1", "MyBB 1.8", "-",
                           "Forum Tags", "Insert Table...", "Quote Selection...", "-",
                           "Custom Tags...", "-", "Adapt Post for Forum...", "Copy for Forum"}));
    EXPECT_EQ(
        menuTexts(w.form->control<QMenu>("ViewMenu")),
        (QStringList{"Colour Tags", "Underline Problems", "-", "Problems", "Forum Tag Names...",
                     "-", "Live Preview", "-", "Check Spelling", "Spelling Language", "-",
                     "Resizable Window", "Preview Beside Editor", "Full Screen"}));
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("Tools")),
              (QStringList{"Windows\u00AE Character Map", "-", "Clear Windows Clipboard", "-",
                           "Post Length Limit...", "Split Post..."}));
    EXPECT_EQ(menuTexts(w.form->control<QMenu>("Help")),
              (QStringList{"License Agreement", "-", "Contact Kelvaro Software",
                           "I Like Quorvane...", "Quorvane on the web", "-", "About Quorvane..."}));
}

TEST_F(WindowTest, CrossedShortcutsAreKept)
{
    test::Window w;
    EXPECT_EQ(w.form->command("CurrentTime")->shortcut(), QKeySequence("Ctrl+D"));
    EXPECT_EQ(w.form->command("CurrentDate")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(w.form->command("ReplaceMenu")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(w.form->command("About")->shortcut(), QKeySequence("Ctrl+B"));
    EXPECT_EQ(w.form->command("Center")->shortcut(), QKeySequence("F1"));
}

TEST_F(WindowTest, ToolbarRowsStandInCatalogueOrder)
{
    test::Window w;
    for (const auto row : {toolbarRow1(), toolbarRow2()}) {
        int lastX = -1;
        for (const char *name : row) {
            SCOPED_TRACE(name);
            QWidget *control = w.form->findChild<QWidget *>(QLatin1String(name));
            ASSERT_NE(control, nullptr);
            const int x = control->mapTo(w.form.get(), QPoint(0, 0)).x();
            EXPECT_GT(x, lastX);
            lastX = x;
            EXPECT_TRUE(control->isVisible());
        }
    }
    // The lock stands over the toolbar but outside the frame it locks.
    auto *locker = w.form->control<QToolButton>("ControlsLocker");
    EXPECT_FALSE(w.form->mainFrame()->isAncestorOf(locker));
}

TEST_F(WindowTest, ChoosersShowTheirStartingTexts)
{
    test::Window w;
    EXPECT_EQ(w.form->control<QComboBox>("Fonts")->currentText(), QStringLiteral("Fonts"));
    EXPECT_EQ(w.form->control<QComboBox>("Size")->currentText(), QStringLiteral("Sizes"));
    EXPECT_EQ(w.form->control<QComboBox>("Color")->currentText(), QStringLiteral("Colors"));
    EXPECT_EQ(w.form->control<QComboBox>("Fonts")->count(), 21);
    EXPECT_EQ(w.form->control<QComboBox>("Color")->itemText(4), QStringLiteral("Orange"));
}

TEST_F(WindowTest, TheWindowHasAFixedSizeAndHiddenPanels)
{
    test::Window w;
    EXPECT_EQ(w.form->windowTitle(), QStringLiteral("Quorvane"));
    EXPECT_EQ(w.form->minimumSize(), w.form->maximumSize());
    EXPECT_FALSE(w.form->findFrame()->isVisible());
    EXPECT_FALSE(w.form->replaceFrame()->isVisible());
    EXPECT_FALSE(w.form->smilesFrame()->isVisible());
}

TEST_F(WindowTest, ChangeStepCountsCharactersAndEnablesUndo)
{
    test::Window w;
    auto *count = w.form->control<QLineEdit>("LettersNo");
    EXPECT_EQ(count->text(), QStringLiteral("0"));
    EXPECT_FALSE(w.form->findChild<PostStatus *>()->isUndoEnabled());
    QTest::keyClicks(w.form->typer(), QStringLiteral("a"));
    EXPECT_EQ(count->text(), QStringLiteral(" 1"));
    EXPECT_TRUE(w.form->findChild<PostStatus *>()->isUndoEnabled());
    QTest::keyClick(w.form->typer(), Qt::Key_Return);
    EXPECT_EQ(count->text(), QStringLiteral(" 3"));
    w.form->typer()->setText(QString());
    EXPECT_EQ(count->text(), QStringLiteral(" 0"));
    EXPECT_TRUE(w.form->findChild<PostStatus *>()->isUndoEnabled());
    EXPECT_FALSE(w.form->command("Undo")->isVisible());
}

// -- tag pairs -------------------------------------------------------------

class TagPairTest : public WindowTest
{
protected:
    Typer *typer() { return w.form->typer(); }
    void click(const char *name) { w.form->control<QToolButton>(name)->click(); }
    test::Window w;
};

TEST_F(TagPairTest, EveryButtonWrapsTheSelection)
{
    for (const TagPair &pair : tagPairs()) {
        SCOPED_TRACE(pair.command);
        typer()->setText(QStringLiteral("one two\r\nthree"));
        typer()->setSelStart(4);
        typer()->setSelLength(8); // "two", the break, "thr"
        click(pair.command);
        EXPECT_EQ(typer()->text(), QStringLiteral("one ") + QLatin1String(pair.opening) +
                                       QStringLiteral("two\r\nthr") + QLatin1String(pair.closing) +
                                       QStringLiteral("ee"));
        EXPECT_EQ(typer()->selLength(), 0);
        EXPECT_EQ(typer()->selStart(),
                  4 + qsizetype(strlen(pair.opening)) + 8 + qsizetype(strlen(pair.closing)));
    }
}

TEST_F(TagPairTest, EmptySelectionLeavesTheCaretAfterTheClosingTag)
{
    typer()->setText(QStringLiteral("abc"));
    typer()->setSelStart(1);
    click("BoldCommand");
    EXPECT_EQ(typer()->text(), QStringLiteral("a[B][/B]bc"));
    EXPECT_EQ(typer()->selStart(), 8);
}

TEST_F(TagPairTest, AlreadyWrappedTextIsWrappedAgain)
{
    typer()->setText(QStringLiteral("[B]x[/B]"));
    typer()->setSelStart(0);
    typer()->setSelLength(8);
    click("BoldCommand");
    EXPECT_EQ(typer()->text(), QStringLiteral("[B][B]x[/B][/B]"));
}

TEST_F(TagPairTest, DecreaseIndentRemovesIndentTagsOfAnyCaseEverywhere)
{
    typer()->setText(QStringLiteral("[INDENT]a[/indent] [Indent]b[/InDeNt]\r\n[indent]c"));
    typer()->setSelStart(3);
    click("DecreaseIndentClick");
    EXPECT_EQ(typer()->text(), QStringLiteral("a b\r\nc"));
    EXPECT_EQ(typer()->selStart(), 0);
    typer()->undo();
    EXPECT_EQ(typer()->text(),
              QStringLiteral("[INDENT]a[/indent] [Indent]b[/InDeNt]\r\n[indent]c"));
}

TEST_F(TagPairTest, IncreaseThenDecreaseIndentGivesTheTextBack)
{
    typer()->setText(QStringLiteral("keep [B]this[/B]"));
    typer()->setSelStart(5);
    typer()->setSelLength(11);
    click("IncreaseIndentClick");
    click("DecreaseIndentClick");
    EXPECT_EQ(typer()->text(), QStringLiteral("keep [B]this[/B]"));
}

TEST_F(TagPairTest, OnlyAsciiLettersFold)
{
    // A dotless i must not pass for an I.
    typer()->setText(QStringLiteral("[\u0131NDENT]x"));
    click("DecreaseIndentClick");
    EXPECT_EQ(typer()->text(), QStringLiteral("[\u0131NDENT]x"));
}

// -- start-up font and the Editor Format window ------------------------------

EditorFormatCommands *editorFormat(test::Window &w)
{
    return w.form->findChild<EditorFormatCommands *>();
}

void store(const QString &name, const QString &size)
{
    editorformat::writeStored(editorformat::fontNameKey, name);
    editorformat::writeStored(editorformat::fontSizeKey, size);
}

// A start names the family that drew the chosen font last time rather than
// have Qt search the installed fonts for it again: the editor looks the same.
TEST_F(WindowTest, TheFontsStandInIsRememberedAndDrawsTheEditorAlike)
{
    const QString sample = QStringLiteral("The quick brown fox [B]jumps[/B] over 13 lazy dogs.");
    QImage searched;
    QString found;
    {
        test::Window first;
        found = QFontInfo(first.form->typer()->font()).family();
        EXPECT_EQ(editorformat::storedStandIn(QStringLiteral("Tahoma")), found);
        first.form->typer()->setText(sample);
        searched = first.form->typer()->viewport()->grab().toImage();
    }
    test::Window second;
    EXPECT_EQ(second.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
    EXPECT_EQ(second.form->typer()->font().family(), found);
    second.form->typer()->setText(sample);
    EXPECT_TRUE(second.form->typer()->viewport()->grab().toImage() == searched);
}

// A remembered stand-in that no longer fits (a font removed or installed
// since) is put right after the first paint, and the next start has it.
TEST_F(WindowTest, AStandInThatNoLongerFitsIsPutRight)
{
    editorformat::writeStandIn(QStringLiteral("Tahoma"), QStringLiteral("No Such Family"));
    test::Window w;
    QFont tahoma = w.form->typer()->font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    const QString found = QFontInfo(tahoma).family();
    EXPECT_EQ(w.form->typer()->font().family(), found);
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
    EXPECT_EQ(editorformat::storedStandIn(QStringLiteral("Tahoma")), found);
    // Remembered for another family, it is not used for this one.
    EXPECT_TRUE(editorformat::storedStandIn(QStringLiteral("Verdana")).isEmpty());
}

TEST_F(WindowTest, NothingStoredGivesTahomaEight)
{
    test::Window w;
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w.form->typer()->font().pointSize(), 8);
    EXPECT_EQ(editorFormat(w)->customForm()->selectedFont(), QStringLiteral("Tahoma"));
    EXPECT_EQ(editorFormat(w)->customForm()->selectedSize(), QStringLiteral("8"));
    EXPECT_FALSE(editorFormat(w)->customForm()->isVisible());
}

TEST_F(WindowTest, AStoredChoiceIsTaken)
{
    store(QStringLiteral("Courier New"), QStringLiteral("12"));
    test::Window w;
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Courier New"));
    EXPECT_EQ(w.form->typer()->font().pointSize(), 12);
    EXPECT_EQ(editorFormat(w)->customForm()->selectedFont(), QStringLiteral("Courier New"));
}

TEST_F(WindowTest, UnknownValuesFallBackEachOnItsOwn)
{
    store(QStringLiteral("Wingdings 9"), QStringLiteral("12"));
    {
        test::Window w;
        EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
        EXPECT_EQ(w.form->typer()->font().pointSize(), 12);
    }
    store(QStringLiteral("Verdana"), QStringLiteral("7"));
    {
        test::Window w;
        EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Verdana"));
        EXPECT_EQ(w.form->typer()->font().pointSize(), 8);
        EXPECT_EQ(editorFormat(w)->customForm()->selectedSize(), QStringLiteral("8"));
    }
}

TEST_F(WindowTest, AGarbledStoreNeverStopsTheStart)
{
    const QString path = editorformat::storePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xfe\x00[EditorFormat\n=CustomFontName\x01\x02\nCustomFontSize=@Variant(\x7f)\n"
               "[[[\n\0\0\0",
               60);
    file.close();
    test::Window w;
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w.form->typer()->font().pointSize(), 8);
}

class EditorFormatTest : public WindowTest
{
protected:
    CustomForm *openForm()
    {
        w.form->command("Custom")->trigger();
        CustomForm *form = editorFormat(w)->customForm();
        EXPECT_TRUE(form && form->isVisible());
        EXPECT_FALSE(w.form->isEnabled());
        return form;
    }
    void choose(CustomForm *form, const char *list, const QString &text)
    {
        auto *widget = form->findChild<QListWidget *>(QLatin1String(list));
        widget->setCurrentItem(widget->findItems(text, Qt::MatchExactly).first());
    }
    test::Window w;
};

TEST_F(EditorFormatTest, OkStoresAndAppliesAtOnce)
{
    CustomForm *form = openForm();
    choose(form, "FontList", QStringLiteral("Courier New"));
    choose(form, "SizeList", QStringLiteral("12"));
    form->findChild<QPushButton *>(QStringLiteral("Save"))->click();
    EXPECT_TRUE(w.form->isEnabled());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Courier New"));
    EXPECT_EQ(w.form->typer()->font().pointSize(), 12);
    EXPECT_EQ(editorformat::readStored(editorformat::fontNameKey), QStringLiteral("Courier New"));
    EXPECT_EQ(editorformat::readStored(editorformat::fontSizeKey), QStringLiteral("12"));
    // Reopening shows the choice just stored.
    form = openForm();
    EXPECT_EQ(form->selectedFont(), QStringLiteral("Courier New"));
}

TEST_F(EditorFormatTest, CancelEscAndCloseForgetTheChoice)
{
    for (int route = 0; route < 3; ++route) {
        SCOPED_TRACE(route);
        QPointer<CustomForm> form = openForm();
        choose(form, "FontList", QStringLiteral("Impact"));
        if (route == 0)
            form->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        else if (route == 1)
            QTest::keyClick(form, Qt::Key_Escape);
        else
            form->close();
        EXPECT_TRUE(w.form->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
        EXPECT_TRUE(editorformat::readStored(editorformat::fontNameKey).isEmpty());
        // The next opening shows the stored state again.
        form = openForm();
        EXPECT_NE(form->selectedFont(), QStringLiteral("Impact"));
        form->reject();
    }
}

TEST_F(EditorFormatTest, TypingGoesOnInThePostAfterTheWindowCloses)
{
    w.form->activateWindow();
    w.form->typer()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form->typer()->hasFocus(); }));
    openForm()->reject();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.form->typer()->hasFocus(); }));
    openForm()->accept();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.form->typer()->hasFocus(); }));
}

TEST_F(EditorFormatTest, NoCommandRunsWhileTheWindowIsOpen)
{
    w.form->typer()->setText(QStringLiteral("post"));
    ASSERT_TRUE(w.form->command("FindMenu")->isEnabled());
    CustomForm *form = openForm();
    // A screen reader presses menu items directly; the disabled window must
    // not let them run.
    EXPECT_FALSE(w.form->command("About")->isEnabled());
    EXPECT_FALSE(w.form->command("FindMenu")->isEnabled());
    form->reject();
    EXPECT_TRUE(w.form->command("About")->isEnabled());
    EXPECT_TRUE(w.form->command("FindMenu")->isEnabled());
    EXPECT_FALSE(w.form->command("Cut")->isEnabled()); // its own state comes back
}

TEST_F(EditorFormatTest, OkSaysWhenTheChoiceCannotBeKept)
{
    // A folder where the store's file belongs: no write can succeed, for any
    // user.
    const QString path = editorformat::storePath();
    ASSERT_TRUE(QDir().mkpath(path));
    w.dialogs.messageAnswers.push_back(QMessageBox::Ok);
    CustomForm *form = openForm();
    choose(form, "FontList", QStringLiteral("Courier New"));
    form->accept();
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Courier New"));
    ASSERT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(path))
        << w.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(QDir(path).removeRecursively());
}

TEST_F(EditorFormatTest, OkWithAnEmptyListKeepsTheFontAndStoresNothingForIt)
{
    // Nothing stored: after a Cancel the new window has no selection.
    openForm()->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CustomForm *form = openForm();
    ASSERT_TRUE(form->selectedFont().isEmpty());
    choose(form, "SizeList", QStringLiteral("14"));
    form->accept();
    EXPECT_EQ(w.form->typer()->editorFontFamily(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w.form->typer()->font().pointSize(), 14);
    EXPECT_TRUE(editorformat::readStored(editorformat::fontNameKey).isEmpty());
    EXPECT_EQ(editorformat::readStored(editorformat::fontSizeKey), QStringLiteral("14"));
}

} // namespace
