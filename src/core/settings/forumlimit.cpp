#include "settings/forumlimit.h"

namespace quorvane::forumlimit {

std::optional<Forum> forumOfProfile(QStringView profile)
{
    // The forums' keys are their profiles' keys.
    const std::optional<Forum> forum = forumFromKey(profile);
    if (!forum || *forum == Forum::Generic || !findForumProfile(profile))
        return std::nullopt;
    return forum;
}

postlimit::Choice limitForForum(Forum forum, const postlimit::Choice &current)
{
    const std::optional<Forum> shown = forumOfProfile(current.profile);
    if (forum == Forum::Generic) {
        if (!shown || !current.hasLimit())
            return current;
        postlimit::Choice custom = current;
        custom.profile = QStringLiteral("custom");
        return custom;
    }
    if (shown == forum && current.hasLimit())
        return current;
    const QString key = forumKey(forum);
    const ForumProfile *profile = findForumProfile(key);
    if (!profile)
        return current;
    return postlimit::Choice{key, profile->limit, profile->rule};
}

Forum forumForLimit(const postlimit::Choice &limit, Forum current)
{
    if (!limit.hasLimit())
        return current;
    return forumOfProfile(limit.profile).value_or(Forum::Generic);
}

} // namespace quorvane::forumlimit
