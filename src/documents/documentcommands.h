#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// New, Open, Save and Exit, with the save prompt.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    explicit DocumentCommands(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
