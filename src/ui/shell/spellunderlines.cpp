#include "shell/spellunderlines.h"

#include "spelling/prosewords.h"
#include "spelling/speller.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <cstdlib>

namespace quorvane {

namespace {
// A change of at most this many characters at the caret is typing (a key, a
// dead key, an input method's word); more is a paste or a command.
constexpr int kTypedAtOnce = 4;

// The characters the caret may move over and still be in the word it typed.
bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'\'' || c == u'\u2019' || c == u'-' ||
           c == u'_';
}
} // namespace

const QColor SpellUnderlines::colour(0xe0, 0x00, 0x00);

SpellUnderlines::SpellUnderlines(QPlainTextEdit &view, MarkupHighlighter &highlighter)
    : QObject(&highlighter), m_view(view), m_highlighter(highlighter),
      m_characters(view.document()->characterCount())
{
    // Raised before the changed blocks are coloured, so the word being typed
    // is known when they are.
    connect(&highlighter, &MarkupHighlighter::textChanged, this, &SpellUnderlines::textChanged);
    connect(&view, &QPlainTextEdit::cursorPositionChanged, this, &SpellUnderlines::caretMoved);
    highlighter.addUnderlineSource(this);
}

SpellUnderlines::~SpellUnderlines() = default;

void SpellUnderlines::setSpeller(Speller *speller)
{
    if (speller == m_speller)
        return;
    m_speller = speller;
    refreshAll();
}

void SpellUnderlines::refreshAll()
{
    m_highlighter.refreshRange(0, m_view.document()->characterCount());
}

template <typename OnWord>
void SpellUnderlines::misspellings(const QTextBlock &block, const QString &text, qsizetype skip,
                                   OnWord &&onWord) const
{
    if (!m_speller)
        return;
    const std::optional<int> verbatim = MarkupHighlighter::verbatimAtStart(block);
    if (!verbatim)
        return;
    const QStringView line(text);
    proseWords(m_highlighter.knownTags(), line, *verbatim, [&](WordSpan word) {
        if (skip >= word.start && skip <= word.start + word.length)
            return;
        const QStringView spelt = line.mid(word.start, word.length);
        if (m_speller->canSpell(spelt) && !m_speller->isCorrect(spelt))
            onWord(word);
    });
}

void SpellUnderlines::underlines(const QTextBlock &block, const QString &text,
                                 std::vector<MarkupHighlighter::Underline> &out) const
{
    static const QString tip =
        QStringLiteral("Not in the dictionary (right-click for suggestions)");
    qsizetype caret = -1;
    if (m_typing >= 0) {
        const int at = m_view.textCursor().position();
        if (at >= block.position() && at < block.position() + block.length())
            caret = at - block.position();
    }
    misspellings(block, text, caret, [&](WordSpan word) {
        out.push_back({int(word.start), int(word.length), colour, tip});
    });
}

std::optional<SpellUnderlines::Word> SpellUnderlines::misspellingAt(int position,
                                                                    bool endCounts) const
{
    const QTextBlock block = m_view.document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    const QString text = block.text();
    const qsizetype offset = position - block.position();
    std::optional<Word> found;
    misspellings(block, text, -1, [&](WordSpan word) {
        const qsizetype end = word.start + word.length;
        if (!found && offset >= word.start && (offset < end || (endCounts && offset == end)))
            found = Word{block.position() + int(word.start), int(word.length),
                         text.mid(word.start, word.length)};
    });
    return found;
}

int SpellUnderlines::wordAroundCaret() const
{
    const QTextCursor caret = m_view.textCursor();
    if (caret.hasSelection())
        return -1;
    const QTextBlock block = caret.block();
    const QString text = block.text();
    const int at = caret.positionInBlock();
    int start = at;
    while (start > 0 && isWordCharacter(text[start - 1]))
        --start;
    int end = at;
    while (end < text.size() && isWordCharacter(text[end]))
        ++end;
    return start == end ? -1 : block.position() + start;
}

void SpellUnderlines::textChanged()
{
    const int characters = m_view.document()->characterCount();
    const bool typed = std::abs(characters - m_characters) <= kTypedAtOnce;
    m_characters = characters;
    m_typing = typed ? wordAroundCaret() : -1;
}

void SpellUnderlines::caretMoved()
{
    if (m_typing < 0 || wordAroundCaret() == m_typing)
        return;
    // The caret left the word: it is underlined if it is wrong.
    const int was = m_typing;
    m_typing = -1;
    m_highlighter.refreshRange(was, was);
}

} // namespace quorvane
