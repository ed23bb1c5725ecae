#include "shell/typer.h"

#include "text/textrules.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace quorvane {

namespace {
// The widget's raw text uses U+2029 between blocks. One pass: replacing in
// place moves the tail once per thousand breaks.
QString rawToPost(QStringView raw)
{
    QString post;
    post.reserve(raw.size() + raw.size() / 16);
    qsizetype done = 0;
    for (qsizetype at = raw.indexOf(QChar::ParagraphSeparator); at >= 0;
         at = raw.indexOf(QChar::ParagraphSeparator, done)) {
        post.append(raw.mid(done, at - done));
        post.append(CRLF);
        done = at + 1;
    }
    post.append(raw.mid(done));
    return post;
}
} // namespace

Typer::Typer(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("Typer"));
    setAccessibleName(QStringLiteral("Post"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);

    m_caretRest.setSingleShot(true);
    m_caretRest.setInterval(10000);
    connect(&m_caretRest, &QTimer::timeout, this, [this] {
        m_flashTime = QApplication::cursorFlashTime();
        if (m_flashTime > 0)
            QApplication::setCursorFlashTime(0);
    });

    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_writing == 0)
            emit changed();
    });
}

Typer::~Typer()
{
    // The flash time is the whole program's; leave it as it was found.
    if (m_flashTime > 0 && QApplication::cursorFlashTime() == 0)
        QApplication::setCursorFlashTime(m_flashTime);
}

QString Typer::text() const
{
    return rawToPost(document()->toRawText());
}

void Typer::writeAt(QTextCursor cursor, const QString &text)
{
    ++m_writing;
    cursor.beginEditBlock();
    cursor.insertText(toLfBreaks(text));
    cursor.endEditBlock();
    --m_writing;
    setTextCursor(cursor);
    emit changed();
}

void Typer::setText(const QString &text)
{
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    writeAt(cursor, text);
    QTextCursor start(document());
    setTextCursor(start);
}

QString Typer::selText() const
{
    return rawToPost(textCursor().selectedText());
}

void Typer::setSelText(const QString &text)
{
    writeAt(textCursor(), text);
}

qsizetype Typer::toPostPosition(int documentPosition) const
{
    const QTextBlock block = document()->findBlock(documentPosition);
    return documentPosition +
           (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

int Typer::toDocumentPosition(qsizetype postPosition, bool roundUp) const
{
    const QTextDocument *doc = document();
    postPosition = std::clamp<qsizetype>(postPosition, 0, length());
    // Block k starts at post position position(k) + k: find the last block
    // starting at or before the position.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= postPosition)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype offset = postPosition - (block.position() + lo);
    const int lineLength = block.length() - 1;
    if (offset <= lineLength)
        return block.position() + int(offset);
    // Between the CR and the LF of a break: never split it.
    return roundUp ? block.position() + lineLength + 1 : block.position() + lineLength;
}

qsizetype Typer::selStart() const
{
    return toPostPosition(textCursor().selectionStart());
}

qsizetype Typer::selLength() const
{
    const QTextCursor cursor = textCursor();
    return toPostPosition(cursor.selectionEnd()) - toPostPosition(cursor.selectionStart());
}

void Typer::setSelStart(qsizetype start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocumentPosition(start, false));
    setTextCursor(cursor);
}

void Typer::setSelLength(qsizetype length)
{
    const qsizetype start = selStart();
    const qsizetype end = std::min(start + std::max<qsizetype>(length, 0), this->length());
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocumentPosition(start, false));
    cursor.setPosition(toDocumentPosition(end, true), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

qsizetype Typer::length() const
{
    const QTextDocument *doc = document();
    // characterCount counts one separator per block, the last one included.
    return qsizetype(doc->characterCount()) + doc->blockCount() - 2;
}

bool Typer::isEmpty() const
{
    return document()->characterCount() <= 1;
}

void Typer::setEditorFont(const QString &family, int pointSize)
{
    QFont f = font();
    f.setFamily(family);
    if (pointSize > 0)
        f.setPointSize(pointSize);
    setFont(f);
}

Typer::TextAlignment Typer::textAlignment() const
{
    return m_alignment;
}

void Typer::setTextAlignment(TextAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    QTextOption option = document()->defaultTextOption();
    switch (alignment) {
    case AlignLeft:
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
    case AlignRight:
        option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
    case AlignCenter:
        option.setAlignment(Qt::AlignHCenter);
        break;
    }
    document()->setDefaultTextOption(option);
    // Lay every line out again with the new alignment.
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

void Typer::wakeCaret()
{
    if (m_flashTime > 0 && QApplication::cursorFlashTime() == 0)
        QApplication::setCursorFlashTime(m_flashTime);
    m_flashTime = 0;
    if (hasFocus())
        m_caretRest.start();
    else
        m_caretRest.stop();
}

bool Typer::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        wakeCaret();
        break;
    default:
        break;
    }
    return QPlainTextEdit::event(event);
}

void Typer::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        // A soft line break would reach the post as U+2028, not as a break.
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock();
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_Y) {
        redo();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool Typer::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void Typer::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    // The widget would turn CR and LF into two breaks each.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertText(toLfBreaks(source->text()));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *Typer::createMimeDataFromSelection() const
{
    // The selection exactly as typed (the default copy turns no-break spaces
    // into spaces).
    auto *mime = new QMimeData;
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QChar(LF));
    mime->setText(text);
    return mime;
}

} // namespace quorvane
