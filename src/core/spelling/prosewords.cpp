#include "spelling/prosewords.h"

#include "markup/markupreport.h"
#include "spelling/speller.h"
#include "text/smilies.h"

#include <QHash>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

namespace quorvane {

namespace {

char32_t codePointAt(QStringView text, qsizetype i, qsizetype end, int *units)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < end && QChar::isLowSurrogate(text[i + 1].unicode())) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1].unicode());
    }
    *units = 1;
    return c;
}

bool isLetter(char32_t c)
{
    return QChar::isLetter(c);
}

bool isMark(char32_t c)
{
    return QChar::isMark(c);
}

bool isJoiner(char32_t c)
{
    return c == u'\'' || c == 0x2019 || c == u'-' || c == 0x2010;
}

// Letters, digits and "_": what makes up a run that may be a word.
bool isRunCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || isMark(c) || c == u'_';
}

bool startsWithCaseless(QStringView text, QStringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// Where an address starts in a piece of text without spaces: a scheme or
// "www." not preceded by a letter or digit.
qsizetype addressStart(QStringView chunk)
{
    static constexpr QStringView kStarts[] = {u"http://", u"https://", u"ftp://", u"www.",
                                              u"mailto:"};
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        const char16_t c = chunk[i].unicode();
        if (c != u'h' && c != u'H' && c != u'f' && c != u'F' && c != u'w' && c != u'W' &&
            c != u'm' && c != u'M')
            continue;
        if (i > 0 && QChar::isLetterOrNumber(chunk[i - 1].unicode()))
            continue;
        for (QStringView start : kStarts) {
            if (startsWithCaseless(chunk.mid(i), start))
                return i;
        }
    }
    return -1;
}

// "name@example.org": an "@" with a letter or digit on each side.
bool isEmailAddress(QStringView chunk)
{
    for (qsizetype at = chunk.indexOf(u'@'); at >= 0; at = chunk.indexOf(u'@', at + 1)) {
        if (at > 0 && at + 1 < chunk.size() && chunk[at - 1].isLetterOrNumber() &&
            chunk[at + 1].isLetterOrNumber())
            return true;
    }
    return false;
}

// The length of the smiley code at text[i], or 0. A code that ends in a
// letter (":p", ":D") is a smiley only when no letter or digit follows.
qsizetype smileyAt(QStringView text, qsizetype i, qsizetype end)
{
    const char16_t c = text[i].unicode();
    if (c != u':' && c != u';')
        return 0;
    const QStringView rest = text.sliced(i, end - i);
    for (const Smiley &smiley : smilies) {
        if (!rest.startsWith(smiley.code, Qt::CaseInsensitive))
            continue;
        const qsizetype length = smiley.code.size();
        if (smiley.code.back().isLetter() && length < rest.size() &&
            (rest[length].isLetterOrNumber() || rest[length] == u'_'))
            continue;
        return length;
    }
    return 0;
}

// The words of text[from, to), which holds no spaces, no address and no tag.
void wordsOfChunk(QStringView text, qsizetype from, qsizetype to, const WordSink &onWord)
{
    qsizetype i = from;
    while (i < to) {
        if (const qsizetype smiley = smileyAt(text, i, to)) {
            i += smiley;
            continue;
        }
        int units = 1;
        const char32_t first = codePointAt(text, i, to, &units);
        if (!isRunCharacter(first) || isMark(first)) {
            i += units;
            continue;
        }
        const qsizetype start = i;
        bool skip = false;
        int letters = 0;
        bool lowerCase = false;
        while (i < to) {
            const char32_t c = codePointAt(text, i, to, &units);
            if (isRunCharacter(c)) {
                if (isLetter(c)) {
                    ++letters;
                    lowerCase = lowerCase || !QChar::isUpper(c);
                } else if (!isMark(c)) {
                    skip = true; // a digit or "_"
                }
                i += units;
                continue;
            }
            // An apostrophe or hyphen joins two parts of one word.
            if (isJoiner(c) && i + 1 < to) {
                int nextUnits = 1;
                if (isRunCharacter(codePointAt(text, i + 1, to, &nextUnits))) {
                    i += 1;
                    continue;
                }
            }
            break;
        }
        if (!skip && !(letters >= 2 && !lowerCase))
            onWord(WordSpan{start, i - start});
    }
}

