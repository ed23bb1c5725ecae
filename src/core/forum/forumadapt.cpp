// Adapting a post for a forum: the writer's tags read leniently (as the
// writer meant them), then written back in the forms the forum's own parser
// accepts. Tags that already suit the forum are copied as written, so a post
// that shows right there is left alone.

#include "forum/forumadapt.h"

#include "forum/bbcodeparser.h"
#include "forum/writertags.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace quorvane {

namespace {

using Kind = TagKind;
using Tag = WriterTag;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Sizes as a percentage of the normal size, and the forum's nearest value.
constexpr std::array<int, 7> kChooserPercent = {63, 81, 100, 113, 150, 200, 300};
constexpr std::array<const char *, 7> kSizeNames = {"xx-small", "x-small", "small",   "medium",
                                                    "large",    "x-large", "xx-large"};
constexpr std::array<int, 7> kNamePercent = {56, 63, 81, 100, 113, 150, 200};

std::optional<double> percentOf(const QString &v)
{
    const auto unit = [&](QStringView suffix, double factor) -> std::optional<double> {
        if (!v.endsWith(suffix))
            return std::nullopt;
        bool ok = false;
        const double n = v.chopped(suffix.size()).toDouble(&ok);
        return ok && n > 0 ? std::optional<double>(n * factor) : std::nullopt;
    };
    for (std::size_t k = 0; k < kSizeNames.size(); ++k) {
        if (v == QLatin1String(kSizeNames[k]))
            return kNamePercent[k];
    }
    if (auto p = unit(u"pt", 100.0 / 12))
        return p;
    if (auto p = unit(u"px", 100.0 / 16))
        return p;
    if (auto p = unit(u"em", 100.0))
        return p;
    return unit(u"%", 1.0);
}

} // namespace

int chooserSizePercent(int value)
{
    return kChooserPercent[std::size_t(std::clamp(value, 1, 7) - 1)];
}

namespace {

class Adapter
{
public:
    Adapter(const Dialect &d, QStringView s)
        : m_d(d), m_s(s), m_forumName(forumDisplayName(d.forum)), m_smf(d.text.blockClosesInline),
          m_firstPair(d.repair == Repair::FirstPair)
    {}

    AdaptedPost run()
    {
        m_tags = findWriterTags(m_s);
        m_skip.assign(m_tags.size(), false);
        m_closed.assign(m_tags.size(), false);
        m_dropClose.assign(m_tags.size(), false);
        markClosedOpens();
        m_out.reserve(m_s.size() + m_s.size() / 16 + 16);
        // Closes left at the end go before the trailing blank characters.
        qsizetype tail = m_s.size();
        while (tail > 0 && isBlank(m_s[tail - 1]))
            --tail;
        for (std::size_t i = 0; i < m_tags.size(); ++i) {
            if (m_skip[i])
                continue;
            const Tag &t = m_tags[i];
            text(m_cursor, t.begin);
            m_cursor = t.end;
            if (t.close)
                closeTag(i);
            else
                openTag(i);
        }
        text(m_cursor, std::max(m_cursor, tail));
        while (!m_stack.empty()) {
            Element e = std::move(m_stack.back());
            m_stack.pop_back();
            const bool written = !e.silent && !e.pending;
            writeClose(e, {});
            if (written)
                note(e.line, u"%1 closed at the end of the post"_qs.arg(e.written));
        }
        m_out += m_s.mid(std::max(m_cursor, tail));
        return {std::move(m_out), std::move(m_changes)};
    }

private:
    struct Element
    {
        QString name;    // the writer's tag name, lower case
        QString written; // the writer's opening tag, for messages
        QString open, close;
        Kind kind = Kind::Inline;
        bool silent = false;    // removed: its tags are not written
        bool kept = false;      // written as the writer wrote it
        bool autoClose = false; // the writer never closes it
        bool hasItem = false;   // a list: an item has started
        QString itemName;       // a list: the open item's tag, or empty
        bool pending = false;   // opened again, not yet written
        bool suspended = false; // MyBB: closed while a tag of its name is open inside
        int suspendedBy = -1;
        int id = 0;
        int line = 1;
        QStringList names; // MyBB: the forum tags it writes
        QString cite;      // a flattened quote: its heading, written as text
    };

    // ---- Looking ahead ----

    // Which opens the writer closes later (counting same-name nesting); the
    // tags inside code are its text.
    void markClosedOpens()
    {
        for (std::size_t i = 0; i < m_tags.size(); ++i) {
            const Tag &t = m_tags[i];
            if (t.close || t.kind != Kind::Literal)
                continue;
            std::size_t c = i + 1;
            while (c < m_tags.size() && !(m_tags[c].close && m_tags[c].name == t.name))
                m_skip[c++] = true;
            i = c;
        }
        std::vector<int> pending(writerTagNames(), 0);
        for (std::size_t i = m_tags.size(); i-- > 0;) {
            const Tag &t = m_tags[i];
            if (m_skip[i] || t.kind == Kind::Item || t.kind == Kind::Single ||
                t.kind == Kind::Literal)
                continue;
            int &count = pending[std::size_t(t.word)];
            if (t.close) {
                ++count;
            } else if (count > 0) {
                --count;
                m_closed[i] = true;
            }
        }
    }

