#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// While the application (or a headless `run`) is running, it alone writes the pairing, the
// choices and the checkpoint. It answers the workflow commands of other CLI processes on the
// session bus, running them on its own state object with the same code as a CLI on its own.
inline constexpr const char* instanceService = QUORVA_APP_ID;
inline constexpr const char* instancePath = "/app/quorva/bridge";
inline constexpr const char* instanceInterface = QUORVA_APP_ID ".Commands";

struct InstanceAnswer {
    int status = 0;
    QString out;
    QString err;
};

// Runs the command line in the running instance; nothing when none is running. `arguments`
// starts with the program's path, as the process got them.
[[nodiscard]] std::optional<InstanceAnswer>
askRunningInstance(const QStringList& arguments, QDBusConnection bus = QDBusConnection::sessionBus());

// The state object's operations as one method, and what a parent sees of it as properties,
// announced through the bus's PropertiesChanged as they change.
class InstanceCommands : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", QUORVA_APP_ID ".Commands")
    Q_PROPERTY(QString Phase READ phase)
    Q_PROPERTY(QString FailureText READ failureText)
    Q_PROPERTY(QString StatusMessage READ statusMessage)
    Q_PROPERTY(bool Paired READ paired)
    Q_PROPERTY(bool CanScan READ canScan)

public:
    explicit InstanceCommands(BridgeAppState& state, QObject* parent = nullptr);
    ~InstanceCommands() override;

    // Takes the instance's name on the bus; false when it cannot (no bus, or the name is taken).
    bool offer(QDBusConnection bus = QDBusConnection::sessionBus());

public slots:
    // The exit status, with what the command printed; answered when the command has finished.
    Q_SCRIPTABLE int Run(const QStringList& arguments, QString& out, QString& err);

public:
    // "starting", "needsPairing", "needsSetup", "ready", "scanning" or "failed", as the CLI's JSON.
    [[nodiscard]] QString phase() const;
    [[nodiscard]] QString failureText() const;
    [[nodiscard]] QString statusMessage() const;
    [[nodiscard]] bool paired() const;
    [[nodiscard]] bool canScan() const;

private:
    void announce(const QString& property, const QVariant& value) const;

    BridgeAppState& m_state;
    std::optional<QDBusConnection> m_bus;
};

} // namespace quorva::cli
