// The forums' own mark-up a writer inserts: the tags beyond the toolbar's,
// tables and quotes, each written as the forum's quote button or editor
// writes it and read back by the forum's own reading of a post.
#include "forum/bbcodeparser.h"
#include "forum/forumquote.h"
#include "forum/forumtable.h"
#include "forum/forumtags.h"
#include "forum/forumwriter.h"
#include "import/htmlimport.h"
#include "settings/quoteauthors.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace quorvane;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QString html(const Dialect &dialect, const QString &post)
{
    return writeForumHtml(dialect, parseForumPost(dialect, post));
}

// A board's description with tags of its own, as a custom tag set gives it.
// (The forum's reading of a post knows the built-in descriptions only.)
Dialect boardWith(std::vector<TagDefinition> tags)
{
    Dialect d = dialect(Forum::PhpBB);
    for (TagDefinition &tag : tags)
        d.tags.push_back(std::move(tag));
    return d;
}

TagDefinition defined(const char *name, std::vector<const char *> usages, Role role = Role::Block)
{
    TagDefinition tag{QString::fromLatin1(name), {}};
    for (const char *usage : usages)
        tag.forms.push_back(
            {QString::fromLatin1(usage), QStringLiteral("<div>{TEXT}</div>"), role, {}});
    return tag;
}

// ---- Which tags a forum has beyond the toolbar's ----

TEST(ForumOnlyTags, TakeInABoardsOwnTagsButNotTheirTablesParts)
{
    const Dialect board =
        boardWith({defined("spoiler", {"[spoiler]{TEXT}[/spoiler]"}),
                   defined("table", {"[table]{TEXT}[/table]"}), defined("tr", {"[tr]{TEXT}[/tr]"}),
                   defined("TH", {"[TH]{TEXT}[/TH]"})});
    QStringList names;
    for (const TagDefinition *tag : forumOnlyTags(board))
        names << forumTagCaption(*tag);
    EXPECT_EQ(names, (QStringList{u"Spoiler [spoiler]"_qs, u"Table [table]"_qs}));
}

// ---- A tag written around the selection ----

TEST(WrittenTag, AsksForTheFormsValuesAndWritesThemInPlace)
{
    enum Read { AsTag, AsText, Unchecked };
    const Dialect &smf = dialect(Forum::Smf);
    const Dialect &mybb = dialect(Forum::MyBB);
    const Dialect board =
        boardWith({defined("spoiler", {"[spoiler={TEXT1}]{TEXT2}[/spoiler]"}),
                   defined("pic", {"[pic={NUMBER}x{NUMBER}]{TEXT}[/pic]"}),
                   defined("box", {"[box type={IDENTIFIER} title={TEXT?}]{TEXT}[/box]"}),
                   defined("note", {"[note={TEXT?}]{TEXT}[/note]"})});
    const struct
    {
        const Dialect &dialect;
        const char *tag;
        QStringList asked; // the captions of the questions
        QStringList values;
        QString written; // around "x"
        Read read;       // how the forum reads it back
    } cases[] = {
        {smf, "s", {}, {}, u"[s]x[/s]"_qs, AsTag},
        {smf, "hr", {}, {}, u"[hr]x"_qs, AsTag},
        {smf,
         "iurl",
         {u"Address"_qs},
         {u"https://a.example/"_qs},
         u"[iurl=https://a.example/]x[/iurl]"_qs,
         AsTag},
        {mybb,
         "align",
         {u"Alignment (left, center, right or justify)"_qs},
         {u"center"_qs},
         u"[align=center]x[/align]"_qs,
         AsTag},
        {mybb, "video", {}, {}, u"[video=youtube]x[/video]"_qs, AsText},
        {board, "spoiler", {u"Text"_qs}, {u"Plot"_qs}, u"[spoiler=Plot]x[/spoiler]"_qs, Unchecked},
        {board,
         "pic",
         {u"Number"_qs, u"Number"_qs},
         {u"4"_qs, u"3"_qs},
         u"[pic=4x3]x[/pic]"_qs,
         Unchecked},
        {board, "box", {u"Name"_qs}, {u"warn"_qs}, u"[box type=warn]x[/box]"_qs, Unchecked},
        {board, "note", {}, {}, u"[note]x[/note]"_qs, Unchecked},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tag);
        const TagDefinition *tag = c.dialect.tag(QString::fromLatin1(c.tag));
        ASSERT_NE(tag, nullptr);
        const TagInsertion how = tagInsertion(*tag);
        QStringList asked;
        for (const TagValue &value : how.values)
            asked << tagValueCaption(value);
        EXPECT_EQ(asked, c.asked);
        const QString written = writtenTag(*how.form, c.values, u"x"_qs);
        EXPECT_EQ(written, c.written);
        if (c.read == Unchecked)
            continue;
        const ParsedPost parsed = parseForumPost(c.dialect, written);
        const bool asTag =
            !parsed.elements.empty() && parsed.elements.front().form->name == QLatin1String(c.tag);
        EXPECT_EQ(asTag, c.read == AsTag);
    }
}

