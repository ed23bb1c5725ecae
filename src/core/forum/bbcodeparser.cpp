#include "forum/bbcodeparser.h"

#include "forum/tagshape.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace quorvane {

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// ---- Usage lines, read once per forum ----

// "[url={URL}]{TEXT}[/url]" -> name url, default {URL}, content TEXT, closed.
CompiledForm compile(const TagForm &form)
{
    CompiledForm out;
    out.form = &form;
    const QString &u = form.usage;
    const qsizetype close = u.indexOf(u']');
    QStringView head = QStringView(u).mid(1, close - 1);
    qsizetype i = 0;
    while (i < head.size() && isTagNameChar(head[i]))
        ++i;
    out.name = head.left(i).toString().toLower();
    QStringView rest = head.mid(i);
    if (rest.startsWith(u'=')) {
        const qsizetype space = rest.indexOf(u' ');
        QStringView value = rest.mid(1, space < 0 ? -1 : space - 1);
        if (value.endsWith(u"?}")) {
            out.defaultOptional = true;
            out.defaultPattern = value.chopped(2).toString() + u'}';
        } else {
            out.defaultPattern = value.toString();
        }
        rest = space < 0 ? QStringView() : rest.mid(space);
    }
    for (QStringView pair : rest.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(u'=');
        QString token = pair.mid(eq + 1).toString();
        const bool optional = token.endsWith(u"?}");
        if (optional)
            token = token.chopped(2) + u'}';
        out.namedKeys.push_back(pair.left(eq).toString().toLower());
        out.namedTokens.push_back(token);
        out.namedOptional.push_back(optional);
    }
    const QString tail = u.mid(close + 1);
    out.hasClose = tail.contains(QStringLiteral("[/"));
    if (tail.startsWith(u'{'))
        out.contentToken = tail.mid(1, tail.indexOf(u'}') - 1);
    return out;
}

} // namespace

struct Grammar
{
    // The first names are looked at one by one (a forum's own few); a
    // board's many custom tags after them by a table, behind a filter of
    // their lengths and first letters that most brackets in a post fail.
    static constexpr std::size_t kScanned = 32;

    const Dialect *owner = nullptr;
    std::vector<QString> names;                   // each tag's name
    std::vector<std::vector<CompiledForm>> forms; // its forms, by the same index
    QHash<QString, int> index;                    // lower-case names from kScanned on
    std::bitset<17 * 37> shapes;                  // (length, first character) of those

    static std::size_t shape(qsizetype length, QChar first)
    {
        const char16_t c = first.toLower().unicode();
        const std::size_t letter = c >= u'a' && c <= u'z'   ? std::size_t(c - u'a')
                                   : c >= u'0' && c <= u'9' ? std::size_t(26 + c - u'0')
                                                            : 36;
        return std::size_t(std::min<qsizetype>(length, 16)) * 37 + letter;
    }

    // The tag's index, or -1. Names are ASCII: compared folded by hand, as
    // every "[" of a post asks.
    int find(QStringView name) const
    {
        const std::size_t scanned = std::min(names.size(), kScanned);
        for (std::size_t k = 0; k < scanned; ++k) {
            const QString &known = names[k];
            if (known.size() != name.size())
                continue;
            qsizetype i = 0;
            while (i < name.size() && (name[i].unicode() | 0x20) == (known[i].unicode() | 0x20))
                ++i;
            if (i == name.size())
                return int(k);
        }
        if (index.isEmpty() || name.isEmpty() || !shapes.test(shape(name.size(), name[0])))
            return -1;
        if (name.size() > 16)
            return index.value(name.toString().toLower(), -1);
        // Lower-cased on the stack: no allocation per tag read.
        char16_t lower[16];
        for (qsizetype i = 0; i < name.size(); ++i)
            lower[i] = name[i].toLower().unicode();
        return index.value(
            QString::fromRawData(reinterpret_cast<const QChar *>(lower), name.size()), -1);
    }
};

