#pragma once

#include "conversion/bbcode.h"
#include "forum/forum.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QTimer>
#include <memory>

class QCheckBox;
class QLabel;
class QShortcut;
class QTextDocument;

namespace quorvane {

class Launcher;
struct LivePage;
class PreviewBrowser;
class PostSource;
class RemoteImages;

// "Quorvane - Live Preview": the page Preview in Browser would write, shown
// beside the editor and kept up to date while the post is written. Pages are
// made in a worker thread after typing pauses, one at a time, always from the
// latest text; nothing is made while the window is hidden. A long post is
// shown in part, around the caret, and the window says so. A main window, so
// that assistive technology sees a window of its own (a frame).
class LivePreviewWindow : public QMainWindow
{
    Q_OBJECT

public:
    // How much of a post is shown: the whole page while making it takes no
    // longer than pageTimeGoalMs, else the part around the caret that does.
    // Learnt from the pages made so far, within these bounds (characters).
    static constexpr int pageTimeGoalMs = 25;
    static constexpr qsizetype minimumBudget = 8 * 1024;
    static constexpr qsizetype maximumBudget = 256 * 1024;
    qsizetype budget() const { return m_budget; }

    LivePreviewWindow(PostSource &post, Launcher &launcher, RemoteImages &images,
                      QWidget *parent = nullptr);
    ~LivePreviewWindow() override;

    // Where the page (and so its smilies and relative addresses) lives.
    void setDataDir(const QString &dir) { m_dataDir = dir; }

    // The forum whose page is shown; Generic is the browser preview's page.
    // A change shows the post anew at once.
    void setForum(Forum forum);
    // Makes the page again: what the forum makes of the post changed.
    void refresh();
    Forum forum() const { return m_forum; }

    void setRemoteImagesAllowed(bool allowed);
    bool remoteImagesAllowed() const;

    PreviewBrowser *view() const { return m_view; }
    // The time to wait after the last change of a post this long.
    static int pauseFor(qsizetype postLength);

    // For tests and benchmarks: pages made so far, and whether the one shown
    // is part of the post.
    int pagesMade() const { return m_pagesMade; }
    bool showsPart() const { return m_showsPart; }
    bool isBusy() const { return m_running || m_pause.isActive(); }

signals:
    // Esc (or the window's own F6) asks for the editor.
    void backToEditor();
    void toggleRequested();
    // The window system's close button (the window only hides).
    void closedByUser();
    void remoteImagesChanged(bool allowed);
    // A new page is on screen.
    void pageShown();
    // A link was clicked, but nothing on the desktop could open it.
    void linkNotOpened(const QUrl &url);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void postChanged();
    void caretMoved();
    void makePage();
    void pageMade();
    void learnBudget(const LivePage &page);
    void showPage(std::unique_ptr<LivePage> page);
    void followCaret(int keepOffset);
    int caretOffsetInView() const;
    void openLink(const QUrl &url);

    PostSource &m_post;
    Launcher &m_launcher;
    QString m_dataDir;
    BlockHeaders m_headers;
    PreviewBrowser *m_view = nullptr;
    QLabel *m_partNote = nullptr;
    QLabel *m_note = nullptr;
    Forum m_forum = Forum::Generic;
    QCheckBox *m_remote = nullptr;
    QShortcut *m_toggle = nullptr;
    QTimer m_pause;
    QFutureWatcher<LivePage *> m_worker;
    bool m_running = false;
    bool m_again = false; // the post changed while a page was being made
    bool m_stale = true;  // the page shown is not the post's
    std::unique_ptr<LivePage> m_page;
    QTextDocument *m_shownDocument = nullptr;
    qsizetype m_followedLine = -1;
    qsizetype m_budget = 12 * 1024;
    int m_pagesMade = 0;
    bool m_showsPart = false;
};

} // namespace quorvane
