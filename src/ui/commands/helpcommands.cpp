#include "commands/helpcommands.h"

#include "platform/launcher.h"
#include "platform/paths.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/aboutform.h"
#include "windows/feedbackform.h"
#include "windows/links.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLayout>

namespace quorvane {

HelpCommands::HelpCommands(MainForm &form)
    : QObject(&form), m_form(form),
      m_about(std::make_unique<AboutForm>(form.launcher(), form.windowIcon()))
{
    wireClosing(m_about.get());

    connect(form.command("LicenseAgreement"), &QAction::triggered, this, [this] {
        ShellOpen(m_form.launcher(), programDataDir() + QStringLiteral("/License Agreement.rtf"));
    });
    connect(form.command("MailUs"), &QAction::triggered, this,
            [this] { MailSupport(m_form.launcher()); });
    connect(form.command("IlIke"), &QAction::triggered, this, &HelpCommands::openFeedback);
    connect(form.command("Website"), &QAction::triggered, this,
            [this] { OpenMakerPage(m_form.launcher()); });
    connect(form.command("About"), &QAction::triggered, this, &HelpCommands::openAbout);
    makeFreeUtilitiesLink();
}

HelpCommands::~HelpCommands() = default;

void HelpCommands::openAbout()
{
    open(m_about.get());
}

void HelpCommands::openFeedback()
{
    if (!m_feedback) {
        m_feedback = std::make_unique<FeedbackForm>(m_form.launcher(), m_form.dialogs(),
                                                    m_form.windowIcon());
        wireClosing(m_feedback.get());
    }
    open(m_feedback.get());
}

void HelpCommands::open(AuxiliaryWindow *window)
{
    // Disabling the main window takes the focus from its controls for good;
    // note where it was so closing can put it back.
    m_focusBefore = m_form.focusWidget();
    m_form.openAuxiliary(window);
}

void HelpCommands::wireClosing(AuxiliaryWindow *window)
{
    connect(window, &AuxiliaryWindow::closing, this, [this, window] {
        m_form.closeAuxiliary(window);
        QWidget *focus = m_focusBefore ? m_focusBefore.data() : m_form.typer();
        focus->setFocus(Qt::OtherFocusReason);
    });
}

// The strip's plain label becomes a link that the keyboard and a screen reader
// can use too, in the same place and under the same name.
void HelpCommands::makeFreeUtilitiesLink()
{
    auto *label = m_form.topFrame()->findChild<QLabel *>(QStringLiteral("FreeUtilities"));
    if (!label)
        return;
    auto *link = new LinkButton(label->text(), QString(), m_form.topFrame());
    link->setObjectName(label->objectName());
    link->setFocusPolicy(Qt::TabFocus);
    delete m_form.topFrame()->layout()->replaceWidget(label, link);
    delete label;
    connect(link, &QPushButton::clicked, this, [this] { OpenMakerPage(m_form.launcher()); });
}

} // namespace quorvane
