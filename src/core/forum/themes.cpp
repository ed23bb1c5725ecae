// Written for this program from the themes' published look (colours and
// sizes measured from their defaults); no forum's CSS is copied.

#include "forum/themes.h"

namespace quorvane {

namespace {

// prosilver: Verdana at 13px on a pale blue post, quotes in a lighter box
// with a bold heading, code on white in a monospace box.
constexpr char16_t kProsilver[] =
    u"body { background: #f5f7fa; color: #536482; font-family: Verdana, Helvetica, Arial, "
    u"sans-serif; font-size: 10pt; margin: 8px; }\n"
    u".post { background: #e1ebf2; color: #333333; padding: 8px; }\n"
    u".content { font-family: 'Lucida Grande', 'Trebuchet MS', Verdana, sans-serif; "
    u"font-size: 10pt; line-height: 140%; }\n"
    u"a { color: #105289; text-decoration: none; }\n"
    u"blockquote { background: #ebeadd; border: 1px solid #dbdbce; margin: 10px 1px 10px 25px; "
    u"padding: 5px; font-size: 9.5pt; }\n"
    u"blockquote blockquote { background: #efeed9; }\n"
    u"cite { font-style: normal; font-weight: bold; display: block; font-size: 9pt; }\n"
    u".codebox { background: #ffffff; border: 1px solid #c9d2d8; margin: 10px 0; padding: 3px; }\n"
    u".codebox p { font-size: 8pt; font-weight: bold; margin: 0 0 3px 0; color: #333333; }\n"
    u"pre, code { font-family: Monaco, 'Andale Mono', 'Courier New', monospace; font-size: 9pt; "
    u"color: #2e8b57; }\n"
    u"ul, ol { margin: 0.8em 0 0.8em 2em; }\n";

// SMF's default theme (Curve2): Verdana on white, quotes in a pale box with a
// thin border and a small heading, code in a grey framed box.
constexpr char16_t kSmfDefault[] =
    u"body { background: #e9eef2; color: #4d4d4d; font-family: Verdana, Arial, Helvetica, "
    u"sans-serif; font-size: 10pt; margin: 8px; }\n"
    u".post { background: #ffffff; padding: 10px; line-height: 140%; }\n"
    u"a { color: #334466; text-decoration: none; }\n"
    u"blockquote { background: #ebf2f7; border: 1px solid #d6dfe2; margin: 6px 2px 12px 2px; "
    u"padding: 6px 12px; font-size: 9pt; }\n"
    u"blockquote.bbc_alternate_quote { background: #f6f9fb; }\n"
    u"cite { display: block; font-style: normal; font-weight: bold; font-size: 8pt; "
    u"border-bottom: 1px solid #d6dfe2; }\n"
    u".codeheader { font-size: 8pt; font-weight: bold; margin-top: 6px; }\n"
    u"code.bbc_code { display: block; background: #ffffff; border: 1px solid #cccccc; "
    u"font-family: 'DejaVu Sans Mono', Menlo, Monaco, Consolas, monospace; font-size: 9pt; "
    u"padding: 2px 6px; }\n"
    u".centertext { text-align: center; }\n.righttext { text-align: right; }\n"
    u".lefttext { text-align: left; }\n"
    u"table.bbc_table td { padding: 2px 6px; }\n";

// MyBB's default theme: Tahoma at 13px, posts on white, quotes and code in
// light grey boxes with a bold title line.
constexpr char16_t kMyBBDefault[] =
    u"body { background: #efefef; color: #333333; font-family: Tahoma, Verdana, Arial, "
    u"sans-serif; font-size: 10pt; margin: 8px; }\n"
    u".post { background: #f5f5f5; border: 1px solid #cccccc; padding: 5px; line-height: 140%; "
    u"}\n"
    u"a { color: #0066a2; text-decoration: none; }\n"
    u"blockquote { background: #ffffff; border: 1px solid #cccccc; margin: 0; padding: 10px; }\n"
    u"cite { display: block; font-style: normal; font-weight: bold; border-bottom: 1px solid "
    u"#cccccc; margin: 0 0 10px 0; padding-bottom: 3px; }\n"
    u".codeblock { background: #ffffff; border: 1px solid #cccccc; padding: 10px; }\n"
    u".codeblock .title { border-bottom: 1px solid #cccccc; font-weight: bold; "
    u"padding-bottom: 3px; margin: 0 0 10px 0; }\n"
    u"code { font-family: Monaco, Consolas, Courier, monospace; font-size: 10pt; }\n";

} // namespace

QString themeStylesheet(Forum forum)
{
    switch (forum) {
    case Forum::PhpBB:
        return QString::fromUtf16(kProsilver);
    case Forum::Smf:
        return QString::fromUtf16(kSmfDefault);
    case Forum::MyBB:
        return QString::fromUtf16(kMyBBDefault);
    case Forum::Generic:
        break;
    }
    return {};
}

} // namespace quorvane