namespace {

std::unique_ptr<Grammar> compileGrammar(const Dialect &dialect)
{
    auto g = std::make_unique<Grammar>();
    g->owner = &dialect;
    for (const TagDefinition &tag : dialect.tags) {
        // A name without a form ("Forum Tag Names...") stays text.
        if (tag.forms.empty())
            continue;
        g->names.push_back(tag.name);
        g->forms.emplace_back();
        for (const TagForm &form : tag.forms)
            g->forms.back().push_back(compile(form));
    }
    for (std::size_t k = g->names.size(); k-- > Grammar::kScanned;) {
        g->index.insert(QString(g->names[k]).toLower(), int(k));
        g->shapes.set(Grammar::shape(g->names[k].size(), g->names[k][0]));
    }
    return g;
}

const Grammar &grammar(const Dialect &dialect)
{
    static std::array<std::unique_ptr<Grammar>, 4> grammars;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (dialect.forum == Forum::Generic || &dialect != &quorvane::dialect(dialect.forum)) {
        // Read once per description; a copy reads its own.
        if (!dialect.grammar || dialect.grammar->owner != &dialect)
            dialect.grammar = compileGrammar(dialect);
        return *dialect.grammar;
    }
    auto &slot = grammars[std::size_t(dialect.forum)];
    if (!slot)
        slot = compileGrammar(dialect);
    return *slot;
}

// ---- Tags as written ----

struct Token
{
    enum Kind : unsigned char { Open, Close } kind = Open;
    int tag = -1;                         // the grammar's index
    qsizetype begin = 0, end = 0;         // the whole "[...]"
    qsizetype attrBegin = 0, attrEnd = 0; // after the name, before ']'
};

// The tags of the forum's names in the post; everything else is text.
std::vector<Token> tokenize(const Grammar &g, QStringView s)
{
    std::vector<Token> tokens;
    // Room for a tag every few characters, as tag-heavy posts have: the
    // pages never written are never taken.
    tokens.reserve(std::size_t(s.size() / 8 + 8));
    const auto find = [&g](QStringView name) { return g.find(name); };
    TagShape t;
    for (qsizetype i = 0; nextTag(s, i, find, t); i = t.end)
        tokens.push_back({t.closing ? Token::Close : Token::Open, t.name, t.begin, t.end,
                          t.attrBegin, t.attrEnd});
    return tokens;
}

// "=value key=value key2="quoted"" split into the default and named values.
struct Attributes
{
    bool hasDefault = false;
    QString defaultValue;
    std::vector<std::pair<QString, QString>> named;
};

QString readValue(QStringView a, qsizetype &i)
{
    if (i < a.size() && (a[i] == u'"' || a[i] == u'\'')) {
        const qsizetype end = a.indexOf(a[i], i + 1);
        if (end > 0) {
            QString v = a.mid(i + 1, end - i - 1).toString();
            i = end + 1;
            return v;
        }
    }
    const qsizetype end = nextAttributeKey(a, i);
    QString v = a.mid(i, end - i).toString();
    i = end;
    return v;
}

Attributes readAttributes(QStringView a, bool raw)
{
    Attributes out;
    qsizetype i = 0;
    if (i < a.size() && a[i] == u'=') {
        out.hasDefault = true;
        ++i;
        if (raw) {
            out.defaultValue = a.mid(i).toString();
            return out;
        }
        out.defaultValue = readValue(a, i);
    }
    while (i < a.size()) {
        while (i < a.size() && a[i] == u' ')
            ++i;
        const qsizetype eq = a.indexOf(u'=', i);
        if (eq < 0) {
            if (i < a.size())
                out.named.push_back({a.mid(i).trimmed().toString().toLower(), QString()});
            break;
        }
        QString key = a.mid(i, eq - i).trimmed().toString().toLower();
        i = eq + 1;
        out.named.push_back({std::move(key), readValue(a, i)});
    }
    return out;
}

// Matches "{NUMBER}x{NUMBER}" against "120x80": each token's text, or false.
bool matchPattern(QStringView pattern, QStringView value, std::vector<QString> &tokens,
                  std::vector<QString> &parts)
{
    qsizetype p = 0, v = 0;
    while (p < pattern.size()) {
        if (pattern[p] != u'{') {
            if (v >= value.size() || value[v].toLower() != pattern[p].toLower())
                return false;
            ++p;
            ++v;
            continue;
        }
        const qsizetype close = pattern.indexOf(u'}', p);
        tokens.push_back(pattern.mid(p + 1, close - p - 1).toString());
        p = close + 1;
        // A token runs to the next literal of the pattern, or to the end.
        qsizetype end = value.size();
        if (p < pattern.size()) {
            end = value.indexOf(pattern[p], v, Qt::CaseInsensitive);
            if (end < 0)
                return false;
        }
        parts.push_back(value.mid(v, end - v).toString());
        v = end;
    }
    return v == value.size();
}

bool fill(const Dialect &d, const std::vector<QString> &tokens, const std::vector<QString> &parts,
          Element &e, QString *why = nullptr)
{
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        bool ok = false;
        QString checked = checkToken(d, tokens[t], parts[t], &ok);
        if (!ok) {
            if (why && why->isEmpty())
                *why = QStringLiteral("\"%1\" is not a {%2} value").arg(parts[t], tokens[t]);
            return false;
        }
        e.tokens.push_back(tokens[t]);
        e.values.push_back(std::move(checked));
    }
    return true;
}

