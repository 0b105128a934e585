#include "MainWindow.h"

#include "FolderChooser.h"
#include "state/BridgeAppState.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>

#include <functional>

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

namespace {

// Through the item tree: rows a Repeater makes are not the QObject children of their list.
QQuickItem* findItem(QQuickItem* root, const QString& objectName)
{
    if (root->objectName() == objectName)
        return root;
    for (QQuickItem* child : root->childItems())
        if (QQuickItem* found = findItem(child, objectName))
            return found;
    return nullptr;
}

} // namespace

void MainWindow::reveal(const QString& objectName, int attempts)
{
    if (!m_window)
        return;
    QQuickItem* target = findItem(m_window->contentItem(), objectName);
    if (!target) {
        // A new window's rows fill in from the event loop.
        if (attempts > 0)
            QTimer::singleShot(50, m_window,
                               [this, objectName, attempts] { reveal(objectName, attempts - 1); });
        return;
    }
    if (auto* scroller = findItem(m_window->contentItem(), QStringLiteral("contentScroller"));
        scroller && scroller->isAncestorOf(target)) {
        const QRectF area = target->mapRectToItem(scroller, target->boundingRect());
        const qreal contentY = scroller->property("contentY").toReal();
        if (area.bottom() > scroller->height())
            scroller->setProperty("contentY", contentY + area.bottom() - scroller->height() + 20);
        else if (area.top() < 0)
            scroller->setProperty("contentY", contentY + area.top() - 20);
    }
    target->forceActiveFocus(Qt::TabFocusReason);
}

} // namespace quorva
