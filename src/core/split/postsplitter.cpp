#include "split/postsplitter.h"

#include "markup/markupchecker.h"
#include "markup/markupreport.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quorvane {

namespace {

enum class CutKind : std::uint8_t { Space, Sentence, Paragraph };

// Whitespace where a part may end: the part ends at `start`, the next one
// begins at `end`.
struct Cut
{
    qsizetype start;
    qsizetype end;
    CutKind kind;
};

bool endsSentence(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u'\u2026';
}

bool closesQuote(QChar c)
{
    return c == u'"' || c == u'\'' || c == u')' || c == u'\u201D' || c == u'\u2019' ||
           c == u'\u00BB';
}

class Splitter
{
public:
    Splitter(QStringView text, const SplitOptions &options, const KnownTags &tags)
        : m_text(text), m_options(options), m_known(tags), m_analysis(analyseMarkup(text, tags)),
          m_lengths(runningLengths(text, options.rule, tags))
    {
        findCuts();
    }

    // Splits with `labelCost` set aside in every part for its label.
    SplitResult split(qsizetype labelCost) const;

private:
    void findCuts();
    CutKind kindAt(qsizetype start, qsizetype end, qsizetype lastTag) const;
    bool isPaired(qsizetype tag) const { return m_analysis.partners[size_t(tag)] >= 0; }
    // Moves `open` from the tags before `from` to those before `to`.
    void advance(std::vector<qsizetype> &open, qsizetype &tagIndex, qsizetype to,
                 qsizetype &closeCost) const;
    qsizetype openCost(qsizetype tag) const;
    qsizetype closeCost(qsizetype tag) const;
    QString closer(qsizetype tag) const;

    QStringView m_text;
    const SplitOptions &m_options;
    const KnownTags &m_known;
    MarkupAnalysis m_analysis;
    std::vector<qsizetype> m_lengths;
    std::vector<Cut> m_cuts;
};

void Splitter::findCuts()
{
    const auto &tags = m_analysis.tags;
    const qsizetype n = m_text.size();
    const auto tagCount = qsizetype(tags.size());
    qsizetype t = 0;
    qsizetype i = 0;
    auto lineCuts = [&](qsizetype from, qsizetype to) {
        // A CR LF stays whole: a part never ends with half a line break.
        for (qsizetype p = m_text.indexOf(u'\n', from); p >= 0 && p < to;
             p = m_text.indexOf(u'\n', p + 1))
            m_cuts.push_back(
                Cut{p > from && m_text[p - 1] == u'\r' ? p - 1 : p, p + 1, CutKind::Space});
    };
    while (i < n) {
        if (t < tagCount && tags[size_t(t)].start == i) {
            const MarkupTag &tag = tags[size_t(t)];
            const qsizetype partner = m_analysis.partners[size_t(t)];
            if (!tag.closing && tag.id != KnownTags::unknown) {
                const TagInfo &info = m_known.info(tag.id);
                // CODE and its kind are cut only between lines; an address
                // written as the contents is never cut.
                if (info.rule == TagRule::Verbatim) {
                    const qsizetype to = partner >= 0 ? tags[size_t(partner)].start : n;
                    lineCuts(tag.end(), to);
                    if (partner < 0)
                        return;
                    i = to;
                    t = partner;
                    continue;
                }
                if (info.rule == TagRule::Address && !tag.hasValue && partner > t) {
                    i = tags[size_t(partner)].start;
                    t = partner;
                    continue;
                }
            }
            i = tag.end();
            ++t;
            continue;
        }
        if (!m_text[i].isSpace()) {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && m_text[j].isSpace())
            ++j;
        m_cuts.push_back(Cut{i, j, kindAt(i, j, t - 1)});
        i = j;
    }
}

CutKind Splitter::kindAt(qsizetype start, qsizetype end, qsizetype lastTag) const
{
    if (m_text.mid(start, end - start).count(u'\n') >= 2)
        return CutKind::Paragraph;
    // Look back over closing quotes and tags: 'He said "Stop."[/i] Then'.
    qsizetype k = start - 1;
    while (k >= 0) {
        if (lastTag >= 0 && m_analysis.tags[size_t(lastTag)].end() == k + 1) {
            k = m_analysis.tags[size_t(lastTag)].start - 1;
            --lastTag;
        } else if (closesQuote(m_text[k])) {
            --k;
        } else {
            break;
        }
    }
    return k >= 0 && endsSentence(m_text[k]) ? CutKind::Sentence : CutKind::Space;
}

qsizetype Splitter::openCost(qsizetype tag) const
{
    const MarkupTag &t = m_analysis.tags[size_t(tag)];
    return m_lengths[size_t(t.end())] - m_lengths[size_t(t.start)];
}

qsizetype Splitter::closeCost(qsizetype tag) const
{
    return m_options.rule.countTags ? m_analysis.tags[size_t(tag)].nameLength + 3 : 0;
}

QString Splitter::closer(qsizetype tag) const
{
    return QStringLiteral("[/") + m_analysis.tags[size_t(tag)].name(m_text).toString() +
           QStringLiteral("]");
}

void Splitter::advance(std::vector<qsizetype> &open, qsizetype &tagIndex, qsizetype to,
                       qsizetype &closing) const
{
    const auto &tags = m_analysis.tags;
    while (tagIndex < qsizetype(tags.size()) && tags[size_t(tagIndex)].start < to) {
        const qsizetype t = tagIndex++;
        if (!isPaired(t))
            continue;
        if (!tags[size_t(t)].closing) {
            open.push_back(t);
            closing += closeCost(t);
            continue;
        }
        const qsizetype partner = m_analysis.partners[size_t(t)];
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (*it == partner) {
                open.erase(std::next(it).base());
                closing -= closeCost(partner);
                break;
            }
        }
    }
}

