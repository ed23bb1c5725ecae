#pragma once

#include <QStringView>

#include <vector>

namespace quorvane {

// A run of text that one side has and the other has not: its first UTF-16
// unit and its length, in that side's text.
struct DiffSpan
{
    qsizetype start;
    qsizetype length;
    bool operator==(const DiffSpan &) const = default;
};

// What changed from `before` to `after`: the runs `before` loses and the runs
// `after` gains, each in order.
struct TextDiff
{
    std::vector<DiffSpan> removed;  // in `before`
    std::vector<DiffSpan> inserted; // in `after`
    bool same() const { return removed.empty() && inserted.empty(); }
};

// Lines first (Myers' shortest edit script), then each block of changed lines
// again word by word, so a changed word marks that word and not its line.
// Memory grows with the texts' length, not with their product; the time with
// the length times the number of differences, which is bounded: past a few
// hundred differences in one region the region is reported as replaced
// whole (a block of changed lines is then compared line by line), so two
// large unrelated posts still compare at once.
TextDiff diffTexts(QStringView before, QStringView after);

} // namespace quorvane