// The first form the written tag fits, with its values checked.
bool matchForm(const Dialect &d, const std::vector<CompiledForm> &forms, QStringView source,
               const Token &tok, Element &out, QString *why = nullptr)
{
    const QStringView attrText = source.mid(tok.attrBegin, tok.attrEnd - tok.attrBegin);
    const Attributes attrs = readAttributes(attrText, d.forum == Forum::MyBB);
    for (const CompiledForm &f : forms) {
        Element e;
        e.form = &f;
        if (attrs.hasDefault && f.defaultPattern.isEmpty())
            continue;
        if (!attrs.hasDefault && !f.defaultPattern.isEmpty() && !f.defaultOptional)
            continue;
        std::vector<QString> tokens, parts;
        if (attrs.hasDefault && !matchPattern(f.defaultPattern, attrs.defaultValue, tokens, parts))
            continue;
        bool fits = true;
        std::vector<bool> seen(f.namedKeys.size(), false);
        for (const auto &[key, value] : attrs.named) {
            const auto it = std::find(f.namedKeys.begin(), f.namedKeys.end(), key);
            if (it == f.namedKeys.end()) {
                fits = d.unknownAttributesIgnored;
                if (!fits)
                    break;
                continue;
            }
            const std::size_t k = std::size_t(it - f.namedKeys.begin());
            seen[k] = true;
            if (!matchPattern(f.namedTokens[k], value, tokens, parts)) {
                fits = false;
                break;
            }
        }
        for (std::size_t k = 0; fits && k < seen.size(); ++k)
            fits = seen[k] || f.namedOptional[k];
        if (!fits || !fill(d, tokens, parts, e, why))
            continue;
        out = std::move(e);
        return true;
    }
    return false;
}

// ---- The post before the tags are read ----

// SMF counts list opens ("[list]", "[list ...]") and closes outside its
// code blocks and adds the missing ones at the ends: the post with them
// added, or none.
std::optional<QString> balanceLists(const Grammar &g, const QString &s,
                                    const std::vector<Token> &tokens,
                                    std::vector<SourceEdit> &edits)
{
    const int list = g.find(u"list");
    const int code = g.find(u"code");
    bool inCode = false;
    qsizetype opens = 0, closes = 0;
    for (const Token &t : tokens) {
        if (t.tag == code)
            inCode = t.kind == Token::Open;
        if (t.tag != list || inCode)
            continue;
        if (t.kind == Token::Close)
            ++closes;
        else if (s[t.attrBegin] == u']' || s[t.attrBegin] == u' ')
            ++opens;
    }
    if (closes > opens) {
        edits.push_back({0, 0, 6 * (closes - opens)});
        return QStringLiteral("[list]").repeated(closes - opens) + s;
    }
    if (opens > closes) {
        edits.push_back({s.size(), 0, 7 * (opens - closes)});
        return s + QStringLiteral("[/list]").repeated(opens - closes);
    }
    return std::nullopt;
}

// SMF removes a pair with nothing but blank characters inside (and then a
// pair that held only such a pair): the post without them, or none.
std::optional<QString> withoutEmptyPairs(const QString &s, const std::vector<Token> &tokens,
                                         std::vector<SourceEdit> &edits)
{
    std::vector<std::pair<qsizetype, qsizetype>> cuts;
    for (std::size_t k = 1; k < tokens.size(); ++k) {
        const Token &o = tokens[k - 1];
        const Token &t = tokens[k];
        if (o.kind != Token::Open || t.kind != Token::Close || o.tag != t.tag)
            continue;
        bool blank = true;
        for (qsizetype i = o.end; blank && i < t.begin; ++i)
            blank = isSpace(s[i]);
        if (blank) {
            cuts.push_back({o.begin, t.end});
            edits.push_back({o.begin, t.end - o.begin, 0});
        }
    }
    if (cuts.empty())
        return std::nullopt;
    QString out;
    out.reserve(s.size());
    qsizetype from = 0;
    for (const auto &[b, e] : cuts) {
        out += QStringView(s).mid(from, b - from);
        from = e;
    }
    out += QStringView(s).mid(from);
    return out;
}

// ---- Pairing ----

