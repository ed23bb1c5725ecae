#pragma once

#include "forum/dialect.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace quorvane {

// One thing adapting changed, on the line of the post where it is.
struct AdaptChange
{
    int line = 1;
    QString description;
};

struct AdaptedPost
{
    QString text;
    std::vector<AdaptChange> changes;
};

// The post rewritten so that the forum shows it as the writer meant: sizes
// in the forum's scale, list and quote forms it accepts, unclosed tags
// closed where the writer's text ends them, crossed tags repaired, tags it
// lacks turned into the nearest it has or removed with their text kept,
// links given "http://", quotes deeper than it keeps flattened. The
// writer's words are never lost, and adapting again changes nothing.
AdaptedPost adaptPost(const Dialect &dialect, QStringView post);

// What the writer meant by the Sizes chooser's values 1 to 7 (HTML's font
// sizes), as a percentage of the normal size.
int chooserSizePercent(int value);

} // namespace quorvane