    // ---- The forum's verdict on a tag ----

    bool accepts(const QString &open, const QString &close, const QString &content = u"x"_qs)
    {
        QString post = open + content + close;
        const auto cached = m_accepted.constFind(post);
        if (cached != m_accepted.constEnd())
            return *cached;
        const ParsedPost parsed = parseForumPost(m_d, post);
        // Read as written (SMF adds a missing list around a stray close) and
        // nothing shown as text.
        bool ok = parsed.source == post && !parsed.events.empty() &&
                  parsed.events.front().kind != Event::Text;
        for (std::size_t k = 0; ok && k < parsed.events.size(); ++k) {
            const Event &ev = parsed.events[k];
            ok = ev.kind != Event::Text ||
                 !QStringView(parsed.source).mid(ev.begin, ev.end - ev.begin).contains(u'[');
        }
        m_accepted.insert(std::move(post), ok);
        return ok;
    }
    bool has(QStringView name) const { return m_d.tag(name) != nullptr; }

    // ---- Writing ----

    int lineAt(qsizetype pos)
    {
        if (pos < m_linePos) {
            m_linePos = 0;
            m_line = 1;
        }
        m_line += int(m_s.mid(m_linePos, pos - m_linePos).count(u'\n'));
        m_linePos = pos;
        return m_line;
    }
    void note(int line, QString description)
    {
        m_changes.push_back({line, std::move(description)});
    }
    QString writtenText(const Tag &t) const { return m_s.mid(t.begin, t.end - t.begin).toString(); }

    // Text between tags: an unclosed bold ends with its paragraph; SMF ends
    // a list at text before its first item.
    void text(qsizetype from, qsizetype to)
    {
        while (from < to) {
            if (autoCloseInReach()) {
                const qsizetype p = paragraphEnd(from, to);
                if (p >= 0) {
                    plain(from, p);
                    closeParagraph(p);
                    from = p;
                    continue;
                }
            }
            plain(from, to);
            return;
        }
    }
    void plain(qsizetype from, qsizetype to)
    {
        qsizetype first = from;
        while (first < to && isBlank(m_s[first]))
            ++first;
        if (first < to) {
            startItemIfNeeded(first);
            flushPending();
            // A block removed between two words must not join them.
            if (m_separate && first == from && !m_out.isEmpty() && !isBlank(m_out.back()))
                m_out += u'\n';
            m_separate = false;
        }
        m_out += m_s.mid(from, to - from);
    }
    // A removed block, rule, item or cell stood here.
    void removedBoundary(const Element *e = nullptr)
    {
        if (!e || (e->silent && e->kind != Kind::Inline))
            m_separate = true;
    }
    static qsizetype paragraphEndIn(QStringView s, qsizetype from, qsizetype to)
    {
        for (qsizetype i = s.indexOf(u'\n', from); i >= 0 && i < to; i = s.indexOf(u'\n', i + 1)) {
            qsizetype j = i + 1;
            while (j < to && (s[j] == u' ' || s[j] == u'\t' || s[j] == u'\r'))
                ++j;
            if (j < to && s[j] == u'\n')
                return i;
        }
        return -1;
    }
    qsizetype paragraphEnd(qsizetype from, qsizetype to) const
    {
        return paragraphEndIn(m_s, from, to);
    }
    // An unclosed inline tag above the innermost block.
    bool autoCloseInReach() const
    {
        for (auto it = m_stack.rbegin(); it != m_stack.rend() && it->kind == Kind::Inline; ++it) {
            if (it->autoClose)
                return true;
        }
        return false;
    }
    void closeParagraph(qsizetype at)
    {
        std::size_t lowest = m_stack.size();
        for (std::size_t k = m_stack.size(); k-- > 0 && m_stack[k].kind == Kind::Inline;) {
            if (m_stack[k].autoClose)
                lowest = k;
        }
        const int line = lineAt(at);
        std::vector<Element> reopen;
        while (m_stack.size() > lowest) {
            Element e = std::move(m_stack.back());
            m_stack.pop_back();
            writeClose(e, {});
            if (e.autoClose) {
                if (!e.silent)
                    note(line, u"%1 closed at the end of its paragraph"_qs.arg(e.written));
            } else {
                reopen.push_back(std::move(e));
            }
        }
        for (auto it = reopen.rbegin(); it != reopen.rend(); ++it)
            push(std::move(*it), true);
    }

