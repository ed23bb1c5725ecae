#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace quorvane {

// How deep HTML may nest before its structure is flattened: deeper than any
// reader can follow, shallow enough that the HTML parser's walks down its
// stack of open elements stay short.
constexpr int kHtmlMaxDepth = 100;

// The same UTF-8 HTML with the tags that would open elements deeper than
// maxDepth left out, with their end tags; their text stays where it was.
// Tags keep at most 64 attributes, and formatting elements left open across
// blocks are closed once many are (a browser copies each of them into every
// later block). Depth is followed as the HTML parser builds its tree (implied
// end tags, scopes, void elements, raw text), erring on the deeper side, so
// that the parser never nests deeper than a small multiple of maxDepth.
// Markup within the limits comes back byte for byte.
QByteArray shallowHtml(QByteArrayView html, int maxDepth = kHtmlMaxDepth);

} // namespace quorvane
