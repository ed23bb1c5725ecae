#pragma once

#include <QIcon>
#include <QString>

namespace quorvane {

// An icon whose SVG file is parsed only when it is first drawn, so that
// pictures nobody has seen yet (hidden panels, later windows) cost nothing at
// start-up. Drawn, it gives the same pixels as QIcon(path) does through Qt's
// SVG icon engine, at any size and mode, but parses the file once (Qt's
// engine parses it twice when the icon is made and again for each size).
QIcon deferredIcon(const QString &path);

} // namespace quorvane
