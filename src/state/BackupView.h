#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

namespace quorva {

// A backup as the window shows it; `valid` is false when there is none.
struct BackupView {
    Q_GADGET
    Q_PROPERTY(bool valid MEMBER valid CONSTANT)
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString deviceName MEMBER deviceName CONSTANT)
    Q_PROPERTY(QString productType MEMBER productType CONSTANT)     // empty when the backup does not say
    Q_PROPERTY(QDateTime lastBackupAt MEMBER lastBackupAt CONSTANT) // invalid when the backup does not say
    Q_PROPERTY(bool isEncrypted MEMBER isEncrypted CONSTANT)
    Q_PROPERTY(QString path MEMBER path CONSTANT)

public:
    bool valid = false;
    QString id;
    QString deviceName;
    QString productType;
    QDateTime lastBackupAt;
    bool isEncrypted = false;
    QString path;

    friend bool operator==(const BackupView&, const BackupView&) = default;
};

} // namespace quorva
