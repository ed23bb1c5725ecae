#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// What `quorvane [OPTION]... [FILE]...` asks for. Read before any
// QApplication exists, so --help and --version need no display and a second
// copy never opens one.
struct CommandLine
{
    enum class Action { Run, Help, Version, UsageError };

    Action action = Action::Run;
    // The post to open, as given; "" for none.
    QString file;
    // Files after the first: one post is open at a time.
    QStringList ignored;
    // After UsageError: what was wrong.
    QString error;

    // `arguments` without the program's name. Qt's own options (-style,
    // -platform, ...) are passed over: QApplication reads them from argv.
    static CommandLine parse(const QStringList &arguments);
    static QStringList arguments(int argc, char **argv);

    // Writes what --help, --version or a mistake asks for, or a note on the
    // files passed over; the exit status when the program ends here.
    std::optional<int> report() const;

    static QString usage();
    static QString help();
    // "quorvane 1.2.3"
    static QString version();
};

} // namespace quorvane
