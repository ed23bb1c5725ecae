// The window's style is the application's own style with the menu bar's
// overflow arrow made when first drawn: every picture it gives is the one the
// style it stands in for gives.
#include "shell/deferredicon.h"
#include "shell/shellstyle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <gtest/gtest.h>

static void initPictures()
{
    Q_INIT_RESOURCE(quorvane);
}

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

namespace {

// The look the toolbar's buttons had from a style sheet: the framed buttons
// must give the same pixels in every state.
const char kStyleSheet[] =
    "QToolButton { background-color: rgb(224,224,224); border: 1px solid rgb(176,176,176);"
    " border-radius: 2px; }"
    "QToolButton:hover { border-color: rgb(96,128,192); }"
    "QToolButton:pressed, QToolButton:checked { background-color: rgb(200,200,208); }"
    "QToolButton:focus { border-color: rgb(32,96,200); }";

class OpenButton : public QToolButton
{
public:
    using QToolButton::initStyleOption;
    using QToolButton::QToolButton;
};

QImage drawn(OpenButton &button, QStyle::State extra)
{
    QStyleOptionToolButton option;
    button.initStyleOption(&option);
    option.state |= extra;
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(QApplication::palette().color(QPalette::Window));
    QPainter painter(&image);
    button.style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, &button);
    return image;
}

TEST(ShellStyleTest, FramedButtonsLookAsTheStyleSheetDrewThem)
{
    quorvane::ShellStyle::install();
    initPictures();
    QWidget sheetParent;
    sheetParent.setStyleSheet(QString::fromLatin1(kStyleSheet));
    QWidget plainParent;
    plainParent.setProperty(quorvane::ShellStyle::framedButtons, true);
    const QSize sizes[] = {{21, 21}, {16, 16}, {89, 19}};
    // Over a plain colour the style copies a look it drew once; over
    // anything else it draws each time.
    for (const bool plain : {true, false}) {
        plainParent.setAttribute(Qt::WA_NoSystemBackground, !plain);
        const QStyle::State states[] = {QStyle::State_None,
                                        QStyle::State_MouseOver,
                                        QStyle::State_Sunken,
                                        QStyle::State_On,
                                        QStyle::State_HasFocus,
                                        QStyle::State_MouseOver | QStyle::State_HasFocus,
                                        QStyle::State_Sunken | QStyle::State_MouseOver};
        for (const bool enabled : {true, false}) {
            for (const QSize size : sizes) {
                OpenButton sheet(&sheetParent);
                OpenButton ours(&plainParent);
                for (OpenButton *button : {&sheet, &ours}) {
                    button->setFixedSize(size);
                    button->setIconSize(QSize(19, 18));
                    if (size.width() > 21)
                        button->setText(QStringLiteral("No problems"));
                    else
                        button->setIcon(
                            quorvane::deferredIcon(QStringLiteral(":/icons/BoldCommand.svg")));
                    button->setEnabled(enabled);
                    button->ensurePolished();
                }
                for (const QStyle::State state : states) {
                    const QImage expected = drawn(sheet, state);
                    const QImage got = drawn(ours, state);
                    EXPECT_TRUE(got == expected)
                        << size.width() << "x" << size.height() << " state " << int(state)
                        << " enabled " << enabled << " plain " << plain;
                }
            }
        }
    }
}

TEST(ShellStyleTest, FramedButtonsTakeTheRoomTheStyleSheetGaveThem)
{
    quorvane::ShellStyle::install();
    initPictures();
    QWidget sheetParent;
    sheetParent.setStyleSheet(QString::fromLatin1(kStyleSheet));
    QWidget plainParent;
    plainParent.setProperty(quorvane::ShellStyle::framedButtons, true);
    const QString texts[] = {QString(), QStringLiteral("X"), QStringLiteral("No problems"),
                             QStringLiteral("12 problems")};
    for (const QString &text : texts) {
        for (const bool icon : {false, true}) {
            OpenButton sheet(&sheetParent);
            OpenButton ours(&plainParent);
            for (OpenButton *button : {&sheet, &ours}) {
                button->setText(text);
                if (icon) {
                    button->setIcon(
                        quorvane::deferredIcon(QStringLiteral(":/icons/BoldCommand.svg")));
                    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
                }
                button->ensurePolished();
            }
            EXPECT_EQ(ours.sizeHint(), sheet.sizeHint()) << qPrintable(text) << " " << icon;
            // Drawn again as the mouse comes and goes.
            EXPECT_EQ(ours.testAttribute(Qt::WA_Hover), sheet.testAttribute(Qt::WA_Hover));
            EXPECT_EQ(ours.minimumSizeHint(), sheet.minimumSizeHint()) << qPrintable(text);
        }
    }
}

} // namespace

namespace {

class OpenScrollBar : public QScrollBar
{
public:
    using QScrollBar::initStyleOption;
    using QScrollBar::QScrollBar;
};

// Tall bars are drawn in bands on the window's own thread: every pixel is the
// one the style draws in one go.
TEST(ShellStyleTest, ScrollBarsLookAsTheirStyleDrawsThem)
{
    quorvane::ShellStyle::install();
    auto *ours = qobject_cast<quorvane::ShellStyle *>(QApplication::style());
    ASSERT_NE(ours, nullptr);
    struct Case
    {
        Qt::Orientation orientation;
        QSize size;
        int maximum;
        QStyle::State extra;
        QStyle::SubControl active;
    };
    const Case cases[] = {
        {Qt::Vertical, {15, 40}, 0, QStyle::State_None, QStyle::SC_None},
        {Qt::Vertical, {15, 64}, 0, QStyle::State_None, QStyle::SC_None},
        {Qt::Vertical, {15, 65}, 0, QStyle::State_None, QStyle::SC_None},
        {Qt::Vertical, {15, 418}, 0, QStyle::State_None, QStyle::SC_None},
        {Qt::Vertical, {15, 418}, 100, QStyle::State_None, QStyle::SC_None},
        {Qt::Vertical, {15, 300}, 100, QStyle::State_MouseOver, QStyle::SC_ScrollBarSlider},
        {Qt::Vertical, {15, 300}, 100, QStyle::State_Sunken, QStyle::SC_ScrollBarAddLine},
        {Qt::Vertical, {17, 129}, 5, QStyle::State_None, QStyle::SC_None},
        {Qt::Horizontal, {400, 15}, 100, QStyle::State_None, QStyle::SC_None},
    };
    for (const Case &c : cases) {
        for (const bool enabled : {true, false}) {
            OpenScrollBar bar(c.orientation);
            bar.resize(c.size);
            bar.setRange(0, c.maximum);
            bar.setValue(c.maximum / 3);
            bar.setEnabled(enabled);
            QStyleOptionSlider option;
            bar.initStyleOption(&option);
            option.subControls = QStyle::SC_All;
            option.state |= c.extra;
            option.activeSubControls = c.active;
            QImage expected(c.size, QImage::Format_RGB32);
            expected.fill(Qt::magenta);
            QImage got = expected;
            {
                QPainter painter(&expected);
                ours->baseStyle()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter,
                                                      &bar);
            }
            {
                QPainter painter(&got);
                ours->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, &bar);
            }
            EXPECT_TRUE(got == expected)
                << c.size.width() << "x" << c.size.height() << " max " << c.maximum << " state "
                << int(c.extra) << " enabled " << enabled;
        }
    }
}

} // namespace
