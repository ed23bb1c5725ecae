#include "settings/forumchoice.h"

#include "settings/store.h"

#include <QSettings>

namespace quorvane::forumchoice {

Forum read()
{
    const QString key = store::open().value(store::qualified(group, chosenKey)).toString();
    return forumFromKey(key).value_or(Forum::Generic);
}

void write(Forum forum)
{
    QSettings settings = store::open();
    settings.setValue(store::qualified(group, chosenKey), forumKey(forum));
    settings.sync();
}

void forget()
{
    QSettings settings = store::open();
    settings.remove(QString::fromLatin1(group));
    settings.sync();
}

} // namespace quorvane::forumchoice
