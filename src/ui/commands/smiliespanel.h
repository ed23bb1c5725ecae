#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// The smilies panel: ten pictures that write their codes, and Hide.
class SmiliesPanel : public QObject
{
    Q_OBJECT

public:
    explicit SmiliesPanel(MainForm &form);

private:
    void build();

    MainForm &m_form;
    bool m_built = false;
};

} // namespace quorvane
