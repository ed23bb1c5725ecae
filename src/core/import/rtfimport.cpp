#include "import/rtfimport.h"

#include "documents/rtfreader.h"
#include "import/bbcodewriter.h"
#include "import/csscolors.h"

#include <QRegularExpression>

#include <vector>

namespace quorvane {

namespace {

// Text a forum would read as one of its tags.
bool looksLikeTag(QStringView text)
{
    static const QRegularExpression tag(QStringLiteral("\\[/?[A-Za-z*][A-Za-z0-9]*(=[^\\]]*)?\\]"));
    return tag.match(text).hasMatch();
}

bool isPostableLink(const QString &address)
{
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

class RtfBBCode
{
public:
    RtfBBCode(const QString &text, const RtfFormatting &formatting, const ImportOptions &options)
        : m_text(text), m_formatting(formatting), m_options(options)
    {}

    QString run();

private:
    struct Piece
    {
        qsizetype start;
        qsizetype end;
        const RtfCharFormat *format;
    };

    void paragraph(qsizetype start, qsizetype end, const RtfParaFormat &para, bool row);
    void pieces(qsizetype start, qsizetype end, std::vector<Piece> &out) const;
    InlineStyle styleOf(const RtfCharFormat &format) const;
    void closeLists();

    const QString &m_text;
    const RtfFormatting &m_formatting;
    const ImportOptions &m_options;
    BBCodeWriter m_writer;
    std::vector<bool> m_lists;  // the lists open, innermost last: ordered or not
    std::vector<int> m_indents; // the left indent of each, for labels typed as text
    size_t m_run = 0;           // the run the last piece started in
    bool m_lastWasRow = false;
    bool m_lastWasCode = false;
};

void RtfBBCode::pieces(qsizetype start, qsizetype end, std::vector<Piece> &out) const
{
    out.clear();
    static const RtfCharFormat plain;
    const auto &runs = m_formatting.runs;
    size_t r = m_run;
    if (r >= runs.size() || runs[r].start > start)
        r = 0;
    while (r + 1 < runs.size() && runs[r + 1].start <= start)
        ++r;
    qsizetype at = start;
    while (at < end) {
        const bool inRun = r < runs.size() && runs[r].start <= at;
        const qsizetype next = r + 1 < runs.size() ? runs[r + 1].start : end;
        const qsizetype stop = std::min(end, std::max(next, at + 1));
        out.push_back({at, stop, inRun ? &runs[r].format : &plain});
        at = stop;
        if (r + 1 < runs.size() && runs[r + 1].start <= at)
            ++r;
    }
    const_cast<RtfBBCode *>(this)->m_run = r;
}

InlineStyle RtfBBCode::styleOf(const RtfCharFormat &format) const
{
    InlineStyle style;
    style.bold = format.bold;
    style.italic = format.italic;
    style.underline = format.underline;
    style.strike = format.strike;
    if (format.link >= 0 && size_t(format.link) < m_formatting.links.size() &&
        isPostableLink(m_formatting.links[size_t(format.link)])) {
        style.link = m_formatting.links[size_t(format.link)];
        // Links are underlined and coloured by the writer's habit, not the author's.
        style.underline = false;
        return style;
    }
    if (m_options.keepColoursAndSizes) {
        if (format.color > 0 && size_t(format.color) < m_formatting.colors.size()) {
            const QString name = csscolors::nearestName(m_formatting.colors[size_t(format.color)]);
            if (name != QLatin1String("Black"))
                style.color = name;
        }
        const int size = csscolors::sizeNumber(format.halfPoints / 2.0);
        if (size != 3)
            style.size = size;
    }
    return style;
}

void RtfBBCode::closeLists()
{
    while (!m_lists.empty()) {
        m_lists.pop_back();
        m_writer.closeList();
    }
    m_indents.clear();
}

void RtfBBCode::paragraph(qsizetype start, qsizetype end, const RtfParaFormat &para, bool row)
{
    thread_local std::vector<Piece> parts;
    pieces(start, end, parts);

    // The label of a list item: marked as one by the writer, or typed before a tab.
    qsizetype labelEnd = start;
    for (const Piece &piece : parts) {
        if (!piece.format->label)
            break;
        labelEnd = piece.end;
    }
    bool isItem = labelEnd > start || (para.list > 0 && para.listLevel >= 0);
    static const QRegularExpression typedLabel(
        QStringLiteral("^[ \\x{A0}]*(\\(?(?:\\d{1,3}|[A-Za-z]|[ivxlcdmIVXLCDM]{1,6})[.)]|"
                       "[\\x{B7}\\x{A7}\\x{2022}\\x{25AA}\\x{25CF}\\x{25E6}\\x{2013}\\x{2014}"
                       "\\x{F0B7}\\x{F0A7}o\\-*])\\t"));
    QString label;
    if (labelEnd > start) {
        label = m_text.mid(start, labelEnd - start).trimmed();
    } else if (para.firstIndent < 0 && para.leftIndent > 0) {
        const QRegularExpressionMatch m =
            typedLabel.match(QStringView(m_text).mid(start, std::min<qsizetype>(end - start, 16)));
        if (m.hasMatch()) {
            isItem = true;
            label = m.captured(1);
            labelEnd = start + m.capturedLength(0);
        }
    }

    if (isItem && !para.inTable && !row) {
        static const QRegularExpression ordered(
            QStringLiteral("^\\(?(?:\\d{1,3}|[A-Za-z]|[ivxlcdmIVXLCDM]{1,6})[.)]$"));
        const bool isOrdered = ordered.match(label).hasMatch();
        int level;
        if (para.list > 0 && para.listLevel >= 0) {
            level = para.listLevel + 1;
        } else {
            // Labels typed as text: deeper indents make deeper lists.
            while (!m_indents.empty() && m_indents.back() > para.leftIndent)
                m_indents.pop_back();
            if (m_indents.empty() || m_indents.back() < para.leftIndent)
                m_indents.push_back(para.leftIndent);
            level = int(m_indents.size());
        }
        if (m_lists.empty())
            m_writer.blockBreak(Break::Paragraph);
        while (int(m_lists.size()) > level) {
            m_lists.pop_back();
            m_writer.closeList();
        }
        if (int(m_lists.size()) == level && m_lists.back() != isOrdered) {
            m_lists.pop_back();
            m_writer.closeList();
        }
        while (int(m_lists.size()) < level) {
            m_lists.push_back(isOrdered);
            m_writer.openList(isOrdered);
        }
        m_writer.listItem();
        start = labelEnd;
    }

    // A paragraph wholly in a fixed-pitch font is preformatted text.
    bool allFixed = start < end && !row;
    bool empty = true;
    for (const Piece &piece : parts) {
        const bool blank =
            QStringView(m_text).mid(piece.start, piece.end - piece.start).trimmed().isEmpty();
        empty = empty && blank;
        if (piece.end > start && !piece.format->fixedPitch && !blank)
            allFixed = false;
    }
    if (!isItem || para.inTable || row) {
        closeLists();
        // Rows of a table and lines of code stay together; other paragraphs stand apart.
        const bool together = (row && m_lastWasRow) || (allFixed && m_lastWasCode);
        m_writer.blockBreak(together ? Break::Line : Break::Paragraph);
    }
    if (!empty) {
        m_lastWasRow = row;
        m_lastWasCode = allFixed;
    }
    for (const Piece &piece : parts) {
        const qsizetype from = std::max(piece.start, start);
        if (from >= piece.end)
            continue;
        const QStringView text = QStringView(m_text).mid(from, piece.end - from);
        InlineStyle style = styleOf(*piece.format);
        style.code = allFixed || (piece.format->fixedPitch && looksLikeTag(text));
        if (style.code) {
            style = InlineStyle();
            style.code = true;
        }
        if (row) {
            // A row is one line: the paragraphs of a cell join with spaces.
            m_writer.text(text.toString().replace(QStringLiteral("\r\n"), QStringLiteral(" ")),
                          style, true);
        } else {
            m_writer.text(text, style, true);
        }
    }
}

QString RtfBBCode::run()
{
    qsizetype start = 0;
    for (const RtfFormatting::Paragraph &para : m_formatting.paragraphs) {
        // Paragraphs inside table cells end at the cell; rows keep their lines.
        if (para.format.inTable && !para.row)
            continue;
        const qsizetype end = std::min(para.breakAt, m_text.size());
        if (end < start)
            continue;
        paragraph(start, end, para.format, para.row);
        start = end;
        if (QStringView(m_text).mid(start, 2) == u"\r\n")
            start += 2;
    }
    if (start < m_text.size())
        paragraph(start, m_text.size(), m_formatting.last, false);
    closeLists();
    return m_writer.finish();
}

} // namespace

QString rtfToBBCode(QByteArrayView rtf, const ImportOptions &options)
{
    RtfFormatting formatting;
    const RtfResult read = readRtf(rtf, &formatting);
    if (!read.ok)
        return {};
    RtfBBCode converter(read.text, formatting, options);
    return converter.run();
}

} // namespace quorvane
