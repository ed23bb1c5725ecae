#include "commands/insertcommands.h"

#include "shell/mainform.h"
#include "shell/typer.h"
#include "text/choosers.h"
#include "text/insertstamps.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTime>

namespace quorvane {

struct InsertCommands::PromptedLink
{
    const char *command;
    const char *message;
    const char *title;
    const char *defaultText;
    const char *openingHead; // followed by the address and "]"
    const char *closing;
};

struct InsertCommands::ListKind
{
    const char *command;
    const char *opening;
    const char *title;
};

namespace {
constexpr char kListMessage[] =
    "Enter a list item.\nLeave the box empty or press cancel to complete the list:";
constexpr char kItemHead[] = "\r\n[*]";
constexpr char kListEnd[] = "\r\n[/LIST]";
} // namespace

InsertCommands::InsertCommands(MainForm &form) : QObject(&form), m_form(form)
{
    static const PromptedLink links[] = {
        {"WebLink", "Please enter the URL of your link:", "Insert Link", "http://",
         "[URL=", "[/URL]"},
        {"EMAILCommand", "Please enter the email address for the link:", "Insert Email Link", "",
         "[EMAIL=", "[/EMAIL]"},
    };
    for (const PromptedLink &link : links) {
        connect(form.command(link.command), &QAction::triggered, this,
                [this, &link] { insertLink(link); });
    }
    connect(form.command("ImageCommand"), &QAction::triggered, this,
            &InsertCommands::ImageCommand_Click);

    for (const Chooser &chooser : choosers()) {
        if (auto *box = form.control<QComboBox>(chooser.name))
            wireChooser(chooser, box);
    }

    static const ListKind lists[] = {
        {"OrderedListCommand", "[LIST=1]", "Ordered List"},
        {"UnorderedListCommand", "[LIST]", "Unordered List"},
    };
    for (const ListKind &list : lists) {
        connect(form.command(list.command), &QAction::triggered, this,
                [this, &list] { buildList(list); });
    }

    // The toolbar stamps replace the selection; the Edit menu's keep it in
    // front of the stamp.
    const auto today = [] { return dateStamp(QLocale::system(), QDate::currentDate()); };
    const auto now = [] { return timeStamp(QLocale::system(), QTime::currentTime()); };
    connect(form.command("AddDate"), &QAction::triggered, this,
            [this, today] { m_form.typer()->setSelText(today()); });
    connect(form.command("AddTime"), &QAction::triggered, this,
            [this, now] { m_form.typer()->setSelText(now()); });
    connect(form.command("CurrentDate"), &QAction::triggered, this, [this, today] {
        Typer *typer = m_form.typer();
        typer->setSelText(typer->selText() + today());
    });
    connect(form.command("CurrentTime"), &QAction::triggered, this, [this, now] {
        Typer *typer = m_form.typer();
        typer->setSelText(typer->selText() + now());
    });
}

void InsertCommands::insertLink(const PromptedLink &link)
{
    Typer *typer = m_form.typer();
    // Whether the address doubles as the link text is settled before asking.
    const bool nothingSelected = typer->selLength() == 0;
    const QPointer<InsertCommands> alive(this);
    const QString address = m_form.dialogs().prompt(&m_form, QString::fromLatin1(link.message),
                                                    QString::fromLatin1(link.title),
                                                    QString::fromLatin1(link.defaultText));
    if (!alive || address.isEmpty())
        return;
    const QString shown = nothingSelected ? address : typer->selText();
    typer->setSelText(QLatin1String(link.openingHead) + address + QLatin1Char(']') + shown +
                      QLatin1String(link.closing));
}

void InsertCommands::ImageCommand_Click()
{
    Typer *typer = m_form.typer();
    QString address = typer->selText();
    if (address.isEmpty()) {
        const QPointer<InsertCommands> alive(this);
        address =
            m_form.dialogs().prompt(&m_form, QStringLiteral("Please enter the URL of your image:"),
                                    QStringLiteral("Insert Image"), QString());
        if (!alive || address.isEmpty())
            return;
    }
    typer->setSelText(QStringLiteral("[IMG]") + address + QStringLiteral("[/IMG]"));
}

namespace {
// A wheel turned over a closed chooser would insert one tag pair per notch
// while the user only meant to scroll past the toolbar.
class IgnoreWheel : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Wheel || QObject::eventFilter(watched, event);
    }
};
} // namespace

void InsertCommands::wireChooser(const Chooser &chooser, QComboBox *box)
{
    box->installEventFilter(new IgnoreWheel(box));
    // Only list entries are ever inserted, so typed text needs no completion.
    box->setCompleter(nullptr);
    connect(box, &QComboBox::activated, this, [this, box, &chooser](int index) {
        if (index < 0)
            return;
        Typer *typer = m_form.typer();
        typer->setSelText(chooserInsertion(chooser, box->itemText(index), typer->selText()));
        // The writer's next keystrokes belong in the post, between the tags;
        // left in the chooser they would only reset it.
        typer->setFocus(Qt::OtherFocusReason);
    });
    // Typing never reaches the post: the chooser goes back to its label.
    connect(box->lineEdit(), &QLineEdit::textEdited, box, [box, &chooser] {
        box->setCurrentIndex(-1);
        box->setEditText(QString::fromLatin1(chooser.startText));
    });
}

void InsertCommands::buildList(const ListKind &list)
{
    // The prompt runs its own event loop; one list at a time.
    if (m_listBuilderActive)
        return;
    m_listBuilderActive = true;
    const QPointer<InsertCommands> alive(this);
    Typer *typer = m_form.typer();
    typer->setSelText(QLatin1String(list.opening));
    const QString message = QString::fromLatin1(kListMessage);
    const QString title = QString::fromLatin1(list.title);
    for (;;) {
        const QString item = m_form.dialogs().prompt(&m_form, message, title, QString());
        if (!alive)
            return;
        if (item.isEmpty())
            break;
        typer->setSelText(QLatin1String(kItemHead) + item);
    }
    typer->setSelText(QLatin1String(kListEnd));
    m_listBuilderActive = false;
}

} // namespace quorvane
