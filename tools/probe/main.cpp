// The application as quorva-bridge composes it, so what the scripts measure and picture is the
// product's, plus switches they drive it by. Keep the composition in step with src/app/main.cpp.

#include "app/DesktopEnvironment.h"
#include "app/QuorvaBridgeApp.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "platform/UiLanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <chrono>
#include <cstdio>
#include <memory>

Q_IMPORT_QML_PLUGIN(Quorva_BridgePlugin)

namespace {

// The wall-clock time of the first rendered frame, which scripts/measure-startup compares with
// the moment it started the process.
void reportFirstFrame(QQuickWindow& window)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [connection] {
            QObject::disconnect(*connection);
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(
                stderr, "quorva-bridge-probe: first frame at %lld ns\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        },
        Qt::DirectConnection);
}

// Once start-up (and the scan it may run) has finished, saves the window as a PNG and quits.
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
            std::fprintf(stderr, "quorva-bridge-probe: %s %s\n", saved ? "saved" : "could not save",
                         qPrintable(path));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    });
}

// Once start-up has finished and `seconds` more have passed, closes the window as a person
// would: the process stays, as the product's does.
void closeWindowAfterStartup(quorva::QuorvaBridgeApp& app, int seconds)
{
    QObject::connect(&app, &quorva::QuorvaBridgeApp::startupFinished, &app, [&app, seconds] {
        QTimer::singleShot(seconds * 1000, &app, [&app] {
            if (QQuickWindow* open = app.window())
                open->close();
            std::fprintf(stderr, "quorva-bridge-probe: window closed\n");
        });
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const quorva::UiLanguage language;
    quorva::configureDesktopApplication(application);
    QGuiApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("quorva-bridge with its window open, for the screenshot and measurement scripts."));
    parser.addHelpOption();
    const QCommandLineOption firstFrame{QStringLiteral("report-first-frame"),
                                        QStringLiteral("Print the wall-clock time of the first frame.")};
    const QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                        QStringLiteral("After start-up, save the window to <png> and quit."),
                                        QStringLiteral("png")};
    const QCommandLineOption closeWindowAfter{
        QStringLiteral("close-window-after"),
        QStringLiteral("Close the window <seconds> after start-up; the process stays."),
        QStringLiteral("seconds")};
    parser.addOptions({firstFrame, screenshot, closeWindowAfter});
    parser.process(application);
    bool secondsGiven = true;
    const int seconds = parser.value(closeWindowAfter).toInt(&secondsGiven);
    if (parser.isSet(closeWindowAfter) && (!secondsGiven || seconds < 0))
        parser.showHelp(2);

    // The product's listener, under a name of the probe's own: a Bridge already running is
    // neither asked to show itself nor has its name taken.
    quorva::SingleInstance instance(quorva::SingleInstance::defaultName() + QStringLiteral(".probe-") +
                                    QString::number(QCoreApplication::applicationPid()));
    instance.listen();

    quorva::QuorvaBridgeApp app(quorva::QuorvaBridgeApp::defaultStateFactory());
    if (!app.window())
        return 1;
    QObject::connect(&instance, &quorva::SingleInstance::activationRequested, &app,
                     &quorva::QuorvaBridgeApp::showWindow);
    quorva::TrayIcon tray(app);
    QTimer::singleShot(0, &tray, &quorva::TrayIcon::showWhereAvailable);
    if (parser.isSet(firstFrame))
        reportFirstFrame(*app.window());
    if (parser.isSet(screenshot))
        saveScreenshotAfterStartup(app, parser.value(screenshot));
    if (parser.isSet(closeWindowAfter))
        closeWindowAfterStartup(app, seconds);

    app.showWindow();
    return application.exec();
}
