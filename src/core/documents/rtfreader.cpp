#include "documents/rtfreader.h"

#include "documents/codepages.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

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
    Text,       // visible text
    FontTable,  // font definitions: numbers and charsets, names ignored
    Skip,       // everything ignored
    Upr,        // ignored, except a \ud group inside it
    Object,     // ignored, except a \result group inside it
    ColorTable, // colour definitions
    FieldInst,  // a field's instruction: read for hyperlink addresses
};

struct Group
{
    Dest dest = Dest::Text;
    bool hidden = false;
    int uc = 1;    // fallback characters after each \u
    int font = -1; // -1: the document's default font
    RtfCharFormat chars;
    RtfParaFormat para;
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
    // formatting, noted only when asked for
    ColorTable,
    Red,
    Green,
    Blue,
    Field,
    FieldInst,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    ColorIndex,
    FontSize,
    ParagraphDefaults,
    ListLevel,
    ListOverride,
    LeftIndent,
    FirstIndent,
    InTable,
    FixedPitchFamily,
    FontPitch,
    ListLabel,
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

        t.emplace("colortbl", KeywordInfo{Kw::ColorTable});
        t.emplace("red", KeywordInfo{Kw::Red});
        t.emplace("green", KeywordInfo{Kw::Green});
        t.emplace("blue", KeywordInfo{Kw::Blue});
        t.emplace("field", KeywordInfo{Kw::Field});
        t.emplace("fldinst", KeywordInfo{Kw::FieldInst});
        t.emplace("b", KeywordInfo{Kw::Bold});
        t.emplace("i", KeywordInfo{Kw::Italic});
        for (const char *name : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                 "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                                 "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
            t.emplace(name, KeywordInfo{Kw::Underline});
        }
        t.emplace("ulnone", KeywordInfo{Kw::UnderlineNone});
        t.emplace("strike", KeywordInfo{Kw::Strike});
        t.emplace("striked", KeywordInfo{Kw::Strike});
        t.emplace("cf", KeywordInfo{Kw::ColorIndex});
        t.emplace("fs", KeywordInfo{Kw::FontSize});
        t.emplace("pard", KeywordInfo{Kw::ParagraphDefaults});
        t.emplace("ilvl", KeywordInfo{Kw::ListLevel});
        t.emplace("ls", KeywordInfo{Kw::ListOverride});
        t.emplace("li", KeywordInfo{Kw::LeftIndent});
        t.emplace("fi", KeywordInfo{Kw::FirstIndent});
        t.emplace("intbl", KeywordInfo{Kw::InTable});
        t.emplace("fmodern", KeywordInfo{Kw::FixedPitchFamily});
        t.emplace("fprq", KeywordInfo{Kw::FontPitch});
        t.emplace("listtext", KeywordInfo{Kw::ListLabel});
        t.emplace("pntext", KeywordInfo{Kw::ListLabel});
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
    RtfParser(QByteArrayView data, RtfFormatting *formatting)
        : m_data(data), m_formatting(formatting)
    {}

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

    void noteFormat();
    void fieldResult(Group &g);

