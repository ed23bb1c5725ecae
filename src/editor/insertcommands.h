#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// Links, e-mail and image prompts, the three choosers, the list builders and the date and time
// stamps.
class InsertCommands : public QObject
{
    Q_OBJECT

public:
    explicit InsertCommands(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
