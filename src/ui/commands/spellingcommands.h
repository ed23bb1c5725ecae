#pragma once

#include "shell/spellunderlines.h"
#include "spelling/speller.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace quorvane {

class MainForm;

// Spelling in the editor: the dictionary, loaded on a worker once the window
// has been painted and there is something to check (a post with text, the
// View menu or the context menu opened), so start-up neither waits for it nor
// holds it for an empty post; View > Check Spelling and
// View > Spelling Language (both remembered); and the editor's context menu,
// which offers suggestions, Add to Dictionary and Ignore All for a misspelled
// word before the edit commands.
class SpellingCommands : public QObject
{
    Q_OBJECT

public:
    explicit SpellingCommands(MainForm &form);
    ~SpellingCommands() override;

    static SpellingCommands *of(const MainForm &form);

    SpellUnderlines &underlines() const { return *m_underlines; }
    // The dictionary in use, or nullptr (not loaded yet, none, or checking off).
    Speller *speller() const;
    // True once the dictionaries have been looked for and no load is running.
    bool isSettled() const { return m_looked && !m_loading; }

    // The editor's context menu for a point of its viewport. The caller owns
    // it; nothing is shown.
    QMenu *contextMenuFor(QPoint viewportPosition);
    // The same for the word at (or just before) the caret, as the menu key
    // gives it.
    QMenu *contextMenuAtCaret();

    // Looks for the dictionaries and loads the chosen one now, unless that
    // was done or is under way.
    void lookForDictionaries();
    // Checks with the installed dictionary of that tag from now on.
    void chooseLanguage(const QString &tag);

signals:
    // A look for dictionaries (and a load, when checking is on) has ended.
    void loaded();

private:
    struct Loading
    {
        std::vector<Dictionary> installed;
        QString tag;
        std::shared_ptr<Speller> speller;
        QString error;
    };
    static Loading load(const QString &wanted, bool withDictionary);
    void startLoading();
    void finishLoading();
    void fillLanguages(const QString &current);
    void showAvailability();
    void apply();
    QMenu *menuFor(int position, bool endCounts);
    // Shows the menu (and deletes it after), or the caret's below the caret.
    void showMenu(QMenu *menu, QPoint where);
    void showMenuAtCaret();
    bool eventFilter(QObject *watched, QEvent *event) override;

    MainForm &m_form;
    QPointer<SpellUnderlines> m_underlines; // the highlighter's, which may go first
    QAction *m_check = nullptr;
    QMenu *m_languages = nullptr;
    QActionGroup *m_languageGroup = nullptr;
    QFutureWatcher<Loading> m_watcher;
    bool m_shown = false;
    bool m_loading = false;
    bool m_looked = false;
    bool m_loadAgain = false;
    bool m_showingAvailability = false;
    // The tag asked for ("" for the system's), and the one loaded.
    QString m_wanted;
    std::shared_ptr<Speller> m_speller;
    // Why checking cannot be on ("" when it can).
    QString m_unavailable;
};

} // namespace quorvane
