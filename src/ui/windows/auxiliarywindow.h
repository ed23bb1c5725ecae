#pragma once

#include <QDialog>

namespace quorvane {

// Base of the About and feedback windows: a top-level window without a parent
// (a disabled main window would disable it) that is hidden, never destroyed,
// when closed. Its close picture, Esc and the window system's close button all
// end in reject(), which announces the closing first so the main window can
// take the input back.
class AuxiliaryWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AuxiliaryWindow(const QIcon &icon);

signals:
    void closing();

public slots:
    void reject() override;
};

} // namespace quorvane
