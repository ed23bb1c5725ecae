#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QFrame;
class QLabel;
class QProgressBar;

namespace quorvane {

class MainForm;

// Shows that the window is working on something long: a busy cursor after
// half a second, and after two a bar above the editor saying what is being
// done, with a moving progress bar (no step measures how far it has got).
class BusyIndicator : public QObject
{
    Q_OBJECT

public:
    explicit BusyIndicator(MainForm &form);
    ~BusyIndicator() override;

    // Starts the clock for work that lets the event loop run.
    void begin(const QString &what);
    // The next step holds the event loop for about `milliseconds`: nothing
    // repaints until it ends, so what the clock would show by then is shown
    // now, and the cursor says the window does not answer meanwhile.
    void beforeBlocking(const QString &what, qint64 milliseconds);
    // Everything shown goes away.
    void end();

    bool isActive() const { return m_active; }
    bool showsCursor() const { return m_cursor; }
    QFrame *bar() const { return m_bar; }
    // Tests: when the cursor and the bar appear.
    void setDelays(int cursorMilliseconds, int barMilliseconds);

private:
    void showCursor(Qt::CursorShape shape);
    void showBar();

    MainForm &m_form;
    QTimer m_cursorDelay;
    QTimer m_barDelay;
    QElapsedTimer m_clock;
    bool m_active = false;
    bool m_cursor = false;
    QString m_what;
    QFrame *m_bar = nullptr;
    QLabel *m_label = nullptr;
    QProgressBar *m_progress = nullptr;
};

// A step that holds the event loop for about `milliseconds` (an estimate from
// its size): shown as busy for its length when it is long enough to be felt.
class BlockingStep
{
public:
    BlockingStep(BusyIndicator &indicator, const QString &what, qint64 milliseconds);
    ~BlockingStep();
    BlockingStep(const BlockingStep &) = delete;
    BlockingStep &operator=(const BlockingStep &) = delete;

    // Below this nobody notices a pause.
    static constexpr qint64 kFelt = 300;

private:
    BusyIndicator *m_indicator = nullptr;
};

} // namespace quorvane
