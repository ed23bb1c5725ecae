// quorvane-convert --tags, run as its own process: the custom tags rendered
// by --html, checked by --check, and a malformed file refused with its line.

#include "support/toolrun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

constexpr char kTags[] = "[spoiler={TEXT1}]{TEXT2}[/spoiler]\n"
                         "<details><summary>{TEXT1}</summary>{TEXT2}</details>\n"
                         "\n"
                         "[box={NUMBER}]{TEXT}[/box]\n"
                         "<div style=\"width: {NUMBER}px\" onclick=\"steal()\">{TEXT}</div>\n";

struct ToolCase
{
    const char *what;
    QStringList args;
    QByteArray tags; // tags.txt
    QByteArray input;
    int exitCode;
    QByteArray out;
    QByteArray errHas = "";
};

class TagsTool : public testing::TestWithParam<ToolCase>
{
};

TEST_P(TagsTool, ReadsTheFileOrNamesItsLine)
{
    const ToolCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(quorvane::test::writeFile(dir.filePath(QStringLiteral("tags.txt")), c.tags));

    const quorvane::test::ToolRun run =
        quorvane::test::runTool(QStringLiteral(QUORVANE_CONVERT_PATH), c.args, c.input, dir.path());
    quorvane::test::expectRun(run, c.exitCode, c.out, c.errHas);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TagsTool,
    testing::Values(
        ToolCase{"html_renders_them_sanitised",
                 {"--html", "--forum", "phpbb", "--tags", "tags.txt"},
                 kTags,
                 "[spoiler=End]He [b]lives[/b][/spoiler] [box=9]a[/box]",
                 0,
                 "<details><summary>End</summary>He <strong class=\"text-strong\">lives</strong>"
                 "</details> <div style=\"width: 9px\">a</div>\n"},
        ToolCase{"check_flags_a_value_its_token_refuses",
                 {"--check", "--no-spelling", "--tags", "tags.txt"},
                 kTags,
                 "[box=1x]a[/box] [spoiler=a]b[/spoiler]",
                 1,
                 "<stdin>:1:1: error: [box=1x]: \"1x\" is not a {NUMBER} value\n"},
        ToolCase{"length_counts_the_raw_post",
                 {"--length", "--forum", "smf", "--tags", "tags.txt"},
                 kTags,
                 "[box=1]a[/box]",
                 0,
                 "14 20000\n"},
        ToolCase{"a_malformed_file_names_its_line",
                 {"--html", "--forum", "mybb", "--tags", "tags.txt"},
                 "[x]{TEXT}[/x]\n<b>{TEXT}</b>\n[y]\n",
                 "post",
                 2,
                 "",
                 "tags.txt:3: a blank line must follow the replacement on line 2"}));

} // namespace
