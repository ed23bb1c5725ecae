#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// Preview in Browser and Remove Text Formatting.
class PreviewCommands : public QObject
{
    Q_OBJECT

public:
    explicit PreviewCommands(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
