#pragma once

#include "forum/counting.h"
#include "forum/forum.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quorvane {

struct Grammar; // forum/bbcodeparser.cpp: the usage lines, read once

// A forum's BBCode as data: the tags it knows, each in the forms it accepts
// with the HTML it makes, and the forum-wide rules (repair, sizes, links,
// line breaks, quotes, smilies, theme). One parser (forum/bbcodeparser) and
// one writer (forum/forumwriter) read every description.

// How the forum treats tags that are not closed or that cross.
enum class Repair {
    Reopen,     // phpBB: a close ends the tags opened inside it and opens them again after
    CloseEarly, // SMF: a close ends the tags opened inside it; their own closes are text
    FirstPair,  // MyBB: each open pairs with the first close after it; the rest is text
};

// What a tag is, for the parser and the writer.
enum class Role {
    Inline,  // content is parsed; the HTML goes around it
    Block,   // the same, a block (quotes, alignment, tables)
    Quote,   // a block with a heading, counted for the quote depth
    List,    // holds items
    Item,    // [*]: ends at the next item or the list's end
    Code,    // content shown literally as a code block
    Literal, // content shown literally as text ([nobbc])
    Value,   // content is the tag's value ([url]X[/url], [img]X[/img]); nothing in between
    Single,  // no content, no close ([hr])
};

// Line breaks a tag swallows: how many newlines right before its open, right
// after its open, right before its close and right after its close. All means
// every blank character there.
enum Swallow : signed char { None = 0, One = 1, All = -1 };
struct Breaks
{
    Swallow beforeOpen = None, afterOpen = None, beforeClose = None, afterClose = None;
};

// One accepted form of a tag. `usage` reads as a board administrator writes
// it: "[url={URL}]{TEXT}[/url]", "[img={NUMBER}x{NUMBER}]{URL}[/img]",
// "[list type={LISTSTYLE}]{TEXT}[/list]", "[hr]". Tokens in the attribute
// places are checked by the forum's rule for them; {TEXT} content is parsed,
// any other content token takes the content as the value. `html` uses the
// same tokens, {TEXT} where the content goes; {1}, {2} are the attribute
// tokens by position when one token appears twice.
struct TagForm
{
    QString usage;
    QString html;
    Role role = Role::Inline;
    Breaks breaks;
};

// How a link's address is checked and written.
struct LinkRules
{
    QStringList schemes;             // allowed schemes ("http", ...), linked when bare
    QStringList badSchemes;          // SMF: a link may have any scheme but these
    bool schemeNeedsSlashes = false; // MyBB: only "name://" is a scheme; "mailto:x" gets http://
    bool keepSchemeless = false;     // phpBB: "example.com" stays a relative link
    QString schemelessPrefix;        // otherwise this goes before it ("http://")
    bool badSchemeAsText = true;     // SMF writes "about:invalid" instead
    bool imageNeedsScheme = false;   // MyBB: [img]example.com/a.png[/img] is text
    // Bare addresses in the text.
    bool autoLink = true;
    QString wwwPrefix;            // "http://" or "//" before a bare www. address
    bool nakedDomains = false;    // SMF: "example.com" in the text is a link
    bool autoEmail = false;       // a bare e-mail address becomes a mailto link
    bool bracketsInUrl = false;   // SMF: a bare address runs on over '[' and ']' (not tags)
    bool spaceBeforeBare = false; // MyBB: a bare address follows a blank, a bracket or a tag
    // The characters a bare address may not end with (they are left out);
    // empty: MyBB's rule, an address ends with a letter, digit, '_', '/' or ')'.
    QString trailingTrim = u".,;:!?'\""_qs;
    // A link whose text is its address shows a long address shortened:
    // more than shortenOver characters as the first shortenHead, the joint
    // and the last ten (phpBB " ... ", MyBB "..."). 0: never.
    int shortenOver = 0;
    QString boardPrefix; // phpBB: this start of a shown address is left out
    int shortenHead = 0;
    QString shortenJoint;
    QString linkHtml;  // "<a href=\"{URL}\">{TEXT}</a>" for bare addresses
    QString emailHtml; // the same for a bare e-mail address
};

