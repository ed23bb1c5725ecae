#include "editor/search.h"

namespace quorvane {

qsizetype findCaseless(QStringView text, QStringView term, qsizetype from)
{
    if (term.isEmpty() || from < 0 || from > text.size())
        return -1;
    return text.indexOf(term, from, Qt::CaseInsensitive);
}

QString replaceAllCaseless(QStringView text, QStringView term, QStringView replacement,
                           qsizetype *count)
{
    qsizetype replaced = 0;
    QString result;
    qsizetype done = 0;
    // One pass, appending as it goes: a replacement of a different length
    // never moves the rest of the text.
    for (qsizetype hit = findCaseless(text, term, 0); hit >= 0;
         hit = findCaseless(text, term, done)) {
        if (replaced == 0)
            result.reserve(text.size());
        result.append(text.mid(done, hit - done));
        result.append(replacement);
        done = hit + term.size();
        ++replaced;
    }
    if (count)
        *count = replaced;
    if (replaced == 0)
        return text.toString();
    result.append(text.mid(done));
    return result;
}

} // namespace quorvane
