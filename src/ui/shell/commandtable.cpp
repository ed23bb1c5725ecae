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

// In catalogue order: File, Edit, Format, Tags, Forum, View, Tools, Help, then the strip and the
// toolbar. Each block names the command families that wire its rows.
// One row a line reads as the table it is.
// clang-format off
constexpr CommandRow kRows[] = {
    // File menu. Documents: New, Open, Save; preview: Preview in Browser; Exit is
    // the documents' too (it asks before a modified post is lost).
    {.name = "NewFile", .kind = K::MenuItem, .caption = "New...", .shortcut = "Ctrl+N"},
    {.name = "OpenFile", .kind = K::MenuItem, .caption = "Open...", .shortcut = "Ctrl+O"},
    {.name = "SaveFile", .kind = K::MenuItem, .caption = "Save File...", .shortcut = "Ctrl+S"},
    {.name = "Lineee", .kind = K::Separator},
    {.name = "PreviewMenu", .kind = K::MenuItem, .caption = "Preview in Browser [ BETA ]", .shortcut = "F5"},
    // Import: formatted files read as BBCode.
    {.name = "LineImport", .kind = K::Separator},
    {.name = "ImportBBCode", .kind = K::MenuItem, .caption = "Import as BBCode..."},
    {.name = "Liner", .kind = K::Separator},
    // Drafts: Recover Drafts... in a group of its own before Exit's.
    {.name = "RecoverDrafts", .kind = K::MenuItem, .caption = "Recover Drafts..."},
    {.name = "DraftsLine", .kind = K::Separator},
    // Recent files: the Open Recent submenu, in a group of its own before Exit's.
    {.name = "ClearRecentFiles", .kind = K::MenuItem, .caption = "Clear List", .enabledAtStart = false},
    {.name = "RecentFilesLine", .kind = K::Separator},
    {.name = "RecentLine", .kind = K::Separator},
    {.name = "QuitPro", .kind = K::MenuItem, .caption = "Exit", .shortcut = "Ctrl+Q"},

    // Edit menu. Edit commands: Undo (hidden; its state is the post status's),
    // the clipboard commands and Select All; search panels: Find and Replace;
    // inserts: the time and date stamps.
    {.name = "Undo", .kind = K::MenuItem, .caption = "Undo", .shortcut = "Ctrl+Z", .enabledAtStart = false, .visible = false},
    {.name = "Linee", .kind = K::Separator, .visible = false},
    {.name = "Cut", .kind = K::MenuItem, .caption = "Cut", .shortcut = "Ctrl+X", .enabledAtStart = false},
    {.name = "Copy", .kind = K::MenuItem, .caption = "Copy", .shortcut = "Ctrl+C", .enabledAtStart = false},
    {.name = "Paste", .kind = K::MenuItem, .caption = "Paste", .shortcut = "Ctrl+V"},
    {.name = "Delete", .kind = K::MenuItem, .caption = "Delete", .shortcut = "Del", .enabledAtStart = false},
    {.name = "LINE1234", .kind = K::Separator},
    {.name = "FindMenu", .kind = K::MenuItem, .caption = "Find...", .shortcut = "Ctrl+F", .enabledAtStart = false},
    {.name = "ReplaceMenu", .kind = K::MenuItem, .caption = "Replace...", .shortcut = "Ctrl+R", .enabledAtStart = false},
    {.name = "LIOP", .kind = K::Separator},
    {.name = "CurrentTime", .kind = K::MenuItem, .caption = "Add Current Time", .shortcut = "Ctrl+D"},
    {.name = "CurrentDate", .kind = K::MenuItem, .caption = "Add Current Date", .shortcut = "Ctrl+T"},
    {.name = "Lion", .kind = K::Separator},
    {.name = "SelectAll", .kind = K::MenuItem, .caption = "Select All", .shortcut = "Ctrl+A"},
    // Import: formatted text on the clipboard pasted as BBCode, and whether
    // its colours and sizes stay.
    {.name = "LinePasteBBCode", .kind = K::Separator},
    {.name = "PasteBBCode", .kind = K::MenuItem, .caption = "Paste as BBCode", .shortcut = "Ctrl+Shift+V"},
    {.name = "KeepColoursSizes", .kind = K::MenuItem, .caption = "Keep Colours and Sizes", .checkable = true},

    // Format menu. Alignment commands: the editor's display alignment; editor
    // format: the font window.
    {.name = "Center", .kind = K::MenuItem, .caption = "Center", .shortcut = "F1", .checkable = true},
    {.name = "LJ", .kind = K::MenuItem, .caption = "Left Justify", .shortcut = "F2", .checkable = true},
    {.name = "RJ", .kind = K::MenuItem, .caption = "Right Justify", .shortcut = "F3", .checkable = true},
    {.name = "Line6", .kind = K::Separator},
    {.name = "Custom", .kind = K::MenuItem, .caption = "Editor Format..."},

    // Tags menu (it also holds the toolbar's tag and insert actions). Mark-up
    // commands.
    {.name = "CloseOpenTag", .kind = K::MenuItem, .caption = "Close Open Tag", .shortcut = "Ctrl+Shift+T"},
    {.name = "RemoveTag", .kind = K::MenuItem, .caption = "Remove Tag", .shortcut = "Ctrl+Shift+Backspace"},
    {.name = "SelectTagContents", .kind = K::MenuItem, .caption = "Select Tag Contents", .shortcut = "Ctrl+Shift+A"},
    {.name = "JumpToPartner", .kind = K::MenuItem, .caption = "Go to Partner Tag", .shortcut = "Ctrl+M"},
    {.name = "ListFromLines", .kind = K::MenuItem, .caption = "List from Selected Lines", .shortcut = "Ctrl+J"},
    {.name = "NumberedListFromLines", .kind = K::MenuItem, .caption = "Numbered List from Selected Lines", .shortcut = "Ctrl+Shift+J"},
    {.name = "TagsLine1", .kind = K::Separator},
    {.name = "TagsLine2", .kind = K::Separator},
    {.name = "TagsLine3", .kind = K::Separator},
    {.name = "TagsLine4", .kind = K::Separator},
    {.name = "TagsLine5", .kind = K::Separator},
    {.name = "TagsLine6", .kind = K::Separator},

    // Forum menu. Forum commands: the forum the post is shown for, one of them.
    {.name = "ForumGeneric", .kind = K::MenuItem, .caption = "Generic (Preview page)", .checkable = true, .radioGroup = "Forum"},
    {.name = "ForumPhpBB", .kind = K::MenuItem, .caption = "phpBB 3.3", .checkable = true, .radioGroup = "Forum"},
    {.name = "ForumSmf", .kind = K::MenuItem, .caption = "SMF 2.1", .checkable = true, .radioGroup = "Forum"},
    {.name = "ForumMyBB", .kind = K::MenuItem, .caption = "MyBB 1.8", .checkable = true, .radioGroup = "Forum"},
    // Forum mark-up commands: the chosen forum's own tags (the Forum Tags
    // submenu), its tables and its quote form.
    {.name = "ForumMarkupLine", .kind = K::Separator},
    {.name = "InsertTable", .kind = K::MenuItem, .caption = "Insert Table..."},
    {.name = "QuoteSelection", .kind = K::MenuItem, .caption = "Quote Selection..."},
    // A board's custom tags for the forum chosen.
    {.name = "CustomTagsLine", .kind = K::Separator},
    {.name = "CustomTags", .kind = K::MenuItem, .caption = "Custom Tags..."},
    // Forum adapting: the post rewritten for the chosen forum.
    {.name = "ForumAdaptLine", .kind = K::Separator},
    {.name = "AdaptPostForForum", .kind = K::MenuItem, .caption = "Adapt Post for Forum..."},
    {.name = "CopyForForum", .kind = K::MenuItem, .caption = "Copy for Forum"},

    // View menu. Mark-up commands: the display choices and the Problems panel.
    {.name = "ColourTags", .kind = K::MenuItem, .caption = "Colour Tags", .checkable = true},
    {.name = "UnderlineProblems", .kind = K::MenuItem, .caption = "Underline Problems", .checkable = true},
    {.name = "ViewLine", .kind = K::Separator},
    {.name = "ProblemsPanel", .kind = K::MenuItem, .caption = "Problems", .shortcut = "F8", .checkable = true},
    {.name = "ForumTags", .kind = K::MenuItem, .caption = "Forum Tag Names..."},
    // Live preview: the page beside the editor.
    {.name = "LivePreviewLine", .kind = K::Separator},
    {.name = "LivePreview", .kind = K::MenuItem, .caption = "Live Preview", .shortcut = "F6", .checkable = true},
    // Spelling commands: checking on and off; the language submenu lists the
    // installed dictionaries.
    {.name = "SpellingLine", .kind = K::Separator},
    {.name = "CheckSpelling", .kind = K::MenuItem, .caption = "Check Spelling", .checkable = true},
    // Workspace: the window that grows, the preview beside the editor, full screen.
    {.name = "WorkspaceLine", .kind = K::Separator},
    {.name = "ResizableWindow", .kind = K::MenuItem, .caption = "Resizable Window", .checkable = true},
    {.name = "PreviewBesideEditor", .kind = K::MenuItem, .caption = "Preview Beside Editor", .checkable = true},
    {.name = "FullScreen", .kind = K::MenuItem, .caption = "Full Screen", .shortcut = "F11", .checkable = true},

    // Tools menu. Edit commands.
    {.name = "CharMap", .kind = K::MenuItem, .caption = "Windows\u00AE Character Map"},
    {.name = "AnotherLine", .kind = K::Separator},
    {.name = "ClearClipboard", .kind = K::MenuItem, .caption = "Clear Windows Clipboard"},
    // Post length commands: the limit and the splitter.
    {.name = "PostLengthLine", .kind = K::Separator},
    {.name = "PostLengthLimit", .kind = K::MenuItem, .caption = "Post Length Limit..."},
    {.name = "SplitPost", .kind = K::MenuItem, .caption = "Split Post..."},

    // Help menu. Help commands.
    {.name = "LicenseAgreement", .kind = K::MenuItem, .caption = "License Agreement", .shortcut = "Ctrl+L"},
    {.name = "LINE", .kind = K::Separator},
    {.name = "MailUs", .kind = K::MenuItem, .caption = "Contact Kelvaro Software", .shortcut = "Ctrl+E"},
    {.name = "IlIke", .kind = K::MenuItem, .caption = "I Like Quorvane...", .shortcut = "Ctrl+I"},
    {.name = "Website", .kind = K::MenuItem, .caption = "Quorvane on the web", .shortcut = "Ctrl+W"},
    {.name = "Line2006", .kind = K::Separator},
    {.name = "About", .kind = K::MenuItem, .caption = "About Quorvane...", .shortcut = "Ctrl+B"},

    // The top strip's own boxes. Window chrome.
    {.name = "MiniBox", .kind = K::StripButton, .caption = "Minimize To Taskbar"},
    {.name = "CloseBox", .kind = K::StripButton, .caption = "Exit Quorvane"},

    // Toolbar, first row: documents, preview, the lock toggle (window chrome),
    // search panels.
    {.name = "NewCommand", .kind = K::ToolButton, .tooltip = "New..."},
    {.name = "OpenCommand", .kind = K::ToolButton, .tooltip = "Open..."},
    {.name = "SaveCommand", .kind = K::ToolButton, .tooltip = "Save File..."},
    {.name = "PreviewCommand", .kind = K::ToolButton, .tooltip = "Preview in Browser [ BETA ]"},
    {.name = "ControlsLocker", .kind = K::Toggle, .tooltip = "Lock Controls", .checkable = true},
    {.name = "SearchCommand", .kind = K::ToolButton, .tooltip = "Find...", .enabledAtStart = false},
    {.name = "ReplaceCommand", .kind = K::ToolButton, .tooltip = "Replace...", .enabledAtStart = false},

    // Toolbar, second row: tag pairs, the smilies panel, inserts (lists, links,
    // images, stamps) and preview's Remove Text Formatting.
    {.name = "BoldCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+B", .tooltip = "Bold"},
    {.name = "ItalicCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+I", .tooltip = "Italic"},
    {.name = "UnderlineCommand", .kind = K::ToolButton, .shortcut = "Ctrl+U", .tooltip = "Underline"},
    {.name = "SmiliesCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+M", .tooltip = "Insert Smiley"},
    {.name = "LeftCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+L", .tooltip = "Left"},
    {.name = "CenterCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+E", .tooltip = "Center"},
    {.name = "RightCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+R", .tooltip = "Right"},
    {.name = "OrderedListCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+O", .tooltip = "Ordered List"},
    {.name = "UnorderedListCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+U", .tooltip = "Unordered List"},
    {.name = "DecreaseIndentClick", .kind = K::ToolButton, .shortcut = "Ctrl+[", .tooltip = "Decrease Indent"},
    {.name = "IncreaseIndentClick", .kind = K::ToolButton, .shortcut = "Ctrl+]", .tooltip = "Increase Indent"},
    {.name = "HighlightCommand", .kind = K::ToolButton, .shortcut = "Ctrl+H", .tooltip = "Highlight"},
    {.name = "WebLink", .kind = K::ToolButton, .shortcut = "Ctrl+K", .tooltip = "Insert Link"},
    {.name = "EMAILCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+K", .tooltip = "Insert Email Link"},
    {.name = "ImageCommand", .kind = K::ToolButton, .shortcut = "Ctrl+G", .tooltip = "Insert Image"},
    // "Warp" is the established wording of these four tooltips; kept as is.
    {.name = "QUOTECommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+Q", .tooltip = "Warp [QUOTE] tags around selected text"},
    {.name = "CodeCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+C", .tooltip = "Warp [CODE] tags around selected text"},
    {.name = "HTMLCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+H", .tooltip = "Warp [HTML] tags around selected text"},
    {.name = "PHPCommand", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+P", .tooltip = "Warp [PHP] tags around selected text"},
    {.name = "AddDate", .kind = K::ToolButton, .tooltip = "Add Current Date"},
    {.name = "AddTime", .kind = K::ToolButton, .tooltip = "Add Current Time"},
    {.name = "RemoveTextF", .kind = K::ToolButton, .shortcut = "Ctrl+Shift+F", .tooltip = "Remove Text Formatting"},
};
// clang-format on

constexpr const char *kFile[] = {"NewFile",       "OpenFile",   "SaveFile",     "Lineee",
                                 "PreviewMenu",   "LineImport", "ImportBBCode", "Liner",
                                 "RecoverDrafts", "DraftsLine", "OpenRecent",   "RecentLine",
                                 "QuitPro"};
// The recent files come before these, newest first.
constexpr const char *kRecent[] = {"RecentFilesLine", "ClearRecentFiles"};
constexpr const char *kEdit[] = {
    "Undo",        "Linee",           "Cut",      "Copy",        "Paste",
    "Delete",      "LINE1234",        "FindMenu", "ReplaceMenu", "LIOP",
    "CurrentTime", "CurrentDate",     "Lion",     "SelectAll",   "LinePasteBBCode",
    "PasteBBCode", "KeepColoursSizes"};
constexpr const char *kFormat[] = {"Alignment123", "Line6", "Custom"};
constexpr const char *kAlignment[] = {"Center", "LJ", "RJ"};
// The toolbar's tag and insert commands (the same actions) and the commands
// that work on the tags around the caret.
constexpr const char *kTags[] = {"BoldCommand",
                                 "ItalicCommand",
                                 "UnderlineCommand",
                                 "HighlightCommand",
                                 "TagsLine1",
                                 "LeftCommand",
                                 "CenterCommand",
                                 "RightCommand",
                                 "DecreaseIndentClick",
                                 "IncreaseIndentClick",
                                 "TagsLine2",
                                 "OrderedListCommand",
                                 "UnorderedListCommand",
                                 "ListFromLines",
                                 "NumberedListFromLines",
                                 "TagsLine3",
                                 "WebLink",
                                 "EMAILCommand",
                                 "ImageCommand",
                                 "SmiliesCommand",
                                 "TagsLine4",
                                 "QUOTECommand",
                                 "CodeCommand",
                                 "HTMLCommand",
                                 "PHPCommand",
                                 "TagsLine5",
                                 "RemoveTextF",
                                 "TagsLine6",
                                 "CloseOpenTag",
                                 "RemoveTag",
                                 "SelectTagContents",
                                 "JumpToPartner"};
constexpr const char *kForum[] = {
    "ForumGeneric",   "ForumPhpBB",        "ForumSmf",       "ForumMyBB",      "ForumMarkupLine",
    "ForumTagsMenu",  "InsertTable",       "QuoteSelection", "CustomTagsLine", "CustomTags",
    "ForumAdaptLine", "AdaptPostForForum", "CopyForForum"};
constexpr const char *kView[] = {"ColourTags",          "UnderlineProblems", "ViewLine",
                                 "ProblemsPanel",       "ForumTags",         "LivePreviewLine",
                                 "LivePreview",         "SpellingLine",      "CheckSpelling",
                                 "SpellingLanguage",    "WorkspaceLine",     "ResizableWindow",
                                 "PreviewBesideEditor", "FullScreen"};
constexpr const char *kTools[] = {"CharMap",        "AnotherLine",     "ClearClipboard",
                                  "PostLengthLine", "PostLengthLimit", "SplitPost"};
constexpr const char *kHelp[] = {"LicenseAgreement", "LINE",     "MailUs", "IlIke",
                                 "Website",          "Line2006", "About"};

const MenuLayout kMenus[] = {
    {"Menu", "&File", kFile},
    {"Edit", "&Edit", kEdit},
    {"FormatMenu", "&Format", kFormat},
    {"TagsMenu", "T&ags", kTags},
    {"ForumMenu", "F&orum", kForum},
    {"ViewMenu", "&View", kView},
    {"Tools", "&Tools", kTools},
    {"Help", "&Help and Support", kHelp},
    {"Alignment123", "Editor Text Alignment", kAlignment},
    {"SpellingLanguage", "Spelling Language", {}}, // filled with the installed dictionaries
    {"OpenRecent", "Open Recent", kRecent},
    {"ForumTagsMenu", "Forum Tags", {}}, // filled with the chosen forum's tags
};
constexpr int kTopLevelMenus = 8;

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

void fillMenu(QMenu *menu, const MenuLayout &layout, const CommandLookup &command)
{
    for (const char *item : layout.items) {
        const QString name = QString::fromLatin1(item);
        if (const MenuLayout *sub = findMenu(name)) {
            QMenu *submenu = menu->addMenu(QString::fromUtf8(sub->caption));
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            fillMenu(submenu, *sub, command);
            continue;
        }
        if (QAction *action = command(item))
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
        action->setShortcut(
            QKeySequence(QString::fromLatin1(row.shortcut), QKeySequence::PortableText));
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

void buildMenuBar(QMenuBar *bar)
{
    for (int i = 0; i < kTopLevelMenus; ++i) {
        const MenuLayout &layout = kMenus[i];
        QMenu *menu = bar->addMenu(QString::fromUtf8(layout.caption));
        menu->setObjectName(QString::fromLatin1(layout.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(layout.name));
    }
}

void fillMenuBar(QMenuBar *bar, const CommandLookup &command)
{
    for (QAction *title : bar->actions()) {
        QMenu *menu = title->menu();
        if (!menu || !menu->isEmpty())
            continue;
        if (const MenuLayout *layout = findMenu(menu->objectName()))
            fillMenu(menu, *layout, command);
    }
}

} // namespace quorvane
