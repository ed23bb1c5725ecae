#include "import/shallowhtml.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane {

namespace {

// What the HTML parser's tree builder does with an element, as far as depth goes.
enum Flag : unsigned {
    Void = 1u << 0,      // never has an end tag: br, img, ...
    Singleton = 1u << 1, // html, head, body: merged, never nested
    Special = 1u << 2,   // the parser's "special" category
    Boundary = 1u << 3,  // ends the default element scope
    TableBoundary = 1u << 4,
    Formatting = 1u << 5,   // reopened in later blocks when left open
    ClosesP = 1u << 6,      // a start tag that closes an open p
    RawText = 1u << 7,      // text up to its end tag: style, xmp, ...
    Script = 1u << 8,       // script data, with its escapes
    Plaintext = 1u << 9,    // text to the end of the input
    Foreign = 1u << 10,     // svg, math
    Integration = 1u << 11, // HTML again inside foreign content
    Breakout = 1u << 12,    // leaves foreign content
    Heading = 1u << 13,
    TableSection = 1u << 14, // tbody, thead, tfoot
    Cell = 1u << 15,         // td, th
};

struct ElementRule
{
    const char *name;
    unsigned flags;
};

constexpr ElementRule kRules[] = {
    {"a", Formatting},
    {"address", Special | ClosesP},
    {"annotation-xml", Special | Boundary | Integration},
    {"applet", Special | Boundary},
    {"area", Special | Void},
    {"article", Special | ClosesP},
    {"aside", Special | ClosesP},
    {"b", Formatting | Breakout},
    {"base", Special | Void},
    {"basefont", Special | Void},
    {"bgsound", Special | Void},
    {"big", Formatting | Breakout},
    {"blockquote", Special | ClosesP | Breakout},
    {"body", Special | Singleton | Breakout},
    {"br", Special | Void | Breakout},
    {"button", Special},
    {"caption", Special | Boundary},
    {"center", Special | ClosesP | Breakout},
    {"code", Formatting | Breakout},
    {"col", Special | Void},
    {"colgroup", Special},
    {"dd", Special | Breakout},
    {"desc", Special | Boundary | Integration},
    {"details", Special | ClosesP},
    {"dialog", ClosesP},
    {"dir", Special | ClosesP},
    {"div", Special | ClosesP | Breakout},
    {"dl", Special | ClosesP | Breakout},
    {"dt", Special | Breakout},
    {"em", Formatting | Breakout},
    {"embed", Special | Void | Breakout},
    {"fieldset", Special | ClosesP},
    {"figcaption", Special | ClosesP},
    {"figure", Special | ClosesP},
    {"font", Formatting},
    {"footer", Special | ClosesP},
    {"foreignobject", Special | Boundary | Integration},
    {"form", Special | ClosesP},
    {"frame", Special | Void},
    {"frameset", Special},
    {"h1", Special | ClosesP | Heading | Breakout},
    {"h2", Special | ClosesP | Heading | Breakout},
    {"h3", Special | ClosesP | Heading | Breakout},
    {"h4", Special | ClosesP | Heading | Breakout},
    {"h5", Special | ClosesP | Heading | Breakout},
    {"h6", Special | ClosesP | Heading | Breakout},
    {"head", Special | Singleton | Breakout},
    {"header", Special | ClosesP},
    {"hgroup", Special | ClosesP},
    {"hr", Special | Void | Breakout},
    {"html", Special | Singleton | Boundary | TableBoundary},
    {"i", Formatting | Breakout},
    {"iframe", Special | RawText},
    {"image", Void},
    {"img", Special | Void | Breakout},
    {"input", Special | Void},
    {"keygen", Special | Void},
    {"li", Special | Breakout},
    {"link", Special | Void},
    {"listing", Special | ClosesP | Breakout},
    {"main", Special | ClosesP},
    {"marquee", Special | Boundary},
    {"math", Foreign | Boundary},
    {"menu", Special | ClosesP | Breakout},
    {"meta", Special | Void | Breakout},
    {"mi", Special | Boundary | Integration},
    {"mn", Special | Boundary | Integration},
    {"mo", Special | Boundary | Integration},
    {"ms", Special | Boundary | Integration},
    {"mtext", Special | Boundary | Integration},
    {"nav", Special | ClosesP},
    {"nobr", Formatting | Breakout},
    {"noembed", Special | RawText},
    {"noframes", Special | RawText},
    {"noscript", Special},
    {"object", Special | Boundary},
    {"ol", Special | ClosesP | Breakout},
    {"p", Special | ClosesP | Breakout},
    {"param", Special | Void},
    {"plaintext", Special | ClosesP | Plaintext},
    {"pre", Special | ClosesP | Breakout},
    {"ruby", Breakout},
    {"s", Formatting | Breakout},
    {"script", Special | Script},
    {"search", Special | ClosesP},
    {"section", Special | ClosesP},
    {"select", Special},
    {"small", Formatting | Breakout},
    {"source", Special | Void},
    {"span", Breakout},
    {"strike", Formatting | Breakout},
    {"strong", Formatting | Breakout},
    {"style", Special | RawText},
    {"sub", Breakout},
    {"summary", Special | ClosesP},
    {"sup", Breakout},
    {"svg", Foreign | Boundary},
    {"table", Special | Boundary | TableBoundary | Breakout},
    {"tbody", Special | TableSection},
    {"td", Special | Boundary | Cell},
    {"template", Special | Boundary | TableBoundary},
    {"textarea", Special | RawText},
    {"tfoot", Special | TableSection},
    {"th", Special | Boundary | Cell},
    {"thead", Special | TableSection},
    {"title", Special | Boundary | RawText | Integration},
    {"tr", Special},
    {"track", Special | Void},
    {"tt", Formatting | Breakout},
    {"u", Formatting | Breakout},
    {"ul", Special | ClosesP | Breakout},
    {"var", Breakout},
    {"wbr", Special | Void},
    {"xmp", Special | ClosesP | RawText},
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Whether `text` at `at` starts with the lower-case `word`, in any case.
bool startsWithNoCase(std::string_view text, size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

class ShallowHtml
{
public:
    ShallowHtml(std::string_view in, int maxDepth) : m_in(in), m_maxDepth(size_t(maxDepth))
    {
        for (const ElementRule &rule : kRules) {
            const int id = intern(rule.name, rule.flags);
            if (rule.flags & Formatting)
                m_formattingIds.push_back(id);
        }
        m_out.reserve(qsizetype(in.size()));
    }

    QByteArray run();

private:
    struct Open
    {
        int id;
        bool foreign; // in the SVG or MathML namespace
        // A table part where the parser puts one (in a table, row or
        // section); elsewhere the parser ignores its tags, so neither its
        // start nor its end tags close anything.
        bool tablePart = false;
    };

    int intern(std::string_view name, unsigned flags = 0);
    unsigned flags(int id) const { return m_flags[size_t(id)]; }
    void copy(size_t from, size_t to) { m_out.append(m_in.data() + from, qsizetype(to - from)); }
    size_t find(std::string_view what, size_t from) const
    {
        const size_t at = m_in.find(what, from);
        return at == std::string_view::npos ? m_in.size() : at;
    }

    size_t markup(size_t at);
    size_t comment(size_t at);
    size_t tag(size_t at);
    // True when the element's content is raw text.
    bool startTag(int id, bool selfClosing, size_t from, size_t to, size_t cut);
    void endTag(int id, size_t from, size_t to, size_t cut);
    // The tag as written, its attributes past the limit left out.
    void emitTag(size_t from, size_t to, size_t cut);
    void popFor(int id); // what an end tag pops
    size_t rawText(size_t at, int id);
    size_t scriptData(size_t at);
    bool endTagAt(size_t at, std::string_view name) const;

    bool inForeign() const
    {
        return !m_stack.empty() && m_stack.back().foreign &&
               !(flags(m_stack.back().id) & Integration);
    }
    // The index of the innermost open `id` (or of an element with `any` of
    // the flags) above the first element with a flag of `barrier`; -1 if none.
    int openIndex(int id, unsigned any, unsigned barrier) const;
    void pushOpen(int id);
    // Inside a select (only options and groups above it), where the parser
    // ignores every tag but a few: its index, else -1.
    int selectIndex() const;
    // A tag inside a select: whether it was dealt with there.
    enum class InSelect { No, Done, Dropped };
    InSelect selectTag(int id, bool end);
    bool isTablePart(int id) const
    {
        return (flags(id) & (Cell | TableSection)) || id == m_tr || id == m_caption;
    }
    // Pops the element at `index` and everything above it. Formatting elements
    // above it stay open for the parser, to be copied into later blocks; past
    // a few of them they are closed in the output first.
    void popTo(int index);
    void closePInButtonScope();

    std::string_view m_in;
    size_t m_maxDepth;
    QByteArray m_out;
    std::unordered_map<std::string, int> m_ids;
    std::vector<std::string> m_names; // by id
    std::vector<unsigned> m_flags;
    std::vector<int> m_openCount; // per element name, how many are on the stack
    std::vector<int> m_dropped;   // per name, start tags left out and not yet ended
    std::vector<int> m_leaked;    // per name, formatting elements closed implicitly
    int m_leakedTotal = 0;
    // Past this many, formatting left open is closed.
    static constexpr int kMaxLeaked = 8;
    std::vector<int> m_formattingIds;
    std::vector<Open> m_stack;
    std::string m_name;

    int m_p, m_li, m_dd, m_dt, m_ul, m_ol, m_button, m_tr, m_option, m_optgroup, m_form, m_div,
        m_address, m_caption, m_table, m_select, m_input, m_keygen, m_textarea, m_script,
        m_template;
    // Past this many names, an unknown one is never taken for an open element.
    static constexpr size_t kMaxNames = 4096;
    int m_otherName = -1;
};

int ShallowHtml::intern(std::string_view name, unsigned extra)
{
    std::string key(name);
    if (m_ids.size() >= kMaxNames && m_otherName >= 0 && !m_ids.count(key))
        return m_otherName;
    const auto [it, added] = m_ids.try_emplace(std::move(key), int(m_flags.size()));
    if (added) {
        m_names.emplace_back(name);
        m_flags.push_back(extra);
        m_openCount.push_back(0);
        m_dropped.push_back(0);
        m_leaked.push_back(0);
    }
    return it->second;
}

QByteArray ShallowHtml::run()
{
    m_p = intern("p");
    m_li = intern("li");
    m_dd = intern("dd");
    m_dt = intern("dt");
    m_ul = intern("ul");
    m_ol = intern("ol");
    m_button = intern("button");
    m_tr = intern("tr");
    m_option = intern("option");
    m_optgroup = intern("optgroup");
    m_form = intern("form");
    m_div = intern("div");
    m_address = intern("address");
    m_caption = intern("caption");
    m_table = intern("table");
    m_select = intern("select");
    m_input = intern("input");
    m_keygen = intern("keygen");
    m_textarea = intern("textarea");
    m_script = intern("script");
    m_template = intern("template");
    m_otherName = intern(" ");

    size_t at = 0;
    while (at < m_in.size()) {
        const size_t lt = find("<", at);
        copy(at, lt);
        at = lt < m_in.size() ? markup(lt) : lt;
    }
    return m_out;
}

size_t ShallowHtml::markup(size_t at)
{
    const char next = at + 1 < m_in.size() ? m_in[at + 1] : '\0';
    if (isAlpha(next) || (next == '/' && at + 2 < m_in.size() && isAlpha(m_in[at + 2])))
        return tag(at);
    if (next == '!' && m_in.substr(at, 4) == "<!--")
        return comment(at);
    if (next == '!' && inForeign() && m_in.substr(at, 9) == "<![CDATA[") {
        const size_t end = std::min(find("]]>", at + 9) + 3, m_in.size());
        copy(at, end);
        return end;
    }
    if (next == '!' || next == '?' || next == '/') {
        // A doctype, a bogus comment or "</>": up to the next '>'.
        const size_t end = std::min(find(">", at + 2) + 1, m_in.size());
        copy(at, end);
        return end;
    }
    copy(at, at + 1); // a lone '<' is text
    return at + 1;
}

size_t ShallowHtml::comment(size_t at)
{
    size_t end = m_in.size();
    if (m_in.substr(at + 4, 1) == ">")
        end = at + 5;
    else if (m_in.substr(at + 4, 2) == "->")
        end = at + 6;
    else {
        for (size_t dash = find("--", at + 4); dash < m_in.size(); dash = find("--", dash + 1)) {
            if (m_in.substr(dash + 2, 1) == ">") {
                end = dash + 3;
                break;
            }
            if (m_in.substr(dash + 2, 2) == "!>") {
                end = dash + 4;
                break;
            }
        }
    }
    copy(at, end);
    return end;
}

// A start or end tag, read as the HTML tokenizer reads it: the name up to
// white space, '/' or '>', then attributes whose quoted values may hold '>'.
size_t ShallowHtml::tag(size_t at)
{
    const bool end = m_in[at + 1] == '/';
    size_t i = at + (end ? 2 : 1);
    m_name.clear();
    while (i < m_in.size() && !isSpace(m_in[i]) && m_in[i] != '/' && m_in[i] != '>')
        m_name += lower(m_in[i++]);

    constexpr int kMaxAttributes = 64;
    int attributes = 0;
    size_t cut = 0; // where the first attribute past the limit starts
    bool selfClosing = false;
    while (true) {
        while (i < m_in.size() && (isSpace(m_in[i]) || m_in[i] == '/')) {
            selfClosing = m_in[i] == '/';
            ++i;
        }
        if (i >= m_in.size()) {
            // Cut off by the end of the input: the parser drops it.
            copy(at, m_in.size());
            return m_in.size();
        }
        if (m_in[i] == '>')
            break;
        selfClosing = false;
        if (++attributes > kMaxAttributes && cut == 0)
            cut = i;
        // The name (a first '=' belongs to it), then perhaps a value.
        ++i;
        while (i < m_in.size() && !isSpace(m_in[i]) && m_in[i] != '/' && m_in[i] != '>' &&
               m_in[i] != '=')
            ++i;
        size_t j = i;
        while (j < m_in.size() && isSpace(m_in[j]))
            ++j;
        if (j >= m_in.size() || m_in[j] != '=')
            continue;
        i = j + 1;
        while (i < m_in.size() && isSpace(m_in[i]))
            ++i;
        if (i < m_in.size() && (m_in[i] == '"' || m_in[i] == '\'')) {
            i = find(std::string_view(&m_in[i], 1), i + 1);
            if (i < m_in.size())
                ++i;
        } else {
            while (i < m_in.size() && !isSpace(m_in[i]) && m_in[i] != '>')
                ++i;
        }
    }
    const size_t after = i + 1;
    const int id = intern(m_name);
    if (end) {
        endTag(id, at, after, cut);
        return after;
    }
    return startTag(id, selfClosing, at, after, cut) ? rawText(after, id) : after;
}

int ShallowHtml::openIndex(int id, unsigned any, unsigned barrier) const
{
    for (int i = int(m_stack.size()) - 1; i >= 0; --i) {
        const Open &open = m_stack[size_t(i)];
        const unsigned f = flags(open.id);
        if ((open.id == id || (f & any)) && (open.tablePart || !isTablePart(open.id)))
            return i;
        if (f & barrier)
            return -1;
    }
    return -1;
}

void ShallowHtml::pushOpen(int id)
{
    const bool foreign = (flags(id) & Foreign) || inForeign();
    bool tablePart = false;
    if (!foreign && isTablePart(id) && !m_stack.empty() && !m_stack.back().foreign) {
        // Rows go in tables and sections (the parser adds one), cells in rows
        // too; sections and captions straight in a table.
        const int parent = m_stack.back().id;
        const bool parentIsPart = m_stack.back().tablePart;
        if (flags(id) & Cell)
            tablePart = parent == m_table ||
                        (parentIsPart && (parent == m_tr || (flags(parent) & TableSection)));
        else if (id == m_tr)
            tablePart = parent == m_table || (parentIsPart && (flags(parent) & TableSection));
        else
            tablePart = parent == m_table;
    }
    m_stack.push_back({id, foreign, tablePart});
    ++m_openCount[size_t(id)];
}

void ShallowHtml::popTo(int index)
{
    for (int i = int(m_stack.size()) - 1; i > index; --i) {
        const int id = m_stack[size_t(i)].id;
        if (!(flags(id) & Formatting) || m_stack[size_t(i)].foreign)
            continue;
        if (m_leakedTotal < kMaxLeaked) {
            ++m_leaked[size_t(id)];
            ++m_leakedTotal;
        } else {
            m_out += "</" + QByteArray::fromStdString(m_names[size_t(id)]) + '>';
        }
    }
    while (int(m_stack.size()) > index) {
        --m_openCount[size_t(m_stack.back().id)];
        m_stack.pop_back();
    }
    if (m_leakedTotal < kMaxLeaked)
        return;
    // An end tag takes a formatting element left open off the parser's list
    // (or closes the copy it made): no more copies into later blocks.
    for (int id : m_formattingIds) {
        if (m_openCount[size_t(id)] > 0)
            continue;
        for (; m_leaked[size_t(id)] > 0; --m_leaked[size_t(id)], --m_leakedTotal)
            m_out += "</" + QByteArray::fromStdString(m_names[size_t(id)]) + '>';
    }
}

int ShallowHtml::selectIndex() const
{
    if (m_openCount[size_t(m_select)] == 0)
        return -1;
    for (int i = int(m_stack.size()) - 1; i >= 0; --i) {
        const Open &open = m_stack[size_t(i)];
        if (open.foreign)
            return -1;
        if (open.id == m_select)
            return i;
        if (open.id != m_option && open.id != m_optgroup)
            return -1;
    }
    return -1;
}

ShallowHtml::InSelect ShallowHtml::selectTag(int id, bool end)
{
    const int select = selectIndex();
    if (select < 0)
        return InSelect::No;
    const auto popIf = [&](int what) {
        if (!m_stack.empty() && m_stack.back().id == what)
            popTo(int(m_stack.size()) - 1);
    };
    const bool tableTag = isTablePart(id) || id == m_table;
    if (id == m_option || id == m_optgroup) {
        if (end && id == m_optgroup && m_stack.size() >= 2 && m_stack.back().id == m_option &&
            m_stack[m_stack.size() - 2].id == m_optgroup)
            popIf(m_option);
        popIf(m_option);
        if (id == m_optgroup)
            popIf(m_optgroup);
        if (end)
            return InSelect::Done;
        if (m_stack.size() >= m_maxDepth) {
            ++m_dropped[size_t(id)];
            return InSelect::Dropped;
        }
        pushOpen(id);
        return InSelect::Done;
    }
    if (id == m_select) {
        // A select inside one ends it.
        popTo(select);
        return InSelect::Done;
    }
    if (!end && (id == m_input || id == m_keygen || id == m_textarea)) {
        popTo(select);
        return InSelect::No; // and then as anywhere
    }
    if (tableTag && m_openCount[size_t(m_table)] > 0) {
        popTo(select);
        return InSelect::No;
    }
    if (id == m_script || id == m_template)
        return InSelect::No;
    return InSelect::Done; // ignored
}

void ShallowHtml::closePInButtonScope()
{
    if (m_openCount[size_t(m_p)] == 0)
        return;
    const int index = openIndex(m_p, 0, Boundary | Foreign);
    if (index >= 0 && (m_openCount[size_t(m_button)] == 0 || openIndex(m_button, 0, 0) < index))
        popTo(index);
}

bool ShallowHtml::startTag(int id, bool selfClosing, size_t from, size_t to, size_t cut)
{
    const unsigned f = flags(id);
    if (const InSelect done = selectTag(id, false); done != InSelect::No) {
        if (done == InSelect::Done)
            emitTag(from, to, cut);
        return false;
    }
    if (inForeign() && (f & Breakout)) {
        // Back to HTML: the foreign elements end.
        int index = int(m_stack.size());
        while (index > 0 && m_stack[size_t(index - 1)].foreign &&
               !(flags(m_stack[size_t(index - 1)].id) & Integration))
            --index;
        popTo(index);
    }
    const bool foreign = inForeign();
    if (!foreign && !(f & (Void | Singleton))) {
        // The end tags the parser implies before this one.
        if (f & ClosesP)
            closePInButtonScope();
        if (id == m_li || id == m_dd || id == m_dt) {
            // Stops at special elements other than address, div and p.
            for (int i = int(m_stack.size()) - 1; i >= 0; --i) {
                const int open = m_stack[size_t(i)].id;
                const bool match = id == m_li ? open == m_li : (open == m_dd || open == m_dt);
                if (match) {
                    popTo(i);
                    break;
                }
                if ((flags(open) & Special) && open != m_p && open != m_div && open != m_address)
                    break;
            }
            closePInButtonScope();
        }
        if ((f & Heading) && !m_stack.empty() && (flags(m_stack.back().id) & Heading))
            popTo(int(m_stack.size()) - 1);
        if (f & Cell) {
            const int index = openIndex(-1, Cell, TableBoundary);
            if (index >= 0)
                popTo(index);
        }
        if (id == m_tr || (f & TableSection)) {
            int index = (f & TableSection) ? openIndex(-1, TableSection, TableBoundary) : -1;
            if (index < 0)
                index = openIndex(m_tr, 0, TableBoundary);
            if (index >= 0)
                popTo(index);
        }
        if (id == m_button && m_openCount[size_t(id)] > 0) {
            const int index = openIndex(id, 0, Boundary);
            if (index >= 0)
                popTo(index);
        }
        if ((id == m_option || id == m_optgroup) && !m_stack.empty() &&
            m_stack.back().id == m_option)
            popTo(int(m_stack.size()) - 1);
    }

    const bool opens = foreign || (f & Foreign) ? !selfClosing : !(f & (Void | Singleton));
    const bool text = !foreign && (f & (RawText | Plaintext | Script));
    if (opens && !text && m_stack.size() >= m_maxDepth) {
        ++m_dropped[size_t(id)];
        return false; // flattened: the tag goes, its content stays
    }
    emitTag(from, to, cut);
    if (opens && !text)
        pushOpen(id);
    // Raw-text elements are never left out, nor pushed.
    return text;
}

void ShallowHtml::emitTag(size_t from, size_t to, size_t cut)
{
    if (cut > 0) {
        copy(from, cut);
        m_out += '>';
    } else {
        copy(from, to);
    }
}

void ShallowHtml::endTag(int id, size_t from, size_t to, size_t cut)
{
    if (id != m_otherName && m_dropped[size_t(id)] > 0) {
        --m_dropped[size_t(id)];
        return;
    }
    // Formatting elements closed in passing are closed first.
    if (selectTag(id, true) == InSelect::No)
        popFor(id);
    emitTag(from, to, cut);
}

void ShallowHtml::popFor(int id)
{
    const unsigned f = flags(id);
    if ((f & (Singleton | Void)) || id == m_otherName)
        return;
    if (m_openCount[size_t(id)] == 0) {
        if (m_leaked[size_t(id)] > 0) {
            --m_leaked[size_t(id)];
            --m_leakedTotal;
        }
        return;
    }
    if (id == m_form) {
        // Takes the form element alone off the stack.
        const int index = openIndex(id, 0, Boundary | Foreign);
        if (index >= 0) {
            m_stack.erase(m_stack.begin() + index);
            --m_openCount[size_t(id)];
        }
        return;
    }
    if (f & Formatting) {
        const int index = openIndex(id, 0, Boundary | Foreign);
        if (index < 0)
            return;
        for (size_t block = size_t(index) + 1; block < m_stack.size(); ++block) {
            if (flags(m_stack[block].id) & Special) {
                // The parser moves the formatting element into the first
                // block inside it: the depth stays.
                m_stack.erase(m_stack.begin() + index);
                m_stack.insert(m_stack.begin() + qsizetype(block), Open{id, false});
                return;
            }
        }
        popTo(index);
        return;
    }
    // The scope the parser looks for the element in.
    unsigned barrier = Special | Boundary | Foreign;
    if ((f & (Cell | TableSection | TableBoundary)) || id == m_tr)
        barrier = TableBoundary;
    else if (f & Special)
        barrier = Boundary | Foreign;
    for (int i = int(m_stack.size()) - 1; i >= 0; --i) {
        const int open = m_stack[size_t(i)].id;
        if (open == id && (m_stack[size_t(i)].tablePart || !isTablePart(id))) {
            popTo(i);
            return;
        }
        if ((flags(open) & barrier) || (id == m_li && (open == m_ul || open == m_ol)) ||
            (id == m_p && open == m_button))
            return;
    }
}

bool ShallowHtml::endTagAt(size_t at, std::string_view name) const
{
    if (m_in.substr(at, 2) != "</" || !startsWithNoCase(m_in, at + 2, name))
        return false;
    const size_t after = at + 2 + name.size();
    return after >= m_in.size() || isSpace(m_in[after]) || m_in[after] == '/' || m_in[after] == '>';
}

// The text of a raw-text element, copied as it is up to its end tag.
size_t ShallowHtml::rawText(size_t at, int id)
{
    const unsigned f = flags(id);
    size_t end = m_in.size();
    if (f & Script) {
        end = scriptData(at);
    } else if (!(f & Plaintext)) {
        const std::string &name = m_names[size_t(id)];
        for (size_t lt = find("</", at); lt < m_in.size(); lt = find("</", lt + 1)) {
            if (endTagAt(lt, name)) {
                end = lt;
                break;
            }
        }
    }
    copy(at, end);
    return end;
}

// Script text ends at </script>, except inside "<!--" where a "<script"
// starts text in which </script> does not end it.
size_t ShallowHtml::scriptData(size_t at)
{
    enum { Data, Escaped, DoubleEscaped } state = Data;
    for (size_t i = at; i < m_in.size(); ++i) {
        const char c = m_in[i];
        if (state == Data) {
            if (c == '<' && endTagAt(i, "script"))
                return i;
            if (c == '<' && m_in.substr(i, 4) == "<!--") {
                state = Escaped;
                i += 3;
            }
        } else if (c == '-' && m_in.substr(i, 3) == "-->") {
            state = Data;
            i += 2;
        } else if (c == '<' && state == Escaped) {
            if (endTagAt(i, "script"))
                return i;
            if (startsWithNoCase(m_in, i + 1, "script") && i + 7 < m_in.size() &&
                (isSpace(m_in[i + 7]) || m_in[i + 7] == '/' || m_in[i + 7] == '>'))
                state = DoubleEscaped;
        } else if (c == '<' && endTagAt(i, "script")) {
            state = Escaped;
        }
    }
    return m_in.size();
}

} // namespace

QByteArray shallowHtml(QByteArrayView html, int maxDepth)
{
    return ShallowHtml(std::string_view(html.data(), size_t(html.size())), maxDepth).run();
}

} // namespace quorvane
