#include "forum/forum.h"

#include <QStringList>

namespace quorvane {

QString forumKey(Forum forum)
{
    switch (forum) {
    case Forum::Generic:
        return QStringLiteral("generic");
    case Forum::PhpBB:
        return QStringLiteral("phpbb");
    case Forum::Smf:
        return QStringLiteral("smf");
    case Forum::MyBB:
        return QStringLiteral("mybb");
    }
    return QStringLiteral("generic");
}

QString forumDisplayName(Forum forum)
{
    switch (forum) {
    case Forum::Generic:
        return QStringLiteral("Generic (Preview page)");
    case Forum::PhpBB:
        return QStringLiteral("phpBB 3.3");
    case Forum::Smf:
        return QStringLiteral("SMF 2.1");
    case Forum::MyBB:
        return QStringLiteral("MyBB 1.8");
    }
    return QString();
}

std::optional<Forum> forumFromKey(QStringView key)
{
    for (Forum forum : allForums) {
        if (key.compare(forumKey(forum), Qt::CaseInsensitive) == 0)
            return forum;
    }
    return std::nullopt;
}

QString forumKeyList()
{
    QStringList keys;
    for (Forum forum : allForums)
        keys.append(forumKey(forum));
    return keys.join(QStringLiteral(", "));
}

} // namespace quorvane
