#pragma once

#include "markup/knowntags.h"
#include "markup/markuptokens.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace quorvane {

class Speller;

// A word of a line: its first UTF-16 unit and its length in units.
struct WordSpan
{
    qsizetype start;
    qsizetype length;
};

// A callable taken by reference without copying or allocating, so the word
// finder can live in one compiled place and still call a lambda per word.
class WordSink
{
public:
    template <typename F>
    explicit WordSink(F &f)
        : m_target(&f),
          m_call([](void *target, WordSpan word) { (*static_cast<F *>(target))(word); })
    {}
    void operator()(WordSpan word) const { m_call(m_target, word); }

private:
    void *m_target;
    void (*m_call)(void *, WordSpan);
};

// What is prose: the text between tags, outside CODE, HTML, PHP and NOPARSE,
// and outside the address of [URL]..., [EMAIL]..., [IMG] and [YOUTUBE] when
// the tag has no value (with a value, [URL=...]the text[/URL] is prose). Tag
// names and values, bare URLs (http://, https://, ftp://, www., mailto:),
// e-mail addresses and smiley codes are not.
// A word is a run of letters (with their marks) that may hold an apostrophe
// (' or ’) or a hyphen between two letters; a run with a digit or "_" in it,
// and a word of two or more letters that are all capitals (an acronym), is
// left out. Words glued to tags ([B]wrod[/B]) are words.
int proseWordsOf(const KnownTags &tags, QStringView line, int verbatimIn, WordSink onWord);

// Calls onWord(WordSpan) for each prose word of `line` (one line or editor
// block, no line breaks), which starts in verbatim state `verbatimIn`
// (MarkupScanner::noVerbatim or a KnownTags id); returns the state at its end.
template <typename OnWord>
int proseWords(const KnownTags &tags, QStringView line, int verbatimIn, OnWord &&onWord)
{
    return proseWordsOf(tags, line, verbatimIn, WordSink(onWord));
}

// A misspelled word of a whole text: its position (UTF-16 units from the
// start), 1-based line and column (code points, a tab as one) and up to 6
// suggestions.
struct Misspelling
{
    qsizetype position;
    int line;
    int column;
    QString word;
    QStringList suggestions;
};

// Every misspelling of a text, in order; words the speller cannot spell (in
// another script) are left out. Lines end at CR LF, CR, LF, U+2028
// and U+2029, as the editor's blocks do.
std::vector<Misspelling> findMisspellings(QStringView text, const KnownTags &tags,
                                          Speller &speller);

} // namespace quorvane
