#include "windows/splitwindow.h"

#include "text/textrules.h"
#include "windows/postsource.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

namespace quorvane {

namespace {

enum Column { PartColumn, LengthColumn, StartColumn, CopyColumn, Columns };

// The first words of a part on one line.
QString preview(const QString &part)
{
    constexpr qsizetype kShown = 80;
    QString start = part.left(kShown + 1).simplified();
    if (start.size() > kShown || part.size() > kShown + 1)
        start = start.left(kShown) + QChar(0x2026);
    return start;
}

} // namespace

SplitWindow::SplitWindow(PostSource &post, const KnownTags &tags, QWidget *parent)
    : QWidget(parent, Qt::Window), m_post(post), m_tags(tags), m_summary(new QLabel(this)),
      m_showFailure(new QPushButton(QStringLiteral("&Show in Post"), this)),
      m_list(new QTableWidget(0, Columns, this)),
      m_copyNext(new QPushButton(QStringLiteral("Copy &Next"), this)), m_copied(new QLabel(this)),
      m_labels(new QCheckBox(QStringLiteral("&Label parts:"), this)),
      m_template(new QLineEdit(this)), m_where(new QComboBox(this))
{
    setObjectName(QStringLiteral("SplitWindow"));
    setWindowTitle(QStringLiteral("Quorvane - Split Post"));
    resize(640, 400);

    m_summary->setObjectName(QStringLiteral("SplitSummary"));
    m_summary->setWordWrap(true);
    m_showFailure->setObjectName(QStringLiteral("ShowFailure"));
    m_showFailure->hide();
    m_list->setObjectName(QStringLiteral("Parts"));
    m_list->setAccessibleName(QStringLiteral("Parts"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Part"), QStringLiteral("Length"),
                                       QStringLiteral("Starts with"), QString()});
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->horizontalHeader()->setSectionResizeMode(StartColumn, QHeaderView::Stretch);
    m_copyNext->setObjectName(QStringLiteral("CopyNext"));
    m_copied->setObjectName(QStringLiteral("CopiedLast"));

    const postlimit::Labels labels = postlimit::readLabels();
    m_labels->setObjectName(QStringLiteral("PartLabels"));
    m_labels->setChecked(labels.on);
    m_template->setObjectName(QStringLiteral("LabelTemplate"));
    m_template->setText(labels.labelTemplate);
    m_template->setToolTip(QStringLiteral("%1 is the part's number, %2 how many parts there are"));
    m_template->setAccessibleName(QStringLiteral("Label"));
    m_where->setObjectName(QStringLiteral("LabelPlace"));
    m_where->addItem(QStringLiteral("at the top"), true);
    m_where->addItem(QStringLiteral("at the bottom"), false);
    m_where->setCurrentIndex(labels.atTop ? 0 : 1);
    m_where->setAccessibleName(QStringLiteral("Label place"));

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_showFailure);
    layout->addLayout(top);
    auto *labelRow = new QHBoxLayout;
    labelRow->addWidget(m_labels);
    labelRow->addWidget(m_template, 1);
    labelRow->addWidget(m_where);
    layout->addLayout(labelRow);
    layout->addWidget(m_list, 1);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseSplit"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_copied, 1);
    bottom->addWidget(m_copyNext);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    // Closed as a dialog is: its Close button or Esc.
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(m_copyNext, &QPushButton::clicked, this, &SplitWindow::copyNext);
    connect(m_showFailure, &QPushButton::clicked, this, [this] {
        if (m_failedPosition >= 0)
            emit showInPost(m_failedPosition);
    });
    connect(m_labels, &QCheckBox::toggled, this, &SplitWindow::labelsChanged);
    connect(m_template, &QLineEdit::textEdited, this, &SplitWindow::labelsChanged);
    connect(m_where, &QComboBox::activated, this, &SplitWindow::labelsChanged);

    // The list follows the post once typing pauses, while the window shows.
    m_follow.setSingleShot(true);
    m_follow.setInterval(400);
    connect(&m_follow, &QTimer::timeout, this, &SplitWindow::refresh);
    connect(&m_post, &PostSource::changed, this, [this] {
        if (isVisible())
            m_follow.start();
    });
}

void SplitWindow::setChoice(const postlimit::Choice &choice)
{
    m_choice = choice;
    if (isVisible())
        refresh();
}

SplitOptions SplitWindow::options() const
{
    SplitOptions options;
    options.limit = m_choice.limit;
    options.rule = m_choice.rule;
    if (m_labels->isChecked())
        options.labelTemplate = m_template->text();
    options.labelAtTop = m_where->currentData().toBool();
    return options;
}

