#include "commands/searchpanels.h"

#include "shell/mainform.h"
#include "shell/typer.h"
#include "text/search.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

namespace quorvane {

namespace {
const QString kFindCaption = QStringLiteral("Find");
const QString kFindNextCaption = QStringLiteral("Find Next");

// A label that acts as a button: light blue, pointing hand, and a real button
// underneath so the keyboard and screen readers reach it. Its caption turns
// white while it is disabled.
QPushButton *makeLabelButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background-color: rgb(192,192,255); color: black;"
                       " border: 1px solid rgb(192,192,255); padding: 2px 10px; }"
                       "QPushButton:disabled { color: white; }"
                       "QPushButton:pressed { background-color: rgb(168,168,240); }"
                       "QPushButton:focus { border: 1px dotted black; }"));
    return button;
}

QLabel *makeLabel(const char *name, const QString &text, QWidget *parent, bool title = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    if (title) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QLineEdit *makeTermBox(const char *name, QLabel *prompt, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    QString accessible = prompt->text();
    accessible.chop(1); // without the colon
    box->setAccessibleName(accessible);
    prompt->setBuddy(box);
    return box;
}

bool holdsFocus(const QWidget *panel)
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && panel->isAncestorOf(focus);
}
} // namespace

SearchPanels::SearchPanels(MainForm &form) : QObject(&form), m_form(form)
{
    // Both panels start hidden: built after the first paint, or by the first
    // command that needs them.
    form.afterFirstPaint(this, [this] { build(); });

    for (const char *name : {"FindMenu", "SearchCommand"})
        connect(form.command(name), &QAction::triggered, this, &SearchPanels::showFindPanel);
    for (const char *name : {"ReplaceMenu", "ReplaceCommand"})
        connect(form.command(name), &QAction::triggered, this, &SearchPanels::showReplacePanel);
}

void SearchPanels::build()
{
    if (m_findText)
        return;
    buildFindPanel();
    buildReplacePanel();
}

void SearchPanels::buildFindPanel()
{
    QFrame *frame = m_form.findFrame();
    // Named by its title, so a screen reader tells its Cancel from Replace's.
    frame->setAccessibleName(QStringLiteral("Find"));
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(6);
    QLabel *prompt = makeLabel("Label13", QStringLiteral("Find What:"), frame);
    m_findText = makeTermBox("FindText", prompt, frame);
    m_findCommand = makeLabelButton("FindCommand", kFindCaption, frame);
    QPushButton *cancel = makeLabelButton("CancelCommand", QStringLiteral("Cancel"), frame);
    row->addWidget(makeLabel("Label15", QStringLiteral("Find"), frame, true));
    row->addSpacing(8);
    row->addWidget(prompt);
    row->addWidget(m_findText, 1);
    row->addWidget(m_findCommand);
    row->addWidget(cancel);
    applyTermRule();

    connect(m_findText, &QLineEdit::textChanged, this, &SearchPanels::applyTermRule);
    connect(m_findCommand, &QPushButton::clicked, this, &SearchPanels::findNext);
    // Return in the term box finds the next hit as Find does, but the keyboard
    // stays in the box, as in every find bar: a second Return finds the one
    // after instead of replacing the hit with a line break.
    connect(m_findText, &QLineEdit::returnPressed, this, [this] {
        if (m_findCommand->isEnabled())
            find(KeepFocus);
    });
    connect(cancel, &QPushButton::clicked, this, &SearchPanels::closeFindPanel);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), frame);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &SearchPanels::closeFindPanel);
}

void SearchPanels::buildReplacePanel()
{
    QFrame *frame = m_form.replaceFrame();
    frame->setAccessibleName(QStringLiteral("Replace"));
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(6);
    QLabel *findPrompt = makeLabel("Label10", QStringLiteral("Find What:"), frame);
    m_findWhat = makeTermBox("FindWhat", findPrompt, frame);
    QLabel *replacePrompt = makeLabel("Label9", QStringLiteral("Replace With:"), frame);
    m_replaceWith = makeTermBox("ReplaceWith", replacePrompt, frame);
    QPushButton *replace = makeLabelButton("DoReplace", QStringLiteral("Replace"), frame);
    QPushButton *cancel = makeLabelButton("CancelReplace", QStringLiteral("Cancel"), frame);
    row->addWidget(makeLabel("Label2", QStringLiteral("Replace"), frame, true));
    row->addSpacing(8);
    row->addWidget(findPrompt);
    row->addWidget(m_findWhat, 1);
    row->addWidget(replacePrompt);
    row->addWidget(m_replaceWith, 1);
    row->addWidget(replace);
    row->addWidget(cancel);
    // How many the last Replace changed: said in the panel, where the eyes are,
    // without a box to dismiss.
    m_replaceResult = makeLabel("ReplaceResult", QString(), frame);
    row->addWidget(m_replaceResult);

    connect(replace, &QPushButton::clicked, this, &SearchPanels::replaceAll);
    for (QLineEdit *box : {m_findWhat, m_replaceWith}) {
        connect(box, &QLineEdit::returnPressed, this, &SearchPanels::replaceAll);
        connect(box, &QLineEdit::textChanged, m_replaceResult, &QLabel::clear);
        connect(box, &QLineEdit::textChanged, this, [this] { m_replacesToUndo = 0; });
        box->installEventFilter(this);
    }
    // Any other change of the post comes between Undo and the replacements.
    connect(m_form.typer(), &Typer::changed, this, [this] {
        if (!m_rewriting)
            m_replacesToUndo = 0;
    });
    connect(cancel, &QPushButton::clicked, this, &SearchPanels::closeReplacePanel);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), frame);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &SearchPanels::closeReplacePanel);
}

