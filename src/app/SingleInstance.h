#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quorva {

// One running application per user: a second launch asks the first to show its window and
// exits, so two automatic loops never upload from the same backup.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `name`: the socket's name or absolute path; defaultName() for the application.
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

    // True when another instance answered and was asked to show itself.
    [[nodiscard]] bool activateRunningInstance() const;
    // Starts answering later launches; false when the name cannot be taken.
    bool listen();

    // In the user's runtime folder where there is one, named after the application id.
    [[nodiscard]] static QString defaultName();

signals:
    void activationRequested();

private:
    QString m_name;
    QLocalServer m_server;
};

} // namespace quorva
