#include "spelling/speller.h"

#include "platform/ondemandlibrary.h"

#include <enchant.h>

#include <QByteArray>

#include <algorithm>
#include <mutex>

namespace quorvane {

namespace {

// Enchant's calls, bound the first time a dictionary is listed or loaded:
// a start that shows the window has no need of it.
struct EnchantCalls
{
    decltype(&enchant_broker_init) brokerInit = nullptr;
    decltype(&enchant_broker_free) brokerFree = nullptr;
    decltype(&enchant_broker_list_dicts) listDicts = nullptr;
    decltype(&enchant_broker_dict_exists) dictExists = nullptr;
    decltype(&enchant_broker_request_dict) requestDict = nullptr;
    decltype(&enchant_broker_free_dict) freeDict = nullptr;
    decltype(&enchant_broker_get_error) brokerError = nullptr;
    decltype(&enchant_dict_check) check = nullptr;
    decltype(&enchant_dict_suggest) suggest = nullptr;
    decltype(&enchant_dict_free_string_list) freeList = nullptr;
    decltype(&enchant_dict_add) add = nullptr;
    decltype(&enchant_dict_add_to_session) addToSession = nullptr;
    bool ready = false;
};

const EnchantCalls &enchant()
{
    static const EnchantCalls calls = [] {
        EnchantCalls c;
        OnDemandLibrary library(QStringLiteral("enchant-2"), 2);
        c.ready = library.find(c.brokerInit, "enchant_broker_init") &&
                  library.find(c.brokerFree, "enchant_broker_free") &&
                  library.find(c.listDicts, "enchant_broker_list_dicts") &&
                  library.find(c.dictExists, "enchant_broker_dict_exists") &&
                  library.find(c.requestDict, "enchant_broker_request_dict") &&
                  library.find(c.freeDict, "enchant_broker_free_dict") &&
                  library.find(c.brokerError, "enchant_broker_get_error") &&
                  library.find(c.check, "enchant_dict_check") &&
                  library.find(c.suggest, "enchant_dict_suggest") &&
                  library.find(c.freeList, "enchant_dict_free_string_list") &&
                  library.find(c.add, "enchant_dict_add") &&
                  library.find(c.addToSession, "enchant_dict_add_to_session");
        if (!c.ready)
            qWarning("quorvane: spelling is off: %s", qPrintable(library.errorString()));
        return c;
    }();
    return calls;
}

// Enchant's calls take UTF-8 with a length.
struct Utf8
{
    explicit Utf8(QStringView word) : bytes(word.toUtf8()) {}
    const char *data() const { return bytes.constData(); }
    ssize_t size() const { return ssize_t(bytes.size()); }
    QByteArray bytes;
};

std::u16string_view keyOf(QStringView word)
{
    return {reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size())};
}

// The word with its other apostrophe, or an empty string when it has none.
QString otherApostrophe(QStringView word)
{
    const bool straight = word.contains(u'\'');
    const bool curly = word.contains(QChar(0x2019));
    if (!straight && !curly)
        return {};
    QString other = word.toString();
    if (curly)
        other.replace(QChar(0x2019), u'\'');
    else
        other.replace(u'\'', QChar(0x2019));
    return other;
}

// Past this many words the cache starts again, so a long session of typing
// does not keep every word it ever saw.
constexpr std::size_t kCacheLimit = 200000;

// Hunspell keeps one case table for all its dictionaries in the process and
// counts their owners without a lock: dictionaries made on one thread while
// another was freed crashed the program. Brokers and dictionaries are made
// and freed under this lock; checking a dictionary needs none.
std::mutex &dictionaryLifetimes()
{
    static std::mutex lock;
    return lock;
}

} // namespace

std::vector<Dictionary> Speller::installedDictionaries()
{
    std::vector<Dictionary> result;
    QStringList tags;
    {
        const std::lock_guard lifetimes(dictionaryLifetimes());
        const EnchantCalls &api = enchant();
        EnchantBroker *broker = api.ready ? api.brokerInit() : nullptr;
        if (!broker)
            return result;
        api.listDicts(
            broker,
            [](const char *const tag, const char *const, const char *const, const char *const,
               void *data) { static_cast<QStringList *>(data)->append(QString::fromUtf8(tag)); },
            &tags);
        api.brokerFree(broker);
    }
    tags.removeDuplicates();
    for (const QString &tag : std::as_const(tags))
        result.push_back(Dictionary{tag, readableName(tag)});
    std::sort(result.begin(), result.end(), [](const Dictionary &a, const Dictionary &b) {
        const int byName = QString::localeAwareCompare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.tag < b.tag;
    });
    return result;
}