// The prose words of text[from, to), which holds no tag.
void wordsBetweenTags(QStringView text, qsizetype from, qsizetype to, const WordSink &onWord)
{
    qsizetype i = from;
    while (i < to) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < to && !text[end].isSpace())
            ++end;
        const QStringView chunk = text.sliced(i, end - i);
        if (!isEmailAddress(chunk)) {
            const qsizetype address = addressStart(chunk);
            wordsOfChunk(text, i, address < 0 ? end : i + address, onWord);
        }
        i = end;
    }
}

// Tags whose contents, when the tag has no value, are an address.
bool holdsAddress(const MarkupTag &tag)
{
    static const int url = KnownTags::builtIn("URL");
    static const int email = KnownTags::builtIn("EMAIL");
    static const int img = KnownTags::builtIn("IMG");
    static const int youtube = KnownTags::builtIn("YOUTUBE");
    return !tag.closing && !tag.hasValue &&
           (tag.id == url || tag.id == email || tag.id == img || tag.id == youtube);
}

} // namespace

int proseWordsOf(const KnownTags &tags, QStringView line, int verbatimIn, WordSink onWord)
{
    MarkupScanner scanner(tags);
    scanner.setVerbatim(verbatimIn);
    int state = verbatimIn;
    bool address = false;
    qsizetype pos = 0;
    scanner.scan(line, 0, line.size(), [&](const MarkupTag &tag) {
        if (state == MarkupScanner::noVerbatim && !address)
            wordsBetweenTags(line, pos, tag.start, onWord);
        state = scanner.verbatim();
        address = holdsAddress(tag);
        pos = tag.end();
    });
    if (state == MarkupScanner::noVerbatim && !address)
        wordsBetweenTags(line, pos, line.size(), onWord);
    return scanner.verbatim();
}

namespace {

// Hunspell takes tens of milliseconds to suggest for one word, so the words
// are shared among threads, each with a speller of its own (one speller is
// one thread's), the caller's among them.
void suggestAll(std::vector<Misspelling> &found, Speller &speller)
{
    QHash<QString, QStringList> suggested;
    QStringList words;
    for (const Misspelling &m : found) {
        if (!suggested.contains(m.word)) {
            suggested.insert(m.word, {});
            words.append(m.word);
        }
    }
    const int threads = int(std::min<qsizetype>(QThread::idealThreadCount(), words.size() / 4));
    std::vector<QStringList> results(size_t(words.size()));
    std::atomic<qsizetype> next = 0;
    auto work = [&](const Speller &own) {
        for (qsizetype i = next++; i < words.size(); i = next++)
            results[size_t(i)] = own.suggestions(words[i]);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        std::shared_ptr<Speller> own = Speller::load(speller.tag());
        if (!own)
            break;
        helpers.emplace_back([&work, own] { work(*own); });
    }
    work(speller);
    for (std::thread &helper : helpers)
        helper.join();
    for (qsizetype i = 0; i < words.size(); ++i)
        suggested[words[i]] = std::move(results[size_t(i)]);
    for (Misspelling &m : found)
        m.suggestions = suggested.value(m.word);
}

} // namespace

std::vector<Misspelling> findMisspellings(QStringView text, const KnownTags &tags, Speller &speller)
{
    std::vector<Misspelling> result;
    LineColumns places(text);
    int state = MarkupScanner::noVerbatim;
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < text.size()) {
            const char16_t c = text[lineEnd].unicode();
            if (c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029)
                break;
            ++lineEnd;
        }
        const QStringView line = text.sliced(lineStart, lineEnd - lineStart);
        state = proseWords(tags, line, state, [&](WordSpan span) {
            const QStringView word = line.sliced(span.start, span.length);
            if (!speller.canSpell(word) || speller.isCorrect(word))
                return;
            const qsizetype position = lineStart + span.start;
            const LineColumns::Place place = places.at(position);
            result.push_back(
                Misspelling{position, int(place.line), int(place.column), word.toString(), {}});
        });
        if (lineEnd >= text.size())
            break;
        lineStart = lineEnd + 1;
        if (text[lineEnd] == u'\r' && lineStart < text.size() && text[lineStart] == u'\n')
            ++lineStart;
    }
    suggestAll(result, speller);
    return result;
}

} // namespace quorvane
