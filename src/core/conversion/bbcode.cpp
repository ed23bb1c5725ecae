#include "conversion/bbcode.h"

#include "conversion/asciipagewriter.h"
#include "conversion/previewpage.h"
#include "conversion/tagindex.h"
#include "text/smilies.h"
#include "text/textrules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvane {

namespace {

using Mode = MatchMode;

// Where an entry sits in the order, which decides what it may see: the early
// tags run before the smilies, so they never touch a smiley's image source;
// the late tags and the closing bracket run after, so they do.
enum class Family { LineBreak, Early, Smiley, Late, Bracket };

enum class Action {
    Text,
    Smiley, // replace holds the picture's file name
    OpenUnordered,
    OpenOrdered,
    CloseList,
    QuoteHeader,
    CodeHeader,
    HtmlHeader,
    PhpHeader,
};

struct Row
{
    QStringView find;
    QStringView replace;
    Mode mode;
    Family family;
    Action action;
};

constexpr Mode CI = Mode::AsciiCaseInsensitive;

constexpr Row early(QStringView find, QStringView replace, Mode mode = CI)
{
    return {find, replace, mode, Family::Early, Action::Text};
}

constexpr Row late(QStringView find, QStringView replace, Action action = Action::Text)
{
    return {find, replace, CI, Family::Late, action};
}

constexpr Row smiley(const Smiley &s)
{
    return {s.code, s.picture, CI, Family::Smiley, Action::Smiley};
}

// The entries before the smilies, in their order.
constexpr Row kEarlyRows[] = {
    {u"\r\n", u"<p>&nbsp;</p>", Mode::Exact, Family::LineBreak, Action::Text},

    early(u"[Size=1]", u"<font size=\"1\">"),
    early(u"[Size=2]", u"<font size=\"2\">"),
    early(u"[Size=3]", u"<font size=\"3\">"),
    early(u"[Size=4]", u"<font size=\"4\">"),
    early(u"[Size=5]", u"<font size=\"5\">"),
    early(u"[Size=6]", u"<font size=\"6\">"),
    early(u"[Size=7]", u"<font size=\"7\">"),
    early(u"[/Size]", u"</font>"),

    early(u"[Font=Arial]", u"<font face=\"Arial\">"),
    early(u"[Font=Arial Narrow]", u"<font face=\"Arial Narrow\">"),
    early(u"[Font=Book Antiqua]", u"<font face=\"Book Antiqua\">"),
    early(u"[Font=Arial Black]", u"<font face=\"Arial Black\">"),
    early(u"[Font=Century Gothic]", u"<font face=\"Century Gothic\">"),
    early(u"[Font=Comic Sans MS]", u"<font face=\"Comic Sans MS\">"),
    early(u"[Font=Courier New]", u"<font face=\"Courier New\">"),
    early(u"[Font=Fixedsys]", u"<font face=\"Fixedsys\">"),
    early(u"[Font=Franklin Gothic Medium]", u"<font face=\"Franklin Gothic Medium\">"),
    early(u"[Font=Garamond]", u"<font face=\"Garamond\">"),
    early(u"[Font=Georgia]", u"<font face=\"Georgia\">"),
    early(u"[Font=Impact]", u"<font face=\"Impact\">"),
    early(u"[Font=Lucida Console]", u"<font face=\"Lucida Console\">"),
    early(u"[Font=Lucida Sans Unicode]", u"<font face=\"Lucida Sans Unicode\">"),
    early(u"[Font=Microsoft Sans Serif]", u"<font face=\"Microsoft Sans Serif\">"),
    early(u"[Font=Palatino Linotype]", u"<font face=\"Palatino Linotype\">"),
    early(u"[Font=System]", u"<font face=\"System\">"),
    early(u"[Font=Tahoma]", u"<font face=\"Tahoma\">"),
    early(u"[Font=Times New Roman]", u"<font face=\"Times New Roman\">"),
    early(u"[Font=Trebuchet MS]", u"<font face=\"Trebuchet MS\">"),
    early(u"[Font=Verdana]", u"<font face=\"Verdana\">"),
    early(u"[/Font]", u"</font>", Mode::Exact),

    early(u"[/Color]", u"</font>"),
    early(u"[Color=Red]", u"<font color=\"#FF0000\">"),
    early(u"[Color=Black]", u"<font color=\"#000000\">"),
    early(u"[Color=Green]", u"<font color=\"#008000\">"),
    early(u"[Color=Blue]", u"<font color=\"#0000FF\">"),
    early(u"[Color=Yellow]", u"<font color=\"#FFFF00\">"),
    early(u"[Color=Orange]", u"<font color=\"#FF9900\">"),
    early(u"[Color=White]", u"<font color=\"#FFFFFF\">"),
    early(u"[Color=Navy]", u"<font color=\"#000080\">"),
    early(u"[Color=Pink]", u"<font color=\"#FF00FF\">"),
    early(u"[Color=Gray]", u"<font color=\"#808080\">"),
    early(u"[Color=Purple]", u"<font color=\"#800080\">"),

    early(u"[B]", u"<b>"),
    early(u"[/B]", u"</b>"),
    early(u"[I]", u"<i>"),
    early(u"[/I]", u"</i>"),
    early(u"[U]", u"<u>"),
    early(u"[/U]", u"</u>"),

    early(u"[LEFT]", u"<p align=\"left\">"),
    early(u"[/LEFT]", u"</p>"),
    early(u"[RIGHT]", u"<p align=\"right\">"),
    early(u"[/RIGHT]", u"</p>"),
    early(u"[CENTER]", u"<p align=\"Center\">"),
    early(u"[/CENTER]", u"</p>"),

    early(u"[INDENT]", u"<blockquote>"),
    early(u"[/INDENT]", u"</blockquote>"),
};

// The entries after the smilies, in their order.
constexpr Row kLateRows[] = {
    late(u"[HighLight]", u"<b><font color=\"#FF0000\">"),
    late(u"[/HighLight]", u"</font></b>"),

    late(u"[/IMG]", u"\">"),
    late(u"[IMG]", u"<img src=\""),

    late(u"[LIST]", u"<ul>", Action::OpenUnordered),
    late(u"[/LIST]", u"</ul>", Action::CloseList),
    late(u"[*]", u"<li>"),
    late(u"[LIST=1]", u"<ol>", Action::OpenOrdered),

    late(u"[QUOTE]", u"", Action::QuoteHeader),
    late(u"[/QUOTE]", u"</div>"),
    late(u"[CODE]", u"", Action::CodeHeader),
    late(u"[/CODE]", u"</div>"),
    late(u"[HTML]", u"", Action::HtmlHeader),
    late(u"[/HTML]", u"</div>"),
    late(u"[PHP]", u"", Action::PhpHeader),
    late(u"[/PHP]", u"</div>"),

    late(u"[EMAIL=", u"<a href=mailto:"),
    late(u"[/EMAIL]", u"</a>"),
    late(u"[URL=", u"<a href="),
    late(u"[/URL]", u"</a>"),

    {u"]", u">", CI, Family::Bracket, Action::Text},
};

// The 88 entries in their order: the smilies, in the table's order, between
// the early and the late ones.
constexpr auto kRows = [] {
    std::array<Row, std::size(kEarlyRows) + smilies.size() + std::size(kLateRows)> rows{};
    std::size_t i = 0;
    for (const Row &row : kEarlyRows)
        rows[i++] = row;
    for (const Smiley &s : smilies)
        rows[i++] = smiley(s);
    for (const Row &row : kLateRows)
        rows[i++] = row;
    return rows;
}();
static_assert(kRows.size() == 88);

constexpr int kSmileyCount = int(smilies.size());

constexpr QStringView kLineBreakHtml = u"<p>&nbsp;</p>";
constexpr QStringView kSmiliesFolder = u"/Smilies/";

QString smileySource(const QString &dataDir, QStringView picture)
{
    QString source = QStringLiteral("<img src=\"");
    source += dataDir;
    source += kSmiliesFolder;
    source += picture;
    source += u".gif\">";
    return source;
}

const QString &headerFor(Action action, const BlockHeaders &headers)
{
    switch (action) {
    case Action::QuoteHeader:
        return headers.quote;
    case Action::CodeHeader:
        return headers.code;
    case Action::HtmlHeader:
        return headers.html;
    default:
        return headers.php;
    }
}

bool isHeader(Action action)
{
    return action == Action::QuoteHeader || action == Action::CodeHeader ||
           action == Action::HtmlHeader || action == Action::PhpHeader;
}

QString replacementFor(const Row &row, const QString &dataDir, const BlockHeaders &headers)
{
    if (row.action == Action::Smiley)
        return smileySource(dataDir, row.replace);
    if (isHeader(row.action))
        return headerFor(row.action, headers);
    return row.replace.toString();
}

// "[LIST]", "[LIST=1]" and "[/LIST]" in one scan, so that each closing tag
// can tell which kind of list it closes. The three never overlap and their
// replacements hold no brackets, so this finds the same occurrences as three
// separate passes would.
QString convertListTags(const QString &text)
{
    constexpr QStringView open = u"[LIST]";
    constexpr QStringView openOrdered = u"[LIST=1]";
    constexpr QStringView close = u"[/LIST]";
    std::vector<bool> openLists; // true for an ordered list
    QString result;
    qsizetype copied = 0;
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        QStringView find;
        QStringView replace;
        if (matchesAt(text, pos, open, CI)) {
            find = open;
            replace = u"<ul>";
            openLists.push_back(false);
        } else if (matchesAt(text, pos, openOrdered, CI)) {
            find = openOrdered;
            replace = u"<ol>";
            openLists.push_back(true);
        } else if (matchesAt(text, pos, close, CI)) {
            find = close;
            const bool ordered = !openLists.empty() && openLists.back();
            if (!openLists.empty())
                openLists.pop_back();
            replace = ordered ? u"</ol>" : u"</ul>";
        } else {
            continue;
        }
        result += QStringView(text).sliced(copied, pos - copied);
        result += replace;
        pos += find.size() - 1;
        copied = pos + 1;
    }
    result += QStringView(text).sliced(copied);
    return result;
}

