#include "shell/typer.h"

#include "shell/filedrop.h"
#include "text/emojisequence.h"
#include "text/textrules.h"
#include "windows/postsource.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace quorvane {

namespace {

// The editor's post as the windows beside it read it.
class TyperSource final : public PostSource
{
public:
    explicit TyperSource(Typer &typer) : PostSource(&typer), m_typer(typer)
    {
        connect(&typer, &Typer::changed, this, &PostSource::changed);
        connect(&typer, &QPlainTextEdit::cursorPositionChanged, this, &PostSource::caretMoved);
    }

    QString text() const override { return m_typer.text(); }
    qsizetype length() const override { return m_typer.length(); }
    const QTextDocument &document() const override { return *m_typer.document(); }
    int caretBlock() const override { return m_typer.textCursor().blockNumber(); }
    int caretInBlock() const override { return m_typer.textCursor().positionInBlock(); }

private:
    const Typer &m_typer;
};

// On the character format of a separator: it joins two pieces of one line.
constexpr int kJoint = QTextFormat::UserProperty + 1;
// On the character format of a stand-in: the character it stands for.
constexpr int kStandFor = QTextFormat::UserProperty + 2;
// What the widget shows for a character it cannot hold.
constexpr char16_t kStandIn = u'\uFFFD';

// Characters the widget turns into block separators when written.
bool isSeparatorLike(char16_t c)
{
    return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// The widget's raw text uses U+2029 between blocks. One pass: replacing in
// place moves the tail once per thousand breaks.
QString rawToPost(QStringView raw, QStringView lineBreak)
{
    QString post;
    post.reserve(raw.size() + raw.size() / 16);
    qsizetype done = 0;
    for (qsizetype at = raw.indexOf(QChar::ParagraphSeparator); at >= 0;
         at = raw.indexOf(QChar::ParagraphSeparator, done)) {
        post.append(raw.mid(done, at - done));
        post.append(lineBreak);
        done = at + 1;
    }
    post.append(raw.mid(done));
    return post;
}

// True when the LF-broken text has a line over the limit or a character the
// widget cannot hold as it is. (A literal U+FFFD is written unmarked anyway.)
bool needsPieces(QStringView text)
{
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == LF)
            lineStart = i + 1;
        else if (i - lineStart >= Typer::kLongLine || isSeparatorLike(c))
            return true;
    }
    return false;
}

// Where the piece of a long line that starts at `at` ends: after the last
// space in its second half, else at the limit, never inside a surrogate pair
// or before a combining mark.
qsizetype pieceEnd(QStringView line, qsizetype at)
{
    const qsizetype limit = at + Typer::kLongLine;
    for (qsizetype i = limit - 1; i > at + Typer::kLongLine / 2; --i) {
        if (line[i] == u' ')
            return i + 1;
    }
    qsizetype cut = limit;
    while (cut > at + 1 && (line[cut].isLowSurrogate() || line[cut].isMark()))
        --cut;
    return cut;
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
    // Typing inside one block moves no piece; anything else may.
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int added) {
        const QTextDocument *doc = document();
        if (m_piecesKnown && doc->blockCount() == m_piecesBlockCount &&
            doc->findBlock(from) == doc->findBlock(from + added))
            return;
        m_piecesKnown = false;
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
    return postText(0, document()->toRawText(), CRLF);
}

void Typer::refreshFormats() const
{
    // Formats are only ever added to a document; look again when there are more.
    const QList<QTextFormat> formats = document()->allFormats();
    if (formats.size() == m_formatsSeen)
        return;
    m_formatsSeen = formats.size();
    m_jointFormats.clear();
    m_standInFormats = false;
    for (int i = 0; i < formats.size(); ++i) {
        if (formats[i].hasProperty(kJoint))
            m_jointFormats.push_back(i);
        m_standInFormats = m_standInFormats || formats[i].hasProperty(kStandFor);
    }
}

const std::vector<int> &Typer::pieceStarts() const
{
    if (m_piecesKnown)
        return m_pieceStarts;
    refreshFormats();
    const QTextDocument *doc = document();
    m_pieceStarts.clear();
    if (!m_jointFormats.empty()) {
        // The character format of a block is that of the separator before it.
        int number = 1;
        for (QTextBlock block = doc->begin().next(); block.isValid();
             block = block.next(), ++number) {
            if (std::find(m_jointFormats.begin(), m_jointFormats.end(), block.charFormatIndex()) !=
                m_jointFormats.end())
                m_pieceStarts.push_back(number);
        }
    }
    m_piecesBlockCount = doc->blockCount();
    m_piecesKnown = true;
    return m_pieceStarts;
}

int Typer::piecesUpTo(int block) const
{
    const std::vector<int> &starts = pieceStarts();
    return int(std::upper_bound(starts.begin(), starts.end(), block) - starts.begin());
}

