// The window's style is the application's own style with the menu bar's
// overflow arrow made when first drawn: every picture it gives is the one the
// style it stands in for gives.
#include "shell/shellstyle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

TEST(ShellStyleTest, StandsInForTheApplicationsStyleOnce)
{
    const QString before = QApplication::style()->name();
    quorvane::ShellStyle::install();
    QStyle *installed = QApplication::style();
    ASSERT_NE(qobject_cast<quorvane::ShellStyle *>(installed), nullptr);
    EXPECT_EQ(static_cast<quorvane::ShellStyle *>(installed)->baseStyle()->name(), before);
    quorvane::ShellStyle::install();
    EXPECT_EQ(QApplication::style(), installed);
}

TEST(ShellStyleTest, GivesTheSamePicturesAsTheStyleItStandsIn)
{
    quorvane::ShellStyle::install();
    auto *ours = qobject_cast<quorvane::ShellStyle *>(QApplication::style());
    ASSERT_NE(ours, nullptr);
    QStyle *base = ours->baseStyle();
    const QStyle::StandardPixmap pictures[] = {QStyle::SP_ToolBarHorizontalExtensionButton,
                                               QStyle::SP_ToolBarVerticalExtensionButton,
                                               QStyle::SP_TitleBarCloseButton};
    const QSize sizes[] = {{8, 8}, {10, 16}, {16, 16}, {32, 32}};
    const QIcon::Mode modes[] = {QIcon::Normal, QIcon::Disabled, QIcon::Active};
    for (const QStyle::StandardPixmap picture : pictures) {
        const QIcon got = ours->standardIcon(picture, nullptr, nullptr);
        const QIcon expected = base->standardIcon(picture, nullptr, nullptr);
        EXPECT_EQ(got.isNull(), expected.isNull()) << int(picture);
        for (const QSize size : sizes) {
            EXPECT_EQ(got.actualSize(size), expected.actualSize(size)) << int(picture);
            for (const QIcon::Mode mode : modes) {
                const QImage a = got.pixmap(size, mode).toImage();
                const QImage b = expected.pixmap(size, mode).toImage();
                EXPECT_TRUE(a.convertToFormat(b.format()) == b)
                    << int(picture) << " " << size.width() << "x" << size.height() << " mode "
                    << int(mode);
            }
        }
    }
}

} // namespace