// ---------------------------------------------------------------------------
// The fast path.
//
// Why one pass gives the same result as the 88 passes: apart from the closing
// bracket, every bracket find is "[" plus characters other than brackets, so
// two of them never overlap and none is a prefix of another; smiley codes
// hold no brackets, and they overlap each other only where a code ending in
// ":" shares that colon with the next code. Every replacement starts with one
// of '<' '"' and ends with one of '>' '"' ':' '=' LF, none of which a later
// find holds where a join would need it, and no replacement holds a later
// find, except in two places: the data directory inside a smiley's image
// source, which the later entries do reach (handled by converting each
// source once, with only the entries after its own), and the block headers,
// which are used as they are only when nothing can match in or across them.
// So each occurrence in the post is converted on its own, in one scan, and
// only runs of overlapping smiley codes are replayed entry by entry.

enum class ListEvent : unsigned char { OpenUnordered, OpenOrdered, Close };

struct Piece
{
    QString text;
    int event = -1; // a ListEvent when not negative, then text is empty
};

using Pieces = std::vector<Piece>;

// UTF-16 output, written through a pointer: QString::append per piece costs
// more than the scan itself.
class TextOut
{
public:
    void reserve(qsizetype size) { grow(size); }

    void write(const char16_t *d, qsizetype n)
    {
        if (n == 0)
            return;
        if (m_size + n > m_capacity)
            grow(m_size + n);
        std::memcpy(m_data + m_size, d, size_t(n) * sizeof(char16_t));
        m_size += n;
    }

