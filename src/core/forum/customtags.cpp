#include "forum/customtags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <mutex>

namespace quorvane {

namespace {

constexpr std::array kTokenKinds = {u"TEXT",  u"SIMPLETEXT", u"INTTEXT", u"URL",       u"LOCAL_URL",
                                    u"EMAIL", u"NUMBER",     u"COLOR",   u"IDENTIFIER"};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "TEXT2" -> "TEXT".
QStringView kindOf(QStringView token)
{
    while (!token.isEmpty() && isAsciiDigit(token.back()))
        token.chop(1);
    return token;
}

bool isKnownKind(QStringView kind)
{
    for (const char16_t *k : kTokenKinds) {
        if (kind == QStringView(k))
            return true;
    }
    return false;
}

// A "{NAME}" or "{NAME2}" at i (upper-case letters and '_', then digits):
// its length, or 0.
qsizetype tokenAt(QStringView s, qsizetype i)
{
    if (i >= s.size() || s[i] != u'{')
        return 0;
    qsizetype j = i + 1;
    while (j < s.size() && ((s[j] >= u'A' && s[j] <= u'Z') || s[j] == u'_'))
        ++j;
    if (j == i + 1)
        return 0;
    while (j < s.size() && isAsciiDigit(s[j]))
        ++j;
    return j < s.size() && s[j] == u'}' ? j + 1 - i : 0;
}

// A usage line read: its name, its tokens in order, its content token.
struct Usage
{
    QString name;
    QStringList tokens;   // "URL", "TEXT1", ...
    QString contentToken; // empty: no content, no close
    QString problem;      // empty when right
};

// An attribute's pattern, "{URL}" or "{NUMBER}x{NUMBER}": its tokens, or why not.
QString readPattern(QStringView pattern, QStringList &tokens)
{
    if (pattern.isEmpty())
        return QStringLiteral("a value after \"=\" is missing");
    bool tokenBefore = false, any = false;
    for (qsizetype i = 0; i < pattern.size();) {
        if (const qsizetype n = tokenAt(pattern, i)) {
            if (tokenBefore)
                return QStringLiteral("two tokens must have a character between them");
            tokens.append(pattern.mid(i + 1, n - 2).toString());
            tokenBefore = any = true;
            i += n;
            continue;
        }
        const QChar c = pattern[i];
        if (c == u'{' || c == u'}' || c == u'"' || c == u'[')
            return QStringLiteral("\"%1\" is not a token").arg(pattern.mid(i).toString());
        tokenBefore = false;
        ++i;
    }
    if (!any)
        return QStringLiteral("\"%1\" has no token").arg(pattern.toString());
    return {};
}

Usage readUsage(QStringView line)
{
    Usage u;
    const QStringView s = line.trimmed();
    auto fail = [&u](QString why) {
        u.problem = std::move(why);
        return u;
    };
    if (!s.startsWith(u'['))
        return fail(QStringLiteral("a usage starts with \"[\" and the tag's name"));
    qsizetype i = 1;
    while (i < s.size() && (isAsciiLetter(s[i]) || isAsciiDigit(s[i])))
        ++i;
    u.name = s.mid(1, i - 1).toString();
    if (u.name.isEmpty() || !isAsciiLetter(u.name[0]) || u.name.size() > 16)
        return fail(QStringLiteral("a tag's name is a letter, then letters or digits "
                                   "(16 at most)"));
    const qsizetype close = s.indexOf(u']', i);
    if (close < 0)
        return fail(QStringLiteral("the opening tag has no \"]\""));
    QStringView head = s.mid(i, close - i);
    if (head.startsWith(u'=')) {
        const qsizetype space = head.indexOf(u' ');
        const QStringView pattern = head.mid(1, space < 0 ? -1 : space - 1);
        if (QString why = readPattern(pattern, u.tokens); !why.isEmpty())
            return fail(why);
        head = space < 0 ? QStringView() : head.mid(space);
    } else if (!head.isEmpty() && !head.startsWith(u' ')) {
        return fail(QStringLiteral("the name ends at \"=\", a space or \"]\""));
    }
    for (QStringView pair : head.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(u'=');
        const QStringView key = pair.left(std::max<qsizetype>(eq, 0));
        bool keyOk = !key.isEmpty() && isAsciiLetter(key[0]);
        for (QChar c : key)
            keyOk = keyOk && (isAsciiLetter(c) || isAsciiDigit(c) || c == u'_');
        if (eq < 0 || !keyOk)
            return fail(QStringLiteral("\"%1\" is not an attribute such as title={TEXT}")
                            .arg(pair.toString()));
        if (QString why = readPattern(pair.mid(eq + 1), u.tokens); !why.isEmpty())
            return fail(why);
    }
    const QStringView tail = s.mid(close + 1);
    if (!tail.isEmpty()) {
        const qsizetype n = tokenAt(tail, 0);
        const QString closing = QStringLiteral("[/") + u.name + u']';
        if (n == 0 || tail.mid(n).compare(closing, Qt::CaseInsensitive) != 0)
            return fail(QStringLiteral("after the opening tag comes one token, then %1, "
                                       "and nothing else")
                            .arg(closing));
        u.contentToken = tail.mid(1, n - 2).toString();
        u.tokens.append(u.contentToken);
    }
    for (qsizetype k = 0; k < u.tokens.size(); ++k) {
        const QString &t = u.tokens[k];
        if (!isKnownKind(kindOf(t)))
            return fail(QStringLiteral("{%1} is not a token; the tokens are {TEXT}, {SIMPLETEXT}, "
                                       "{INTTEXT}, {URL}, {LOCAL_URL}, {EMAIL}, {NUMBER}, "
                                       "{COLOR} and {IDENTIFIER}")
                            .arg(t));
        if (u.tokens.indexOf(t, k + 1) > 0)
            return fail(QStringLiteral("{%1} is used twice: number them, such as {%21} and {%22}")
                            .arg(t, kindOf(t).toString()));
    }
    return u;
}

// ---- The replacement's HTML ----

bool isOneOf(QStringView name, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *n : names) {
        if (name == QStringView(n))
            return true;
    }
    return false;
}

bool allowedElement(QStringView n)
{
    return isOneOf(n,
                   {u"a",     u"abbr",    u"b",       u"bdi",    u"bdo",  u"big",     u"blockquote",
                    u"br",    u"caption", u"center",  u"cite",   u"code", u"col",     u"colgroup",
                    u"dd",    u"del",     u"details", u"dfn",    u"div",  u"dl",      u"dt",
                    u"em",    u"font",    u"h1",      u"h2",     u"h3",   u"h4",      u"h5",
                    u"h6",    u"hr",      u"i",       u"img",    u"ins",  u"kbd",     u"li",
                    u"mark",  u"ol",      u"p",       u"pre",    u"q",    u"s",       u"samp",
                    u"small", u"span",    u"strike",  u"strong", u"sub",  u"summary", u"sup",
                    u"table", u"tbody",   u"td",      u"tfoot",  u"th",   u"thead",   u"tr",
                    u"tt",    u"u",       u"ul",      u"var",    u"wbr"});
}

// Elements left out with everything inside them.
bool droppedWithContent(QStringView n)
{
    return isOneOf(n, {u"script",    u"style",    u"iframe", u"object", u"embed",    u"noscript",
                       u"template",  u"textarea", u"title",  u"xmp",    u"noembed",  u"noframes",
                       u"svg",       u"math",     u"select", u"applet", u"frameset", u"head",
                       u"plaintext", u"audio",    u"video",  u"canvas", u"form",     u"button"});
}

bool isVoid(QStringView n)
{
    return isOneOf(n, {u"br", u"hr", u"img", u"wbr", u"col"});
}

bool isBlockElement(QStringView n)
{
    return isOneOf(n, {u"div", u"blockquote", u"details", u"table", u"p", u"ul", u"ol", u"pre",
                       u"hr", u"h1", u"h2", u"h3", u"h4", u"h5", u"h6", u"center", u"dl"});
}

bool allowedAttribute(QStringView element, QStringView a)
{
    if (a == u"href")
        return element == u"a";
    if (a == u"src")
        return element == u"img";
    return isOneOf(a, {u"class",  u"title",       u"dir",         u"lang",    u"align", u"valign",
                       u"width",  u"height",      u"colspan",     u"rowspan", u"color", u"face",
                       u"size",   u"open",        u"alt",         u"start",   u"type",  u"reversed",
                       u"border", u"cellpadding", u"cellspacing", u"style"});
}

// Tokens whose values hold no ':', '(' or ';' (their rules refuse them).
bool isPlainKind(QStringView kind)
{
    return isOneOf(kind, {u"NUMBER", u"IDENTIFIER", u"SIMPLETEXT", u"INTTEXT", u"COLOR"});
}

// The tokens of a value, in order.
QStringList tokensIn(QStringView v)
{
    QStringList out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (const qsizetype n = tokenAt(v, i)) {
            out.append(v.mid(i + 1, n - 2).toString());
            i += n - 1;
        }
    }
    return out;
}

