#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QFrame;
class QToolButton;

namespace quorvane {

class BusyIndicator;
class Launcher;
class Typer;
class UserDialogs;

// The main window: the catalogue of menus, top strip, toolbar, editor and
// panels. It knows no command family: each lives in its own small class that
// finds its controls here by name and wires them (commands/installcommands.h).
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    // When the menus get their items. Their titles are always made at once.
    enum class MenuItems {
        Now,
        // Once the first frame is on the screen, or when fillMenus() is
        // called first: a start paints the menu bar without them.
        AfterFirstPaint,
    };

    // beforeText runs once the commands and menus are made, before the first
    // widget that lays out text (the fonts are first asked for there): a
    // start waits there for the font configuration read on another thread.
    MainForm(UserDialogs &dialogs, Launcher &launcher, QWidget *parent = nullptr,
             MenuItems items = MenuItems::Now, const std::function<void()> &beforeText = {});
    ~MainForm() override;

    Typer *typer() const { return m_typer; }
    // Every question the program asks goes through here; aboutToAsk is
    // raised before each.
    UserDialogs &dialogs() const { return *m_announcing; }
    Launcher &launcher() const { return m_launcher; }

    // Gives the menus their items now, if they have none yet.
    void fillMenus();

    // The command of that name (a menu item, or the action behind a button).
    // An unknown name ends the program with a message, in every build.
    QAction *command(const char *name) const;
    // Any control by name.
    template <class T> T *control(const char *name) const
    {
        return findChild<T *>(QLatin1String(name));
    }

    QFrame *topFrame() const { return m_topFrame; }
    QFrame *mainFrame() const { return m_mainFrame; }
    // Panels below the editor, hidden until a command shows them; each command
    // family fills its own.
    QFrame *findFrame() const { return m_findFrame; }
    QFrame *replaceFrame() const { return m_replaceFrame; }
    QFrame *smilesFrame() const { return m_smilesFrame; }

    // Auxiliary windows are pseudo-modal: while one is shown the main window
    // takes no input; closing it gives the main window back.
    void openAuxiliary(QWidget *window);
    void closeAuxiliary(QWidget *window);

    // Asked before the window closes by any route; returning false keeps it
    // open. Set by the document commands.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }
    // Asks what a close would ask (a modified post: save?) without closing;
    // true when the window may close.
    bool mayClose() { return !m_closeGuard || m_closeGuard(); }

    // Shows a bar between the toolbar and the editor (the editor gives up
    // the room while it is shown).
    void addAboveEditor(QWidget *bar);
    // Puts `area` (which holds the editor, such as a splitter with the
    // preview) where the editor stands; the bars above it stay above it.
    void setEditorArea(QWidget *area);

    // Runs work once the window's first paint has reached the screen (at
    // once when it has), in the order asked: what the first paint does not
    // show (hidden panels) costs the start nothing. Work whose context is
    // gone by then is dropped. A family that needs its part sooner, because a
    // command came first, builds it then.
    void afterFirstPaint(QObject *context, std::function<void()> work);
    bool isPastFirstPaint() const { return m_pastFirstPaint; }

    // While long work fills the editor no command runs and nothing can be
    // typed; the window still repaints and can be asked to close.
    void holdInput(bool hold);
    bool isHoldingInput() const { return m_holding; }
    // The busy cursor and progress bar of long work.
    BusyIndicator &busyIndicator() const { return *m_busy; }

signals:
    // The window has closed: the program ends.
    void closed();
    // A prompt, message or file dialog is about to open.
    void aboutToAsk();
    // A file was dropped on the window or the editor.
    void fileDropped(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildCommands();
    // Puts every command that is no exclusive choice into m_commands, once.
    void groupCommands();
    void buildLayout();
    void placeLocker();
    void giveInputBack();
    void enableCommands(bool enabled);
    void runAfterFirstPaint();

    UserDialogs &m_dialogs;
    std::unique_ptr<UserDialogs> m_announcing;
    Launcher &m_launcher;
    Typer *m_typer = nullptr;
    QFrame *m_topFrame = nullptr;
    QFrame *m_mainFrame = nullptr;
    QFrame *m_findFrame = nullptr;
    QFrame *m_replaceFrame = nullptr;
    QFrame *m_smilesFrame = nullptr;
    QWidget *m_lockerSlot = nullptr;
    QToolButton *m_locker = nullptr;
    QWidget *m_editorArea = nullptr; // the editor itself until an area is set
    QPointer<QWidget> m_focusBeforeAuxiliary;
    QActionGroup *m_commands = nullptr;
    // The table's commands by name (the names are the table's own strings):
    // the families look up a few hundred of them while the window is built.
    std::unordered_map<std::string_view, QPointer<QAction>> m_commandsByName;
    // The exclusive choices (a row's radioGroup): an action belongs to one
    // group only, so these are enabled and disabled beside m_commands.
    std::vector<QActionGroup *> m_radioGroups;
    std::function<bool()> m_closeGuard;
    bool m_holding = false;
    BusyIndicator *m_busy = nullptr;
    bool m_painted = false;
    bool m_pastFirstPaint = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_afterFirstPaint;
};

} // namespace quorvane
