#pragma once

#include "forum/dialect.h"
#include "forum/forum.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// A board's own tag, written as its administrators write it in the board's
// admin panel: the usage "[spoiler={TEXT1}]{TEXT2}[/spoiler]" and the HTML
// replacement "<details><summary>{TEXT1}</summary>{TEXT2}</details>" using
// the same tokens. Tokens: {TEXT}, {SIMPLETEXT}, {INTTEXT}, {URL},
// {LOCAL_URL}, {EMAIL}, {NUMBER}, {COLOR}, {IDENTIFIER}, each numbered
// ({TEXT1}, {TEXT2}) when one kind is used twice.
struct CustomTag
{
    QString usage;
    QString replacement;
    bool operator==(const CustomTag &) const = default;
};

// Why a definition or a file is refused; `line` counts from 1 (0: the file
// itself, when it cannot be read).
struct CustomTagError
{
    int line = 0;
    QString reason;
};

struct CustomTagsRead
{
    std::vector<CustomTag> tags;
    std::optional<CustomTagError> error; // set: nothing of the file is taken

    bool ok() const { return !error.has_value(); }
};

// The reason a usage line is refused, or empty.
QString usageProblem(QStringView usage);
// The reason a replacement is refused for that usage (a token it does not
// have), or empty. The usage must be right.
QString replacementProblem(QStringView usage, QStringView replacement);
// The tag's name as its usage writes it ("spoiler"), or empty.
QString customTagName(QStringView usage);

// The file a person can edit: each tag as its usage line, then its
// replacement line, then a blank line. UTF-8; CR LF reads as LF.
CustomTagsRead readCustomTags(QByteArrayView utf8);
CustomTagsRead readCustomTagsFile(const QString &path);
QByteArray writeCustomTags(const std::vector<CustomTag> &tags);
// Written whole or not at all; false with the reason in *error.
bool writeCustomTagsFile(const QString &path, const std::vector<CustomTag> &tags, QString *error);

// The program's own copy of a forum's custom tags, in the same file form:
// AppLocalDataLocation + "/custom-tags/<forum key>.txt". A file that does not
// read gives none.
QString storedCustomTagsPath(Forum forum);
std::vector<CustomTag> storedCustomTags(Forum forum);
bool storeCustomTags(Forum forum, const std::vector<CustomTag> &tags, QString *error);

// The replacement as a page may show it: only harmless elements and
// attributes are kept (no scripts, no event handlers, no javascript: or
// other foreign addresses, no style that fetches anything, no frames or
// embedded objects), every attribute in double quotes, stray braces as
// text. The parsed contents ({TEXT} between the tags) stand between
// elements only, never in an attribute. A token may stand only where its
// value cannot change that: an
// address starts with {URL} or {LOCAL_URL} (or a token that has no ':'), a
// style value takes {COLOR}, {NUMBER}, {IDENTIFIER}, {SIMPLETEXT} or
// {INTTEXT}. A picture loads only from the post's own address (a token),
// never from a server the replacement names; the Live Preview shows a
// remote one only when remote images are on, as with [img].
QString sanitisedReplacement(QStringView replacement, QStringView usage);

// A forum's whole tag set: its own tags, the board's custom tags after them
// (a custom tag with the name of one of the forum's own is left out, as the
// board would refuse it) and the names the writer listed in "Forum Tag
// Names..." as tags without a form (shown as text, never flagged).
struct ForumTagSet
{
    Forum forum = Forum::Generic;
    std::shared_ptr<const Dialect> dialect; // none for Forum::Generic
    std::vector<CustomTag> custom;          // as installed
    QStringList customNames;                // the custom tags' names, as written
    QStringList singleNames;                // those written without a close
    QStringList plainNames;                 // the "Forum Tag Names..." names
};

// Builds a tag set (reads each usage once); the built-in description stays
// as it is.
std::shared_ptr<const ForumTagSet> makeForumTagSet(Forum forum, std::vector<CustomTag> custom,
                                                   const QStringList &plainNames = {});

// The tag set the program uses for a forum: the one installed last, or the
// forum's own tags alone. Cheap: nothing is rebuilt per call. Any thread.
// Its dialect's tags are what a list of the forum's tags shows: the forum's
// own, then the custom ones (customNames), then the names without a form
// (plainNames; their `forms` are empty).
std::shared_ptr<const ForumTagSet> forumTagSet(Forum forum);
// The description to parse and write a post with (the forum's own for a
// forum with no custom tags). Not for Forum::Generic.
std::shared_ptr<const Dialect> forumDialect(Forum forum);
void installForumTagSet(std::shared_ptr<const ForumTagSet> set);

} // namespace quorvane