    void write(char16_t c)
    {
        if (m_size == m_capacity)
            grow(m_size + 1);
        m_data[m_size++] = c;
    }

    bool isEmpty() const { return m_size == 0; }

    QString take()
    {
        m_text.truncate(m_size);
        m_data = nullptr;
        m_size = m_capacity = 0;
        return std::move(m_text);
    }

private:
    void grow(qsizetype needed)
    {
        const qsizetype capacity = std::max({needed, 2 * m_capacity, qsizetype(64)});
        // The first block exactly as asked: resize() would round a large
        // one up to the next power of two.
        if (m_capacity == 0)
            m_text = QString(capacity, Qt::Uninitialized);
        else
            m_text.resize(capacity);
        m_data = reinterpret_cast<char16_t *>(m_text.data());
        m_capacity = capacity;
    }

    QString m_text;
    char16_t *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

// The page file's bytes, encoded as they come. Small pieces are gathered
// first, so the encoder sees long runs.
class PageOut
{
public:
    explicit PageOut(qsizetype expectedSize, AsciiPageWriter::Drain drain = {})
        : m_writer(expectedSize, std::move(drain))
    {}

    bool failed() const { return m_writer.failed(); }

    void write(const char16_t *d, qsizetype n)
    {
        if (n == 0)
            return;
        if (m_size + n > kBufferSize) {
            flush();
            if (n > kBufferSize) {
                m_writer.append(d, n);
                return;
            }
        }
        std::memcpy(m_buffer.data() + m_size, d, size_t(n) * sizeof(char16_t));
        m_size += n;
    }

