#include "text/emojisequence.h"

#include <QList>
#include <QTextBoundaryFinder>

namespace quorvane {

namespace {

// Pictographs that begin emoji sequences: the emoji planes (with the regional
// indicators of flags and the tag sequences' black flag) and the older
// symbol blocks that emoji presentation draws from.
bool beginsEmoji(char32_t c)
{
    return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2300 && c <= 0x23FF) ||
           (c >= 0x2600 && c <= 0x27BF) || (c >= 0x2B00 && c <= 0x2BFF) || c == 0x00A9 ||
           c == 0x00AE || c == 0x203C || c == 0x2049 || c == 0x2122 || c == 0x2139 || c == 0x3030 ||
           c == 0x303D || c == 0x3297 || c == 0x3299;
}

constexpr char32_t kEmojiPresentation = 0xFE0F;
constexpr char32_t kKeycap = 0x20E3;

} // namespace

qsizetype emojiSequenceStart(QStringView text, qsizetype end)
{
    if (end < 2 || end > text.size())
        return -1;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text.constData(), end);
    clusters.setPosition(end);
    const qsizetype start = clusters.toPreviousBoundary();
    if (start < 0 || end - start < 2)
        return -1;
    const QList<uint> points = text.sliced(start, end - start).toUcs4();
    if (points.size() < 2)
        return -1; // one character: Backspace takes it whole anyway
    if (beginsEmoji(points.front()))
        return start;
    // "1" FE0F 20E3: a keycap; a symbol with FE0F is drawn as an emoji.
    for (uint c : points) {
        if (c == kKeycap || c == kEmojiPresentation)
            return start;
    }
    return -1;
}

} // namespace quorvane
