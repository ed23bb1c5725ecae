#pragma once

#include <QObject>

#include <initializer_list>

class QSocketNotifier;

namespace quorvane {

// Turns the termination signals into a Qt signal on the thread that created
// the watcher. The handler does nothing but write the signal's number to a
// pipe; everything else happens in the event loop. One watcher per process.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(std::initializer_list<int> signals_, QObject *parent = nullptr);
    // Puts the default handlers back.
    ~SignalWatcher() override;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void drain();

    QList<int> m_signals;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quorvane
