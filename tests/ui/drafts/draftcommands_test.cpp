// The drafts family on a real window (offscreen) with its own drafts folder.
#include "commands/documentcommands.h"
#include "commands/draftcommands.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/comparewindow.h"
#include "windows/recoverdraftswindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <QUuid>
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
             // It goes on as the post it was: its draft is still the live one.
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

RecoverDraftsWindow *recoverWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *r = qobject_cast<RecoverDraftsWindow *>(w); r && r->isVisible())
            return r;
    }
    return nullptr;
}

void restoreRow(const QString &firstLine)
{
    RecoverDraftsWindow *window = recoverWindow();
    ASSERT_NE(window, nullptr);
    QTreeWidget *list = window->list();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->text(1) == firstLine)
            list->setCurrentItem(list->topLevelItem(row));
    }
    ASSERT_EQ(list->currentItem()->text(1), firstLine);
    window->findChild<QPushButton *>(QStringLiteral("DraftListRestore"))->click();
}

struct RestoreRoute
{
    const char *name;
    const char *restored; // the text it brings back
    std::function<void(Drafts &)> restore;
};

// Restoring writes no copy of what was restored: every text in the folder is
// there once. The post goes on under its own name: the next change is its
// newer version, and the list shows no post twice.
TEST_F(Drafts, RestoringWritesNoCopy)
{
    const RestoreRoute routes[] = {
        {"the offer", "crashed post",
         [](Drafts &t) {
             t.drafts->checkAtStart();
             ASSERT_NE(t.drafts->offer(), nullptr);
             t.drafts->offer()->restoreButton()->click();
         }},
        {"history in Recover Drafts", "let go",
         [](Drafts &t) {
             t.run("RecoverDrafts");
             restoreRow(QStringLiteral("let go"));
         }},
        {"a live draft in Recover Drafts", "crashed post",
         [](Drafts &t) {
             t.run("RecoverDrafts");
             restoreRow(QStringLiteral("crashed post"));
         }},
    };
    for (const RestoreRoute &route : routes) {
        QTemporaryDir dir;
        folder = dir.filePath(QStringLiteral("drafts"));
        drafts->setFolder(folder);
        {
            drafts::DraftStore store(folder);
            QString error;
            ASSERT_TRUE(store.markRunning(&error));
            for (const char *text : {"let go", "crashed post"}) {
                drafts::SnapshotHeader h;
                h.postId = QUuid::createUuid().toString(QUuid::WithoutBraces);
                h.writtenMs = QDateTime::currentMSecsSinceEpoch();
                ASSERT_TRUE(store.write(h, QString::fromLatin1(text), &error));
                if (QLatin1String(text) == QLatin1String("let go")) {
                    ASSERT_TRUE(store.moveToHistory(h.postId, &error));
                }
            }
        }
        if (m_w.form->findChild<DocumentCommands *>()->isModified())
            m_w.dialogs.messageAnswers = {QMB::No};
        route.restore(*this);
        ASSERT_EQ(typer->text(), QString::fromLatin1(route.restored)) << route.name;
        drafts->writeNow();
        QStringList texts;
        ASSERT_TRUE(drafts->writer().waitUntilIdle(5s));
        for (const drafts::DraftFile &f : drafts::DraftStore(folder).files()) {
            drafts::Recoverable r;
            ASSERT_TRUE(drafts::DraftStore::load(f, &r));
            texts.append(r.text);
        }
        texts.sort();
        EXPECT_EQ(texts.join(QStringLiteral(" | ")).toStdString(), "crashed post | let go")
            << route.name;

        type(QStringLiteral("!"));
        drafts->writeNow();
        QString newer = QStringLiteral("<none>");
        for (const drafts::Recoverable &live : pending()) {
            if (live.header.postId == drafts->postId())
                newer = live.text;
        }
        EXPECT_EQ(newer, QString::fromLatin1(route.restored) + u'!') << route.name;
        m_w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_w.form.get()));
    }
}

CompareWindow *compareWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *c = qobject_cast<CompareWindow *>(w); c && c->isVisible())
            return c;
    }
    return nullptr;
}

// The runs of a view shown with `format`'s background, line by line, joined
// by "|".
std::string markedRuns(QPlainTextEdit *view, const QTextCharFormat &format)
{
    QStringList runs;
    QString run;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().background() == format.background())
                run += fragment.text();
            else if (!run.isEmpty())
                runs.append(std::exchange(run, QString()));
        }
        if (!run.isEmpty())
            runs.append(std::exchange(run, QString()));
    }
    return runs.join(u'|').toStdString();
}

struct CompareRoute
{
    const char *name;
    std::function<void(Drafts &)> open;
};

