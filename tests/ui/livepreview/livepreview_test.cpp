// The Live Preview window on the offscreen platform, driven through the real
// main window: typing, pauses, the caret, links, remote pictures, and what
// is remembered between runs.
#include "commands/livepreviewcommands.h"
#include "httpserver.h"
#include "settings/livepreview.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/livepreviewwindow.h"
#include "windows/previewbrowser.h"
#include "windows/sideplacement.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

class LivePreviewTest : public ::testing::Test
{
protected:
    void SetUp() override { livepreview::forget(); }
    void TearDown() override
    {
        w.reset();
        livepreview::forget();
    }

    LivePreviewCommands *commands() const { return w->form->findChild<LivePreviewCommands *>(); }
    LivePreviewWindow *window() const { return commands()->window(); }
    PreviewBrowser *view() const { return window()->view(); }
    Typer *typer() const { return w->form->typer(); }
    QString shown() const { return view()->toPlainText(); }

    // Opens the window with F6's command and waits for its first page.
    void open()
    {
        QSignalSpy shownSpy(window(), &LivePreviewWindow::pageShown);
        w->form->command("LivePreview")->trigger();
        ASSERT_TRUE(window()->isVisible());
        ASSERT_TRUE(shownSpy.count() > 0 || shownSpy.wait(10000));
        settle();
    }
    // Waits until no page is pending or being made.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window()->isBusy(); }, 10000));
    }

    std::unique_ptr<test::Window> w = std::make_unique<test::Window>();
};

TEST_F(LivePreviewTest, TypingShowsThePageAfterAPause)
{
    open();
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Quorvane - Live Preview"));
    EXPECT_EQ(view()->accessibleName(), QStringLiteral("Live Preview"));
    EXPECT_TRUE(w->form->command("LivePreview")->isChecked());
    typer()->setFocus();
    QTest::keyClicks(typer(), QStringLiteral("[B]Hello[/B] there :)"));
    settle();
    EXPECT_EQ(shown(), QStringLiteral("Hello there \uFFFC"));
    QTextCursor hello(view()->document());
    hello.setPosition(1);
    EXPECT_EQ(hello.charFormat().fontWeight(), QFont::Bold);
    // The smiley is the program's own picture.
    QTextCursor smiley(view()->document());
    smiley.setPosition(shown().size());
    const QString source = smiley.charFormat().toImageFormat().name();
    const QImage picture = view()
                               ->document()
                               ->resource(QTextDocument::ImageResource,
                                          view()->document()->baseUrl().resolved(QUrl(source)))
                               .value<QImage>();
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 32 - 32 + 1);
    EXPECT_TRUE(source.endsWith(QLatin1String("/Smilies/Smile.gif")));
}

TEST_F(LivePreviewTest, QuickEditsMakeFewPagesAndNoneWhileHidden)
{
    open();
    const int before = window()->pagesMade();
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(typer(), Qt::Key_A);
        QCoreApplication::processEvents();
    }
    settle();
    EXPECT_LE(window()->pagesMade() - before, 2);
    EXPECT_EQ(shown(), QString(200, QLatin1Char('a')));

    w->form->command("LivePreview")->trigger();
    ASSERT_FALSE(window()->isVisible());
    const int hidden = window()->pagesMade();
    QTest::keyClicks(typer(), QStringLiteral("bbb"));
    QTest::qWait(400);
    EXPECT_EQ(window()->pagesMade(), hidden);
    // Shown again: the latest post, at once.
    w->form->command("LivePreview")->trigger();
    settle();
    EXPECT_EQ(window()->pagesMade(), hidden + 1);
    EXPECT_TRUE(shown().endsWith(QLatin1String("abbb")));
}

TEST_F(LivePreviewTest, ThePartAtTheCaretStaysInView)
{
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << QStringLiteral("[B]row %1[/B]").arg(i);
    typer()->setText(lines.join(QLatin1String("\r\n")));
    open();
    auto inView = [this](int row) {
        // The first match is the row itself: rows count up.
        const QTextCursor found = view()->document()->find(QStringLiteral("row %1").arg(row));
        if (found.isNull())
            return false;
        const QRect place = view()->cursorRect(found);
        return place.top() >= 0 && place.bottom() <= view()->viewport()->height();
    };
    for (int row : {350, 3, 399, 200}) {
        SCOPED_TRACE(row);
        typer()->setSelStart(lines.mid(0, row).join(QLatin1String("\r\n")).size() + 2);
        QCoreApplication::processEvents();
        EXPECT_TRUE(inView(row));
    }
    // Typing on that line keeps it in view as the page is replaced.
    const int scrolled = view()->verticalScrollBar()->value();
    QTest::keyClicks(typer(), QStringLiteral("xyz"));
    settle();
    EXPECT_TRUE(inView(200));
    EXPECT_NEAR(view()->verticalScrollBar()->value(), scrolled, 40);
}