bool Typer::startsPiece(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid() || block.position() != position || block.blockNumber() == 0)
        return false;
    const std::vector<int> &starts = pieceStarts();
    return std::binary_search(starts.begin(), starts.end(), block.blockNumber());
}

bool Typer::continuesLine(const QTextBlock &block) const
{
    if (!block.isValid() || block.blockNumber() == 0)
        return false;
    const std::vector<int> &starts = pieceStarts();
    return std::binary_search(starts.begin(), starts.end(), block.blockNumber());
}

bool Typer::hasStandIns() const
{
    refreshFormats();
    return m_standInFormats;
}

QString Typer::postText(int from, QStringView raw, QStringView lineBreak) const
{
    const std::vector<int> &starts = pieceStarts();
    const bool standIns = hasStandIns();
    if (starts.empty() && !standIns)
        return rawToPost(raw, lineBreak);

    QString post;
    post.reserve(raw.size() + raw.size() / 16);
    int block = document()->findBlock(from).blockNumber();
    auto joint = std::upper_bound(starts.begin(), starts.end(), block);
    qsizetype done = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char16_t c = raw[i].unicode();
        if (c == QChar::ParagraphSeparator) {
            post.append(raw.mid(done, i - done));
            done = i + 1;
            ++block;
            while (joint != starts.end() && *joint < block)
                ++joint;
            if (joint == starts.end() || *joint != block)
                post.append(lineBreak);
        } else if (c == kStandIn && standIns) {
            QTextCursor at(document());
            at.setPosition(from + int(i) + 1);
            const QVariant original = at.charFormat().property(kStandFor);
            if (original.isValid()) {
                post.append(raw.mid(done, i - done));
                post.append(QChar(char16_t(original.toUInt())));
                done = i + 1;
            }
        }
    }
    post.append(raw.mid(done));
    return post;
}

void Typer::insertPost(QTextCursor &cursor, QStringView post)
{
    // Written text takes no mark from the character before it.
    QTextCharFormat plain = cursor.charFormat();
    plain.clearProperty(kJoint);
    plain.clearProperty(kStandFor);
    plain.clearProperty(QTextFormat::ObjectType);
    const QString text = toLfBreaks(post);
    if (!needsPieces(text)) {
        cursor.insertText(text, plain);
        return;
    }
    const QTextBlockFormat blockFormat = cursor.blockFormat();
    QTextCharFormat joint = plain;
    joint.setProperty(kJoint, true);
    const auto insertRun = [&](QStringView run) {
        qsizetype done = 0;
        for (qsizetype i = 0; i < run.size(); ++i) {
            const char16_t c = run[i].unicode();
            if (!isSeparatorLike(c))
                continue;
            if (i > done)
                cursor.insertText(run.mid(done, i - done).toString(), plain);
            QTextCharFormat standIn = plain;
            standIn.setProperty(kStandFor, uint(c));
            cursor.insertText(QString(QChar(kStandIn)), standIn);
            done = i + 1;
        }
        if (run.size() > done)
            cursor.insertText(run.mid(done).toString(), plain);
    };
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype lineEnd = text.indexOf(QChar(LF), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        qsizetype at = lineStart;
        while (lineEnd - at > kLongLine) {
            const qsizetype cut = pieceEnd(text, at);
            insertRun(QStringView(text).mid(at, cut - at));
            cursor.insertBlock(blockFormat, joint);
            at = cut;
        }
        insertRun(QStringView(text).mid(at, lineEnd - at));
        if (lineEnd == text.size())
            break;
        cursor.insertBlock(blockFormat, plain);
        lineStart = lineEnd + 1;
    }
}

void Typer::writeAt(QTextCursor cursor, const QString &text)
{
    ++m_writing;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertPost(cursor, text);
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
    const QTextCursor cursor = textCursor();
    return postText(cursor.selectionStart(), cursor.selectedText(), CRLF);
}

void Typer::setSelText(const QString &text)
{
    writeAt(textCursor(), text);
}

qsizetype Typer::toPostPosition(int documentPosition) const
{
    // A line break counts one more than its separator, a joint one less.
    const QTextBlock block = document()->findBlock(documentPosition);
    const int number = block.isValid() ? block.blockNumber() : document()->blockCount() - 1;
    return documentPosition + number - 2 * piecesUpTo(number);
}

