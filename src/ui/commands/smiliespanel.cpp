#include "commands/smiliespanel.h"

#include "shell/deferredicon.h"
#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace quorvane {

namespace {
struct Smiley
{
    const char *name;
    const char *tooltip;
    const char *code; // written with one space after it
    const char *picture;
};

// In the panel's order.
constexpr Smiley kSmilies[] = {
    {"Grin", "Big Grin", ":D", "Grin"},
    {"Sad", "Frown", ":(", "Frown"},
    {"Wink", "Wink", ";)", "Wink"},
    {"Cool", "Cool", ":cool:", "Cool"},
    {"EEK", "EEK!", ":eek:", "EEK"},
    {"Shy", "Embarrassment", ":o", "Embarrassment"},
    {"Angry", "Mad", ":mad:", "Mad"},
    {"Kidding", "Stick Out Tongue", ":p", "Stick Out Tongue"},
    {"Smile", "Smile", ":)", "Smile"},
    {"RollEyes", "Roll Eyes (Sarcastic)", ":rolleyes:", "Roll Eyes"},
};
} // namespace

SmiliesPanel::SmiliesPanel(MainForm &form) : QObject(&form), m_form(form)
{
    build();
    QFrame *frame = form.smilesFrame();
    connect(form.command("SmiliesCommand"), &QAction::triggered, frame, &QWidget::show);
}

void SmiliesPanel::build()
{
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
    for (const Smiley &smiley : kSmilies) {
        auto *picture = new QToolButton(frame);
        picture->setObjectName(QString::fromLatin1(smiley.name));
        picture->setIcon(deferredIcon(QStringLiteral(":/smilies/") +
                                      QString::fromLatin1(smiley.picture) +
                                      QStringLiteral(".svg")));
        picture->setIconSize(QSize(16, 16));
        picture->setFixedSize(20, 20);
        picture->setAutoRaise(true);
        picture->setFocusPolicy(Qt::TabFocus);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setToolTip(QString::fromLatin1(smiley.tooltip));
        picture->setAccessibleName(picture->toolTip());
        const QString text = QString::fromLatin1(smiley.code) + QLatin1Char(' ');
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
