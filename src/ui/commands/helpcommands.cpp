#include "commands/helpcommands.h"

#include "platform/launcher.h"
#include "platform/paths.h"
#include "shell/mainform.h"
#include "windows/aboutform.h"
#include "windows/feedbackform.h"

#include <QAction>

namespace quorvane {

HelpCommands::HelpCommands(MainForm &form)
    : QObject(&form), m_form(form), m_loginName(currentLoginName())
{
    connect(form.command("LicenseAgreement"), &QAction::triggered, this, [this] {
        ShellOpen(m_form.launcher(), programDataDir() + QStringLiteral("/License Agreement.rtf"));
    });
    connect(form.command("MailUs"), &QAction::triggered, this,
            [this] { MailSupport(m_form.launcher()); });
    connect(form.command("IlIke"), &QAction::triggered, this, &HelpCommands::openFeedback);
    connect(form.command("Website"), &QAction::triggered, this,
            [this] { OpenMakerPage(m_form.launcher()); });
    connect(form.command("About"), &QAction::triggered, this, &HelpCommands::openAbout);
}

HelpCommands::~HelpCommands() = default;

AboutForm *HelpCommands::aboutForm()
{
    if (!m_about) {
        m_about = std::make_unique<AboutForm>(m_form.launcher(), m_form.windowIcon(),
                                              [this] { return m_loginName; });
        wireClosing(m_about.get());
    }
    return m_about.get();
}

void HelpCommands::openAbout()
{
    open(aboutForm());
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
    m_form.openAuxiliary(window);
}

void HelpCommands::wireClosing(AuxiliaryWindow *window)
{
    connect(window, &AuxiliaryWindow::closing, this,
            [this, window] { m_form.closeAuxiliary(window); });
}

} // namespace quorvane
