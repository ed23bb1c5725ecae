// New, Open, Save and Exit on a real window with scripted answers, and the
// bytes that land in real files.
#include "commands/documentcommands.h"
#include "documents/documentfile.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/userdialogs.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    QString shown = s;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}

using namespace quorvane;
using QMB = QMessageBox;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class Lifecycle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        docs = m_w.form->findChild<DocumentCommands *>();
        ASSERT_NE(docs, nullptr);
        typer = m_w.form->typer();
    }

    void TearDown() override { EXPECT_TRUE(dialogs().allAnswered()); }

    test::ScriptedDialogs &dialogs() { return m_w.dialogs; }
    MainForm &form() { return *m_w.form; }
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    void run(const char *command) { form().command(command)->trigger(); }

    // A post the user typed: the editor's text now differs from the baseline.
    void typePost(const QString &text)
    {
        typer->setText(text);
        ASSERT_TRUE(docs->isModified());
    }

    int savePrompts() const
    {
        int n = 0;
        for (const auto &m : m_w.dialogs.messages)
            n += m.text == QLatin1String("Save changes to your document?");
        return n;
    }

    QTemporaryDir m_dir;
    test::Window m_w;
    DocumentCommands *docs = nullptr;
    Typer *typer = nullptr;
};

TEST_F(Lifecycle, AFreshWindowIsCleanAndNothingAsks)
{
    EXPECT_FALSE(docs->isModified());
    EXPECT_EQ(docs->baseline(), QString());

    run("NewFile");
    EXPECT_TRUE(dialogs().messages.isEmpty());
    EXPECT_EQ(typer->text(), QString());

    // Open goes straight to the dialog; cancelling it changes nothing.
    dialogs().openAnswers = {QString()};
    run("OpenFile");
    EXPECT_TRUE(dialogs().messages.isEmpty());
    EXPECT_EQ(dialogs().openFilters,
              QStringList{"Rich Text Format (*.rtf);;Text File (*.txt);;Word for Windows "
                          "(*.doc);;Windows Write (*.wri);;All Documents (*.*)"});
    EXPECT_EQ(dialogs().openStartFilters, QStringList{"All Documents (*.*)"});

    QSignalSpy closed(&form(), &MainForm::closed);
    run("QuitPro");
    EXPECT_TRUE(dialogs().messages.isEmpty());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form().isVisible());
}

TEST_F(Lifecycle, ModifiedMeansDifferentCodeUnitByCodeUnit)
{
    typer->setText(QStringLiteral("Hello\r\nworld"));
    EXPECT_TRUE(docs->isModified());
    dialogs().saveAnswers = {path("a.txt")};
    run("SaveFile");
    EXPECT_FALSE(docs->isModified());

    // Typing a character and taking it away again leaves the post clean.
    typer->setFocus();
    typer->setSelStart(typer->length());
    QTest::keyClick(typer, Qt::Key_X);
    EXPECT_TRUE(docs->isModified());
    QTest::keyClick(typer, Qt::Key_Backspace);
    EXPECT_FALSE(docs->isModified());

    // Case counts, and so does the kind of line break or a trailing space.
    typer->setText(QStringLiteral("hello\r\nworld"));
    EXPECT_TRUE(docs->isModified());
    typer->setText(QStringLiteral("Hello\r\nworld "));
    EXPECT_TRUE(docs->isModified());
    typer->setText(QStringLiteral("Hello\r\nworld"));
    EXPECT_FALSE(docs->isModified());
}

TEST_F(Lifecycle, ThePromptAsksTheSameQuestionEverywhere)
{
    typePost(QStringLiteral("draft"));
    dialogs().messageAnswers = {QMB::Cancel, QMB::Cancel, QMB::Cancel};
    run("NewCommand");
    run("OpenCommand");
    run("QuitPro");
    ASSERT_EQ(dialogs().messages.size(), 3);
    for (const auto &m : dialogs().messages) {
        EXPECT_EQ(m.text, QStringLiteral("Save changes to your document?"));
        EXPECT_EQ(m.title, QStringLiteral("Quorvane"));
        EXPECT_EQ(m.icon, QMB::Warning);
        EXPECT_EQ(m.buttons, QMB::Yes | QMB::No | QMB::Cancel);
        EXPECT_EQ(m.defaultButton, QMB::Yes);
    }
    // Cancel, each time: text and baseline as they were, the window open.
    EXPECT_EQ(typer->text(), QStringLiteral("draft"));
    EXPECT_TRUE(docs->isModified());
    EXPECT_TRUE(form().isVisible());
}

