#pragma once

#include "windows/auxiliarywindow.h"

namespace quorvane {

// A draft beside the text of the file it was opened from, read only.
class CompareWindow : public AuxiliaryWindow
{
    Q_OBJECT

public:
    CompareWindow(const QString &draftTitle, const QString &draftText, const QString &fileTitle,
                  const QString &fileText, const QIcon &icon);
};

} // namespace quorvane
