#include "settings/quoteauthors.h"

#include "settings/store.h"

#include <QSettings>

namespace quorvane::quoteauthors {

namespace {
QStringList cleaned(const QStringList &names)
{
    QStringList out;
    for (const QString &name : names) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty() && !out.contains(trimmed) && out.size() < kKept)
            out << trimmed;
    }
    return out;
}
} // namespace

QStringList read()
{
    return cleaned(store::open().value(store::qualified(group, authorsKey)).toStringList());
}

void remember(const QString &name)
{
    if (name.trimmed().isEmpty())
        return;
    QStringList names = read();
    names.prepend(name);
    QSettings settings = store::open();
    settings.setValue(store::qualified(group, authorsKey), cleaned(names));
    settings.sync();
}

void forget()
{
    QSettings settings = store::open();
    settings.remove(QString::fromLatin1(group));
    settings.sync();
}

} // namespace quorvane::quoteauthors