    void write(char16_t c)
    {
        if (m_size == kBufferSize)
            flush();
        m_buffer[m_size++] = c;
    }

    QByteArray take()
    {
        flush();
        return m_writer.finish();
    }

private:
    static constexpr qsizetype kBufferSize = 8192;

    void flush()
    {
        m_writer.append(m_buffer.data(), m_size);
        m_size = 0;
    }

    AsciiPageWriter m_writer;
    std::array<char16_t, kBufferSize> m_buffer;
    qsizetype m_size = 0;
};

// Collects the output. A list's closing tag depends on the lists opened
// before it in the whole page, so a smiley's image source, converted before
// it is placed, keeps its list tags as events (deferred) for the main output
// to resolve.
template <class Out> class Sink
{
public:
    template <class... Args>
    explicit Sink(bool deferred, Args &&...args)
        : m_out(std::forward<Args>(args)...), m_deferred(deferred)
    {}

    Out &out() { return m_out; }

    void append(QStringView text) { m_out.write(text.utf16(), text.size()); }
    void append(QChar c) { m_out.write(c.unicode()); }

    void event(ListEvent e)
    {
        if constexpr (std::is_same_v<Out, TextOut>) {
            if (m_deferred) {
                flushPiece();
                m_pieces.push_back({QString(), int(e)});
                return;
            }
        }
        switch (e) {
        case ListEvent::OpenUnordered:
            m_openLists.push_back(false);
            append(u"<ul>");
            break;
        case ListEvent::OpenOrdered:
            m_openLists.push_back(true);
            append(u"<ol>");
            break;
        case ListEvent::Close: {
            const bool ordered = !m_openLists.empty() && m_openLists.back();
            if (!m_openLists.empty())
                m_openLists.pop_back();
            append(ordered ? u"</ol>" : u"</ul>");
            break;
        }
        }
    }

    void append(const Pieces &pieces)
    {
        for (const Piece &piece : pieces) {
            if (piece.event < 0)
                append(QStringView(piece.text));
            else
                event(ListEvent(piece.event));
        }
    }

    Pieces takePieces()
    {
        flushPiece();
        return std::move(m_pieces);
    }

private:
    void flushPiece()
    {
        if (!m_out.isEmpty())
            m_pieces.push_back({m_out.take(), -1});
    }

    Out m_out;
    bool m_deferred;
    Pieces m_pieces;
    std::vector<bool> m_openLists;
};

// The bracket tags, and the characters at which the scan has to stop and look.
struct Tables
{
    TagIndex tags;
    std::array<bool, 128> special{};