// An address a link or picture may have: one starting with {URL} or
// {LOCAL_URL} (checked by their rules), or with a plain token, or written
// out with http, https, ftp or mailto (a link only), or relative.
bool safeAddress(QStringView v, bool picture)
{
    v = v.trimmed();
    // A picture from a fixed server would be fetched whatever the post
    // says (a tracking picture): only the post's own addresses load.
    if (picture && tokenAt(v, 0) == 0 && (v.startsWith(u"//") || v.contains(u':')))
        return false;
    if (const qsizetype n = tokenAt(v, 0)) {
        const QStringView kind = kindOf(v.mid(1, n - 2));
        if (kind != u"URL" && kind != u"LOCAL_URL" && !isPlainKind(kind))
            return false;
        v = v.mid(n);
    } else {
        for (qsizetype i = 0; i < v.size(); ++i) {
            const QChar c = v[i];
            if (c == u'/' || c == u'?' || c == u'#' || c == u'{')
                break;
            if (c == u':') {
                const QString scheme = v.left(i).toString().toLower();
                if (!isOneOf(scheme, {u"http", u"https", u"ftp", u"mailto"}))
                    return false;
                break;
            }
        }
    }
    // Written characters a browser would read past (entities, blanks).
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (const qsizetype n = tokenAt(v, i)) {
            i += n - 1;
            continue;
        }
        if (v[i] == u'&' || v[i].unicode() <= 0x20 || v[i] == u'\\')
            return false;
    }
    return true;
}

