#include "windows/previewdock.h"

#include <QEvent>
#include <QVBoxLayout>

namespace quorvane {

PreviewDock::PreviewDock(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewDock"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    hide();
}

PreviewDock::~PreviewDock()
{
    // The window is closing with the preview still here: its owner deletes it.
    release();
}

void PreviewDock::take(QWidget *preview)
{
    const bool shown = preview->isVisible();
    m_preview = preview;
    preview->setParent(this);
    layout()->addWidget(preview);
    preview->installEventFilter(this);
    preview->setVisible(shown);
    follow();
}

QWidget *PreviewDock::release()
{
    QWidget *preview = m_preview;
    if (!preview)
        return nullptr;
    preview->removeEventFilter(this);
    m_preview = nullptr;
    layout()->removeWidget(preview);
    preview->setParent(nullptr, Qt::Window);
    follow();
    return preview;
}

void PreviewDock::setHeld(bool held)
{
    m_held = held;
    follow();
}

void PreviewDock::follow()
{
    setVisible(!m_held && m_preview && !m_preview->isHidden());
}

bool PreviewDock::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_preview &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        follow();
    return false;
}

} // namespace quorvane
