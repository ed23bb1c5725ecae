// The forum's warnings: the program's check finds the tags the writer meant,
// the forum's own parser (forum/bbcodeparser) shows which of them the forum
// leaves as text, and the forum's description (forum/dialects) says what the
// tags it takes mean there.

#include "forum/forumwarnings.h"

#include "forum/bbcodeparser.h"
#include "forum/dialect.h"

#include <QRegularExpression>
#include <QStringBuilder>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace quorvane {

namespace {

// Text of the post as written, shortened as the program's check shortens a
// tag.
QString written(QStringView post, qsizetype from, qsizetype length)
{
    constexpr qsizetype longest = 40;
    if (length <= longest)
        return post.mid(from, length).toString();
    return post.mid(from, longest - 2).toString() + QStringLiteral("\u2026]");
}

QString written(QStringView post, const MarkupTag &tag)
{
    return written(post, tag.start, tag.length);
}

// "example.com/a", "www.example.org": no scheme and not meant as a path of
// the forum's own.
bool isRelativeAddress(QStringView address)
{
    const QStringView a = address.trimmed();
    if (a.isEmpty() || a.startsWith(u'/') || a.startsWith(u'.') || a.startsWith(u'#') ||
        a.startsWith(u'?'))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar c = a[i];
        if (c == u':')
            return i == 0;
        if (!c.isLetterOrNumber() && c != u'+' && c != u'-' && c != u'.')
            return true;
    }
    return true;
}

// A written size the program reads on its own 1 to 7 scale.
std::optional<int> programSize(QStringView value)
{
    const QStringView v = value.trimmed();
    if (v.size() == 1 && v[0] >= u'1' && v[0] <= u'7')
        return v[0].unicode() - u'0';
    return std::nullopt;
}

// What the forum's description says about one of the program's tags.
struct TagFacts
{
    const TagDefinition *tag = nullptr; // the forum's tag of that name, or none
    Role role = Role::Inline;
    bool sizeValue = false;  // "[size={SIZE}]"
    bool urlValue = false;   // "[url={URL}]..."
    bool urlContent = false; // "[url]{URL}[/url]"
    QString listTypeKey;     // "type" of "[list type={LISTTYPE}]"
};

TagFacts factsOf(const Dialect &d, QStringView name)
{
    TagFacts f;
    f.tag = d.tag(name);
    if (!f.tag)
        return f;
    f.role = f.tag->forms.front().role;
    static const QRegularExpression listType(QStringLiteral(" (\\w+)=\\{LISTTYPE\\??\\}"));
    for (const TagForm &form : f.tag->forms) {
        const QString head = form.usage.left(form.usage.indexOf(u']') + 1);
        f.sizeValue = f.sizeValue || head.contains(u"={SIZE}");
        f.urlValue = f.urlValue || head.contains(u"={URL}");
        f.urlContent = f.urlContent || form.usage.contains(u"]{URL}[");
        if (const QRegularExpressionMatch m = listType.match(head); m.hasMatch())
            f.listTypeKey = m.captured(1);
    }
    return f;
}

class Warnings
{
public:
    Warnings(Forum forum, QStringView post, const MarkupAnalysis &analysis, const KnownTags &known)
        : m_d(dialect(forum)), m_forum(forumDisplayName(forum)), m_post(post), m_a(analysis),
          m_known(known), m_facts(std::size_t(KnownTags::builtInCount()))
    {}

    std::vector<MarkupProblem> run()
    {
        // The tags the program sees, where the forum reads them.
        std::vector<std::size_t> tags;
        std::vector<qsizetype> starts;
        tags.reserve(m_a.tags.size());
        starts.reserve(m_a.tags.size());
        for (std::size_t i = 0; i < m_a.tags.size(); ++i) {
            const MarkupTag &tag = m_a.tags[i];
            if (tag.id == KnownTags::unknown || m_known.isUserTag(tag.id))
                continue;
            tags.push_back(i);
            starts.push_back(tag.start);
        }
        const ParsedPost parsed = parseForumPost(m_d, m_post);
        const std::vector<qsizetype> at = parsed.sourcePositions(std::move(starts));
        std::vector<std::pair<qsizetype, qsizetype>> texts;
        texts.reserve(parsed.events.size());
        for (const Event &e : parsed.events) {
            if (e.kind == Event::Text)
                texts.push_back({e.begin, e.end});
        }
        if (!std::is_sorted(texts.begin(), texts.end()))
            std::sort(texts.begin(), texts.end());

        std::size_t t = 0;
        qsizetype removedTo = -1; // the end of a quote the forum removes
        for (std::size_t k = 0; k < tags.size(); ++k) {
            const std::size_t i = tags[k];
            const MarkupTag &tag = m_a.tags[i];
            while (!m_quotes.empty() && m_quotes.back() <= i)
                m_quotes.pop_back();
            if (at[k] < 0 || tag.start < removedTo)
                continue; // taken out before reading (SMF's empty pairs) or removed
            while (t < texts.size() && texts[t].second <= at[k])
                ++t;
            if (t < texts.size() && texts[t].first <= at[k])
                shownAsText(i);
            else
                removedTo = taken(i);
        }
        return std::move(m_out);
    }

private:
    const TagFacts &facts(const MarkupTag &tag)
    {
        std::optional<TagFacts> &f = m_facts[std::size_t(tag.id)];
        if (!f)
            f = factsOf(m_d, QString::fromLatin1(m_known.info(tag.id).name));
        return *f;
    }

