#pragma once

#include <QIcon>
#include <QString>

namespace quorvane {

// An icon whose SVG file is parsed only when it is first drawn, so that
// pictures nobody has seen yet (hidden panels, later windows) cost nothing at
// start-up and the window maps before its pictures are parsed. Drawn, it is
// the SVG icon itself, sharp at any scale.
QIcon deferredIcon(const QString &path);

} // namespace quorvane
