#pragma once

#include "platform/instancechannel.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace quorvane {

class MainForm;

// Files named from outside the window: the one on the command line and those
// later starts hand over. Each opens by the route Open takes (the question
// about a modified post first); a later start also brings the window to the
// front, with or without a file. While a question or a file dialog is open
// (perhaps the very question an earlier file asked) or a large file is being
// read, the newest file waits for it to end.
class OpenRequests : public QObject
{
    Q_OBJECT

public:
    explicit OpenRequests(MainForm &form);

    // Opens `path` once the event loop runs, i.e. after the window is shown
    // and the start-up checks (the drafts offer) are done.
    void openAtStart(const QString &path);
    void handle(const quorvane::OpenRequest &request);

private:
    void open(const QString &path);
    void bringToFront(const OpenRequest &request);

    MainForm &m_form;
    QString m_waiting;
    QTimer m_retry;
};

} // namespace quorvane
