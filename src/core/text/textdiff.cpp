#include "text/textdiff.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

namespace quorvane {

namespace {

// A piece of a text: a line, or a word, a run of spaces or one other
// character.
struct Token
{
    qsizetype start;
    qsizetype length;
};

// The token sequences of both sides as numbers, equal tokens the same number.
struct Sequences
{
    std::vector<Token> a, b;
    std::vector<int> aIds, bIds;
};

void numberTokens(Sequences &s, QStringView before, QStringView after)
{
    QHash<QStringView, int> ids;
    const auto number = [&ids](QStringView text, const std::vector<Token> &tokens,
                               std::vector<int> &out) {
        out.reserve(tokens.size());
        for (const Token &t : tokens) {
            const QStringView piece = text.sliced(t.start, t.length);
            auto found = ids.constFind(piece);
            if (found == ids.constEnd())
                found = ids.insert(piece, int(ids.size()));
            out.push_back(*found);
        }
    };
    number(before, s.a, s.aIds);
    number(after, s.b, s.bIds);
}

// Lines with their line break ("\n" ends a line; CR LF keeps its CR).
std::vector<Token> linesOf(QStringView text, qsizetype from, qsizetype to)
{
    std::vector<Token> lines;
    qsizetype start = from;
    for (qsizetype i = from; i < to; ++i) {
        if (text[i] == u'\n') {
            lines.push_back({start, i + 1 - start});
            start = i + 1;
        }
    }
    if (start < to)
        lines.push_back({start, to - start});
    return lines;
}

bool isWordUnit(QStringView text, qsizetype i, qsizetype *units)
{
    char32_t c = text[i].unicode();
    *units = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
        *units = 2;
    }
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == u'_';
}

// Words, runs of spaces and tabs, and every other character on its own.
std::vector<Token> wordsOf(QStringView text, qsizetype from, qsizetype to)
{
    std::vector<Token> tokens;
    qsizetype i = from;
    while (i < to) {
        const qsizetype start = i;
        qsizetype units = 1;
        if (isWordUnit(text, i, &units)) {
            while (i < to && isWordUnit(text, i, &units))
                i += units;
        } else if (text[i] == u' ' || text[i] == u'\t') {
            while (i < to && (text[i] == u' ' || text[i] == u'\t'))
                ++i;
        } else {
            i += units;
        }
        tokens.push_back({start, i - start});
    }
    return tokens;
}

// Work per search for a middle point, in steps along the diagonals: the
// number of differences searched for is this divided by the region's size.
constexpr qsizetype kStepBudget = 40'000'000;
constexpr qsizetype kMinDifferences = 256;

// Marks which tokens of a and b are not in their longest common subsequence
// (Myers' middle-snake search, both ends at once, as in the linear-space
// variant): removed[i] for a[i], inserted[j] for b[j].
class Differ
{
public:
    Differ(const std::vector<int> &a, const std::vector<int> &b)
        : m_a(a), m_b(b), removed(a.size(), false), inserted(b.size(), false)
    {}

    void run()
    {
        // Regions still to compare; an explicit stack keeps deep splits off
        // the call stack.
        std::vector<Region> work{{0, qsizetype(m_a.size()), 0, qsizetype(m_b.size())}};
        while (!work.empty()) {
            Region r = work.back();
            work.pop_back();
            while (r.aLo < r.aHi && r.bLo < r.bHi && m_a[size_t(r.aLo)] == m_b[size_t(r.bLo)]) {
                ++r.aLo;
                ++r.bLo;
            }
            while (r.aLo < r.aHi && r.bLo < r.bHi &&
                   m_a[size_t(r.aHi - 1)] == m_b[size_t(r.bHi - 1)]) {
                --r.aHi;
                --r.bHi;
            }
            if (r.aLo == r.aHi || r.bLo == r.bHi) {
                markAll(r);
                continue;
            }
            const auto split = middle(r);
            if (!split) {
                gaveUp = true;
                markAll(r);
                continue;
            }
            work.push_back({r.aLo + split->first, r.aHi, r.bLo + split->second, r.bHi});
            work.push_back({r.aLo, r.aLo + split->first, r.bLo, r.bLo + split->second});
        }
    }

private:
    struct Region
    {
        qsizetype aLo, aHi, bLo, bHi;
    };

