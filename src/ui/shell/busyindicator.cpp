#include "shell/busyindicator.h"

#include "shell/mainform.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>

namespace quorvane {

BusyIndicator::BusyIndicator(MainForm &form) : QObject(&form), m_form(form)
{
    m_cursorDelay.setSingleShot(true);
    m_cursorDelay.setInterval(500);
    m_barDelay.setSingleShot(true);
    m_barDelay.setInterval(2000);
    connect(&m_cursorDelay, &QTimer::timeout, this, [this] { showCursor(Qt::BusyCursor); });
    connect(&m_barDelay, &QTimer::timeout, this, &BusyIndicator::showBar);
}

BusyIndicator::~BusyIndicator()
{
    // The override cursor is the whole program's.
    if (m_cursor)
        QGuiApplication::restoreOverrideCursor();
}

void BusyIndicator::setDelays(int cursorMilliseconds, int barMilliseconds)
{
    m_cursorDelay.setInterval(cursorMilliseconds);
    m_barDelay.setInterval(barMilliseconds);
}

void BusyIndicator::begin(const QString &what)
{
    m_what = what;
    if (m_label)
        m_label->setText(what);
    if (m_active)
        return;
    m_active = true;
    m_clock.start();
    // A zero delay shows at once, before the caller goes on.
    if (m_cursorDelay.interval() == 0)
        showCursor(Qt::BusyCursor);
    else
        m_cursorDelay.start();
    if (m_barDelay.interval() == 0)
        showBar();
    else
        m_barDelay.start();
}

void BusyIndicator::beforeBlocking(const QString &what, qint64 milliseconds)
{
    if (!m_active) {
        m_active = true;
        m_clock.start();
    }
    m_what = what;
    if (m_label)
        m_label->setText(what);
    m_cursorDelay.stop();
    m_barDelay.stop();
    const qint64 by = m_clock.elapsed() + milliseconds;
    if (by >= m_cursorDelay.interval())
        showCursor(Qt::WaitCursor);
    if (by >= m_barDelay.interval())
        showBar();
    if (m_bar && m_bar->isVisible()) {
        // Laid out and painted now: the event loop will not get to it. The
        // editor moves down to make room, so the area is painted whole.
        QWidget *area = m_bar->parentWidget();
        if (area->layout())
            area->layout()->activate();
        area->repaint();
    }
}

void BusyIndicator::end()
{
    m_active = false;
    m_cursorDelay.stop();
    m_barDelay.stop();
    if (m_cursor) {
        QGuiApplication::restoreOverrideCursor();
        m_cursor = false;
    }
    if (m_bar)
        m_bar->hide();
}

BlockingStep::BlockingStep(BusyIndicator &indicator, const QString &what, qint64 milliseconds)
{
    // Work already under way (a read) counts its own time.
    if (milliseconds < kFelt && !indicator.isActive())
        return;
    m_indicator = &indicator;
    indicator.beforeBlocking(what, milliseconds);
}

BlockingStep::~BlockingStep()
{
    if (m_indicator)
        m_indicator->end();
}

void BusyIndicator::showCursor(Qt::CursorShape shape)
{
    if (m_cursor) {
        QGuiApplication::changeOverrideCursor(shape);
        return;
    }
    QGuiApplication::setOverrideCursor(shape);
    m_cursor = true;
}

void BusyIndicator::showBar()
{
    if (!m_bar) {
        m_bar = new QFrame;
        m_bar->setObjectName(QStringLiteral("BusyBar"));
        m_bar->setFrameShape(QFrame::StyledPanel);
        auto *row = new QHBoxLayout(m_bar);
        row->setContentsMargins(6, 2, 6, 2);
        m_label = new QLabel(m_bar);
        m_label->setObjectName(QStringLiteral("BusyText"));
        m_progress = new QProgressBar(m_bar);
        m_progress->setObjectName(QStringLiteral("BusyProgress"));
        // Moving without a figure: nothing counts how far a read has got.
        m_progress->setRange(0, 0);
        m_progress->setTextVisible(false);
        m_progress->setMaximumWidth(160);
        row->addWidget(m_label, 1);
        row->addWidget(m_progress);
        m_form.addAboveEditor(m_bar);
    }
    m_label->setText(m_what);
    m_progress->setAccessibleName(m_what);
    m_bar->show();
}

} // namespace quorvane
