#include "forum/forumpage.h"

#include "conversion/previewpage.h"
#include "forum/bbcodeparser.h"
#include "forum/dialect.h"
#include "forum/forumwriter.h"

namespace quorvane {

namespace {

QString render(Forum forum, QStringView post, const PictureSource &pictures)
{
    const Dialect &d = dialect(forum);
    return writeForumHtml(d, parseForumPost(d, post), pictures);
}

} // namespace

QString renderForumHtml(Forum forum, QStringView post)
{
    if (forum == Forum::Generic)
        forum = Forum::PhpBB; // the generic page has no fragment; see forumPageHtml()
    return render(forum, post, {});
}

QString forumPageHtml(Forum forum, QStringView post, const QString &dataDir)
{
    if (forum == Forum::Generic) {
        QByteArray page;
        streamPreviewPage(post.toString(), dataDir, [&page](QByteArrayView bytes) {
            page += bytes;
            return true;
        });
        return QString::fromLatin1(page);
    }
    // The smilies show the program's own pictures under the forum's codes.
    const QString body = render(forum, post, {true, dataDir});
    const Dialect &d = dialect(forum);
    QString page;
    page.reserve(body.size() + d.stylesheet.size() + 256);
    page += u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    page += forumDisplayName(forum).toHtmlEscaped();
    page += u"</title>\n<style>\n";
    page += d.stylesheet;
    page += u"</style></head>\n<body><div class=\"post\"><div class=\"content\">";
    page += body;
    page += u"</div></div></body></html>\n";
    return page;
}

} // namespace quorvane
