#include "commands/spellingcommands.h"

#include "commands/markupcommands.h"
#include "settings/spelling.h"
#include "shell/mainform.h"
#include "shell/spellunderlines.h"
#include "shell/typer.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {
const char kCheckCaption[] = "Check Spelling";
constexpr int kSuggestions = 6;
} // namespace

SpellingCommands::SpellingCommands(MainForm &form)
    : QObject(&form), m_form(form), m_check(form.command("CheckSpelling")),
      m_languages(form.control<QMenu>("SpellingLanguage")), m_languageGroup(new QActionGroup(this)),
      m_wanted(spelling::readLanguage())
{
    Typer *typer = form.typer();
    auto *markup = form.findChild<MarkupCommands *>();
    Q_ASSERT(markup); // installed before this family
    m_underlines = new SpellUnderlines(*typer, markup->highlighter());

    m_check->setChecked(spelling::readCheck());
    connect(m_check, &QAction::toggled, this, [this](bool on) {
        if (m_showingAvailability)
            return;
        spelling::writeCheck(on);
        apply();
    });
    m_languageGroup->setExclusive(true);
    fillLanguages(QString());
    connect(&m_watcher, &QFutureWatcher<Loading>::finished, this, &SpellingCommands::finishLoading);

    // The first paint, and the editor's context menu, are this family's: a
    // click asks its viewport, the Menu key and Shift+F10 the editor itself.
    typer->viewport()->installEventFilter(this);
    typer->installEventFilter(this);
    connect(typer, &Typer::changed, this, [this] {
        if (m_shown)
            lookForDictionaries();
    });
    connect(form.control<QMenu>("ViewMenu"), &QMenu::aboutToShow, this,
            &SpellingCommands::lookForDictionaries);
}

SpellingCommands::~SpellingCommands()
{
    // A load still running ends on its own; its result is dropped.
    if (m_underlines)
        m_underlines->setSpeller(nullptr);
}

SpellingCommands *SpellingCommands::of(const MainForm &form)
{
    return form.findChild<SpellingCommands *>(QString(), Qt::FindDirectChildrenOnly);
}

Speller *SpellingCommands::speller() const
{
    return m_underlines->speller();
}

SpellingCommands::Loading SpellingCommands::load(const QString &wanted, bool withDictionary)
{
    // On a worker: starting Enchant and reading a dictionary take a while.
    Loading result;
    result.installed = Speller::installedDictionaries();
    const bool known = std::any_of(result.installed.begin(), result.installed.end(),
                                   [&](const Dictionary &d) { return d.tag == wanted; });
    result.tag = known ? wanted : Speller::defaultTag(result.installed);
    // None in the system's language: the first by name rather than none.
    if (result.tag.isEmpty() && !result.installed.empty())
        result.tag = result.installed.front().tag;
    if (result.tag.isEmpty()) {
        result.error = QStringLiteral("no dictionary installed");
        return result;
    }
    if (withDictionary) {
        QString error;
        std::unique_ptr<Speller> speller = Speller::load(result.tag, &error);
        if (speller)
            result.speller = std::move(speller);
        else
            result.error = QStringLiteral("dictionary could not be loaded");
    }
    return result;
}

void SpellingCommands::startLoading()
{
    if (m_loading) {
        m_loadAgain = true;
        return;
    }
    m_loading = true;
    // The stored wish, not the item: it is unticked while no dictionary loads.
    m_watcher.setFuture(
        QtConcurrent::run(&SpellingCommands::load, m_wanted, spelling::readCheck()));
}

void SpellingCommands::finishLoading()
{
    m_loading = false;
    m_looked = true;
    const Loading result = m_watcher.result();
    fillLanguages(result.tag);
    // The dictionary in use changes for a new one or a failure, not for a
    // look with checking off.
    std::shared_ptr<Speller> old;
    if (!result.error.isEmpty() || result.speller)
        old = std::exchange(m_speller, result.speller);
    m_unavailable = result.error;
    showAvailability();
    apply();
    if (std::exchange(m_loadAgain, false)) {
        startLoading();
        return;
    }
    emit loaded();
}

void SpellingCommands::fillLanguages(const QString &current)
{
    m_languages->clear();
    for (QAction *action : m_languageGroup->actions())
        m_languageGroup->removeAction(action);
    if (!m_looked || m_loading) {
        m_languages->addAction(QStringLiteral("(looking for dictionaries)"))->setEnabled(false);
        return;
    }
    if (m_watcher.future().isValid() && m_watcher.result().installed.empty()) {
        m_languages->addAction(QStringLiteral("(no dictionary installed)"))->setEnabled(false);
        return;
    }
    for (const Dictionary &dictionary : m_watcher.result().installed) {
        QAction *action = m_languages->addAction(dictionary.name);
        action->setObjectName(QStringLiteral("SpellingLanguage_") + dictionary.tag);
        action->setData(dictionary.tag);
        action->setCheckable(true);
        action->setChecked(dictionary.tag == current);
        m_languageGroup->addAction(action);
        const QString tag = dictionary.tag;
        connect(action, &QAction::triggered, this, [this, tag] { chooseLanguage(tag); });
    }
}

void SpellingCommands::showAvailability()
{
    // The item says why it cannot be ticked; the stored choice stays, so a
    // dictionary installed later is used at once.
    m_showingAvailability = true;
    m_check->setEnabled(m_unavailable.isEmpty());
    if (m_unavailable.isEmpty()) {
        m_check->setText(QString::fromLatin1(kCheckCaption));
        m_check->setChecked(spelling::readCheck());
    } else {
        m_check->setText(QString::fromLatin1(kCheckCaption) + QStringLiteral(" (") + m_unavailable +
                         QLatin1Char(')'));
        m_check->setChecked(false);
    }
    m_showingAvailability = false;
}

