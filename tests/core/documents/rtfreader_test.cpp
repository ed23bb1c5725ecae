#include "documents/rtfreader.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

using quorvane::readRtf;

namespace {

QString rtfText(QByteArrayView data)
{
    const quorvane::RtfResult result = readRtf(data);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    return result.text;
}

QByteArray repeated(QByteArrayView piece, qsizetype count)
{
    QByteArray out;
    out.reserve(piece.size() * count);
    for (qsizetype i = 0; i < count; ++i) {
        out.append(piece);
    }
    return out;
}

} // namespace

TEST(RtfReader, GroupsControlWordsAndBreaks)
{
    // Formatting groups vanish, the delimiting space of a control word is
    // eaten, source line breaks mean nothing, escaped characters stay.
    EXPECT_EQ(rtfText(R"({\rtf1\ansi Hello {\b bold} and {\i\ul two}\par
second\line third\tab x\par})"),
              QStringLiteral("Hello bold and two\r\nsecond\r\nthird\tx\r\n"));
    EXPECT_EQ(rtfText("{\\rtf1 a\r\nb\nc\rd}"), QStringLiteral("abcd"));
    EXPECT_EQ(rtfText(R"({\rtf1 \\ \{ \} done})"), QStringLiteral("\\ { } done"));
    EXPECT_EQ(rtfText(R"({\rtf1 \b1 two  spaces\b0  kept})"), QStringLiteral("two  spaces kept"));
    // A control word ends at the first non-letter; its number may be negative.
    EXPECT_EQ(rtfText(R"({\rtf1 \fi-360x\li720-y})"), QStringLiteral("x-y"));
    // \<newline> is an old spelling of \par.
    EXPECT_EQ(rtfText("{\\rtf1 a\\\nb}"), QStringLiteral("a\r\nb"));
    // \sect and \page end a paragraph only if one is still open.
    EXPECT_EQ(rtfText(R"({\rtf1 a\page b\par\sect c\par\page})"),
              QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST(RtfReader, SymbolsAndNamedCharacters)
{
    EXPECT_EQ(rtfText(R"({\rtf1 10\~km non\_breaking soft\-hyphen})"),
              QStringLiteral("10\u00a0km non\u2011breaking soft\u00adhyphen"));
    EXPECT_EQ(rtfText(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
              QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201c\u201d"));
    EXPECT_EQ(rtfText(R"({\rtf1 a\emspace b\enspace c\qmspace d\zwj\zwnj\ltrmark\rtlmark})"),
              QStringLiteral("a\u2003b\u2002c\u2005d\u200d\u200c\u200e\u200f"));
    // Index and formula symbols and unknown words leave nothing.
    EXPECT_EQ(rtfText(R"({\rtf1 a\:b\|c\frobnicate42 d})"), QStringLiteral("abcd"));
}

TEST(RtfReader, DestinationsThatAreNotText)
{
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1 Courier;}})"
                      R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
                      R"({\info{\title T}{\author A}{\creatim\yr2024}}Body\par})"),
              QStringLiteral("Body\r\n"));
    EXPECT_EQ(rtfText(R"({\rtf1 {\header Head\par}{\footerl Foot\par}{\headerf H}text})"),
              QStringLiteral("text"));
    EXPECT_EQ(rtfText(R"({\rtf1 see{\footnote\chftn The note.} here})"),
              QStringLiteral("see here"));
    EXPECT_EQ(rtfText(R"({\rtf1 a{\pict\pngblip 89504e47{\*\blipuid 1234}}b})"),
              QStringLiteral("ab"));
    // \* marks a destination a reader may skip when it does not know it.
    EXPECT_EQ(rtfText(R"({\rtf1 a{\*\unknowndest hidden {nested} text}b})"), QStringLiteral("ab"));
    EXPECT_EQ(rtfText(R"({\rtf1 a{\*\bkmkstart mark}b{\*\bkmkend mark}c})"), QStringLiteral("abc"));
    // Hidden text is not part of what the document shows.
    EXPECT_EQ(rtfText(R"({\rtf1 shown{\v hidden} {\v secret\v0 visible}\v gone\plain  back})"),
              QStringLiteral("shown visible back"));
}

