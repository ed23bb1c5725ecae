#include "forum/forumlength.h"

#include <QString>

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

// `text` without the characters `blank` says are blank at either end.
template <typename Blank> QStringView trimmed(QStringView text, Blank blank)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    int units = 1;
    while (from < to && blank(codePointAt(text, from, units), false))
        from += units;
    while (to > from && blank(codePointBefore(text, to, units), true))
        to -= units;
    return text.mid(from, to - from);
}

// Sums the weights of a text's characters, a line break (LF, CR LF or CR)
// as one.
qsizetype weighed(Counting counting, QStringView text)
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (isBreak(text[i].unicode())) {
            total += lineBreakWeight(counting);
            i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            continue;
        }
        int units = 1;
        total += characterWeight(counting, codePointAt(text, i, units));
        i += units;
    }
    return total;
}

// phpBB reads line breaks as LF, drops NUL and byte order marks, trims the
// post, escapes it for HTML and puts it in Unicode's composed form.
qsizetype escapedLength(QStringView post)
{
    QString text;
    text.reserve(post.size());
    bool plain = true; // nothing that composition could change
    for (qsizetype i = 0; i < post.size(); ++i) {
        const char16_t c = post[i].unicode();
        if (c == 0 || c == 0xFEFF || (c == u'\r' && i + 1 < post.size() && post[i + 1] == u'\n'))
            continue;
        text.append(c == u'\r' ? u'\n' : QChar(c));
        plain = plain && c < 0x300;
    }
    QStringView kept = trimmed(QStringView(text), [](char32_t c, bool) { return isPhpBlank(c); });
    if (plain)
        return weighed(Counting::Escaped, kept);
    return weighed(Counting::Escaped, kept.toString().normalized(QString::NormalizationForm_C));
}

// The entities SMF counts as one character where the writer typed them:
// "&quot;", "&amp;", "&lt;", "&gt;", "&nbsp;" and "&#" with up to 7 digits.
// Returns the entity's length at `i`, or 0.
qsizetype entityAt(QStringView text, qsizetype i)
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
    while (2 + digits < rest.size() && digits < 7 && rest[2 + digits].isDigit() &&
           rest[2 + digits].unicode() < 0x80)
        ++digits;
    return digits > 0 && 2 + digits < rest.size() && rest[2 + digits] == u';' ? 3 + digits : 0;
}

// SMF counts what the browser sent, a typed entity as one character.
qsizetype sentLength(QStringView post)
{
    qsizetype total = 0;
    qsizetype from = 0;
    for (qsizetype at = post.indexOf(u'&'); at >= 0; at = post.indexOf(u'&', at + 1)) {
        const qsizetype entity = entityAt(post, at);
        if (entity == 0)
            continue;
        total += weighed(Counting::Sent, post.mid(from, at - from)) + 1;
        from = at + entity;
        at = from - 1;
    }
    return total + weighed(Counting::Sent, post.mid(from));
}

} // namespace

int characterWeight(Counting counting, char32_t c)
{
    switch (counting) {
    case Counting::Escaped:
        // htmlspecialchars: "&amp;", "&quot;", "&lt;", "&gt;"; ' is kept.
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

qsizetype countedLength(Counting counting, QStringView post)
{
    switch (counting) {
    case Counting::Escaped:
        return escapedLength(post);
    case Counting::Sent:
        return sentLength(post);
    case Counting::Bytes:
        return weighed(counting, trimmed(post, isMyBBBlank));
    }
    return 0;
}

ForumLength forumLength(Forum forum, QStringView post)
{
    const LengthRules &rules = dialect(forum).length;
    return {countedLength(rules.counting, post), rules.limit};
}

} // namespace quorvane
