#include "TrayIcon.h"

#include "QuorvaBridgeApp.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace quorva {

TrayIcon::TrayIcon(QuorvaBridgeApp& app, QObject* parent)
    : QObject(parent), m_app(app), m_open(tr("Open")), m_scanNow(tr("Scan now")), m_quit(tr("Quit"))
{
    BridgeAppState& state = m_app.state();
    connect(&m_open, &QAction::triggered, &m_app, &QuorvaBridgeApp::showWindow);
    connect(&m_scanNow, &QAction::triggered, &state, &BridgeAppState::requestScanNow);
    connect(&m_quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    m_scanNow.setEnabled(state.canScan());
    connect(&state, &BridgeAppState::canScanChanged, this,
            [this, &state] { m_scanNow.setEnabled(state.canScan()); });
    const auto refresh = [this] {
        if (m_icon)
            m_icon->setToolTip(toolTip());
    };
    connect(&state, &BridgeAppState::statusMessageChanged, this, refresh);
    connect(&state, &BridgeAppState::attentionChanged, this, refresh);
}

QString TrayIcon::toolTip() const
{
    // The status's heading, then one line for each child or iPhone that needs the parent: what
    // the status card shows, for a parent who only ever sees the tray.
    const BridgeAppState& state = m_app.state();
    QStringList lines{QGuiApplication::applicationDisplayName(),
                      state.statusMessage().section(QLatin1Char('\n'), 0, 0)};
    lines += state.attention();
    return lines.join(QLatin1Char('\n'));
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::showWhereAvailable()
{
    if (m_icon || !qobject_cast<QApplication*>(qApp) || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_menu = std::make_unique<QMenu>();
    m_menu->addAction(&m_open);
    m_menu->addAction(&m_scanNow);
    m_menu->addSeparator();
    m_menu->addAction(&m_quit);
    m_icon = std::make_unique<QSystemTrayIcon>(QGuiApplication::windowIcon());
    m_icon->setToolTip(toolTip());
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    m_open.trigger();
            });
    m_icon->show();
}

} // namespace quorva
