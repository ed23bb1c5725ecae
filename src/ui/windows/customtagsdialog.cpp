#include "windows/customtagsdialog.h"

#include "windows/userdialogs.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace quorvane {

namespace {
constexpr char kFilter[] = "Custom tags (*.txt);;All files (*.*)";
} // namespace

CustomTagsDialog::CustomTagsDialog(Forum forum, std::vector<CustomTag> tags, UserDialogs &dialogs,
                                   QWidget *parent)
    : QDialog(parent), m_dialogs(dialogs), m_tags(std::move(tags)), m_list(new QListWidget(this)),
      m_usage(new QLineEdit(this)), m_replacement(new QLineEdit(this)), m_error(new QLabel(this)),
      m_change(new QPushButton(QStringLiteral("&Change"), this)),
      m_remove(new QPushButton(QStringLiteral("&Remove"), this))
{
    setObjectName(QStringLiteral("CustomTagsDialog"));
    setWindowTitle(QStringLiteral("Custom Tags - %1").arg(forumDisplayName(forum)));

    m_list->setObjectName(QStringLiteral("CustomTagList"));
    m_list->setAccessibleName(QStringLiteral("Custom tags"));
    m_usage->setObjectName(QStringLiteral("CustomTagUsage"));
    m_usage->setAccessibleName(QStringLiteral("Usage"));
    m_usage->setPlaceholderText(QStringLiteral("[spoiler={TEXT1}]{TEXT2}[/spoiler]"));
    m_replacement->setObjectName(QStringLiteral("CustomTagReplacement"));
    m_replacement->setAccessibleName(QStringLiteral("HTML replacement"));
    m_replacement->setPlaceholderText(
        QStringLiteral("<details><summary>{TEXT1}</summary>{TEXT2}</details>"));
    m_error->setObjectName(QStringLiteral("CustomTagError"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));

    auto *add = new QPushButton(QStringLiteral("&Add"), this);
    add->setObjectName(QStringLiteral("CustomTagAdd"));
    m_change->setObjectName(QStringLiteral("CustomTagChange"));
    m_remove->setObjectName(QStringLiteral("CustomTagRemove"));
    auto *importButton = new QPushButton(QStringLiteral("&Import..."), this);
    importButton->setObjectName(QStringLiteral("CustomTagsImport"));
    auto *exportButton = new QPushButton(QStringLiteral("&Export..."), this);
    exportButton->setObjectName(QStringLiteral("CustomTagsExport"));

    auto *note = new QLabel(
        QStringLiteral("As your board's admin panel shows them: a usage such as "
                       "[box={NUMBER}]{TEXT}[/box] and its HTML with the same tokens "
                       "({TEXT}, {SIMPLETEXT}, {INTTEXT}, {URL}, {LOCAL_URL}, {EMAIL}, {NUMBER}, "
                       "{COLOR}, {IDENTIFIER}). Scripts and outside pictures are left out of the "
                       "preview."),
        this);
    note->setWordWrap(true);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Usage:"), m_usage);
    fields->addRow(QStringLiteral("&HTML replacement:"), m_replacement);

    auto *row = new QHBoxLayout;
    for (QPushButton *b : {add, m_change, m_remove})
        row->addWidget(b);
    row->addStretch();
    row->addWidget(importButton);
    row->addWidget(exportButton);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_list, 1);
    layout->addLayout(fields);
    layout->addWidget(m_error);
    layout->addLayout(row);
    layout->addWidget(buttons);
    resize(640, 420);

    connect(m_list, &QListWidget::currentRowChanged, this, &CustomTagsDialog::selected);
    connect(add, &QPushButton::clicked, this, &CustomTagsDialog::add);
    connect(m_change, &QPushButton::clicked, this, &CustomTagsDialog::change);
    connect(m_remove, &QPushButton::clicked, this, &CustomTagsDialog::remove);
    connect(importButton, &QPushButton::clicked, this, &CustomTagsDialog::importFile);
    connect(exportButton, &QPushButton::clicked, this, &CustomTagsDialog::exportFile);
    showList(m_tags.empty() ? -1 : 0);
    showError(QString());
}

void CustomTagsDialog::showList(int select)
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const CustomTag &tag : m_tags)
        m_list->addItem(tag.usage);
    m_list->setCurrentRow(select);
    selected();
}

void CustomTagsDialog::selected()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row < int(m_tags.size())) {
        m_usage->setText(m_tags[std::size_t(row)].usage);
        m_replacement->setText(m_tags[std::size_t(row)].replacement);
    }
    enableButtons();
}

void CustomTagsDialog::enableButtons()
{
    const bool any = m_list->currentRow() >= 0;
    m_change->setEnabled(any);
    m_remove->setEnabled(any);
}

bool CustomTagsDialog::definition(CustomTag &tag)
{
    tag.usage = m_usage->text().trimmed();
    tag.replacement = m_replacement->text().trimmed();
    if (QString why = usageProblem(tag.usage); !why.isEmpty()) {
        showError(QStringLiteral("Usage: %1.").arg(why));
        m_usage->setFocus();
        return false;
    }
    if (QString why = replacementProblem(tag.usage, tag.replacement); !why.isEmpty()) {
        showError(QStringLiteral("HTML replacement: %1.").arg(why));
        m_replacement->setFocus();
        return false;
    }
    showError(QString());
    return true;
}

void CustomTagsDialog::add()
{
    CustomTag tag;
    if (!definition(tag))
        return;
    m_tags.push_back(tag);
    showList(int(m_tags.size()) - 1);
}

void CustomTagsDialog::change()
{
    const int row = m_list->currentRow();
    CustomTag tag;
    if (row < 0 || !definition(tag))
        return;
    m_tags[std::size_t(row)] = tag;
    showList(row);
}

void CustomTagsDialog::remove()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_tags.erase(m_tags.begin() + row);
    showList(std::min(row, int(m_tags.size()) - 1));
    if (m_tags.empty()) {
        m_usage->clear();
        m_replacement->clear();
    }
}

void CustomTagsDialog::importFile()
{
    const QPointer<CustomTagsDialog> alive(this);
    const QString path = m_dialogs.openFileName(this, QString::fromLatin1(kFilter),
                                                QStringLiteral("Custom tags (*.txt)"));
    if (!alive || path.isEmpty())
        return;
    const CustomTagsRead read = readCustomTagsFile(path);
    if (!read.ok()) {
        const QString name = QFileInfo(path).fileName();
        showError(
            read.error->line > 0
                ? QStringLiteral("%1, line %2: %3. Nothing was imported.")
                      .arg(name)
                      .arg(read.error->line)
                      .arg(read.error->reason)
                : QStringLiteral("%1: %2. Nothing was imported.").arg(name, read.error->reason));
        return;
    }
    m_tags = read.tags;
    showError(QString());
    showList(m_tags.empty() ? -1 : 0);
}

void CustomTagsDialog::exportFile()
{
    const QPointer<CustomTagsDialog> alive(this);
    const QString path = m_dialogs.saveFileName(this, QString::fromLatin1(kFilter));
    if (!alive || path.isEmpty())
        return;
    QString error;
    if (!writeCustomTagsFile(path, m_tags, &error))
        showError(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), error));
}

void CustomTagsDialog::showError(const QString &text)
{
    m_error->setText(text);
    m_error->setAccessibleName(text);
    m_error->setVisible(!text.isEmpty());
}

} // namespace quorvane
