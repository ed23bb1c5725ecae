#include "import/htmlimport.h"

#include "documents/codepages.h"
#include "import/bbcodewriter.h"
#include "import/csscolors.h"
#include "import/shallowhtml.h"
#include "platform/ondemandlibrary.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocumentFragment>

#include <gumbo.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace quorvane {

namespace {

using Decls = std::vector<std::pair<std::string_view, std::string_view>>;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(uchar(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(uchar(s.back())))
        s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(uchar(x)) == std::tolower(uchar(y));
           });
}

bool containsNoCase(std::string_view haystack, std::string_view needle)
{
    if (needle.size() > haystack.size())
        return false;
    for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        if (equalsNoCase(haystack.substr(i, needle.size()), needle))
            return true;
    }
    return false;
}

// The declarations of a style attribute, in order; later ones win.
void parseStyle(std::string_view style, Decls &decls)
{
    decls.clear();
    while (!style.empty()) {
        const size_t end = std::min(style.find(';'), style.size());
        const std::string_view decl = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        const size_t colon = decl.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view value = trimmed(decl.substr(colon + 1));
        if (value.size() > 10 && equalsNoCase(value.substr(value.size() - 10), "!important"))
            value = trimmed(value.substr(0, value.size() - 10));
        decls.emplace_back(trimmed(decl.substr(0, colon)), value);
    }
}

// The parser gives attribute names in lower case.
const char *attribute(const GumboElement &element, const char *name)
{
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto *attr = static_cast<const GumboAttribute *>(element.attributes.data[i]);
        if (std::strcmp(attr->name, name) == 0)
            return attr->value;
    }
    return nullptr;
}

QString fromUtf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool isSkipped(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH:
    case GUMBO_TAG_OBJECT:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_META:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_BASE:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_VIDEO:
    case GUMBO_TAG_CANVAS:
    case GUMBO_TAG_DATALIST:
        return true;
    default:
        return false;
    }
}

// Blocks that stand apart from their neighbours by an empty line, and blocks
// that only start a new line.
enum class BlockKind { None, Line, Paragraph };

BlockKind blockKind(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_LISTING:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_MENU:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_FIGURE:
        return BlockKind::Paragraph;
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_BODY:
        return BlockKind::Line;
    default:
        return BlockKind::None;
    }
}

bool isHeading(GumboTag tag)
{
    return tag >= GUMBO_TAG_H1 && tag <= GUMBO_TAG_H6;
}

bool isPreformatted(GumboTag tag)
{
    return tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING || tag == GUMBO_TAG_XMP ||
           tag == GUMBO_TAG_PLAINTEXT;
}

// Addresses a reader can follow from a post; page-relative ones lead nowhere.
bool isPostableLink(QStringView href)
{
    static const char *const schemes[] = {"http://", "https://", "ftp://", "mailto:"};
    for (const char *scheme : schemes) {
        if (href.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return href.size() > qsizetype(std::strlen(scheme));
    }
    return false;
}

bool isFixedPitchFamily(std::string_view family)
{
    static const QRegularExpression fixed(
        QStringLiteral("mono|courier|consola|console|menlo|monaco|fixedsys|inconsolata|"
                       "source code|typewriter"),
        QRegularExpression::CaseInsensitiveOption);
    return fixed.match(fromUtf8(family)).hasMatch();
}

// Code elements, and text set in a fixed-pitch font as office programs write code.
bool isFixedPitch(const GumboElement &element, const Decls &decls)
{
    switch (element.tag) {
    case GUMBO_TAG_CODE:
    case GUMBO_TAG_KBD:
    case GUMBO_TAG_SAMP:
    case GUMBO_TAG_TT:
        return true;
    case GUMBO_TAG_FONT:
        if (const char *face = attribute(element, "face"))
            return isFixedPitchFamily(face);
        break;
    default:
        break;
    }
    for (const auto &[name, value] : decls) {
        if (equalsNoCase(name, "font-family") || equalsNoCase(name, "font"))
            return isFixedPitchFamily(value);
    }
    return false;
}

// Text that a forum would read as one of its tags.
bool looksLikeTag(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("\\[/?[A-Za-z*][A-Za-z0-9]*(=[^\\]]*)?\\]"));
    return tag.match(text).hasMatch();
}

