#include "commands/lengthstatus.h"

#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTextDocument>

namespace quorvane {

namespace {

// About this many characters are read per turn of the event loop, so opening
// a large post or typing "[CODE]" at its top never holds the window long.
constexpr qsizetype kSettleBudget = 256 * 1024;

// The layout under `layout` that holds `widget` directly, or nullptr.
QBoxLayout *holder(QLayout *layout, QWidget *widget)
{
    if (!layout)
        return nullptr;
    if (layout->indexOf(widget) >= 0)
        return qobject_cast<QBoxLayout *>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        if (QBoxLayout *found = holder(layout->itemAt(i)->layout(), widget))
            return found;
    }
    return nullptr;
}

} // namespace

LengthStatus::LengthStatus(MainForm &form, const KnownTags &tags)
    : QObject(&form), m_form(form), m_tally(tags), m_budget(new QLabel), m_words(new QLabel)
{
    m_budget->setObjectName(QStringLiteral("LengthLeft"));
    m_budget->setAccessibleName(QStringLiteral("Post length left"));
    m_budget->setToolTip(QStringLiteral("Characters left of the post length limit "
                                        "(Tools > Post Length Limit...)"));
    m_budget->setTextFormat(Qt::RichText);
    m_budget->setFixedHeight(21);
    m_budget->hide();
    m_words->setObjectName(QStringLiteral("WordCount"));
    m_words->setAccessibleName(QStringLiteral("Words and reading time"));
    m_words->setToolTip(QStringLiteral("Words in the post, and minutes to read it at 230 "
                                       "words a minute"));
    m_words->setFixedHeight(21);
    // The budget in the character count's row, after what already stands
    // there; the words at the end of the row below.
    auto *count = form.control<QLineEdit>("LettersNo");
    QWidget *frame = count->parentWidget();
    m_budget->setParent(frame);
    m_words->setParent(frame);
    if (QBoxLayout *line = holder(frame->layout(), count)) {
        const int last = line->count() - 1;
        line->insertWidget(line->itemAt(last)->spacerItem() ? last : last + 1, m_budget);
    }
    if (auto *rows = qobject_cast<QBoxLayout *>(frame->layout()); rows && rows->count() > 1) {
        if (auto *second = qobject_cast<QBoxLayout *>(rows->itemAt(1)->layout()))
            second->addWidget(m_words);
    }

    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &LengthStatus::settle);
    QTextDocument *document = form.typer()->document();
    connect(document, &QTextDocument::contentsChange, this, &LengthStatus::contentsChange);
    m_tally.replace(0, 0, document->blockCount());
    settle();
    // New forum tag names change what counts as a tag: count again (after
    // the mark-up commands took the names).
    connect(form.command("ForumTags"), &QAction::triggered, this, [this] {
        m_tally.replace(0, m_tally.lines(), m_tally.lines());
        settle();
    });
}

void LengthStatus::setChoice(const postlimit::Choice &choice)
{
    m_choice = choice;
    show();
}

void LengthStatus::contentsChange(int from, int removed, int added)
{
    Q_UNUSED(removed);
    const QTextDocument *document = m_form.typer()->document();
    const qsizetype blocks = document->blockCount();
    // The blocks the change now covers took the place of as many blocks,
    // less those it added.
    const QTextBlock firstBlock = document->findBlock(from);
    const QTextBlock lastBlock = document->findBlock(from + added);
    const qsizetype first = firstBlock.isValid() ? firstBlock.blockNumber() : blocks - 1;
    const qsizetype last = lastBlock.isValid() ? lastBlock.blockNumber() : blocks - 1;
    const qsizetype now = last - first + 1;
    const qsizetype before = now - (blocks - m_tally.lines());
    // A key press reads its own lines at once; a count still going on (a
    // post just opened) goes on a turn of the event loop at a time.
    const bool wasSettled = m_tally.isSettled();
    if (before < 0 || first + before > m_tally.lines())
        m_tally.replace(0, m_tally.lines(), blocks);
    else
        m_tally.replace(first, before, now);
    if (wasSettled)
        settle();
    else
        m_settle.start();
}

void LengthStatus::settle()
{
    const Typer *typer = m_form.typer();
    const QTextDocument *document = typer->document();
    const bool done = m_tally.settle(
        [document, typer](qsizetype number) {
            const QTextBlock block = document->findBlockByNumber(int(number));
            return PostTally::Line{block.text(), typer->continuesLine(block)};
        },
        kSettleBudget);
    if (!done)
        m_settle.start();
    show();
}

void LengthStatus::show()
{
    const QLocale locale;
    const qsizetype words = m_tally.words();
    const QString wordsText =
        (words == 1 ? QStringLiteral("1 word")
                    : locale.toString(qlonglong(words)) + QStringLiteral(" words")) +
        QStringLiteral(" \u00B7 ") + locale.toString(qlonglong(readingMinutes(words))) +
        QStringLiteral(" min");
    QString text = wordsText;
    QString budget;
    m_over = false;
    if (m_choice.hasLimit()) {
        const qsizetype left = m_choice.limit - length();
        m_over = left < 0;
        budget = locale.toString(qlonglong(left)) +
                 (m_over ? QStringLiteral(" over") : QStringLiteral(" left"));
        text += QStringLiteral(" \u00B7 ") + budget;
    }
    if (text == m_text)
        return;
    m_text = text;
    m_words->setText(wordsText);
    m_budget->setText(m_over ? QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>")
                                   .arg(budget.toHtmlEscaped())
                             : budget.toHtmlEscaped());
    m_budget->setAccessibleDescription(budget);
    m_budget->setVisible(m_choice.hasLimit());
}

} // namespace quorvane
