#include "forum/forumpage.h"

#include "conversion/bbcode.h"
#include "conversion/previewpage.h"
#include "forum/bbcodeparser.h"
#include "forum/customtags.h"
#include "forum/dialect.h"
#include "forum/forumwriter.h"
#include "platform/paths.h"

namespace quorvane {

namespace {

QString render(const Dialect &d, QStringView post, const PictureSource &pictures)
{
    return writeForumHtml(d, parseForumPost(d, post), pictures);
}

} // namespace

QString renderForumHtml(Forum forum, QStringView post)
{
    // The generic rendering is the preview page's own conversion.
    if (forum == Forum::Generic)
        return convertBBCode(post.toString(), programDataDir(), BlockHeaders::standard());
    // With the board's custom tags the program holds for the forum.
    return render(*forumDialect(forum), post, {});
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
    const std::shared_ptr<const Dialect> custom = forumDialect(forum);
    const Dialect &d = *custom;
    const QString body = render(d, post, {true, dataDir});
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