void SpellingCommands::apply()
{
    const bool on = m_check->isChecked() && m_unavailable.isEmpty();
    m_underlines->setSpeller(on ? m_speller.get() : nullptr);
    if (on && !m_speller && m_looked)
        startLoading();
}

void SpellingCommands::lookForDictionaries()
{
    if (!m_looked && !m_loading)
        startLoading();
}

void SpellingCommands::chooseLanguage(const QString &tag)
{
    spelling::writeLanguage(tag);
    m_wanted = tag;
    startLoading();
}

QMenu *SpellingCommands::contextMenuFor(QPoint viewportPosition)
{
    const Typer *typer = m_form.typer();
    const QTextCursor at = typer->cursorForPosition(viewportPosition);
    // The nearest gap between characters: left of it, the pointer is over
    // the character before.
    int position = at.position();
    if (viewportPosition.x() < typer->cursorRect(at).x() && at.positionInBlock() > 0)
        --position;
    return menuFor(position, false);
}

QMenu *SpellingCommands::contextMenuAtCaret()
{
    return menuFor(m_form.typer()->textCursor().position(), true);
}

QMenu *SpellingCommands::menuFor(int position, bool endCounts)
{
    lookForDictionaries();
    Typer *typer = m_form.typer();
    auto *menu = new QMenu(typer);
    menu->setObjectName(QStringLiteral("TyperMenu"));
    Speller *speller = m_underlines->speller();
    const std::optional<SpellUnderlines::Word> word =
        speller ? m_underlines->misspellingAt(position, endCounts) : std::nullopt;
    if (word) {
        const QStringList suggestions = speller->suggestions(word->text, kSuggestions);
        if (suggestions.isEmpty())
            menu->addAction(QStringLiteral("(no suggestions)"))->setEnabled(false);
        for (const QString &suggestion : suggestions) {
            QAction *action = menu->addAction(suggestion);
            action->setObjectName(QStringLiteral("Suggestion"));
            connect(action, &QAction::triggered, this, [this, word, suggestion] {
                // One step for Undo, through the editor's own operations.
                Typer *t = m_form.typer();
                const qsizetype from = t->toPostPosition(word->position);
                t->setSelStart(from);
                t->setSelLength(t->toPostPosition(word->position + word->length) - from);
                if (t->selText() == word->text)
                    t->setSelText(suggestion);
            });
        }
        menu->addSeparator();
        QAction *add = menu->addAction(QStringLiteral("Add to Dictionary"));
        add->setObjectName(QStringLiteral("AddToDictionary"));
        connect(add, &QAction::triggered, this, [this, word] {
            if (Speller *s = m_underlines->speller()) {
                s->addToPersonal(word->text);
                m_underlines->refreshAll();
            }
        });
        QAction *ignore = menu->addAction(QStringLiteral("Ignore All"));
        ignore->setObjectName(QStringLiteral("IgnoreAll"));
        connect(ignore, &QAction::triggered, this, [this, word] {
            if (Speller *s = m_underlines->speller()) {
                s->ignoreAll(word->text);
                m_underlines->refreshAll();
            }
        });
        menu->addSeparator();
    }
    // The window's Undo command is never shown; the menu's own follows the
    // editor's undo history, as the editor's Ctrl+Z does.
    QAction *undo = menu->addAction(QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("MenuUndo"));
    undo->setEnabled(typer->document()->isUndoAvailable());
    connect(undo, &QAction::triggered, typer, &Typer::undo);
    menu->addSeparator();
    for (const char *name : {"Cut", "Copy", "Paste", "Delete"})
        menu->addAction(m_form.command(name));
    menu->addSeparator();
    menu->addAction(m_form.command("SelectAll"));
    return menu;
}

void SpellingCommands::showMenuAtCaret()
{
    Typer *typer = m_form.typer();
    typer->ensureCursorVisible();
    showMenu(contextMenuAtCaret(),
             typer->viewport()->mapToGlobal(typer->cursorRect().bottomLeft()));
}

void SpellingCommands::showMenu(QMenu *menu, QPoint where)
{
    QPointer<QMenu> shown = menu;
    menu->exec(where);
    delete shown;
}

bool SpellingCommands::eventFilter(QObject *watched, QEvent *event)
{
    // Other events come while the window is taken down too, when the form
    // may no longer be asked for its editor.
    const QEvent::Type type = event->type();
    if (type != QEvent::Paint && type != QEvent::ContextMenu && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    Typer *typer = m_form.typer();
    if (event->type() == QEvent::Paint && !m_shown) {
        m_shown = true;
        // After this paint has reached the screen.
        if (!typer->isEmpty())
            QTimer::singleShot(0, this, &SpellingCommands::lookForDictionaries);
    } else if (event->type() == QEvent::ContextMenu &&
               (watched != typer ||
                static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard)) {
        // The Menu key comes as a request of the keyboard (to the editor),
        // the pointer's to the viewport.
        auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() == QContextMenuEvent::Keyboard)
            showMenuAtCaret();
        else
            showMenu(contextMenuFor(request->pos()), request->globalPos());
        return true;
    } else if (event->type() == QEvent::KeyPress && watched == typer) {
        // Shift+F10 is the other key for the context menu on the desktop.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            showMenuAtCaret();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane
