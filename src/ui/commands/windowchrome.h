#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace quorvane {

class MainForm;

// The top strip's close and minimise boxes, their hover tip, and the toolbar lock.
class WindowChrome : public QObject
{
    Q_OBJECT

public:
    explicit WindowChrome(MainForm &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CloseBox_Click();
    void MiniBox_Click();
    void ControlsLocker_Click(bool locked);

    MainForm &m_form;
    QLabel *m_tip = nullptr;
    QWidget *m_closeBox = nullptr;
    QWidget *m_miniBox = nullptr;
};

} // namespace quorvane
