#pragma once

#include <QFrame>

class QListWidget;
class QListWidgetItem;

namespace quorvane {

class LiveCheck;
class MainForm;

// The list of the post's problems below the editor, with line and column;
// activating one selects its tag in the post.
class ProblemsPanel : public QFrame
{
    Q_OBJECT

public:
    ProblemsPanel(MainForm &form, LiveCheck &check);

    QListWidget *list();
    void setVisible(bool visible) override;
    // Shown, the list takes the keyboard (Esc gives it back to the editor);
    // hidden, the editor gets it back if the list had it.
    void setShown(bool shown);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void refill();
    void activate(QListWidgetItem *item);

    MainForm &m_form;
    LiveCheck &m_check;
    QListWidget *m_list = nullptr;
};

} // namespace quorvane
