// What is prose in a post: the words a speller is asked about, line by line
// as the editor's blocks are, and what a whole text's check reports.

#include "markup/knowntags.h"
#include "spelling/prosewords.h"
#include "spelling/speller.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <random>

using namespace quorvane;

namespace {

// The prose words of a text, "|"-joined, each line read on its own with the
// verbatim state the one before it ended in.
QString proseOf(const QString &text)
{
    const KnownTags tags;
    QStringList words;
    int state = MarkupScanner::noVerbatim;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        state = proseWords(tags, line, state, [&](WordSpan span) {
            words.append(line.sliced(span.start, span.length).toString());
        });
    }
    return words.join(u'|');
}

struct ProseCase
{
    const char *what;
    const char16_t *text;
    const char16_t *words;
};

class ProseWords : public testing::TestWithParam<ProseCase>
{
};

TEST_P(ProseWords, AreTheWordsOfTheProseOnly)
{
    const ProseCase &c = GetParam();
    EXPECT_EQ(proseOf(QString::fromUtf16(c.text)), QString::fromUtf16(c.words));
}

const ProseCase kProseCases[] = {
    {"plain words and punctuation", u"Helo, wrold! (again)", u"Helo|wrold|again"},
    {"tag names", u"[B]bold[/B] [SPOILER]x[/SPOILER] [foo]bar[/foo]", u"bold|x|bar"},
    {"words glued to tags", u"[B]wrod[/B]s [I]a[/I][U]b[/U]", u"wrod|s|a|b"},
    {"tag values", u"[COLOR=rde]red[/COLOR] [FONT=Arail Blak]font[/FONT] [QUOTE=Jonh]q[/QUOTE]",
     u"red|font|q"},
    {"link text is prose", u"[URL=http://exampel.com/pagge]lnik text[/URL]", u"lnik|text"},
    {"an address between tags is not",
     u"[URL]exampel.com/pagge[/URL] [IMG]pictre.png[/IMG] [EMAIL]me@exmple.com[/EMAIL] "
     u"[YOUTUBE]dQw4w[/YOUTUBE] end",
     u"end"},
    {"bare addresses",
     u"see http://exampel.com/pagge, (https://x.org/a_b) and www.exmaple.org or "
     u"ftp://fles.net/x mailto:me@x.org end",
     u"see|and|or|end"},
    {"an address glued to a word", u"link:http://exampel.com", u"link"},
    {"e-mail addresses", u"write to me.name@exmple.com, or <me@x.org> now", u"write|to|or|now"},
    {"smiley codes", u"fun :rolleyes: :D :p :mad: :eek: ;) :cool: :O ok", u"fun|ok"},
    {"a colon before a word is no smiley", u"Note:Dont :people", u"Note|Dont|people"},
    {"verbatim contents",
     u"a [CODE]speling[/CODE] b [noparse][b]x[/noparse] c [PHP]$x = tekst;[/PHP] "
     u"[HTML]<p>tekst</p>[/HTML] d",
     u"a|b|c|d"},
    {"verbatim across lines", u"[CODE]one\ntwo\n[/CODE] three\n[php]four", u"three"},
    {"apostrophes", u"don't can\u2019t 'quoted' dogs' rock'n'roll",
     u"don't|can\u2019t|quoted|dogs|rock'n'roll"},
    {"hyphens", u"well-known -dash- a--b x- co\u2010op", u"well-known|dash|a|b|x|co\u2010op"},
    {"digits, underscores and acronyms", u"abc123 2nd foo_bar NASA I OK Ok HTML5 x-42", u"I|Ok"},
    {"letters beyond ASCII",
     u"Gr\u00f6\u00dfe caf\u00e9 cafe\u0301 \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac",
     u"Gr\u00f6\u00dfe|caf\u00e9|cafe\u0301|\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
    {"brackets that are not tags", u"a[0] [ here ] [notatag", u"a|here|notatag"},
};

INSTANTIATE_TEST_SUITE_P(Posts, ProseWords, testing::ValuesIn(kProseCases),
                         [](const testing::TestParamInfo<ProseCase> &param) {
                             return std::to_string(param.index);
                         });

// Whatever a line holds, each word reported lies inside it, after the one
// before, and starts with a letter; no word holds a space, bracket or colon.
TEST(ProseWords, SpansAreWordsOfTheLine)
{
    const QStringList pieces = {u"word"_qs,    u" "_qs,          u"[B]"_qs,        u"[/b]"_qs,
                                u"[URL=x]"_qs, u"[URL]"_qs,      u"[/URL]"_qs,     u"[CODE]"_qs,
                                u"[/CODE]"_qs, u":D"_qs,         u":rolleyes:"_qs, u"'"_qs,
                                u"\u2019"_qs,  u"-"_qs,          u"http://a.b"_qs, u"a@b"_qs,
                                u"www."_qs,    u"\U0001D400"_qs, u"\xe9"_qs,       u"\u0301"_qs,
                                u"x1"_qs,      u"["_qs,          u"]"_qs,          u"="_qs,
                                u":"_qs,       u"\U0001F600"_qs, u"\xd800"_qs};
    std::mt19937 rng(5);
    const KnownTags tags;
    int state = MarkupScanner::noVerbatim;
    for (int round = 0; round < 3000; ++round) {
        QString line;
        for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n)
            line += pieces[std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(rng)];
        qsizetype end = 0;
        state = proseWords(tags, line, state, [&](WordSpan span) {
            ASSERT_GE(span.start, end) << line.toStdString();
            ASSERT_GT(span.length, 0);
            ASSERT_LE(span.start + span.length, line.size()) << line.toStdString();
            const QStringView word = QStringView(line).sliced(span.start, span.length);
            EXPECT_TRUE(QChar::isLetter(word.toUcs4().front())) << line.toStdString();
            for (QChar c : word)
                EXPECT_FALSE(c.isSpace() || c == u'[' || c == u']' || c == u':')
                    << line.toStdString();
            end = span.start + span.length;
        });
    }
}