    void writeClose(Element &e, const QString &asWritten)
    {
        removedBoundary(&e);
        if (e.pending) {
            e.pending = false;
            return;
        }
        if (!e.silent && !e.suspended)
            m_out += e.kept && !asWritten.isEmpty() ? asWritten : e.close;
        // MyBB: what this tag closed for its time comes back, in its place.
        for (std::size_t k = 0; k < m_stack.size(); ++k) {
            Element &x = m_stack[k];
            if (x.suspendedBy == e.id) {
                x.suspended = false;
                x.suspendedBy = -1;
                writeAbove(k, false);
                m_out += x.open;
                writeAbove(k, true);
            }
        }
    }
    // The closes (top down) or the opens (bottom up) of the written tags above k.
    void writeAbove(std::size_t k, bool opens)
    {
        const auto written = [](const Element &x) {
            return !x.silent && !x.suspended && !x.pending;
        };
        if (opens) {
            for (std::size_t j = k + 1; j < m_stack.size(); ++j) {
                if (written(m_stack[j]))
                    m_out += m_stack[j].open;
            }
            return;
        }
        for (std::size_t j = m_stack.size(); j-- > k + 1;) {
            if (written(m_stack[j]))
                m_out += m_stack[j].close;
        }
    }

    // SMF: a list holds items; text or a tag before the first item would end it.
    void startItemIfNeeded(qsizetype at)
    {
        if (!m_d.text.textEndsList)
            return;
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) {
            if (it->silent || it->pending)
                continue;
            if (it->kind != Kind::List || it->hasItem)
                return;
            m_out += u"[*]"_qs;
            it->hasItem = true;
            it->itemName = u"*"_qs;
            note(lineAt(at), u"an item started where the list's text begins: %1 ends a list at "
                             u"text outside an item"_qs.arg(m_forumName));
            return;
        }
    }

    // SMF: a block ends bold, colour, ... around it; they are closed before
    // it and opened again after it.
    template <typename F>
    void aroundBlock(int line, const QString &block, F write, bool stackPaired = false)
    {
        // MyBB pairs quotes and lists by nesting, the rest by the first
        // close: nothing else stays open across them.
        const bool mybb = m_firstPair && stackPaired;
        const auto steps = [&](const Element &e) {
            return e.kind == Kind::Inline || e.silent || (mybb && e.kind == Kind::Block);
        };
        std::vector<Element> inline_;
        if (!m_smf && !mybb)
            flushPending();
        else {
            while (!m_stack.empty() && steps(m_stack.back())) {
                Element e = std::move(m_stack.back());
                m_stack.pop_back();
                writeClose(e, {});
                if (!e.silent && !e.pending)
                    note(line, u"%1 closed before %2 and opened again inside it: %3 would "
                               u"not keep it open across it"_qs.arg(e.written, block, m_forumName));
                inline_.push_back(std::move(e));
            }
        }
        write();
        for (auto it = inline_.rbegin(); it != inline_.rend(); ++it)
            push(std::move(*it), true);
    }

    // A tag opened again after a repair is written when text or a tag comes
    // for it: none is left empty, and SMF gets its item first.
    void push(Element e, bool quiet)
    {
        if (quiet) {
            e.pending = !e.silent;
            m_stack.push_back(std::move(e));
            return;
        }
        if (!e.silent)
            flushPending();
        removedBoundary(&e);
        if (!e.cite.isEmpty()) {
            flushPending();
            if (!m_out.isEmpty() && !isBlank(m_out.back()))
                m_out += u'\n';
            m_out += e.cite;
            m_separate = false;
        }
        m_stack.push_back(std::move(e));
        write(m_stack.back(), false);
    }
    void flushPending()
    {
        for (Element &e : m_stack) {
            if (e.pending) {
                e.pending = false;
                write(e, true);
            }
        }
    }
    void write(Element &e, bool quiet)
    {
        if (m_firstPair && (e.kind == Kind::Inline || e.kind == Kind::Block) && !e.silent) {
            if (e.names.isEmpty()) {
                for (const Tag &t : findWriterTags(e.open))
                    e.names << t.name;
            }
            for (std::size_t k = 0; k < m_stack.size(); ++k) {
                Element &x = m_stack[k];
                if (&x == &e || x.silent || x.suspended || x.pending ||
                    (x.kind != Kind::Inline && x.kind != Kind::Block))
                    continue;
                if (std::none_of(e.names.begin(), e.names.end(),
                                 [&](const QString &n) { return x.names.contains(n); }))
                    continue;
                if (x.open == e.open) {
                    e.silent = true;
                    if (!quiet)
                        note(e.line, u"%1 inside the same tag removed: %2 would pair it "
                                     u"wrongly"_qs.arg(e.written, m_forumName));
                    break;
                }
                // e is not yet written: the tags above x stay, x steps out.
                e.pending = true;
                writeAbove(k, false);
                m_out += x.close;
                x.suspended = true;
                x.suspendedBy = e.id;
                writeAbove(k, true);
                e.pending = false;
                if (!quiet)
                    note(e.line, u"%1 closed while %2 is open inside it: %3 would pair them "
                                 u"wrongly"_qs.arg(x.written, e.written, m_forumName));
            }
        }
        if (!e.silent)
            m_out += e.open;
    }

