// The drafts family on a real window (offscreen) with its own drafts folder.
#include "commands/documentcommands.h"
#include "commands/draftcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/recoverdraftswindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

using namespace quorvane;
using namespace std::chrono_literals;
using QMB = QMessageBox;

namespace {

class Drafts : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        folder = m_dir.filePath(QStringLiteral("drafts"));
        drafts = DraftCommands::of(*m_w.form);
        ASSERT_NE(drafts, nullptr);
        drafts->setFolder(folder);
        typer = m_w.form->typer();
        m_w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_w.form.get()));
        typer->setFocus();
    }

    void type(const QString &text)
    {
        typer->setSelStart(typer->length());
        QTest::keyClicks(typer, text);
    }
    // What the drafts folder holds once the writer is done.
    QList<drafts::Recoverable> pending()
    {
        EXPECT_TRUE(drafts->writer().waitUntilIdle(5s));
        return drafts::DraftStore(folder).pendingDrafts();
    }
    QString pendingText()
    {
        const auto list = pending();
        return list.isEmpty() ? QStringLiteral("<none>") : list.first().text;
    }
    int historyFiles()
    {
        EXPECT_TRUE(drafts->writer().waitUntilIdle(5s));
        int n = 0;
        for (const auto &f : drafts::DraftStore(folder).files())
            n += f.pending ? 0 : 1;
        return n;
    }
    void run(const char *command) { m_w.form->command(command)->trigger(); }

    QTemporaryDir m_dir;
    test::Window m_w;
    QString folder;
    DraftCommands *drafts = nullptr;
    Typer *typer = nullptr;
};

struct Moment
{
    const char *name;
    std::function<void(Drafts &)> after; // what follows the typing
    bool atOnce;                         // written without waiting for a pause
};

// Typing reaches the draft after a pause, or at once on focus loss, before a
// question and before Preview; afterwards nothing is left running.
TEST_F(Drafts, TextReachesTheDraftAtTheRightMoments)
{
    const Moment cases[] = {
        {"a pause", [](Drafts &) {}, false},
        {"the window loses the focus",
         [](Drafts &t) {
             QEvent deactivate(QEvent::WindowDeactivate);
             QApplication::sendEvent(t.m_w.form.get(), &deactivate);
         },
         true},
        {"a question opens",
         [](Drafts &t) {
             t.m_w.dialogs.messageAnswers = {QMB::Cancel};
             t.run("NewFile");
         },
         true},
        {"Preview", [](Drafts &t) { t.run("PreviewMenu"); }, true},
    };
    for (const Moment &c : cases) {
        const QString text = QStringLiteral("[b]%1[/b]").arg(QLatin1String(c.name));
        typer->setText(QString());
        drafts->writeNow();
        type(text);
        ASSERT_TRUE(drafts->hasPendingSnapshot()) << c.name;
        c.after(*this);
        EXPECT_EQ(drafts->hasPendingSnapshot(), !c.atOnce) << c.name;
        if (!c.atOnce) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !drafts->hasPendingSnapshot(); }, 3000));
        }
        EXPECT_EQ(pendingText(), text) << c.name;
        EXPECT_TRUE(drafts->isIdle()) << c.name;
    }
}

TEST_F(Drafts, ContinuousTypingIsWrittenAtMostThreeSecondsApart)
{
    QElapsedTimer clock;
    clock.start();
    QSignalSpy written(&drafts->writer(), &drafts::DraftWriter::written);
    // A keystroke every 200 ms never leaves a one-second pause.
    while (written.isEmpty() && clock.elapsed() < 6000) {
        type(QStringLiteral("x"));
        QTest::qWait(200);
    }
    ASSERT_FALSE(written.isEmpty());
    EXPECT_LE(clock.elapsed(), 3500);
}

