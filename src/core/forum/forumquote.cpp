#include "forum/forumquote.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorvane {

namespace {

QString seconds(const QDateTime &date)
{
    return QString::number(date.toSecsSinceEpoch());
}

// A name stays on one line; what would end the attribute early is escaped as
// the forum reads it back.
QString oneLine(QString text)
{
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

QString phpbbOpening(const QuoteSource &s, const QString &author)
{
    QString escaped = author;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    QString out = QStringLiteral("[quote=\"") + escaped + u'"';
    if (!s.post.isEmpty())
        out += QStringLiteral(" post_id=") + s.post;
    if (s.date.isValid())
        out += QStringLiteral(" time=") + seconds(s.date);
    if (!s.user.isEmpty())
        out += QStringLiteral(" user_id=") + s.user;
    return out + u']';
}

QString smfOpening(const QuoteSource &s, const QString &author)
{
    // SMF reads the name up to " link=", " date=" or the bracket.
    QString name = author;
    name.remove(u']');
    QString out = QStringLiteral("[quote author=") + name;
    if (!s.post.isEmpty())
        out += QStringLiteral(" link=msg=") + s.post;
    if (s.date.isValid())
        out += QStringLiteral(" date=") + seconds(s.date);
    return out + u']';
}

QString mybbOpening(const QuoteSource &s, const QString &author)
{
    // MyBB ends the name at the next quotation mark; its own quoting writes
    // an apostrophe in a name as a character reference.
    QString name = author;
    name.replace(u'\'', QStringLiteral("&#39;"));
    QString out = QStringLiteral("[quote='") + name + u'\'';
    if (!s.post.isEmpty())
        out += QStringLiteral(" pid='") + s.post + u'\'';
    if (s.date.isValid())
        out += QStringLiteral(" dateline='") + seconds(s.date) + u'\'';
    return out + u']';
}

} // namespace

QuoteParts quoteParts(const Dialect &dialect)
{
    switch (dialect.forum) {
    case Forum::PhpBB:
        return QuotePart::Post | QuotePart::Date | QuotePart::User;
    case Forum::Smf:
    case Forum::MyBB:
        return QuotePart::Post | QuotePart::Date;
    case Forum::Generic:
        break;
    }
    return {};
}

QString quoteOpening(const Dialect &dialect, const QuoteSource &source)
{
    const QString author = oneLine(source.author);
    const bool generic = dialect.forum == Forum::Generic;
    if (author.isEmpty())
        return generic ? QStringLiteral("[QUOTE]") : QStringLiteral("[quote]");
    switch (dialect.forum) {
    case Forum::PhpBB:
        return phpbbOpening(source, author);
    case Forum::Smf:
        return smfOpening(source, author);
    case Forum::MyBB:
        return mybbOpening(source, author);
    case Forum::Generic:
        break;
    }
    return QStringLiteral("[QUOTE=") + author + u']';
}

QString postNumberIn(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (!trimmed.isEmpty() &&
        std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return trimmed.toString();
    static const QRegularExpression link(QStringLiteral("\\b(?:p|pid|msg)=?(\\d+)"));
    return link.match(trimmed).captured(1);
}

QString quoteMarkup(const Dialect &dialect, const QuoteSource &source, const QString &selected)
{
    const QString close =
        dialect.forum == Forum::Generic ? QStringLiteral("[/QUOTE]") : QStringLiteral("[/quote]");
    return quoteOpening(dialect, source) + selected + close;
}

} // namespace quorvane
