#include "import/bbcodewriter.h"

#include <algorithm>

namespace quorvane {

namespace {

const QString kNewline = QStringLiteral("\r\n");

bool isCollapsible(char16_t u)
{
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

// An address inside [URL=...] or [IMG]...[/IMG] may not end the tag early.
QString tagSafeAddress(QStringView address)
{
    QString out;
    out.reserve(address.size());
    for (QChar c : address) {
        switch (c.unicode()) {
        case u'[':
            out += QLatin1String("%5B");
            break;
        case u']':
            out += QLatin1String("%5D");
            break;
        case u'\r':
        case u'\n':
        case u'\t':
            break;
        default:
            out += c;
        }
    }
    return out.trimmed();
}

} // namespace

void BBCodeWriter::text(QStringView text, const InlineStyle &style, bool preserve)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0 || u == u'\r')
            continue;
        if (preserve) {
            if (u == u'\n') {
                lineBreak();
            } else if (u == u' ' || u == u'\t' || u == 0xA0) {
                // Kept as written, but not at the end of a line.
                m_pendingSpace += u == u'\t' ? QLatin1Char('\t') : QLatin1Char(' ');
                m_lastSpaceCollapsible = false;
            } else {
                visibleChar(c, style);
            }
        } else if (isCollapsible(u)) {
            space();
        } else if (u == 0xA0) {
            m_pendingSpace += QLatin1Char(' ');
            m_lastSpaceCollapsible = false;
        } else {
            visibleChar(c, style);
        }
    }
}

void BBCodeWriter::space()
{
    if ((m_lineHasText || !m_pendingSpace.isEmpty()) && !m_lastSpaceCollapsible) {
        m_pendingSpace += QLatin1Char(' ');
        m_lastSpaceCollapsible = true;
    }
}

void BBCodeWriter::image(const QString &address, const InlineStyle &style)
{
    if (style.code)
        return;
    startContent(style);
    m_out += QLatin1String("[IMG]") + tagSafeAddress(address) + QLatin1String("[/IMG]");
}

void BBCodeWriter::visibleChar(QChar c, const InlineStyle &style)
{
    startContent(style);
    m_out += c;
}

void BBCodeWriter::wanted(const InlineStyle &style,
                          std::vector<std::pair<Tag, QString>> &tags) const
{
    tags.clear();
    if (style.code) {
        tags.emplace_back(Tag::Code, QString());
        return;
    }
    if (!style.link.isEmpty()) {
        if (style.link.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
            const QStringView address = QStringView(style.link).mid(7);
            tags.emplace_back(Tag::Email, tagSafeAddress(address.left(address.indexOf(u'?'))));
        } else {
            tags.emplace_back(Tag::Url, tagSafeAddress(style.link));
        }
    }
    if (!style.color.isEmpty())
        tags.emplace_back(Tag::Color, style.color);
    if (style.size > 0)
        tags.emplace_back(Tag::Size, QString::number(style.size));
    if (style.bold)
        tags.emplace_back(Tag::Bold, QString());
    if (style.italic)
        tags.emplace_back(Tag::Italic, QString());
    if (style.underline)
        tags.emplace_back(Tag::Underline, QString());
    if (style.strike)
        tags.emplace_back(Tag::Strike, QString());
}

void BBCodeWriter::startContent(const InlineStyle &style)
{
    if (m_synced && m_breaks == 0 && m_pendingSpace.isEmpty() && style == m_syncedStyle)
        return;
    thread_local std::vector<std::pair<Tag, QString>> want;
    wanted(style, want);
    const auto isWanted = [](const OpenTag &open, const std::pair<Tag, QString> &w) {
        return open.tag == w.first && open.value == w.second;
    };

    // Tags stay open while every tag below them is still wanted; a break
    // closes all but a code block, which keeps its lines together.
    size_t keep = 0;
    if (m_breaks > 0) {
        if (style.code && !m_open.empty() && m_open.front().tag == Tag::Code)
            keep = 1;
    } else {
        while (keep < m_open.size() && std::any_of(want.begin(), want.end(), [&](const auto &w) {
                   return isWanted(m_open[keep], w);
               }))
            ++keep;
    }
    closeTo(keep);
    if (m_breaks > 0) {
        for (int i = 0; i < m_breaks; ++i)
            m_out += kNewline;
        m_breaks = 0;
    }
    m_out += m_pendingSpace;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;

    for (const auto &w : want) {
        if (std::any_of(m_open.begin(), m_open.end(),
                        [&](const OpenTag &open) { return isWanted(open, w); }))
            continue;
        OpenTag open{w.first, w.second, m_out.size(), 0};
        switch (w.first) {
        case Tag::Code:
            m_out += QLatin1String("[CODE]");
            break;
        case Tag::Url:
            m_out += QLatin1String("[URL=") + w.second + QLatin1Char(']');
            break;
        case Tag::Email:
            m_out += QLatin1String("[EMAIL=") + w.second + QLatin1Char(']');
            break;
        case Tag::Color:
            m_out += QLatin1String("[Color=") + w.second + QLatin1Char(']');
            break;
        case Tag::Size:
            m_out += QLatin1String("[Size=") + w.second + QLatin1Char(']');
            break;
        case Tag::Bold:
            m_out += QLatin1String("[B]");
            break;
        case Tag::Italic:
            m_out += QLatin1String("[I]");
            break;
        case Tag::Underline:
            m_out += QLatin1String("[U]");
            break;
        case Tag::Strike:
            m_out += QLatin1String("[S]");
            break;
        }
        open.contentAt = m_out.size();
        m_open.push_back(std::move(open));
    }
    m_suppressBreaks = false;
    m_lineHasText = true;
    m_syncedStyle = style;
    m_synced = true;
}