class Pairer
{
public:
    Pairer(const Dialect &d, const Grammar &g, QStringView s, std::vector<Token> &tokens,
           ParsedPost &out)
        : m_d(d), m_g(g), m_s(s), m_tokens(tokens), m_out(out)
    {
        // MyBB takes [code] and [php] blocks out before it reads the tags.
        if (d.repair == Repair::FirstPair)
            dropTokensInCode();
        findNextCloses();
    }

    void run()
    {
        m_out.events.reserve(m_tokens.size() * 2 + 1);
        m_out.elements.reserve(m_tokens.size());
        if (m_d.repair == Repair::FirstPair)
            pairFirst();
        else
            pairByStack();
        text(m_cursor, m_s.size());
    }

private:
    // Each token's next close of the same tag, found once.
    void findNextCloses()
    {
        m_nextClose.assign(m_tokens.size(), -1);
        std::vector<int> last(m_g.names.size(), -1);
        for (std::size_t i = m_tokens.size(); i-- > 0;) {
            m_nextClose[i] = last[std::size_t(m_tokens[i].tag)];
            if (m_tokens[i].kind == Token::Close)
                last[std::size_t(m_tokens[i].tag)] = int(i);
        }
    }
    // The tags inside "[code]...[/code]" and "[php]...[/php]" are its text.
    void dropTokensInCode()
    {
        std::vector<Token> kept;
        kept.reserve(m_tokens.size());
        for (std::size_t i = 0; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens[i];
            kept.push_back(t);
            if (t.kind != Token::Open || formsOf(t.tag).front().form->role != Role::Code ||
                m_s[t.attrBegin] != u']')
                continue;
            std::size_t j = i + 1;
            while (j < m_tokens.size() &&
                   !(m_tokens[j].tag == t.tag && m_tokens[j].kind == Token::Close))
                ++j;
            if (j < m_tokens.size()) {
                kept.push_back(m_tokens[j]);
                i = j;
            }
        }
        m_tokens = std::move(kept);
    }

    struct Open
    {
        int element;
        int tag;
    };

    void text(qsizetype from, qsizetype to)
    {
        if (to <= from)
            return;
        if (!m_out.events.empty() && m_out.events.back().kind == Event::Text &&
            m_out.events.back().end == from) {
            m_out.events.back().end = to;
            return;
        }
        m_out.events.push_back({Event::Text, -1, from, to});
    }
    // Text up to a token; the cursor moves past it.
    void upTo(qsizetype pos)
    {
        text(m_cursor, pos);
        m_cursor = std::max(m_cursor, pos);
    }
    int addElement(Element e)
    {
        m_out.elements.push_back(std::move(e));
        return int(m_out.elements.size()) - 1;
    }
    void event(Event::Kind kind, int element) { m_out.events.push_back({kind, element, 0, 0}); }

    const std::vector<CompiledForm> &formsOf(int tag) const { return m_g.forms[std::size_t(tag)]; }

    // matchForm, once for each way a tag is written: a post repeats its tags.
    bool match(const Token &t, Element &e)
    {
        const std::u16string_view written(m_s.utf16() + t.begin, std::size_t(t.end - t.begin));
        auto it = m_matched.find(written);
        if (it == m_matched.end()) {
            std::optional<Element> found;
            if (Element fresh; matchForm(m_d, formsOf(t.tag), m_s, t, fresh))
                found = std::move(fresh);
            it = m_matched.emplace(written, std::move(found)).first;
        }
        if (!it->second)
            return false;
        e = *it->second;
        return true;
    }

    // The close of `name` at or after token index `from` (same-name nesting
    // counted when `nested`), or -1.
    int findClose(std::size_t from, int tag, bool nested) const
    {
        int depth = 0;
        for (std::size_t i = from; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens[i];
            if (t.tag != tag)
                continue;
            if (t.kind == Token::Open && nested)
                ++depth;
            else if (t.kind == Token::Close && depth-- == 0)
                return int(i);
        }
        return -1;
    }

    // A tag whose content is not parsed: code, literal, value. Returns the
    // token index to go on from, or -1 when the tag stays text.
    int whole(std::size_t i, Element e)
    {
        const Token &t = m_tokens[i];
        const int close = m_nextClose[i];
        qsizetype contentEnd = close >= 0 ? m_tokens[std::size_t(close)].begin : -1;
        if (close < 0) {
            if (m_d.repair != Repair::Reopen || e.form->form->role == Role::Value)
                return -1;
            contentEnd = m_s.size(); // phpBB closes it at the end of the post
        }
        e.contentBegin = t.end;
        e.contentEnd = contentEnd;
        if (e.form->form->role == Role::Value) {
            std::vector<QString> tokens{e.form->contentToken};
            std::vector<QString> parts{m_s.mid(t.end, contentEnd - t.end).toString()};
            if (!fill(m_d, tokens, parts, e))
                return -1;
        }
        upTo(t.begin);
        event(Event::Whole, addElement(std::move(e)));
        m_cursor = close >= 0 ? m_tokens[std::size_t(close)].end : m_s.size();
        return close >= 0 ? close : int(m_tokens.size()) - 1;
    }

