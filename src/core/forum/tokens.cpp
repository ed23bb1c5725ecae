// The checks a forum makes of the values in its tags ({URL}, {COLOR}, ...),
// each giving the value as the forum writes it into its HTML.

#include "forum/bbcodeparser.h"

#include <QHash>

#include <algorithm>

namespace quorvane {

namespace {

bool allOf(QStringView v, bool (*pred)(QChar))
{
    if (v.isEmpty())
        return false;
    for (QChar c : v) {
        if (!pred(c))
            return false;
    }
    return true;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isHex(QChar c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isIdentifierChar(QChar c)
{
    return isAsciiLetter(c) || isDigit(c) || c == u'_' || c == u'-';
}
bool isFontChar(QChar c)
{
    return isAsciiLetter(c) || isDigit(c) || c == u' ' || c == u',' || c == u'-' || c == u'_' ||
           c == u'\'' || c == u'"';
}

QString color(const ColorRules &r, QStringView v, bool *ok)
{
    const QStringView t = v.trimmed();
    auto hexDigits = [&](QStringView hex) {
        return allOf(hex, isHex) && (r.hexRange ? hex.size() >= r.hexMin && hex.size() <= r.hexMax
                                                : hex.size() == r.hexMin || hex.size() == r.hexMax);
    };
    if (t.startsWith(u'#'))
        *ok = hexDigits(t.mid(1));
    else if (t.startsWith(u"rgb(", Qt::CaseInsensitive))
        *ok = r.rgb && t.endsWith(u')');
    else
        *ok =
            (t.size() <= r.nameMax && allOf(t, isAsciiLetter)) || (r.hashOptional && hexDigits(t));
    return t.toString();
}

const QStringList &sizeNames()
{
    static const QStringList names = {u"xx-small"_qs, u"x-small"_qs, u"small"_qs,   u"medium"_qs,
                                      u"large"_qs,    u"x-large"_qs, u"xx-large"_qs};
    return names;
}

// SMF's "12pt", "10px", "1.5em", "smaller", "larger".
bool smfUnitSize(QStringView v)
{
    if (v == u"smaller" || v == u"larger")
        return true;
    if (v.endsWith(u"pt") || v.endsWith(u"px")) {
        const QStringView n = v.chopped(2);
        return n.size() <= 2 && allOf(n, isDigit) && n[0] != u'0';
    }
    if (v.endsWith(u"em")) {
        const QStringView n = v.chopped(2);
        bool ok = false;
        const double d = n.toDouble(&ok);
        return ok && d > 0 && d < 10;
    }
    return false;
}

QString size(const SizeRules &r, QStringView v, bool *ok)
{
    const QString lower = v.trimmed().toString().toLower();
    *ok = true;
    if (r.names && sizeNames().contains(lower))
        return lower;
    if (r.unitValues && smfUnitSize(lower))
        return lower;
    bool number = false;
    int n = lower.toInt(&number);
    if (r.clamp && !number &&
        allOf(lower, [](QChar c) { return isDigit(c) || c == u'+' || c == u'-'; })) {
        // PHP's reading: an optional sign, then the digits up to the first other character.
        qsizetype k = lower.startsWith(u'+') || lower.startsWith(u'-') ? 1 : 0;
        while (k < lower.size() && isDigit(lower[k]))
            ++k;
        n = lower.left(k).toInt(&number);
        number = true; // no digits read as 0
    }
    // SMF's scale takes a digit alone.
    if (!number || (!r.scale.isEmpty() && !allOf(lower, isDigit))) {
        *ok = false;
        return {};
    }
    if (r.clamp)
        n = std::clamp(n, r.min, r.max);
    if (n < r.min || n > r.max) {
        *ok = false;
        return {};
    }
    if (!r.scale.isEmpty())
        return r.scale.value(n - r.min);
    return QString::number(n) + r.numberUnit;
}

QString scheme(QStringView url)
{
    for (qsizetype i = 0; i < url.size(); ++i) {
        const QChar c = url[i];
        if (c == u':')
            return i > 0 ? url.left(i).toString().toLower() : QString();
        if (!isAsciiLetter(c) && !(i > 0 && (isDigit(c) || c == u'+' || c == u'-' || c == u'.')))
            return {};
    }
    return {};
}

QString url(const LinkRules &r, QStringView v, bool image, bool *ok)
{
    const QString t = v.trimmed().toString();
    QString s = scheme(t);
    *ok = true;
    if (r.schemeNeedsSlashes && !s.isEmpty() && !t.mid(s.size()).startsWith(u"://")) {
        if (s == u"javascript") {
            *ok = false;
            return {};
        }
        s.clear(); // MyBB: "mailto:x" is an address without a scheme
    }
    if (!s.isEmpty()) {
        const bool allowed = !r.badSchemes.isEmpty() ? !r.badSchemes.contains(s)
                             : r.schemeNeedsSlashes  ? s != u"javascript"
                                                     : r.schemes.contains(s);
        if (allowed)
            return t;
        if (!r.badSchemeAsText)
            return QStringLiteral("about:invalid");
        *ok = false;
        return {};
    }
    if (t.contains(u'"') || t.contains(u'<') || (image && r.imageNeedsScheme)) {
        *ok = false;
        return {};
    }
    if (r.keepSchemeless || t.startsWith(u"//"))
        return t;
    return r.schemelessPrefix + t;
}

QString listNumber(QStringView v, bool *ok)
{
    static const QHash<QString, QString> styles = {{u"1"_qs, u"decimal"_qs},
                                                   {u"a"_qs, u"lower-alpha"_qs},
                                                   {u"A"_qs, u"upper-alpha"_qs},
                                                   {u"i"_qs, u"lower-roman"_qs},
                                                   {u"I"_qs, u"upper-roman"_qs}};
    const auto it = styles.constFind(v.toString());
    *ok = it != styles.constEnd();
    return *ok ? *it : QString();
}

QString listType(QStringView v, bool *ok)
{
    static const QStringList types = {u"disc"_qs,
                                      u"circle"_qs,
                                      u"square"_qs,
                                      u"none"_qs,
                                      u"decimal"_qs,
                                      u"lower-alpha"_qs,
                                      u"upper-alpha"_qs,
                                      u"lower-roman"_qs,
                                      u"upper-roman"_qs,
                                      u"lower-greek"_qs,
                                      u"lower-latin"_qs,
                                      u"upper-latin"_qs,
                                      u"decimal-leading-zero"_qs};
    const QString t = v.toString().toLower();
    *ok = types.contains(t);
    return t;
}

// The eleven characters of a YouTube video's id, from the id or an address.
QString youtubeId(QStringView v, bool *ok)
{
    QStringView t = v.trimmed();
    for (QStringView marker :
         {QStringView(u"v="), QStringView(u"youtu.be/"), QStringView(u"/embed/")}) {
        const qsizetype at = t.indexOf(marker);
        if (at >= 0) {
            t = t.mid(at + marker.size());
            break;
        }
    }
    qsizetype n = 0;
    while (n < t.size() && isIdentifierChar(t[n]))
        ++n;
    *ok = n == 11;
    return t.left(n).toString();
}

// phpBB's {LOCAL_URL}: an address on the board itself, without a scheme or
// a server.
QString localUrl(QStringView v, bool *ok)
{
    const QStringView t = v.trimmed();
    *ok = !t.isEmpty() && !t.startsWith(u"//") && !t.startsWith(u"\\");
    for (QChar c : t) {
        if (c == u'/' || c == u'?' || c == u'#')
            break;
        *ok = *ok && c != u':';
    }
    for (QChar c : t)
        *ok = *ok && c != u'"' && c != u'<' && c != u'>' && c.unicode() > 0x20;
    return t.toString();
}

} // namespace

QString checkToken(const Dialect &d, QStringView token, QStringView value, bool *ok)
{
    *ok = true;
    // A board's custom tag numbers its tokens when a kind is used twice:
    // {TEXT1}, {TEXT2}.
    while (!token.isEmpty() && isDigit(token.back()))
        token.chop(1);
    if (token == u"TEXT" || token == u"AUTHOR") {
        *ok = !value.trimmed().isEmpty() || token != u"AUTHOR";
        return value.toString();
    }
    // phpBB's rules: latin letters, digits, spaces and "-+.,_"; INTTEXT takes
    // any letter or digit of any script.
    if (token == u"SIMPLETEXT" || token == u"INTTEXT") {
        const bool any = token == u"INTTEXT";
        *ok = !value.isEmpty();
        for (QChar c : value)
            *ok = *ok && ((any ? c.isLetterOrNumber() || c.isSpace()
                               : isAsciiLetter(c) || isDigit(c) || c == u' ') ||
                          c == u'-' || c == u'+' || c == u'.' || c == u',' || c == u'_');
        return value.toString();
    }
    if (token == u"LOCAL_URL")
        return localUrl(value, ok);
    if (token == u"URL")
        return url(d.links, value, false, ok);
    if (token == u"IMAGE")
        return url(d.links, value, true, ok);
    if (token == u"EMAIL") {
        const QString t = value.trimmed().toString();
        const qsizetype at = t.indexOf(u'@');
        *ok = at > 0 && at < t.size() - 1 && !t.contains(u' ') && !t.contains(u'"');
        return t;
    }
    if (token == u"COLOR")
        return color(d.colors, value, ok);
    if (token == u"SIZE")
        return size(d.sizes, value, ok);
    if (token == u"FONT") {
        *ok = allOf(value, isFontChar);
        return value.toString();
    }
    if (token == u"NUMBER" || token == u"DATE") {
        *ok = allOf(value, isDigit);
        return value.toString();
    }
    if (token == u"IDENTIFIER") {
        *ok = allOf(value, isIdentifierChar);
        return value.toString();
    }
    if (token == u"LINK") {
        *ok = !value.isEmpty() && !value.contains(u'"');
        return value.toString();
    }
    if (token == u"LISTNUMBER")
        return listNumber(value, ok);
    if (token == u"LISTTYPE")
        return listType(value, ok);
    if (token == u"LISTSTYLE") {
        // phpBB: 1, a, A, i, I by name, any other plain word as the CSS type.
        const QString style = listNumber(value, ok);
        if (*ok)
            return style;
        *ok = allOf(value, [](QChar c) {
            return isAsciiLetter(c) || isDigit(c) || c == u'-' || c == u' ' || c == u'+' ||
                   c == u',' || c == u'.' || c == u'_';
        });
        return value.toString();
    }
    if (token == u"ALIGN") {
        const QString a = value.toString().toLower();
        *ok = a == u"left" || a == u"center" || a == u"right" || a == u"justify";
        return a;
    }
    if (token == u"YOUTUBE")
        return youtubeId(value, ok);
    *ok = false;
    return {};
}

} // namespace quorvane
