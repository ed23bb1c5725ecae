#include "forum/forumpage.h"

namespace quorvane {

// A placeholder until the forums' descriptions and renderer arrive: the text
// escaped, line breaks kept.
QString renderForumHtml(Forum, QStringView post)
{
    QString html = post.toString().toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>\n"));
    return html;
}

QString forumPageHtml(Forum forum, QStringView post, const QString &)
{
    return QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>")
        .arg(forumDisplayName(forum).toHtmlEscaped(), renderForumHtml(forum, post));
}

} // namespace quorvane
