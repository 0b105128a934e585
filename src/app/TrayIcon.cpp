#include "TrayIcon.h"

#include "QuorvaBridgeApp.h"
#include "platform/StatusNotifierItem.h"

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
    connect(&state, &BridgeAppState::statusMessageChanged, this, &TrayIcon::refresh);
    connect(&state, &BridgeAppState::attentionChanged, this, &TrayIcon::refresh);
    connect(&state, &BridgeAppState::phaseChanged, this, &TrayIcon::refresh);
}

bool TrayIcon::needsAttention() const
{
    const BridgeAppState& state = m_app.state();
    return state.phase().kind() == Phase::Kind::failed || !state.attention().isEmpty();
}

void TrayIcon::refresh()
{
    if (m_icon)
        m_icon->setToolTip(toolTip());
    if (m_item) {
        m_item->setNeedsAttention(needsAttention());
        // The tooltip's title is the heading; its text says why, as the status card does.
        const QStringList lines = toolTip().split(QLatin1Char('\n'));
        m_item->setToolTip(lines.value(1), lines.mid(2).join(QLatin1Char('\n')));
    }
}

QString TrayIcon::toolTip() const
{
    // The status's heading, then one line for each child or iPhone that needs the parent: what
    // the status card shows, for a parent who only ever sees the tray.
    const BridgeAppState& state = m_app.state();
    QStringList lines{QGuiApplication::applicationDisplayName(),
                      state.statusMessage().section(QLatin1Char('\n'), 0, 0)};
    if (state.phase().kind() == Phase::Kind::failed)
        lines += state.failureText();
    lines += state.attention();
    return lines.join(QLatin1Char('\n'));
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::showWhereAvailable()
{
    if (isShown())
        return;
    if (StatusNotifierItem::isHostPresent()) {
        m_item = std::make_unique<StatusNotifierItem>(
            QStringLiteral(QUORVA_APP_ID), QStringLiteral(QUORVA_APP_ID), QGuiApplication::windowIcon(),
            std::vector<QAction*>{&m_open, &m_scanNow, nullptr, &m_quit});
        m_item->setTitle(QGuiApplication::applicationDisplayName());
        connect(m_item.get(), &StatusNotifierItem::activated, &m_open, &QAction::trigger);
        refresh();
        if (m_item->registerWithHost())
            return;
        m_item.reset();
    }
    if (!qobject_cast<QApplication*>(qApp) || !QSystemTrayIcon::isSystemTrayAvailable())
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
