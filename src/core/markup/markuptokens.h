#pragma once

#include "markup/knowntags.h"

#include <QStringView>

#include <cstdint>
#include <vector>

namespace quorvane {

// One tag of a post: "[", an optional "/", a name that starts with a letter
// (or is "*"), an optional "=value", and "]". Positions count UTF-16 units
// from the start of the text that was scanned.
struct MarkupTag
{
    qsizetype start = 0;          // the "["
    std::int32_t length = 0;      // through the "]"
    std::int32_t valueLength = 0; // the characters after "="
    std::int16_t nameLength = 0;
    bool closing = false;
    bool hasValue = false;
    int id = KnownTags::unknown;

    qsizetype end() const { return start + length; }
    qsizetype nameStart() const { return start + (closing ? 2 : 1); }
    qsizetype valueStart() const { return nameStart() + nameLength + 1; } // after "="
    QStringView name(QStringView text) const { return text.mid(nameStart(), nameLength); }
    QStringView value(QStringView text) const { return text.mid(valueStart(), valueLength); }
};

// Reads the tag whose "[" is at text[pos]; false when the brackets there are
// plain text ("a[0]", "[ here"). The id is left unknown.
bool readTagAt(QStringView text, qsizetype pos, MarkupTag &tag);

// Finds the tags of a text in order, skipping the contents of CODE, HTML, PHP
// and NOPARSE (which are text). The scanner keeps only which of those tags is
// open, so a text can be scanned in pieces that end at line breaks (tags never
// span lines), as an editor colours it block by block.
class MarkupScanner
{
public:
    static constexpr int noVerbatim = KnownTags::unknown;

    explicit MarkupScanner(const KnownTags &tags) : m_tags(tags) {}

    // The verbatim tag whose contents the next piece starts in, or noVerbatim.
    int verbatim() const { return m_verbatim; }
    void setVerbatim(int id) { m_verbatim = id; }

    // Calls onTag(const MarkupTag &) for each tag of text[from, to), with
    // positions in `text`. The closing tag of a verbatim tag is reported.
    template <typename OnTag>
    void scan(QStringView text, qsizetype from, qsizetype to, OnTag &&onTag);

    const KnownTags &knownTags() const { return m_tags; }

private:
    // The next "[" at or after `from` that starts the closing tag of the open
    // verbatim tag, or -1.
    qsizetype findVerbatimEnd(QStringView text, qsizetype from, qsizetype to) const;

    const KnownTags &m_tags;
    int m_verbatim = noVerbatim;
};

template <typename OnTag>
void MarkupScanner::scan(QStringView text, qsizetype from, qsizetype to, OnTag &&onTag)
{
    const QStringView piece = text.first(to);
    qsizetype pos = from;
    MarkupTag tag;
    while (pos < to) {
        if (m_verbatim != noVerbatim) {
            const qsizetype close = findVerbatimEnd(piece, pos, to);
            if (close < 0)
                return;
            readTagAt(piece, close, tag);
            tag.id = m_verbatim;
            m_verbatim = noVerbatim;
            onTag(tag);
            pos = tag.end();
            continue;
        }
        const qsizetype open = piece.indexOf(u'[', pos);
        if (open < 0)
            return;
        if (!readTagAt(piece, open, tag)) {
            pos = open + 1;
            continue;
        }
        tag.id = m_tags.find(tag.name(piece));
        if (!tag.closing && tag.id != KnownTags::unknown &&
            m_tags.info(tag.id).rule == TagRule::Verbatim)
            m_verbatim = tag.id;
        onTag(tag);
        pos = tag.end();
    }
}

} // namespace quorvane
