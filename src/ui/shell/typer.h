#pragma once

#include <QPlainTextEdit>
#include <QTimer>

namespace quorvane {

// The editing surface. Every command reads and changes the post through these
// operations only. Positions and lengths count a line break as the two
// characters CR LF, as the post is saved; the widget itself stores one
// separator per break, so positions are converted on the way in and out.
class Typer : public QPlainTextEdit
{
    Q_OBJECT

public:
    enum TextAlignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

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

    void setEditorFont(const QString &family, int pointSize);

    TextAlignment textAlignment() const;
    void setTextAlignment(TextAlignment alignment);

    // Test-only: how long the caret blinks after the last input before it
    // rests (ten seconds unless a test shortens it).
    void setCaretRestDelay(int milliseconds) { m_caretRest.setInterval(milliseconds); }

    // Conversions between the post's positions and the widget's.
    qsizetype toPostPosition(int documentPosition) const;
    int toDocumentPosition(qsizetype postPosition, bool roundUp) const;

signals:
    // Raised after every change of the text, once per command write.
    void changed();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    void writeAt(QTextCursor cursor, const QString &text);

    void wakeCaret();

    int m_writing = 0;
    // The caret stops blinking after a while without input, as desktop
    // editors do, so an idle window does not wake the machine twice a second.
    QTimer m_caretRest;
    int m_flashTime = 0;
    TextAlignment m_alignment = AlignLeft;
};

} // namespace quorvane
