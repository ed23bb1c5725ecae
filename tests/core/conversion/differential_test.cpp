// The one-pass conversion and stripper against the literal passes they
// replace, on many thousands of random documents built from the find texts,
// pieces of them, tags split around other tags, smiley codes that share
// colons, and odd data directories.

#include "conversion/bbcode.h"
#include "conversion/previewpage.h"
#include "conversion/stripper.h"
#include "printing.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

using namespace quorvane;

namespace {

class Generator
{
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(int percent) { return below(100) < percent; }

    // ASCII letters flipped at random, as a user might type them.
    QString mixCase(QString s)
    {
        for (QChar &c : s) {
            if (c.unicode() < 128 && c.isLetter() && chance(30))
                c = c.isUpper() ? c.toLower() : c.toUpper();
        }
        return s;
    }

    QString find()
    {
        static const QStringList finds = [] {
            QStringList all;
            for (const SubstitutionEntry &e : bbcodeSubstitutions(QString(), BlockHeaders()))
                all << e.find;
            for (const SubstitutionEntry &e : strippingDeletions())
                all << e.find;
            all << QStringLiteral("[LIST=2]") << QStringLiteral("[Size=8]")
                << QStringLiteral("[Font=Wingdings]") << QStringLiteral("[URL]")
                << QStringLiteral("[EMAIL]") << QStringLiteral(":Roll Eyes:");
            all.removeDuplicates();
            all.removeAll(QString());
            return all;
        }();
        return finds[below(int(finds.size()))];
    }

    QString piece(int depth)
    {
        static const QStringList fragments = {
            "[",
            "]",
            "[/",
            "=",
            "/",
            "*",
            ":",
            ";",
            ")",
            "(",
            "\r",
            "\n",
            "\r\n",
            "\r\n",
            " ",
            "a",
            "o",
            "p",
            "d",
            "D",
            "m",
            "x",
            "1",
            "8",
            ".",
            "<",
            ">",
            "&",
            "\"",
            "mad:",
            "cool:",
            "eek:",
            "rolleyes:",
            "lo",
            "ST",
            "URL=",
            "EMAIL=",
            "Color=Wh",
            "ite]",
            QStringLiteral("\u00e9"),
            QStringLiteral("\u017F"),
            QStringLiteral("\u0131"),
            QStringLiteral("\U0001F600"),
            QString(QChar(0xD800)),
            QString(QChar(0xDC00)),
        };
        switch (below(10)) {
        case 0:
        case 1:
        case 2:
            return mixCase(find());
        case 3: { // a find cut short or missing a character
            const QString f = find();
            if (f.size() < 2)
                return f;
            if (chance(50))
                return mixCase(f.left(1 + below(int(f.size()) - 1)));
            QString g = f;
            g.remove(below(int(f.size())), 1);
            return mixCase(g);
        }
        case 4: // a find with other text inside it, so that deleting or
                // converting the inside joins the two halves
            if (depth < 3) {
                const QString f = find();
                const int cut = f.size() > 1 ? 1 + below(int(f.size()) - 1) : 1;
                return mixCase(f.left(cut)) + document(depth + 1, 3) + mixCase(f.mid(cut));
            }
            return find();
        default:
            return fragments[below(int(fragments.size()))];
        }
    }

    QString document(int depth = 0, int maxPieces = 40)
    {
        QString doc;
        const int count = below(maxPieces + 1);
        for (int i = 0; i < count; ++i)
            doc += piece(depth);
        return doc;
    }

    // Codes and pieces of codes run together. Kept short for data
    // directories: every code in the directory is expanded again inside
    // each earlier smiley's source, so the page grows quickly with them.
    QString smileyRun(int maxParts = 30)
    {
        static const QStringList parts = {
            ":",  ";",     ")",      "(",     "o",          "O",    "p",         "P",
            "d",  "D",     "mad:",   "MAD:",  "cool:",      "eek:", "rolleyes:", "x",
            ":)", ":mad:", ":cool:", ":eek:", ":rolleyes:", "]"};
        QString run;
        const int count = below(maxParts + 1);
        for (int i = 0; i < count; ++i)
            run += parts[below(int(parts.size()))];
        return run;
    }

