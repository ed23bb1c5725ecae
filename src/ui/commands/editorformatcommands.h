#pragma once

#include <QObject>
#include <QPointer>

namespace quorvane {

class CustomForm;
class MainForm;

// "Editor Format...": the editor's font, taken from the settings store at
// start and stored again on OK. The one place that reads and writes it.
class EditorFormatCommands : public QObject
{
    Q_OBJECT

public:
    explicit EditorFormatCommands(MainForm &form);
    ~EditorFormatCommands() override;

    // The window, built on first use (it costs start-up time nobody needs).
    CustomForm *customForm();
    void open();

private:
    void chosen(const QString &name, const QString &size);
    void rememberStandIn();

    MainForm &m_form;
    QPointer<CustomForm> m_window;
    // The first window shows what the editor took at start, defaults
    // included; one built again after a Cancel shows only what is stored.
    bool m_firstWindow = true;
};

} // namespace quorvane
