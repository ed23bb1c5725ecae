#include "commands/poststatus.h"

#include "shell/mainform.h"
#include "shell/typer.h"

#include <QAction>
#include <QLineEdit>

namespace quorvane {

PostStatus::PostStatus(MainForm &form)
    : QObject(&form), m_form(form), m_undo(form.command("Undo")),
      m_count(form.control<QLineEdit>("LettersNo"))
{
    connect(form.typer(), &Typer::changed, this, &PostStatus::postChanged);
}

void PostStatus::postChanged()
{
    m_undoEnabled = true;
    m_undo->setEnabled(true);
    m_count->setText(QLatin1Char(' ') + QString::number(m_form.typer()->length()));
}

} // namespace quorvane