    QString dataDir()
    {
        static const QStringList dirs = {
            "/usr/share/quorvane",
            "C:\\Apps\\Composer",
            "/tmp/a]b",
            "/x:p/y",
            "/[*]/",
            "/h:o:)",
            ":mad:cool:)",
            "/[LIST=1]",
            "/[LIST][/LIST]",
            "[/LIST]",
            "/[QUOTE]x[/QUOTE]",
            "]]",
            "",
            "/a:rolleyes:D",
            "/[URL=x]",
            "/[B]:D",
            "/a\r\nb",
            ";):(",
            QString(QChar(0xDE00)) + "/x" + QChar(0xD83D),
            QStringLiteral("/caf\u00e9/\U0001F600"),
        };
        if (chance(70))
            return dirs[below(int(dirs.size()))];
        return document(1, 6);
    }

    BlockHeaders headers()
    {
        BlockHeaders h = BlockHeaders::standard();
        const int kind = below(10);
        if (kind == 0) { // anything, brackets and all
            h.quote = document(1, 4);
            h.code = document(1, 4);
            h.html = chance(50) ? QString() : QStringLiteral("[CODE]");
            h.php = QStringLiteral("/PHP]");
        } else if (kind == 1 || kind == 2) { // no brackets, but can complete a tag
            static const QStringList tails = {"ODE]", "ODE", "/QUOTE", "RL=", "=x", "HP", "x"};
            h.quote = tails[below(int(tails.size()))];
            h.code = tails[below(int(tails.size()))];
            h.html = tails[below(int(tails.size()))];
            h.php = tails[below(int(tails.size()))];
        } else if (kind == 3) { // halves of surrogate pairs at the ends
            h.quote = QString(QChar(0xDE00)) + "q" + QChar(0xD83D);
            h.code = QString(QChar(0xDC00));
        } else if (kind == 4) { // custom, but with nothing to match
            h.quote = QStringLiteral("<q>");
            h.code = QStringLiteral("\r\n:) ;)");
            h.php = QStringLiteral("&nbsp;");
        }
        return h;
    }

private:
    std::mt19937 m_rng;
};

} // namespace

TEST(Differential, ConversionMatchesTheLiteralPasses)
{
    for (unsigned seed = 1; seed <= 20000; ++seed) {
        Generator g(seed);
        const QString doc = g.document();
        const QString dir = g.dataDir();
        const BlockHeaders headers = g.headers();
        const QString reference = convertBBCodeReference(doc, dir, headers);
        ASSERT_EQ(convertBBCode(doc, dir, headers), reference)
            << "seed " << seed << "\ndocument: " << testing::PrintToString(doc)
            << "\ndata dir: " << testing::PrintToString(dir);
        // Encoded while converting, surrogate pairs split between pieces
        // included.
        ASSERT_EQ(convertBBCodeToPageBytes(doc, dir, headers), previewPageBytes(reference))
            << "seed " << seed << "\ndocument: " << testing::PrintToString(doc)
            << "\ndata dir: " << testing::PrintToString(dir);
    }
}

TEST(Differential, ConversionOfSmileyRuns)
{
    for (unsigned seed = 1; seed <= 10000; ++seed) {
        Generator g(seed);
        const QString doc = g.smileyRun();
        const QString dir = g.chance(50) ? g.smileyRun(6) : QStringLiteral("/d");
        ASSERT_EQ(convertBBCode(doc, dir, BlockHeaders::standard()),
                  convertBBCodeReference(doc, dir, BlockHeaders::standard()))
            << "seed " << seed << "\ndocument: " << testing::PrintToString(doc)
            << "\ndata dir: " << testing::PrintToString(dir);
    }
}

TEST(Differential, StrippingMatchesTheLiteralPasses)
{
    for (unsigned seed = 1; seed <= 30000; ++seed) {
        Generator g(seed);
        const QString doc = g.document();
        ASSERT_EQ(stripFormatting(doc), stripFormattingReference(doc))
            << "seed " << seed << "\ndocument: " << testing::PrintToString(doc);
    }
}

TEST(Differential, LongDocuments)
{
    // Many pieces in one text, so that chunk and list state carry across.
    Generator g(424242);
    for (int round = 0; round < 20; ++round) {
        QString doc;
        while (doc.size() < 20000)
            doc += g.document();
        const QString dir = g.dataDir();
        ASSERT_EQ(convertBBCode(doc, dir, BlockHeaders::standard()),
                  convertBBCodeReference(doc, dir, BlockHeaders::standard()))
            << "round " << round;
        ASSERT_EQ(stripFormatting(doc), stripFormattingReference(doc)) << "round " << round;
    }
}
