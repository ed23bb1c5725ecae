#include "shell/mainform.h"

#include "platform/appinfo.h"
#include "platform/launcher.h"
#include "platform/startupnotice.h"
#include "shell/busyindicator.h"
#include "shell/commandtable.h"
#include "shell/deferredicon.h"
#include "shell/filedrop.h"
#include "shell/shellstyle.h"
#include "shell/typer.h"
#include "text/choosers.h"
#include "windows/links.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>
#include <map>

// Resources live in a static library; pull them in explicitly.
static void initQuorvaneResources()
{
    Q_INIT_RESOURCE(quorvane);
}

namespace quorvane {

namespace {
constexpr QSize kWindowSize(640, 480);

QFrame *makePanel(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->hide();
    return frame;
}
// A chooser measures its entries, which never change, once: in the layout
// that shows the window. (A combo box measures them again when it is first
// shown, in case its font changed between the two; nothing changes here.)
// It adds up the widths of their letters rather than laying each entry out
// as a line of text, as a combo box does: the same width within a pixel or
// two, without shaping forty entries before the first frame.
class ChooserBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

    QSize sizeHint() const override
    {
        if (m_hint.isValid())
            return m_hint;
        const QFontMetricsF metrics(font());
        // The entries share few letters: each is measured once.
        std::map<QChar, qreal> advances;
        const auto advance = [&](QChar letter) {
            auto [at, isNew] = advances.try_emplace(letter, 0.0);
            if (isNew)
                at->second = metrics.horizontalAdvance(letter);
            return at->second;
        };
        qreal widest = minimumContentsLength() * advance(QLatin1Char('X'));
        for (int i = 0; i < count(); ++i) {
            qreal width = 0;
            for (const QChar letter : itemText(i))
                width += advance(letter);
            widest = std::max(widest, width);
        }
        const QSize contents(qCeil(widest), std::max(qCeil(metrics.height()), 14) + 2);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        m_hint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
        return m_hint;
    }

protected:
    void showEvent(QShowEvent *event) override { QWidget::showEvent(event); }
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_hint = QSize();
        QComboBox::changeEvent(event);
    }

private:
    mutable QSize m_hint;
};

// Passes every question on, announcing it first.
class AnnouncingDialogs : public UserDialogs
{
public:
    AnnouncingDialogs(UserDialogs &inner, MainForm &form) : m_inner(inner), m_form(form) {}

    QString prompt(QWidget *parent, const QString &message, const QString &title,
                   const QString &defaultText) override
    {
        emit m_form.aboutToAsk();
        return m_inner.prompt(parent, message, title, defaultText);
    }
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        emit m_form.aboutToAsk();
        return m_inner.message(parent, icon, title, text, buttons, defaultButton);
    }
    QString openFileName(QWidget *parent, const QString &filter,
                         const QString &startFilter) override
    {
        emit m_form.aboutToAsk();
        return m_inner.openFileName(parent, filter, startFilter);
    }
    QString saveFileName(QWidget *parent, const QString &filter) override
    {
        emit m_form.aboutToAsk();
        return m_inner.saveFileName(parent, filter);
    }
    std::optional<TableShape> tableShape(QWidget *parent, const TableShape &start,
                                         bool fixedSize) override
    {
        emit m_form.aboutToAsk();
        return m_inner.tableShape(parent, start, fixedSize);
    }
    std::optional<QuoteSource> quoteSource(QWidget *parent, const QString &forumName,
                                           QuoteParts parts,
                                           const QStringList &recentAuthors) override
    {
        emit m_form.aboutToAsk();
        return m_inner.quoteSource(parent, forumName, parts, recentAuthors);
    }

private:
    UserDialogs &m_inner;
    MainForm &m_form;
};

} // namespace

