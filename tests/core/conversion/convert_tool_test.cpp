// The command-line converter, run as its own process.

#include "conversion/bbcode.h"
#include "conversion/previewpage.h"
#include "documents/documentfile.h"
#include "printing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace quorvane;

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun convert(const QStringList &args, const QByteArray &input = QByteArray())
{
    QProcess p;
    p.start(QStringLiteral(QUORVANE_CONVERT_PATH), args);
    ToolRun run;
    if (!p.waitForStarted(30000)) {
        run.err = "did not start";
        return run;
    }
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        run.err = "did not finish";
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

class ConvertTool : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ConvertTool, WritesThePreviewPage)
{
    const QString post = file(QStringLiteral("post with space.txt"),
                              "[b]caf\xc3\xa9[/B]\n:) [LIST=1][*]x[/LIST]\r\n");
    const ToolRun run = convert({QStringLiteral("--program-dir"), QStringLiteral("/srv/q]"), post});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "<b>caf&#233;</b><p>&nbsp;</p><img src=\"/srv/q>/Smilies/Smile.gif\"> "
                       "<ol><li>x</ol><title>Quorvane - Preview</title>\r\n");
    EXPECT_TRUE(run.err.isEmpty());

    const ToolRun joined = convert({QStringLiteral("--program-dir=/srv/q]"), post});
    EXPECT_EQ(joined.out, run.out);
}

TEST_F(ConvertTool, DefaultProgramDirectoryHoldsTheSmilies)
{
    const ToolRun run = convert({}, ":D");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString binDir = QFileInfo(QStringLiteral(QUORVANE_CONVERT_PATH)).absolutePath();
    EXPECT_EQ(run.out, "<img src=\"" + QDir::cleanPath(binDir).toUtf8() +
                           "/Smilies/Grin.gif\"><title>Quorvane - Preview</title>\r\n");
    EXPECT_TRUE(QFileInfo::exists(binDir + QStringLiteral("/Smilies/Grin.gif")));
}

TEST_F(ConvertTool, ReadsStandardInputWithoutFileOrWithDash)
{
    const QByteArray post = "[I]a[/I]\rb";
    const QByteArray expected = previewPageBytes(convertBBCode(
        QStringLiteral("[I]a[/I]\r\nb"), QStringLiteral("/p"), BlockHeaders::standard()));
    EXPECT_EQ(convert({QStringLiteral("--program-dir"), QStringLiteral("/p")}, post).out, expected);
    EXPECT_EQ(
        convert({QStringLiteral("--program-dir"), QStringLiteral("/p"), QStringLiteral("-")}, post)
            .out,
        expected);
    // An empty input is an empty post.
    const ToolRun empty = convert({QStringLiteral("--program-dir"), QStringLiteral("/p")});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "<title>Quorvane - Preview</title>\r\n");
}

TEST_F(ConvertTool, StripsFormatting)
{
    const QString post = file(QStringLiteral("p.txt"), "[URL=target]Home[/URL]\n[b]\xc3\xa9[/b]\n");
    const ToolRun run = convert({QStringLiteral("--strip"), post});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The file's final line break is the one saving adds, and is written again.
    EXPECT_EQ(run.out, "targetHome\r\n\xc3\xa9\r\n");
    EXPECT_EQ(convert({QStringLiteral("--strip"), QStringLiteral("-")}, "[LI[LIST=1]ST]").out,
              "\r\n");
}

TEST_F(ConvertTool, WritesTheDocumentText)
{
    const QString post = file(QStringLiteral("t.txt"), "a\nb\rc\r\nd\xe2\x82\xac");
    const ToolRun run = convert({QStringLiteral("--text"), post});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "a\r\nb\r\nc\r\nd\xe2\x82\xac\r\n");
    EXPECT_EQ(convert({QStringLiteral("--text")}, "x\n\n").out, "x\r\n\r\n");
}

TEST_F(ConvertTool, UnreadableFileNamesTheFileAndWritesNothing)
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
    for (const QStringList &args :
         {QStringList{missing}, QStringList{QStringLiteral("--strip"), missing},
          QStringList{QStringLiteral("--text"), m_dir.path()}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = convert(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(args.last().toUtf8())) << run.err.toStdString();
    }
}

TEST_F(ConvertTool, UsageErrorsExitWithTwo)
{
    const QString post = file(QStringLiteral("p.txt"), "x");
    const QList<QStringList> wrong = {
        {QStringLiteral("--bogus")},
        {QStringLiteral("-x"), post},
        {QStringLiteral("--strip"), QStringLiteral("--text"), post},
        {QStringLiteral("--strip"), QStringLiteral("--strip")},
        {post, post},
        {QStringLiteral("--program-dir")},
        {QStringLiteral("--program-dir="), post},
        {QStringLiteral("--strip"), QStringLiteral("--program-dir"), QStringLiteral("/d"), post},
    };
    for (const QStringList &args : wrong) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = convert(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("usage: quorvane-convert")) << run.err.toStdString();
    }
}