void SplitWindow::labelsChanged()
{
    m_template->setEnabled(m_labels->isChecked());
    m_where->setEnabled(m_labels->isChecked());
    postlimit::writeLabels(
        {m_labels->isChecked(), m_template->text(), m_where->currentData().toBool()});
    refresh();
}

void SplitWindow::refresh()
{
    m_follow.stop();
    m_template->setEnabled(m_labels->isChecked());
    m_where->setEnabled(m_labels->isChecked());
    // Parts go to the clipboard as the editor copies: LF line breaks.
    const QString post = toLfBreaks(m_post.text());
    const QStringList before = m_result.parts;
    m_result = m_choice.hasLimit() ? splitPost(post, options(), m_tags) : SplitResult{};
    m_failedPosition = -1;
    const QLocale locale;
    if (!m_choice.hasLimit()) {
        m_summary->setText(QStringLiteral("No post length limit is set."));
    } else if (!m_result.ok) {
        // Where the piece that cannot fit starts, as line and column.
        const QStringView head = QStringView(post).first(m_result.failedAt);
        const qsizetype line = head.count(u'\n');
        const qsizetype column = m_result.failedAt - (head.lastIndexOf(u'\n') + 1);
        m_failedPosition = m_result.failedAt + line; // the editor counts CR LF
        m_summary->setText(
            QStringLiteral("The post cannot be split: at line %1, column %2 a run of %3 "
                           "characters that cannot be broken is longer than the limit of %4.")
                .arg(locale.toString(qlonglong(line + 1)), locale.toString(qlonglong(column + 1)),
                     locale.toString(qlonglong(m_result.failedLength)),
                     locale.toString(qlonglong(m_choice.limit))));
    } else {
        const QString limit = locale.toString(qlonglong(m_choice.limit));
        m_summary->setText(
            m_result.parts.size() == 1
                ? QStringLiteral("The post fits in one part of at most %1 characters.").arg(limit)
                : QStringLiteral("%2 parts of at most %1 characters each.")
                      .arg(limit, locale.toString(m_result.parts.size())));
    }
    m_showFailure->setVisible(m_failedPosition >= 0);
    // A changed post starts Copy next again.
    if (m_result.parts != before)
        m_lastCopied = -1;
    fill();
}

void SplitWindow::fill()
{
    const QLocale locale;
    m_list->setRowCount(0);
    m_list->setRowCount(int(m_result.parts.size()));
    for (int row = 0; row < m_result.parts.size(); ++row) {
        const QString &part = m_result.parts[row];
        auto *number = new QTableWidgetItem(locale.toString(row + 1));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_list->setItem(row, PartColumn, number);
        auto *length = new QTableWidgetItem(
            locale.toString(qlonglong(postLength(part, m_choice.rule, m_tags))));
        length->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_list->setItem(row, LengthColumn, length);
        m_list->setItem(row, StartColumn, new QTableWidgetItem(preview(part)));
        auto *copy = new QPushButton(QStringLiteral("Copy"));
        copy->setObjectName(QStringLiteral("CopyPart%1").arg(row + 1));
        copy->setAccessibleName(QStringLiteral("Copy part %1").arg(row + 1));
        connect(copy, &QPushButton::clicked, this, [this, row] { copyPart(row); });
        m_list->setCellWidget(row, CopyColumn, copy);
    }
    m_list->resizeColumnToContents(PartColumn);
    m_list->resizeColumnToContents(LengthColumn);
    m_copyNext->setEnabled(!m_result.parts.isEmpty());
    m_copied->setText(m_lastCopied < 0 ? QString()
                                       : QStringLiteral("Copied part %1 of %2.")
                                             .arg(m_lastCopied + 1)
                                             .arg(m_result.parts.size()));
}

void SplitWindow::copyPart(int index)
{
    if (index < 0 || index >= m_result.parts.size())
        return;
    QGuiApplication::clipboard()->setText(m_result.parts[index]);
    m_lastCopied = index;
    m_list->selectRow(index);
    const bool last = index + 1 == m_result.parts.size();
    m_copied->setText(QStringLiteral("Copied part %1 of %2%3")
                          .arg(index + 1)
                          .arg(m_result.parts.size())
                          .arg(last ? QStringLiteral(", the last.") : QStringLiteral(".")));
    m_copyNext->setText(last ? QStringLiteral("Copy &First Again") : QStringLiteral("Copy &Next"));
}

void SplitWindow::copyNext()
{
    if (m_result.parts.isEmpty())
        return;
    copyPart(m_lastCopied + 1 < m_result.parts.size() ? m_lastCopied + 1 : 0);
}

void SplitWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

} // namespace quorvane