    // ---- Closing tags ----

    void closeTag(std::size_t i)
    {
        const Tag &t = m_tags[i];
        const int line = lineAt(t.begin);
        const QString written = writtenText(t);
        if (m_dropClose[i])
            return;
        if (t.kind == Kind::Item) {
            closeItem(t, line, written);
            return;
        }
        int k = int(m_stack.size()) - 1;
        while (k >= 0 && m_stack[std::size_t(k)].name != t.name)
            --k;
        if (k < 0 || t.kind == Kind::Single) {
            note(line, u"%1 with no opening removed"_qs.arg(written));
            return;
        }
        std::vector<Element> reopen;
        while (int(m_stack.size()) > k + 1) {
            Element e = std::move(m_stack.back());
            m_stack.pop_back();
            writeClose(e, {});
            if (e.kind == Kind::Inline && !e.autoClose) {
                if (!e.silent)
                    note(line, u"%1 closed and opened again around %2: the tags crossed"_qs.arg(
                                   e.written, written));
                reopen.push_back(std::move(e));
            } else if (!e.silent) {
                note(line, u"%1 closed at %2"_qs.arg(e.written, written));
            }
        }
        Element e = std::move(m_stack.back());
        m_stack.pop_back();
        writeClose(e, written);
        for (auto it = reopen.rbegin(); it != reopen.rend(); ++it)
            push(std::move(*it), true);
    }

    // The list an item belongs to: the innermost one with only inline tags above it.
    int listInReach() const
    {
        for (int k = int(m_stack.size()) - 1; k >= 0; --k) {
            const Element &e = m_stack[std::size_t(k)];
            if (e.silent || e.kind == Kind::Inline)
                continue;
            return e.kind == Kind::List ? k : -1;
        }
        return -1;
    }
    // Closes the inline tags above the list (an item ends them), writes
    // `write`, then opens again those the writer closes later.
    template <typename F> void atItemBoundary(std::size_t list, int line, F write)
    {
        std::vector<Element> reopen;
        while (m_stack.size() > list + 1) {
            Element e = std::move(m_stack.back());
            m_stack.pop_back();
            writeClose(e, {});
            if (!e.autoClose)
                reopen.push_back(std::move(e));
            else if (!e.silent)
                note(line, u"%1 closed at the end of its list item"_qs.arg(e.written));
        }
        write(m_stack[list]);
        for (auto it = reopen.rbegin(); it != reopen.rend(); ++it)
            push(std::move(*it), true);
    }

    void openItem(const Tag &t, int line)
    {
        const QString written = writtenText(t);
        const int list = listInReach();
        if (list < 0) {
            note(line, u"%1 outside a list removed"_qs.arg(written));
            removedBoundary();
            return;
        }
        const bool li = t.name == u"li" && has(u"li");
        const QString item = li ? u"[li]"_qs : u"[*]"_qs;
        if (written.compare(item, Qt::CaseInsensitive) != 0)
            note(line, u"%1 written as %2"_qs.arg(written, item));
        atItemBoundary(std::size_t(list), line, [&](Element &l) {
            m_out += written.compare(item, Qt::CaseInsensitive) == 0 ? written : item;
            l.hasItem = true;
            l.itemName = li ? u"li"_qs : u"*"_qs;
        });
    }

    void closeItem(const Tag &t, int line, const QString &written)
    {
        const int list = listInReach();
        const QString name = t.name == u"li" && has(u"li") ? u"li"_qs : u"*"_qs;
        const TagDefinition *def = m_d.tag(name);
        const bool closable =
            def && !def->forms.empty() && def->forms.front().usage.contains(u"[/"_qs);
        if (list < 0 || !closable || m_stack[std::size_t(list)].itemName != name) {
            note(line, u"%1 removed: %2 shows it as text here"_qs.arg(written, m_forumName));
            return;
        }
        const QString close = u"[/"_qs + name + u']';
        if (written.compare(close, Qt::CaseInsensitive) != 0)
            note(line, u"%1 written as %2"_qs.arg(written, close));
        atItemBoundary(std::size_t(list), line, [&](Element &l) {
            m_out += written.compare(close, Qt::CaseInsensitive) == 0 ? written : close;
            l.itemName.clear();
            l.hasItem = false; // what follows needs an item again
        });
    }

    // ---- Opening tags ----