TEST_F(ConvertTool, WritesTheForumsHtml)
{
    const QString post = file(QStringLiteral("q.txt"), "[quote=Anna]Bring water[/quote]\n");
    const ToolRun run = convert(
        {QStringLiteral("--forum"), QStringLiteral("phpbb"), QStringLiteral("--html"), post});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "<blockquote><cite>Anna wrote:</cite><div>Bring water</div></blockquote>\n");
    // Generic is the preview page, as without --forum.
    EXPECT_EQ(
        convert({QStringLiteral("--forum"), QStringLiteral("generic"), QStringLiteral("--html"),
                 QStringLiteral("--program-dir"), QStringLiteral("/p"), post})
            .out,
        convert({QStringLiteral("--program-dir"), QStringLiteral("/p"), post}).out);
    const ToolRun unknown =
        convert({QStringLiteral("--forum"), QStringLiteral("vbulletin"), QStringLiteral("--html")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith(
        "quorvane-convert: --forum is one of generic, phpbb, smf, mybb\nusage: "))
        << unknown.err.toStdString();
}

TEST_F(ConvertTool, PrintsTheLengthAsTheForumCountsIt)
{
    struct Case
    {
        const char *forum;
        QByteArray post;
        int exitCode;
        QByteArray out;
    };
    // A file's CR LF and a final line break are read as Open reads them.
    const Case cases[] = {
        {"phpbb", QByteArray(59990, 'a') + "\"\"\"", 1, "60008 60000\n"},
        {"phpbb", "  a&b\r\nc  \r\n", 0, "9 60000\n"},
        {"smf", QByteArray(9999, 'a') + "\r\n" + QByteArray(9998, 'a') + "\r\n", 0,
         "19999 20000\n"},
        {"smf", QByteArray(19999, 'a') + "\n\n", 1, "20001 20000\n"},
        {"mybb", QByteArray(32768 * 2, 'x').replace("xx", "\xC3\xA9"), 1, "65536 65535\n"},
        {"MyBB", " \xF0\x9F\x98\x80\n", 0, "4 65535\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.forum);
        const QString post = file(QStringLiteral("post.txt"), c.post);
        const ToolRun run = convert({QStringLiteral("--length"), QStringLiteral("--forum"),
                                     QString::fromLatin1(c.forum), post});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(convert({QStringLiteral("--forum"), QString::fromLatin1(c.forum),
                           QStringLiteral("--length")},
                          c.post)
                      .out,
                  c.out);
    }
    const QList<QStringList> wrong = {
        {QStringLiteral("--length")},
        {QStringLiteral("--length"), QStringLiteral("--forum"), QStringLiteral("generic")},
        {QStringLiteral("--length"), QStringLiteral("--forum"), QStringLiteral("smf"),
         QStringLiteral("--html")},
        {QStringLiteral("--strip"), QStringLiteral("--forum"), QStringLiteral("smf")},
    };
    for (const QStringList &args : wrong) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = convert(args, "x");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("usage: quorvane-convert")) << run.err.toStdString();
    }
}

// --adapt prints the post adapted for the forum, the changes on standard
// error with their lines, and needs a forum.
TEST_F(ConvertTool, AdaptsThePostForTheForum)
{
    const QString post =
        file(QStringLiteral("post.txt"), "[list=1][*]one[/*][/list]\r\n[b]unclosed");
    const ToolRun run = convert(
        {QStringLiteral("--forum"), QStringLiteral("smf"), QStringLiteral("--adapt"), post});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "[list type=decimal][*]one[/list]\n[b]unclosed[/b]");
    EXPECT_TRUE(run.err.contains(":1: [list=1] written as [list type=decimal]"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(":2: [b] closed at the end of the post")) << run.err.toStdString();
    const ToolRun wrong = convert({QStringLiteral("--adapt")}, "x");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains("--adapt needs --forum")) << wrong.err.toStdString();
}

TEST_F(ConvertTool, ReadsItsInputAsOpenDoesWithoutTheFinalLineBreak)
{
    // What --text writes is what Save would write after Open: the same bytes.
    const QByteArray saved = "one\r\ntwo\r\n";
    const QString post = file(QStringLiteral("saved.txt"), saved);
    EXPECT_EQ(convert({QStringLiteral("--text"), post}).out, saved);
    EXPECT_EQ(convert({QStringLiteral("--text")}, saved).out, saved);
    EXPECT_EQ(convert({QStringLiteral("--strip")}, "[b]x[/b]\n").out, "x\r\n");
}

TEST_F(ConvertTool, StandardInputHasTheSameSizeLimitAsAFile)
{
    const QString big = file(QStringLiteral("big.txt"), QByteArray());
    ASSERT_TRUE(QFile::resize(big, kMaxDocumentBytes + 1));
    const QByteArray refusal = "The file is larger than 64 MB, too large to open.\n";

    const ToolRun fromFile = convert({QStringLiteral("--text"), big});
    EXPECT_EQ(fromFile.exitCode, 1);
    EXPECT_TRUE(fromFile.err.endsWith(": " + refusal)) << fromFile.err.toStdString();

    // A pipe has no size to look at: reading stops at the limit.
    const ToolRun piped =
        convert({QStringLiteral("--text")}, QByteArray(kMaxDocumentBytes + 1, 'x'));
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_TRUE(piped.out.isEmpty());
    EXPECT_EQ(piped.err, "quorvane-convert: standard input: " + refusal);

    // An endless input ends too.
    QProcess endless;
    endless.setStandardInputFile(QStringLiteral("/dev/zero"));
    endless.start(QStringLiteral(QUORVANE_CONVERT_PATH), {QStringLiteral("--strip")});
    ASSERT_TRUE(endless.waitForFinished(60000));
    EXPECT_EQ(endless.exitCode(), 1);
    EXPECT_EQ(endless.readAllStandardError(), "quorvane-convert: standard input: " + refusal);
}
