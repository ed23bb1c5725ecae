#include "commands/draftcommands.h"
#include "commands/installcommands.h"
#include "platform/appinfo.h"
#include "platform/launcher.h"
#include "platform/signalwatcher.h"
#include "platform/singleinstance.h"
#include "shell/mainform.h"
#include "windows/userdialogs.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QString::fromLatin1(quorvane::appinfo::version));
    QApplication::setDesktopFileName(QString::fromLatin1(quorvane::appinfo::applicationId));

    // A second copy ends at once, silently, before it even opens the display.
    // A lock that cannot be taken at all only costs the check: the writer
    // still gets their composer.
    quorvane::SingleInstance instance;
    switch (instance.acquire()) {
    case quorvane::SingleInstance::Outcome::HeldByAnotherCopy:
        return 0;
    case quorvane::SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "quorvane: %s\n", qPrintable(instance.errorString()));
        break;
    case quorvane::SingleInstance::Outcome::Acquired:
        break;
    }

    QApplication app(argc, argv);

    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    quorvane::MainForm window(dialogs, launcher);
    quorvane::installCommands(window);
    auto *drafts = quorvane::DraftCommands::of(window);
    drafts->checkAtStart();
    // Logout, shutdown and a closed terminal: the post goes to its draft,
    // then the program ends without asking (the next start offers it back).
    quorvane::SignalWatcher signals_({SIGTERM, SIGHUP, SIGINT});
    QObject::connect(&signals_, &quorvane::SignalWatcher::received, &app, [drafts] {
        // Keystrokes delivered before the signal belong to the post.
        QCoreApplication::processEvents();
        drafts->writeAndWait(std::chrono::seconds(5));
        QCoreApplication::exit(0);
    });
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&window, &quorvane::MainForm::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
