#pragma once

#include <QString>
#include <span>

namespace quorvane {

// A toolbar command that wraps the selection in a fixed tag pair.
struct TagPair
{
    const char *command; // the control's name
    const char *opening;
    const char *closing;
};

std::span<const TagPair> tagPairs();

// The text with every indent tag, in any case, removed.
QString removeIndentTags(const QString &text);

} // namespace quorvane
