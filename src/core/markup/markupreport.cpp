#include "markup/markupreport.h"

#include "markup/markupchecker.h"

namespace quorvane {

LineColumns::Place LineColumns::at(qsizetype pos)
{
    // A CR LF pair, a lone CR or LF and the editor's paragraph separator each
    // end a line; the low half of a surrogate pair adds no column.
    for (; m_pos < pos && m_pos < m_text.size(); ++m_pos) {
        const char16_t c = m_text[m_pos].unicode();
        if (c == u'\n' || c == 0x2029 || c == 0x2028 ||
            (c == u'\r' && (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != u'\n'))) {
            ++m_line;
            m_column = 1;
        } else if (!(QChar::isLowSurrogate(c) && m_pos > 0 &&
                     m_text[m_pos - 1].isHighSurrogate())) {
            ++m_column;
        }
    }
    return Place{m_line, m_column};
}

qsizetype writeMarkupReport(const QString &name, QStringView text, const KnownTags &tags,
                            const std::function<bool(QByteArrayView)> &write)
{
    const MarkupAnalysis analysis = analyseMarkup(text, tags);
    LineColumns places(text);
    QByteArray out;
    for (const MarkupProblem &problem : analysis.problems) {
        const LineColumns::Place place = places.at(problem.position);
        out += QStringLiteral("%1:%2:%3: error: %4\n")
                   .arg(name)
                   .arg(place.line)
                   .arg(place.column)
                   .arg(problem.message)
                   .toUtf8();
        if (out.size() > 64 * 1024) {
            if (!write(out))
                return -1;
            out.clear();
        }
    }
    if (!out.isEmpty() && !write(out))
        return -1;
    return qsizetype(analysis.problems.size());
}

} // namespace quorvane