bool allowedStyleProperty(QStringView p)
{
    return isOneOf(p, {u"color",          u"background-color", u"font-weight",
                       u"font-style",     u"font-size",        u"font-family",
                       u"font-variant",   u"text-align",       u"text-decoration",
                       u"text-transform", u"border",           u"border-color",
                       u"border-style",   u"border-width",     u"border-radius",
                       u"padding",        u"margin",           u"width",
                       u"height",         u"white-space",      u"vertical-align",
                       u"line-height",    u"letter-spacing",   u"display"});
}

// The declarations of a style that fetch nothing and take no foreign token.
QString safeStyle(QStringView style)
{
    QStringList kept;
    for (QStringView decl : style.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = decl.indexOf(u':');
        if (colon < 0)
            continue;
        const QString property = decl.left(colon).trimmed().toString().toLower();
        const QStringView value = decl.mid(colon + 1).trimmed();
        if (!allowedStyleProperty(property) || value.isEmpty())
            continue;
        bool ok = true;
        for (QChar c : value)
            ok = ok && c != u'(' && c != u'\\' && c != u'@' && c != u'<' && c != u'&' &&
                 c != u'"' && c != u'\'' && c != u'/' && c != u':' && c.unicode() >= 0x20;
        const QString lower = value.toString().toLower();
        ok = ok && !lower.contains(u"url") && !lower.contains(u"expression");
        for (const QString &t : tokensIn(value))
            ok = ok && isPlainKind(kindOf(t));
        if (ok)
            kept.append(property + QStringLiteral(": ") + value.toString());
    }
    return kept.join(QStringLiteral("; "));
}

