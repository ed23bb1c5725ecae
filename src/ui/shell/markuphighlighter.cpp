#include "shell/markuphighlighter.h"

#include "markup/markuptokens.h"

#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QTextBlockUserData>
#include <QTextDocument>

namespace quorvane {

namespace {
// An insertion this large (a post being opened) is not coloured while it is
// made: its blocks' states are worked out in slices, colours as they show.
constexpr int kLargeInsertion = 100000;
// One slice of state work between events, in milliseconds.
constexpr int kSliceBudget = 8;
// A block whose state is not known yet.
constexpr int kUnknown = -2;
static_assert(kUnknown != MarkupScanner::noVerbatim);
} // namespace

const QColor MarkupHighlighter::nameColour(0x0b, 0x4f, 0x9c);  // 8.1:1 on white
const QColor MarkupHighlighter::valueColour(0x8a, 0x3b, 0x00); // 8.3:1
const QColor MarkupHighlighter::codeColour(0x1e, 0x5e, 0x1e);  // 7.3:1 on its background
const QColor MarkupHighlighter::codeBackground(0xf2, 0xf2, 0xf2);
const QColor MarkupHighlighter::problemColour(0xc0, 0x00, 0x00);
const QColor MarkupHighlighter::warningColour(0xe0, 0x90, 0x00);

class MarkupHighlighter::BlockData : public QTextBlockUserData
{
public:
    int stateIn = kUnknown;              // the state at the block's start that `end` follows from
    int end = MarkupScanner::noVerbatim; // the verbatim tag open after the block
    int colouredWith = kUnknown;         // the state at the start its colours assume
    bool dirty = true;                   // `end` must be worked out again
    bool stale = true;                   // its colours must be made again
    std::vector<BlockProblem> problems;
};

MarkupHighlighter::MarkupHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(static_cast<QObject *>(nullptr))
{
    setParent(document);
    // Connected around the highlighter's own handler, so a large insertion is
    // known before its blocks are met.
    connect(document, &QTextDocument::contentsChange, this, [this](int, int, int added) {
        if (++m_changeDepth > 1 || m_inSlice)
            return;
        ++m_textRevision;
        m_largeInsertion = added > kLargeInsertion;
        emit textChanged();
    });
    setDocument(document);
    connect(document, &QTextDocument::contentsChange, this, [this] {
        if (--m_changeDepth == 0)
            m_largeInsertion = false;
    });
    m_sweep = QTextCursor(document);
    m_slice.setSingleShot(true);
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &MarkupHighlighter::stateSlice);

    m_name.setForeground(nameColour);
    m_value.setForeground(valueColour);
    m_code.setForeground(codeColour);
    m_code.setBackground(codeBackground);
}

void MarkupHighlighter::setView(QPlainTextEdit *view)
{
    m_view = view;
    view->viewport()->installEventFilter(this);
}

void MarkupHighlighter::setKnownTags(const KnownTags &tags)
{
    m_known = tags;
    markAllStale();
}

void MarkupHighlighter::setColouring(bool on)
{
    if (on == m_colouring)
        return;
    m_colouring = on;
    markAllStale();
}

void MarkupHighlighter::setUnderlining(bool on)
{
    if (on == m_underlining)
        return;
    m_underlining = on;
    markAllStale();
}

void MarkupHighlighter::addUnderlineSource(const UnderlineSource *source)
{
    m_sources.push_back(source);
    markAllStale();
}

void MarkupHighlighter::refreshRange(int from, int to)
{
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next())
        ensureData(block)->stale = true;
    if (m_view)
        m_view->viewport()->update();
}

MarkupHighlighter::BlockData *MarkupHighlighter::dataOf(const QTextBlock &block)
{
    return static_cast<BlockData *>(block.userData());
}

MarkupHighlighter::BlockData *MarkupHighlighter::ensureData(QTextBlock block)
{
    BlockData *data = dataOf(block);
    if (!data) {
        data = new BlockData;
        block.setUserData(data);
    }
    return data;
}

