#include "documents/rtfreader.h"

#include "documents/codepages.h"

#include <QHash>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane {

namespace {

// Groups deeper than this share the state of the deepest kept one: no real
// document comes near it, and it bounds the memory a hostile file can claim.
constexpr qsizetype kMaxDepth = 1 << 20;

// Control word parameters are 16 or 32 bits; longer digit runs are still
// consumed but saturate here.
constexpr qint64 kMaxParam = 0x7fffffff;

enum class Dest : quint8 {
    Text,      // visible text
    FontTable, // font definitions: numbers and charsets, names ignored
    Skip,      // everything ignored
    Upr,       // ignored, except a \ud group inside it
    Object,    // ignored, except a \result group inside it
};

struct Group
{
    Dest dest = Dest::Text;
    bool hidden = false;
    int uc = 1;    // fallback characters after each \u
    int font = -1; // -1: the document's default font
};

enum class Kw : quint8 {
    // destinations
    SkipDest,
    FontTable,
    Upr,
    Ud,
    Object,
    Result,
    FieldResult,
    // text
    Par,
    Line,
    SoftBreak, // \sect and \page: a break unless one is already there
    Tab,
    Cell,
    Row,
    Char, // a fixed character, in the table's second column
    // state
    Font,
    DefaultFont,
    Charset,
    FontCodePage,
    AnsiCodePage,
    Ansi,
    Mac,
    Pc,
    Pca,
    Plain,
    Hidden,
    Uc,
    U,
    Bin,
};

struct KeywordInfo
{
    Kw kind;
    char16_t ch = 0;
};

const std::unordered_map<std::string_view, KeywordInfo> &keywords()
{
    static const std::unordered_map<std::string_view, KeywordInfo> table = [] {
        std::unordered_map<std::string_view, KeywordInfo> t;
        // Destinations whose content is not part of the text.
        for (const char *name : {"aftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "annotation",
                                 "atnauthor",
                                 "atndate",
                                 "atnicn",
                                 "atnid",
                                 "atnparent",
                                 "atnref",
                                 "atntime",
                                 "atrfend",
                                 "atrfstart",
                                 "author",
                                 "background",
                                 "bkmkend",
                                 "bkmkstart",
                                 "blipuid",
                                 "buptim",
                                 "category",
                                 "colorschememapping",
                                 "colortbl",
                                 "comment",
                                 "company",
                                 "creatim",
                                 "datafield",
                                 "datastore",
                                 "defchp",
                                 "defpap",
                                 "do",
                                 "doccomm",
                                 "docvar",
                                 "dptxbxtext",
                                 "falt",
                                 "ffdeftext",
                                 "ffentrymcr",
                                 "ffexitmcr",
                                 "ffformat",
                                 "ffhelptext",
                                 "ffl",
                                 "ffname",
                                 "ffstattext",
                                 "fldinst",
                                 "fontemb",
                                 "fontfile",
                                 "footer",
                                 "footerf",
                                 "footerl",
                                 "footerr",
                                 "footnote",
                                 "formfield",
                                 "ftncn",
                                 "ftnsep",
                                 "ftnsepc",
                                 "generator",
                                 "header",
                                 "headerf",
                                 "headerl",
                                 "headerr",
                                 "hlinkbase",
                                 "info",
                                 "keycode",
                                 "keywords",
                                 "latentstyles",
                                 "leveltext",
                                 "levelnumbers",
                                 "listname",
                                 "listoverridetable",
                                 "listpicture",
                                 "liststylename",
                                 "listtable",
                                 "manager",
                                 "mmathPr",
                                 "nesttableprops",
                                 "nextfile",
                                 "nonesttables",
                                 "nonshppict",
                                 "objalias",
                                 "objclass",
                                 "objdata",
                                 "objname",
                                 "objsect",
                                 "objtime",
                                 "oldcprops",
                                 "oldpprops",
                                 "oldsprops",
                                 "oldtprops",
                                 "operator",
                                 "panose",
                                 "passwordhash",
                                 "pgdsctbl",
                                 "pgptbl",
                                 "pict",
                                 "picprop",
                                 "pn",
                                 "pnseclvl",
                                 "pntxta",
                                 "pntxtb",
                                 "printim",
                                 "private",
                                 "protusertbl",
                                 "revtbl",
                                 "revtim",
                                 "rsidtbl",
                                 "rxe",
                                 "shp",
                                 "shpgrp",
                                 "shpinst",
                                 "shppict",
                                 "shprslt",
                                 "shptxt",
                                 "sn",
                                 "sp",
                                 "stylesheet",
                                 "subject",
                                 "sv",
                                 "tc",
                                 "template",
                                 "themedata",
                                 "title",
                                 "txe",
                                 "userprops",
                                 "wgrffmtfilter",
                                 "writereservation",
                                 "writereservhash",
                                 "xe",
                                 "xform",
                                 "xmlattrname",
                                 "xmlattrvalue",
                                 "xmlclose",
                                 "xmlnstbl",
                                 "xmlopen"}) {
            t.emplace(name, KeywordInfo{Kw::SkipDest});
        }
        t.emplace("fonttbl", KeywordInfo{Kw::FontTable});
        t.emplace("upr", KeywordInfo{Kw::Upr});
        t.emplace("ud", KeywordInfo{Kw::Ud});
        t.emplace("object", KeywordInfo{Kw::Object});
        t.emplace("result", KeywordInfo{Kw::Result});
        t.emplace("fldrslt", KeywordInfo{Kw::FieldResult});

        t.emplace("par", KeywordInfo{Kw::Par});
        t.emplace("line", KeywordInfo{Kw::Line});
        t.emplace("sect", KeywordInfo{Kw::SoftBreak});
        t.emplace("page", KeywordInfo{Kw::SoftBreak});
        t.emplace("tab", KeywordInfo{Kw::Tab});
        t.emplace("cell", KeywordInfo{Kw::Cell});
        t.emplace("nestcell", KeywordInfo{Kw::Cell});
        t.emplace("row", KeywordInfo{Kw::Row});
        t.emplace("nestrow", KeywordInfo{Kw::Row});

        const std::pair<const char *, char16_t> chars[] = {
            {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},     {"zwnj", 0x200C},
            {"zwbo", 0x200B},      {"zwnbo", 0xFEFF},     {"ltrmark", 0x200E}, {"rtlmark", 0x200F}};
        for (const auto &[name, ch] : chars) {
            t.emplace(name, KeywordInfo{Kw::Char, ch});
        }

        t.emplace("f", KeywordInfo{Kw::Font});
        t.emplace("deff", KeywordInfo{Kw::DefaultFont});
        t.emplace("fcharset", KeywordInfo{Kw::Charset});
        t.emplace("cpg", KeywordInfo{Kw::FontCodePage});
        t.emplace("ansicpg", KeywordInfo{Kw::AnsiCodePage});
        t.emplace("ansi", KeywordInfo{Kw::Ansi});
        t.emplace("mac", KeywordInfo{Kw::Mac});
        t.emplace("pc", KeywordInfo{Kw::Pc});
        t.emplace("pca", KeywordInfo{Kw::Pca});
        t.emplace("plain", KeywordInfo{Kw::Plain});
        t.emplace("v", KeywordInfo{Kw::Hidden});
        t.emplace("uc", KeywordInfo{Kw::Uc});
        t.emplace("u", KeywordInfo{Kw::U});
        t.emplace("bin", KeywordInfo{Kw::Bin});
        return t;
    }();
    return table;
}

bool isLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

class RtfParser
{
public:
    explicit RtfParser(QByteArrayView data) : m_data(data) {}

