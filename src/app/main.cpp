#include "DesktopEnvironment.h"
#include "QuorvaBridgeApp.h"
#include "SingleInstance.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

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
        // Give the last property changes a frame to reach the screen.
        QTimer::singleShot(500, &app, [&app, path] {
            const bool saved = app.window()->grabWindow().save(path);
            std::fprintf(stderr, "quorva-bridge: %s %s\n", saved ? "saved" : "could not save",
                         qPrintable(path));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    });
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    quorva::configureDesktopApplication(application);
    QGuiApplication::setApplicationVersion(QStringLiteral(QUORVA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Checks a local iPhone backup for safety signals."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption reportFirstFrameOption(
        QStringLiteral("report-first-frame"),
        QStringLiteral("Print when the first frame was rendered (development)."));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Save the window after start-up and quit (development)."), QStringLiteral("png"));
    parser.addOption(reportFirstFrameOption);
    parser.addOption(screenshotOption);
    parser.process(application);

    quorva::SingleInstance instance;
    if (instance.activateRunningInstance())
        return 0;
    instance.listen();

    quorva::QuorvaBridgeApp app;
    if (!app.window())
        return 1;
    QObject::connect(&instance, &quorva::SingleInstance::activationRequested, &app,
                     &quorva::QuorvaBridgeApp::showWindow);
    if (parser.isSet(reportFirstFrameOption))
        reportFirstFrame(*app.window());
    if (parser.isSet(screenshotOption))
        saveScreenshotAfterStartup(app, parser.value(screenshotOption));

    app.showWindow();
    return application.exec();
}
