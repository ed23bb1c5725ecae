#pragma once

#include <QString>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace quorvane {

// What a drag from a file manager brings: the file to open. A link dragged
// from a browser is no file; its text goes into the post like any other.
struct FileDrop
{
    // The drag names files on this machine (they come with their paths as
    // text too, which must not land in the post).
    bool names = false;
    // The first of them that is a readable kind of file: a folder is passed
    // over. "" when there is none.
    QString path;
};

FileDrop fileDropOf(const QMimeData *mime);

// Takes a file drag as a copy: a file manager that offered to move the file
// must never delete it because the window accepted.
void acceptAsCopy(QDropEvent *event);

// Answers a drag that names files: taken as a copy when one of them can be
// opened, refused otherwise. False, and nothing done, for a drag of text.
bool answerFileDrag(QDragMoveEvent *event);

} // namespace quorvane
