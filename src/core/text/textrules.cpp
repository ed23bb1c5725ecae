#include "text/textrules.h"

namespace quorvane {

namespace {
inline char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}
} // namespace

QString toLfBreaks(QStringView text)
{
    qsizetype cr = text.indexOf(QChar(CR));
    if (cr < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    // Whole runs between breaks at a time: a 10 MB post converts in milliseconds.
    for (; cr >= 0; cr = text.indexOf(QChar(CR), done)) {
        out.append(text.mid(done, cr - done));
        out.append(QChar(LF));
        done = cr + 1;
        if (done < text.size() && text[done] == LF)
            ++done;
    }
    out.append(text.mid(done));
    return out;
}

QString toCrLfBreaks(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == CR) {
            out += CRLF;
            if (i + 1 < text.size() && text[i + 1] == LF)
                ++i;
        } else if (c == LF) {
            out += CRLF;
        } else {
            out += c;
        }
    }
    return out;
}

bool equalsAsciiCaseless(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    }
    return true;
}

QString removeAsciiCaseless(QStringView text, QStringView needle)
{
    if (needle.isEmpty())
        return text.toString();
    QString out;
    out.reserve(text.size());
    const qsizetype n = needle.size();
    qsizetype i = 0;
    while (i < text.size()) {
        if (i + n <= text.size() && equalsAsciiCaseless(text.mid(i, n), needle)) {
            i += n;
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

} // namespace quorvane