    QString run();

private:
    Group &top() { return m_stack.back(); }
    bool emitting() const
    {
        const Group &g = m_stack.back();
        return g.dest == Dest::Text && !g.hidden;
    }

    void openGroup();
    void closeGroup();
    qsizetype controlAt(qsizetype i);
    qsizetype controlWord(std::string_view name, bool hasParam, qint64 param, qsizetype next);
    void controlSymbol(uchar c);
    void textByte(uchar c);

    void appendUnit(char16_t u);
    void appendCodePoint(qint64 cp);
    void appendLineBreak();
    void flushBytes();
    void updateCodePage();
    int fontCodePage(int font) const;

    QByteArrayView m_data;
    std::vector<Group> m_stack;
    qsizetype m_overflow = 0; // groups opened past kMaxDepth
    bool m_done = false;      // the outermost group has closed
    bool m_star = false;      // \* seen: an unknown destination follows
    int m_skipChars = 0;      // \u fallback characters still to drop

    int m_docCodePage = codepages::Windows1252;
    int m_defaultFont = 0;
    int m_definingFont = 0;  // the font table entry being read
    QHash<int, int> m_fonts; // font number -> code page (0: the document's)

    // Text bytes are decoded through a table for single-byte pages; double-byte
    // pages collect their bytes until something else comes.
    const codepages::ByteTable *m_table = nullptr;
    int m_tableCodePage = -1;
    int m_tableFont = -2;
    bool m_tableStale = true;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;