    void add(const MarkupTag &tag, const QString &message)
    {
        m_out.push_back(MarkupProblem{tag.start, tag.length, message});
    }

    // A message made once for each way a tag is written: a long post repeats
    // its tags, and a shared string costs nothing to keep.
    template <typename Make>
    const QString &once(std::unordered_map<std::u16string_view, QString> &made,
                        const MarkupTag &tag, Make make)
    {
        const std::u16string_view key(m_post.utf16() + tag.start, std::size_t(tag.length));
        auto it = made.find(key);
        if (it == made.end())
            it = made.emplace(key, make()).first;
        return it->second;
    }

    // A tag the forum leaves as text: one warning a pair, at its open.
    void shownAsText(std::size_t i)
    {
        const MarkupTag &tag = m_a.tags[i];
        const qsizetype partner = m_a.partners[i];
        if (tag.closing && partner >= 0 &&
            std::binary_search(m_textOpens.begin(), m_textOpens.end(), std::size_t(partner)))
            return;
        if (!tag.closing)
            m_textOpens.push_back(i);
        add(tag, once(m_asText, tag, [&] { return asTextMessage(tag); }));
    }

    QString asTextMessage(const MarkupTag &tag)
    {
        const TagFacts &f = facts(tag);
        const QStringView value = tag.hasValue ? tag.value(m_post) : QStringView();
        if (f.sizeValue && !m_d.sizes.clamp) {
            bool number = false;
            const int n = value.trimmed().toInt(&number);
            if (number && n > m_d.sizes.max)
                return m_forum + u" refuses sizes over "_qs + QString::number(m_d.sizes.max);
        }
        QString message = m_forum % u" shows "_qs % written(m_post, tag) % u" as text"_qs;
        if (f.role == Role::List && !f.listTypeKey.isEmpty() && tag.hasValue) {
            bool ok = false;
            const QString style = checkToken(m_d, u"LISTNUMBER", value.trimmed(), &ok);
            if (ok)
                message += u": use ["_qs + f.tag->name + u' ' + f.listTypeKey + u'=' + style + u']';
        }
        return message;
    }

    // A tag the forum takes: what it means there. Returns the end of what
    // the forum removes with it, or -1.
    qsizetype taken(std::size_t i)
    {
        const MarkupTag &tag = m_a.tags[i];
        const TagFacts &f = facts(tag);
        if (!f.tag || tag.closing)
            return -1;
        const qsizetype partner = m_a.partners[i];
        if (f.role == Role::Quote && m_d.quotes.maxDepth > 0) {
            if (qsizetype(m_quotes.size()) >= m_d.quotes.maxDepth) {
                add(tag, m_forum + u" removes quotes nested deeper than "_qs +
                             QString::number(m_d.quotes.maxDepth));
                return partner >= 0 ? m_a.tags[std::size_t(partner)].end() : m_post.size();
            }
            if (partner >= 0)
                m_quotes.push_back(std::size_t(partner));
        }
        if (f.sizeValue && !m_d.sizes.numberUnit.isEmpty()) {
            if (const std::optional<int> size = programSize(tag.value(m_post))) {
                // The forum reads the number in its own unit, not on the 1 to 7 scale.
                const QString &unit = m_d.sizes.numberUnit;
                add(tag, once(m_sizes, tag, [&]() -> QString {
                        return written(m_post, tag) % u" is "_qs % QString::number(*size) %
                               QChar(u' ') % unit % u" on "_qs % m_forum %
                               (unit == u"%" ? u", nearly invisible"_qs
                                             : u", smaller than the text around it"_qs);
                    }));
            }
        }
        if (m_d.links.keepSchemeless && (f.urlValue || f.urlContent)) {
            const MarkupTag *close = partner >= 0 ? &m_a.tags[std::size_t(partner)] : nullptr;
            QString shown;
            if (tag.hasValue && f.urlValue && isRelativeAddress(tag.value(m_post))) {
                shown = written(m_post, tag);
            } else if (!tag.hasValue && f.urlContent && close) {
                const QStringView address = m_post.mid(tag.end(), close->start - tag.end());
                if (isRelativeAddress(address) && !address.contains(u'\n') &&
                    !address.contains(QChar(0x2029)))
                    shown = written(m_post, tag.start, close->end() - tag.start);
            }
            if (!shown.isEmpty())
                add(tag, m_forum + u" makes "_qs + shown + u" a link relative to the forum"_qs);
        }
        return -1;
    }

    const Dialect &m_d;
    const QString m_forum;
    QStringView m_post;
    const MarkupAnalysis &m_a;
    const KnownTags &m_known;
    std::vector<std::optional<TagFacts>> m_facts; // by the program's tag id
    std::vector<std::size_t> m_quotes;            // the closes of the quotes open, innermost last
    std::vector<std::size_t> m_textOpens;         // opens warned as text, ascending
    std::vector<MarkupProblem> m_out;
    std::unordered_map<std::u16string_view, QString> m_asText, m_sizes; // made messages
};

} // namespace

std::vector<MarkupProblem> forumWarnings(Forum forum, QStringView post,
                                         const MarkupAnalysis &analysis, const KnownTags &tags)
{
    if (forum == Forum::Generic)
        return {};
    return Warnings(forum, post, analysis, tags).run();
}

} // namespace quorvane
