#pragma once

#include "bus/BusTypes.h"
#include "state/Failure.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <QCoroTask>

#include <optional>

namespace quorva {

class BridgeAppState;

// The running Bridge's state object on the session bus (app.quorva.bridge.Bridge1, described in
// app.quorva.bridge.Bridge1.xml; the generated adaptor forwards to this object). A method answers
// once its work has ended, a failure as the error its case names. Whoever owns the state object
// owns this one: the window, the background Bridge, or the CLI's `run`.
class BridgeService : public QObject, protected QDBusContext {
    Q_OBJECT
    // clang-format off
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString Phase READ phase)
    Q_PROPERTY(QString FailureCode READ failureCode)
    Q_PROPERTY(QStringList FailureArguments READ failureArguments)
    Q_PROPERTY(QString FailureText READ failureText)
    Q_PROPERTY(QList<quorva::bus::Case> FailureParts READ failureParts)
    Q_PROPERTY(bool Paired READ paired)
    Q_PROPERTY(bool CanScan READ canScan)
    Q_PROPERTY(QByteArray BackupFolder READ backupFolder)
    Q_PROPERTY(QList<QVariantMap> Children READ children)
    Q_PROPERTY(QList<QVariantMap> Devices READ devices)
    Q_PROPERTY(QVariantMap LastScan READ lastScan)
    Q_PROPERTY(QList<quorva::bus::Case> Attention READ attention)
    // clang-format on

public:
    explicit BridgeService(BridgeAppState& state, QObject* parent = nullptr);
    ~BridgeService() override;

    // Takes Bridge's name on the bus; false when it cannot (no bus, or another Bridge has it).
    bool offer(QDBusConnection bus = QDBusConnection::sessionBus());

    [[nodiscard]] uint version() const;
    [[nodiscard]] QString phase() const;
    [[nodiscard]] QString failureCode() const;
    [[nodiscard]] QStringList failureArguments() const;
    [[nodiscard]] QString failureText() const;
    [[nodiscard]] QList<bus::Case> failureParts() const;
    [[nodiscard]] bool paired() const;
    [[nodiscard]] bool canScan() const;
    [[nodiscard]] QByteArray backupFolder() const;
    [[nodiscard]] QList<QVariantMap> children() const;
    [[nodiscard]] QList<QVariantMap> devices() const;
    [[nodiscard]] QVariantMap lastScan() const;
    [[nodiscard]] QList<bus::Case> attention() const;

public slots:
    // Each answers later, through the bus; the value returned here is not sent.
    void Pair(const QString& code);
    void Disconnect();
    void ChooseBackupFolder(const QByteArray& folder);
    QString Assign(const QString& device, const QString& child);
    void AssignToNoOne(const QString& device);
    void Scan();
    void BackUp(const QString& device);
    QString Trust(const QString& device, bool& encrypts);
    void SetLaunchAtLogin(bool enabled);

signals:
    void UploadProgress(int sent, int total);
    void DeviceConnection(const QString& device, const QString& connection);
    void ScanFinished();

private:
    // What a method answers: values, or the failure it ended with.
    struct Answer {
        std::optional<Failure> failure;
        QVariantList values;
    };
    void answerLater(QCoro::Task<Answer> work);
    void answerNow(const Answer& answer);
    [[nodiscard]] static QDBusMessage replyTo(const QDBusMessage& request, const Answer& answer);
    // The operation's own failure, as the phase holds it after it ended.
    [[nodiscard]] Answer outcome() const;
    QCoro::Task<Answer> backUp(QString device);
    [[nodiscard]] QString connectionOf(const QString& device) const;
    void announce(const QVariantMap& changed) const;
    void announceDevices();

    BridgeAppState& m_state;
    std::optional<QDBusConnection> m_bus;
    QMap<QString, QString> m_connections; // as last announced
};

} // namespace quorva
