#pragma once

#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionToolButton>

#include <map>

namespace quorvane {

// The desktop's own style, with three things of the window's own:
// - the toolbar's framed buttons (a grey face, a thin rounded frame that
//   turns blue under the mouse and with the keyboard focus) are drawn here,
//   as a style sheet drew them, without the style sheet's cost of matching
//   rules for every widget in the toolbar at start;
// - pictures Qt makes up front are made when first drawn instead: the menu
//   bar decodes three for its overflow arrow when it is built, though the
//   arrow shows only when the menus do not fit;
// - tall scroll bars are drawn on the window's thread (see drawInBands).
// Everything else is drawn by the style it stands in for.
class ShellStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // Puts the style on the application unless it is there already; the
    // style the application has keeps drawing everything.
    static void install();

    // Every tool button inside a widget with this property set to true is
    // one of the toolbar's framed buttons.
    static constexpr char framedButtons[] = "framedButtons";

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override;
    void polish(QWidget *widget) override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contents,
                           const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;

private:
    struct FrameKey
    {
        int width;
        int height;
        QRgb face;
        QRgb frame;
        QRgb under;
        auto operator<=>(const FrameKey &) const = default;
    };

    void drawFramedButton(const QStyleOptionToolButton &option, QPainter *painter,
                          const QWidget *widget) const;
    // A Fusion scroll bar taller than kLinesDrawnHere lines, drawn in bands
    // of that many; false (nothing drawn) for any other.
    bool drawInBands(const QStyleOptionComplex *option, QPainter *painter,
                     const QWidget *widget) const;
    static constexpr int kLinesDrawnHere = 64;

    mutable std::map<FrameKey, QPixmap> m_frames;
};

} // namespace quorvane
