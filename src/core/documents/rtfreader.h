#pragma once

#include <QByteArrayView>
#include <QString>

namespace quorvane {

struct RtfResult
{
    bool ok = false;
    QString text;  // the document's text with CR LF line breaks
    QString error; // why nothing could be read, when !ok
};

// The plain text of a rich-text document: formatting, tables of fonts and
// colours, pictures, objects, headers, footers and field instructions are
// dropped; field results and the text of paragraphs, lines, tabs and table
// cells remain. Damaged input (unbalanced braces, a cut-off file, absurd
// nesting or binary counts) gives the text that could be recovered. Runs in
// time linear in the input and never recurses.
RtfResult readRtf(QByteArrayView data);

} // namespace quorvane
