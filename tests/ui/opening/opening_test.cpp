// Opening posts by drag and drop, the remembered folder of the real file
// dialogs, and a large file read while the window repaints.
#include "commands/documentcommands.h"
#include "commands/openrequests.h"
#include "settings/filefolders.h"
#include "shell/busyindicator.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quorvane;
using QMB = QMessageBox;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Drag-enter then drop at `at` on `target`, as the window system delivers
// them; returns whether the drop was taken and as what.
Qt::DropAction drop(QWidget *target, QPoint at, QMimeData *mime)
{
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(at), offered, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
}

// What a file manager offers: the file's URL, and its path as text.
QMimeData *filesDragged(const QStringList &paths)
{
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    mime->setUrls(urls);
    mime->setText(paths.join(u'\n'));
    return mime;
}

class Opening : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        docs = m_w.form->findChild<DocumentCommands *>();
        ASSERT_NE(docs, nullptr);
        typer = m_w.form->typer();
    }
    void TearDown() override { EXPECT_TRUE(m_w.dialogs.allAnswered()); }

    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QPoint pointOf(qsizetype postPosition) const
    {
        QTextCursor at(typer->document());
        at.setPosition(typer->toDocumentPosition(postPosition, false));
        return typer->cursorRect(at).center();
    }

    QTemporaryDir m_dir;
    test::Window m_w;
    DocumentCommands *docs = nullptr;
    Typer *typer = nullptr;
};

TEST_F(Opening, AFileDroppedAnywhereOpensByTheSaveQuestion)
{
    writeBytes(path("dropped.txt"), "from the drop\n");
    QDir(m_dir.path()).mkdir(QStringLiteral("folder"));
    struct Case
    {
        const char *where;
        QWidget *target;
        QStringList files;
        QMB::StandardButton answer; // NoButton: nothing asked
        bool opened;
    } const cases[] = {
        {"editor, No", typer->viewport(), {path("dropped.txt")}, QMB::No, true},
        {"editor, Cancel", typer->viewport(), {path("dropped.txt")}, QMB::Cancel, false},
        {"toolbar, No", m_w.form->mainFrame(), {path("dropped.txt")}, QMB::No, true},
        {"window, a folder first",
         m_w.form.get(),
         {path("folder"), path("dropped.txt")},
         QMB::No,
         true},
        {"editor, a folder alone", typer->viewport(), {path("folder")}, QMB::NoButton, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.where);
        typer->setText(QStringLiteral("typed"));
        if (c.answer != QMB::NoButton)
            m_w.dialogs.messageAnswers = {c.answer};
        std::unique_ptr<QMimeData> mime(filesDragged(c.files));
        const Qt::DropAction taken = drop(c.target, QPoint(5, 5), mime.get());
        // Never a move: the file manager would delete the file.
        EXPECT_EQ(taken, c.answer == QMB::NoButton ? Qt::IgnoreAction : Qt::CopyAction);
        // Opened once the drop has ended.
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_w.dialogs.allAnswered(); }, 10000));
        QApplication::processEvents();
        EXPECT_EQ(typer->text(),
                  c.opened ? QStringLiteral("from the drop") : QStringLiteral("typed"));
        EXPECT_EQ(docs->isModified(), !c.opened);
    }
    EXPECT_TRUE(QFile::exists(path("dropped.txt")));
}

TEST_F(Opening, DroppedTextGoesInAtTheDropPointAsOneStep)
{
    const QString before = QStringLiteral("first line\r\nsecond line");
    const QString longLine(3 * Typer::kLongLine, u'x');
    struct Case
    {
        const char *what;
        QString text;
        QString html; // offered besides, never taken
        qsizetype at;
    } const cases[] = {
        {"a word", QStringLiteral("dropped "), QString(), 6},
        {"lines", QStringLiteral("one\ntwo\r\n"), QStringLiteral("<b>one</b>"), 0},
        {"a long line", longLine + QStringLiteral("\nend"), QString(), 12},
        {"a link from a browser", QStringLiteral("http://example.org/a"), QString(), 23},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        typer->setText(before);
        typer->document()->clearUndoRedoStacks();
        auto mime = std::make_unique<QMimeData>();
        mime->setText(c.text);
        if (!c.html.isEmpty())
            mime->setHtml(c.html);
        if (QString(c.what).contains(QStringLiteral("link")))
            mime->setUrls({QUrl(c.text)});
        EXPECT_NE(drop(typer->viewport(), pointOf(c.at), mime.get()), Qt::IgnoreAction);
        QString expected = before;
        QString written = c.text;
        written.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(u'\n', QStringLiteral("\r\n"));
        expected.insert(c.at, written);
        EXPECT_EQ(typer->text(), expected);
        EXPECT_EQ(typer->length(), expected.size());
        typer->undo();
        EXPECT_EQ(typer->text(), before);
    }
    EXPECT_TRUE(m_w.dialogs.messages.isEmpty());
}

TEST(StartFolder, TheLastFolderUsedWhileItExistsElseHome)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("posts"));
    QDir().mkpath(existing);
    writeBytes(dir.filePath(QStringLiteral("a-file")), "x");
    const QString key = QStringLiteral("%1/%2").arg(QLatin1String(filefolders::group),
                                                    QLatin1String(filefolders::lastFolderKey));
    struct Case
    {
        const char *what;
        QVariant stored; // invalid: never stored
        QString start;
    } const cases[] = {
        {"first run", QVariant(), QDir::homePath()},
        {"last used", existing, existing},
        {"vanished", dir.filePath(QStringLiteral("gone")), QDir::homePath()},
        {"relative", QStringLiteral("posts"), QDir::homePath()},
        {"a file", dir.filePath(QStringLiteral("a-file")), QDir::homePath()},
        {"not text", QStringList{existing, existing}, QDir::homePath()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        filefolders::forget();
        if (c.stored.isValid()) {
            QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quorvane"),
                            QStringLiteral("Quorvane"));
            store.setValue(key, c.stored);
        }
        EXPECT_EQ(filefolders::startFolder(), c.start);
    }
    filefolders::forget();
}

