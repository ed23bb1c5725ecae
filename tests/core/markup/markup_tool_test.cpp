// quorvane-convert --check, run as its own process: the compilers' line form,
// the file's name as given, misspellings among the problems, and the exit
// codes.

#include "support/toolrun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// Runs in `dir`, with the settings store under it.
quorvane::test::ToolRun check(const QStringList &args, const QByteArray &input, const QString &dir)
{
    return quorvane::test::runTool(
        QStringLiteral(QUORVANE_CONVERT_PATH), args, input, dir, [](QProcessEnvironment &env) {
            // Enchant's personal lists under `dir` too; the C
            // locale spells as en_US.
            env.remove(QStringLiteral("ENCHANT_CONFIG_DIR"));
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        });
}

struct ToolCase
{
    const char *what;
    QStringList args;
    QByteArray input; // written to post.txt and to standard input
    int exitCode;
    QByteArray out;
    QByteArray settings = ""; // the store's contents
};

class CheckTool : public testing::TestWithParam<ToolCase>
{
};

TEST_P(CheckTool, PrintsProblemsAndExits)
{
    const ToolCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(quorvane::test::writeFile(dir.filePath(QStringLiteral("post.txt")), c.input));
    ASSERT_TRUE(quorvane::test::writeFile(dir.filePath(QStringLiteral("Quorvane/Quorvane.ini")),
                                          c.settings));
    const quorvane::test::ToolRun run = check(c.args, c.input, dir.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), c.out.toStdString());
    if (c.exitCode == 2)
        EXPECT_TRUE(run.err.startsWith("quorvane-convert: ")) << run.err.toStdString();
    else
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

const ToolCase kToolCases[] = {
    {"clean file", {"--check", "post.txt"}, "[b]x[/B]\r\n", 0, ""},
    {"problems in order",
     {"--check", "post.txt"},
     "caf\xc3\xa9\t[/B]\n[QUOTE]\r\n  [SIZE=9]x[/SIZE]\n",
     1,
     "post.txt:1:1: spelling: 'caf\xc3\xa9' (cafe, caff)\n"
     "post.txt:1:6: error: [/B] closes nothing\n"
     "post.txt:2:1: error: [QUOTE] is never closed\n"
     "post.txt:3:3: error: [SIZE=9]: sizes run from 1 to 7\n"},
    {"standard input", {"--check"}, "x[*]", 1, "<stdin>:1:2: error: [*] is outside a list\n"},
    {"dash for standard input, spelling off",
     {"--no-spelling", "--check", "-"},
     "[I]",
     1,
     "<stdin>:1:1: error: [I] is never closed\n"},
    {"the forum's own tags",
     {"--check", "post.txt"},
     "[centre]x[/Centre] [abbr]",
     1,
     "post.txt:1:20: error: [abbr] is never closed\n",
     "[EditorFormat]\nForumTags=CENTRE abbr\n"},
    {"prose only, and a word with no suggestion",
     {"--check", "--lang", "en_US", "post.txt"},
     "[URL=http://exampel.com]a lnik[/URL] me@exmple.com :rolleyes:\n"
     "[CODE]speling[/CODE] [COLOR=rde]qzxqzxqz[/COLOR]",
     1,
     "post.txt:1:27: spelling: 'lnik' (link)\n"
     "post.txt:2:33: spelling: 'qzxqzxqz'\n"},
    {"a quote in other scripts is not misspelt",
     {"--check", "--lang", "en_US", "post.txt"},
     "[QUOTE]\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7"
     "[/QUOTE] fine\n",
     0,
     ""},
    {"misspelt, suggestions left out",
     {"--check", "--lang", "en_US", "--no-suggestions", "post.txt"},
     "a lnik",
     1,
     "post.txt:1:3: spelling: 'lnik'\n"},
    {"the forum's warnings among the problems",
     {"--check", "--no-spelling", "--forum", "smf", "post.txt"},
     "[list=1][*]a[/list] [/u]\n[b]x",
     1,
     "post.txt:1:1: warning: SMF 2.1 shows [list=1] as text: use [list type=decimal]\n"
     "post.txt:1:21: error: [/u] closes nothing\n"
     "post.txt:1:21: warning: SMF 2.1 shows [/u] as text\n"
     "post.txt:2:1: error: [b] is never closed\n"},
    {"no suggestions without check", {"--no-suggestions", "post.txt"}, "", 2, ""},
    {"misspelt, but spelling off", {"--check", "--no-spelling", "post.txt"}, "a wrod", 0, ""},
    {"dictionary not installed", {"--check", "--lang", "qq_ZZ", "post.txt"}, "a wrod", 2, ""},
    {"lang without check", {"--lang", "en_US", "post.txt"}, "", 2, ""},
    {"lang with spelling off", {"--check", "--no-spelling", "--lang", "en_US"}, "", 2, ""},
    {"no spelling without check", {"--no-spelling", "post.txt"}, "", 2, ""},
    {"two modes", {"--check", "--strip", "post.txt"}, "", 2, ""},
    {"missing file", {"--check", "absent.txt"}, "", 2, ""},
};

INSTANTIATE_TEST_SUITE_P(Runs, CheckTool, testing::ValuesIn(kToolCases),
                         [](const testing::TestParamInfo<ToolCase> &param) {
                             return std::to_string(param.index);
                         });

} // namespace
