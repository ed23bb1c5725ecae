#pragma once

#include "windows/auxiliarywindow.h"

namespace quorvane {

class Launcher;
class UserDialogs;

// "I Like Quorvane": ways to give something back — write to support, tell a
// friend, vote at the download site, donate. Created on first use, then only
// shown and hidden.
class FeedbackForm : public AuxiliaryWindow
{
    Q_OBJECT

public:
    FeedbackForm(Launcher &launcher, UserDialogs &dialogs, const QIcon &icon);

private:
    void showRegistrationTip();

    Launcher &m_launcher;
    UserDialogs &m_dialogs;
};

} // namespace quorvane