TEST(RtfReader, FieldsObjectsAndAlternatives)
{
    // A field shows its result, never its instruction, however it is marked.
    EXPECT_EQ(rtfText(R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}.})"),
              QStringLiteral("link."));
    EXPECT_EQ(rtfText(R"({\rtf1 {\field{\fldinst PAGE}{\*\fldrslt 7}}})"), QStringLiteral("7"));
    // An object shows its result; its data and class are skipped.
    EXPECT_EQ(
        rtfText(R"({\rtf1 [{\object\objemb{\*\objclass Paint}{\*\objdata 0102}{\result R}}]})"),
        QStringLiteral("[R]"));
    // \upr carries an 8-bit and a Unicode version of the same text.
    EXPECT_EQ(rtfText(R"({\rtf1 {\upr{ansi version}{\*\ud{unicode \u8364? version}}}})"),
              QStringLiteral("unicode \u20ac version"));
    // Numbering: the old \pn properties are skipped, the label text is kept.
    EXPECT_EQ(rtfText(R"({\rtf1 {\*\pn\pnlvlblt{\pntxtb x}}{\pntext 1.\tab}Item\par)"
                      R"({\listtext\pard\plain 2.\tab}Next\par})"),
              QStringLiteral("1.\tItem\r\n2.\tNext\r\n"));
    // Shapes and their fallback pictures are skipped.
    EXPECT_EQ(rtfText(R"({\rtf1 a{\shp{\*\shpinst{\sp{\sn n}{\sv v}}}{\shprslt pic}}b})"),
              QStringLiteral("ab"));
}

TEST(RtfReader, TablesGiveOneLinePerRow)
{
    EXPECT_EQ(rtfText(R"({\rtf1 \trowd\cellx1000\cellx2000 A1\cell B1\cell\row)"
                      R"(\trowd\cellx1000\cellx2000 A2\cell B2\cell\row After\par})"),
              QStringLiteral("A1\tB1\r\nA2\tB2\r\nAfter\r\n"));
    // Some writers end a cell's last paragraph with \par too.
    EXPECT_EQ(rtfText(R"({\rtf1 {{\pard\intbl A\par}\cell}{{\pard\intbl B\par}\cell}\row})"),
              QStringLiteral("A\tB\r\n"));
    // A cell of several paragraphs keeps its inner breaks.
    EXPECT_EQ(rtfText(R"({\rtf1 one\par two\cell three\cell\row})"),
              QStringLiteral("one\r\ntwo\tthree\r\n"));
}

TEST(RtfReader, UnicodeWithFallbacks)
{
    // \uc gives the number of fallback characters after each \u.
    EXPECT_EQ(rtfText(R"({\rtf1 caf\u233? na\u239?ve})"), QStringLiteral("café naïve"));
    EXPECT_EQ(rtfText(R"({\rtf1\uc0 \u1055\u1088\u1080 , ok})"), QStringLiteral("При, ok"));
    EXPECT_EQ(rtfText(R"({\rtf1\uc2 \u26085\'93\'fa!})"), QStringLiteral("日!"));
    // A hex escape and a control word count as one fallback character each.
    EXPECT_EQ(rtfText(R"({\rtf1\uc1 \u8364\'80x \u8212\emdash y})"), QStringLiteral("€x —y"));
    // \uc belongs to its group.
    EXPECT_EQ(rtfText(R"({\rtf1 {\uc3 \u65abc}\u66d})"), QStringLiteral("AB"));
    // Fallback skipping never crosses a group boundary.
    EXPECT_EQ(rtfText(R"({\rtf1\uc4 {\u67}kept})"), QStringLiteral("Ckept"));
    // Values above 32767 are written negative.
    EXPECT_EQ(rtfText(R"({\rtf1 \u-3913?})"), QStringLiteral("\uf0b7"));
    // Characters outside the BMP come as surrogate pairs, in either spelling.
    EXPECT_EQ(rtfText(R"({\rtf1 \u55357?\u56832? \u-10179?\u-8704?})"),
              QStringLiteral("\U0001F600 \U0001F600"));
    EXPECT_EQ(rtfText(R"({\rtf1 \uc0 \u55357\uc1 \u56832\'3f})"), QStringLiteral("\U0001F600"));
    EXPECT_EQ(rtfText(R"({\rtf1 \u128512?})"), QStringLiteral("\U0001F600"));
    // Halves without their partner become U+FFFD, so the text stays valid.
    EXPECT_EQ(rtfText(R"({\rtf1 a\u55357?b\u56832?c\u55357?})"),
              QStringLiteral("a\ufffdb\ufffdc\ufffd"));
    // \u0 is a control character like any other and gives nothing; \u10 is a
    // line break.
    EXPECT_EQ(rtfText(R"({\rtf1 a\u0?b\u10?d})"), QStringLiteral("ab\r\nd"));
}

