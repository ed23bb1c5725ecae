#include "forum/forumwriter.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>
#include <QUrl>

namespace quorvane {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

void appendEscaped(QString &out, QStringView s, bool keepNumericRefs = false)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        switch (c.unicode()) {
        case '&': {
            if (keepNumericRefs && i + 2 < s.size() && s[i + 1] == u'#') {
                qsizetype j = i + 2;
                while (j < s.size() && s[j].isDigit() && j - i < 10)
                    ++j;
                if (j > i + 2 && j < s.size() && s[j] == u';') {
                    out += s.mid(i, j - i + 1);
                    i = j;
                    break;
                }
            }
            out += u"&amp;";
            break;
        }
        case '<':
            out += u"&lt;";
            break;
        case '>':
            out += u"&gt;";
            break;
        case '"':
            out += u"&quot;";
            break;
        default:
            out += c;
        }
    }
}

QString escaped(QStringView s)
{
    QString out;
    appendEscaped(out, s);
    return out;
}

// Whether a tag of the forum's (open or close) starts at i.
bool tagAt(const Dialect &d, QStringView s, qsizetype i)
{
    qsizetype j = i + 1;
    if (j < s.size() && s[j] == u'/')
        ++j;
    const qsizetype b = j;
    while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == u'*'))
        ++j;
    return j > b && d.tag(s.mid(b, j - b)) != nullptr;
}

// A bare address's end: blank characters and '<' end it, then closing
// punctuation at its end is left out (a bracket only when unbalanced).
qsizetype urlEnd(const Dialect &d, QStringView s, qsizetype from)
{
    qsizetype e = from;
    while (e < s.size()) {
        const QChar c = s[e];
        if (c.isSpace() || c == u'<' || c == u'>' || c == u'"')
            break;
        if (c == u'[' || c == u']') {
            if (!d.links.bracketsInUrl || (c == u'[' && tagAt(d, s, e)))
                break;
        }
        ++e;
    }
    const QString &trim = d.links.trailingTrim;
    while (e > from) {
        const QChar c = s[e - 1];
        const bool endsWell =
            trim.isEmpty() ? (isWordChar(c) || c == u'/' || c == u')') : !trim.contains(c);
        if (!endsWell) {
            --e;
        } else if (c == u')' &&
                   s.mid(from, e - from).count(u'(') < s.mid(from, e - from).count(u')')) {
            --e;
        } else {
            break;
        }
    }
    return e;
}

qsizetype schemeLength(QStringView s, qsizetype i, const QStringList &schemes)
{
    for (const QString &scheme : schemes) {
        if (s.mid(i, scheme.size()).compare(scheme, Qt::CaseInsensitive) == 0 &&
            s.mid(i + scheme.size(), 3) == u"://")
            return scheme.size() + 3;
    }
    return 0;
}

bool isDomainChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'.';
}

bool isEmailLocal(QChar c)
{
    return c.isLetterOrNumber() || c == u'.' || c == u'_' || c == u'-' || c == u'+';
}

// The end of an e-mail address starting at i, or -1.
qsizetype emailEnd(QStringView s, qsizetype i)
{
    qsizetype j = i;
    while (j < s.size() && isEmailLocal(s[j]))
        ++j;
    if (j == i || j >= s.size() || s[j] != u'@')
        return -1;
    qsizetype k = j + 1;
    qsizetype lastDot = -1;
    while (k < s.size() && (s[k].isLetterOrNumber() || s[k] == u'-' || s[k] == u'.')) {
        if (s[k] == u'.')
            lastDot = k;
        ++k;
    }
    while (k > j + 1 && s[k - 1] == u'.')
        --k;
    if (lastDot < 0 || lastDot >= k - 1 || lastDot == j + 1)
        return -1;
    return k;
}

class Writer
{
public:
    Writer(const Dialect &d, const ParsedPost &p, const PictureSource &pictures)
        : m_d(d), m_p(p), m_pictures(pictures)
    {}

