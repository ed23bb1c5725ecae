#include "text/insertstamps.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <vector>

namespace quorvane {

namespace {
// A date-time format split into its parts: runs of one field letter, quoted
// literals (kept as written, quotes included) and other literal text.
struct Piece
{
    enum Kind { Field, Quoted, Literal } kind;
    QString text;
    QChar field() const { return kind == Field ? text.front() : QChar(); }
};

bool isFieldLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

std::vector<Piece> split(const QString &format)
{
    std::vector<Piece> pieces;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        qsizetype end = i + 1;
        if (c == u'\'') {
            // A quoted literal runs to the next lone quote; '' inside is a quote.
            while (end < format.size()) {
                if (format.at(end) == u'\'') {
                    if (end + 1 < format.size() && format.at(end + 1) == u'\'') {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
            pieces.push_back({Piece::Quoted, format.mid(i, end - i)});
        } else if (isFieldLetter(c)) {
            while (end < format.size() && format.at(end) == c)
                ++end;
            pieces.push_back({Piece::Field, format.mid(i, end - i)});
        } else {
            while (end < format.size() && format.at(end) != u'\'' && !isFieldLetter(format.at(end)))
                ++end;
            pieces.push_back({Piece::Literal, format.mid(i, end - i)});
        }
        i = end;
    }
    return pieces;
}

qsizetype trailingSpaces(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n).isSpace())
        ++n;
    return n;
}

qsizetype leadingSpaces(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n).isSpace())
        ++n;
    return n;
}

// Drops every time-zone field together with the space that set it apart.
void removeZone(std::vector<Piece> &pieces)
{
    for (std::size_t i = 0; i < pieces.size();) {
        if (pieces[i].field() != u't') {
            ++i;
            continue;
        }
        Piece *before = i > 0 && pieces[i - 1].kind == Piece::Literal ? &pieces[i - 1] : nullptr;
        Piece *after = i + 1 < pieces.size() && pieces[i + 1].kind == Piece::Literal
                           ? &pieces[i + 1]
                           : nullptr;
        // A zone in brackets goes with them.
        if (before && after && before->text.endsWith(u'(') && after->text.startsWith(u')')) {
            before->text.chop(1);
            after->text.remove(0, 1);
        }
        if (before && trailingSpaces(before->text) > 0)
            before->text.chop(trailingSpaces(before->text));
        else if (after)
            after->text.remove(0, leadingSpaces(after->text));
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// Puts seconds after the minutes, with the separator the format uses between
// hours and minutes. False when there are no minutes to follow.
bool ensureSeconds(std::vector<Piece> &pieces)
{
    for (const Piece &piece : pieces) {
        if (piece.field() == u's')
            return true;
    }
    for (std::size_t i = pieces.size(); i-- > 0;) {
        if (pieces[i].field() != u'm')
            continue;
        QString separator = QStringLiteral(":");
        if (i >= 2 && pieces[i - 1].kind == Piece::Literal &&
            !pieces[i - 1].text.trimmed().isEmpty() && pieces[i - 2].field().toLower() == u'h')
            separator = pieces[i - 1].text;
        const auto at = pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1;
        pieces.insert(at, {{Piece::Literal, separator}, {Piece::Field, QStringLiteral("ss")}});
        return true;
    }
    return false;
}

QString join(const std::vector<Piece> &pieces)
{
    QString format;
    for (const Piece &piece : pieces)
        format += piece.text;
    return format.trimmed();
}
} // namespace

QString timeFormatForStamp(const QString &timeFormat)
{
    std::vector<Piece> pieces = split(timeFormat);
    removeZone(pieces);
    return ensureSeconds(pieces) ? join(pieces) : QString();
}

QString stampTimeFormat(const QLocale &locale)
{
    // The long format normally has the seconds but also the zone; the short
    // one may lack the seconds.
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        const QString format = timeFormatForStamp(locale.timeFormat(type));
        if (!format.isEmpty())
            return format;
    }
    return QStringLiteral("HH:mm:ss");
}

QString dateStamp(const QLocale &locale, const QDate &date)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString timeStamp(const QLocale &locale, const QTime &time)
{
    return locale.toString(time, stampTimeFormat(locale));
}

} // namespace quorvane
