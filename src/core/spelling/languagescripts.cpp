#include "spelling/languagescripts.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace quorvane {

namespace {

struct ScriptRow
{
    QLocale::Script locale;
    std::initializer_list<QChar::Script> letters;
};

// The scripts of the languages that have spelling dictionaries; Japanese and
// Korean mix several.
const ScriptRow kScripts[] = {
    {QLocale::LatinScript, {QChar::Script_Latin}},
    {QLocale::CyrillicScript, {QChar::Script_Cyrillic}},
    {QLocale::GreekScript, {QChar::Script_Greek}},
    {QLocale::ArabicScript, {QChar::Script_Arabic}},
    {QLocale::HebrewScript, {QChar::Script_Hebrew}},
    {QLocale::ArmenianScript, {QChar::Script_Armenian}},
    {QLocale::GeorgianScript, {QChar::Script_Georgian}},
    {QLocale::DevanagariScript, {QChar::Script_Devanagari}},
    {QLocale::BanglaScript, {QChar::Script_Bengali}},
    {QLocale::GurmukhiScript, {QChar::Script_Gurmukhi}},
    {QLocale::GujaratiScript, {QChar::Script_Gujarati}},
    {QLocale::OdiaScript, {QChar::Script_Oriya}},
    {QLocale::TamilScript, {QChar::Script_Tamil}},
    {QLocale::TeluguScript, {QChar::Script_Telugu}},
    {QLocale::KannadaScript, {QChar::Script_Kannada}},
    {QLocale::MalayalamScript, {QChar::Script_Malayalam}},
    {QLocale::SinhalaScript, {QChar::Script_Sinhala}},
    {QLocale::ThaiScript, {QChar::Script_Thai}},
    {QLocale::LaoScript, {QChar::Script_Lao}},
    {QLocale::TibetanScript, {QChar::Script_Tibetan}},
    {QLocale::MyanmarScript, {QChar::Script_Myanmar}},
    {QLocale::KhmerScript, {QChar::Script_Khmer}},
    {QLocale::EthiopicScript, {QChar::Script_Ethiopic}},
    {QLocale::MongolianScript, {QChar::Script_Mongolian}},
    {QLocale::ThaanaScript, {QChar::Script_Thaana}},
    {QLocale::SyriacScript, {QChar::Script_Syriac}},
    {QLocale::CherokeeScript, {QChar::Script_Cherokee}},
    {QLocale::TifinaghScript, {QChar::Script_Tifinagh}},
    {QLocale::HanScript, {QChar::Script_Han}},
    {QLocale::SimplifiedHanScript, {QChar::Script_Han}},
    {QLocale::TraditionalHanScript, {QChar::Script_Han, QChar::Script_Bopomofo}},
    {QLocale::JapaneseScript, {QChar::Script_Han, QChar::Script_Hiragana, QChar::Script_Katakana}},
    {QLocale::KoreanScript, {QChar::Script_Hangul, QChar::Script_Han}},
};

// "sr_Latn_RS", "de_DE_frami", "pt-BR": language, then a four-letter script
// and a two-letter country wherever they stand.
QLocale::Script scriptOfTag(const QString &tag)
{
    const QStringList parts = QString(tag).replace(u'-', u'_').split(u'_', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QLocale::AnyScript;
    const QLocale::Language language = QLocale::codeToLanguage(parts[0]);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return QLocale::AnyScript;
    QLocale::Script script = QLocale::AnyScript;
    QLocale::Territory territory = QLocale::AnyTerritory;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 4 && script == QLocale::AnyScript)
            script = QLocale::codeToScript(parts[i]);
        else if (parts[i].size() == 2 && territory == QLocale::AnyTerritory)
            territory = QLocale::codeToTerritory(parts[i]);
    }
    if (script != QLocale::AnyScript)
        return script;
    // The locale data's likely script for the language in that country.
    return QLocale(language, territory).script();
}

} // namespace

LanguageScripts::LanguageScripts(const QString &tag)
{
    const QLocale::Script script = scriptOfTag(tag);
    for (const ScriptRow &row : kScripts) {
        if (row.locale == script)
            m_scripts.assign(row.letters.begin(), row.letters.end());
    }
    m_latin = writes(QChar::Script_Latin);
}

bool LanguageScripts::writes(QChar::Script script) const
{
    return m_scripts.empty() ||
           std::find(m_scripts.begin(), m_scripts.end(), script) != m_scripts.end();
}

bool LanguageScripts::canWrite(QStringView word) const
{
    if (m_scripts.empty())
        return true;
    for (qsizetype i = 0; i < word.size(); ++i) {
        char32_t c = word[i].unicode();
        if (c < 0x80) {
            if (!m_latin && QChar::isLetter(c))
                return false;
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < word.size() && word[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), word[i + 1].unicode());
            ++i;
        }
        if (!QChar::isLetter(c))
            continue;
        const QChar::Script script = QChar::script(c);
        // Letters shared by several scripts belong to none of them.
        if (script <= QChar::Script_Common)
            continue;
        if (!writes(script))
            return false;
    }
    return true;
}

} // namespace quorvane
