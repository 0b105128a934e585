#include "DesktopEnvironment.h"
#include "QuorvaBridgeApp.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "bus/BridgeService.h"
#include "platform/UiLanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <chrono>

Q_IMPORT_QML_PLUGIN(Quorva_BridgePlugin)

namespace {

// Whether an instance answers, without asking it to show its window.
bool anotherInstanceRuns()
{
    QLocalSocket socket;
    socket.connectToServer(quorva::SingleInstance::defaultName());
    return socket.waitForConnected(500);
}

struct CommandLine {
    QCommandLineParser parser;
    // At log-in: the automatic scans run, the window opens only when asked for.
    QCommandLineOption background{
        QStringLiteral("background"),
        QCoreApplication::translate("main", "Start without opening the window, as at log-in.")};

    CommandLine()
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Checks the newest local iPhone backup for safety signals for Quorva Family."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(background);
    }
};

// --help and --version must work in a terminal without a display, where creating the
// QApplication aborts: answer them from a QCoreApplication, which process() exits.
void answerHelpOrVersionWithoutDisplay(int argc, char** argv)
{
    const auto asksForInformation = [](const char* argument) {
        for (const char* word : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (qstrcmp(argument, word) == 0)
                return true;
        return false;
    };
    if (std::none_of(argv + 1, argv + argc, asksForInformation))
        return;
    QCoreApplication application(argc, argv);
    const quorva::UiLanguage language;
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));
    CommandLine().parser.process(application);
}

} // namespace

int main(int argc, char** argv)
{
    answerHelpOrVersionWithoutDisplay(argc, argv);

    // A QApplication, not a QGuiApplication, only for the tray: its menu is a widget.
    QApplication application(argc, argv);
    const quorva::UiLanguage language;
    quorva::configureDesktopApplication(application);
    QGuiApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));
    CommandLine commandLine;
    commandLine.parser.process(application);

    const bool inBackground = commandLine.parser.isSet(commandLine.background);
    quorva::SingleInstance instance;
    // A quiet start leaves a running instance as it is; any other launch shows its window.
    if (inBackground ? anotherInstanceRuns() : instance.activateRunningInstance())
        return 0;
    instance.listen();

    using Start = quorva::QuorvaBridgeApp::Start;
    quorva::QuorvaBridgeApp app(quorva::QuorvaBridgeApp::defaultStateFactory(),
                                inBackground ? Start::inBackground : Start::withWindow);
    if (!inBackground && !app.window())
        return 1;
    QObject::connect(&instance, &quorva::SingleInstance::activationRequested, &app,
                     &quorva::QuorvaBridgeApp::showWindow);
    // Without a session bus the CLI's commands wait for this process instead of going through it.
    quorva::BridgeService service(app.state());
    service.offer();
    quorva::TrayIcon tray(app);
    // At log-in the desktop's panel may come up after us, and Qt asks for its tray only once.
    QTimer::singleShot(inBackground ? std::chrono::seconds(10) : std::chrono::seconds(0), &tray,
                       &quorva::TrayIcon::showWhereAvailable);

    if (!inBackground)
        app.showWindow();
    return application.exec();
}
