#include "windows/livepreviewwindow.h"

#include "livepreview/livepage.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "windows/postsource.h"
#include "windows/previewbrowser.h"
#include "windows/remoteimages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace quorvane {

namespace {
const char kGenericNote[] = "A close likeness: Preview in Browser (F5) shows the exact page. Esc "
                            "returns to the editor.";

QLabel *makeNote(const QString &text, QWidget *parent)
{
    auto *note = new QLabel(text, parent);
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    note->setFont(small);
    note->setForegroundRole(QPalette::PlaceholderText);
    return note;
}
} // namespace

LivePreviewWindow::LivePreviewWindow(PostSource &post, Launcher &launcher, RemoteImages &images,
                                     QWidget *parent)
    : QMainWindow(parent), m_post(post), m_launcher(launcher), m_dataDir(programDataDir()),
      m_headers(BlockHeaders::standard())
{
    setObjectName(QStringLiteral("LivePreviewForm"));
    setWindowTitle(QStringLiteral("Quorvane - Live Preview"));
    setAccessibleName(QStringLiteral("Quorvane - Live Preview"));
    // Opened from the editor, it leaves the keyboard there.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *area = new QWidget(this);
    setCentralWidget(area);
    m_view = new PreviewBrowser(images, area);
    m_view->setObjectName(QStringLiteral("LivePreviewView"));
    m_view->setAccessibleName(QStringLiteral("Live Preview"));
    m_view->setAccessibleDescription(
        QStringLiteral("The post as the page will show it. Esc returns to the editor."));
    QPalette pal = m_view->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    m_view->setPalette(pal);
    connect(m_view, &QTextBrowser::anchorClicked, this, &LivePreviewWindow::openLink);

    m_partNote = makeNote(QString(), area);
    m_partNote->setObjectName(QStringLiteral("LivePreviewPart"));
    m_partNote->hide();
    m_note = makeNote(QString::fromLatin1(kGenericNote), area);
    m_note->setObjectName(QStringLiteral("LivePreviewNote"));
    m_remote = new QCheckBox(QStringLiteral("Load remote images"), area);
    m_remote->setObjectName(QStringLiteral("LoadRemoteImages"));
    connect(m_remote, &QCheckBox::toggled, this, [this, &images](bool allowed) {
        m_view->setRemoteImagesAllowed(allowed);
        if (allowed)
            images.retryFailed();
        emit remoteImagesChanged(allowed);
        m_stale = true;
        makePage();
    });
    connect(&images, &RemoteImages::finished, this, [this] {
        m_stale = true;
        if (isVisible())
            m_pause.start(pauseFor(m_post.length()));
    });

    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_partNote);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_note, 1);
    bottom->addWidget(m_remote);
    layout->addLayout(bottom);
    resize(480, 560);

    // Within its own widgets only: docked in the main window, Esc elsewhere
    // is not the preview's, and F6 there is the main window's own.
    auto *back = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    back->setContext(Qt::WidgetWithChildrenShortcut);
    connect(back, &QShortcut::activated, this, &LivePreviewWindow::backToEditor);
    m_toggle = new QShortcut(QKeySequence(Qt::Key_F6), this);
    m_toggle->setContext(Qt::WidgetWithChildrenShortcut);
    connect(m_toggle, &QShortcut::activated, this, &LivePreviewWindow::toggleRequested);

    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &LivePreviewWindow::makePage);
    connect(&m_worker, &QFutureWatcherBase::finished, this, &LivePreviewWindow::pageMade);
    connect(&m_post, &PostSource::changed, this, &LivePreviewWindow::postChanged);
    connect(&m_post, &PostSource::caretMoved, this, &LivePreviewWindow::caretMoved);
}

LivePreviewWindow::~LivePreviewWindow()
{
    if (m_running) {
        m_worker.waitForFinished();
        delete m_worker.result();
    }
}

