#include "commands/recentcommands.h"

#include "commands/documentcommands.h"
#include "recent/recentlyused.h"
#include "settings/workspace.h"
#include "shell/mainform.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeDatabase>
#include <QtConcurrent/QtConcurrentRun>

namespace quorvane {

RecentCommands::RecentCommands(MainForm &form, DocumentCommands &documents)
    : QObject(&form), m_form(form), m_documents(documents), m_files(workspace::readRecentFiles()),
      m_menu(form.findChild<QMenu *>(QStringLiteral("OpenRecent"))),
      m_line(form.command("RecentFilesLine")), m_clear(form.command("ClearRecentFiles")),
      m_desktopList(RecentlyUsed::defaultPath())
{
    m_writer.setMaxThreadCount(1);
    m_clear->setEnabled(!m_files.isEmpty());
    // The entries are made when the menu first opens, not at start.
    connect(m_menu, &QMenu::aboutToShow, this, &RecentCommands::fillMenu);
    connect(m_clear, &QAction::triggered, this, &RecentCommands::clearList);
    connect(&documents, &DocumentCommands::opened, this, &RecentCommands::remember);
    connect(&documents, &DocumentCommands::saved, this, &RecentCommands::remember);
}

RecentCommands::~RecentCommands()
{
    m_writer.waitForDone();
}

RecentCommands *RecentCommands::of(MainForm &form)
{
    return form.findChild<RecentCommands *>(QString(), Qt::FindDirectChildrenOnly);
}

void RecentCommands::remember(const QString &path)
{
    m_files.add(path);
    keep();
    const QString list = m_desktopList;
    const QString file = m_files.paths().front();
    auto written = QtConcurrent::run(&m_writer, [list, file] {
        RecentlyUsed desktop(list);
        const QString type = QMimeDatabase().mimeTypeForFile(file).name();
        if (desktop.add(file, type))
            return QString();
        return desktop.errorString();
    });
    // Said on standard error: a desktop list we cannot write is no reason
    // to interrupt the writer.
    written.then(this, [this](const QString &error) {
        if (!error.isEmpty())
            qWarning("quorvane: the desktop's recent files: %s", qPrintable(error));
        emit desktopListWritten(error.isEmpty());
    });
}

void RecentCommands::keep()
{
    workspace::writeRecentFiles(m_files.paths());
    m_clear->setEnabled(!m_files.isEmpty());
    m_menuStale = true;
}

void RecentCommands::fillMenu()
{
    if (!m_menuStale)
        return;
    m_menuStale = false;
    qDeleteAll(m_entries);
    m_entries.clear();
    int number = 0;
    for (const QString &path : m_files.paths()) {
        ++number;
        const QFileInfo file(path);
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        // The last digit is the key: 1 to 9, then 0.
        auto *entry = new QAction(QStringLiteral("&%1 %2  (%3)")
                                      .arg(number % 10)
                                      .arg(name, QDir::toNativeSeparators(file.path())),
                                  m_menu);
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(number));
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { openRecent(path); });
        m_menu->insertAction(m_line, entry);
        m_entries << entry;
    }
    m_line->setVisible(!m_entries.isEmpty());
}

void RecentCommands::openRecent(const QString &path)
{
    if (QFileInfo(path).isFile()) {
        m_documents.openFile(path);
        return;
    }
    m_files.remove(path);
    keep();
    m_form.dialogs().message(&m_form, QMessageBox::Information, QStringLiteral("Quorvane"),
                             QStringLiteral("\"%1\" is no longer there, so it was taken off the "
                                            "recent files.")
                                 .arg(QDir::toNativeSeparators(path)),
                             QMessageBox::Ok, QMessageBox::Ok);
}

void RecentCommands::clearList()
{
    m_files.clear();
    keep();
}

} // namespace quorvane