struct Context
{
    InlineStyle style;
    bool preserve = false;                   // white space as written
    bool inCell = false;                     // inside a table cell: no line breaks, no lists
    bool inLink = false;                     // link colours are the browser's, not the author's
    double points = 12;                      // the font size in effect
    int sizeNumber = 3;                      // ... and the post's size for it
    QString color = QStringLiteral("Black"); // the colour in effect
    // Inside an element whose text was already looked through (a fixed-pitch
    // element, a paragraph): those inside it are not again, so that nested
    // ones cost no more than their text.
    bool fixedPitchChecked = false;
    bool inParagraph = false;
};

enum After : quint8 {
    AfterNone = 0,
    AfterLine = 1,
    AfterParagraph = 2,
    AfterCloseList = 4,
    AfterCloseQuote = 8,
    AfterPopRow = 16,
};

struct Frame
{
    const GumboNode *node;
    unsigned next = 0;
    Context ctx;
    quint8 after = AfterNone;
};

class HtmlWalker
{
public:
    HtmlWalker(const ImportOptions &options, bool hasFragment)
        : m_options(options), m_inFragment(!hasFragment)
    {}

    QString run(const GumboNode *document);

private:
    void enterElement(const GumboNode *node, const Context &parent);
    void leave(const Frame &frame, size_t depth);
    void textNode(const GumboNode *node, const Context &ctx);
    void requestBreak(const Context &ctx, BlockKind kind);
    void applyStyle(const GumboElement &element, const Decls &decls, Context &ctx, bool baseline);
    void setColor(QStringView value, Context &ctx, bool baseline);
    void setPoints(std::optional<double> points, Context &ctx, bool baseline);
    bool wordListItem(const GumboNode *node, const Decls &decls, size_t depth);
    void closeWordLists();

    const ImportOptions &m_options;
    BBCodeWriter m_writer;
    std::vector<Frame> m_stack;
    std::vector<int> m_rowCells; // cells seen in each open table row
    bool m_inFragment;

    // Word's lists are paragraphs with a typed label: the lists they make,
    // innermost last, and the depth of the paragraphs that make them.
    std::vector<bool> m_wordLists;
    size_t m_wordListDepth = 0;
    qsizetype m_skipLeading = 0; // characters of a typed label still to drop
    Decls m_decls;
};

QString HtmlWalker::run(const GumboNode *document)
{
    m_stack.reserve(64);
    Context root;
    m_stack.push_back(Frame{document, 0, root, AfterNone});
    while (!m_stack.empty()) {
        Frame &frame = m_stack.back();
        const GumboVector &children = frame.node->type == GUMBO_NODE_DOCUMENT
                                          ? frame.node->v.document.children
                                          : frame.node->v.element.children;
        if (frame.next >= children.length) {
            const Frame done = std::move(frame);
            m_stack.pop_back();
            leave(done, m_stack.size());
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[frame.next++]);
        switch (child->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            enterElement(child, frame.ctx);
            break;
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            textNode(child, frame.ctx);
            break;
        case GUMBO_NODE_COMMENT: {
            const std::string_view comment = trimmed(child->v.text.text);
            if (comment == "StartFragment")
                m_inFragment = true;
            else if (comment == "EndFragment")
                m_inFragment = false;
            break;
        }
        case GUMBO_NODE_DOCUMENT:
            break;
        }
    }
    closeWordLists();
    return m_writer.finish();
}

void HtmlWalker::requestBreak(const Context &ctx, BlockKind kind)
{
    if (!m_inFragment || kind == BlockKind::None)
        return;
    if (ctx.inCell)
        m_writer.space();
    else
        m_writer.blockBreak(kind == BlockKind::Paragraph ? Break::Paragraph : Break::Line);
}