// The window going away while active is deactivated while still whole: the
// post's last words reach the draft before the writer ends.
TEST_F(Drafts, AnActiveWindowGoingAwayWritesItsLastDraftFirst)
{
    type(QStringLiteral("last words"));
    ASSERT_TRUE(drafts->hasPendingSnapshot());
    ASSERT_TRUE(m_w.form->isActiveWindow());
    drafts = nullptr;
    typer = nullptr;
    m_w.form.reset();
    const QList<drafts::Recoverable> left = drafts::DraftStore(folder).pendingDrafts();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().text, QStringLiteral("last words"));
}

struct Ending
{
    const char *name;
    std::function<void(Drafts &)> act;
};

// Save, and "No" at New, Open and Exit, move the post's draft into history,
// where it stays.
TEST_F(Drafts, SaveAndNoMoveTheDraftIntoHistory)
{
    const Ending cases[] = {
        {"Save",
         [](Drafts &t) {
             t.m_w.dialogs.saveAnswers = {t.m_dir.filePath(QStringLiteral("post.txt"))};
             t.run("SaveFile");
         }},
        {"No at New",
         [](Drafts &t) {
             t.m_w.dialogs.messageAnswers = {QMB::No};
             t.run("NewFile");
         }},
        {"No at Exit",
         [](Drafts &t) {
             t.m_w.dialogs.messageAnswers = {QMB::No};
             t.run("QuitPro");
         }},
    };
    int history = 0;
    for (const Ending &c : cases) {
        typer->setText(QStringLiteral("text before ") + QLatin1String(c.name));
        drafts->writeNow();
        ASSERT_EQ(pending().size(), 1) << c.name;
        c.act(*this);
        EXPECT_TRUE(pending().isEmpty()) << c.name;
        EXPECT_GT(historyFiles(), history) << c.name;
        history = historyFiles();
        EXPECT_TRUE(m_w.dialogs.allAnswered()) << c.name;
    }
}

struct Answer
{
    const char *name;
    bool fromFile;
    std::function<void(Drafts &, DraftOffer *)> answer;
    std::function<void(Drafts &, const QString &draftText)> check;
};

// A draft left by a session that never ended is offered above the editor
// with the focus on Restore; each answer does its one thing.
TEST_F(Drafts, TheOfferAfterAnUncleanEnd)
{
    const Answer cases[] = {
        {"Compare shows the draft beside its file", true,
         [](Drafts &, DraftOffer *offer) {
             offer->findChild<QPushButton *>(QStringLiteral("DraftCompare"))->click();
         },
         [](Drafts &t, const QString &draftText) {
             QWidget *compare = nullptr;
             for (QWidget *w : QApplication::topLevelWidgets()) {
                 if (w->objectName() == QLatin1String("CompareDraft") && w->isVisible())
                     compare = w;
             }
             ASSERT_NE(compare, nullptr);
             EXPECT_EQ(compare->findChild<QPlainTextEdit *>(QStringLiteral("CompareDraftText"))
                           ->toPlainText(),
                       QString(draftText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
             EXPECT_EQ(compare->findChild<QPlainTextEdit *>(QStringLiteral("CompareFileText"))
                           ->toPlainText(),
                       QStringLiteral("as saved"));
             EXPECT_NE(t.drafts->offer(), nullptr); // still offered
             QTest::keyClick(compare, Qt::Key_Escape);
         }},
        {"Discard moves it to history", false,
         [](Drafts &, DraftOffer *offer) {
             offer->findChild<QPushButton *>(QStringLiteral("DraftDiscard"))->click();
         },
         [](Drafts &t, const QString &) {
             EXPECT_EQ(t.drafts->offer(), nullptr);
             EXPECT_EQ(t.typer->text(), QString());
             EXPECT_TRUE(t.pending().isEmpty());
             EXPECT_EQ(t.historyFiles(), 1);
         }},
        {"Return restores it as a modified post", false,
         [](Drafts &, DraftOffer *offer) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             (void)offer;
         },
         [](Drafts &t, const QString &draftText) {
             EXPECT_EQ(t.typer->text(), draftText);
             EXPECT_TRUE(t.m_w.form->findChild<DocumentCommands *>()->isModified());
             EXPECT_EQ(t.drafts->offer(), nullptr);
             // Journalled again as a new post; the old draft is history.
             const auto live = t.pending();
             ASSERT_EQ(live.size(), 1);
             EXPECT_EQ(live.first().header.postId, t.drafts->postId());
             EXPECT_EQ(live.first().text, draftText);
         }},
    };
    for (const Answer &c : cases) {
        QTemporaryDir dir;
        folder = dir.filePath(QStringLiteral("drafts"));
        drafts->setFolder(folder);
        const QString draftText = QString(1234 - 2, QLatin1Char('w')) + QStringLiteral("\r\n");
        drafts::SnapshotHeader h;
        h.postId = QStringLiteral("1e5c8b2a-0000-4000-8000-000000000001");
        h.writtenMs = QDateTime::currentMSecsSinceEpoch();
        if (c.fromFile) {
            h.sourcePath = dir.filePath(QStringLiteral("post.txt"));
            QFile file(h.sourcePath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("as saved\r\n");
        }
        {
            drafts::DraftStore store(folder);
            QString error;
            ASSERT_TRUE(store.markRunning(&error));
            ASSERT_TRUE(store.write(h, draftText, &error));
        }
        drafts->checkAtStart();
        DraftOffer *offer = drafts->offer();
        ASSERT_NE(offer, nullptr) << c.name;
        EXPECT_TRUE(offer->isVisible()) << c.name;
        EXPECT_TRUE(offer->message().startsWith(
            QStringLiteral("Quorvane closed before this post was saved: 1,234 characters, ")))
            << offer->message().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), offer->restoreButton()) << c.name;
        EXPECT_EQ(offer->findChild<QPushButton *>(QStringLiteral("DraftCompare"))->isEnabled(),
                  c.fromFile)
            << c.name;
        c.answer(*this, offer);
        c.check(*this, draftText);
        drafts->writer().waitUntilIdle(5s);
        m_w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_w.form.get()));
    }
}