// The panel takes the keyboard when it opens, so the term is typed into its
// box rather than into the post.
void SearchPanels::showFindPanel()
{
    build();
    m_form.findFrame()->show();
    m_form.replaceFrame()->hide();
    m_findText->setFocus(Qt::ShortcutFocusReason);
    m_findText->selectAll();
}

void SearchPanels::showReplacePanel()
{
    build();
    m_form.replaceFrame()->show();
    m_form.findFrame()->hide();
    m_findWhat->setFocus(Qt::ShortcutFocusReason);
    m_findWhat->selectAll();
}

void SearchPanels::applyTermRule()
{
    // The caption colour follows the enabled state (white while disabled).
    m_findCommand->setEnabled(!m_findText->text().isEmpty());
}

void SearchPanels::setFindCaption(const QString &caption)
{
    m_findCommand->setText(caption);
    m_findCommand->setAccessibleName(caption);
}

void SearchPanels::findNext()
{
    find(EditorFocus);
}

void SearchPanels::find(FocusAfterHit focus)
{
    build();
    const QString term = m_findText->text();
    if (term.isEmpty())
        return;
    Typer *typer = m_form.typer();
    const qsizetype hit = findCaseless(typer->text(), term, m_findStart - 1);
    if (hit >= 0) {
        setFindCaption(kFindNextCaption);
        typer->setSelStart(hit);
        typer->setSelLength(term.size());
        if (focus == EditorFocus)
            typer->setFocus(Qt::OtherFocusReason);
        m_findStart = hit + 2;
        return;
    }
    m_findStart = 1;
    m_form.dialogs().message(&m_form, QMessageBox::Information, QStringLiteral("Quorvane"),
                             QStringLiteral("Quorvane has finished searching the document."),
                             QMessageBox::Ok, QMessageBox::Ok);
    setFindCaption(kFindCaption);
}

void SearchPanels::closeFindPanel()
{
    build();
    QFrame *frame = m_form.findFrame();
    const bool hadFocus = holdsFocus(frame);
    frame->hide();
    m_findText->clear();
    m_findCommand->setEnabled(false);
    if (hadFocus)
        m_form.typer()->setFocus(Qt::OtherFocusReason);
}

void SearchPanels::replaceAll()
{
    build();
    const QString term = m_findWhat->text();
    if (term.isEmpty())
        return;
    Typer *typer = m_form.typer();
    const QString text = typer->text();
    const QString replacement = m_replaceWith->text();
    const Rewrite rewrite = rewriteAllCaseless(text, term, replacement);
    // Nothing matched: the post, its selection and its undo history stay as they are.
    if (rewrite.count == 0) {
        m_replaceResult->setText(QStringLiteral("No occurrences found."));
        return;
    }
    // The caret and the selection stay on the same text, and the view where
    // it was: the writer keeps their place in a long post.
    const qsizetype start = typer->selStart();
    const qsizetype end = start + typer->selLength();
    const qsizetype newStart = positionAfterRewrite(text, term, replacement.size(), start);
    const qsizetype newEnd = positionAfterRewrite(text, term, replacement.size(), end);
    QScrollBar *vertical = typer->verticalScrollBar();
    QScrollBar *horizontal = typer->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();
    // One undoable write of the stretch from the first occurrence to the end of
    // the last: the same result as writing the whole post, without rewriting
    // the untouched parts of a long one.
    typer->setSelStart(rewrite.start);
    typer->setSelLength(rewrite.length);
    ++m_rewriting;
    typer->setSelText(rewrite.text);
    --m_rewriting;
    ++m_replacesToUndo;
    typer->setSelStart(newStart);
    typer->setSelLength(newEnd - newStart);
    vertical->setValue(top);
    horizontal->setValue(left);
    m_replaceResult->setText(rewrite.count == 1
                                 ? QStringLiteral("Replaced 1 occurrence.")
                                 : QStringLiteral("Replaced %1 occurrences.").arg(rewrite.count));
}

bool SearchPanels::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+Z in a box right after Replace takes the replacements back, one
    // Replace a press, while the boxes keep what the writer typed.
    if (event->type() == QEvent::KeyPress && m_replacesToUndo > 0 &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)) {
        --m_replacesToUndo;
        ++m_rewriting;
        m_form.typer()->undo();
        --m_rewriting;
        m_replaceResult->clear();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SearchPanels::closeReplacePanel()
{
    build();
    m_replacesToUndo = 0;
    QFrame *frame = m_form.replaceFrame();
    const bool hadFocus = holdsFocus(frame);
    frame->hide();
    m_findWhat->clear();
    m_replaceWith->clear();
    m_replaceResult->clear();
    if (hadFocus)
        m_form.typer()->setFocus(Qt::OtherFocusReason);
}

} // namespace quorvane
