#include "DesktopEnvironment.h"

#include "ButtonAccessible.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QIcon>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QStringList>

namespace quorva {

namespace {

void makeThemeIconsResolvable()
{
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QStringLiteral("/usr/share/icons")))
        paths.append(QStringLiteral("/usr/share/icons"));
    QIcon::setThemeSearchPaths(paths);
    // Without a desktop the theme is empty and icons draw nothing, silently; hicolor alone
    // has none of the symbolic icons the window uses.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QStringLiteral("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

} // namespace

void configureDesktopApplication(QGuiApplication& application)
{
    QGuiApplication::setApplicationName(QStringLiteral("quorva-bridge"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quorva Bridge"));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVA_APP_ID));
    // Closing the window leaves the automatic scans running until the user quits.
    application.setQuitOnLastWindowClosed(false);
    makeThemeIconsResolvable();
    // A window of cards needs no GPU, and Bridge mostly waits in the tray: drawn in software, the
    // window leaves no OpenGL driver state behind once closed (under Mesa, some 35 MB that stayed).
    // QT_QUICK_BACKEND, when set, is the user's own choice.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QAccessible::installFactory(&ButtonAccessible::create);
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QUORVA_APP_ID),
                                                    QIcon(QStringLiteral(":/quorva/app.quorva.bridge.svg"))));
    // One style on every desktop; it takes the desktop's palette, as the cards do (Theme).
    if (QQuickStyle::name().isEmpty())
        QQuickStyle::setStyle(QStringLiteral("Fusion"));
}

} // namespace quorva