TEST_F(Drafts, RecoverDraftsRestoresFromHistoryAskingFirst)
{
    typer->setText(QStringLiteral("the post I said No to"));
    m_w.dialogs.messageAnswers = {QMB::No};
    run("NewFile");
    type(QStringLiteral("something new"));

    run("RecoverDrafts");
    RecoverDraftsWindow *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *r = qobject_cast<RecoverDraftsWindow *>(w))
            window = r;
    }
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    QTreeWidget *list = window->list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    // Newest first: the post being typed, then the one let go.
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("something new"));
    EXPECT_EQ(list->topLevelItem(1)->text(4), QStringLiteral("History"));
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(window->textView()->toPlainText(), QStringLiteral("the post I said No to"));

    // The post being typed is modified: the same question as Open asks.
    m_w.dialogs.messageAnswers = {QMB::No};
    window->findChild<QPushButton *>(QStringLiteral("DraftListRestore"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(typer->text(), QStringLiteral("the post I said No to"));
    EXPECT_EQ(m_w.dialogs.messages.size(), 2);
    EXPECT_TRUE(m_w.dialogs.allAnswered());
}

// Where drafts cannot be written the window says so once; typing goes on,
// and drafts resume by themselves once the folder can be made.
TEST_F(Drafts, AnUnwritableFolderIsToldOnceAndRecovers)
{
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    drafts->writer().setRetryInterval(50ms);
    QLabel *notice = drafts->failureNotice();
    type(QStringLiteral("first"));
    drafts->writeNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }, 5000));
    EXPECT_TRUE(notice->text().contains(QStringLiteral("cannot create the folder")))
        << notice->text().toStdString();
    type(QStringLiteral(" second"));
    drafts->writeNow();
    EXPECT_EQ(typer->text(), QStringLiteral("first second"));

    QFile::remove(folder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notice->isVisible(); }, 5000));
    EXPECT_EQ(pendingText(), QStringLiteral("first second"));
}

} // namespace
