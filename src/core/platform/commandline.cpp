#include "platform/commandline.h"

#include "platform/appinfo.h"

#include <cstdio>

namespace quorvane {

namespace {

// The options QGuiApplication, QApplication and the X11 platform take, with
// one dash or two. Those in the first list take a value.
constexpr const char *kQtValueOptions[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "qwindowtitle",
                                           "qwindowicon",
                                           "display",
                                           "geometry",
                                           "title",
                                           "name",
                                           "session",
                                           "style",
                                           "stylesheet",
                                           "qmljsdebugger"};
constexpr const char *kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// "style" for "-style", "--style" and "-style=x"; "" for anything else.
QString optionName(const QString &arg)
{
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(u'=', 0, 0);
}

template <typename List> bool listed(const List &list, const QString &name)
{
    for (const char *entry : list) {
        if (name == QLatin1String(entry))
            return true;
    }
    return false;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(u'-')) {
            files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.action = Action::Help;
            return line;
        } else if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            line.action = Action::Version;
            return line;
        } else if (const QString name = optionName(arg); listed(kQtValueOptions, name)) {
            if (!arg.contains(u'=') && ++i >= arguments.size()) {
                line.action = Action::UsageError;
                line.error = QStringLiteral("option %1 needs a value").arg(arg);
                return line;
            }
        } else if (!listed(kQtFlags, name) || arg.contains(u'=')) {
            line.action = Action::UsageError;
            line.error = QStringLiteral("unknown option %1").arg(arg);
            return line;
        }
    }
    if (!files.isEmpty()) {
        line.file = files.takeFirst();
        line.ignored = files;
    }
    return line;
}

QStringList CommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

std::optional<int> CommandLine::report() const
{
    switch (action) {
    case Action::Help:
        std::fputs(qPrintable(help()), stdout);
        return 0;
    case Action::Version:
        std::fputs(qPrintable(version()), stdout);
        return 0;
    case Action::UsageError:
        std::fprintf(stderr, "quorvane: %s\n%s", qPrintable(error), qPrintable(usage()));
        return 2;
    case Action::Run:
        break;
    }
    for (const QString &other : ignored)
        std::fprintf(stderr, "quorvane: one post is open at a time; not opening \"%s\"\n",
                     qPrintable(other));
    return std::nullopt;
}

QString CommandLine::usage()
{
    return QStringLiteral("usage: quorvane [--help] [--version] [FILE]\n");
}

QString CommandLine::help()
{
    return usage() +
           QStringLiteral("Compose forum posts in BBCode.\n"
                          "\n"
                          "FILE opens as File > Open opens it. When Quorvane already runs, its\n"
                          "window comes to the front and opens FILE instead of a second window.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "  -v, --version  show the version and exit\n"
                          "\n"
                          "Qt's own options (-style, -platform, -display, ...) are accepted.\n"
                          "See quorvane(1) for more.\n");
}

QString CommandLine::version()
{
    return QStringLiteral("quorvane %1\n").arg(QLatin1String(appinfo::version));
}

} // namespace quorvane
