#pragma once

#include "conversion/substitution.h"

#include <QString>

namespace quorvane {

// The 80 ordered deletions of "Remove Text Formatting", repeats included.
SubstitutionList strippingDeletions();

// The 80 deletions applied one after another, literally. Slow; kept as the
// definition that stripFormatting() is tested against. Test-only: the
// program reaches it only through stripFormatting() (chunks that need it).
QString stripFormattingReference(const QString &text);

// Same result as stripFormattingReference(), in about one pass.
QString stripFormatting(const QString &text);

} // namespace quorvane
