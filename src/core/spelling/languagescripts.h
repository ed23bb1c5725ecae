#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <vector>

namespace quorvane {

// The writing systems a dictionary's language is written in, taken from the
// language's usual script as the locale data gives it (its tag's own script
// when it names one: "sr_Latn"). A dictionary can only judge words in those
// scripts: a Hebrew word under an English dictionary is not misspelt, it is
// not English, and is left out as words with digits are. Letters of no
// particular script (marks, shared signs) never decide. A language whose
// script is not known here writes everything, so its words are all checked.
class LanguageScripts
{
public:
    explicit LanguageScripts(const QString &tag = {});

    // False when one of the word's letters is of a script the language is not
    // written in.
    bool canWrite(QStringView word) const;
    bool isKnown() const { return !m_scripts.empty(); }

private:
    bool writes(QChar::Script script) const;

    std::vector<QChar::Script> m_scripts; // empty: every script
    bool m_latin = false;                 // ASCII letters need no look-up
};

} // namespace quorvane
