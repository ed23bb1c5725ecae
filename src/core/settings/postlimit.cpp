#include "settings/postlimit.h"

#include "forum/dialect.h"
#include "settings/editorformat.h"
#include "settings/store.h"

#include <QSettings>

namespace quorvane::postlimit {

namespace {
QSettings openStore()
{
    return store::open();
}

QString qualified(const char *key)
{
    return store::qualified(group, key);
}

bool flag(const QSettings &settings, const char *key, bool fallback)
{
    return store::readFlag(settings, qualified(key), fallback);
}

qsizetype number(const QSettings &store, const char *key, qsizetype low, qsizetype high,
                 qsizetype fallback)
{
    bool ok = false;
    const qlonglong value = store.value(qualified(key)).toString().trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high ? qsizetype(value) : fallback;
}
} // namespace

Choice inForce(const Choice &stored, Forum forum)
{
    // "No limit" chosen while a forum is chosen is the writer's word: choosing
    // the forum already brought its limit, so this was asked for.
    if (forum == Forum::Generic || !stored.hasLimit() || stored.profile != forumKey(forum))
        return stored;
    return {stored.profile, stored.limit, forumLengthRule(dialect(forum).length.counting)};
}

Choice read()
{
    const QSettings store = openStore();
    Choice choice;
    const ForumProfile *profile = findForumProfile(store.value(qualified(profileKey)).toString());
    if (!profile)
        return choice;
    choice.profile = QString::fromLatin1(profile->key);
    choice.limit = number(store, limitKey, 1, maxLimit, profile->limit);
    if (choice.limit == 0)
        return Choice{}; // "Custom" without a number
    choice.rule.countTags = flag(store, countTagsKey, profile->rule.countTags);
    choice.rule.lineBreak = int(number(store, lineBreakKey, 1, 2, profile->rule.lineBreak));
    return choice;
}

void write(const Choice &choice)
{
    QSettings store = openStore();
    store.setValue(qualified(profileKey),
                   choice.hasLimit() ? choice.profile : QString::fromLatin1(noLimit));
    store.setValue(qualified(limitKey), qlonglong(choice.limit));
    store.setValue(qualified(countTagsKey), choice.rule.countTags);
    store.setValue(qualified(lineBreakKey), choice.rule.lineBreak);
    store.sync();
}

Labels readLabels()
{
    const QSettings store = openStore();
    Labels labels;
    labels.on = flag(store, labelsKey, labels.on);
    labels.atTop = flag(store, labelAtTopKey, labels.atTop);
    const QVariant text = store.value(qualified(labelTemplateKey));
    if (text.isValid() && !text.toString().trimmed().isEmpty())
        labels.labelTemplate = text.toString();
    return labels;
}

void writeLabels(const Labels &labels)
{
    QSettings store = openStore();
    store.setValue(qualified(labelsKey), labels.on);
    store.setValue(qualified(labelAtTopKey), labels.atTop);
    store.setValue(qualified(labelTemplateKey), labels.labelTemplate);
    store.sync();
}

void forget()
{
    QSettings store = openStore();
    store.remove(QString::fromLatin1(group));
    store.sync();
}

} // namespace quorvane::postlimit
