#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::quoteauthors {

// The names last quoted with Quote Selection..., newest first, in the
// per-user store ("Quote" group).
inline constexpr char group[] = "Quote";
inline constexpr char authorsKey[] = "Authors";
inline constexpr int kKept = 10;

// The stored names: blank ones and repeats dropped, at most kKept.
QStringList read();
// Puts the name first (once); a blank name changes nothing.
void remember(const QString &name);
// Forgets the whole group (tests start from the default).
void forget();

} // namespace quorvane::quoteauthors
