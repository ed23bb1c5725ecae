#pragma once

#include <QStringView>

namespace quorvane {

// Tags found the way the forums find theirs in a post: "[name]",
// "[name=...]", "[name ...]" or "[/name]" on one line, the name of ASCII
// letters, digits and '*', at most 16 characters. Shared by the forum
// parser and the reading of the writer's own tags.

inline bool isTagNameChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'*';
}

struct TagShape
{
    bool closing = false;
    int name = -1;                        // what the caller's lookup made of the name
    qsizetype begin = 0, end = 0;         // the whole "[...]"
    qsizetype attrBegin = 0, attrEnd = 0; // after the name, before ']'
};

// The next tag at or after `from` whose name `find` (QStringView -> int)
// knows, an index of 0 or more; false when there is none. The name is looked
// up before the rest is read, as most brackets in a post are not tags.
template <typename Find>
bool nextTag(QStringView s, qsizetype from, const Find &find, TagShape &out)
{
    const qsizetype n = s.size();
    for (qsizetype i = from; i < n; ++i) {
        i = s.indexOf(u'[', i);
        if (i < 0)
            return false;
        qsizetype j = i + 1;
        const bool closing = j < n && s[j] == u'/';
        if (closing)
            ++j;
        const qsizetype nameStart = j;
        while (j < n && isTagNameChar(s[j]) && j - nameStart < 16)
            ++j;
        if (j == nameStart || j >= n)
            continue;
        const int name = find(s.mid(nameStart, j - nameStart));
        if (name < 0)
            continue;
        if (closing ? s[j] != u']' : (s[j] != u']' && s[j] != u'=' && s[j] != u' '))
            continue;
        qsizetype k = j;
        while (k < n && s[k] != u']' && s[k] != u'\n' && s[k] != u'[')
            ++k;
        if (k >= n || s[k] != u']')
            continue;
        out = {closing, name, i, k + 1, j, k};
        return true;
    }
    return false;
}

// In a tag's attributes, where the next " key=" (a word, then '=') starts,
// or the end: an unquoted value runs up to it.
inline qsizetype nextAttributeKey(QStringView attrs, qsizetype from)
{
    for (qsizetype i = from; i < attrs.size(); ++i) {
        if (attrs[i] != u' ')
            continue;
        qsizetype j = i + 1;
        while (j < attrs.size() && (attrs[j].isLetterOrNumber() || attrs[j] == u'_'))
            ++j;
        if (j > i + 1 && j < attrs.size() && attrs[j] == u'=')
            return i;
    }
    return attrs.size();
}

} // namespace quorvane
