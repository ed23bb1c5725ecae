#pragma once

#include "markup/knowntags.h"
#include "markup/markuptokens.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace quorvane {

// Something a forum would render wrongly, at the "[" of the tag it concerns.
struct MarkupProblem
{
    qsizetype position = 0;
    qsizetype length = 0; // the tag's length
    QString message;      // one line, e.g. "[QUOTE] is never closed"
};

// A tag that is open at some point of the text, outermost first.
struct OpenTag
{
    MarkupTag tag;
    qsizetype tagIndex = -1; // in the checker's tag list
};

// Pairs tags as they come, in order, and finds the problems. Fed by a
// MarkupScanner over the same text, so the check can stop anywhere (what is
// open at position P) or go on from where it stopped.
class MarkupChecker
{
public:
    MarkupChecker(QStringView text, const KnownTags &tags);

    // Checks up to `to` (a line break or the end: tags never span lines).
    void checkTo(qsizetype to);
    // Reports what is still open; call once, after the last checkTo.
    void finish();

    // Tags met so far, in order, and for each the index of its partner or -1.
    const std::vector<MarkupTag> &tags() const { return m_tags; }
    const std::vector<qsizetype> &partners() const { return m_partners; }
    // Problems found so far, in the order they were found; finish() sorts them.
    const std::vector<MarkupProblem> &problems() const { return m_problems; }
    std::vector<MarkupProblem> takeProblems() { return std::move(m_problems); }
    std::vector<MarkupTag> takeTags() { return std::move(m_tags); }
    std::vector<qsizetype> takePartners() { return std::move(m_partners); }
    const std::vector<OpenTag> &open() const { return m_open; }

private:
    void add(const MarkupTag &tag);
    void opening(const MarkupTag &tag, qsizetype index);
    void closing(const MarkupTag &tag, qsizetype index);
    bool listIsOpen() const;
    void report(const MarkupTag &tag, QString message);
    // The tag as written, shortened when its value is long.
    QString written(const MarkupTag &tag) const;
    // "[NAME]" or "[/NAME]" as written, without a value.
    QString named(const MarkupTag &tag, bool closing) const;

    QStringView m_text;
    const KnownTags &m_known;
    MarkupScanner m_scanner;
    qsizetype m_done = 0;
    int m_listId;
    std::vector<MarkupTag> m_tags;
    std::vector<qsizetype> m_partners;
    std::vector<OpenTag> m_open;
    std::vector<MarkupProblem> m_problems;
};

// The whole check of a post.
struct MarkupAnalysis
{
    std::vector<MarkupTag> tags;
    std::vector<qsizetype> partners;
    std::vector<MarkupProblem> problems; // in order of position

    // The index of the tag that contains position `pos` (from its "[" to just
    // after its "]"), or -1.
    qsizetype tagAt(qsizetype pos) const;
};

MarkupAnalysis analyseMarkup(QStringView text, const KnownTags &tags);

// The tags open at position `pos` (tags that end after `pos` do not count),
// outermost first; inside CODE the CODE tag is the innermost.
std::vector<OpenTag> openTagsAt(QStringView text, qsizetype pos, const KnownTags &tags);

} // namespace quorvane
