#include "forum/forumtags.h"

#include "forum/forumtable.h"

#include <algorithm>

namespace quorvane {

namespace {

// Bold, italic, underline, highlight, alignment and indent pairs, the lists,
// the link, e-mail and image prompts, the quote, code, HTML and PHP pairs and
// the font, size and colour choosers.
constexpr const char *kToolbarTags[] = {
    "b",   "i",     "u",   "highlight", "left", "center", "right", "indent", "list", "*",
    "url", "email", "img", "quote",     "code", "html",   "php",   "font",   "size", "color",
};

// Words for the tags the three forums have beyond the toolbar's, and for
// the spoiler boards often add.
constexpr std::pair<const char *, const char *> kCaptions[] = {
    {"s", "Strike-through"}, {"sub", "Subscript"},    {"sup", "Superscript"},
    {"tt", "Teletype"},      {"pre", "Preformatted"}, {"hr", "Horizontal Rule"},
    {"table", "Table"},      {"nobbc", "No BBCode"},  {"iurl", "Link in the Same Tab"},
    {"youtube", "YouTube"},  {"video", "Video"},      {"align", "Alignment"},
    {"spoiler", "Spoiler"},
};

// A usage line's opening read into its parts: "[list type={LISTSTYLE}]" is
// name "list", no own value, one pair type = {LISTSTYLE}.
struct Opening
{
    QString name;
    bool hasValue = false;
    bool valueOptional = false;
    QString valuePattern; // "{NUMBER}x{NUMBER}", "youtube"
    struct Pair
    {
        QString key, pattern;
        bool optional = false;
    };
    std::vector<Pair> pairs;
    bool hasClose = true;
};

bool optionalPattern(QStringView pattern)
{
    return pattern.endsWith(u"?}");
}

Opening readOpening(const QString &usage)
{
    Opening out;
    const qsizetype close = usage.indexOf(u']');
    const QStringView head = QStringView(usage).mid(1, close < 0 ? -1 : close - 1);
    qsizetype i = 0;
    while (i < head.size() && head[i] != u'=' && head[i] != u' ')
        ++i;
    out.name = head.left(i).toString();
    QStringView rest = head.mid(i);
    if (rest.startsWith(u'=')) {
        const qsizetype space = rest.indexOf(u' ');
        const QStringView value = rest.mid(1, space < 0 ? -1 : space - 1);
        out.hasValue = true;
        out.valueOptional = optionalPattern(value);
        out.valuePattern = value.toString();
        rest = space < 0 ? QStringView() : rest.mid(space);
    }
    for (QStringView pair : rest.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(u'=');
        const QStringView pattern = pair.mid(eq + 1);
        out.pairs.push_back(
            {pair.left(eq).toString(), pattern.toString(), optionalPattern(pattern)});
    }
    out.hasClose = close >= 0 && usage.indexOf(QStringLiteral("[/"), close) >= 0;
    return out;
}

// The tokens of a pattern in order: "{NUMBER}x{NUMBER}" -> NUMBER, NUMBER.
QStringList tokensOf(QStringView pattern)
{
    QStringList out;
    for (qsizetype open = pattern.indexOf(u'{'); open >= 0; open = pattern.indexOf(u'{', open)) {
        const qsizetype end = pattern.indexOf(u'}', open);
        if (end < 0)
            break;
        out << pattern.mid(open + 1, end - open - 1).toString();
        open = end;
    }
    return out;
}

// The pattern with its tokens given values in turn, from `next` on.
QString filled(QStringView pattern, const QStringList &values, qsizetype &next)
{
    QString out;
    qsizetype from = 0;
    for (qsizetype open = pattern.indexOf(u'{'); open >= 0; open = pattern.indexOf(u'{', from)) {
        const qsizetype end = pattern.indexOf(u'}', open);
        if (end < 0)
            break;
        out += pattern.mid(from, open - from);
        out += values.value(next++);
        from = end + 1;
    }
    out += pattern.mid(from);
    return out;
}

} // namespace

std::span<const char *const> toolbarTagNames()
{
    return kToolbarTags;
}

std::vector<const TagDefinition *> forumOnlyTags(const Dialect &dialect)
{
    const TableTags table = tableTags(dialect);
    std::vector<const TagDefinition *> out;
    for (const TagDefinition &tag : dialect.tags) {
        const QString name = tag.name.toLower();
        const bool onToolbar =
            std::any_of(std::begin(kToolbarTags), std::end(kToolbarTags),
                        [&](const char *each) { return name == QLatin1String(each); });
        const bool item = !tag.forms.empty() && tag.forms.front().role == Role::Item;
        const auto is = [&](const QString &part) {
            return !part.isEmpty() && name.compare(part, Qt::CaseInsensitive) == 0;
        };
        const bool tablePart = is(table.row) || is(table.cell) || is(table.headerCell);
        if (!onToolbar && !item && !tablePart && !tag.forms.empty())
            out.push_back(&tag);
    }
    return out;
}

QString forumTagCaption(const TagDefinition &tag)
{
    const QString shown = u'[' + tag.name + u']';
    for (const auto &[name, words] : kCaptions) {
        if (tag.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(words) + u' ' + shown;
    }
    return shown;
}

TagInsertion tagInsertion(const TagDefinition &tag)
{
    TagInsertion out;
    if (tag.forms.empty())
        return out;
    out.form = &tag.forms.front();
    const Opening opening = readOpening(out.form->usage);
    if (opening.hasValue && !opening.valueOptional) {
        for (const QString &token : tokensOf(opening.valuePattern))
            out.values.push_back({QString(), token});
    }
    for (const Opening::Pair &pair : opening.pairs) {
        if (pair.optional)
            continue;
        for (const QString &token : tokensOf(pair.pattern))
            out.values.push_back({pair.key, token});
    }
    return out;
}

QString tagValueCaption(const TagValue &value)
{
    static constexpr std::pair<const char *, const char *> words[] = {
        {"ALIGN", "Alignment (left, center, right or justify)"},
        {"URL", "Address"},
        {"EMAIL", "E-mail address"},
        {"COLOR", "Colour"},
        {"FONT", "Font name"},
        {"NUMBER", "Number"},
        {"IDENTIFIER", "Name"},
        {"LISTSTYLE", "List style"},
        {"LISTTYPE", "List style"},
        {"LISTNUMBER", "List style"},
        {"SIZE", "Size"},
    };
    // Custom tags number their tokens: TEXT1, TEXT2.
    QString token = value.token;
    while (!token.isEmpty() && token.back().isDigit())
        token.chop(1);
    for (const auto &[name, caption] : words) {
        if (token == QLatin1String(name))
            return QString::fromLatin1(caption);
    }
    if (!value.key.isEmpty())
        return value.key.left(1).toUpper() + value.key.mid(1);
    return token.left(1).toUpper() + token.mid(1).toLower();
}

QString writtenTag(const TagForm &form, const QStringList &values, const QString &selected)
{
    const Opening opening = readOpening(form.usage);
    qsizetype next = 0;
    QString out = u'[' + opening.name;
    if (opening.hasValue && !opening.valueOptional)
        out += u'=' + filled(opening.valuePattern, values, next);
    for (const Opening::Pair &pair : opening.pairs) {
        if (!pair.optional)
            out += u' ' + pair.key + u'=' + filled(pair.pattern, values, next);
    }
    out += u']' + selected;
    if (opening.hasClose)
        out += QStringLiteral("[/") + opening.name + u']';
    return out;
}

} // namespace quorvane
