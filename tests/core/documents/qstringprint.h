#pragma once

#include <QString>

#include <ostream>

// Failed comparisons show the text, with line breaks and tabs made visible.
inline void PrintTo(const QString &s, std::ostream *os)
{
    QString shown = s;
    shown.replace(QChar(u'\r'), QStringLiteral("\\r"))
        .replace(QChar(u'\n'), QStringLiteral("\\n"))
        .replace(QChar(u'\t'), QStringLiteral("\\t"));
    *os << '"' << shown.toStdString() << '"';
}