void HtmlWalker::textNode(const GumboNode *node, const Context &ctx)
{
    if (!m_inFragment)
        return;
    QString text = QString::fromUtf8(node->v.text.text);
    if (m_skipLeading > 0) {
        const qsizetype dropped = std::min(m_skipLeading, text.size());
        text.remove(0, dropped);
        m_skipLeading -= dropped;
    }
    m_writer.text(text, ctx.style, ctx.preserve && !ctx.inCell);
}

void HtmlWalker::setColor(QStringView value, Context &ctx, bool baseline)
{
    const std::optional<QRgb> rgb = csscolors::parse(value);
    if (!rgb)
        return;
    const QString name = csscolors::nearestName(*rgb);
    if (name == ctx.color)
        return;
    ctx.color = name;
    if (!baseline)
        ctx.style.color = name;
}

void HtmlWalker::setPoints(std::optional<double> points, Context &ctx, bool baseline)
{
    if (!points)
        return;
    ctx.points = *points;
    const int number = csscolors::sizeNumber(*points);
    if (number == ctx.sizeNumber)
        return;
    ctx.sizeNumber = number;
    if (!baseline)
        ctx.style.size = number;
}

void HtmlWalker::applyStyle(const GumboElement &element, const Decls &decls, Context &ctx,
                            bool baseline)
{
    const bool keep = m_options.keepColoursAndSizes && !ctx.inLink;
    if (keep && element.tag == GUMBO_TAG_FONT) {
        if (const char *color = attribute(element, "color"))
            setColor(QString::fromUtf8(color), ctx, baseline);
        if (const char *size = attribute(element, "size"))
            setPoints(csscolors::fontElementPoints(QString::fromUtf8(size), ctx.points), ctx,
                      baseline);
    }
    for (const auto &[name, value] : decls) {
        if (equalsNoCase(name, "font-weight")) {
            if (equalsNoCase(value, "bold") || equalsNoCase(value, "bolder"))
                ctx.style.bold = true;
            else if (equalsNoCase(value, "normal") || equalsNoCase(value, "lighter"))
                ctx.style.bold = false;
            else if (!value.empty() && std::isdigit(uchar(value.front())))
                ctx.style.bold = std::atoi(std::string(value).c_str()) >= 600;
        } else if (equalsNoCase(name, "font-style")) {
            ctx.style.italic = containsNoCase(value, "italic") || containsNoCase(value, "oblique");
        } else if (equalsNoCase(name, "text-decoration") ||
                   equalsNoCase(name, "text-decoration-line")) {
            if (containsNoCase(value, "underline"))
                ctx.style.underline = true;
            if (containsNoCase(value, "line-through"))
                ctx.style.strike = true;
            if (containsNoCase(value, "none"))
                ctx.style.underline = ctx.style.strike = false;
        } else if (equalsNoCase(name, "white-space")) {
            ctx.preserve = containsNoCase(value, "pre") && !containsNoCase(value, "pre-line");
        } else if (keep && equalsNoCase(name, "color")) {
            setColor(fromUtf8(value), ctx, baseline);
        } else if (keep && equalsNoCase(name, "font-size")) {
            setPoints(csscolors::fontSizePoints(fromUtf8(value), ctx.points), ctx, baseline);
        }
    }
}

