#include "documents/documentfile.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <csignal>
#include <functional>
#include <string>
#include <thread>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using quorvane::readDocumentBytes;
using quorvane::readDocumentFile;
using quorvane::writeDocumentFile;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

void putBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString plain(const QByteArray &bytes)
{
    const quorvane::ReadResult result = readDocumentBytes(bytes);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    return result.text;
}

// Runs `work` in a child process and returns what it reported. With
// `unprivileged`, the child first gives up root, since root reads and writes
// past every permission bit. `setup` runs in the child before that.
std::string inChild(const std::function<std::string()> &work, bool unprivileged,
                    const std::function<void()> &setup = {})
{
    int fds[2];
    if (pipe(fds) != 0) {
        return "pipe failed";
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (setup) {
            setup();
        }
        if (unprivileged && geteuid() == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) {
                _exit(3);
            }
        }
        const std::string out = work();
        const ssize_t written = write(fds[1], out.data(), out.size());
        _exit(written == ssize_t(out.size()) ? 0 : 2);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, size_t(got));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child failed";
    }
    return out;
}

std::string describe(const quorvane::WriteResult &result)
{
    return result.ok ? std::string("ok") : "error: " + result.error.toStdString();
}

std::string describe(const quorvane::ReadResult &result)
{
    return result.ok ? "ok: " + result.text.toStdString() : "error: " + result.error.toStdString();
}

// A temporary folder that an unprivileged child may use too.
struct OpenTempDir
{
    QTemporaryDir dir;
    OpenTempDir() { chmod(QFile::encodeName(dir.path()).constData(), 0777); }
    QString file(const QString &name) const { return dir.filePath(name); }
};

} // namespace

TEST(WriteDocumentFile, WritesTheTextAndOneLineBreak)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));

    ASSERT_TRUE(writeDocumentFile(path, QString()).ok);
    EXPECT_EQ(fileBytes(path), QByteArray("\r\n"));

    ASSERT_TRUE(writeDocumentFile(path, QStringLiteral("[B]Hi[/B]\r\nsecond line")).ok);
    EXPECT_EQ(fileBytes(path), QByteArray("[B]Hi[/B]\r\nsecond line\r\n"));

    // A post of only ASCII gives the bytes an 8-bit code page would.
    const QString ascii = QStringLiteral("Tabs\tand ~!@#$%^&*()_+{}|:\"<>? text");
    ASSERT_TRUE(writeDocumentFile(path, ascii).ok);
    EXPECT_EQ(fileBytes(path), ascii.toLatin1() + "\r\n");
}

