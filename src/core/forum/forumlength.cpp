#include "forum/forumlength.h"

#include <QString>

#include <vector>

namespace quorvane {

namespace {

bool isBreak(char16_t c)
{
    return c == u'\n' || c == u'\r';
}

// What PHP's trim() takes from both ends (phpBB trims the post so).
bool isPhpBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0 || c == 0x0B;
}

// MyBB's blank characters, taken from both ends of a post before it is
// measured: spaces, invisible and joining characters; at the end the word
// joiner too.
bool isMyBBBlank(char32_t c, bool atEnd)
{
    switch (c) {
    case 0x00:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0D:
    case 0x20:
    case 0x81:
    case 0x8D:
    case 0x90:
    case 0x9D:
    case 0xA0:
    case 0xAD:
    case 0x337:
    case 0x338:
    case 0x115F:
    case 0x1160:
    case 0x1680:
    case 0x180E:
    case 0x205F:
    case 0x3000:
    case 0x3164:
    case 0xFEFF:
    case 0xFFA0:
    case 0xFFF9:
    case 0xFFFA:
    case 0xFFFB:
        return true;
    case 0x2060:
        return atEnd;
    default:
        return (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F);
    }
}

// The code point at `i` and how many UTF-16 units it takes.
char32_t codePointAt(QStringView text, qsizetype i, int &units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    units = 1;
    return c.unicode();
}

// The code point that ends at `end` (exclusive) and its units.
char32_t codePointBefore(QStringView text, qsizetype end, int &units)
{
    const QChar c = text[end - 1];
    if (c.isLowSurrogate() && end >= 2 && text[end - 2].isHighSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(text[end - 2], c);
    }
    units = 1;
    return c.unicode();
}

// Whether the forum trims `c` from the post's start (or end).
bool isTrimmed(Counting counting, char32_t c, bool atEnd)
{
    // phpBB drops NUL and byte order marks before it trims.
    return counting == Counting::Escaped ? isPhpBlank(c) || c == 0xFEFF : isMyBBBlank(c, atEnd);
}

qsizetype weighed(Counting counting, QStringView line)
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < line.size();) {
        int units = 1;
        total += characterWeight(counting, codePointAt(line, i, units));
        i += units;
    }
    return total;
}

// The post's lines, between LF, CR LF or CR.
std::vector<QStringView> linesOf(QStringView post)
{
    std::vector<QStringView> lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i < post.size(); ++i) {
        if (!isBreak(post[i].unicode()))
            continue;
        lines.push_back(post.mid(from, i - from));
        if (post[i] == u'\r' && i + 1 < post.size() && post[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    lines.push_back(post.mid(from));
    return lines;
}

} // namespace

// The entities SMF counts as one character where the writer typed them:
// "&quot;", "&amp;", "&lt;", "&gt;", "&nbsp;" and "&#" with up to 7 digits.
qsizetype typedEntityAt(QStringView text, qsizetype i)
{
    static const char16_t *const kNamed[] = {u"&quot;", u"&amp;", u"&lt;", u"&gt;", u"&nbsp;"};
    const QStringView rest = text.mid(i, 10);
    for (const char16_t *named : kNamed) {
        if (rest.startsWith(QStringView(named)))
            return QStringView(named).size();
    }
    if (!rest.startsWith(u"&#"))
        return 0;
    qsizetype digits = 0;
    while (2 + digits < rest.size() && digits < 7 && rest[2 + digits].unicode() < 0x80 &&
           rest[2 + digits].isDigit())
        ++digits;
    return digits > 0 && 2 + digits < rest.size() && rest[2 + digits] == u';' ? 3 + digits : 0;
}

int characterWeight(Counting counting, char32_t c)
{
    switch (counting) {
    case Counting::Escaped:
        // htmlspecialchars: "&amp;", "&quot;", "&lt;", "&gt;"; ' is kept;
        // NUL and byte order marks are dropped.
        if (c == 0 || c == 0xFEFF)
            return 0;
        return c == U'&' ? 5 : c == U'"' ? 6 : c == U'<' || c == U'>' ? 4 : 1;
    case Counting::Sent:
        return 1;
    case Counting::Bytes:
        return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    }
    return 1;
}

int lineBreakWeight(Counting counting)
{
    return counting == Counting::Escaped ? 1 : 2;
}

qsizetype lineWeight(Counting counting, QStringView line)
{
    switch (counting) {
    case Counting::Escaped:
        // Composing only shortens text with combining marks (U+0300 on).
        for (const QChar c : line) {
            if (c.unicode() >= 0x300)
                return weighed(counting, line.toString().normalized(QString::NormalizationForm_C));
        }
        return weighed(counting, line);
    case Counting::Sent: {
        qsizetype total = 0;
        qsizetype from = 0;
        for (qsizetype at = line.indexOf(u'&'); at >= 0; at = line.indexOf(u'&', at + 1)) {
            const qsizetype entity = typedEntityAt(line, at);
            if (entity == 0)
                continue;
            total += weighed(counting, line.mid(from, at - from)) + 1;
            from = at + entity;
            at = from - 1;
        }
        return total + weighed(counting, line.mid(from));
    }
    case Counting::Bytes:
        return weighed(counting, line);
    }
    return 0;
}

BlankEnds blankEnds(Counting counting, QStringView line)
{
    BlankEnds ends;
    if (counting == Counting::Sent)
        return ends;
    qsizetype from = 0;
    int units = 1;
    for (char32_t c;
         from < line.size() && isTrimmed(counting, c = codePointAt(line, from, units), false);
         from += units)
        ends.leading += characterWeight(counting, c);
    ends.blankFromStart = from == line.size();
    qsizetype to = line.size();
    for (char32_t c; to > 0 && isTrimmed(counting, c = codePointBefore(line, to, units), true);
         to -= units)
        ends.trailing += characterWeight(counting, c);
    ends.blankFromEnd = to == 0;
    return ends;
}

qsizetype countedLength(Counting counting, QStringView post)
{
    const std::vector<QStringView> lines = linesOf(post);
    std::vector<CountedPart> parts;
    parts.reserve(lines.size());
    qsizetype total = 0;
    for (const QStringView line : lines) {
        parts.push_back({lineWeight(counting, line), blankEnds(counting, line), !parts.empty()});
        total += parts.back().weight + (parts.back().breakBefore ? lineBreakWeight(counting) : 0);
    }
    return total - trimmedWeight(counting, qsizetype(parts.size()),
                                 [&](qsizetype i) { return parts[size_t(i)]; });
}

ForumLength forumLength(Forum forum, QStringView post)
{
    const LengthRules &rules = dialect(forum).length;
    return {countedLength(rules.counting, post), rules.limit};
}

} // namespace quorvane