    static bool isWhole(Role r)
    {
        return r == Role::Code || r == Role::Literal || r == Role::Value;
    }

    // ---- phpBB and SMF: a stack of open tags ----
    void closeTop()
    {
        event(Event::Close, m_stack.back().element);
        m_stack.pop_back();
    }
    Role roleOf(const Open &o) const
    {
        return m_out.elements[std::size_t(o.element)].form->form->role;
    }
    int quoteDepth() const
    {
        return int(std::count_if(m_stack.begin(), m_stack.end(),
                                 [&](const Open &o) { return roleOf(o) == Role::Quote; }));
    }
    void push(const Token &t, Element e)
    {
        upTo(t.begin);
        const Role role = e.form->form->role;
        const int index = addElement(std::move(e));
        event(Event::Open, index);
        m_stack.push_back({index, t.tag});
        m_cursor = t.end;
        // phpBB: a list's content starts with an item, written or not.
        if (role == Role::List && m_d.text.listStartsItem) {
            qsizetype k = t.end;
            while (k < m_s.size() && isSpace(m_s[k]))
                ++k;
            if (!m_s.mid(k).startsWith(u"[*]")) {
                const int item = m_g.find(u"*");
                Element itemElement;
                itemElement.form = &formsOf(item).front();
                const int itemIndex = addElement(std::move(itemElement));
                event(Event::Open, itemIndex);
                m_stack.push_back({itemIndex, item});
            }
        }
    }
    // Closes the stack down to and with index `at`; phpBB opens the tags
    // above it again.
    void closeDownTo(std::size_t at)
    {
        std::vector<Open> above(m_stack.begin() + qsizetype(at) + 1, m_stack.end());
        while (m_stack.size() > at)
            closeTop();
        if (m_d.repair == Repair::Reopen) {
            for (const Open &o : above) {
                if (roleOf(o) != Role::Inline)
                    continue;
                const int index = addElement(m_out.elements[std::size_t(o.element)]);
                event(Event::Open, index);
                m_stack.push_back({index, o.tag});
            }
        }
    }
    int findOpen(int tag) const
    {
        for (int k = int(m_stack.size()) - 1; k >= 0; --k) {
            if (m_stack[std::size_t(k)].tag == tag)
                return k;
        }
        return -1;
    }
    int findRole(Role a, Role b) const
    {
        for (int k = int(m_stack.size()) - 1; k >= 0; --k) {
            const Role r = roleOf(m_stack[std::size_t(k)]);
            if (r == a || r == b)
                return k;
        }
        return -1;
    }
    bool blank(qsizetype from, qsizetype to) const
    {
        for (qsizetype i = from; i < to; ++i) {
            if (!isSpace(m_s[i]))
                return false;
        }
        return true;
    }