// The whole-text check in the dictionaries' own languages: words beyond ASCII
// are words, and the positions are the editor's lines and columns.
struct LanguageCase
{
    const char *tag;
    const char16_t *text;
    const char16_t *report; // "line:column:word" of each misspelling
};

class Misspellings : public testing::TestWithParam<LanguageCase>
{
};

TEST_P(Misspellings, AreFoundWithTheirPlaces)
{
    const LanguageCase &c = GetParam();
    QTemporaryDir config;
    qputenv("ENCHANT_CONFIG_DIR", config.path().toUtf8());
    const std::unique_ptr<Speller> speller = Speller::load(QString::fromLatin1(c.tag));
    if (!speller)
        GTEST_SKIP() << "no " << c.tag << " dictionary installed";
    QStringList found;
    for (const Misspelling &m :
         findMisspellings(QString::fromUtf16(c.text), KnownTags(), *speller)) {
        found.append(QStringLiteral("%1:%2:%3").arg(m.line).arg(m.column).arg(m.word));
        EXPECT_LE(m.suggestions.size(), 6);
    }
    EXPECT_EQ(found.join(u' ').toStdString(), QString::fromUtf16(c.report).toStdString());
}

const LanguageCase kLanguageCases[] = {
    {"en_US",
     u"A wrod\r\n\t[B]ther[/B] \U0001F600 misteak\rwell-known don\u2019t\u2029[CODE]x\n"
     u"speling[/CODE] end qzxqzxqz",
     u"1:3:wrod 2:5:ther 2:16:misteak 5:20:qzxqzxqz"},
    // Words in other scripts are quoted, not misspelt: only the English one is.
    {"en_US",
     u"He wrote \u05e9\u05dc\u05d5\u05dd and \u0645\u0631\u062d\u0628\u0627 and "
     u"\u043f\u0440\u0438\u0432\u0435\u0442, then wrod.",
     u"1:42:wrod"},
    {"de_DE", u"Die Gr\u00f6\u00dfe der Stra\u00dfe ist sch\u00f6n, aber Fehlre bl\u00e4ibt.",
     u"1:38:Fehlre 1:45:bl\u00e4ibt"},
    {"fr",
     u"L\u2019\u00e9l\u00e8ve a d\u00e9j\u00e0 \u00e9t\u00e9 \u00e0 l'\u00e9cole, mais l'erreure "
     u"reste.",
     u"1:36:l'erreure"},
};

INSTANTIATE_TEST_SUITE_P(Languages, Misspellings, testing::ValuesIn(kLanguageCases),
                         [](const testing::TestParamInfo<LanguageCase> &param) {
                             return std::string(param.param.tag) + "_" +
                                    std::to_string(param.index);
                         });

// Suggestions for many misspellings are shared out among spellers of their
// own; each word gets what the caller's speller suggests for it.
TEST(Misspellings, SuggestionsAreTheSpellersOwn)
{
    QTemporaryDir config;
    qputenv("ENCHANT_CONFIG_DIR", config.path().toUtf8());
    const std::unique_ptr<Speller> speller = Speller::load(QStringLiteral("en_US"));
    if (!speller)
        GTEST_SKIP() << "no en_US dictionary installed";
    const QString text = QStringLiteral("wrod ther misteak recieve seperate definately occured "
                                        "untill wierd goverment tommorow acheive wrod ther\n")
                             .repeated(3);
    const std::vector<Misspelling> found = findMisspellings(text, KnownTags(), *speller);
    ASSERT_EQ(found.size(), 42u);
    for (const Misspelling &m : found)
        EXPECT_EQ(m.suggestions, speller->suggestions(m.word)) << m.word.toStdString();
}

} // namespace
