// The icons drawn on first use give the pixels Qt's own SVG icon engine gives
// for the same file, size and mode: the window looks as it did when every
// picture was a plain QIcon.
#include "shell/deferredicon.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

static void initPictures()
{
    Q_INIT_RESOURCE(quorvane);
}

namespace {

QStringList pictures()
{
    initPictures();
    QStringList paths;
    for (const QString &folder : {QStringLiteral(":/icons"), QStringLiteral(":/smilies")}) {
        for (const QString &name : QDir(folder).entryList({QStringLiteral("*.svg")}))
            paths << folder + QLatin1Char('/') + name;
    }
    return paths;
}

TEST(DeferredIconTest, DrawsEveryPictureAsQtsSvgEngineDoes)
{
    const QStringList paths = pictures();
    ASSERT_GT(paths.size(), 30);
    // The sizes the window asks for (toolbar, strip, smilies, window icon)
    // and one the picture's proportions do not fit.
    const QSize sizes[] = {{16, 16}, {19, 18}, {22, 22}, {26, 26},
                           {32, 32}, {64, 64}, {92, 26}, {128, 128}};
    const QIcon::Mode modes[] = {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected};
    for (const QString &path : paths) {
        const QIcon ours = quorvane::deferredIcon(path);
        const QIcon qts(path);
        for (const QSize size : sizes) {
            for (const QIcon::Mode mode : modes) {
                const QImage expected = qts.pixmap(size, mode).toImage();
                const QImage got = ours.pixmap(size, mode).toImage();
                ASSERT_FALSE(expected.isNull()) << qPrintable(path);
                EXPECT_EQ(got.size(), expected.size()) << qPrintable(path);
                EXPECT_TRUE(got.convertToFormat(expected.format()) == expected)
                    << qPrintable(path) << " " << size.width() << "x" << size.height() << " mode "
                    << int(mode);
            }
        }
    }
}

} // namespace