    void pairByStack()
    {
        for (std::size_t i = 0; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens[i];
            // SMF: text in a list outside an item ends the list.
            if (m_d.text.textEndsList && !blank(m_cursor, t.begin)) {
                while (!m_stack.empty() && roleOf(m_stack.back()) == Role::List)
                    closeTop();
            }
            if (t.kind == Token::Close) {
                // A tag written without a close ([*] on SMF) shows "[/*]" as text.
                const int at = formsOf(t.tag).front().hasClose ? findOpen(t.tag) : -1;
                if (at < 0)
                    continue; // stays text
                upTo(t.begin);
                closeDownTo(std::size_t(at));
                m_cursor = t.end;
                continue;
            }
            Element e;
            if (!match(t, e))
                continue;
            const Role role = e.form->form->role;
            // SMF: a list holds items and lists only; any other tag is text.
            if (m_d.text.textEndsList && !m_stack.empty() && roleOf(m_stack.back()) == Role::List &&
                role != Role::Item && role != Role::List)
                continue;
            // SMF: a block never sits inside bold, colour, ...: they end before it.
            if (m_d.text.blockClosesInline && role != Role::Inline && role != Role::Literal &&
                role != Role::Value) {
                upTo(t.begin);
                while (!m_stack.empty() && roleOf(m_stack.back()) == Role::Inline)
                    closeTop();
            }
            if (isWhole(role)) {
                const int next = whole(i, std::move(e));
                if (next >= 0)
                    i = std::size_t(next);
                continue;
            }
            if (role == Role::Single) {
                upTo(t.begin);
                event(Event::Whole, addElement(std::move(e)));
                m_cursor = t.end;
                continue;
            }
            if (role == Role::Quote && m_d.quotes.maxDepth > 0 &&
                quoteDepth() >= m_d.quotes.maxDepth) {
                // Deeper quotes are removed with what they hold.
                const int close = findClose(i + 1, t.tag, true);
                upTo(t.begin);
                m_cursor = close >= 0 ? m_tokens[std::size_t(close)].end : m_s.size();
                i = close >= 0 ? std::size_t(close) : m_tokens.size();
                continue;
            }
            if (role == Role::Item) {
                const int list = findRole(Role::List, Role::Item);
                if (list >= 0 && roleOf(m_stack[std::size_t(list)]) == Role::Item) {
                    upTo(t.begin);
                    closeDownToPlain(std::size_t(list));
                } else if (list < 0) {
                    if (!m_d.text.itemOpensList)
                        continue;
                    Element listElement;
                    const int listTag = m_g.find(u"list");
                    listElement.form = &formsOf(listTag).front();
                    Token fake = t;
                    fake.end = t.begin;
                    fake.tag = listTag;
                    push(fake, std::move(listElement));
                }
            }
            if (role == Role::List || role == Role::Item) {
                // An item's close belongs to its list.
            }
            push(t, std::move(e));
        }
        upTo(m_s.size());
        while (!m_stack.empty())
            closeTop();
    }
    void closeDownToPlain(std::size_t at)
    {
        while (m_stack.size() > at)
            closeTop();
    }

    // ---- MyBB: each open takes the first close after it ----
    void pairFirst()
    {
        const std::size_t n = m_tokens.size();
        std::vector<int> partner(n, -1);
        // The element of each open that fits a form, kept for those only: a
        // long post has a million tags.
        std::vector<int> chosenAt(n, -1);
        std::vector<Element> chosenElements;
        auto choose = [&](std::size_t i) {
            Element e;
            if (!match(m_tokens[i], e))
                return false;
            chosenAt[i] = int(chosenElements.size());
            chosenElements.push_back(std::move(e));
            return true;
        };
        auto chosen = [&](std::size_t i) -> Element & {
            return chosenElements[std::size_t(chosenAt[i])];
        };
        // Quotes and lists nest: pair them innermost first.
        std::vector<std::vector<std::size_t>> stacks(m_g.names.size());
        std::vector<std::size_t> pairedUpTo(m_g.names.size(), 0);
        for (std::size_t i = 0; i < n; ++i) {
            const Token &t = m_tokens[i];
            const std::vector<CompiledForm> &forms = formsOf(t.tag);
            const Role role = forms.front().form->role;
            if (role == Role::Item)
                continue;
            if (role == Role::Quote || role == Role::List) {
                auto &stack = stacks[std::size_t(t.tag)];
                if (t.kind == Token::Open) {
                    if (choose(i))
                        stack.push_back(i);
                } else if (!stack.empty()) {
                    partner[stack.back()] = int(i);
                    partner[i] = int(stack.back());
                    stack.pop_back();
                }
                continue;
            }
            if (t.kind != Token::Open || i < pairedUpTo[std::size_t(t.tag)])
                continue;
            if (!choose(i))
                continue;
            const Role r = chosen(i).form->form->role;
            if (r == Role::Single) {
                partner[i] = int(i);
                continue;
            }
            const int close = m_nextClose[i];
            if (close < 0)
                continue;
            if (r == Role::Value) {
                Element &e = chosen(i);
                std::vector<QString> tokens{e.form->contentToken};
                const QString content =
                    m_s.mid(t.end, m_tokens[std::size_t(close)].begin - t.end).toString();
                if (content.isEmpty() || content.contains(u'\n'))
                    continue;
                std::vector<QString> parts{content};
                if (!fill(m_d, tokens, parts, e))
                    continue;
            }
            partner[i] = close;
            partner[std::size_t(close)] = int(i);
            pairedUpTo[std::size_t(t.tag)] = std::size_t(close) + 1;
        }
        // Write them in order; code and values swallow what lies inside.
        std::vector<int> elementOf(n, -1);
        std::vector<int> lists; // open list elements, each with its open item or -1
        std::vector<int> items;
        for (std::size_t i = 0; i < n; ++i) {
            const Token &t = m_tokens[i];
            if (t.begin < m_cursor)
                continue;
            const Role role = formsOf(t.tag).front().form->role;
            if (role == Role::Item) {
                if (t.kind != Token::Open || lists.empty())
                    continue;
                upTo(t.begin);
                if (items.back() >= 0)
                    event(Event::Close, items.back());
                Element e;
                e.form = &formsOf(t.tag).front();
                items.back() = addElement(std::move(e));
                event(Event::Open, items.back());
                m_cursor = t.end;
                continue;
            }
            // A close whose open was swallowed by a code block stays text.
            if (partner[i] < 0 ||
                (t.kind == Token::Close && elementOf[std::size_t(partner[i])] < 0))
                continue;
            upTo(t.begin);
            if (t.kind == Token::Close) {
                if (!lists.empty() && elementOf[std::size_t(partner[i])] == lists.back()) {
                    if (items.back() >= 0)
                        event(Event::Close, items.back());
                    lists.pop_back();
                    items.pop_back();
                }
                event(Event::Close, elementOf[std::size_t(partner[i])]);
                m_cursor = t.end;
                continue;
            }
            Element &e = chosen(i);
            const Role r = e.form->form->role;
            if (r == Role::Single) {
                event(Event::Whole, addElement(std::move(e)));
                m_cursor = t.end;
                continue;
            }
            if (isWhole(r)) {
                const Token &c = m_tokens[std::size_t(partner[i])];
                e.contentBegin = t.end;
                e.contentEnd = c.begin;
                event(Event::Whole, addElement(std::move(e)));
                m_cursor = c.end;
                continue;
            }
            elementOf[i] = addElement(std::move(e));
            event(Event::Open, elementOf[i]);
            if (r == Role::List) {
                lists.push_back(elementOf[i]);
                items.push_back(-1);
            }
            m_cursor = t.end;
        }
        upTo(m_s.size());
    }