// Text as HTML text: '<' and '>' escaped, '&' kept only for an entity,
// braces kept only for the usage's tokens.
void appendText(QString &out, QStringView s, const QStringList &tokens, bool attribute)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (const qsizetype n = tokenAt(s, i); n && tokens.contains(s.mid(i + 1, n - 2))) {
            out += s.mid(i, n);
            i += n - 1;
        } else if (c == u'{') {
            out += u"&#123;";
        } else if (c == u'}') {
            out += u"&#125;";
        } else if (c == u'<') {
            out += u"&lt;";
        } else if (c == u'>') {
            out += u"&gt;";
        } else if (c == u'"') {
            out += attribute ? u"&quot;" : u"\"";
        } else if (c == u'&') {
            qsizetype j = i + 1;
            while (j < s.size() && j - i < 12 && (s[j].isLetterOrNumber() || s[j] == u'#'))
                ++j;
            const bool entity = j > i + 1 && j < s.size() && s[j] == u';';
            out += entity ? s.mid(i, j - i + 1) : QStringView(u"&amp;");
            if (entity)
                i = j;
        } else {
            out += c;
        }
    }
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'-' || c == u'_' || c == u':';
}

class Sanitiser
{
public:
    Sanitiser(QStringView html, const QStringList &tokens, const QString &parsedContent)
        : m_s(html), m_tokens(tokens), m_parsedContent(parsedContent)
    {}

