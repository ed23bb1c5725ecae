#include "commands/draftcommands.h"
#include "commands/installcommands.h"
#include "commands/openrequests.h"
#include "platform/appinfo.h"
#include "platform/commandline.h"
#include "platform/fontwarmup.h"
#include "platform/instancechannel.h"
#include "platform/launcher.h"
#include "platform/signalwatcher.h"
#include "platform/singleinstance.h"
#include "platform/startupnotice.h"
#include "platform/workerthreads.h"
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

    const auto line = quorvane::CommandLine::parse(quorvane::CommandLine::arguments(argc, argv));
    if (const auto status = line.report())
        return *status;

    // A second copy hands its file to the running one and ends, before it
    // even opens the display. A lock that cannot be taken at all only costs
    // the check: the writer still gets their composer.
    quorvane::SingleInstance instance;
    const auto outcome = instance.acquire();
    switch (outcome) {
    case quorvane::SingleInstance::Outcome::HeldByAnotherCopy: {
        QCoreApplication app(argc, argv);
        return quorvane::passToRunningCopy(line.file);
    }
    case quorvane::SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "quorvane: %s\n", qPrintable(instance.errorString()));
        break;
    case quorvane::SingleInstance::Outcome::Acquired:
        break;
    }

    // Read while the application connects to the display and the commands
    // are made; waited for before the window lays out its first text.
    quorvane::FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    // Gone after the window and its drafts writer (the last draft written):
    // every background worker has ended before main returns.
    const quorvane::WorkerThreadsEnd workers(std::chrono::seconds(10));
    // Listening before the window is built: later starts wait in the queue.
    quorvane::InstanceServer door;
    if (outcome == quorvane::SingleInstance::Outcome::Acquired && !door.listen())
        std::fprintf(stderr, "quorvane: later starts cannot reach this one: %s\n",
                     qPrintable(door.errorString()));

    quorvane::QtUserDialogs dialogs;
    quorvane::DesktopLauncher launcher;
    // A start with a file shows it in its first frame, every family made.
    // Without one, the menus' items and the families that only wire commands,
    // menus and hidden parts are made once the first frame is on the screen.
    // The window's commands and menus are made while the fonts are still read.
    const bool later = line.file.isEmpty();
    quorvane::MainForm window(dialogs, launcher, nullptr,
                              later ? quorvane::MainForm::MenuItems::AfterFirstPaint
                                    : quorvane::MainForm::MenuItems::Now,
                              [&fonts] { fonts.wait(); });
    const auto unshown = later ? quorvane::Unshown::AfterFirstPaint : quorvane::Unshown::Now;
    // Shown as soon as its size and state are final, the request sent at once
    // (X requests otherwise wait for the event loop): the window manager maps
    // the window while the rest of the commands are made.
    quorvane::installCommands(
        window,
        [&window] {
            window.show();
            quorvane::flushDisplay();
        },
        unshown);
    auto *requests = new quorvane::OpenRequests(window);
    // The file opens after the drafts check: a draft offered back stays
    // offered above the file's text.
    const auto begin = [&window, requests, file = line.file] {
        quorvane::DraftCommands::of(window)->checkAtStart();
        requests->openAtStart(file);
    };
    quorvane::whenCommandsInstalled(window, begin);
    QObject::connect(&door, &quorvane::InstanceServer::requested, requests,
                     &quorvane::OpenRequests::handle);
    // Logout, shutdown and a closed terminal: the post goes to its draft,
    // then the program ends without asking (the next start offers it back).
    quorvane::SignalWatcher signals_({SIGTERM, SIGHUP, SIGINT});
    QObject::connect(&signals_, &quorvane::SignalWatcher::received, &app, [&window] {
        // Keystrokes delivered before the signal belong to the post.
        QCoreApplication::processEvents();
        // Before the first frame no keystroke has reached the post.
        if (auto *drafts = quorvane::DraftCommands::of(window))
            drafts->writeAndWait(std::chrono::seconds(5));
        QCoreApplication::exit(0);
    });
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&window, &quorvane::MainForm::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
