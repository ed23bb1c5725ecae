#include "platform/webfetch.h"

#include "platform/appinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace quorvane {

std::unique_ptr<WebFetch> loadWebFetch(QString *error)
{
    // Found from the program's own folder, as installed and as built; the
    // library stays loaded for the rest of the session.
    QLibrary module(QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                    QLatin1String(appinfo::modulesFromBin) +
                                    QStringLiteral("/webfetch.so")));
    using Maker = WebFetch *(*)();
    const auto make = reinterpret_cast<Maker>(module.resolve(webFetchMaker));
    if (!make) {
        if (error)
            *error = module.errorString();
        return nullptr;
    }
    return std::unique_ptr<WebFetch>(make());
}

} // namespace quorvane
