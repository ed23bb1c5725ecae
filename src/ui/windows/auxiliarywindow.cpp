#include "windows/auxiliarywindow.h"

#include <QIcon>

namespace quorvane {

AuxiliaryWindow::AuxiliaryWindow(const QIcon &icon) : QDialog(nullptr)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(icon);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void AuxiliaryWindow::reject()
{
    emit closing();
    QDialog::reject();
}

} // namespace quorvane