    void markAll(const Region &r)
    {
        std::fill(removed.begin() + r.aLo, removed.begin() + r.aHi, true);
        std::fill(inserted.begin() + r.bLo, inserted.begin() + r.bHi, true);
    }

    // A point (x, y) on a shortest edit path of the region, where the paths
    // searched from both ends meet; nothing when the region differs in more
    // places than the budget allows.
    std::optional<std::pair<qsizetype, qsizetype>> middle(const Region &r) const
    {
        const int *a = m_a.data() + r.aLo;
        const int *b = m_b.data() + r.bLo;
        const qsizetype n = r.aHi - r.aLo;
        const qsizetype m = r.bHi - r.bLo;
        const qsizetype limit = std::max(kMinDifferences, kStepBudget / (n + m));
        const qsizetype dMax = std::min((n + m + 1) / 2, limit);
        const qsizetype off = dMax + 1;
        const qsizetype len = 2 * off + 1;
        std::vector<qsizetype> v1(size_t(len), -1);
        std::vector<qsizetype> v2(size_t(len), -1);
        v1[size_t(off + 1)] = 0;
        v2[size_t(off + 1)] = 0;
        const qsizetype delta = n - m;
        const bool front = delta % 2 != 0;
        qsizetype k1start = 0, k1end = 0, k2start = 0, k2end = 0;
        for (qsizetype d = 0; d < dMax; ++d) {
            for (qsizetype k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
                const qsizetype k1o = off + k1;
                qsizetype x1 = (k1 == -d || (k1 != d && v1[size_t(k1o - 1)] < v1[size_t(k1o + 1)]))
                                   ? v1[size_t(k1o + 1)]
                                   : v1[size_t(k1o - 1)] + 1;
                qsizetype y1 = x1 - k1;
                while (x1 < n && y1 < m && a[x1] == b[y1]) {
                    ++x1;
                    ++y1;
                }
                v1[size_t(k1o)] = x1;
                if (x1 > n) {
                    k1end += 2;
                } else if (y1 > m) {
                    k1start += 2;
                } else if (front) {
                    const qsizetype k2o = off + delta - k1;
                    if (k2o >= 0 && k2o < len && v2[size_t(k2o)] != -1 && x1 >= n - v2[size_t(k2o)])
                        return std::pair(x1, y1);
                }
            }
            for (qsizetype k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
                const qsizetype k2o = off + k2;
                qsizetype x2 = (k2 == -d || (k2 != d && v2[size_t(k2o - 1)] < v2[size_t(k2o + 1)]))
                                   ? v2[size_t(k2o + 1)]
                                   : v2[size_t(k2o - 1)] + 1;
                qsizetype y2 = x2 - k2;
                while (x2 < n && y2 < m && a[n - x2 - 1] == b[m - y2 - 1]) {
                    ++x2;
                    ++y2;
                }
                v2[size_t(k2o)] = x2;
                if (x2 > n) {
                    k2end += 2;
                } else if (y2 > m) {
                    k2start += 2;
                } else if (!front) {
                    const qsizetype k1o = off + delta - k2;
                    if (k1o >= 0 && k1o < len && v1[size_t(k1o)] != -1) {
                        const qsizetype x1 = v1[size_t(k1o)];
                        const qsizetype y1 = off + x1 - k1o;
                        if (x1 >= n - x2)
                            return std::pair(x1, y1);
                    }
                }
            }
        }
        return std::nullopt;
    }

