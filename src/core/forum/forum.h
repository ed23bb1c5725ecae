#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace quorvane {

// The forum a post is written for. Generic is the program's own preview page;
// the others are shown, checked and counted as that forum's own code does.
enum class Forum { Generic, PhpBB, Smf, MyBB };

inline constexpr std::array<Forum, 4> allForums = {Forum::Generic, Forum::PhpBB, Forum::Smf,
                                                   Forum::MyBB};

// The stable key kept in the settings and given to quorvane-convert --forum:
// "generic", "phpbb", "smf", "mybb".
QString forumKey(Forum forum);
// The name a writer reads in menus: "Generic (Preview page)", "phpBB 3.3", ...
QString forumDisplayName(Forum forum);
// The forum with that key (case-insensitive); none for an unknown key.
std::optional<Forum> forumFromKey(QStringView key);
// "generic, phpbb, smf, mybb": for messages naming the known keys.
QString forumKeyList();

} // namespace quorvane
