#pragma once

#include "shell/markuphighlighter.h"

#include <QObject>

#include <optional>

class QPlainTextEdit;

namespace quorvane {

class Speller;

// Red wavy underlines under the misspelled prose words of the blocks the
// highlighter colours; only blocks on screen are coloured, so only their
// words are ever checked. The word being typed at the caret is left alone
// until the caret leaves it or a character that ends the word is typed.
//
// A line of the post held as several blocks (a very long line) is checked
// block by block: a word cut at a joint is checked as its two halves.
class SpellUnderlines : public QObject, public MarkupHighlighter::UnderlineSource
{
    Q_OBJECT

public:
    static const QColor colour;

    SpellUnderlines(QPlainTextEdit &view, MarkupHighlighter &highlighter);
    ~SpellUnderlines() override;

    // The dictionary to check with; nullptr checks nothing. Not owned.
    void setSpeller(Speller *speller);
    Speller *speller() const { return m_speller; }

    // The dictionary's answers changed (a word added or ignored): every block
    // is coloured again as it shows.
    void refreshAll();

    struct Word
    {
        int position = 0; // in the document
        int length = 0;
        QString text;
    };
    // The misspelled word holding the character at a document position (or,
    // with endCounts, ending there), whether or not it is being typed.
    std::optional<Word> misspellingAt(int position, bool endCounts) const;

    void underlines(const QTextBlock &block, const QString &text,
                    std::vector<MarkupHighlighter::Underline> &out) const override;

private:
    // The misspelled words of a block; the word holding offset `skip` (one
    // being typed) is not looked up.
    template <typename OnWord>
    void misspellings(const QTextBlock &block, const QString &text, qsizetype skip,
                      OnWord &&onWord) const;
    // Where the run of word characters around the caret starts, or -1.
    int wordAroundCaret() const;
    void textChanged();
    void caretMoved();

    QPlainTextEdit &m_view;
    MarkupHighlighter &m_highlighter;
    Speller *m_speller = nullptr;
    int m_characters = 0;
    // The document position of the word being typed, or -1.
    int m_typing = -1;
};

} // namespace quorvane
