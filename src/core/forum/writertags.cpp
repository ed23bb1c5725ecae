// The tags a writer uses, found in a post as the forums find theirs.

#include "forum/writertags.h"

#include "forum/tagshape.h"

namespace quorvane {

namespace {

struct Word
{
    QString name;
    TagKind kind;
};

const std::vector<Word> &vocabulary()
{
    static const std::vector<Word> words = {
        {u"b"_qs, TagKind::Inline},         {u"i"_qs, TagKind::Inline},
        {u"u"_qs, TagKind::Inline},         {u"s"_qs, TagKind::Inline},
        {u"strike"_qs, TagKind::Inline},    {u"del"_qs, TagKind::Inline},
        {u"sub"_qs, TagKind::Inline},       {u"sup"_qs, TagKind::Inline},
        {u"tt"_qs, TagKind::Inline},        {u"font"_qs, TagKind::Inline},
        {u"color"_qs, TagKind::Inline},     {u"size"_qs, TagKind::Inline},
        {u"highlight"_qs, TagKind::Inline}, {u"pre"_qs, TagKind::Inline},
        {u"iurl"_qs, TagKind::Inline},      {u"url"_qs, TagKind::Inline},
        {u"email"_qs, TagKind::Inline},     {u"left"_qs, TagKind::Block},
        {u"center"_qs, TagKind::Block},     {u"right"_qs, TagKind::Block},
        {u"justify"_qs, TagKind::Block},    {u"align"_qs, TagKind::Block},
        {u"indent"_qs, TagKind::Block},     {u"spoiler"_qs, TagKind::Block},
        {u"table"_qs, TagKind::Block},      {u"tr"_qs, TagKind::Block},
        {u"td"_qs, TagKind::Block},         {u"th"_qs, TagKind::Block},
        {u"quote"_qs, TagKind::Quote},      {u"list"_qs, TagKind::List},
        {u"*"_qs, TagKind::Item},           {u"li"_qs, TagKind::Item},
        {u"code"_qs, TagKind::Literal},     {u"php"_qs, TagKind::Literal},
        {u"html"_qs, TagKind::Literal},     {u"nobbc"_qs, TagKind::Literal},
        {u"noparse"_qs, TagKind::Literal},  {u"img"_qs, TagKind::Value},
        {u"youtube"_qs, TagKind::Value},    {u"video"_qs, TagKind::Value},
        {u"hr"_qs, TagKind::Single},
    };
    return words;
}

// The word's index, or -1: a short list, compared by length first (no hashing
// on the way through a long post).
int findWord(QStringView name)
{
    const std::vector<Word> &words = vocabulary();
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (words[k].name.size() == name.size() &&
            name.compare(words[k].name, Qt::CaseInsensitive) == 0)
            return int(k);
    }
    return -1;
}

} // namespace

int writerTagNames()
{
    return int(vocabulary().size());
}

std::vector<WriterTag> findWriterTags(QStringView s)
{
    std::vector<WriterTag> tags;
    const std::vector<Word> &words = vocabulary();
    TagShape t;
    for (qsizetype from = 0; nextTag(s, from, findWord, t); from = t.end) {
        TagKind kind = words[std::size_t(t.name)].kind;
        const QString &name = words[std::size_t(t.name)].name;
        // [url]address[/url] and [email]address[/email] hold a value.
        if (!t.closing && (name == u"url" || name == u"email") && s[t.attrBegin] != u'=')
            kind = TagKind::Value;
        tags.push_back({t.closing, kind, t.name, name, t.begin, t.end, t.attrBegin, t.attrEnd});
    }
    return tags;
}

QString tagAttribute(QStringView attrs, QStringView key)
{
    qsizetype i = 0;
    if (key.isEmpty()) {
        if (!attrs.startsWith(u'='))
            return {};
        i = 1;
    } else {
        const QString needle = u' ' + key.toString() + u'=';
        i = attrs.indexOf(needle, 0, Qt::CaseInsensitive);
        if (i < 0)
            return {};
        i += needle.size();
    }
    if (i < attrs.size() && (attrs[i] == u'"' || attrs[i] == u'\'')) {
        const qsizetype end = attrs.indexOf(attrs[i], i + 1);
        if (end > 0)
            return attrs.mid(i + 1, end - i - 1).toString();
    }
    // Up to the next " key=".
    const qsizetype end = nextAttributeKey(attrs, i);
    return attrs.mid(i, end - i).trimmed().toString();
}

QString withScheme(const QString &address)
{
    const QString t = address.trimmed();
    if (t.isEmpty() || t.startsWith(u'/') || t.startsWith(u'#') || t.startsWith(u'?') ||
        t.contains(u' '))
        return address;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u':' && i > 0 && t.mid(i).startsWith(u"://"))
            return address; // a scheme already
        if (!c.isLetterOrNumber() && c != u'+' && c != u'-' && c != u'.')
            break;
    }
    if (t.startsWith(u"mailto:", Qt::CaseInsensitive))
        return address;
    const qsizetype slash = t.indexOf(u'/');
    const QStringView host = QStringView(t).left(slash < 0 ? t.size() : slash);
    if (!host.contains(u'.') || host.startsWith(u'.') || host.endsWith(u'.'))
        return address;
    return u"http://"_qs + t;
}

QString closingTagFor(const QString &open)
{
    qsizetype end = 1;
    while (end < open.size() && isTagNameChar(open[end]))
        ++end;
    return u"[/"_qs + open.mid(1, end - 1) + u']';
}

} // namespace quorvane
