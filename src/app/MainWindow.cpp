#include "MainWindow.h"

#include "FolderChooser.h"
#include "state/BridgeAppState.h"

#include <QAccessible>
#include <QQuickWindow>
#include <QUrl>

namespace quorva {

MainWindow::MainWindow(BridgeAppState& state, FolderChooser& chooser)
    : m_engine(std::make_unique<QQmlApplicationEngine>())
{
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine->setInitialProperties({
        {QStringLiteral("appState"), QVariant::fromValue(static_cast<QObject*>(&state))},
        {QStringLiteral("folderChooser"), QVariant::fromValue(static_cast<QObject*>(&chooser))},
    });
    m_engine->load(QUrl(QStringLiteral("qrc:/qt/qml/Quorva/Bridge/Main.qml")));
    if (!m_engine->rootObjects().isEmpty())
        m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().constFirst());
}

MainWindow::~MainWindow()
{
    // While a screen reader listens, Qt 6.4's bridge crashes on the items the teardown hides,
    // which are half destroyed by then. The window is already closed, and a screen reader was
    // told so: the teardown's own events go nowhere.
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
    m_engine.reset();
    QAccessible::installUpdateHandler(previous);
}

} // namespace quorva