    void openTag(std::size_t i)
    {
        const Tag &t = m_tags[i];
        const int line = lineAt(t.begin);
        switch (t.kind) {
        case Kind::Item:
            openItem(t, line);
            return;
        case Kind::Literal:
            startItemIfNeeded(t.begin);
            literal(i, line);
            return;
        case Kind::Value:
            startItemIfNeeded(t.begin);
            value(i, line);
            return;
        case Kind::Single:
            single(t, line);
            return;
        default:
            break;
        }
        Element e = element(t, line);
        e.autoClose = !m_closed[i];
        if (!e.silent && e.kind != Kind::List)
            startItemIfNeeded(t.begin);
        if (e.kind == Kind::Inline || e.silent) {
            push(std::move(e), false);
            return;
        }
        const QString written = e.written;
        const bool stackPaired = e.kind == Kind::Quote || e.kind == Kind::List;
        aroundBlock(
            line, written, [&] { push(std::move(e), false); }, stackPaired);
    }

    Element element(const Tag &t, int line)
    {
        Element e;
        e.name = t.name;
        e.kind = t.kind;
        e.written = writtenText(t);
        e.line = line;
        e.id = ++m_ids;
        const QString attrs = m_s.mid(t.attrBegin, t.attrEnd - t.attrBegin).toString();
        const QString asName = u'[' + m_s.mid(t.begin + 1, t.attrBegin - t.begin - 1).toString();
        const QString writtenClose = u"[/"_qs + asName.mid(1) + u']';
        auto keep = [&] {
            e.open = e.written;
            e.close = writtenClose;
            e.kept = true;
        };
        auto become = [&](const QString &open, const QString &close, const QString &why) {
            e.open = open;
            e.close = close;
            if (open != e.written)
                note(line, why.isEmpty() ? u"%1 written as %2"_qs.arg(e.written, open)
                                         : why.arg(e.written, open, m_forumName));
        };
        auto remove = [&](const QString &why) {
            e.silent = true;
            note(line, why.arg(e.written, m_forumName));
        };
        const QString lacks = u"%1 removed, its text kept: %2 has no such tag"_qs;
        const QString refuses = u"%1 removed, its text kept: %2 refuses its value"_qs;
        const QString &n = t.name;

        if (n == u"quote") {
            quote(e, attrs, keep, become, remove);
            return e;
        }
        if (n == u"list") {
            list(e, attrs, keep, become);
            return e;
        }
        if (n == u"size") {
            size(e, attrs, keep, become, remove);
            return e;
        }
        if (n == u"highlight") {
            become(u"[b][color=#FF0000]"_qs, u"[/color][/b]"_qs,
                   u"%1 written as %2, the nearest %3 has"_qs);
            return e;
        }
        if (n == u"url" || n == u"iurl" || n == u"email") {
            const QString target = n == u"iurl" && !has(n) ? u"url"_qs : n;
            const QString address = tagAttribute(attrs);
            const QString fixed = n == u"email" ? address : withScheme(address);
            const QString open = u'[' + target + u'=' + fixed + u']';
            const QString close = u"[/"_qs + target + u']';
            if (fixed == address && target == n && accepts(e.written, writtenClose))
                keep();
            else if (accepts(open, close))
                become(open, close,
                       fixed != address
                           ? u"%1 written as %2: the address given its scheme for %3"_qs
                           : QString());
            else
                remove(refuses);
            return e;
        }
        QString target = n;
        if (n == u"strike" || n == u"del")
            target = u"s"_qs;
        else if (n == u"th")
            target = u"td"_qs;
        else if ((n == u"left" || n == u"center" || n == u"right" || n == u"justify") && !has(n) &&
                 has(u"align"))
            target = u"align="_qs + n;
        else if (n == u"align" && !has(n))
            target = tagAttribute(attrs).toLower();
        const QString tagName = target.section(u'=', 0, 0);
        if (tagName.isEmpty() || !has(tagName)) {
            remove(lacks);
            return e;
        }
        if (target == n && accepts(e.written, writtenClose)) {
            keep();
            return e;
        }
        const QString open = u'[' + target + u']';
        const QString close = u"[/"_qs + tagName + u']';
        if (target != n && accepts(open, close))
            become(open, close, u"%1 written as %2, the nearest %3 has"_qs);
        else if (target == n && (n == u"b" || n == u"i" || n == u"u" || n == u"s") &&
                 accepts(open, close))
            become(open, close, {});
        else
            remove(refuses);
        return e;
    }

    template <typename Keep, typename Become, typename Remove>
    void quote(Element &e, const QString &attrs, Keep keep, Become become, Remove remove)
    {
        const int depth = int(std::count_if(m_stack.begin(), m_stack.end(), [](const Element &x) {
            return x.kind == Kind::Quote && !x.silent;
        }));
        QString author = tagAttribute(attrs);
        if (author.isEmpty())
            author = tagAttribute(attrs, u"author");
        author.remove(u'"');
        if (m_d.quotes.maxDepth > 0 && depth >= m_d.quotes.maxDepth) {
            e.silent = true;
            // Its heading stays as a line of text: "Alice wrote:".
            if (!author.trimmed().isEmpty()) {
                static const QRegularExpression html(u"<[^>]*>"_qs);
                e.cite = QString(m_d.quotes.authorCite)
                             .remove(html)
                             .replace(u"{AUTHOR}"_qs, author.trimmed()) +
                         u'\n';
            }
            note(e.line, u"a quote nested deeper than %1 flattened, its text kept: %2 removes "
                         u"such quotes"_qs.arg(QString::number(m_d.quotes.maxDepth), m_forumName));
            return;
        }
        const QString close = u"[/quote]"_qs;
        if (accepts(e.written, close)) {
            keep();
            return;
        }
        const QString open = author.trimmed().isEmpty()  ? u"[quote]"_qs
                             : m_d.forum == Forum::PhpBB ? u"[quote=\"%1\"]"_qs.arg(author)
                                                         : u"[quote=%1]"_qs.arg(author);
        if (accepts(open, close))
            become(open, close, {});
        else if (accepts(u"[quote]"_qs, close))
            become(u"[quote]"_qs, close, {});
        else
            remove(u"%1 removed, its text kept: %2 refuses it"_qs);
    }

