#include "MainWindow.h"

#include "state/FamilyModel.h"

#include "FolderChooser.h"
#include "state/BridgeAppState.h"

#include <QAccessible>
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

MainWindow::~MainWindow()
{
    // While a screen reader listens, Qt 6.4's bridge crashes on the items the teardown hides,
    // which are half destroyed by then. The window is already closed, and a screen reader was
    // told so: the teardown's own events go nowhere.
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
    m_engine.reset();
    QAccessible::installUpdateHandler(previous);
}

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
    const QString childPrefix = QStringLiteral("devicePicker-");
    if (!target && objectName.startsWith(childPrefix)) {
        // The family's list makes only the rows in sight: a child far down is brought into it.
        if (QQuickItem* rows = findItem(m_window->contentItem(), QStringLiteral("childRows"))) {
            const auto* family = qobject_cast<const FamilyModel*>(rows->property("model").value<QObject*>());
            const int row = family ? family->indexOf(objectName.mid(childPrefix.size())) : -1;
            if (row >= 0)
                QMetaObject::invokeMethod(rows, "positionViewAtIndex", Q_ARG(int, row),
                                          Q_ARG(int, 4 /* ListView.Contain */));
        }
    }
    if (!target) {
        // A new window's rows fill in from the event loop.
        if (attempts > 0)
            QTimer::singleShot(50, m_window,
                               [this, objectName, attempts] { reveal(objectName, attempts - 1); });
        return;
    }
    // The content scrolls to the item with the focus.
    target->forceActiveFocus(Qt::TabFocusReason);
}

} // namespace quorva
