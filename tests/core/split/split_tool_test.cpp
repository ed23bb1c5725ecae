// quorvane-convert --split, run as its own process: the parts with their form
// feed lines in UTF-8 and CR LF, the counting options, and the exit codes.

#include "support/toolrun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

struct ToolCase
{
    const char *what;
    QStringList args;
    QByteArray input; // on standard input, or in post.txt when args name it
    int exitCode;
    QByteArray out;
    QByteArray errHas = "";
};

class SplitTool : public testing::TestWithParam<ToolCase>
{
};

TEST_P(SplitTool, PrintsThePartsOrSaysWhatCannotFit)
{
    const ToolCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(quorvane::test::writeFile(dir.filePath(QStringLiteral("post.txt")), c.input));

    const quorvane::test::ToolRun run =
        quorvane::test::runTool(QStringLiteral(QUORVANE_CONVERT_PATH), c.args, c.input, dir.path());
    quorvane::test::expectRun(run, c.exitCode, c.out, c.errHas);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SplitTool,
    testing::Values(
        ToolCase{"parts_each_with_a_form_feed_line",
                 {"--split", "12"},
                 "Aa bb.\n\n[b]Cc dd \xC3\xA9\xC3\xA9[/b]",
                 0,
                 "Aa bb.\r\n\f\r\n[b]Cc dd[/b]\r\n\f\r\n[b]\xC3\xA9\xC3\xA9[/b]\r\n\f\r\n"},
        ToolCase{"a_file_with_CR_LF_counted_as_two",
                 {"--split", "6", "--break", "2", "post.txt"},
                 "ab\r\ncd\r\nef",
                 0,
                 "ab\r\ncd\r\n\f\r\nef\r\n\f\r\n"},
        ToolCase{"counting_the_text_only",
                 {"--split", "4", "--count", "text"},
                 "[b]abcd[/b]",
                 0,
                 "[b]abcd[/b]\r\n\f\r\n"},
        ToolCase{"a_piece_that_cannot_fit",
                 {"--split", "8"},
                 "ok\nfine averylongword",
                 1,
                 "",
                 "standard input:2:6: a piece of 13 characters cannot fit in a part of 8"},
        ToolCase{"a_forums_counting_SMF_line_breaks_count_two",
                 {"--split", "4", "--forum", "smf"},
                 "a\nb\nc",
                 0,
                 "a\r\nb\r\n\f\r\nc\r\n\f\r\n"},
        ToolCase{"phpBB_counts_an_ampersand_as_five",
                 {"--split", "8", "--forum", "phpbb"},
                 "a&b c&d",
                 0,
                 "a&b\r\n\f\r\nc&d\r\n\f\r\n"},
        ToolCase{"MyBB_counts_bytes",
                 {"--forum", "mybb", "--split", "4"},
                 "\xC3\xA9\xC3\xA9 \xC3\xA9",
                 0,
                 "\xC3\xA9\xC3\xA9\r\n\f\r\n\xC3\xA9\r\n\f\r\n"},
        ToolCase{"a_forum_with_its_own_counting_options",
                 {"--split", "8", "--forum", "mybb", "--break", "2"},
                 "x",
                 2,
                 "",
                 "--count and --break do not go with --forum"},
        ToolCase{"a_limit_that_is_no_number", {"--split", "many"}, "x", 2, "", "--split"},
        ToolCase{"count_without_split", {"--count", "text"}, "x", 2, "", "--count"}),
    [](const auto &run) { return std::string(run.param.what); });

} // namespace