    template <typename Keep, typename Become>
    void list(Element &e, const QString &attrs, Keep keep, Become become)
    {
        const QString close = u"[/list]"_qs;
        const QString item = u"[*]x"_qs;
        if (accepts(e.written, close, item)) {
            keep();
            return;
        }
        static const QHash<QString, QString> byMark = {{u"1"_qs, u"decimal"_qs},
                                                       {u"a"_qs, u"lower-alpha"_qs},
                                                       {u"A"_qs, u"upper-alpha"_qs},
                                                       {u"i"_qs, u"lower-roman"_qs},
                                                       {u"I"_qs, u"upper-roman"_qs}};
        QString type = tagAttribute(attrs);
        if (type.isEmpty())
            type = tagAttribute(attrs, u"type");
        type = byMark.value(type, type.toLower());
        QStringList candidates;
        if (!type.isEmpty()) {
            const QString mark = byMark.key(type);
            if (m_d.forum == Forum::Smf)
                candidates << u"[list type=%1]"_qs.arg(type);
            else if (!mark.isEmpty())
                candidates << u"[list=%1]"_qs.arg(mark);
            else
                candidates << u"[list=%1]"_qs.arg(type);
        }
        candidates << u"[list]"_qs;
        for (const QString &open : candidates) {
            if (accepts(open, close, item)) {
                become(open, close, {});
                return;
            }
        }
        keep();
    }

    template <typename Keep, typename Become, typename Remove>
    void size(Element &e, const QString &attrs, Keep keep, Become become, Remove remove)
    {
        const QString close = u"[/size]"_qs;
        const QString v = tagAttribute(attrs).trimmed().toLower();
        bool number = false;
        const int n = v.toInt(&number);
        const bool chooser = number && n >= 1 && n <= 7 && v.size() == 1;
        if (!chooser && accepts(e.written, close)) {
            keep();
            return;
        }
        std::optional<double> percent;
        if (chooser)
            percent = chooserSizePercent(n);
        else if (number)
            // Past the chooser's 1 to 7: points when small, else a percentage.
            percent = m_d.sizes.numberUnit == u"%" || n >= 30 ? double(n) : n * 100.0 / 12;
        else
            percent = percentOf(v);
        if (!percent) {
            remove(u"%1 removed, its text kept: %2 refuses its value"_qs);
            return;
        }
        QString value;
        if (m_d.sizes.numberUnit == u"%") {
            // Above the chooser's 1 to 7, so that adapting again leaves it.
            value = QString::number(std::clamp(int(std::lround(*percent)), 8, m_d.sizes.max));
        } else {
            // The nearest of the names, or 36 points for the largest.
            std::size_t best = 0;
            for (std::size_t k = 1; k < kNamePercent.size(); ++k) {
                if (std::abs(kNamePercent[k] - *percent) < std::abs(kNamePercent[best] - *percent))
                    best = k;
            }
            value = QLatin1String(kSizeNames[best]);
            if (*percent >= 250)
                value = m_d.sizes.numberUnit == u"pt" ? u"36"_qs : u"36pt"_qs;
        }
        const QString open = u"[size=%1]"_qs.arg(value);
        const QString why = m_d.sizes.numberUnit == u"%"
                                ? u"%1 written as %2: %3 reads sizes as percentages"_qs
                                : u"%1 written as %2: the size meant, in the values %3 reads"_qs;
        if (open == e.written)
            keep();
        else if (accepts(open, close))
            become(open, close, why);
        else
            remove(u"%1 removed, its text kept: %2 refuses its value"_qs);
    }