    QString run()
    {
        qsizetype i = 0;
        while (i < m_s.size()) {
            const qsizetype lt = m_s.indexOf(u'<', i);
            const qsizetype textEnd = lt < 0 ? m_s.size() : lt;
            appendText(m_out, m_s.mid(i, textEnd - i), m_tokens, false);
            if (lt < 0)
                break;
            i = tag(lt);
        }
        return std::move(m_out);
    }

private:
    // The end of the tag at i; writes what of it is kept.
    qsizetype tag(qsizetype i)
    {
        if (m_s.mid(i).startsWith(u"<!--")) {
            const qsizetype end = m_s.indexOf(u"-->", i + 4);
            return end < 0 ? m_s.size() : end + 3;
        }
        qsizetype j = i + 1;
        const bool closing = j < m_s.size() && m_s[j] == u'/';
        if (closing)
            ++j;
        if (j < m_s.size() && (m_s[j] == u'!' || m_s[j] == u'?')) {
            const qsizetype end = m_s.indexOf(u'>', j);
            return end < 0 ? m_s.size() : end + 1;
        }
        const qsizetype nameStart = j;
        while (j < m_s.size() && (isAsciiLetter(m_s[j]) || isAsciiDigit(m_s[j])))
            ++j;
        if (j == nameStart || !isAsciiLetter(m_s[nameStart])) {
            m_out += u"&lt;"; // a lone '<' is text
            return i + 1;
        }
        const QString name = m_s.mid(nameStart, j - nameStart).toString().toLower();
        // Attributes up to the '>' outside quotes.
        struct Attribute
        {
            QString name;
            QString value;
        };
        std::vector<Attribute> attributes;
        bool nameBroken = false;
        while (j < m_s.size() && m_s[j] != u'>') {
            if (m_s[j].isSpace() || m_s[j] == u'/') {
                ++j;
                continue;
            }
            const qsizetype a = j;
            while (j < m_s.size() && !m_s[j].isSpace() && m_s[j] != u'=' && m_s[j] != u'>' &&
                   !(m_s[j] == u'/' && j + 1 < m_s.size() && m_s[j + 1] == u'>'))
                ++j;
            Attribute attr{m_s.mid(a, j - a).toString().toLower(), QString()};
            for (QChar c : attr.name)
                nameBroken = nameBroken || !isNameChar(c);
            while (j < m_s.size() && m_s[j].isSpace())
                ++j;
            if (j < m_s.size() && m_s[j] == u'=') {
                ++j;
                while (j < m_s.size() && m_s[j].isSpace())
                    ++j;
                if (j < m_s.size() && (m_s[j] == u'"' || m_s[j] == u'\'')) {
                    const qsizetype end = m_s.indexOf(m_s[j], j + 1);
                    const qsizetype stop = end < 0 ? m_s.size() : end;
                    attr.value = m_s.mid(j + 1, stop - j - 1).toString();
                    j = end < 0 ? m_s.size() : end + 1;
                } else {
                    const qsizetype v = j;
                    while (j < m_s.size() && !m_s[j].isSpace() && m_s[j] != u'>')
                        ++j;
                    attr.value = m_s.mid(v, j - v).toString();
                }
            }
            attributes.push_back(std::move(attr));
        }
        const qsizetype end = j < m_s.size() ? j + 1 : m_s.size();
        if (droppedWithContent(name)) {
            if (closing)
                return end;
            // Everything up to its own close goes.
            const QString close = QStringLiteral("</") + name;
            qsizetype at = end;
            while ((at = m_s.indexOf(close, at, Qt::CaseInsensitive)) >= 0) {
                const qsizetype after = at + close.size();
                if (after >= m_s.size() || !isAsciiLetter(m_s[after]))
                    break;
                at = after;
            }
            if (at < 0)
                return m_s.size();
            const qsizetype gt = m_s.indexOf(u'>', at);
            return gt < 0 ? m_s.size() : gt + 1;
        }
        if (!allowedElement(name) || nameBroken)
            return end;
        if (closing) {
            if (!isVoid(name))
                m_out += QStringLiteral("</") + name + u'>';
            return end;
        }
        m_out += u'<';
        m_out += name;
        for (const Attribute &attr : attributes) {
            if (!allowedAttribute(name, attr.name))
                continue;
            // The parsed contents hold the forum's own mark-up, whose quotes
            // would end the attribute: they go between tags only.
            if (!m_parsedContent.isEmpty() && attr.value.contains(m_parsedContent))
                continue;
            QString value = attr.value;
            if (attr.name == u"href" || attr.name == u"src") {
                if (!safeAddress(value, attr.name == u"src"))
                    continue;
            } else if (attr.name == u"style") {
                value = safeStyle(value);
                if (value.isEmpty())
                    continue;
            }
            m_out += u' ';
            m_out += attr.name;
            m_out += u"=\"";
            appendText(m_out, value, m_tokens, true);
            m_out += u'"';
        }
        m_out += u'>';
        return end;
    }

    QStringView m_s;
    const QStringList &m_tokens;
    QString m_parsedContent; // "{TEXT2}", or empty when the contents are a value
    QString m_out;
};

QString firstElement(QStringView html)
{
    const qsizetype lt = html.indexOf(u'<');
    if (lt < 0)
        return {};
    qsizetype j = lt + 1;
    while (j < html.size() && (isAsciiLetter(html[j]) || isAsciiDigit(html[j])))
        ++j;
    return html.mid(lt + 1, j - lt - 1).toString();
}

// ---- The tag sets in use ----

struct Installed
{
    std::mutex mutex;
    std::array<std::shared_ptr<const ForumTagSet>, allForums.size()> sets;
};

Installed &installed()
{
    static Installed state;
    return state;
}

} // namespace

QString usageProblem(QStringView usage)
{
    return readUsage(usage).problem;
}

