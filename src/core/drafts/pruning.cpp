#include "drafts/pruning.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace quorvane::drafts {

QList<qsizetype> chooseForDeletion(const QList<DraftFile> &files, qint64 nowMs,
                                   const PruneLimits &limits)
{
    constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
    const qint64 maxAgeMs = limits.keepDays * kDayMs;
    auto ageOf = [&](const DraftFile &f) { return std::max<qint64>(0, nowMs - f.writtenMs); };

    // Each post's snapshots, newest first.
    QHash<QString, QList<qsizetype>> byPost;
    for (qsizetype i = 0; i < files.size(); ++i)
        byPost[files[i].postId].append(i);

    QSet<qsizetype> newest, keep;
    for (auto &list : byPost) {
        std::sort(list.begin(), list.end(),
                  [&](qsizetype a, qsizetype b) { return files[a].sequence > files[b].sequence; });
        const DraftFile &top = files[list.first()];
        if (top.pending || ageOf(top) < maxAgeMs)
            newest.insert(list.first());
        QSet<QDate> days;
        for (qsizetype rank = 0; rank < list.size(); ++rank) {
            const DraftFile &f = files[list[rank]];
            const bool young = ageOf(f) < maxAgeMs;
            const QDate day = QDateTime::fromMSecsSinceEpoch(f.writtenMs).date();
            const bool firstOfDay = young && !days.contains(day);
            if (young)
                days.insert(day);
            // A live draft keeps its latest whatever their age; history only while young.
            const bool latest = rank < limits.keepLatest && (young || top.pending);
            if (latest || firstOfDay || newest.contains(list[rank]))
                keep.insert(list[rank]);
        }
    }

    // Over the size cap: drop the oldest of the rest, never a post's newest.
    qint64 total = 0;
    QList<qsizetype> kept(keep.begin(), keep.end());
    for (qsizetype i : kept)
        total += files[i].size;
    std::sort(kept.begin(), kept.end(),
              [&](qsizetype a, qsizetype b) { return files[a].sequence < files[b].sequence; });
    for (qsizetype i : kept) {
        if (total <= limits.maxBytes)
            break;
        if (newest.contains(i))
            continue;
        keep.remove(i);
        total -= files[i].size;
    }

    QList<qsizetype> doomed;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!keep.contains(i))
            doomed.append(i);
    }
    return doomed;
}

} // namespace quorvane::drafts
