#include "shell/commandtable.h"

#include "shell/deferredicon.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <vector>

namespace quorvane {

namespace {
using K = CommandKind;

// In catalogue order: File, Edit, Format, Tools, Help, then the toolbar.
constexpr CommandRow kRows[] = {
    {"NewFile", K::MenuItem, "New...", "Ctrl+N", ""},
    {"OpenFile", K::MenuItem, "Open...", "Ctrl+O", ""},
    {"SaveFile", K::MenuItem, "Save File...", "Ctrl+S", ""},
    {"Lineee", K::Separator, "", "", ""},
    {"PreviewMenu", K::MenuItem, "Preview in Browser [ BETA ]", "F5", ""},
    {"Liner", K::Separator, "", "", ""},
    {"QuitPro", K::MenuItem, "Exit", "Ctrl+Q", ""},

    {"Undo", K::MenuItem, "Undo", "Ctrl+Z", "", false, false},
    {"Linee", K::Separator, "", "", "", true, false},
    {"Cut", K::MenuItem, "Cut", "Ctrl+X", "", false},
    {"Copy", K::MenuItem, "Copy", "Ctrl+C", "", false},
    {"Paste", K::MenuItem, "Paste", "Ctrl+V", ""},
    {"Delete", K::MenuItem, "Delete", "Del", "", false},
    {"LINE1234", K::Separator, "", "", ""},
    {"FindMenu", K::MenuItem, "Find...", "Ctrl+F", "", false},
    {"ReplaceMenu", K::MenuItem, "Replace...", "Ctrl+R", "", false},
    {"LIOP", K::Separator, "", "", ""},
    {"CurrentTime", K::MenuItem, "Add Current Time", "Ctrl+D", ""},
    {"CurrentDate", K::MenuItem, "Add Current Date", "Ctrl+T", ""},
    {"Lion", K::Separator, "", "", ""},
    {"SelectAll", K::MenuItem, "Select All", "Ctrl+A", ""},

    {"Center", K::MenuItem, "Center", "F1", "", true, true, true},
    {"LJ", K::MenuItem, "Left Justify", "F2", "", true, true, true},
    {"RJ", K::MenuItem, "Right Justify", "F3", "", true, true, true},
    {"Line6", K::Separator, "", "", ""},
    {"Custom", K::MenuItem, "Editor Format...", "", ""},

    {"CharMap", K::MenuItem, "Windows\u00AE Character Map", "", ""},
    {"AnotherLine", K::Separator, "", "", ""},
    {"ClearClipboard", K::MenuItem, "Clear Windows Clipboard", "", ""},

    {"LicenseAgreement", K::MenuItem, "License Agreement", "Ctrl+L", ""},
    {"LINE", K::Separator, "", "", ""},
    {"MailUs", K::MenuItem, "Contact Kelvaro Software", "Ctrl+E", ""},
    {"IlIke", K::MenuItem, "I Like Quorvane...", "Ctrl+I", ""},
    {"Website", K::MenuItem, "Quorvane on the web", "Ctrl+W", ""},
    {"Line2006", K::Separator, "", "", ""},
    {"About", K::MenuItem, "About Quorvane...", "Ctrl+B", ""},

    {"MiniBox", K::StripButton, "Minimize To Taskbar", "", ""},
    {"CloseBox", K::StripButton, "Exit Quorvane", "", ""},

    {"NewCommand", K::ToolButton, "", "", "New..."},
    {"OpenCommand", K::ToolButton, "", "", "Open..."},
    {"SaveCommand", K::ToolButton, "", "", "Save File..."},
    {"PreviewCommand", K::ToolButton, "", "", "Preview in Browser [ BETA ]"},
    {"ControlsLocker", K::Toggle, "", "", "Lock Controls", true, true, true},
    {"SearchCommand", K::ToolButton, "", "", "Find...", false},
    {"ReplaceCommand", K::ToolButton, "", "", "Replace...", false},

    {"BoldCommand", K::ToolButton, "", "", "Bold"},
    {"ItalicCommand", K::ToolButton, "", "", "Italic"},
    {"UnderlineCommand", K::ToolButton, "", "", "Underline"},
    {"SmiliesCommand", K::ToolButton, "", "", "Insert Smiley"},
    {"LeftCommand", K::ToolButton, "", "", "Left"},
    {"CenterCommand", K::ToolButton, "", "", "Center"},
    {"RightCommand", K::ToolButton, "", "", "Right"},
    {"OrderedListCommand", K::ToolButton, "", "", "Ordered List"},
    {"UnorderedListCommand", K::ToolButton, "", "", "Unordered List"},
    {"DecreaseIndentClick", K::ToolButton, "", "", "Decrease Indent"},
    {"IncreaseIndentClick", K::ToolButton, "", "", "Increase Indent"},
    {"HighlightCommand", K::ToolButton, "", "", "Highlight"},
    {"WebLink", K::ToolButton, "", "", "Insert Link"},
    {"EMAILCommand", K::ToolButton, "", "", "Insert Email Link"},
    {"ImageCommand", K::ToolButton, "", "", "Insert Image"},
    {"QUOTECommand", K::ToolButton, "", "", "Warp [QUOTE] tags around selected text"},
    {"CodeCommand", K::ToolButton, "", "", "Warp [CODE] tags around selected text"},
    {"HTMLCommand", K::ToolButton, "", "", "Warp [HTML] tags around selected text"},
    {"PHPCommand", K::ToolButton, "", "", "Warp [PHP] tags around selected text"},
    {"AddDate", K::ToolButton, "", "", "Add Current Date"},
    {"AddTime", K::ToolButton, "", "", "Add Current Time"},
    {"RemoveTextF", K::ToolButton, "", "", "Remove Text Formatting"},
};

constexpr const char *kFile[] = {"NewFile",     "OpenFile", "SaveFile", "Lineee",
                                 "PreviewMenu", "Liner",    "QuitPro"};
constexpr const char *kEdit[] = {"Undo",        "Linee",       "Cut",      "Copy",        "Paste",
                                 "Delete",      "LINE1234",    "FindMenu", "ReplaceMenu", "LIOP",
                                 "CurrentTime", "CurrentDate", "Lion",     "SelectAll"};
constexpr const char *kFormat[] = {"Alignment123", "Line6", "Custom"};
constexpr const char *kAlignment[] = {"Center", "LJ", "RJ"};
constexpr const char *kTools[] = {"CharMap", "AnotherLine", "ClearClipboard"};
constexpr const char *kHelp[] = {"LicenseAgreement", "LINE",     "MailUs", "IlIke",
                                 "Website",          "Line2006", "About"};

const MenuLayout kMenus[] = {
    {"Menu", "&File", kFile},
    {"Edit", "&Edit", kEdit},
    {"FormatMenu", "&Format", kFormat},
    {"Tools", "&Tools", kTools},
    {"Help", "&Help and Support", kHelp},
    {"Alignment123", "Editor Text Alignment", kAlignment},
};
constexpr int kTopLevelMenus = 5;

constexpr const char *kRow1[] = {"NewCommand",     "OpenCommand",    "SaveCommand",
                                 "PreviewCommand", "ControlsLocker", "SearchCommand",
                                 "ReplaceCommand", "Fonts",          "Size",
                                 "Color",          "LettersNo"};
constexpr const char *kRow2[] = {"BoldCommand",
                                 "ItalicCommand",
                                 "UnderlineCommand",
                                 "SmiliesCommand",
                                 "LeftCommand",
                                 "CenterCommand",
                                 "RightCommand",
                                 "OrderedListCommand",
                                 "UnorderedListCommand",
                                 "DecreaseIndentClick",
                                 "IncreaseIndentClick",
                                 "HighlightCommand",
                                 "WebLink",
                                 "EMAILCommand",
                                 "ImageCommand",
                                 "QUOTECommand",
                                 "CodeCommand",
                                 "HTMLCommand",
                                 "PHPCommand",
                                 "AddDate",
                                 "AddTime",
                                 "RemoveTextF"};

const MenuLayout *findMenu(const QString &name)
{
    for (const MenuLayout &menu : kMenus) {
        if (name == QLatin1String(menu.name))
            return &menu;
    }
    return nullptr;
}

void fillMenu(QMenu *menu, const MenuLayout &layout, QObject *owner)
{
    for (const char *item : layout.items) {
        const QString name = QString::fromLatin1(item);
        if (const MenuLayout *sub = findMenu(name)) {
            QMenu *submenu = menu->addMenu(QString::fromUtf8(sub->caption));
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            fillMenu(submenu, *sub, owner);
            continue;
        }
        if (QAction *action = owner->findChild<QAction *>(name, Qt::FindDirectChildrenOnly))
            menu->addAction(action);
    }
}
} // namespace

std::span<const CommandRow> commandRows()
{
    return kRows;
}

const CommandRow *findCommandRow(const QString &name)
{
    for (const CommandRow &row : kRows) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

std::span<const MenuLayout> menuLayouts()
{
    return kMenus;
}

std::span<const char *const> toolbarRow1()
{
    return kRow1;
}

std::span<const char *const> toolbarRow2()
{
    return kRow2;
}

QString iconPath(const char *name)
{
    return QStringLiteral(":/icons/") + QString::fromLatin1(name) + QStringLiteral(".svg");
}

QAction *makeAction(const CommandRow &row, QObject *owner)
{
    auto *action = new QAction(owner);
    action->setObjectName(QString::fromLatin1(row.name));
    if (row.kind == CommandKind::Separator) {
        action->setSeparator(true);
        action->setVisible(row.visible);
        return action;
    }
    action->setText(QString::fromUtf8(row.caption));
    if (*row.shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
    if (*row.tooltip) {
        action->setToolTip(QString::fromUtf8(row.tooltip));
        // A button without a caption is named by its tooltip.
        if (action->text().isEmpty())
            action->setText(QString::fromUtf8(row.tooltip));
    }
    if (row.kind != CommandKind::MenuItem)
        action->setIcon(deferredIcon(iconPath(row.name)));
    action->setCheckable(row.checkable);
    action->setEnabled(row.enabledAtStart);
    action->setVisible(row.visible);
    return action;
}

QToolButton *makeButton(QAction *action, const CommandRow &row, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(row.name));
    button->setDefaultAction(action);
    button->setFocusPolicy(Qt::TabFocus);
    if (row.kind == CommandKind::StripButton) {
        button->setFixedSize(16, 16);
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setToolTip(QString());
        button->setAccessibleName(QString::fromUtf8(row.caption));
    } else {
        button->setFixedSize(21, 21);
        button->setIconSize(row.kind == CommandKind::Toggle ? QSize(16, 16) : QSize(19, 18));
        button->setAccessibleName(QString::fromUtf8(row.tooltip));
    }
    return button;
}

void buildMenus(QMenuBar *bar, QObject *owner)
{
    for (int i = 0; i < kTopLevelMenus; ++i) {
        const MenuLayout &layout = kMenus[i];
        QMenu *menu = bar->addMenu(QString::fromUtf8(layout.caption));
        menu->setObjectName(QString::fromLatin1(layout.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(layout.name));
        fillMenu(menu, layout, owner);
    }
}

} // namespace quorvane
