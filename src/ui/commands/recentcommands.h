#pragma once

#include "recent/recentfiles.h"

#include <QObject>
#include <QThreadPool>

class QAction;
class QMenu;

namespace quorvane {

class DocumentCommands;
class MainForm;

// File > Open Recent: the last ten files opened or saved, newest first; a
// file gone since is taken off the list when chosen, with a word; Clear
// List. Each is also written to the desktop's shared recently-used list, on
// a worker, so the file manager's Recent view lists it.
class RecentCommands : public QObject
{
    Q_OBJECT

public:
    RecentCommands(MainForm &form, DocumentCommands &documents);
    ~RecentCommands() override;

    static RecentCommands *of(MainForm &form);

    const RecentFiles &files() const { return m_files; }
    // The desktop's list (recently-used.xbel in the data folder unless set).
    void setDesktopList(const QString &path) { m_desktopList = path; }

signals:
    // The desktop's list was written (or could not be: ok is false).
    void desktopListWritten(bool ok);

private:
    void remember(const QString &path);
    void fillMenu();
    void openRecent(const QString &path);
    void clearList();
    void keep();

    MainForm &m_form;
    DocumentCommands &m_documents;
    RecentFiles m_files;
    QMenu *m_menu;
    QAction *m_line;
    QAction *m_clear;
    QList<QAction *> m_entries;
    bool m_menuStale = true;
    QString m_desktopList;
    // One write at a time, in order; all done before the program ends.
    QThreadPool m_writer;
};

} // namespace quorvane