// The text at the start of an element, as far as a list label could reach.
QString leadingText(const GumboNode *node, qsizetype enough)
{
    QString text;
    std::vector<std::pair<const GumboNode *, unsigned>> stack{{node, 0}};
    while (!stack.empty() && text.size() < enough) {
        auto &[current, next] = stack.back();
        const GumboVector &children = current->v.element.children;
        if (next >= children.length) {
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
            text += QString::fromUtf8(child->v.text.text);
        else if (child->type == GUMBO_NODE_ELEMENT && !isSkipped(child->v.element.tag))
            stack.emplace_back(child, 0);
    }
    return text;
}

// Word's label of a list paragraph: the element styled mso-list:Ignore.
const GumboNode *wordLabel(const GumboNode *node)
{
    std::vector<std::pair<const GumboNode *, unsigned>> stack{{node, 0}};
    while (!stack.empty()) {
        auto &[current, next] = stack.back();
        const GumboVector &children = current->v.element.children;
        if (next >= children.length) {
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        if (child->type != GUMBO_NODE_ELEMENT)
            continue;
        const char *style = attribute(child->v.element, "style");
        if (style && containsNoCase(style, "mso-list") && containsNoCase(style, "ignore"))
            return child;
        stack.emplace_back(child, 0);
    }
    return nullptr;
}

// A paragraph whose every word is in a fixed-pitch font is code, as office
// programs write it.
bool whollyFixedPitch(const GumboNode *paragraph)
{
    bool anyText = false;
    Decls decls;
    std::vector<std::tuple<const GumboNode *, unsigned, bool>> stack{{paragraph, 0, false}};
    while (!stack.empty()) {
        auto &[current, next, fixed] = stack.back();
        const GumboVector &children = current->v.element.children;
        if (next >= children.length) {
            stack.pop_back();
            continue;
        }
        const bool inFixed = fixed;
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        if (child->type == GUMBO_NODE_TEXT) {
            if (!inFixed && !trimmed(child->v.text.text).empty())
                return false;
            anyText = true;
        } else if (child->type == GUMBO_NODE_ELEMENT && !isSkipped(child->v.element.tag)) {
            decls.clear();
            if (const char *style = attribute(child->v.element, "style"))
                parseStyle(style, decls);
            stack.emplace_back(child, 0, inFixed || isFixedPitch(child->v.element, decls));
        }
    }
    return anyText;
}

bool HtmlWalker::wordListItem(const GumboNode *node, const Decls &decls, size_t depth)
{
    const GumboElement &element = node->v.element;
    std::string_view msoList;
    double marginLeft = 0;
    for (const auto &[name, value] : decls) {
        if (equalsNoCase(name, "mso-list"))
            msoList = value;
        else if (equalsNoCase(name, "margin-left"))
            marginLeft = csscolors::fontSizePoints(fromUtf8(value), 12).value_or(0);
    }
    const char *cls = attribute(element, "class");
    const bool listStyled = cls && std::strncmp(cls, "MsoList", 7) == 0;
    static const QRegularExpression levelPattern(QStringLiteral("level(\\d+)"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch levelMatch = levelPattern.match(fromUtf8(msoList));
    if (!levelMatch.hasMatch() && !listStyled)
        return false;

    // The label Word typed: in its own span, or at the start of the text.
    static const QRegularExpression labelPattern(
        QStringLiteral("^[\\s\\x{A0}]*(\\(?(?:\\d{1,3}|[A-Za-z]|[ivxlcdmIVXLCDM]{1,6})[.)]|"
                       "[\\x{B7}\\x{A7}\\x{2022}\\x{25AA}\\x{25CF}\\x{25E6}\\x{2013}\\x{F0B7}"
                       "\\x{F0A7}\\x{D8}\\x{FC}o\\-*])[\\s\\x{A0}]+"));
    static const QRegularExpression orderedPattern(
        QStringLiteral("^\\(?(?:\\d{1,3}|[A-Za-z]|[ivxlcdmIVXLCDM]{1,6})[.)]$"));
    QString label;
    qsizetype skip = 0;
    if (const GumboNode *span = wordLabel(node)) {
        label = leadingText(span, 32).trimmed();
        label.remove(QChar(0xA0));
    } else {
        const QRegularExpressionMatch match = labelPattern.match(leadingText(node, 32));
        if (match.hasMatch()) {
            label = match.captured(1);
            skip = match.capturedLength(0);
        }
    }
    if (label.isEmpty() && !levelMatch.hasMatch())
        return false;

    int level = levelMatch.hasMatch() ? levelMatch.captured(1).toInt()
                                      : std::max(1, int(std::lround(marginLeft / 36)));
    level = std::clamp(level, 1, 9);
    const bool ordered = orderedPattern.match(label).hasMatch();

    if (m_wordLists.empty())
        m_writer.blockBreak(Break::Paragraph);
    while (int(m_wordLists.size()) > level) {
        m_wordLists.pop_back();
        m_writer.closeList();
    }
    if (int(m_wordLists.size()) == level && m_wordLists.back() != ordered) {
        m_wordLists.pop_back();
        m_writer.closeList();
    }
    while (int(m_wordLists.size()) < level) {
        m_wordLists.push_back(ordered);
        m_writer.openList(ordered);
    }
    m_writer.listItem();
    m_wordListDepth = depth;
    m_skipLeading = skip;
    return true;
}

void HtmlWalker::closeWordLists()
{
    while (!m_wordLists.empty()) {
        m_wordLists.pop_back();
        m_writer.closeList();
    }
}

void HtmlWalker::enterElement(const GumboNode *node, const Context &parent)
{
    const GumboElement &element = node->v.element;
    const GumboTag tag = element.tag;
    if (isSkipped(tag))
        return;
    if (tag == GUMBO_TAG_UNKNOWN) {
        // Word's <xml> islands hold settings, not text.
        std::string_view name(element.original_tag.data, element.original_tag.length);
        if (name.size() >= 4 && equalsNoCase(name.substr(0, 4), "<xml"))
            return;
    }
    const char *styleAttr = attribute(element, "style");
    m_decls.clear();
    if (styleAttr) {
        parseStyle(styleAttr, m_decls);
        for (const auto &[name, value] : m_decls) {
            if ((equalsNoCase(name, "display") && equalsNoCase(value, "none")) ||
                (equalsNoCase(name, "mso-hide") && equalsNoCase(value, "all")) ||
                (equalsNoCase(name, "visibility") && equalsNoCase(value, "hidden")) ||
                (equalsNoCase(name, "mso-list") && containsNoCase(value, "ignore")))
                return;
        }
    }

    const size_t depth = m_stack.size();
    Frame frame{node, 0, parent, AfterNone};
    Context &ctx = frame.ctx;
    const BlockKind block = blockKind(tag);

    bool wordItem = false;
    if (tag == GUMBO_TAG_P && m_inFragment && !parent.inCell && !parent.inParagraph &&
        (m_wordLists.empty() || depth <= m_wordListDepth))
        wordItem = wordListItem(node, m_decls, depth);
    if (!wordItem && !m_wordLists.empty() && depth <= m_wordListDepth && block != BlockKind::None)
        closeWordLists();

    switch (tag) {
    case GUMBO_TAG_BR:
        if (m_inFragment) {
            if (ctx.inCell)
                m_writer.space();
            else
                m_writer.lineBreak();
        }
        return;
    case GUMBO_TAG_IMG:
        if (m_inFragment) {
            const QString src = QString::fromUtf8(attribute(element, "src")).trimmed();
            if (src.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
                src.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
                m_writer.image(src, ctx.style);
        }
        return;
    case GUMBO_TAG_HR:
        requestBreak(ctx, BlockKind::Paragraph);
        return;
    default:
        break;
    }

    if (!wordItem) {
        requestBreak(ctx, block);
        if (block == BlockKind::Paragraph)
            frame.after |= AfterParagraph;
        else if (block == BlockKind::Line)
            frame.after |= AfterLine;
    }

    switch (tag) {
    case GUMBO_TAG_B:
    case GUMBO_TAG_STRONG:
        ctx.style.bold = true;
        break;
    case GUMBO_TAG_I:
    case GUMBO_TAG_EM:
    case GUMBO_TAG_CITE:
    case GUMBO_TAG_VAR:
    case GUMBO_TAG_DFN:
        ctx.style.italic = true;
        break;
    case GUMBO_TAG_U:
    case GUMBO_TAG_INS:
        ctx.style.underline = true;
        break;
    case GUMBO_TAG_S:
    case GUMBO_TAG_STRIKE:
    case GUMBO_TAG_DEL:
        ctx.style.strike = true;
        break;
    case GUMBO_TAG_A:
        if (const char *href = attribute(element, "href")) {
            const QString address = QString::fromUtf8(href).trimmed();
            if (isPostableLink(address) && !ctx.style.code) {
                ctx.style.link = address;
                ctx.inLink = true;
            }
        }
        break;
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_MENU:
        if (!ctx.inCell && m_inFragment) {
            m_writer.openList(tag == GUMBO_TAG_OL);
            frame.after |= AfterCloseList;
        }
        break;
    case GUMBO_TAG_LI:
        if (!ctx.inCell && m_inFragment && m_writer.listDepth() > 0) {
            m_writer.listItem();
            frame.after &= quint8(~AfterLine);
        }
        break;
    case GUMBO_TAG_BLOCKQUOTE:
        if (!ctx.inCell && m_inFragment) {
            m_writer.openQuote();
            frame.after |= AfterCloseQuote;
        }
        break;
    case GUMBO_TAG_TR:
        if (!ctx.inCell) {
            m_rowCells.push_back(0);
            frame.after |= AfterPopRow;
        }
        break;
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
        if (!ctx.inCell) {
            if (!m_rowCells.empty() && m_rowCells.back()++ > 0 && m_inFragment)
                m_writer.cellSeparator();
            ctx.inCell = true;
        } else {
            requestBreak(ctx, BlockKind::Line);
        }
        break;
    default:
        if (isHeading(tag))
            ctx.style.bold = true;
        else if (isPreformatted(tag) && !ctx.inCell) {
            ctx.preserve = true;
            ctx.style.code = true;
            ctx.style.link.clear();
        }
        break;
    }

    if (!ctx.style.code && !ctx.inCell) {
        // Fixed-pitch text is plain text unless it holds what a forum would
        // take for its tags (in [CODE] it shows as written) or makes up a
        // whole paragraph.
        if (tag == GUMBO_TAG_P) {
            if (!ctx.inParagraph && whollyFixedPitch(node))
                ctx.style.code = true;
        } else if (!ctx.fixedPitchChecked && isFixedPitch(element, m_decls)) {
            ctx.fixedPitchChecked = true;
            if (looksLikeTag(leadingText(node, 1 << 16)))
                ctx.style.code = true;
        }
    }
    if (tag == GUMBO_TAG_P)
        ctx.inParagraph = true;
    const bool baseline = tag == GUMBO_TAG_BODY || tag == GUMBO_TAG_HTML;
    applyStyle(element, m_decls, ctx, baseline);
    if (ctx.style.code) {
        ctx.style.link.clear();
        ctx.inLink = false;
    }
    // Links are underlined by the browser's habit, not the author's.
    if (ctx.inLink)
        ctx.style.underline = false;
    m_stack.push_back(std::move(frame));
}

void HtmlWalker::leave(const Frame &frame, size_t depth)
{
    // Word's lists inside a quote or list end before it does.
    if (!m_wordLists.empty() && depth < m_wordListDepth)
        closeWordLists();
    if (frame.after & AfterCloseList)
        m_writer.closeList();
    if (frame.after & AfterCloseQuote)
        m_writer.closeQuote();
    if ((frame.after & AfterPopRow) && !m_rowCells.empty())
        m_rowCells.pop_back();
    const Context &outer = m_stack.empty() ? frame.ctx : m_stack.back().ctx;
    if (frame.after & AfterParagraph)
        requestBreak(outer, BlockKind::Paragraph);
    else if (frame.after & AfterLine)
        requestBreak(outer, BlockKind::Line);
}

// Gumbo allocates every node, attribute and string piece by piece and frees
// them all at the end: an arena that frees nothing until then saves most of
// the time malloc would take.
class Arena
{
public:
    ~Arena()
    {
        for (char *block : m_blocks)
            std::free(block);
    }

    static void *allocate(void *self, size_t size)
    {
        return static_cast<Arena *>(self)->take(size);
    }
    static void release(void *, void *) {}

private:
    void *take(size_t size)
    {
        size = (size + 15) & ~size_t(15);
        if (size > m_left) {
            const size_t blockSize = std::max(size, kBlockSize);
            char *block = static_cast<char *>(std::malloc(blockSize));
            if (!block)
                throw std::bad_alloc();
            m_blocks.push_back(block);
            m_next = block;
            m_left = blockSize;
        }
        void *at = m_next;
        m_next += size;
        m_left -= size;
        return at;
    }

    static constexpr size_t kBlockSize = 1 << 20;
    std::vector<char *> m_blocks;
    char *m_next = nullptr;
    size_t m_left = 0;
};

// The clipboard format of Windows puts a header of offsets before the markup.
QStringView withoutClipboardHeader(QStringView html)
{
    if (!html.startsWith(QLatin1String("Version:")))
        return html;
    const qsizetype start = html.indexOf(u'<');
    return start < 0 ? QStringView() : html.mid(start);
}

// The HTML parser, bound the first time formatted text is imported: a start
// that shows the window has no need of it.
struct GumboCalls
{
    decltype(&gumbo_parse_with_options) parse = nullptr;
    const GumboOptions *defaults = nullptr;
    bool ready = false;
};

const GumboCalls &gumbo()
{
    static const GumboCalls calls = [] {
        GumboCalls c;
        OnDemandLibrary library(QStringLiteral("gumbo"), 1);
        c.ready = library.find(c.parse, "gumbo_parse_with_options") &&
                  library.findData(c.defaults, "kGumboDefaultOptions");
        if (!c.ready)
            qWarning("quorvane: formatted text is imported as plain text: %s",
                     qPrintable(library.errorString()));
        return c;
    }();
    return calls;
}

// Without the parser every word still arrives, in paragraphs.
QString plainText(QStringView html)
{
    QString text = QTextDocumentFragment::fromHtml(html.toString()).toPlainText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

QString htmlToBBCode(QStringView html, const ImportOptions &options)
{
    html = withoutClipboardHeader(html);
    const GumboCalls &parser = gumbo();
    if (!parser.ready)
        return plainText(html);
    QByteArray utf8 = html.toUtf8();
    // Control characters (NUL above all) are never text a post can show.
    utf8.removeIf(
        [](char c) { return uchar(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f'; });
    // The parser's work grows with the square of the nesting depth.
    utf8 = shallowHtml(utf8);
    const bool hasFragment = utf8.contains("<!--StartFragment");

    Arena arena;
    GumboOptions gumboOptions = *parser.defaults;
    gumboOptions.allocator = &Arena::allocate;
    gumboOptions.deallocator = &Arena::release;
    gumboOptions.userdata = &arena;
    gumboOptions.max_errors = 0;
    GumboOutput *output = parser.parse(&gumboOptions, utf8.constData(), size_t(utf8.size()));
    HtmlWalker walker(options, hasFragment);
    // The arena frees the tree as a whole.
    return walker.run(output->document);
}

QString decodeHtml(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        return decoder.decode(bytes.sliced(2));
    }
    static const QRegularExpression charsetPattern(
        QStringLiteral("charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 4096)));
    const QString charset = charsetPattern.match(head).captured(1).toLower();

    static const QRegularExpression windowsPage(QStringLiteral("^(?:windows-|cp|x-cp)(\\d{3,4})$"));
    static const QRegularExpression isoPage(QStringLiteral("^iso[-_]?8859-(\\d{1,2})$"));
    int codePage = 0;
    if (charset == QLatin1String("utf-8") || charset == QLatin1String("utf8")) {
        codePage = 0;
    } else if (const auto m = windowsPage.match(charset); m.hasMatch()) {
        codePage = m.captured(1).toInt();
    } else if (const auto iso = isoPage.match(charset); iso.hasMatch()) {
        // Browsers read Latin-1 as Windows-1252, and so do these pages.
        const int part = iso.captured(1).toInt();
        codePage = part == 1 ? codepages::Windows1252 : 28590 + part;
    } else if (charset == QLatin1String("us-ascii") || charset == QLatin1String("latin1")) {
        codePage = codepages::Windows1252;
    } else if (charset == QLatin1String("shift_jis")) {
        codePage = 932;
    } else if (charset == QLatin1String("gb2312") || charset == QLatin1String("gbk")) {
        codePage = 936;
    } else if (charset == QLatin1String("big5")) {
        codePage = 950;
    } else if (charset == QLatin1String("euc-kr")) {
        codePage = 949;
    } else if (charset == QLatin1String("koi8-r")) {
        codePage = 20866;
    }
    if (codePage > 0)
        return codepages::decode(codePage, bytes);

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return codepages::decodeWindows1252(bytes);
}

} // namespace quorvane
