#include "documents/documentfile.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

// Files written by other programs, each beside the text opening it must give.
TEST(RtfCorpus, EveryFileGivesItsExpectedText)
{
    const QDir corpus(QStringLiteral(QUORVANE_RTF_CORPUS_DIR));
    const QStringList files = corpus.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    ASSERT_GE(files.size(), 7) << "corpus missing at " << corpus.path().toStdString();

    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile expectedFile(
            corpus.filePath(QString(name).replace(QStringLiteral(".rtf"), QStringLiteral(".txt"))));
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly)) << "no expected text";
        const QString expected = QString::fromUtf8(expectedFile.readAll())
                                     .replace(QStringLiteral("\n"), QStringLiteral("\r\n"));

        const quorvane::ReadResult result = quorvane::readDocumentFile(corpus.filePath(name));
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.text, expected);
    }
}