TEST_F(LivePreviewTest, ALongPostShowsThePartAroundTheCaretAndSaysSo)
{
    QString post;
    for (int i = 0; i < 20000; ++i)
        post += QStringLiteral("line %1 [I]with some words[/I]\r\n").arg(i);
    ASSERT_GT(post.size(), LivePreviewWindow::maximumBudget);
    typer()->setText(post);
    typer()->setSelStart(post.indexOf(QLatin1String("line 15000 ")));
    open();
    EXPECT_TRUE(window()->showsPart());
    const auto *note = window()->findChild<QLabel *>(QStringLiteral("LivePreviewPart"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(QLatin1String("Long post: lines ")));
    EXPECT_TRUE(shown().contains(QLatin1String("line 15000 with some words")));
    EXPECT_FALSE(shown().contains(QLatin1String("line 1 with")));
    // Far away, the part follows the caret.
    typer()->setSelStart(post.indexOf(QLatin1String("line 100 ")));
    settle();
    EXPECT_TRUE(shown().contains(QLatin1String("line 100 with some words")));
}

struct LinkCase
{
    const char *name;
    const char *post;
    const char *text; // the link's text on the page
    const char *expected;
};

class LivePreviewLinks : public LivePreviewTest, public ::testing::WithParamInterface<LinkCase>
{
};

TEST_P(LivePreviewLinks, GoToTheDesktopNeverIntoTheWindow)
{
    typer()->setText(QString::fromUtf8(GetParam().post));
    open();
    const QTextCursor link = view()->document()->find(QString::fromUtf8(GetParam().text), 0);
    ASSERT_FALSE(link.isNull());
    const QRect place = view()->cursorRect(link);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                      place.center() - QPoint(place.height() / 2, 0));
    const QString before = shown();
    QString expected = QString::fromUtf8(GetParam().expected);
    expected.replace(QLatin1String("DATA"),
                     view()->document()->baseUrl().adjusted(QUrl::RemoveFilename).toString());
    ASSERT_EQ(w->launcher.urls.size(), 1);
    EXPECT_EQ(w->launcher.urls.first().toString(), expected);
    EXPECT_EQ(shown(), before);
}

// With nothing to open it, the click says so, as Preview in Browser does.
TEST_P(LivePreviewLinks, SaySoWhenNothingCanOpenThem)
{
    w->launcher.succeed = false;
    typer()->setText(QString::fromUtf8(GetParam().post));
    open();
    const QTextCursor link = view()->document()->find(QString::fromUtf8(GetParam().text), 0);
    ASSERT_FALSE(link.isNull());
    const QRect place = view()->cursorRect(link);
    w->dialogs.messageAnswers = {QMessageBox::Ok};
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                      place.center() - QPoint(place.height() / 2, 0));
    ASSERT_EQ(w->dialogs.messages.size(), 1);
    const auto &said = w->dialogs.messages.first();
    EXPECT_EQ(said.icon, QMessageBox::Warning);
    QString expected = QString::fromUtf8(GetParam().expected);
    expected.replace(QLatin1String("DATA"),
                     view()->document()->baseUrl().adjusted(QUrl::RemoveFilename).toString());
    const QUrl url(expected);
    const QString shownAddress =
        url.scheme() == QLatin1String("mailto") ? url.path() : url.toDisplayString();
    EXPECT_TRUE(said.text.contains(QLatin1Char('"') + shownAddress + QLatin1Char('"')))
        << said.text.toStdString();
    EXPECT_TRUE(said.text.startsWith(QLatin1String("No "))) << said.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Links, LivePreviewLinks,
    ::testing::Values(LinkCase{"Web", "see [URL=https://example.org/a?b=1]the page[/URL]",
                               "the page", "https://example.org/a?b=1"},
                      LinkCase{"Mail", "[EMAIL=me@example.org]write[/EMAIL]", "write",
                               "mailto:me@example.org"},
                      // As the browser reads the page: relative to the page's own folder.
                      LinkCase{"Relative", "[URL=notes.txt]notes[/URL]", "notes", "DATAnotes.txt"}),
    [](const auto &entry) { return std::string(entry.param.name); });

