#pragma once

#include "forum/dialect.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace quorvane {

// The tags the toolbar's own buttons, choosers and prompts already write
// ("b", "font", "url", ...), as forums name them.
std::span<const char *const> toolbarTagNames();

// The forum's tags the toolbar lacks, in the forum's order: a writer finds
// them under Forum > Forum Tags. List items and a table's rows and cells are
// left out (they only stand inside their list or table).
std::vector<const TagDefinition *> forumOnlyTags(const Dialect &dialect);

// What a writer reads for a tag in the menu: "Strike-through [s]"; a tag the
// program has no word for is named by itself ("[spoiler]").
QString forumTagCaption(const TagDefinition &tag);

// A value a tag's opening asks for: the attribute's name ("" for the tag's
// own value, "[align=...]") and the usage's token for it ("ALIGN").
struct TagValue
{
    QString key;
    QString token;
};

// The form a tag is written in (its first) and the values it asks for, in
// the order they stand; optional values are not asked for.
struct TagInsertion
{
    const TagForm *form = nullptr;
    std::vector<TagValue> values;
};
TagInsertion tagInsertion(const TagDefinition &tag);

// What the question for a value says: "Alignment (left, center, right or
// justify)" for ALIGN, the token in words otherwise.
QString tagValueCaption(const TagValue &value);

// The form written around the selected text, its values in order in place of
// its tokens; a tag without a close goes in front of the text ("[hr]").
QString writtenTag(const TagForm &form, const QStringList &values, const QString &selected);

} // namespace quorvane
