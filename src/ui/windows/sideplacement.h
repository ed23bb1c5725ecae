#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace quorvane {

// Where a companion window (Live Preview) opens beside the main window, in
// frame coordinates: on the side with more room, narrowed (down to
// `minimumWidth`) to fit it; when neither side has room even for that but the
// screen holds both, the main window slides over just enough to make room;
// only a main window too wide for both leaves the companion over its far
// (right) edge. The top is the main window's, kept on the screen.
struct SidePlacement
{
    QRect companion;
    QPoint mainTopLeft; // the main window's frame, moved or not
};

SidePlacement placeBeside(const QRect &mainFrame, const QSize &companionFrame, const QRect &screen,
                          int minimumWidth);

} // namespace quorvane