// ---- Tables ----

TEST(TableMarkup, IsTheForumsTableWithTheCaretInTheFirstCell)
{
    const QString br = u"\r\n"_qs;
    const Dialect &smf = dialect(Forum::Smf);
    const Dialect withHeaders =
        boardWith({defined("table", {"[table]{TEXT}[/table]"}), defined("tr", {"[tr]{TEXT}[/tr]"}),
                   defined("td", {"[td]{TEXT}[/td]"}), defined("th", {"[th]{TEXT}[/th]"})});
    const Dialect tableAlone = boardWith({defined("table", {"[table]{TEXT}[/table]"})});
    const TableRows twoByTwo = {{u"a"_qs, u"b"_qs}, {u"c"_qs, u"d"_qs}};
    const struct
    {
        const char *name;
        const Dialect &dialect;
        TableRows rows;
        bool header;
        QString text;
        QString beforeCaret;
    } cases[] = {
        {"empty", smf, emptyRows({2, 2, false}), false,
         u"[table]"_qs + br + u"[tr][td][/td][td][/td][/tr]"_qs + br +
             u"[tr][td][/td][td][/td][/tr]"_qs + br + u"[/table]"_qs,
         u"[table]"_qs + br + u"[tr][td]"_qs},
        {"bold header where there is no header cell", smf, twoByTwo, true,
         u"[table]"_qs + br + u"[tr][td][b]a[/b][/td][td][b]b[/b][/td][/tr]"_qs + br +
             u"[tr][td]c[/td][td]d[/td][/tr]"_qs + br + u"[/table]"_qs,
         u"[table]"_qs + br + u"[tr][td][b]"_qs},
        {"header cells", withHeaders, twoByTwo, true,
         u"[table]"_qs + br + u"[tr][th]a[/th][th]b[/th][/tr]"_qs + br +
             u"[tr][td]c[/td][td]d[/td][/tr]"_qs + br + u"[/table]"_qs,
         u"[table]"_qs + br + u"[tr][th]"_qs},
        {"short rows made as wide as the widest",
         smf,
         {{u"a"_qs, u"b"_qs}, {u"c"_qs}},
         false,
         u"[table]"_qs + br + u"[tr][td]a[/td][td]b[/td][/tr]"_qs + br +
             u"[tr][td]c[/td][td][/td][/tr]"_qs + br + u"[/table]"_qs,
         u"[table]"_qs + br + u"[tr][td]"_qs},
        {"a table tag alone holds tab-separated lines", tableAlone, twoByTwo, false,
         u"[table]"_qs + br + u"a\tb"_qs + br + u"c\td"_qs + br + u"[/table]"_qs,
         u"[table]"_qs + br},
        {"no tables: tab-separated lines", dialect(Forum::PhpBB), twoByTwo, true,
         u"a\tb"_qs + br + u"c\td"_qs, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TableMarkup markup = tableMarkup(c.dialect, c.rows, c.header);
        EXPECT_EQ(markup.text, c.text);
        EXPECT_EQ(markup.text.left(markup.caret), c.beforeCaret);
    }
}

TEST(TableMarkup, ReadsAsTheForumsTable)
{
    const Dialect &smf = dialect(Forum::Smf);
    const QString page =
        html(smf, tableMarkup(smf, {{u"a"_qs, u"b"_qs}, {u"c"_qs, u"d"_qs}}, true).text);
    EXPECT_EQ(page.count(u"<tr>"_qs), 2) << page.toStdString();
    EXPECT_EQ(page.count(u"<td>"_qs), 4);
    EXPECT_TRUE(page.contains(u"<td><b>a</b></td>"_qs));
}

TEST(TabSeparatedRows, KeepEachCellAsItIs)
{
    const struct
    {
        QString text;
        TableRows rows;
    } cases[] = {
        {u"a\tb\r\nc\td"_qs, {{u"a"_qs, u"b"_qs}, {u"c"_qs, u"d"_qs}}},
        {u"\r\n a \t[b]B[/b]\n\r\n"_qs, {{u" a "_qs, u"[b]B[/b]"_qs}}},
        {u"one line"_qs, {{u"one line"_qs}}},
        {u"a\t\tc"_qs, {{u"a"_qs, QString(), u"c"_qs}}},
        {u"a\r\n\r\nb"_qs, {{u"a"_qs}, {QString()}, {u"b"_qs}}},
        {u"\r\n"_qs, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tabSeparatedRows(c.text), c.rows) << c.text.toStdString();
}

TEST(TabSeparatedRows, TakeAPastedHtmlTable)
{
    // What Paste as BBCode writes for a table becomes the same table again.
    const QString pasted = htmlToBBCode(
        u"<table><tr><td><b>Name</b></td><td>Age</td></tr><tr><td>Anna</td><td>7</td></tr>"
        u"</table>"_qs);
    const TableRows rows = tabSeparatedRows(pasted);
    EXPECT_EQ(rows, (TableRows{{u"[B]Name[/B]"_qs, u"Age"_qs}, {u"Anna"_qs, u"7"_qs}}))
        << pasted.toStdString();
}

// ---- Quotes ----

TEST(QuoteMarkup, IsTheForumsQuoteFormAndItsHeading)
{
    const QDateTime date = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    const QuoteSource full{u"Anna"_qs, u"12"_qs, date, u"3"_qs};
    const QuoteSource named{u"Anna"_qs, {}, {}, {}};
    const Dialect page;
    const struct
    {
        const char *name;
        const Dialect &dialect;
        QuoteSource source;
        QString opening;
        QString heading; // in the forum's page; empty: not checked
    } cases[] = {
        {"phpBB, every part", dialect(Forum::PhpBB), full,
         u"[quote=\"Anna\" post_id=12 time=1700000000 user_id=3]"_qs, u"Anna wrote:"_qs},
        {"phpBB, a name with quotation marks",
         dialect(Forum::PhpBB),
         {u"Anna \"Ace\""_qs, {}, {}, {}},
         u"[quote=\"Anna \\\"Ace\\\"\"]"_qs,
         {}},
        {"SMF, every part", dialect(Forum::Smf), full,
         u"[quote author=Anna link=msg=12 date=1700000000]"_qs,
         u"Quote from: Anna on November 14, 2023, 10:13:20 PM"_qs},
        {"SMF, the author alone", dialect(Forum::Smf), named, u"[quote author=Anna]"_qs,
         u"Quote from: Anna"_qs},
        {"MyBB, every part", dialect(Forum::MyBB), full,
         u"[quote='Anna' pid='12' dateline='1700000000']"_qs,
         u"(11-14-2023, 10:13 PM)</span>Anna Wrote:"_qs},
        {"MyBB, an apostrophe in the name",
         dialect(Forum::MyBB),
         {u"O'Neil"_qs, {}, {}, {}},
         u"[quote='O&#39;Neil']"_qs,
         {}},
        {"no author", dialect(Forum::MyBB), {}, u"[quote]"_qs, u"Quote:"_qs},
        {"the program's own page", page, full, u"[QUOTE=Anna]"_qs, {}},
        {"a name on one line", page, {u" Anna\r\nB "_qs, {}, {}, {}}, u"[QUOTE=Anna  B]"_qs, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quoteOpening(c.dialect, c.source), c.opening);
        const QString quoted = quoteMarkup(c.dialect, c.source, u"Bring water"_qs);
        EXPECT_TRUE(quoted.startsWith(c.opening));
        EXPECT_TRUE(quoted.endsWith(c.dialect.forum == Forum::Generic ? u"Bring water[/QUOTE]"_qs
                                                                      : u"Bring water[/quote]"_qs));
        if (!c.heading.isEmpty()) {
            const QString shown = html(c.dialect, quoted);
            EXPECT_TRUE(shown.contains(c.heading)) << shown.toStdString();
        }
    }
}

TEST(PostNumberIn, TakesTheNumberOrALinksNumber)
{
    const std::pair<QString, QString> cases[] = {
        {u" 42 "_qs, u"42"_qs},
        {u"https://forum.example/viewtopic.php?p=1234#p1234"_qs, u"1234"_qs},
        {u"https://forum.example/index.php?topic=7.msg88#msg88"_qs, u"88"_qs},
        {u"https://forum.example/index.php?msg=88"_qs, u"88"_qs},
        {u"https://forum.example/showthread.php?tid=7&pid=99#pid99"_qs, u"99"_qs},
        {u"https://forum.example/about"_qs, QString()},
        {QString(), QString()},
    };
    for (const auto &[text, number] : cases)
        EXPECT_EQ(postNumberIn(text), number) << text.toStdString();
}

TEST(QuoteAuthors, KeepTheLastNamesNewestFirst)
{
    quoteauthors::forget();
    for (const char *name : {"Anna", "Ben", " ", "Anna "})
        quoteauthors::remember(QString::fromLatin1(name));
    EXPECT_EQ(quoteauthors::read(), (QStringList{u"Anna"_qs, u"Ben"_qs}));
    for (int i = 0; i < 20; ++i)
        quoteauthors::remember(QStringLiteral("Name %1").arg(i));
    const QStringList kept = quoteauthors::read();
    EXPECT_EQ(kept.size(), quoteauthors::kKept);
    EXPECT_EQ(kept.front(), u"Name 19"_qs);
    quoteauthors::forget();
}

} // namespace
