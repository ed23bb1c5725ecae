#include "shell/filedrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace quorvane {

FileDrop fileDropOf(const QMimeData *mime)
{
    FileDrop drop;
    if (!mime || !mime->hasUrls())
        return drop;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        drop.names = true;
        const QFileInfo file(url.toLocalFile());
        if (file.isFile()) {
            drop.path = file.absoluteFilePath();
            break;
        }
    }
    return drop;
}

void acceptAsCopy(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool answerFileDrag(QDragMoveEvent *event)
{
    const FileDrop drop = fileDropOf(event->mimeData());
    if (!drop.names)
        return false;
    if (drop.path.isEmpty())
        event->ignore();
    else
        acceptAsCopy(event);
    return true;
}

} // namespace quorvane
