#include "MainWindow.h"

#include "FolderChooser.h"
#include "state/BridgeAppState.h"

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

MainWindow::~MainWindow() = default;

} // namespace quorva
