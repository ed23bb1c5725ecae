#pragma once

#include <QObject>
#include <memory>

namespace quorvane {

class AboutForm;
class AuxiliaryWindow;
class FeedbackForm;
class MainForm;

// The Help menu and the About and feedback windows.
class HelpCommands : public QObject
{
    Q_OBJECT

public:
    explicit HelpCommands(MainForm &form);
    ~HelpCommands() override;

    // Built on first use.
    AboutForm *aboutForm();
    // Test-only: null until the window is first opened.
    FeedbackForm *feedbackForm() const { return m_feedback.get(); }

    void openAbout();
    void openFeedback();

private:
    void open(AuxiliaryWindow *window);
    void wireClosing(AuxiliaryWindow *window);

    MainForm &m_form;
    std::unique_ptr<AboutForm> m_about;
    std::unique_ptr<FeedbackForm> m_feedback;
    // Asked once, at start, as the About window has always shown it.
    QString m_loginName;
};

} // namespace quorvane