    QString run()
    {
        m_out.reserve(m_p.source.size() * 2);
        for (const Event &ev : m_p.events) {
            if (ev.kind == Event::Text) {
                text(QStringView(m_p.source).mid(ev.begin, ev.end - ev.begin));
                continue;
            }
            const Element &e = m_p.elements[std::size_t(ev.element)];
            const QString &html = e.form->form->html;
            const qsizetype split = html.indexOf(u"{TEXT}");
            const bool link = html.startsWith(u"<a ");
            if (ev.kind == Event::Open) {
                expand(QStringView(html).left(split), e);
                m_links += link;
            } else if (ev.kind == Event::Close) {
                expand(QStringView(html).mid(split + 6), e);
                m_links -= link;
            } else {
                expand(html, e);
            }
        }
        return std::move(m_out);
    }

private:
    QString value(const Element &e, QStringView name) const
    {
        for (std::size_t i = 0; i < e.tokens.size(); ++i) {
            if (e.tokens[i] == name)
                return e.values[i];
        }
        return {};
    }

    void expand(QStringView tmpl, const Element &e)
    {
        qsizetype i = 0;
        while (i < tmpl.size()) {
            const qsizetype open = tmpl.indexOf(u'{', i);
            if (open < 0) {
                m_out += tmpl.mid(i);
                break;
            }
            const qsizetype close = tmpl.indexOf(u'}', open);
            m_out += tmpl.mid(i, open - i);
            const QStringView name = tmpl.mid(open + 1, close - open - 1);
            const QStringView content =
                QStringView(m_p.source).mid(e.contentBegin, e.contentEnd - e.contentBegin);
            if (name == u"CONTENT") {
                appendEscaped(m_out, content);
            } else if (name == u"SHORTCONTENT") {
                appendEscaped(m_out, shortened(content));
            } else if (name == u"SHORTURL") {
                appendEscaped(m_out, shortened(value(e, u"URL")));
            } else if (name == u"CODE") {
                code(content);
            } else if (name == u"LITERAL") {
                m_links += 1; // no links or smilies made inside
                text(content);
                m_links -= 1;
            } else if (name == u"BR") {
                lineBreak();
            } else if (name == u"PHP") {
                php(content);
            } else if (name == u"CITE") {
                cite(e);
            } else if (!name.isEmpty() && name[0].isDigit()) {
                appendEscaped(m_out, e.values.at(std::size_t(name.toInt() - 1)));
            } else {
                appendEscaped(m_out, value(e, name));
            }
            i = close + 1;
        }
    }

    // ---- Quote headings ----
    QString date(const QString &seconds) const
    {
        const QDateTime t = QDateTime::fromSecsSinceEpoch(seconds.toLongLong(), Qt::UTC);
        return QLocale::c().toString(t, m_d.quotes.dateFormat);
    }

    // MyBB reads "pid=" and "dateline=" out of the quote's whole value.
    static QString takeNumber(QString &author, QStringView key)
    {
        const qsizetype at = author.indexOf(QStringLiteral(" ") + key.toString() + u'=');
        if (at < 0)
            return {};
        qsizetype j = at + key.size() + 2;
        qsizetype end = j;
        while (end < author.size() && author[end] != u' ')
            ++end;
        QString number = author.mid(j, end - j);
        number.remove(u'"').remove(u'\'');
        author.remove(at, end - at);
        return number;
    }

    void cite(const Element &e)
    {
        const QuoteRules &q = m_d.quotes;
        QString author = value(e, u"AUTHOR");
        QString tmpl;
        QString dateText, link;
        if (author.isEmpty()) {
            tmpl = q.plainCite;
        } else if (!q.datedCite.isEmpty()) {
            const QString pid = takeNumber(author, u"pid");
            const QString dateline = takeNumber(author, u"dateline");
            author.remove(u'"');
            // MyBB takes the name from between the quote marks around it.
            author = author.trimmed();
            if (author.size() >= 2 && author.front() == u'\'' && author.back() == u'\'')
                author = author.mid(1, author.size() - 2);
            tmpl = dateline.isEmpty() ? q.authorCite : q.datedCite;
            dateText = dateline.isEmpty() ? QString() : date(dateline);
            link = pid;
        } else if (!value(e, u"LINK").isEmpty() && !value(e, u"DATE").isEmpty() &&
                   !q.linkedCite.isEmpty()) {
            tmpl = q.linkedCite;
            link = value(e, u"LINK");
            dateText = date(value(e, u"DATE"));
        } else {
            tmpl = q.authorCite;
        }
        tmpl.replace(QStringLiteral("{AUTHOR}"), escaped(author.trimmed()));
        tmpl.replace(QStringLiteral("{DATE}"), escaped(dateText));
        tmpl.replace(QStringLiteral("{LINK}"), escaped(link));
        m_out += tmpl;
    }