TEST_F(Lifecycle, NewWithEachAnswer)
{
    typePost(QStringLiteral("one"));
    // No: cleared without saving.
    dialogs().messageAnswers = {QMB::No};
    run("NewFile");
    EXPECT_EQ(typer->text(), QString());
    EXPECT_FALSE(docs->isModified());

    // Yes, then a cancelled save dialog: nothing changes.
    typePost(QStringLiteral("two"));
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {QString()};
    run("NewFile");
    EXPECT_EQ(typer->text(), QStringLiteral("two"));
    EXPECT_TRUE(docs->isModified());

    // Yes and a name: written, then cleared.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {path("two.txt")};
    run("NewFile");
    EXPECT_EQ(fileBytes(path("two.txt")), QByteArray("two\r\n"));
    EXPECT_EQ(typer->text(), QString());
    EXPECT_FALSE(docs->isModified());
    EXPECT_EQ(dialogs().saveFilters.last(),
              QStringLiteral("Rich Text Format (*.rtf);;Text File (*.txt);;Word for Windows "
                             "(*.doc);;Windows Write (*.wri)"));
}

TEST_F(Lifecycle, OpenWithEachAnswer)
{
    writeBytes(path("in.txt"), "first line\nsecond line\n");

    // A clean post: the file arrives with the editor's line breaks and is clean.
    dialogs().openAnswers = {path("in.txt")};
    run("OpenCommand");
    EXPECT_EQ(typer->text(), QStringLiteral("first line\r\nsecond line"));
    EXPECT_FALSE(docs->isModified());

    // No, then a cancelled open dialog: the old text stays, still modified.
    typePost(QStringLiteral("edited"));
    dialogs().messageAnswers = {QMB::No};
    dialogs().openAnswers = {QString()};
    run("OpenFile");
    EXPECT_EQ(typer->text(), QStringLiteral("edited"));
    EXPECT_TRUE(docs->isModified());

    // No and a file: the edit is thrown away for the file.
    dialogs().messageAnswers = {QMB::No};
    dialogs().openAnswers = {path("in.txt")};
    run("OpenFile");
    EXPECT_EQ(typer->text(), QStringLiteral("first line\r\nsecond line"));
    EXPECT_FALSE(docs->isModified());

    // Yes: saved and cleared, and no open dialog follows.
    typePost(QStringLiteral("keep me"));
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {path("kept.txt")};
    const qsizetype opensBefore = dialogs().openFilters.size();
    run("OpenFile");
    EXPECT_EQ(dialogs().openFilters.size(), opensBefore);
    EXPECT_EQ(fileBytes(path("kept.txt")), QByteArray("keep me\r\n"));
    EXPECT_EQ(typer->text(), QString());
    EXPECT_FALSE(docs->isModified());

    // Yes, then a cancelled save dialog: untouched, and still nothing opened.
    typePost(QStringLiteral("again"));
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {QString()};
    run("OpenFile");
    EXPECT_EQ(dialogs().openFilters.size(), opensBefore);
    EXPECT_EQ(typer->text(), QStringLiteral("again"));
    EXPECT_TRUE(docs->isModified());
}

