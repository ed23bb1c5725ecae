#pragma once

#include <QRegularExpression>
#include <QString>

#include <vector>

// The first fault in the nesting of the tags the import writes, or "" when
// every tag is closed, in order. Text inside [CODE] is literal.
inline QString nestingFault(const QString &post)
{
    static const QRegularExpression tag(
        QStringLiteral("\\[(/?)(B|I|U|S|URL|EMAIL|IMG|QUOTE|CODE|LIST|Color|Size)(=[^\\]]*)?\\]"));
    std::vector<QString> open;
    qsizetype at = 0;
    while (true) {
        const QRegularExpressionMatch m = tag.match(post, at);
        if (!m.hasMatch())
            break;
        at = m.capturedEnd();
        const QString name = m.captured(2);
        const bool closing = !m.captured(1).isEmpty();
        if (!open.empty() && open.back() == QLatin1String("CODE") &&
            !(closing && name == QLatin1String("CODE")))
            continue;
        if (!closing) {
            open.push_back(name);
        } else if (open.empty() || open.back() != name) {
            return QStringLiteral("[/%1] at %2 closes %3")
                .arg(name)
                .arg(m.capturedStart())
                .arg(open.empty() ? QStringLiteral("nothing") : open.back());
        } else {
            open.pop_back();
        }
    }
    if (!open.empty())
        return QStringLiteral("[%1] is never closed").arg(open.back());
    return {};
}