QString customTagName(QStringView usage)
{
    const Usage u = readUsage(usage);
    return u.problem.isEmpty() ? u.name : QString();
}

QString replacementProblem(QStringView usage, QStringView replacement)
{
    const Usage u = readUsage(usage);
    if (replacement.trimmed().isEmpty())
        return QStringLiteral("the replacement is empty");
    for (const QString &t : tokensIn(replacement)) {
        if (isKnownKind(kindOf(t)) && !u.tokens.contains(t))
            return QStringLiteral("{%1} is not in the usage").arg(t);
    }
    return {};
}

CustomTagsRead readCustomTags(QByteArrayView utf8)
{
    CustomTagsRead out;
    auto fail = [&out](int line, QString why) {
        out.tags.clear();
        out.error = CustomTagError{line, std::move(why)};
        return out;
    };
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(utf8);
    if (decode.hasError())
        return fail(0, QStringLiteral("the file is not UTF-8 text"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    const auto lineAt = [&lines](qsizetype k) {
        QStringView l = lines[k];
        return l.endsWith(u'\r') ? l.chopped(1) : l;
    };
    qsizetype k = 0;
    while (k < lines.size()) {
        const QStringView usage = lineAt(k);
        if (usage.trimmed().isEmpty()) {
            ++k;
            continue;
        }
        const int usageLine = int(k + 1);
        if (QString why = usageProblem(usage); !why.isEmpty())
            return fail(usageLine, why);
        if (k + 1 >= lines.size() || lineAt(k + 1).trimmed().isEmpty())
            return fail(usageLine + 1, QStringLiteral("the replacement line of the usage on "
                                                      "line %1 is missing")
                                           .arg(usageLine));
        const QStringView replacement = lineAt(k + 1);
        if (QString why = replacementProblem(usage, replacement); !why.isEmpty())
            return fail(usageLine + 1, why);
        if (k + 2 < lines.size() && !lineAt(k + 2).trimmed().isEmpty())
            return fail(usageLine + 2,
                        QStringLiteral("a blank line must follow the replacement on line %1")
                            .arg(usageLine + 1));
        out.tags.push_back({usage.trimmed().toString(), replacement.trimmed().toString()});
        k += 3;
    }
    return out;
}

CustomTagsRead readCustomTagsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CustomTagsRead out;
        out.error = CustomTagError{0, file.errorString()};
        return out;
    }
    return readCustomTags(file.readAll());
}

QByteArray writeCustomTags(const std::vector<CustomTag> &tags)
{
    QString text;
    for (const CustomTag &t : tags) {
        text += t.usage;
        text += u'\n';
        text += t.replacement;
        text += QStringLiteral("\n\n");
    }
    return text.toUtf8();
}

bool writeCustomTagsFile(const QString &path, const std::vector<CustomTag> &tags, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writeCustomTags(tags)) < 0 ||
        !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString storedCustomTagsPath(Forum forum)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/custom-tags/") + forumKey(forum) + QStringLiteral(".txt");
}

std::vector<CustomTag> storedCustomTags(Forum forum)
{
    const QString path = storedCustomTagsPath(forum);
    if (!QFile::exists(path))
        return {};
    return readCustomTagsFile(path).tags;
}

bool storeCustomTags(Forum forum, const std::vector<CustomTag> &tags, QString *error)
{
    const QString path = storedCustomTagsPath(forum);
    if (!QDir().mkpath(QFileInfo(path).path())) {
        *error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(path).path());
        return false;
    }
    return writeCustomTagsFile(path, tags, error);
}

QString sanitisedReplacement(QStringView replacement, QStringView usage)
{
    const Usage u = readUsage(usage);
    const QString parsed =
        kindOf(u.contentToken) == u"TEXT" ? u'{' + u.contentToken + u'}' : QString();
    return Sanitiser(replacement, u.tokens, parsed).run();
}

