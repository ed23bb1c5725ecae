#include "editor/textrules.h"

namespace quorvane {

namespace {
inline char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}
} // namespace

QString toLfBreaks(QStringView text)
{
    if (!text.contains(CR))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == CR) {
            out += QChar(LF);
            if (i + 1 < text.size() && text[i + 1] == LF)
                ++i;
        } else {
            out += c;
        }
    }
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
