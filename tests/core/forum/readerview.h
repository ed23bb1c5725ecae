#pragma once

#include <QString>

namespace quorvane::test {

// What a reader sees of an HTML fragment or page, one token a line: text
// runs with their styles and link, line ends, pictures (smilies by file
// name), rules, and the boxes (quote, cite, code, list, item, align, table)
// they sit in, indented. Two HTML texts that show the same give the same
// view, whatever their mark-up. The tree is built by an HTML5 parser
// (gumbo), as a browser builds it, so misnested tags land where a browser
// puts them.
QString readerView(const QString &html);

} // namespace quorvane::test