    QString m_out;
    char16_t m_highSurrogate = 0;
    bool m_endsWithCellTab = false;
    bool m_endsWithParBreak = false;
};

QString RtfParser::run()
{
    m_stack.reserve(64);
    m_stack.push_back(Group{}); // the state outside every group
    m_out.reserve(m_data.size() / 2);

    const uchar *d = reinterpret_cast<const uchar *>(m_data.data());
    const qsizetype n = m_data.size();
    qsizetype i = 0;
    while (i < n && !m_done) {
        const uchar c = d[i];
        switch (c) {
        case '{':
            ++i;
            openGroup();
            break;
        case '}':
            ++i;
            closeGroup();
            break;
        case '\\':
            i = controlAt(i);
            break;
        case '\r':
        case '\n':
            ++i;
            break;
        default:
            ++i;
            textByte(c);
            break;
        }
    }
    flushBytes();
    if (m_highSurrogate) {
        m_out.append(QChar(0xFFFD));
        m_highSurrogate = 0;
    }
    return m_out;
}

void RtfParser::openGroup()
{
    m_star = false;
    m_skipChars = 0;
    if (qsizetype(m_stack.size()) > kMaxDepth) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfParser::closeGroup()
{
    m_star = false;
    m_skipChars = 0;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() > 2) {
        m_stack.pop_back();
        return;
    }
    // The document's own group has closed: whatever follows is not part of it.
    m_done = true;
}

qsizetype RtfParser::controlAt(qsizetype i)
{
    const uchar *d = reinterpret_cast<const uchar *>(m_data.data());
    const qsizetype n = m_data.size();
    qsizetype j = i + 1;
    if (j >= n) {
        return n;
    }
    if (!isLetter(d[j])) {
        const uchar c = d[j];
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            qsizetype k = j + 1;
            while (digits < 2 && k < n && hexValue(d[k]) >= 0) {
                value = value * 16 + hexValue(d[k]);
                ++digits;
                ++k;
            }
            if (digits == 2) {
                textByte(uchar(value));
            }
            return k;
        }
        controlSymbol(c);
        return j + 1;
    }

    const qsizetype nameStart = j;
    while (j < n && isLetter(d[j])) {
        ++j;
    }
    const std::string_view name(reinterpret_cast<const char *>(d + nameStart),
                                size_t(j - nameStart));
    bool negative = false;
    if (j + 1 < n && d[j] == '-' && isDigit(d[j + 1])) {
        negative = true;
        ++j;
    }
    bool hasParam = false;
    qint64 param = 0;
    while (j < n && isDigit(d[j])) {
        hasParam = true;
        param = std::min(param * 10 + (d[j] - '0'), kMaxParam + 1);
        ++j;
    }
    if (negative) {
        param = -param;
    }
    if (j < n && d[j] == ' ') {
        ++j;
    }
    return controlWord(name, hasParam, param, j);
}

void RtfParser::controlSymbol(uchar c)
{
    if (c == '*') {
        m_star = true;
        return;
    }
    m_star = false;
    if (c == '\\' || c == '{' || c == '}') {
        textByte(c);
        return;
    }
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    if (!emitting()) {
        return;
    }
    switch (c) {
    case '~':
        appendUnit(0x00A0);
        break;
    case '_':
        appendUnit(0x2011);
        break;
    case '-':
        appendUnit(0x00AD);
        break;
    case '\r':
    case '\n':
        appendLineBreak();
        break;
    case '\t':
        appendUnit(u'\t');
        break;
    default:
        // \: (index subentry), \| (formula) and symbols without a meaning
        // leave no text.
        break;
    }
}

