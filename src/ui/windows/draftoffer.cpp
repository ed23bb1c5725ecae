#include "windows/draftoffer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

DraftOffer::DraftOffer(const QString &message, bool canCompare, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("DraftOffer"));
    setAccessibleName(QStringLiteral("Unsaved post"));
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(
        QStringLiteral("#DraftOffer { background: #fff6d5; border: 1px solid #d9c27a; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    m_label = new QLabel(message, this);
    m_label->setObjectName(QStringLiteral("DraftOfferText"));
    m_label->setWordWrap(true);
    row->addWidget(m_label, 1);

    // The writer's keys belong to the editor: the buttons answer to their
    // Alt+letter and to the pointer, and neither takes the focus from it.
    const auto button = [this, row](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        return b;
    };
    m_restore = button("DraftRestore", QStringLiteral("&Restore"));
    QPushButton *compare = button("DraftCompare", QStringLiteral("&Compare..."));
    compare->setEnabled(canCompare);
    QPushButton *discard = button("DraftDiscard", QStringLiteral("&Discard"));
    connect(m_restore, &QPushButton::clicked, this, &DraftOffer::restoreChosen);
    connect(compare, &QPushButton::clicked, this, &DraftOffer::compareChosen);
    connect(discard, &QPushButton::clicked, this, &DraftOffer::discardChosen);
}

QString DraftOffer::message() const
{
    return m_label->text();
}

} // namespace quorvane
