#include "readerview.h"

#include <QColor>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gumbo.h>

#include <cmath>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace quorvane::test {

namespace {

// ---- The tree, as an HTML5 parser builds it ----

struct Node
{
    QString tag; // empty for text
    QString text;
    QHash<QString, QString> attrs;
    std::vector<Node> children;
};

void convert(const GumboNode *g, Node &into)
{
    if (g->type == GUMBO_NODE_TEXT || g->type == GUMBO_NODE_WHITESPACE ||
        g->type == GUMBO_NODE_CDATA) {
        into.children.push_back({QString(), QString::fromUtf8(g->v.text.text), {}, {}});
        return;
    }
    if (g->type != GUMBO_NODE_ELEMENT && g->type != GUMBO_NODE_TEMPLATE)
        return;
    const GumboElement &e = g->v.element;
    Node n;
    if (e.tag == GUMBO_TAG_UNKNOWN) {
        GumboStringPiece piece = e.original_tag;
        gumbo_tag_from_original_text(&piece);
        n.tag = QString::fromUtf8(piece.data, qsizetype(piece.length)).toLower();
    } else {
        n.tag = QString::fromUtf8(gumbo_normalized_tagname(e.tag));
    }
    for (unsigned i = 0; i < e.attributes.length; ++i) {
        const auto *a = static_cast<const GumboAttribute *>(e.attributes.data[i]);
        const QString name = QString::fromUtf8(a->name).toLower();
        if (!n.attrs.contains(name))
            n.attrs.insert(name, QString::fromUtf8(a->value));
    }
    for (unsigned i = 0; i < e.children.length; ++i)
        convert(static_cast<const GumboNode *>(e.children.data[i]), n);
    into.children.push_back(std::move(n));
}

// ---- Styles ----

const QSet<QString> kDrop = {"head", "title", "script", "style", "noscript", "template",
                             "meta", "link",  "button", "input", "select",   "textarea"};
const QSet<QString> kBlock = {
    "address", "article", "aside",   "blockquote", "center",     "dd",     "details", "dialog",
    "div",     "dl",      "dt",      "fieldset",   "figcaption", "figure", "footer",  "form",
    "h1",      "h2",      "h3",      "h4",         "h5",         "h6",     "header",  "hr",
    "li",      "main",    "nav",     "ol",         "p",          "pre",    "section", "table",
    "tbody",   "thead",   "tfoot",   "tr",         "td",         "th",     "ul",      "body",
    "html",    "cite",    "caption", "summary",    "legend",     "menu",   "code"};
const QHash<QString, QString> kClassAlign = {{"centertext", "center"},
                                             {"righttext", "right"},
                                             {"lefttext", "left"},
                                             {"justifytext", "justify"}};
const char *const kFontSizeKeyword[] = {"x-small", "small",    "medium",   "large",
                                        "x-large", "xx-large", "xxx-large"};

std::optional<QString> normColor(QString v)
{
    v = v.trimmed().toLower().remove(u' ');
    static const QRegularExpression hex(u"^#([0-9a-f]{3}|[0-9a-f]{6})$"_qs);
    static const QRegularExpression rgb(u"^rgba?\\((\\d+)%?,(\\d+)%?,(\\d+)%?(?:,[\\d.]+)?\\)$"_qs);
    if (const auto m = hex.match(v); m.hasMatch()) {
        QString h = m.captured(1);
        if (h.size() == 3)
            h = QString(h[0]) + h[0] + h[1] + h[1] + h[2] + h[2];
        return u'#' + h;
    }
    if (const auto m = rgb.match(v); m.hasMatch()) {
        QString out = u"#"_qs;
        for (int k = 1; k <= 3; ++k)
            out +=
                QStringLiteral("%1").arg(std::min(255, m.captured(k).toInt()), 2, 16, QChar(u'0'));
        return out;
    }
    static const QRegularExpression word(u"^[a-z]+$"_qs);
    if (word.match(v).hasMatch() && v != u"transparent" && QColor::isValidColor(v))
        return QColor(v).name();
    return std::nullopt;
}

// A decimal number as the shortest text ("1.45", "300").
QString decimal(double d)
{
    QString t = QString::number(d, 'f', 8);
    if (t.contains(u'.')) {
        while (t.endsWith(u'0'))
            t.chop(1);
        if (t.endsWith(u'.'))
            t.chop(1);
    }
    return t;
}

// A font size: an absolute base (or none: the page's) and a factor.
struct Size
{
    QString base;
    double factor = 1;
    bool set = false;
};

Size normSize(QString v, const Size &inherited)
{
    v = v.trimmed().toLower().remove(u' ');
    static const QRegularExpression number(
        u"^([0-9]*\\.?[0-9]+)(%|em|rem|pt|px|ex|vw|vh|cm|mm|in|pc)?$"_qs);
    static const QRegularExpression absolute(u"^([0-9.]+)(pt|px)$"_qs);
    static const QRegularExpression keyword(
        u"^(xx-small|x-small|small|medium|large|x-large|xx-large|xxx-large|smaller|larger)$"_qs);
    if (const auto m = number.match(v); m.hasMatch()) {
        double n = m.captured(1).toDouble();
        QString unit = m.captured(2).isEmpty() ? u"px"_qs : m.captured(2);
        if (unit == u"em") {
            n *= 100;
            unit = u"%"_qs;
        }
        if (unit == u"%") {
            const auto b = absolute.match(inherited.base);
            if (inherited.set && b.hasMatch())
                return {decimal(b.captured(1).toDouble() * n / 100) + b.captured(2), 1, true};
            return {inherited.base, inherited.factor * n / 100, true};
        }
        return {decimal(n) + unit, 1, true};
    }
    if (keyword.match(v).hasMatch())
        return {v, 1, true};
    return inherited;
}

QString sizeText(const Size &s)
{
    if (!s.set)
        return {};
    if (std::abs(s.factor - 1) < 1e-9)
        return s.base;
    const QString pct = decimal(s.factor * 100) + u'%';
    return s.base.isEmpty() ? pct : s.base + u'*' + pct;
}

QHash<QString, QString> parseStyle(const QString &s)
{
    QHash<QString, QString> out;
    static const QRegularExpression important(u"\\s*!important\\s*$"_qs,
                                              QRegularExpression::CaseInsensitiveOption);
    for (const QString &decl : s.split(u';')) {
        const qsizetype colon = decl.indexOf(u':');
        if (colon < 0)
            continue;
        QString value = decl.mid(colon + 1).trimmed();
        value.remove(important);
        out.insert(decl.left(colon).trimmed().toLower(), value);
    }
    return out;
}

QString fontName(const QString &v)
{
    QStringList parts;
    for (const QString &p : v.split(u',')) {
        QString t = p.trimmed();
        while (!t.isEmpty() && (t.front() == u'\'' || t.front() == u'"'))
            t.remove(0, 1);
        while (!t.isEmpty() && (t.back() == u'\'' || t.back() == u'"'))
            t.chop(1);
        t = t.trimmed().toLower();
        if (!p.trimmed().isEmpty())
            parts << t;
    }
    return parts.join(u',');
}

QString marker(const QString &tag, const QHash<QString, QString> &a,
               const QHash<QString, QString> &style, const QString &fallback)
{
    QString t = style.value(u"list-style-type"_qs).trimmed().toLower();
    if (t.isEmpty())
        t = style.value(u"list-style"_qs).trimmed().toLower().section(u' ', 0, 0);
    if (t.isEmpty()) {
        const QString ty = a.value(u"type"_qs).trimmed();
        static const QHash<QString, QString> types = {{"1", "decimal"},
                                                      {"a", "lower-alpha"},
                                                      {"A", "upper-alpha"},
                                                      {"i", "lower-roman"},
                                                      {"I", "upper-roman"}};
        t = types.value(ty);
        static const QSet<QString> plain = {"disc", "circle", "square", "none", "decimal"};
        if (t.isEmpty() && plain.contains(ty.toLower()))
            t = ty.toLower();
    }
    if (t.isEmpty())
        t = !fallback.isEmpty() ? fallback : (tag == u"ol" ? u"decimal"_qs : u"disc"_qs);
    if (t == u"lower-latin")
        return u"lower-alpha"_qs;
    if (t == u"upper-latin")
        return u"upper-alpha"_qs;
    return t;
}

struct State
{
    bool b = false, i = false, u = false, s = false;
    QString sub, color, font, href, ws = u"normal"_qs, align = u"left"_qs, marker;
    bool hasHref = false;
    Size size;
    bool code = false, plain = false;
    // The style key: every style; for blank characters only line style and link.
    QString key, wsKey;
};

void makeKey(State &st)
{
    const QString h = st.hasHref && !st.href.isEmpty() ? u"href="_qs + st.href : QString();
    if (st.plain) {
        st.key = st.wsKey = h;
        return;
    }
    QStringList parts, ws;
    if (st.b)
        parts << u"b"_qs;
    if (st.i)
        parts << u"i"_qs;
    if (st.u)
        parts << u"u"_qs, ws << u"u"_qs;
    if (st.s)
        parts << u"s"_qs, ws << u"s"_qs;
    if (!st.sub.isEmpty())
        parts << st.sub;
    if (!st.color.isEmpty())
        parts << u"color="_qs + st.color;
    if (const QString z = sizeText(st.size); !z.isEmpty())
        parts << u"size="_qs + z;
    if (!st.font.isEmpty())
        parts << u"font="_qs + st.font;
    if (!h.isEmpty())
        parts << h, ws << h;
    st.key = parts.join(u',');
    st.wsKey = ws.join(u',');
}

// ---- Lines and boxes ----

struct Atom
{
    enum Kind { Char, Smiley, Image, Embed } kind = Char;
    QChar c;
    QString key, wsKey;
    bool pre = false;
    QString src, w, h, href;
};
using Line = std::vector<Atom>;

struct Box
{
    QString kind, arg;
    std::vector<std::variant<Line, std::unique_ptr<Box>, int>> items; // int: <hr>
    Line cur;
};

bool isWs(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool hasContent(const Line &line)
{
    for (const Atom &a : line) {
        if (a.kind != Atom::Char || a.pre || !isWs(a.c))
            return true;
    }
    return false;
}

bool hasVisible(const Node &n)
{
    for (const Node &c : n.children) {
        if (c.tag.isEmpty()) {
            for (QChar ch : c.text) {
                if (!isWs(ch))
                    return true;
            }
        } else if (c.tag == u"img" || c.tag == u"iframe" || c.tag == u"embed" ||
                   c.tag == u"object" || c.tag == u"video" || hasVisible(c)) {
            return true;
        }
    }
    return false;
}

class Walker
{
public:
    Box root;
    std::vector<Box *> boxes{&root};

    void atom(Atom a) { boxes.back()->cur.push_back(std::move(a)); }
    void hardBreak()
    {
        Box *b = boxes.back();
        b->items.emplace_back(std::move(b->cur));
        b->cur = {};
    }
    void softBreak()
    {
        Box *b = boxes.back();
        if (hasContent(b->cur))
            b->items.emplace_back(std::move(b->cur));
        b->cur = {};
    }
    void openBox(const QString &kind, const QString &arg)
    {
        softBreak();
        auto box = std::make_unique<Box>();
        box->kind = kind;
        box->arg = arg;
        Box *raw = box.get();
        boxes.back()->items.emplace_back(std::move(box));
        boxes.push_back(raw);
    }
    void closeBox()
    {
        softBreak();
        boxes.pop_back();
    }

    void walk(const Node &n, const State &st)
    {
        for (const Node &c : n.children) {
            if (c.tag.isEmpty())
                text(c.text, st);
            else
                element(c, st);
        }
    }

    void text(const QString &s, const State &st)
    {
        const bool pre = st.ws == u"pre" || st.ws == u"pre-wrap" || st.ws == u"pre-line";
        for (QChar c : s) {
            if (c == u'\r')
                continue;
            if (c == u'\n' && pre) {
                hardBreak();
                continue;
            }
            Atom a;
            a.c = c;
            a.key = st.key;
            a.wsKey = st.wsKey;
            a.href = st.hasHref ? st.href : QString();
            a.pre = pre;
            atom(std::move(a));
        }
    }

    void element(const Node &n, State st)
    {
        const QString &tag = n.tag;
        const auto &a = n.attrs;
        if (kDrop.contains(tag) || a.contains(u"hidden"_qs))
            return;
        const auto style = parseStyle(a.value(u"style"_qs));
        const QStringList classList =
            a.value(u"class"_qs).toLower().split(u' ', Qt::SkipEmptyParts);
        const QSet<QString> classes(classList.begin(), classList.end());
        const QString visibility = style.value(u"visibility"_qs).toLower();
        if (style.value(u"display"_qs).toLower() == u"none" || visibility == u"hidden" ||
            visibility == u"collapse" || classes.contains(u"hidden"_qs))
            return;
        if (tag == u"br") {
            hardBreak();
            return;
        }
        if (tag == u"wbr")
            return;
        if (tag == u"a") {
            const QString href = a.value(u"href"_qs).trimmed();
            if (!a.contains(u"href"_qs) || href.isEmpty() || href.startsWith(u'#') ||
                href.toLower().startsWith(u"javascript:") || !hasVisible(n))
                return;
        }
        if (tag == u"img") {
            const QString src = a.value(u"src"_qs).trimmed();
            Atom at;
            at.href = st.hasHref ? st.href : QString();
            if (src.toLower().contains(u"smil") || classes.contains(u"smilie"_qs) ||
                classes.contains(u"smiley"_qs) || classes.contains(u"smilies"_qs)) {
                at.kind = Atom::Smiley;
                at.src = src.section(u'/', -1);
            } else {
                at.kind = Atom::Image;
                at.src = src;
                static const QRegularExpression px(u"px$"_qs);
                at.w = (a.contains(u"width"_qs) && !a.value(u"width"_qs).isEmpty()
                            ? a.value(u"width"_qs)
                            : style.value(u"width"_qs))
                           .trimmed()
                           .remove(px);
                at.h = (a.contains(u"height"_qs) && !a.value(u"height"_qs).isEmpty()
                            ? a.value(u"height"_qs)
                            : style.value(u"height"_qs))
                           .trimmed()
                           .remove(px);
            }
            atom(std::move(at));
            return;
        }
        if (tag == u"iframe" || tag == u"embed" || tag == u"object" || tag == u"video" ||
            tag == u"audio") {
            Atom at;
            at.kind = Atom::Embed;
            at.src = (a.contains(u"src"_qs) ? a.value(u"src"_qs) : a.value(u"data"_qs)).trimmed();
            atom(std::move(at));
            return;
        }
        if (tag == u"hr") {
            softBreak();
            boxes.back()->items.emplace_back(0);
            return;
        }
        applyStyle(tag, a, style, st);
        const QString display = style.value(u"display"_qs).toLower();
        const bool isBlock = kBlock.contains(tag) || display == u"block" ||
                             display == u"list-item" || display == u"table" || display == u"flex" ||
                             display == u"grid";
        QString kind, arg;
        if (tag == u"pre" || tag == u"code" || tag == u"xmp") {
            if (!st.code) {
                kind = u"code"_qs;
                st.code = true;
                if (tag != u"code")
                    st.ws = u"pre"_qs;
            }
        } else if (tag == u"blockquote") {
            kind = u"quote"_qs;
        } else if (tag == u"cite") {
            kind = u"cite"_qs;
        } else if (tag == u"ul" || tag == u"ol" || tag == u"menu") {
            kind = u"list"_qs;
            st.marker = marker(tag, a, style, QString());
        } else if (tag == u"li") {
            kind = u"item"_qs;
            arg = marker(tag, a, style, st.marker.isEmpty() ? u"disc"_qs : st.marker);
        } else if (tag == u"table") {
            kind = u"table"_qs;
        } else if (tag == u"tr") {
            kind = u"row"_qs;
        } else if (tag == u"td" || tag == u"th") {
            kind = u"cell"_qs;
        }
        if (tag == u"pre" && st.code && kind.isEmpty())
            st.ws = u"pre"_qs;

        QString align;
        if (isBlock || tag == u"td" || tag == u"th") {
            QString al = (style.contains(u"text-align"_qs) ? style.value(u"text-align"_qs)
                                                           : a.value(u"align"_qs))
                             .trimmed()
                             .toLower();
            for (const QString &c : classList) {
                if (kClassAlign.contains(c))
                    al = kClassAlign.value(c);
            }
            if (tag == u"center")
                al = u"center"_qs;
            if (al == u"start")
                al = u"left"_qs;
            static const QSet<QString> aligns = {"left", "center", "right", "justify"};
            if (aligns.contains(al) && al != st.align) {
                align = al;
                st.align = al;
            }
        }
        if (!kind.isEmpty())
            openBox(kind, arg);
        else if (isBlock)
            softBreak();
        if (!align.isEmpty())
            openBox(u"align"_qs, align);
        State inner = st;
        if (kind == u"code" || kind == u"cite")
            inner.plain = true;
        makeKey(inner);
        walk(n, inner);
        if (!align.isEmpty())
            closeBox();
        if (!kind.isEmpty())
            closeBox();
        else if (isBlock)
            softBreak();
    }

    static void applyStyle(const QString &tag, const QHash<QString, QString> &a,
                           const QHash<QString, QString> &style, State &st)
    {
        if (tag == u"b" || tag == u"strong")
            st.b = true;
        if (tag == u"i" || tag == u"em")
            st.i = true;
        if (tag == u"u" || tag == u"ins")
            st.u = true;
        if (tag == u"s" || tag == u"strike" || tag == u"del")
            st.s = true;
        if (tag == u"sub" || tag == u"sup")
            st.sub = tag;
        if (tag == u"a") {
            st.href = a.value(u"href"_qs).trimmed();
            st.hasHref = true;
        }
        if (tag == u"font") {
            if (a.contains(u"color"_qs)) {
                if (const auto c = normColor(a.value(u"color"_qs)))
                    st.color = *c;
            }
            if (a.contains(u"face"_qs))
                st.font = fontName(a.value(u"face"_qs));
            if (a.contains(u"size"_qs)) {
                static const QRegularExpression sz(u"^([+-]?)(\\d+)$"_qs);
                if (const auto m = sz.match(a.value(u"size"_qs).trimmed()); m.hasMatch()) {
                    int n = m.captured(2).toInt();
                    n = m.captured(1) == u"+" ? 3 + n : m.captured(1) == u"-" ? 3 - n : n;
                    st.size = {QString::fromLatin1(kFontSizeKeyword[std::clamp(n, 1, 7) - 1]), 1,
                               true};
                }
            }
        }
        const QString fw = style.value(u"font-weight"_qs).toLower();
        bool digits = false;
        const int weight = fw.toInt(&digits);
        if (fw == u"bold" || fw == u"bolder" || (digits && weight >= 600))
            st.b = true;
        else if (fw == u"normal" || fw == u"lighter" || (digits && weight < 600))
            st.b = false;
        const QString fs = style.value(u"font-style"_qs).toLower();
        if (fs == u"italic" || fs == u"oblique")
            st.i = true;
        else if (fs == u"normal")
            st.i = false;
        for (const char *k : {"text-decoration", "text-decoration-line"}) {
            const QString td = style.value(QString::fromLatin1(k)).toLower();
            if (td.contains(u"underline"))
                st.u = true;
            if (td.contains(u"line-through"))
                st.s = true;
        }
        const QString va = style.value(u"vertical-align"_qs).toLower();
        if (va == u"sub" || va == u"super")
            st.sub = va == u"sub" ? u"sub"_qs : u"sup"_qs;
        if (style.contains(u"color"_qs)) {
            if (const auto c = normColor(style.value(u"color"_qs)))
                st.color = *c;
        }
        if (style.contains(u"font-size"_qs))
            st.size = normSize(style.value(u"font-size"_qs), st.size);
        if (style.contains(u"font-family"_qs))
            st.font = fontName(style.value(u"font-family"_qs));
        const QString ws = style.value(u"white-space"_qs).toLower();
        if (ws == u"normal" || ws == u"nowrap")
            st.ws = u"normal"_qs;
        else if (ws == u"pre" || ws == u"pre-wrap" || ws == u"pre-line")
            st.ws = ws;
        else if (ws == u"break-spaces")
            st.ws = u"pre-wrap"_qs;
    }
};

// ---- Writing the view ----

QString quoted(const QString &s)
{
    const QByteArray json = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    // ["..."] -> "..."; JSON as Python writes it with ensure_ascii off.
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

struct Piece
{
    bool isChar = true;
    QString ch, key;
    const Atom *atom = nullptr;
};

std::vector<Piece> collapse(const Line &line)
{
    std::vector<Piece> out;
    std::optional<QString> pendingSpace;
    for (const Atom &a : line) {
        if (a.kind == Atom::Char && !a.pre && isWs(a.c)) {
            if (!pendingSpace)
                pendingSpace = a.wsKey;
            continue;
        }
        if (pendingSpace && !out.empty())
            out.push_back({true, u" "_qs, *pendingSpace, nullptr});
        pendingSpace.reset();
        if (a.kind == Atom::Char) {
            QChar ch = a.c;
            if (ch == u'\t' && !a.pre)
                ch = u' ';
            if (ch == u' ' || ch == QChar(0xA0) || ch == u'\t')
                out.push_back({true, ch == u'\t' ? u"\t"_qs : u" "_qs, a.wsKey, nullptr});
            else
                out.push_back({true, QString(ch), a.key, nullptr});
        } else {
            out.push_back({false, {}, {}, &a});
        }
    }
    return out;
}

void emitLine(const Line &line, const QString &ind, QStringList &res, bool code)
{
    const std::vector<Piece> items = collapse(line);
    bool anyKeyed = false;
    for (const Piece &p : items)
        anyKeyed = anyKeyed || (p.isChar && !p.key.isEmpty());
    if (code && !anyKeyed) {
        QString t;
        for (const Piece &p : items)
            t += p.isChar ? p.ch : QString();
        res << ind + u"line "_qs + quoted(t.normalized(QString::NormalizationForm_C));
        return;
    }
    QString run;
    std::optional<QString> key;
    auto flush = [&] {
        if (run.isEmpty())
            return;
        res << ind + u"text "_qs + quoted(run.normalized(QString::NormalizationForm_C)) +
                   (key && !key->isEmpty() ? u" {"_qs + *key + u'}' : QString());
        run.clear();
    };
    for (const Piece &p : items) {
        if (p.isChar) {
            if (key && p.key != *key)
                flush();
            key = p.key;
            run += p.ch;
            continue;
        }
        flush();
        key.reset();
        const Atom &a = *p.atom;
        const QString href = a.href.isEmpty() ? QString() : u" href="_qs + a.href;
        if (a.kind == Atom::Smiley)
            res << ind + u"smiley "_qs + a.src + href;
        else if (a.kind == Atom::Image)
            res << ind + u"img src="_qs + a.src + (a.w.isEmpty() ? QString() : u" w="_qs + a.w) +
                       (a.h.isEmpty() ? QString() : u" h="_qs + a.h) + href;
        else
            res << ind + u"embed src="_qs + a.src;
    }
    flush();
    res << ind + u"eol"_qs;
}

void emitBox(const Box &box, const QString &ind, QStringList &res)
{
    for (const auto &item : box.items) {
        if (const Line *line = std::get_if<Line>(&item)) {
            emitLine(*line, ind, res, box.kind == u"code");
        } else if (std::holds_alternative<int>(item)) {
            res << ind + u"hr"_qs;
        } else {
            const Box &b = *std::get<std::unique_ptr<Box>>(item);
            res << ind + b.kind + u'{' + (b.arg.isEmpty() ? QString() : u' ' + b.arg);
            emitBox(b, ind + u"  "_qs, res);
            res << ind + u'}' + b.kind;
        }
    }
}

} // namespace

QString readerView(const QString &html)
{
    const QByteArray utf8 = html.toUtf8();
    GumboOutput *output =
        gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    Node root;
    convert(output->root, root);
    gumbo_destroy_output(&kGumboDefaultOptions, output);

    Walker w;
    State st;
    makeKey(st);
    w.walk(root, st);
    w.softBreak();
    QStringList res;
    emitBox(w.root, QString(), res);
    return res.join(u'\n') + u'\n';
}

} // namespace quorvane::test
