#include "commands/smiliespanel.h"

#include "shell/deferredicon.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "text/smilies.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace quorvane {

SmiliesPanel::SmiliesPanel(MainForm &form) : QObject(&form), m_form(form)
{
    // The panel starts hidden: built after the first paint, or when first
    // shown.
    form.afterFirstPaint(this, [this] { build(); });
    connect(form.command("SmiliesCommand"), &QAction::triggered, this, [this] {
        build();
        m_form.smilesFrame()->show();
    });
}

void SmiliesPanel::build()
{
    if (m_built)
        return;
    m_built = true;
    QFrame *frame = m_form.smilesFrame();
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);

    // "Standrad" is the panel's established heading; kept as is.
    auto *heading = new QLabel(QStringLiteral("Standrad Smilies"), frame);
    heading->setObjectName(QStringLiteral("Label1"));
    frame->setAccessibleName(heading->text());
    layout->addWidget(heading);
    layout->addSpacing(6);

    // Pictures rather than buttons to the eye, but reachable with Tab; a click
    // leaves the focus in the post.
    for (std::size_t row : smiliesByColumn) {
        const Smiley &smiley = smilies[row];
        auto *picture = new QToolButton(frame);
        picture->setObjectName(smiley.name.toString());
        picture->setIcon(deferredIcon(QStringLiteral(":/smilies/") + smiley.picture.toString() +
                                      QStringLiteral(".svg")));
        picture->setIconSize(QSize(16, 16));
        picture->setFixedSize(20, 20);
        picture->setAutoRaise(true);
        picture->setFocusPolicy(Qt::TabFocus);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setToolTip(smiley.tooltip.toString());
        picture->setAccessibleName(picture->toolTip());
        // The code and one space.
        const QString text = smiley.code.toString() + QLatin1Char(' ');
        connect(picture, &QToolButton::clicked, this,
                [this, text] { m_form.typer()->setSelText(text); });
        layout->addWidget(picture);
    }
    layout->addStretch();

    auto *hide = new QPushButton(QStringLiteral("Hide"), frame);
    hide->setObjectName(QStringLiteral("HideSmilys"));
    hide->setAccessibleName(hide->text());
    hide->setFocusPolicy(Qt::TabFocus);
    hide->setCursor(Qt::PointingHandCursor);
    hide->setFlat(true);
    hide->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: rgb(192,192,255); border: 1px solid transparent;"
        " padding: 1px 6px; }"
        "QPushButton:focus { border: 1px dotted rgb(43,58,74); }"
        "QPushButton:disabled { color: rgb(128,128,160); }"));
    connect(hide, &QPushButton::clicked, frame, &QWidget::hide);
    layout->addWidget(hide);
}

} // namespace quorvane
