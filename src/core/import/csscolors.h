#pragma once

#include <QRgb>
#include <QString>
#include <QStringView>

#include <optional>

namespace quorvane::csscolors {

// A colour as CSS and HTML attributes write it (#rgb, #rrggbb, rgb(...),
// names), or nothing for values that name no colour (inherit, windowtext).
std::optional<QRgb> parse(QStringView value);

// The colour the toolbar offers that comes closest: the post knows only those.
QString nearestName(QRgb rgb);

// A CSS font-size (pt, px, em, %, keywords) in points, against the size
// around it; nothing when the value cannot be read.
std::optional<double> fontSizePoints(QStringView value, double surrounding);

// The size of an HTML font element's size attribute (1-7, +n, -n) in points.
std::optional<double> fontElementPoints(QStringView value, double surrounding);

// The post's size (1-7) nearest to a size in points.
int sizeNumber(double points);

} // namespace quorvane::csscolors
