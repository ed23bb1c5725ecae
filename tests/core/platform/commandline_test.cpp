// What `quorvane [OPTION]... [FILE]...` asks for.
#include "platform/commandline.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct LineCase
{
    QStringList args;
    CommandLine::Action action;
    QString file;
    QStringList ignored;
    QString error;
};

class CommandLineParse : public testing::TestWithParam<LineCase>
{
};

TEST_P(CommandLineParse, ReadsWhatIsAsked)
{
    const LineCase &c = GetParam();
    const CommandLine line = CommandLine::parse(c.args);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.file, c.file);
    EXPECT_EQ(line.ignored, c.ignored);
    EXPECT_EQ(line.error, c.error);
}

using A = CommandLine::Action;
const QString p = QStringLiteral("p.txt");
const QString q = QStringLiteral("q.txt");

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParse,
    testing::Values(
        LineCase{{}, A::Run, {}, {}, {}}, LineCase{{p}, A::Run, p, {}, {}},
        // One post at a time: the rest are named and left alone.
        LineCase{{p, q, QStringLiteral("r")}, A::Run, p, {q, QStringLiteral("r")}, {}},
        LineCase{{QStringLiteral("--help")}, A::Help, {}, {}, {}},
        LineCase{{p, QStringLiteral("-h")}, A::Help, {}, {}, {}},
        LineCase{{QStringLiteral("--version")}, A::Version, {}, {}, {}},
        LineCase{{QStringLiteral("-v"), p}, A::Version, {}, {}, {}},
        LineCase{{QStringLiteral("--bogus"), p},
                 A::UsageError,
                 {},
                 {},
                 QStringLiteral("unknown option --bogus")},
        LineCase{
            {QStringLiteral("-x")}, A::UsageError, {}, {}, QStringLiteral("unknown option -x")},
        // After "--" and as "-", a dash starts a file name.
        LineCase{{QStringLiteral("--"), QStringLiteral("--help")},
                 A::Run,
                 QStringLiteral("--help"),
                 {},
                 {}},
        LineCase{{QStringLiteral("-")}, A::Run, QStringLiteral("-"), {}, {}},
        // Qt's own options, with their values, are for QApplication.
        LineCase{{QStringLiteral("-style"), QStringLiteral("fusion"), p}, A::Run, p, {}, {}},
        LineCase{
            {QStringLiteral("--platform"), QStringLiteral("xcb"), QStringLiteral("-reverse"), p},
            A::Run,
            p,
            {},
            {}},
        LineCase{{QStringLiteral("-session=abc"), p}, A::Run, p, {}, {}},
        LineCase{{p, QStringLiteral("-style")},
                 A::UsageError,
                 {},
                 {},
                 QStringLiteral("option -style needs a value")},
        LineCase{{QStringLiteral("-reverse=1")},
                 A::UsageError,
                 {},
                 {},
                 QStringLiteral("unknown option -reverse=1")}));

} // namespace
