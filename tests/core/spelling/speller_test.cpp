// The speller on the real Enchant: names and choice of dictionaries, the
// personal word list as other desktop programs see it, this run's ignore list,
// and a system without dictionaries.

#include "spelling/speller.h"
#include "support/nodictionary.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

using namespace quorvane;

namespace {

struct NameCase
{
    const char *tag;
    const char *name;
};

class ReadableName : public testing::TestWithParam<NameCase>
{
};

TEST_P(ReadableName, IsLanguageThenCountry)
{
    EXPECT_EQ(Speller::readableName(QString::fromLatin1(GetParam().tag)),
              QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Tags, ReadableName,
                         testing::Values(NameCase{"en_US", "English (United States)"},
                                         NameCase{"fr", "French"},
                                         NameCase{"de-CH", "German (Switzerland)"},
                                         NameCase{"de_DE_frami", "German (Germany, frami)"},
                                         NameCase{"qq_ZZ", "qq_ZZ"}));

struct DefaultCase
{
    const char *locale;
    const char *tag;
};

class DefaultTag : public testing::TestWithParam<DefaultCase>
{
};

TEST_P(DefaultTag, FollowsTheLocale)
{
    std::vector<Dictionary> installed;
    for (const char *tag : {"de_AT", "de_DE", "en_GB", "en_US", "fr", "fr_CA"})
        installed.push_back(Dictionary{QString::fromLatin1(tag), {}});
    EXPECT_EQ(Speller::defaultTag(installed, QLocale(QString::fromLatin1(GetParam().locale))),
              QString::fromLatin1(GetParam().tag));
}

INSTANTIATE_TEST_SUITE_P(Locales, DefaultTag,
                         testing::Values(DefaultCase{"en_GB", "en_GB"}, DefaultCase{"C", "en_US"},
                                         DefaultCase{"en_AU", "en_US"},
                                         DefaultCase{"de_CH", "de_DE"}, DefaultCase{"fr_BE", "fr"},
                                         DefaultCase{"fr_CA", "fr_CA"}, DefaultCase{"pt_BR", ""}));

// Which words a dictionary's language can spell at all: a table of
// dictionaries across words in each script. "+" marks a word the language
// writes (it is checked), "-" one it cannot (it is left out).
struct ScriptCase
{
    const char *tag;
    const char *writes; // one mark per word of kScriptWords
};

const char16_t *const kScriptWords[] = {
    u"Stra\u00dfe",                          // Latin
    u"\u05e9\u05dc\u05d5\u05dd",             // Hebrew
    u"\u0645\u0631\u062d\u0628\u0627",       // Arabic
    u"\u043f\u0440\u0438\u0432\u0435\u0442", // Cyrillic
    u"\u03ba\u03b1\u03bb\u03ac",             // Greek
    u"\u3072\u3089\u304c\u306a\u6f22\u5b57", // Hiragana and Han
    u"e\u0301t\u00e9",                       // Latin with a combining mark
    u"caf\u00e9\u05e9",                      // Latin ending in a Hebrew letter
    u"\U0001D400bc",                         // a mathematical letter (no script) and Latin
};

class Scripts : public testing::TestWithParam<ScriptCase>
{
};

TEST_P(Scripts, DecideWhichWordsAreChecked)
{
    const LanguageScripts scripts(QString::fromLatin1(GetParam().tag));
    std::string marks;
    for (const char16_t *word : kScriptWords)
        marks += scripts.canWrite(QStringView(word)) ? '+' : '-';
    EXPECT_EQ(marks, GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Dictionaries, Scripts,
    testing::Values(ScriptCase{"en_US", "+-----+-+"}, ScriptCase{"de_DE_frami", "+-----+-+"},
                    ScriptCase{"he_IL", "-+-------"}, ScriptCase{"ar", "--+------"},
                    ScriptCase{"ru_RU", "---+-----"}, ScriptCase{"el_GR", "----+----"},
                    ScriptCase{"ja_JP", "-----+---"}, ScriptCase{"sr_Latn_RS", "+-----+-+"},
                    ScriptCase{"sr", "---+-----"},
                    // An unknown language: everything is checked.
                    ScriptCase{"qq_ZZ", "+++++++++"}),
    [](const testing::TestParamInfo<ScriptCase> &row) { return std::string(row.param.tag); });

// Each test has Enchant's per-user folder to itself.
class SpellerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("ENCHANT_CONFIG_DIR", m_config.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        m_speller = Speller::load(QStringLiteral("en_US"), &m_error);
        ASSERT_TRUE(m_speller) << m_error.toStdString();
    }

    // What a second Enchant client reads as misspelled in `words`.
    QByteArray otherClientFlags(const QByteArray &words)
    {
        QProcess enchant;
        enchant.start(QStringLiteral("enchant-2"),
                      {QStringLiteral("-l"), QStringLiteral("-d"), QStringLiteral("en_US")});
        if (!enchant.waitForStarted(30000))
            return "enchant-2 did not start";
        enchant.write(words + '\n');
        enchant.closeWriteChannel();
        enchant.waitForFinished(30000);
        return enchant.readAllStandardOutput().simplified();
    }

    QTemporaryDir m_config;
    QString m_error;
    std::unique_ptr<Speller> m_speller;
};

TEST_F(SpellerTest, ChecksAndSuggests)
{
    EXPECT_EQ(m_speller->tag(), QStringLiteral("en_US"));
    EXPECT_TRUE(m_speller->isCorrect(u"word"));
    EXPECT_TRUE(m_speller->isCorrect(u"don\u2019t"));
    EXPECT_TRUE(m_speller->isCorrect(u"well-known"));
    EXPECT_TRUE(m_speller->isCorrect(u"sharp-tongued\u2010editor"));
    EXPECT_FALSE(m_speller->isCorrect(u"wrod"));
    EXPECT_FALSE(m_speller->isCorrect(u"well-knwon"));
    EXPECT_FALSE(m_speller->isCorrect(u"knwon\u2010well"));
    EXPECT_FALSE(m_speller->isCorrect(u"wrod")); // a second time, from what it learnt
    const QStringList suggestions = m_speller->suggestions(u"wrod");
    EXPECT_LE(suggestions.size(), 6);
    EXPECT_TRUE(suggestions.contains(QStringLiteral("word")))
        << suggestions.join(u' ').toStdString();
    EXPECT_EQ(m_speller->suggestions(u"wrod", 2).size(), 2);
}

TEST_F(SpellerTest, DictionariesComeAndGoOnManyThreadsAtOnce)
{
    // As the window's workers load a language while an older one is freed;
    // none is held throughout, so the last one's going frees what they share.
    m_speller.reset();
    std::vector<std::thread> threads;
    std::atomic<int> checked = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&checked] {
            for (int round = 0; round < 10; ++round) {
                const auto speller = Speller::load(QStringLiteral("en_US"));
                if (speller && speller->isCorrect(u"word") && !speller->isCorrect(u"wrod"))
                    ++checked;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(checked, 4 * 10);
}

TEST_F(SpellerTest, PersonalWordsAreSharedAndKept)
{
    EXPECT_FALSE(m_speller->isCorrect(u"Quorvane"));
    m_speller->addToPersonal(u"Quorvane");
    EXPECT_TRUE(m_speller->isCorrect(u"Quorvane"));
    EXPECT_EQ(otherClientFlags("Quorvane wrod"), QByteArray("wrod"));
    m_speller.reset();
    const std::unique_ptr<Speller> again = Speller::load(QStringLiteral("en_US"));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->isCorrect(u"Quorvane"));
}

TEST_F(SpellerTest, IgnoredWordsLastThisRunOnly)
{
    m_speller->ignoreAll(u"wrod");
    EXPECT_TRUE(m_speller->isCorrect(u"wrod"));
    EXPECT_EQ(otherClientFlags("wrod"), QByteArray("wrod"));
    const std::unique_ptr<Speller> again = Speller::load(QStringLiteral("en_US"));
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->isCorrect(u"wrod"));
}

// Enchant's Hunspell provider always reads the system's dictionary folder
// (/usr/share/hunspell), whatever the environment says, so this test runs
// itself again in a mount namespace where that folder, the per-user one and
// the data folders are empty.
TEST(NoDictionary, NothingIsInstalled)
{
    if (qEnvironmentVariableIsSet("QUORVANE_NO_DICTIONARY_CHILD")) {
        EXPECT_TRUE(Speller::installedDictionaries().empty());
        EXPECT_EQ(Speller::defaultTag(Speller::installedDictionaries()), QString());
        QString error;
        EXPECT_FALSE(Speller::load(QStringLiteral("en_US"), &error));
        EXPECT_EQ(error, QStringLiteral("No dictionary for en_US is installed."));
        EXPECT_FALSE(Speller::load(QString(), &error));
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    test::runWithoutDictionaries("NoDictionary.NothingIsInstalled");
}

} // namespace