    QByteArrayView m_data;
    RtfFormatting *m_formatting; // null when only the text is wanted
    QSet<int> m_fixedFonts;
    QByteArray m_fieldInst; // the instruction of the field being read
    QByteArray m_fontName;  // the name of the font table entry being read
    int m_red = 0, m_green = 0, m_blue = 0;
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
    int m_colorTableEntries = 0;
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
    if (m_formatting)
        m_formatting->last = m_stack.back().para;
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
            flushBytes();
            if (m_formatting)
                m_formatting->paragraphs.push_back({m_out.size(), g.para, false});
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
            if (m_formatting)
                m_formatting->paragraphs.push_back({m_out.size(), g.para, true});
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
            m_fontName.clear();
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
        g.chars = RtfCharFormat{.label = g.chars.label, .link = g.chars.link};
        break;
    case Kw::ColorTable:
        if (g.dest == Dest::Text) {
            g.dest = Dest::ColorTable;
            m_red = m_green = m_blue = 0;
        }
        break;
    case Kw::Red:
        m_red = std::clamp(value, 0, 255);
        break;
    case Kw::Green:
        m_green = std::clamp(value, 0, 255);
        break;
    case Kw::Blue:
        m_blue = std::clamp(value, 0, 255);
        break;
    case Kw::Field:
        m_fieldInst.clear();
        break;
    case Kw::FieldInst:
        if (g.dest == Dest::Text)
            g.dest = Dest::FieldInst;
        break;
    case Kw::Bold:
        g.chars.bold = !hasParam || value != 0;
        break;
    case Kw::Italic:
        g.chars.italic = !hasParam || value != 0;
        break;
    case Kw::Underline:
        g.chars.underline = !hasParam || value != 0;
        break;
    case Kw::UnderlineNone:
        g.chars.underline = false;
        break;
    case Kw::Strike:
        g.chars.strike = !hasParam || value != 0;
        break;
    case Kw::ColorIndex:
        g.chars.color = std::max(value, 0);
        break;
    case Kw::FontSize:
        g.chars.halfPoints = hasParam && value > 0 ? value : 24;
        break;
    case Kw::ParagraphDefaults:
        g.para = RtfParaFormat{};
        break;
    case Kw::ListLevel:
        g.para.listLevel = std::clamp(value, 0, 8);
        break;
    case Kw::ListOverride:
        g.para.list = value;
        break;
    case Kw::LeftIndent:
        g.para.leftIndent = value;
        break;
    case Kw::FirstIndent:
        g.para.firstIndent = value;
        break;
    case Kw::InTable:
        g.para.inTable = true;
        break;
    case Kw::FixedPitchFamily:
        if (g.dest == Dest::FontTable)
            m_fixedFonts.insert(m_definingFont);
        break;
    case Kw::FontPitch:
        if (g.dest == Dest::FontTable && value == 1)
            m_fixedFonts.insert(m_definingFont);
        break;
    case Kw::ListLabel:
        g.chars.label = true;
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
        fieldResult(g);
        break;
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
    const Dest dest = top().dest;
    if (dest == Dest::ColorTable && c == ';') {
        if (m_formatting && !m_stack.back().hidden) {
            // The first entry, usually empty, is the automatic colour.
            if (m_formatting->colors.size() == 1 && m_colorTableEntries == 0)
                m_formatting->colors[0] = qRgb(m_red, m_green, m_blue);
            else
                m_formatting->colors.push_back(qRgb(m_red, m_green, m_blue));
        }
        ++m_colorTableEntries;
        m_red = m_green = m_blue = 0;
        return;
    }
    if (dest == Dest::FontTable) {
        if (c == ';') {
            // Some writers give fixed-pitch fonts the wrong family: know the usual ones.
            static const QRegularExpression fixed(
                QStringLiteral("mono|courier|consola|console|menlo|monaco|fixedsys|inconsolata|"
                               "source code|typewriter"),
                QRegularExpression::CaseInsensitiveOption);
            if (fixed.match(QString::fromLatin1(m_fontName)).hasMatch())
                m_fixedFonts.insert(m_definingFont);
            m_fontName.clear();
        } else if (m_fontName.size() < 64) {
            m_fontName.append(char(c));
        }
        return;
    }
    if (dest == Dest::FieldInst) {
        if (m_fieldInst.size() < 4096)
            m_fieldInst.append(char(c));
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

void RtfParser::noteFormat()
{
    RtfCharFormat format = top().chars;
    const int font = top().font == -1 ? m_defaultFont : top().font;
    format.fixedPitch = m_fixedFonts.contains(font);
    auto &runs = m_formatting->runs;
    if (!runs.empty() && runs.back().format == format)
        return;
    if (!runs.empty() && runs.back().start == m_out.size())
        runs.back().format = format;
    else
        runs.push_back({m_out.size(), format});
}

void RtfParser::fieldResult(Group &g)
{
    if (!m_formatting)
        return;
    static const QRegularExpression hyperlink(
        QStringLiteral("^\\s*HYPERLINK\\s+(?:\\\\[a-z]\\s+\"[^\"]*\"\\s+)*\"([^\"]+)\""));
    const QRegularExpressionMatch match = hyperlink.match(QString::fromLatin1(m_fieldInst));
    if (!match.hasMatch())
        return;
    g.chars.link = int(m_formatting->links.size());
    m_formatting->links.push_back(match.captured(1));
}

void RtfParser::appendUnit(char16_t u)
{
    if (!m_pendingBytes.isEmpty()) {
        flushBytes();
    }
    if (m_formatting)
        noteFormat();
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

RtfResult readRtf(QByteArrayView data, RtfFormatting *formatting)
{
    if (!data.startsWith(QByteArrayView("{\\rtf"))) {
        return {false, {}, QStringLiteral("The file is not in rich-text format.")};
    }
    RtfParser parser(data, formatting);
    return {true, parser.run(), {}};
}

} // namespace quorvane
