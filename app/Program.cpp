#include "Program.h"

#include "CommandLine.h"
#include "Common.h"
#include "ExitSignals.h"
#include "InstanceLock.h"
#include "MessageBox.h"
#include "ProgramFiles.h"
#include "TFormMain.h"
#include "TFormWizard.h"

#include <QApplication>

#include <cstdio>

bool IsWizardArgument(int argc, char** argv) {
    return argc > 1 && QString::fromLocal8Bit(argv[1]).toLower() == QLatin1String("w");
}

int RunTapewren(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::UnknownOption:
        std::fprintf(stderr, "tapewren: unknown option '%s'\nTry 'tapewren --help'.\n",
                     line.unknown.c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tapewren"));
    QApplication::setApplicationVersion(QStringLiteral(TAPEWREN_VERSION));

    // Taken before anything looks into the takes folder.
    const ProgramFiles files = LocateProgramFiles(ProgramFolder());
    InstanceLock lock(files.lockFolder, kInstanceName);
    if (!lock.TryAcquire())
        return 0;

    if (IsWizardArgument(argc, argv)) {
        // The wizard alone: Finish or the close box ends the program, and
        // nothing is stored.
        TFormWizard wizard;
        if (!wizard.FormCreate())
            return 1;
        QObject::connect(&wizard, &QDialog::finished, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        wizard.show();
        QApplication::exec();
        return 0;
    }

    MoveEarlierFiles(files);
    // The program lives in the tray: closing a dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    TFormMain form(files);
    MessageBox::SetOwner(&form);
    // Listening from before start-up: a log-out or kill that comes while the
    // program starts must end it as cleanly as one that comes later. A box
    // open at that moment is closed as if answered.
    ExitSignals exitSignals;
    bool exitDuringStart = false;
    const auto duringStart = QObject::connect(&exitSignals, &ExitSignals::exitRequested, [&] {
        exitDuringStart = true;
        MessageBox::DismissAll();
    });
    if (!form.FormCreate())
        return 1;
    QObject::disconnect(duringStart);
    QObject::connect(&exitSignals, &ExitSignals::exitRequested, &form, &TFormMain::ExitRequested);
    if (exitDuringStart)
        QMetaObject::invokeMethod(&form, &TFormMain::ExitRequested, Qt::QueuedConnection);
    QObject::connect(&form, &TFormMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    QApplication::exec();
    return 0;
}
