#include "conversion/substitution.h"

#include "text/textrules.h"

namespace quorvane {

bool matchesAt(QStringView text, qsizetype pos, QStringView find, MatchMode mode)
{
    if (pos < 0 || find.size() > text.size() - pos)
        return false;
    for (qsizetype i = 0; i < find.size(); ++i) {
        const char16_t a = text[pos + i].unicode();
        const char16_t b = find[i].unicode();
        if (a == b)
            continue;
        if (mode == MatchMode::Exact || asciiLower(a) != asciiLower(b))
            return false;
    }
    return true;
}

QString applySubstitution(const QString &text, const SubstitutionEntry &entry)
{
    if (entry.find.isEmpty())
        return text;
    QString result;
    qsizetype copied = 0; // text before this index is already in result
    qsizetype pos = 0;
    const qsizetype last = text.size() - entry.find.size();
    while (pos <= last) {
        if (matchesAt(text, pos, entry.find, entry.mode)) {
            result += QStringView(text).sliced(copied, pos - copied);
            result += entry.replace;
            pos += entry.find.size();
            copied = pos;
        } else {
            ++pos;
        }
    }
    if (copied == 0)
        return text;
    result += QStringView(text).sliced(copied);
    return result;
}

QString applySubstitutions(QString text, const SubstitutionList &entries)
{
    for (const SubstitutionEntry &entry : entries)
        text = applySubstitution(text, entry);
    return text;
}

} // namespace quorvane
