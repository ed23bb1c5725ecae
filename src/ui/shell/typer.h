#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include <vector>

namespace quorvane {

class PostSource;

// The editing surface. Every command reads and changes the post through these
// operations only. Positions and lengths count a line break as the two
// characters CR LF, as the post is saved; the widget itself stores one
// separator per break, so positions are converted on the way in and out.
//
// The widget lays a whole line out again on every edit in it, so a line of
// megabytes would take seconds per key. A line longer than kLongLine is held
// in pieces: each piece after the first starts with a separator marked as no
// break of the post, so the pieces read back as the one line they are. The
// characters the widget would take as separators themselves (U+2029, U+FDD0,
// U+FDD1) are held as marked stand-ins and read back as what they were.
class Typer : public QPlainTextEdit
{
    Q_OBJECT

public:
    enum TextAlignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    // Lines longer than this are held in pieces of at most this length.
    static constexpr int kLongLine = 2000;

    explicit Typer(QWidget *parent = nullptr);
    ~Typer() override;

    // The whole post with CR LF line breaks.
    QString text() const;
    // Replaces the whole post as one undoable step; the caret goes to 0.
    void setText(const QString &text);

    // The selected text ("" when nothing is selected).
    QString selText() const;
    // Replaces the selection (or inserts at the caret) as one undoable step;
    // the caret ends after the written text with nothing selected.
    void setSelText(const QString &text);

    qsizetype selStart() const;
    // Puts the caret at the index (clamped); nothing stays selected.
    void setSelStart(qsizetype start);
    qsizetype selLength() const;
    // Selects that many characters from the selection start (clamped).
    void setSelLength(qsizetype length);

    // Length of the post in characters, in constant time.
    qsizetype length() const;
    bool isEmpty() const;

    // The post read-only, for the windows beside the editor.
    PostSource &source();

    // The editor's font is `family`; `drawnIn` names the installed family
    // that stands in for it when the machine lacks it (empty: Qt looks).
    void setEditorFont(const QString &family, int pointSize, const QString &drawnIn = {});
    // The family chosen for the editor, whichever family draws it.
    QString editorFontFamily() const { return m_editorFamily; }

    TextAlignment textAlignment() const;
    void setTextAlignment(TextAlignment alignment);

    // Test-only: how long the caret blinks after the last input before it
    // rests (ten seconds unless a test shortens it).
    void setCaretRestDelay(int milliseconds) { m_caretRest.setInterval(milliseconds); }

    // Conversions between the post's positions and the widget's.
    qsizetype toPostPosition(int documentPosition) const;
    int toDocumentPosition(qsizetype postPosition, bool roundUp) const;
    // True when the block is a piece of a long line that began in the block
    // before, not a line of its own.
    bool continuesLine(const QTextBlock &block) const;

signals:
    // Raised after every change of the text, once per command write.
    void changed();
    // A file was dropped on the editor (its text is not inserted).
    void fileDropped(const QString &path);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    void writeAt(QTextCursor cursor, const QString &text);
    // Writes post text (any line breaks) at the cursor, long lines in pieces.
    void insertPost(QTextCursor &cursor, QStringView text);
    // The post text of the widget's raw text that starts at document position
    // from, with lineBreak for every line break.
    QString postText(int from, QStringView raw, QStringView lineBreak) const;

    // Sorted numbers of the blocks that continue the line of the block before.
    const std::vector<int> &pieceStarts() const;
    // How many of those are numbered up to block.
    int piecesUpTo(int block) const;
    bool startsPiece(int position) const;
    bool hasStandIns() const;
    void refreshFormats() const;
    // Edits that cross a piece joint without changing the post otherwise.
    bool jointKey(QKeyEvent *event);
    bool eraseEmojiSequence(QKeyEvent *event);

    void wakeCaret();

    int m_writing = 0;

    // Cached from the document, refreshed after changes that may move them.
    mutable std::vector<int> m_pieceStarts;
    mutable bool m_piecesKnown = false;
    mutable int m_piecesBlockCount = 0;
    mutable qsizetype m_formatsSeen = 0;
    mutable std::vector<int> m_jointFormats;
    mutable bool m_standInFormats = false;
    // The caret stops blinking after a while without input, as desktop
    // editors do, so an idle window does not wake the machine twice a second.
    QTimer m_caretRest;
    int m_flashTime = 0;
    TextAlignment m_alignment = AlignLeft;
    QString m_editorFamily;
    PostSource *m_source = nullptr; // made when first asked for
};

} // namespace quorvane
