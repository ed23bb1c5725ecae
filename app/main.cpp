#include "commands/installcommands.h"
#include "platform/launcher.h"
#include "platform/singleinstance.h"
#include "shell/mainform.h"
#include "windows/userdialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.2"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Quorvane"));

    // A second copy ends at once, silently, before it even opens the display.
    quorvane::SingleInstance instance;
    if (!instance.acquire())
        return 0;

    QApplication app(argc, argv);

    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm window(dialogs, launcher);
    quorvane::installCommands(window);
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&window, &quorvane::MainForm::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