MainForm::MainForm(UserDialogs &dialogs, Launcher &launcher, QWidget *parent, MenuItems items,
                   const std::function<void()> &beforeText)
    : QMainWindow(parent), m_dialogs(dialogs),
      m_announcing(std::make_unique<AnnouncingDialogs>(dialogs, *this)), m_launcher(launcher)
{
    initQuorvaneResources();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Quorvane"));
    // The icon goes to the window manager once the first frame is shown:
    // handing it over draws it at four sizes, no part of showing the window.
    // Windows made before then without an icon of their own take it too.
    afterFirstPaint(this, [this] {
        const QIcon icon = deferredIcon(QStringLiteral(":/icons/quorvane.svg"));
        QApplication::setWindowIcon(icon);
        setWindowIcon(icon);
    });
    // A dialog-style border: no resizing, no maximising.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    ShellStyle::install();
    buildCommands();
    buildMenuBar(menuBar());
    if (items == MenuItems::Now)
        fillMenus();
    else
        afterFirstPaint(this, [this] { fillMenus(); });
    if (beforeText)
        beforeText();
    buildLayout();

    setFixedSize(kWindowSize);
    m_typer->setFocus();

    // A file dropped anywhere opens; text dropped on the editor is written there.
    setAcceptDrops(true);
    connect(m_typer, &Typer::fileDropped, this, &MainForm::fileDropped);
    m_busy = new BusyIndicator(*this);
    // The editor is painted in every first frame.
    m_typer->viewport()->installEventFilter(this);
}

MainForm::~MainForm()
{
    // Hidden while still whole: hiding deactivates the window, and the
    // command families that watch for that (the drafts) read the form.
    hide();
}

QAction *MainForm::command(const char *name) const
{
    if (const auto found = m_commandsByName.find(name);
        found != m_commandsByName.end() && found->second)
        return found->second;
    auto *action = findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    // A misspelt name is a programming error: stop in every build, release
    // included, rather than crash later on a null action.
    if (!action)
        qFatal("MainForm::command: no command named \"%s\"", name);
    return action;
}

void MainForm::buildCommands()
{
    // One group holds every command, so that while an auxiliary window has the
    // main window disabled no command can run by any route (assistive
    // technology presses menu items directly). Each command keeps its own
    // state inside the group. The rows of a radio group are an exclusive group
    // of their own instead, switched on and off with this one.
    // The commands join that group when the menus are filled, or sooner if
    // they are to be switched off before (joining is no part of a frame).
    m_commands = new QActionGroup(this);
    m_commands->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const CommandRow &row : commandRows()) {
        QAction *action = makeAction(row, this);
        if (action->isSeparator())
            continue;
        m_commandsByName.emplace(row.name, action);
        if (!*row.radioGroup)
            continue;
        const QString group = QString::fromLatin1(row.radioGroup);
        auto found = std::find_if(m_radioGroups.begin(), m_radioGroups.end(),
                                  [&](QActionGroup *g) { return g->objectName() == group; });
        if (found == m_radioGroups.end()) {
            m_radioGroups.push_back(new QActionGroup(this));
            m_radioGroups.back()->setObjectName(group);
            found = m_radioGroups.end() - 1;
        }
        (*found)->addAction(action);
    }
}

void MainForm::groupCommands()
{
    if (!m_commands->actions().isEmpty())
        return;
    for (const CommandRow &row : commandRows()) {
        if (*row.radioGroup)
            continue;
        if (const auto found = m_commandsByName.find(row.name); found != m_commandsByName.end())
            m_commands->addAction(found->second);
    }
}

void MainForm::fillMenus()
{
    groupCommands();
    fillMenuBar(menuBar(), [this](const char *name) -> QAction * {
        if (const auto found = m_commandsByName.find(name); found != m_commandsByName.end())
            return found->second;
        // Separators are found by their names too.
        return findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    });
}

