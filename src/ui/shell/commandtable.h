#pragma once

#include <QString>
#include <functional>
#include <span>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QToolButton;
class QWidget;

namespace quorvane {

// Every command of the main window is one row here; one factory builds the
// QAction (and, for the toolbar, its button) from the row. objectName is the
// row's name everywhere.
enum class CommandKind {
    MenuItem,    // an item of a menu
    ToolButton,  // a 21x21 toolbar button
    Toggle,      // a checkable toolbar button
    StripButton, // a 16x16 picture button in the top strip
    Separator,   // a menu separator
};

struct CommandRow
{
    const char *name;
    CommandKind kind;
    const char *caption = "";  // menu caption; for buttons, the accessible name
    const char *shortcut = ""; // portable key sequence text, "" for none
    const char *tooltip = "";  // hover text of buttons, "" for none
    bool enabledAtStart = true;
    bool visible = true;
    bool checkable = false;
    const char *radioGroup = ""; // rows naming the same group are one exclusive choice
};

struct MenuLayout
{
    const char *name;
    const char *caption;
    std::span<const char *const> items; // row names; a menu's name opens that submenu
};

std::span<const CommandRow> commandRows();
const CommandRow *findCommandRow(const QString &name);
// The toolbar rows, left to right; "ControlsLocker", the choosers and
// "LettersNo" are named where they stand.
std::span<const char *const> toolbarRow1();
std::span<const char *const> toolbarRow2();

// ":/icons/<name>.svg"
QString iconPath(const char *name);

// Builds the action of a row, owned by owner.
QAction *makeAction(const CommandRow &row, QObject *owner);
// Builds the button that shows a toolbar or strip action.
QToolButton *makeButton(QAction *action, const CommandRow &row, QWidget *parent);
// Finds an action by its row's name; null for none.
using CommandLookup = std::function<QAction *(const char *name)>;
// Builds the menu bar's menus from the layouts, each still without items:
// the titles are what a window shows of them.
void buildMenuBar(QMenuBar *bar);
// Gives each menu of the bar that has none its items and submenus.
void fillMenuBar(QMenuBar *bar, const CommandLookup &command);

} // namespace quorvane