TEST_F(LivePreviewTest, RemotePicturesWaitUntilTheWriterAllowsThem)
{
    test::PictureServer server;
    const QUrl url(server.url("/picture.png"));
    typer()->setText(QStringLiteral("[IMG]%1[/IMG]").arg(url.toString()));
    open();
    auto pictureShown = [&] {
        return view()->document()->resource(QTextDocument::ImageResource, url).value<QImage>();
    };
    EXPECT_EQ(pictureShown(), PreviewBrowser::placeholder(PreviewBrowser::Placeholder::NotLoaded));
    QTest::qWait(200);
    EXPECT_EQ(server.total(), 0);

    auto *allow = window()->findChild<QCheckBox *>(QStringLiteral("LoadRemoteImages"));
    ASSERT_NE(allow, nullptr);
    EXPECT_FALSE(allow->isChecked());
    allow->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pictureShown().size() == QSize(7, 5); }, 10000));
    EXPECT_EQ(server.total(), 1);
    EXPECT_TRUE(livepreview::readFlag(livepreview::remoteImagesKey, false));

    // A picture that fails shows the failure's placeholder.
    const QUrl missing(server.url("/missing.png"));
    typer()->setText(QStringLiteral("[IMG]%1[/IMG]").arg(missing.toString()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return view()
                       ->document()
                       ->resource(QTextDocument::ImageResource, missing)
                       .value<QImage>() ==
                   PreviewBrowser::placeholder(PreviewBrowser::Placeholder::Failed);
        },
        10000));
}

TEST_F(LivePreviewTest, PlaceAndOpenStateAreRememberedBetweenRuns)
{
    open();
    window()->setGeometry(QRect(123, 145, 420, 333));
    QCoreApplication::processEvents();
    const QRect placed = window()->geometry();
    // The program ends with the preview open.
    w->form->close();
    w = std::make_unique<test::Window>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window()->isVisible(); }, 5000));
    EXPECT_TRUE(w->form->command("LivePreview")->isChecked());
    EXPECT_EQ(window()->geometry(), placed);

    // Closed by its own close button: closed next time.
    window()->close();
    EXPECT_FALSE(w->form->command("LivePreview")->isChecked());
    w->form->close();
    w = std::make_unique<test::Window>();
    QTest::qWait(50);
    EXPECT_FALSE(window()->isVisible());
}

TEST_F(LivePreviewTest, EscGoesBackToTheEditor)
{
    open();
    window()->activateWindow();
    view()->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view()->hasFocus(); }, 5000));
    QTest::keyClick(view(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return typer()->hasFocus(); }, 5000));
    EXPECT_TRUE(window()->isVisible());
}

// Where the preview opens on a 1920 x 1080 screen, beside a main window
// there: the side with room, narrowed, the main window slid over, or over the
// main window's right edge only when it is too wide for both.
struct PlaceCase
{
    const char *name;
    QRect main;
    QRect preview;
    QPoint mainTo;
};

TEST(SidePlacement, BesideTheMainWindowWhereThereIsRoom)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize wanted(480, 560);
    const PlaceCase cases[] = {
        {"room on the right", {100, 100, 640, 480}, {748, 100, 480, 560}, {100, 100}},
        {"more room on the left", {1200, 50, 640, 480}, {712, 50, 480, 560}, {1200, 50}},
        {"narrowed to the room on the right", {0, 0, 1500, 900}, {1508, 0, 412, 560}, {0, 0}},
        {"the main window slides over", {260, 0, 1400, 900}, {1440, 0, 480, 560}, {32, 0}},
        {"too wide for both: over its right edge", {0, 0, 1900, 1000}, {1600, 0, 320, 560}, {0, 0}},
        {"kept on the screen below", {100, 800, 640, 200}, {748, 520, 480, 560}, {100, 800}},
    };
    for (const PlaceCase &c : cases) {
        const SidePlacement placed = placeBeside(c.main, wanted, screen, 320);
        EXPECT_EQ(placed.companion, c.preview) << c.name;
        EXPECT_EQ(placed.mainTopLeft, c.mainTo) << c.name;
    }
}

} // namespace
