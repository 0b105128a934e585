#include "QuorvaBridgeApp.h"

#include "state/BridgeComposition.h"

#include <QLoggingCategory>
#include <QQuickWindow>

namespace quorva {

Q_LOGGING_CATEGORY(lcApp, "quorva.app", QtWarningMsg)

QuorvaBridgeApp::StateFactory QuorvaBridgeApp::defaultStateFactory()
{
    return [](QNetworkAccessManager& network, BridgePlatform platform) {
        return makeBridgeAppState(network, std::move(platform));
    };
}

QuorvaBridgeApp::QuorvaBridgeApp(const StateFactory& makeState, QObject* parent)
    : QObject(parent), m_state(makeState(m_network, defaultPlatform(m_folderChooser.asPlatformService()))),
      m_window(std::make_unique<MainWindow>(*m_state, m_folderChooser))
{
    if (QQuickWindow* shown = window()) {
        // The content is shown once its first frame is on screen. The content lives as long
        // as the process (closing only hides the window), so start-up runs once.
        m_firstFrame = connect(
            shown, &QQuickWindow::frameSwapped, this,
            [this] {
                // Several frames may have queued this call before it disconnects.
                if (m_startRequested)
                    return;
                disconnect(m_firstFrame);
                qCDebug(lcApp) << "first frame shown";
                m_startRequested = true;
                runStartup();
            },
            Qt::QueuedConnection);
    }
}

QuorvaBridgeApp::~QuorvaBridgeApp()
{
    // The window's bindings read the state object: the window goes first.
    m_window.reset();
}

void QuorvaBridgeApp::showWindow()
{
    if (QQuickWindow* shown = window()) {
        shown->show();
        shown->raise();
        shown->requestActivate();
    }
}

QCoro::Task<> QuorvaBridgeApp::runStartup()
{
    qCDebug(lcApp) << "start-up task runs start()";
    co_await m_state->start();
    qCDebug(lcApp) << "start-up task finished in phase" << m_state->phase().name();
    emit startupFinished();
}

} // namespace quorva