TEST(RtfReader, ValuesNoCharacterHasBecomeTheReplacementCharacter)
{
    // Like a lone surrogate: the reader sees something stood there.
    struct Case
    {
        const char *rtf;
        QString text;
    };
    const Case cases[] = {
        {R"({\rtf1 a\u1114112?b})", QStringLiteral("a\ufffdb")},  // one past U+10FFFF
        {R"({\rtf1 a\u99999999?b})", QStringLiteral("a\ufffdb")}, // far past
        {R"({\rtf1 a\u-32769?b})", QStringLiteral("a\ufffdb")},   // below 16 bits
        {R"({\rtf1 a\u-99999?b})", QStringLiteral("a\ufffdb")},
        {R"({\rtf1 a\u1114111?b})", QStringLiteral("a\U0010FFFFb")}, // the last one there is
        {R"({\rtf1 a\u-32768?b})", QStringLiteral("a\u8000b")},      // the lowest 16-bit value
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rtf);
        EXPECT_EQ(rtfText(c.rtf), c.text);
    }
}

TEST(RtfReader, CodePages)
{
    // Windows-1252 unless the document says otherwise.
    EXPECT_EQ(rtfText(R"({\rtf1 \'80 \'e9 \'9f})"), QStringLiteral("€ é Ÿ"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fswiss Arial;}})"
                      R"(\f0 \'cf\'f0\'e8\'e2\'e5\'f2 \'b9 \'88\par})"),
              QStringLiteral("Привет № €\r\n"));
    // A font's charset decides for the text in that font.
    EXPECT_EQ(
        rtfText(R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;})"
                R"({\f1\fswiss\fcharset204 Arial Cyr;}}\f0 caf\'e9 {\f1 \'c4\'e0} \'c4\f1 \'c4})"),
        QStringLiteral("café Да ÄД"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset161 Greek;}}\'e1\'e2\'e3 \'c1})"),
              QStringLiteral("αβγ Α"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi{\fonttbl{\f0\fcharset238 CE;}}\f0 Za\'bf\'f3\'b3\'e6})"),
              QStringLiteral("Zażółć"));
    // \plain returns to the default font and its charset.
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\deff1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}})"
                      R"(\f0 \'c4\plain \'c4})"),
              QStringLiteral("ÄД"));
    // An explicit font code page wins over the charset.
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset0\cpg1251 X;}}\'c4})"),
              QStringLiteral("Д"));
    // The old character set words.
    EXPECT_EQ(rtfText(R"({\rtf1\mac \'8e\'a5})"), QStringLiteral("é•"));
    EXPECT_EQ(rtfText(R"({\rtf1\pc \'82\'c4})"), QStringLiteral("é─"));
    EXPECT_EQ(rtfText(R"({\rtf1\pca \'d5})"), QStringLiteral("ı"));
    // A code page nobody knows falls back to Windows-1252.
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\ansicpg9999 \'e9})"), QStringLiteral("é"));
    // Raw 8-bit bytes are in the document's code page too.
    EXPECT_EQ(rtfText("{\\rtf1\\ansi\\ansicpg1251 \xc4\xe0}"), QStringLiteral("Да"));
}

TEST(RtfReader, DoubleByteCodePages)
{
    // Shift JIS: pairs of bytes, the second one sometimes a plain letter.
    EXPECT_EQ(
        rtfText(R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;})"
                R"({\f1\fnil\fcharset128 MS Mincho;}}{\f1 \'82\'a0\'83e\'93\'fa\'96\'7b}\par})"),
        QStringLiteral("あテ日本\r\n"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 SimSun;}})"
                      R"(\f0 \'d6\'d0\'ce\'c4})"),
              QStringLiteral("中文"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi{\fonttbl{\f0\fcharset136 MingLiU;}}\f0 \'a4\'a4\'a4\'e5})"),
              QStringLiteral("中文"));
    EXPECT_EQ(rtfText(R"({\rtf1\ansi{\fonttbl{\f0\fcharset129 Gulim;}}\f0 \'c7\'d1\'b1\'db})"),
              QStringLiteral("한글"));
    // A lead byte cut off by a font change is not glued to the next font's text.
    EXPECT_EQ(rtfText(R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset128 J;}})"
                      R"({\f1 \'82}{\f0 \'e9})"),
              QStringLiteral("\ufffdé"));
}