SplitResult Splitter::split(qsizetype labelCost) const
{
    SplitResult result;
    const qsizetype limit = m_options.limit;
    const qsizetype n = m_text.size();
    std::vector<qsizetype> open; // the tags open where the part starts
    qsizetype tagIndex = 0;
    qsizetype closing = 0;
    size_t cutIndex = 0;
    qsizetype start = 0;
    while (true) {
        QString prefix;
        qsizetype prefixCost = labelCost;
        for (qsizetype t : open) {
            const MarkupTag &tag = m_analysis.tags[size_t(t)];
            prefix += m_text.mid(tag.start, tag.length);
            prefixCost += openCost(t);
        }
        // White space after the last cut makes no part of its own.
        if (start > 0 &&
            std::all_of(m_text.begin() + start, m_text.end(), [](QChar c) { return c.isSpace(); }))
            return result;
        const qsizetype rest = m_lengths[size_t(n)] - m_lengths[size_t(start)];
        if (prefixCost + rest <= limit) {
            result.parts.append(prefix + m_text.mid(start).toString());
            return result;
        }

        // The last cut of each kind where the part would fit.
        std::array<qsizetype, 3> best{-1, -1, -1};
        std::vector<qsizetype> at = open;
        qsizetype atTag = tagIndex;
        qsizetype atClosing = closing;
        for (size_t k = cutIndex; k < m_cuts.size(); ++k) {
            const Cut &cut = m_cuts[k];
            const qsizetype body = m_lengths[size_t(cut.start)] - m_lengths[size_t(start)];
            if (prefixCost + body > limit)
                break;
            advance(at, atTag, cut.start, atClosing);
            if (cut.start > start && prefixCost + body + atClosing <= limit)
                best[size_t(cut.kind)] = qsizetype(k);
        }
        qsizetype chosen = best[size_t(CutKind::Paragraph)];
        if (chosen < 0)
            chosen = best[size_t(CutKind::Sentence)];
        if (chosen < 0)
            chosen = best[size_t(CutKind::Space)];
        if (chosen < 0) {
            qsizetype end = n;
            for (size_t k = cutIndex; k < m_cuts.size(); ++k) {
                if (m_cuts[k].start > start) {
                    end = m_cuts[k].start;
                    break;
                }
            }
            result.ok = false;
            result.failedAt = start;
            result.failedLength = m_lengths[size_t(end)] - m_lengths[size_t(start)];
            result.parts.clear();
            return result;
        }
        const Cut &cut = m_cuts[size_t(chosen)];
        advance(open, tagIndex, cut.start, closing);
        QString part = prefix + m_text.mid(start, cut.start - start).toString();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            part += closer(*it);
        result.parts.append(part);
        start = cut.end;
        cutIndex = size_t(chosen) + 1;
    }
}

int digits(qsizetype number)
{
    int count = 1;
    for (; number >= 10; number /= 10)
        ++count;
    return count;
}

} // namespace

QString partLabel(const QString &labelTemplate, qsizetype number, qsizetype count)
{
    QString label = labelTemplate;
    label.replace(QStringLiteral("%1"), QString::number(number));
    label.replace(QStringLiteral("%2"), QString::number(count));
    return label;
}

SplitResult splitPost(QStringView text, const SplitOptions &options, const KnownTags &tags)
{
    const Splitter splitter(text, options, tags);
    if (options.labelTemplate.isEmpty())
        return splitter.split(0);

    // A label's length depends on how many parts there are: guess the number
    // of digits, and guess again while the parts outnumber the guess.
    for (int guess = 1;; ++guess) {
        qsizetype widest = 9;
        for (int d = 1; d < guess; ++d)
            widest = widest * 10 + 9;
        const qsizetype labelCost =
            postLength(partLabel(options.labelTemplate, widest, widest), options.rule, tags) +
            options.rule.lineBreakLength();
        SplitResult result = splitter.split(labelCost);
        if (!result.ok)
            return result; // a longer label fits no better
        if (digits(result.parts.size()) > guess)
            continue;
        const qsizetype count = result.parts.size();
        for (qsizetype i = 0; i < count; ++i) {
            const QString label = partLabel(options.labelTemplate, i + 1, count);
            QString &part = result.parts[i];
            part = options.labelAtTop ? label + u'\n' + part : part + u'\n' + label;
        }
        return result;
    }
}

int writeSplitPost(const QString &name, QStringView text, const SplitOptions &options,
                   const KnownTags &tags, const std::function<bool(QByteArrayView)> &write,
                   QString &error)
{
    // Files keep CR LF; the parts are made with LF and written with CR LF.
    const QString lines = text.toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const SplitResult result = splitPost(lines, options, tags);
    if (!result.ok) {
        const LineColumns::Place place = LineColumns(lines).at(result.failedAt);
        error = QStringLiteral("%1:%2:%3: a piece of %4 characters cannot fit in a part of %5")
                    .arg(name)
                    .arg(place.line)
                    .arg(place.column)
                    .arg(result.failedLength)
                    .arg(options.limit);
        return 1;
    }
    QString out;
    for (const QString &part : result.parts) {
        out += part;
        out += QStringLiteral("\n\f\n");
    }
    out.replace(u'\n', QStringLiteral("\r\n"));
    return write(out.toUtf8()) ? 0 : 2;
}

} // namespace quorvane