    Tables()
    {
        for (int i = 0; i < int(kRows.size()); ++i) {
            const Row &row = kRows[i];
            if (row.family == Family::Early || row.family == Family::Late)
                tags.add(row.find, row.mode, i);
        }
        for (char16_t c : {u'\r', u'[', u']', u':', u';'})
            special[c] = true;
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// The scan below stops at ':' and ';' and tells which smiley code starts
// there by its first two characters, so it relies on what the table holds:
// every code starts with one of the two and holds no bracket or CR (the
// other characters it stops at), no two codes start with the same two
// characters (folded), and two codes overlap only where one ending in ":"
// shares that colon with the next (the runs emitSmilies() replays).
constexpr int leadOf(char16_t c)
{
    return c == u':' ? 0 : c == u';' ? 1 : -1;
}

constexpr char16_t foldedAt(QStringView code, qsizetype i)
{
    return asciiLower(code.utf16()[i]);
}

constexpr bool codesStartAtAStop()
{
    for (const Smiley &s : smilies) {
        if (s.code.size() < 2 || leadOf(s.code.utf16()[0]) < 0 || foldedAt(s.code, 1) >= 128)
            return false;
        for (qsizetype i = 0; i < s.code.size(); ++i) {
            const char16_t c = s.code.utf16()[i];
            if (c == u'[' || c == u']' || c == u'\r')
                return false;
        }
    }
    return true;
}

constexpr bool codesDifferInTheirFirstTwo()
{
    for (std::size_t a = 0; a < smilies.size(); ++a) {
        for (std::size_t b = a + 1; b < smilies.size(); ++b) {
            if (smilies[a].code.utf16()[0] == smilies[b].code.utf16()[0] &&
                foldedAt(smilies[a].code, 1) == foldedAt(smilies[b].code, 1))
                return false;
        }
    }
    return true;
}

constexpr bool codesOverlapOnlyAtAColon()
{
    for (const Smiley &a : smilies) {
        for (const Smiley &b : smilies) {
            // b starting inside a, after a's first character.
            for (qsizetype p = 1; p < a.code.size(); ++p) {
                const qsizetype n = std::min(a.code.size() - p, b.code.size());
                bool same = true;
                for (qsizetype i = 0; i < n && same; ++i)
                    same = foldedAt(a.code, p + i) == foldedAt(b.code, i);
                if (same && !(p == a.code.size() - 1 && a.code.utf16()[p] == u':'))
                    return false;
            }
        }
    }
    return true;
}

static_assert(codesStartAtAStop(), "a smiley code starts with ':' or ';' and holds no bracket");
static_assert(codesDifferInTheirFirstTwo(), "two smiley codes start alike");
static_assert(codesOverlapOnlyAtAColon(), "two smiley codes overlap other than at a colon");

// The row of the code that starts with a lead and a folded second character.
constexpr auto kSmileyByStart = [] {
    std::array<std::array<signed char, 128>, 2> rows{};
    for (auto &lead : rows)
        lead.fill(-1);
    for (std::size_t s = 0; s < smilies.size(); ++s) {
        const QStringView code = smilies[s].code;
        rows[std::size_t(leadOf(code.utf16()[0]))][foldedAt(code, 1)] = static_cast<signed char>(s);
    }
    return rows;
}();

bool isLongSmiley(int smiley)
{
    return smilies[std::size_t(smiley)].code.endsWith(u':');
}

qsizetype smileyLength(int smiley)
{
    return smilies[std::size_t(smiley)].code.size();
}

// The smiley code at pos (no two codes can match at one position), or -1.
int smileyAt(QStringView text, qsizetype pos)
{
    if (pos + 1 >= text.size())
        return -1;
    const int lead = leadOf(text[pos].unicode());
    const char16_t second = asciiLower(text[pos + 1].unicode());
    if (lead < 0 || second >= 128)
        return -1;
    const int s = kSmileyByStart[std::size_t(lead)][second];
    return s >= 0 && matchesAt(text, pos, smilies[std::size_t(s)].code, CI) ? s : -1;
}

bool headerIsInert(const QString &header)
{
    // Nothing after the block entries can match inside a header without a
    // bracket, nor across its start unless it starts with a character that
    // follows "[" in one of those finds; an empty header would join its
    // neighbours.
    if (header.isEmpty() || header.contains(u'[') || header.contains(u']'))
        return false;
    const char16_t first = header.front().unicode();
    const bool letter = (first >= u'a' && first <= u'z') || (first >= u'A' && first <= u'Z');
    return !letter && first != u'/' && first != u'=';
}

class FastConverter
{
public:
    FastConverter(const QString &dataDir, const BlockHeaders &headers) : m_headers(headers)
    {
        // A smiley's image source meets only the entries after its own; the
        // last smiley's source first, since earlier sources contain later
        // smilies' sources.
        for (int s = kSmileyCount - 1; s >= 0; --s) {
            Sink<TextOut> sink(true);
            scan(smileySource(dataDir, smilies[std::size_t(s)].picture), false, s + 1, sink);
            m_smileys[s] = sink.takePieces();
        }
    }

    // early: the line-break and early tag entries still apply. firstSmiley:
    // the smilies from this one on still apply.
    template <class S> void scan(QStringView text, bool early, int firstSmiley, S &sink) const
    {
        const Tables &t = tables();
        const char16_t *const d = text.utf16();
        const qsizetype n = text.size();
        qsizetype run = 0; // start of plain text not yet in the sink
        qsizetype pos = 0;
        while (true) {
            // Plain text first, in a loop of its own that keeps pos in a register.
            qsizetype i = pos;
            while (i < n && (d[i] >= 128 || !t.special[d[i]]))
                ++i;
            pos = i;
            if (pos >= n)
                break;
            qsizetype next = -1; // where to go on after a replacement
            switch (d[pos]) {
            case u'\r':
                if (early && pos + 1 < n && d[pos + 1] == u'\n') {
                    sink.append(text.sliced(run, pos - run));
                    sink.append(kLineBreakHtml);
                    next = pos + 2;
                }
                break;
            case u'[': {
                const int row = tagAt(t, text, pos, early);
                if (row >= 0) {
                    sink.append(text.sliced(run, pos - run));
                    emitTag(kRows[row], sink);
                    next = pos + kRows[row].find.size();
                }
                break;
            }
            case u']':
                sink.append(text.sliced(run, pos - run));
                sink.append(QChar(u'>'));
                next = pos + 1;
                break;
            default: { // ':' or ';'
                const int s = smileyAt(text, pos);
                if (s >= firstSmiley) {
                    sink.append(text.sliced(run, pos - run));
                    next = emitSmilies(text, pos, s, firstSmiley, sink);
                }
                break;
            }
            }
            if (next < 0) {
                ++pos;
            } else {
                pos = next;
                run = next;
            }
        }
        sink.append(text.sliced(run, n - run));
    }

private:
    static int tagAt(const Tables &t, QStringView text, qsizetype pos, bool early)
    {
        // At most one tag matches; an early one is already done in a source.
        const int row = t.tags.match(text, pos);
        if (row < 0 || (!early && kRows[row].family == Family::Early))
            return -1;
        return row;
    }

    template <class S> void emitTag(const Row &row, S &sink) const
    {
        switch (row.action) {
        case Action::OpenUnordered:
            sink.event(ListEvent::OpenUnordered);
            break;
        case Action::OpenOrdered:
            sink.event(ListEvent::OpenOrdered);
            break;
        case Action::CloseList:
            sink.event(ListEvent::Close);
            break;
        case Action::QuoteHeader:
        case Action::CodeHeader:
        case Action::HtmlHeader:
        case Action::PhpHeader:
            sink.append(headerFor(row.action, m_headers));
            break;
        default:
            sink.append(row.replace);
            break;
        }
    }

    // The smiley `first` matches at pos. Codes ending in ":" can share that
    // colon with a following code; such a run is replayed entry by entry,
    // since the entry order, not the position, decides which code wins.
    // Returns the position after the run.
    template <class S>
    qsizetype emitSmilies(QStringView text, qsizetype pos, int first, int firstSmiley,
                          S &sink) const
    {
        qsizetype end = pos + smileyLength(first);
        int last = first;
        bool chained = false;
        while (isLongSmiley(last)) {
            const int s = smileyAt(text, end - 1);
            if (s < firstSmiley)
                break;
            chained = true;
            last = s;
            end = end - 1 + smileyLength(s);
        }
        if (!chained) {
            sink.append(m_smileys[first]);
            return end;
        }

        const QStringView run = text.sliced(pos, end - pos);
        std::vector<signed char> owner(run.size(), -1);
        for (int s = firstSmiley; s < kSmileyCount; ++s) {
            const QStringView code = smilies[std::size_t(s)].code;
            qsizetype i = 0;
            while (i + code.size() <= run.size()) {
                bool free = true;
                for (qsizetype j = i; j < i + code.size() && free; ++j)
                    free = owner[j] < 0;
                if (free && matchesAt(run, i, code, CI)) {
                    for (qsizetype j = i; j < i + code.size(); ++j)
                        owner[j] = char(s);
                    i += code.size();
                } else {
                    ++i;
                }
            }
        }
        for (qsizetype i = 0; i < run.size();) {
            if (owner[i] >= 0) {
                sink.append(m_smileys[owner[i]]);
                i += smileyLength(owner[i]);
            } else {
                sink.append(run[i]);
                ++i;
            }
        }
        return end;
    }

    const BlockHeaders &m_headers;
    std::array<Pieces, kSmileyCount> m_smileys;
};

} // namespace

BlockHeaders BlockHeaders::standard()
{
    const QString frame = QStringLiteral(
        "<div style=\"border-style: solid; border-width: 1px; padding-left: 4px; "
        "padding-right: 4px; padding-top: 1px; padding-bottom: 1px\">\r\n&nbsp;\r\n");
    BlockHeaders h;
    h.quote = QStringLiteral("<font size=\"1\" face=\"Tahoma\">Quote:</font>") + frame;
    h.code = QStringLiteral("<font face=\"Tahoma\" size=\"1\">Code:</font>") + frame;
    h.html = QStringLiteral("<font face=\"Tahoma\" size=\"1\">HTML:</font>") + frame;
    h.php = QStringLiteral("<font face=\"Tahoma\" size=\"1\">PHP:</font>") + frame;
    return h;
}

SubstitutionList bbcodeSubstitutions(const QString &dataDir, const BlockHeaders &headers)
{
    SubstitutionList list;
    list.reserve(qsizetype(kRows.size()));
    for (const Row &row : kRows)
        list.append({row.find.toString(), replacementFor(row, dataDir, headers), row.mode});
    return list;
}

QString convertBBCodeReference(const QString &text, const QString &dataDir,
                               const BlockHeaders &headers)
{
    QString page = text;
    page += previewPageTitle;
    for (const Row &row : kRows) {
        if (row.action == Action::OpenUnordered)
            page = convertListTags(page);
        else if (row.action == Action::CloseList || row.action == Action::OpenOrdered)
            continue; // done with "[LIST]"
        else
            page = applySubstitution(
                page, {row.find.toString(), replacementFor(row, dataDir, headers), row.mode});
    }
    return page;
}

namespace {

bool headersAreInert(const BlockHeaders &headers)
{
    for (const QString *header : {&headers.quote, &headers.code, &headers.html, &headers.php}) {
        if (!headerIsInert(*header))
            return false;
    }
    return true;
}

// The title holds nothing any entry matches, and starts with '<', so it
// cannot complete a find at the end of the post either: it is added after
// the scan rather than copied onto the post before it.
template <class S>
void convertInto(const QString &text, const QString &dataDir, const BlockHeaders &headers, S &sink)
{
    const FastConverter converter(dataDir, headers);
    converter.scan(text, true, 0, sink);
    sink.append(previewPageTitle);
}

} // namespace

QString convertBBCode(const QString &text, const QString &dataDir, const BlockHeaders &headers)
{
    if (!headersAreInert(headers))
        return convertBBCodeReference(text, dataDir, headers);
    Sink<TextOut> sink(false);
    sink.out().reserve(text.size() + text.size() / 2 + 256);
    convertInto(text, dataDir, headers, sink);
    return sink.out().take();
}

QByteArray convertBBCodeToPageBytes(const QString &text, const QString &dataDir,
                                    const BlockHeaders &headers)
{
    if (!headersAreInert(headers))
        return previewPageBytes(convertBBCodeReference(text, dataDir, headers));
    Sink<PageOut> sink(false, text.size() + text.size() / 2 + 256);
    convertInto(text, dataDir, headers, sink);
    return sink.out().take();
}

bool writeBBCodePage(const QString &text, const QString &dataDir, const BlockHeaders &headers,
                     const std::function<bool(QByteArrayView)> &write)
{
    if (!headersAreInert(headers))
        return write(previewPageBytes(convertBBCodeReference(text, dataDir, headers)));
    Sink<PageOut> sink(false, text.size() + text.size() / 2 + 256, write);
    convertInto(text, dataDir, headers, sink);
    const QByteArray rest = sink.out().take();
    return !sink.out().failed() && write(rest);
}

} // namespace quorvane