TEST(RtfReader, BinaryDataIsSkipped)
{
    QByteArray data("{\\rtf1 a{\\pict\\bin6 ");
    data.append("}{\\\x00\xff", 6);
    data.append("}b\\bin3 x}y}");
    EXPECT_EQ(rtfText(data), QStringLiteral("ab"));
    // A count past the end of the input ends the document.
    EXPECT_EQ(rtfText(R"({\rtf1 a\bin99999999999999999999 data})"), QStringLiteral("a"));
    EXPECT_EQ(rtfText(R"({\rtf1 a\bin-5 b\bin c})"), QStringLiteral("abc"));
}

TEST(RtfReader, NotRichText)
{
    for (const char *data : {"", "{\\rt", "Hello", " {\\rtf1 x}", "{\\RTF1 x}"}) {
        const quorvane::RtfResult result = readRtf(QByteArrayView(data));
        EXPECT_FALSE(result.ok) << data;
        EXPECT_FALSE(result.error.isEmpty()) << data;
    }
}

TEST(RtfReader, DamagedFilesGiveTheirText)
{
    // Missing closing braces: the text so far.
    EXPECT_EQ(rtfText(R"({\rtf1 {\b open {\i deeper)"), QStringLiteral("open deeper"));
    // An early closing brace ends the document, as in other readers.
    EXPECT_EQ(rtfText(R"({\rtf1 one} two})"), QStringLiteral("one"));
    // Cut off inside a control word, a hex escape, a \u or right after '\'.
    EXPECT_EQ(rtfText(R"({\rtf1 a\pa)"), QStringLiteral("a"));
    EXPECT_EQ(rtfText(R"({\rtf1 a\'4)"), QStringLiteral("a"));
    EXPECT_EQ(rtfText(R"({\rtf1 a\'4z)"), QStringLiteral("az"));
    EXPECT_EQ(rtfText(R"({\rtf1 a\u12)"), QStringLiteral("a"));
    EXPECT_EQ(rtfText("{\\rtf1 a\\"), QStringLiteral("a"));
    EXPECT_EQ(rtfText("{\\rtf"), QString());
    // Control bytes and NULs in the text are dropped.
    const char controls[] = "{\\rtf1 a\x00\x01\x1f"
                            "b}";
    EXPECT_EQ(rtfText(QByteArrayView(controls, sizeof(controls) - 1)), QStringLiteral("ab"));
}

TEST(RtfReader, DeepNestingNeedsNoRecursion)
{
    for (const qsizetype depth : {qsizetype(100'000), qsizetype(3'000'000)}) {
        QByteArray data("{\\rtf1 start");
        data.append(repeated("{\\b ", depth));
        data.append("deep");
        data.append(repeated("}", depth));
        data.append(" end}");
        EXPECT_EQ(rtfText(data), QStringLiteral("startdeep end")) << depth;
    }
    // Nesting that never closes.
    EXPECT_EQ(rtfText(QByteArray("{\\rtf1 x") + repeated("{", 2'000'000) + "y"),
              QStringLiteral("xy"));
    // A skipped destination deep down is left again when its group closes.
    QByteArray skipped("{\\rtf1 ");
    skipped.append(repeated("{", 50'000));
    skipped.append("{\\*\\x gone}kept");
    skipped.append(repeated("}", 50'000));
    skipped.append(" too}");
    EXPECT_EQ(rtfText(skipped), QStringLiteral("kept too"));
}

TEST(RtfReader, HugeTokensAreConsumedWhole)
{
    // A control word of a million letters or digits is one token.
    EXPECT_EQ(rtfText(QByteArray("{\\rtf1 a\\") + QByteArray(1'000'000, 'q') + " b}"),
              QStringLiteral("ab"));
    EXPECT_EQ(rtfText(QByteArray("{\\rtf1 a\\uc") + QByteArray(1'000'000, '9') + " b}"),
              QStringLiteral("ab"));
    EXPECT_EQ(rtfText(QByteArray("{\\rtf1 a\\u-") + QByteArray(1'000'000, '9') + " b}"),
              QStringLiteral("a\ufffd"));
}
