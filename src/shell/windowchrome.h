#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// The top strip's close and minimise boxes, their hover tip, and the toolbar lock.
class WindowChrome : public QObject
{
    Q_OBJECT

public:
    explicit WindowChrome(MainForm &form);

private:
    MainForm &m_form;
};

} // namespace quorvane
