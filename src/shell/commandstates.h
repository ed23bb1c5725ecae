#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// Keeps the enabled and checked states of the edit, clipboard, search and alignment commands right.
class CommandStates : public QObject
{
    Q_OBJECT

public:
    explicit CommandStates(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
