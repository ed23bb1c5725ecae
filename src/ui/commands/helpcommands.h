#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

namespace quorvane {

class AboutForm;
class AuxiliaryWindow;
class FeedbackForm;
class MainForm;

// The Help menu, the strip's "More free utilities..." link, and the About and
// feedback windows.
class HelpCommands : public QObject
{
    Q_OBJECT

public:
    explicit HelpCommands(MainForm &form);
    ~HelpCommands() override;

    AboutForm *aboutForm() const { return m_about.get(); }
    // Null until the window is first opened.
    FeedbackForm *feedbackForm() const { return m_feedback.get(); }

    void openAbout();
    void openFeedback();

private:
    void makeFreeUtilitiesLink();
    void open(AuxiliaryWindow *window);
    void wireClosing(AuxiliaryWindow *window);

    MainForm &m_form;
    std::unique_ptr<AboutForm> m_about;
    std::unique_ptr<FeedbackForm> m_feedback;
    // Where the keyboard was in the main window before a window took it.
    QPointer<QWidget> m_focusBefore;
};

} // namespace quorvane