    // ---- Code ----
    void code(QStringView s)
    {
        const QString &style = m_d.text.codeStyle;
        if (style == u"mybb") {
            // MyBB drops the line breaks before the code and the blanks after it.
            while (s.startsWith(u'\n'))
                s = s.mid(1);
            while (!s.isEmpty() && s.back().isSpace())
                s.chop(1);
        }
        if (s.startsWith(u'\n'))
            s = s.mid(1);
        if (s.endsWith(u'\n'))
            s.chop(1);
        if (style == u"pre") {
            appendEscaped(m_out, s);
            return;
        }
        const bool smf = style == u"smf";
        for (qsizetype i = 0; i < s.size(); ++i) {
            const QChar c = s[i];
            if (c == u'\n') {
                m_out += m_d.text.lineBreak;
            } else if (c == u'\t') {
                m_out += smf ? u"<span style=\"white-space: pre;\">\t</span>"
                             : u"&nbsp;&nbsp;&nbsp;&nbsp;";
            } else if (c == u' ' && i + 1 < s.size() && s[i + 1] == u' ') {
                qsizetype j = i;
                while (j < s.size() && s[j] == u' ')
                    ++j;
                for (qsizetype k = 0; k < j - i; ++k)
                    m_out += (smf && k % 2) ? u" " : u"&nbsp;";
                i = j - 1;
            } else {
                appendEscaped(m_out, s.mid(i, 1));
            }
        }
    }

    // ---- Line breaks ----
    // MyBB drops the line break that follows a block element's tag.
    bool endsWithBlockTag() const
    {
        if (m_out.size() == m_droppedAt)
            return false;
        qsizetype i = m_out.size() - 1;
        while (i >= 0 && m_out[i].isSpace())
            --i;
        if (i < 0 || m_out[i] != u'>')
            return false;
        const qsizetype open = m_out.lastIndexOf(u'<', i);
        if (open < 0)
            return false;
        qsizetype b = open + 1;
        if (b < i && m_out[b] == u'/')
            ++b;
        qsizetype e = b;
        while (e < i && m_out[e].isLetterOrNumber())
            ++e;
        static const QStringList blocks = {u"div"_qs,   u"p"_qs,     u"table"_qs, u"thead"_qs,
                                           u"tbody"_qs, u"tfoot"_qs, u"tr"_qs,    u"td"_qs,
                                           u"th"_qs,    u"ul"_qs,    u"ol"_qs,    u"li"_qs,
                                           u"cite"_qs,  u"hr"_qs,    u"form"_qs,  u"blockquote"_qs};
        return blocks.contains(QStringView(m_out).mid(b, e - b).toString().toLower());
    }

    void lineBreak()
    {
        if (m_d.text.dropBreakAfterBlock && endsWithBlockTag()) {
            m_droppedAt = m_out.size();
            return;
        }
        m_out += m_d.text.lineBreak;
    }

    // ---- PHP, coloured as PHP's own highlighter does (SMF) ----
    void phpSpan(const char16_t *colour, QStringView s)
    {
        m_out += u"<span style=\"color: ";
        m_out += QStringView(colour);
        m_out += u"\">";
        for (QChar c : s) {
            if (c == u' ')
                m_out += u"&nbsp;";
            else if (c == u'\n')
                m_out += u"<br>";
            else
                appendEscaped(m_out, QStringView(&c, 1));
        }
        m_out += u"</span>";
    }

