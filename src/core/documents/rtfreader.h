#pragma once

#include <QByteArrayView>
#include <QRgb>
#include <QString>

#include <vector>

namespace quorvane {

struct RtfResult
{
    bool ok = false;
    QString text;  // the document's text with CR LF line breaks
    QString error; // why nothing could be read, when !ok
};

// How a run of text looks, as far as a post can say it.
struct RtfCharFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool fixedPitch = false; // in a font of the modern family or of fixed pitch
    bool label = false;      // a list label the writer put before an item's text
    int color = 0;           // into RtfFormatting::colors; 0: automatic
    int halfPoints = 24;
    int link = -1; // into RtfFormatting::links

    bool operator==(const RtfCharFormat &) const = default;
};

struct RtfParaFormat
{
    int listLevel = -1; // \ilvl, from 0
    int list = 0;       // \ls: the list the paragraph belongs to, 0 for none
    int leftIndent = 0; // twips
    int firstIndent = 0;
    bool inTable = false;
};

// What the reader saw besides the text, with offsets into RtfResult::text.
struct RtfFormatting
{
    struct Run
    {
        qsizetype start; // the format holds from here to the next run
        RtfCharFormat format;
    };
    struct Paragraph
    {
        qsizetype breakAt; // where the paragraph's own CR LF starts
        RtfParaFormat format;
        bool row; // a table row's end rather than a paragraph's
    };
    std::vector<Run> runs;
    std::vector<Paragraph> paragraphs;
    RtfParaFormat last;          // the paragraph the document ends in
    std::vector<QRgb> colors{0}; // the colour table; 0 stands for automatic
    std::vector<QString> links;  // addresses of hyperlink fields
};

// The plain text of a rich-text document: formatting, tables of fonts and
// colours, pictures, objects, headers, footers and field instructions are
// dropped; field results and the text of paragraphs, lines, tabs and table
// cells remain. Damaged input (unbalanced braces, a cut-off file, absurd
// nesting or binary counts) gives the text that could be recovered. Runs in
// time linear in the input and never recurses.
// With formatting, also the character and paragraph formats, colours and
// links a formatting-aware reader needs.
RtfResult readRtf(QByteArrayView data, RtfFormatting *formatting = nullptr);

} // namespace quorvane
