// What `quorvane [OPTION]... [FILE]...` asks for.
#include "platform/commandline.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// "run FILE [| IGNORED...]", "help", "version" or "error: WHY".
std::string described(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::Help:
        return "help";
    case CommandLine::Action::Version:
        return "version";
    case CommandLine::Action::UsageError:
        return "error: " + line.error.toStdString();
    case CommandLine::Action::Run:
        break;
    }
    QString run = QStringLiteral("run ") + line.file;
    if (!line.ignored.isEmpty())
        run += QStringLiteral(" | ") + line.ignored.join(u' ');
    return run.toStdString();
}

TEST(CommandLine, ReadsWhatIsAsked)
{
    // Arguments separated by spaces, and what they ask for.
    const std::pair<const char *, const char *> cases[] = {
        {"", "run "},
        {"p.txt", "run p.txt"},
        // One post at a time: the rest are named and left alone.
        {"p.txt q.txt r", "run p.txt | q.txt r"},
        {"--help", "help"},
        {"p.txt -h", "help"},
        {"--version", "version"},
        {"-v p.txt", "version"},
        {"--bogus p.txt", "error: unknown option --bogus"},
        {"-x", "error: unknown option -x"},
        // After "--", and alone, a dash starts a file name.
        {"-- --help", "run --help"},
        {"-", "run -"},
        // Qt's own options, with their values, are for QApplication.
        {"-style fusion p.txt", "run p.txt"},
        {"--platform xcb -reverse p.txt", "run p.txt"},
        {"-session=abc p.txt", "run p.txt"},
        {"p.txt -style", "error: option -style needs a value"},
        {"-reverse=1", "error: unknown option -reverse=1"},
    };
    for (const auto &[args, expected] : cases) {
        SCOPED_TRACE(args);
        const QStringList list = QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(described(CommandLine::parse(list)), expected);
    }
}

} // namespace
