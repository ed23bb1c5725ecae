#include "markup/markupchecker.h"

#include "forum/bbcodeparser.h"

#include <algorithm>

namespace quorvane {

namespace {

bool isBlank(QStringView text)
{
    return text.trimmed().isEmpty();
}

bool isSize(QStringView value)
{
    const QStringView v = value.trimmed();
    return v.size() == 1 && v[0] >= u'1' && v[0] <= u'7';
}

bool isListStyle(QStringView value)
{
    const QStringView v = value.trimmed();
    return v.size() == 1 && QStringView(u"1aAiI").contains(v[0]);
}

} // namespace

MarkupChecker::MarkupChecker(QStringView text, const KnownTags &tags)
    : m_text(text), m_known(tags), m_scanner(tags), m_listId(KnownTags::builtIn("LIST"))
{}

void MarkupChecker::checkTo(qsizetype to)
{
    to = std::min(to, m_text.size());
    if (to <= m_done)
        return;
    m_scanner.scan(m_text, m_done, to, [this](const MarkupTag &tag) { add(tag); });
    m_done = to;
}

void MarkupChecker::finish()
{
    for (const OpenTag &open : m_open)
        report(open.tag, named(open.tag, false) + QStringLiteral(" is never closed"));
    std::stable_sort(
        m_problems.begin(), m_problems.end(),
        [](const MarkupProblem &a, const MarkupProblem &b) { return a.position < b.position; });
}

void MarkupChecker::add(const MarkupTag &tag)
{
    const auto index = qsizetype(m_tags.size());
    m_tags.push_back(tag);
    m_partners.push_back(-1);
    if (tag.id == KnownTags::unknown) {
        report(tag, named(tag, tag.closing) + QStringLiteral(" is not a known tag"));
        return;
    }
    if (tag.closing)
        closing(tag, index);
    else
        opening(tag, index);
}

void MarkupChecker::opening(const MarkupTag &tag, qsizetype index)
{
    const TagInfo &info = m_known.info(tag.id);
    const QStringView value = tag.value(m_text);
    if (info.value == TagValue::None && tag.hasValue) {
        report(tag, written(tag) + QStringLiteral(": ") + named(tag, false) +
                        QStringLiteral(" takes no value"));
    }
    // A board's custom tag: its value by its token's rule.
    if (const Dialect *rules = m_known.boardRules(tag.id)) {
        const QString why = openTagProblem(*rules, m_text.mid(tag.start, tag.length));
        if (!why.isEmpty())
            report(tag, written(tag) + QStringLiteral(": ") + why);
    }
    switch (info.rule) {
    case TagRule::Single:
        return; // needs no close
    case TagRule::Size:
        if (!isSize(value))
            report(tag, written(tag) + QStringLiteral(": sizes run from 1 to 7"));
        break;
    case TagRule::Colour:
        if (isBlank(value))
            report(tag, written(tag) + QStringLiteral(" needs a colour"));
        break;
    case TagRule::FontName:
        if (isBlank(value))
            report(tag, written(tag) + QStringLiteral(" needs a font name"));
        break;
    case TagRule::Address:
        if (tag.hasValue && isBlank(value))
            report(tag, written(tag) + QStringLiteral(" has no address"));
        break;
    case TagRule::List:
        if (tag.hasValue && !isListStyle(value))
            report(tag, written(tag) + QStringLiteral(": lists are numbered with 1, a, A, i or I"));
        break;
    case TagRule::ListItem:
        if (!listIsOpen())
            report(tag, QStringLiteral("[*] is outside a list"));
        return; // an item needs no closing tag
    case TagRule::Plain:
    case TagRule::Verbatim:
        break;
    }
    m_open.push_back(OpenTag{tag, index});
}

void MarkupChecker::closing(const MarkupTag &tag, qsizetype index)
{
    const TagInfo &info = m_known.info(tag.id);
    if (info.rule == TagRule::ListItem) {
        if (!listIsOpen())
            report(tag, QStringLiteral("[/*] is outside a list"));
        return;
    }
    auto it = std::find_if(m_open.rbegin(), m_open.rend(),
                           [&](const OpenTag &open) { return open.tag.id == tag.id; });
    if (it == m_open.rend()) {
        report(tag, named(tag, true) + QStringLiteral(" closes nothing"));
        return;
    }
    const OpenTag opened = *it;
    if (it != m_open.rbegin()) {
        const MarkupTag &inner = m_open.back().tag;
        report(tag, named(tag, true) + QStringLiteral(" closes inside ") + named(inner, false) +
                        QStringLiteral("; close ") + named(inner, true) + QStringLiteral(" first"));
    }
    // The crossed tags stay open: their own closing tags still pair with them.
    m_open.erase(std::next(it).base());
    m_partners[size_t(opened.tagIndex)] = index;
    m_partners[size_t(index)] = opened.tagIndex;
    // A board's custom tag that takes its contents as a value ([go]{URL}[/go]).
    if (const Dialect *rules = m_known.boardRules(opened.tag.id)) {
        const QString why =
            contentProblem(*rules, m_text.mid(opened.tag.start, opened.tag.length),
                           m_text.mid(opened.tag.end(), tag.start - opened.tag.end()));
        if (!why.isEmpty())
            report(opened.tag, named(opened.tag, false) + QStringLiteral(": ") + why);
    }
    if (info.rule == TagRule::Address && !opened.tag.hasValue &&
        isBlank(m_text.mid(opened.tag.end(), tag.start - opened.tag.end())))
        report(opened.tag, named(opened.tag, false) + QStringLiteral(" has no address"));
}

bool MarkupChecker::listIsOpen() const
{
    return std::any_of(m_open.begin(), m_open.end(),
                       [this](const OpenTag &open) { return open.tag.id == m_listId; });
}

void MarkupChecker::report(const MarkupTag &tag, QString message)
{
    m_problems.push_back(MarkupProblem{tag.start, tag.length, std::move(message)});
}

QString MarkupChecker::written(const MarkupTag &tag) const
{
    constexpr qsizetype longest = 40;
    if (tag.length <= longest)
        return m_text.mid(tag.start, tag.length).toString();
    return m_text.mid(tag.start, longest - 2).toString() + QStringLiteral("\u2026]");
}

QString MarkupChecker::named(const MarkupTag &tag, bool closing) const
{
    return (closing ? QStringLiteral("[/") : QStringLiteral("[")) + tag.name(m_text).toString() +
           QStringLiteral("]");
}

qsizetype MarkupAnalysis::tagAt(qsizetype pos) const
{
    auto it = std::upper_bound(tags.begin(), tags.end(), pos,
                               [](qsizetype p, const MarkupTag &tag) { return p < tag.start; });
    if (it == tags.begin())
        return -1;
    --it;
    return pos <= it->end() ? qsizetype(it - tags.begin()) : -1;
}

MarkupAnalysis analyseMarkup(QStringView text, const KnownTags &tags)
{
    MarkupChecker checker(text, tags);
    checker.checkTo(text.size());
    checker.finish();
    return MarkupAnalysis{checker.takeTags(), checker.takePartners(), checker.takeProblems()};
}

std::vector<OpenTag> openTagsAt(QStringView text, qsizetype pos, const KnownTags &tags)
{
    // A tag that runs past `pos` is not read at all, so it does not count.
    MarkupChecker checker(text, tags);
    checker.checkTo(std::clamp<qsizetype>(pos, 0, text.size()));
    return checker.open();
}

} // namespace quorvane
