#include "commands/lengthstatus.h"

#include "shell/mainform.h"
#include "shell/typer.h"

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
    : QObject(&form), m_form(form), m_tally(tags), m_label(new QLabel)
{
    m_label->setObjectName(QStringLiteral("LengthStatus"));
    m_label->setAccessibleName(QStringLiteral("Post length status"));
    m_label->setToolTip(QStringLiteral("Words, reading time and what is left of the post "
                                       "length limit (Tools, Post Length Limit...)"));
    m_label->setTextFormat(Qt::RichText);
    m_label->setFixedHeight(21);
    // Beside the character count, which keeps its own place.
    auto *count = form.control<QLineEdit>("LettersNo");
    QWidget *row = count->parentWidget();
    if (QBoxLayout *line = holder(row->layout(), count)) {
        m_label->setParent(row);
        line->insertWidget(line->indexOf(count) + 1, m_label);
    } else {
        m_label->setParent(row);
    }

    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &LengthStatus::settle);
    QTextDocument *document = form.typer()->document();
    connect(document, &QTextDocument::contentsChange, this, &LengthStatus::contentsChange);
    m_tally.replace(0, 0, document->blockCount());
    settle();
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
    if (before < 0 || first + before > m_tally.lines())
        m_tally.replace(0, m_tally.lines(), blocks);
    else
        m_tally.replace(first, before, now);
    settle();
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
    QString text = (words == 1 ? QStringLiteral("1 word")
                               : locale.toString(qlonglong(words)) + QStringLiteral(" words")) +
                   QStringLiteral(" \u00B7 ") + locale.toString(qlonglong(readingMinutes(words))) +
                   QStringLiteral(" min read");
    QString rich = text.toHtmlEscaped();
    m_over = false;
    if (m_choice.hasLimit()) {
        const qsizetype left = m_choice.limit - length();
        m_over = left < 0;
        const QString budget = m_over ? locale.toString(qlonglong(left)) + QStringLiteral(" over")
                                      : locale.toString(qlonglong(left)) + QStringLiteral(" left");
        text += QStringLiteral(" \u00B7 ") + budget;
        rich += QStringLiteral(" \u00B7 ") +
                (m_over ? QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>")
                              .arg(budget.toHtmlEscaped())
                        : budget.toHtmlEscaped());
    }
    if (text == m_text)
        return;
    m_text = text;
    m_label->setText(rich);
    m_label->setAccessibleDescription(text);
}

} // namespace quorvane
