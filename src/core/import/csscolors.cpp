#include "import/csscolors.h"

#include <QColor>

#include <array>
#include <cmath>

namespace quorvane::csscolors {

namespace {

struct Named
{
    const char *name;
    QRgb rgb;
};

// The colours of the toolbar's chooser, as the preview draws them.
constexpr std::array<Named, 11> kNamed = {{{"Black", 0x000000},
                                           {"Red", 0xFF0000},
                                           {"Green", 0x008000},
                                           {"Blue", 0x0000FF},
                                           {"Yellow", 0xFFFF00},
                                           {"Orange", 0xFF9900},
                                           {"White", 0xFFFFFF},
                                           {"Navy", 0x000080},
                                           {"Pink", 0xFF00FF},
                                           {"Gray", 0x808080},
                                           {"Purple", 0x800080}}};

// The points of the font element's sizes 1 to 7, as browsers draw them.
constexpr std::array<double, 7> kSizePoints = {7.5, 10, 12, 13.5, 18, 24, 36};

} // namespace

std::optional<QRgb> parse(QStringView value)
{
    const QString v = value.trimmed().toString().toLower();
    if (v.startsWith(QLatin1String("rgb"))) {
        const qsizetype open = v.indexOf(u'(');
        const qsizetype close = v.indexOf(u')');
        if (open < 0 || close < open)
            return std::nullopt;
        QString inner = v.mid(open + 1, close - open - 1);
        inner.replace(u',', u' ').replace(u'/', u' ');
        const QStringList parts = inner.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() < 3)
            return std::nullopt;
        int rgb[3];
        for (int i = 0; i < 3; ++i) {
            QString part = parts[i];
            const bool percent = part.endsWith(u'%');
            if (percent)
                part.chop(1);
            bool ok = false;
            const double number = part.toDouble(&ok);
            if (!ok)
                return std::nullopt;
            rgb[i] = std::clamp(int(std::lround(percent ? number * 2.55 : number)), 0, 255);
        }
        return qRgb(rgb[0], rgb[1], rgb[2]);
    }
    QString name = v;
    // Old pages write hex colours without the hash.
    if (!name.startsWith(u'#') && (name.size() == 6 || name.size() == 3) &&
        std::all_of(name.begin(), name.end(), [](QChar c) { return isxdigit(c.unicode()); }))
        name.prepend(u'#');
    const QColor color = QColor::fromString(name);
    if (!color.isValid())
        return std::nullopt;
    return color.rgb() & 0xFFFFFF;
}

QString nearestName(QRgb rgb)
{
    const Named *best = &kNamed[0];
    long bestDistance = -1;
    for (const Named &named : kNamed) {
        const long dr = qRed(rgb) - qRed(named.rgb);
        const long dg = qGreen(rgb) - qGreen(named.rgb);
        const long db = qBlue(rgb) - qBlue(named.rgb);
        // Weighted as the eye weighs them, so dark greys stay black.
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = &named;
        }
    }
    return QString::fromLatin1(best->name);
}

std::optional<double> fontSizePoints(QStringView value, double surrounding)
{
    const QString v = value.trimmed().toString().toLower();
    static const std::pair<const char *, double> keywords[] = {
        {"xx-small", 7.5}, {"x-small", 7.5}, {"small", 10},    {"medium", 12},
        {"large", 13.5},   {"x-large", 18},  {"xx-large", 24}, {"xxx-large", 36}};
    for (const auto &[name, points] : keywords) {
        if (v == QLatin1String(name))
            return points;
    }
    if (v == QLatin1String("smaller"))
        return surrounding / 1.2;
    if (v == QLatin1String("larger"))
        return surrounding * 1.2;
    qsizetype end = 0;
    while (end < v.size() && (v[end].isDigit() || v[end] == u'.'))
        ++end;
    bool ok = false;
    const double number = v.left(end).toDouble(&ok);
    if (!ok || number <= 0)
        return std::nullopt;
    const QStringView unit = QStringView(v).mid(end).trimmed();
    if (unit == u"pt")
        return number;
    if (unit == u"px" || unit.isEmpty())
        return number * 0.75;
    if (unit == u"em" || unit == u"rem")
        return number * surrounding;
    if (unit == u"%")
        return number * surrounding / 100;
    if (unit == u"pc")
        return number * 12;
    if (unit == u"in")
        return number * 72;
    if (unit == u"cm")
        return number * 72 / 2.54;
    if (unit == u"mm")
        return number * 72 / 25.4;
    return std::nullopt;
}

std::optional<double> fontElementPoints(QStringView value, double surrounding)
{
    const QString v = value.trimmed().toString();
    bool ok = false;
    int number = v.toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (v.startsWith(u'+') || v.startsWith(u'-'))
        number += sizeNumber(surrounding);
    return kSizePoints[size_t(std::clamp(number, 1, 7) - 1)];
}

int sizeNumber(double points)
{
    // Each size covers the points nearer to it than to its neighbours.
    int best = 1;
    for (int i = 1; i < 7; ++i) {
        if (points >= (kSizePoints[size_t(i - 1)] + kSizePoints[size_t(i)]) / 2)
            best = i + 1;
    }
    return best;
}

} // namespace quorvane::csscolors
