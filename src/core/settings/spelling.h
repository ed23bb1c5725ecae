#pragma once

#include <QString>

namespace quorvane::spelling {

// Spelling in the editor, in the same per-user store as the editor format
// ("Spelling" group): whether words are checked, and the dictionary's tag
// ("en_US"); no tag means the system locale's dictionary.
inline constexpr char group[] = "Spelling";
inline constexpr char checkKey[] = "CheckSpelling";
inline constexpr char languageKey[] = "Language";

inline constexpr bool defaultCheck = true;

bool readCheck();
void writeCheck(bool on);
// The stored tag, or "" when none was stored or it is no dictionary tag.
QString readLanguage();
void writeLanguage(const QString &tag);
// True for a tag as dictionaries are named: "en", "en_US", "de_DE_frami".
bool isLanguageTag(const QString &tag);

} // namespace quorvane::spelling
