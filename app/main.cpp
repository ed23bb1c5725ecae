#include "commands/installcommands.h"
#include "platform/appinfo.h"
#include "platform/launcher.h"
#include "platform/singleinstance.h"
#include "shell/mainform.h"
#include "windows/userdialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(quorvane::appinfo::version));
    QApplication::setDesktopFileName(QString::fromLatin1(quorvane::appinfo::applicationId));

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
