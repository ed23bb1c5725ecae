#pragma once

#include "drafts/draftstore.h"
#include "drafts/draftwriter.h"
#include "windows/draftoffer.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

class QLabel;
class QSessionManager;

namespace quorvane {

class AuxiliaryWindow;
class CompareWindow;
class DocumentCommands;
class MainForm;
class RecoverDraftsWindow;

// Journals the post while it is typed: a snapshot one second after typing
// pauses, at most three seconds apart while it goes on, and at once when the
// window loses the focus, before any question or file dialog and before
// Preview. Nothing runs while the post is unchanged. Also the offer after an
// unclean end, Recover Drafts..., and the moves into history at Save and at a
// "No" to saving.
class DraftCommands : public QObject
{
    Q_OBJECT

public:
    DraftCommands(MainForm &form, DocumentCommands &documents);
    ~DraftCommands() override;

    // Start-up, by the program only: starts the journal, notes that a session
    // runs and, when the last one ended uncleanly, offers its newest live
    // draft above the editor. Until then (a window built by a test or a
    // benchmark) nothing is journalled and no writer thread exists.
    void checkAtStart();
    // Writes a snapshot now if the post changed since the last one.
    void writeNow();
    // Writes and waits until it is on disk (a signal, a logout); false on
    // time-out or when drafts cannot be written.
    bool writeAndWait(std::chrono::milliseconds timeout);

    void openRecoverWindow();
    DraftOffer *offer() const { return m_offer; }
    QLabel *failureNotice() const { return m_failure; }
    QString postId() const { return m_post.postId; }
    bool hasPendingSnapshot() const { return m_dirty; }
    // No timer runs: nothing will wake the program on the journal's account.
    bool isIdle() const { return !m_pause.isActive() && !m_longest.isActive(); }

    // Tests: the journal started on a folder of their own instead of the
    // per-user one.
    void setFolder(const QString &folder);
    drafts::DraftWriter &writer() { return *m_writer; }
    static DraftCommands *of(MainForm &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textChanged();
    void startPost(const QString &source);
    void toHistory();
    void showOffer(const drafts::Recoverable &draft);
    void closeOffer();
    void restore(const drafts::Recoverable &draft);
    // Over `returnTo` (Recover Drafts) when given: closing goes back to it.
    void compare(const drafts::Recoverable &draft, AuxiliaryWindow *returnTo = nullptr);
    void commitData(QSessionManager &manager);
    void makeWriter(const QString &folder);
    void wireClosing(AuxiliaryWindow *window);

    MainForm &m_form;
    DocumentCommands &m_documents;
    QString m_folder;
    std::unique_ptr<drafts::DraftWriter> m_writer;
    QTimer m_pause;   // restarted by every change
    QTimer m_longest; // started by the first change after a snapshot
    bool m_dirty = false;
    bool m_running = false; // this process owns the running marker
    drafts::SnapshotHeader m_post;
    QPointer<DraftOffer> m_offer;
    drafts::Recoverable m_offered;
    QLabel *m_failure = nullptr;
    std::unique_ptr<RecoverDraftsWindow> m_recover;
    std::unique_ptr<CompareWindow> m_compare;
};

} // namespace quorvane
