#include "windows/sideplacement.h"

#include <algorithm>

namespace quorvane {

namespace {
constexpr int kGap = 8;
}

SidePlacement placeBeside(const QRect &mainFrame, const QSize &companionFrame, const QRect &screen,
                          int minimumWidth)
{
    const int wanted = companionFrame.width();
    const int screenRight = screen.x() + screen.width();
    QRect main = mainFrame;
    const int rightRoom = screenRight - (main.x() + main.width()) - kGap;
    const int leftRoom = main.x() - screen.x() - kGap;
    const bool onRight = rightRoom >= leftRoom;
    int width = std::min(wanted, std::max(rightRoom, leftRoom));
    int x = 0;
    if (width >= minimumWidth) {
        x = onRight ? main.x() + main.width() + kGap : main.x() - kGap - width;
    } else if (screen.width() - main.width() - kGap >= minimumWidth) {
        width = std::min(wanted, screen.width() - main.width() - kGap);
        main.moveLeft(onRight ? screenRight - width - kGap - main.width()
                              : screen.x() + width + kGap);
        x = onRight ? screenRight - width : screen.x();
    } else {
        width = std::min(wanted, minimumWidth);
        x = screenRight - width;
    }
    const int height = std::min(companionFrame.height(), screen.height());
    const int y = std::clamp(main.y(), screen.y(), screen.y() + screen.height() - height);
    return {QRect(x, y, width, height), main.topLeft()};
}

} // namespace quorvane
