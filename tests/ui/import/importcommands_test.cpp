#include "commands/importcommands.h"
#include "import/htmlimport.h"
#include "settings/editorformat.h"
#include "shell/busyindicator.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

QString fromCorpus(const char *name)
{
    QFile file(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll())
        .trimmed()
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

class ImportCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editorformat::writeStored(editorformat::keepColoursKey, QString());
        w = std::make_unique<Window>();
        w->form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w->form.get()));
    }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    Typer *typer() { return w->form->typer(); }
    QAction *command(const char *name) { return w->form->command(name); }
    void putOnClipboard(const char *type, const QByteArray &data, const QString &text = {})
    {
        auto *mime = new QMimeData;
        mime->setData(QLatin1String(type), data);
        if (!text.isEmpty())
            mime->setText(text);
        QGuiApplication::clipboard()->setMimeData(mime);
    }

    std::unique_ptr<Window> w;
};

// Whatever the clipboard holds replaces the selection as one step that one
// Undo takes back, preferring HTML over rich text over plain text.
TEST_F(ImportCommandsTest, PasteReplacesTheSelectionAsOneUndoStep)
{
    const struct
    {
        const char *type;
        QByteArray data;
        QString text; // plain text beside it, as programs offer both
        QString pasted;
    } clips[] = {
        {"text/html", "<meta charset='utf-8'><b>bold</b> and <ul><li>one</li></ul>",
         QStringLiteral("bold and one"),
         QStringLiteral("[B]bold[/B] and\r\n\r\n[LIST]\r\n[*]one\r\n[/LIST]")},
        {"text/rtf", "{\\rtf1\\ansi {\\i it}\\par}", QStringLiteral("it"),
         QStringLiteral("[I]it[/I]")},
        {"application/rtf", "{\\rtf1\\ansi {\\ul u}\\par}", {}, QStringLiteral("[U]u[/U]")},
        {"text/plain", "plain [B] text", {}, QStringLiteral("plain [B] text")},
    };
    for (const auto &clip : clips) {
        SCOPED_TRACE(clip.type);
        typer()->setText(QStringLiteral("before SELECTED after"));
        typer()->setSelStart(7);
        typer()->setSelLength(8);
        putOnClipboard(clip.type, clip.data, clip.text);

        command("PasteBBCode")->trigger();
        EXPECT_EQ(typer()->text(),
                  QStringLiteral("before ") + clip.pasted + QStringLiteral(" after"));
        typer()->undo();
        EXPECT_EQ(typer()->text(), QStringLiteral("before SELECTED after"));
    }

    // The clipboard of a real word processor, as LibreOffice offers it.
    QFile office(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/clip-libreoffice-writer.html"));
    ASSERT_TRUE(office.open(QIODevice::ReadOnly));
    typer()->setText(QString());
    putOnClipboard("text/html", office.readAll());
    command("PasteBBCode")->trigger();
    EXPECT_EQ(typer()->text(), fromCorpus("clip-libreoffice-writer.bbcode"));
}

// A clipboard too large to import at once is imported beside the window, which
// shows it is busy and takes no input, as Open does; Esc gives the paste up
// and the post stays as it was, even when the import ends later.
TEST_F(ImportCommandsTest, ALargePasteRunsBesideTheWindowAndEscGivesItUp)
{
    auto *paste = w->form->findChild<ImportCommands *>();
    ASSERT_NE(paste, nullptr);
    w->form->busyIndicator().setDelays(0, 0);
    QByteArray html;
    while (html.size() < 2 * ImportCommands::kPasteInPlace)
        html += "<p>word <b>bold</b> <div><div><i>deep</i></div></div></p>";
    putOnClipboard("text/html", html);
    typer()->setText(QStringLiteral("kept"));
    typer()->setSelStart(4);

    command("PasteBBCode")->trigger();
    ASSERT_TRUE(paste->isPasting());
    EXPECT_TRUE(typer()->isReadOnly());
    EXPECT_FALSE(command("PasteBBCode")->isEnabled());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QTest::keyClick(typer(), Qt::Key_Escape);
    EXPECT_FALSE(paste->isPasting());
    EXPECT_FALSE(typer()->isReadOnly());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(120000));
    QCoreApplication::processEvents();
    EXPECT_EQ(typer()->text(), QStringLiteral("kept"));

    // Left to finish, it goes in at the caret as one step for Undo.
    command("PasteBBCode")->trigger();
    ASSERT_TRUE(paste->isPasting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paste->isPasting(); }, 120000));
    EXPECT_EQ(typer()->text(), QStringLiteral("kept") + htmlToBBCode(QString::fromUtf8(html)));
    EXPECT_FALSE(typer()->isReadOnly());
    typer()->undo();
    EXPECT_EQ(typer()->text(), QStringLiteral("kept"));
}

