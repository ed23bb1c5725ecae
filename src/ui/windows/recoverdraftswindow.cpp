#include "windows/recoverdraftswindow.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quorvane {

RecoverDraftsWindow::RecoverDraftsWindow(const QString &folder, const QIcon &icon)
    : AuxiliaryWindow(icon), m_store(folder)
{
    setObjectName(QStringLiteral("RecoverDrafts"));
    setWindowTitle(QStringLiteral("Recover Drafts"));
    resize(640, 440);
    auto *layout = new QVBoxLayout(this);
    auto *split = new QSplitter(Qt::Vertical, this);
    m_list = new QTreeWidget(split);
    m_list->setObjectName(QStringLiteral("DraftList"));
    m_list->setAccessibleName(QStringLiteral("Drafts"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("When"), QStringLiteral("First line"),
                             QStringLiteral("Length"), QStringLiteral("File"),
                             QStringLiteral("Kind")});
    // The first line takes what the other columns leave, so the file's name
    // is never pushed out of sight behind a scroll bar.
    QHeaderView *header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    m_text = new QPlainTextEdit(split);
    m_text->setObjectName(QStringLiteral("DraftText"));
    m_text->setAccessibleName(QStringLiteral("Draft text"));
    m_text->setReadOnly(true);
    layout->addWidget(split, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("Restore"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("DraftListRestore"));
    m_compare = buttons->addButton(QStringLiteral("Compare..."), QDialogButtonBox::ActionRole);
    m_compare->setObjectName(QStringLiteral("DraftListCompare"));
    m_compare->setToolTip(QStringLiteral("The draft beside the file it was opened from"));
    connect(m_compare, &QPushButton::clicked, this, [this] {
        if (m_shownOk)
            emit compareChosen(m_shown);
    });
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecoverDraftsWindow::restoreSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &RecoverDraftsWindow::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &RecoverDraftsWindow::showSelected);
    connect(m_list, &QTreeWidget::itemActivated, this, &RecoverDraftsWindow::restoreSelected);
}

void RecoverDraftsWindow::refresh()
{
    m_list->clear();
    m_files.clear();
    const QList<drafts::DraftFile> files = m_store.files();
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    for (auto it = files.crbegin(); it != files.crend(); ++it) {
        const drafts::SnapshotRead read = drafts::readSnapshot(it->path, false);
        if (!read.ok)
            continue; // damaged: never offered
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(read.header.writtenMs);
        const QString file = read.header.sourcePath.isEmpty()
                                 ? QStringLiteral("(untitled)")
                                 : QFileInfo(read.header.sourcePath).fileName();
        auto *item = new QTreeWidgetItem(
            m_list, {locale.toString(when, QStringLiteral("d MMM yyyy HH:mm:ss")), read.firstLine,
                     locale.toString(read.header.length), file,
                     it->pending ? QStringLiteral("Draft") : QStringLiteral("History")});
        item->setToolTip(3, read.header.sourcePath);
        m_files.append(*it);
    }
    m_restore->setEnabled(!m_files.isEmpty());
    m_compare->setEnabled(false);
    if (!m_files.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    else
        m_text->setPlainText(QStringLiteral("There are no drafts."));
    m_list->setFocus();
}

void RecoverDraftsWindow::showSelected()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    m_shownOk = row >= 0 && drafts::DraftStore::load(m_files.value(row), &m_shown);
    m_text->setPlainText(m_shownOk ? m_shown.text
                                   : QStringLiteral("This draft can no longer be read."));
    m_restore->setEnabled(m_shownOk);
    m_compare->setEnabled(m_shownOk && !m_shown.header.sourcePath.isEmpty());
}

void RecoverDraftsWindow::restoreSelected()
{
    // Return in the list activates the row and then reaches the default
    // button too; the first one has already closed the window.
    if (m_shownOk && isVisible())
        emit restoreChosen(m_shown);
}

} // namespace quorvane
