// The three forums as data: each tag in the forms the forum accepts, with the
// HTML its own code writes for it, and the forum's other rules. Learnt from
// the forums' public code and documentation (phpBB 3.3 on s9e TextFormatter,
// SMF 2.1's parse_bbc and preparsecode, MyBB 1.8's postParser), written as
// this program's own table.

#include "forum/dialect.h"
#include "forum/themes.h"

#include <array>
#include <memory>
#include <mutex>

namespace quorvane {

namespace {

using R = Role;
constexpr Breaks kNoBreaks{};
// A block's own first and last line break and the one after it.
constexpr Breaks kBlock{One, One, One, One};
// Lists and table rows: blank characters between their parts are nothing.
constexpr Breaks kInsideBlank{None, All, All, One};
constexpr Breaks kItem{All, All, All, None};

TagDefinition tag(const char *name, std::vector<TagForm> forms)
{
    return {QString::fromLatin1(name), std::move(forms)};
}

TagForm form(const char *usage, const char *html, Role role = R::Inline, Breaks breaks = kNoBreaks)
{
    return {QString::fromUtf8(usage), QString::fromUtf8(html), role, breaks};
}

Dialect phpbb()
{
    Dialect d;
    d.forum = Forum::PhpBB;
    d.repair = Repair::Reopen;
    d.unknownAttributesIgnored = true;
    d.tags = {
        tag("b", {form("[b]{TEXT}[/b]", "<strong class=\"text-strong\">{TEXT}</strong>")}),
        tag("i", {form("[i]{TEXT}[/i]", "<em class=\"text-italics\">{TEXT}</em>")}),
        tag("u",
            {form("[u]{TEXT}[/u]", "<span style=\"text-decoration:underline\">{TEXT}</span>")}),
        tag("color",
            {form("[color={COLOR}]{TEXT}[/color]", "<span style=\"color:{COLOR}\">{TEXT}</span>")}),
        tag("size", {form("[size={SIZE}]{TEXT}[/size]",
                          "<span style=\"font-size:{SIZE};line-height:116%\">{TEXT}</span>")}),
        tag("quote", {form("[quote={AUTHOR?} author={AUTHOR?} post_id={NUMBER?} time={NUMBER?} "
                           "user_id={NUMBER?}]{TEXT}[/quote]",
                           "<blockquote>{CITE}<div>{TEXT}</div></blockquote>", R::Quote, kBlock)}),
        tag("code", {form("[code={IDENTIFIER?}]{CODE}[/code]",
                          "<div class=\"codebox\"><p>Code:</p><pre><code>{CODE}</code></pre></div>",
                          R::Code, kBlock)}),
        // Forms that name more attributes first: unknown ones are passed over.
        tag("list",
            {form("[list={LISTSTYLE}]{TEXT}[/list]",
                  "<ol style=\"list-style-type:{LISTSTYLE}\">{TEXT}</ol>", R::List, kInsideBlank),
             form("[list type={LISTSTYLE}]{TEXT}[/list]",
                  "<ol style=\"list-style-type:{LISTSTYLE}\">{TEXT}</ol>", R::List, kInsideBlank),
             form("[list]{TEXT}[/list]", "<ul>{TEXT}</ul>", R::List, kInsideBlank)}),
        tag("*", {form("[*]{TEXT}[/*]", "<li>{TEXT}</li>", R::Item, kItem)}),
        tag("url",
            {form("[url={URL}]{TEXT}[/url]", "<a href=\"{URL}\" class=\"postlink\">{TEXT}</a>"),
             form("[url]{URL}[/url]", "<a href=\"{URL}\" class=\"postlink\">{SHORTCONTENT}</a>",
                  R::Value)}),
        tag("email",
            {form("[email={EMAIL}]{TEXT}[/email]", "<a href=\"mailto:{EMAIL}\">{TEXT}</a>"),
             form("[email]{EMAIL}[/email]", "<a href=\"mailto:{EMAIL}\">{CONTENT}</a>", R::Value)}),
        // [img=ADDRESS] takes the address from the value and leaves the content.
        tag("img", {form("[img={IMAGE}]{TEXT}[/img]",
                         "<img src=\"{IMAGE}\" class=\"postimage\" alt=\"Image\">", R::Value),
                    form("[img]{IMAGE}[/img]",
                         "<img src=\"{IMAGE}\" class=\"postimage\" alt=\"Image\">", R::Value)}),
    };
    d.links.schemes = {u"http"_qs, u"https"_qs, u"ftp"_qs};
    d.links.keepSchemeless = true;
    d.links.wwwPrefix = u"http://"_qs;
    d.links.autoEmail = true;
    d.links.linkHtml = u"<a href=\"{URL}\" class=\"postlink\">{TEXT}</a>"_qs;
    d.links.emailHtml = u"<a href=\"{URL}\">{TEXT}</a>"_qs;
    // Punctuation ends no bare address, but for - = + ) / _.
    d.links.trailingTrim = u"!\"#$%&'*,.:;<>?@[\\]^`{|}~("_qs;
    d.links.shortenOver = 55;
    d.links.shortenHead = 39;
    d.links.shortenJoint = u" ... "_qs;
    d.links.boardPrefix = u"https://forum.example/"_qs;
    d.sizes.min = 1;
    d.sizes.max = 200; // max_post_font_size
    d.sizes.numberUnit = u"%"_qs;
    d.quotes.authorCite = u"<cite>{AUTHOR} wrote:</cite>"_qs;
    d.quotes.maxDepth = 3; // max_quote_depth
    d.text.lineBreak = u"<br>\n"_qs;
    d.text.trimPost = true;
    d.text.listStartsItem = true;
    d.text.emoji = true;
    d.text.codeStyle = u"pre"_qs;
    const QString smilies = u"./images/smilies/"_qs;
    d.smilies = {{u":D"_qs, smilies + u"icon_e_biggrin.gif"_qs, u"Grin"_qs},
                 {u":)"_qs, smilies + u"icon_e_smile.gif"_qs, u"Smile"_qs},
                 {u";)"_qs, smilies + u"icon_e_wink.gif"_qs, u"Wink"_qs},
                 {u":("_qs, smilies + u"icon_e_sad.gif"_qs, u"Frown"_qs},
                 {u":o"_qs, smilies + u"icon_e_surprised.gif"_qs, u"EEK"_qs},
                 {u":?"_qs, smilies + u"icon_e_confused.gif"_qs, u"Roll Eyes"_qs}};
    // After a line break, a blank, a dot or a tag; never before a letter.
    d.smileyRules.after = u"\n ."_qs;
    d.colors.hexRange = true;
    d.length = {60000, Counting::Escaped}; // max_post_chars
    return d;
}

Dialect smf()
{
    Dialect d;
    d.forum = Forum::Smf;
    d.repair = Repair::CloseEarly;
    // A block's close swallows the blanks and one line break after it;
    // quotes, lists and tables swallow every blank inside their open.
    const Breaks quote{None, All, All, One};
    const Breaks block{None, None, None, One};
    const Breaks align{None, One, None, One};
    d.tags = {
        tag("b", {form("[b]{TEXT}[/b]", "<b>{TEXT}</b>")}),
        tag("i", {form("[i]{TEXT}[/i]", "<i>{TEXT}</i>")}),
        tag("u", {form("[u]{TEXT}[/u]", "<u>{TEXT}</u>")}),
        tag("s", {form("[s]{TEXT}[/s]", "<s>{TEXT}</s>")}),
        tag("sub", {form("[sub]{TEXT}[/sub]", "<sub>{TEXT}</sub>")}),
        tag("sup", {form("[sup]{TEXT}[/sup]", "<sup>{TEXT}</sup>")}),
        tag("tt", {form("[tt]{TEXT}[/tt]", "<span class=\"monospace\">{TEXT}</span>")}),
        tag("color", {form("[color={COLOR}]{TEXT}[/color]",
                           "<span style=\"color: {COLOR};\" class=\"bbc_color\">{TEXT}</span>")}),
        tag("size", {form("[size={SIZE}]{TEXT}[/size]",
                          "<span style=\"font-size: {SIZE};\" class=\"bbc_size\">{TEXT}</span>")}),
        tag("font",
            {form("[font={FONT}]{TEXT}[/font]",
                  "<span style=\"font-family: {FONT};\" class=\"bbc_font\">{TEXT}</span>")}),
        tag("url", {form("[url={URL}]{TEXT}[/url]",
                         "<a href=\"{URL}\" class=\"bbc_link\" target=\"_blank\" "
                         "rel=\"noopener\">{TEXT}</a>"),
                    form("[url]{URL}[/url]",
                         "<a href=\"{URL}\" class=\"bbc_link\" target=\"_blank\" "
                         "rel=\"noopener\">{URL}</a>",
                         R::Value)}),
        tag("iurl",
            {form("[iurl={URL}]{TEXT}[/iurl]", "<a href=\"{URL}\" class=\"bbc_link\">{TEXT}</a>"),
             form("[iurl]{URL}[/iurl]", "<a href=\"{URL}\" class=\"bbc_link\">{URL}</a>",
                  R::Value)}),
        tag("email",
            {form("[email={EMAIL}]{TEXT}[/email]",
                  "<a href=\"mailto:{EMAIL}\" class=\"bbc_email\">{TEXT}</a>"),
             form("[email]{EMAIL}[/email]",
                  "<a href=\"mailto:{EMAIL}\" class=\"bbc_email\">{EMAIL}</a>", R::Value)}),
        tag("img",
            {form("[img width={NUMBER} height={NUMBER} alt={TEXT?} title={TEXT?}]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" alt=\"\" width=\"{1}\" height=\"{2}\" class=\"bbc_img "
                  "resized\" loading=\"lazy\">",
                  R::Value),
             form("[img width={NUMBER} alt={TEXT?} title={TEXT?}]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" alt=\"\" width=\"{NUMBER}\" class=\"bbc_img resized\" "
                  "loading=\"lazy\">",
                  R::Value),
             form("[img height={NUMBER} alt={TEXT?} title={TEXT?}]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" alt=\"\" height=\"{NUMBER}\" class=\"bbc_img resized\" "
                  "loading=\"lazy\">",
                  R::Value),
             form("[img alt={TEXT?} title={TEXT?}]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" alt=\"\" class=\"bbc_img\" loading=\"lazy\">", R::Value)}),
        tag("quote", {form("[quote]{TEXT}[/quote]",
                           "<blockquote class=\"bbc_standard_quote\">{CITE}{TEXT}</blockquote>",
                           R::Quote, quote),
                      form("[quote={AUTHOR}]{TEXT}[/quote]",
                           "<blockquote class=\"bbc_standard_quote\">{CITE}{TEXT}</blockquote>",
                           R::Quote, quote),
                      form("[quote author={AUTHOR} link={LINK?} date={DATE?}]{TEXT}[/quote]",
                           "<blockquote class=\"bbc_standard_quote\">{CITE}{TEXT}</blockquote>",
                           R::Quote, quote)}),
        tag("code",
            {form("[code]{CODE}[/code]",
                  "<div class=\"codeheader\"><span class=\"code floatleft\">Code</span></div>"
                  "<code class=\"bbc_code\">{CODE}</code>",
                  R::Code, block),
             form("[code={IDENTIFIER}]{CODE}[/code]",
                  "<div class=\"codeheader\"><span class=\"code floatleft\">Code</span> "
                  "({IDENTIFIER})</div><code class=\"bbc_code\">{CODE}</code>",
                  R::Code, block)}),
        tag("php", {form("[php]{PHP}[/php]", "<span class=\"phpcode\">{PHP}</span>", R::Code)}),
        tag("list",
            {form("[list]{TEXT}[/list]", "<ul class=\"bbc_list\">{TEXT}</ul>", R::List,
                  kInsideBlank),
             form("[list type={LISTTYPE}]{TEXT}[/list]",
                  "<ul class=\"bbc_list\" style=\"list-style-type: {LISTTYPE};\">{TEXT}</ul>",
                  R::List, kInsideBlank)}),
        tag("li", {form("[li]{TEXT}[/li]", "<li>{TEXT}</li>", R::Item, kItem)}),
        tag("*", {form("[*]", "<li type=\"disc\">{TEXT}</li>", R::Item, kItem)}),
        tag("left",
            {form("[left]{TEXT}[/left]", "<div class=\"lefttext\">{TEXT}</div>", R::Block, align)}),
        tag("center",
            {form("[center]{TEXT}[/center]",
                  "<div class=\"centertext\"><div class=\"inline_block\">{TEXT}</div></div>",
                  R::Block, align)}),
        tag("right",
            {form("[right]{TEXT}[/right]",
                  "<div class=\"righttext\"><div class=\"inline_block\">{TEXT}</div></div>",
                  R::Block, align)}),
        tag("pre", {form("[pre]{TEXT}[/pre]", "<pre>{TEXT}</pre>")}),
        tag("nobbc", {form("[nobbc]{LITERAL}[/nobbc]", "{LITERAL}", R::Literal)}),
        tag("hr", {form("[hr]", "<hr>", R::Single, block)}),
        tag("table", {form("[table]{TEXT}[/table]", "<table class=\"bbc_table\">{TEXT}</table>",
                           R::Block, kInsideBlank)}),
        tag("tr", {form("[tr]{TEXT}[/tr]", "<tr>{TEXT}</tr>", R::Block, kItem)}),
        tag("td", {form("[td]{TEXT}[/td]", "<td>{TEXT}</td>", R::Block, kItem)}),
        tag("youtube",
            {form("[youtube]{YOUTUBE}[/youtube]",
                  "<div class=\"videocontainer\"><div><iframe frameborder=\"0\" "
                  "src=\"https://www.youtube.com/embed/{YOUTUBE}?origin=https://forum.example&amp;"
                  "wmode=opaque\" data-youtube-id=\"{YOUTUBE}\" allowfullscreen "
                  "loading=\"lazy\"></iframe></div></div>",
                  R::Value)}),
    };
    d.links.schemes = {u"http"_qs, u"https"_qs, u"ftp"_qs, u"ftps"_qs};
    d.links.badSchemes = {u"javascript"_qs, u"vbscript"_qs, u"data"_qs};
    d.links.schemelessPrefix = u"http://"_qs;
    d.links.badSchemeAsText = false;
    d.links.wwwPrefix = u"//"_qs;
    d.links.nakedDomains = true;
    d.links.autoEmail = true;
    d.links.bracketsInUrl = true;
    d.links.linkHtml =
        u"<a href=\"{URL}\" class=\"bbc_link\" target=\"_blank\" rel=\"noopener\">{TEXT}</a>"_qs;
    d.links.emailHtml = u"<a href=\"{URL}\" class=\"bbc_email\">{TEXT}</a>"_qs;
    d.sizes.min = 1;
    d.sizes.max = 7;
    d.sizes.scale = {u"0.7em"_qs, u"1em"_qs,    u"1.35em"_qs, u"1.45em"_qs,
                     u"2em"_qs,   u"2.65em"_qs, u"3.95em"_qs};
    d.sizes.names = true;
    d.sizes.unitValues = true;
    d.quotes.plainCite = u"<cite>Quote</cite>"_qs;
    d.quotes.authorCite = u"<cite>Quote from: {AUTHOR}</cite>"_qs;
    d.quotes.linkedCite = u"<cite><a href=\"https://forum.example/index.php?{LINK}\">Quote from: "
                          u"{AUTHOR} on {DATE}</a></cite>"_qs;
    d.quotes.dateFormat = u"MMMM d, yyyy, hh:mm:ss AP"_qs;
    d.text.lineBreak = u"<br>"_qs;
    d.text.spacesAsNbsp = true;
    d.text.removeEmptyTags = true;
    d.text.balanceLists = true;
    d.text.textEndsList = true;
    d.text.itemOpensList = true;
    d.text.blockClosesInline = true;
    d.text.codeStyle = u"smf"_qs;
    const QString smilies = u"https://forum.example/Smileys/fugue/"_qs;
    d.smilies = {{u":)"_qs, smilies + u"smiley.gif"_qs, u"Smile"_qs},
                 {u";)"_qs, smilies + u"wink.gif"_qs, u"Wink"_qs},
                 {u":D"_qs, smilies + u"cheesy.gif"_qs, u"Grin"_qs},
                 {u":("_qs, smilies + u"sad.gif"_qs, u"Frown"_qs}};
    d.smileyRules.after = u":?. \t\n\u00a0[]()*\\;"_qs;
    d.length = {20000, Counting::Sent}; // max_messageLength
    return d;
}

Dialect mybb()
{
    Dialect d;
    d.forum = Forum::MyBB;
    d.repair = Repair::FirstPair;
    // A line break right after any block's tag is dropped (dropBreakAfterBlock).
    const Breaks list{None, All, None, None};
    d.tags = {
        tag("b", {form("[b]{TEXT}[/b]",
                       "<span style=\"font-weight: bold;\" class=\"mycode_b\">{TEXT}</span>")}),
        tag("i", {form("[i]{TEXT}[/i]",
                       "<span style=\"font-style: italic;\" class=\"mycode_i\">{TEXT}</span>")}),
        tag("u",
            {form("[u]{TEXT}[/u]",
                  "<span style=\"text-decoration: underline;\" class=\"mycode_u\">{TEXT}</span>")}),
        tag("s", {form("[s]{TEXT}[/s]", "<span style=\"text-decoration: line-through;\" "
                                        "class=\"mycode_s\">{TEXT}</span>")}),
        tag("color",
            {form("[color={COLOR}]{TEXT}[/color]",
                  "<span style=\"color: {COLOR};\" class=\"mycode_color\">{TEXT}</span>")}),
        tag("size",
            {form("[size={SIZE}]{TEXT}[/size]",
                  "<span style=\"font-size: {SIZE};\" class=\"mycode_size\">{TEXT}</span>")}),
        tag("font",
            {form("[font={FONT}]{TEXT}[/font]",
                  "<span style=\"font-family: {FONT};\" class=\"mycode_font\">{TEXT}</span>")}),
        tag("align",
            {form("[align={ALIGN}]{TEXT}[/align]",
                  "<div style=\"text-align: {ALIGN};\" class=\"mycode_align\">{TEXT}</div>",
                  R::Block)}),
        tag("url",
            {form("[url={URL}]{TEXT}[/url]", "<a href=\"{URL}\" target=\"_blank\" rel=\"noopener\" "
                                             "class=\"mycode_url\">{TEXT}</a>"),
             form("[url]{URL}[/url]",
                  "<a href=\"{URL}\" target=\"_blank\" rel=\"noopener\" "
                  "class=\"mycode_url\">{SHORTURL}</a>",
                  R::Value)}),
        tag("email",
            {form("[email={EMAIL}]{TEXT}[/email]",
                  "<a href=\"mailto:{EMAIL}\" class=\"mycode_email\">{TEXT}</a>"),
             form("[email]{EMAIL}[/email]",
                  "<a href=\"mailto:{EMAIL}\" class=\"mycode_email\">{EMAIL}</a>", R::Value)}),
        tag("img",
            {form("[img={NUMBER}x{NUMBER}]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" loading=\"lazy\" width=\"{1}\" height=\"{2}\" "
                  "alt=\"[Image]\" class=\"mycode_img\">",
                  R::Value),
             form("[img]{IMAGE}[/img]",
                  "<img src=\"{IMAGE}\" loading=\"lazy\" alt=\"[Image]\" class=\"mycode_img\">",
                  R::Value)}),
        tag("quote",
            {form("[quote]{TEXT}[/quote]",
                  "<blockquote class=\"mycode_quote\">{CITE}{TEXT}</blockquote>", R::Quote),
             form("[quote={AUTHOR}]{TEXT}[/quote]",
                  "<blockquote class=\"mycode_quote\">{CITE}{TEXT}</blockquote>", R::Quote)}),
        tag("code",
            {form("[code]{CODE}[/code]",
                  "<div class=\"codeblock\"><div class=\"title\">Code:</div><div class=\"body\" "
                  "dir=\"ltr\"><code>{CODE}</code></div></div>",
                  R::Code)}),
        tag("php",
            {form("[php]{CODE}[/php]",
                  "<div class=\"codeblock phpcodeblock\"><div class=\"title\">PHP Code:</div>"
                  "<div class=\"body\"><div dir=\"ltr\"><code>{CODE}</code></div></div></div>",
                  R::Code)}),
        // MyBB starts a numbered list on a new line of its own.
        tag("list",
            {form("[list]{TEXT}[/list]", "<ul class=\"mycode_list\">{TEXT}</ul>", R::List, list),
             form("[list={LISTNUMBER}]{TEXT}[/list]",
                  "{BR}<ol style=\"list-style-type: {LISTNUMBER};\" "
                  "class=\"mycode_list\">{TEXT}</ol>",
                  R::List, list)}),
        tag("*", {form("[*]", "<li>{TEXT}</li>", R::Item, kItem)}),
        tag("hr", {form("[hr]", "<hr class=\"mycode_hr\">", R::Single)}),
        tag("video", {form("[video=youtube]{YOUTUBE}[/video]",
                           "<iframe width=\"560\" height=\"315\" "
                           "src=\"//www.youtube-nocookie.com/embed/{YOUTUBE}\" frameborder=\"0\" "
                           "allowfullscreen=\"true\"></iframe>",
                           R::Value)}),
    };
    d.links.schemes = {u"http"_qs, u"https"_qs, u"ftp"_qs, u"news"_qs, u"irc"_qs};
    d.links.schemelessPrefix = u"http://"_qs;
    d.links.imageNeedsScheme = true;
    d.links.schemeNeedsSlashes = true;
    d.links.trailingTrim.clear(); // an address ends with a letter, digit, '_', '/' or ')'
    d.links.shortenOver = 55;
    d.links.shortenHead = 40;
    d.links.shortenJoint = u"..."_qs;
    d.links.wwwPrefix = u"http://"_qs;
    d.links.linkHtml = u"<a href=\"{URL}\" target=\"_blank\" rel=\"noopener\" "
                       u"class=\"mycode_url\">{TEXT}</a>"_qs;
    d.sizes.min = 1;
    d.sizes.max = 50;
    d.sizes.clamp = true;
    d.sizes.numberUnit = u"pt"_qs;
    d.sizes.names = true;
    d.quotes.plainCite = u"<cite>Quote:</cite>"_qs;
    d.quotes.authorCite = u"<cite>{AUTHOR} Wrote:</cite>"_qs;
    d.quotes.datedCite = u"<cite><span> ({DATE})</span>{AUTHOR} Wrote: <a "
                         u"href=\"https://forum.example/showthread.php?pid={LINK}#pid{LINK}\" "
                         u"class=\"quick_jump\"></a></cite>"_qs;
    d.quotes.dateFormat = u"MM-dd-yyyy, hh:mm AP"_qs;
    d.text.lineBreak = u"<br />\n"_qs;
    d.text.keepNumericRefs = true;
    d.text.dropBreakAfterBlock = true;
    d.links.spaceBeforeBare = true;
    d.text.codeStyle = u"mybb"_qs;
    const QString smilies = u"https://forum.example/images/smilies/"_qs;
    d.smilies = {{u":)"_qs, smilies + u"smile.png"_qs, u"Smile"_qs},
                 {u";)"_qs, smilies + u"wink.png"_qs, u"Wink"_qs}};
    // Anywhere but after a quotation mark, in either case.
    d.smileyRules.notAfter = u"\""_qs;
    d.smileyRules.letterAfter = true;
    d.smileyRules.anyCase = true;
    d.colors.hashOptional = true;
    d.colors.rgb = false;
    d.colors.nameMax = 1000;
    d.length = {65535, Counting::Bytes}; // maxmessagelength
    return d;
}

} // namespace

const Dialect &dialect(Forum forum)
{
    static std::array<std::unique_ptr<Dialect>, 4> dialects;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    auto &slot = dialects[std::size_t(forum)];
    if (!slot) {
        slot = std::make_unique<Dialect>(forum == Forum::Smf    ? smf()
                                         : forum == Forum::MyBB ? mybb()
                                                                : phpbb());
        slot->stylesheet = themeStylesheet(forum);
    }
    return *slot;
}

} // namespace quorvane