    void php(QStringView s)
    {
        static const QStringList keywords = {
            u"echo"_qs,    u"print"_qs,      u"if"_qs,           u"else"_qs,
            u"elseif"_qs,  u"while"_qs,      u"for"_qs,          u"foreach"_qs,
            u"as"_qs,      u"function"_qs,   u"return"_qs,       u"class"_qs,
            u"new"_qs,     u"public"_qs,     u"private"_qs,      u"protected"_qs,
            u"static"_qs,  u"const"_qs,      u"use"_qs,          u"namespace"_qs,
            u"extends"_qs, u"implements"_qs, u"global"_qs,       u"switch"_qs,
            u"case"_qs,    u"break"_qs,      u"continue"_qs,     u"default"_qs,
            u"do"_qs,      u"try"_qs,        u"catch"_qs,        u"throw"_qs,
            u"array"_qs,   u"isset"_qs,      u"unset"_qs,        u"empty"_qs,
            u"include"_qs, u"require"_qs,    u"include_once"_qs, u"require_once"_qs,
            u"and"_qs,     u"or"_qs,         u"instanceof"_qs,   u"list"_qs,
            u"var"_qs,     u"exit"_qs,       u"die"_qs,          u"finally"_qs,
            u"fn"_qs,      u"match"_qs,      u"yield"_qs,        u"abstract"_qs,
            u"final"_qs,   u"interface"_qs,  u"trait"_qs,        u"clone"_qs,
            u"endif"_qs,   u"endforeach"_qs, u"endwhile"_qs};
        constexpr const char16_t *kDefault = u"#0000BB", *kKeyword = u"#007700",
                                 *kString = u"#DD0000", *kComment = u"#FF8000";
        m_out += u"<span style=\"color: #000000\">";
        qsizetype i = 0;
        while (i < s.size()) {
            const QChar c = s[i];
            qsizetype j = i + 1;
            const char16_t *colour = kKeyword;
            if (s.mid(i).startsWith(u"<?php") || s.mid(i).startsWith(u"?>")) {
                j = i + (c == u'<' ? 5 : 2);
                colour = kDefault;
            } else if (c == u'"' || c == u'\'') {
                while (j < s.size() && s[j] != c)
                    j += s[j] == u'\\' ? 2 : 1;
                j = std::min(j + 1, s.size());
                colour = kString;
            } else if (s.mid(i).startsWith(u"//") || c == u'#') {
                while (j < s.size() && s[j] != u'\n')
                    ++j;
                colour = kComment;
            } else if (s.mid(i).startsWith(u"/*")) {
                const qsizetype end = s.indexOf(u"*/", i + 2);
                j = end < 0 ? s.size() : end + 2;
                colour = kComment;
            } else if (c == u'$' || c.isLetterOrNumber() || c == u'_') {
                while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == u'_'))
                    ++j;
                const bool keyword =
                    c != u'$' && keywords.contains(s.mid(i, j - i).toString().toLower());
                colour = keyword ? kKeyword : kDefault;
            } else if (c.isSpace()) {
                while (j < s.size() && s[j].isSpace())
                    ++j;
            }
            phpSpan(colour, s.mid(i, j - i));
            i = j;
        }
        m_out += u"</span>";
    }

    // ---- Text ----
    void smiley(const ForumSmiley &s)
    {
        m_out += u"<img class=\"smilies\" src=\"";
        if (m_pictures.programPictures) {
            m_out += escaped(QUrl::fromLocalFile(m_pictures.dataDir + QStringLiteral("/Smilies/") +
                                                 s.picture + QStringLiteral(".gif"))
                                 .toString(QUrl::FullyEncoded));
        } else {
            m_out += escaped(s.source);
        }
        m_out += u"\" alt=\"";
        m_out += escaped(s.code);
        m_out += u"\">";
    }

    // A smiley code at i, where the forum takes it as one (a text's start
    // follows a tag or starts the post).
    const ForumSmiley *smileyAt(QStringView s, qsizetype i) const
    {
        const SmileyRules &r = m_d.smileyRules;
        if (i > 0 &&
            ((!r.after.isEmpty() && !r.after.contains(s[i - 1])) || r.notAfter.contains(s[i - 1])))
            return nullptr;
        const Qt::CaseSensitivity cs = r.anyCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        for (const ForumSmiley &sm : m_d.smilies) {
            if (!s.mid(i).startsWith(sm.code, cs))
                continue;
            const qsizetype after = i + sm.code.size();
            if (!r.letterAfter && after < s.size() && isWordChar(s[after]))
                continue;
            return &sm;
        }
        return nullptr;
    }

    // An emoji picture as phpBB writes it: twemoji's file named by the code
    // points, joined by '-'. The program's page keeps the character.
    qsizetype emoji(QStringView s, qsizetype i)
    {
        const char32_t first = QChar::surrogateToUcs4(s[i], i + 1 < s.size() ? s[i + 1] : QChar());
        if (!s[i].isHighSurrogate() || first < 0x1F000 || first > 0x1FAFF)
            return 0;
        qsizetype j = i + 2;
        QStringList points{QString::number(first, 16)};
        while (j + 1 < s.size()) {
            // Skin tones and joined sequences belong to the same picture.
            if (s[j] == QChar(0x200D) && j + 2 < s.size() && s[j + 1].isHighSurrogate()) {
                points << QStringLiteral("200d")
                       << QString::number(QChar::surrogateToUcs4(s[j + 1], s[j + 2]), 16);
                j += 3;
            } else if (s[j].isHighSurrogate() &&
                       QChar::surrogateToUcs4(s[j], s[j + 1]) >= 0x1F3FB &&
                       QChar::surrogateToUcs4(s[j], s[j + 1]) <= 0x1F3FF) {
                points << QString::number(QChar::surrogateToUcs4(s[j], s[j + 1]), 16);
                j += 2;
            } else {
                break;
            }
        }
        if (j < s.size() && s[j] == QChar(0xFE0F))
            ++j;
        if (m_pictures.programPictures) {
            m_out += s.mid(i, j - i);
        } else {
            m_out += u"<img alt=\"";
            m_out += s.mid(i, j - i);
            m_out += u"\" class=\"emoji smilies\" draggable=\"false\" "
                     u"src=\"//cdn.jsdelivr.net/gh/twitter/twemoji@latest/assets/svg/";
            m_out += points.join(u'-');
            m_out += u".svg\">";
        }
        return j - i;
    }

    // SMF: "example.com" or "example.com/page" (a known top-level domain)
    // is a link too. Its end, or 0.
    qsizetype nakedDomainEnd(QStringView s, qsizetype i) const
    {
        static const QStringList tlds = {
            u"com"_qs, u"net"_qs, u"org"_qs, u"edu"_qs, u"gov"_qs, u"mil"_qs, u"int"_qs, u"info"_qs,
            u"biz"_qs, u"io"_qs,  u"co"_qs,  u"uk"_qs,  u"de"_qs,  u"fr"_qs,  u"us"_qs,  u"ca"_qs,
            u"au"_qs,  u"nl"_qs,  u"eu"_qs,  u"ru"_qs,  u"jp"_qs,  u"cn"_qs,  u"it"_qs,  u"es"_qs,
            u"ch"_qs,  u"se"_qs,  u"no"_qs,  u"be"_qs,  u"at"_qs,  u"dk"_qs,  u"pl"_qs,  u"br"_qs,
            u"in"_qs,  u"app"_qs, u"dev"_qs, u"xyz"_qs, u"me"_qs,  u"tv"_qs};
        if (!s[i].isLetterOrNumber())
            return 0;
        qsizetype e = i;
        while (e < s.size() && isDomainChar(s[e]))
            ++e;
        while (e > i && s[e - 1] == u'.')
            --e;
        const QStringView host = s.mid(i, e - i);
        const qsizetype dot = host.lastIndexOf(u'.');
        if (dot <= 0 || !tlds.contains(host.mid(dot + 1).toString().toLower()))
            return 0;
        if (e < s.size() && s[e] == u'/')
            return urlEnd(m_d, s, i);
        if (e < s.size() && (s[e] == u'@' || s[e] == u':'))
            return 0;
        return e;
    }

    // A long address as the forum shortens the text of a link to it.
    QString shortened(QStringView address) const
    {
        const LinkRules &r = m_d.links;
        // phpBB shows an address on the board without the board's own address.
        if (!r.boardPrefix.isEmpty() && address.size() > r.boardPrefix.size() &&
            address.startsWith(r.boardPrefix, Qt::CaseInsensitive))
            address = address.mid(r.boardPrefix.size());
        if (r.shortenOver <= 0 || address.size() <= r.shortenOver)
            return address.toString();
        return address.left(r.shortenHead).toString() + r.shortenJoint +
               address.right(10).toString();
    }

    void link(const QString &tmpl, const QString &href, QStringView shown)
    {
        const qsizetype at = tmpl.indexOf(u"{TEXT}");
        QString open = tmpl.left(at);
        open.replace(QStringLiteral("{URL}"), escaped(href));
        m_out += open;
        appendEscaped(m_out, shown);
        m_out += QStringView(tmpl).mid(at + 6);
    }

    // A bare address or e-mail address starting at i: its length, or 0.
    qsizetype autoLink(QStringView s, qsizetype i)
    {
        const LinkRules &r = m_d.links;
        if (i > 0 && (isWordChar(s[i - 1]) || s[i - 1] == u'/' || s[i - 1] == u'@'))
            return 0;
        // MyBB links what follows a blank, a bracket or (in its HTML) a tag:
        // a text's start follows a tag.
        if (r.spaceBeforeBare && i > 0 && !s[i - 1].isSpace() && s[i - 1] != u'(' &&
            s[i - 1] != u')' && s[i - 1] != u'[')
            return 0;
        if (r.autoLink) {
            qsizetype scheme = schemeLength(s, i, r.schemes);
            const bool www = !scheme && s.mid(i, 4).compare(u"www.", Qt::CaseInsensitive) == 0;
            if (scheme || www) {
                const qsizetype end = urlEnd(m_d, s, i);
                if (end > i + (www ? 4 : scheme)) {
                    const QStringView address = s.mid(i, end - i);
                    QString href = (www ? r.wwwPrefix : QString()) + address.toString();
                    href.replace(u'[', QStringLiteral("%5B")).replace(u']', QStringLiteral("%5D"));
                    link(r.linkHtml, href, shortened(address));
                    return end - i;
                }
            }
        }
        if (r.nakedDomains && !(i > 0 && (s[i - 1] == u'-' || s[i - 1] == u':'))) {
            if (const qsizetype end = nakedDomainEnd(s, i)) {
                const QStringView address = s.mid(i, end - i);
                link(r.linkHtml, QStringLiteral("//") + address.toString(), address);
                return end - i;
            }
        }
        if (r.autoEmail && isEmailLocal(s[i])) {
            const qsizetype end = emailEnd(s, i);
            if (end > 0) {
                const QStringView address = s.mid(i, end - i);
                link(r.emailHtml, QStringLiteral("mailto:") + address.toString(), address);
                return end - i;
            }
        }
        return 0;
    }

    // Where the next bare address could start at or after `from`: before
    // "://", at "www." or before '@' (found by search, not letter by letter).
    // The next place of a pattern at or after `from`, searched again only
    // once the last place found is passed: every text is searched once.
    struct Search
    {
        qsizetype at = -2; // -2: not searched yet, -1: none left
    };
    template <typename Find> static qsizetype next(Search &cache, qsizetype from, Find find)
    {
        if (cache.at == -1 || (cache.at >= from))
            return cache.at;
        cache.at = find(from);
        return cache.at;
    }

    qsizetype nextLinkStart(QStringView s, qsizetype from)
    {
        const LinkRules &r = m_d.links;
        qsizetype best = s.size();
        auto consider = [&](Search &cache, auto find, auto startOf) {
            for (qsizetype k = next(cache, from, find); k >= 0 && k < best;
                 k = next(cache, k + 1, find)) {
                const qsizetype start = startOf(k);
                if (start >= 0) {
                    best = std::min(best, start);
                    return;
                }
            }
        };
        // The start of the word that ends at k, when there is one.
        auto backOver = [&](qsizetype k, bool (*part)(QChar)) -> qsizetype {
            qsizetype start = k;
            while (start > from && part(s[start - 1]))
                --start;
            return start < k ? start : -1;
        };
        if (r.autoLink) {
            consider(
                m_scheme, [&](qsizetype f) { return s.indexOf(u"://", f); },
                [&](qsizetype k) { return backOver(k, [](QChar c) { return c.isLetter(); }); });
            consider(
                m_www, [&](qsizetype f) { return s.indexOf(u"www.", f, Qt::CaseInsensitive); },
                [&](qsizetype k) { return k; });
        }
        if (r.nakedDomains) {
            consider(
                m_dot, [&](qsizetype f) { return s.indexOf(u'.', f); },
                [&](qsizetype k) {
                    return k + 1 < s.size() && s[k + 1].isLetter() ? backOver(k, isDomainChar) : -1;
                });
        }
        if (r.autoEmail) {
            consider(
                m_at, [&](qsizetype f) { return s.indexOf(u'@', f); },
                [&](qsizetype k) { return backOver(k, isEmailLocal); });
        }
        return best;
    }

    bool isSpecial(QChar c) const
    {
        switch (c.unicode()) {
        case '\n':
        case '&':
        case '<':
        case '>':
        case '"':
            return true;
        case ' ':
        case '\t':
            return m_d.text.spacesAsNbsp;
        default:
            return (m_d.text.emoji && c.isHighSurrogate()) || m_smileyStarts.contains(c);
        }
    }

    void text(QStringView s)
    {
        const TextRules &t = m_d.text;
        if (m_smileyStarts.isEmpty()) {
            for (const ForumSmiley &sm : m_d.smilies)
                m_smileyStarts += m_d.smileyRules.anyCase
                                      ? sm.code.left(1).toLower() + sm.code.left(1).toUpper()
                                      : sm.code.left(1);
        }
        m_scheme = m_www = m_dot = m_at = Search();
        qsizetype link = m_links == 0 ? nextLinkStart(s, 0) : s.size();
        qsizetype i = 0;
        while (i < s.size()) {
            // Plain letters go across as one run.
            qsizetype j = i;
            while (j < link && !isSpecial(s[j]))
                ++j;
            m_out += s.mid(i, j - i);
            i = j;
            if (i >= s.size())
                break;
            const QChar c = s[i];
            if (i == link) {
                const qsizetype n = autoLink(s, i);
                link = nextLinkStart(s, i + std::max<qsizetype>(n, 1));
                if (n > 0) {
                    i += n;
                    continue;
                }
                if (!isSpecial(c)) {
                    m_out += c;
                    ++i;
                    continue;
                }
            }
            if (c == u'\n') {
                lineBreak();
            } else if (t.spacesAsNbsp && c == u'\t') {
                m_out += u"&nbsp;&nbsp;&nbsp;";
            } else if (t.spacesAsNbsp && c == u' ') {
                qsizetype e = i;
                while (e < s.size() && s[e] == u' ')
                    ++e;
                // SMF keeps a run: every other space becomes a no-break space.
                for (qsizetype k = 0; k < e - i; ++k)
                    m_out += (k % 2 || e - i == 1) ? u" " : u"&nbsp;";
                i = e;
                continue;
            } else if (c == u'&' || c == u'<' || c == u'>' || c == u'"') {
                const qsizetype before = m_out.size();
                appendEscaped(m_out, s.mid(i, 12), t.keepNumericRefs);
                // Only the '&' and what a kept reference took.
                QStringView written = QStringView(m_out).mid(before);
                if (written.startsWith(u"&#") && t.keepNumericRefs && c == u'&') {
                    const qsizetype semi = written.indexOf(u';');
                    m_out.truncate(before + semi + 1);
                    i += semi + 1;
                    continue;
                }
                m_out.truncate(before);
                appendEscaped(m_out, s.mid(i, 1));
            } else if (const ForumSmiley *sm = m_links == 0 ? smileyAt(s, i) : nullptr) {
                smiley(*sm);
                i += sm->code.size();
                continue;
            } else if (const qsizetype n = m_links == 0 && t.emoji ? emoji(s, i) : 0) {
                i += n;
                continue;
            } else {
                m_out += c;
            }
            ++i;
        }
    }

    const Dialect &m_d;
    const ParsedPost &m_p;
    const PictureSource &m_pictures;
    QString m_out;
    int m_links = 0;
    qsizetype m_droppedAt = -1;
    QString m_smileyStarts;              // the first characters of the smiley codes
    Search m_scheme, m_www, m_dot, m_at; // where bare addresses may start in the text
};

} // namespace

QString writeForumHtml(const Dialect &dialect, const ParsedPost &post,
                       const PictureSource &pictures)
{
    return Writer(dialect, post, pictures).run();
}

} // namespace quorvane