qsizetype RtfParser::controlWord(std::string_view name, bool hasParam, qint64 param, qsizetype next)
{
    const auto &table = keywords();
    const auto it = table.find(name);
    const bool star = m_star;
    m_star = false;

    if (it != table.end() && it->second.kind == Kw::Bin) {
        // The data is skipped whatever the group; a count past the end of the
        // input simply ends it.
        const qint64 count = hasParam ? std::max<qint64>(param, 0) : 0;
        const qsizetype remaining = m_data.size() - next;
        if (m_skipChars > 0) {
            --m_skipChars;
        }
        return next + qsizetype(std::min<qint64>(count, remaining));
    }

    if (m_skipChars > 0) {
        --m_skipChars;
        return next;
    }

    Group &g = top();
    if (it == table.end()) {
        if (star) {
            g.dest = Dest::Skip;
        }
        return next;
    }
    const KeywordInfo &kw = it->second;
    // \* only asks to skip what the reader does not understand; some writers
    // mark field results with it too.
    if (star && kw.kind == Kw::SkipDest) {
        g.dest = Dest::Skip;
        return next;
    }

    const int value = int(std::clamp<qint64>(param, -kMaxParam, kMaxParam));
    switch (kw.kind) {
    case Kw::SkipDest:
        g.dest = Dest::Skip;
        break;
    case Kw::FontTable:
        if (g.dest == Dest::Text) {
            g.dest = Dest::FontTable;
        }
        break;
    case Kw::Upr:
        if (g.dest == Dest::Text) {
            g.dest = Dest::Upr;
        }
        break;
    case Kw::Ud:
        if (g.dest == Dest::Upr) {
            g.dest = Dest::Text;
        }
        break;
    case Kw::Object:
        if (g.dest == Dest::Text) {
            g.dest = Dest::Object;
        }
        break;
    case Kw::Result:
        if (g.dest == Dest::Object) {
            g.dest = Dest::Text;
        }
        break;
    case Kw::Par:
        if (emitting()) {
            appendLineBreak();
            m_endsWithParBreak = true;
        }
        break;
    case Kw::Line:
        if (emitting()) {
            appendLineBreak();
        }
        break;
    case Kw::SoftBreak:
        if (emitting()) {
            flushBytes();
            if (!m_out.isEmpty() && !m_out.endsWith(QChar(u'\n'))) {
                appendLineBreak();
            }
        }
        break;
    case Kw::Tab:
        if (emitting()) {
            appendUnit(u'\t');
        }
        break;
    case Kw::Cell:
        if (emitting()) {
            flushBytes();
            // Some writers end a cell's last paragraph with \par as well: the
            // cell mark already ends it.
            if (m_endsWithParBreak) {
                m_out.chop(2);
            }
            appendUnit(u'\t');
            m_endsWithCellTab = true;
        }
        break;
    case Kw::Row:
        if (emitting()) {
            flushBytes();
            // A row's last cell ends the line rather than adding a column.
            if (m_endsWithCellTab && m_out.endsWith(QChar(u'\t'))) {
                m_out.chop(1);
            }
            appendLineBreak();
        }
        break;
    case Kw::Char:
        if (emitting()) {
            appendUnit(kw.ch);
        }
        break;
    case Kw::Font:
        if (g.dest == Dest::FontTable) {
            m_definingFont = value;
            m_tableStale = true;
        } else if (hasParam) {
            g.font = value;
        }
        break;
    case Kw::DefaultFont:
        m_defaultFont = value;
        m_tableStale = true;
        break;
    case Kw::Charset:
        if (g.dest == Dest::FontTable && !m_fonts.value(m_definingFont, 0)) {
            m_fonts.insert(m_definingFont, codepages::codePageForCharset(value));
            m_tableStale = true;
        }
        break;
    case Kw::FontCodePage:
        // An explicit code page wins over the charset.
        if (g.dest == Dest::FontTable && value > 0) {
            m_fonts.insert(m_definingFont, value);
            m_tableStale = true;
        }
        break;
    case Kw::AnsiCodePage:
        if (value > 0) {
            m_docCodePage = value;
            m_tableStale = true;
        }
        break;
    case Kw::Ansi:
        m_docCodePage = codepages::Windows1252;
        m_tableStale = true;
        break;
    case Kw::Mac:
        m_docCodePage = 10000;
        m_tableStale = true;
        break;
    case Kw::Pc:
        m_docCodePage = 437;
        m_tableStale = true;
        break;
    case Kw::Pca:
        m_docCodePage = 850;
        m_tableStale = true;
        break;
    case Kw::Plain:
        g.font = -1;
        g.hidden = false;
        break;
    case Kw::Hidden:
        g.hidden = !hasParam || value != 0;
        break;
    case Kw::Uc:
        if (hasParam) {
            g.uc = std::clamp(value, 0, 0xffff);
        }
        break;
    case Kw::U:
        if (hasParam) {
            if (emitting()) {
                // Negative values are how 16-bit writers spell the upper half;
                // below that no 16-bit value reaches.
                appendCodePoint(param < -0x8000 ? -1 : param < 0 ? param + 0x10000 : param);
            }
            m_skipChars = g.uc;
        }
        break;
    case Kw::FieldResult:
    case Kw::Bin:
        break;
    }
    return next;
}