void MainForm::buildLayout()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainArea"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(3);

    // The top strip: decoration, link, hover tip and the window's own boxes.
    m_topFrame = new QFrame(central);
    m_topFrame->setObjectName(QStringLiteral("TopFrame"));
    m_topFrame->setFixedHeight(20);
    auto *strip = new QHBoxLayout(m_topFrame);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(4);
    auto *image1 = new QLabel(m_topFrame);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(deferredIcon(QStringLiteral(":/icons/Image1.svg")).pixmap(16, 16));
    // A link that the keyboard and a screen reader can use too.
    auto *freeUtilities =
        new LinkButton(QStringLiteral("More free utilities..."), QString(), m_topFrame);
    freeUtilities->setObjectName(QStringLiteral("FreeUtilities"));
    freeUtilities->setFocusPolicy(Qt::TabFocus);
    connect(freeUtilities, &QPushButton::clicked, this, [this] { OpenMakerPage(m_launcher); });
    auto *tip =
        new QLabel(QStringLiteral("Version ") + QLatin1String(appinfo::version), m_topFrame);
    tip->setObjectName(QStringLiteral("ControlBoxTip"));
    strip->addWidget(image1);
    strip->addWidget(freeUtilities);
    strip->addStretch();
    strip->addWidget(tip);
    for (const char *name : {"MiniBox", "CloseBox"})
        strip->addWidget(
            makeButton(command(name), *findCommandRow(QLatin1String(name)), m_topFrame));
    layout->addWidget(m_topFrame);

    // The toolbar frame, two rows. The lock toggle stands over a slot in the
    // first row but belongs to the window, so locking the frame leaves it usable.
    // Its buttons are framed by the window's style (shell/shellstyle.h).
    m_mainFrame = new QFrame(central);
    m_mainFrame->setObjectName(QStringLiteral("MainFrame"));
    m_mainFrame->setProperty(ShellStyle::framedButtons, true);
    auto *rows = new QVBoxLayout(m_mainFrame);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    QCompleter *noCompletion = nullptr;
    for (const auto row : {toolbarRow1(), toolbarRow2()}) {
        auto *line = new QHBoxLayout;
        line->setSpacing(2);
        for (const char *name : row) {
            const QString id = QString::fromLatin1(name);
            if (id == QLatin1String("ControlsLocker")) {
                m_lockerSlot = new QWidget(m_mainFrame);
                m_lockerSlot->setObjectName(QStringLiteral("LockerSlot"));
                m_lockerSlot->setFixedSize(21, 21);
                m_lockerSlot->installEventFilter(this);
                line->addWidget(m_lockerSlot);
            } else if (const Chooser *chooser = findChooser(id)) {
                auto *box = new ChooserBox(m_mainFrame);
                box->setObjectName(id);
                // Editable through its own line edit: setEditable() would
                // also build the list's popup now, though few writers open it.
                auto *edit = new QLineEdit(box);
                edit->setPalette(box->palette());
                // A chooser inserts list entries only and never completes
                // typing: the completer a combo box makes over its list for a
                // line edit without one (the most costly part of a chooser)
                // is replaced by one empty completer for all, which the
                // commands then drop.
                if (!noCompletion)
                    noCompletion = new QCompleter(this);
                edit->setCompleter(noCompletion);
                box->setLineEdit(edit);
                box->setInsertPolicy(QComboBox::NoInsert);
                box->addItems(chooser->entries);
                box->setCurrentIndex(-1);
                box->setEditText(QString::fromLatin1(chooser->startText));
                box->setAccessibleName(QString::fromLatin1(chooser->accessible));
                box->setFixedHeight(21);
                box->setMinimumWidth(id == QLatin1String("Fonts") ? 150 : 80);
                // The least width is the one just set, so the smallest the
                // box could draw itself (a second pass over its entries) is
                // never asked for: one character is room enough for that.
                box->setMinimumContentsLength(1);
                line->addWidget(box);
            } else if (id == QLatin1String("LettersNo")) {
                auto *count = new QLineEdit(QStringLiteral("0"), m_mainFrame);
                count->setObjectName(id);
                count->setReadOnly(true);
                count->setAccessibleName(QStringLiteral("Character count"));
                count->setToolTip(QStringLiteral("Characters in the post"));
                count->setFixedSize(70, 21);
                count->setAlignment(Qt::AlignRight);
                line->addWidget(count);
            } else {
                line->addWidget(makeButton(command(name), *findCommandRow(id), m_mainFrame));
            }
        }
        line->addStretch();
        rows->addLayout(line);
    }
    layout->addWidget(m_mainFrame);

    m_locker = makeButton(command("ControlsLocker"),
                          *findCommandRow(QStringLiteral("ControlsLocker")), central);
    m_locker->raise();

    m_typer = new Typer(central);
    m_editorArea = m_typer;
    layout->addWidget(m_typer, 1);

    m_findFrame = makePanel("FindFrame", central);
    m_replaceFrame = makePanel("ReplaceFrame", central);
    m_smilesFrame = makePanel("SmilesFrame", central);
    layout->addWidget(m_findFrame);
    layout->addWidget(m_replaceFrame);
    layout->addWidget(m_smilesFrame);

    setCentralWidget(central);
}

