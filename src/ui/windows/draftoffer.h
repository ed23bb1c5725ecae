#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace quorvane {

// The bar above the editor that offers a post back after an unclean end. It
// only offers: the keyboard stays in the editor, typing goes on meanwhile, and
// the bar stays until one of its buttons (Alt+R, Alt+C, Alt+D) answers it.
class DraftOffer : public QFrame
{
    Q_OBJECT

public:
    DraftOffer(const QString &message, bool canCompare, QWidget *parent = nullptr);

    QPushButton *restoreButton() const { return m_restore; }
    QString message() const;

signals:
    void restoreChosen();
    void compareChosen();
    void discardChosen();

private:
    QLabel *m_label = nullptr;
    QPushButton *m_restore = nullptr;
};

} // namespace quorvane