// How [size=...] values read.
struct SizeRules
{
    int min = 1, max = 7;    // for plain numbers
    bool clamp = false;      // MyBB: out of range is brought in, not refused
    QString numberUnit;      // "%", "pt"; empty: the number picks from `scale`
    QStringList scale;       // SMF: 1..7 as CSS sizes
    bool names = false;      // "small", "x-large", ...
    bool unitValues = false; // SMF: "12pt", "10px", "1.5em"
};

// The words and shapes of a quote's heading.
struct QuoteRules
{
    QString plainCite;  // [quote]: "Quote" (SMF), "Quote:" (MyBB), empty: none
    QString authorCite; // "{AUTHOR} wrote:", "Quote from: {AUTHOR}", "{AUTHOR} Wrote:"
    QString linkedCite; // with a message link and date (SMF)
    QString datedCite;  // with a date (MyBB)
    QString dateFormat; // QDateTime format, in UTC
    int maxDepth = 0;   // quotes deeper are removed with their content; 0: no limit
};

// Where a smiley code counts as one.
struct SmileyRules
{
    QString after;    // the characters it may follow (a tag or the start always); empty: any
    QString notAfter; // the characters it may not follow
    bool letterAfter = false; // MyBB: a letter or digit may follow it
    bool anyCase = false;     // MyBB: ":P" is ":p"
};

// How [color=...] values read.
struct ColorRules
{
    int hexMin = 3, hexMax = 6; // digits after '#': 3 or 6
    bool hexRange = false;      // phpBB: any number from 3 to 6
    bool hashOptional = false;  // MyBB: "ff0000" is a colour too
    bool rgb = true;            // rgb(r, g, b)
    int nameMax = 20;           // letters of a colour name
};

struct ForumSmiley
{
    QString code;
    QString source;  // the src the forum writes
    QString picture; // the program's own picture shown on the page ("Smile")
};

// How text between tags is written.
struct TextRules
{
    QString lineBreak;              // "<br>\n", "<br>", "<br />\n"
    bool trimPost = false;          // phpBB trims the post
    bool keepNumericRefs = false;   // MyBB keeps "&#65;" as the character
    bool spacesAsNbsp = false;      // SMF: runs of spaces and tabs are kept
    bool emoji = false;             // phpBB: emoji become pictures
    bool removeEmptyTags = false;   // SMF: "[b][/b]" vanishes
    bool balanceLists = false;      // SMF: more [/list] than [list] opens lists at the start
    bool textEndsList = false;      // SMF: text (or another tag) in a list outside an item ends it
    bool blockClosesInline = false; // SMF: a block opened inside bold, colour, ... closes them
    bool listStartsItem = false;    // phpBB: text before a list's first [*] is an item
    bool itemOpensList = false;     // SMF: [*] outside a list opens one
    bool dropBreakAfterBlock = false; // MyBB: a line break right after a block's tag is dropped
    QString codeStyle;                // "pre" (phpBB), "smf", "mybb": how code text is written
};

struct LengthRules
{
    qsizetype limit = 0; // the default install's maximum; the post fits at the limit
    Counting counting = Counting::Escaped;
};

struct TagDefinition
{
    QString name;
    std::vector<TagForm> forms;
};

struct Dialect
{
    Forum forum = Forum::Generic;
    Repair repair = Repair::Reopen;
    bool unknownAttributesIgnored = false; // phpBB: [quote="A" user_id=3] is still a quote
    std::vector<TagDefinition> tags;
    LinkRules links;
    SizeRules sizes;
    QuoteRules quotes;
    TextRules text;
    std::vector<ForumSmiley> smilies;
    SmileyRules smileyRules;
    ColorRules colors;
    LengthRules length;
    QString stylesheet; // the program's own approximation of the default theme
    QString postClass;  // the post box's class on the page

    const TagDefinition *tag(QStringView name) const;

    // A description made while the program runs (a forum's tags with a
    // board's custom tags) keeps its usage lines here once read; the
    // built-in ones are kept by the parser.
    mutable std::shared_ptr<const Grammar> grammar;
};

// The description of a forum (built on first use). Not for Forum::Generic.
const Dialect &dialect(Forum forum);

} // namespace quorvane