TEST_F(Lifecycle, OpeningANamedFileWithEachAnswer)
{
    writeBytes(path("in.txt"), "from the file\n");
    const QString fromFile = QStringLiteral("from the file");
    struct Case
    {
        const char *name;
        QMB::StandardButton answer; // NoButton: a clean post, nothing asked
        const char *saveAs;         // the save dialog's answer after Yes
        bool opened;
    } const cases[] = {
        {"clean", QMB::NoButton, nullptr, true},    {"No", QMB::No, nullptr, true},
        {"Yes, saved", QMB::Yes, "kept.txt", true}, {"Yes, save cancelled", QMB::Yes, "", false},
        {"Cancel", QMB::Cancel, nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (docs->isModified()) {
            dialogs().messageAnswers = {QMB::No};
            docs->Start_New_File();
        }
        if (c.answer != QMB::NoButton) {
            typePost(QStringLiteral("typed"));
            dialogs().messageAnswers = {c.answer};
        }
        if (c.saveAs)
            dialogs().saveAnswers = {*c.saveAs ? path(c.saveAs) : QString()};
        docs->openFile(path("in.txt"));
        EXPECT_EQ(typer->text(), c.opened ? fromFile : QStringLiteral("typed"));
        EXPECT_EQ(docs->isModified(), !c.opened);
        EXPECT_TRUE(dialogs().openFilters.isEmpty()); // never asks for a name
    }
    EXPECT_EQ(fileBytes(path("kept.txt")), QByteArray("typed\r\n"));

    // The same refusal as Open for a file that cannot be read, and the post
    // stays (the last case left it modified).
    dialogs().messageAnswers = {QMB::No, QMB::Ok};
    docs->openFile(path("missing.txt"));
    EXPECT_TRUE(dialogs().messages.last().text.startsWith(QStringLiteral("The document \"")));
    EXPECT_EQ(typer->text(), QStringLiteral("typed"));
}

TEST_F(Lifecycle, OpenShowsOnlyTheTextOfRichText)
{
    writeBytes(path("doc.rtf"), "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Tahoma;}}"
                                "{\\colortbl;\\red255\\green0\\blue0;}"
                                "\\f0\\fs20 Caf\\'e9 {\\b bold}\\par \\cf1 red\\par}");
    dialogs().openAnswers = {path("doc.rtf")};
    run("OpenFile");
    EXPECT_EQ(typer->text(), QStringLiteral("Caf\u00e9 bold\r\nred\r\n"));
    EXPECT_FALSE(docs->isModified());
}

TEST_F(Lifecycle, AGuessedEncodingIsToldOnceAfterOpen)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QString text;
        bool told;
    };
    const Case cases[] = {
        {"UTF-8", "caf\xC3\xA9", QStringLiteral("caf\u00e9"), false},
        {"UTF-16 without a mark", QByteArray("c\0a\0f\0\xE9\0", 8), QStringLiteral("caf\u00e9"),
         false},
        {"one byte that is not UTF-8", "caf\xC3\xA9 \xE9t\xC3\xA9",
         QStringLiteral("caf\u00c3\u00a9 \u00e9t\u00c3\u00a9"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dialogs().messages.clear();
        writeBytes(path("post.txt"), c.bytes);
        dialogs().openAnswers = {path("post.txt")};
        run("OpenFile");
        EXPECT_EQ(typer->text(), c.text);
        EXPECT_FALSE(docs->isModified());
        if (!c.told) {
            EXPECT_TRUE(dialogs().messages.isEmpty());
            continue;
        }
        ASSERT_EQ(dialogs().messages.size(), 1);
        const auto &m = dialogs().messages.first();
        EXPECT_EQ(m.icon, QMB::Information);
        EXPECT_EQ(m.buttons, QMB::Ok);
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("The document \"%1\" is open.\n")
                                          .arg(QDir::toNativeSeparators(path("post.txt")))))
            << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("Windows-1252"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("byte 7 (0xE9)"))) << m.text.toStdString();
    }
}

TEST_F(Lifecycle, DataThatIsNoTextIsOpenedOnlyWhenTheWriterSaysSo)
{
    const QByteArray picture("GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0!", 20);
    writeBytes(path("picture.gif"), picture);
    const QString question = QStringLiteral("This does not look like a text file. Open it anyway?");

    typePost(QStringLiteral("precious"));
    dialogs().messageAnswers = {QMB::No, QMB::No};
    dialogs().openAnswers = {path("picture.gif")};
    run("OpenFile");
    ASSERT_EQ(dialogs().messages.size(), 2);
    const auto &asked = dialogs().messages.last();
    EXPECT_EQ(asked.text, question);
    EXPECT_EQ(asked.buttons, QMB::Yes | QMB::No);
    EXPECT_EQ(asked.defaultButton, QMB::No);
    EXPECT_EQ(typer->text(), QStringLiteral("precious"));
    EXPECT_TRUE(docs->isModified());

    dialogs().messages.clear();
    dialogs().messageAnswers = {QMB::No, QMB::Yes};
    dialogs().openAnswers = {path("picture.gif")};
    run("OpenFile");
    ASSERT_EQ(dialogs().messages.size(), 2);
    EXPECT_EQ(dialogs().messages.last().text, question);
    EXPECT_EQ(typer->text(), readDocumentBytes(picture).text);
    EXPECT_FALSE(docs->isModified());
}

