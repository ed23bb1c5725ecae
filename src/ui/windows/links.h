#pragma once

#include <QPushButton>
#include <QToolButton>

class QIcon;

namespace quorvane {

// A text link: looks like an underlined label, works like a button (focus,
// Space or Enter, a screen reader's press). The accessible name is the
// tooltip when there is one, so "Contact ..." is read rather than a bare
// address.
class LinkButton : public QPushButton
{
    Q_OBJECT

public:
    LinkButton(const QString &text, const QString &toolTip, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    mutable QString m_measured;
    mutable QSize m_hint;
};

// A clickable picture, reachable by keyboard like a button.
class PictureButton : public QToolButton
{
    Q_OBJECT

public:
    PictureButton(const QIcon &icon, const QSize &size, const QString &toolTip,
                  QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace quorvane
