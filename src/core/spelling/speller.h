#pragma once

#include "spelling/languagescripts.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct str_enchant_broker;
struct str_enchant_dict;

namespace quorvane {

// An installed dictionary: its tag ("en_US") and its name as a writer reads
// it ("English (United States)").
struct Dictionary
{
    QString tag;
    QString name;
};

// A loaded Enchant dictionary with this run's ignore list. Not thread-safe:
// one thread at a time (it is loaded on a worker thread and then used on the
// UI thread). A hyphenated word is correct when the dictionary knows it whole
// or knows each of its parts; a word with a typographic apostrophe (’) is also
// tried with a straight one, and the other way round.
class Speller
{
public:
    // Enchant's dictionaries, sorted by name; empty when there are none or
    // Enchant cannot start.
    static std::vector<Dictionary> installedDictionaries();
    // "English (United States)" for "en_US", "French" for "fr"; the tag
    // itself when the language is unknown.
    static QString readableName(const QString &tag);
    // The installed tag that best matches `locale`: the same tag, else the
    // language alone, else the language's main country, else any tag of the
    // language; "" when none. The C locale counts as English (United States).
    static QString defaultTag(const std::vector<Dictionary> &installed,
                              const QLocale &locale = QLocale::system());
    // Loads a dictionary; nullptr with *error set ("No dictionary for en_US is
    // installed.", or Enchant's message) on failure.
    static std::unique_ptr<Speller> load(const QString &tag, QString *error = nullptr);

    ~Speller();
    Speller(const Speller &) = delete;
    Speller &operator=(const Speller &) = delete;

    QString tag() const { return m_tag; }
    // False for a word in a script the dictionary's language is not written
    // in: it is left out, neither right nor wrong.
    bool canSpell(QStringView word) const { return m_scripts.canWrite(word); }
    // Also true for words ignored this run and words of the personal list.
    bool isCorrect(QStringView word) const;
    QStringList suggestions(QStringView word, int max = 6) const;
    // Enchant's personal word list (~/.config/enchant/<tag>.dic), shared with
    // other desktop programs.
    void addToPersonal(QStringView word);
    // This run only.
    void ignoreAll(QStringView word);

private:
    Speller(QString tag, str_enchant_broker *broker, str_enchant_dict *dict);
    bool askDictionary(QStringView word) const;
    bool knows(QStringView word) const;

    struct ViewHash
    {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view s) const noexcept
        {
            return std::hash<std::u16string_view>()(s);
        }
    };

    QString m_tag;
    LanguageScripts m_scripts;
    str_enchant_broker *m_broker;
    str_enchant_dict *m_dict;
    // Word as written -> correct. Checking the visible lines on every
    // keystroke asks for the same words again and again.
    mutable std::unordered_map<std::u16string, bool, ViewHash, std::equal_to<>> m_known;
};

} // namespace quorvane