QString Speller::readableName(const QString &tag)
{
    // "de_DE_frami": language, country, then anything else as written.
    const QStringList parts = QString(tag).replace(u'-', u'_').split(u'_', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return tag;
    const QLocale::Language language = QLocale::codeToLanguage(parts[0]);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return tag;
    QString name = QLocale::languageToString(language);
    QStringList details;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QLocale::Territory territory =
            parts[i].size() == 2 ? QLocale::codeToTerritory(parts[i]) : QLocale::AnyTerritory;
        details.append(territory != QLocale::AnyTerritory ? QLocale::territoryToString(territory)
                                                          : parts[i]);
    }
    if (!details.isEmpty())
        name += QStringLiteral(" (%1)").arg(details.join(QStringLiteral(", ")));
    return name;
}

QString Speller::defaultTag(const std::vector<Dictionary> &installed, const QLocale &locale)
{
    // Qt's C locale writes as English (United States) does.
    const QLocale wanted =
        locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
    const QString name = wanted.name();                // "de_AT"
    const QString language = name.section(u'_', 0, 0); // "de"
    const QString mainCountry = QLocale(language).name();
    for (const QString &candidate : {name, language, mainCountry}) {
        for (const Dictionary &dictionary : installed) {
            if (dictionary.tag == candidate)
                return dictionary.tag;
        }
    }
    for (const Dictionary &dictionary : installed) {
        if (dictionary.tag.section(u'_', 0, 0) == language)
            return dictionary.tag;
    }
    return {};
}

std::unique_ptr<Speller> Speller::load(const QString &tag, QString *error)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return nullptr;
    };
    if (tag.isEmpty())
        return fail(QStringLiteral("No dictionary is installed."));
    const std::lock_guard lifetimes(dictionaryLifetimes());
    const EnchantCalls &api = enchant();
    EnchantBroker *broker = api.ready ? api.brokerInit() : nullptr;
    if (!broker)
        return fail(QStringLiteral("Enchant could not start."));
    const QByteArray utf8 = tag.toUtf8();
    if (!api.dictExists(broker, utf8.constData())) {
        api.brokerFree(broker);
        return fail(QStringLiteral("No dictionary for %1 is installed.").arg(tag));
    }
    EnchantDict *dict = api.requestDict(broker, utf8.constData());
    if (!dict) {
        const char *message = api.brokerError(broker);
        const QString text =
            message && *message
                ? QString::fromUtf8(message)
                : QStringLiteral("The dictionary for %1 could not be loaded.").arg(tag);
        api.brokerFree(broker);
        return fail(text);
    }
    return std::unique_ptr<Speller>(new Speller(tag, broker, dict));
}

Speller::Speller(QString tag, EnchantBroker *broker, EnchantDict *dict)
    : m_tag(std::move(tag)), m_scripts(m_tag), m_broker(broker), m_dict(dict)
{}

Speller::~Speller()
{
    const std::lock_guard lifetimes(dictionaryLifetimes());
    enchant().freeDict(m_broker, m_dict);
    enchant().brokerFree(m_broker);
}

bool Speller::askDictionary(QStringView word) const
{
    const Utf8 utf8(word);
    return enchant().check(m_dict, utf8.data(), utf8.size()) == 0;
}

bool Speller::knows(QStringView word) const
{
    if (askDictionary(word))
        return true;
    const QString other = otherApostrophe(word);
    return !other.isEmpty() && askDictionary(other);
}

bool Speller::isCorrect(QStringView word) const
{
    if (word.isEmpty())
        return true;
    const auto found = m_known.find(keyOf(word));
    if (found != m_known.end())
        return found->second;
    bool correct = knows(word);
    if (!correct && (word.contains(u'-') || word.contains(QChar(0x2010)))) {
        // Part by part, at hyphen-minus and at the Unicode hyphen.
        correct = true;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= word.size() && correct; ++i) {
            if (i < word.size() && word[i] != u'-' && word[i] != QChar(0x2010))
                continue;
            if (i > start)
                correct = knows(word.sliced(start, i - start));
            start = i + 1;
        }
    }
    if (m_known.size() >= kCacheLimit)
        m_known.clear();
    m_known.emplace(std::u16string(keyOf(word)), correct);
    return correct;
}

QStringList Speller::suggestions(QStringView word, int max) const
{
    QStringList result;
    if (word.isEmpty() || max <= 0)
        return result;
    const Utf8 utf8(word);
    size_t count = 0;
    char **list = enchant().suggest(m_dict, utf8.data(), utf8.size(), &count);
    if (!list)
        return result;
    for (size_t i = 0; i < count && result.size() < max; ++i) {
        const QString suggestion = QString::fromUtf8(list[i]);
        if (!suggestion.isEmpty() && !result.contains(suggestion))
            result.append(suggestion);
    }
    enchant().freeList(m_dict, list);
    return result;
}

void Speller::addToPersonal(QStringView word)
{
    if (word.isEmpty())
        return;
    const Utf8 utf8(word);
    enchant().add(m_dict, utf8.data(), utf8.size());
    m_known.clear();
}

void Speller::ignoreAll(QStringView word)
{
    if (word.isEmpty())
        return;
    const Utf8 utf8(word);
    enchant().addToSession(m_dict, utf8.data(), utf8.size());
    m_known.clear();
}

} // namespace quorvane
