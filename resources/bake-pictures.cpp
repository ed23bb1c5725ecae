// Draws pictures at build time into a C++ file of pixel arrays, so that the
// window's first paint shows them without parsing an SVG file (see
// src/ui/shell/deferredicon.cpp). Each picture is drawn exactly as the
// program would draw it: fitted into the asked size with its proportions kept,
// on a transparent ARGB32 premultiplied image, in this machine's byte order.
// Pictures with text are left out: their look depends on the fonts of the
// machine that shows them.
// Usage: quorvane_bake_pictures OUT.cpp ALIAS=FILE.svg:WxH[,WxH...] ...
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: quorvane_bake_pictures OUT.cpp ALIAS=FILE:WxH,... ...\n");
        return 2;
    }
    QString arrays, table;
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        const QString entry = QString::fromLocal8Bit(argv[i]);
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        const qsizetype colon = entry.lastIndexOf(QLatin1Char(':'));
        if (equals < 0 || colon < equals) {
            std::fprintf(stderr, "quorvane_bake_pictures: bad picture %s\n", argv[i]);
            return 2;
        }
        const QString alias = entry.left(equals);
        const QString file = entry.mid(equals + 1, colon - equals - 1);
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "quorvane_bake_pictures: cannot read %s\n", qPrintable(file));
            return 1;
        }
        const QByteArray svg = source.readAll();
        if (svg.contains("<text"))
            continue;
        QSvgRenderer renderer(svg);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "quorvane_bake_pictures: not a picture: %s\n", qPrintable(file));
            return 1;
        }
        for (const QString &size : entry.mid(colon + 1).split(QLatin1Char(','))) {
            const QStringList sides = size.split(QLatin1Char('x'));
            const QSize asked(sides.value(0).toInt(), sides.value(1).toInt());
            QSize fitted = renderer.defaultSize();
            fitted.scale(asked, Qt::KeepAspectRatio);
            if (asked.isEmpty() || fitted.isEmpty())
                continue;
            QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
            image.fill(0x00000000);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            arrays += QStringLiteral("alignas(4) const unsigned char p%1[] = {").arg(count);
            const auto *bytes = image.constBits();
            for (qsizetype b = 0; b < image.sizeInBytes(); ++b)
                arrays += QString::number(bytes[b]) + QLatin1Char(',');
            arrays += QStringLiteral("};\n");
            table += QStringLiteral("    {\"%1\", %2, %3, %4, %5, p%6},\n")
                         .arg(alias)
                         .arg(asked.width())
                         .arg(asked.height())
                         .arg(fitted.width())
                         .arg(fitted.height())
                         .arg(count);
            ++count;
        }
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "quorvane_bake_pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream text(&out);
    text << "// Drawn by quorvane_bake_pictures at build time; not edited by hand.\n"
         << "#include \"shell/bakedpictures.h\"\n\n"
         << "namespace quorvane {\nnamespace {\n"
         << arrays << "const BakedPicture kPictures[] = {\n"
         << table << "};\n} // namespace\n\n"
         << "std::span<const BakedPicture> bakedPictures()\n{\n    return kPictures;\n}\n\n"
         << "} // namespace quorvane\n";
    return 0;
}