void BBCodeWriter::closeTo(size_t keep)
{
    m_synced = false;
    while (m_open.size() > keep) {
        const OpenTag &open = m_open.back();
        switch (open.tag) {
        case Tag::Code:
            m_out += QLatin1String("[/CODE]");
            break;
        case Tag::Url:
        case Tag::Email: {
            const bool url = open.tag == Tag::Url;
            // A link whose text is its address is written without the address twice.
            if (QStringView(m_out).mid(open.contentAt) == open.value)
                m_out.replace(open.openAt, open.contentAt - open.openAt,
                              url ? QLatin1String("[URL]") : QLatin1String("[EMAIL]"));
            m_out += url ? QLatin1String("[/URL]") : QLatin1String("[/EMAIL]");
            break;
        }
        case Tag::Color:
            m_out += QLatin1String("[/Color]");
            break;
        case Tag::Size:
            m_out += QLatin1String("[/Size]");
            break;
        case Tag::Bold:
            m_out += QLatin1String("[/B]");
            break;
        case Tag::Italic:
            m_out += QLatin1String("[/I]");
            break;
        case Tag::Underline:
            m_out += QLatin1String("[/U]");
            break;
        case Tag::Strike:
            m_out += QLatin1String("[/S]");
            break;
        }
        m_open.pop_back();
    }
}

void BBCodeWriter::lineBreak()
{
    if (m_suppressBreaks || m_out.isEmpty())
        return;
    ++m_breaks;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_lineHasText = false;
}

void BBCodeWriter::blockBreak(Break kind)
{
    if (m_suppressBreaks || m_out.isEmpty())
        return;
    // Hard breaks at a block's end add nothing beyond one empty line.
    const int wantedBreaks = m_listDepth > 0 ? 1 : int(kind);
    m_breaks = std::max(std::min(m_breaks, 2), wantedBreaks);
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_lineHasText = false;
}

void BBCodeWriter::flushBreaks(int atLeast)
{
    closeTo(0);
    if (!m_out.isEmpty() && !m_suppressBreaks) {
        for (int i = 0, n = std::max(m_breaks, atLeast); i < n; ++i)
            m_out += kNewline;
    }
    m_breaks = 0;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_lineHasText = false;
}

void BBCodeWriter::cellSeparator()
{
    flushBreaks(0);
    m_out += QLatin1Char('\t');
    m_suppressBreaks = false;
}

void BBCodeWriter::openList(bool ordered)
{
    flushBreaks(1);
    m_out += ordered ? QLatin1String("[LIST=1]") : QLatin1String("[LIST]");
    ++m_listDepth;
    m_suppressBreaks = true;
}

void BBCodeWriter::listItem()
{
    closeTo(0);
    m_breaks = 0;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_out += kNewline + QLatin1String("[*]");
    m_lineHasText = false;
    m_suppressBreaks = true;
}

void BBCodeWriter::closeList()
{
    closeTo(0);
    m_breaks = 0;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_out += kNewline + QLatin1String("[/LIST]");
    m_listDepth = std::max(0, m_listDepth - 1);
    m_suppressBreaks = false;
    blockBreak(Break::Paragraph);
}

void BBCodeWriter::openQuote()
{
    flushBreaks(1);
    m_out += QLatin1String("[QUOTE]");
    ++m_quoteDepth;
    m_suppressBreaks = true;
}

void BBCodeWriter::closeQuote()
{
    closeTo(0);
    m_breaks = 0;
    m_pendingSpace.clear();
    m_lastSpaceCollapsible = false;
    m_out += QLatin1String("[/QUOTE]");
    m_quoteDepth = std::max(0, m_quoteDepth - 1);
    m_suppressBreaks = false;
    blockBreak(Break::Paragraph);
}

QString BBCodeWriter::finish()
{
    closeTo(0);
    m_breaks = 0;
    m_pendingSpace.clear();
    return std::move(m_out);
}

} // namespace quorvane
