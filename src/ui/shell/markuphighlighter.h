#pragma once

#include "markup/knowntags.h"
#include "markup/markupchecker.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

#include <optional>
#include <vector>

namespace quorvane {

// The one highlighter of the post: tags coloured (the tag, its value),
// the contents of CODE, HTML, PHP and NOPARSE shown as code, problems
// underlined, and underlines from other sources (a spell checker) merged in.
//
// Colouring a block needs only whether it starts inside a verbatim tag, kept
// per block. Laying out coloured text is what costs, so only the blocks on
// screen are coloured: an edited block at once, the others just before they
// are painted. A change that alters the state of the following blocks (typing
// "[CODE]" at the top of a long post) or a large insertion (opening a post)
// has those states worked out in short slices from the event loop, so the
// window never stalls.
class MarkupHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    struct Underline
    {
        int start = 0; // in the block
        int length = 0;
        QColor colour;
        QString toolTip;
    };

    // Another source of underlines, asked each time a block is coloured.
    class UnderlineSource
    {
    public:
        virtual ~UnderlineSource() = default;
        virtual void underlines(const QTextBlock &block, const QString &text,
                                std::vector<Underline> &out) const = 0;
    };

    explicit MarkupHighlighter(QTextDocument *document);

    // The editor that shows the document: its blocks on screen are coloured
    // before they are painted.
    void setView(QPlainTextEdit *view);

    void setKnownTags(const KnownTags &tags);
    const KnownTags &knownTags() const { return m_known; }

    void setColouring(bool on);
    bool colouring() const { return m_colouring; }
    void setUnderlining(bool on);
    bool underlining() const { return m_underlining; }

    void addUnderlineSource(const UnderlineSource *source);
    // The verbatim tag open where a block starts (MarkupScanner::noVerbatim
    // for none), or nothing while that is still being worked out. Always known
    // for the block a source is asked about.
    static std::optional<int> verbatimAtStart(const QTextBlock &block);
    // The underlines of a source changed between these document positions.
    void refreshRange(int from, int to);

    // Counts changes of the text (not of colours), so a check of an older text
    // can be recognised.
    quint64 textRevision() const { return m_textRevision; }
    // Problems of the text at `revision`, positions in the document; ignored
    // when the text has changed since. A block that is edited drops its
    // problems until the next check.
    void setProblems(const std::vector<MarkupProblem> &problems, quint64 revision);
    // The same with the chosen forum's warnings, underlined in their own
    // colour (an error on the same characters shows over them).
    void setProblems(const std::vector<MarkupProblem> &problems,
                     const std::vector<MarkupProblem> &warnings, quint64 revision);

    // The messages of the underlines at a document position, one a line.
    QString toolTipAt(int position) const;

    // True when every block's state is known (blocks off screen may still
    // wait for their colours).
    bool isSettled() const { return !m_sweeping; }

    // Colours that read on the white editor (WCAG AA).
    static const QColor nameColour, valueColour, codeColour, codeBackground, problemColour;
    // The forum's warnings: amber, apart from the red of errors and spelling.
    static const QColor warningColour;

signals:
    void settled();
    // The text changed (raised once per change, before its blocks are coloured).
    void textChanged();

protected:
    void highlightBlock(const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct BlockProblem
    {
        int start;
        int length;
        QString message;
        bool warning = false;
        bool operator==(const BlockProblem &) const = default;
    };
    class BlockData;

    static BlockData *dataOf(const QTextBlock &block);
    static BlockData *ensureData(QTextBlock block);
    // The verbatim state at the start of a block, or unknown.
    static int incomingState(const QTextBlock &block);
    // The block's state must be worked out again.
    void markDirty(QTextBlock block);
    // Every block needs new colours (the settings changed).
    void markAllStale();
    void stateSlice();
    void colourVisible();
    // The document positions on screen.
    std::pair<int, int> visibleRange() const;
    void underline(int start, int length, const QColor &colour);

    KnownTags m_known;
    bool m_colouring = true;
    bool m_underlining = true;
    std::vector<const UnderlineSource *> m_sources;

    // Outer changes of the text in progress (colouring itself reports changes
    // of layout through the same signal).
    int m_changeDepth = 0;
    quint64 m_textRevision = 0;
    // A large insertion is in progress: its blocks are left to the slices.
    bool m_largeInsertion = false;
    bool m_inSlice = false;

    QTextCursor m_sweep; // the first block that may wait for colouring
    bool m_sweeping = false;
    QTimer m_slice;
    QPlainTextEdit *m_view = nullptr;

    QTextCharFormat m_name, m_value, m_code;
};

} // namespace quorvane