int Typer::toDocumentPosition(qsizetype postPosition, bool roundUp) const
{
    const QTextDocument *doc = document();
    postPosition = std::clamp<qsizetype>(postPosition, 0, length());
    // Block k starts at post position position(k) + k less two per joint up
    // to it: find the last block starting at or before the position.
    const auto postStart = [&](int number) {
        return qsizetype(doc->findBlockByNumber(number).position()) + number -
               2 * piecesUpTo(number);
    };
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (postStart(mid) <= postPosition)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype offset = postPosition - postStart(lo);
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
    // characterCount counts one separator per block, the last one included;
    // a joint is no character of the post.
    return qsizetype(doc->characterCount()) + doc->blockCount() - 2 -
           2 * qsizetype(pieceStarts().size());
}

PostSource &Typer::source()
{
    if (!m_source)
        m_source = new TyperSource(*this);
    return *m_source;
}

bool Typer::isEmpty() const
{
    return document()->characterCount() <= 1;
}

void Typer::setEditorFont(const QString &family, int pointSize, const QString &drawnIn)
{
    m_editorFamily = family;
    QFont f = font();
    f.setFamily(drawnIn.isEmpty() ? family : drawnIn);
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

bool Typer::jointKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    QTextCursor cursor = textCursor();
    const int before = cursor.position();
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: {
        // Deleting a joint would change nothing the writer can see: delete
        // the character of the post beyond it.
        if (cursor.hasSelection() || modifiers != Qt::NoModifier)
            return false;
        const bool back = event->key() == Qt::Key_Backspace;
        int at = before;
        while (back ? startsPiece(at) : startsPiece(at + 1))
            at += back ? -1 : 1;
        if (at == before)
            return false;
        cursor.setPosition(at);
        if (back)
            cursor.deletePreviousChar();
        else
            cursor.deleteChar();
        setTextCursor(cursor);
        ensureCursorVisible();
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // One press crosses a joint and the character beyond it.
        if (cursor.hasSelection() && modifiers == Qt::NoModifier)
            return false;
        QPlainTextEdit::keyPressEvent(event);
        const int after = textCursor().position();
        const bool right = event->key() == Qt::Key_Right;
        if ((right && after == before + 1 && startsPiece(after)) ||
            (!right && after == before - 1 && startsPiece(before)))
            QPlainTextEdit::keyPressEvent(event);
        return true;
    }
    default:
        return false;
    }
}

bool Typer::eraseEmojiSequence(QKeyEvent *event)
{
    // Qt's Backspace takes one character: the last person of a family, the
    // second half of a flag, leaving a joiner or half a pair behind.
    if (event->key() != Qt::Key_Backspace ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return false;
    const QTextBlock block = cursor.block();
    const QString line = block.text();
    const int end = cursor.position() - block.position();
    const qsizetype start = emojiSequenceStart(line, end);
    if (start < 0)
        return false;
    cursor.setPosition(block.position() + int(start), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

void Typer::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && !(event->modifiers() & Qt::ControlModifier)) {
        // Shift+Return would give U+2028, not a break; and the separator of a
        // break must take no joint mark from the text before it.
        QTextCursor cursor = textCursor();
        QTextCharFormat plain = cursor.charFormat();
        plain.clearProperty(kJoint);
        plain.clearProperty(kStandFor);
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock(cursor.blockFormat(), plain);
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_Y) {
        redo();
        return;
    }
    if (!pieceStarts().empty() && jointKey(event))
        return;
    if (eraseEmojiSequence(event))
        return;
    if (event->text().contains(QChar(kStandIn)) && hasStandIns()) {
        // A typed U+FFFD is itself, not the character a stand-in before it holds.
        QTextCharFormat plain = textCursor().charFormat();
        plain.clearProperty(kStandFor);
        setCurrentCharFormat(plain);
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Typer::dragEnterEvent(QDragEnterEvent *event)
{
    if (!answerFileDrag(event))
        QPlainTextEdit::dragEnterEvent(event);
}

void Typer::dragMoveEvent(QDragMoveEvent *event)
{
    // A file goes nowhere in the text: no drop caret.
    if (!answerFileDrag(event))
        QPlainTextEdit::dragMoveEvent(event);
}

void Typer::dropEvent(QDropEvent *event)
{
    // Text is written at the drop point by insertFromMimeData, as one step.
    const FileDrop drop = fileDropOf(event->mimeData());
    if (!drop.names) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    if (drop.path.isEmpty()) {
        event->ignore();
        return;
    }
    acceptAsCopy(event);
    emit fileDropped(drop.path);
}

bool Typer::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void Typer::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    // The widget would turn CR and LF into two breaks each, and hold a long
    // line in one piece.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertPost(cursor, source->text());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *Typer::createMimeDataFromSelection() const
{
    // The selection exactly as typed (the default copy turns no-break spaces
    // into spaces).
    auto *mime = new QMimeData;
    const QTextCursor cursor = textCursor();
    mime->setText(postText(cursor.selectionStart(), cursor.selectedText(), QStringView(u"\n")));
    return mime;
}

} // namespace quorvane
