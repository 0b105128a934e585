#include "app/DesktopEnvironment.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Quorva_BridgePlugin)

// Each test runs in its own process with its own home and settings folders, so tests that
// ctest runs side by side never share preferences, bookmarks or autostart entries. The
// secret store is the session's (scripts/with-private-session); tests use their own item.
int main(int argc, char** argv)
{
    QTemporaryDir home;
    // Offscreen, on a desktop-sized screen (the platform's own is 800 × 600).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QFile screens(home.filePath(QStringLiteral("screens.json")));
        if (screens.open(QIODevice::WriteOnly))
            screens.write(R"({"screens": [{"name": "desktop", "width": 1920, "height": 1080}]})");
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toUtf8());
    }
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, (home.path() + QLatin1Char('/') + QString::fromLatin1(name)).toUtf8());
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());

    QGuiApplication application(argc, argv);
    quorva::configureDesktopApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
