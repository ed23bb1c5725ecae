#include "text/textrules.h"

namespace quorvane {

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

QString toCrLfBreaks(QString text)
{
    // Most files already agree with the editor: look for the first break
    // that is not a pair before copying anything.
    const qsizetype n = text.size();
    const QChar *s = text.constData();
    qsizetype i = 0;
    for (; i < n; ++i) {
        if (s[i] == CR && i + 1 < n && s[i + 1] == LF) {
            ++i;
        } else if (s[i] == CR || s[i] == LF) {
            break;
        }
    }
    if (i == n) {
        return text;
    }
    QString out;
    out.reserve(n + n / 8 + 2);
    out.append(s, i);
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c == CR) {
            out.append(CRLF);
            if (i + 1 < n && s[i + 1] == LF) {
                ++i;
            }
        } else if (c == LF) {
            out.append(CRLF);
        } else {
            out.append(c);
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