    // [code], [php], [html], [nobbc]: the text inside is copied as it is.
    void literal(std::size_t i, int line)
    {
        const Tag &t = m_tags[i];
        std::size_t c = i + 1;
        while (c < m_tags.size() && !(m_tags[c].close && m_tags[c].name == t.name))
            ++c;
        const qsizetype contentEnd = c < m_tags.size() ? m_tags[c].begin : m_s.size();
        const QString written = writtenText(t);
        const QString writtenClose = c < m_tags.size() ? writtenText(m_tags[c]) : QString();
        QStringList candidates;
        const QString &n = t.name;
        if (n == u"php" || n == u"html")
            candidates << u'[' + n + u']' << u"[code=%1]"_qs.arg(n);
        else if (n == u"nobbc" || n == u"noparse")
            candidates << u"[nobbc]"_qs;
        candidates << u"[code]"_qs;
        QString content = m_s.mid(t.end, contentEnd - t.end).toString();
        // SMF counts list tags everywhere but in [code], and [code] inside
        // [nobbc] starts a code part: such text goes into [code].
        static const QRegularExpression listTag(u"\\[/?(?:list|code|php|nobbc)[\\] =]"_qs,
                                                QRegularExpression::CaseInsensitiveOption);
        const bool intoCode = m_d.text.balanceLists && n != u"code" && content.contains(listTag);
        if (intoCode)
            candidates = QStringList{u"[code]"_qs};
        QString open, close;
        if (!writtenClose.isEmpty() && !intoCode && accepts(written, writtenClose)) {
            open = written;
            close = writtenClose;
        } else {
            // The first the forum takes whose close the text does not hold.
            for (const QString &each : candidates) {
                const QString eachClose = closingTagFor(each);
                if (!accepts(each, eachClose))
                    continue;
                if (open.isEmpty()) {
                    open = each;
                    close = eachClose;
                }
                if (!content.contains(eachClose, Qt::CaseInsensitive)) {
                    open = each;
                    close = eachClose;
                    break;
                }
            }
            if (content.contains(close, Qt::CaseInsensitive)) {
                content.replace(close, close.chopped(1) + u" ]"_qs, Qt::CaseInsensitive);
                note(line, u"%1 inside the block written as %2 ] so that the block holds it"_qs.arg(
                               close, close.chopped(1)));
            }
            if (writtenClose.isEmpty())
                note(line, u"%1 closed at the end of the post"_qs.arg(written));
            if (open != written)
                note(line,
                     u"%1 written as %2, the nearest %3 has"_qs.arg(written, open, m_forumName));
        }
        if (m_d.text.removeEmptyTags && endsWithOpenOf(content, close)) {
            content += QChar(0x200B);
            note(line, u"an invisible space written before %1: %2 would take the tag before it "
                       u"and %1 as an empty pair"_qs.arg(close, m_forumName));
        }
        const auto write = [&] {
            flushPending();
            m_out += open;
            m_out += content;
            m_out += close;
        };
        // [nobbc] is no block: SMF leaves bold around it.
        if (open.startsWith(u"[nobbc"))
            write();
        else if (m_firstPair) {
            flushPending();
            besideCloses(content, write);
        } else
            aroundBlock(line, open, write);
        if (c < m_tags.size()) {
            m_cursor = m_tags[c].end;
            m_skip[c] = true;
        } else {
            m_cursor = m_s.size();
        }
    }

    // "...[code]" before "[/code]": the text ends with an open of that name.
    static bool endsWithOpenOf(const QString &content, const QString &close)
    {
        qsizetype end = content.size();
        while (end > 0 && isBlank(content[end - 1]))
            --end;
        if (end == 0 || content[end - 1] != u']')
            return false;
        const qsizetype open = content.lastIndexOf(u'[', end - 1);
        const QString name = close.mid(2).chopped(1);
        return open >= 0 &&
               QStringView(content).mid(open + 1).startsWith(name, Qt::CaseInsensitive);
    }

    // MyBB pairs an open tag with the first close of its name, even one in
    // a code block's text: the tags whose close the text holds are closed
    // around it.
    template <typename F> void besideCloses(const QString &content, F write)
    {
        besideTags(
            [&](const Element &x) {
                return std::any_of(x.names.begin(), x.names.end(), [&](const QString &name) {
                    return content.contains(u"[/"_qs + name + u']', Qt::CaseInsensitive);
                });
            },
            write);
    }
    // Closes the written inline tags and blocks from the lowest one `hit`
    // picks, writes `write`, and opens them again.
    template <typename Hit, typename F> void besideTags(Hit hit, F write)
    {
        std::size_t lowest = m_stack.size();
        for (std::size_t k = 0; k < m_stack.size(); ++k) {
            const Element &x = m_stack[k];
            if (!x.silent && !x.suspended && !x.pending &&
                (x.kind == Kind::Inline || x.kind == Kind::Block) && hit(x)) {
                lowest = k;
                break;
            }
        }
        if (lowest == m_stack.size()) {
            write();
            return;
        }
        const auto closable = [](const Element &x) {
            return !x.silent && !x.suspended && !x.pending &&
                   (x.kind == Kind::Inline || x.kind == Kind::Block);
        };
        for (std::size_t j = m_stack.size(); j-- > lowest;) {
            if (closable(m_stack[j]))
                m_out += m_stack[j].close;
        }
        write();
        for (std::size_t j = lowest; j < m_stack.size(); ++j) {
            if (closable(m_stack[j]))
                m_out += m_stack[j].open;
        }
    }

