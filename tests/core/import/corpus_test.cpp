#include "import/importformat.h"
#include "markupcheck.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

using namespace quorvane;

namespace {

QString expected(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(no expected BBCode at %1)").arg(path);
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

struct CorpusFile
{
    QString source;   // the file other programs wrote
    QString expected; // NAME.bbcode beside it or in the import corpus
};

std::vector<CorpusFile> corpus()
{
    std::vector<CorpusFile> files;
    const QDir import(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR));
    for (const QString &name :
         import.entryList({QStringLiteral("*.html"), QStringLiteral("*.rtf")}, QDir::Files)) {
        files.push_back({import.filePath(name), import.filePath(QFileInfo(name).completeBaseName() +
                                                                QStringLiteral(".bbcode"))});
    }
    // The rich-text reader's own corpus, read with its formatting.
    const QDir rtf(QStringLiteral(QUORVANE_RTF_CORPUS_DIR));
    for (const QString &name : rtf.entryList({QStringLiteral("*.rtf")}, QDir::Files)) {
        files.push_back({rtf.filePath(name),
                         import.filePath(QStringLiteral("rtf/") +
                                         QString(name).replace(QStringLiteral(".rtf"),
                                                               QStringLiteral(".bbcode")))});
    }
    return files;
}

// Files written by browsers, office programs and converters, and Word's HTML
// written by hand, each beside the BBCode it must give; with the colours and
// sizes kept where NAME.keep.bbcode says what that gives.
TEST(ImportCorpus, EveryFileGivesItsExpectedBBCode)
{
    const std::vector<CorpusFile> files = corpus();
    ASSERT_GE(files.size(), 17u);
    for (const CorpusFile &file : files) {
        SCOPED_TRACE(file.source.toStdString());
        const ImportFormat format = importFormatForFile(file.source);
        const ReadResult result = importDocumentFile(file.source, format);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.text, expected(file.expected));
        EXPECT_EQ(nestingFault(result.text), QString());

        const QString keepPath =
            QString(file.expected)
                .replace(QStringLiteral(".bbcode"), QStringLiteral(".keep.bbcode"));
        ImportOptions keep;
        keep.keepColoursAndSizes = true;
        const ReadResult kept = importDocumentFile(file.source, format, keep);
        EXPECT_EQ(nestingFault(kept.text), QString());
        if (QFile::exists(keepPath)) {
            EXPECT_EQ(kept.text, expected(keepPath));
        }
    }
}

// The command-line converter gives the same BBCode as UTF-8 with CR LF.
TEST(ImportCorpus, ConverterPrintsWhatThePasteGives)
{
    const QString source = QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/word-fake-lists.html");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const struct
    {
        QStringList args;
        QByteArray input;
        QString want;
    } runs[] = {
        {{QStringLiteral("--from-html")},
         file.readAll(),
         expected(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/word-fake-lists.bbcode"))},
        {{QStringLiteral("--from-rtf"),
          QStringLiteral(QUORVANE_RTF_CORPUS_DIR "/pandoc-forum-post.rtf")},
         {},
         expected(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR "/rtf/pandoc-forum-post.bbcode"))},
    };
    for (const auto &run : runs) {
        QProcess tool;
        tool.start(QStringLiteral(QUORVANE_CONVERT_PATH), run.args);
        ASSERT_TRUE(tool.waitForStarted(30000));
        tool.write(run.input);
        tool.closeWriteChannel();
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()),
                  run.want + QStringLiteral("\r\n"));
    }

    QProcess refused;
    refused.start(QStringLiteral(QUORVANE_CONVERT_PATH), {QStringLiteral("--from-rtf"), source});
    ASSERT_TRUE(refused.waitForFinished(60000));
    EXPECT_EQ(refused.exitCode(), 1);
    EXPECT_TRUE(refused.readAllStandardError().contains("not in rich-text format"));
}

} // namespace
