#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// The Find and Replace panels.
class SearchPanels : public QObject
{
    Q_OBJECT

public:
    explicit SearchPanels(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