std::shared_ptr<const ForumTagSet> makeForumTagSet(Forum forum, std::vector<CustomTag> custom,
                                                   const QStringList &plainNames)
{
    auto set = std::make_shared<ForumTagSet>();
    set->forum = forum;
    set->plainNames = plainNames;
    std::shared_ptr<Dialect> d;
    if (forum != Forum::Generic)
        d = std::make_shared<Dialect>(dialect(forum));
    const std::size_t builtIn = d ? d->tags.size() : 0;
    for (const CustomTag &tag : custom) {
        const Usage u = readUsage(tag.usage);
        if (!u.problem.isEmpty())
            continue;
        if (!set->customNames.contains(u.name, Qt::CaseInsensitive)) {
            set->customNames.append(u.name);
            if (u.contentToken.isEmpty())
                set->singleNames.append(u.name);
        }
        if (!d)
            continue;
        const TagDefinition *known = d->tag(u.name);
        if (known && known < d->tags.data() + builtIn)
            continue; // the forum's own tag wins, as the board would have it
        // The content token is written {TEXT}: the writer splits the
        // replacement there; a {TEXT} among the attributes becomes {TEXT0}.
        QString usage = tag.usage.trimmed();
        QString html = sanitisedReplacement(tag.replacement, tag.usage);
        const bool parsed = kindOf(u.contentToken) == u"TEXT";
        if (parsed && u.contentToken != u"TEXT") {
            const QString content = u'{' + u.contentToken + u'}';
            if (u.tokens.contains(u"TEXT")) {
                usage.replace(QStringLiteral("{TEXT}"), QStringLiteral("{TEXT0}"));
                html.replace(QStringLiteral("{TEXT}"), QStringLiteral("{TEXT0}"));
            }
            usage.replace(usage.lastIndexOf(content), content.size(), QStringLiteral("{TEXT}"));
            html.replace(content, QStringLiteral("{TEXT}"));
        }
        TagForm form;
        form.usage = std::move(usage);
        form.html = std::move(html);
        if (u.contentToken.isEmpty())
            form.role = Role::Single;
        else if (!parsed || !form.html.contains(QStringLiteral("{TEXT}")))
            form.role = Role::Value; // the content is a value, or is not shown
        else
            form.role =
                isBlockElement(firstElement(form.html).toLower()) ? Role::Block : Role::Inline;
        const auto same = std::find_if(d->tags.begin() + qsizetype(builtIn), d->tags.end(),
                                       [&u](const TagDefinition &t) {
                                           return u.name.compare(t.name, Qt::CaseInsensitive) == 0;
                                       });
        if (same != d->tags.end())
            same->forms.push_back(std::move(form));
        else
            d->tags.push_back({u.name.toLower(), {std::move(form)}});
    }
    if (d) {
        for (const QString &name : plainNames) {
            if (!d->tag(name))
                d->tags.push_back({name.toLower(), {}});
        }
    }
    set->custom = std::move(custom);
    set->dialect = std::move(d);
    return set;
}

std::shared_ptr<const ForumTagSet> forumTagSet(Forum forum)
{
    Installed &state = installed();
    std::lock_guard lock(state.mutex);
    auto &slot = state.sets[std::size_t(forum)];
    if (!slot) {
        auto set = std::make_shared<ForumTagSet>();
        set->forum = forum;
        if (forum != Forum::Generic) {
            // The forum's own description, never copied.
            set->dialect = std::shared_ptr<const Dialect>(std::shared_ptr<void>(), &dialect(forum));
        }
        slot = std::move(set);
    }
    return slot;
}

std::shared_ptr<const Dialect> forumDialect(Forum forum)
{
    return forumTagSet(forum)->dialect;
}

void installForumTagSet(std::shared_ptr<const ForumTagSet> set)
{
    Installed &state = installed();
    std::lock_guard lock(state.mutex);
    state.sets[std::size_t(set->forum)] = std::move(set);
}

} // namespace quorvane
