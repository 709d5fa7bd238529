#include "Program.h"

#include "Accessible.h"
#include "CommandLine.h"
#include "Common.h"
#include "DiskSpaceGuard.h"
#include "EarlierFiles.h"
#include "ExitSignals.h"
#include "HandOver.h"
#include "InstanceLock.h"
#include "Languages.h"
#include "MessageBox.h"
#include "ProgramFiles.h"
#include "SleepInhibitor.h"
#include "TFormMain.h"
#include "TFormWizard.h"
#include "TrayImages.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <memory>

bool IsWizardArgument(int argc, char** argv) {
    return argc > 1 && QString::fromLocal8Bit(argv[1]).toLower() == QLatin1String("w");
}

void AnswerSecondStart(TFormMain& form, HandOverRequest request) {
    // As the hot keys: a desktop that binds keys to commands runs these.
    if (request == HandOverRequest::RecordStop || request == HandOverRequest::PauseResume) {
        const auto& key =
            request == HandOverRequest::RecordStop ? form.RecordHotKey : form.PauseHotKey;
        if (key->OnHotKey)
            key->OnHotKey();
        return;
    }
    // As a double click on the tray icon: no window while recording, but a
    // notification that says why.
    if (form.TheRecorder().IsActive()) {
        form.TrayIconDblClick();
        return;
    }
    const bool modalOpen = QApplication::activeModalWidget() != nullptr;
    if (!modalOpen && !form.isVisible())
        form.TrayIconDblClick(); // ready: the configuration window
    else if (request == HandOverRequest::Show || modalOpen)
        form.BringApplicationToFront(); // busy: what is open comes forward
    // From within the configuration window, as its optimizer button does.
    if (request == HandOverRequest::Optimizer && !modalOpen && form.isVisible())
        form.BtnVolOptClick();
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
    case CommandLine::Action::RecordStop:
    case CommandLine::Action::PauseResume:
        break;
    }
    const HandOverRequest keyRequest = line.action == CommandLine::Action::RecordStop
                                           ? HandOverRequest::RecordStop
                                           : HandOverRequest::PauseResume;
    const bool keyAction = line.action == CommandLine::Action::RecordStop ||
                           line.action == CommandLine::Action::PauseResume;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tapewren"));
    QApplication::setApplicationVersion(QStringLiteral(TAPEWREN_VERSION));
    // Desktops match windows to the launcher by its id (on Wayland the
    // window's app id).
    QGuiApplication::setDesktopFileName(kProgramBusName);
    QApplication::setWindowIcon(ProgramIcon());
    LoadTranslations(app, QLocale::system().uiLanguages());
    // Before the first window, balloon or popup that a screen reader meets.
    InstallAccessibleRoles();

    // Taken before anything looks into the takes folder.
    const ProgramFiles files = LocateProgramFiles(ProgramFolder());
    InstanceLock lock(files.lockFolder, kInstanceName);
    // The lock's own copy answers: a portable copy and the installed program
    // may run side by side.
    const QString busName = ProgramBusName(files.portable, files.lockFolder);
    if (!lock.TryAcquire()) {
        if (keyAction) {
            if (HandOver(keyRequest, busName))
                return 0;
            std::fputs("tapewren: the running program did not take the request\n", stderr);
            return 1;
        }
        // Ends as before, after asking the running program to show itself;
        // with no session bus, silently.
        HandOver(IsWizardArgument(argc, argv) ? HandOverRequest::Optimizer : HandOverRequest::Show,
                 busName);
        return 0;
    }
    HandOverService handOver(busName);

    if (IsWizardArgument(argc, argv)) {
        // The wizard alone: Finish or the close box ends the program, and
        // nothing is stored.
        TFormWizard wizard;
        if (!wizard.FormCreate())
            return 1;
        QObject::connect(&wizard, &QDialog::finished, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        // Alone, the optimizer is the program's only window, whatever is asked.
        QObject::connect(&handOver, &HandOverService::requested, &wizard, [&wizard] {
            wizard.raise();
            wizard.activateWindow();
        });
        // A log-out or kill ends it without Finish: the input gets back its
        // volume. Not quit(), which closes the window as its close box would.
        ExitSignals exitSignals;
        QObject::connect(&exitSignals, &ExitSignals::exitRequested, &app,
                         [] { QCoreApplication::exit(0); });
        handOver.Listen();
        wizard.show();
        QApplication::exec();
        return 0;
    }

    MoveEarlierFiles(files);
    // The program lives in the tray: closing a dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // Made before the form, so that they outlive its recorder, which tells
    // them of each take's end.
    SleepInhibitor sleepInhibitor;
    std::unique_ptr<DiskSpaceGuard> diskGuard;
    TFormMain form(files);
    diskGuard = std::make_unique<DiskSpaceGuard>(form.TheRecorder(), form);
    form.TheRecorder().AddTakeWatcher(*diskGuard);
    form.TheRecorder().AddTakeWatcher(sleepInhibitor);
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
    QObject::connect(&handOver, &HandOverService::requested, &form,
                     [&form](HandOverRequest request) { AnswerSecondStart(form, request); });
    // Not running when the key was pressed: started for it, and then does it.
    if (keyAction)
        QMetaObject::invokeMethod(
            &form, [&form, keyRequest] { AnswerSecondStart(form, keyRequest); },
            Qt::QueuedConnection);
    handOver.Listen();
    QApplication::exec();
    return 0;
}
