#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Failed comparisons show the text with line breaks, tabs and characters
// outside ASCII made visible.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"';
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'\r')
            *os << "\\r";
        else if (u == u'\n')
            *os << "\\n";
        else if (u == u'\t')
            *os << "\\t";
        else if (u < 0x20 || u >= 0x7F)
            *os << "\\u{" << std::hex << unsigned(u) << std::dec << '}';
        else
            *os << char(u);
    }
    *os << '"';
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    PrintTo(QString::fromLatin1(b), os);
}
