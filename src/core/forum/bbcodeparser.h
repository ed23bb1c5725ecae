#pragma once

#include "forum/dialect.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace quorvane {

// One form of a tag, read from its usage line once.
struct CompiledForm
{
    const TagForm *form = nullptr;
    QString name;
    QString defaultPattern;           // "{URL}", "{NUMBER}x{NUMBER}"; empty: no "=value"
    bool defaultOptional = false;     // "{TEXT?}"
    std::vector<QString> namedKeys;   // "type", "author", ...
    std::vector<QString> namedTokens; // "{LISTTYPE}", ...
    std::vector<bool> namedOptional;
    QString contentToken; // "TEXT", "URL", "CODE", ...
    bool hasClose = true;
};

// A tag as the writer uses it: its form and the checked values of its tokens
// (in the order they appear in the usage; the content's value last).
struct Element
{
    const CompiledForm *form = nullptr;
    std::vector<QString> tokens; // token names, "URL", "NUMBER", ...
    std::vector<QString> values; // checked values, written as the forum writes them
    qsizetype contentBegin = 0, contentEnd = 0;
};

struct Event
{
    enum Kind : unsigned char { Text, Open, Close, Whole };
    Kind kind = Text;
    int element = -1;    // for Open, Close, Whole
    qsizetype begin = 0; // for Text: the source range
    qsizetype end = 0;
};

// One change the forum makes to the post before it reads the tags: at `at`
// (in the text as it was before that round of changes), `removed`
// characters replaced by `inserted` ones.
struct SourceEdit
{
    qsizetype at = 0;
    qsizetype removed = 0;
    qsizetype inserted = 0;
};

struct ParsedPost
{
    QString source; // the post as the forum reads it (trimmed, lists balanced, ...)
    std::vector<Element> elements;
    std::vector<Event> events;
    // How `source` came from the post: rounds of changes, in order, each
    // sorted by position.
    std::vector<std::vector<SourceEdit>> edits;

    // The places in `source` of positions in the post (ascending); -1 for a
    // position the forum took out before reading.
    std::vector<qsizetype> sourcePositions(std::vector<qsizetype> postPositions) const;
};

// The checks the forum makes of a token's value; an empty optional result
// refuses the form. Shared by the parser (to choose a form) and the writer.
QString checkToken(const Dialect &dialect, QStringView token, QStringView value, bool *ok);

// Why an opening tag ("[box=12]") fits none of its tag's forms: the value
// that fails its token's rule, or the forms the tag takes. Empty when it
// fits, or when the dialect has no tag of that name.
QString openTagProblem(const Dialect &dialect, QStringView openTag);
// Why the contents of a tag whose form takes them as a value
// ("[go]{URL}[/go]") fail that value's rule; empty when they pass, or when
// the form takes text.
QString contentProblem(const Dialect &dialect, QStringView openTag, QStringView content);

// Reads a post the way the forum's parser does: the tags it accepts, paired
// and repaired by its rule, the rest text.
ParsedPost parseForumPost(const Dialect &dialect, QStringView post);

} // namespace quorvane
