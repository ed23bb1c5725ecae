#include "commands/markupcommands.h"

#include "commands/problemspanel.h"
#include "forum/customtags.h"
#include "settings/editorformat.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QHelpEvent>
#include <QPointer>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>

namespace quorvane {

namespace {
const QColor kPartnerBackground(0xff, 0xe0, 0x8a);
} // namespace

MarkupCommands::MarkupCommands(MainForm &form) : QObject(&form), m_form(form)
{
    Typer *typer = form.typer();
    m_highlighter = new MarkupHighlighter(typer->document());
    m_highlighter->setView(typer);
    m_highlighter->setKnownTags(KnownTags(editorformat::forumTagNames()));
    m_highlighter->setColouring(
        editorformat::readStoredFlag(editorformat::colourTagsKey, editorformat::defaultColourTags));
    m_highlighter->setUnderlining(editorformat::readStoredFlag(
        editorformat::underlineProblemsKey, editorformat::defaultUnderlineProblems));
    m_check = new LiveCheck(typer->document(), *m_highlighter, this);

    QAction *colour = form.command("ColourTags");
    colour->setChecked(m_highlighter->colouring());
    connect(colour, &QAction::toggled, this, [this](bool on) {
        m_highlighter->setColouring(on);
        editorformat::writeStoredFlag(editorformat::colourTagsKey, on);
    });
    QAction *underline = form.command("UnderlineProblems");
    underline->setChecked(m_highlighter->underlining());
    connect(underline, &QAction::toggled, this, [this](bool on) {
        m_highlighter->setUnderlining(on);
        editorformat::writeStoredFlag(editorformat::underlineProblemsKey, on);
    });
    connect(form.command("ForumTags"), &QAction::triggered, this, &MarkupCommands::editForumTags);

    // The panel sits below the editor with the other panels; the count stands
    // after the character count, where the writer looks anyway.
    m_panel = new ProblemsPanel(form, *m_check);
    if (auto *area = qobject_cast<QBoxLayout *>(form.centralWidget()->layout()))
        area->addWidget(m_panel);
    QAction *problems = form.command("ProblemsPanel");
    connect(problems, &QAction::toggled, m_panel, &ProblemsPanel::setShown);
    m_count = new QToolButton(form.mainFrame());
    m_count->setObjectName(QStringLiteral("ProblemCount"));
    m_count->setAutoRaise(true);
    m_count->setFixedHeight(21);
    // Not a Tab stop: the walk through the toolbar stays as it was; F8 opens
    // the list from anywhere.
    m_count->setFocusPolicy(Qt::NoFocus);
    m_count->setToolTip(QStringLiteral("Problems with the tags (F8 lists them)"));
    connect(m_count, &QToolButton::clicked, problems, &QAction::toggle);
    if (auto *rows = form.mainFrame()->layout(); rows && rows->count() > 0) {
        if (auto *first = qobject_cast<QBoxLayout *>(rows->itemAt(0)->layout()))
            first->insertWidget(first->count() - 1, m_count);
    }
    showCount();
    connect(m_check, &LiveCheck::checked, this, [this] {
        showCount();
        showPartner();
    });

    connect(typer, &Typer::cursorPositionChanged, this, &MarkupCommands::showPartner);
    typer->viewport()->installEventFilter(this);

    connect(form.command("CloseOpenTag"), &QAction::triggered, this, &MarkupCommands::closeOpenTag);
    connect(form.command("RemoveTag"), &QAction::triggered, this, &MarkupCommands::removeTag);
    connect(form.command("SelectTagContents"), &QAction::triggered, this,
            &MarkupCommands::selectTagContents);
    connect(form.command("JumpToPartner"), &QAction::triggered, this,
            &MarkupCommands::jumpToPartner);
    connect(form.command("ListFromLines"), &QAction::triggered, this,
            [this] { listFromLines(false); });
    connect(form.command("NumberedListFromLines"), &QAction::triggered, this,
            [this] { listFromLines(true); });
}

void MarkupCommands::showCount()
{
    const LiveCheck::Result *result = m_check->latest();
    const auto count = result ? result->analysis.problems.size() : 0;
    QString text = count == 0   ? QStringLiteral("No problems")
                   : count == 1 ? QStringLiteral("1 problem")
                                : QStringLiteral("%1 problems").arg(count);
    m_count->setText(text);
    m_count->setAccessibleName(text);
}

std::vector<MarkupCommands::Pair> MarkupCommands::pairsNow() const
{
    const QString text = m_form.typer()->text();
    const MarkupAnalysis analysis = analyseMarkup(text, m_highlighter->knownTags());
    std::vector<Pair> pairs;
    for (size_t i = 0; i < analysis.tags.size(); ++i) {
        const qsizetype partner = analysis.partners[i];
        if (partner > qsizetype(i))
            pairs.push_back(Pair{analysis.tags[i], analysis.tags[size_t(partner)]});
    }
    return pairs;
}

void MarkupCommands::closeOpenTag()
{
    Typer *typer = m_form.typer();
    const qsizetype at = typer->selStart() + typer->selLength();
    const QString text = typer->text();
    const std::vector<OpenTag> open = openTagsAt(text, at, m_highlighter->knownTags());
    if (open.empty()) {
        QApplication::beep();
        return;
    }
    const MarkupTag &innermost = open.back().tag;
    typer->setSelStart(at);
    typer->setSelText(QStringLiteral("[/") + innermost.name(text).toString() + QStringLiteral("]"));
}

namespace {
// The innermost pair whose tags and contents hold [from, to].
template <typename Pairs> auto innermostAround(const Pairs &pairs, qsizetype from, qsizetype to)
{
    auto best = pairs.end();
    for (auto it = pairs.begin(); it != pairs.end(); ++it) {
        if (it->opening.start <= from && to <= it->closing.end() &&
            (best == pairs.end() || it->opening.start > best->opening.start))
            best = it;
    }
    return best;
}
} // namespace

void MarkupCommands::removeTag()
{
    Typer *typer = m_form.typer();
    const qsizetype from = typer->selStart();
    const qsizetype to = from + typer->selLength();
    const std::vector<Pair> pairs = pairsNow();
    const auto pair = innermostAround(pairs, from, to);
    if (pair == pairs.end()) {
        QApplication::beep();
        return;
    }
    const QString text = typer->text();
    const QString contents =
        text.mid(pair->opening.end(), pair->closing.start - pair->opening.end());
    typer->setSelStart(pair->opening.start);
    typer->setSelLength(pair->closing.end() - pair->opening.start);
    typer->setSelText(contents);
    typer->setSelStart(pair->opening.start);
    typer->setSelLength(contents.size());
}

void MarkupCommands::selectTagContents()
{
    // Each use selects the next larger stretch: the contents, then the pair
    // with its tags, then the contents of the pair around it.
    Typer *typer = m_form.typer();
    const qsizetype from = typer->selStart();
    const qsizetype to = from + typer->selLength();
    qsizetype bestFrom = -1;
    qsizetype bestTo = -1;
    for (const Pair &pair : pairsNow()) {
        const std::pair<qsizetype, qsizetype> stretches[] = {
            {pair.opening.end(), pair.closing.start},
            {pair.opening.start, pair.closing.end()},
        };
        for (const auto &[start, end] : stretches) {
            const bool holds = start <= from && to <= end && (start != from || end != to);
            if (holds && (bestFrom < 0 || end - start < bestTo - bestFrom)) {
                bestFrom = start;
                bestTo = end;
            }
        }
    }
    if (bestFrom < 0) {
        QApplication::beep();
        return;
    }
    typer->setSelStart(bestFrom);
    typer->setSelLength(bestTo - bestFrom);
}

void MarkupCommands::jumpToPartner()
{
    Typer *typer = m_form.typer();
    const qsizetype at = typer->selStart();
    const QString text = typer->text();
    const MarkupAnalysis analysis = analyseMarkup(text, m_highlighter->knownTags());
    const qsizetype tag = analysis.tagAt(at);
    const qsizetype partner = tag >= 0 ? analysis.partners[size_t(tag)] : -1;
    if (partner < 0) {
        QApplication::beep();
        return;
    }
    typer->setSelStart(analysis.tags[size_t(partner)].start);
    typer->ensureCursorVisible();
}

void MarkupCommands::listFromLines(bool numbered)
{
    Typer *typer = m_form.typer();
    const QString text = typer->text();
    qsizetype from = typer->selStart();
    qsizetype to = from + typer->selLength();
    // Whole lines; a selection that ends at the start of a line leaves it out.
    if (to > from && to >= 2 && text.mid(to - 2, 2) == QLatin1String("\r\n"))
        to -= 2;
    const qsizetype breakBefore =
        from >= 2 ? text.lastIndexOf(QLatin1String("\r\n"), from - 2) : -1;
    from = breakBefore < 0 ? 0 : breakBefore + 2;
    qsizetype end = text.indexOf(QLatin1String("\r\n"), to);
    if (end < 0)
        end = text.size();
    QString list = numbered ? QStringLiteral("[LIST=1]") : QStringLiteral("[LIST]");
    for (const QStringView line : QStringView(text).mid(from, end - from).split(u"\r\n")) {
        if (!line.trimmed().isEmpty())
            list += QStringLiteral("\r\n[*]") + line.toString();
    }
    list += QStringLiteral("\r\n[/LIST]");
    typer->setSelStart(from);
    typer->setSelLength(end - from);
    typer->setSelText(list);
}

void MarkupCommands::editForumTags()
{
    const QPointer<MarkupCommands> alive(this);
    const QString answer = m_form.dialogs().prompt(
        &m_form,
        QStringLiteral("Tag names your forum knows besides these, separated by spaces "
                       "(for example SPOILER2 ABBR):"),
        QStringLiteral("Forum Tag Names"), editorformat::forumTagNames().join(u' '));
    if (!alive || answer.isNull())
        return;
    const KnownTags tags(answer.split(u' ', Qt::SkipEmptyParts));
    editorformat::writeForumTagNames(tags.userNames());
    applyKnownTags();
    emit forumTagNamesChanged();
}

void MarkupCommands::setBoardTags(std::shared_ptr<const ForumTagSet> set)
{
    if (set == m_board)
        return; // Generic at start: nothing to check again
    m_board = std::move(set);
    applyKnownTags();
}

void MarkupCommands::applyKnownTags()
{
    KnownTags tags(editorformat::forumTagNames());
    if (m_board)
        tags.addBoardTags(m_board->customNames, m_board->singleNames, m_board->dialect);
    m_highlighter->setKnownTags(tags);
    m_check->checkNow();
}

void MarkupCommands::showPartner()
{
    Typer *typer = m_form.typer();
    QList<QTextEdit::ExtraSelection> marks;
    const LiveCheck::Result *result = m_check->latest();
    if (result && m_check->isCurrent()) {
        const MarkupAnalysis &analysis = result->analysis;
        const qsizetype tag = analysis.tagAt(typer->textCursor().position());
        const qsizetype partner = tag >= 0 ? analysis.partners[size_t(tag)] : -1;
        if (partner >= 0) {
            for (const qsizetype index : {tag, partner}) {
                const MarkupTag &t = analysis.tags[size_t(index)];
                QTextEdit::ExtraSelection mark;
                mark.cursor = QTextCursor(typer->document());
                mark.cursor.setPosition(int(t.start));
                mark.cursor.setPosition(int(t.end()), QTextCursor::KeepAnchor);
                mark.format.setBackground(kPartnerBackground);
                marks << mark;
            }
        }
    }
    if (!marks.isEmpty() || !typer->extraSelections().isEmpty())
        typer->setExtraSelections(marks);
}

bool MarkupCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        Typer *typer = m_form.typer();
        const QTextCursor at = typer->cursorForPosition(help->pos());
        const QString tip = m_highlighter->toolTipAt(at.position());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, typer->viewport());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane
