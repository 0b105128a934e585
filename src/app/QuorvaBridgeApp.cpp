#include "QuorvaBridgeApp.h"

#include "AttentionNotifier.h"
#include "platform/DesktopNotifications.h"
#include "platform/StatusNotifierItem.h"
#include "state/BridgeComposition.h"

#include <QLoggingCategory>
#include <QQuickWindow>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quorva {

Q_LOGGING_CATEGORY(lcApp, "quorva.app", QtWarningMsg)

QuorvaBridgeApp::StateFactory QuorvaBridgeApp::defaultStateFactory()
{
    return [](QNetworkAccessManager& network, BridgePlatform platform) {
        return makeBridgeAppState(network, std::move(platform));
    };
}

QuorvaBridgeApp::QuorvaBridgeApp(const StateFactory& makeState, Start start, QObject* parent)
    : QObject(parent), m_state(makeState(m_network, defaultPlatform(m_folderChooser.asPlatformService()))),
      m_notifications(std::make_unique<DesktopNotifications>()),
      m_notifier(std::make_unique<AttentionNotifier>(*this, *m_notifications))
{
    if (start == Start::withWindow)
        createWindow();
    else
        // From the event loop, as the first frame would call it.
        QTimer::singleShot(0, this, &QuorvaBridgeApp::requestStartup);
}

QuorvaBridgeApp::~QuorvaBridgeApp()
{
    // The window's bindings read the state object: the window goes first.
    m_window.reset();
    m_notifier.reset();
}

void QuorvaBridgeApp::showWindow()
{
    if (!window())
        createWindow();
    if (QQuickWindow* shown = window()) {
        shown->show();
        shown->raise();
        shown->requestActivate();
    }
}

void QuorvaBridgeApp::showWindowAt(const QString& objectName)
{
    showWindow();
    if (m_window && !objectName.isEmpty())
        m_window->reveal(objectName);
}

void QuorvaBridgeApp::createWindow()
{
    m_window.reset();
    m_window = std::make_unique<MainWindow>(*m_state, m_folderChooser);
    QQuickWindow* created = m_window->window();
    if (!created)
        return;
    if (!m_startRequested) {
        // The content is shown once its first frame is on screen; several frames may queue
        // this call before it disconnects.
        m_firstFrame = connect(created, &QQuickWindow::frameSwapped, this, &QuorvaBridgeApp::requestStartup,
                               Qt::QueuedConnection);
    }
    connect(created, &QWindow::visibleChanged, this, [this](bool visible) {
        // Not from inside the window's own signal: the scene is deleted with it.
        if (!visible)
            QTimer::singleShot(0, this, &QuorvaBridgeApp::releaseWindowIfClosed);
    });
    emit windowCreated(created);
}

void QuorvaBridgeApp::releaseWindowIfClosed()
{
    QQuickWindow* closed = window();
    if (!closed || closed->isVisible())
        return; // shown again meanwhile
    qCDebug(lcApp) << "window closed: releasing its scene";
    // A folder dialog closed with its window is a cancelled choice, not one left waiting.
    m_folderChooser.cancel();
    m_window.reset();
#ifdef __GLIBC__
    // The scene was most of the heap and Bridge may now wait in the tray for hours: hand the
    // pages it freed back to the system, which the allocator otherwise keeps for reuse.
    malloc_trim(0);
#endif
    // Closed before its first frame: the process stays, so its start-up runs now.
    requestStartup();
    // Nothing on screen says Bridge still runs: where no tray shows it, a notification does.
    if (!StatusNotifierItem::isHostPresent())
        m_notifier->tellKeepsRunning();
    emit windowReleased();
}

void QuorvaBridgeApp::requestStartup()
{
    if (m_startRequested)
        return;
    disconnect(m_firstFrame);
    m_startRequested = true;
    runStartup();
}

QCoro::Task<> QuorvaBridgeApp::runStartup()
{
    qCDebug(lcApp) << "start-up task runs start()";
    co_await m_state->start();
    qCDebug(lcApp) << "start-up task finished in phase" << m_state->phase().name();
    emit startupFinished();
}

} // namespace quorva
