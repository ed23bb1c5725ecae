#pragma once

#include "drafts/pruning.h"
#include "drafts/snapshot.h"

#include <QList>
#include <QString>

#include <functional>

namespace quorvane::drafts {

// A post's best intact snapshot: what a restore would bring back.
struct Recoverable
{
    SnapshotHeader header;
    QString text;
    QString path;
    bool pending = false; // the post's live draft, not history
};

// The drafts folder: one file per snapshot, named <post>_<sequence>_<written>
// with ".qvdraft" while it is the post's live draft and ".qvhistory" once it
// has been moved to history. Foreign files in the folder are left alone.
// Not thread-safe: one store per thread.
class DraftStore
{
public:
    // Tests make writes fail: returns an errno value, or 0 to let it pass.
    using Fault = std::function<int(const QString &path)>;

    explicit DraftStore(QString folder = defaultFolder());
    // AppLocalDataLocation + "/drafts".
    static QString defaultFolder();
    const QString &folder() const { return m_folder; }

    // Our snapshot files, oldest (lowest sequence) first.
    QList<DraftFile> files() const;

    // Writes one snapshot as a whole new file, forced to disk (file and
    // folder), numbering it after everything already in the folder. On
    // failure returns false with a sentence saying why; nothing half-written
    // is ever left under a snapshot's name.
    bool write(SnapshotHeader &header, const QString &text, QString *error);
    // Turns the post's live draft files into history.
    bool moveToHistory(const QString &postId, QString *error);
    // Deletes what the pruning rules choose; returns how many files went.
    int prune(qint64 nowMs, const PruneLimits &limits = {});

    // The newest snapshot of the post that reads back intact, if any.
    bool newestIntact(const QString &postId, Recoverable *out) const;
    // Every post whose newest file is a live draft, newest post first.
    QList<Recoverable> pendingDrafts() const;
    // Reads one listed file whole; false when it is damaged.
    static bool load(const DraftFile &file, Recoverable *out);

    // The running marker: present while a session runs.
    bool previousRunEndedUncleanly() const;
    bool markRunning(QString *error);
    void markCleanEnd();

    void setFault(Fault fault) { m_fault = std::move(fault); }

private:
    bool ensureFolder(QString *error);
    QString markerPath() const;

    QString m_folder;
    quint64 m_nextSequence = 0; // 0: not yet read from the folder
    Fault m_fault;
};

} // namespace quorvane::drafts
