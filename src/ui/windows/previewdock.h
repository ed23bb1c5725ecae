#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvane {

// Live Preview's place beside the editor, in the main window's splitter.
// The preview stays its commands' own: the dock gives it back instead of
// deleting it, and is shown exactly while the preview in it is, so F6
// hides and shows it here as it does the window of its own.
class PreviewDock : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewDock(QWidget *parent = nullptr);
    ~PreviewDock() override;

    void take(QWidget *preview);
    // Out of the dock, a window of its own again (hidden).
    QWidget *release();
    QWidget *preview() const { return m_preview; }

    // Held, the dock stays hidden whatever the preview does (until the main
    // window's first paint).
    void setHeld(bool held);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_preview;
    bool m_held = false;
};

} // namespace quorvane