TEST_F(Lifecycle, AFileThatCannotBeReadLeavesThePost)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    writeBytes(path("big.txt"), QByteArray());
    ASSERT_TRUE(QFile::resize(path("big.txt"), 64 * 1024 * 1024 + 1));

    typePost(QStringLiteral("precious"));
    for (const char *name : {"missing.txt", "folder", "big.txt"}) {
        SCOPED_TRACE(name);
        dialogs().messages.clear();
        dialogs().messageAnswers = {QMB::No};
        dialogs().openAnswers = {path(name)};
        run("OpenFile");
        ASSERT_EQ(dialogs().messages.size(), 2);
        const auto &m = dialogs().messages.last();
        EXPECT_EQ(m.title, QStringLiteral("Quorvane"));
        EXPECT_EQ(m.buttons, QMB::Ok);
        EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(path(name)))) << m.text.toStdString();
        EXPECT_GT(m.text.count(u'.'), 1) << "no reason given: " << m.text.toStdString();
        EXPECT_EQ(typer->text(), QStringLiteral("precious"));
        EXPECT_TRUE(docs->isModified());
    }
}

TEST_F(Lifecycle, SaveAsksEveryTimeAndMovesTheBaseline)
{
    typePost(QStringLiteral("post"));
    dialogs().saveAnswers = {path("a.rtf"), path("b.txt")};
    run("SaveCommand");
    run("SaveFile");
    EXPECT_EQ(dialogs().saveFilters.size(), 2);
    EXPECT_EQ(fileBytes(path("a.rtf")), QByteArray("post\r\n"));
    EXPECT_EQ(fileBytes(path("b.txt")), QByteArray("post\r\n"));
    // The post is kept, now clean, and the caption never changes.
    EXPECT_EQ(typer->text(), QStringLiteral("post"));
    EXPECT_FALSE(docs->isModified());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Quorvane"));

    // A cancelled save dialog leaves the post modified.
    typePost(QStringLiteral("post 2"));
    dialogs().saveAnswers = {QString()};
    run("SaveFile");
    EXPECT_TRUE(docs->isModified());

    // After a save, Exit closes at once.
    dialogs().saveAnswers = {path("c.txt")};
    run("SaveFile");
    QSignalSpy closed(&form(), &MainForm::closed);
    run("QuitPro");
    EXPECT_EQ(savePrompts(), 0);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Lifecycle, SavedBytes)
{
    // An empty post is exactly one line break.
    dialogs().saveAnswers = {path("empty.txt")};
    run("SaveFile");
    EXPECT_EQ(fileBytes(path("empty.txt")), QByteArray("\r\n"));

    // Overwriting leaves nothing of a longer old content.
    writeBytes(path("old.txt"), QByteArray(10000, 'x'));
    typePost(QStringLiteral("short\r\nlines"));
    dialogs().saveAnswers = {path("old.txt")};
    run("SaveFile");
    EXPECT_EQ(fileBytes(path("old.txt")), QByteArray("short\r\nlines\r\n"));

    // Text outside any 8-bit code page is written as UTF-8 without a mark and
    // comes back as typed: Open takes away the line break Save adds, so Save
    // after Open writes the same bytes again.
    const QString world =
        QStringLiteral("Gr\u00fc\u00dfe \u2014 \u65e5\u672c \U0001F600\r\n\u00e9");
    typePost(world);
    dialogs().saveAnswers = {path("world.doc")};
    run("SaveFile");
    EXPECT_EQ(fileBytes(path("world.doc")), (world + QStringLiteral("\r\n")).toUtf8());
    typePost(QStringLiteral("something else"));
    dialogs().messageAnswers = {QMB::No};
    dialogs().openAnswers = {path("world.doc")};
    run("OpenFile");
    EXPECT_EQ(typer->text(), world);
    EXPECT_FALSE(docs->isModified());
    dialogs().saveAnswers = {path("world.doc")};
    run("SaveFile");
    EXPECT_EQ(fileBytes(path("world.doc")), (world + QStringLiteral("\r\n")).toUtf8());
}