int MarkupHighlighter::incomingState(const QTextBlock &block)
{
    const QTextBlock previous = block.previous();
    if (!previous.isValid())
        return MarkupScanner::noVerbatim;
    const BlockData *data = dataOf(previous);
    if (!data || data->dirty || data->stateIn == kUnknown)
        return kUnknown;
    return data->end;
}

std::optional<int> MarkupHighlighter::verbatimAtStart(const QTextBlock &block)
{
    const int state = incomingState(block);
    return state == kUnknown ? std::nullopt : std::optional<int>(state);
}

void MarkupHighlighter::markDirty(QTextBlock block)
{
    if (!block.isValid())
        return;
    ensureData(block)->dirty = true;
    if (!m_sweeping || block.position() < m_sweep.position()) {
        m_sweep.setPosition(block.position());
        m_sweeping = true;
    }
    if (!m_slice.isActive())
        m_slice.start();
}

void MarkupHighlighter::markAllStale()
{
    QTextDocument *doc = document();
    if (!doc)
        return;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        ensureData(block)->stale = true;
    if (m_view)
        m_view->viewport()->update();
}

std::pair<int, int> MarkupHighlighter::visibleRange() const
{
    const QWidget *viewport = m_view->viewport();
    return {m_view->cursorForPosition(QPoint(0, 0)).position(),
            m_view->cursorForPosition(QPoint(viewport->width(), viewport->height())).position()};
}

void MarkupHighlighter::stateSlice()
{
    // Works out the state after each marked block, in order, without
    // colouring: what is on screen is coloured when it is painted.
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = document()->findBlock(m_sweep.position());
    int changedFrom = -1;
    int changedTo = -1;
    int walked = 0;
    while (block.isValid()) {
        BlockData *data = ensureData(block);
        if (data->dirty) {
            const int incoming = incomingState(block);
            MarkupScanner scanner(m_known);
            scanner.setVerbatim(incoming == kUnknown ? MarkupScanner::noVerbatim : incoming);
            const QString text = block.text();
            scanner.scan(text, 0, text.size(), [](const MarkupTag &) {});
            const bool endChanged = data->stateIn == kUnknown || data->end != scanner.verbatim();
            data->stateIn = incoming;
            data->end = scanner.verbatim();
            data->dirty = false;
            if (data->colouredWith != incoming) {
                if (changedFrom < 0)
                    changedFrom = block.position();
                changedTo = block.position();
            }
            if (endChanged && block.next().isValid())
                ensureData(block.next())->dirty = true;
        }
        block = block.next();
        // The clock is read every few blocks: most are passed over unchanged.
        if (++walked % 32 == 0 && clock.elapsed() >= kSliceBudget)
            break;
    }
    if (m_view && changedFrom >= 0) {
        const auto [from, to] = visibleRange();
        if (changedFrom <= to && changedTo >= from - 1)
            m_view->viewport()->update();
    }
    if (block.isValid()) {
        m_sweep.setPosition(block.position());
        m_slice.start();
        return;
    }
    m_sweeping = false;
    emit settled();
}

void MarkupHighlighter::colourVisible()
{
    const auto [from, to] = visibleRange();
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int incoming = incomingState(block);
        if (incoming == kUnknown)
            return; // the state slices come here and paint again
        const BlockData *data = dataOf(block);
        if (data && !data->dirty && !data->stale && data->colouredWith == incoming)
            continue;
        // New colours are no change of the text: the editor and the window
        // must not hear of them as one.
        const QSignalBlocker quiet(document());
        m_inSlice = true;
        rehighlightBlock(block);
        m_inSlice = false;
    }
}

bool MarkupHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && m_view && document() && watched == m_view->viewport())
        colourVisible();
    return QSyntaxHighlighter::eventFilter(watched, event);
}

void MarkupHighlighter::setProblems(const std::vector<MarkupProblem> &problems, quint64 revision)
{
    setProblems(problems, {}, revision);
}

