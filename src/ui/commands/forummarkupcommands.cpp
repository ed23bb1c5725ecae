#include "commands/forummarkupcommands.h"

#include "forum/forumquote.h"
#include "forum/forumtable.h"
#include "forum/forumtags.h"
#include "settings/quoteauthors.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <algorithm>

namespace quorvane {

namespace {
const QString kTagsTitle = QStringLiteral("Forum Tags");
const QString kTableTitle = QStringLiteral("Insert Table");
} // namespace

ForumMarkupCommands::ForumMarkupCommands(MainForm &form)
    : QObject(&form), m_form(form), m_tagsMenu(form.control<QMenu>("ForumTagsMenu"))
{
    Q_ASSERT(m_tagsMenu);
    connect(form.command("InsertTable"), &QAction::triggered, this,
            &ForumMarkupCommands::insertTable);
    connect(form.command("QuoteSelection"), &QAction::triggered, this,
            &ForumMarkupCommands::quoteSelection);
    fillTagsMenu();
}

const Dialect &ForumMarkupCommands::builtInDialect(Forum forum)
{
    static const Dialect page;
    return forum == Forum::Generic ? page : quorvane::dialect(forum);
}

void ForumMarkupCommands::setDialect(const Dialect &dialect)
{
    m_dialect = dialect;
    fillTagsMenu();
}

void ForumMarkupCommands::fillTagsMenu()
{
    m_tagsMenu->clear();
    const std::vector<const TagDefinition *> tags = forumOnlyTags(m_dialect);
    if (tags.empty()) {
        // Said in the submenu itself, so a writer sees why it holds nothing.
        QAction *none = m_tagsMenu->addAction(QStringLiteral("No Tags beyond the Toolbar's"));
        none->setObjectName(QStringLiteral("ForumTagsNone"));
        none->setEnabled(false);
        return;
    }
    for (const TagDefinition *tag : tags) {
        QAction *action = m_tagsMenu->addAction(forumTagCaption(*tag));
        action->setObjectName(QStringLiteral("ForumTag_") + tag->name);
        const QString name = tag->name;
        connect(action, &QAction::triggered, this, [this, name] { insertTag(name); });
    }
}

void ForumMarkupCommands::insertTag(const QString &name)
{
    // The submenu's items are not rows of the command table, which long work
    // turns off: they keep out of the post by themselves meanwhile.
    const TagDefinition *tag = m_dialect.tag(name);
    if (!tag || m_form.isHoldingInput())
        return;
    const TagInsertion how = tagInsertion(*tag);
    // Copies: the description may be handed over anew while a question is open.
    const TagForm form = *how.form;
    const QString shownName = tag->name;
    const QPointer<ForumMarkupCommands> alive(this);
    QStringList values;
    for (const TagValue &value : how.values) {
        const QString message =
            QStringLiteral("%1 for [%2]:").arg(tagValueCaption(value), shownName);
        const QString answer = m_form.dialogs().prompt(&m_form, message, kTagsTitle, QString());
        if (!alive || answer.isEmpty())
            return;
        values << answer;
    }
    Typer *typer = m_form.typer();
    typer->setSelText(writtenTag(form, values, typer->selText()));
}

void ForumMarkupCommands::insertTable()
{
    Typer *typer = m_form.typer();
    TableRows rows = tabSeparatedRows(typer->selText());
    const bool fromSelection = !rows.empty();
    const bool tables = hasTables(m_dialect);
    const QString forumName = forumDisplayName(m_dialect.forum);
    const QPointer<ForumMarkupCommands> alive(this);
    UserDialogs &dialogs = m_form.dialogs();
    if (!tables && fromSelection) {
        dialogs.message(&m_form, QMessageBox::Information, kTableTitle,
                        QStringLiteral("%1 has no tables. The selected lines stay as they are, "
                                       "tab-separated.")
                            .arg(forumName),
                        QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (!tables) {
        const auto answer = dialogs.message(
            &m_form, QMessageBox::Question, kTableTitle,
            QStringLiteral("%1 has no tables. Insert tab-separated lines instead?").arg(forumName),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (!alive || answer != QMessageBox::Yes)
            return;
    }
    TableShape start;
    if (fromSelection) {
        start.rows = int(rows.size());
        start.columns = 0;
        for (const QStringList &row : rows)
            start.columns = std::max(start.columns, int(row.size()));
    }
    const std::optional<TableShape> shape = dialogs.tableShape(&m_form, start, fromSelection);
    if (!alive || !shape)
        return;
    if (!fromSelection)
        rows = emptyRows(*shape);
    const TableMarkup markup =
        tables ? tableMarkup(m_dialect, rows, shape->header) : tabSeparatedText(rows);
    const qsizetype at = typer->selStart();
    typer->setSelText(markup.text);
    typer->setSelStart(at + markup.caret);
}

void ForumMarkupCommands::quoteSelection()
{
    const QPointer<ForumMarkupCommands> alive(this);
    const std::optional<QuoteSource> source = m_form.dialogs().quoteSource(
        &m_form, forumDisplayName(m_dialect.forum), quoteParts(m_dialect), quoteauthors::read());
    if (!alive || !source)
        return;
    quoteauthors::remember(source->author);
    Typer *typer = m_form.typer();
    typer->setSelText(quoteMarkup(m_dialect, *source, typer->selText()));
}

} // namespace quorvane
