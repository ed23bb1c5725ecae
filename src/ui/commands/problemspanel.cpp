#include "commands/problemspanel.h"

#include "shell/livecheck.h"
#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane {

namespace {
// Beyond this the list says how many more there are: a post with thousands
// of problems needs fixing at the top first.
constexpr size_t kListed = 2000;
constexpr int kPositionRole = Qt::UserRole;
constexpr int kLengthRole = Qt::UserRole + 1;
} // namespace

ProblemsPanel::ProblemsPanel(MainForm &form, LiveCheck &check)
    : QFrame(form.centralWidget()), m_form(form), m_check(check)
{
    setObjectName(QStringLiteral("ProblemsFrame"));
    setFrameShape(QFrame::StyledPanel);
    hide();
    // Hidden at start: its contents are built after the first paint, or when
    // first shown.
    form.afterFirstPaint(this, [this] { build(); });
    connect(&check, &LiveCheck::checked, this, [this] {
        if (isVisible())
            refill();
    });
}

QListWidget *ProblemsPanel::list()
{
    build();
    return m_list;
}

void ProblemsPanel::build()
{
    if (m_list)
        return;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    auto *title = new QLabel(QStringLiteral("Problems"), this);
    layout->addWidget(title);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ProblemsList"));
    m_list->setAccessibleName(QStringLiteral("Problems"));
    m_list->setFixedHeight(90);
    title->setBuddy(m_list);
    layout->addWidget(m_list);
    connect(m_list, &QListWidget::itemActivated, this, &ProblemsPanel::activate);
    auto *escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), m_list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this,
            [this] { m_form.typer()->setFocus(Qt::ShortcutFocusReason); });
}

void ProblemsPanel::setVisible(bool visible)
{
    // Built before it shows: children made while it shows would stay hidden.
    if (visible)
        build();
    QFrame::setVisible(visible);
}

void ProblemsPanel::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    m_list->setCurrentRow(-1);
    refill();
}

void ProblemsPanel::setShown(bool shown)
{
    if (shown) {
        show();
        m_list->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (isAncestorOf(QApplication::focusWidget()))
        m_form.typer()->setFocus(Qt::OtherFocusReason);
    hide();
}

void ProblemsPanel::refill()
{
    build();
    // A check after an edit keeps the writer's place in the list.
    const int row = m_list->currentRow();
    m_list->clear();
    const LiveCheck::Result *result = m_check.latest();
    if (!result || (result->analysis.problems.empty() && result->warnings.empty())) {
        m_list->addItem(QStringLiteral("No problems with the tags."));
        return;
    }
    // The errors, then what the chosen forum does other than what was meant.
    auto add = [this](const std::vector<MarkupProblem> &problems,
                      const std::vector<LineColumns::Place> &places) {
        for (size_t i = 0; i < problems.size() && i < kListed; ++i) {
            auto *item = new QListWidgetItem(QStringLiteral("Line %1, column %2: %3")
                                                 .arg(places[i].line)
                                                 .arg(places[i].column)
                                                 .arg(problems[i].message),
                                             m_list);
            item->setData(kPositionRole, qlonglong(problems[i].position));
            item->setData(kLengthRole, qlonglong(problems[i].length));
        }
        if (problems.size() > kListed)
            m_list->addItem(QStringLiteral("... and %1 more").arg(problems.size() - kListed));
    };
    add(result->analysis.problems, result->places);
    add(result->warnings, result->warningPlaces);
    m_list->setCurrentRow(std::clamp(row, 0, m_list->count() - 1));
}

void ProblemsPanel::activate(QListWidgetItem *item)
{
    const QVariant position = item->data(kPositionRole);
    if (!position.isValid())
        return;
    // The list holds document positions; the post counts a break as two.
    Typer *typer = m_form.typer();
    const int start = int(position.toLongLong());
    const int end = start + int(item->data(kLengthRole).toLongLong());
    const qsizetype postStart = typer->toPostPosition(start);
    typer->setSelStart(postStart);
    typer->setSelLength(typer->toPostPosition(end) - postStart);
    typer->ensureCursorVisible();
    typer->setFocus(Qt::OtherFocusReason);
}

} // namespace quorvane