    const std::vector<int> &m_a;
    const std::vector<int> &m_b;

public:
    std::vector<bool> removed;
    std::vector<bool> inserted;
    bool gaveUp = false; // some region was taken as replaced whole
};

// Adds the marked tokens as spans, joining neighbours.
void addSpans(const std::vector<Token> &tokens, const std::vector<bool> &marked, qsizetype from,
              qsizetype to, std::vector<DiffSpan> &out)
{
    for (qsizetype i = from; i < to; ++i) {
        if (!marked[size_t(i)])
            continue;
        const Token &t = tokens[size_t(i)];
        if (!out.empty() && out.back().start + out.back().length == t.start)
            out.back().length += t.length;
        else
            out.push_back({t.start, t.length});
    }
}

void addWhole(qsizetype start, qsizetype end, std::vector<DiffSpan> &out)
{
    if (end <= start)
        return;
    if (!out.empty() && out.back().start + out.back().length == start)
        out.back().length += end - start;
    else
        out.push_back({start, end - start});
}

// Word by word within a block of changed lines on both sides; false (and
// nothing added) when the block differs in too many places to tell.
bool diffWords(QStringView before, qsizetype aFrom, qsizetype aTo, QStringView after,
               qsizetype bFrom, qsizetype bTo, TextDiff &out, bool mayGiveUp)
{
    Sequences words;
    words.a = wordsOf(before, aFrom, aTo);
    words.b = wordsOf(after, bFrom, bTo);
    numberTokens(words, before, after);
    Differ differ(words.aIds, words.bIds);
    differ.run();
    if (differ.gaveUp && mayGiveUp)
        return false;
    addSpans(words.a, differ.removed, 0, qsizetype(words.a.size()), out.removed);
    addSpans(words.b, differ.inserted, 0, qsizetype(words.b.size()), out.inserted);
    return true;
}

// A block of changed lines, lines a[i0, i) against b[j0, j). When it differs
// in too many places for one word diff (a word replaced on every line), its
// lines are paired in order and compared pair by pair.
void diffBlock(QStringView before, const std::vector<Token> &aLines, qsizetype i0, qsizetype i,
               QStringView after, const std::vector<Token> &bLines, qsizetype j0, qsizetype j,
               TextDiff &out)
{
    const auto startOf = [](const std::vector<Token> &t, qsizetype k, qsizetype end) {
        return k < qsizetype(t.size()) ? t[size_t(k)].start : end;
    };
    const qsizetype aFrom = startOf(aLines, i0, before.size());
    const qsizetype aTo = startOf(aLines, i, before.size());
    const qsizetype bFrom = startOf(bLines, j0, after.size());
    const qsizetype bTo = startOf(bLines, j, after.size());
    if (i == i0 || j == j0) {
        addWhole(aFrom, aTo, out.removed);
        addWhole(bFrom, bTo, out.inserted);
        return;
    }
    const bool several = i - i0 > 1 && j - j0 > 1;
    if (diffWords(before, aFrom, aTo, after, bFrom, bTo, out, several))
        return;
    const qsizetype pairs = std::min(i - i0, j - j0);
    for (qsizetype k = 0; k < pairs; ++k) {
        diffWords(before, startOf(aLines, i0 + k, before.size()),
                  startOf(aLines, i0 + k + 1, before.size()), after,
                  startOf(bLines, j0 + k, after.size()), startOf(bLines, j0 + k + 1, after.size()),
                  out, false);
    }
    addWhole(startOf(aLines, i0 + pairs, before.size()), aTo, out.removed);
    addWhole(startOf(bLines, j0 + pairs, after.size()), bTo, out.inserted);
}

} // namespace

TextDiff diffTexts(QStringView before, QStringView after)
{
    TextDiff result;
    Sequences lines;
    lines.a = linesOf(before, 0, before.size());
    lines.b = linesOf(after, 0, after.size());
    numberTokens(lines, before, after);
    Differ differ(lines.aIds, lines.bIds);
    differ.run();
    lines.aIds = {};
    lines.bIds = {};

    // The unmarked lines pair up in order; between two pairs lies a block.
    const qsizetype na = qsizetype(lines.a.size());
    const qsizetype nb = qsizetype(lines.b.size());
    qsizetype i = 0, j = 0;
    while (i < na || j < nb) {
        if (i < na && j < nb && !differ.removed[size_t(i)] && !differ.inserted[size_t(j)]) {
            ++i;
            ++j;
            continue;
        }
        const qsizetype i0 = i, j0 = j;
        while (i < na && differ.removed[size_t(i)])
            ++i;
        while (j < nb && differ.inserted[size_t(j)])
            ++j;
        diffBlock(before, lines.a, i0, i, after, lines.b, j0, j, result);
    }
    return result;
}

} // namespace quorvane
