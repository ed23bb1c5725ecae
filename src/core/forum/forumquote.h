#pragma once

#include "forum/dialect.h"

#include <QDateTime>
#include <QFlags>
#include <QString>

namespace quorvane {

// Who and what is quoted. Empty parts are left out of the mark-up.
struct QuoteSource
{
    QString author;
    QString post; // the quoted post's number on the board
    QDateTime date;
    QString user; // the author's number on the board (phpBB)
};

// The parts beside the author a forum's quote form carries.
enum class QuotePart { Post = 1, Date = 2, User = 4 };
Q_DECLARE_FLAGS(QuoteParts, QuotePart)
Q_DECLARE_OPERATORS_FOR_FLAGS(QuoteParts)

// phpBB 3.3: post, date and user; SMF 2.1 and MyBB 1.8: post and date;
// the program's own page: the author alone.
QuoteParts quoteParts(const Dialect &dialect);

// The quote's opening as the forum's own quote button writes it:
//   phpBB  [quote="Name" post_id=12 time=1700000000 user_id=3]
//   SMF    [quote author=Name link=msg=12 date=1700000000]
//   MyBB   [quote='Name' pid='12' dateline='1700000000']
//   page   [QUOTE=Name]
// and [quote] ([QUOTE]) without an author.
QString quoteOpening(const Dialect &dialect, const QuoteSource &source);
// The post's number in what a writer pastes: the number itself, or a link
// to the post ("viewtopic.php?p=12#p12", "index.php?topic=3.msg12#msg12",
// "showthread.php?tid=3&pid=12#pid12"); "" when there is none.
QString postNumberIn(QStringView text);

// The selected text inside the forum's quote.
QString quoteMarkup(const Dialect &dialect, const QuoteSource &source, const QString &selected);

} // namespace quorvane