void LivePreviewWindow::setForum(Forum forum)
{
    if (forum == m_forum)
        return;
    m_forum = forum;
    m_note->setText(forum == Forum::Generic
                        ? QString::fromLatin1(kGenericNote)
                        : QStringLiteral("As %1 shows the post, in its default theme. Esc returns "
                                         "to the editor.")
                              .arg(forumDisplayName(forum)));
    m_view->setAccessibleDescription(
        forum == Forum::Generic
            ? QStringLiteral("The post as the page will show it. Esc returns to the editor.")
            : QStringLiteral("The post as %1 shows it. Esc returns to the editor.")
                  .arg(forumDisplayName(forum)));
    refresh();
}

void LivePreviewWindow::refresh()
{
    m_stale = true;
    m_pause.stop();
    makePage();
}

void LivePreviewWindow::setRemoteImagesAllowed(bool allowed)
{
    m_remote->setChecked(allowed);
}

bool LivePreviewWindow::remoteImagesAllowed() const
{
    return m_remote->isChecked();
}

int LivePreviewWindow::pauseFor(qsizetype postLength)
{
    // Ordinary posts: a tenth of a second. Long ones wait longer, up to 0.4 s,
    // so that the writer's pauses between words do not each make a page.
    constexpr qsizetype ordinary = 64 * 1024;
    if (postLength <= ordinary)
        return 100;
    return int(std::min<qsizetype>(400, 100 + (postLength - ordinary) / (32 * 1024)));
}

void LivePreviewWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_stale)
        makePage();
}

void LivePreviewWindow::hideEvent(QHideEvent *event)
{
    m_pause.stop();
    QMainWindow::hideEvent(event);
}

void LivePreviewWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ParentChange)
        m_toggle->setEnabled(isWindow());
}

void LivePreviewWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    emit closedByUser();
}

void LivePreviewWindow::postChanged()
{
    m_stale = true;
    if (isVisible())
        m_pause.start(pauseFor(m_post.length()));
}

void LivePreviewWindow::caretMoved()
{
    if (!isVisible() || !m_page)
        return;
    const qsizetype line = m_post.caretBlock();
    if (line == m_followedLine)
        return;
    const PostExcerpt &shown = m_page->excerpt;
    if (m_showsPart && !m_pause.isActive()) {
        // Near the edge of the part shown (and not at the post's own edge):
        // make the part around the caret anew.
        const qsizetype margin = shown.lineCount / 4;
        const bool nearTop = shown.firstLine > 0 && line < shown.firstLine + margin;
        const bool nearEnd =
            shown.lastLine() < shown.postLines - 1 && line > shown.lastLine() - margin;
        if (shown.cutLine || nearTop || nearEnd)
            m_pause.start(pauseFor(m_post.length()));
    }
    if (line >= shown.firstLine && line <= shown.lastLine())
        followCaret(-1);
}

void LivePreviewWindow::makePage()
{
    if (!isVisible())
        return;
    if (m_running) {
        m_again = true;
        return;
    }
    m_again = false;
    m_stale = false;
    m_running = true;
    PostExcerpt excerpt =
        excerptAround(m_post.document(), m_post.caretBlock(), m_post.caretInBlock(), m_budget);
    m_worker.setFuture(
        QtConcurrent::run([excerpt = std::move(excerpt), dir = m_dataDir, headers = m_headers,
                           font = m_view->font(), home = thread(), forum = m_forum]() mutable {
            return buildLivePage(std::move(excerpt), dir, headers, font, home, forum).release();
        }));
}

void LivePreviewWindow::pageMade()
{
    m_running = false;
    std::unique_ptr<LivePage> page(m_worker.result());
    ++m_pagesMade;
    learnBudget(*page);
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    showPage(std::move(page));
    // Changes that came while the page was made: the newest text, at once
    // (its pause has passed already).
    if (m_again)
        makePage();
}