void MarkupHighlighter::setProblems(const std::vector<MarkupProblem> &problems,
                                    const std::vector<MarkupProblem> &warnings, quint64 revision)
{
    if (revision != m_textRevision)
        return;
    auto next = problems.begin();
    auto nextWarning = warnings.begin();
    bool changed = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int start = block.position();
        const int end = start + block.length();
        std::vector<BlockProblem> mine;
        auto take = [&](auto &it, const std::vector<MarkupProblem> &from, bool warning) {
            for (; it != from.end() && it->position < end; ++it) {
                if (it->position >= start)
                    mine.push_back(BlockProblem{int(it->position - start), int(it->length),
                                                it->message, warning});
            }
        };
        take(next, problems, false);
        take(nextWarning, warnings, true);
        BlockData *data = dataOf(block);
        if (!data && mine.empty())
            continue;
        data = ensureData(block);
        if (data->problems != mine) {
            data->problems = std::move(mine);
            data->stale = true;
            changed = true;
        }
    }
    if (changed && m_view)
        m_view->viewport()->update();
}

QString MarkupHighlighter::toolTipAt(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return QString();
    const int offset = position - block.position();
    QStringList messages;
    if (const BlockData *data = dataOf(block); data && m_underlining) {
        for (const BlockProblem &problem : data->problems) {
            if (offset >= problem.start && offset < problem.start + problem.length)
                messages << problem.message;
        }
    }
    std::vector<Underline> extra;
    for (const UnderlineSource *source : m_sources)
        source->underlines(block, block.text(), extra);
    for (const Underline &u : extra) {
        if (offset >= u.start && offset < u.start + u.length && !u.toolTip.isEmpty())
            messages << u.toolTip;
    }
    return messages.join(u'\n');
}

void MarkupHighlighter::underline(int start, int length, const QColor &colour)
{
    for (int i = start; i < start + length; ++i) {
        QTextCharFormat f = format(i);
        f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        f.setUnderlineColor(colour);
        setFormat(i, 1, f);
    }
}

void MarkupHighlighter::highlightBlock(const QString &text)
{
    QTextBlock block = currentBlock();
    BlockData *data = ensureData(block);
    if (!m_inSlice)
        data->problems.clear(); // edited: its problems wait for the next check

    const int incoming = incomingState(block);
    if (incoming == kUnknown || m_largeInsertion) {
        // The block above waits for its state, or a whole post is coming in:
        // the slices work the state out and the block is coloured on screen.
        data->colouredWith = kUnknown;
        markDirty(block);
        return;
    }

    MarkupScanner scanner(m_known);
    scanner.setVerbatim(incoming);
    int codeFrom = incoming != MarkupScanner::noVerbatim ? 0 : -1;
    scanner.scan(text, 0, text.size(), [&](const MarkupTag &tag) {
        const int start = int(tag.start);
        if (codeFrom >= 0 && m_colouring)
            setFormat(codeFrom, start - codeFrom, m_code);
        codeFrom = -1;
        if (m_colouring && tag.id != KnownTags::unknown) {
            // The brackets take the name's colour: fewer runs of colour make
            // a cheaper paint, and the value stands out on its own.
            setFormat(start, tag.length, m_name);
            if (tag.hasValue)
                setFormat(int(tag.valueStart()), tag.valueLength, m_value);
        }
        if (scanner.verbatim() != MarkupScanner::noVerbatim)
            codeFrom = int(tag.end());
    });
    if (codeFrom >= 0 && m_colouring)
        setFormat(codeFrom, int(text.size()) - codeFrom, m_code);

    if (m_underlining) {
        // Warnings first: an error on the same tag shows over them.
        for (const bool warnings : {true, false}) {
            for (const BlockProblem &problem : data->problems) {
                if (problem.warning == warnings)
                    underline(problem.start, problem.length,
                              warnings ? warningColour : problemColour);
            }
        }
    }
    if (!m_sources.empty()) {
        std::vector<Underline> extra;
        for (const UnderlineSource *source : m_sources)
            source->underlines(block, text, extra);
        for (const Underline &u : extra)
            underline(u.start, u.length, u.colour);
    }

    const bool endChanged =
        data->dirty || data->stateIn == kUnknown || data->end != scanner.verbatim();
    data->stateIn = incoming;
    data->end = scanner.verbatim();
    data->colouredWith = incoming;
    data->dirty = false;
    data->stale = false;
    if (endChanged)
        markDirty(block.next());
}

} // namespace quorvane
