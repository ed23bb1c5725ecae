#pragma once

#include <QProxyStyle>

namespace quorvane {

// The desktop's own style, with the pictures it makes up front made when
// first drawn instead: Qt's menu bar decodes three pictures for its overflow
// arrow when it is built, though the arrow shows only when the menus do not
// fit. Looks exactly like the style it stands in for.
class ShellStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // Puts the style on the application unless it is there already; the
    // style the application has keeps drawing everything.
    static void install();

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override;
};

} // namespace quorvane