TEST(WriteDocumentFile, OverwriteLeavesNothingOld)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));
    putBytes(path, QByteArray(100'000, 'o'));

    ASSERT_TRUE(writeDocumentFile(path, QStringLiteral("short")).ok);
    EXPECT_EQ(fileBytes(path), QByteArray("short\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("post.txt")});
}

TEST(WriteDocumentFile, RichTextNameStillGetsPlainText)
{
    QTemporaryDir dir;
    for (const char *name : {"post.rtf", "post.doc", "post.wri", "no-extension"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(writeDocumentFile(path, QStringLiteral("[I]x[/I]")).ok) << name;
        EXPECT_EQ(fileBytes(path), QByteArray("[I]x[/I]\r\n")) << name;
    }
}

TEST(WriteDocumentFile, NonAsciiRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unicode.txt"));
    const QString text = QStringLiteral("café — Привет — 日本語 — \U0001F600\r\n\tend ÿ€");

    ASSERT_TRUE(writeDocumentFile(path, text).ok);
    const QByteArray bytes = fileBytes(path);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_EQ(bytes, text.toUtf8() + "\r\n");

    const quorvane::ReadResult back = readDocumentFile(path);
    ASSERT_TRUE(back.ok) << back.error.toStdString();
    EXPECT_EQ(back.text, text);
}

TEST(WriteDocumentFile, RefusedWritesSayWhyAndLeaveNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-such-folder/post.txt"));
    const quorvane::WriteResult result = writeDocumentFile(missing, QStringLiteral("text"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("does not exist"))) << describe(result);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no-such-folder"))));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    const quorvane::WriteResult onFolder = writeDocumentFile(dir.path(), QStringLiteral("text"));
    EXPECT_FALSE(onFolder.ok);
    EXPECT_FALSE(onFolder.error.isEmpty());

    EXPECT_FALSE(writeDocumentFile(QString(), QStringLiteral("text")).ok);
}

TEST(WriteDocumentFile, FailedWriteKeepsTheOldContent)
{
    // The disk "fills up" part-way: the child may only make small files.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));
    putBytes(path, "old content\r\n");

    const std::string outcome =
        inChild([&] { return describe(writeDocumentFile(path, QString(200'000, u'n'))); }, false,
                [] {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit limit{8192, 8192};
                    setrlimit(RLIMIT_FSIZE, &limit);
                });
    EXPECT_EQ(outcome.rfind("error: ", 0), 0u) << outcome;
    EXPECT_EQ(fileBytes(path), QByteArray("old content\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("post.txt")});
}

TEST(WriteDocumentFile, NoPermissionIsReported)
{
    OpenTempDir tmp;
    const QString readOnly = tmp.file(QStringLiteral("read-only.txt"));
    putBytes(readOnly, "kept\r\n");
    chmod(QFile::encodeName(readOnly).constData(), 0444);

    const QString lockedDir = tmp.file(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(lockedDir));
    chmod(QFile::encodeName(lockedDir).constData(), 0555);
    const QString inLocked = lockedDir + QStringLiteral("/post.txt");

    const std::string first =
        inChild([&] { return describe(writeDocumentFile(readOnly, QStringLiteral("new"))); }, true);
    const std::string second =
        inChild([&] { return describe(writeDocumentFile(inLocked, QStringLiteral("new"))); }, true);
    EXPECT_EQ(first, "error: The file is read-only.");
    EXPECT_EQ(second.rfind("error: ", 0), 0u) << second;
    EXPECT_EQ(fileBytes(readOnly), QByteArray("kept\r\n"));
    EXPECT_FALSE(QFileInfo::exists(inLocked));
}

TEST(WriteDocumentFile, ReadersNeverSeeAHalfWrittenFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));
    const QString a(300'000, u'a');
    const QString b(300'000, u'b');
    ASSERT_TRUE(writeDocumentFile(path, a).ok);
    const QByteArray wholeA = a.toUtf8() + "\r\n";
    const QByteArray wholeB = b.toUtf8() + "\r\n";

    std::atomic<bool> writing{true};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (writing.load()) {
            const QByteArray seen = fileBytes(path);
            if (seen != wholeA && seen != wholeB) {
                ++torn;
            }
            ++reads;
        }
    });
    bool allOk = true;
    for (int i = 0; i < 60; ++i) {
        allOk = writeDocumentFile(path, i % 2 ? a : b).ok && allOk;
    }
    writing = false;
    reader.join();
    EXPECT_TRUE(allOk);
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(torn.load(), 0);
}

TEST(ReadDocumentBytes, PlainTextEncodings)
{
    EXPECT_EQ(plain(""), QString());
    EXPECT_EQ(plain("plain ASCII"), QStringLiteral("plain ASCII"));
    EXPECT_EQ(plain("caf\xC3\xA9 \xF0\x9F\x98\x80"), QStringLiteral("café \U0001F600"));
    // A UTF-8 byte-order mark is dropped; one later in the text is a character.
    EXPECT_EQ(plain("\xEF\xBB\xBFsigned\xEF\xBB\xBF"), QStringLiteral("signed\ufeff"));
    EXPECT_EQ(plain(QByteArray("\xFF\xFEh\0i\0\x3D\xD8\x00\xDE", 10)),
              QStringLiteral("hi\U0001F600"));
    EXPECT_EQ(plain(QByteArray("\xFE\xFF\0h\0i\x04\x1F", 8)), QStringLiteral("hiП"));
    EXPECT_EQ(plain(QByteArray("\xFF\xFEh\0i", 5)), QStringLiteral("h\ufffd"));
    // Anything that is not valid UTF-8 is Windows-1252, every byte of it.
    EXPECT_EQ(plain("caf\xE9 \x80 \x93quoted\x94 \x81"), QStringLiteral("café € “quoted” \u0081"));
    EXPECT_EQ(plain("\xC3\xA9 then \xE9"), QStringLiteral("Ã© then é"));
    EXPECT_EQ(plain("overlong \xC0\xAF"), QStringLiteral("overlong À¯"));
    EXPECT_EQ(plain("surrogate \xED\xA0\x80"), QStringLiteral("surrogate í\u00a0\u20ac"));
    EXPECT_EQ(plain("past U+10FFFF \xF4\x90\x80\x80"), QStringLiteral("past U+10FFFF ô\u0090€€"));
    EXPECT_EQ(plain("cut off \xE2\x82"), QStringLiteral("cut off â‚"));
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes;
    for (const QChar ch : text) {
        bytes.append(char(ch.unicode() & 0xFF));
        bytes.append(char(ch.unicode() >> 8));
    }
    return bytes;
}

// Which encoding the reader chose, and the text it gave.
TEST(ReadDocumentBytes, EncodingIsChosenByTheBytes)
{
    using E = quorvane::TextEncoding;
    struct Case
    {
        const char *what;
        QByteArray bytes;
        E encoding;
        QString text;
        qsizetype firstNonUtf8 = -1;
    };
    const Case cases[] = {
        {"ASCII", "plain", E::Utf8, QStringLiteral("plain")},
        {"UTF-8", "caf\xC3\xA9", E::Utf8, QStringLiteral("caf\u00e9")},
        {"UTF-8 with a stray NUL", QByteArray("one\0two three", 13), E::Utf8,
         QStringLiteral("one") + QChar(0) + QStringLiteral("two three")},
        {"UTF-16LE without a mark", QByteArray("h\0i\0 \0\x1F\x04!\0", 10), E::Utf16LittleEndian,
         QStringLiteral("hi \u041f!")},
        {"UTF-16BE without a mark", QByteArray("\0h\0i\0 \x04\x1F\0!", 10), E::Utf16BigEndian,
         QStringLiteral("hi \u041f!")},
        {"UTF-16LE, mostly Cyrillic",
         utf16le(QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440")),
         E::Utf16LittleEndian,
         QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440")},
        {"zeros on both sides are no UTF-16", QByteArray("\0\0\x01\0\0\x02PNG!\0\0", 12), E::Utf8,
         QString::fromUtf8(QByteArray("\0\0\x01\0\0\x02PNG!\0\0", 12))},
        {"one bad byte in UTF-8", "caf\xC3\xA9 and \xE9t\xC3\xA9", E::Windows1252,
         QStringLiteral("caf\u00c3\u00a9 and \u00e9t\u00c3\u00a9"), 10},
        {"cut off at the end", "ok \xE2\x82", E::Windows1252, QStringLiteral("ok \u00e2\u201a"), 3},
        {"UTF-8 mark", "\xEF\xBB\xBFx", E::Utf8, QStringLiteral("x")},
        {"UTF-16LE mark", QByteArray("\xFF\xFEx\0", 4), E::Utf16LittleEndian, QStringLiteral("x")},
        {"rich text", "{\\rtf1 x}", E::RichText, QStringLiteral("x")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const quorvane::ReadResult read = readDocumentBytes(c.bytes);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.encoding, c.encoding);
        EXPECT_EQ(read.text, c.text);
        // Only a guess at Windows-1252 is worth a word to the writer.
        EXPECT_EQ(read.notice.isEmpty(), c.encoding != E::Windows1252);
        if (!read.notice.isEmpty()) {
            EXPECT_TRUE(read.notice.contains(QStringLiteral("byte %1 ").arg(c.firstNonUtf8 + 1)))
                << read.notice.toStdString();
        }
    }
    EXPECT_EQ(readDocumentBytes("caf\xC3\xA9 and \xE9t\xC3\xA9").notice,
              QStringLiteral("It was read as Windows-1252 (Western European), because it is not "
                             "valid UTF-8: byte 11 (0xE9) cannot be read as UTF-8.\n"
                             "If its letters look wrong, close it without saving: saving writes "
                             "the text as you see it, in UTF-8."));
}

TEST(ReadDocumentBytes, LineBreaksBecomeCrLfAndNothingElseChanges)
{
    EXPECT_EQ(plain("a\rb\nc\r\nd\n\re\r\r\nf\n."),
              QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf\r\n."));
    EXPECT_EQ(plain("\r."), QStringLiteral("\r\n."));
    EXPECT_EQ(plain("\n\n."), QStringLiteral("\r\n\r\n."));
    const char untouched[] = "\ttab\0nul\x0c  trailing  \xC3\xA9";
    const QByteArray untouchedBytes(untouched, sizeof(untouched) - 1);
    EXPECT_EQ(plain(untouchedBytes), QString::fromUtf8(untouchedBytes));
    EXPECT_EQ(plain(QByteArray("\xFF\xFE"
                               "a\0\n\0b\0\r\0.\0",
                               12)),
              QStringLiteral("a\r\nb\r\n."));
    EXPECT_EQ(plain("1252\x85\r."), QStringLiteral("1252…\r\n."));
}

// Save ends the post with one line break; Open takes that one away again, so
// Open then Save gives the same bytes however often it is repeated.
TEST(ReadDocumentBytes, TheFinalLineBreakSaveAddsIsDropped)
{
    struct Case
    {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"", QString()},
        {"\r\n", QString()},
        {"post\r\n", QStringLiteral("post")},
        {"post\n", QStringLiteral("post")},
        {"post\r", QStringLiteral("post")},
        {"post", QStringLiteral("post")},
        {"post\r\n\r\n", QStringLiteral("post\r\n")},
        {"post\n\r\n", QStringLiteral("post\r\n")},
        {QByteArray("\xFF\xFEp\0\r\0\n\0", 8), QStringLiteral("p")},
        // Rich text ends its last paragraph itself; nothing is taken from it.
        {"{\\rtf1 a\\par}", QStringLiteral("a\r\n")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(plain(c.bytes), c.text);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("post.txt"));
    putBytes(path, "line 1\r\nline 2\r\n");
    for (int round = 0; round < 3; ++round) {
        const quorvane::ReadResult read = readDocumentFile(path);
        ASSERT_TRUE(writeDocumentFile(path, read.text).ok);
        EXPECT_EQ(fileBytes(path), "line 1\r\nline 2\r\n") << "round " << round;
    }
}

// Pictures and programs hold NUL bytes or little but control characters;
// text, in any encoding the reader knows, does not.
TEST(ReadDocumentBytes, DataThatIsNoTextIsMarked)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool binary;
    };
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    const QByteArray controls("\x01\x02\x03\x04\x05 ab\x06\x07\x0e\x0f", 13);
    const Case cases[] = {
        {"a post", "Hello [b]world[/b]\r\n\tindented\f", false},
        {"an empty file", "", false},
        {"a picture", png, true},
        {"one NUL in text", QByteArray("text\0more text", 14), true},
        {"mostly control characters", controls, true},
        {"colour codes in a log", "\x1b[31mred\x1b[0m and a long line of plain words", false},
        {"UTF-16 without a mark", QByteArray("h\0i\0 \0t\0h\0e\0r\0e\0", 16), false},
        {"rich text", "{\\rtf1 \\u0?x}", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const quorvane::ReadResult read = readDocumentBytes(c.bytes);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.looksBinary, c.binary);
    }
}

TEST(ReadDocumentBytes, RichTextOnlyWhenItStartsSo)
{
    EXPECT_EQ(plain("{\\rtf1\\ansi Hello\\par World}"), QStringLiteral("Hello\r\nWorld"));
    EXPECT_EQ(plain("{\\rtf1 \\u10?x\\u13?y}"), QStringLiteral("\r\nx\r\ny"));
    EXPECT_EQ(plain(" {\\rtf1 x}"), QStringLiteral(" {\\rtf1 x}"));
    EXPECT_EQ(plain("{\\rt"), QStringLiteral("{\\rt"));
    EXPECT_EQ(plain("\xEF\xBB\xBF{\\rtf1 x}"), QStringLiteral("{\\rtf1 x}"));
}

TEST(ReadDocumentFile, ReadsFilesAndTheirOwnSaves)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.txt"));
    ASSERT_TRUE(writeDocumentFile(path, QStringLiteral("line 1\r\nline 2")).ok);
    const quorvane::ReadResult saved = readDocumentFile(path);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.text, QStringLiteral("line 1\r\nline 2"));

    const QString rtf = dir.filePath(QStringLiteral("doc.txt"));
    putBytes(rtf, "{\\rtf1 {\\b Rich}\\par text}");
    EXPECT_EQ(readDocumentFile(rtf).text, QStringLiteral("Rich\r\ntext"));

    const QString link = dir.filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(readDocumentFile(link).text, saved.text);
}

TEST(ReadDocumentFile, UnreadableFilesSayWhy)
{
    QTemporaryDir dir;
    const auto reason = [](const QString &path) {
        const quorvane::ReadResult result = readDocumentFile(path);
        EXPECT_FALSE(result.ok) << path.toStdString();
        EXPECT_TRUE(result.text.isEmpty());
        return result.error;
    };

    EXPECT_EQ(reason(dir.filePath(QStringLiteral("missing.txt"))),
              QStringLiteral("The file does not exist."));
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));
    EXPECT_EQ(reason(dangling), QStringLiteral("The file does not exist."));
    EXPECT_EQ(reason(dir.path()), QStringLiteral("It is a folder, not a file."));
    EXPECT_FALSE(reason(QString()).isEmpty());

    // A pipe would block a reader forever; it is refused without opening it.
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(reason(fifo), QStringLiteral("It is not a regular file."));
    EXPECT_EQ(reason(QStringLiteral("/dev/zero")), QStringLiteral("It is not a regular file."));

    // Too large: refused by its size, without reading it (the file is sparse).
    const QString huge = dir.filePath(QStringLiteral("huge.txt"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(quorvane::kMaxDocumentBytes + 1));
    }
    EXPECT_TRUE(reason(huge).contains(QStringLiteral("larger than 64 MB")));
}

TEST(ReadDocumentFile, NoPermissionIsReported)
{
    OpenTempDir tmp;
    const QString secret = tmp.file(QStringLiteral("secret.txt"));
    putBytes(secret, "secret");
    chmod(QFile::encodeName(secret).constData(), 0000);
    const QString closedDir = tmp.file(QStringLiteral("closed"));
    ASSERT_TRUE(QDir().mkdir(closedDir));
    putBytes(closedDir + QStringLiteral("/inside.txt"), "inside");
    chmod(QFile::encodeName(closedDir).constData(), 0000);

    EXPECT_EQ(inChild([&] { return describe(readDocumentFile(secret)); }, true),
              "error: You do not have permission to read the file.");
    EXPECT_EQ(
        inChild(
            [&] { return describe(readDocumentFile(closedDir + QStringLiteral("/inside.txt"))); },
            true),
        "error: You do not have permission to read the file.");
    chmod(QFile::encodeName(closedDir).constData(), 0700);
}