void RtfParser::textByte(uchar c)
{
    m_star = false;
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    if (!emitting()) {
        return;
    }
    updateCodePage();
    if (m_table) {
        if (!m_pendingBytes.isEmpty()) {
            flushBytes();
        }
        const char16_t u = (*m_table)[c];
        if (u >= 0x20 || u == u'\t') {
            appendUnit(u);
        }
        return;
    }
    if (!m_pendingBytes.isEmpty() && m_pendingCodePage != m_tableCodePage) {
        flushBytes();
    }
    m_pendingCodePage = m_tableCodePage;
    m_pendingBytes.append(char(c));
}

int RtfParser::fontCodePage(int font) const
{
    const int cp = m_fonts.value(font == -1 ? m_defaultFont : font, 0);
    return cp > 0 ? cp : m_docCodePage;
}

void RtfParser::updateCodePage()
{
    const int font = top().font;
    if (!m_tableStale && font == m_tableFont) {
        return;
    }
    m_tableStale = false;
    m_tableFont = font;
    m_tableCodePage = fontCodePage(font);
    m_table = codepages::singleByteTable(m_tableCodePage);
}

void RtfParser::flushBytes()
{
    if (m_pendingBytes.isEmpty()) {
        return;
    }
    const QString decoded = codepages::decode(m_pendingCodePage, m_pendingBytes);
    m_pendingBytes.clear();
    for (QChar ch : decoded) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 || u == u'\t') {
            appendUnit(u);
        }
    }
}

void RtfParser::appendUnit(char16_t u)
{
    if (!m_pendingBytes.isEmpty()) {
        flushBytes();
    }
    m_endsWithCellTab = false;
    m_endsWithParBreak = false;
    // Surrogates only stand in pairs; a lone half becomes U+FFFD.
    if (m_highSurrogate) {
        if (QChar::isLowSurrogate(u)) {
            m_out.append(QChar(m_highSurrogate));
            m_out.append(QChar(u));
            m_highSurrogate = 0;
            return;
        }
        m_out.append(QChar(0xFFFD));
        m_highSurrogate = 0;
    }
    if (QChar::isHighSurrogate(u)) {
        m_highSurrogate = u;
    } else if (QChar::isLowSurrogate(u)) {
        m_out.append(QChar(0xFFFD));
    } else {
        m_out.append(QChar(u));
    }
}

void RtfParser::appendCodePoint(qint64 cp)
{
    // A value no character has still stood for one: it shows, like a lone
    // surrogate does.
    if (cp < 0 || cp > 0x10FFFF) {
        appendUnit(u'\uFFFD');
        return;
    }
    if (cp <= 0xFFFF) {
        const char16_t u = char16_t(cp);
        if (u >= 0x20 || u == u'\t') {
            appendUnit(u);
        } else if (u == u'\r' || u == u'\n') {
            appendLineBreak();
        }
        return;
    }
    appendUnit(QChar::highSurrogate(char32_t(cp)));
    appendUnit(QChar::lowSurrogate(char32_t(cp)));
}

void RtfParser::appendLineBreak()
{
    appendUnit(u'\r');
    appendUnit(u'\n');
}

} // namespace

RtfResult readRtf(QByteArrayView data)
{
    if (!data.startsWith(QByteArrayView("{\\rtf"))) {
        return {false, {}, QStringLiteral("The file is not in rich-text format.")};
    }
    RtfParser parser(data);
    return {true, parser.run(), {}};
}

} // namespace quorvane
