#pragma once

#include "windows/auxiliarywindow.h"

#include <functional>

class QLabel;

namespace quorvane {

class Launcher;

// The login name of the user running the program, "" when the system cannot
// tell.
QString currentLoginName();

// "About Quorvane": version, the user's name, the support address and the
// licence notice. Built on first use and kept for the whole run.
class AboutForm : public AuxiliaryWindow
{
    Q_OBJECT

public:
    // loginName is asked once, here.
    AboutForm(Launcher &launcher, const QIcon &icon,
              const std::function<QString()> &loginName = currentLoginName);

    // Test-only: the name the window shows.
    QString userName() const;

private:
    Launcher &m_launcher;
    QLabel *m_userName = nullptr;
};

} // namespace quorvane