// The real dialogs: each starts in the folder a file was last chosen in,
// with no name filled in, and the choice is remembered for the next.
TEST(StartFolder, OpenAndSaveDialogsStartThereAndRemember)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first"));
    const QString second = dir.filePath(QStringLiteral("second"));
    QDir().mkpath(first);
    QDir().mkpath(second);
    writeBytes(second + QStringLiteral("/post.txt"), "x");
    filefolders::forget();
    filefolders::rememberFolderOf(first + QStringLiteral("/old.txt"));

    QString shownFolder, shownName;
    QString choose; // the file the dialog is answered with
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        shownFolder = dialog->directory().absolutePath();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name) {
            shownName = QStringLiteral("<no name field>");
            dialog->reject();
            return;
        }
        shownName = name->text();
        // Typed as a person would: the folder list is read in the background.
        name->setText(choose);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name
    });
    QtUserDialogs dialogs;

    choose = second + QStringLiteral("/post.txt");
    poll.start(20);
    EXPECT_EQ(dialogs.openFileName(nullptr, DocumentCommands::openFilter(),
                                   DocumentCommands::openStartFilter()),
              choose);
    EXPECT_EQ(shownFolder, first);
    EXPECT_EQ(shownName, QString());

    choose = second + QStringLiteral("/new.txt");
    poll.start(20);
    EXPECT_EQ(dialogs.saveFileName(nullptr, DocumentCommands::saveFilter()), choose);
    EXPECT_EQ(shownFolder, second);
    EXPECT_EQ(shownName, QString());
    EXPECT_EQ(filefolders::startFolder(), second);
    filefolders::forget();
}

// A post of megabytes: read on a worker while the window shows it is busy and
// takes no input, then in the editor exactly.
class LargeOpen : public Opening
{
protected:
    void SetUp() override
    {
        Opening::SetUp();
        // At once, so that a fast machine shows them too.
        m_w.form->busyIndicator().setDelays(0, 0);
        QByteArray line = "[b]Line[/b] caf\xc3\xa9 ";
        line += QByteArray(60, 'w') + "\n";
        QByteArray bytes;
        bytes.reserve(20 * 1024 * 1024 + line.size());
        while (bytes.size() < 20 * 1024 * 1024)
            bytes += line;
        writeBytes(path("large.txt"), bytes);
        expected = QString::fromUtf8(bytes.chopped(1)).replace(u'\n', QStringLiteral("\r\n"));
    }

    bool busy() const
    {
        const QCursor *cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::BusyCursor;
    }

    QString expected;
};

TEST_F(LargeOpen, TheWindowIsBusyUntilTheTextIsThereExactly)
{
    m_w.dialogs.openAnswers = {path("large.txt")};
    m_w.form->command("OpenFile")->trigger();
    ASSERT_TRUE(docs->isReading());
    EXPECT_TRUE(busy());
    EXPECT_TRUE(typer->isReadOnly());
    EXPECT_FALSE(m_w.form->command("NewFile")->isEnabled());
    ASSERT_NE(m_w.form->busyIndicator().bar(), nullptr);
    EXPECT_TRUE(m_w.form->busyIndicator().bar()->isVisible());
    // Nothing else runs in the middle.
    docs->openFile(path("large.txt"));
    docs->Save_File();
    EXPECT_TRUE(m_w.dialogs.messages.isEmpty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !docs->isReading(); }, 120000));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(typer->isReadOnly());
    EXPECT_TRUE(m_w.form->command("NewFile")->isEnabled());
    EXPECT_FALSE(m_w.form->busyIndicator().bar()->isVisible());
    EXPECT_EQ(typer->text(), expected);
    EXPECT_FALSE(docs->isModified());
}

TEST_F(LargeOpen, AFileHandedOverMeanwhileOpensAfterTheRead)
{
    writeBytes(path("handed.txt"), "handed over");
    QSignalSpy started(docs, &DocumentCommands::postStarted);
    docs->openFile(path("large.txt"));
    ASSERT_TRUE(docs->isReading());
    OpenRequest handed;
    handed.file = path("handed.txt");
    (new OpenRequests(*m_w.form))->handle(handed);

    ASSERT_TRUE(QTest::qWaitFor([&] { return started.size() == 2; }, 120000));
    EXPECT_EQ(started.at(0).at(0).toString(), path("large.txt"));
    EXPECT_EQ(started.at(1).at(0).toString(), path("handed.txt"));
    EXPECT_EQ(typer->text(), QStringLiteral("handed over"));
}

TEST_F(LargeOpen, ClosingMeanwhileAsksAboutThePostAndNeverLosesIt)
{
    typer->setText(QStringLiteral("typed"));
    // "No" to saving before the open; the close asks again, as the post is
    // still there, and "Cancel" keeps the window and the post.
    m_w.dialogs.messageAnswers = {QMB::No, QMB::Cancel};
    docs->openFile(path("large.txt"));
    ASSERT_TRUE(docs->isReading());
    EXPECT_FALSE(m_w.form->close());
    EXPECT_FALSE(docs->isReading());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(typer->isReadOnly());

    // The read given up lands nowhere.
    QThreadPool::globalInstance()->waitForDone(120000);
    QApplication::processEvents();
    EXPECT_EQ(typer->text(), QStringLiteral("typed"));
    EXPECT_TRUE(docs->isModified());
    EXPECT_EQ(m_w.dialogs.messages.size(), 2);
}

} // namespace
