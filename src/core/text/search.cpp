#include "text/search.h"

namespace quorvane {

qsizetype findCaseless(QStringView text, QStringView term, qsizetype from)
{
    if (term.isEmpty() || from < 0 || from > text.size())
        return -1;
    return text.indexOf(term, from, Qt::CaseInsensitive);
}

Rewrite rewriteAllCaseless(QStringView text, QStringView term, QStringView replacement)
{
    Rewrite rewrite;
    qsizetype hit = findCaseless(text, term, 0);
    if (hit < 0)
        return rewrite;
    rewrite.start = hit;
    qsizetype done = hit;
    // One pass, appending as it goes: a replacement of another length never
    // moves the rest of the text.
    for (; hit >= 0; hit = findCaseless(text, term, done)) {
        if (rewrite.count == 0)
            rewrite.text.reserve(text.size() - hit);
        rewrite.text.append(text.mid(done, hit - done));
        rewrite.text.append(replacement);
        done = hit + term.size();
        ++rewrite.count;
    }
    rewrite.length = done - rewrite.start;
    return rewrite;
}

qsizetype positionAfterRewrite(QStringView text, QStringView term, qsizetype replacementSize,
                               qsizetype position)
{
    if (term.isEmpty())
        return position;
    qsizetype shift = 0;
    for (qsizetype hit = findCaseless(text, term, 0); hit >= 0 && hit < position;
         hit = findCaseless(text, term, hit + term.size())) {
        if (hit + term.size() > position)
            return hit + shift + replacementSize;
        shift += replacementSize - term.size();
    }
    return position + shift;
}

QString replaceAllCaseless(QStringView text, QStringView term, QStringView replacement,
                           qsizetype *count)
{
    const Rewrite rewrite = rewriteAllCaseless(text, term, replacement);
    if (count)
        *count = rewrite.count;
    if (rewrite.count == 0)
        return text.toString();
    QString result;
    result.reserve(text.size() - rewrite.length + rewrite.text.size());
    result.append(text.left(rewrite.start));
    result.append(rewrite.text);
    result.append(text.mid(rewrite.start + rewrite.length));
    return result;
}

} // namespace quorvane
