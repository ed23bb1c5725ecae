#include "markup/markuptokens.h"

namespace quorvane {

namespace {

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0x2028;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'-';
}

char16_t upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

} // namespace

bool readTagAt(QStringView text, qsizetype pos, MarkupTag &tag)
{
    // Names and values are bounded so a stray "[" never reads far.
    constexpr qsizetype maxName = 30;
    constexpr qsizetype maxValue = 2000;
    const qsizetype size = text.size();
    qsizetype i = pos + 1;
    tag = MarkupTag{};
    tag.start = pos;
    if (i < size && text[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    if (i < size && text[i] == u'*') {
        ++i;
    } else {
        if (i >= size || !text[i].isLetter())
            return false;
        while (i < size && i - nameStart <= maxName && isNameChar(text[i]))
            ++i;
        if (i - nameStart > maxName)
            return false;
    }
    tag.nameLength = std::int16_t(i - nameStart);
    if (i < size && text[i] == u'=' && !tag.closing) {
        tag.hasValue = true;
        const qsizetype valueStart = ++i;
        while (i < size && i - valueStart <= maxValue) {
            const char16_t c = text[i].unicode();
            if (c == u']' || c == u'[' || isLineBreak(c))
                break;
            ++i;
        }
        tag.valueLength = std::int32_t(i - valueStart);
    }
    if (i >= size || text[i] != u']')
        return false;
    tag.length = std::int32_t(i + 1 - pos);
    return true;
}

qsizetype MarkupScanner::findVerbatimEnd(QStringView text, qsizetype from, qsizetype to) const
{
    const char *name = m_tags.info(m_verbatim).name;
    qsizetype pos = from;
    while (pos < to) {
        const qsizetype open = text.indexOf(u"[/", pos);
        if (open < 0)
            return -1;
        qsizetype i = open + 2;
        const char *n = name;
        while (*n && i < to && upper(text[i].unicode()) == char16_t(*n)) {
            ++n;
            ++i;
        }
        if (!*n && i < to && text[i] == u']')
            return open;
        pos = open + 2;
    }
    return -1;
}

} // namespace quorvane