    const Dialect &m_d;
    const Grammar &m_g;
    QStringView m_s;
    std::vector<Token> &m_tokens;
    ParsedPost &m_out;
    std::vector<int> m_nextClose;
    std::vector<Open> m_stack;
    qsizetype m_cursor = 0;
    std::unordered_map<std::u16string_view, std::optional<Element>> m_matched;
};

// ---- Line breaks around block tags ----

void swallowAfter(const ParsedPost &p, Event &text, Swallow how)
{
    if (how == None)
        return;
    qsizetype &b = text.begin;
    if (how == All) {
        while (b < text.end && isSpace(p.source[b]))
            ++b;
        return;
    }
    while (b < text.end && (p.source[b] == u' ' || p.source[b] == u'\t'))
        ++b;
    if (b < text.end && p.source[b] == u'\n')
        ++b;
}

void swallowBefore(const ParsedPost &p, Event &text, Swallow how)
{
    if (how == None)
        return;
    qsizetype &e = text.end;
    if (how == All) {
        while (e > text.begin && isSpace(p.source[e - 1]))
            --e;
        return;
    }
    if (e > text.begin && p.source[e - 1] == u'\n')
        --e;
}

void applyBreaks(ParsedPost &p)
{
    auto breaksOf = [&](const Event &ev) -> const Breaks & {
        return p.elements[std::size_t(ev.element)].form->form->breaks;
    };
    const std::size_t n = p.events.size();
    for (std::size_t i = 0; i < n; ++i) {
        Event &ev = p.events[i];
        if (ev.kind == Event::Text)
            continue;
        const Breaks &b = breaksOf(ev);
        const bool opening = ev.kind != Event::Close;
        const bool closing = ev.kind != Event::Open;
        if (i > 0 && p.events[i - 1].kind == Event::Text)
            swallowBefore(p, p.events[i - 1], opening ? b.beforeOpen : b.beforeClose);
        if (i + 1 < n && p.events[i + 1].kind == Event::Text)
            swallowAfter(p, p.events[i + 1], closing ? b.afterClose : b.afterOpen);
    }
}

// CR LF, a lone CR and the editor's line and paragraph separators as LF, in
// one pass.
QString withLineFeeds(QStringView s, std::vector<SourceEdit> &edits)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar *o = out.data();
    const QChar *p = s.constData();
    const QChar *end = p + s.size();
    for (; p < end; ++p) {
        if (p->unicode() == 0x2028 || p->unicode() == 0x2029) {
            *o++ = u'\n';
        } else if (*p != u'\r') {
            *o++ = *p;
        } else {
            *o++ = u'\n';
            if (p + 1 < end && p[1] == u'\n') {
                edits.push_back({p - s.constData(), 1, 0});
                ++p;
            }
        }
    }
    out.truncate(o - out.constData());
    return out;
}

} // namespace

