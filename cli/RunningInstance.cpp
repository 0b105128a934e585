#include "RunningInstance.h"

#include "CommandLine.h"
#include "StateCommands.h"
#include "TerminalText.h"
#include "state/BridgeAppState.h"
#include "state/StateTexts.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <QCoroTask>

#include <exception>
#include <sstream>

namespace quorva::cli {

namespace {

// A scan of a large backup over a slow network takes minutes; the bus's default is 25 s.
constexpr int answerTimeoutMs = 6 * 60 * 60 * 1000;

QCoro::Task<InstanceAnswer> runForwarded(BridgeAppState& state, QStringList arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    InstanceAnswer answer;
    const auto parsed = parseCommandLine(arguments, out, err);
    if (const int* status = std::get_if<int>(&parsed)) {
        answer.status = *status;
    } else {
        const Invocation& invocation = std::get<Invocation>(parsed);
        try {
            checkWorkflowArguments(invocation);
            answer.status = co_await runWorkflowCommand(state, invocation, false, out, err);
        } catch (const UsageError& e) {
            answer.status = reportUsageError(invocation.command, QString::fromStdString(e.what()), err);
        } catch (const std::exception&) {
            err << printable(texts::failureText(std::current_exception()).toStdString()) << std::endl;
            answer.status = 1;
        }
    }
    answer.out = QString::fromStdString(out.str());
    answer.err = QString::fromStdString(err.str());
    co_return answer;
}

} // namespace

std::optional<InstanceAnswer> askRunningInstance(const QStringList& arguments, QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(instanceService))
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(instanceService, instancePath, instanceInterface,
                                                       QStringLiteral("Run"));
    call << arguments;
    const QDBusMessage reply = bus.call(call, QDBus::Block, answerTimeoutMs);
    const QList<QVariant> values = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 3) {
        // It went away meanwhile, or it is not ours: the command was not done.
        return InstanceAnswer{1, QString(), texts::busyElsewhere() + QLatin1Char('\n')};
    }
    return InstanceAnswer{values.at(0).toInt(), values.at(1).toString(), values.at(2).toString()};
}

InstanceCommands::InstanceCommands(BridgeAppState& state, QObject* parent) : QObject(parent), m_state(state)
{
    connect(&state, &BridgeAppState::phaseChanged, this, [this] {
        announce(QStringLiteral("Phase"), phase());
        announce(QStringLiteral("FailureText"), failureText());
    });
    connect(&state, &BridgeAppState::statusMessageChanged, this,
            [this] { announce(QStringLiteral("StatusMessage"), statusMessage()); });
    connect(&state, &BridgeAppState::tokenChanged, this,
            [this] { announce(QStringLiteral("Paired"), paired()); });
    connect(&state, &BridgeAppState::canScanChanged, this,
            [this] { announce(QStringLiteral("CanScan"), canScan()); });
}

QString InstanceCommands::phase() const
{
    return m_state.phase().name();
}

QString InstanceCommands::failureText() const
{
    return m_state.failureText();
}

QString InstanceCommands::statusMessage() const
{
    return m_state.statusMessage();
}

bool InstanceCommands::paired() const
{
    return m_state.hasToken();
}

bool InstanceCommands::canScan() const
{
    return m_state.canScan();
}

void InstanceCommands::announce(const QString& property, const QVariant& value) const
{
    if (!m_bus)
        return;
    QDBusMessage changed = QDBusMessage::createSignal(QString::fromLatin1(instancePath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << QString::fromLatin1(instanceInterface) << QVariantMap{{property, value}} << QStringList();
    m_bus->send(changed);
}

InstanceCommands::~InstanceCommands()
{
    if (m_bus) {
        m_bus->unregisterService(instanceService);
        m_bus->unregisterObject(instancePath);
    }
}

bool InstanceCommands::offer(QDBusConnection bus)
{
    if (!bus.isConnected() ||
        !bus.registerObject(instancePath, this,
                            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties))
        return false;
    if (!bus.registerService(instanceService)) {
        bus.unregisterObject(instancePath);
        return false;
    }
    m_bus = bus;
    return true;
}

int InstanceCommands::Run(const QStringList& arguments, QString& /*out*/, QString& /*err*/)
{
    setDelayedReply(true);
    [](BridgeAppState& state, QDBusConnection bus, QDBusMessage request,
       QStringList arguments) -> QCoro::Task<> {
        const InstanceAnswer answer = co_await runForwarded(state, std::move(arguments));
        bus.send(request.createReply({answer.status, answer.out, answer.err}));
    }(m_state, connection(), message(), arguments);
    return 0;
}

} // namespace quorva::cli
