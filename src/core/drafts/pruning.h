#pragma once

#include <QList>
#include <QString>

namespace quorvane::drafts {

// One snapshot file as the folder listing shows it (its name carries these).
struct DraftFile
{
    QString path;
    QString postId;
    quint64 sequence = 0;
    qint64 writtenMs = 0;
    qint64 size = 0;
    bool pending = false; // the post's live draft, not yet moved to history
};

struct PruneLimits
{
    int keepLatest = 20;                   // per post
    int keepDays = 7;                      // one per day for this long
    qint64 maxBytes = 200LL * 1024 * 1024; // all snapshots together
};

// The indexes into `files` to delete: all but the latest `keepLatest` of each
// post and the newest of each day of the last `keepDays`; then, while the rest
// exceed `maxBytes`, the oldest by sequence. Nothing of a post goes before
// `keepDays` except to thin it out; a post's newest snapshot stays unless it
// is history older than `keepDays`, and a live draft keeps its latest ones
// at any age. Ages come from the written time, a time in the future counting
// as now (the clock may have jumped back).
QList<qsizetype> chooseForDeletion(const QList<DraftFile> &files, qint64 nowMs,
                                   const PruneLimits &limits = {});

} // namespace quorvane::drafts
