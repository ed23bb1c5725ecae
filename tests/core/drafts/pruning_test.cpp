#include "drafts/pruning.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <algorithm>

using namespace quorvane::drafts;

namespace {

constexpr qint64 kHour = 60LL * 60 * 1000;
constexpr qint64 kDay = 24 * kHour;
constexpr qint64 kMb = 1024 * 1024;
// Noon, so that hours either side stay on the same local day.
const qint64 kNow = QDateTime(QDate(2026, 12, 8), QTime(12, 0)).toMSecsSinceEpoch();

struct Scenario
{
    const char *name;
    QList<DraftFile> files; // sequence = position + 1 unless given
    PruneLimits limits;
    QList<quint64> deleted; // sequences
};

DraftFile snap(const char *post, quint64 seq, qint64 ageMs, bool pending = true, qint64 size = 1)
{
    DraftFile f;
    f.postId = QString::fromLatin1(post);
    f.sequence = seq;
    f.writtenMs = kNow - ageMs;
    f.pending = pending;
    f.size = size;
    return f;
}

QList<DraftFile> burst(const char *post, int count, quint64 firstSeq, qint64 ageMs, bool pending)
{
    QList<DraftFile> out;
    for (int i = 0; i < count; ++i)
        out.append(snap(post, firstSeq + i, ageMs - i * 1000, pending));
    return out;
}

QList<quint64> range(quint64 from, quint64 to)
{
    QList<quint64> out;
    for (quint64 s = from; s <= to; ++s)
        out.append(s);
    return out;
}

TEST(DraftPruning, FollowsTheRules)
{
    const Scenario cases[] = {
        {"a few snapshots all stay", burst("a", 5, 1, kHour, true), {}, {}},
        {"beyond the latest 20 of today only the newest counts",
         burst("a", 25, 1, kHour, true),
         {},
         range(1, 5)},
        {"the last of each earlier day stays for a week",
         burst("a", 3, 1, 3 * kDay, false) + burst("a", 22, 4, kHour, false),
         {},
         {1, 2, 4, 5}},
        {"history older than a week goes entirely",
         {snap("a", 1, 8 * kDay, false), snap("a", 2, 8 * kDay - 1000, false), snap("b", 3, kHour)},
         {},
         {1, 2}},
        {"a live draft keeps its newest at any age", {snap("a", 1, 30 * kDay, true)}, {}, {}},
        {"over the cap the oldest go first, never a post's newest",
         {snap("a", 1, 3 * kHour, true, 80 * kMb), snap("b", 2, 2 * kHour, true, 80 * kMb),
          snap("a", 3, kHour, true, 80 * kMb), snap("b", 4, 0, true, 80 * kMb)},
         {},
         {1, 2}},
        {"the cap never takes a newest even if still over",
         {snap("a", 1, kHour, true, 150 * kMb), snap("b", 2, 0, true, 150 * kMb)},
         {},
         {}},
        // The clock jumped back a day: the newer snapshot carries an older
        // time. Sequence still says which is newest, and nothing counts as old.
        {"clock jumped back: sequence decides the newest",
         {snap("a", 1, 0, true, 150 * kMb), snap("a", 2, kDay, true, 150 * kMb)},
         {},
         {1}},
        {"a time in the future counts as now",
         {snap("a", 1, -30 * kDay, false), snap("a", 2, -30 * kDay, false)},
         {},
         {}},
    };
    for (const Scenario &c : cases) {
        QList<quint64> got;
        for (qsizetype i : chooseForDeletion(c.files, kNow, c.limits))
            got.append(c.files[i].sequence);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.deleted) << c.name;
    }
}

} // namespace
