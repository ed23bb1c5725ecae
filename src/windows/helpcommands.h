#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// The Help menu, the About window and the feedback window.
class HelpCommands : public QObject
{
    Q_OBJECT

public:
    explicit HelpCommands(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