// Compare, from the offer and from Recover Drafts: wrapped panes, what only
// the draft has and what only the file has marked word by word, the first
// difference in view, and Restore from there.
TEST_F(Drafts, CompareMarksTheDifferenceAndRestores)
{
    const CompareRoute routes[] = {
        {"the offer",
         [](Drafts &t) {
             t.drafts->checkAtStart();
             ASSERT_NE(t.drafts->offer(), nullptr);
             t.drafts->offer()->findChild<QPushButton *>(QStringLiteral("DraftCompare"))->click();
         }},
        {"Recover Drafts",
         [](Drafts &t) {
             t.run("RecoverDrafts");
             RecoverDraftsWindow *recover = recoverWindow();
             ASSERT_NE(recover, nullptr);
             auto *compare = recover->findChild<QPushButton *>(QStringLiteral("DraftListCompare"));
             ASSERT_TRUE(compare->isEnabled());
             compare->click();
             // Closing it goes back to the list, which stays open.
             ASSERT_NE(compareWindow(), nullptr);
             QTest::keyClick(compareWindow(), Qt::Key_Escape);
             EXPECT_EQ(compareWindow(), nullptr);
             EXPECT_TRUE(recover->isVisible());
             compare->click();
         }},
    };
    QString saved;
    for (int i = 1; i <= 200; ++i)
        saved += QStringLiteral("Line %1 of the post as saved.\r\n").arg(i);
    QString draft = saved;
    draft.replace(QStringLiteral("Line 150 of the post as saved."),
                  QStringLiteral("Line 150 of the post as saved. An added sentence that runs well "
                                 "past the right edge of the pane."));
    draft.replace(QStringLiteral("Line 160 of the post as saved."),
                  QStringLiteral("Line 160 of the post."));
    for (const CompareRoute &route : routes) {
        QTemporaryDir dir;
        folder = dir.filePath(QStringLiteral("drafts"));
        drafts->setFolder(folder);
        drafts::SnapshotHeader h;
        h.postId = QUuid::createUuid().toString(QUuid::WithoutBraces);
        h.writtenMs = QDateTime::currentMSecsSinceEpoch();
        h.sourcePath = dir.filePath(QStringLiteral("post.txt"));
        {
            QFile file(h.sourcePath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(saved.toUtf8());
            drafts::DraftStore store(folder);
            QString error;
            ASSERT_TRUE(store.markRunning(&error));
            ASSERT_TRUE(store.write(h, draft, &error));
        }
        if (m_w.form->findChild<DocumentCommands *>()->isModified())
            m_w.dialogs.messageAnswers = {QMB::No};
        route.open(*this);
        CompareWindow *compare = compareWindow();
        ASSERT_NE(compare, nullptr) << route.name;
        for (QPlainTextEdit *view : {compare->draftView(), compare->fileView()})
            EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth) << route.name;
        EXPECT_EQ(markedRuns(compare->draftView(), CompareWindow::onlyInDraft()),
                  " An added sentence that runs well past the right edge of the pane.")
            << route.name;
        EXPECT_EQ(markedRuns(compare->fileView(), CompareWindow::onlyInFile()), " as saved")
            << route.name;
        // The first difference is in view in both panes.
        const auto inView = [](QPlainTextEdit *view, const QString &before) {
            const int at = int(view->toPlainText().indexOf(before) + before.size());
            return view->textCursor().position() == at &&
                   view->viewport()->rect().contains(view->cursorRect());
        };
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return inView(compare->draftView(),
                              QStringLiteral("Line 150 of the post as saved.")) &&
                       inView(compare->fileView(), QStringLiteral("Line 160 of the post"));
            },
            5000))
            << route.name;

        compare->findChild<QPushButton *>(QStringLiteral("CompareRestore"))->click();
        EXPECT_EQ(compareWindow(), nullptr) << route.name;
        EXPECT_EQ(recoverWindow(), nullptr) << route.name;
        EXPECT_TRUE(m_w.form->isEnabled()) << route.name;
        EXPECT_EQ(typer->text(), draft) << route.name;
        EXPECT_EQ(drafts->offer(), nullptr) << route.name;
        m_w.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_w.form.get()));
    }
}

// The File column shows whole beside a long first line: the first line gives
// way, and nothing hides behind a scroll bar.
TEST_F(Drafts, TheFileColumnIsNeverCutOff)
{
    const QString name = QStringLiteral("a post with a rather long name.txt");
    {
        drafts::DraftStore store(folder);
        drafts::SnapshotHeader h;
        h.postId = QUuid::createUuid().toString(QUuid::WithoutBraces);
        h.writtenMs = QDateTime::currentMSecsSinceEpoch();
        h.sourcePath = m_dir.filePath(name);
        QString error;
        ASSERT_TRUE(store.write(h, QStringLiteral("word ").repeated(80), &error));
    }
    run("RecoverDrafts");
    RecoverDraftsWindow *window = recoverWindow();
    ASSERT_NE(window, nullptr);
    QTreeWidget *list = window->list();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QHeaderView *header = list->header();
    const int fileRight = header->sectionViewportPosition(3) + header->sectionSize(3);
    EXPECT_LE(fileRight, list->viewport()->width());
    EXPECT_GE(header->sectionSize(3), list->fontMetrics().horizontalAdvance(name));
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    QTest::keyClick(window, Qt::Key_Escape);
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
