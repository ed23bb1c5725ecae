#include "split/postlength.h"

#include "forum/forumlength.h"
#include "markup/markuptokens.h"

#include <algorithm>
#include <array>

namespace quorvane {

namespace {

// The numbers are the limits each package's installer writes into a new
// board's settings; how it counts follows how its posting code measures the
// submitted message (phpBB turns CR LF into LF first, SMF does not).
constexpr std::array kProfiles{
    ForumProfile{"phpbb", "phpBB", 60000, LengthRule{true, 1}},
    ForumProfile{"smf", "Simple Machines Forum", 20000, LengthRule{true, 2}},
    // MyBB ships "Maximum Message Length" 65,535 (it measures bytes of UTF-8;
    // counted in characters here like the others).
    ForumProfile{"mybb", "MyBB", 65535, LengthRule{true, 1}},
    ForumProfile{"discourse", "Discourse", 32000, LengthRule{true, 1}},
    ForumProfile{"custom", "Custom", 0, LengthRule{true, 1}},
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// Words of one line, skipping its tags.
qsizetype lineWords(QStringView line, const KnownTags &tags)
{
    MarkupScanner scanner(tags);
    qsizetype words = 0;
    qsizetype pos = 0;
    bool inWord = false;
    auto countTo = [&](qsizetype to) {
        for (; pos < to; ++pos) {
            const QChar c = line[pos];
            if (isWordChar(c)) {
                if (!inWord)
                    ++words;
                inWord = true;
            } else if (inWord && (c == u'\'' || c == u'\u2019' || c == u'-') && pos + 1 < to &&
                       isWordChar(line[pos + 1])) {
                // "don't", "well-known": one word
            } else {
                inWord = false;
            }
        }
    };
    scanner.scan(line, 0, line.size(), [&](const MarkupTag &tag) {
        if (tag.id == KnownTags::unknown)
            return;
        countTo(tag.start);
        pos = tag.end(); // a tag joins nothing: "[b]x[/b]y" is "xy", one word
    });
    countTo(line.size());
    return words;
}

} // namespace

std::span<const ForumProfile> forumProfiles()
{
    return kProfiles;
}

const ForumProfile *findForumProfile(QStringView key)
{
    for (const ForumProfile &profile : kProfiles) {
        if (key == QLatin1String(profile.key))
            return &profile;
    }
    return nullptr;
}

// Under a forum's counting: each character's weight, a line break's, and a
// typed entity as one at its '&' (SMF).
std::vector<qsizetype> runningForumLengths(QStringView text, Counting counting)
{
    std::vector<qsizetype> lengths(size_t(text.size()) + 1);
    qsizetype total = 0;
    qsizetype entityEnd = 0; // inside an entity that counted at its '&'
    for (qsizetype i = 0; i < text.size(); ++i) {
        lengths[size_t(i)] = total;
        const QChar c = text[i];
        if (i < entityEnd || (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            continue;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // CR LF is one line break
        if (c == u'\n' || c == u'\r') {
            total += lineBreakWeight(counting);
        } else if (c == u'&' && counting == Counting::Sent) {
            const qsizetype entity = typedEntityAt(text, i);
            entityEnd = i + entity;
            total += 1;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            total += characterWeight(counting, QChar::surrogateToUcs4(c, text[i + 1]));
        } else {
            total += characterWeight(counting, c.unicode());
        }
    }
    lengths.back() = total;
    return lengths;
}

std::vector<qsizetype> runningLengths(QStringView text, const LengthRule &rule,
                                      const KnownTags &tags)
{
    if (rule.forum)
        return runningForumLengths(text, *rule.forum);
    std::vector<qsizetype> lengths(size_t(text.size()) + 1);
    qsizetype skipTo = 0; // inside a tag that does not count
    std::vector<std::pair<qsizetype, qsizetype>> skipped;
    if (!rule.countTags) {
        MarkupScanner scanner(tags);
        scanner.scan(text, 0, text.size(), [&](const MarkupTag &tag) {
            if (tag.id != KnownTags::unknown)
                skipped.emplace_back(tag.start, tag.end());
        });
    }
    auto next = skipped.begin();
    qsizetype total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        lengths[size_t(i)] = total;
        if (next != skipped.end() && i == next->first) {
            skipTo = next->second;
            ++next;
        }
        if (i < skipTo)
            continue;
        const char16_t c = text[i].unicode();
        if (c == u'\n')
            total += rule.lineBreak;
        else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // CR LF is one line break
        else if (!QChar::isLowSurrogate(c) || i == 0 || !text[i - 1].isHighSurrogate())
            total += 1;
    }
    lengths.back() = total;
    return lengths;
}

qsizetype postLength(QStringView text, const LengthRule &rule, const KnownTags &tags)
{
    if (rule.forum)
        return countedLength(*rule.forum, text);
    return runningLengths(text, rule, tags).back();
}

QString withoutTags(QStringView text, const KnownTags &tags)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    MarkupScanner scanner(tags);
    scanner.scan(text, 0, text.size(), [&](const MarkupTag &tag) {
        if (tag.id == KnownTags::unknown)
            return;
        out.append(text.mid(pos, tag.start - pos));
        pos = tag.end();
    });
    out.append(text.mid(pos));
    return out;
}

qsizetype countWords(QStringView text, const KnownTags &tags)
{
    qsizetype words = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        words += lineWords(text.mid(start, end - start), tags);
        start = end + 1;
    }
    return words;
}

void WordTally::reset(QStringView text)
{
    m_lineStarts.clear();
    m_lineWords.clear();
    m_total = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        m_lineStarts.push_back(start);
        m_lineWords.push_back(lineWords(text.mid(start, end - start), m_tags));
        m_total += m_lineWords.back();
        start = end + 1;
    }
    m_size = text.size();
}

void WordTally::change(QStringView text, qsizetype position, qsizetype removed, qsizetype added)
{
    if (m_lineStarts.empty() || position < 0 || removed < 0 || added < 0 ||
        position + removed > m_size || m_size - removed + added != text.size()) {
        reset(text);
        return;
    }
    auto lineOf = [this](qsizetype pos) {
        return size_t(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos) -
                      m_lineStarts.begin() - 1);
    };
    const size_t first = lineOf(position);
    const size_t last = lineOf(position + removed);
    const qsizetype from = m_lineStarts[first];
    qsizetype to = text.indexOf(u'\n', position + added);
    if (to < 0)
        to = text.size();

    std::vector<qsizetype> starts;
    std::vector<qsizetype> words;
    for (qsizetype start = from; start <= to;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0 || end > to)
            end = to;
        starts.push_back(start);
        words.push_back(lineWords(text.mid(start, end - start), m_tags));
        start = end + 1;
    }
    for (size_t i = first; i <= last; ++i)
        m_total -= m_lineWords[i];
    for (qsizetype w : words)
        m_total += w;
    const qsizetype delta = added - removed;
    for (size_t i = last + 1; i < m_lineStarts.size(); ++i)
        m_lineStarts[i] += delta;
    m_lineStarts.erase(m_lineStarts.begin() + qsizetype(first),
                       m_lineStarts.begin() + qsizetype(last) + 1);
    m_lineStarts.insert(m_lineStarts.begin() + qsizetype(first), starts.begin(), starts.end());
    m_lineWords.erase(m_lineWords.begin() + qsizetype(first),
                      m_lineWords.begin() + qsizetype(last) + 1);
    m_lineWords.insert(m_lineWords.begin() + qsizetype(first), words.begin(), words.end());
    m_size = text.size();
}

qsizetype readingMinutes(qsizetype words)
{
    return (words + 229) / 230;
}

} // namespace quorvane
