#include "DesktopEnvironment.h"
#include "QuorvaBridgeApp.h"
#include "RunningInstance.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "state/UiLanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(Quorva_BridgePlugin)

namespace {

// For scripts/measure-startup: the wall-clock time of the first rendered frame, which the
// script compares with the moment it started the process.
void reportFirstFrame(QQuickWindow& window)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [connection] {
            QObject::disconnect(*connection);
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(
                stderr, "quorva-bridge: first frame at %lld ns\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        },
        Qt::DirectConnection);
}

// For scripts/screenshot: once start-up (and the scan it may run) has finished, save the
// window as a PNG and quit.
void saveScreenshotAfterStartup(quorva::QuorvaBridgeApp& app, const QString& path)
{
    QObject::connect(&app, &quorva::QuorvaBridgeApp::startupFinished, &app, [&app, path] {
        // A virtual display puts the pointer in the corner, over the menu bar, which a desktop
        // theme that shows hovering would draw highlighted.
        QQuickWindow* window = app.window();
        const QPointF away(window->width() - 1, window->height() - 1);
        QMouseEvent move(QEvent::MouseMove, away, window->mapToGlobal(away), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        // Give the last property changes a frame to reach the screen.
        QTimer::singleShot(500, &app, [&app, path] {
            const bool saved = app.window()->grabWindow().save(path);
            std::fprintf(stderr, "quorva-bridge: %s %s\n", saved ? "saved" : "could not save",
                         qPrintable(path));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    });
}

// For scripts/measure-footprint: once start-up has finished and `seconds` more have passed,
// close the window as a person would.
void closeWindowAfterStartup(quorva::QuorvaBridgeApp& app, int seconds)
{
    QObject::connect(&app, &quorva::QuorvaBridgeApp::startupFinished, &app, [&app, seconds] {
        QTimer::singleShot(seconds * 1000, &app, [&app] {
            if (QQuickWindow* open = app.window())
                open->close();
            std::fprintf(stderr, "quorva-bridge: window closed\n");
        });
    });
}

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
    // Development switches for the measurement and screenshot scripts, left out of --help.
    QCommandLineOption reportFirstFrame{QStringLiteral("report-first-frame")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"), QString(), QStringLiteral("png")};
    QCommandLineOption closeWindowAfter{QStringLiteral("close-window-after"), QString(), QStringLiteral("seconds")};

    CommandLine()
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Checks the newest local iPhone backup for safety signals for Quorva Family."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(background);
        for (QCommandLineOption* option : {&reportFirstFrame, &screenshot, &closeWindowAfter}) {
            option->setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(*option);
        }
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
    quorva::cli::InstanceCommands commands(app.state());
    commands.offer();
    quorva::TrayIcon tray(app);
    // At log-in the desktop's panel may come up after us, and Qt asks for its tray only once.
    QTimer::singleShot(inBackground ? std::chrono::seconds(10) : std::chrono::seconds(0), &tray,
                       &quorva::TrayIcon::showWhereAvailable);
    if (commandLine.parser.isSet(commandLine.reportFirstFrame) && app.window())
        reportFirstFrame(*app.window());
    if (commandLine.parser.isSet(commandLine.screenshot) && app.window())
        saveScreenshotAfterStartup(app, commandLine.parser.value(commandLine.screenshot));
    if (commandLine.parser.isSet(commandLine.closeWindowAfter))
        closeWindowAfterStartup(app, commandLine.parser.value(commandLine.closeWindowAfter).toInt());

    if (!inBackground)
        app.showWindow();
    return application.exec();
}