    // [url]address[/url], [img], [email], [youtube], [video]: one value inside.
    void value(std::size_t i, int line)
    {
        const Tag &t = m_tags[i];
        const QString written = writtenText(t);
        std::size_t c = i + 1;
        while (c < m_tags.size() && !(m_tags[c].close && m_tags[c].name == t.name))
            ++c;
        const qsizetype contentEnd = c < m_tags.size() ? m_tags[c].begin : -1;
        const QString content =
            contentEnd < 0 ? QString() : m_s.mid(t.end, contentEnd - t.end).toString();
        if (contentEnd < 0 || content.trimmed().isEmpty() || content.contains(u'\n') ||
            content.contains(u'[')) {
            // The text inside is read on as the post's own; the close goes.
            if (c < m_tags.size())
                m_dropClose[c] = true;
            note(line, u"%1 removed, its text kept: it holds no single address"_qs.arg(written));
            return;
        }
        const QString writtenClose = writtenText(m_tags[c]);
        QString open, close, inner = content;
        const QString &n = t.name;
        if (n == u"url" || n == u"img") {
            inner = withScheme(content);
            open = u'[' + n + u']';
            // A picture's size in the form the forum takes.
            const QString attrs = m_s.mid(t.attrBegin, t.attrEnd - t.attrBegin).toString();
            QString width = tagAttribute(attrs, u"width"), height = tagAttribute(attrs, u"height");
            if (const QString wh = tagAttribute(attrs); wh.contains(u'x'))
                width = wh.section(u'x', 0, 0), height = wh.section(u'x', 1, 1);
            if (n == u"img" && !width.isEmpty() && !height.isEmpty()) {
                for (const QString &sized : {u"[img width=%1 height=%2]"_qs.arg(width, height),
                                             u"[img=%1x%2]"_qs.arg(width, height)}) {
                    if (accepts(sized, u"[/img]"_qs, u"http://example.com/a.png"_qs)) {
                        open = sized;
                        break;
                    }
                }
            }
        } else if (n == u"email") {
            open = u"[email]"_qs;
        } else if (has(u"youtube")) {
            open = u"[youtube]"_qs;
        } else if (has(u"video")) {
            open = u"[video=youtube]"_qs;
        } else {
            open = u"[url]"_qs;
            if (!inner.contains(u"://"))
                inner = u"https://www.youtube.com/watch?v="_qs + inner.trimmed();
        }
        close = closingTagFor(open);
        flushPending();
        m_cursor = m_tags[c].end;
        m_skip[c] = true;
        QString whole;
        if (inner == content && accepts(written, writtenClose, content)) {
            whole = m_s.mid(t.begin, m_tags[c].end - t.begin).toString();
        } else if (accepts(open, close, inner)) {
            whole = open + inner + close;
            note(line,
                 inner != content && n != u"youtube" && n != u"video"
                     ? u"%1%2 written with http://"_qs.arg(written, content)
                     : u"%1 written as %2, the nearest %3 has"_qs.arg(written, open, m_forumName));
        } else {
            m_out += content;
            note(line, u"%1 removed, its text kept: %2 refuses it"_qs.arg(written, m_forumName));
            return;
        }
        // MyBB pairs an open link with the first close: one around it steps aside.
        const QString tagName = findWriterTags(whole).front().name;
        const auto write = [&] { m_out += whole; };
        if (m_firstPair)
            besideTags([&](const Element &x) { return x.names.contains(tagName); }, write);
        else
            write();
    }

    void single(const Tag &t, int line)
    {
        const QString written = writtenText(t);
        if (!has(t.name)) {
            note(line, u"%1 removed: %2 has no such tag"_qs.arg(written, m_forumName));
            removedBoundary();
            return;
        }
        startItemIfNeeded(t.begin);
        const QString open = accepts(written, {}, {}) ? written : u'[' + t.name + u']';
        if (open != written)
            note(line, u"%1 written as %2"_qs.arg(written, open));
        aroundBlock(line, open, [&] { m_out += open; });
    }

    const Dialect &m_d;
    QStringView m_s;
    QString m_forumName;
    bool m_smf;
    bool m_firstPair;
    std::vector<Tag> m_tags;
    std::vector<bool> m_skip;
    std::vector<bool> m_closed;
    std::vector<bool> m_dropClose;
    std::vector<Element> m_stack;
    QHash<QString, bool> m_accepted;
    QString m_out;
    std::vector<AdaptChange> m_changes;
    qsizetype m_cursor = 0;
    qsizetype m_linePos = 0;
    int m_line = 1;
    int m_ids = 0;
    bool m_separate = false; // a line break before the next word
};

} // namespace

AdaptedPost adaptPost(const Dialect &dialect, QStringView post)
{
    return Adapter(dialect, post).run();
}

} // namespace quorvane
