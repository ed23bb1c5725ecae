#pragma once

#include "forum/forum.h"

#include <QObject>
#include <QString>
#include <memory>

namespace quorvane {

class LivePreviewWindow;
class MainForm;
class RemoteImages;

// Live Preview (F6): shows and hides the preview window beside the main
// window and remembers where it stood, whether it was open and whether it
// loads remote images.
class LivePreviewCommands : public QObject
{
    Q_OBJECT

public:
    explicit LivePreviewCommands(MainForm &form);
    ~LivePreviewCommands() override;

    // Built on first use: most sessions never open it, and the window would
    // cost every start.
    LivePreviewWindow *window();
    RemoteImages &remoteImages() const { return *m_images; }
    void setDataDir(const QString &dir);
    // The forum whose page the window shows.
    void setForum(Forum forum);
    // Shows the page again (the forum's custom tags changed).
    void refresh();

private:
    void setOpen(bool open);
    void place();
    void backToEditor();

    MainForm &m_form;
    RemoteImages *m_images;
    std::unique_ptr<LivePreviewWindow> m_window;
    QString m_dataDir;
    Forum m_forum = Forum::Generic;
    bool m_placed = false;
};

} // namespace quorvane