TEST_F(Lifecycle, OpenThenSaveKeepsEveryCharacter)
{
    const auto repeated = [](const char *piece, qsizetype length) {
        QByteArray bytes;
        while (bytes.size() < length)
            bytes += piece;
        return bytes;
    };
    const struct
    {
        const char *name;
        QByteArray bytes; // Save ends the post with one line break more
    } files[] = {
        {"separators the widget uses itself",
         "ps\xe2\x80\xa9 frames\xef\xb7\x90\xef\xb7\x91 ls\xe2\x80\xa8 fffd\xef\xbf\xbd "
         "bom\xef\xbb\xbf noncharacters\xef\xb7\xaf\xef\xbf\xbe\xef\xbf\xbf\r\n"
         "\xe2\x80\xa9\r\n\r\nend\xef\xb7\x91"},
        {"one long line with spaces", repeated("alpha beta gamma delta ", 100000)},
        {"one long line without spaces", "start\r\n" + repeated("abcdefghij", 100000)},
    };
    for (const auto &file : files) {
        SCOPED_TRACE(file.name);
        writeBytes(path("in.txt"), file.bytes);
        dialogs().openAnswers = {path("in.txt")};
        run("OpenFile");
        EXPECT_EQ(typer->text(), QString::fromUtf8(file.bytes));
        EXPECT_FALSE(docs->isModified());
        dialogs().saveAnswers = {path("out.txt")};
        run("SaveFile");
        EXPECT_EQ(fileBytes(path("out.txt")), file.bytes + "\r\n");
    }
}

TEST_F(Lifecycle, AFailedWriteStopsEveryRoutine)
{
    const QString nowhere = path("no such folder/post.txt");
    typePost(QStringLiteral("unsaved"));
    QSignalSpy closed(&form(), &MainForm::closed);

    const auto expectFailureReported = [&] {
        ASSERT_FALSE(dialogs().messages.isEmpty());
        const auto &m = dialogs().messages.last();
        EXPECT_EQ(m.title, QStringLiteral("Quorvane"));
        EXPECT_EQ(m.buttons, QMB::Ok);
        EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(nowhere))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("does not exist"))) << m.text.toStdString();
        EXPECT_EQ(typer->text(), QStringLiteral("unsaved"));
        EXPECT_TRUE(docs->isModified());
        EXPECT_FALSE(QFile::exists(nowhere));
    };

    // Save: the baseline does not move.
    dialogs().saveAnswers = {nowhere};
    run("SaveFile");
    expectFailureReported();

    // New, Yes: not cleared.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {nowhere};
    run("NewFile");
    expectFailureReported();

    // Open, Yes: not cleared.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {nowhere};
    run("OpenFile");
    expectFailureReported();

    // Exit, Yes: the window stays.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {nowhere};
    run("QuitPro");
    expectFailureReported();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form().isVisible());
}

TEST_F(Lifecycle, ExitWithEachAnswer)
{
    typePost(QStringLiteral("bye"));
    QSignalSpy closed(&form(), &MainForm::closed);

    // Yes, then a cancelled save dialog: the program keeps running.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {QString()};
    run("QuitPro");
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form().isVisible());

    // Yes and a name: written, then closed, with one prompt only.
    dialogs().messages.clear();
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {path("bye.txt")};
    run("QuitPro");
    EXPECT_EQ(fileBytes(path("bye.txt")), QByteArray("bye\r\n"));
    EXPECT_EQ(savePrompts(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form().isVisible());
}