TEST_F(ImportCommandsTest, KeepColoursAndSizesIsRemembered)
{
    QAction *keep = command("KeepColoursSizes");
    ASSERT_TRUE(keep->isCheckable());
    EXPECT_FALSE(keep->isChecked());
    keep->trigger();

    // A window opened later starts with the choice, and pastes by it.
    w = std::make_unique<Window>();
    EXPECT_TRUE(command("KeepColoursSizes")->isChecked());
    putOnClipboard("text/html", "<span style='color:red;font-size:24pt'>loud</span>");
    typer()->setText(QString());
    command("PasteBBCode")->trigger();
    EXPECT_EQ(typer()->text(), QStringLiteral("[Color=Red][Size=6]loud[/Size][/Color]"));
}

// Import goes the way Open goes: a modified post is offered for saving first.
TEST_F(ImportCommandsTest, ImportAsksBeforeReplacingThePost)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("draft.htm"));
    QFile::copy(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/word-fake-lists.html"), path);

    typer()->setText(QStringLiteral("unsaved words"));
    w->dialogs.messageAnswers.push_back(QMessageBox::No);
    w->dialogs.openAnswers.push_back(path);
    command("ImportBBCode")->trigger();
    EXPECT_EQ(w->dialogs.messages.size(), 1);
    EXPECT_TRUE(w->dialogs.openFilters.value(0).contains(QStringLiteral("*.html")));
    EXPECT_EQ(typer()->text(), fromCorpus("word-fake-lists.bbcode"));

    // The imported post is unsaved, so it is asked about too; a file that
    // cannot be read leaves it as it was.
    w->dialogs.messageAnswers.push_back(QMessageBox::No);
    w->dialogs.openAnswers.push_back(dir.filePath(QStringLiteral("missing.rtf")));
    w->dialogs.messageAnswers.push_back(QMessageBox::Ok);
    command("ImportBBCode")->trigger();
    EXPECT_EQ(typer()->text(), fromCorpus("word-fake-lists.bbcode"));
    ASSERT_EQ(w->dialogs.messages.size(), 3);
    EXPECT_TRUE(w->dialogs.messages[1].text.contains(QStringLiteral("Save changes")));
    EXPECT_TRUE(w->dialogs.messages[2].text.contains(QStringLiteral("does not exist")));
    EXPECT_TRUE(w->dialogs.allAnswered());
}

// The new commands sit in groups of their own; File still ends with Exit.
TEST_F(ImportCommandsTest, NewCommandsSitInTheirOwnGroups)
{
    const auto names = [this](const char *menu) {
        QStringList out;
        for (QAction *action : w->form->findChild<QMenu *>(QLatin1String(menu))->actions())
            out << action->objectName();
        return out;
    };
    const QStringList file = names("Menu");
    const qsizetype import = file.indexOf(QStringLiteral("ImportBBCode"));
    ASSERT_GT(import, 0);
    ASSERT_LT(import + 1, file.size());
    EXPECT_TRUE(command(file[import - 1].toLatin1().constData())->isSeparator());
    EXPECT_TRUE(command(file[import + 1].toLatin1().constData())->isSeparator());
    EXPECT_EQ(file.back(), QStringLiteral("QuitPro"));
    const QStringList edit = names("Edit");
    EXPECT_EQ(edit.mid(edit.indexOf(QStringLiteral("SelectAll"))),
              (QStringList{"SelectAll", "LinePasteBBCode", "PasteBBCode", "KeepColoursSizes"}));
    EXPECT_EQ(command("PasteBBCode")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
}

} // namespace