void LivePreviewWindow::learnBudget(const LivePage &page)
{
    // Small pages say little about the rate. Showing and laying out the page
    // grow with it too; they fit in the goal's margin.
    if (page.postLength < 4096 || page.buildNanoseconds <= 0)
        return;
    const double perCharacter = double(page.buildNanoseconds) / double(page.postLength);
    const qsizetype fits = std::clamp(qsizetype(double(pageTimeGoalMs) * 1e6 / perCharacter),
                                      minimumBudget, maximumBudget);
    // Down at once, up by a quarter at a time: a page made quickly while the
    // machine was idle must not bring a whole slow page next time. Only a
    // clear change moves it, so that a post near the bound does not flip
    // between whole and part with every page.
    if (fits < m_budget * 3 / 4)
        m_budget = fits;
    else if (fits > m_budget * 5 / 4)
        m_budget = m_budget * 5 / 4;
}

void LivePreviewWindow::showPage(std::unique_ptr<LivePage> page)
{
    const int keepOffset = caretOffsetInView();
    QTextDocument *document = page->document.release();
    document->setParent(m_view);
    m_view->setDocument(document);
    // Freed in a later turn of the event loop: the new page shows first, and
    // the two costs do not add up to one stall.
    if (m_shownDocument)
        m_shownDocument->deleteLater();
    m_shownDocument = document;
    m_page = std::move(page);

    const PostExcerpt &shown = m_page->excerpt;
    m_showsPart = !shown.isWhole();
    if (shown.cutLine) {
        m_partNote->setText(QStringLiteral("Long line: only the part around the caret is shown "
                                           "(line %1 of %2).")
                                .arg(shown.firstLine + 1)
                                .arg(shown.postLines));
    } else if (m_showsPart) {
        m_partNote->setText(QStringLiteral("Long post: lines %1 to %2 of %3, around the caret, "
                                           "are shown.")
                                .arg(shown.firstLine + 1)
                                .arg(shown.lastLine() + 1)
                                .arg(shown.postLines));
    }
    m_partNote->setVisible(m_showsPart);
    m_followedLine = m_post.caretBlock();
    followCaret(keepOffset);
    emit pageShown();
}

int LivePreviewWindow::caretOffsetInView() const
{
    if (!m_page || m_followedLine < 0)
        return -1;
    QTextCursor at(m_shownDocument);
    at.setPosition(
        std::min(m_page->positionOfLine(m_followedLine), m_shownDocument->characterCount() - 1));
    const QRect place = m_view->cursorRect(at);
    return place.top() >= 0 && place.top() < m_view->viewport()->height() ? place.top() : -1;
}

void LivePreviewWindow::followCaret(int keepOffset)
{
    m_followedLine = m_post.caretBlock();
    QTextCursor at(m_shownDocument);
    at.setPosition(
        std::min(m_page->positionOfLine(m_followedLine), m_shownDocument->characterCount() - 1));
    const QRect place = m_view->cursorRect(at);
    QScrollBar *bar = m_view->verticalScrollBar();
    const int height = m_view->viewport()->height();
    int target = bar->value();
    if (keepOffset >= 0) {
        // The caret's line stays where it stood while the page is replaced.
        target += place.top() - keepOffset;
    } else if (place.top() < 0 || place.bottom() > height) {
        target += place.top() - height / 3;
    }
    // A new page is laid out lazily and its scroll range catches up later;
    // the place asked for has been laid out already, so it exists.
    if (target > bar->maximum())
        bar->setMaximum(target);
    bar->setValue(target);
}

void LivePreviewWindow::openLink(const QUrl &url)
{
    const QUrl base = m_shownDocument ? m_shownDocument->baseUrl() : QUrl();
    const QUrl target = base.resolved(url);
    // A jump within the page itself goes nowhere outside.
    if (target.matches(base, QUrl::RemoveFragment) && url.hasFragment())
        return;
    if (!m_launcher.openUrl(target))
        emit linkNotOpened(target);
}

} // namespace quorvane
