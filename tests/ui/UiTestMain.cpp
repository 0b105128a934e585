#include "PrivateHome.h"
#include "app/DesktopEnvironment.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Quorva_BridgePlugin)

int main(int argc, char** argv)
{
    const quorva::test::PrivateHome home;
    // Offscreen: ctest gives each test a desktop-sized screen, and listing the tests needs none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    quorva::configureDesktopApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