void MainForm::addAboveEditor(QWidget *bar)
{
    auto *layout = static_cast<QVBoxLayout *>(centralWidget()->layout());
    bar->setParent(centralWidget());
    layout->insertWidget(layout->indexOf(m_editorArea), bar);
}

void MainForm::setEditorArea(QWidget *area)
{
    auto *layout = static_cast<QVBoxLayout *>(centralWidget()->layout());
    const int at = layout->indexOf(m_editorArea);
    layout->insertWidget(at, area, 1);
    if (m_editorArea != m_typer)
        m_editorArea->hide();
    layout->removeWidget(m_editorArea);
    m_editorArea = area;
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_painted && event->type() == QEvent::Paint && watched == m_typer->viewport()) {
        m_painted = true;
        // Queued: the frame is put on the screen once this paint is over.
        QTimer::singleShot(0, this, &MainForm::runAfterFirstPaint);
    }
    if (watched == m_lockerSlot &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeLocker();
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::afterFirstPaint(QObject *context, std::function<void()> work)
{
    if (m_pastFirstPaint) {
        work();
        return;
    }
    m_afterFirstPaint.emplace_back(context, std::move(work));
}

void MainForm::runAfterFirstPaint()
{
    flushDisplay();
    m_pastFirstPaint = true;
    const auto waiting = std::exchange(m_afterFirstPaint, {});
    for (const auto &[context, work] : waiting) {
        if (context)
            work();
    }
}

void MainForm::placeLocker()
{
    if (!m_locker || !m_lockerSlot)
        return;
    const QPoint topLeft = m_lockerSlot->mapTo(centralWidget(), QPoint(0, 0));
    m_locker->setGeometry(QRect(topLeft, m_lockerSlot->size()));
    m_locker->raise();
}

void MainForm::openAuxiliary(QWidget *window)
{
    // Disabling the window takes the keyboard focus away; remember where it
    // was so that typing goes on there afterwards.
    // (The window's own focus child: it is known even while another program
    // is active.)
    if (QWidget *focus = focusWidget())
        m_focusBeforeAuxiliary = focus;
    enableCommands(false);
    setEnabled(false);
    window->show();
    window->raise();
    window->activateWindow();
}

void MainForm::closeAuxiliary(QWidget *window)
{
    giveInputBack();
    window->hide();
}

void MainForm::giveInputBack()
{
    enableCommands(!m_holding);
    setEnabled(true);
    raise();
    activateWindow();
    QWidget *focus = m_focusBeforeAuxiliary ? m_focusBeforeAuxiliary.data() : m_typer;
    focus->setFocus(Qt::OtherFocusReason);
}

void MainForm::enableCommands(bool enabled)
{
    groupCommands();
    m_commands->setEnabled(enabled);
    for (QActionGroup *group : m_radioGroups)
        group->setEnabled(enabled);
}

void MainForm::holdInput(bool hold)
{
    m_holding = hold;
    enableCommands(!hold);
    m_typer->setReadOnly(hold);
}

void MainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!fileDropOf(event->mimeData()).path.isEmpty())
        acceptAsCopy(event);
}

void MainForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (!fileDropOf(event->mimeData()).path.isEmpty())
        acceptAsCopy(event);
}

void MainForm::dropEvent(QDropEvent *event)
{
    const FileDrop drop = fileDropOf(event->mimeData());
    if (drop.path.isEmpty())
        return;
    acceptAsCopy(event);
    emit fileDropped(drop.path);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

} // namespace quorvane