TEST_F(Lifecycle, ExitWithNoClosesWithoutSaving)
{
    typePost(QStringLiteral("throw away"));
    QSignalSpy closed(&form(), &MainForm::closed);
    dialogs().messageAnswers = {QMB::No};
    run("QuitPro");
    EXPECT_EQ(savePrompts(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form().isVisible());
}

TEST_F(Lifecycle, ClosingByTheWindowSystemAsksFirst)
{
    QSignalSpy closed(&form(), &MainForm::closed);
    QWindow *window = form().windowHandle();
    ASSERT_NE(window, nullptr);

    // The close request the window manager sends (title bar, Alt+F4).
    typePost(QStringLiteral("almost lost"));
    dialogs().messageAnswers = {QMB::Cancel};
    window->close();
    EXPECT_EQ(savePrompts(), 1);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form().isVisible());

    // A cancelled save dialog keeps it open too.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {QString()};
    window->close();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form().isVisible());

    // Saved, it closes.
    dialogs().messageAnswers = {QMB::Yes};
    dialogs().saveAnswers = {path("saved.txt")};
    window->close();
    EXPECT_EQ(fileBytes(path("saved.txt")), QByteArray("almost lost\r\n"));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form().isVisible());
}

TEST_F(Lifecycle, TheStripCloseBoxAsksOnce)
{
    typePost(QStringLiteral("draft"));
    QSignalSpy closed(&form(), &MainForm::closed);
    auto *closeBox = form().control<QToolButton>("CloseBox");
    ASSERT_NE(closeBox, nullptr);
    dialogs().messageAnswers = {QMB::No};
    QTest::mouseClick(closeBox, Qt::LeftButton);
    EXPECT_EQ(savePrompts(), 1);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Lifecycle, ACleanPostClosesByTheWindowSystemAtOnce)
{
    QSignalSpy closed(&form(), &MainForm::closed);
    form().close();
    EXPECT_TRUE(dialogs().messages.isEmpty());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Lifecycle, ShortcutsAndToolbarButtonsReachTheRoutines)
{
    typePost(QStringLiteral("x"));
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    typer->setFocus();

    dialogs().messageAnswers = {QMB::Cancel, QMB::Cancel, QMB::Cancel};
    QTest::keyClick(typer, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(typer, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(typer, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(savePrompts(), 3);

    dialogs().saveAnswers = {QString(), QString()};
    QTest::keyClick(typer, Qt::Key_S, Qt::ControlModifier);
    auto *saveButton = form().control<QToolButton>("SaveCommand");
    ASSERT_NE(saveButton, nullptr);
    QTest::mouseClick(saveButton, Qt::LeftButton);
    EXPECT_EQ(dialogs().saveFilters.size(), 2);
    EXPECT_TRUE(form().isVisible());
}

// The real Open dialog, on Qt's own file dialog: the captions as they always
// were, "All Documents (*.*)" listing every file (a post saved without an
// extension too), and Open starting there.
TEST(OpenDialog, AllDocumentsListsEveryFileAndOpenStartsThere)
{
    QTemporaryDir dir;
    for (const char *name : {"bike-post", "notes.txt", "letter.rtf"})
        writeBytes(dir.filePath(QLatin1String(name)), "x");

    QStringList captions, listed;
    QString start;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; types && i < types->count(); ++i)
            captions << types->itemText(i);
        start = types ? types->currentText() : QString();
        dialog->setDirectory(dir.path());
        auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
        const auto names = [&] {
            QStringList out;
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                const QModelIndex index = view->model()->index(row, 0, root);
                if (index.flags() & Qt::ItemIsEnabled)
                    out << index.data().toString();
            }
            out.sort();
            return out;
        };
        // The folder is read in the background.
        EXPECT_TRUE(QTest::qWaitFor([&] { return view && names().size() >= 3; }, 10000));
        listed = names();
        dialog->reject();
    });
    poll.start(20);
    QtUserDialogs dialogs;
    EXPECT_EQ(dialogs.openFileName(nullptr, DocumentCommands::openFilter(),
                                   DocumentCommands::openStartFilter()),
              QString());

    EXPECT_EQ(captions, DocumentCommands::openFilter().split(QStringLiteral(";;")));
    EXPECT_EQ(start, QStringLiteral("All Documents (*.*)"));
    EXPECT_EQ(listed, (QStringList{"bike-post", "letter.rtf", "notes.txt"}));
}

} // namespace