std::vector<qsizetype> ParsedPost::sourcePositions(std::vector<qsizetype> positions) const
{
    // Each round moves the positions after its changes; one inside a removed
    // stretch is gone.
    for (const std::vector<SourceEdit> &round : edits) {
        std::size_t k = 0;
        qsizetype shift = 0;
        for (qsizetype &p : positions) {
            if (p < 0)
                continue;
            while (k < round.size() && p >= round[k].at + round[k].removed) {
                shift += round[k].inserted - round[k].removed;
                ++k;
            }
            if (k < round.size() && p >= round[k].at)
                p = -1; // inside a removed stretch
            else
                p += shift;
        }
    }
    return positions;
}

const TagDefinition *Dialect::tag(QStringView name) const
{
    for (const TagDefinition &t : tags) {
        if (name.compare(t.name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QString openTagProblem(const Dialect &dialect, QStringView openTag)
{
    const Grammar &g = grammar(dialect);
    const std::vector<Token> tokens = tokenize(g, openTag);
    if (tokens.empty() || tokens.front().kind != Token::Open || tokens.front().begin != 0)
        return {};
    const std::vector<CompiledForm> &forms = g.forms[std::size_t(tokens.front().tag)];
    Element e;
    QString why;
    if (matchForm(dialect, forms, openTag, tokens.front(), e, &why))
        return {};
    if (!why.isEmpty())
        return why;
    QStringList usages;
    for (const CompiledForm &f : forms)
        usages.append(f.form->usage);
    return QStringLiteral("the tag is written %1").arg(usages.join(QStringLiteral(" or ")));
}

QString contentProblem(const Dialect &dialect, QStringView openTag, QStringView content)
{
    const Grammar &g = grammar(dialect);
    const std::vector<Token> tokens = tokenize(g, openTag);
    if (tokens.empty() || tokens.front().kind != Token::Open || tokens.front().begin != 0)
        return {};
    Element e;
    if (!matchForm(dialect, g.forms[std::size_t(tokens.front().tag)], openTag, tokens.front(), e) ||
        e.form->form->role != Role::Value)
        return {};
    QString why;
    fill(dialect, {e.form->contentToken}, {content.toString()}, e, &why);
    return why;
}

ParsedPost parseForumPost(const Dialect &dialect, QStringView post)
{
    ParsedPost out;
    QStringView kept = post;
    if (dialect.text.trimPost) {
        kept = post.trimmed();
        const qsizetype lead = kept.isEmpty() ? post.size() : kept.data() - post.data();
        const qsizetype trail = post.size() - lead - kept.size();
        out.edits.push_back({{0, lead, 0}, {lead + kept.size(), trail, 0}});
    }
    // The forums read a line break as LF, whatever the browser sent.
    if (kept.contains(u'\r') || kept.contains(QChar(0x2029)) || kept.contains(QChar(0x2028))) {
        out.edits.emplace_back();
        out.source = withLineFeeds(kept, out.edits.back());
    } else {
        out.source = kept.toString();
    }
    const Grammar &g = grammar(dialect);
    std::vector<Token> tokens = tokenize(g, out.source);
    if (dialect.text.balanceLists) {
        out.edits.emplace_back();
        if (std::optional<QString> balanced =
                balanceLists(g, out.source, tokens, out.edits.back())) {
            out.source = std::move(*balanced);
            // Whole tags went at one end: the tags read already only move.
            const SourceEdit &added = out.edits.back().front();
            std::vector<Token> more =
                tokenize(g, QStringView(out.source).mid(added.at, added.inserted));
            for (Token &t : added.at == 0 ? tokens : more) {
                const qsizetype by = added.at == 0 ? added.inserted : added.at;
                t.begin += by;
                t.end += by;
                t.attrBegin += by;
                t.attrEnd += by;
            }
            tokens.insert(added.at == 0 ? tokens.begin() : tokens.end(), more.begin(), more.end());
        }
    }
    // Removing a pair can leave another empty pair around it.
    for (int round = 0; dialect.text.removeEmptyTags && round < 8; ++round) {
        out.edits.emplace_back();
        std::optional<QString> shorter = withoutEmptyPairs(out.source, tokens, out.edits.back());
        if (!shorter)
            break;
        out.source = std::move(*shorter);
        tokens = tokenize(g, out.source);
    }
    Pairer(dialect, g, out.source, tokens, out).run();
    applyBreaks(out);
    return out;
}

} // namespace quorvane
